// Online tuning (Ctrl+T). The command reaches the view here; the tuning window
// is not built yet, so it does nothing.
#include "editor/ui/form_view.h"

namespace quorim {

void CQuorim_CHView::OnOnlineTuning() {}

}  // namespace quorim
