#pragma once

#include <windows.h>

#include <string>

#include "link/serial_port.h"

namespace quorim {

// A serial port of Windows: "COM1".."COM256" (any number) open as \\.\COMn,
// any other name is taken as a device path as it is. The time-outs are the
// port driver's own (SetCommTimeouts), which are the rules the interface
// describes. Exclusive: the driver refuses a second opener, and a named
// mutex per port does the same where a port layer does not.
class Win32SerialPort : public SerialPort {
public:
    Win32SerialPort() = default;
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

protected:
    // The device path is the one the name stands for ("\\.\COM5").
    PortResult OpenDevice(const std::string& name, std::string& devicePath) override;
    PortResult SetDeviceQueueSizes(std::size_t input, std::size_t output) override;
    PortResult SetDeviceTimeouts(const CommTimeouts& timeouts) override;
    PortResult SetDeviceLine(const LineSettings& line) override;
    PortResult PurgeDevice() override;
    Transfer WriteDevice(const std::uint8_t* data, std::size_t size) override;
    Transfer ReadDevice(std::uint8_t* data, std::size_t size) override;
    void CloseDevice() override;

private:
    PortError FailedCall() const;

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_claim = nullptr;
};

// The device path of a port name: "COM7" (any case, 1..256) is \\.\COM7,
// anything else stays as it is.
std::string Win32PortPath(const std::string& name);

}  // namespace quorim
