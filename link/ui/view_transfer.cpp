// Reading from and writing to the radio (Ctrl+R, Ctrl+W). The commands reach
// the view here; the transfer window that runs them is not built yet, so they
// only take their first step.
#include "editor/ui/form_view.h"

namespace quorim {

void CQuorim_CHView::OnReadRadio() {
    // A pending cell edit reaches the grid before the image is replaced.
    OnLeaveCellGrid();
}

void CQuorim_CHView::OnWriteRadio() {
    // A pending cell edit reaches the grid before the image is encoded.
    OnLeaveCellGrid();
}

}  // namespace quorim
