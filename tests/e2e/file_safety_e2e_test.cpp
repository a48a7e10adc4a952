// What the programs do to the files a user already has, grouped by what the
// target is. Every refused case must leave every file in the folder byte for
// byte and mode for mode as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// One folder with a data file and its CSV export; each writer puts its
// output at the path it is given.
struct Folder {
    TempDir dir;
    std::string szt = dir.File("a.szt");
    std::string csv = dir.File("a.csv");
    Folder() {
        EXPECT_EQ(RunCli({"new", szt}).exitCode, 0);
        EXPECT_EQ(RunCli({"export", szt, "--out", csv}).exitCode, 0);
    }
};

using Writer = std::function<std::vector<std::string>(const Folder&, const std::string& out)>;
const std::map<std::string, Writer>& Writers() {
    static const std::map<std::string, Writer> writers = {
        {"new",
         [](const Folder&, const std::string& out) -> std::vector<std::string> {
             return {"new", "--model", "199", out};
         }},
        {"export",
         [](const Folder& f, const std::string& out) -> std::vector<std::string> {
             return {"export", f.szt, "--out", out};
         }},
        {"import",
         [](const Folder& f, const std::string& out) -> std::vector<std::string> {
             return {"import", f.csv, "--out", out};
         }},
        // Refused before the port is even opened.
        {"read",
         [](const Folder&, const std::string& out) -> std::vector<std::string> {
             return {"read", "--port", "/nonexistent-port", "--out", out};
         }},
    };
    return writers;
}

// Targets no writer may replace: refused at once, exit 1, nothing touched.
TEST(FileSafetyE2E, DeviceFifoReadOnlyAndFolderTargetsAreRefused) {
    struct Kind {
        const char* name;
        std::function<bool(const std::string&)> make;  // false: cannot be made here
        const char* message;
    };
    const Kind kinds[] = {
        {"device node",
         [](const std::string& p) { return mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
         "is a device, not a regular file; it was left as it is"},
        {"FIFO", [](const std::string& p) { return mkfifo(p.c_str(), 0644) == 0; },
         "is a FIFO, not a regular file; it was left as it is"},
        // No write bit at all is read-only for every user, the superuser too.
        {"read-only file",
         [](const std::string& p) {
             test::WriteBytes(p, {1, 2, 3});
             return chmod(p.c_str(), 0444) == 0;
         },
         "is read-only; it was left as it is"},
        {"folder", [](const std::string& p) { return fs::create_directory(p); }, "it is a folder"},
    };
    for (const Kind& kind : kinds) {
        Folder f;
        const std::string target = f.dir.File("target");
        if (!kind.make(target)) {
            std::printf("skipped: cannot make a %s here\n", kind.name);
            continue;
        }
        for (const auto& [name, writer] : Writers()) {
            const auto before = Snapshot(f.dir.Path());
            const auto r = RunCli(writer(f, target));
            EXPECT_EQ(r.exitCode, 1) << kind.name << " " << name << r.err;
            EXPECT_NE(r.err.find(kind.message), std::string::npos) << kind.name << " " << name << r.err;
            EXPECT_LT(r.seconds, 2.0) << kind.name << " " << name;
            EXPECT_EQ(Snapshot(f.dir.Path()), before) << kind.name << " " << name;
        }
    }
    // The system's own devices too.
    const auto full = RunCli({"new", "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// Data files, CSVs and inputs that are not regular files are refused at
// once; standard output stays for export.
TEST(FileSafetyE2E, InputsMustBeRegularFiles) {
    Folder f;
    const std::string fifo = f.dir.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"show", fifo},
        {"export", fifo},
        {"import", fifo, "--out", f.dir.File("x.szt")},
        {"import", f.csv, "--into", fifo, "--out", f.dir.File("x.szt")},
        {"diff", f.szt, fifo},
        {"write", "--port", "/nonexistent-port", fifo},
        {"import", "/dev/zero", "--out", f.dir.File("x.szt")},
    };
    for (const auto& args : commands) {
        const auto r = RunCli(args);
        EXPECT_NE(r.exitCode, 0) << args[0] << " " << args[1];
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << args[0] << r.err;
        EXPECT_LT(r.seconds, 2.0) << args[0];
    }
    EXPECT_FALSE(fs::exists(f.dir.File("x.szt")));
    const auto out = RunCli({"export", f.szt});
    EXPECT_EQ(out.exitCode, 0);
    const auto csv = test::ReadBytes(f.csv);
    EXPECT_EQ(out.out, std::string(csv.begin(), csv.end()));

    // A CSV far past its limit is refused without being read to its end.
    const std::string huge = f.dir.File("huge.csv");
    { std::ofstream(huge) << ""; }
    fs::resize_file(huge, std::uintmax_t{8} << 30);
    const auto big = RunCli({"import", huge, "--out", f.dir.File("x.szt")});
    EXPECT_EQ(big.exitCode, 1);
    EXPECT_NE(big.err.find("too large for a channel list"), std::string::npos) << big.err;
    EXPECT_LT(big.seconds, 2.0);
}

// Through a symbolic link the file it names is replaced; the link stays a
// link and the file keeps its mode.
TEST(FileSafetyE2E, SymbolicLinkIsFollowedAndModeKept) {
    for (const auto& [name, writer] : Writers()) {
        if (name == "read") continue;  // needs a radio; it saves the same way
        Folder f;
        const std::string file = f.dir.File("file");
        const std::string link = f.dir.File("link");
        test::WriteBytes(file, {1, 2, 3});
        ASSERT_EQ(chmod(file.c_str(), 0640), 0);
        fs::create_symlink("file", link);
        ASSERT_EQ(RunCli(writer(f, f.dir.File("plain"))).exitCode, 0) << name;
        const auto r = RunCli(writer(f, link));
        EXPECT_EQ(r.exitCode, 0) << name << r.err;
        EXPECT_TRUE(fs::is_symlink(link)) << name;
        EXPECT_EQ(test::ReadBytes(file), test::ReadBytes(f.dir.File("plain"))) << name;
        struct stat st {};
        stat(file.c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << name;
        // Nothing but the four files: no temporary file left over.
        EXPECT_EQ(Snapshot(f.dir.Path()).size(), 5u) << name;
    }
}

// An output naming the same file as an input, by any name, is refused.
TEST(FileSafetyE2E, OutputIsNeverItsOwnInput) {
    Folder f;
    fs::create_hard_link(f.szt, f.dir.File("hard.szt"));
    fs::create_symlink("a.csv", f.dir.File("soft.csv"));
    const std::vector<std::vector<std::string>> commands = {
        {"export", f.szt, "--out", f.szt},
        {"export", f.szt, "--out", f.dir.File("hard.szt")},
        {"import", f.csv, "--out", f.csv},
        {"import", f.csv, "--out", f.dir.File("soft.csv")},
    };
    const auto before = Snapshot(f.dir.Path());
    for (const auto& args : commands) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args[3];
        EXPECT_NE(r.err.find("itself; nothing was written"), std::string::npos) << r.err;
    }
    EXPECT_EQ(Snapshot(f.dir.Path()), before);
}

// A full disk: every save fails with the reason and leaves the old files.
TEST(FileSafetyE2E, FullFileSystemKeepsTheOldFiles) {
    Folder f;
    const std::string mnt = f.dir.File("small");
    const SmallDisk disk(mnt);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    }
    const std::string target = mnt + "/a.szt";
    fs::copy_file(f.szt, target);
    fs::copy_file(f.csv, mnt + "/a.csv");
    {
        std::ofstream fill(mnt + "/fill", std::ios::binary);
        const std::string block(4096, 'x');
        while (fill.write(block.data(), static_cast<std::streamsize>(block.size())) && fill.flush()) {
        }
    }
    const auto before = Snapshot(mnt);
    for (const auto& [name, writer] : Writers()) {
        if (name == "read") continue;
        const std::string out = name == "export" ? mnt + "/a.csv" : target;
        const auto r = RunCli(writer(f, out));
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << name << r.err;
        EXPECT_NE(r.err.find("the previous file is unchanged"), std::string::npos) << name << r.err;
        EXPECT_EQ(Snapshot(mnt), before) << name;
    }
    // A new name had no previous file, and none is spoken of.
    const auto fresh = RunCli({"new", mnt + "/fresh.szt"});
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_EQ(fresh.err, "quorim: Cannot save \"" + mnt + "/fresh.szt\" (No space left on device)\n");
    EXPECT_EQ(Snapshot(mnt), before);
}

// SIGTERM and SIGHUP end a read like Ctrl+C: nothing written, nothing said,
// and the port free for anyone, an unprivileged user too.
TEST(FileSafetyE2E, StopSignalsReleaseThePort) {
    for (const int sig : {SIGTERM, SIGHUP}) {
        TempDir dir;
        VirtualRadio radio({});
        const auto r =
            RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")}, {}, [&](pid_t pid) {
                std::this_thread::sleep_for(std::chrono::milliseconds(800));
                kill(pid, sig);
            });
        EXPECT_EQ(r.exitCode, 1) << sig;
        EXPECT_EQ(r.err, "") << sig;
        EXPECT_FALSE(fs::exists(dir.File("out.szt"))) << sig;
        if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
            std::printf("skipped: opening the port as an unprivileged user needs root and setpriv\n");
            continue;
        }
        chmod(radio.Path().c_str(), 0666);
        const auto open = RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                      "/bin/sh", "-c", "exec 3<>\"$0\"", radio.Path()});
        EXPECT_EQ(open.exitCode, 0) << sig << open.err;
    }
}

