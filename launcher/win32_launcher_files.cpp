#include <windows.h>

#include <cwchar>
#include <filesystem>

#include "base/utf8_path.h"
#include "base/win32_text.h"
#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"

namespace quorim {

const char kSearchPathSeparator = ';';

std::string OwnExecutablePath(const std::string& fallback) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return fallback;
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return Utf8FromWide(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsWritableFolder(const std::string& folder) {
    // The folder's rights are its access list: the one sure answer is a file
    // made there, gone again when its handle closes.
    if (folder.empty()) {
        return false;
    }
    const std::wstring probe =
        WideFromUtf8(folder) + L"\\~quorim-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

bool IsRunnableFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool StartDetached(const std::string& program) {
    const std::wstring file = WideFromUtf8(program);
    std::wstring commandLine = L"\"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string LocateLauncherIni(const std::string& moduleFileName) {
    const std::string folder = Utf8Text(Utf8Path(moduleFileName).parent_path());
    const wchar_t* appData = _wgetenv(L"APPDATA");
    const std::string configHome = appData ? Utf8FromWide(appData) : std::string();
    return LauncherIniPath(moduleFileName, IsWritableFolder(folder),
                           configHome.empty() ? nullptr : configHome.c_str(), nullptr);
}

}  // namespace quorim
