#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

#include "editor/channel_edit.h"
#include "files/szt_file.h"
#include "image/memory_image.h"
#include "ui/busy_state.h"

class QUndoStack;

namespace quorim {

class CChannelTable;
class CQuorim_CHView;
class EditorSurface;

// One document: one radio's memory image and its model flag, the editor's
// state (the channel grid's texts and the settings lists' selections), the
// file it came from, the modified mark and the undo history. Save, print,
// the transfers and the channel commands work on the document; its views
// show the one state and forward the user's input to it.
class CQuorim_CHDoc : public QObject {
    Q_OBJECT

public:
    explicit CQuorim_CHDoc(QObject* parent = nullptr);
    ~CQuorim_CHDoc() override;

    DocumentData& Data() { return m_data; }
    const DocumentData& Data() const { return m_data; }

    // The editor's state. Writing through it shows in every view at once.
    EditorSurface& Editor();
    const EditorSurface& Editor() const;
    // The same state as the grids' model.
    CChannelTable* Table() const { return m_table; }
    // The editor as a newly shown document sets it up (headers, rows by the
    // model flag, the decoded image); the undo history starts from here.
    void InitialUpdate();

    // The model list's item `index` was chosen: the edits so far are encoded,
    // then rows, model flag and image follow the choice and are decoded again.
    void ChooseModel(int index);
    // A read's image replaces the document's and is decoded into the editor
    // (the one decode of a read).
    void TakeRead(const DocumentData& read);

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

    // The one busy state of the document: a transfer of one of its windows
    // runs, from the start button to its end (the result applied, the
    // progress window closed). Meanwhile every window of the document refuses
    // edits, Read, Write, tuning and closing: a read replaces what they show.
    bool IsBusy() const { return m_busy.IsBusy(); }
    // Held by the transfer of the window that runs it.
    CBusyState& Busy() { return m_busy; }

    bool IsModified() const { return m_modified; }
    // Edits, reads and model changes mark the document; new, open and save
    // clear the mark (and make the undo history's present step the clean one).
    void SetModifiedFlag(bool modified = true);

    // The undo history, one for the document and all its views. The modified
    // mark follows its clean state.
    QUndoStack* UndoStack() const { return m_undo; }
    // What the document holds now is the state the next change starts from
    // (after a document was shown, opened or saved).
    void SetUndoBaseline();
    // A change was made: the difference to the state recorded last becomes
    // one undo step named `text`. Nothing when nothing changed.
    void RecordChange(const QString& text = QString());
    // Undo (forward false) or redo a step: the data and the editor take the
    // state before or after it.
    void ApplyStep(const EditStep& step, bool forward);

    // The document's windows, for their titles and for closing.
    const QList<CQuorim_CHView*>& Views() const { return m_views; }
    void AddView(CQuorim_CHView* view);
    void RemoveView(CQuorim_CHView* view);

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged(const QString& title);
    // A view was added or went away (window titles number the views).
    void ViewsChanged();
    // The last view went away; the document is about to be deleted.
    void Closed(CQuorim_CHDoc* doc);
    // An undo or redo is about to replace the editor's state, and has
    // replaced it (views put their open editors away and reload them).
    void StateChanging();
    void StateChanged();
    // A change was recorded (or undone): views follow what it left.
    void Changed();

private:
    DocumentData m_data;
    CChannelTable* m_table;
    QString m_path;
    QString m_title;
    bool m_modified = false;
    CBusyState m_busy;
    ImageDoubt m_doubt = ImageDoubt::None;
    QList<CQuorim_CHView*> m_views;
    QUndoStack* m_undo;
    // The state the last recorded step left (or the baseline).
    std::unique_ptr<EditorState> m_recorded;
};

}  // namespace quorim
