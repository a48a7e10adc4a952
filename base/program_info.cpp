#include "base/program_info.h"

namespace quorim {

std::string_view ProgramVersion() {
    return QUORIM_VERSION;
}

std::string VersionLine(std::string_view program) {
    return std::string(program) + " " + std::string(ProgramVersion()) + "\n";
}

}  // namespace quorim
