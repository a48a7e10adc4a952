#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "files/szt_file.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

// A new 16-channel document, and the 984 bytes a write of it sends.
std::string NewFile(const TempDir& dir, MemoryImage& sent) {
    const std::string path = dir.File("plan.szt");
    EXPECT_EQ(RunCli({"new", path}).exitCode, 0);
    DocumentData doc;
    EditorModel editor;
    EXPECT_TRUE(OpenDocument(path, doc, editor).Ok());
    EncodeImage(editor, doc);
    sent = doc.m_image;
    return path;
}

bool HoldsWrite(const std::string& radioFile, const MemoryImage& sent) {
    MemoryImage held{};
    return LoadSztFile(radioFile, held).Ok() && std::equal(sent.begin(), sent.begin() + 984, held.begin());
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::filesystem::exists(path);
}

TEST(BatchE2E, ThreeRadiosAtOnceOneFails) {
    TempDir dir;
    MemoryImage sent{};
    const std::string file = NewFile(dir, sent);
    VirtualRadio a({"--save", dir.File("a.szt")});
    VirtualRadio b({"--nak-write", "40"});
    VirtualRadio c({"--save", dir.File("c.szt")});
    const auto r =
        RunCli({"write", "--port", a.Path(), "--port", b.Path(), "--port", c.Path(), file, "--verify"});
    EXPECT_EQ(r.exitCode, 1);
    // Each port's messages carry its name; the summary has a line per port.
    EXPECT_EQ(r.err, b.Path() + ": " + kMsgWriteBlockError + "\n");
    const std::string verified = ": Verified: the radio holds the 984 bytes written (bytes 0-983)\n";
    const std::string summary = a.Path() + ": verified\n" + b.Path() + ": failed: " + kMsgWriteBlockError +
                                "\n" + c.Path() + ": verified\n";
    EXPECT_NE(r.out.find(a.Path() + verified), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(c.Path() + verified), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), summary.size())), summary);
    for (VirtualRadio* radio : {&a, &b, &c}) {
        radio->Stop();
    }
    EXPECT_TRUE(HoldsWrite(dir.File("a.szt"), sent));
    EXPECT_TRUE(HoldsWrite(dir.File("c.szt"), sent));
}

TEST(BatchE2E, TwoRadiosReadIntoOneFolder) {
    TempDir dir;
    VirtualRadio a({"--model", "16"});
    VirtualRadio b({"--model", "16"});
    std::filesystem::create_directory(dir.File("out"));
    const auto r = RunCli({"read", "--port", a.Path(), "--port", b.Path(), "--out-dir", dir.File("out")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("out"))) {
        names.push_back(entry.path().filename().string());
        EXPECT_NE(r.out.find(entry.path().string()), std::string::npos) << r.out;
    }
    ASSERT_EQ(names.size(), 2u);
    // Named by port and time: "dev_pts_7_20261207-140211Z.szt".
    for (std::string port : {a.Path(), b.Path()}) {
        std::replace(port.begin(), port.end(), '/', '_');
        const std::string start = port.substr(1) + "_";
        EXPECT_EQ(std::count_if(names.begin(), names.end(),
                                [&](const std::string& n) {
                                    return n.starts_with(start) && n.size() == start.size() + 20;
                                }),
                  1)
            << port;
    }
    EXPECT_EQ(RunCli({"read", "--port", a.Path(), "--port", b.Path(), "--out", dir.File("x.szt")}).exitCode,
              2);
    EXPECT_EQ(RunCli({"read", "--port", a.Path(), "--port", a.Path(), "--out-dir", dir.File("out")}).exitCode,
              2);
}

// Production line: a radio comes, is written, goes; the next comes. A port
// that another program holds for a while is no sign that the radio left: it
// is not written twice. Ctrl+C ends the run with the count.
TEST(BatchE2E, RepeatCountsEachRadioOnceAndStopsOnCtrlC) {
    TempDir dir;
    MemoryImage sent{};
    const std::string file = NewFile(dir, sent);
    // One line for both radios: the test holds its far side between them.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string line = ptsname(master);
    ASSERT_EQ(fcntl(master, F_SETFL, O_NONBLOCK), 0);
    const auto r = RunCli({"write", "--port", line, file, "--repeat"}, {}, [&](pid_t cli) {
        for (const char* save : {"first.szt", "second.szt"}) {
            VirtualRadio radio({"--save", dir.File(save)}, master);
            EXPECT_TRUE(WaitForFile(dir.File(save)));
            if (std::string(save) == "first.szt") {
                // Still on the cable while another program holds the port.
                PosixSerialPort other;
                EXPECT_TRUE(other.Open(line).Ok());
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            radio.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            // What the program sent to the empty line is not for the next radio.
            char drain[256];
            while (read(master, drain, sizeof drain) > 0) {
            }
        }
        kill(cli, SIGINT);
    });
    close(master);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string prefix = line + ": ";
    EXPECT_NE(r.out.find(prefix + "radio 1 at "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("QZ - 16 written (so far: 2 written)\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(prefix + "radio 3"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with(prefix + "stopped after 2 radios: 2 written\n")) << r.out;
    EXPECT_TRUE(HoldsWrite(dir.File("first.szt"), sent));
    EXPECT_TRUE(HoldsWrite(dir.File("second.szt"), sent));
}

// A radio of the other model is refused, counted as refused, and not
// written; the line waits for the next radio.
TEST(BatchE2E, RepeatRefusesARadioOfTheOtherModel) {
    TempDir dir;
    MemoryImage sent{};
    const std::string file = NewFile(dir, sent);
    VirtualRadio radio({"--model", "199", "--save", dir.File("radio.szt")});
    const auto r = RunCli({"write", "--port", radio.Path(), file, "--repeat"}, {}, [&](pid_t cli) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
        kill(cli, SIGINT);
    });
    EXPECT_EQ(r.exitCode, 1);
    const std::string refusal = WrongRadioModelMessage(ChineseTexts(), false, true);
    EXPECT_EQ(r.err, radio.Path() + ": " + refusal + "\n");
    EXPECT_NE(r.out.find(": QZ - 199 refused: " + refusal + " (so far: 1 refused)\n"), std::string::npos)
        << r.out;
    EXPECT_TRUE(r.out.ends_with(radio.Path() + ": stopped after 1 radio: 1 refused\n")) << r.out;
    radio.Stop();
    EXPECT_FALSE(std::filesystem::exists(dir.File("radio.szt")));
}

}  // namespace
}  // namespace quorim::e2e
