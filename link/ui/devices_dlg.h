#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "link/doctor.h"
#include "link/serial_devices.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QSocketNotifier;
class QTableWidget;
class QThread;

namespace quorim {

class CVirtualRadio;
class SerialDeviceMonitor;

// "设备…" of the port menu: the serial devices as `quorim ports` lists them,
// the COMn each stands for, and a choice of device for each of COM1-COM4
// (applied at once through SetComAssignments). The list follows plugging
// and unplugging while the dialog is open.
//
// "测试连接" runs the cable doctor's stages for the device of the selected
// row, or for the port chosen in the port menu when no row is selected, on a
// thread of its own; the stages appear in a list with ticks as they end, and
// the fix for the first that fails below it, in `language`.
//
// A COM item also takes a typed device path (a built-in port, a
// pseudo-terminal); one that a QUORIM_COMn variable sets shows that and
// cannot be changed here. "虚拟对讲机…" starts `radio` (when given) and points
// a COM item at it, for this run only.
//
// "写频前备份对讲机数据" turns on the snapshot before every write of the
// windows (CRadioTransfer::SetBackUpBeforeWrite; the program remembers it),
// and "恢复写频前的数据…" opens the list of snapshots (CRestoreDlg) to put one
// back on the same port a test would use.
class CDevicesDlg : public QDialog {
    Q_OBJECT

public:
    CDevicesDlg(SerialDeviceSource& source, QWidget* parent, UiLanguage language = UiLanguage::Chinese,
                CVirtualRadio* radio = nullptr);
    ~CDevicesDlg() override;

    QTableWidget* Table() const { return m_table; }
    QComboBox* AssignBox(int n) const { return m_assign[static_cast<std::size_t>(n) - 1]; }
    QPushButton* TestButton() const { return m_testButton; }
    QListWidget* StageList() const { return m_stages; }
    QLabel* FixLabel() const { return m_fix; }
    QCheckBox* BackUpBox() const { return m_backUp; }
    QPushButton* RestoreButton() const { return m_restoreButton; }
    // Lists the devices anew.
    void Refresh();
    // The port tested when no row is selected ("COM1" at first).
    void SetPortToTest(const std::string& port) { m_portToTest = port; }
    // What the test button does; nothing while a test runs.
    void TestConnection();
    QPushButton* VirtualRadioButton() const { return m_radioButton; }
    // Starts the virtual radio with `channels` channels and points COMn at
    // it; false, with the reason below the stages, when it did not start.
    bool StartVirtualRadio(int channels, int n);
    // What the restore button does: the list of snapshots, window-modal.
    void OpenRestore();

signals:
    // The user chose another device for a COMn: all four, "" for automatic.
    void AssignmentsChanged(const std::array<std::string, 4>& paths);
    // A test has ended and its stages and fix are shown.
    void ConnectionTested(bool ok);
    // The virtual radio runs and COMn stands for it (not to be kept).
    void VirtualRadioStarted(int n);
    // "写频前备份对讲机数据" was turned on or off.
    void BackUpBeforeWriteChanged(bool on);

private:
    // The rows that assign a device to COM1-COM4.
    QGridLayout* MakeAssignRows();
    // Back up before a write, and restore what a write replaced.
    QHBoxLayout* MakeSnapshotRow();
    void OnAssign(int n);
    void OnTyped(int n);
    void OnVirtualRadio();
    void Assign(int n, const std::string& path);
    void AddStage(const DoctorStageReport& stage);
    void ShowTestResult(const DoctorReport& report);
    // The device of the selected row, else the port chosen in the port menu.
    std::string ChosenPort() const;

    SerialDeviceSource& m_source;
    std::vector<SerialDevice> m_devices;
    QTableWidget* m_table = nullptr;
    std::array<QComboBox*, 4> m_assign{};
    std::unique_ptr<SerialDeviceMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
    // Whether each listed or assigned path exists, as the last Refresh saw
    // it: a pseudo-terminal or a typed path that goes away tells udev nothing.
    QString m_presence;
    QString Presence() const;
    UiLanguage m_language;
    std::string m_portToTest = "COM1";
    QPushButton* m_testButton = nullptr;
    QListWidget* m_stages = nullptr;
    QLabel* m_fix = nullptr;
    QCheckBox* m_backUp = nullptr;
    QPushButton* m_restoreButton = nullptr;
    QThread* m_test = nullptr;
    CVirtualRadio* m_radio = nullptr;
    QPushButton* m_radioButton = nullptr;
};

}  // namespace quorim
