#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_devices.h"

class QComboBox;
class QSocketNotifier;
class QTableWidget;

namespace quorim {

class SerialDeviceMonitor;

// "设备…" of the port menu: the serial devices as `quorim ports` lists them,
// the COMn each stands for, and a choice of device for each of COM1-COM4
// (applied at once through SetComAssignments). The list follows plugging
// and unplugging while the dialog is open.
class CDevicesDlg : public QDialog {
    Q_OBJECT

public:
    CDevicesDlg(SerialDeviceSource& source, QWidget* parent);
    ~CDevicesDlg() override;

    QTableWidget* Table() const { return m_table; }
    QComboBox* AssignBox(int n) const { return m_assign[static_cast<std::size_t>(n) - 1]; }
    // Lists the devices anew.
    void Refresh();

signals:
    // The user chose another device for a COMn: all four, "" for automatic.
    void AssignmentsChanged(const std::array<std::string, 4>& paths);

private:
    void OnAssign(int n);

    SerialDeviceSource& m_source;
    std::vector<SerialDevice> m_devices;
    QTableWidget* m_table = nullptr;
    std::array<QComboBox*, 4> m_assign{};
    std::unique_ptr<SerialDeviceMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace quorim
