#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "link/clock.h"
#include "link/port_names.h"

namespace quorim {

namespace {

double MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

PortResult SystemError(const char* what, int err) {
    return {PortError::System, std::string(what) + ": " + std::strerror(err)};
}

// Device errors that mean the device is no longer there.
bool IsGoneErrno(int err) {
    return err == EIO || err == ENXIO || err == ENODEV || err == EBADF;
}

// Ends a read or write that the operating system failed: the device is gone,
// or the system's reason goes with the error.
void FailTransfer(Transfer& result, const char* what, int err) {
    if (IsGoneErrno(err)) {
        result.error = PortError::Gone;
        return;
    }
    result.error = PortError::System;
    result.detail = std::string(what) + ": " + std::strerror(err);
}

// What WaitFor reports when the link stop was raised during the wait.
constexpr int kStopped = 0x10000;

// Waits until fd is ready for `events`, the link stop is raised, or
// `timeoutMs` pass (negative: no limit). Returns the revents (kStopped for
// the stop), 0 on time-out, -1 with errno on failure. EINTR restarts the
// wait with what is left of it.
int WaitFor(int fd, short events, double timeoutMs) {
    const double deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        pollfd pfd[2] = {{fd, events, 0}, {LinkStopDescriptor(), POLLIN, 0}};
        timespec ts{};
        timespec* tsp = nullptr;
        if (timeoutMs >= 0) {
            const double left = std::max(0.0, deadline - MonotonicMs());
            ts.tv_sec = static_cast<time_t>(left / 1000.0);
            ts.tv_nsec = static_cast<long>(std::fmod(left, 1000.0) * 1e6);
            tsp = &ts;
        }
        const int rc = ppoll(pfd, pfd[1].fd >= 0 ? 2 : 1, tsp, nullptr);
        if (rc < 0 && errno == EINTR) {
            continue;
        }
        if (rc <= 0) {
            return rc;
        }
        if (pfd[1].revents != 0 && LinkStopRaised()) {
            return kStopped;
        }
        if (pfd[0].revents == 0) {
            continue;  // a stop already cleared: wait on
        }
        return pfd[0].revents;
    }
}

// What one read() or write() of a transfer did.
enum class LineCall { Moved, Interrupted, Idle, Failed };

// Takes `n`, what read() or write() returned (errno telling a failure), into
// `result`: Moved adds the bytes; Idle, the line had nothing to give or take
// (wait for it); Failed, told in `result`.
LineCall TakeCall(ssize_t n, const char* what, Transfer& result) {
    if (n > 0) {
        result.count += static_cast<std::size_t>(n);
        return LineCall::Moved;
    }
    if (n < 0 && errno == EINTR) {
        return LineCall::Interrupted;
    }
    if (n < 0 && errno != EAGAIN) {
        FailTransfer(result, what, errno);
        return LineCall::Failed;
    }
    return LineCall::Idle;
}

// A transfer's wait without a deadline.
constexpr double kNoDeadline = std::numeric_limits<double>::infinity();

// How a transfer's wait for the line ended.
enum class LineWait { Again, TimedOut, HungUp, Ended };

// One wait of a read or write for the line to be ready for `events`, until
// `deadline` (a MonotonicMs() time, or kNoDeadline). Again: look at the line
// again (it is ready, or the wait ran out and the next look ends it);
// TimedOut: the deadline had passed; HungUp: the line reported a hang-up or
// an error; Ended: the link stop was raised or poll() failed, told in
// `result`.
LineWait WaitForLine(int fd, short events, double deadline, Transfer& result) {
    double left = -1;
    if (deadline != kNoDeadline) {
        left = deadline - MonotonicMs();
        if (left <= 0) {
            return LineWait::TimedOut;
        }
    }
    const int revents = WaitFor(fd, events, left);
    if (revents < 0) {
        FailTransfer(result, "poll", errno);
        return LineWait::Ended;
    }
    if (revents == kStopped) {
        result.error = PortError::Stopped;
        return LineWait::Ended;
    }
    if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
        return LineWait::HungUp;
    }
    return LineWait::Again;
}

speed_t BaudConstant(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return 0;
    }
}

// The group that owns the device node, for the hint on how to get access.
std::string NodeGroup(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return {};
    }
    const group* g = getgrgid(st.st_gid);
    return g != nullptr ? std::string(g->gr_name) : std::to_string(st.st_gid);
}

void SetHolder(int pid, PortResult& result) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    if (std::getline(comm, result.holderName)) {
        result.holderPid = pid;
    }
}

