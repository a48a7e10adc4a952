#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "cli/platform.h"

namespace quorim::cli {

namespace {

volatile sig_atomic_t g_interrupted = 0;
void OnInterrupt(int) {
    g_interrupted = 1;
}

}  // namespace

std::vector<std::string> CommandWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void WatchInterrupt() {
    g_interrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigaction(SIGINT, &sa, nullptr);
}

void UnwatchInterrupt() {
    signal(SIGINT, SIG_DFL);
}

bool Interrupted() {
    return g_interrupted != 0;
}

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool FolderTakesFiles(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) && access(folder.c_str(), W_OK) == 0;
}

}  // namespace quorim::cli
