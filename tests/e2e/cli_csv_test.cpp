#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "../core/test_util.h"
#include "e2e_util.h"
#include "editor/cell_rules.h"
#include "image/memory_image.h"

namespace quorim {
namespace {

using e2e::RunCli;

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
    const auto bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// A data file as a radio might hand it over: random bytes everywhere, so
// that bytes the editor never shows are in it too.
std::string RandomRadioFile(const test::TempDir& dir, const std::string& name, std::uint8_t model) {
    std::mt19937 rng(model);
    std::vector<unsigned char> bytes(kImageSize);
    for (auto& b : bytes) b = static_cast<unsigned char>(rng());
    bytes[kModelCodeOffset] = model;
    const std::string raw = dir.File(name + ".raw.szt");
    test::WriteBytes(raw, bytes);
    // Settled by one open and save, as the program would store it.
    const std::string file = dir.File(name + ".szt");
    const auto csv = RunCli({"export", raw, "--out", dir.File(name + ".raw.csv")});
    EXPECT_EQ(csv.exitCode, 0) << csv.err;
    const auto saved = RunCli({"import", dir.File(name + ".raw.csv"), "--into", raw, "--out", file});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    return file;
}

TEST(CliCsv, ExportThenImportIntoTheFileGivesItBackByteForByte) {
    test::TempDir dir;
    for (const std::uint8_t model : {kModelCode16, kModelCode199}) {
        const std::string file = RandomRadioFile(dir, model == kModelCode16 ? "r16" : "r199", model);
        const std::string csv = dir.File("list.csv");
        const auto exported = RunCli({"export", file, "--out", csv});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        EXPECT_TRUE(exported.out.empty());
        const std::string text = ReadText(csv);
        EXPECT_EQ(text.rfind("\xEF\xBB\xBF信道,接收频率,发射频率,接收信令,发射信令,是否禁发\r\n", 0), 0u);
        EXPECT_NE(text.find(model == kModelCode16 ? "\r\n机型,QZ - 16\r\n" : "\r\n机型,QZ - 199\r\n"),
                  std::string::npos);

        const std::string out = dir.File("back.szt");
        const auto imported = RunCli({"import", csv, "--into", file, "--out", out});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(file)) << int(model);
        // The same text on standard output.
        EXPECT_EQ(RunCli({"export", file}).out, text);
    }
}

TEST(CliCsv, ImportIntoANewDocument) {
    test::TempDir dir;
    const std::string csv = dir.File("plan.csv");
    WriteText(csv,
              "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\n"
              "1,145.0125,145.0125,88.5,88.5,否\n"
              "120,439.9875,434.9875,D023N,D023N,是\n"
              "\n机型,QZ - 199\n频带宽度,窄\n");
    const std::string out = dir.File("plan.szt");
    const auto r = RunCli({"import", csv, "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const auto json = RunCli({"show", "--json", out});
    EXPECT_NE(json.out.find("\"model\":\"QZ - 199\""), std::string::npos);
    EXPECT_NE(json.out.find("\"bandwidth\":\"窄\""), std::string::npos);
    EXPECT_NE(json.out.find("{\"ch\":\"120\",\"rx\":\"439.98750\",\"tx\":\"434.98750\",\"rx_tone\":\"D023N\","
                            "\"tx_tone\":\"D023N\",\"inhibit\":\"是\"}"),
              std::string::npos);
}

TEST(CliCsv, RefusedImportListsEveryRefusalAndWritesNothing) {
    test::TempDir dir;
    const std::string csv = dir.File("bad.csv");
    WriteText(csv,
              "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\r\n"
              "1,145.0062,,,,\r\n"
              "2,145.00000,,123.45,,\r\n");
    const std::string out = dir.File("out.szt");
    const auto r = RunCli({"import", csv, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_NE(r.err.find("bad.csv: row 2, column \"接收频率\" (\"145.0062\"): " +
                         std::string(kMsgFrequencyStep) + "\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("bad.csv: row 3, column \"接收信令\" (\"123.45\"): " +
                         std::string(kMsgFrequencyRange) + "\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("nothing written: 2 refusals"), std::string::npos);

    // An existing output file is left as it was.
    ASSERT_EQ(RunCli({"new", out}).exitCode, 0);
    const auto before = test::ReadBytes(out);
    EXPECT_EQ(RunCli({"import", csv, "--out", out}).exitCode, 1);
    EXPECT_EQ(test::ReadBytes(out), before);
}

TEST(CliCsv, ExchangeLayoutBothWays) {
    test::TempDir dir;
    const std::string csv = dir.File("other.csv");
    WriteText(
        csv,
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
        "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
        "1,Calling,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\n"
        "2,Repeater,145.600000,-,0.600000,Tone,123.0,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\n"
        "17,Beyond,145.700000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\n");
    const std::string out = dir.File("other.szt");
    const auto r = RunCli({"import", csv, "--format", "exchange", "--model", "16", "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(
        r.err.find("quorim: warning: " + csv +
                   ": row 4, column \"Location\" (\"17\"): the QZ - 16 has channels 1 to 16: row left out\n"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("column \"Name\": left out of 2 channels"), std::string::npos);

    const auto back = RunCli({"export", out, "--format", "exchange"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_NE(back.out.find("\r\n1,,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,"),
              std::string::npos)
        << back.out;
    EXPECT_NE(back.out.find("\r\n2,,145.600000,-,0.600000,Tone,123.0,88.5,023,NN,023,Tone->Tone,FM,5.00,"),
              std::string::npos);
    EXPECT_EQ(back.out.find("\r\n3,"), std::string::npos);

    // Given to the default layout, the file is recognised and refused with a hint.
    const auto wrong = RunCli({"import", csv, "--out", out});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("import it with --format exchange"), std::string::npos);
}

TEST(CliCsv, BadCommandLinesAndFiles) {
    test::TempDir dir;
    const std::string szt = dir.File("a.szt");
    ASSERT_EQ(RunCli({"new", szt}).exitCode, 0);
    EXPECT_EQ(RunCli({"export"}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", szt, "--format", "xml"}).exitCode, 2);
    EXPECT_EQ(RunCli({"import", "x.csv"}).exitCode, 2);  // no --out
    EXPECT_EQ(RunCli({"import", "x.csv", "--out", dir.File("o.szt"), "--model", "17"}).exitCode, 2);
    EXPECT_EQ(
        RunCli({"import", "x.csv", "--out", dir.File("o.szt"), "--model", "16", "--into", szt}).exitCode, 2);
    EXPECT_EQ(RunCli({"export", dir.File("missing.szt")}).exitCode, 1);
    EXPECT_EQ(RunCli({"import", dir.Path().string(), "--out", dir.File("o.szt")}).exitCode, 1);
    const auto noCsv = RunCli({"import", dir.File("missing.csv"), "--out", dir.File("o.szt")});
    EXPECT_EQ(noCsv.exitCode, 1);
    EXPECT_NE(noCsv.err.find("missing.csv"), std::string::npos);
    // A file saved in the code page of older spreadsheets is read as such.
    const std::string gbk = dir.File("gbk.csv");
    WriteText(gbk, "\xD0\xC5\xB5\xC0,x\n");
    const auto gbkHeader = RunCli({"import", gbk, "--out", dir.File("o.szt")});
    EXPECT_EQ(gbkHeader.exitCode, 1);
    EXPECT_NE(gbkHeader.err.find("row 1, column \"x\": not a column of this layout"), std::string::npos)
        << gbkHeader.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.szt")));
    // --help answers on standard output.
    const auto usage = RunCli({"--help"});
    EXPECT_EQ(usage.exitCode, 0);
    EXPECT_NE(usage.out.find("quorim import FILE.csv"), std::string::npos);
}

}  // namespace
}  // namespace quorim
