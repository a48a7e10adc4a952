// What a save and a new file do to what already stands at a name: extended
// attributes, links planted by another user, names taken.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "files/safe_file.h"
#include "test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

TEST(NewFile, TakesTheFirstFreeNameAndFollowsNothing) {
    TempDir dir, other;
    WriteText(dir.File("a.szt"), "mine");
    fs::create_symlink(dir.File("nowhere"), dir.File("a-2.szt"));  // dangling
    WriteText(other.File("victim"), "victim");
    fs::create_symlink(other.File("victim"), dir.File("a-3.szt"));
    std::string written;
    ASSERT_TRUE(CreateNewFile(dir.Path().string() + "/", "a", ".szt", "new", 3, written).Ok());
    EXPECT_EQ(written, dir.File("a-4.szt"));
    EXPECT_EQ(ReadText(written), "new");
    EXPECT_EQ(ReadText(dir.File("a.szt")), "mine");
    EXPECT_EQ(ReadText(other.File("victim")), "victim");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"a.szt", "a-2.szt", "a-3.szt", "a-4.szt"}));
}

// Hard links are kept too (tests/e2e/intent_e2e_test.cpp).
TEST(SafeReplace, KeepsExtendedAttributes) {
    TempDir dir;
    const std::string c = dir.File("c.szt");
    WriteText(c, "old");
    if (setxattr(c.c_str(), "user.quorim", "tag", 3, 0) != 0) {
        GTEST_SKIP() << "no user attributes on this file system";
    }
    ASSERT_TRUE(WriteFileAtomically(c, "new", 3).Ok());
    char value[8] = {};
    EXPECT_EQ(getxattr(c.c_str(), "user.quorim", value, sizeof value), 3);
    EXPECT_STREQ(value, "tag");
}

// As the kernel's protected_symlinks: in a sticky folder anyone may write
// to, another user's link is not followed, for a save or for a read.
TEST(SafeReplace, FollowsALinkInASharedFolderOnlyWhenItsOwnerIsTrusted) {
    TempDir shared, home;
    ASSERT_EQ(chmod(shared.Path().c_str(), 01777), 0);
    WriteText(home.File("private"), "private");
    const std::string planted = shared.File("planted.szt");
    fs::create_symlink(home.File("private"), planted);
    if (geteuid() != 0 || lchown(planted.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "cannot give a link to another user here (needs root)";
    }
    const FileStatus save = WriteFileAtomically(planted, "harm", 4);
    EXPECT_EQ(save.error, FileError::WriteFailed);
    EXPECT_NE(save.Message().find("a link another user put into a shared folder"), std::string::npos);
    std::string bytes;
    EXPECT_EQ(ReadRegularFile(planted, 100, bytes).error, FileError::CannotOpen);
    EXPECT_EQ(ReadText(home.File("private")), "private");
    EXPECT_TRUE(fs::is_symlink(planted));

    // The user's own link there is followed.
    ASSERT_EQ(lchown(planted.c_str(), 0, 0), 0);
    EXPECT_TRUE(WriteFileAtomically(planted, "mine", 4).Ok());
    EXPECT_EQ(ReadText(home.File("private")), "mine");
}

}  // namespace
}  // namespace quorim
