// Reads and writes both radio models against the virtual radio, with instant
// replies and with 9600-baud pacing, and prints each measured time (the
// median of the repeats) divided by the floor the protocol allows: the sum of
// its mandated waits, plus, when paced, the wire time of the bytes on the
// critical path (ten bits a byte).
//
//   quorim_link_bench [repeats] [name filter, e.g. "write 16"]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"

namespace {

using namespace quorim;
using namespace quorim::bench;

// A host with nothing to show: the transfer alone is timed.
class QuietHost : public LinkHost {
public:
    explicit QuietHost(TransferDirection d) : m_direction(d) {}
    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int, int high) override { m_high = high; }
    void StepProgress() override { m_pos = m_pos >= m_high ? 0 : m_pos + 1; }
    void CloseProgress() override {}
    bool CancelRequested() const override { return false; }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MessageAnswer::Cancel;
    }
    TransferDirection Direction() const override { return m_direction; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

private:
    TransferDirection m_direction;
    int m_high = 123, m_pos = 0;
};

struct Floor {
    double ms = 0;
    int pauses = 0;  // pauses on the critical path
};

// The floor. Handshake waits: seven cancel waits, one per wake-up byte,
// one after the ACK and one after the start byte (16) or the 'M' (199).
Floor FloorOf(bool read, bool ninetyNine, bool paced) {
    const int handshakeWaits = 7 + (ninetyNine ? 7 : 8) + 2;
    // ACK, start byte, identification, ACK, ACK.
    const double handshakeWire = paced ? (1 + 1 + 8 + 1 + 1) * kWireByteMs : 0;
    Floor f;
    if (read) {
        const int n = ninetyNine ? kBlocks199 : kReadBlocks16;
        // request 4, reply 12, ACK, ACK; 15 ms before the ACK, 10 ms after.
        f.ms = n * (25 + (paced ? 18 * kWireByteMs : 0));
        f.pauses = 2 * n;
        if (!ninetyNine) {
            f.ms -= 10 + (paced ? kWireByteMs : 0);  // the last block ends on the ACK
            f.pauses -= 1;
        }
    } else {
        const int n = ninetyNine ? kBlocks199 : kWriteBlocks16;
        // request 4 and data 8 (the 1 ms between them passes while the
        // request is on the wire), the ACK, 1 ms after the block.
        f.ms = n * (paced ? 13 * kWireByteMs + 1 : 2);
        f.pauses = n * (paced ? 1 : 2);
    }
    f.ms += handshakeWaits + handshakeWire;
    f.pauses += handshakeWaits;
    return f;
}

// How much longer than asked a pause lasts here (median of many).
double PauseOvershootMs() {
    RealClock clock;
    std::vector<double> v;
    for (int i = 0; i < 300; ++i) {
        const double t = clock.NowMs();
        clock.SleepMs(1);
        v.push_back(clock.NowMs() - t - 1);
    }
    return Median(v);
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::string filter = argc > 2 ? argv[2] : "";
    const double overshoot = PauseOvershootMs();
    std::vector<std::string> notes;
    std::printf("%-28s %10s %10s %7s  %s\n", "benchmark", "measured", "floor", "ratio", "target");
    for (const bool paced : {false, true}) {
        for (const bool ninetyNine : {false, true}) {
            std::vector<std::string> args{"--model", ninetyNine ? "199" : "16"};
            if (paced) {
                args.push_back("--pace");
            }
            Radio radio(args);
            for (const bool read : {true, false}) {
                const std::string name = std::string(read ? "read " : "write ") +
                                         (ninetyNine ? "199" : "16") + (paced ? " 9600" : " instant");
                if (name.find(filter) == std::string::npos) {
                    continue;
                }
                std::vector<double> times;
                for (int i = 0; i < repeats; ++i) {
                    DocumentData doc;
                    doc.OnNewDocument();
                    doc.m_bSixteenChannel = !ninetyNine;
                    QuietHost host(read ? TransferDirection::Read : TransferDirection::Write);
                    PosixSerialPort port;
                    RealClock clock;
                    const double start = clock.NowMs();
                    const TransferResult result = RunRadioTransfer(radio.Path(), doc, port, clock, host);
                    const double ms = clock.NowMs() - start;
                    if (!result.Ok()) {
                        std::fprintf(stderr, "transfer failed\n");
                        return 1;
                    }
                    times.push_back(ms);
                }
                const double median = Median(times);
                const Floor f = FloorOf(read, ninetyNine, paced);
                const double floor = f.ms;
                std::printf("%-28s %8.0fms %8.0fms %7.3f  %s\n", name.c_str(), median, floor, median / floor,
                            read ? "<= 1.05" : "<= 1.15");
                std::fflush(stdout);
                char note[160];
                std::snprintf(note, sizeof note, "# %s: %.3f with its %d pauses as long as they measure here",
                              name.c_str(), median / (floor + f.pauses * overshoot), f.pauses);
                notes.push_back(note);
            }
        }
    }
    std::printf("# link: a 1 ms pause lasts %.3f ms here (median)\n", 1 + overshoot);
    for (const std::string& n : notes) {
        std::printf("%s\n", n.c_str());
    }
    return 0;
}
