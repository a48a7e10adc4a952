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
#include <utility>
#include <vector>

#include "base/program_info.h"
#include "editor/codec.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "radio/radio_model.h"
#include "text/ascii_text.h"

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

// The command line, one option at a time.
class Arguments {
public:
    Arguments(int argc, char** argv) : m_argc(argc), m_argv(argv) {}
    bool Next(std::string& arg) {
        if (++m_i >= m_argc) {
            return false;
        }
        arg = m_argv[m_i];
        return true;
    }
    // The option's value: the next argument, which must be there.
    bool Value(std::string& out) { return Next(out); }

private:
    int m_argc;
    char** m_argv;
    int m_i = 0;
};

enum class Parsed { Ok, Bad, Unknown };

Parsed Check(bool ok) {
    return ok ? Parsed::Ok : Parsed::Bad;
}

// "K:N" with both parts whole numbers.
bool ParsePair(const std::string& v, int& first, int& second) {
    const auto colon = v.find(':');
    return colon != std::string::npos && ParseInt(v.substr(0, colon), first) &&
           ParseInt(v.substr(colon + 1), second);
}

// Up to 16 bytes in hexadecimal, blanks allowed: "51 5A 30 31 39 56 31 30".
bool ParseHexBytes(const std::string& v, std::vector<std::uint8_t>& out) {
    std::string digits;
    for (const char c : v) {
        if (c != ' ') digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0 || digits.size() > 32 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    out.clear();
    for (std::size_t k = 0; k < digits.size(); k += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(k, 2), nullptr, 16)));
    }
    return true;
}

// The options of the radio and its line (not its faults).
Parsed ParseLineOption(const std::string& arg, Arguments& in, Options& o) {
    std::string v;
    int n = 0;
    if (arg == "--pace") {
        o.pace = true;
        return Parsed::Ok;
    }
    if (arg == "--model") {
        return Check(in.Value(o.model) && (o.model == "16" || o.model == "199"));
    }
    for (auto [name, out] : {std::pair{"--memory", &o.memory}, std::pair{"--save", &o.save},
                             std::pair{"--link", &o.link}, std::pair{"--tune-log", &o.tuneLog}}) {
        if (arg == name) {
            return Check(in.Value(*out));
        }
    }
    if (arg == "--master-fd") {
        return Check(in.Value(v) && ParseInt(v, o.masterFd) && o.masterFd >= 0);
    }
    if (arg == "--ack-gap" || arg == "--slow") {
        if (!in.Value(v) || !ParseInt(v, n) || n < 0) return Parsed::Bad;
        (arg == "--ack-gap" ? o.ackGap : o.slowMs) = n;
        return Parsed::Ok;
    }
    return Parsed::Unknown;
}

// The faults of the opening and the identification.
Parsed ParseOpeningFault(const std::string& arg, Arguments& in, Faults& f) {
    std::string v;
    int n = 0;
    if (arg == "--silent") {
        if (!in.Value(v)) return Parsed::Bad;
        if (v == "all") {
            f.silentWakeUps = -1;
            return Parsed::Ok;
        }
        return Check(ParseInt(v, f.silentWakeUps) && f.silentWakeUps >= 0);
    }
    if (arg == "--stray") {
        if (!in.Value(v) || !ParseInt(v, n) || n < 0 || n > 8) return Parsed::Bad;
        f.strayBeforeAck.assign(static_cast<std::size_t>(n), 0x55);
        return Parsed::Ok;
    }
    if (arg == "--vanish-at") {
        return Check(in.Value(f.vanishAt) && (f.vanishAt == "wake" || f.vanishAt == "ident" ||
                                              f.vanishAt == "ident-ack" || f.vanishAt == "tune"));
    }
    if (arg == "--bad-ident-ack" || arg == "--garbage" || arg == "--echo") {
        (arg == "--bad-ident-ack" ? f.badIdentAck : arg == "--garbage" ? f.garbage : f.echo) = true;
        return Parsed::Ok;
    }
    if (arg == "--ident") {
        return Check(in.Value(v) && ParseHexBytes(v, f.identification));
    }
    return Parsed::Unknown;
}

