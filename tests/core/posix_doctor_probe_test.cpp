// What the doctor learns from /proc, on a /proc of the test's own making:
// programs by name, and the holders of a device, where the far end of a
// pseudo-terminal (the process with its master) is the line, not a holder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "link/doctor.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;

class FakeProc {
public:
    // A process `pid` called `name` whose descriptors 0, 1, ... are `fds`
    // (link targets), with fdinfo text for some.
    void Add(int pid, const std::string& name, const std::vector<std::string>& fds,
             const std::vector<std::pair<int, std::string>>& fdinfo = {}) {
        const fs::path dir = m_dir.Path() / std::to_string(pid);
        fs::create_directories(dir / "fd");
        fs::create_directories(dir / "fdinfo");
        test::WriteText((dir / "comm").string(), name + "\n");
        for (std::size_t i = 0; i < fds.size(); ++i) {
            fs::create_symlink(fds[i], dir / "fd" / std::to_string(i));
        }
        for (const auto& [fd, text] : fdinfo) {
            test::WriteText((dir / "fdinfo" / std::to_string(fd)).string(), text);
        }
    }
    std::string Root() const { return m_dir.Path().string(); }

private:
    test::TempDir m_dir;
};

TEST(DoctorProbe, ProcessesAndHoldersFromProc) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    const std::string index = slave.substr(slave.rfind('/') + 1);

    FakeProc proc;
    proc.Add(10, "brltty", {"/dev/null"});
    proc.Add(11, "bash", {slave});  // a terminal: holds it
    proc.Add(12, "quorim-radio", {"/dev/ptmx", slave},
             {{0, "pos:\t0\nflags:\t02\ntty-index:\t" + index + "\n"}});
    proc.Add(13, "other-radio", {"/dev/ptmx", slave},
             {{0, "tty-index:\t" + index + "9\n"}});  // another pty's master
    proc.Add(14, "ModemManager", {"/dev/null"});

    const auto probe = NewSystemDoctorProbe(proc.Root());
    const auto brltty = probe->ProcessesNamed("brltty");
    ASSERT_EQ(brltty.size(), 1u);
    EXPECT_EQ(brltty[0].pid, 10);
    EXPECT_TRUE(probe->ProcessesNamed("brlapi").empty());

    std::vector<std::string> holders;
    for (const auto& p : probe->Holders(slave)) {
        holders.push_back(p.name);
    }
    std::sort(holders.begin(), holders.end());
    EXPECT_EQ(holders, (std::vector<std::string>{"bash", "other-radio"}));
    EXPECT_EQ(probe->Holders("/dev/null").size(), 2u);
    EXPECT_TRUE(probe->Holders("/dev/quorim-no-such-device").empty());
    close(master);
}

}  // namespace
}  // namespace quorim
