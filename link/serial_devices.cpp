#include "link/serial_devices.h"

#include <algorithm>
#include <tuple>

#include "text/ascii_text.h"

namespace quorim {

namespace {

inline constexpr const char* kHintNoAccess = QUORIM_TR(
    "Quorim", "没有打开 %1 的权限（设备属于 %2 组）。请运行 sudo usermod -aG %2 $USER，然后重新登录");
inline constexpr const char* kHintNoAccessNoGroup = QUORIM_TR("Quorim", "没有打开 %1 的权限");
inline constexpr const char* kHintBusy = QUORIM_TR("Quorim", "%1 正被其他程序占用");
inline constexpr const char* kHintBusyHolder = QUORIM_TR("Quorim", "%1 正被其他程序占用：%2（进程号 %3）");
inline constexpr const char* kHintMissing = QUORIM_TR("Quorim", "当前没有连接 %1 设备");
inline constexpr const char* kHintRegularFile = QUORIM_TR("Quorim", "%1 是普通文件，不是串口");
inline constexpr const char* kHintFolder = QUORIM_TR("Quorim", "%1 是文件夹，不是串口");
inline constexpr const char* kHintFifo = QUORIM_TR("Quorim", "%1 是管道（FIFO），不是串口");
inline constexpr const char* kHintSocket = QUORIM_TR("Quorim", "%1 是套接字，不是串口");
inline constexpr const char* kHintOtherDevice = QUORIM_TR("Quorim", "%1 是设备，但不是串口");
inline constexpr const char* kHintNotSerial = QUORIM_TR("Quorim", "%1 不是串口");

const char* NotSerialHint(PortNodeKind kind) {
    switch (kind) {
        case PortNodeKind::RegularFile:
            return kHintRegularFile;
        case PortNodeKind::Folder:
            return kHintFolder;
        case PortNodeKind::Fifo:
            return kHintFifo;
        case PortNodeKind::Socket:
            return kHintSocket;
        case PortNodeKind::OtherDevice:
            return kHintOtherDevice;
        case PortNodeKind::Unknown:
            break;
    }
    return kHintNotSerial;
}

// "ttyUSB10" -> ("ttyUSB", 10); a name without a number keeps -1.
std::pair<std::string, long> SplitNumber(const std::string& node) {
    std::size_t i = node.size();
    while (i > 0 && node[i - 1] >= '0' && node[i - 1] <= '9') {
        --i;
    }
    if (i == node.size() || node.size() - i > 9) {
        return {node, -1};
    }
    return {node.substr(0, i), std::stol(node.substr(i))};
}

// ttyUSB before ttyACM, as COMn counts them; anything else after.
int KindRank(const std::string& stem) {
    if (stem == "/dev/ttyUSB") {
        return 0;
    }
    if (stem == "/dev/ttyACM") {
        return 1;
    }
    return 2;
}

std::string Fill(std::string text, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + args[i].size())) {
            text.replace(at, mark.size(), args[i]);
        }
    }
    return text;
}

}  // namespace

void SortSerialDevices(std::vector<SerialDevice>& devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        const auto [stemA, numA] = SplitNumber(a.node);
        const auto [stemB, numB] = SplitNumber(b.node);
        return std::make_tuple(!a.usb, KindRank(stemA), stemA, numA) <
               std::make_tuple(!b.usb, KindRank(stemB), stemB, numB);
    });
}

std::string DeviceDescription(const SerialDevice& device) {
    std::string text;
    if (!device.vendorId.empty() || !device.productId.empty()) {
        text = device.vendorId + ":" + device.productId;
    }
    for (const std::string* part : {&device.manufacturer, &device.product}) {
        if (!part->empty()) {
            text += (text.empty() ? "" : " ") + *part;
        }
    }
    if (device.manufacturer.empty() && device.product.empty() && !device.driver.empty()) {
        text += (text.empty() ? "" : " ") + device.driver;
    }
    return text;
}

