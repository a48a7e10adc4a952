#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "link/serial_discovery.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

nlohmann::ordered_json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

std::string ModeText(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode);
    return text;
}

// udev's devices, then the ones a QUORIM_COMn names that udev does not know.
std::vector<SerialDevice> ListedDevices() {
    return WithNamedPorts(UdevSerialDevices().Devices(), SystemPortNameSources(), DeviceAtPath);
}

}  // namespace

std::string PortsJsonText() {
    const std::vector<SerialDevice> devices = ListedDevices();
    const std::array<std::string, 4> resolved = ResolveComPorts(SystemPortNameSources());
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const SerialDevice& device : devices) {
        const int com = ComNumberOf(device, resolved);
        list.push_back({
            {"com",
             com > 0 ? nlohmann::ordered_json("COM" + std::to_string(com)) : nlohmann::ordered_json(nullptr)},
            {"node", device.node},
            {"by_id", TextOrNull(device.byId)},
            {"usb", device.usb},
            {"vendor_id", TextOrNull(device.vendorId)},
            {"product_id", TextOrNull(device.productId)},
            {"manufacturer", TextOrNull(device.manufacturer)},
            {"product", TextOrNull(device.product)},
            {"serial", TextOrNull(device.serial)},
            {"driver", TextOrNull(device.driver)},
            {"group", TextOrNull(device.group)},
            {"mode", ModeText(device.mode)},
            {"accessible", device.accessible},
            {"set_by", TextOrNull(device.setBy)},
            {"present", device.present},
        });
    }
    // nlohmann escapes the C0 controls; DEL and the C1 ones are escaped here.
    // A USB descriptor is whatever the device says: bytes that are not UTF-8
    // become U+FFFD rather than ending the listing.
    return EscapeJsonControls(list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)) +
           "\n";
}

int RunPorts(const Args& args) {
    bool json = false;
    for (const auto& arg : args) {
        if (arg == "--json") {
            json = true;
        } else {
            return Usage("ports");
        }
    }
    const std::string text =
        json ? PortsJsonText() : PortsListing(ListedDevices(), ResolveComPorts(SystemPortNameSources()));
    return WriteOutput(text) ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
