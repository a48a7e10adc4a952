#include <grp.h>
#include <libudev.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "link/doctor.h"
#include "link/port_names.h"
#include "link/serial_discovery.h"

namespace quorim {

namespace {

namespace fs = std::filesystem;

// Pseudo-terminal slaves live on these majors (Unix98 ptys).
constexpr unsigned kPtsMajorFirst = 136;
constexpr unsigned kPtsMajorLast = 143;

std::string FirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool IsPid(const std::string& name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos && name.size() < 10;
}

class SystemDoctorProbe : public DoctorProbe {
public:
    explicit SystemDoctorProbe(std::string procRoot) : m_proc(std::move(procRoot)) {}

    std::string Resolve(const std::string& port) override { return ResolvePortName(port); }

    Node Device(const std::string& path) override {
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0) {
            return Node::Missing;
        }
        // /dev/tty, /dev/console and /dev/ptmx (major 5) are terminals, but
        // the program's own, the system's and the maker of new ones: never a
        // cable to a radio.
        constexpr unsigned kTtyAuxMajor = 5;
        return S_ISCHR(st.st_mode) && ::major(st.st_rdev) != kTtyAuxMajor && IsTerminal(st.st_rdev)
                   ? Node::Present
                   : Node::NotSerial;
    }

    std::string Describe(const std::string& path) override {
        const std::vector<SerialDevice> devices = UdevSerialDevices().Devices();
        const SerialDevice* found = FindDevice(devices, path);
        if (found == nullptr) {
            std::error_code ec;
            found = FindDevice(devices, fs::canonical(path, ec).string());
        }
        return found != nullptr ? DeviceDescription(*found) : std::string();
    }

    bool MayOpen(const std::string& path, std::string& group) override {
        struct stat st {};
        if (stat(path.c_str(), &st) == 0) {
            const ::group* g = getgrgid(st.st_gid);
            group = g != nullptr ? std::string(g->gr_name) : std::to_string(st.st_gid);
        }
        return access(path.c_str(), R_OK | W_OK) == 0;
    }

