#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorim {

// The program offers the ports "COM1" to "COM4". On this system COMn is:
//  1. the device path in the environment variable QUORIM_COMn, when set;
//  2. otherwise the device the user assigned to COMn in the program's window
//     (its by-id link, so the choice survives re-plugging);
//  3. otherwise the n-th USB serial adapter (/dev/ttyUSB*, then /dev/ttyACM*,
//     each sorted by number);
//  4. otherwise /dev/ttyS(n-1).
// On Windows COMn is the port of that name, unless the user assigned another
// port ("COM7") to it in the window; no variable is read.
// Any other name (a device path such as /dev/pts/3) is taken as it is.
struct PortNameSources {
    std::function<std::optional<std::string>(const std::string&)> getEnv;
    // The device assigned to COMn (n = 1..4), if any.
    std::function<std::optional<std::string>(int)> assigned;
    std::string devDir = "/dev";
    // Windows: an unassigned COMn is the system's port of that name.
    bool comNamesArePorts = false;
};

// The devices the user assigned to COM1..COM4 (empty: none), for this
// process; the window sets them from its settings.
void SetComAssignments(const std::array<std::string, 4>& paths);
std::array<std::string, 4> ComAssignments();

// The process environment, the assignments above and the real /dev (on
// Windows: the assignments and the system's COM ports).
PortNameSources SystemPortNameSources();

// Whether the device a port name resolved to is there now: a file at that
// path (POSIX); a COM port the system knows (Windows).
bool PortDevicePresent(const std::string& device);

// The COM number of "COM1".."COM4" (case-insensitive "com"), else 0.
int ComNumber(const std::string& name);

// USB serial adapters in the order COMn counts them.
std::vector<std::string> UsbSerialDevices(const std::string& devDir);

std::string ResolvePortName(const std::string& name, const PortNameSources& sources);
std::string ResolvePortName(const std::string& name);

// Two port names given together that stand for one device: the same name
// twice, two names that resolve to one path ("COM1" and its $QUORIM_COM1), or
// two paths to one file (a link and what it names).
struct SamePort {
    std::size_t first = 0;
    std::size_t second = 0;
    std::string device;  // what both resolve to
};
std::optional<SamePort> FindSamePort(const std::vector<std::string>& names, const PortNameSources& sources);

// Why a list of ports is refused: "the port "COM1" is given twice" or
// "the ports "COM1" and "/dev/pts/3" are one device (/dev/pts/3)".
std::string SamePortText(const std::vector<std::string>& names, const SamePort& same);

}  // namespace quorim
