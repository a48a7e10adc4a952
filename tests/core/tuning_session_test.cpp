#include "tuning/tuning_session.h"

#include <gtest/gtest.h>

#include "image/tone_table.h"
#include "tests/core/link_fakes.h"

namespace quorim::test {
namespace {

TuningRequest WorkedExample() {
    TuningRequest r;
    r.portName = "COM2";
    r.rxFrequencyText = "435.12500";
    r.txFrequencyText = "435.12500";
    r.rxToneText = "88.5";
    r.txToneText = "OFF";
    r.item = 4;  // 静噪电平
    r.value = 160;
    return r;
}

struct TuningRig {
    TracingClock clock;
    FakeSerialPort port{clock};
    RecordingHost host;
    PortRadio radio;
    std::vector<std::string> trace;

    TuningRig() {
        radio.Attach(port);
        radio.ackGapMs = 3;
        port.trace = &trace;
        clock.trace = &trace;
    }
    TuningOutcome Run(const TuningRequest& r) { return RunTuningSession(r, port, clock, host); }
    int Openings() const { return static_cast<int>(std::count(trace.begin(), trace.end(), "w:50")); }
};

std::vector<std::string> AttemptTokens(const std::string& ident, const std::string& selector,
                                       const std::string& freq, const std::string& setting) {
    std::vector<std::string> t{"s700"};
    for (const char* b : {"02", "50", "52", "4F", "47", "52", "41"}) {
        t.insert(t.end(), {"purge", std::string("w:") + b, "s1"});
    }
    t.insert(t.end(), {"purge",
                       "r1:06",
                       "s1",
                       "purge",
                       "w:4D",
                       "s1",
                       "purge",
                       "w:02",
                       "r8:" + ident,
                       "s1",
                       "purge",
                       "w:06",
                       "r1:06",
                       "purge",
                       "s1",
                       "w:78",
                       "s1",
                       "purge",
                       "w:" + selector,
                       "s1",
                       "purge",
                       "w:" + selector + " 08",
                       "purge",
                       "r1:48",
                       "s1",
                       "purge",
                       "w:" + freq,
                       "purge",
                       "r1:48",
                       "s1",
                       "purge",
                       "w:" + setting,
                       "purge",
                       "r1:48"});
    return t;
}

TEST(TuningSession, WorkedExampleByteForByte) {
    TuningRig rig;
    ASSERT_EQ(rig.Run(WorkedExample()), TuningOutcome::Succeeded);
    std::vector<std::string> expected{"open", "purge"};
    const auto attempt =
        AttemptTokens("51 5A 30 31 37 56 31 30", "73", "00 25 51 43 00 25 51 43", "85 08 00 00 FB 01 01 A0");
    expected.insert(expected.end(), attempt.begin(), attempt.end());
    expected.push_back("close");
    EXPECT_EQ(rig.trace, expected);
    EXPECT_EQ(rig.port.openedName, "COM2");
    EXPECT_EQ(rig.port.timeouts.readIntervalMs, 10u);
    EXPECT_EQ(rig.port.timeouts.readTotalPerByteMs, 50u);
    EXPECT_EQ(rig.port.timeouts.readTotalConstantMs, 50u);
    EXPECT_EQ(rig.port.timeouts.writeTotalPerByteMs, 50u);
    EXPECT_EQ(rig.port.timeouts.writeTotalConstantMs, 50u);
    EXPECT_EQ(rig.port.line.baud, 9600);
    // The message comes after the port is closed.
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgTuningReceived});
    EXPECT_EQ(rig.host.buttons[0], MessageButtons::Ok);
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(TuningFrames, SelectorsValuesTonesAndFrequencies) {
    EXPECT_EQ(TuningSelector(2), 0x71);
    EXPECT_EQ(TuningSelector(3), 0x72);
    EXPECT_EQ(TuningSelector(4), 0x73);
    EXPECT_EQ(TuningSelector(5), 0x74);
    EXPECT_EQ(TuningSelector(1), 0);
    EXPECT_EQ(TuningSelector(6), 0);

    TuningRequest r = WorkedExample();
    for (const auto& [value, byte] : std::vector<std::pair<int, int>>{
             {0, 0x00}, {255, 0xFF}, {91, 0x5B}, {38, 0x26}, {160, 0xA0}, {47, 0x2F}}) {
        r.value = value;
        EXPECT_EQ(TuningSettingFrame(r)[7], byte) << value;
    }

    using Pair2 = std::array<std::uint8_t, 2>;
    EXPECT_EQ(ToneDigitPairs("88.5"), (Pair2{0x85, 0x08}));
    EXPECT_EQ(ToneDigitPairs("254.1"), (Pair2{0x41, 0x25}));
    EXPECT_EQ(ToneDigitPairs("67.0"), (Pair2{0x70, 0x06}));
    EXPECT_EQ(ToneDigitPairs("199.5"), (Pair2{0x95, 0x19}));
    EXPECT_EQ(ToneDigitPairs(""), (Pair2{0, 0}));
    // "OFF" and every DCS name carry no number.
    ToneTable tones;
    for (int i = 0; i < ToneTable::kCount; ++i) {
        const std::string name = tones.Name(i);
        if (name == "OFF" || name[0] == 'D') {
            EXPECT_EQ(ToneDigitPairs(name), (Pair2{0, 0})) << name;
        }
    }

    using Pair4 = std::array<std::uint8_t, 4>;
    EXPECT_EQ(FrequencyDigitPairs("435.12500"), (Pair4{0x00, 0x25, 0x51, 0x43}));
    EXPECT_EQ(FrequencyDigitPairs(""), (Pair4{0, 0, 0, 0}));
    // Read digit by digit: not one unit low through a binary double.
    EXPECT_EQ(FrequencyDigitPairs("64.00625"), (Pair4{0x25, 0x06, 0x40, 0x06}));
    EXPECT_EQ(FrequencyDigitPairs("999.99999"), (Pair4{0x99, 0x99, 0x99, 0x99}));
    EXPECT_EQ(FrequencyDigitPairs("136.000009"), (Pair4{0x00, 0x00, 0x60, 0x13}));  // cut, not rounded
}

TEST(TuningSession, OneStrayByteBeforeTheAckIsAcceptedTwoAreNot) {
    TuningRig one;
    one.radio.faults.strayBeforeAck = {0x55};
    EXPECT_EQ(one.Run(WorkedExample()), TuningOutcome::Succeeded);

    TuningRig two;
    two.radio.faults.strayBeforeAck = {0x55, 0x66};
    EXPECT_EQ(two.Run(WorkedExample()), TuningOutcome::Cancelled);
    EXPECT_EQ(two.host.messages, std::vector<std::string>{kMsgTuningRetry});
    EXPECT_EQ(two.host.buttons[0], MessageButtons::RetryCancel);
    EXPECT_FALSE(two.port.IsOpen());
}

TEST(TuningSession, RetryResendsTheWholeOpeningWhateverStepFailed) {
    for (int step = 1; step <= 3; ++step) {
        TuningRig rig;
        rig.radio.faults.badConfirmStep = step;
        rig.radio.faults.badConfirmTimes = 1;
        rig.host.answers = {MessageAnswer::Retry};
        EXPECT_EQ(rig.Run(WorkedExample()), TuningOutcome::Succeeded) << step;
        EXPECT_EQ(rig.Openings(), 2) << step;
        EXPECT_EQ(std::count(rig.trace.begin(), rig.trace.end(), "s700"), 2) << step;
        EXPECT_EQ(std::count(rig.trace.begin(), rig.trace.end(), "open"), 1) << step;
        EXPECT_EQ(rig.host.messages, (std::vector<std::string>{kMsgTuningRetry, kMsgTuningReceived})) << step;
        // The second attempt is a complete one, from the pause on.
        const auto first = std::find(rig.trace.begin(), rig.trace.end(), "s700");
        const auto second = std::find(first + 1, rig.trace.end(), "s700");
        const auto attempt = AttemptTokens("51 5A 30 31 37 56 31 30", "73", "00 25 51 43 00 25 51 43",
                                           "85 08 00 00 FB 01 01 A0");
        const std::vector<std::string> got(second, rig.trace.end() - 1);
        ASSERT_EQ(got.size(), attempt.size()) << step;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], attempt[i]) << "step " << step << ", token " << i;
        }
    }
}

