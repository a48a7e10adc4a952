#include "link/clone_engine.h"

#include <gtest/gtest.h>

#include "tests/core/link_fakes.h"

namespace quorim::test {
namespace {

using Call = FakeSerialPort::Call;

MemoryImage RadioMemory(std::uint8_t modelCode) {
    MemoryImage m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    m[kModelCodeOffset] = modelCode;
    return m;
}

struct CloneRig {
    TracingClock clock;
    FakeSerialPort port{clock};
    RecordingHost host;
    ScriptedRadio radio;
    DocumentData doc;
    std::vector<std::string> trace;

    CloneRig() {
        radio.Attach(port);
        doc.OnNewDocument();
        radio.memory = RadioMemory(kModelCode16);
    }
    void Trace() {
        port.trace = &trace;
        clock.trace = &trace;
    }
    TransferResult result;

    // Every ending with a reason to tell was told in exactly that message.
    TransferReason Run() {
        result = RunRadioTransfer("COM1", doc, port, clock, host);
        const std::string told = TransferMessage(result, host.Texts());
        if (result.Ok() || result.reason == TransferReason::Cancelled) {
            EXPECT_EQ(told, "");
        } else {
            EXPECT_FALSE(host.messages.empty() || told.empty());
            EXPECT_EQ(host.messages.empty() ? "" : host.messages.back(), told);
        }
        return result.reason;
    }
    std::vector<Bytes> Requests(std::uint8_t kind) const {
        std::vector<Bytes> out;
        for (const auto& w : port.Writes()) {
            if (w.size() == 4 && w[0] == kind && w[3] == 0x08) {
                out.push_back(w);
            }
        }
        return out;
    }
    int WakeUps() const {
        int n = 0;
        for (const auto& w : port.Writes()) {
            n += w == Bytes{'P'};
        }
        return n;
    }
};

// The exchange up to the first read request, token by token.
std::vector<std::string> HandshakeTokens(bool sixteen, const std::string& ident) {
    std::vector<std::string> t{"open"};
    for (int i = 0; i < 7; ++i) {
        t.push_back("s1");
    }
    t.push_back("purge");
    const char* wake[] = {"02", "50", "52", "4F", "47", "52", "41", "4D"};
    for (int i = 0; i < (sixteen ? 8 : 7); ++i) {
        t.insert(t.end(), {"s1", "purge", std::string("w:") + wake[i]});
    }
    t.push_back("r1:06");
    t.insert(t.end(), {"s1", "purge"});
    if (sixteen) {
        t.insert(t.end(), {"w:02", "s1"});
    } else {
        t.insert(t.end(), {"w:4D", "s1", "purge", "w:02"});
    }
    t.insert(t.end(), {"r8:" + ident, "purge", "w:06", "r1:06", "purge", "w:52 00 00 08"});
    return t;
}

TEST(CloneHandshake, SixteenChannelVariantSendsTheWholeWakeUpThenTheStartByte) {
    CloneRig rig;
    rig.Trace();
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    const auto expected = HandshakeTokens(true, "51 5A 52 2D 37 31 30 30");
    ASSERT_GE(rig.trace.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rig.trace.begin(), rig.trace.begin() + expected.size()), expected);
    EXPECT_EQ(rig.port.openedName, "COM1");
    EXPECT_EQ(rig.port.line.baud, 9600);
    EXPECT_EQ(rig.port.timeouts.readIntervalMs, 30u);
    EXPECT_EQ(rig.port.timeouts.readTotalPerByteMs, 500u);
    EXPECT_EQ(rig.port.timeouts.readTotalConstantMs, 90u);
    EXPECT_EQ(rig.port.timeouts.writeTotalPerByteMs, 50u);
    EXPECT_EQ(rig.port.timeouts.writeTotalConstantMs, 50u);
    EXPECT_EQ(rig.host.statuses.at(0), kStatusDetecting);
    EXPECT_EQ(rig.host.statuses.at(1), kStatusWaiting);
}

TEST(CloneHandshake, NinetyNineVariantHoldsBackTheMUntilTheRadioAnswered) {
    CloneRig rig;
    rig.Trace();
    rig.doc.m_bSixteenChannel = false;
    rig.radio.ident = {1, 2, 3, 4, '8', 6, 7, 8};
    rig.radio.memory = RadioMemory(kModelCode199);
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    const auto expected = HandshakeTokens(false, "01 02 03 04 38 06 07 08");
    EXPECT_EQ(std::vector<std::string>(rig.trace.begin(), rig.trace.begin() + expected.size()), expected);
}

TEST(CloneHandshake, OneStrayByteBeforeTheAckIsAcceptedTwoAreNot) {
    CloneRig one;
    one.radio.strayBeforeAck = {0x55};
    EXPECT_EQ(one.Run(), TransferReason::Ok);
    EXPECT_EQ(one.WakeUps(), 1);

    CloneRig two;
    two.radio.strayBeforeAck = {0x55, 0x66};
    EXPECT_EQ(two.Run(), TransferReason::NoAnswer);
    EXPECT_EQ(two.WakeUps(), kHandshakeAttempts);
}

TEST(CloneHandshake, SilentRadioGetsFifteenAttemptsPerPromptAndRetryStartsFifteenMore) {
    CloneRig rig;
    rig.radio.ignoreWakeUps = 1000;
    rig.host.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};
    const MemoryImage before = rig.doc.m_image;
    EXPECT_EQ(rig.Run(), TransferReason::NoAnswer);
    EXPECT_EQ(rig.WakeUps(), 2 * kHandshakeAttempts);
    EXPECT_EQ(rig.host.messages, (std::vector<std::string>{kMsgCommunicationError, kMsgCommunicationError}));
    EXPECT_EQ(rig.host.buttons[0], MessageButtons::RetryCancel);
    // Each attempt: two one-byte reads that time out (590 ms each), then 2 ms.
    EXPECT_EQ(std::count(rig.clock.Sleeps().begin(), rig.clock.Sleeps().end(), 2), 30);
    EXPECT_EQ(rig.port.Count(Call::Read), 60);
    EXPECT_NEAR(rig.clock.NowMs(), 30 * (2 * 590 + 7 + 8 + 2), 1e-6);
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_EQ(rig.host.closeProgress, 1);
    EXPECT_EQ(rig.doc.m_image, before);
}

