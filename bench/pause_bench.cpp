// The platform layer's share of a transfer, on any system: how long the
// link's 1 ms and 2 ms pauses last, and, given the port of a virtual radio
// with instant replies, a write's time against the protocol's floor (its
// mandated waits; the same floor quorim_link_bench holds it to).
//
//   quorim_pause_bench [pauses] [PORT 16|199 [repeats]]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/serial_port.h"

namespace {

using namespace quorim;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class QuietHost : public LinkHost {
public:
    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int, int high) override { m_high = high; }
    void StepProgress() override { m_pos = m_pos >= m_high ? 0 : m_pos + 1; }
    void CloseProgress() override {}
    bool CancelRequested() const override { return false; }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MessageAnswer::Cancel;
    }
    TransferDirection Direction() const override { return TransferDirection::Write; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

private:
    int m_high = 123, m_pos = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int pauses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    RealClock clock;
    for (const int ms : {1, 2}) {
        std::vector<double> took;
        for (int i = 0; i < pauses; ++i) {
            const double start = clock.NowMs();
            clock.SleepMs(ms);
            took.push_back(clock.NowMs() - start);
        }
        std::sort(took.begin(), took.end());
        std::printf("pause %d ms: median %.3f ms, 90%% %.3f ms, longest %.3f ms\n", ms, Median(took),
                    took[took.size() * 9 / 10], took.back());
    }
    if (argc < 4) {
        return 0;
    }
    const std::string port = argv[2];
    const bool ninetyNine = std::string(argv[3]) == "199";
    const int repeats = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    // Two 1 ms pauses a block, plus the handshake's waits: seven cancel waits,
    // one per wake-up byte, one after the ACK and one after the start byte
    // (16) or the 'M' (199).
    const int blocks = ninetyNine ? kBlocks199 : kWriteBlocks16;
    const double floor = 2.0 * blocks + 7 + (ninetyNine ? 7 : 8) + 2;
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        DocumentData doc;
        doc.OnNewDocument();
        doc.m_bSixteenChannel = !ninetyNine;
        QuietHost host;
        const auto serial = NewSystemSerialPort();
        const double start = clock.NowMs();
        if (!RunRadioTransfer(port, doc, *serial, clock, host).Ok()) {
            std::fprintf(stderr, "transfer failed\n");
            return 1;
        }
        times.push_back(clock.NowMs() - start);
    }
    const double median = Median(times);
    std::printf("write %s instant: %.0f ms, floor %.0f ms, ratio %.3f\n", ninetyNine ? "199" : "16", median,
                floor, median / floor);
    return 0;
}
