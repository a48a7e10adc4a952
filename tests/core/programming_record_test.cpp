#include "files/programming_record.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/write_snapshot.h"
#include "image/sha256.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string Hex(const std::string& text) {
    return Sha256Hex({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Known answers: the standard's examples and messages whose padding falls on
// either side of a block's end (55, 56, 63, 64 and 119 bytes).
TEST(Sha256, KnownAnswers) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : cases) {
        EXPECT_EQ(Hex(text), digest) << text.size() << " bytes";
    }
    // The record hashes the range a write sets: 984 bytes of a 16-channel
    // image, all 3216 of a 199-channel one.
    MemoryImage image{};
    image.fill(0xFF);
    EXPECT_EQ(RecordDigest(image, false), "be240a8f886e4754c0024847c44aefac2a1866478f2bf9031cd1f91f69a079f8");
    image[984] = 0;
    EXPECT_EQ(RecordDigest(image, true), Sha256Hex({image.data(), 984}));
    EXPECT_NE(RecordDigest(image, false), "be240a8f886e4754c0024847c44aefac2a1866478f2bf9031cd1f91f69a079f8");
}

RecordEntry Entry() {
    using namespace std::chrono;
    RecordEntry e;
    e.start = sys_days{year{2026} / 12 / 7} + hours{21} + minutes{48} + seconds{16} + milliseconds{5};
    e.operation = "write";
    e.port = "COM1";
    e.usbSerial = "A50285BI";
    e.sixteen = true;
    e.before = std::string(64, 'a');
    e.after = std::string(64, 'b');
    e.verified = true;
    e.result = "verified";
    e.durationMs = 7316;
    return e;
}

TEST(ProgrammingRecord, OneLinePerRadioWithItsFields) {
    EXPECT_EQ(RecordLine(Entry()), "2026-12-07T21:48:16.005Z,write,COM1,A50285BI,QZ - 16," +
                                       std::string(64, 'a') + "," + std::string(64, 'b') +
                                       ",yes,verified,7316\n");
    // Unknown fields stay empty; a message with a comma, quotes or a line
    // break stays one field of one line; a text a spreadsheet would run as a
    // formula is kept as text.
    RecordEntry e = Entry();
    e.usbSerial.clear();
    e.sixteen.reset();
    e.before.clear();
    e.after.clear();
    e.verified = false;
    e.port = "=cmd|' /C calc'!A0";
    e.result = "failed: Could not Open the Port,Please \"check\"\nnow";
    EXPECT_EQ(RecordLine(e),
              "2026-12-07T21:48:16.005Z,write,\"'=cmd|' /C calc'!A0\",,,,,no,"
              "\"failed: Could not Open the Port,Please \"\"check\"\" now\",7316\n");
    e.port = "\t=cmd";  // a spreadsheet drops the tab and runs the rest
    EXPECT_NE(RecordLine(e).find(",\"'\t=cmd\","), std::string::npos) << RecordLine(e);
    // However long the port and the message, the line is written in one piece,
    // and no character is cut in two.
    e.port = std::string(5000, '"');
    e.result = std::string(3000, ',') + std::string(1000, '\xE4');
    for (int i = 0; i < 1000; ++i) {
        e.result += "写";
    }
    const std::string line = RecordLine(e);
    EXPECT_LE(line.size(), kMaxRecordLine);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
}

// 2026-12-07 07:53:12.123 UTC plus `ms`.
std::chrono::system_clock::time_point At(long long ms = 0) {
    using namespace std::chrono;
    return sys_days{year{2026} / 12 / 7} + hours{7} + minutes{53} + seconds{12} + milliseconds{123 + ms};
}

DocumentData Doc(bool sixteen, std::uint8_t fill) {
    DocumentData doc;
    doc.m_image.fill(fill);
    doc.m_bSixteenChannel = sixteen;
    return doc;
}

