#include "link/serial_devices.h"

#include <gtest/gtest.h>

namespace quorim::test {
namespace {

SerialDevice Usb(const std::string& node, const std::string& byId = {}) {
    SerialDevice d;
    d.node = node;
    d.byId = byId;
    d.usb = true;
    d.vendorId = "1a86";
    d.productId = "7523";
    d.manufacturer = "QinHeng";
    d.product = "CH340 serial converter";
    return d;
}

SerialDevice BuiltIn(const std::string& node) {
    SerialDevice d;
    d.node = node;
    d.driver = "serial";
    return d;
}

TEST(SerialDevices, UsbAdaptersFirstInTheOrderComCountsThem) {
    std::vector<SerialDevice> devices{BuiltIn("/dev/ttyS0"), Usb("/dev/ttyACM0"),    Usb("/dev/ttyUSB10"),
                                      Usb("/dev/ttyUSB9"),   BuiltIn("/dev/ttyS10"), BuiltIn("/dev/ttyS2")};
    SortSerialDevices(devices);
    std::vector<std::string> nodes;
    for (const auto& d : devices) {
        nodes.push_back(d.node);
    }
    EXPECT_EQ(nodes, (std::vector<std::string>{"/dev/ttyUSB9", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS0",
                                               "/dev/ttyS2", "/dev/ttyS10"}));
}

// COMn names a device by its node or by its by-id link; the listing marks it
// and leaves the others unmarked, aligned.
TEST(SerialDevices, ListingMarksWhatEachComStandsFor) {
    const std::vector<SerialDevice> devices{Usb("/dev/ttyUSB0", "/dev/serial/by-id/usb-a"),
                                            Usb("/dev/ttyUSB1", "/dev/serial/by-id/usb-b"),
                                            BuiltIn("/dev/ttyS0")};
    const std::array<std::string, 4> resolved{"/dev/serial/by-id/usb-b", "/dev/ttyUSB0", "/dev/ttyS2",
                                              "/dev/ttyS3"};
    EXPECT_EQ(
        PortsListing(devices, resolved),
        "COM2  /dev/ttyUSB0  1a86:7523 QinHeng CH340 serial converter  (by-id: /dev/serial/by-id/usb-a)\n"
        "COM1  /dev/ttyUSB1  1a86:7523 QinHeng CH340 serial converter  (by-id: /dev/serial/by-id/usb-b)\n"
        "      /dev/ttyS0    serial\n");
    EXPECT_EQ(PortsListing({}, resolved), "no serial devices found\n");
    EXPECT_EQ(FindDevice(devices, "/dev/serial/by-id/usb-b"), &devices[1]);
    EXPECT_EQ(FindDevice(devices, "/dev/ttyUSB7"), nullptr);
}

// The environment wins over the user's assignment, the assignment over the
// n-th adapter.
TEST(SerialDevices, AssignmentSitsBetweenEnvironmentAndAdapterOrder) {
    PortNameSources sources;
    sources.devDir = "/nonexistent-dev";
    sources.getEnv = [](const std::string& key) -> std::optional<std::string> {
        return key == "QUORIM_COM1" ? std::optional<std::string>("/dev/pts/4") : std::nullopt;
    };
    sources.assigned = [](int n) -> std::optional<std::string> {
        return n <= 2 ? std::optional<std::string>("/dev/serial/by-id/usb-" + std::to_string(n))
                      : std::nullopt;
    };
    EXPECT_EQ(ResolveComPorts(sources),
              (std::array<std::string, 4>{"/dev/pts/4", "/dev/serial/by-id/usb-2", "/nonexistent-dev/ttyS2",
                                          "/nonexistent-dev/ttyS3"}));
}

TEST(SerialDevices, OpenFailureHints) {
    const auto NotSerial = [](const char* path, PortNodeKind kind) {
        PortResult r(PortError::NotSerial, path);
        r.kind = kind;
        return r;
    };
    PortResult noAccess(PortError::NoAccess, "/dev/ttyUSB0");
    noAccess.group = "dialout";
    PortResult busy(PortError::Busy, "/dev/ttyUSB0");
    PortResult held = busy;
    held.holderName = "minicom";
    held.holderPid = 4242;
    const struct {
        PortResult result;
        std::string hint;
    } rows[] = {
        {noAccess,
         "没有打开 /dev/ttyUSB0 的权限（设备属于 dialout 组）。请运行 sudo usermod -aG dialout "
         "$USER，然后重新登录"},
        {PortResult(PortError::NoAccess, "/dev/ttyUSB0"), "没有打开 /dev/ttyUSB0 的权限"},
        {busy, "/dev/ttyUSB0 正被其他程序占用"},
        {held, "/dev/ttyUSB0 正被其他程序占用：minicom（进程号 4242）"},
        {PortResult(PortError::NotFound, "/dev/ttyS3"), "当前没有连接 /dev/ttyS3 设备"},
        {NotSerial("/tmp/x.szt", PortNodeKind::RegularFile), "/tmp/x.szt 是普通文件，不是串口"},
        {NotSerial("/tmp", PortNodeKind::Folder), "/tmp 是文件夹，不是串口"},
        {NotSerial("/tmp/p", PortNodeKind::Fifo), "/tmp/p 是管道（FIFO），不是串口"},
        {NotSerial("/tmp/s", PortNodeKind::Socket), "/tmp/s 是套接字，不是串口"},
        {NotSerial("/dev/null", PortNodeKind::OtherDevice), "/dev/null 是设备，但不是串口"},
        {PortResult(PortError::NotSerial, "COM9"), "COM9 不是串口"},
        {PortResult(PortError::System, "/dev/ttyS0"), ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PortProblemHint(row.result, ChineseTexts()), row.hint);
    }
}

TEST(SerialDevices, PortPaneNamesTheDeviceOnlyWhenItIsThere) {
    const struct {
        std::string resolved;
        bool exists;
        std::string pane;
    } rows[] = {
        {"/dev/ttyUSB0", true, "COM1 · /dev/ttyUSB0"},
        {"/dev/ttyUSB0", false, "COM1 · 未连接"},
        {"", true, "COM1 · 未连接"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PortPaneText("COM1", row.resolved, row.exists, ChineseTexts()), row.pane);
    }
}

// COM1 by an environment variable to a terminal udev does not know, COM2 by
// one to an adapter it does, COM3 by a variable to nothing, COM4 assigned to
// a typed pseudo-terminal; the listing follows udev's devices with them.
TEST(SerialDevices, NamedPortsFollowTheSystemsDevices) {
    PortNameSources sources;
    sources.devDir = "/nonexistent-dev";
    sources.getEnv = [](const std::string& key) -> std::optional<std::string> {
        if (key == "QUORIM_COM1") return "/dev/pts/4";
        if (key == "QUORIM_COM2") return "/dev/serial/by-id/usb-a";
        if (key == "QUORIM_COM3") return "/dev/pts/99";
        return std::nullopt;
    };
    sources.assigned = [](int n) -> std::optional<std::string> {
        if (n == 1) return "/dev/ttyUSB7";  // the environment wins
        if (n == 4) return "/dev/pts/5";
        return std::nullopt;
    };
    const auto probe = [](const std::string& path) -> std::optional<SerialDevice> {
        if (path != "/dev/pts/4" && path != "/dev/pts/5") {
            return std::nullopt;
        }
        SerialDevice d;
        d.node = path;
        d.accessible = true;
        return d;
    };
    const std::vector<SerialDevice> devices =
        WithNamedPorts({Usb("/dev/ttyUSB0", "/dev/serial/by-id/usb-a")}, sources, probe);
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[3].setBy, "");
    EXPECT_EQ(AccessText(devices[2], ChineseTexts()), "未连接");
    EXPECT_EQ(AccessText(devices[1], ChineseTexts()), "可以打开");
    EXPECT_EQ(
        PortsListing(devices, ResolveComPorts(sources)),
        "COM2  /dev/ttyUSB0  1a86:7523 QinHeng CH340 serial converter  (by-id: /dev/serial/by-id/usb-a)\n"
        "COM1  /dev/pts/4    set by QUORIM_COM1\n"
        "COM3  /dev/pts/99   set by QUORIM_COM3, nothing there\n"
        "COM4  /dev/pts/5\n");
}

TEST(SerialDevices, TypedDevicePath) {
    const struct {
        std::string typed;
        std::optional<std::string> path;
    } rows[] = {
        {"  /dev/pts/3 ", "/dev/pts/3"}, {"", ""},         {"   ", ""}, {"COM2", std::nullopt},
        {"com4", std::nullopt},          {"COM5", "COM5"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TypedDevicePath(row.typed), row.path) << row.typed;
    }
}

}  // namespace
}  // namespace quorim::test
