// The serial-port suite (serial_port_suite.h) on the fake.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/core/fake_serial_port.h"
#include "tests/core/serial_port_suite.h"
#include "tests/core/test_util.h"

namespace quorim::test {

namespace {

// The fake: the far side schedules bytes on the virtual time line.
class FakeHarness {
public:
    static constexpr bool kRealTime = false;
    static constexpr const char* kName = "Fake";
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

void SetTraceFile(const std::string& path) {
#ifdef _WIN32
    _putenv_s("QUORIM_TRACE", path.c_str());
#else
    setenv("QUORIM_TRACE", path.c_str(), 1);
#endif
}

// The trace is kept above the platform's calls, so every port keeps the same
// one: the open at 0, each byte, the purge, a failed read and the close, in
// order; a call on a closed port reaches neither the device nor the trace.
TEST(SerialPortTrace, EveryPortKeepsTheSameLines) {
    TempDir dir;
    SetTraceFile(dir.File("trace.txt"));
    VirtualClock clock;
    {
        FakeSerialPort port(clock);
        int reads = 0;
        port.readFault = [&](std::size_t) -> std::optional<Transfer> {
            return ++reads == 2 ? std::optional<Transfer>(Transfer{0, PortError::Gone}) : std::nullopt;
        };
        ASSERT_TRUE(port.Open("/dev/fake1").Ok());
        port.SetTimeouts({kReadReturnAtOnce, 0, 0, 0, 0});
        const Bytes out{0x52, 0x00, 0x08};
        port.Write(out.data(), out.size());
        port.Purge();
        port.Arrive({0x06});
        Bytes in(2);
        port.Read(in.data(), in.size());
        port.Read(in.data(), in.size());
        port.Close();
        EXPECT_EQ(port.Write(out.data(), out.size()).error, PortError::NotOpen);
        EXPECT_EQ(port.Purge().error, PortError::NotOpen);
        EXPECT_EQ(port.Count(FakeSerialPort::Call::Write), 1);
    }
    SetTraceFile("");
    std::ifstream trace(dir.File("trace.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);) {
        ASSERT_GT(line.size(), 11u) << line;
        lines.push_back(line.substr(11));  // after the time, "%10.3f "
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"open /dev/fake1", "tx 52 00 08", "purge", "rx 06",
                                               "error the device has gone away", "close"}));
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SerialPortSuite, FakeHarness, HarnessNames);

}  // namespace quorim::test
