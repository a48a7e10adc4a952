#include "editor/ui/quorim_doc.h"

#include <QFileInfo>
#include <QUndoStack>

#include "editor/codec.h"
#include "editor/ui/channel_table.h"

namespace quorim {

namespace {

// One change of a document, its effect computed by the core: the state
// before and after. Pushing it does nothing; the change has happened.
class CEditCommand : public QUndoCommand {
public:
    CEditCommand(CQuorim_CHDoc* doc, EditStep step, const QString& text)
        : QUndoCommand(text), m_doc(doc), m_step(std::move(step)) {}

    void undo() override { m_doc->ApplyStep(m_step, false); }
    void redo() override {
        if (m_pushed) {
            m_doc->ApplyStep(m_step, true);
        }
        m_pushed = true;
    }

private:
    CQuorim_CHDoc* m_doc;
    EditStep m_step;
    bool m_pushed = false;
};

// Enough steps for a day's work on one radio; each holds only what changed
// and two images.
constexpr int kUndoLimit = 500;

}  // namespace

CQuorim_CHDoc::CQuorim_CHDoc(QObject* parent)
    : QObject(parent), m_table(new CChannelTable(this)), m_undo(new QUndoStack(this)) {
    m_undo->setUndoLimit(kUndoLimit);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { SetModifiedFlag(!clean); });
}

CQuorim_CHDoc::~CQuorim_CHDoc() = default;

EditorSurface& CQuorim_CHDoc::Editor() {
    return *m_table;
}

const EditorSurface& CQuorim_CHDoc::Editor() const {
    return *m_table;
}

void CQuorim_CHDoc::InitialUpdate() {
    InitialUpdateEditor(m_data, Editor());
    SetUndoBaseline();
}

void CQuorim_CHDoc::ChooseModel(int index) {
    // The channels edited so far stay through the change of layout.
    Editor().SetCurSel(SettingsList::Model, index);
    EncodeImage(Editor(), m_data);
    ApplyModelChoice(Editor(), m_data);
}

void CQuorim_CHDoc::TakeRead(const DocumentData& read) {
    m_data = read;
    InitialUpdateEditor(m_data, Editor());
}

void CQuorim_CHDoc::SetUndoBaseline() {
    m_recorded = std::make_unique<EditorState>(CaptureState(m_data, Editor()));
}

void CQuorim_CHDoc::RecordChange(const QString& text) {
    auto now = std::make_unique<EditorState>(CaptureState(m_data, Editor()));
    if (!m_recorded) {
        // No state to start from: this one is the first.
        m_recorded = std::move(now);
        SetModifiedFlag(true);
    } else {
        EditStep step(*m_recorded, *now);
        m_recorded = std::move(now);
        if (!step.Empty()) {
            m_undo->push(new CEditCommand(this, std::move(step), text));
        }
    }
    emit Changed();
}

void CQuorim_CHDoc::ApplyStep(const EditStep& step, bool forward) {
    emit StateChanging();
    step.Apply(forward, m_data, Editor());
    SetUndoBaseline();
    emit StateChanged();
    emit Changed();
}

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
    if (!modified) {
        m_undo->setClean();
        // A save encoded the editor into the image: the next step starts here.
        if (m_recorded) {
            m_recorded->data = m_data;
        }
    }
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

void CQuorim_CHDoc::RemoveView(CQuorim_CHView* view) {
    m_views.removeAll(view);
    if (m_views.isEmpty()) {
        emit Closed(this);
    } else {
        emit ViewsChanged();
    }
}

}  // namespace quorim
