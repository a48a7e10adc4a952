#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace quorim {

// Time-outs of a serial port, in milliseconds, with the meaning the radio links
// were designed around:
//  - a read of n bytes returns when n bytes have arrived, or when
//    readIntervalMs pass after a received byte without a further byte, or when
//    readTotalPerByteMs * n + readTotalConstantMs have passed since the call;
//    whichever comes first. It reports how many bytes arrived.
//  - a write of n bytes gives up after writeTotalPerByteMs * n +
//    writeTotalConstantMs and reports how many bytes were taken.
// Zero switches a rule off (both totals zero: no total limit). A read interval
// of kReadReturnAtOnce with both read totals zero makes a read return at once
// with whatever has arrived.
struct CommTimeouts {
    std::uint32_t readIntervalMs = 0;
    std::uint32_t readTotalPerByteMs = 0;
    std::uint32_t readTotalConstantMs = 0;
    std::uint32_t writeTotalPerByteMs = 0;
    std::uint32_t writeTotalConstantMs = 0;
};
inline constexpr std::uint32_t kReadReturnAtOnce = 0xFFFFFFFFu;

enum class Parity { None, Odd, Even };

// Baud rate and character frame. Raw binary transfer is always on and parity
// checking off; flow control and the modem lines stay as the port had them.
struct LineSettings {
    int baud = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    int stopBits = 1;
};

// The small closed set of things that go wrong with a port. The operating
// system's own reason travels in PortResult::detail only for System.
enum class PortError {
    None,
    NotFound,     // no such device (or the name resolves to nothing)
    Busy,         // another program holds the port
    NoAccess,     // permission denied
    NotSerial,    // the path is not a terminal device
    Unsupported,  // a line setting the device cannot take
    NotOpen,      // the call needs an open port
    Gone,         // the device vanished (unplugged, other end of a pty closed)
    Stopped,      // a read or write ended by the link stop (Ctrl+C), not by the port
    System,       // anything else the operating system reported
};

// What stands at a port's name when it is not a terminal (PortError::NotSerial).
enum class PortNodeKind {
    Unknown,
    RegularFile,
    Folder,
    Fifo,
    Socket,
    OtherDevice,  // a device that is no terminal: /dev/null, a disk
};

struct PortResult {
    PortResult() = default;
    PortResult(PortError e, std::string d) : error(e), detail(std::move(d)) {}

    PortError error = PortError::None;
    std::string detail;
    // What the platform could learn about a port it could not open: the
    // node's owner group (NoAccess), the program holding it (Busy).
    std::string group;
    std::string holderName;
    int holderPid = 0;
    // NotSerial: what the name stands for instead.
    PortNodeKind kind = PortNodeKind::Unknown;

    bool Ok() const { return error == PortError::None; }
};

// A counted read or write: the bytes transferred, and an error when the port
// failed (a time-out is not an error: it shows as a short count).
struct Transfer {
    Transfer(std::size_t count_ = 0, PortError error_ = PortError::None, std::string detail_ = {})
        : count(count_), error(error_), detail(std::move(detail_)) {}

    std::size_t count;
    PortError error;
    std::string detail;  // the operating system's reason, with System only

    bool Ok() const { return error == PortError::None; }
};

// An English phrase for an error ("the port is in use by another program").
std::string PortErrorText(PortError error);

// A serial port as the radio links use it. One object opens one port at a
// time; every call but Open needs an open port.
//
// The public calls are the same on every platform: they check the port's
// state (a closed port answers NotOpen) and keep the trace, then hand over to
// the platform's calls below. Setting QUORIM_TRACE=FILE appends every byte
// sent and received, with a timestamp in milliseconds since the open, to FILE.
class SerialPort {
public:
    SerialPort() = default;
    // A derived port closes itself in its own destructor: here the platform's
    // calls can no longer be reached.
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens an existing device for reading and writing, exclusively: a second
    // opener of the same device fails with Busy. `name` is "COM1".."COM4" or a
    // device path.
    PortResult Open(const std::string& name);
    virtual bool IsOpen() const = 0;
    // Driver queue sizes in bytes (input, output).
    PortResult SetQueueSizes(std::size_t input, std::size_t output);
    PortResult SetTimeouts(const CommTimeouts& timeouts);
    PortResult SetLine(const LineSettings& line);
    // Waits until every byte already written has left the port, then discards
    // what was received and not yet read. A purge never cuts short a frame
    // that was written.
    PortResult Purge();
    // Counted, blocking within the time-outs.
    Transfer Write(const std::uint8_t* data, std::size_t size);
    Transfer Read(std::uint8_t* data, std::size_t size);
    // Closing a closed port does nothing.
    void Close();

    // The device path the last Open resolved its name to.
    const std::string& DevicePath() const { return m_devicePath; }

protected:
    // The platform's calls. OpenDevice sets `devicePath` to the device the
    // name stands for, and on a failure leaves nothing open; the others are
    // called on an open port only, CloseDevice at any time.
    virtual PortResult OpenDevice(const std::string& name, std::string& devicePath) = 0;
    virtual PortResult SetDeviceQueueSizes(std::size_t input, std::size_t output) = 0;
    virtual PortResult SetDeviceTimeouts(const CommTimeouts& timeouts) = 0;
    virtual PortResult SetDeviceLine(const LineSettings& line) = 0;
    virtual PortResult PurgeDevice() = 0;
    virtual Transfer WriteDevice(const std::uint8_t* data, std::size_t size) = 0;
    virtual Transfer ReadDevice(std::uint8_t* data, std::size_t size) = 0;
    virtual void CloseDevice() = 0;

private:
    void TraceLine(const std::string& text);
    void TraceBytes(const char* what, const std::uint8_t* data, std::size_t size);
    void CloseTrace();

    std::string m_devicePath;
    std::FILE* m_trace = nullptr;
    double m_traceStart = 0;
};

// Opens `name` and sets it up for a link: queue sizes, time-outs and line, in
// that order. Every setting is tried; the first failure is the result, and
// the port is closed again.
PortResult OpenConfiguredPort(SerialPort& port, const std::string& name, std::size_t inputQueue,
                              std::size_t outputQueue, const CommTimeouts& timeouts,
                              const LineSettings& line);

// The platform's part of the trace: the file for appending, a regular file
// only, opened without waiting (a FIFO without a reader would hold the
// program). Null, with the reason in `why`, for anything else.
std::FILE* OpenTraceFile(const std::string& path, std::string& why);
// QUORIM_TRACE as the environment has it (UTF-8), empty when it is not set.
std::string TraceFileSetting();

// A closed serial port of this system: the POSIX port on Linux, the Win32
// port on Windows.
std::unique_ptr<SerialPort> NewSystemSerialPort();

}  // namespace quorim
