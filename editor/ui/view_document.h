#pragma once

#include <QString>

#include "editor/editor_model.h"
#include "editor/ui/quorim_doc.h"

namespace quorim {

// The document a window shows, as the window's parts reach it. A window that
// left its document (it is closing) has an empty editor of its own, so a
// late event changes nothing of the document.
class CViewDocument {
public:
    explicit CViewDocument(CQuorim_CHDoc* doc) : m_doc(doc) {}

    CQuorim_CHDoc* Get() const { return m_doc; }
    void Detach() { m_doc = nullptr; }
    // The document's editor state, in the core's own texts ("是", "信道"
    // where the English grid shows "Yes", "Channel").
    EditorSurface& Editor() const { return m_doc ? m_doc->Editor() : m_detached; }
    // A transfer of the document runs (from its start button to its end):
    // edits, Read, Write and the model list are refused meanwhile.
    bool Busy() const { return m_doc && m_doc->IsBusy(); }
    // The user changed something: one step of the document's history.
    void RecordChange(const QString& label = QString()) const {
        if (m_doc) {
            m_doc->RecordChange(label);
        }
    }

private:
    CQuorim_CHDoc* m_doc;
    mutable EditorModel m_detached;
};

}  // namespace quorim