// The faults of the blocks and the tuning frames.
Parsed ParseBlockFault(const std::string& arg, Arguments& in, Faults& f) {
    std::string v;
    if (arg == "--short-reply") {
        int len = 0;
        if (!in.Value(v) || !ParsePair(v, f.shortReplyBlock, len) || len < 0 || len > 11) return Parsed::Bad;
        f.shortReplyLength = static_cast<std::size_t>(len);
        return Parsed::Ok;
    }
    for (auto [name, out] :
         {std::pair{"--nak-read", &f.nakReadBlock}, std::pair{"--nak-write", &f.nakWriteBlock},
          std::pair{"--vanish", &f.vanishBlock}}) {
        if (arg == name) {
            return Check(in.Value(v) && ParseInt(v, *out));
        }
    }
    if (arg == "--corrupt") {
        return Check(in.Value(v) && ParseInt(v, f.corruptAddress) && f.corruptAddress >= 0 &&
                     f.corruptAddress < static_cast<int>(kImageSize));
    }
    if (arg == "--late-write" || arg == "--tune-late") {
        int k = 0, ms = 0;
        if (!in.Value(v) || !ParsePair(v, k, ms) || k < 0 || ms < 0) return Parsed::Bad;
        (arg == "--late-write" ? f.lateWriteBlock : f.lateTuneStep) = k;
        f.lateMs = ms;
        return Parsed::Ok;
    }
    if (arg == "--tune-bad-confirm") {
        return Check(in.Value(v) && ParseInt(v, f.badConfirmStep) && f.badConfirmStep >= 1 &&
                     f.badConfirmStep <= 3);
    }
    return Parsed::Unknown;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    Arguments in(argc, argv);
    for (std::string arg; in.Next(arg);) {
        Parsed parsed = ParseLineOption(arg, in, o);
        if (parsed == Parsed::Unknown) parsed = ParseOpeningFault(arg, in, o.faults);
        if (parsed == Parsed::Unknown) parsed = ParseBlockFault(arg, in, o.faults);
        if (parsed != Parsed::Ok) {
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
    doc.m_image[kBandCodeOffset] = kBandCodeBase + 5;  // "430 - 450MHZ", where the channels are
    if (ninetyNine) {
        doc.ChangeLayout(quorim::RadioModel::Qz199);  // channels 60 and 61 empty, too
    }
    return doc.m_image;
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

const char* const kHelp =
    "\nA virtual QZ radio on a pseudo-terminal: prints the device path, then answers clone\n"
    "reads and writes and tuning sessions until it is stopped. See quorim-radio(1).\n"
    "  -h, --help  show this help;  --version  show the version\n"
    "Exit status: 0 when it ends (on SIGINT, SIGTERM or a --vanish fault), 1 when the memory\n"
    "file, the --save or --tune-log file or the pseudo-terminal fails, 2 on a usage error.\n";

// --help and --version, wherever they stand: the exit status, or -1 when
// neither is asked for.
int AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << kHelp;
            return 0;
        }
        if (arg == "--version") {
            std::cout << VersionLine("quorim-radio");
            return 0;
        }
    }
    return -1;
}

// What the radio will write must be writable, told before it starts: the
// link's place, the --save file and the tuning log (opened here).
bool CheckOutputs(const Options& opt, std::FILE*& tuneLog) {
    if (struct stat st{};
        !opt.link.empty() && lstat(opt.link.c_str(), &st) == 0 && OwnLinkTarget(opt.link).empty()) {
        std::cerr << "quorim-radio: --link: \"" << opt.link
                  << "\" exists and is not a link this program made; it was left as it is\n";
        return false;
    }
    if (!opt.save.empty()) {
        if (const FileStatus target = CheckReplaceable(opt.save); !target.Ok()) {
            std::cerr << "quorim-radio: --save: " << target.Message() << "\n";
            return false;
        }
    }
    if (!opt.tuneLog.empty()) {
        std::string why;
        tuneLog = OpenTuneLog(opt.tuneLog, why);
        if (tuneLog == nullptr) {
            std::cerr << "quorim-radio: --tune-log: cannot write \"" << opt.tuneLog << "\" (" << why << ")\n";
            return false;
        }
    }
    return true;
}

// The radio's memory: the --memory file (its model code decides the model
// unless --model does), or a few channels of the model asked for.
bool LoadMemory(const Options& opt, MemoryImage& memory, bool& ninetyNine) {
    ninetyNine = opt.model == "199";
    if (opt.memory.empty()) {
        memory = DefaultMemory(ninetyNine);
        return true;
    }
    const FileStatus status = LoadSztFile(opt.memory, memory);
    if (!status.Ok()) {
        std::cerr << "quorim-radio: " << status.Message() << "\n";
        return false;
    }
    if (opt.model.empty()) {
        ninetyNine = memory[kModelCodeOffset] == kModelCode199;
    }
    return true;
}

