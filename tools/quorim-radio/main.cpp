// quorim-radio: a virtual QZ radio on a pseudo-terminal. See README.md.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <string>

#include "base/program_info.h"
#include "editor/codec.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "tools/quorim-radio/radio_model.h"

namespace {

using namespace quorim;
using namespace quorim::radio;

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) {
    g_stop = 1;
}

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The tuning log for appending: a regular file only, opened without waiting
// (a FIFO would hold the radio, deaf to SIGTERM, until someone read it).
// Null, with the reason in `why`, for anything else.
std::FILE* OpenTuneLog(const std::string& path, std::string& why) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        why = "not a regular file";
        return nullptr;
    }
    const int fd =
        open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = fd < 0 ? std::strerror(errno) : "not a regular file";
        if (fd >= 0) close(fd);
        return nullptr;
    }
    std::FILE* f = fdopen(fd, "a");
    if (f == nullptr) {
        why = std::strerror(errno);
        close(fd);
    }
    return f;
}

// One byte at 9600 baud, 8N1: ten bits.
constexpr double kWireByteMs = 10.0 * 1000.0 / 9600.0;

const char* const kUsage =
    "usage: quorim-radio [--model 16|199] [--memory FILE] [--save FILE] [--link PATH] [--master-fd N]\n"
    "                    [--pace] [--ack-gap MS] [--silent N|all] [--stray N]\n"
    "                    [--short-reply K:LEN] [--nak-read K] [--nak-write K] [--vanish K]\n"
    "                    [--corrupt ADDR] [--vanish-at wake|ident|ident-ack|tune]\n"
    "                    [--bad-ident-ack] [--garbage] [--slow MS] [--late-write K:MS]\n"
    "                    [--tune-late STEP:MS]\n"
    "                    [--tune-bad-confirm STEP] [--tune-log FILE] [--echo] [--ident HEX]\n";

struct Options {
    std::string model;
    std::string memory;
    std::string save;
    std::string link;
    std::string tuneLog;
    int masterFd = -1;
    bool pace = false;
    double ackGap = 20;
    double slowMs = 0;
    Faults faults;
};

