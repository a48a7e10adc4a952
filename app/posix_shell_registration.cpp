#include "app/shell_registration.h"

namespace quorim {

// The desktop entry and the MIME type the package installs tie ".szt" to the
// program here; there is no registry to write.
ShellRegistrationResult RegisterShellFileTypes(const std::string&, ShellScope) {
    return ShellRegistrationResult::NotOnThisSystem;
}

ShellRegistrationResult UnregisterShellFileTypes(const std::string&, ShellScope) {
    return ShellRegistrationResult::NotOnThisSystem;
}

}  // namespace quorim