struct Pty {
    int master = -1;
    int slave = -1;
    std::string path;
};

// The pseudo-terminal the radio answers on, and the --link to it.
bool OpenPty(const Options& opt, Pty& pty) {
    // --master-fd: answer on a pseudo-terminal someone else made (a test bed
    // that puts it behind an emulated USB adapter's device node).
    const int master = opt.masterFd >= 0 ? opt.masterFd : posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || (opt.masterFd < 0 && (grantpt(master) != 0 || unlockpt(master) != 0))) {
        std::perror("quorim-radio: pseudo-terminal");
        return false;
    }
    pty.master = master;
    pty.path = ptsname(master);
    // Hold the other side open ourselves, in raw mode, so the line stays up
    // between the program's sessions and nothing is echoed or translated.
    pty.slave = open(pty.path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.slave < 0) {
        std::perror("quorim-radio: open slave");
        return false;
    }
    termios tio{};
    tcgetattr(pty.slave, &tio);
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(pty.slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!opt.link.empty()) {
        if (!OwnLinkTarget(opt.link).empty()) {
            unlink(opt.link.c_str());  // left by a radio that did not end cleanly
        }
        if (symlink(pty.path.c_str(), opt.link.c_str()) != 0) {
            std::perror("quorim-radio: --link");
        }
    }
    return true;
}

// SIGINT and SIGTERM set g_stop. They arrive only inside the wait of the
// radio's loop (the mask returned): one that came between the loop's check
// and the wait would otherwise be lost, and the radio would wait on forever.
sigset_t CatchStopSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    return waitMask;
}

// The radio model on the pseudo-terminal in real time: bytes in flight on the
// modelled wire in both directions, each due when its ten bits have passed
// (at once without pacing), and the memory saved once the line is quiet.
class RadioLine {
public:
    RadioLine(const Options& opt, radio::RadioModel& radio, int master, std::FILE* tuneLog)
        : m_opt(opt), m_radio(radio), m_master(master), m_tuneLog(tuneLog) {
        radio.send = [this](const std::vector<std::uint8_t>& bytes, double delayMs) { Send(bytes, delayMs); };
        radio.vanish = [this] { m_vanished = true; };
        radio.blockWritten = [this](int, const std::vector<std::uint8_t>&) { m_dirty = true; };
        radio.tuned = [this](const TuningRecord& r) { Tuned(r); };
    }

    // Answers until a stop signal or a vanish fault.
    void Run(const sigset_t& waitMask) {
        while (!g_stop && !m_vanished) {
            const double now = NowMs();
            if (!Deliver(now)) {
                break;
            }
            m_radio.Tick(now);
            if (m_dirty && now - m_lastActivity > 200) {
                SaveMemory();
            }
            if (!WaitAndHear(waitMask)) {
                break;
            }
        }
        SaveMemory();
    }
    bool Vanished() const { return m_vanished; }
    bool SaveFailed() const { return m_saveFailed; }

private:
    struct Timed {
        double due;
        std::uint8_t byte;
    };

    void Send(const std::vector<std::uint8_t>& bytes, double delayMs) {
        const double now = NowMs() + delayMs + m_opt.slowMs;
        for (const std::uint8_t b : bytes) {
            double due = now;
            if (m_opt.pace) {
                m_outboundWireFree = std::max(m_outboundWireFree, now) + kWireByteMs;
                due = m_outboundWireFree;
            }
            const auto at = std::upper_bound(m_outbound.begin(), m_outbound.end(), due,
                                             [](double d, const Timed& t) { return d < t.due; });
            m_outbound.insert(at, {due, b});
        }
    }

    void Tuned(const TuningRecord& r) {
        const std::string line = "tune " + HexBytes({r.selector}) + " freq " + HexBytes(r.frequencyFrame) +
                                 " setting " + HexBytes(r.settingFrame);
        std::cerr << "quorim-radio: " << line << "\n";
        if (m_tuneLog != nullptr) {
            std::fprintf(m_tuneLog, "%s\n", line.c_str());
            std::fflush(m_tuneLog);
        }
    }

    void SaveMemory() {
        if (m_dirty && !m_opt.save.empty()) {
            const FileStatus status = SaveSztFile(m_opt.save, m_radio.Memory());
            if (!status.Ok()) {
                std::cerr << "quorim-radio: " << status.Message() << "\n";
                m_saveFailed = true;
            }
        }
        m_dirty = false;
    }