    std::vector<DoctorProcess> Holders(const std::string& path) override {
        std::vector<DoctorProcess> holders;
        struct stat node {};
        if (stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) {
            return holders;
        }
        // The far end of a pseudo-terminal holds its master (the virtual
        // radio, a test bed) and often the slave as well: that is the line.
        const unsigned major = ::major(node.st_rdev);
        const bool pty = major >= kPtsMajorFirst && major <= kPtsMajorLast;
        const unsigned ptyIndex = (major - kPtsMajorFirst) * 256 + ::minor(node.st_rdev);
        const std::string self = std::to_string(getpid());
        std::error_code ec;
        for (const auto& proc : fs::directory_iterator(m_proc, ec)) {
            const std::string pid = proc.path().filename().string();
            if (!IsPid(pid) || pid == self) {
                continue;
            }
            bool holds = false;
            bool farEnd = false;
            std::error_code fdEc;
            for (const auto& fd : fs::directory_iterator(proc.path() / "fd", fdEc)) {
                struct stat st {};
                if (stat(fd.path().c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) {
                    continue;
                }
                if (st.st_rdev == node.st_rdev) {
                    holds = true;
                } else if (pty && HoldsMaster(proc.path(), fd.path().filename().string(), ptyIndex)) {
                    farEnd = true;
                }
            }
            if (holds && !farEnd) {
                holders.push_back({std::stoi(pid), FirstLine(proc.path() / "comm")});
            }
        }
        return holders;
    }

    std::vector<DoctorProcess> ProcessesNamed(const std::string& name) override {
        std::vector<DoctorProcess> found;
        std::error_code ec;
        for (const auto& proc : fs::directory_iterator(m_proc, ec)) {
            const std::string pid = proc.path().filename().string();
            if (IsPid(pid) && FirstLine(proc.path() / "comm") == name) {
                found.push_back({std::stoi(pid), name});
            }
        }
        return found;
    }

    std::vector<std::string> AdaptersWithoutPort() override;

private:
    // A terminal is a character device of the tty class in sysfs (ports,
    // adapters), or one of a terminal driver's majors (pseudo-terminals,
    // which sysfs does not list).
    bool IsTerminal(dev_t rdev) const {
        std::error_code ec;
        const fs::path subsystem = fs::read_symlink("/sys/dev/char/" + std::to_string(::major(rdev)) + ":" +
                                                        std::to_string(::minor(rdev)) + "/subsystem",
                                                    ec);
        return (!ec && subsystem.filename() == "tty") || IsTerminalMajor(::major(rdev));
    }

    // Whether a character device of this major belongs to a terminal driver,
    // as /proc/tty/drivers lists them ("usbserial /dev/ttyUSB 188 0-511
    // serial", "pty_slave /dev/pts 136-143 ..."). Without that list, any.
    bool IsTerminalMajor(unsigned major) const {
        std::ifstream drivers(fs::path(m_proc) / "tty" / "drivers");
        if (!drivers) {
            return true;
        }
        for (std::string line; std::getline(drivers, line);) {
            std::istringstream fields(line);
            std::string name, node, majors;
            if (!(fields >> name >> node >> majors)) {
                continue;
            }
            unsigned first = 0, last = 0;
            const int n = std::sscanf(majors.c_str(), "%u-%u", &first, &last);
            if ((n == 1 && major == first) || (n == 2 && major >= first && major <= last)) {
                return true;
            }
        }
        return false;
    }

    // Whether descriptor `fd` of the process is the master of pty `index`
    // (/proc/PID/fdinfo/FD tells it as "tty-index:").
    static bool HoldsMaster(const fs::path& proc, const std::string& fd, unsigned index) {
        std::ifstream info(proc / "fdinfo" / fd);
        for (std::string line; std::getline(info, line);) {
            if (line.rfind("tty-index:", 0) == 0) {
                return std::stoul(line.substr(10)) == index;
            }
        }
        return false;
    }

    std::string m_proc;
};

std::string SysAttr(udev_device* device, const char* name) {
    const char* value = udev_device_get_sysattr_value(device, name);
    std::string text = value != nullptr ? value : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::vector<std::string> SystemDoctorProbe::AdaptersWithoutPort() {
    std::vector<std::string> found;
    udev* u = udev_new();
    if (u == nullptr) {
        return found;
    }
    // Every tty's USB device, then the cable adapters that are not among them.
    std::set<std::string> withPort;
    udev_enumerate* ttys = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(ttys, "tty");
    udev_enumerate_scan_devices(ttys);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(ttys)) {
        if (udev_device* tty = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry))) {
            if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device")) {
                withPort.insert(udev_device_get_syspath(usb));
            }
            udev_device_unref(tty);
        }
    }
    udev_enumerate_unref(ttys);

    udev_enumerate* usbs = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(usbs, "usb");
    udev_enumerate_add_match_property(usbs, "DEVTYPE", "usb_device");
    udev_enumerate_scan_devices(usbs);
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(usbs)) {
        const char* syspath = udev_list_entry_get_name(entry);
        udev_device* usb = udev_device_new_from_syspath(u, syspath);
        if (usb == nullptr) {
            continue;
        }
        const std::string id = SysAttr(usb, "idVendor") + ":" + SysAttr(usb, "idProduct");
        for (const CableAdapter& adapter : kCableAdapters) {
            if (id == std::string(adapter.vendorId) + ":" + adapter.productId && !withPort.count(syspath)) {
                found.push_back(id);
            }
        }
        udev_device_unref(usb);
    }
    udev_enumerate_unref(usbs);
    udev_unref(u);
    return found;
}

}  // namespace

std::unique_ptr<DoctorProbe> NewSystemDoctorProbe(const std::string& procRoot) {
    return std::make_unique<SystemDoctorProbe>(procRoot);
}

}  // namespace quorim
