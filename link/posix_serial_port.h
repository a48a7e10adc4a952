#pragma once

#include <termios.h>

#include <cstdio>
#include <string>

#include "link/serial_port.h"

namespace quorim {

// A serial port on a POSIX terminal device (a real UART, a USB adapter, or a
// pseudo-terminal): termios raw mode with VMIN = VTIME = 0, and poll() against
// a monotonic deadline for the millisecond time-outs termios cannot express.
// Exclusive through flock() (which also binds root) and TIOCEXCL. Anything
// but a terminal is refused without being opened for long (a FIFO never
// waited on); a terminal gets its settings back when the port is closed.
//
// Setting QUORIM_TRACE=FILE appends every byte sent and received, with a
// timestamp in milliseconds, to FILE.
class PosixSerialPort : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    PortResult Open(const std::string& name) override;
    bool IsOpen() const override { return m_fd >= 0; }
    PortResult SetQueueSizes(std::size_t input, std::size_t output) override;
    PortResult SetTimeouts(const CommTimeouts& timeouts) override;
    PortResult SetLine(const LineSettings& line) override;
    PortResult Purge() override;
    Transfer Write(const std::uint8_t* data, std::size_t size) override;
    Transfer Read(std::uint8_t* data, std::size_t size) override;
    void Close() override;

    // The device path the last Open resolved its name to.
    const std::string& DevicePath() const { return m_path; }

private:
    void Trace(const char* what, const std::uint8_t* data, std::size_t size);

    int m_fd = -1;
    std::string m_path;
    // The terminal's settings as the port was found, given back at Close.
    termios m_found{};
    CommTimeouts m_timeouts{};
    void CloseTrace();

    std::FILE* m_trace = nullptr;
    double m_traceStart = 0;
};

// The descriptor that turns readable when the link stop is raised
// (link/clock.h); every wait of the port polls it too.
int LinkStopDescriptor();

}  // namespace quorim
