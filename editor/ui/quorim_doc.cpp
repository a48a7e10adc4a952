#include "editor/ui/quorim_doc.h"

#include <QFileInfo>

#include "editor/ui/form_view.h"

namespace quorim {

CQuorim_CHDoc::CQuorim_CHDoc(QObject* parent) : QObject(parent) {}

bool CQuorim_CHDoc::OnNewDocument() {
    m_data.OnNewDocument();
    SetModifiedFlag(false);
    return true;
}

void CQuorim_CHDoc::SetPathName(const QString& path) {
    m_path = path;
    SetTitle(QFileInfo(path).fileName());
}

void CQuorim_CHDoc::SetTitle(const QString& title) {
    if (title != m_title) {
        m_title = title;
        emit TitleChanged(title);
    }
}

void CQuorim_CHDoc::SetModifiedFlag(bool modified) {
    if (modified != m_modified) {
        m_modified = modified;
        emit ModifiedChanged(modified);
    }
}

void CQuorim_CHDoc::AddView(CQuorim_CHView* view) {
    if (!m_views.contains(view)) {
        m_views.append(view);
        emit ViewsChanged();
    }
}

void CQuorim_CHDoc::UpdateAllViews(CQuorim_CHView* sender) {
    for (CQuorim_CHView* view : m_views) {
        if (view != sender && sender) {
            view->OnUpdate(*sender);
        }
    }
}

void CQuorim_CHDoc::RemoveView(CQuorim_CHView* view) {
    m_views.removeAll(view);
    if (m_views.isEmpty()) {
        emit Closed(this);
    } else {
        emit ViewsChanged();
    }
}

}  // namespace quorim