    // Delivers what is due, in order, both ways; false once the line vanished.
    bool Deliver(double now) {
        while (!m_outbound.empty() && m_outbound.front().due <= now) {
            const std::uint8_t b = m_outbound.front().byte;
            if (write(m_master, &b, 1) != 1) {
                break;
            }
            m_outbound.pop_front();
        }
        while (!m_inbound.empty() && m_inbound.front().due <= now && !m_vanished) {
            const Timed t = m_inbound.front();
            m_inbound.pop_front();
            m_radio.OnByte(t.byte, t.due);
        }
        return !m_vanished;
    }

    // Waits for the next byte due, the radio's own deadline, the save or a
    // byte from the program, and takes in what came; false to end the loop.
    bool WaitAndHear(const sigset_t& waitMask) {
        double next = 1e300;
        if (!m_outbound.empty()) next = std::min(next, m_outbound.front().due);
        if (!m_inbound.empty()) next = std::min(next, m_inbound.front().due);
        if (m_radio.NextDeadline() >= 0) next = std::min(next, m_radio.NextDeadline());
        if (m_dirty) next = std::min(next, m_lastActivity + 201);
        timespec ts{};
        timespec* tsp = nullptr;
        if (next < 1e299) {
            const double wait = std::max(0.0, next - NowMs());
            ts.tv_sec = static_cast<time_t>(wait / 1000.0);
            ts.tv_nsec = static_cast<long>(std::fmod(wait, 1000.0) * 1e6);
            tsp = &ts;
        }
        pollfd pfd{m_master, POLLIN, 0};
        const int rc = ppoll(&pfd, 1, tsp, &waitMask);
        if (rc < 0) {
            return errno == EINTR;
        }
        if (rc > 0 && (pfd.revents & POLLIN)) {
            Hear();
        }
        return true;
    }

    void Hear() {
        std::uint8_t buf[256];
        const ssize_t n = read(m_master, buf, sizeof buf);
        const double at = NowMs();
        for (ssize_t i = 0; i < n; ++i) {
            if (m_opt.pace) {
                m_inboundWireFree = std::max(m_inboundWireFree, at) + kWireByteMs;
                m_inbound.push_back({m_inboundWireFree, buf[i]});
            } else {
                m_inbound.push_back({at, buf[i]});
            }
        }
        if (n > 0) m_lastActivity = at;
    }

    const Options& m_opt;
    radio::RadioModel& m_radio;
    int m_master;
    std::FILE* m_tuneLog;
    bool m_dirty = false;
    bool m_vanished = false;
    bool m_saveFailed = false;
    double m_lastActivity = NowMs();
    std::deque<Timed> m_inbound;
    std::deque<Timed> m_outbound;
    double m_inboundWireFree = 0;
    double m_outboundWireFree = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (const int status = AnswerHelpOrVersion(argc, argv); status >= 0) {
        return status;
    }
    Options opt;
    if (!ParseOptions(argc, argv, opt)) {
        std::cerr << kUsage;
        return 2;
    }
    std::FILE* tuneLog = nullptr;
    MemoryImage memory{};
    bool ninetyNine = false;
    Pty pty;
    if (!CheckOutputs(opt, tuneLog) || !LoadMemory(opt, memory, ninetyNine) || !OpenPty(opt, pty)) {
        return 1;
    }
    std::cout << pty.path << std::endl;
    std::cerr << "quorim-radio: " << (ninetyNine ? "QZ - 199" : "QZ - 16") << " radio on " << pty.path
              << (opt.pace ? " (9600-baud pacing)" : "") << "\n";

    const sigset_t waitMask = CatchStopSignals();
    // Answer and pace to the microsecond, not to the kernel's default slack.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    radio::RadioModel radio(memory, ninetyNine, opt.faults);
    radio.ackGapMs = opt.ackGap;
    RadioLine line(opt, radio, pty.master, tuneLog);
    line.Run(waitMask);
    if (line.Vanished()) {
        std::cerr << "quorim-radio: the line vanishes\n";
    }
    if (!opt.link.empty() && OwnLinkTarget(opt.link) == pty.path) {
        unlink(opt.link.c_str());
    }
    close(pty.slave);
    close(pty.master);
    if (tuneLog != nullptr) {
        std::fclose(tuneLog);
    }
    return line.SaveFailed() ? 1 : 0;
}
