#include <signal.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "cli/platform.h"
#include "link/clock.h"

namespace quorim::cli {

namespace {

// Set by the handler on whichever thread the signal lands, read by every
// port's thread.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
void OnInterrupt(int) {
    g_interrupted = true;
    RaiseLinkStop();  // ends the port's waits at once
}

// Ctrl+C, a polite kill and a closed terminal all end a link the same way:
// the port released (its exclusive mode cleared) and nothing written.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

std::vector<std::string> CommandWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void WatchInterrupt() {
    g_interrupted = false;
    ClearLinkStop();
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    for (const int sig : kStopSignals) {
        sigaction(sig, &sa, nullptr);
    }
}

void UnwatchInterrupt() {
    for (const int sig : kStopSignals) {
        signal(sig, SIG_DFL);
    }
}

bool Interrupted() {
    return g_interrupted;
}

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

std::tm LocalTimeOf(std::time_t t) {
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

std::tm UtcTimeOf(std::time_t t) {
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}

bool FolderTakesFiles(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) && access(folder.c_str(), W_OK) == 0;
}

std::string SystemDescription() {
    utsname u{};
    if (uname(&u) != 0) {
        return "unknown";
    }
    return std::string(u.sysname) + " " + u.nodename + " " + u.release + " " + u.version + " " + u.machine;
}

UiLanguage UserLanguage() {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value != nullptr ? value : "");
    };
    return LanguageOfLocale(env("LC_ALL"), env("LC_MESSAGES"), env("LANG"));
}

}  // namespace quorim::cli
