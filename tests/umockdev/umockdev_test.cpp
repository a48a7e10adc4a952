// The serial devices as a user has them: five emulated USB adapters and the
// built-in ports, in a test bed that stands in for /sys and /dev. Runs under
// umockdev-wrapper; tty nodes of the test bed are pseudo-terminals whose
// master side the virtual radio answers on. The emulation answers isatty()
// with no and sends ioctl() to its own handler, which refuses TIOCEXCL; the
// port checks for a terminal with tcgetattr and holds such a node by flock.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <thread>

#include "files/szt_file.h"
#include "link/clone_engine.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

const char* const kAdapters[] = {"ch340", "pl2303", "ft232r", "cp2102", "cdc_acm", "builtin"};
const char* const kCh340 = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1";

std::string FileText(const std::string& path) {
    const auto bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

class EmulatedAdapters : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("UMOCKDEV_DIR") == nullptr && std::getenv("LD_PRELOAD") == nullptr) {
            GTEST_SKIP() << "needs umockdev-wrapper";
        }
        m_bed = umockdev_testbed_new();
        for (const char* name : kAdapters) {
            GError* error = nullptr;
            const std::string file = std::string(QUORIM_UMOCKDEV_DEVICES) + "/" + name + ".umockdev";
            ASSERT_TRUE(umockdev_testbed_add_from_file(m_bed, file.c_str(), &error)) << file;
        }
        // The nodes as a distribution makes them: root:dialout, 0660.
        const group* dialout = getgrnam("dialout");
        ASSERT_NE(dialout, nullptr);
        m_dialout = dialout->gr_gid;
        for (const char* node :
             {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyACM0"}) {
            // Programs the test starts must not hold the line up behind the
            // test bed's back: only the radio gets a master side.
            const int master = umockdev_testbed_get_dev_fd(m_bed, node);
            ASSERT_EQ(fcntl(master, F_SETFD, FD_CLOEXEC), 0);
            const std::string slave = ptsname(master);
            ASSERT_EQ(chown(slave.c_str(), 0, m_dialout), 0) << slave;
            ASSERT_EQ(chmod(slave.c_str(), 0660), 0) << slave;
        }
    }
    void TearDown() override {
        if (m_bed != nullptr) {
            g_object_unref(m_bed);
        }
    }

    int MasterOf(const char* node) { return umockdev_testbed_get_dev_fd(m_bed, node); }

    UMockdevTestbed* m_bed = nullptr;
    gid_t m_dialout = 0;
};

