// Reads and writes both radio models against the virtual radio, with instant
// replies and with 9600-baud pacing, and prints each measured time divided by
// the floor the protocol allows: the sum of its mandated waits, plus, when
// paced, the wire time of the bytes on the critical path (ten bits a byte).
//
//   quorim_link_bench [repeats]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"

extern char** environ;

namespace {

using namespace quorim;

constexpr double kWireByteMs = 10.0 * 1000.0 / 9600.0;

class Radio {
public:
    explicit Radio(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
        args.insert(args.begin(), std::string(QUORIM_BIN_DIR) + "/quorim-radio");
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) {
            throw std::runtime_error("cannot start quorim-radio");
        }
        close(out[1]);
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') {
            m_path += c;
        }
        close(out[0]);
    }
    ~Radio() {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = 0;
    std::string m_path;
};

// A host with nothing to show: the transfer alone is timed.
class QuietHost : public LinkHost {
public:
    QuietHost(TransferDirection d, int rows) : m_direction(d), m_rows(rows) {}
    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int, int high) override { m_high = high; }
    void StepProgress() override { m_pos = m_pos >= m_high ? 0 : m_pos + 1; }
    int ProgressPos() const override { return m_pos; }
    void CloseProgress() override {}
    void PumpStep() override {}
    bool CancelRequested() const override { return false; }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MessageAnswer::Cancel;
    }
    TransferDirection Direction() const override { return m_direction; }
    int GridRows() const override { return m_rows; }
    void SetGridRows(int rows) override { m_rows = rows; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

private:
    TransferDirection m_direction;
    int m_rows;
    int m_high = 123, m_pos = 0;
};

// The floor in ms. Handshake waits: seven pump waits, one per wake-up byte,
// one after the ACK and one after the start byte (16) or the 'M' (199).
double Floor(bool read, bool ninetyNine, bool paced) {
    const double handshakeWaits = 7 + (ninetyNine ? 7 : 8) + 2;
    // ACK, start byte, identification, ACK, ACK.
    const double handshakeWire = paced ? (1 + 1 + 8 + 1 + 1) * kWireByteMs : 0;
    double blocks = 0;
    if (read) {
        const int n = ninetyNine ? kBlocks199 : kReadBlocks16;
        // request 4, reply 12, ACK, ACK; 15 ms before the ACK, 10 ms after.
        blocks = n * (25 + (paced ? 18 * kWireByteMs : 0));
        if (!ninetyNine) {
            blocks -= 10 + (paced ? kWireByteMs : 0);  // the last block ends on the ACK
        }
    } else {
        const int n = ninetyNine ? kBlocks199 : kWriteBlocks16;
        // request 4 and data 8 (the 1 ms between them passes while the
        // request is on the wire), the ACK, 1 ms after the block.
        blocks = n * (paced ? 13 * kWireByteMs + 1 : 2);
    }
    return handshakeWaits + handshakeWire + blocks;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    std::printf("%-6s %-5s %-7s %10s %10s %7s\n", "op", "model", "pacing", "measured", "floor", "ratio");
    for (const bool paced : {false, true}) {
        for (const bool ninetyNine : {false, true}) {
            std::vector<std::string> args{"--model", ninetyNine ? "199" : "16"};
            if (paced) {
                args.push_back("--pace");
            }
            Radio radio(args);
            for (const bool read : {true, false}) {
                double best = 1e300;
                for (int i = 0; i < repeats; ++i) {
                    DocumentData doc;
                    doc.OnNewDocument();
                    doc.m_bSixteenChannel = !ninetyNine;
                    QuietHost host(read ? TransferDirection::Read : TransferDirection::Write,
                                   ninetyNine ? 200 : 17);
                    PosixSerialPort port;
                    RealClock clock;
                    const double start = clock.NowMs();
                    const TransferOutcome outcome = RunRadioTransfer(radio.Path(), doc, port, clock, host);
                    const double ms = clock.NowMs() - start;
                    if (outcome != TransferOutcome::Succeeded) {
                        std::fprintf(stderr, "transfer failed\n");
                        return 1;
                    }
                    best = std::min(best, ms);
                }
                const double floor = Floor(read, ninetyNine, paced);
                std::printf("%-6s %-5s %-7s %8.0fms %8.0fms %7.3f\n", read ? "read" : "write",
                            ninetyNine ? "199" : "16", paced ? "9600" : "instant", best, floor, best / floor);
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
