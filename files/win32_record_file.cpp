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

// Opens the record for appending, making it when it is not there yet
// (`created` then says so). Appending without FILE_WRITE_DATA: every write
// goes to the end of the file (reading is asked only because a lock needs it).
HANDLE OpenRecordFile(const std::wstring& path, bool& created) {
    constexpr DWORD kAccess = GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE;
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    created = false;
    for (;;) {
        const HANDLE file = CreateFileW(path.c_str(), kAccess, kShare, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_NOT_FOUND) {
            return file;
        }
        const HANDLE made =
            CreateFileW(path.c_str(), kAccess, kShare, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            created = made != INVALID_HANDLE_VALUE;
            return made;
        }
    }
}

// A line the disk took only part of is cut back to `size` through a handle
// of its own (the appending one cannot set the end).
void CutBack(const std::wstring& path, LONGLONG size) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER at{};
    at.QuadPart = size;
    if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        SetEndOfFile(file);
    }
    CloseHandle(file);
}

}  // namespace

std::string AppendRecordLine(const std::string& path, const std::string& line) {
    const std::lock_guard lock(g_recordMutex);
    const std::wstring wide = Utf8Path(path).wstring();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return RecordFailure(path, kRecordReadOnly);
    }
    bool created = false;
    const HANDLE file = OpenRecordFile(wide, created);
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
    const bool sized = GetFileSizeEx(file, &size) != 0;
    const std::string text = RecordAppendText(line, sized && size.QuadPart == 0);
    DWORD written = 0;
    const bool wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
    const DWORD err = GetLastError();
    const bool wholeLine = wrote && written == text.size();
    if (!wholeLine && written > 0 && sized) {
        CutBack(wide, size.QuadPart);
    }
    if (locked) {
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    }
    CloseHandle(file);
    // No empty record is left behind by a record that was never written.
    if (!wholeLine && created && sized && size.QuadPart == 0) {
        DeleteFileW(wide.c_str());
    }
    if (!wrote) {
        return err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL ? RecordFailure(path, kRecordDiskFull)
                                                                       : Failure(path, err);
    }
    // Fewer bytes taken than given, with no error: the disk filled up.
    return wholeLine ? std::string() : RecordFailure(path, kRecordDiskFull);
}

}  // namespace quorim
