// The serial-port suite (serial_port_suite.h) on the fake.
#include <gtest/gtest.h>

#include "tests/core/fake_serial_port.h"
#include "tests/core/serial_port_suite.h"

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

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SerialPortSuite, FakeHarness, HarnessNames);

}  // namespace quorim::test
