#pragma once
// What the benchmark programs share: the virtual radio as a child process,
// and medians.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace quorim::bench {

// One byte at 9600 baud, 8N1: ten bits.
inline constexpr double kWireByteMs = 10.0 * 1000.0 / 9600.0;

// quorim-radio from this build, started with `args`; Path() is its link.
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
        const int rc = posix_spawn(&m_pid, argv[0], &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        close(out[1]);
        if (rc != 0) {
            close(out[0]);
            throw std::runtime_error("cannot start quorim-radio");
        }
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') {
            m_path += c;
        }
        close(out[0]);
    }
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;
    ~Radio() {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = 0;
    std::string m_path;
};

inline double Median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace quorim::bench
