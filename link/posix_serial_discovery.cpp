#include <grp.h>
#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "link/serial_discovery.h"

namespace quorim {

namespace {

std::string Text(const char* value) {
    return value != nullptr ? std::string(value) : std::string();
}

std::string SysAttr(udev_device* device, const char* name) {
    std::string value = Text(udev_device_get_sysattr_value(device, name));
    while (!value.empty() && (value.back() == '\n' || value.back() == ' ')) {
        value.pop_back();
    }
    return value;
}

// The link under /dev/serial/by-id/, from the device's links or, where the
// udev database is not at hand, its DEVLINKS property.
std::string ByIdLink(udev_device* device) {
    static constexpr const char* kPrefix = "/dev/serial/by-id/";
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_devlinks_list_entry(device)) {
        const std::string link = Text(udev_list_entry_get_name(entry));
        if (link.rfind(kPrefix, 0) == 0) {
            return link;
        }
    }
    std::istringstream links(Text(udev_device_get_property_value(device, "DEVLINKS")));
    for (std::string link; links >> link;) {
        if (link.rfind(kPrefix, 0) == 0) {
            return link;
        }
    }
    return {};
}

// The nearest device up the tree that has a driver bound, past the serial
// core's own port devices.
std::string DriverOf(udev_device* device) {
    for (udev_device* d = udev_device_get_parent(device); d != nullptr; d = udev_device_get_parent(d)) {
        const char* driver = udev_device_get_driver(d);
        if (driver != nullptr && Text(udev_device_get_subsystem(d)) != "serial-base") {
            return driver;
        }
    }
    return {};
}

// The 8250 driver registers placeholder ports ttyS0-31 under its platform
// device whether or not a UART is there; real ones sit under pnp or pci.
bool IsPlaceholder(udev_device* device) {
    for (udev_device* d = udev_device_get_parent(device); d != nullptr; d = udev_device_get_parent(d)) {
        if (Text(udev_device_get_subsystem(d)) == "platform" &&
            Text(udev_device_get_sysname(d)) == "serial8250") {
            return true;
        }
    }
    return false;
}

void FillNodeAccess(SerialDevice& device) {
    struct stat st {};
    if (stat(device.node.c_str(), &st) != 0) {
        return;
    }
    device.mode = st.st_mode & 07777;
    if (const group* g = getgrgid(st.st_gid)) {
        device.group = g->gr_name;
    } else {
        device.group = std::to_string(st.st_gid);
    }
    device.accessible = access(device.node.c_str(), R_OK | W_OK) == 0;
}

bool FromUdev(udev_device* tty, SerialDevice& device) {
    const char* node = udev_device_get_devnode(tty);
    udev_device* parent = udev_device_get_parent(tty);
    if (node == nullptr || parent == nullptr || IsPlaceholder(tty)) {
        return false;  // virtual consoles and pseudo-terminals have no parent
    }
    device.node = node;
    device.byId = ByIdLink(tty);
    device.driver = DriverOf(tty);
    if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device")) {
        device.usb = true;
        device.vendorId = SysAttr(usb, "idVendor");
        device.productId = SysAttr(usb, "idProduct");
        device.manufacturer = SysAttr(usb, "manufacturer");
        device.product = SysAttr(usb, "product");
        device.serial = SysAttr(usb, "serial");
        if (device.manufacturer.empty()) {
            device.manufacturer = Text(udev_device_get_property_value(usb, "ID_VENDOR_FROM_DATABASE"));
        }
        if (device.product.empty()) {
            device.product = Text(udev_device_get_property_value(usb, "ID_MODEL_FROM_DATABASE"));
        }
    }
    FillNodeAccess(device);
    return true;
}

}  // namespace

std::optional<SerialDevice> DeviceAtPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    SerialDevice device;
    device.node = path;
    FillNodeAccess(device);
    return device;
}

std::vector<SerialDevice> UdevSerialDevices::Devices() {
    std::vector<SerialDevice> devices;
    udev* u = udev_new();
    if (u == nullptr) {
        return devices;
    }
    udev_enumerate* enumerate = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(enumerate, "tty");
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        udev_device* tty = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
        if (tty == nullptr) {
            continue;
        }
        SerialDevice device;
        if (FromUdev(tty, device)) {
            devices.push_back(std::move(device));
        }
        udev_device_unref(tty);
    }
    udev_enumerate_unref(enumerate);
    udev_unref(u);
    SortSerialDevices(devices);
    return devices;
}

struct SerialDeviceMonitor::Impl {
    udev* u = nullptr;
    udev_monitor* monitor = nullptr;
};

SerialDeviceMonitor::SerialDeviceMonitor() : m_impl(std::make_unique<Impl>()) {
    m_impl->u = udev_new();
    if (m_impl->u == nullptr) {
        return;
    }
    m_impl->monitor = udev_monitor_new_from_netlink(m_impl->u, "udev");
    if (m_impl->monitor == nullptr) {
        return;
    }
    udev_monitor_filter_add_match_subsystem_devtype(m_impl->monitor, "tty", nullptr);
    if (udev_monitor_enable_receiving(m_impl->monitor) != 0) {
        udev_monitor_unref(m_impl->monitor);
        m_impl->monitor = nullptr;
    }
}

SerialDeviceMonitor::~SerialDeviceMonitor() {
    if (m_impl->monitor != nullptr) {
        udev_monitor_unref(m_impl->monitor);
    }
    if (m_impl->u != nullptr) {
        udev_unref(m_impl->u);
    }
}

int SerialDeviceMonitor::Fd() const {
    return m_impl->monitor != nullptr ? udev_monitor_get_fd(m_impl->monitor) : -1;
}

bool SerialDeviceMonitor::TakeEvents() {
    bool any = false;
    if (m_impl->monitor == nullptr) {
        return any;
    }
    while (udev_device* device = udev_monitor_receive_device(m_impl->monitor)) {
        any = true;
        udev_device_unref(device);
    }
    return any;
}

}  // namespace quorim
