// The cable doctor end to end: `quorim doctor` against the virtual radio
// playing each fault, and against pseudo-terminals held, refused or missing.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "link/posix_serial_port.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

const std::vector<std::string> kEnglish{"LC_ALL=", "LC_MESSAGES=", "LANG=C.UTF-8"};

struct Doctor {
    ProcessResult run;
    nlohmann::json json;

    std::vector<std::string> Stages() const {
        std::vector<std::string> names;
        for (const auto& s : json["stages"]) {
            names.push_back(s["name"].get<std::string>() + (s["ok"].get<bool>() ? "" : "!"));
        }
        return names;
    }
    std::string LastDetail() const { return json["stages"].back()["detail"]; }
};

Doctor RunDoctor(const std::string& port, const std::vector<std::string>& env = kEnglish) {
    Doctor d;
    d.run = RunCli({"doctor", "--port", port, "--json"}, env);
    d.json = nlohmann::json::parse(d.run.out);
    return d;
}

// Every fault the radio plays ends the run at its own stage, with the stages
// before it passed.
TEST(DoctorE2e, EachFaultStopsAtItsStage) {
    const std::vector<std::string> upToAck{"device", "permission", "busy", "open", "answer", "echo"};
    const struct Row {
        std::vector<std::string> radio;
        std::string result;
        std::string lastDetail;  // a part of the last stage's detail
    } rows[] = {
        {{}, "ok", "QZ - 16 (51 5A 30 31 37 56 31 30)"},
        {{"--model", "199"}, "ok", "QZ - 199"},
        {{"--stray", "1"}, "ok", "QZ - 16"},  // a read skips one stray byte
        {{"--silent", "all"}, "answer", "woke the radio 3 times, nothing came back"},
        {{"--echo"}, "echo", "our own bytes: 02 50 52 4F 47 52 41 4D"},
        {{"--stray", "2"}, "ack", "2 stray bytes before the 06: 55 55"},
        {{"--garbage"}, "ack", "no 06 in what came back"},
        {{"--ident", "51 5A 30 31 39 56 31 30"}, "identity", "no known model: 51 5A 30 31 39 56 31 30"},
        {{"--ident", "51 5A 30"}, "identity", "only 3 of the 8 identification bytes came: 51 5A 30"},
        {{"--bad-ident-ack"}, "identity", "said QZ - 16 but did not acknowledge"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result + " " + (row.radio.empty() ? "" : row.radio[0]));
        VirtualRadio radio(row.radio);
        const Doctor d = RunDoctor(radio.Path());
        EXPECT_EQ(d.run.exitCode, row.result == "ok" ? 0 : 1) << d.run.err;
        EXPECT_EQ(d.json["port"], radio.Path());
        EXPECT_EQ(d.json["result"], row.result);
        EXPECT_NE(d.LastDetail().find(row.lastDetail), std::string::npos) << d.LastDetail();
        const auto stages = d.Stages();
        ASSERT_FALSE(stages.empty());
        for (std::size_t i = 0; i + 1 < stages.size(); ++i) {
            EXPECT_EQ(stages[i], i < upToAck.size() ? upToAck[i] : "ack");
        }
        EXPECT_EQ(stages.back(), row.result == "ok" ? "identity" : row.result + "!");
        EXPECT_EQ(d.json["fix"].is_null(), row.result == "ok");
        EXPECT_TRUE(PosixSerialPort().Open(radio.Path()).Ok()) << "the doctor left the port held";
    }
}

// The doctor leaves the radio where any transfer's opening finds it: a read
// right after it goes through.
TEST(DoctorE2e, ARadioTestedByTheDoctorStillReads) {
    TempDir dir;
    VirtualRadio radio({});
    ASSERT_EQ(RunDoctor(radio.Path()).run.exitCode, 0);
    const auto read = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt"), "--no-backup"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
}

