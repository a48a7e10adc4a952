// Where the launcher keeps its INI file: beside its real file when that
// folder may be written, else under the user's configuration folder.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"
#include "tests/core/test_util.h"

using namespace quorim;
using quorim::test::ReadBytes;
using quorim::test::TempDir;
namespace fs = std::filesystem;

TEST(LauncherIniPlace, BesideWhenWritableElseUnderTheConfigFolder) {
    struct Case {
        bool writable;
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {true, "/x/cfg", "/home/u", "/usr/bin/MAIN.ini"},
        {false, "/x/cfg", "/home/u", "/x/cfg/quorim/MAIN.ini"},
        {false, "", "/home/u", "/home/u/.config/quorim/MAIN.ini"},
        // A relative $XDG_CONFIG_HOME does not count.
        {false, "cfg", "/home/u", "/home/u/.config/quorim/MAIN.ini"},
        {false, nullptr, "/home/u", "/home/u/.config/quorim/MAIN.ini"},
        // Nowhere to go: beside it all the same (the store cannot bind).
        {false, nullptr, nullptr, "/usr/bin/MAIN.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LauncherIniPath("/usr/bin/Tarvolin", c.writable, c.xdg, c.home), c.expected)
            << c.writable << " " << (c.xdg ? c.xdg : "(unset)");
    }
    EXPECT_EQ(LauncherIniPath("/opt/q/Tarvolin.exe", false, "/x", nullptr), "/x/quorim/Tarvolin.ini");
}

namespace {

// One launcher run after another, as an unprivileged user when the tests
// run as root: started from `startDir`, the first picks English, the second
// must open in English. Returns the child's exit status (0: as expected).
int TwoRunsAs(uid_t uid, gid_t gid, const std::string& module, const fs::path& startDir,
              const fs::path& configHome) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) {
            _exit(10);
        }
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        if (chdir(startDir.c_str()) != 0) {
            _exit(11);
        }
        {
            LauncherSettings first;
            if (!first.Load(LocateLauncherIni(module))) _exit(12);
            if (first.InitialLanguage() != Language::Chinese) _exit(13);
            first.RecordChoice(1);
        }
        LauncherSettings second;
        second.Load(LocateLauncherIni(module));
        _exit(second.InitialLanguage() == Language::English ? 0 : 14);
    }
    int status = -1;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

}  // namespace

TEST(LauncherIniPlace, AReadOnlyInstallRemembersTheChoiceInTheConfigFolder) {
    uid_t uid = geteuid();
    gid_t gid = getegid();
    if (uid == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) {
            GTEST_SKIP() << "running as root and there is no user \"nobody\" to run the launcher as";
        }
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
    }
    TempDir dir;
    const fs::path bin = dir.Path() / "prefix" / "bin";
    const fs::path start = dir.Path() / "start";
    const fs::path home = dir.Path() / "home";
    fs::create_directories(bin);
    fs::create_directories(start);
    fs::create_directories(home);
    for (const fs::path& p : {dir.Path(), start, home}) {
        ASSERT_EQ(chown(p.c_str(), uid, gid), 0);
    }
    fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    ASSERT_EQ(TwoRunsAs(uid, gid, (bin / "Tarvolin").string(), start, home / "cfg"), 0);
    const auto ini = ReadBytes((home / "cfg" / "quorim" / "MAIN.ini").string());
    EXPECT_EQ(std::string(ini.begin(), ini.end()), "[MAIN]\nLANGUAGE=ENGLISH\n");
    EXPECT_TRUE(fs::is_empty(bin));
    EXPECT_TRUE(fs::is_empty(start));
}

TEST(LauncherIniPlace, AWritableFolderKeepsItBesideWhereverTheLauncherStarts) {
    TempDir dir;
    const fs::path stage = dir.Path() / "stage";
    const fs::path start = dir.Path() / "start";
    fs::create_directories(stage);
    fs::create_directories(start);
    ASSERT_EQ(TwoRunsAs(geteuid(), getegid(), (stage / "Tarvolin").string(), start, dir.Path() / "cfg"), 0);
    EXPECT_TRUE(fs::exists(stage / "MAIN.ini"));
    EXPECT_TRUE(fs::is_empty(start));
    EXPECT_FALSE(fs::exists(dir.Path() / "cfg"));
}
