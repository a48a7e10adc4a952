// What reaches a radio or a file, and what the programs say, when the input is
// hostile or the system refuses: grouped by hazard. Each checks the exit
// status, the message, and that every file already there and the radio's
// memory are as they were.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "files/szt_file.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"
#include "tuning/tuning_session.h"

namespace quorim::e2e {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A folder with a data file and a radio that keeps its memory in a file
// beside it (written only when a write reaches it).
struct Bench {
    TempDir dir;
    std::string szt = dir.File("plan.szt");
    std::string radioMemory = dir.File("radio.szt");
    Bench() { EXPECT_TRUE(SaveSztFile(szt, NewImage()).Ok()); }
};

// Output that did not arrive is a failure, with the reason.
TEST(HazardE2E, OutputThatCannotBeWrittenFails) {
    Bench b;
    const auto before = Snapshot(b.dir.Path().string());
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } rows[] = {
        {{"show", b.szt}, 1},   {{"show", "--json", b.szt}, 1}, {{"ports"}, 1},
        {{"export", b.szt}, 1}, {{"diff", b.szt, b.szt}, 2},
    };
    for (const auto& row : rows) {
        std::vector<std::string> argv{"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", QUORIM_CLI_PATH};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        const auto r = RunProgram(argv);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.args[0];
        EXPECT_EQ(r.err, "quorim: the output could not be written (No space left on device)\n")
            << row.args[0];
    }
    EXPECT_EQ(Snapshot(b.dir.Path().string()), before);
}

// A port name that stands for no terminal is refused for what it is, at
// once, and nothing there changes.
TEST(HazardE2E, PortThatIsNoTerminalIsRefusedForWhatItIs) {
    Bench b;
    ASSERT_EQ(mkfifo(b.dir.File("fifo").c_str(), 0600), 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, b.dir.File("sock").c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const auto before = Snapshot(b.dir.Path().string());
    const std::string folder = b.dir.Path().string();
    const struct {
        std::string port;
        std::string hint;
    } rows[] = {
        {b.szt, b.szt + " 是普通文件，不是串口"},
        {folder, folder + " 是文件夹，不是串口"},
        {b.dir.File("fifo"), b.dir.File("fifo") + " 是管道（FIFO），不是串口"},
        {b.dir.File("sock"), b.dir.File("sock") + " 是套接字，不是串口"},
        {"/dev/null", "/dev/null 是设备，但不是串口"},
    };
    for (const auto& row : rows) {
        const auto r = RunCli({"write", "--port", row.port, b.szt});
        EXPECT_EQ(r.exitCode, 1) << row.port;
        EXPECT_EQ(r.err, std::string(kMsgCannotOpenPort) + "\n" + row.hint + "\n");
        EXPECT_LT(r.seconds, 1.0) << row.port;
    }
    close(sock);
    EXPECT_EQ(Snapshot(b.dir.Path().string()), before);
}

// One device under two names would be written twice at once: refused before
// anything is sent, with the reason.
TEST(HazardE2E, OneDeviceGivenTwiceIsRefusedAtTheStart) {
    Bench b;
    VirtualRadio radio({"--save", b.radioMemory});
    const std::string link = b.dir.File("line");
    fs::create_symlink(radio.Path(), link);
    const std::string& p = radio.Path();
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> env;
        std::string why;
    } rows[] = {
        {{"write", "--port", p, "--port", p, b.szt}, {}, "the port \"" + p + "\" is given twice"},
        {{"write", "--port", p, "--port", link, b.szt},
         {},
         "the ports \"" + p + "\" and \"" + link + "\" are one device (" + link + ")"},
        {{"write", "--port", "COM3", "--port", p, b.szt},
         {"QUORIM_COM3=" + p},
         "the ports \"COM3\" and \"" + p + "\" are one device (" + p + ")"},
        {{"read", "--port", link, "--port", p, "--out-dir", b.dir.Path().string()},
         {},
         "the ports \"" + link + "\" and \"" + p + "\" are one device (" + p + ")"},
    };
    for (const auto& row : rows) {
        const auto r = RunCli(row.args, row.env);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.starts_with("quorim: " + row.why + "; give each port once\nusage: ")) << r.err;
    }
    const auto empty = RunCli({"write", "--port", "", b.szt});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(empty.err.starts_with("quorim: --port needs a port name\nusage: ")) << empty.err;
    EXPECT_EQ(RunCli({"tune", "--port", "", "--item", "power", "--value", "1"}).exitCode, 2);
    EXPECT_EQ(radio.Stop(), 0);
    EXPECT_FALSE(fs::exists(b.radioMemory));
}

