#include "link/port_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "tests/core/test_util.h"

namespace quorim::test {
namespace {

TEST(PortNames, ComNumbersResolveByEnvironmentThenUsbAdaptersThenTtyS) {
    TempDir dev;
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyUSBx"}) {
        std::ofstream(dev.File(name)).put('\n');
    }
    std::map<std::string, std::string> env{{"QUORIM_COM4", "/dev/pts/7"}};
    PortNameSources sources;
    sources.devDir = dev.Path().string();
    sources.getEnv = [&](const std::string& key) -> std::optional<std::string> {
        const auto it = env.find(key);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    const std::string d = sources.devDir;
    EXPECT_EQ(ResolvePortName("COM1", sources), d + "/ttyUSB2");  // numeric order
    EXPECT_EQ(ResolvePortName("COM2", sources), d + "/ttyUSB10");
    EXPECT_EQ(ResolvePortName("COM3", sources), d + "/ttyACM0");
    EXPECT_EQ(ResolvePortName("COM4", sources), "/dev/pts/7");
    env.clear();
    EXPECT_EQ(ResolvePortName("com4", sources), d + "/ttyS3");
    // Anything else is a device path as given.
    EXPECT_EQ(ResolvePortName("COM5", sources), "COM5");
    EXPECT_EQ(ResolvePortName("/dev/ttyUSB0", sources), "/dev/ttyUSB0");
}

// Two names for one device are refused together, whichever way they meet.
TEST(PortNames, SamePortIsFoundUnderEveryNameItGoesBy) {
    TempDir dev;
    std::ofstream(dev.File("ttyUSB0")).put('\n');
    std::ofstream(dev.File("ttyUSB1")).put('\n');
    std::filesystem::create_symlink(dev.File("ttyUSB0"), dev.File("by-id"));
    PortNameSources sources;
    sources.devDir = dev.Path().string();
    sources.getEnv = [&](const std::string& key) -> std::optional<std::string> {
        return key == "QUORIM_COM2" ? std::optional<std::string>(dev.File("ttyUSB1")) : std::nullopt;
    };
    const std::string usb0 = dev.File("ttyUSB0"), usb1 = dev.File("ttyUSB1");
    const struct {
        std::vector<std::string> names;
        std::string text;  // empty: all distinct
    } rows[] = {
        {{"COM1", "COM2", "/dev/absent"}, ""},
        {{"COM1", "COM1"}, "the port \"COM1\" is given twice"},
        {{"/dev/absent", "/dev/../dev/absent"},
         "the ports \"/dev/absent\" and \"/dev/../dev/absent\" are one device (/dev/absent)"},
        {{"COM2", usb0, usb1}, "the ports \"COM2\" and \"" + usb1 + "\" are one device (" + usb1 + ")"},
        {{dev.File("by-id"), "COM1"},
         "the ports \"" + dev.File("by-id") + "\" and \"COM1\" are one device (" + usb0 + ")"},
    };
    for (const auto& row : rows) {
        const auto same = FindSamePort(row.names, sources);
        EXPECT_EQ(same ? SamePortText(row.names, *same) : std::string(), row.text);
    }
}

}  // namespace
}  // namespace quorim::test
