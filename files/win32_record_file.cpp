#include <windows.h>

#include <mutex>
#include <system_error>

#include "base/utf8_path.h"
#include "files/programming_record.h"

namespace quorim {

namespace {

// The threads of one program take turns; other programs wait on the lock of
// the file's first byte, so that only one of them finds it empty and writes
// the header.
std::mutex g_recordMutex;

std::string Failure(const std::string& path, DWORD err) {
    return RecordFailure(path, std::system_category().message(static_cast<int>(err)));
}

}  // namespace

std::string AppendRecordLine(const std::string& path, const std::string& line) {
    const std::lock_guard lock(g_recordMutex);
    // Appending without FILE_WRITE_DATA: every write goes to the end of the
    // file (reading is asked only because a lock needs it).
    const HANDLE file =
        CreateFileW(Utf8Path(path).c_str(), GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Failure(path, GetLastError());
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return RecordFailure(path, kRecordNotAFile);
    }
    OVERLAPPED whole{};
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
    LARGE_INTEGER size{};
    const std::string text = RecordAppendText(line, GetFileSizeEx(file, &size) && size.QuadPart == 0);
    DWORD written = 0;
    const bool wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
    const DWORD err = GetLastError();
    if (locked) {
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    }
    CloseHandle(file);
    if (!wrote) {
        return Failure(path, err);
    }
    // Fewer bytes taken than given, with no error: the disk filled up.
    return written == text.size() ? std::string() : RecordFailure(path, kRecordDiskFull);
}

}  // namespace quorim