// The process holding the device, as far as /proc lets us see: the one with
// a lock on the node (/proc/locks), else any other process with it open.
void FindHolder(const std::string& path, PortResult& result) {
    struct stat node {};
    if (stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) {
        return;
    }
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        char kind[16] = {};
        int pid = 0;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(line.c_str(), "%*s %15s %*s %*s %d %x:%x:%lu", kind, &pid, &major, &minor, &inode) ==
                5 &&
            std::strcmp(kind, "FLOCK") == 0 && inode == node.st_ino && major == ::major(node.st_dev) &&
            minor == ::minor(node.st_dev) && pid != getpid()) {
            SetHolder(pid, result);
            if (result.holderPid != 0) {
                return;
            }
        }
    }
    std::error_code ec;
    for (const auto& proc : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string pid = proc.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || std::stoi(pid) == getpid()) {
            continue;
        }
        std::error_code fdEc;
        for (const auto& fd : std::filesystem::directory_iterator(proc.path() / "fd", fdEc)) {
            struct stat st {};
            if (stat(fd.path().c_str(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == node.st_rdev) {
                SetHolder(std::stoi(pid), result);
                return;
            }
        }
    }
}

// What a node that is not a terminal is, for the refusal.
PortNodeKind NodeKind(mode_t mode) {
    if (S_ISREG(mode)) {
        return PortNodeKind::RegularFile;
    }
    if (S_ISDIR(mode)) {
        return PortNodeKind::Folder;
    }
    if (S_ISFIFO(mode)) {
        return PortNodeKind::Fifo;
    }
    if (S_ISSOCK(mode)) {
        return PortNodeKind::Socket;
    }
    return PortNodeKind::OtherDevice;
}

PortResult NotSerialResult(const std::string& path, PortNodeKind kind) {
    PortResult result{PortError::NotSerial, path};
    result.kind = kind;
    return result;
}

PortResult BusyResult(const std::string& path) {
    PortResult result{PortError::Busy, path};
    FindHolder(path, result);
    return result;
}

}  // namespace

std::FILE* OpenTraceFile(const std::string& path, std::string& why) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    struct stat st {};
    if (fd < 0) {
        why = std::strerror(errno);
    } else if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = "not a regular file";
    } else if (std::FILE* f = fdopen(fd, "a")) {
        return f;
    } else {
        why = std::strerror(errno);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return nullptr;
}

std::string TraceFileSetting() {
    const char* trace = std::getenv("QUORIM_TRACE");
    return trace != nullptr ? trace : "";
}

std::unique_ptr<SerialPort> NewSystemSerialPort() {
    return std::make_unique<PosixSerialPort>();
}

PosixSerialPort::~PosixSerialPort() {
    Close();
}

PortResult PosixSerialPort::OpenDevice(const std::string& name, std::string& devicePath) {
    devicePath = ResolvePortName(name);
    const std::string& path = devicePath;
    // Only a character device can be a serial port: anything else is told
    // for what it is before it is opened.
    if (struct stat st{}; stat(path.c_str(), &st) == 0 && !S_ISCHR(st.st_mode)) {
        return NotSerialResult(path, NodeKind(st.st_mode));
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        switch (err) {
            case ENOENT:
            case ENXIO:
            case ENODEV:
                return {PortError::NotFound, path};
            case EBUSY:
                return BusyResult(path);
            case EACCES:
            case EPERM: {
                PortResult result{PortError::NoAccess, path};
                result.group = NodeGroup(path);
                return result;
            }
            default:
                return SystemError(path.c_str(), err);
        }
    }
    // A terminal is what answers tcgetattr (isatty asks the same, but an
    // emulated adapter in a test bed answers isatty with no).
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode)) {
        ::close(fd);
        return NotSerialResult(path, NodeKind(opened.st_mode));
    }
    termios found{};
    if (tcgetattr(fd, &found) != 0) {
        ::close(fd);
        return NotSerialResult(path, PortNodeKind::OtherDevice);
    }
    // flock binds every opener, root included; TIOCEXCL keeps other
    // programs that do not use flock from opening the device.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? BusyResult(path) : SystemError("flock", err);
    }
    // A terminal without TIOCEXCL (an emulated adapter in a test bed) is
    // still held by the flock above.
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        const int err = errno;
        ::close(fd);
        return SystemError("TIOCEXCL", err);
    }
    // USB adapters hold small replies up to their latency timer (16 ms on
    // FTDI); ask for low latency and carry on if the driver refuses.
    serial_struct ss{};
    if (ioctl(fd, TIOCGSERIAL, &ss) == 0) {
        ss.flags |= ASYNC_LOW_LATENCY;
        (void)ioctl(fd, TIOCSSERIAL, &ss);
    }
    m_fd = fd;
    m_found = found;
    m_timeouts = {};
    return {};
}

PortResult PosixSerialPort::SetDeviceQueueSizes(std::size_t, std::size_t) {
    // The kernel's tty queues (4 KiB) are larger than any size the links ask
    // for and cannot be changed.
    return {};
}

PortResult PosixSerialPort::SetDeviceTimeouts(const CommTimeouts& timeouts) {
    m_timeouts = timeouts;
    return {};
}

