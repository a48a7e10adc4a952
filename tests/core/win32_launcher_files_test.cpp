// The launcher's files on Windows: its INI file beside it or under
// %APPDATA%\quorim, the language builds found by name whatever they end in,
// started without waiting.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"
#include "tests/core/test_util.h"

using namespace quorim;
using quorim::test::TempDir;
using quorim::test::WriteText;

TEST(WindowsLauncherFiles, IniBesideWhenWritableElseUnderAppData) {
    const char* launcher = "C:\\Program Files\\Quorim\\Tarvolin.exe";
    EXPECT_EQ(LauncherIniPath(launcher, true, "C:\\Users\\u\\AppData\\Roaming", nullptr),
              "C:\\Program Files\\Quorim\\Tarvolin.ini");
    EXPECT_EQ(LauncherIniPath(launcher, false, "C:\\Users\\u\\AppData\\Roaming", nullptr),
              "C:\\Users\\u\\AppData\\Roaming\\quorim\\Tarvolin.ini");
    EXPECT_EQ(LauncherIniPath(launcher, false, nullptr, nullptr), "C:\\Program Files\\Quorim\\Tarvolin.ini");
    // The language builds are looked for beside it, whichever slash names it.
    EXPECT_EQ(LauncherFolder(launcher), "C:\\Program Files\\Quorim");
    EXPECT_EQ(LauncherFolder("C:/Quorim/Tarvolin.exe"), "C:/Quorim");
    EXPECT_EQ(LauncherFolder("Tarvolin.exe"), ".");

    TempDir dir;
    EXPECT_TRUE(IsWritableFolder(dir.Path().string()));
    EXPECT_FALSE(IsWritableFolder(dir.File("missing")));
    // The probe leaves nothing behind.
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(WindowsLauncherFiles, ALanguageBuildIsFoundAndStartedByItsName) {
    TempDir own;
    TempDir onPath;
    const std::string searchPath = "C:\\nonexistent;" + onPath.Path().string();
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath), std::nullopt);
    WriteText(onPath.File("tarvolin_EN.DLL"), "MZ");
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath),
              onPath.File("tarvolin_EN.DLL"));
    std::filesystem::create_directory(own.File("tarvolin_EN.DLL"));  // a folder is no program
    EXPECT_EQ(FindTargetProgram(own.Path().string(), "tarvolin_EN.DLL", searchPath),
              onPath.File("tarvolin_EN.DLL"));

    // A system program copied under a language build's name starts, and the
    // launcher does not wait for it.
    const std::string self = OwnExecutablePath("");
    EXPECT_EQ(self.substr(self.size() - 21), "quorim_core_tests.exe");
    wchar_t system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::string copy = own.File("tarvolin_CH.DLL");
    std::filesystem::copy_file(std::filesystem::path(system) / "hostname.exe", copy);
    EXPECT_TRUE(StartDetached(copy));
    EXPECT_FALSE(StartDetached(own.File("missing.DLL")));
    // The folder goes once the program has ended and its file is free.
    std::error_code ec;
    for (int i = 0; i < 100 && !std::filesystem::remove(copy, ec); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}
