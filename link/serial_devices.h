#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/translation.h"
#include "link/port_names.h"
#include "link/serial_port.h"

namespace quorim {

// One serial device of the machine, as the platform found it: a USB adapter
// or a built-in port. Fields the platform could not learn stay empty.
struct SerialDevice {
    std::string node;  // "/dev/ttyUSB0"
    std::string byId;  // "/dev/serial/by-id/usb-…", the link that survives re-plugging
    bool usb = false;
    std::string vendorId;   // "1a86" (USB only)
    std::string productId;  // "7523"
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::string driver;       // the kernel driver, "ch341-uart", "cdc_acm", "serial"
    std::string group;        // the node's owner group, "dialout"
    unsigned mode = 0;        // the node's permission bits, 0660
    bool accessible = false;  // the current user may open it for reading and writing
    // A device udev does not list, named by the environment variable
    // QUORIM_COMn ("QUORIM_COM1") or typed for a COM item (empty).
    std::string setBy;
    bool present = true;  // false: nothing is at `node` now
};

// Where the machine's serial devices come from: udev on a real system, a
// list in the tests.
class SerialDeviceSource {
public:
    virtual ~SerialDeviceSource() = default;
    virtual std::vector<SerialDevice> Devices() = 0;
};

// USB adapters first, then built-in ports; within each kind by node, with
// "ttyUSB10" after "ttyUSB9".
void SortSerialDevices(std::vector<SerialDevice>& devices);

// "1a86:7523 QinHeng CH340 serial converter", or the driver for a port
// without USB names.
std::string DeviceDescription(const SerialDevice& device);

// The COM number (1-4) a device stands for when COMn resolves to `resolved`
// (index 0 = COM1): its node or its by-id link; 0 when none.
int ComNumberOf(const SerialDevice& device, const std::array<std::string, 4>& resolved);

// What COM1..COM4 resolve to now under `sources`.
std::array<std::string, 4> ResolveComPorts(const PortNameSources& sources);

// The device `path` names (its node or its by-id link), or nullptr.
const SerialDevice* FindDevice(const std::vector<SerialDevice>& devices, const std::string& path);

// `devices` followed by what COM1-COM4 stand for outside them: the path of a
// QUORIM_COMn (listed even when nothing is there, so the override shows) and
// a path assigned to a COM item, when `probe` finds it. `probe` gives the
// device at a path with its access, or nothing when the path names nothing.
std::vector<SerialDevice> WithNamedPorts(
    std::vector<SerialDevice> devices, const PortNameSources& sources,
    const std::function<std::optional<SerialDevice>(const std::string&)>& probe);

// What a text typed for a COM item assigns: "" (automatic) for a blank text,
// the path without surrounding blanks, or nothing for a text that is itself
// a port name ("COM2"), which would stand for nothing.
std::optional<std::string> TypedDevicePath(const std::string& text);

// One line per device:
// "COM1  /dev/ttyUSB0  1a86:7523 QinHeng CH340 serial converter  (by-id: …)"
// with blanks in place of the COM name for a device no COMn stands for.
std::string PortsListing(const std::vector<SerialDevice>& devices,
                         const std::array<std::string, 4>& resolved);

inline constexpr const char* kNoSerialDevices = "no serial devices found";

// The Devices dialog and the port items' status prompts.
inline constexpr const char* kDevicesTitle = QUORIM_TR("Quorim", "串口设备");
inline constexpr const char* kColumnPort = QUORIM_TR("Quorim", "端口");
inline constexpr const char* kColumnDevice = QUORIM_TR("Quorim", "设备");
inline constexpr const char* kColumnDescription = QUORIM_TR("Quorim", "说明");
inline constexpr const char* kColumnAccess = QUORIM_TR("Quorim", "权限");
inline constexpr const char* kAssignLabel = QUORIM_TR("Quorim", "指定设备：");
inline constexpr const char* kAutomatic = QUORIM_TR("Quorim", "自动（按插入顺序）");
inline constexpr const char* kCloseButton = QUORIM_TR("Quorim", "关闭");
inline constexpr const char* kNotConnected = QUORIM_TR("Quorim", "未连接");
inline constexpr const char* kAccessOk = QUORIM_TR("Quorim", "可以打开");
inline constexpr const char* kAccessDenied = QUORIM_TR("Quorim", "无权打开（%1 组）");
inline constexpr const char* kTestConnection = QUORIM_TR("Quorim", "测试连接");
inline constexpr const char* kTestingConnection = QUORIM_TR("Quorim", "正在测试 %1…");
// A COM item whose device the environment sets: "/dev/pts/3（环境变量 QUORIM_COM1）".
inline constexpr const char* kSetByEnvironment = QUORIM_TR("Quorim", "%1（环境变量 %2）");
inline constexpr const char* kSetByEnvironmentTip =
    QUORIM_TR("Quorim", "环境变量 %1 指定了这个端口的设备；要在这里选择，请去掉这个变量后重新启动程序");
inline constexpr const char* kTypePathTip =
    QUORIM_TR("Quorim", "选择一个设备，或输入设备路径（例如 /dev/ttyS0、/dev/pts/3）后按回车");
inline constexpr const char* kTypedPortName =
    QUORIM_TR("Quorim", "“%1”是端口名，请输入设备路径，例如 /dev/ttyS0");

// The virtual radio the Devices dialog starts: quorim-radio beside the
// program, on a pseudo-terminal it prints first.
inline constexpr const char* kVirtualRadioProgram = "quorim-radio";
inline constexpr const char* kVirtualRadioButton = QUORIM_TR("Quorim", "虚拟对讲机…");
inline constexpr const char* kVirtualRadioTitle = QUORIM_TR("Quorim", "虚拟对讲机");
inline constexpr const char* kVirtualRadioModel = QUORIM_TR("Quorim", "型号：");
inline constexpr const char* kVirtualRadioPort = QUORIM_TR("Quorim", "端口：");
inline constexpr const char* kVirtualRadioStart = QUORIM_TR("Quorim", "启动");
inline constexpr const char* kVirtualRadioRunning =
    QUORIM_TR("Quorim", "虚拟对讲机 %1 在 %2 上运行，%3 指向它，程序结束时它也结束");
inline constexpr const char* kVirtualRadioFailed = QUORIM_TR("Quorim", "虚拟对讲机没有启动：%1");
inline constexpr const char* kVirtualRadioNotFound = QUORIM_TR("Quorim", "找不到程序 %1");

// quorim-radio's arguments for a radio of `channels` (16 or 199) channels.
std::vector<std::string> VirtualRadioArguments(int channels);

// The Devices dialog's access column: whether the user may open the device,
// and if not, the group to join.
std::string AccessText(const SerialDevice& device, const TextTranslator& texts);

// A port item's status prompt followed by the device COMn stands for now:
// "选择串口1  /dev/ttyUSB0 1a86:7523 …", the path alone for a device udev does
// not list (a pseudo-terminal) that `exists`, else "未连接".
std::string PortPromptWithDevice(const std::string& prompt, const std::string& resolved,
                                 const std::vector<SerialDevice>& devices, bool exists,
                                 const TextTranslator& texts);

// The status bar's port pane: the port in use and the device it stands for
// now, "COM1 · /dev/ttyUSB0", or "COM1 · 未连接" when `resolved` does not
// `exist`.
std::string PortPaneText(const std::string& port, const std::string& resolved, bool exists,
                         const TextTranslator& texts);

// The line that explains why a port could not be opened, in the program's
// language: who may open it and how to become one, who holds it, or that it
// is not connected. Empty when there is nothing more to say.
std::string PortProblemHint(const PortResult& result, const TextTranslator& texts);

}  // namespace quorim
