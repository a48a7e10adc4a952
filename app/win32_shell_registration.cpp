#include <shlobj.h>
#include <windows.h>

#include "app/shell_registration.h"
#include "base/win32_text.h"

namespace quorim {

namespace {

HKEY ClassesRoot(ShellScope scope, REGSAM access, bool create) {
    const HKEY root = scope == ShellScope::AllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    const LONG rc =
        create ? RegCreateKeyExW(root, L"Software\\Classes", 0, nullptr, 0, access, nullptr, &key, nullptr)
               : RegOpenKeyExW(root, L"Software\\Classes", 0, access, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

// The key's default value, or nothing when the key or its value is missing.
bool ReadDefault(HKEY classes, const std::string& key, std::wstring& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    const std::wstring name = WideFromUtf8(key);
    if (RegGetValueW(classes, name.c_str(), nullptr, RRF_RT_REG_SZ, &type, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(classes, name.c_str(), nullptr, RRF_RT_REG_SZ, &type, text.data(), &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    value = text;
    return true;
}

bool WriteDefault(HKEY classes, const std::string& key, const std::wstring& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(classes, WideFromUtf8(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG rc = RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

}  // namespace

ShellRegistrationResult RegisterShellFileTypes(const std::string& program, ShellScope scope) {
    const HKEY classes = ClassesRoot(scope, KEY_READ | KEY_WRITE, true);
    if (!classes) {
        return ShellRegistrationResult::Failed;
    }
    bool changed = false;
    bool ok = true;
    for (const ShellValue& v : ShellRegistration(program)) {
        const std::wstring wanted = WideFromUtf8(v.data);
        std::wstring now;
        if (ReadDefault(classes, v.key, now) && now == wanted) {
            continue;
        }
        changed = true;
        ok = WriteDefault(classes, v.key, wanted) && ok;
    }
    RegCloseKey(classes);
    if (changed) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    if (!ok) {
        return ShellRegistrationResult::Failed;
    }
    return changed ? ShellRegistrationResult::Written : ShellRegistrationResult::Unchanged;
}

ShellRegistrationResult UnregisterShellFileTypes(const std::string& program, ShellScope scope) {
    const HKEY classes = ClassesRoot(scope, KEY_READ | KEY_WRITE | DELETE, false);
    if (!classes) {
        return ShellRegistrationResult::Unchanged;
    }
    const std::vector<ShellValue> ours = ShellRegistration(program);
    // Another program's registration of the type is not ours to remove.
    std::wstring open;
    const ShellValue& openCommand = ours[2];
    if (!ReadDefault(classes, openCommand.key, open) || open != WideFromUtf8(openCommand.data)) {
        RegCloseKey(classes);
        return ShellRegistrationResult::Unchanged;
    }
    const ShellValue& extension = ours.back();
    for (const std::string& key : ShellRegistrationKeys()) {
        if (key == extension.key) {
            std::wstring type;
            if (!ReadDefault(classes, key, type) || type != WideFromUtf8(extension.data)) {
                continue;
            }
        }
        RegDeleteKeyW(classes, WideFromUtf8(key).c_str());
    }
    RegCloseKey(classes);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ShellRegistrationResult::Written;
}

}  // namespace quorim
