// One suite for every serial port: the POSIX port over a pseudo-terminal and
// the fake the engine tests use, so the fake keeps the real port's rules.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

#include "link/posix_serial_port.h"
#include "tests/core/fake_serial_port.h"

namespace quorim::test {
namespace {

// The far end of a pseudo-terminal, and a real clock.
class PtyHarness {
public:
    static constexpr bool kRealTime = true;
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

// The fake: the far side schedules bytes on the virtual time line.
class FakeHarness {
public:
    static constexpr bool kRealTime = false;
    std::unique_ptr<SerialPort> NewPort() {
        auto port = std::make_unique<FakeSerialPort>(m_clock);
        port->onWrite = [this](const Bytes& b) { m_received.insert(m_received.end(), b.begin(), b.end()); };
        m_last = port.get();
        return port;
    }
    std::string Device() const { return "/dev/fake0"; }
    double Now() const { return m_clock.NowMs(); }
    void PeerSend(const Bytes& bytes, double delayMs = 0, double gapMs = 0) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            m_last->Arrive({bytes[i]}, delayMs + gapMs * static_cast<double>(i));
        }
    }
    Bytes PeerReceived() {
        Bytes out;
        out.swap(m_received);
        return out;
    }
    void Join() {}

private:
    VirtualClock m_clock;
    FakeSerialPort* m_last = nullptr;
    Bytes m_received;
};

template <typename Harness>
class SerialPortSuite : public ::testing::Test {
protected:
    // Time-outs are exact on the fake; a loaded machine may add a few ms.
    double Slack() const { return Harness::kRealTime ? 40 : 0; }
    std::unique_ptr<SerialPort> OpenPort(const CommTimeouts& t) {
        auto port = h.NewPort();
        EXPECT_TRUE(port->Open(h.Device()).Ok());
        EXPECT_TRUE(port->SetQueueSizes(1024, 512).Ok());
        EXPECT_TRUE(port->SetLine(LineSettings{}).Ok());
        EXPECT_TRUE(port->SetTimeouts(t).Ok());
        return port;
    }
    // Reads and reports (count, elapsed ms).
    std::pair<Transfer, double> TimedRead(SerialPort& port, Bytes& into) {
        const double start = h.Now();
        const Transfer t = port.Read(into.data(), into.size());
        return {t, h.Now() - start};
    }

    Harness h;
};

using Harnesses = ::testing::Types<PtyHarness, FakeHarness>;
class HarnessNames {
public:
    template <typename T>
    static std::string GetName(int) {
        return T::kRealTime ? "Pty" : "Fake";
    }
};
TYPED_TEST_SUITE(SerialPortSuite, Harnesses, HarnessNames);

TYPED_TEST(SerialPortSuite, OpenIsExclusiveUntilClosed) {
    auto first = this->h.NewPort();
    ASSERT_TRUE(first->Open(this->h.Device()).Ok());
    auto second = this->h.NewPort();
    EXPECT_EQ(second->Open(this->h.Device()).error, PortError::Busy);
    EXPECT_FALSE(second->IsOpen());
    first->Close();
    EXPECT_FALSE(first->IsOpen());
    EXPECT_TRUE(second->Open(this->h.Device()).Ok());
    second->Close();
    second->Close();  // closing twice is harmless
    Bytes b(1);
    EXPECT_EQ(second->Read(b.data(), 1).error, PortError::NotOpen);
}

TYPED_TEST(SerialPortSuite, ReadReturnsAsSoonAsAllBytesArrived) {
    auto port = this->OpenPort({30, 500, 90, 50, 50});
    this->h.PeerSend({1, 2, 3, 4, 5, 6, 7, 8});
    Bytes in(8);
    const auto [t, ms] = this->TimedRead(*port, in);
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 8u);
    EXPECT_EQ(in, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_LE(ms, this->Slack());
}

TYPED_TEST(SerialPortSuite, TotalTimeOutIsPerByteTimesCountPlusConstant) {
    auto port = this->OpenPort({30, 40, 30, 50, 50});
    Bytes in(2);
    const auto [t, ms] = this->TimedRead(*port, in);
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 0u);
    EXPECT_GE(ms, 110 - 0.5);
    EXPECT_LE(ms, 110 + this->Slack());
}

TYPED_TEST(SerialPortSuite, IntervalTimeOutEndsAReadAfterTheLastByte) {
    auto port = this->OpenPort({30, 500, 90, 50, 50});
    // Three bytes 10 ms apart, the first after 20 ms: the read ends 30 ms
    // after the third, long before its 5090 ms total.
    this->h.PeerSend({7, 8, 9}, 20, 10);
    Bytes in(10);
    const auto [t, ms] = this->TimedRead(*port, in);
    this->h.Join();
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 3u);
    EXPECT_EQ(Bytes(in.begin(), in.begin() + 3), (Bytes{7, 8, 9}));
    EXPECT_GE(ms, 20 + 20 + 30 - 0.5);
    EXPECT_LE(ms, 70 + this->Slack());
}

TYPED_TEST(SerialPortSuite, IntervalDoesNotStartBeforeTheFirstByte) {
    auto port = this->OpenPort({30, 0, 200, 50, 50});
    this->h.PeerSend({5}, 80);  // later than the interval, within the total
    Bytes in(1);
    const auto [t, ms] = this->TimedRead(*port, in);
    this->h.Join();
    EXPECT_EQ(t.count, 1u);
    EXPECT_EQ(in[0], 5);
    EXPECT_GE(ms, 80 - 0.5);
    EXPECT_LE(ms, 80 + this->Slack());
}

TYPED_TEST(SerialPortSuite, ReturnAtOnceTakesOnlyWhatIsThere) {
    auto port = this->OpenPort({kReadReturnAtOnce, 0, 0, 0, 0});
    Bytes in(4);
    auto [t, ms] = this->TimedRead(*port, in);
    EXPECT_EQ(t.count, 0u);
    EXPECT_LE(ms, this->Slack());
    this->h.PeerSend({1, 2});
    if (TypeParam::kRealTime) {
        RealClock().SleepMs(5);
    }
    std::tie(t, ms) = this->TimedRead(*port, in);
    EXPECT_EQ(t.count, 2u);
}

TYPED_TEST(SerialPortSuite, PurgeKeepsWhatWasWrittenAndDropsWhatWasReceived) {
    auto port = this->OpenPort({30, 50, 50, 50, 50});
    this->h.PeerSend({0xAA, 0xBB});
    if (TypeParam::kRealTime) {
        RealClock().SleepMs(5);
    }
    const Bytes frame{0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    const Transfer w = port->Write(frame.data(), frame.size());
    EXPECT_TRUE(w.Ok());
    EXPECT_EQ(w.count, frame.size());
    EXPECT_TRUE(port->Purge().Ok());
    // The frame written before the purge reaches the other side whole...
    EXPECT_EQ(this->h.PeerReceived(), frame);
    // ...and what had arrived before it is gone.
    Bytes in(1);
    EXPECT_EQ(port->Read(in.data(), 1).count, 0u);
    this->h.PeerSend({0x06});
    EXPECT_EQ(port->Read(in.data(), 1).count, 1u);
    EXPECT_EQ(in[0], 0x06);
}

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