// A prompt answered Cancel after the user asked to cancel is a cancel, not a
// radio that did not answer.
TEST(CloneHandshake, CancelAskedForBeforeThePromptsCancelIsACancel) {
    CloneRig rig;
    rig.radio.ignoreWakeUps = 1000;
    rig.host.cancelAtCheck = kHandshakeAttempts * kWakeUpCancelChecks + 1;  // the prompt's own look
    EXPECT_EQ(rig.Run(), TransferReason::Cancelled);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgCommunicationError});
    EXPECT_FALSE(rig.result.radioSixteen.has_value());
}

TEST(CloneHandshake, RetryAfterTheRadioWakesReadsNormally) {
    CloneRig rig;
    rig.radio.ignoreWakeUps = 16;
    rig.host.answers = {MessageAnswer::Retry};
    EXPECT_EQ(rig.Run(), TransferReason::Ok);
    EXPECT_EQ(rig.WakeUps(), 17);
    EXPECT_EQ(rig.host.messages.size(), 1u);
}

TEST(CloneHandshake, PortErrorOnTheIdentificationOrAWrongAnswerToTheAckPrompts) {
    CloneRig error;
    error.port.readFault = [](std::size_t n) -> std::optional<Transfer> {
        if (n == kIdentSize) {
            return Transfer{0, PortError::Gone};
        }
        return std::nullopt;
    };
    EXPECT_EQ(error.Run(), TransferReason::NoAnswer);
    EXPECT_EQ(error.host.messages, std::vector<std::string>{kMsgCommunicationError});
    EXPECT_EQ(error.WakeUps(), 1);

    CloneRig wrong;
    wrong.radio.identAckByte = 0x15;
    wrong.Trace();
    EXPECT_EQ(wrong.Run(), TransferReason::NoAnswer);
    EXPECT_EQ(wrong.host.messages, std::vector<std::string>{kMsgCommunicationError});
    // 601 looks at the cancel flag, 1 ms apart, before the prompt, after the 7
    // of the attempt.
    EXPECT_EQ(wrong.host.checks, 7 + 601 + 1);  // and one when the prompt's Cancel comes
    EXPECT_EQ(std::count(wrong.clock.Sleeps().begin(), wrong.clock.Sleeps().end(), 1), 7 + 8 + 2 + 601);
}

