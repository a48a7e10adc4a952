#include "app/ui/child_frame.h"

#include <QCloseEvent>
#include <QIcon>

#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"

namespace quorim {

CChildFrame::CChildFrame(CQuorim_CHView* view, QWidget* parent) : QMdiSubWindow(parent), m_view(view) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/res/icon129.png")));
    setWidget(view);
    resize(kWidth, kHeight);
    if (CQuorim_CHDoc* doc = view->GetDocument()) {
        connect(doc, &CQuorim_CHDoc::TitleChanged, this, &CChildFrame::UpdateFrameTitle);
        connect(doc, &CQuorim_CHDoc::ViewsChanged, this, &CChildFrame::UpdateFrameTitle);
        connect(doc, &CQuorim_CHDoc::ModifiedChanged, this, &QWidget::setWindowModified);
        setWindowModified(doc->IsModified());
    }
    UpdateFrameTitle();
}

void CChildFrame::UpdateFrameTitle() {
    CQuorim_CHDoc* doc = m_view->GetDocument();
    if (!doc) {
        return;
    }
    QString title = doc->Title();
    const auto& views = doc->Views();
    if (views.size() > 1) {
        title += QStringLiteral(":%1").arg(views.indexOf(m_view) + 1);
    }
    setWindowTitle(title + QStringLiteral("[*]"));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    bool allow = true;
    emit CanClose(this, allow);
    if (!allow) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) {
        // The window is going: its document no longer counts it, so opening
        // the file again makes a new window instead of finding this one.
        m_view->DetachDocument();
    }
}

}  // namespace quorim
