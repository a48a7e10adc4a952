#pragma once

// One suite for every serial port: each real port against the far end of a
// line it can reach (a pseudo-terminal, a COM port), and the fake the engine
// tests use, so the fake keeps the real ports' rules. Each port's test file
// instantiates the suite with its harness:
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, SerialPortSuite, Harness, HarnessNames);
//
// A harness offers kRealTime, NewPort(), Device(), Now(), PeerSend(bytes,
// delayMs, gapMs), PeerReceived() and Join().
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "link/clock.h"
#include "link/serial_port.h"
#include "tests/core/fake_serial_port.h"

namespace quorim::test {

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

TYPED_TEST_SUITE_P(SerialPortSuite);

TYPED_TEST_P(SerialPortSuite, OpenIsExclusiveUntilClosed) {
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

TYPED_TEST_P(SerialPortSuite, ReadReturnsAsSoonAsAllBytesArrived) {
    auto port = this->OpenPort({30, 500, 90, 50, 50});
    this->h.PeerSend({1, 2, 3, 4, 5, 6, 7, 8});
    Bytes in(8);
    const auto [t, ms] = this->TimedRead(*port, in);
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 8u);
    EXPECT_EQ(in, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_LE(ms, this->Slack());
}

TYPED_TEST_P(SerialPortSuite, TotalTimeOutIsPerByteTimesCountPlusConstant) {
    auto port = this->OpenPort({30, 40, 30, 50, 50});
    Bytes in(2);
    const auto [t, ms] = this->TimedRead(*port, in);
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 0u);
    EXPECT_GE(ms, 110 - 0.5);
    EXPECT_LE(ms, 110 + this->Slack());
}

TYPED_TEST_P(SerialPortSuite, IntervalTimeOutEndsAReadAfterTheLastByte) {
    auto port = this->OpenPort({30, 500, 90, 50, 50});
    // Three bytes 5 ms apart, the first after 20 ms: the read ends 30 ms
    // after the third, long before its 5090 ms total. (The gaps stay well
    // inside the interval, so a sender slowed by a loaded machine does not
    // end the read early.)
    this->h.PeerSend({7, 8, 9}, 20, 5);
    Bytes in(10);
    const auto [t, ms] = this->TimedRead(*port, in);
    this->h.Join();
    EXPECT_TRUE(t.Ok());
    EXPECT_EQ(t.count, 3u);
    EXPECT_EQ(Bytes(in.begin(), in.begin() + 3), (Bytes{7, 8, 9}));
    EXPECT_GE(ms, 20 + 10 + 30 - 0.5);
    EXPECT_LE(ms, 60 + this->Slack());
}

TYPED_TEST_P(SerialPortSuite, IntervalDoesNotStartBeforeTheFirstByte) {
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

TYPED_TEST_P(SerialPortSuite, ReturnAtOnceTakesOnlyWhatIsThere) {
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

TYPED_TEST_P(SerialPortSuite, PurgeKeepsWhatWasWrittenAndDropsWhatWasReceived) {
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

REGISTER_TYPED_TEST_SUITE_P(SerialPortSuite, OpenIsExclusiveUntilClosed, ReadReturnsAsSoonAsAllBytesArrived,
                            TotalTimeOutIsPerByteTimesCountPlusConstant,
                            IntervalTimeOutEndsAReadAfterTheLastByte, IntervalDoesNotStartBeforeTheFirstByte,
                            ReturnAtOnceTakesOnlyWhatIsThere,
                            PurgeKeepsWhatWasWrittenAndDropsWhatWasReceived);

class HarnessNames {
public:
    template <typename T>
    static std::string GetName(int) {
        return T::kName;
    }
};

}  // namespace quorim::test