PortResult PosixSerialPort::SetDeviceLine(const LineSettings& line) {
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) {
        const int err = errno;
        return IsGoneErrno(err) ? PortResult{PortError::Gone, {}} : SystemError("tcgetattr", err);
    }
    const speed_t speed = BaudConstant(line.baud);
    if (speed == 0 || line.dataBits < 5 || line.dataBits > 8 || line.stopBits < 1 || line.stopBits > 2) {
        return {PortError::Unsupported, {}};
    }
    // Raw binary transfer: no input or output processing, no echo, no
    // signals, no software flow control (it would swallow 0x11 and 0x13).
    // Hardware flow control and the modem lines stay as they were.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                          IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD;
    switch (line.dataBits) {
        case 5:
            tio.c_cflag |= CS5;
            break;
        case 6:
            tio.c_cflag |= CS6;
            break;
        case 7:
            tio.c_cflag |= CS7;
            break;
        default:
            tio.c_cflag |= CS8;
    }
    if (line.parity != Parity::None) {
        tio.c_cflag |= PARENB | (line.parity == Parity::Odd ? PARODD : 0);
    }
    if (line.stopBits == 2) {
        tio.c_cflag |= CSTOPB;
    }
    // Reads never block in the kernel: poll() does all the waiting.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        const int err = errno;
        return IsGoneErrno(err) ? PortResult{PortError::Gone, {}} : SystemError("tcsetattr", err);
    }
    return {};
}

PortResult PosixSerialPort::PurgeDevice() {
    // Drain first: a finished write() is not a transmitted byte. After the
    // drain there is no output left to discard, and discarding output on a
    // pseudo-terminal (whose drain returns at once) would throw away bytes the
    // other side has not read yet.
    if (tcdrain(m_fd) != 0 && errno != EINTR) {
        const int err = errno;
        return IsGoneErrno(err) ? PortResult{PortError::Gone, {}} : SystemError("tcdrain", err);
    }
    if (tcflush(m_fd, TCIFLUSH) != 0) {
        const int err = errno;
        return IsGoneErrno(err) ? PortResult{PortError::Gone, {}} : SystemError("tcflush", err);
    }
    return {};
}

Transfer PosixSerialPort::WriteDevice(const std::uint8_t* data, std::size_t size) {
    Transfer result;
    const double limit = static_cast<double>(m_timeouts.writeTotalPerByteMs) * static_cast<double>(size) +
                         m_timeouts.writeTotalConstantMs;
    const double deadline = limit > 0 ? MonotonicMs() + limit : kNoDeadline;
    while (result.count < size) {
        const LineCall call =
            TakeCall(::write(m_fd, data + result.count, size - result.count), "write", result);
        if (call == LineCall::Failed) {
            break;
        }
        if (call != LineCall::Idle) {
            continue;
        }
        const LineWait wait = WaitForLine(m_fd, POLLOUT, deadline, result);
        if (wait == LineWait::HungUp) {
            result.error = PortError::Gone;
        }
        if (wait != LineWait::Again) {
            break;
        }
    }
    return result;
}

Transfer PosixSerialPort::ReadDevice(std::uint8_t* data, std::size_t size) {
    Transfer result;
    const CommTimeouts& t = m_timeouts;
    const bool atOnce =
        t.readIntervalMs == kReadReturnAtOnce && t.readTotalPerByteMs == 0 && t.readTotalConstantMs == 0;
    const bool totalBounded = t.readTotalPerByteMs != 0 || t.readTotalConstantMs != 0;
    const bool intervalBounded = t.readIntervalMs != 0 && t.readIntervalMs != kReadReturnAtOnce;
    const double totalDeadline =
        totalBounded ? MonotonicMs() + static_cast<double>(t.readTotalPerByteMs) * static_cast<double>(size) +
                           t.readTotalConstantMs
                     : kNoDeadline;
    double lastByte = 0;
    // With VMIN = VTIME = 0 a read of an idle line returns 0 as well as
    // EAGAIN; a line that has hung up is told by poll() reporting POLLHUP or
    // POLLERR while read() still gives nothing.
    bool hungUp = false;
    while (result.count < size) {
        const LineCall call =
            TakeCall(::read(m_fd, data + result.count, size - result.count), "read", result);
        if (call == LineCall::Moved) {
            lastByte = MonotonicMs();
        }
        if (call == LineCall::Failed) {
            break;
        }
        if (call != LineCall::Idle) {
            continue;
        }
        if (hungUp) {
            result.error = PortError::Gone;
            break;
        }
        if (atOnce) {
            break;
        }
        double deadline = totalDeadline;
        if (intervalBounded && result.count > 0) {
            deadline = std::min(deadline, lastByte + t.readIntervalMs);
        }
        const LineWait wait = WaitForLine(m_fd, POLLIN, deadline, result);
        if (wait == LineWait::HungUp) {
            // Take what is still buffered; the next empty read ends it.
            hungUp = true;
        } else if (wait != LineWait::Again) {
            break;
        }
    }
    return result;
}

void PosixSerialPort::CloseDevice() {
    if (m_fd >= 0) {
        // The settings back as they were found, once what was written has
        // left. HUPCL stays off: dropping the modem lines at each close would
        // power down a cable fed by them between two looks for a radio.
        termios found = m_found;
        found.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
        (void)tcsetattr(m_fd, TCSADRAIN, &found);
        (void)ioctl(m_fd, TIOCNXCL);
        (void)flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

}  // namespace quorim
