#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/core/test_util.h"

extern char** environ;

namespace quorim::e2e {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};

// Runs a program to its end, with extra environment entries ("KEY=VALUE"),
// collecting its stdout and stderr.
// `whileRunning`, when given, is called with the child's id once it runs
// (to signal it, for example).
inline ProcessResult RunProgram(const std::vector<std::string>& argv,
                                const std::vector<std::string>& env = {},
                                const std::function<void(pid_t)>& whileRunning = {}) {
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    // An entry of `env` replaces an inherited one of the same name, and a
    // later entry of `env` an earlier one.
    std::vector<std::string> envStrings;
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    const auto add = [&](const std::string& entry) {
        const std::string name = nameOf(entry);
        std::erase_if(envStrings, [&](const std::string& e) { return nameOf(e) == name; });
        envStrings.push_back(entry);
    };
    for (char** e = environ; *e != nullptr; ++e) {
        envStrings.emplace_back(*e);
    }
    for (const auto& e : env) {
        add(e);
    }
    std::vector<char*> envp;
    for (auto& e : envStrings) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
        throw std::runtime_error("spawn " + argv[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (whileRunning) {
        whileRunning(pid);
    }
    ProcessResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        poll(fds, 2, -1);
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && fds[i].revents != 0) {
                char buf[4096];
                const ssize_t n = read(fds[i].fd, buf, sizeof buf);
                if (n <= 0) {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                } else {
                    (i == 0 ? result.out : result.err).append(buf, static_cast<std::size_t>(n));
                }
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

// Type, mode and content (a link's text) of every entry of a folder.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        struct stat st {};
        lstat(e.path().c_str(), &st);
        std::string content = std::to_string(st.st_mode) + ":";
        if (S_ISREG(st.st_mode)) {
            const auto bytes = test::ReadBytes(e.path());
            content.append(bytes.begin(), bytes.end());
        } else if (S_ISLNK(st.st_mode)) {
            content += std::filesystem::read_symlink(e.path()).string();
        }
        entries[e.path().filename().string()] = content;
    }
    return entries;
}

// The data folder the tests' reads keep their backups in, never the user's.
inline const test::TempDir& TestDataHome() {
    static const test::TempDir dir;
    return dir;
}

// The command line speaks the locale's language; the tests hear Chinese unless
// they ask otherwise (LC_MESSAGES decides, and leaves the character set alone).
inline const std::vector<std::string> kChineseLocale{"LC_ALL=", "LC_MESSAGES=zh_CN.UTF-8"};
inline const std::vector<std::string> kEnglishLocale{"LC_ALL=", "LC_MESSAGES=", "LANG=en_US.UTF-8"};

inline ProcessResult RunCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                            const std::function<void(pid_t)>& whileRunning = {}) {
    // QUORIM_CLI names another program to run in its place (scripts/windows.sh
    // runs these tests against the Windows program under Wine this way).
    const char* other = std::getenv("QUORIM_CLI");
    std::vector<std::string> argv{other != nullptr && *other != '\0' ? other : QUORIM_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> fullEnv = kChineseLocale;
    fullEnv.push_back("XDG_DATA_HOME=" + TestDataHome().Path().string());
    fullEnv.insert(fullEnv.end(), env.begin(), env.end());  // later entries win
    return RunProgram(argv, fullEnv, whileRunning);
}

// The virtual radio, running for the life of the object; on its own
// pseudo-terminal, or on the one whose master side is `masterFd`.
class VirtualRadio {
public:
    explicit VirtualRadio(const std::vector<std::string>& args, int masterFd = -1) {
        int outPipe[2];
        if (pipe2(outPipe, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> argv{std::string(QUORIM_BIN_DIR) + "/quorim-radio"};
        argv.insert(argv.end(), args.begin(), args.end());
        if (masterFd >= 0) {
            const int target = masterFd == 9 ? 8 : 9;
            posix_spawn_file_actions_adddup2(&actions, masterFd, target);
            argv.insert(argv.end(), {"--master-fd", std::to_string(target)});
        }
        std::vector<char*> cargs;
        for (auto& a : argv) {
            cargs.push_back(a.data());
        }
        cargs.push_back(nullptr);
        if (posix_spawn(&m_pid, cargs[0], &actions, nullptr, cargs.data(), environ) != 0) {
            throw std::runtime_error("spawn quorim-radio");
        }
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        char c = 0;
        while (read(outPipe[0], &c, 1) == 1 && c != '\n') {
            m_path += c;
        }
        close(outPipe[0]);
        if (m_path.empty()) {
            throw std::runtime_error("quorim-radio printed no device");
        }
    }
    ~VirtualRadio() { Stop(); }
    VirtualRadio(const VirtualRadio&) = delete;
    VirtualRadio& operator=(const VirtualRadio&) = delete;

    const std::string& Path() const { return m_path; }
    pid_t Pid() const { return m_pid; }
    // Ends the radio (it saves what was written to it) and returns its status.
    int Stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, &m_status, 0);
            m_pid = 0;
        }
        return m_status;
    }

private:
    pid_t m_pid = 0;
    int m_status = 0;
    std::string m_path;
};

// A process running under another program's name (as the system shows it
// in /proc/PID/comm), holding `path` open when one is given, as ModemManager
// or a braille driver would; it ends with the object.
class NamedProcess {
public:
    explicit NamedProcess(const char* name, const std::string& path = {}) {
        int ready[2];
        if (pipe(ready) != 0) {
            throw std::runtime_error("pipe");
        }
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_NAME, name);
            const bool ok = path.empty() || open(path.c_str(), O_RDWR | O_NOCTTY) >= 0;
            (void)!write(ready[1], ok ? "1" : "0", 1);
            pause();
            _exit(0);
        }
        char c = 0;
        (void)!read(ready[0], &c, 1);
        close(ready[0]);
        close(ready[1]);
        if (c != '1') {
            throw std::runtime_error("the process could not open " + path);
        }
    }
    ~NamedProcess() {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    NamedProcess(const NamedProcess&) = delete;
    NamedProcess& operator=(const NamedProcess&) = delete;
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = 0;
};

// A full disk: a 64 KiB tmpfs made at `path` for the life of the object
// (only root can mount it; Mounted() says whether it is there).
class SmallDisk {
public:
    explicit SmallDisk(std::string path) : m_path(std::move(path)) {
        std::filesystem::create_directory(m_path);
        m_mounted = mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (m_mounted) {
            umount(m_path.c_str());
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return m_mounted; }

private:
    std::string m_path;
    bool m_mounted = false;
};

}  // namespace quorim::e2e
