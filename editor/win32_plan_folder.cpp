#include <windows.h>

#include <filesystem>

#include "base/win32_text.h"
#include "editor/channel_plan.h"

namespace quorim {

std::string UserPlanFolder() {
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (n <= 1) return {};
    std::wstring base(n, L'\0');
    base.resize(GetEnvironmentVariableW(L"APPDATA", base.data(), n));
    if (!std::filesystem::path(base).is_absolute()) return {};
    return Utf8FromWide(base + L"\\quorim\\plans");
}

}  // namespace quorim
