// The backup folder named by the environment (XDG base directories).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "files/read_backup.h"
#include "files/szt_file.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

DocumentData Doc(bool sixteen, std::uint8_t fill) {
    DocumentData doc;
    doc.m_image.fill(fill);
    doc.m_bSixteenChannel = sixteen;
    return doc;
}

// Sets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = getenv(name)) {
            m_old = old;
        }
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~EnvVar() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(ReadBackup, FolderFromTheEnvironmentKeepsAHundred) {
    TempDir dir;
    {
        EnvVar data("XDG_DATA_HOME", dir.File("data"));
        EXPECT_EQ(ReadBackupFolder(), dir.File("data") + "/quorim/backups");
        for (int i = 0; i < 101; ++i) {
            const auto r = StoreReadBackup(Doc(i % 2 == 0, static_cast<std::uint8_t>(i)));
            ASSERT_TRUE(r.Ok()) << r.warning;
        }
        const auto names = Names(dir.File("data/quorim/backups"));
        EXPECT_EQ(names.size(), kKeptReadBackups);
        // The oldest went; the newest (filled with 100) stays.
        std::vector<int> fills;
        for (const auto& name : names) {
            MemoryImage image{};
            ASSERT_TRUE(LoadSztFile(dir.File("data/quorim/backups/") + name, image).Ok());
            fills.push_back(image[0]);
        }
        std::sort(fills.begin(), fills.end());
        EXPECT_EQ(fills.front(), 1);
        EXPECT_EQ(fills.back(), 100);
    }
    {
        // A relative XDG_DATA_HOME is ignored, as the base directory rules say.
        EnvVar data("XDG_DATA_HOME", std::string("relative/data"));
        EnvVar home("HOME", dir.File("home"));
        EXPECT_EQ(ReadBackupFolder(), dir.File("home") + "/.local/share/quorim/backups");
    }
    {
        EnvVar data("XDG_DATA_HOME", std::nullopt);
        EnvVar home("HOME", std::nullopt);
        EXPECT_EQ(ReadBackupFolder(), "");
        const auto r = StoreReadBackup(Doc(true, 0));
        EXPECT_FALSE(r.Ok());
        EXPECT_EQ(r.path, "");
    }
}

}  // namespace
}  // namespace quorim
