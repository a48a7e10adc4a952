#include <windows.h>

#include "base/win32_text.h"
#include "link/port_names.h"

namespace quorim {

PortNameSources SystemPortNameSources() {
    PortNameSources sources;
    sources.assigned = [](int n) -> std::optional<std::string> {
        const std::string port = ComAssignments()[static_cast<std::size_t>(n) - 1];
        return port.empty() ? std::nullopt : std::optional<std::string>(port);
    };
    sources.comNamesArePorts = true;
    return sources;
}

bool PortDevicePresent(const std::string& device) {
    // A COM port the system knows has an entry in its device name space.
    std::string name = device;
    if (name.rfind("\\\\.\\", 0) == 0) {
        name = name.substr(4);
    }
    wchar_t target[512];
    if (!name.empty() && QueryDosDeviceW(WideFromUtf8(name).c_str(), target, 512) != 0) {
        return true;
    }
    return GetFileAttributesW(WideFromUtf8(device).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace quorim
