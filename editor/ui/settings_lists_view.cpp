#include "editor/ui/settings_lists_view.h"

#include <QLineEdit>

#include "editor/codec.h"
#include "editor/form_template.h"
#include "editor/ui/cell_editors.h"
#include "editor/ui/view_document.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

CSettingsListsView::CSettingsListsView(QWidget* window, CViewDocument& doc, CCellEditors& cells,
                                       const QHash<int, QWidget*>& controls)
    : QObject(window), m_window(window), m_doc(doc), m_cells(cells), m_controls(controls) {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        m_lists[static_cast<std::size_t>(info.list)] =
            qobject_cast<QComboBox*>(controls.value(info.controlId));
    }
    Connect();
}

void CSettingsListsView::Connect() {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        QComboBox* combo = Combo(info.list);
        const SettingsList list = info.list;
        // The user changed a selection (programmatic changes block the
        // signal): the document takes it.
        connect(combo, &QComboBox::currentIndexChanged, this, [this, list](int index) {
            if (list == SettingsList::Model) {
                if (!OnSelChangeModel()) {
                    return;
                }
            } else {
                m_doc.Editor().SetCurSel(list, index);
            }
            Record();
        });
        // Typed text gives way to a selection at once: the box always shows
        // what will be saved and printed.
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, list] { OnEditChange(list); });
    }
}

void CSettingsListsView::Record() {
    m_doc.RecordChange();  // one step of the document's undo history
}

void CSettingsListsView::ShowSelections() {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        SetComboSel(Combo(info.list), m_doc.Editor().CurSel(info.list));
    }
}

void CSettingsListsView::OnSelectionChanged(int list) {
    const auto which = static_cast<SettingsList>(list);
    QComboBox* combo = Combo(which);
    const int index = m_doc.Editor().CurSel(which);
    if (combo && combo->currentIndex() != index) {
        SetComboSel(combo, index);
    }
    if (which == SettingsList::Model) {
        SyncFunctionSettings();
    }
}

void CSettingsListsView::SyncFunctionSettings() {
    const bool show = m_doc.Editor().CurSel(SettingsList::Model) != 1;
    for (const int id : FunctionSettingsControls()) {
        if (QWidget* w = m_controls.value(id)) {
            w->setVisible(show);
        }
    }
}

bool CSettingsListsView::OnSelChangeModel() {
    EditorSurface& editor = m_doc.Editor();
    QComboBox* model = Combo(SettingsList::Model);
    const int index = model->currentIndex();
    const bool sixteenBefore = editor.Rows() < kRows199;
    if (index <= 0 && !sixteenBefore) {
        // Channels 17-199 go with the 199-channel model: asked first.
        const int dropped = ChannelsDroppedBySixteen(editor);
        if (dropped > 0 &&
            AfxMessageBox(m_window, Q(kAskDropChannels).arg(dropped), QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Question) != QMessageBox::Ok) {
            SetComboSel(model, 1);
            return false;
        }
    }
    // A pending cell edit is dropped, not committed.
    m_cells.HideCellEditors();
    if (CQuorim_CHDoc* doc = m_doc.Get()) {
        doc->ChooseModel(index);
    }
    SyncFunctionSettings();
    m_cells.ReloadCellEditors();
    return true;
}

void CSettingsListsView::OnEditChange(SettingsList list) {
    QComboBox* combo = Combo(list);
    const int before = combo->currentIndex();
    // The model list gives way to the model the document has; the bandwidth
    // list to its own selection; the others to their fixed item.
    int restore = Info(list).restoreIndex;
    if (list == SettingsList::Model) {
        restore = m_doc.Editor().Rows() < kRows199 ? 0 : 1;
    } else if (restore < 0) {
        restore = before;
    }
    SetComboSel(combo, restore);
    m_doc.Editor().SetCurSel(list, restore);
    if (before != restore) {
        Record();
    }
}

}  // namespace quorim