TEST(CloneHandshake, AckWriteFailuresAreRetriedThreeTimesThenPrompt) {
    CloneRig rig;
    int ackWrites = 0;
    int failAcks = 100;
    rig.port.writeFault = [&](const Bytes& b) {
        if (b == Bytes{0x06}) {
            ++ackWrites;
            return ackWrites <= failAcks;
        }
        return false;
    };
    EXPECT_EQ(rig.Run(), TransferReason::NoAnswer);
    EXPECT_EQ(ackWrites, 1 + kSendOrderRetries);
    EXPECT_EQ(rig.host.messages, (std::vector<std::string>{kMsgSendOrder, kMsgSendOrder, kMsgSendOrder,
                                                           kMsgCommunicationError}));

    CloneRig recovers;
    ackWrites = 0;
    failAcks = 2;
    recovers.port.writeFault = rig.port.writeFault;
    EXPECT_EQ(recovers.Run(), TransferReason::Ok);
    EXPECT_EQ(recovers.host.messages, (std::vector<std::string>{kMsgSendOrder, kMsgSendOrder}));
}

TEST(CloneHandshake, PortThatCannotBeOpenedShowsItsMessageAndSendsNothing) {
    CloneRig rig;
    rig.port.openResult = {PortError::Busy, {}};
    EXPECT_EQ(rig.Run(), TransferReason::PortError);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgCannotOpenPort});
    EXPECT_EQ(rig.host.buttons[0], MessageButtons::Ok);
    EXPECT_EQ(rig.host.closeProgress, 1);
    EXPECT_TRUE(rig.port.Writes().empty());
}

TEST(CloneRead, SixteenChannelRadioEndsAfterBlock123) {
    CloneRig rig;
    rig.doc.m_bSixteenChannel = false;  // the handshake variant follows the document
    for (std::size_t i = 992; i < kImageSize; ++i) {
        rig.doc.m_image[i] = 0x5A;
    }
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    const auto requests = rig.Requests('R');
    ASSERT_EQ(requests.size(), 124u);
    for (std::size_t k = 0; k < requests.size(); ++k) {
        EXPECT_EQ(requests[k], (Bytes{'R', static_cast<std::uint8_t>((8 * k) >> 8),
                                      static_cast<std::uint8_t>(8 * k), 0x08}));
    }
    EXPECT_TRUE(rig.doc.m_bSixteenChannel);
    EXPECT_TRUE(rig.result.documentSixteen);
    EXPECT_TRUE(rig.host.decoded.m_bSixteenChannel);
    EXPECT_TRUE(std::equal(rig.doc.m_image.begin(), rig.doc.m_image.begin() + 992, rig.radio.memory.begin()));
    for (std::size_t i = 992; i < kImageSize; ++i) {
        ASSERT_EQ(rig.doc.m_image[i], 0x5A) << i;
    }
    // The answer to the last ACK is not read: the transfer ends on the write.
    EXPECT_EQ(rig.port.log[rig.port.log.size() - 2].call, Call::Write);
    EXPECT_EQ(rig.port.log.back().call, Call::Close);
    EXPECT_EQ(rig.host.decodes, 1);
    EXPECT_EQ(rig.host.decoded.m_image, rig.doc.m_image);
    EXPECT_EQ(rig.host.rangeHighs, std::vector<int>{123});
    EXPECT_EQ(rig.host.pos, 123);
    EXPECT_EQ(rig.host.statuses.back(), "123");
    EXPECT_EQ(rig.host.closeProgress, 1);
}

