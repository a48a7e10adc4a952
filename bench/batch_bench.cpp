// Writes one 16-channel file to 1, 2, 4 and 8 paced virtual radios at once
// (`quorim write --port … --port … FILE`) and prints the time of N radios
// against the time of one, first plain, then with each radio's memory read
// and kept before its write (--snapshot). The work is waiting on the wire, so
// N radios should take hardly longer than one, even on two cores.
//
//   quorim_batch_bench [repeats]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "files/szt_file.h"

namespace {

using namespace quorim;
using namespace quorim::bench;

// Runs the command-line tool to its end, quietly; its time in ms, or a
// negative value when it failed.
double TimeCli(const std::vector<std::string>& args) {
    std::vector<std::string> argv{std::string(QUORIM_BIN_DIR) + "/quorim"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargs;
    for (auto& a : argv) {
        cargs.push_back(a.data());
    }
    cargs.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, cargs[0], &fa, nullptr, cargs.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    int status = 0;
    if (rc != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("quorim-batch-bench-" + std::to_string(getpid()) + ".szt");
    if (!SaveSztFile(file.string(), NewImage()).Ok()) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return 1;
    }
    // The snapshots go into a folder of the bench's own, not the user's.
    const std::filesystem::path data =
        std::filesystem::temp_directory_path() / ("quorim-batch-bench-data-" + std::to_string(getpid()));
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    std::vector<std::unique_ptr<Radio>> radios;
    for (int i = 0; i < 8; ++i) {
        radios.push_back(std::make_unique<Radio>(std::vector<std::string>{"--model", "16", "--pace"}));
    }
    std::printf("%-32s %10s %10s %7s  %s\n", "benchmark", "measured", "1 radio", "ratio", "target");
    int status = 0;
    for (const char* snapshot : {"--no-snapshot", "--snapshot"}) {
        double one = 0;
        for (const int n : {1, 2, 4, 8}) {
            std::vector<std::string> args{"write", snapshot};
            for (int i = 0; i < n; ++i) {
                args.push_back("--port");
                args.push_back(radios[static_cast<std::size_t>(i)]->Path());
            }
            args.push_back(file.string());
            std::vector<double> times;
            for (int r = 0; r < repeats; ++r) {
                const double ms = TimeCli(args);
                if (ms < 0) {
                    std::fprintf(stderr, "batch write %s to %d radios failed\n", snapshot, n);
                    status = 1;
                    break;
                }
                times.push_back(ms);
            }
            if (times.empty()) {
                continue;
            }
            const double median = Median(times);
            if (n == 1) {
                one = median;
            }
            char name[40];
            std::snprintf(name, sizeof name, "batch write%s 16 9600 x%d",
                          std::string(snapshot) == "--snapshot" ? "+snapshot" : "", n);
            std::printf("%-32s %8.0fms %8.0fms %7.3f  %s\n", name, median, one, median / one,
                        n == 8 ? "<= 1.10" : "");
            std::fflush(stdout);
        }
    }
    std::filesystem::remove(file);
    std::filesystem::remove_all(data);
    return status;
}
