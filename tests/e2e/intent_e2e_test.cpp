// Nothing reaches a radio or a file that the user did not mean. Grouped by
// hazard; each case checks the exit status, the message, and that every file
// that was there before, and the radio's memory, are byte for byte as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteText;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Nothing in stderr a terminal would take as a control: only line ends.
bool NoControls(const std::string& text) {
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) return false;
    }
    return true;
}

std::string Image(char modelCode, std::size_t size = kImageSize) {
    std::string bytes(reinterpret_cast<const char*>(NewImage().data()), kImageSize);
    bytes[kModelCodeOffset] = modelCode;
    bytes.resize(size, '\xFF');
    return bytes;
}

TEST(IntentE2E, OnlyAMemoryImageGoesToARadio) {
    TempDir dir;
    WriteText(dir.File("radio.szt"), Image('7'));
    VirtualRadio radio({"--memory", dir.File("radio.szt"), "--save", dir.File("written.szt")});
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } files[] = {
        {"list.csv", "Location,Name,Frequency\r\n" + std::string(13000, ','), "it is comma-separated text"},
        {"manual.pdf", "%PDF-1.4\n" + std::string(5000, ' '), "it is a PDF document"},
        {"tool",
         "\x7F"
         "ELF" +
             std::string(9000, '\0'),
         "it is a program"},
        {"long.szt", Image('7', 4000), "it is longer than the 3216 bytes of an image"},
        {"odd.szt", Image('X'), "its model code (byte 3) is neither '7' nor '8'"},
    };
    for (const auto& f : files) {
        WriteText(dir.File(f.name), f.bytes);
        const auto before = Snapshot(dir.Path().string());
        const std::string told = "does not look like a radio's memory image: " + std::string(f.reason);
        const auto write = RunCli({"write", "--port", radio.Path(), dir.File(f.name)});
        EXPECT_EQ(write.exitCode, 1) << f.name;
        EXPECT_TRUE(Contains(write.err, told + "; nothing was written to the radio")) << write.err;
        const auto show = RunCli({"show", dir.File(f.name)});
        EXPECT_EQ(show.exitCode, 0) << f.name;
        EXPECT_TRUE(Contains(show.err, "quorim: warning: ")) << show.err;
        EXPECT_TRUE(Contains(show.err, told)) << show.err;
        EXPECT_EQ(Snapshot(dir.Path().string()), before) << f.name;
    }
    radio.Stop();
    EXPECT_FALSE(fs::exists(dir.File("written.szt"))) << "the radio was written";
}

TEST(IntentE2E, ImportNeverDropsChannelsSilently) {
    TempDir dir;
    DocumentData doc;
    doc.OnNewDocument();
    doc.m_image[kModelCodeOffset] = kModelCode199;
    doc.SetModelFlagFromImage();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    for (const int ch : {1, 17, 120, 199}) editor.SetTextMatrix(ch, kColRxFreq, "145.00000");
    ASSERT_TRUE(SaveDocument(dir.File("big.szt"), editor, doc).Ok());
    const int dropped = ChannelsDroppedBySixteen(editor);
    ASSERT_GE(dropped, 3);
    WriteText(dir.File("small.csv"),
              "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\n1,146.00000,,,,\n\n机型,QZ - 16\n");
    const auto before = Snapshot(dir.Path().string());
    const std::vector<std::string> import{"import", dir.File("small.csv"), "--into", dir.File("big.szt"),
                                          "--out",  dir.File("out.szt")};
    const auto refused = RunCli(import);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Contains(refused.err, "would drop " + std::to_string(dropped) +
                                          " channels of 17-199 that hold data; nothing written"))
        << refused.err;
    EXPECT_EQ(Snapshot(dir.Path().string()), before);

    auto meant = import;
    meant.push_back("--drop-channels");
    EXPECT_EQ(RunCli(meant).exitCode, 0);
    const auto shown = RunCli({"show", dir.File("out.szt")});
    EXPECT_TRUE(Contains(shown.out, "QZ - 16")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "146.00000")) << shown.out;
}