// Ctrl+C stops the tuning at once, however many retries were asked for.
TEST(FileSafetyE2E, TuneHonoursCtrlCAtOnce) {
    VirtualRadio radio({"--silent", "all"});
    const auto r =
        RunCli({"tune", "--port", radio.Path(), "--item", "squelch", "--value", "1", "--retry", "1000"}, {},
               [](pid_t pid) {
                   std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                   kill(pid, SIGINT);
               });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_LT(r.seconds, 3.0);
}

// The virtual radio never removes a file it did not make.
TEST(FileSafetyE2E, RadioLinkRefusesSomeoneElsesFile) {
    TempDir dir;
    const std::string path = dir.File("port");
    test::WriteBytes(path, {7});
    const auto r = RunProgram({std::string(QUORIM_BIN_DIR) + "/quorim-radio", "--link", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is not a link this program made"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(path), std::vector<unsigned char>{7});
}

// A trace that cannot be written is a warning; the read goes on.
TEST(FileSafetyE2E, UnusableTraceIsAWarning) {
    TempDir dir;
    VirtualRadio radio({});
    for (const std::string& trace :
         {dir.Path().string(), dir.File("none/trace.log"), std::string("/dev/full")}) {
        const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt"), "--no-backup"},
                              {"QUORIM_TRACE=" + trace});
        EXPECT_EQ(r.exitCode, 0) << trace << r.err;
        EXPECT_NE(r.err.find("warning: no trace: cannot write \"" + trace + "\""), std::string::npos)
            << r.err;
    }
}

}  // namespace
}  // namespace quorim::e2e
