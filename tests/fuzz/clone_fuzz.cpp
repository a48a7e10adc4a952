// The clone engine against a radio on a bad line (see chaotic_line.h): a read
// or write, either model, prompts answered Retry a few times, perhaps the
// cancel button. Whatever the line does, the transfer ends, the port and the
// progress window are closed, and a read that did not succeed leaves the
// document as it was.
//
// Input: byte 0 the set-up (bit 0 write, bit 1 a 199-channel document, bit 2
// a 199-channel radio, bit 3 a 200-row grid, bits 4-6 Retry answers), byte 1
// the pump step that presses cancel (x 97; 0 never), then the line.
#include "chaotic_line.h"
#include "link/clone_engine.h"

using namespace quorim;
using namespace quorim::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t setup = in.Next();
    const int cancelAt = in.Next() * 97;
    const bool write = (setup & 1) != 0;
    const int retries = (setup >> 4) & 7;

    VirtualClock clock;
    FakeSerialPort port(clock);
    RecordingHost host;
    ScriptedRadio radio;
    ChaoticLine line(in, port, radio, host);
    const bool radio199 = (setup & 4) != 0;
    for (std::size_t i = 0; i < radio.memory.size(); ++i) {
        radio.memory[i] = static_cast<std::uint8_t>(i * 13 + 7);
    }
    radio.memory[kModelCodeOffset] = radio199 ? kModelCode199 : kModelCode16;
    radio.ident[4] = radio199 ? '8' : '7';
    host.direction = write ? TransferDirection::Write : TransferDirection::Read;
    host.cancelAtCheck = cancelAt == 0 ? -1 : cancelAt;
    host.answers.assign(static_cast<std::size_t>(retries), MessageAnswer::Retry);

    DocumentData doc;
    doc.OnNewDocument();
    doc.m_bSixteenChannel = (setup & 2) == 0;
    const DocumentData before = doc;

    const TransferResult result = RunRadioTransfer("COM1", doc, port, clock, host);
    const TransferReason outcome = result.reason;

    FUZZ_CHECK(!port.IsOpen());
    FUZZ_CHECK(host.closeProgress == 1);
    // Retry prompts never outnumber the answers plus the final Cancel.
    int prompts = 0;
    for (const auto b : host.buttons) {
        prompts += b == MessageButtons::RetryCancel;
    }
    FUZZ_CHECK(prompts <= retries + 1);
    FUZZ_CHECK(host.pos >= 0 && host.pos <= host.rangeHigh);
    if (outcome == TransferReason::Cancelled) {
        FUZZ_CHECK(host.cancel);
    } else if (!result.Ok()) {
        // the user was told why, in the message of the reason
        FUZZ_CHECK(!host.messages.empty() && host.messages.back() == TransferMessage(result, host.Texts()));
    }

    if (!write) {
        FUZZ_CHECK(host.encodes == 0);
        if (outcome == TransferReason::Ok) {
            FUZZ_CHECK(host.decodes == 1);
            FUZZ_CHECK(host.decoded.m_image == doc.m_image);
            FUZZ_CHECK(host.decoded.m_bSixteenChannel == doc.m_bSixteenChannel);
            if (doc.m_bSixteenChannel) {
                // A 16-channel read replaces bytes 0..991 only.
                FUZZ_CHECK(
                    std::equal(doc.m_image.begin() + 992, doc.m_image.end(), before.m_image.begin() + 992));
            }
        } else {
            FUZZ_CHECK(host.decodes == 0);
            FUZZ_CHECK(doc.m_image == before.m_image);
            FUZZ_CHECK(doc.m_bSixteenChannel == before.m_bSixteenChannel);
        }
    } else {
        FUZZ_CHECK(host.encodes == 1 && host.decodes == 0);
        FUZZ_CHECK(doc.m_image == before.m_image);
        // Never a block beyond the layout's range.
        const std::size_t blocks = doc.m_bSixteenChannel ? kWriteBlocks16 : kBlocks199;
        for (const auto& w : port.Writes()) {
            if (w.size() == 4 && w[0] == 'W' && w[3] == 0x08) {
                FUZZ_CHECK(((w[1] << 8) | w[2]) < static_cast<int>(blocks * kBlockSize));
            }
        }
    }
    return 0;
}
