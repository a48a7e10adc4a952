#include "link/port_names.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "files/safe_file.h"

namespace quorim {

namespace {

// "ttyUSB10" sorts after "ttyUSB9".
bool NumericLess(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

std::vector<std::string> DevicesWithPrefix(const std::string& devDir, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(devDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), NumericLess);
    for (auto& name : names) {
        name = devDir + "/" + name;
    }
    return names;
}

std::array<std::string, 4>& AssignmentTable() {
    static std::array<std::string, 4> table;
    return table;
}

}  // namespace

void SetComAssignments(const std::array<std::string, 4>& paths) {
    AssignmentTable() = paths;
}

std::array<std::string, 4> ComAssignments() {
    return AssignmentTable();
}

int ComNumber(const std::string& name) {
    if (name.size() != 4) {
        return 0;
    }
    const std::string head = name.substr(0, 3);
    if (head != "COM" && head != "com" && head != "Com") {
        return 0;
    }
    const char digit = name[3];
    return digit >= '1' && digit <= '4' ? digit - '0' : 0;
}

std::vector<std::string> UsbSerialDevices(const std::string& devDir) {
    std::vector<std::string> devices = DevicesWithPrefix(devDir, "ttyUSB");
    const std::vector<std::string> acm = DevicesWithPrefix(devDir, "ttyACM");
    devices.insert(devices.end(), acm.begin(), acm.end());
    return devices;
}

std::string ResolvePortName(const std::string& name, const PortNameSources& sources) {
    const int n = ComNumber(name);
    if (n == 0) {
        return name;
    }
    if (sources.getEnv) {
        if (auto path = sources.getEnv("QUORIM_COM" + std::to_string(n))) {
            return *path;
        }
    }
    if (sources.assigned) {
        if (auto path = sources.assigned(n)) {
            return *path;
        }
    }
    if (sources.comNamesArePorts) {
        return name;
    }
    const std::vector<std::string> usb = UsbSerialDevices(sources.devDir);
    if (static_cast<std::size_t>(n) <= usb.size()) {
        return usb[static_cast<std::size_t>(n) - 1];
    }
    return sources.devDir + "/ttyS" + std::to_string(n - 1);
}

std::string ResolvePortName(const std::string& name) {
    return ResolvePortName(name, SystemPortNameSources());
}

std::optional<SamePort> FindSamePort(const std::vector<std::string>& names, const PortNameSources& sources) {
    std::vector<std::filesystem::path> devices;
    for (const std::string& name : names) {
        devices.push_back(std::filesystem::path(ResolvePortName(name, sources)).lexically_normal());
    }
    for (std::size_t j = 1; j < names.size(); ++j) {
        for (std::size_t i = 0; i < j; ++i) {
            // Devices are no files to std::filesystem::equivalent: their
            // nodes are compared by device and inode.
            if (devices[i] == devices[j] || SameFile(devices[i].string(), devices[j].string())) {
                return SamePort{i, j, devices[j].string()};
            }
        }
    }
    return std::nullopt;
}

std::string SamePortText(const std::vector<std::string>& names, const SamePort& same) {
    const std::string& a = names[same.first];
    const std::string& b = names[same.second];
    if (a == b) {
        return "the port \"" + a + "\" is given twice";
    }
    return "the ports \"" + a + "\" and \"" + b + "\" are one device (" + same.device + ")";
}

}  // namespace quorim
