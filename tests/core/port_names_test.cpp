#include "link/port_names.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorim::test
