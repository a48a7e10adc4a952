#include "link/win32_serial_port.h"

#include <io.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwctype>

#include "base/win32_text.h"
#include "link/port_names.h"

namespace quorim {

namespace {

std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", n);
    LocalFree(text);
    while (!message.empty() && std::iswspace(message.back())) {
        message.pop_back();
    }
    return "error " + std::to_string(code) + (message.empty() ? "" : ": " + Utf8FromWide(message));
}

// Not in every SDK's headers.
constexpr DWORD kErrorNoSuchDevice = 433;

// What a port driver answers once its device has gone (a USB adapter pulled
// out, the far end of a port layer closed).
bool IsGoneError(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_COMMAND:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_GEN_FAILURE:
        case ERROR_INVALID_HANDLE:
        case kErrorNoSuchDevice:
        case ERROR_NOT_READY:
        case ERROR_OPERATION_ABORTED:
            return true;
        default:
            return false;
    }
}

// Ends a read or write that the system failed with `err`: the device is
// gone, or the system's reason goes with the error.
void FailTransfer(Transfer& result, const char* what, DWORD err) {
    if (IsGoneError(err)) {
        result.error = PortError::Gone;
        return;
    }
    result.error = PortError::System;
    result.detail = std::string(what) + ": " + SystemMessage(err);
}

// "COM7" -> 7 for 1..256 in any case, else 0.
int ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6) {
        return 0;
    }
    std::string head = name.substr(0, 3);
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::toupper(c); });
    const std::string digits = name.substr(3);
    if (head != "COM" || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const int n = std::stoi(digits);
    return n <= 256 ? n : 0;
}

}  // namespace

std::string Win32PortPath(const std::string& name) {
    const int n = ComPortNumber(name);
    return n == 0 ? name : "\\\\.\\COM" + std::to_string(n);
}

std::FILE* OpenTraceFile(const std::string& path, std::string& why) {
    // Binary: the lines end in \n as they do everywhere. A device or a pipe
    // (which could hold the program) is closed again at once.
    std::FILE* f = _wfopen(WideFromUtf8(path).c_str(), L"ab");
    if (f == nullptr) {
        why = std::strerror(errno);
        return nullptr;
    }
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)))) != FILE_TYPE_DISK) {
        std::fclose(f);
        why = "not a regular file";
        return nullptr;
    }
    return f;
}

std::string TraceFileSetting() {
    const wchar_t* trace = _wgetenv(L"QUORIM_TRACE");
    return trace != nullptr ? Utf8FromWide(trace) : std::string();
}

std::unique_ptr<SerialPort> NewSystemSerialPort() {
    return std::make_unique<Win32SerialPort>();
}

Win32SerialPort::~Win32SerialPort() {
    Close();
}

PortError Win32SerialPort::FailedCall() const {
    return IsGoneError(GetLastError()) ? PortError::Gone : PortError::System;
}

