#include <sys/stat.h>

#include <cstdlib>

#include "link/port_names.h"

namespace quorim {

PortNameSources SystemPortNameSources() {
    PortNameSources sources;
    sources.getEnv = [](const std::string& key) -> std::optional<std::string> {
        const char* value = std::getenv(key.c_str());
        if (value == nullptr || *value == '\0') {
            return std::nullopt;
        }
        return std::string(value);
    };
    sources.assigned = [](int n) -> std::optional<std::string> {
        const std::string path = ComAssignments()[static_cast<std::size_t>(n) - 1];
        return path.empty() ? std::nullopt : std::optional<std::string>(path);
    };
    return sources;
}

bool PortDevicePresent(const std::string& device) {
    struct stat st {};
    return !device.empty() && ::stat(device.c_str(), &st) == 0;
}

}  // namespace quorim
