#include "link/doctor.h"
#include "link/port_names.h"
#include "link/serial_discovery.h"

namespace quorim {

namespace {

// Windows says little about a port before it is opened: the open itself
// tells a missing, held or refused port, and the doctor's open stage reports
// it under the stage it belongs to.
class SystemDoctorProbe : public DoctorProbe {
public:
    std::string Resolve(const std::string& port) override { return ResolvePortName(port); }
    Node Device(const std::string& path) override { return path.empty() ? Node::Missing : Node::Present; }
    std::string Describe(const std::string& path) override {
        const std::vector<SerialDevice> devices = UdevSerialDevices().Devices();
        const SerialDevice* found = FindDevice(devices, path);
        return found != nullptr ? DeviceDescription(*found) : std::string();
    }
    bool MayOpen(const std::string&, std::string&) override { return true; }
    std::vector<DoctorProcess> Holders(const std::string&) override { return {}; }
    std::vector<DoctorProcess> ProcessesNamed(const std::string&) override { return {}; }
    std::vector<std::string> AdaptersWithoutPort() override { return {}; }
};

}  // namespace

std::unique_ptr<DoctorProbe> NewSystemDoctorProbe(const std::string&) {
    return std::make_unique<SystemDoctorProbe>();
}

}  // namespace quorim
