// Runs tuning sessions against the virtual radio, with instant replies and
// with 9600-baud pacing, and prints the median time of a session divided by
// its floor: the 700 ms pause, the fifteen 1 ms pauses and the wire time of
// the bytes the session waits for.
//
// Two more floors are noted: one that adds the radio's own reply delays (the
// virtual radio holds the opening's ACK back for its ack gap, waiting for an
// 'M' that a tuning opening never sends, and confirms each frame 2 ms after
// it), and one that also takes the pauses as long as RealClock makes them on
// this machine, measured in the same run.
//
//   quorim_tuning_bench [sessions]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "link/clock.h"
#include "link/posix_serial_port.h"
#include "tuning/tuning_session.h"

namespace {

using namespace quorim;
using namespace quorim::bench;

constexpr double kAckGapMs = 20;  // passed to the radio as --ack-gap
constexpr double kConfirmMs = 2;  // the radio's confirmDelayMs

// Answers every message box; records whether any came.
class QuietHost : public NullLinkHost {
public:
    QuietHost() : NullLinkHost(TransferDirection::Read) {}
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        if (buttons == MessageButtons::RetryCancel) {
            std::fprintf(stderr, "tuning attempt failed: %s\n", text.c_str());
            failed = true;
            return MessageAnswer::Cancel;
        }
        return MessageAnswer::Ok;
    }
    bool failed = false;
};

// The session's steps as the wire sees them: pauses, writes, and reads of a
// reply that the radio starts once the last byte written has arrived.
struct Step {
    enum Kind { Pause, Write, Reply } kind;
    int n;                // ms for a pause, bytes otherwise
    double radioDelayMs;  // for a reply: the radio's own delay before it
};

std::vector<Step> SessionSteps() {
    std::vector<Step> s{{Step::Pause, kTuningAttemptPauseMs, 0}};
    for (int i = 0; i < 7; ++i) {
        s.push_back({Step::Write, 1, 0});
        s.push_back({Step::Pause, 1, 0});
    }
    const std::vector<Step> rest{
        {Step::Reply, 1, kAckGapMs},  // ACK to the opening
        {Step::Pause, 1, 0},          {Step::Write, 1, 0}, {Step::Pause, 1, 0},
        {Step::Write, 1, 0},          {Step::Reply, 8, 0},                       // identification
        {Step::Pause, 1, 0},          {Step::Write, 1, 0}, {Step::Reply, 1, 0},  // ACK, ACK
        {Step::Pause, 1, 0},          {Step::Write, 1, 0}, {Step::Pause, 1, 0},  // 'x'
        {Step::Write, 1, 0},          {Step::Pause, 1, 0}, {Step::Write, 2, 0},  // selector, header
        {Step::Reply, 1, kConfirmMs}, {Step::Pause, 1, 0}, {Step::Write, 8, 0},
        {Step::Reply, 1, kConfirmMs},                                                     // frequencies
        {Step::Pause, 1, 0},          {Step::Write, 8, 0}, {Step::Reply, 1, kConfirmMs},  // setting
    };
    s.insert(s.end(), rest.begin(), rest.end());
    return s;
}

// The shortest time the steps can take: one lane each way, `byteMs` a byte,
// a pause of n ms lasting n * pauseScale ms (+ pauseExtra) and nothing else.
double Floor(double byteMs, double onePauseMs, double longPauseMs, bool radioDelays) {
    double pc = 0, outFree = 0, inFree = 0, lastArrival = 0;
    for (const Step& st : SessionSteps()) {
        switch (st.kind) {
            case Step::Pause:
                pc += st.n == 1 ? onePauseMs : longPauseMs;
                break;
            case Step::Write:
                outFree = std::max(outFree, pc) + st.n * byteMs;
                lastArrival = outFree;
                break;
            case Step::Reply:
                inFree = std::max(inFree, lastArrival + (radioDelays ? st.radioDelayMs : 0)) + st.n * byteMs;
                pc = std::max(pc, inFree);
                break;
        }
    }
    return pc;
}

double MeasuredPause(RealClock& clock, int ms, int times) {
    std::vector<double> v;
    for (int i = 0; i < times; ++i) {
        const double t = clock.NowMs();
        clock.SleepMs(ms);
        v.push_back(clock.NowMs() - t);
    }
    return Median(v);
}

}  // namespace

int main(int argc, char** argv) {
    const int sessions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    RealClock clock;
    const double onePause = MeasuredPause(clock, 1, 300);
    const double longPause = MeasuredPause(clock, kTuningAttemptPauseMs, 3);
    std::printf("# tuning: 1 ms pause measures %.3f ms, 700 ms pause %.3f ms (medians)\n", onePause,
                longPause);
    std::printf("%-28s %10s %10s %7s  %s\n", "benchmark", "measured", "floor", "ratio", "target");
    std::vector<std::string> notes;
    for (const bool paced : {false, true}) {
        std::vector<std::string> args{"--ack-gap", std::to_string(static_cast<int>(kAckGapMs))};
        if (paced) {
            args.push_back("--pace");
        }
        Radio radio(args);
        std::vector<double> times;
        for (int i = 0; i < sessions; ++i) {
            TuningRequest request{radio.Path(), "435.12500", "435.12500", "88.5", "OFF", 4, 160};
            PosixSerialPort port;
            QuietHost host;
            const double start = clock.NowMs();
            const TuningOutcome outcome = RunTuningSession(request, port, clock, host);
            times.push_back(clock.NowMs() - start);
            if (outcome != TuningOutcome::Succeeded || host.failed) {
                std::fprintf(stderr, "tuning session failed\n");
                return 1;
            }
        }
        const double byteMs = paced ? kWireByteMs : 0;
        const double floor = Floor(byteMs, 1, kTuningAttemptPauseMs, false);
        const double radioFloor = Floor(byteMs, 1, kTuningAttemptPauseMs, true);
        const double measuredFloor = Floor(byteMs, onePause, longPause, true);
        const double m = Median(times);
        const char* name = paced ? "tuning session 9600" : "tuning session instant";
        std::printf("%-28s %8.1fms %8.1fms %7.3f  <= 1.10\n", name, m, floor, m / floor);
        std::fflush(stdout);
        char note[200];
        std::snprintf(note, sizeof note,
                      "# %s: %.3f with the radio's own reply delays in the floor (%.1f ms), %.3f with the "
                      "pauses as long as they measure here too",
                      name, m / radioFloor, radioFloor, m / measuredFloor);
        notes.push_back(note);
    }
    for (const std::string& n : notes) {
        std::printf("%s\n", n.c_str());
    }
    return 0;
}
