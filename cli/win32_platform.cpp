#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "base/win32_text.h"
#include "cli/platform.h"
#include "link/clock.h"

namespace quorim::cli {

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        g_interrupted = true;
        RaiseLinkStop();  // ends the port's waits at once
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::vector<std::string> CommandWords(int, char**) {
    // Output byte for byte ("\n" stays "\n"), in UTF-8 on the console, and a
    // progress line redrawn in place.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(err, &mode)) {
        SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
    // The words as typed, whatever the system's code page: from the wide
    // command line.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) {
        words.push_back(Utf8FromWide(wide[i]));
    }
    LocalFree(wide);
    return words;
}

void WatchInterrupt() {
    g_interrupted = false;
    ClearLinkStop();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void UnwatchInterrupt() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

bool Interrupted() {
    return g_interrupted;
}

bool StderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

std::tm LocalTimeOf(std::time_t t) {
    std::tm out{};
    localtime_s(&out, &t);
    return out;
}

std::tm UtcTimeOf(std::time_t t) {
    std::tm out{};
    gmtime_s(&out, &t);
    return out;
}

bool FolderTakesFiles(const std::string& folder) {
    const std::wstring wide = WideFromUtf8(folder);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           _waccess(wide.c_str(), 2) == 0;
}

std::string SystemDescription() {
    // GetVersionEx reports what the program's manifest allows; the build
    // number from the registry is what the system really is.
    wchar_t build[64] = {};
    DWORD size = sizeof build;
    const bool found = RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                    L"CurrentBuild", RRF_RT_REG_SZ, nullptr, build, &size) == ERROR_SUCCESS;
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    const char* arch = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64   ? "x86_64"
                       : info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ? "arm64"
                                                                                     : "x86";
    return std::string("Windows build ") + (found ? Utf8FromWide(build) : std::string("unknown")) + " " +
           arch;
}

UiLanguage UserLanguage() {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value != nullptr ? value : "");
    };
    if (!env("LC_ALL").empty() || !env("LC_MESSAGES").empty() || !env("LANG").empty()) {
        return LanguageOfLocale(env("LC_ALL"), env("LC_MESSAGES"), env("LANG"));
    }
    // The language the user chose for Windows' own menus and dialogs.
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? UiLanguage::Chinese
                                                                     : UiLanguage::English;
}

}  // namespace quorim::cli
