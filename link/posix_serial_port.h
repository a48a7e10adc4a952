#pragma once

#include <termios.h>

#include <string>

#include "link/serial_port.h"

namespace quorim {

// A serial port on a POSIX terminal device (a real UART, a USB adapter, or a
// pseudo-terminal): termios raw mode with VMIN = VTIME = 0, and poll() against
// a monotonic deadline for the millisecond time-outs termios cannot express.
// Exclusive through flock() (which also binds root) and TIOCEXCL. Anything
// but a terminal is refused without being opened for long (a FIFO never
// waited on); a terminal gets its settings back when the port is closed.
class PosixSerialPort : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool IsOpen() const override { return m_fd >= 0; }

protected:
    PortResult OpenDevice(const std::string& name, std::string& devicePath) override;
    PortResult SetDeviceQueueSizes(std::size_t input, std::size_t output) override;
    PortResult SetDeviceTimeouts(const CommTimeouts& timeouts) override;
    PortResult SetDeviceLine(const LineSettings& line) override;
    PortResult PurgeDevice() override;
    Transfer WriteDevice(const std::uint8_t* data, std::size_t size) override;
    Transfer ReadDevice(std::uint8_t* data, std::size_t size) override;
    void CloseDevice() override;

private:
    int m_fd = -1;
    // The terminal's settings as the port was found, given back at Close.
    termios m_found{};
    CommTimeouts m_timeouts{};
};

// The descriptor that turns readable when the link stop is raised
// (link/clock.h); every wait of the port polls it too.
int LinkStopDescriptor();

}  // namespace quorim
