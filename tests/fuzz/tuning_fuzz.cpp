// The tuning session against a radio on a bad line (see chaotic_line.h), with
// requests from the dialog's lists or arbitrary texts. Whatever happens, the
// session ends with one of its outcomes, the port closed, and the user told:
// a refused request or a port that cannot be opened sends nothing; a
// cancelled session asked Retry/Cancel once more than it was answered Retry.
//
// Input: byte 0 the set-up (bits 0-1 the item, bit 2 an item that does not
// exist, bits 3-5 Retry answers, bit 6 texts from the input, bit 7 a busy
// port), byte 1 the value (a second byte adds to it), then the texts, then
// the line.
#include <string>

#include "chaotic_line.h"
#include "tuning/tuning_session.h"

using namespace quorim;
using namespace quorim::fuzz;

namespace {

const char* const kFrequencies[] = {"",          "435.12500", "136.00000", "64.00625",
                                    "999.99999", "1000",      "-1",        "abc"};
const char* const kTones[] = {"OFF", "88.5", "254.1", "D023N", "D754I", "67.0", "999.9", "1000.0"};

std::string Text(FuzzInput& in, bool raw, const char* const* table) {
    if (!raw) {
        return table[in.Next() % 8];
    }
    std::string text(in.Next() % 12, ' ');
    for (auto& c : text) {
        c = static_cast<char>(in.Next());
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t setup = in.Next();
    const int retries = (setup >> 3) & 7;
    const bool raw = (setup & 0x40) != 0;

    TuningRequest request;
    request.portName = "COM2";
    request.item = (setup & 4) != 0 ? ((setup & 1) != 0 ? 1 : 6) : 2 + (setup & 3);
    request.value = in.Next();
    if (request.value == 0xFF) {
        request.value += in.Next();  // 255 .. 510
    }
    request.rxFrequencyText = Text(in, raw, kFrequencies);
    request.txFrequencyText = Text(in, raw, kFrequencies);
    request.rxToneText = Text(in, raw, kTones);
    request.txToneText = Text(in, raw, kTones);

    VirtualClock clock;
    FakeSerialPort port(clock);
    RecordingHost host;
    PortRadio radio;
    ChaoticLine line(in, port, radio, host);
    host.answers.assign(static_cast<std::size_t>(retries), MessageAnswer::Retry);
    if ((setup & 0x80) != 0) {
        port.openResult = {PortError::Busy, "COM2"};
    }

    const TuningOutcome outcome = RunTuningSession(request, port, clock, host);

    FUZZ_CHECK(!port.IsOpen());
    FUZZ_CHECK(!host.messages.empty());
    const std::string& last = host.messages.back();
    int prompts = 0;
    for (const auto& m : host.messages) {
        prompts += m == kMsgTuningRetry;
    }
    const bool refusal = CheckTuningRequest(request).has_value();
    switch (outcome) {
        case TuningOutcome::Refused:
            FUZZ_CHECK(refusal);
            FUZZ_CHECK(port.log.empty());  // not even opened
            FUZZ_CHECK(host.messages.size() == 1);
            break;
        case TuningOutcome::CannotOpen:
            FUZZ_CHECK(!refusal);
            FUZZ_CHECK(host.messages.size() == 1 && last == kMsgTuningCannotOpen);
            FUZZ_CHECK(port.Writes().empty());
            break;
        case TuningOutcome::Succeeded:
            FUZZ_CHECK(!refusal);
            FUZZ_CHECK(last == kMsgTuningReceived);
            FUZZ_CHECK(prompts <= retries);
            // The last thing the port saw was the setting frame, then its close.
            FUZZ_CHECK(port.log.back().call == FakeSerialPort::Call::Close);
            break;
        case TuningOutcome::Cancelled:
            FUZZ_CHECK(!refusal);
            FUZZ_CHECK(last == kMsgTuningRetry);
            FUZZ_CHECK(prompts == retries + 1);
            break;
        default:
            FUZZ_CHECK(false);
    }
    return 0;
}