bool ParseInt(const std::string& text, int& out) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < -1 || v > 1000000) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        int n = 0;
        if (arg == "--pace") {
            o.pace = true;
        } else if (arg == "--model") {
            if (!value(o.model) || (o.model != "16" && o.model != "199")) {
                return false;
            }
        } else if (arg == "--memory") {
            if (!value(o.memory)) return false;
        } else if (arg == "--save") {
            if (!value(o.save)) return false;
        } else if (arg == "--link") {
            if (!value(o.link)) return false;
        } else if (arg == "--master-fd") {
            if (!value(v) || !ParseInt(v, o.masterFd) || o.masterFd < 0) return false;
        } else if (arg == "--tune-log") {
            if (!value(o.tuneLog)) return false;
        } else if (arg == "--ack-gap") {
            if (!value(v) || !ParseInt(v, n) || n < 0) return false;
            o.ackGap = n;
        } else if (arg == "--silent") {
            if (!value(v)) return false;
            if (v == "all") {
                o.faults.silentWakeUps = -1;
            } else if (!ParseInt(v, o.faults.silentWakeUps) || o.faults.silentWakeUps < 0) {
                return false;
            }
        } else if (arg == "--stray") {
            if (!value(v) || !ParseInt(v, n) || n < 0 || n > 8) return false;
            o.faults.strayBeforeAck.assign(static_cast<std::size_t>(n), 0x55);
        } else if (arg == "--short-reply") {
            if (!value(v)) return false;
            const auto colon = v.find(':');
            int len = 0;
            if (colon == std::string::npos || !ParseInt(v.substr(0, colon), o.faults.shortReplyBlock) ||
                !ParseInt(v.substr(colon + 1), len) || len < 0 || len > 11) {
                return false;
            }
            o.faults.shortReplyLength = static_cast<std::size_t>(len);
        } else if (arg == "--nak-read") {
            if (!value(v) || !ParseInt(v, o.faults.nakReadBlock)) return false;
        } else if (arg == "--nak-write") {
            if (!value(v) || !ParseInt(v, o.faults.nakWriteBlock)) return false;
        } else if (arg == "--corrupt") {
            if (!value(v) || !ParseInt(v, o.faults.corruptAddress) || o.faults.corruptAddress < 0 ||
                o.faults.corruptAddress >= static_cast<int>(kImageSize)) {
                return false;
            }
        } else if (arg == "--vanish-at") {
            if (!value(o.faults.vanishAt) ||
                (o.faults.vanishAt != "wake" && o.faults.vanishAt != "ident" &&
                 o.faults.vanishAt != "ident-ack" && o.faults.vanishAt != "tune")) {
                return false;
            }
        } else if (arg == "--bad-ident-ack") {
            o.faults.badIdentAck = true;
        } else if (arg == "--garbage") {
            o.faults.garbage = true;
        } else if (arg == "--echo") {
            o.faults.echo = true;
        } else if (arg == "--ident") {
            // Up to 16 bytes in hexadecimal, blanks allowed: "51 5A 30 31 39 56 31 30".
            if (!value(v)) return false;
            std::string digits;
            for (const char c : v) {
                if (c != ' ') digits += c;
            }
            if (digits.empty() || digits.size() % 2 != 0 || digits.size() > 32 ||
                digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                return false;
            }
            o.faults.identification.clear();
            for (std::size_t k = 0; k < digits.size(); k += 2) {
                o.faults.identification.push_back(
                    static_cast<std::uint8_t>(std::stoul(digits.substr(k, 2), nullptr, 16)));
            }
        } else if (arg == "--slow") {
            if (!value(v) || !ParseInt(v, n) || n < 0) return false;
            o.slowMs = n;
        } else if (arg == "--late-write" || arg == "--tune-late") {
            if (!value(v)) return false;
            const auto colon = v.find(':');
            int k = 0, ms = 0;
            if (colon == std::string::npos || !ParseInt(v.substr(0, colon), k) || k < 0 ||
                !ParseInt(v.substr(colon + 1), ms) || ms < 0) {
                return false;
            }
            (arg == "--late-write" ? o.faults.lateWriteBlock : o.faults.lateTuneStep) = k;
            o.faults.lateMs = ms;
        } else if (arg == "--vanish") {
            if (!value(v) || !ParseInt(v, o.faults.vanishBlock)) return false;
        } else if (arg == "--tune-bad-confirm") {
            if (!value(v) || !ParseInt(v, o.faults.badConfirmStep) || o.faults.badConfirmStep < 1 ||
                o.faults.badConfirmStep > 3) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

// A few channels so that a first read shows something.
MemoryImage DefaultMemory(bool ninetyNine) {
    DocumentData doc;
    doc.OnNewDocument();
    const char* freqs[] = {"435.12500", "436.25000", "438.50000", "439.00000"};
    for (int ch = 1; ch <= 4; ++ch) {
        std::uint8_t* rec = doc.m_image.data() + RowOffset(static_cast<std::size_t>(ch));
        EncodeFrequency(freqs[ch - 1], rec + kRecRxFreq);
        EncodeFrequency(freqs[ch - 1], rec + kRecTxFreq);
        rec[kRecFlags] = 0xFB;
    }
    doc.m_image[kBandCodeOffset] = kBandCodeBase + 4;
    if (ninetyNine) {
        doc.ChangeLayout(quorim::RadioModel::Qz199);  // channels 60 and 61 empty, too
    }
    return doc.m_image;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += (out.empty() ? "" : " ") + std::string(buf);
    }
    return out;
}

