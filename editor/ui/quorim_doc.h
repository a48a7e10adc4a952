#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

#include "editor/channel_edit.h"
#include "image/memory_image.h"
#include "image/szt_file.h"

class QUndoStack;

namespace quorim {

class CQuorim_CHView;

// One document: one radio's memory image and its model flag, the file it came
// from, and the modified mark. Its views show it, all alike; the first
// view's editor is what a save encodes.
class CQuorim_CHDoc : public QObject {
    Q_OBJECT

public:
    explicit CQuorim_CHDoc(QObject* parent = nullptr);
    ~CQuorim_CHDoc() override;

    DocumentData& Data() { return m_data; }
    const DocumentData& Data() const { return m_data; }

    // The new image of a new document.
    bool OnNewDocument();

    QString PathName() const { return m_path; }
    void SetPathName(const QString& path);
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);

    // Why the file this document was opened from may not be a memory image;
    // None once the document was saved or read from a radio.
    ImageDoubt Doubt() const { return m_doubt; }
    void SetDoubt(ImageDoubt doubt) { m_doubt = doubt; }

    bool IsModified() const { return m_modified; }
    // Edits, reads and model changes mark the document; new, open and save
    // clear the mark (and make the undo history's present step the clean one).
    void SetModifiedFlag(bool modified = true);

    // The undo history, one for the document and all its views. The modified
    // mark follows its clean state.
    QUndoStack* UndoStack() const { return m_undo; }
    // What the document and `from`'s editor hold now is the state the next
    // change starts from (after a document was shown, opened or saved).
    void SetUndoBaseline(const CQuorim_CHView* from);
    // A change made in `from`: the difference to the state recorded last
    // becomes one undo step named `text`. Nothing when nothing changed.
    void RecordChange(const CQuorim_CHView* from, const QString& text = QString());
    // Undo (forward false) or redo a step: the data and every view's editor
    // take the state before or after it.
    void ApplyStep(const EditStep& step, bool forward);

    const QList<CQuorim_CHView*>& Views() const { return m_views; }
    CQuorim_CHView* FirstView() const { return m_views.isEmpty() ? nullptr : m_views.first(); }
    void AddView(CQuorim_CHView* view);
    // An edit, a read or a list change in `sender`: every other view takes
    // its state, so that all views, and what Save, Write and Print encode,
    // are one.
    void UpdateAllViews(CQuorim_CHView* sender);
    void RemoveView(CQuorim_CHView* view);

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged(const QString& title);
    // A view was added or went away (window titles number the views).
    void ViewsChanged();
    // The last view went away; the document is about to be deleted.
    void Closed(CQuorim_CHDoc* doc);

private:
    DocumentData m_data;
    QString m_path;
    QString m_title;
    bool m_modified = false;
    ImageDoubt m_doubt = ImageDoubt::None;
    QList<CQuorim_CHView*> m_views;
    QUndoStack* m_undo;
    // The state the last recorded step left (or the baseline).
    std::unique_ptr<EditorState> m_recorded;
};

}  // namespace quorim
