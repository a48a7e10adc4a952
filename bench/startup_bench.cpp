// Starts each Qt program offscreen several times and prints the median time
// from process start to its first painted window (the program's
// QUORIM_QUIT_WHEN_SHOWN hook writes "shown" then and ends), and its peak
// memory (maxrss of the ended child). Ratios are against the targets, 300 ms
// and 80 MB; `qt floor`, a bare Qt Widgets program showing one empty window,
// is measured in the same run as what no Qt program here can go below.
//
//   quorim_startup_bench [runs] [program...]   (programs relative to the build;
//   tarvolin_EN.DLL is the programming program started as the English build)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "link/clock.h"

namespace {

using namespace quorim;
using namespace quorim::bench;

constexpr double kTargetMs = 300;
constexpr double kTargetMb = 80;

struct Run {
    bool ok = false;
    double ms = 0;
    double mb = 0;
};

Run StartOnce(const std::string& program, const std::string& home) {
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&fa, home.c_str());
    // Offscreen, with a settings home of its own so that no recent-file list
    // or language choice of the user's changes what is shown.
    std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen",
                                 "QUORIM_QUIT_WHEN_SHOWN=1",
                                 "HOME=" + home,
                                 "XDG_CONFIG_HOME=" + home + "/.config",
                                 "XDG_RUNTIME_DIR=" + home,
                                 "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    RealClock clock;
    const double start = clock.NowMs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return {};
    }
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    const double shown = clock.NowMs() - start;
    close(out[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    Run r;
    r.ok = line == "shown" && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.ms = shown;
    r.mb = static_cast<double>(ru.ru_maxrss) / 1024.0;  // kB
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::vector<std::string> programs;
    for (int i = 2; i < argc; ++i) {
        programs.push_back(argv[i]);
    }
    if (programs.empty()) {
        programs = {"bench/quorim_qt_floor", "Quorim_CH", "tarvolin_EN.DLL", "Tarvolin"};
    }
    char dirTemplate[] = "/tmp/quorim-startup-XXXXXX";
    const char* home = mkdtemp(dirTemplate);
    if (!home) {
        std::perror("mkdtemp");
        return 1;
    }
    std::printf("%-28s %10s %10s %7s  %s\n", "benchmark", "measured", "target", "ratio", "target");
    int failures = 0;
    for (const std::string& name : programs) {
        const std::string path = std::string(QUORIM_BIN_DIR) + "/" + name;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) {
            std::printf("%-28s %10s\n", ("start " + name).c_str(), "(not built)");
            continue;
        }
        std::vector<double> ms, mb;
        StartOnce(path, home);  // warm the file cache: every later start is alike
        for (int i = 0; i < runs; ++i) {
            const Run r = StartOnce(path, home);
            if (!r.ok) {
                std::fprintf(stderr, "%s did not report its first window\n", name.c_str());
                ++failures;
                break;
            }
            ms.push_back(r.ms);
            mb.push_back(r.mb);
        }
        if (ms.empty()) {
            continue;
        }
        const std::string shortName = name.substr(name.rfind('/') + 1);
        const double t = Median(ms), m = Median(mb);
        std::printf("%-28s %8.0fms %8.0fms %7.3f  < 1\n", ("start " + shortName).c_str(), t, kTargetMs,
                    t / kTargetMs);
        std::printf("%-28s %8.1fMB %8.0fMB %7.3f  < 1\n", ("peak memory " + shortName).c_str(), m, kTargetMb,
                    m / kTargetMb);
        std::fflush(stdout);
    }
    std::string cleanup = std::string("rm -rf '") + home + "'";
    if (std::system(cleanup.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", home);
    }
    return failures ? 1 : 0;
}
