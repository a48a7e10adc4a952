#include <cstdlib>
#include <filesystem>

#include "editor/channel_plan.h"

namespace quorim {

std::string UserPlanFolder() {
    namespace fs = std::filesystem;
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base
    // directory rules ask.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config != nullptr && fs::path(config).is_absolute()) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') return {};
        base = fs::path(home) / ".config";
    }
    return (base / "quorim" / "plans").string();
}

}  // namespace quorim
