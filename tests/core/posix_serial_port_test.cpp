// The POSIX serial port over a pseudo-terminal: the serial-port suite, and
// what only a real port can do.
#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

#include "tests/core/serial_port_suite.h"

namespace quorim::test {
namespace {

// The far end of a pseudo-terminal, and a real clock.
class PtyHarness {
public:
    static constexpr bool kRealTime = true;
    static constexpr const char* kName = "Pty";
    PtyHarness() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(m_master);
        unlockpt(m_master);
        m_device = ptsname(m_master);
    }
    ~PtyHarness() {
        Join();
        if (m_master >= 0) {
            close(m_master);
        }
    }
    std::unique_ptr<SerialPort> NewPort() { return std::make_unique<PosixSerialPort>(); }
    const std::string& Device() const { return m_device; }
    double Now() const { return m_clock.NowMs(); }
    // Sends the bytes one by one, the first after `delayMs`, then every `gapMs`.
    void PeerSend(const Bytes& bytes, double delayMs = 0, double gapMs = 0) {
        Join();
        m_sender = std::thread([this, bytes, delayMs, gapMs] {
            RealClock clock;
            clock.SleepMs(static_cast<int>(delayMs));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (i > 0 && gapMs > 0) {
                    clock.SleepMs(static_cast<int>(gapMs));
                }
                (void)write(m_master, &bytes[i], 1);
            }
        });
        if (delayMs == 0 && gapMs == 0) {
            Join();
        }
    }
    Bytes PeerReceived() {
        Bytes out;
        pollfd pfd{m_master, POLLIN, 0};
        while (poll(&pfd, 1, 20) > 0 && (pfd.revents & POLLIN)) {
            std::uint8_t buf[256];
            const ssize_t n = read(m_master, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            out.insert(out.end(), buf, buf + n);
        }
        return out;
    }
    void HangUp() {
        Join();
        close(m_master);
        m_master = -1;
    }
    void Join() {
        if (m_sender.joinable()) {
            m_sender.join();
        }
    }

private:
    int m_master = -1;
    std::string m_device;
    std::thread m_sender;
    RealClock m_clock;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, SerialPortSuite, PtyHarness, HarnessNames);

namespace {

// Only the real port can lose its device.
TEST(PosixSerialPort, VanishedDeviceEndsAReadAtOnce) {
    PtyHarness h;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(h.Device()).Ok());
    ASSERT_TRUE(port.SetLine({}).Ok());
    ASSERT_TRUE(port.SetTimeouts({30, 500, 90, 50, 50}).Ok());
    h.PeerSend({1, 2});
    RealClock().SleepMs(5);
    h.HangUp();
    Bytes in(12);
    const double start = h.Now();
    const Transfer t = port.Read(in.data(), in.size());
    EXPECT_EQ(t.error, PortError::Gone);
    EXPECT_LT(h.Now() - start, 50);
}

// A failure the system reports keeps its reason: here a buffer the process
// may not touch (the kernel answers EFAULT; no byte moves).
TEST(PosixSerialPort, SystemFailureOfReadAndWriteKeepsItsReason) {
    PtyHarness h;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(h.Device()).Ok());
    ASSERT_TRUE(port.SetLine({}).Ok());
    ASSERT_TRUE(port.SetTimeouts({30, 50, 50, 50, 50}).Ok());
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    auto* forbidden = static_cast<std::uint8_t*>(page);
    h.PeerSend({1, 2, 3});
    const struct {
        const char* what;
        Transfer t;
    } cases[] = {{"write", port.Write(forbidden, 4)}, {"read", port.Read(forbidden, 3)}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.t.error, PortError::System) << c.what;
        EXPECT_EQ(c.t.count, 0u) << c.what;
        EXPECT_EQ(c.t.detail, std::string(c.what) + ": " + std::strerror(EFAULT));
    }
    munmap(page, 4096);
}

