#include "link/serial_port.h"

#include <chrono>

namespace quorim {

std::string PortErrorText(PortError error) {
    switch (error) {
        case PortError::None:
            return "no error";
        case PortError::NotFound:
            return "no such device";
        case PortError::Busy:
            return "the port is in use by another program";
        case PortError::NoAccess:
            return "permission denied";
        case PortError::NotSerial:
            return "not a serial device";
        case PortError::Unsupported:
            return "the device does not support the line settings";
        case PortError::NotOpen:
            return "the port is not open";
        case PortError::Gone:
            return "the device has gone away";
        case PortError::Stopped:
            return "stopped";
        case PortError::System:
            return "system error";
    }
    return "unknown error";
}

namespace {

double MonotonicMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

SerialPort::~SerialPort() {
    CloseTrace();
}

PortResult SerialPort::Open(const std::string& name) {
    Close();
    // The trace file is opened before the port is taken, so that a trace
    // that cannot be written never holds a locked port.
    if (const std::string trace = TraceFileSetting(); !trace.empty()) {
        std::string why;
        m_trace = OpenTraceFile(trace, why);
        if (m_trace == nullptr) {
            std::fprintf(stderr, "quorim: warning: no trace: cannot write \"%s\" (%s)\n", trace.c_str(),
                         why.c_str());
        }
        m_traceStart = MonotonicMs();
    }
    std::string path;
    const PortResult opened = OpenDevice(name, path);
    m_devicePath = path;
    if (!opened.Ok()) {
        CloseTrace();
        return opened;
    }
    if (m_trace != nullptr) {
        std::fprintf(m_trace, "%10.3f open %s\n", 0.0, m_devicePath.c_str());
    }
    return opened;
}

PortResult SerialPort::SetQueueSizes(std::size_t input, std::size_t output) {
    return IsOpen() ? SetDeviceQueueSizes(input, output) : PortResult{PortError::NotOpen, {}};
}

PortResult SerialPort::SetTimeouts(const CommTimeouts& timeouts) {
    return IsOpen() ? SetDeviceTimeouts(timeouts) : PortResult{PortError::NotOpen, {}};
}

PortResult SerialPort::SetLine(const LineSettings& line) {
    return IsOpen() ? SetDeviceLine(line) : PortResult{PortError::NotOpen, {}};
}

PortResult SerialPort::Purge() {
    if (!IsOpen()) {
        return {PortError::NotOpen, {}};
    }
    PortResult result = PurgeDevice();
    if (result.Ok()) {
        TraceLine("purge");
    }
    return result;
}

Transfer SerialPort::Write(const std::uint8_t* data, std::size_t size) {
    if (!IsOpen()) {
        return {0, PortError::NotOpen};
    }
    Transfer result = WriteDevice(data, size);
    TraceBytes("tx", data, result.count);
    return result;
}

Transfer SerialPort::Read(std::uint8_t* data, std::size_t size) {
    if (!IsOpen()) {
        return {0, PortError::NotOpen};
    }
    Transfer result = ReadDevice(data, size);
    TraceBytes("rx", data, result.count);
    if (!result.Ok()) {
        TraceLine("error " + PortErrorText(result.error));
    }
    return result;
}

void SerialPort::Close() {
    CloseDevice();
    TraceLine("close");
    CloseTrace();
}

void SerialPort::TraceLine(const std::string& text) {
    if (m_trace != nullptr) {
        std::fprintf(m_trace, "%10.3f %s\n", MonotonicMs() - m_traceStart, text.c_str());
    }
}

void SerialPort::TraceBytes(const char* what, const std::uint8_t* data, std::size_t size) {
    if (m_trace == nullptr || size == 0) {
        return;
    }
    std::fprintf(m_trace, "%10.3f %s", MonotonicMs() - m_traceStart, what);
    for (std::size_t i = 0; i < size; ++i) {
        std::fprintf(m_trace, " %02X", data[i]);
    }
    std::fputc('\n', m_trace);
    std::fflush(m_trace);
}

void SerialPort::CloseTrace() {
    if (m_trace != nullptr) {
        std::fclose(m_trace);
        m_trace = nullptr;
    }
}

PortResult OpenConfiguredPort(SerialPort& port, const std::string& name, std::size_t inputQueue,
                              std::size_t outputQueue, const CommTimeouts& timeouts,
                              const LineSettings& line) {
    PortResult opened = port.Open(name);
    if (!opened.Ok()) {
        return opened;
    }
    for (const PortResult& r :
         {port.SetQueueSizes(inputQueue, outputQueue), port.SetTimeouts(timeouts), port.SetLine(line)}) {
        if (!r.Ok() && opened.Ok()) {
            opened = r;
        }
    }
    if (!opened.Ok()) {
        port.Close();
    }
    return opened;
}

}  // namespace quorim