TEST(CloneRead, NinetyNineChannelRadioReadsAll402BlocksWithItsPacing) {
    CloneRig rig;
    rig.radio.memory = RadioMemory(kModelCode199);
    rig.radio.ident[4] = '8';
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    const auto requests = rig.Requests('R');
    ASSERT_EQ(requests.size(), 402u);
    EXPECT_EQ(requests.back(), (Bytes{'R', 0x0C, 0x88, 0x08}));
    EXPECT_EQ(rig.doc.m_image, rig.radio.memory);
    EXPECT_FALSE(rig.doc.m_bSixteenChannel);
    EXPECT_FALSE(rig.result.documentSixteen);
    EXPECT_FALSE(rig.host.decoded.m_bSixteenChannel);
    EXPECT_EQ(rig.host.rangeHighs, std::vector<int>{401});
    EXPECT_EQ(rig.host.pos, 401);
    EXPECT_EQ(rig.host.steps, 401);  // the bar stops at its top
    EXPECT_EQ(std::count(rig.clock.Sleeps().begin(), rig.clock.Sleeps().end(), 15), 402);
    EXPECT_EQ(std::count(rig.clock.Sleeps().begin(), rig.clock.Sleeps().end(), 10), 402);
    EXPECT_EQ(rig.host.checks, 7 + 402 * 199);
}

TEST(CloneRead, IdentificationByteFourDecidesTheProgressRange) {
    // '8' in byte 4 with a 16-channel memory: the bar counts to 401 but the
    // read still ends at block 123 on the model code.
    CloneRig rig;
    rig.radio.ident[4] = '8';
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    EXPECT_EQ(rig.host.rangeHighs, std::vector<int>{401});
    EXPECT_EQ(rig.host.pos, 124);

    // A short identification keeps the buffer's zeros: 0-123.
    CloneRig shortIdent;
    shortIdent.radio.ident = {1, 2, 3};
    ASSERT_EQ(shortIdent.Run(), TransferReason::Ok);
    EXPECT_EQ(shortIdent.host.rangeHighs, std::vector<int>{123});
}

TEST(CloneRead, ShortRepliesEndTheReadAndLeaveTheDocumentAsItWas) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{9}, std::size_t{10}, std::size_t{11}}) {
        CloneRig rig;
        rig.doc.m_bSixteenChannel = true;
        rig.radio.shortReplyAtBlock = 5;
        rig.radio.shortReplyLength = length;
        const DocumentData before = rig.doc;
        EXPECT_EQ(rig.Run(), TransferReason::ShortReply) << length;
        EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgNotEnough});
        EXPECT_EQ(rig.doc.m_image, before.m_image);
        EXPECT_EQ(rig.doc.m_bSixteenChannel, before.m_bSixteenChannel);
        EXPECT_EQ(rig.host.decodes, 0);
        EXPECT_EQ(rig.Requests('R').size(), 6u);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.host.closeProgress, 1);
    }
}

TEST(CloneRead, MissingAckAfterABlockEndsTheReadWithoutDecoding) {
    CloneRig rig;
    rig.radio.memory = RadioMemory(kModelCode199);
    rig.radio.noAckAfterReadBlock = 200;
    rig.doc.m_bSixteenChannel = true;
    const DocumentData before = rig.doc;
    EXPECT_EQ(rig.Run(), TransferReason::WrongAck);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgReadBlockError});
    EXPECT_EQ(rig.Requests('R').size(), 201u);
    EXPECT_EQ(rig.doc.m_image, before.m_image);
    EXPECT_TRUE(rig.doc.m_bSixteenChannel);
    EXPECT_EQ(rig.host.decodes, 0);
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(CloneRead, VanishedPortDuringABlockEndsTheReadAtOnce) {
    CloneRig rig;
    int reads = 0;
    rig.port.readFault = [&](std::size_t n) -> std::optional<Transfer> {
        if (n == kReplySize && ++reads == 3) {
            return Transfer{0, PortError::Gone};
        }
        return std::nullopt;
    };
    const MemoryImage before = rig.doc.m_image;
    EXPECT_EQ(rig.Run(), TransferReason::ShortReply);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgNotEnough});
    EXPECT_EQ(rig.doc.m_image, before);
}

