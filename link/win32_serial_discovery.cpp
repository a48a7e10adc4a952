#include <windows.h>
// windows.h first: the device setup calls need its types.
#include <initguid.h>
// initguid.h first: it makes devguid.h define the class GUIDs.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>

#include "base/win32_text.h"
#include "link/serial_discovery.h"

namespace quorim {

namespace {

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
    wchar_t buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type, reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr)) {
        return {};
    }
    return Utf8FromWide(buffer);  // the first string of a list
}

std::string PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& info) {
    const HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const LONG rc = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? Utf8FromWide(name) : std::string();
}

// "1a86" after "VID_" in "USB\VID_1A86&PID_7523&REV_0264".
std::string IdAfter(const std::string& hardwareId, const std::string& tag) {
    const auto at = hardwareId.find(tag);
    if (at == std::string::npos || at + tag.size() + 4 > hardwareId.size()) {
        return {};
    }
    std::string id = hardwareId.substr(at + tag.size(), 4);
    std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::tolower(c); });
    return id;
}

}  // namespace

// A port name the device manager does not list is taken as it is.
std::optional<SerialDevice> DeviceAtPath(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    SerialDevice device;
    device.node = path;
    device.accessible = true;
    return device;
}

// On Windows the ports the device manager lists under "Ports (COM & LPT)",
// by their COM names.
std::vector<SerialDevice> UdevSerialDevices::Devices() {
    std::vector<SerialDevice> devices;
    const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) {
        return devices;
    }
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        SerialDevice device;
        device.node = PortNameOf(set, info);
        if (device.node.rfind("COM", 0) != 0) {
            continue;  // a printer port
        }
        const std::string hardwareId = DeviceProperty(set, info, SPDRP_HARDWAREID);
        device.usb = hardwareId.rfind("USB", 0) == 0 || hardwareId.find("VID_") != std::string::npos;
        device.vendorId = IdAfter(hardwareId, "VID_");
        device.productId = IdAfter(hardwareId, "PID_");
        device.manufacturer = DeviceProperty(set, info, SPDRP_MFG);
        device.product = DeviceProperty(set, info, SPDRP_FRIENDLYNAME);
        device.driver = DeviceProperty(set, info, SPDRP_SERVICE);
        device.accessible = true;
        devices.push_back(std::move(device));
    }
    SetupDiDestroyDeviceInfoList(set);
    SortSerialDevices(devices);
    return devices;
}

// Windows tells of arriving devices through window messages, which the
// command line has no window for: no watching here.
struct SerialDeviceMonitor::Impl {};

SerialDeviceMonitor::SerialDeviceMonitor() : m_impl(std::make_unique<Impl>()) {}

SerialDeviceMonitor::~SerialDeviceMonitor() = default;

int SerialDeviceMonitor::Fd() const {
    return -1;
}

bool SerialDeviceMonitor::TakeEvents() {
    return false;
}

}  // namespace quorim