TEST(PosixSerialPort, OnlyExistingTerminalDevicesOpen) {
    PosixSerialPort port;
    EXPECT_EQ(port.Open("/dev/quorim-no-such-device").error, PortError::NotFound);
    EXPECT_EQ(port.Open("/dev/null").error, PortError::NotSerial);
    EXPECT_FALSE(port.IsOpen());
}

// A terminal lent as a port gets its own settings back when it is let go
// (HUPCL stays off, so a cable fed by the modem lines keeps its power).
TEST(PosixSerialPort, TerminalGetsItsSettingsBackOnClose) {
    PtyHarness h;
    const int other = open(h.Device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    termios before{};
    ASSERT_EQ(tcgetattr(other, &before), 0);
    before.c_lflag |= ICANON | ECHO;
    before.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    cfsetspeed(&before, B2400);
    ASSERT_EQ(tcsetattr(other, TCSANOW, &before), 0);
    {
        PosixSerialPort port;
        ASSERT_TRUE(port.Open(h.Device()).Ok());
        ASSERT_TRUE(port.SetLine({}).Ok());
        termios raw{};
        ASSERT_EQ(tcgetattr(other, &raw), 0);
        EXPECT_EQ(raw.c_lflag & (ICANON | ECHO), 0u);
    }
    termios after{};
    ASSERT_EQ(tcgetattr(other, &after), 0);
    close(other);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B2400));
}

// The link stop (Ctrl+C) ends a read waiting for a silent radio, on any
// thread, and a long pause; without it both keep their length.
TEST(PosixSerialPort, LinkStopEndsAWaitingReadAndALongPause) {
    PtyHarness h;
    PosixSerialPort port;
    ASSERT_TRUE(port.Open(h.Device()).Ok());
    ASSERT_TRUE(port.SetLine({}).Ok());
    ASSERT_TRUE(port.SetTimeouts({30, 500, 90, 50, 50}).Ok());
    RealClock clock;
    Bytes in(1);
    double start = h.Now();
    EXPECT_EQ(port.Read(in.data(), 1).count, 0u);
    EXPECT_GE(h.Now() - start, 589);
    start = h.Now();
    clock.SleepMs(100);
    EXPECT_GE(h.Now() - start, 100);

    std::thread raiser([] {
        RealClock().SleepMs(50);
        RaiseLinkStop();
    });
    start = h.Now();
    EXPECT_EQ(port.Read(in.data(), 1).error, PortError::Stopped);
    EXPECT_LT(h.Now() - start, 150);
    raiser.join();
    start = h.Now();
    clock.SleepMs(700);
    EXPECT_LT(h.Now() - start, 20);
    ClearLinkStop();
    EXPECT_FALSE(LinkStopRaised());
    h.PeerSend({0x06});
    EXPECT_TRUE(port.Read(in.data(), 1).Ok());
}

TEST(PosixSerialPort, TraceRecordsEveryByte) {
    char name[] = "/tmp/quorim-trace-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    setenv("QUORIM_TRACE", name, 1);
    {
        PtyHarness h;
        PosixSerialPort port;
        ASSERT_TRUE(port.Open(h.Device()).Ok());
        ASSERT_TRUE(port.SetLine({}).Ok());
        ASSERT_TRUE(port.SetTimeouts({30, 50, 50, 50, 50}).Ok());
        const Bytes out{0x52, 0x00, 0x08};
        port.Write(out.data(), out.size());
        h.PeerSend({0x06});
        Bytes in(1);
        port.Read(in.data(), 1);
    }
    unsetenv("QUORIM_TRACE");
    std::ifstream trace(name);
    const std::string text((std::istreambuf_iterator<char>(trace)), std::istreambuf_iterator<char>());
    unlink(name);
    EXPECT_NE(text.find("tx 52 00 08"), std::string::npos) << text;
    EXPECT_NE(text.find("rx 06"), std::string::npos) << text;
}

}  // namespace
}  // namespace quorim::test