TEST(CloneWrite, SixteenChannelLayoutWrites123Blocks) {
    CloneRig rig;
    rig.host.direction = TransferDirection::Write;
    rig.doc.m_bSixteenChannel = true;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        rig.doc.m_image[i] = static_cast<std::uint8_t>(i % 251);
    }
    rig.Trace();
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    EXPECT_EQ(rig.host.encodes, 1);
    EXPECT_EQ(rig.host.decodes, 0);
    ASSERT_EQ(rig.radio.writtenBlocks.size(), 123u);
    const Bytes& last = rig.radio.writtenBlocks.back();
    EXPECT_EQ(last[0], 0x03);
    EXPECT_EQ(last[1], 0xD0);
    EXPECT_TRUE(std::equal(last.begin() + 3, last.end(), rig.doc.m_image.begin() + 976));
    EXPECT_EQ(rig.host.rangeHighs, std::vector<int>{123});
    EXPECT_EQ(rig.host.pos, 123);
    // Request and data are two write calls with 1 ms and a purge between.
    const auto it = std::find(rig.trace.begin(), rig.trace.end(), "w:57 00 00 08");
    ASSERT_NE(it, rig.trace.end());
    EXPECT_EQ(
        std::vector<std::string>(it, it + 5),
        (std::vector<std::string>{"w:57 00 00 08", "s1", "purge", "w:00 01 02 03 04 05 06 07", "r1:06"}));
    EXPECT_EQ(rig.trace.back(), "close");
    EXPECT_EQ(rig.host.checks, 7 + 123 * 201);
}

TEST(CloneWrite, NinetyNineChannelLayoutWritesAll402Blocks) {
    CloneRig rig;
    rig.host.direction = TransferDirection::Write;
    rig.doc.m_bSixteenChannel = false;
    rig.radio.ident[kIdentModelByte] = kModelCode199;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        rig.doc.m_image[i] = static_cast<std::uint8_t>(i % 253);
    }
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    ASSERT_EQ(rig.radio.writtenBlocks.size(), 402u);
    EXPECT_EQ(rig.radio.memory, rig.doc.m_image);
    EXPECT_EQ(rig.host.rangeHighs, std::vector<int>{401});
}

TEST(CloneWrite, RadioOfTheOtherModelIsRefusedBeforeTheFirstBlock) {
    const struct {
        bool sixteen;
        std::uint8_t identModel;
        const char* message;
    } cases[] = {
        {true, kModelCode199, "对讲机为 QZ - 199，文件为 QZ - 16，未写入。"},
        {false, kModelCode16, "对讲机为 QZ - 16，文件为 QZ - 199，未写入。"},
    };
    for (const auto& c : cases) {
        CloneRig rig;
        rig.host.direction = TransferDirection::Write;
        rig.doc.m_bSixteenChannel = c.sixteen;
        rig.radio.ident[kIdentModelByte] = c.identModel;
        const MemoryImage before = rig.radio.memory;
        EXPECT_EQ(rig.Run(), TransferReason::OtherModel);
        EXPECT_EQ(rig.host.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(rig.result.radioSixteen, c.identModel != kModelCode199);
        EXPECT_EQ(rig.result.documentSixteen, c.sixteen);
        EXPECT_TRUE(rig.Requests('W').empty());
        EXPECT_EQ(rig.radio.memory, before);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.host.closeProgress, 1);
    }
}

TEST(CloneWrite, MissingAckAfterABlockInterruptsTheWrite) {
    CloneRig rig;
    rig.host.direction = TransferDirection::Write;
    rig.radio.noAckAfterWriteBlock = 40;
    EXPECT_EQ(rig.Run(), TransferReason::WrongAck);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{kMsgWriteBlockError});
    EXPECT_EQ(rig.radio.writtenBlocks.size(), 41u);
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_EQ(rig.host.closeProgress, 1);
}

