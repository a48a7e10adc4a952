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

    PortResult Open(const std::string& name) override;
    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }
    PortResult SetQueueSizes(std::size_t input, std::size_t output) override;
    PortResult SetTimeouts(const CommTimeouts& timeouts) override;
    PortResult SetLine(const LineSettings& line) override;
    PortResult Purge() override;
    Transfer Write(const std::uint8_t* data, std::size_t size) override;
    Transfer Read(std::uint8_t* data, std::size_t size) override;
    void Close() override;

    // The device path the last Open used ("\\.\COM5").
    const std::string& DevicePath() const { return m_path; }

private:
    PortError FailedCall() const;

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_claim = nullptr;
    std::string m_path;
};

// The device path of a port name: "COM7" (any case, 1..256) is \\.\COM7,
// anything else stays as it is.
std::string Win32PortPath(const std::string& name);

}  // namespace quorim