TEST(IntentE2E, NewNamesNeverClash) {
    TempDir dir;
    // Two ports whose names map to one file name: ".../p/a_b" and ".../p/a/b".
    std::string memory[2] = {Image('7'), Image('7')};
    memory[0][20] = 0x11;  // a mark in each radio's first channel
    memory[1][20] = 0x22;
    WriteText(dir.File("a.szt"), memory[0]);
    WriteText(dir.File("b.szt"), memory[1]);
    VirtualRadio a({"--memory", dir.File("a.szt")});
    VirtualRadio b({"--memory", dir.File("b.szt")});
    fs::create_directories(dir.File("p/a"));
    fs::create_directory(dir.File("out"));
    fs::create_symlink(a.Path(), dir.File("p/a_b"));
    fs::create_symlink(b.Path(), dir.File("p/a/b"));
    const auto r = RunCli({"read", "--port", dir.File("p/a_b"), "--port", dir.File("p/a/b"), "--out-dir",
                           dir.File("out"), "--no-backup"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir.File("out"))) files.push_back(e.path());
    ASSERT_EQ(files.size(), 2u);
    for (const auto& file : files) {
        EXPECT_TRUE(Contains(r.out, " into " + file.string() + "\n")) << r.out;  // the name really written
    }
    std::string marks;  // each radio's own memory
    for (const auto& file : files) marks += test::ReadText(file.string())[20];
    EXPECT_TRUE(marks == "\x11\x22" || marks == "\x22\x11");
}

TEST(IntentE2E, PruningNeverTakesTheBackupJustMade) {
    TempDir dir;
    // 100 backups named by a clock that ran a year ahead, written long ago.
    const std::string backups = dir.File("data/quorim/backups");
    fs::create_directories(backups);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (int i = 0; i < 100; ++i) {
        const std::string name =
            backups + "/20990101-000000-" + std::to_string(1000 + i).substr(1) + "Z_QZ-16.szt";
        WriteText(name, Image('7'));
        fs::last_write_time(name, old + std::chrono::minutes(i));
    }
    const auto before = Snapshot(backups);
    VirtualRadio radio({"--model", "16"});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("read.szt")},
                          {"XDG_DATA_HOME=" + dir.File("data")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto after = Snapshot(backups);
    EXPECT_EQ(after.size(), 100u);
    EXPECT_EQ(after.count(before.begin()->first), 0u);  // the oldest written went
    std::size_t fresh = 0;
    for (const auto& [name, content] : after) fresh += before.count(name) == 0;
    EXPECT_EQ(fresh, 1u);
}

TEST(IntentE2E, SavingKeepsHardLinksAndFollowsOnlyTrustedLinks) {
    TempDir dir, shared;
    ASSERT_EQ(RunCli({"new", dir.File("a.szt")}).exitCode, 0);
    ASSERT_EQ(link(dir.File("a.szt").c_str(), dir.File("b.szt").c_str()), 0);
    ASSERT_EQ(RunCli({"new", "--model", "199", dir.File("a.szt")}).exitCode, 0);
    EXPECT_TRUE(fs::equivalent(dir.File("a.szt"), dir.File("b.szt")));
    EXPECT_EQ(test::ReadText(dir.File("b.szt"))[kModelCodeOffset], '8');

    // A link another user planted in a shared folder is not followed.
    ASSERT_EQ(chmod(shared.Path().c_str(), 01777), 0);
    const std::string planted = shared.File("planted.szt");
    fs::create_symlink(dir.File("a.szt"), planted);
    if (geteuid() != 0 || lchown(planted.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "cannot give a link to another user here (needs root)";
    }
    const auto before = Snapshot(dir.Path().string());
    const auto r = RunCli({"new", planted});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Contains(r.err, "it is a link another user put into a shared folder")) << r.err;
    EXPECT_EQ(Snapshot(dir.Path().string()), before);
    EXPECT_TRUE(fs::is_symlink(planted));
}

TEST(IntentE2E, TerminalControlsNeverReachTheTerminal) {
    TempDir dir;
    WriteText(dir.File("cells.csv"),
              "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\n1,\x1b]0;owned\x07,,,,\n");
    const std::string named = dir.File("evil\x1b[2J.szt");
    const auto before = Snapshot(dir.Path().string());
    const std::vector<std::vector<std::string>> commands = {
        {"import", dir.File("cells.csv"), "--out", dir.File("x.szt")},
        {"show", named},
        {"write", "--port", "/nonexistent", named},
        {"export", named},
    };
    for (const auto& command : commands) {
        const auto r = RunCli(command);
        EXPECT_EQ(r.exitCode, 1) << command[0];
        EXPECT_TRUE(NoControls(r.err)) << command[0] << ": " << r.err;
        EXPECT_TRUE(Contains(r.err, "\\x1b")) << command[0] << ": " << r.err;
    }
    EXPECT_EQ(Snapshot(dir.Path().string()), before);
}

}  // namespace
}  // namespace quorim::e2e