int ComNumberOf(const SerialDevice& device, const std::array<std::string, 4>& resolved) {
    for (std::size_t i = 0; i < resolved.size(); ++i) {
        if (resolved[i] == device.node || (!device.byId.empty() && resolved[i] == device.byId)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::array<std::string, 4> ResolveComPorts(const PortNameSources& sources) {
    std::array<std::string, 4> resolved;
    for (std::size_t i = 0; i < resolved.size(); ++i) {
        resolved[i] = ResolvePortName("COM" + std::to_string(i + 1), sources);
    }
    return resolved;
}

const SerialDevice* FindDevice(const std::vector<SerialDevice>& devices, const std::string& path) {
    for (const SerialDevice& device : devices) {
        if (device.node == path || (!device.byId.empty() && device.byId == path)) {
            return &device;
        }
    }
    return nullptr;
}

std::vector<SerialDevice> WithNamedPorts(
    std::vector<SerialDevice> devices, const PortNameSources& sources,
    const std::function<std::optional<SerialDevice>(const std::string&)>& probe) {
    for (int n = 1; n <= 4; ++n) {
        const std::string variable = "QUORIM_COM" + std::to_string(n);
        std::optional<std::string> path = sources.getEnv ? sources.getEnv(variable) : std::nullopt;
        const bool fromEnvironment = path.has_value();
        if (!fromEnvironment && sources.assigned) {
            path = sources.assigned(n);
        }
        if (!path || FindDevice(devices, *path) != nullptr) {
            continue;
        }
        std::optional<SerialDevice> found = probe(*path);
        if (!found && !fromEnvironment) {
            continue;  // an assigned device that is not plugged in
        }
        SerialDevice device = found.value_or(SerialDevice{});
        device.node = *path;
        device.present = found.has_value();
        if (fromEnvironment) {
            device.setBy = variable;
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

std::optional<std::string> TypedDevicePath(const std::string& text) {
    const std::string path(TrimAscii(text));
    if (ComNumber(path) != 0) {
        return std::nullopt;
    }
    return path;
}

std::vector<std::string> VirtualRadioArguments(int channels) {
    return {"--model", channels == 16 ? "16" : "199"};
}

std::string PortsListing(const std::vector<SerialDevice>& devices,
                         const std::array<std::string, 4>& resolved) {
    if (devices.empty()) {
        return std::string(kNoSerialDevices) + "\n";
    }
    std::size_t nodeWidth = 0;
    for (const SerialDevice& device : devices) {
        nodeWidth = std::max(nodeWidth, device.node.size());
    }
    std::string text;
    for (const SerialDevice& device : devices) {
        const int com = ComNumberOf(device, resolved);
        std::string line = (com > 0 ? "COM" + std::to_string(com) : std::string(4, ' ')) + "  " + device.node;
        const std::string description = DeviceDescription(device);
        if (!description.empty() || !device.byId.empty()) {
            line += std::string(nodeWidth - device.node.size() + 2, ' ') + description;
        }
        if (!device.byId.empty()) {
            line += (description.empty() ? "" : "  ") + std::string("(by-id: ") + device.byId + ")";
        }
        if (!device.setBy.empty()) {
            line += std::string(nodeWidth - device.node.size() + 2, ' ') + "set by " + device.setBy +
                    (device.present ? "" : ", nothing there");
        }
        // USB descriptors are the device's own text: no control character
        // reaches the terminal.
        text += EscapeControls(line) + "\n";
    }
    return text;
}

std::string AccessText(const SerialDevice& device, const TextTranslator& texts) {
    if (!device.present) {
        return texts.Translate("Quorim", kNotConnected);
    }
    return device.accessible ? texts.Translate("Quorim", kAccessOk)
                             : Fill(texts.Translate("Quorim", kAccessDenied), {device.group});
}

std::string PortPromptWithDevice(const std::string& prompt, const std::string& resolved,
                                 const std::vector<SerialDevice>& devices, bool exists,
                                 const TextTranslator& texts) {
    std::string device = texts.Translate("Quorim", kNotConnected);
    if (const SerialDevice* found = FindDevice(devices, resolved)) {
        const std::string description = DeviceDescription(*found);
        device = found->node + (description.empty() ? "" : " " + description);
    } else if (exists) {
        device = resolved;
    }
    return prompt + "  " + device;
}

std::string PortPaneText(const std::string& port, const std::string& resolved, bool exists,
                         const TextTranslator& texts) {
    return port + " \xC2\xB7 " +
           (exists && !resolved.empty() ? resolved : texts.Translate("Quorim", kNotConnected));
}

std::string PortProblemHint(const PortResult& result, const TextTranslator& texts) {
    const std::string& device = result.detail;
    const auto tr = [&](const char* text) { return texts.Translate("Quorim", text); };
    switch (result.error) {
        case PortError::NoAccess:
            return result.group.empty() ? Fill(tr(kHintNoAccessNoGroup), {device})
                                        : Fill(tr(kHintNoAccess), {device, result.group});
        case PortError::Busy:
            return result.holderPid > 0 ? Fill(tr(kHintBusyHolder),
                                               {device, result.holderName, std::to_string(result.holderPid)})
                                        : Fill(tr(kHintBusy), {device});
        case PortError::NotFound:
            return Fill(tr(kHintMissing), {device});
        case PortError::NotSerial:
            return Fill(tr(NotSerialHint(result.kind)), {device});
        default:
            return {};
    }
}

}  // namespace quorim