TEST(DoctorE2e, PortsThatCannotBeUsed) {
    TempDir dir;
    std::ofstream(dir.File("plain.txt")) << "x";
    VirtualRadio held({});
    NamedProcess modemManager("ModemManager", held.Path());
    VirtualRadio locked({});
    PosixSerialPort ours;  // this test's own process holds it, as another quorim would
    ASSERT_TRUE(ours.Open(locked.Path()).Ok());

    const struct Row {
        std::string port;
        std::vector<std::string> stages;
        std::string detail;
        std::string fix;
    } rows[] = {
        {"/dev/quorim-no-such-port", {"device!"}, "/dev/quorim-no-such-port does not exist", "quorim ports"},
        {dir.File("plain.txt"), {"device!"}, "is not a serial device", "quorim ports"},
        {"/dev/null", {"device!"}, "/dev/null is not a serial device", "quorim ports"},
        {held.Path(),
         {"device", "permission", "busy!"},
         "is held by ModemManager (pid " + std::to_string(modemManager.Pid()) + ")",
         "sudo udevadm control --reload-rules && sudo udevadm trigger"},
        {locked.Path(),
         {"device", "permission", "busy!"},
         "is held by quorim_e2e_test",
         "Close quorim_e2e_test"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.port);
        const Doctor d = RunDoctor(row.port);
        EXPECT_EQ(d.run.exitCode, 1);
        EXPECT_EQ(d.Stages(), row.stages);
        EXPECT_NE(d.LastDetail().find(row.detail), std::string::npos) << d.LastDetail();
        EXPECT_NE(d.json["fix"].get<std::string>().find(row.fix), std::string::npos) << d.json["fix"];
    }
}

// A user outside the node's group.
TEST(DoctorE2e, PermissionNamesTheGroupToJoin) {
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || nobody == nullptr) {
        GTEST_SKIP() << "needs root to run the program as another user";
    }
    VirtualRadio radio({});
    ASSERT_EQ(chmod(radio.Path().c_str(), 0660), 0);
    struct stat st {};
    ASSERT_EQ(stat(radio.Path().c_str(), &st), 0);
    const group* owner = getgrgid(st.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string groupName = owner->gr_name;
    const auto r = RunProgram({"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                               "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups", QUORIM_CLI_PATH,
                               "doctor", "--port", radio.Path()},
                              kEnglish);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("\xE2\x9C\x97 Permission  no permission to open " + radio.Path() +
                         " (the device belongs to group " + groupName + ")"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Fix: Run sudo usermod -aG " + groupName + " $USER"), std::string::npos) << r.out;
}

// The texts follow the locale; the stage names and the JSON keys do not.
TEST(DoctorE2e, TextsFollowTheLocale) {
    VirtualRadio radio({"--silent", "all"});
    const auto zh = RunCli({"doctor", "--port", radio.Path()}, {"LC_ALL=zh_CN.UTF-8"});
    EXPECT_EQ(zh.exitCode, 1);
    EXPECT_EQ(zh.out, radio.Path() +
                          "\n"
                          "  \xE2\x9C\x93 设备  " +
                          radio.Path() +
                          "\n"
                          "  \xE2\x9C\x93 权限  可以读写\n"
                          "  \xE2\x9C\x93 占用  没有其他程序占用\n"
                          "  \xE2\x9C\x93 打开  已打开，9600 波特 8N1\n"
                          "  \xE2\x9C\x97 应答  唤醒对讲机 3 次，没有收到任何应答\n"
                          "  解决办法：请打开对讲机电源，把编程线插头插到底，然后再试。\n");
    EXPECT_EQ(RunDoctor(radio.Path(), {"LC_ALL=", "LC_MESSAGES=zh_TW.UTF-8"}).json["stages"][0]["name"],
              "device");
}

TEST(DoctorE2e, ReportKeepsEverythingForASupportQuestion) {
    TempDir dir;
    VirtualRadio radio({"--echo"});
    const std::string trace = dir.File("trace.txt");
    std::ofstream(trace) << "   0.000 open /dev/ttyUSB9\n   1.000 tx 02\n";
    std::vector<std::string> env = kEnglish;
    env.push_back("QUORIM_TRACE=" + trace);
    const auto r = RunCli({"doctor", "--port", radio.Path(), "--report", dir.File("report.txt")}, env);
    EXPECT_EQ(r.exitCode, 1);
    std::ifstream in(dir.File("report.txt"));
    const std::string report((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string& part :
         {std::string("== version\nquorim "), std::string("== system\nLinux "),
          std::string("== quorim ports --json\n["), "== quorim doctor\n" + r.out,
          std::string("== QUORIM_TRACE\n") + trace + "\n   0.000 open /dev/ttyUSB9\n",
          // the doctor's own bytes, traced after the earlier session
          std::string("tx 4D")}) {
        EXPECT_NE(report.find(part), std::string::npos) << part << "\n---\n" << report;
    }
    // A report that cannot be written fails the command, after the stages.
    const auto bad = RunCli({"doctor", "--port", radio.Path(), "--report", dir.Path().string()}, kEnglish);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_FALSE(bad.err.empty());
}

TEST(DoctorE2e, UsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"doctor", "--port"},
                                               {"doctor", "--port", "a", "--port", "b"},
                                               {"doctor", "--report"},
                                               {"doctor", "x"}}) {
        EXPECT_EQ(RunCli(args).exitCode, 2) << args.back();
    }
}

}  // namespace
}  // namespace quorim::e2e