TEST(CloneWrite, DirectionChosenDuringTheHandshakeDecidesThePhase) {
    CloneRig rig;
    rig.host.direction = TransferDirection::Read;
    rig.host.onCheck = [&](int) { rig.host.direction = TransferDirection::Write; };
    ASSERT_EQ(rig.Run(), TransferReason::Ok);
    EXPECT_EQ(rig.host.encodes, 0);  // encoding happens only for a write chosen at the start
    EXPECT_EQ(rig.radio.writtenBlocks.size(), 123u);
    EXPECT_TRUE(rig.Requests('R').empty());
}

// Cancel at each kind of pump point: the transfer stops within one step,
// closes the port and the window, and leaves the document alone.
TEST(CloneCancel, EachPumpPointStopsTheTransfer) {
    struct Case {
        const char* name;
        TransferDirection direction;
        int cancelAtCheck;
        std::uint8_t identAck;
        int expectedChecks;
    };
    const Case cases[] = {
        {"handshake", TransferDirection::Read, 3, 0x06, 3},
        {"after a wrong answer to the ACK", TransferDirection::Read, 7 + 100, 0x15, 7 + 100},
        {"read block", TransferDirection::Read, 7 + 199 * 10 + 5, 0x06, 7 + 199 * 10 + 5},
        {"write block", TransferDirection::Write, 7 + 201 * 10 + 5, 0x06, 7 + 201 * 10 + 5},
    };
    for (const Case& c : cases) {
        CloneRig rig;
        rig.host.direction = c.direction;
        rig.host.cancelAtCheck = c.cancelAtCheck;
        rig.radio.identAckByte = c.identAck;
        const DocumentData before = rig.doc;
        EXPECT_EQ(rig.Run(), TransferReason::Cancelled) << c.name;
        EXPECT_EQ(rig.host.checks, c.expectedChecks) << c.name;
        EXPECT_FALSE(rig.port.IsOpen()) << c.name;
        EXPECT_EQ(rig.host.closeProgress, 1) << c.name;
        EXPECT_TRUE(rig.host.messages.empty()) << c.name;
        if (c.direction == TransferDirection::Read) {
            EXPECT_EQ(rig.doc.m_image, before.m_image) << c.name;
            EXPECT_EQ(rig.doc.m_bSixteenChannel, before.m_bSixteenChannel) << c.name;
            EXPECT_EQ(rig.host.decodes, 0) << c.name;
        }
    }
}

// A read that Ctrl+C ended (the port reports Stopped) at each step: the
// transfer is cancelled there, says nothing, sends nothing more and leaves
// the document alone.
TEST(CloneCancel, AStoppedReadCancelsAtOnceAtEachStep) {
    struct Case {
        const char* name;
        TransferDirection direction;
        std::size_t size;  // the read that is stopped: its length and ordinal
        int ordinal;
    };
    const Case cases[] = {
        {"wake-up", TransferDirection::Read, 1, 1},
        {"identification", TransferDirection::Read, kIdentSize, 1},
        {"ACK after the identification", TransferDirection::Read, 1, 2},
        {"read block", TransferDirection::Read, kReplySize, 3},
        {"ACK after a read block", TransferDirection::Read, 1, 5},
        {"ACK after a written block", TransferDirection::Write, 1, 5},
    };
    for (const Case& c : cases) {
        CloneRig rig;
        rig.host.direction = c.direction;
        int seen = 0;
        std::size_t writesBefore = 0;
        rig.port.readFault = [&](std::size_t n) -> std::optional<Transfer> {
            if (n != c.size || ++seen != c.ordinal) {
                return std::nullopt;
            }
            writesBefore = rig.port.Writes().size();
            return Transfer{0, PortError::Stopped};
        };
        const DocumentData before = rig.doc;
        EXPECT_EQ(rig.Run(), TransferReason::Cancelled) << c.name;
        EXPECT_EQ(rig.port.Writes().size(), writesBefore) << c.name;
        EXPECT_TRUE(rig.host.messages.empty()) << c.name;
        EXPECT_FALSE(rig.port.IsOpen()) << c.name;
        EXPECT_EQ(rig.doc.m_image, before.m_image) << c.name;
    }
}

}  // namespace
}  // namespace quorim::test
