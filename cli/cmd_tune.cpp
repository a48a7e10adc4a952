#include <algorithm>
#include <iostream>
#include <map>

#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "image/tone_table.h"
#include "link/clock.h"
#include "link/serial_port.h"
#include "text/ascii_text.h"
#include "tuning/tuning_session.h"

namespace quorim::cli {

namespace {

// The tuning session's messages are the tuning window's, which speaks the
// program's language (the clone link's English stays as it is).
class TuneHost : public CliLinkHost {
public:
    using CliLinkHost::CliLinkHost;
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        return CliLinkHost::ShowMessage(CliTexts().Translate("Quorim", text), buttons);
    }
};

}  // namespace

int RunTune(const Args& args) {
    static const std::map<std::string, int> kItems = {
        {"txfreq", 2}, {"battery", 3}, {"squelch", 4}, {"power", 5}};
    TuningRequest request;
    request.rxToneText = "OFF";
    request.txToneText = "OFF";
    std::string item, value;
    int retries = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) {
            return Usage("tune");
        }
        const std::string& v = args[++i];
        if (a == "--port") {
            request.portName = v;
        } else if (a == "--item") {
            item = v;
        } else if (a == "--value") {
            value = v;
        } else if (a == "--rx") {
            request.rxFrequencyText = v;
        } else if (a == "--tx") {
            request.txFrequencyText = v;
        } else if (a == "--rx-tone") {
            request.rxToneText = v;
        } else if (a == "--tx-tone") {
            request.txToneText = v;
        } else if (a == "--retry") {
            if (!ParseCount(v, retries)) {
                return Usage("tune");
            }
        } else {
            return Usage("tune");
        }
    }
    const auto itemIt = kItems.find(item);
    if (request.portName.empty() || itemIt == kItems.end() || !ParseCount(value, request.value) ||
        request.value > 255) {
        return Usage("tune");
    }
    request.item = itemIt->second;
    // The window offers only the names of the tone table.
    const ToneTable tones;
    for (const std::string* tone : {&request.rxToneText, &request.txToneText}) {
        if (std::find(tones.Names().begin(), tones.Names().end(), *tone) == tones.Names().end()) {
            std::cerr << "quorim: unknown tone " << Quoted(*tone)
                      << " (OFF, 67.0 .. 254.1, D023N .. D754I)\n";
            return kExitUsage;
        }
    }
    TuneHost host(TransferDirection::Write, retries);
    const auto port = NewSystemSerialPort();
    RealClock clock;
    return RunTuningSession(request, *port, clock, host) == TuningOutcome::Succeeded ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