TEST_F(EmulatedAdapters, PortsListsAdaptersWithTheirComNames) {
    const auto text = RunCli({"ports"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out,
              "COM1  /dev/ttyUSB0  1a86:7523 QinHeng Electronics USB Serial  (by-id: "
              "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0)\n"
              "COM2  /dev/ttyUSB1  067b:2303 Prolific Technology Inc. USB-Serial Controller  (by-id: "
              "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0)\n"
              "COM3  /dev/ttyUSB2  0403:6001 FTDI FT232R USB UART  (by-id: "
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)\n"
              "COM4  /dev/ttyUSB3  10c4:ea60 Silicon Labs CP2102 USB to UART Bridge Controller  (by-id: "
              "/dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0)\n"
              "      /dev/ttyACM0  0483:5740 STMicroelectronics Virtual COM Port  (by-id: "
              "/dev/serial/by-id/usb-STMicroelectronics_Virtual_COM_Port_6D8E3A5B4F51-if00)\n"
              "      /dev/ttyS0    serial\n");

    // QUORIM_COM4 names the CDC-ACM device by its link: COM4 moves to it.
    const auto json =
        RunCli({"ports", "--json"},
               {"QUORIM_COM4=/dev/serial/by-id/usb-STMicroelectronics_Virtual_COM_Port_6D8E3A5B4F51-if00"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    const auto list = nlohmann::json::parse(json.out);
    ASSERT_EQ(list.size(), 6u);
    const struct {
        const char* node;
        nlohmann::json com;
        const char* vendor;
        const char* product;
        const char* driver;
        const char* group;
    } rows[] = {
        {"/dev/ttyUSB0", "COM1", "1a86", "7523", "ch341-uart", "dialout"},
        {"/dev/ttyUSB1", "COM2", "067b", "2303", "pl2303", "dialout"},
        {"/dev/ttyUSB2", "COM3", "0403", "6001", "ftdi_sio", "dialout"},
        {"/dev/ttyUSB3", nullptr, "10c4", "ea60", "cp210x", "dialout"},
        {"/dev/ttyACM0", "COM4", "0483", "5740", "cdc_acm", "dialout"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].node);
        EXPECT_EQ(list[i]["node"], rows[i].node);
        EXPECT_EQ(list[i]["com"], rows[i].com);
        EXPECT_EQ(list[i]["usb"], true);
        EXPECT_EQ(list[i]["vendor_id"], rows[i].vendor);
        EXPECT_EQ(list[i]["product_id"], rows[i].product);
        EXPECT_EQ(list[i]["driver"], rows[i].driver);
        EXPECT_EQ(list[i]["group"], rows[i].group);
        EXPECT_EQ(list[i]["mode"], "0660");
        EXPECT_EQ(list[i]["accessible"], true);  // root
    }
    EXPECT_EQ(list[2]["serial"], "A50285BI");
    EXPECT_EQ(list[0]["serial"], nullptr);
    EXPECT_EQ(list[5]["node"], "/dev/ttyS0");
    EXPECT_EQ(list[5]["usb"], false);
}

// A descriptor is whatever the device says: bytes that are not UTF-8 become
// U+FFFD in the JSON, and the listing still ends well.
TEST_F(EmulatedAdapters, PortsJsonReplacesBytesThatAreNotUtf8) {
    umockdev_testbed_set_attribute(m_bed, kCh340, "product", "USB\xff\xc3Serial");
    const auto r = RunCli({"ports", "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)[0]["product"], "USB\xef\xbf\xbd\xef\xbf\xbdSerial");
}

TEST_F(EmulatedAdapters, NoDevicesIsNotAFailure) {
    umockdev_testbed_clear(m_bed);
    const auto r = RunCli({"ports"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "no serial devices found\n");
    EXPECT_EQ(RunCli({"ports", "--json"}).out, "[]\n");
    // The doctor has no port to check: it says so, and fails.
    const auto doctor = RunCli({"doctor", "--json"}, {"LC_ALL=C"});
    EXPECT_EQ(doctor.exitCode, 1);
    const auto list = nlohmann::json::parse(doctor.out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["port"], nullptr);
    EXPECT_EQ(list[0]["result"], "device");
    EXPECT_EQ(list[0]["stages"][0]["detail"], "no serial devices found");
}

// Plug the cable, pick COM1, read; write back; both through /dev/ttyUSB0.
TEST_F(EmulatedAdapters, ReadAndWriteThroughCom1) {
    TempDir dir;
    MemoryImage memory = NewImage();
    const std::uint8_t channel1Rx[] = {0x00, 0x25, 0x51, 0x43};  // 435.12500 MHz
    std::copy(std::begin(channel1Rx), std::end(channel1Rx), memory.begin() + 16);
    memory[900] = 0x34;
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), memory).Ok());
    VirtualRadio radio({"--memory", dir.File("radio.szt"), "--save", dir.File("saved.szt")},
                       MasterOf("/dev/ttyUSB0"));
    const auto read = RunCli({"read", "--port", "COM1", "--out", dir.File("out.szt"), "--no-backup"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const auto out = test::ReadBytes(dir.File("out.szt"));
    ASSERT_EQ(out.size(), memory.size());
    EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 992, out.begin()));

    // Back to the radio with channel 1 at 445.12500 MHz.
    MemoryImage edited = memory;
    edited[19] = 0x44;
    ASSERT_TRUE(SaveSztFile(dir.File("edited.szt"), edited).Ok());
    const auto write = RunCli({"write", "--port", "COM1", dir.File("edited.szt")});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    radio.Stop();
    const auto saved = test::ReadBytes(dir.File("saved.szt"));
    ASSERT_EQ(saved.size(), memory.size());
    EXPECT_TRUE(std::equal(saved.begin() + 16, saved.begin() + 20, edited.begin() + 16));
}

// The cable pulled in the middle of a read: the read ends at once with the
// message of the step it was in, and leaves no file.
TEST_F(EmulatedAdapters, UnplugMidReadEndsTheRead) {
    TempDir dir;
    auto radio = std::make_unique<VirtualRadio>(std::vector<std::string>{"--pace"}, MasterOf("/dev/ttyUSB0"));
    const std::string trace = dir.File("trace.txt");
    std::chrono::steady_clock::time_point pulled;
    const auto r = RunCli(
        {"read", "--port", "COM1", "--out", dir.File("out.szt"), "--no-backup"}, {"QUORIM_TRACE=" + trace},
        [&](pid_t) {
            // Wait for the request of block 16, well inside the read.
            for (int i = 0; i < 500 && FileText(trace).find(" 52 00 80 08") == std::string::npos; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            pulled = std::chrono::steady_clock::now();
            const int master = MasterOf("/dev/ttyUSB0");
            umockdev_testbed_remove_device(m_bed, kCh340);
            radio.reset();
            close(master);
        });
    const double afterPull = std::chrono::duration<double>(std::chrono::steady_clock::now() - pulled).count();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err == std::string(kMsgNotEnough) + "\n" || r.err == std::string(kMsgReadBlockError) + "\n")
        << r.err;
    EXPECT_LT(afterPull, 1.0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
}

// A user outside the node's group: the open-failure message, then who may
// open it and how to become one.
TEST_F(EmulatedAdapters, PermissionHintForAUserOutsideTheGroup) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the program as another user";
    }
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    // The test bed and the program must be reachable for that user.
    const char* bed = std::getenv("UMOCKDEV_DIR");
    ASSERT_NE(bed, nullptr);
    for (const std::string& path :
         {std::string(bed), std::string(bed) + "/ioctl", std::string(bed) + "/ioctl/_default"}) {
        ASSERT_EQ(chmod(path.c_str(), 0777), 0) << path;
    }
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    const auto r = RunProgram({"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                               "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups", QUORIM_CLI_PATH,
                               "read", "--port", "COM1", "--out", dir.File("out.szt"), "--no-backup"},
                              {"XDG_DATA_HOME=" + dir.Path().string(), "LC_ALL=", "LC_MESSAGES=zh_CN.UTF-8"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              std::string(kMsgCannotOpenPort) +
                  "\n没有打开 /dev/ttyUSB0 的权限（设备属于 dialout 组）。请运行 sudo usermod -aG dialout "
                  "$USER，然后重新登录\n");
    const auto ports = RunProgram({"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                                   "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups",
                                   QUORIM_CLI_PATH, "ports", "--json"});
    EXPECT_EQ(nlohmann::json::parse(ports.out)[0]["accessible"], false);
}

// `quorim doctor` without a port checks each port `quorim ports` lists.
TEST_F(EmulatedAdapters, DoctorChecksEveryListedPort) {
    const char* const nodes[] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2",
                                 "/dev/ttyUSB3", "/dev/ttyACM0", "/dev/ttyS0"};
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    for (const char* node : nodes) {
        radios.push_back(std::make_unique<VirtualRadio>(std::vector<std::string>{}, MasterOf(node)));
    }
    radios[5].reset();  // nothing answers on the built-in port
    const auto r = RunCli({"doctor", "--json"}, {"LC_ALL=C"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const auto list = nlohmann::json::parse(r.out);
    ASSERT_EQ(list.size(), std::size(nodes));
    for (std::size_t i = 0; i < std::size(nodes); ++i) {
        EXPECT_EQ(list[i]["port"], nodes[i]);
        EXPECT_EQ(list[i]["result"], i < 5 ? "ok" : "answer");
    }
    EXPECT_EQ(list[0]["stages"][0]["detail"], "/dev/ttyUSB0 1a86:7523 QinHeng Electronics USB Serial");
}

// A CH340 whose serial device is gone while brltty runs: the braille driver
// is named with the fix; without it, the plain "plug the cable in".
TEST_F(EmulatedAdapters, DoctorNamesBrlttyForAVanishedCh340) {
    umockdev_testbed_remove_device(m_bed, (std::string(kCh340) + "/1-1:1.0/ttyUSB0/tty/ttyUSB0").c_str());
    const auto plain =
        nlohmann::json::parse(RunCli({"doctor", "--port", "/dev/ttyUSB0", "--json"}, {"LC_ALL=C"}).out);
    EXPECT_EQ(plain["result"], "device");
    EXPECT_EQ(plain["stages"][0]["detail"], "/dev/ttyUSB0 does not exist");

    NamedProcess brltty("brltty");
    const auto r = RunCli({"doctor", "--port", "/dev/ttyUSB0"}, {"LC_ALL=C"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(
        r.out.find("a CH340 adapter (1a86:7523) is plugged in but has no serial device: the braille display "
                   "driver brltty (pid " +
                   std::to_string(brltty.Pid()) + ") took it"),
        std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("Fix: If no braille display is used, run sudo systemctl mask --now brltty-udev.service"),
        std::string::npos)
        << r.out;
}

}  // namespace
}  // namespace quorim::e2e