// Ctrl+C while a silent radio is being woken: the transfer or tuning ends
// within half a second of it, and nothing more is sent.
TEST(HazardE2E, CtrlCWhileTheRadioIsWokenEndsAtOnce) {
    for (const char* command : {"write", "read", "tune"}) {
        Bench b;
        VirtualRadio radio({"--silent", "all", "--save", b.radioMemory});
        const std::string trace = b.dir.File("trace.log");
        std::vector<std::string> args{command, "--port", radio.Path()};
        if (std::string(command) == "write") args.push_back(b.szt);
        if (std::string(command) == "read") args.insert(args.end(), {"--out", b.dir.File("out.szt")});
        if (std::string(command) == "tune") args.insert(args.end(), {"--item", "power", "--value", "1"});
        const auto before = Snapshot(b.dir.Path().string());
        // 300 ms: the clone link waits for the first ACK, the tuning in its
        // 700 ms pause before the opening.
        constexpr double kSignalAt = 0.3;
        const auto r = RunCli(args, {"QUORIM_TRACE=" + trace}, [&](pid_t pid) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            kill(pid, SIGINT);
        });
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_EQ(r.err, "") << command;
        EXPECT_LT(r.seconds - kSignalAt, 0.5) << command;
        std::printf("    [%s] ended %.3f s after Ctrl+C\n", command, r.seconds - kSignalAt);
        std::ifstream log(trace);
        const std::string traced{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
        const std::size_t sent = traced.find(" tx ");
        EXPECT_EQ(std::string(command) == "tune", sent == std::string::npos) << command << traced;
        fs::remove(trace);
        EXPECT_EQ(Snapshot(b.dir.Path().string()), before) << command;
        EXPECT_EQ(radio.Stop(), 0);
        EXPECT_FALSE(fs::exists(b.radioMemory)) << command;
    }
}

// A batch whose second thread the system will not start (each thread's stack
// is asked from a limit of address space that holds one): that port fails,
// the first is written, nothing aborts.
TEST(HazardE2E, BatchPortWhoseThreadCannotStartFailsAlone) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's shadow memory does not fit under the thread limit";
#endif
    Bench b;
    VirtualRadio first({"--save", b.dir.File("first.szt")});
    VirtualRadio second({"--save", b.dir.File("second.szt")});
    const auto r =
        RunProgram({"/bin/sh", "-c", "ulimit -s 1048576 && ulimit -v 1572864 && exec \"$@\"", "sh",
                    QUORIM_CLI_PATH, "write", "--port", first.Path(), "--port", second.Path(), b.szt});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_TRUE(r.out.ends_with(first.Path() + ": written\n" + second.Path() +
                                ": failed: the port's thread could not be started (Resource temporarily "
                                "unavailable)\n"))
        << r.out << r.err;
    EXPECT_EQ(first.Stop(), 0);
    EXPECT_EQ(second.Stop(), 0);
    EXPECT_TRUE(fs::exists(b.dir.File("first.szt")));
    EXPECT_FALSE(fs::exists(b.dir.File("second.szt")));
}

// The virtual radio: a memory file it could not save is a failure, and a
// tuning log that is no regular file is refused at once (a FIFO would hold it
// deaf to SIGTERM).
TEST(HazardE2E, VirtualRadioRefusesFilesItCannotWrite) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    const std::string radio = std::string(QUORIM_BIN_DIR) + "/quorim-radio";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"--save", "/dev/full"},
         "quorim-radio: --save: \"/dev/full\" is a device, not a regular file; it was left as it is\n"},
        {{"--tune-log", dir.File("fifo")},
         "quorim-radio: --tune-log: cannot write \"" + dir.File("fifo") + "\" (not a regular file)\n"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> argv{radio};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        const auto r = RunProgram(argv);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, row.message);
        EXPECT_LT(r.seconds, 1.0);
    }
}

}  // namespace
}  // namespace quorim::e2e
