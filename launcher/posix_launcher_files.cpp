#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"

namespace quorim {

namespace fs = std::filesystem;

const char kSearchPathSeparator = ':';

std::string OwnExecutablePath(const std::string& fallback) {
    std::error_code ec;
    const fs::path own = fs::read_symlink("/proc/self/exe", ec);
    return ec || own.empty() ? fallback : own.string();
}

bool IsWritableFolder(const std::string& folder) {
    // Writing a file there means creating one beside it and renaming it
    // over the old one: the folder needs write and search rights.
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool IsRunnableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH));
}

bool StartDetached(const std::string& program) {
    // The program is the grandchild, in a session of its own: nobody waits
    // for it. A close-on-exec pipe tells whether the exec itself succeeded.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (child == 0) {
        ::close(fds[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            ::_exit(grandchild < 0 ? 1 : 0);
        }
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::execv(program.c_str(), argv);
        const int error = errno;
        [[maybe_unused]] const ssize_t n = ::write(fds[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n = 0;
    do {
        n = ::read(fds[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(fds[0]);
    return n == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string LocateLauncherIni(const std::string& moduleFileName) {
    const std::string folder = fs::path(moduleFileName).parent_path().string();
    return LauncherIniPath(moduleFileName, IsWritableFolder(folder), std::getenv("XDG_CONFIG_HOME"),
                           std::getenv("HOME"));
}

}  // namespace quorim
