#pragma once

#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <cstdint>
#include <string>

#include "tuning/tuning_dialog.h"

class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorim {

class CLinkWorker;

// A tone box: an editable drop-down list that says when its list closes.
class CTuningToneBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;

signals:
    void CloseUp();

protected:
    // Only a box with the keyboard focus takes the wheel.
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_dropped = false;
};

// "Debug Mode for Tarvolin Radio" (template 136), run modally by the form
// view's online tuning command. It shows the state of a TuningDialogModel and
// forwards the user's actions to it; "开始" runs one tuning session over the
// port the application has chosen.
class CTuningDlg : public QDialog {
    Q_OBJECT

public:
    CTuningDlg(std::int64_t bandBase, std::string portName, QWidget* parent = nullptr);
    // A session still running is ended first.
    ~CTuningDlg() override;

    const TuningDialogModel& Model() const { return m_model; }
    QWidget* Control(int id) const { return m_controls.value(id); }
    QTreeWidget* Tree() const { return m_tree; }
    QTreeWidgetItem* TreeItem(int data) const { return m_treeItems.value(data); }
    QComboBox* ToneBox(TuningSide side) const;
    QLineEdit* FrequencyBox(TuningSide side) const;

    // Handlers of the window's notifications.
    void OnSelChangedTree();
    void OnStart();
    void OnRestoreDefaults();
    void OnKind(TuningSide side, ToneListKind kind);
    void OnStep(TuningSide side, ChannelStep step);
    void OnToneCloseUp(TuningSide side);
    void OnHScroll(int position);
    // Enter in any control; true when it was handled here.
    bool PreTranslateMessage(QWidget* target, QKeyEvent* event);
    // From "开始" until the session has ended (its last message answered).
    bool IsSessionRunning() const;
    // Closing, by any way, is refused while a session runs.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    // The controls tell the dialog what the user does.
    void ConnectControls();
    QWidget* MakeControl(const TuningControl& c, QButtonGroup* group);
    void OnInitDialog();
    void ShowPage();
    void LoadPoint();
    void LoadItem();
    void FillToneBox(TuningSide side, ToneListKind kind);
    void SelectTone(TuningSide side, int position);
    void CheckPair(int firstId, int secondId, bool first);
    void OnFrequencyEnter(TuningSide side);

    TuningDialogModel m_model;
    QHash<int, QWidget*> m_controls;
    QHash<int, QTreeWidgetItem*> m_treeItems;
    QTreeWidget* m_tree = nullptr;
    QGroupBox* m_frame = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_position = nullptr;
    CLinkWorker* m_worker;
};

}  // namespace quorim
