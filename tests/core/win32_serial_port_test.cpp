// The Win32 serial port: the serial-port suite on a COM port whose far end is
// a second COM port (scripts/windows.sh joins two pseudo-terminals and maps
// them to COM5 and COM6 under Wine; QUORIM_TEST_PORT and QUORIM_TEST_PEER_PORT
// name others), and what only this port does.
#include "link/win32_serial_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "tests/core/serial_port_suite.h"

namespace quorim::test {
namespace {

std::string PortFromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

class ComHarness {
public:
    static constexpr bool kRealTime = true;
    static constexpr const char* kName = "Com";
    ComHarness() {
        EXPECT_TRUE(m_peer.Open(PortFromEnvironment("QUORIM_TEST_PEER_PORT", "COM6")).Ok());
        EXPECT_TRUE(m_peer.SetLine({}).Ok());
        EXPECT_TRUE(m_peer.SetTimeouts({20, 0, 20, 0, 0}).Ok());
        PeerReceived();  // whatever an earlier test left on the line
    }
    ~ComHarness() { Join(); }
    std::unique_ptr<SerialPort> NewPort() { return std::make_unique<Win32SerialPort>(); }
    std::string Device() const { return PortFromEnvironment("QUORIM_TEST_PORT", "COM5"); }
    double Now() const { return m_clock.NowMs(); }
    void PeerSend(const Bytes& bytes, double delayMs = 0, double gapMs = 0) {
        Join();
        m_sender = std::thread([this, bytes, delayMs, gapMs] {
            RealClock clock;
            clock.SleepMs(static_cast<int>(delayMs));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (i > 0 && gapMs > 0) {
                    clock.SleepMs(static_cast<int>(gapMs));
                }
                (void)m_peer.Write(&bytes[i], 1);
            }
        });
        if (delayMs == 0 && gapMs == 0) {
            Join();
        }
    }
    // What reached the far end, until the line has been quiet for 20 ms.
    Bytes PeerReceived() {
        Bytes out;
        std::uint8_t buf[256];
        for (Transfer t = m_peer.Read(buf, sizeof buf); t.count > 0; t = m_peer.Read(buf, sizeof buf)) {
            out.insert(out.end(), buf, buf + t.count);
        }
        return out;
    }
    void Join() {
        if (m_sender.joinable()) {
            m_sender.join();
        }
    }

private:
    Win32SerialPort m_peer;
    std::thread m_sender;
    RealClock m_clock;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SerialPortSuite, ComHarness, HarnessNames);

namespace {

TEST(Win32SerialPort, EveryComNumberNamesItsDevice) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "\\\\.\\COM1"},
        {"com256", "\\\\.\\COM256"},
        {"Com10", "\\\\.\\COM10"},
        {"COM257", "COM257"},
        {"COM0", "COM0"},
        {"COM07", "COM07"},
        {"COM", "COM"},
        {"COM1x", "COM1x"},
        {"\\\\.\\CNCA0", "\\\\.\\CNCA0"},
    };
    for (const auto& [name, path] : cases) {
        EXPECT_EQ(Win32PortPath(name), path) << name;
    }
}

TEST(Win32SerialPort, OnlyExistingSerialDevicesOpen) {
    Win32SerialPort port;
    EXPECT_EQ(port.Open("COM199").error, PortError::NotFound);
    EXPECT_EQ(port.Open("NUL").error, PortError::NotSerial);
    EXPECT_FALSE(port.IsOpen());
    // A refused open leaves the name free for the next opener.
    EXPECT_EQ(port.Open("NUL").error, PortError::NotSerial);
}

TEST(Win32Clock, PausesLastWhatTheyAskAndLittleMore) {
    RealClock clock;
    for (const int ms : {1, 2}) {
        std::vector<double> took;
        for (int i = 0; i < 21; ++i) {
            const double start = clock.NowMs();
            clock.SleepMs(ms);
            took.push_back(clock.NowMs() - start);
        }
        std::sort(took.begin(), took.end());
        EXPECT_GE(took.front(), ms - 0.01);
        // Not the 15.6 ms scheduler tick (a loaded machine, and Wine's own
        // server under it, may stretch a few).
        EXPECT_LT(took[took.size() / 2], ms + 8.0) << ms;
    }
}

}  // namespace
}  // namespace quorim::test
