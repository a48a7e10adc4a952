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

// Opens the record for appending, making it when it is not there yet
// (`created` then says so). O_NONBLOCK: a FIFO named by mistake does not hang
// the program; it is refused by the caller.
int OpenRecordFile(const std::string& path, bool& created) {
    constexpr int kFlags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    created = false;
    for (;;) {
        const int fd = open(path.c_str(), kFlags);
        if (fd >= 0 || errno != ENOENT) {
            return fd;
        }
        const int made = open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
        if (made >= 0 || errno != EEXIST) {
            created = made >= 0;
            return made;
        }
    }
}

// One write of the whole text, or none: a short write (the disk filled up
// mid-line) is cut back to `size`, so that the next line does not run on
// from a torn one. 0, or the error number (ENOSPC for a short write).
int AppendWhole(int fd, const std::string& text, off_t size) {
    ssize_t n = -1;
    do {
        n = write(fd, text.data(), text.size());
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(text.size())) {
        return 0;
    }
    const int err = n < 0 ? errno : ENOSPC;
    if (n > 0) {
        while (ftruncate(fd, size) != 0 && errno == EINTR) {
        }
    }
    return err;
}

}  // namespace

std::string AppendRecordLine(const std::string& path, const std::string& line) {
    const std::lock_guard lock(g_recordMutex);
    for (;;) {
        bool created = false;
        const int fd = OpenRecordFile(path, created);
        if (fd < 0) {
            return Failure(path, errno);
        }
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            return RecordFailure(path, kRecordNotAFile);
        }
        // As a save refuses it, even for root.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            close(fd);
            return RecordFailure(path, kRecordReadOnly);
        }
        while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // Removed while this program waited for the lock: a writer that had
        // made it found the disk full. Make it afresh.
        if (fstat(fd, &st) == 0 && st.st_nlink == 0) {
            close(fd);
            continue;
        }
        const std::string text = RecordAppendText(line, st.st_size == 0);
        const int err = AppendWhole(fd, text, st.st_size);
        // No empty record is left behind by a record that was never written.
        if (err != 0 && created && st.st_size == 0) {
            unlink(path.c_str());
        }
        flock(fd, LOCK_UN);
        const bool closed = close(fd) == 0;
        if (err != 0) {
            return err == ENOSPC ? RecordFailure(path, kRecordDiskFull) : Failure(path, err);
        }
        return closed ? std::string() : Failure(path, errno);
    }
}

}  // namespace quorim
