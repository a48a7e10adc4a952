// The launcher's INI write-back on POSIX systems: links, FIFOs, modes and
// full disks.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "launcher/ini_file.h"
#include "test_util.h"

namespace quorim {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

// The write-back never harms what stands at the INI's name: a link is
// followed, the mode kept, a FIFO refused at once, a read-only file left, and
// on a full disk the old file stays whole.
TEST(IniWriteBack, SafeReplaceOfWhatStandsThere) {
    TempDir dir;
    const std::string path = dir.File("t.ini");
    const auto change = [&](bool backup) {
        CIniFile ini(4);
        if (!ini.Load(path, true, true, backup)) return false;
        ini.SetString("MAIN", "LANGUAGE", "ENGLISH");
        return true;
    };
    WriteText(dir.File("real.ini"), "[MAIN]\nLANGUAGE=CHINESE\n");
    ASSERT_EQ(chmod(dir.File("real.ini").c_str(), 0604), 0);
    std::filesystem::create_symlink("real.ini", path);
    ASSERT_TRUE(change(true));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadText(dir.File("real.ini")), "[MAIN]\nLANGUAGE=ENGLISH\n");
    EXPECT_EQ(ReadText(path + ".001"), "[MAIN]\nLANGUAGE=CHINESE\n");  // the backup copy
    struct stat st {};
    stat(dir.File("real.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0604u);

    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_FALSE(change(false));  // and does not wait for a writer

    std::filesystem::remove(path);
    WriteText(path, "[MAIN]\nLANGUAGE=CHINESE\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(change(false));
    EXPECT_EQ(ReadText(path), "[MAIN]\nLANGUAGE=CHINESE\n");

    const std::string mnt = dir.File("small");
    std::filesystem::create_directory(mnt);
    if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    }
    const std::string full = mnt + "/t.ini";
    const std::string old = "[MAIN]\nLANGUAGE=CHINESE\n" + std::string(3000, ';') + "\n";
    WriteText(full, old);
    WriteText(mnt + "/fill", std::string(12 * 1024, 'x'));
    {
        CIniFile ini(4);
        ASSERT_TRUE(ini.Load(full, true, true, false));
        for (int i = 0; i < 400; ++i) ini.SetString("MAIN", "key" + std::to_string(i), "value");
    }
    EXPECT_EQ(ReadText(full), old);
    umount(mnt.c_str());
}

}  // namespace
}  // namespace quorim
