// The cable doctor's rules: what an answer and an identification mean, which
// fault the system's state points to, the language, the package's udev rule.
// (The stages on a real line: tests/e2e/doctor_e2e_test.cpp.)
#include "link/doctor.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/core/fake_serial_port.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

using test::Bytes;

TEST(DoctorRules, AnswerToTheWakeUp) {
    const struct {
        Bytes received;
        DoctorFault fault;
        std::size_t ackAt;
    } rows[] = {
        {{}, DoctorFault::Silent, 0},
        {{0x06}, DoctorFault::None, 0},
        {{0x55, 0x06}, DoctorFault::None, 1},  // a read skips one stray byte
        {{0x55, 0x55, 0x06}, DoctorFault::JunkBeforeAck, 2},
        {{0x15}, DoctorFault::NoAck, 0},
        {{0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'}, DoctorFault::Echo, 0},
        {{'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x06}, DoctorFault::Echo, 0},  // an echo, then the radio
        {{'P', 'R', 0x06}, DoctorFault::JunkBeforeAck, 2},  // two bytes that only look like an echo
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(test::FakeSerialPort::Hex(row.received));
        std::size_t ackAt = 0;
        EXPECT_EQ(ClassifyAnswer(row.received, &ackAt), row.fault);
        EXPECT_EQ(ackAt, row.ackAt);
    }
}

TEST(DoctorRules, Identification) {
    EXPECT_EQ(ClassifyIdentification({'Q', 'Z', '0', '1', '7', 'V', '1', '0'}), DoctorFault::None);
    EXPECT_EQ(ClassifyIdentification({0, 0, 0, 0, '8', 0, 0, 0}), DoctorFault::None);
    EXPECT_EQ(ClassifyIdentification({0, 0, 0, 0, '9', 0, 0, 0}), DoctorFault::UnknownModel);
    EXPECT_EQ(ClassifyIdentification({0, 0, 0, 0, '7', 0, 0}), DoctorFault::ShortIdentification);
    EXPECT_EQ(ClassifyIdentification({}), DoctorFault::ShortIdentification);
}

TEST(DoctorRules, LanguageOfTheLocale) {
    EXPECT_EQ(LanguageOfLocale("", "", "zh_CN.UTF-8"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfLocale("C", "", "zh_CN.UTF-8"), UiLanguage::English);  // LC_ALL first
    EXPECT_EQ(LanguageOfLocale("", "zh_TW.UTF-8", "en_US.UTF-8"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfLocale("", "", ""), UiLanguage::English);
}

TEST(DoctorRules, TraceTailStartsAtALine) {
    EXPECT_EQ(TraceTail("a\nbb\ncc\n", 100), "a\nbb\ncc\n");
    EXPECT_EQ(TraceTail("a\nbb\ncc\n", 5), "cc\n");
    EXPECT_EQ(TraceTail("a\nbb\ncc\n", 6), "bb\ncc\n");
}

// The system as a table; the port a fake one (the stages on a real line are
// the end-to-end tests' business).
class TableProbe : public DoctorProbe {
public:
    Node node = Node::Present;
    std::vector<DoctorProcess> holders;
    std::vector<DoctorProcess> running;
    std::vector<std::string> adaptersWithoutPort;

    std::string Resolve(const std::string& port) override { return "/dev/" + port; }
    Node Device(const std::string&) override { return node; }
    std::string Describe(const std::string&) override { return {}; }
    bool MayOpen(const std::string&, std::string&) override { return true; }
    std::vector<DoctorProcess> Holders(const std::string&) override { return holders; }
    std::vector<DoctorProcess> ProcessesNamed(const std::string& name) override {
        std::vector<DoctorProcess> found;
        for (const auto& p : running) {
            if (p.name == name) found.push_back(p);
        }
        return found;
    }
    std::vector<std::string> AdaptersWithoutPort() override { return adaptersWithoutPort; }
};

TEST(DoctorRules, TheSystemsStatePointsToTheFault) {
    const DoctorProcess brltty{77, "brltty"}, modemManager{88, "ModemManager"}, minicom{99, "minicom"};
    const struct {
        const char* name;
        DoctorProbe::Node node;
        std::vector<DoctorProcess> running, holders;
        std::vector<std::string> adapters;
        DoctorFault fault;
        std::string detail;
    } rows[] = {
        {"missing",
         DoctorProbe::Node::Missing,
         {},
         {},
         {},
         DoctorFault::NoDevice,
         "/dev/ttyUSB0 does not exist"},
        {"brltty and a CH340 without port",
         DoctorProbe::Node::Missing,
         {brltty},
         {},
         {"1a86:7523"},
         DoctorFault::BrlttyTookAdapter,
         "brltty (pid 77)"},
        {"brltty, no adapter lost", DoctorProbe::Node::Missing, {brltty}, {}, {}, DoctorFault::NoDevice, ""},
        {"a PL2303 without port: not brltty's",
         DoctorProbe::Node::Missing,
         {brltty},
         {},
         {"067b:2303"},
         DoctorFault::NoDevice,
         ""},
        {"a CH340 without port, no brltty",
         DoctorProbe::Node::Missing,
         {},
         {},
         {"1a86:7523"},
         DoctorFault::NoDevice,
         ""},
        {"held",
         DoctorProbe::Node::Present,
         {},
         {minicom},
         {},
         DoctorFault::Held,
         "held by minicom (pid 99)"},
        {"ModemManager named first",
         DoctorProbe::Node::Present,
         {},
         {minicom, modemManager},
         {},
         DoctorFault::HeldByModemManager,
         "held by ModemManager (pid 88)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TableProbe probe;
        probe.node = row.node;
        probe.running = row.running;
        probe.holders = row.holders;
        probe.adaptersWithoutPort = row.adapters;
        VirtualClock clock;
        test::FakeSerialPort port(clock);
        const DoctorReport report = RunDoctor("ttyUSB0", probe, port, clock, UiLanguage::English);
        EXPECT_EQ(report.fault, row.fault);
        EXPECT_NE(report.stages.back().detail.find(row.detail), std::string::npos)
            << report.stages.back().detail;
        EXPECT_EQ(port.Count(test::FakeSerialPort::Call::Open), 0);
    }
}

// A holder the scan could not see (another user's program) shows when the
// port will not open: the busy stage fails, not a later one.
TEST(DoctorRules, AHolderFoundOnlyByTheOpenFailsTheBusyStage) {
    TableProbe probe;
    VirtualClock clock;
    test::FakeSerialPort port(clock);
    port.openResult = {PortError::Busy, "/dev/ttyUSB0"};
    port.openResult.holderPid = 42;
    port.openResult.holderName = "cu";
    std::vector<std::string> heard;
    const DoctorReport report =
        RunDoctor("ttyUSB0", probe, port, clock, UiLanguage::Chinese,
                  [&](const DoctorStageReport& s) { heard.push_back(DoctorStageName(s.stage)); });
    EXPECT_EQ(report.Result(), "busy");
    ASSERT_EQ(report.stages.size(), 3u);
    EXPECT_FALSE(report.stages[2].ok);
    EXPECT_EQ(report.stages[2].detail, "/dev/ttyUSB0 正被 cu（进程号 42）占用");
    EXPECT_EQ(report.fix, "请关闭 cu，然后再试。");
    EXPECT_EQ(heard, (std::vector<std::string>{"device", "permission", "busy", "busy"}));
}

// The package's rule covers exactly the adapters the doctor knows, each for
// the desktop user and out of ModemManager's way.
TEST(DoctorRules, UdevRuleListsTheCableAdapters) {
    const std::string rules =
        test::ReadText(std::string(QUORIM_SOURCE_DIR) + "/resources/udev/70-quorim.rules");
    const std::regex rule(
        R"re(^SUBSYSTEM=="tty", ATTRS\{idVendor\}=="([0-9a-f]{4})", ATTRS\{idProduct\}=="([0-9a-f]{4})", )re"
        R"re(TAG\+="uaccess", ENV\{ID_MM_DEVICE_IGNORE\}="1"$)re",
        std::regex::multiline);
    std::set<std::string> inRule, known;
    for (auto it = std::sregex_iterator(rules.begin(), rules.end(), rule); it != std::sregex_iterator();
         ++it) {
        inRule.insert((*it)[1].str() + ":" + (*it)[2].str());
    }
    for (const CableAdapter& a : kCableAdapters) {
        known.insert(std::string(a.vendorId) + ":" + a.productId);
    }
    EXPECT_EQ(inRule, known);
    EXPECT_EQ(known.size(), 7u);
}

}  // namespace
}  // namespace quorim
