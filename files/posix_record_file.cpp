#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "files/programming_record.h"

namespace quorim {

namespace {

// The threads of one program take turns; other programs wait on the lock of
// the file itself, so that only one of them finds it empty and writes the
// header.
std::mutex g_recordMutex;

std::string Failure(const std::string& path, int err) {
    return RecordFailure(path, std::strerror(err));
}

}  // namespace

std::string AppendRecordLine(const std::string& path, const std::string& line) {
    const std::lock_guard lock(g_recordMutex);
    // O_NONBLOCK: a FIFO named by mistake does not hang the program; it is
    // refused below.
    const int fd =
        open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (fd < 0) {
        return Failure(path, errno);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return RecordFailure(path, kRecordNotAFile);
    }
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    const std::string text = RecordAppendText(line, fstat(fd, &st) == 0 && st.st_size == 0);
    ssize_t n = -1;
    do {
        n = write(fd, text.data(), text.size());
    } while (n < 0 && errno == EINTR);
    const int err = errno;
    flock(fd, LOCK_UN);
    const bool closed = close(fd) == 0;
    if (n != static_cast<ssize_t>(text.size())) {
        return n < 0 ? Failure(path, err) : RecordFailure(path, kRecordDiskFull);
    }
    return closed ? std::string() : Failure(path, errno);
}

}  // namespace quorim