TEST(WriteSnapshot, NamesTellTimePortAndModelAndAreReadBack) {
    struct Case {
        const char* name;
        bool ok;
        const char* port = "";
        bool sixteen = true;
        int counter = 1;
        bool exact = false;  // the port's name kept whole
    };
    const Case cases[] = {
        {"20261207-075312-123Z_COM1_QZ-16_before-write.szt", true, "COM1", true, 1, true},
        {"20261207-075312-123Z_%2Fdev%2FttyUSB0_QZ-199_before-write-2.szt", true, "/dev/ttyUSB0", false, 2,
         true},
        {"20261207-075312-123Z_x%5Fy_QZ-16_before-write.szt", true, "x_y", true, 1, true},
        {"20261207-075312-123Z_x%2_QZ-16_before-write.szt", true, "x%2", true, 1, false},
        {"20261207-075312-123Z_dev_serial_by-id_usb-X_QZ-16-if00_QZ-199_before-write-12.szt", true,
         "dev_serial_by-id_usb-X_QZ-16-if00", false, 12},
        {"20261207-075312-123Z_x-2_QZ-16_before-write.szt", true, "x-2", true, 1, true},
        {"20261207-075312-123Z_QZ-16.szt", false},  // a read backup
        {"20261207-075312-123Z_QZ-16-2.szt", false},
        {"20261207-075312-123Z__QZ-16_before-write.szt", false},  // no port
        {"20261207-075312-123Z_COM1_QZ-16_before-write-1.szt", false},
        {"20261207-075312-123Z_COM1_QZ-17_before-write.szt", false},
        {"20261207-075312-123Z_COM1_QZ-16_before-write.txt", false},
        {"2026120-075312-123Z_COM1_QZ-16_before-write.szt", false},
    };
    for (const Case& c : cases) {
        Snapshot s;
        ASSERT_EQ(ParseSnapshotName(c.name, s), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(s.port, c.port);
            EXPECT_EQ(s.sixteen, c.sixteen);
            EXPECT_EQ(s.counter, c.counter);
            EXPECT_EQ(s.exactPort, c.exact) << c.name;
            EXPECT_EQ(SnapshotTimeText(s), "2026-12-07 07:53:12 UTC");
        }
    }
    EXPECT_EQ(PortInFileName("/dev/ttyUSB0"), "dev_ttyUSB0");
    EXPECT_EQ(PortInFileName("\\\\.\\COM10"), "._COM10");
    EXPECT_EQ(PortInFileName("/"), "port");
    // Two ports never share a snapshot's name, and each name gives its port back.
    for (const std::string port : {"x/y", "x_y", "\\\\.\\COM10", "COM1", "\x1b[31m", "%41"}) {
        Snapshot s;
        const std::string name = "20261207-075312-123Z_" + SnapshotPortPart(port) + "_QZ-16_before-write.szt";
        ASSERT_TRUE(ParseSnapshotName(name, s)) << name;
        EXPECT_EQ(s.port, port);
        EXPECT_TRUE(s.exactPort);
    }
    EXPECT_EQ(SnapshotPortPart("/dev/ttyUSB0"), "%2Fdev%2FttyUSB0");
}

TEST(WriteSnapshot, KeptExclusivelyFoundByPortAndPrunedApartFromReadBackups) {
    TempDir dir;
    const std::string folder = dir.File("backups");
    const auto a = StoreSnapshotIn(folder, "/dev/ttyUSB0", Doc(true, 1), At());
    ASSERT_TRUE(a.Ok()) << a.reason;
    EXPECT_EQ(fs::path(a.path).filename(), "20261207-075312-123Z_%2Fdev%2FttyUSB0_QZ-16_before-write.szt");
    EXPECT_EQ(test::ReadBytes(a.path), std::vector<unsigned char>(kImageSize, 1));
    // The same name again (a clock set back) takes the next counter; nothing
    // standing at a name, not even a dangling link, is written through.
    const std::string second = folder + "/20261207-075312-123Z_%2Fdev%2FttyUSB0_QZ-16_before-write-2.szt";
#ifdef _WIN32
    test::WriteText(second, "someone else's");
#else
    fs::create_symlink(dir.File("elsewhere"), second);
#endif
    const auto b = StoreSnapshotIn(folder, "/dev/ttyUSB0", Doc(true, 2), At());
    EXPECT_EQ(fs::path(b.path).filename(), "20261207-075312-123Z_%2Fdev%2FttyUSB0_QZ-16_before-write-3.szt");
    EXPECT_FALSE(fs::exists(dir.File("elsewhere")));
    fs::remove(second);
    ASSERT_TRUE(StoreSnapshotIn(folder, "COM2", Doc(false, 3), At(5)).Ok());
    test::WriteBytes(folder + "/20261207-075312-999Z_QZ-16.szt", std::vector<unsigned char>(kImageSize, 9));

    std::vector<Snapshot> all = ListSnapshots(folder);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(NewestSnapshotOn(all, "/dev/ttyUSB0")->path, b.path);
    EXPECT_EQ(NewestSnapshotOn(all, "dev/ttyUSB0"), nullptr);  // another port
    EXPECT_EQ(NewestSnapshotOn(all, "dev_ttyUSB0"), nullptr);
    EXPECT_FALSE(NewestSnapshotOn(all, "COM2")->sixteen);
    EXPECT_EQ(NewestSnapshotOn(all, "COM3"), nullptr);

    // Only the newest `keep` snapshots by modification time stay (the fresh
    // one always), whatever time their names give; read backups and other
    // files are left alone.
    const auto c = StoreSnapshotIn(folder, "COM1", Doc(true, 4), At(-1000), 2);
    all = ListSnapshots(folder);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].port, "COM2");
    EXPECT_EQ(all[1].path, c.path);
    // The one just taken is the newest, though its name's clock ran behind.
    const auto late = StoreSnapshotIn(folder, "COM2", Doc(false, 5), At(-5000));
    EXPECT_EQ(NewestSnapshotOn(ListSnapshots(folder), "COM2")->path, late.path);
    EXPECT_TRUE(fs::exists(folder + "/20261207-075312-999Z_QZ-16.szt"));

    // No folder to keep it in: the reason, and no file.
    test::WriteText(dir.File("file"), "x");
    const auto none = StoreSnapshotIn(dir.File("file"), "COM1", Doc(true, 0), At());
    EXPECT_FALSE(none.Ok());
    EXPECT_FALSE(none.reason.empty());
    EXPECT_FALSE(StoreSnapshotIn("", "COM1", Doc(true, 0), At()).Ok());
}

}  // namespace
}  // namespace quorim