TEST(TuningSession, SilentRadioCostsAboutASecondPerAttemptAndCancelClosesThePort) {
    TuningRig rig;
    rig.radio.faults.silentWakeUps = 1000;
    rig.host.answers = {MessageAnswer::Retry, MessageAnswer::Retry};
    EXPECT_EQ(rig.Run(WorkedExample()), TuningOutcome::Cancelled);
    EXPECT_EQ(rig.Openings(), 3);
    EXPECT_EQ(rig.host.messages.size(), 3u);
    // 700 + 7 + two one-byte reads of 100 ms each.
    EXPECT_NEAR(rig.clock.NowMs(), 3 * (700 + 7 + 200), 1e-6);
    EXPECT_EQ(rig.trace.back(), "close");
}

TEST(TuningSession, CancelDuringThePauseBeforeAnAttemptSendsNothing) {
    TuningRig rig;
    // Ctrl+C lands while the session waits its 700 ms.
    struct CancellingClock : VirtualClock {
        RecordingHost* host = nullptr;
        void SleepMs(int ms) override {
            VirtualClock::SleepMs(ms);
            host->cancel = host->cancel || ms == kTuningAttemptPauseMs;
        }
    } clock;
    clock.host = &rig.host;
    EXPECT_EQ(RunTuningSession(WorkedExample(), rig.port, clock, rig.host), TuningOutcome::Cancelled);
    EXPECT_TRUE(rig.port.Writes().empty());
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(TuningSession, IdentificationIsAcceptedShortButNotOnAFailedRead) {
    TuningRig shortIdent;
    shortIdent.radio.faults.identification = {1, 2};
    EXPECT_EQ(shortIdent.Run(WorkedExample()), TuningOutcome::Succeeded);

    TuningRig failing;
    failing.port.readFault = [](std::size_t n) -> std::optional<Transfer> {
        return n == 8 ? std::optional<Transfer>(Transfer{0, PortError::Gone}) : std::nullopt;
    };
    EXPECT_EQ(failing.Run(WorkedExample()), TuningOutcome::Cancelled);
    EXPECT_EQ(failing.host.messages, std::vector<std::string>{kMsgTuningRetry});
}

TEST(TuningSession, TwoRunsInARowEachOpenAfresh) {
    TuningRig rig;
    EXPECT_EQ(rig.Run(WorkedExample()), TuningOutcome::Succeeded);
    EXPECT_EQ(rig.Run(WorkedExample()), TuningOutcome::Succeeded);
    EXPECT_EQ(std::count(rig.trace.begin(), rig.trace.end(), "open"), 2);
    EXPECT_EQ(std::count(rig.trace.begin(), rig.trace.end(), "close"), 2);
    EXPECT_EQ(rig.Openings(), 2);
    ASSERT_EQ(rig.radio.tuningSets.size(), 2u);
    EXPECT_EQ(rig.radio.tuningSets[1], rig.radio.tuningSets[0]);
}

TEST(TuningSession, PortThatCannotBeOpenedAndRequestsThatCannotBeCoded) {
    TuningRig busy;
    busy.port.openResult = {PortError::Busy, {}};
    EXPECT_EQ(busy.Run(WorkedExample()), TuningOutcome::CannotOpen);
    EXPECT_EQ(busy.host.messages, std::vector<std::string>{kMsgTuningCannotOpen});
    EXPECT_TRUE(busy.port.Writes().empty());

    for (const char* text : {"1000.00000", "-1", "1e3"}) {
        TuningRig rig;
        TuningRequest r = WorkedExample();
        r.txFrequencyText = text;
        EXPECT_EQ(rig.Run(r), TuningOutcome::Refused) << text;
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_NE(rig.host.messages[0].find("发射频率"), std::string::npos) << rig.host.messages[0];
        EXPECT_NE(rig.host.messages[0].find(text), std::string::npos);
        EXPECT_EQ(rig.port.Count(FakeSerialPort::Call::Open), 0);
    }
    TuningRig rx;
    TuningRequest r = WorkedExample();
    r.rxFrequencyText = "1234";
    EXPECT_EQ(rx.Run(r), TuningOutcome::Refused);
    EXPECT_NE(rx.host.messages[0].find("接收频率"), std::string::npos);
    // 999.99999 and 0 are the ends of the range.
    r.rxFrequencyText = "999.99999";
    r.txFrequencyText = "";
    EXPECT_FALSE(CheckTuningRequest(r).has_value());
    r.value = 256;
    EXPECT_TRUE(CheckTuningRequest(r).has_value());
}

}  // namespace
}  // namespace quorim::test
