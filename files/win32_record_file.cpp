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
    return "The record \"" + path + "\" could not be written (" +
           std::system_category().message(static_cast<int>(err)) + ")";
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
        return "The record \"" + path + "\" could not be written (it is not a regular file)";
    }
    OVERLAPPED whole{};
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
    std::string text = line;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart == 0) {
        text.insert(0, kRecordHeader);
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
                    written == text.size();
    const DWORD err = GetLastError();
    if (locked) {
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    }
    CloseHandle(file);
    return ok ? std::string() : Failure(path, err);
}

}  // namespace quorim
