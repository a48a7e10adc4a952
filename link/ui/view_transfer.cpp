// Reading from and writing to the radio (Ctrl+R, Ctrl+W). The commands reach
// the view here; the transfer window that runs them is not built yet, so they
// do nothing.
#include "editor/ui/form_view.h"

namespace quorim {

void CQuorim_CHView::OnReadRadio() {}
void CQuorim_CHView::OnWriteRadio() {}

}  // namespace quorim
