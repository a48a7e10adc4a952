// Printing and print preview of a document. The commands are on the menus,
// the toolbar and Ctrl+P and reach the view here; the printed pages are not
// laid out yet, so they do nothing.
#include "editor/ui/form_view.h"

namespace quorim {

void CQuorim_CHView::OnFilePrint() {}
void CQuorim_CHView::OnFilePrintDirect() {}
void CQuorim_CHView::OnFilePrintPreview() {}

}  // namespace quorim
