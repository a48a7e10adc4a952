#pragma once

#include <QComboBox>
#include <QHash>
#include <QObject>
#include <array>

#include "editor/settings_lists.h"

namespace quorim {

class CCellEditors;
class CViewDocument;

// The radio-wide settings lists of a document window (the left of the form):
// they follow the document's selections and hand the user's choices to it,
// each one step of its history. A typed text gives way to a selection at
// once, so a list always shows what will be saved and printed; the model
// list re-lays the grid, and asks before channels 17-199 would go.
class CSettingsListsView : public QObject {
    Q_OBJECT

public:
    // `controls` are the form's controls by id (the lists among them, and
    // the function-settings group the model list hides).
    CSettingsListsView(QWidget* window, CViewDocument& doc, CCellEditors& cells,
                       const QHash<int, QWidget*>& controls);

    QComboBox* Combo(SettingsList list) const { return m_lists[static_cast<std::size_t>(list)]; }
    // Every list shows the document's selection.
    void ShowSelections();
    // The document's selection of `list` changed: its list shows it.
    void OnSelectionChanged(int list);
    // The function-settings group follows the model list: hidden while it
    // says "QZ - 199". Called after every decode.
    void SyncFunctionSettings();

    // The model list's choice; false when the user kept the model after all.
    bool OnSelChangeModel();
    // Text typed into a list's field.
    void OnEditChange(SettingsList list);
    void OnEditChangeModel() { OnEditChange(SettingsList::Model); }
    void OnEditChangeTot() { OnEditChange(SettingsList::Tot); }
    void OnEditChangeAlarm() { OnEditChange(SettingsList::Alarm); }
    void OnEditChangeSquelch() { OnEditChange(SettingsList::Squelch); }
    void OnEditChangePower() { OnEditChange(SettingsList::Power); }
    void OnEditChangeMonitor() { OnEditChange(SettingsList::Monitor); }
    void OnEditChangeBand() { OnEditChange(SettingsList::Band); }

private:
    void Connect();
    void Record();

    QWidget* m_window;
    CViewDocument& m_doc;
    CCellEditors& m_cells;
    const QHash<int, QWidget*>& m_controls;
    std::array<QComboBox*, kSettingsListCount> m_lists{};
};

}  // namespace quorim
