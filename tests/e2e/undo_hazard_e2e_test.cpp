// The production line, the snapshots that undo a write and the record under
// faults, grouped by hazard. Each checks the exit status, the message, the
// radios' memory and that every file already in the folder is byte for byte
// as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "files/programming_record.h"
#include "files/szt_file.h"
#include "files/write_snapshot.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// A folder with a plan to write and a data folder of its own; the radios'
// memory files and reads go into radios/, apart from the files compared.
struct UndoHazardE2E : ::testing::Test {
    test::TempDir dir;
    std::string data = dir.File("data");
    std::string backups = data + "/quorim/backups";
    std::string plan = dir.File("plan.szt");
    Bytes sent;  // the 984 bytes a write of the plan sets

    void SetUp() override {
        ASSERT_EQ(RunCli({"new", plan}).exitCode, 0);
        fs::create_directory(dir.File("radios"));
        fs::create_directories(backups);
        DocumentData doc;
        EditorModel editor;
        ASSERT_TRUE(OpenDocument(plan, doc, editor).Ok());
        EncodeImage(editor, doc);
        sent.assign(doc.m_image.begin(), doc.m_image.begin() + 984);
    }
    std::string Radio(const std::string& name) const { return dir.File("radios/" + name); }
    ProcessResult Cli(const std::vector<std::string>& args, const std::function<void(pid_t)>& during = {},
                      std::vector<std::string> env = {}) {
        env.insert(env.begin(), "XDG_DATA_HOME=" + data);
        return RunCli(args, env, during);
    }
    // What the radio on `port` holds now (the read keeps no backup).
    Bytes Held(const std::string& port, const std::string& name = "held.szt") {
        const auto r = Cli({"read", "--port", port, "--out", Radio(name), "--no-backup"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return test::ReadBytes(Radio(name));
    }
    std::map<std::string, std::string> Files() const { return Snapshot(dir.Path().string()); }
};

Bytes Range(const Bytes& image, std::size_t size = 984) {
    return Bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(std::min(size, image.size())));
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 200 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return fs::exists(path);
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The cable is pulled (its link vanishes) after each radio and plugged into
// the next: the gone device is a gone radio, and the next one is written
// when the device is back.
TEST_F(UndoHazardE2E, UnpluggedCableWritesTheNextRadioWhenItIsBack) {
    const std::string cable = dir.File("cable");
    const auto before = Files();
    const auto r = Cli({"write", "--port", cable, plan, "--repeat"}, [&](pid_t cli) {
        for (const char* name : {"first.szt", "second.szt"}) {
            VirtualRadio radio({"--link", cable, "--save", Radio(name)});
            EXPECT_TRUE(WaitForFile(Radio(name))) << name;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            radio.Stop();  // its link goes with it
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
        kill(cli, SIGINT);
    });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Count(r.out, cable + ": waiting for the next radio\n"), 2u) << r.out;
    EXPECT_NE(r.out.find(cable + ": radio 2 at "), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with(cable + ": stopped after 2 radios: 2 written\n")) << r.out;
    EXPECT_EQ(Range(test::ReadBytes(Radio("first.szt"))), sent);
    EXPECT_EQ(Range(test::ReadBytes(Radio("second.szt"))), sent);
    EXPECT_TRUE(Files() == before);
}

// Restore puts back the snapshot just taken on that very port, says which
// before the first block.
TEST_F(UndoHazardE2E, RestoreWritesOnlyThisRadiosOwnSnapshot) {
    // A snapshot whose name's clock ran ahead, made long ago.
    VirtualRadio radio({"--model", "16"});
    const Bytes held = Held(radio.Path());
    fs::create_directories(backups);
    const std::string ahead =
        backups + "/29991231-235959-999Z_" + SnapshotPortPart(radio.Path()) + "_QZ-16_before-write.szt";
    test::WriteBytes(ahead, Bytes(kImageSize, 0x37));
    fs::last_write_time(ahead, fs::file_time_type::clock::now() - std::chrono::hours(24));
    // Two ports whose names once made one file name.
    fs::create_directory(dir.File("x"));
    VirtualRadio a({"--link", dir.File("x/y")}), b({"--link", dir.File("x_y")});
    const Bytes heldA = Held(dir.File("x/y"), "a.szt");
    const auto before = Files();

    ASSERT_EQ(Cli({"write", "--port", radio.Path(), plan, "--snapshot"}).exitCode, 0);
    const auto r = Cli({"restore", "--port", radio.Path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Restoring the snapshot taken 20"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" on " + radio.Path() + " (QZ - 16), "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("2999"), std::string::npos) << r.out;
    EXPECT_EQ(Held(radio.Path()), held);

    ASSERT_EQ(Cli({"write", "--port", dir.File("x_y"), plan, "--snapshot"}).exitCode, 0);
    const auto other = Cli({"restore", "--port", dir.File("x/y")});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.err,
              "quorim: no snapshot was taken on \"" + dir.File("x/y") + "\" (in \"" + backups + "\")\n");
    EXPECT_EQ(Held(dir.File("x/y"), "a.szt"), heldA);
    const auto list = Cli({"restore", "--list"});
    EXPECT_NE(list.out.find("  " + dir.File("x_y") + "  QZ - 16  "), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("  " + dir.File("x/y") + "  "), std::string::npos) << list.out;
    EXPECT_TRUE(Files() == before);
}

// A blank radio (byte 3 names no model) is what its identification says:
// its snapshot is taken and put back, and so is a blank 199-channel one's.
TEST_F(UndoHazardE2E, BlankRadioIsSnapshotAndRestoredAsItsModel) {
    const Bytes blank(kImageSize, 0xFF);
    test::WriteBytes(Radio("blank.szt"), blank);
    VirtualRadio radio({"--model", "16", "--memory", Radio("blank.szt")});
    const auto before = Files();
    const auto w = Cli({"write", "--port", radio.Path(), plan, "--snapshot"});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    EXPECT_NE(w.out.find("_QZ-16_before-write"), std::string::npos) << w.out;
    const auto r = Cli({"restore", "--port", radio.Path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Range(Held(radio.Path())), Range(blank));

    VirtualRadio big({"--model", "199"});
    const std::string snapshot =
        backups + "/20261207-075312-123Z_" + SnapshotPortPart(big.Path()) + "_QZ-199_before-write.szt";
    test::WriteBytes(snapshot, blank);
    const auto b = Cli({"restore", "--port", big.Path()});
    EXPECT_EQ(b.exitCode, 0) << b.err;
    EXPECT_NE(b.out.find("(QZ - 199)"), std::string::npos) << b.out;
    EXPECT_EQ(Held(big.Path()), blank);
    EXPECT_TRUE(Files() == before);
}

// The record and the doctor's report never go into a file the command reads
// or writes, nor into a read-only file, and write nothing then.
TEST_F(UndoHazardE2E, RecordAndReportNeverGoIntoAnotherFile) {
    VirtualRadio radio({"--save", Radio("radio.szt")});
    const std::string& p = radio.Path();
    const std::string out = dir.File("out.szt"), trace = dir.File("trace.log"), ro = dir.File("ro.csv");
    fs::create_symlink("out.szt", dir.File("to-out"));
    fs::create_symlink("plan.szt", dir.File("to-plan"));
    test::WriteText(trace, std::string(130000, 't'));
    test::WriteText(ro, kRecordHeader);
    fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto before = Files();
    const auto same = [](const std::string& o, const std::string& i) {
        return "quorim: the output \"" + o + "\" is the input \"" + i + "\" itself; nothing was written\n";
    };
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } rows[] = {
        {{"read", "--port", p, "--out", out, "--log", out}, 2, same(out, out)},
        {{"read", "--port", p, "--out", out, "--log", dir.File("to-out")}, 2, same(dir.File("to-out"), out)},
        {{"write", "--port", p, plan, "--log", dir.File("to-plan")}, 2, same(dir.File("to-plan"), plan)},
        {{"restore", "--port", p, plan, "--log", plan}, 2, same(plan, plan)},
        {{"doctor", "--port", p, "--report", trace}, 2, same(trace, trace)},
        {{"doctor", "--port", p, "--report", "/dev/null"},
         1,
         "quorim: \"/dev/null\" is a device, not a regular file; it was left as it is\n"},
        {{"write", "--port", p, plan, "--log", ro},
         1,
         "quorim: The record \"" + ro + "\" could not be written (it is read-only)\n"},
    };
    for (const auto& row : rows) {
        const auto r = Cli(row.args, {}, {"QUORIM_TRACE=" + trace});
        EXPECT_EQ(r.exitCode, row.exitCode) << row.args[0] << " " << r.err;
        EXPECT_EQ(r.err, row.err);
        EXPECT_TRUE(Files() == before) << row.args[0];
    }
    EXPECT_EQ(radio.Stop(), 0);
    EXPECT_FALSE(fs::exists(Radio("radio.szt")));
}

// A full disk: a line it has no room for is taken back whole, and a record
// that could not even be begun is not left behind.
TEST_F(UndoHazardE2E, RecordOnAFullDiskIsWholeLinesOrNothing) {
    const std::string mnt = dir.File("small");
    const SmallDisk disk(mnt);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    }
    // The record's last page has room for 30 bytes, the disk for nothing more.
    const std::string log = mnt + "/record.csv";
    std::string text = kRecordHeader;
    text.resize(4096 - 30, 'x');
    test::WriteText(log, text);
    {
        std::ofstream fill(mnt + "/fill", std::ios::binary);
        const std::string block(4096, 'f');
        while (fill.write(block.data(), static_cast<std::streamsize>(block.size())) && fill.flush()) {
        }
    }
    VirtualRadio radio({"--save", Radio("radio.szt")});
    const auto before = Snapshot(mnt);
    const auto read =
        Cli({"read", "--port", radio.Path(), "--out", Radio("out.szt"), "--no-backup", "--log", log});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.err,
              "quorim: warning: The record \"" + log + "\" could not be written (the disk is full)\n");
    const auto fresh = Cli({"write", "--port", radio.Path(), plan, "--log", mnt + "/fresh.csv"});
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_EQ(fresh.err,
              "quorim: The record \"" + mnt + "/fresh.csv\" could not be written (the disk is full)\n");
    EXPECT_TRUE(Snapshot(mnt) == before);
    EXPECT_EQ(radio.Stop(), 0);
    EXPECT_FALSE(fs::exists(Radio("radio.szt")));
}

// edit changes only memory images, reads each option once and numbers whole;
// the doctor tells the program's own terminal from a cable.
TEST_F(UndoHazardE2E, EditAndDoctorRefuseWhatTheyCannotTake) {
    std::string pdf = "%PDF-1.4\n";
    pdf.resize(kImageSize, ' ');
    test::WriteText(dir.File("doc.szt"), pdf);
    const auto before = Files();
    const std::string format(kMsgFrequencyRange);
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string errPart;
    } rows[] = {
        {{"edit", dir.File("doc.szt"), "--channels", "1", "rx=145"},
         1,
         "it is a PDF document; nothing was written\n"},
        {{"edit", plan, "--channels", "1", "--channels", "2", "rx=145"}, 2, "usage: "},
        {{"edit", plan, "--channels", "1", "rx=145", "--out", dir.File("a.szt"), "--out", dir.File("b.szt")},
         2,
         "usage: "},
        {{"edit", plan, "--channels", "1", "rx=1.45e2"}, 1, "(\"1.45e2\"): " + format},
        {{"edit", plan, "--channels", "1", "rx=145", "rx_tone=6.7e1"}, 1, "(\"6.7e1\"): " + format},
    };
    for (const auto& row : rows) {
        const auto r = Cli(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.args.back() << r.err;
        EXPECT_NE(r.err.find(row.errPart), std::string::npos) << r.err;
        EXPECT_TRUE(Files() == before) << row.args.back();
    }
    const auto tty = Cli({"doctor", "--port", "/dev/tty"}, {}, {"LANG=C", "LC_ALL=", "LC_MESSAGES="});
    EXPECT_EQ(tty.exitCode, 1);
    EXPECT_NE(tty.out.find("/dev/tty is not a serial device"), std::string::npos) << tty.out;
}

// A port named with terminal escapes shows them escaped in every line.
TEST_F(UndoHazardE2E, ControlCharactersInAPortAreEscapedInEveryLine) {
    VirtualRadio radio({}), second({});
    const Bytes held = Held(radio.Path());
    const std::string port = dir.File("cable\x1b[31m");
    fs::create_symlink(radio.Path(), port);
    const std::string shown = dir.File("cable\\x1b[31m");
    const auto before = Files();
    const auto check = [&](const ProcessResult& r, const std::string& line) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ((r.out + r.err).find('\x1b'), std::string::npos) << r.out << r.err;
        EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
    };
    check(Cli({"write", "--port", port, "--port", second.Path(), plan}),
          shown + ": The radio's memory before the write is kept in \"");
    check(Cli({"write", "--port", port, "--port", second.Path(), plan}), shown + ": written\n");
    check(Cli({"restore", "--list"}), "  " + shown + "  QZ - 16  ");
    check(Cli({"restore", "--port", port, "--verify"}), " on " + shown + " (QZ - 16), ");
    // Two writes: the restore put back the first's snapshot, the plan.
    EXPECT_EQ(Range(Held(radio.Path())), sent);
    EXPECT_NE(Range(held), sent);
    EXPECT_TRUE(Files() == before);
}

}  // namespace
}  // namespace quorim::e2e