PortResult Win32SerialPort::OpenDevice(const std::string& name, std::string& devicePath) {
    // COM1..COM4 may stand for another port the user assigned in the window.
    devicePath = Win32PortPath(ResolvePortName(name));
    // One opener per port within this session, also where the port layer
    // itself lets a second one in.
    std::wstring device = WideFromUtf8(devicePath);
    std::transform(device.begin(), device.end(), device.begin(),
                   [](wchar_t c) { return c == L'\\' ? L'/' : std::towupper(c); });
    m_claim = CreateMutexW(nullptr, FALSE, (L"Local\\quorim-serial-" + device).c_str());
    if (m_claim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(m_claim);
        m_claim = nullptr;
        return {PortError::Busy, name};
    }
    // A folder would answer "access denied", as a port in use does.
    if (const DWORD attributes = GetFileAttributesW(WideFromUtf8(devicePath).c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseDevice();
        PortResult result{PortError::NotSerial, name};
        result.kind = PortNodeKind::Folder;
        return result;
    }
    const HANDLE h = CreateFileW(WideFromUtf8(devicePath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        CloseDevice();
        switch (err) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
                return {PortError::NotFound, name};
            case ERROR_ACCESS_DENIED:  // what a port in use answers
            case ERROR_SHARING_VIOLATION:
                return {PortError::Busy, name};
            default:
                return {PortError::System, name + ": " + SystemMessage(err)};
        }
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) {
        const DWORD type = GetFileType(h);
        CloseHandle(h);
        CloseDevice();
        PortResult result{PortError::NotSerial, name};
        result.kind = type == FILE_TYPE_DISK   ? PortNodeKind::RegularFile
                      : type == FILE_TYPE_PIPE ? PortNodeKind::Fifo
                                               : PortNodeKind::OtherDevice;
        return result;
    }
    m_handle = h;
    return {};
}

PortResult Win32SerialPort::SetDeviceQueueSizes(std::size_t input, std::size_t output) {
    if (!SetupComm(m_handle, static_cast<DWORD>(input), static_cast<DWORD>(output))) {
        return {FailedCall(), "SetupComm: " + SystemMessage(GetLastError())};
    }
    return {};
}

PortResult Win32SerialPort::SetDeviceTimeouts(const CommTimeouts& timeouts) {
    COMMTIMEOUTS t{timeouts.readIntervalMs, timeouts.readTotalPerByteMs, timeouts.readTotalConstantMs,
                   timeouts.writeTotalPerByteMs, timeouts.writeTotalConstantMs};
    if (!SetCommTimeouts(m_handle, &t)) {
        return {FailedCall(), "SetCommTimeouts: " + SystemMessage(GetLastError())};
    }
    return {};
}

PortResult Win32SerialPort::SetDeviceLine(const LineSettings& line) {
    if (line.baud <= 0 || line.dataBits < 5 || line.dataBits > 8 || line.stopBits < 1 || line.stopBits > 2) {
        return {PortError::Unsupported, {}};
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb)) {
        return {FailedCall(), "GetCommState: " + SystemMessage(GetLastError())};
    }
    dcb.BaudRate = static_cast<DWORD>(line.baud);
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = line.parity == Parity::None ? NOPARITY : line.parity == Parity::Odd ? ODDPARITY : EVENPARITY;
    dcb.StopBits = line.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    // Raw binary transfer: no parity check, no software flow control (it
    // would swallow 0x11 and 0x13), no byte replaced or dropped, no stop on a
    // line error. Hardware flow control and the modem lines stay as they were.
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(m_handle, &dcb)) {
        const DWORD err = GetLastError();
        return err == ERROR_INVALID_PARAMETER
                   ? PortResult{PortError::Unsupported, {}}
                   : PortResult{FailedCall(), "SetCommState: " + SystemMessage(err)};
    }
    return {};
}

PortResult Win32SerialPort::PurgeDevice() {
    // Wait until the written bytes have left, then drop what came in: the
    // output is never cut short.
    if (!FlushFileBuffers(m_handle)) {
        return {FailedCall(), "FlushFileBuffers: " + SystemMessage(GetLastError())};
    }
    if (!PurgeComm(m_handle, PURGE_RXCLEAR)) {
        return {FailedCall(), "PurgeComm: " + SystemMessage(GetLastError())};
    }
    return {};
}

Transfer Win32SerialPort::WriteDevice(const std::uint8_t* data, std::size_t size) {
    Transfer result;
    DWORD written = 0;
    if (!WriteFile(m_handle, data, static_cast<DWORD>(size), &written, nullptr)) {
        FailTransfer(result, "write", GetLastError());
    }
    result.count = written;
    return result;
}

Transfer Win32SerialPort::ReadDevice(std::uint8_t* data, std::size_t size) {
    Transfer result;
    // A driver fails a read once its device has gone; some port layers
    // instead let the read wait out its time-out and return nothing. Asking
    // for the port's status first tells a line that is already gone at once.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_handle, &errors, &status)) {
        result.error = PortError::Gone;
        return result;
    }
    DWORD got = 0;
    if (!ReadFile(m_handle, data, static_cast<DWORD>(size), &got, nullptr)) {
        FailTransfer(result, "read", GetLastError());
    } else if (got < size && !ClearCommError(m_handle, &errors, &status)) {
        // A short read is a time-out, unless the device went away meanwhile.
        result.error = PortError::Gone;
    }
    result.count = got;
    return result;
}

void Win32SerialPort::CloseDevice() {
    if (m_handle != INVALID_HANDLE_VALUE) {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    if (m_claim != nullptr) {
        CloseHandle(m_claim);
        m_claim = nullptr;
    }
}

}  // namespace quorim
