#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/serial_devices.h"

namespace quorim {

// The machine's serial devices as udev knows them: every tty with a real
// parent device (USB adapters, built-in ports; no virtual consoles and none
// of the legacy 8250 placeholders), sorted as SortSerialDevices does.
class UdevSerialDevices : public SerialDeviceSource {
public:
    std::vector<SerialDevice> Devices() override;
};

// The device at `path` with its access, for one udev does not list (a
// pseudo-terminal, the virtual radio); nothing when no file is there.
std::optional<SerialDevice> DeviceAtPath(const std::string& path);

// Tells when a serial device comes or goes. Fd() is readable when events
// are pending (-1 when udev cannot be watched); TakeEvents() reads them all
// and reports whether any concerned a tty.
class SerialDeviceMonitor {
public:
    SerialDeviceMonitor();
    ~SerialDeviceMonitor();
    SerialDeviceMonitor(const SerialDeviceMonitor&) = delete;
    SerialDeviceMonitor& operator=(const SerialDeviceMonitor&) = delete;

    int Fd() const;
    bool TakeEvents();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quorim