// Where a link of this program's own points: a pseudo-terminal. Empty for
// anything else at `link` (a file, a folder, someone else's link): that is
// never removed.
std::string OwnLinkTarget(const std::string& link) {
    std::string target(4096, '\0');
    const ssize_t n = readlink(link.c_str(), target.data(), target.size());
    target.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return target.rfind("/dev/pts/", 0) == 0 ? target : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout
                << kUsage
                << "\nA virtual QZ radio on a pseudo-terminal: prints the device path, then answers clone\n"
                   "reads and writes and tuning sessions until it is stopped. See quorim-radio(1).\n"
                   "  -h, --help  show this help;  --version  show the version\n"
                   "Exit status: 0 when it ends (on SIGINT, SIGTERM or a --vanish fault), 1 when the memory\n"
                   "file, the --save or --tune-log file or the pseudo-terminal fails, 2 on a usage error.\n";
            return 0;
        }
        if (arg == "--version") {
            std::cout << VersionLine("quorim-radio");
            return 0;
        }
    }
    Options opt;
    if (!ParseOptions(argc, argv, opt)) {
        std::cerr << kUsage;
        return 2;
    }
    if (struct stat st{};
        !opt.link.empty() && lstat(opt.link.c_str(), &st) == 0 && OwnLinkTarget(opt.link).empty()) {
        std::cerr << "quorim-radio: --link: \"" << opt.link
                  << "\" exists and is not a link this program made; it was left as it is\n";
        return 1;
    }
    // What the radio will write must be writable, told before it starts.
    if (!opt.save.empty()) {
        if (const FileStatus target = CheckReplaceable(opt.save); !target.Ok()) {
            std::cerr << "quorim-radio: --save: " << target.Message() << "\n";
            return 1;
        }
    }
    std::FILE* tuneLog = nullptr;
    if (!opt.tuneLog.empty()) {
        std::string why;
        tuneLog = OpenTuneLog(opt.tuneLog, why);
        if (tuneLog == nullptr) {
            std::cerr << "quorim-radio: --tune-log: cannot write \"" << opt.tuneLog << "\" (" << why << ")\n";
            return 1;
        }
    }
    MemoryImage memory{};
    bool ninetyNine = opt.model == "199";
    if (!opt.memory.empty()) {
        const FileStatus status = LoadSztFile(opt.memory, memory);
        if (!status.Ok()) {
            std::cerr << "quorim-radio: " << status.Message() << "\n";
            return 1;
        }
        if (opt.model.empty()) {
            ninetyNine = memory[kModelCodeOffset] == kModelCode199;
        }
    } else {
        memory = DefaultMemory(ninetyNine);
    }

    // --master-fd: answer on a pseudo-terminal someone else made (a test bed
    // that puts it behind an emulated USB adapter's device node).
    const int master = opt.masterFd >= 0 ? opt.masterFd : posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || (opt.masterFd < 0 && (grantpt(master) != 0 || unlockpt(master) != 0))) {
        std::perror("quorim-radio: pseudo-terminal");
        return 1;
    }
    const std::string path = ptsname(master);
    // Hold the other side open ourselves, in raw mode, so the line stays up
    // between the program's sessions and nothing is echoed or translated.
    const int slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        std::perror("quorim-radio: open slave");
        return 1;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!opt.link.empty()) {
        if (!OwnLinkTarget(opt.link).empty()) {
            unlink(opt.link.c_str());  // left by a radio that did not end cleanly
        }
        if (symlink(path.c_str(), opt.link.c_str()) != 0) {
            std::perror("quorim-radio: --link");
        }
    }
    std::cout << path << std::endl;
    std::cerr << "quorim-radio: " << (ninetyNine ? "QZ - 199" : "QZ - 16") << " radio on " << path
              << (opt.pace ? " (9600-baud pacing)" : "") << "\n";

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    // The stop signals arrive only inside the wait below: one that came
    // between the loop's check and the wait would otherwise be lost, and the
    // radio would wait on forever.
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);

    // Answer and pace to the microsecond, not to the kernel's default slack.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    radio::RadioModel radio(memory, ninetyNine, opt.faults);
    radio.ackGapMs = opt.ackGap;
    bool dirty = false;
    bool vanished = false;
    double lastActivity = NowMs();
    // Bytes in flight on the modelled wire: each byte is due when its ten
    // bits have passed (at once without pacing).
    struct Timed {
        double due;
        std::uint8_t byte;
    };
    std::deque<Timed> inbound;
    std::deque<Timed> outbound;
    double inboundWireFree = 0;
    double outboundWireFree = 0;

    radio.send = [&](const std::vector<std::uint8_t>& bytes, double delayMs) {
        const double now = NowMs() + delayMs + opt.slowMs;
        for (const std::uint8_t b : bytes) {
            double due = now;
            if (opt.pace) {
                outboundWireFree = std::max(outboundWireFree, now) + kWireByteMs;
                due = outboundWireFree;
            }
            const auto at = std::upper_bound(outbound.begin(), outbound.end(), due,
                                             [](double d, const Timed& t) { return d < t.due; });
            outbound.insert(at, {due, b});
        }
    };
    radio.vanish = [&] { vanished = true; };
    radio.blockWritten = [&](int) { dirty = true; };
    radio.tuned = [&](const TuningRecord& r) {
        const std::string line = "tune " + Hex({r.selector}) + " freq " + Hex(r.frequencyFrame) +
                                 " setting " + Hex(r.settingFrame);
        std::cerr << "quorim-radio: " << line << "\n";
        if (tuneLog != nullptr) {
            std::fprintf(tuneLog, "%s\n", line.c_str());
            std::fflush(tuneLog);
        }
    };
    bool saveFailed = false;
    auto saveMemory = [&] {
        if (dirty && !opt.save.empty()) {
            const FileStatus status = SaveSztFile(opt.save, radio.Memory());
            if (!status.Ok()) {
                std::cerr << "quorim-radio: " << status.Message() << "\n";
                saveFailed = true;
            }
        }
        dirty = false;
    };

    while (!g_stop && !vanished) {
        const double now = NowMs();
        // Deliver what is due, in order.
        while (!outbound.empty() && outbound.front().due <= now) {
            const std::uint8_t b = outbound.front().byte;
            if (write(master, &b, 1) != 1) {
                break;
            }
            outbound.pop_front();
        }
        while (!inbound.empty() && inbound.front().due <= now && !vanished) {
            const Timed t = inbound.front();
            inbound.pop_front();
            radio.OnByte(t.byte, t.due);
        }
        if (vanished) {
            break;
        }
        radio.Tick(now);
        if (dirty && now - lastActivity > 200) {
            saveMemory();
        }
        double next = 1e300;
        if (!outbound.empty()) next = std::min(next, outbound.front().due);
        if (!inbound.empty()) next = std::min(next, inbound.front().due);
        if (radio.NextDeadline() >= 0) next = std::min(next, radio.NextDeadline());
        if (dirty) next = std::min(next, lastActivity + 201);
        timespec ts{};
        timespec* tsp = nullptr;
        if (next < 1e299) {
            const double wait = std::max(0.0, next - NowMs());
            ts.tv_sec = static_cast<time_t>(wait / 1000.0);
            ts.tv_nsec = static_cast<long>(std::fmod(wait, 1000.0) * 1e6);
            tsp = &ts;
        }
        pollfd pfd{master, POLLIN, 0};
        const int rc = ppoll(&pfd, 1, tsp, &waitMask);
        if (rc < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (rc > 0 && (pfd.revents & POLLIN)) {
            std::uint8_t buf[256];
            const ssize_t n = read(master, buf, sizeof buf);
            const double at = NowMs();
            for (ssize_t i = 0; i < n; ++i) {
                if (opt.pace) {
                    inboundWireFree = std::max(inboundWireFree, at) + kWireByteMs;
                    inbound.push_back({inboundWireFree, buf[i]});
                } else {
                    inbound.push_back({at, buf[i]});
                }
            }
            if (n > 0) lastActivity = at;
        }
    }
    saveMemory();
    if (vanished) {
        std::cerr << "quorim-radio: the line vanishes\n";
    }
    if (!opt.link.empty() && OwnLinkTarget(opt.link) == path) {
        unlink(opt.link.c_str());
    }
    close(slave);
    close(master);
    if (tuneLog != nullptr) {
        std::fclose(tuneLog);
    }
    return saveFailed ? 1 : 0;
}
