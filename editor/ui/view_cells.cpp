// The grid's events. In-place cell editing hooks in here: these handlers are
// connected to the grid and run in the grid's event order, but open no editor
// yet. A committed cell text must call OnCellCommitted() so that the document
// is marked modified.
#include "editor/ui/form_view.h"

namespace quorim {

void CQuorim_CHView::OnDblClickGrid() {}
void CQuorim_CHView::OnEnterCellGrid() {}
void CQuorim_CHView::OnLeaveCellGrid() {}
void CQuorim_CHView::OnKeyPressGrid(short& /*keyAscii*/) {}
void CQuorim_CHView::OnMouseDownGrid(short /*button*/, short /*shift*/, long /*x*/, long /*y*/) {}
void CQuorim_CHView::OnScrollGrid() {}

bool CQuorim_CHView::PreTranslateMessage(QObject* /*target*/, QKeyEvent* /*event*/) {
    return false;
}

}  // namespace quorim
