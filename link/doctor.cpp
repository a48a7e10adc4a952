#include "link/doctor.h"

#include <algorithm>

#include "link/clone_engine.h"
#include "text/ascii_text.h"

namespace quorim {

namespace {

// One text in the program's two languages.
struct Bilingual {
    const char* zh;
    const char* en;
};

std::string Pick(const Bilingual& text, UiLanguage language) {
    return language == UiLanguage::English ? text.en : text.zh;
}

std::string Fill(const Bilingual& text, UiLanguage language, std::initializer_list<std::string> args) {
    std::string out = Pick(text, language);
    std::size_t n = 1;
    for (const std::string& arg : args) {
        const std::string mark = "%" + std::to_string(n++);
        for (std::size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at + arg.size())) {
            out.replace(at, mark.size(), arg);
        }
    }
    return out;
}

constexpr Bilingual kStageTitles[] = {
    {"设备", "Device"}, {"权限", "Permission"}, {"占用", "In use"}, {"打开", "Open"},
    {"应答", "Answer"}, {"回显", "Echo"},       {"确认", "Ack"},    {"型号", "Identity"},
};

// What a passed stage found.
constexpr Bilingual kOkAccess{"可以读写", "may be read and written"};
constexpr Bilingual kOkFree{"没有其他程序占用", "no other program has it open"};
constexpr Bilingual kOkOpen{"已打开，9600 波特 8N1", "open, 9600 baud 8N1"};
constexpr Bilingual kOkAnswer{"收到 %1 个字节：%2", "came back: %2"};
constexpr Bilingual kOkNotEcho{"不是自己发出的字节", "not our own bytes"};
constexpr Bilingual kOkAck{"06", "06"};
constexpr Bilingual kOkAckAfterStray{"06（前面有 1 个杂散字节 %1）", "06 (after 1 stray byte, %1)"};
constexpr Bilingual kOkIdentity{"%1（%2）", "%1 (%2)"};

// What a failed stage found, and the one fix for it.
struct FaultTexts {
    DoctorFault fault;
    DoctorStage stage;
    Bilingual detail;
    Bilingual fix;
};

constexpr FaultTexts kFaults[] = {
    {DoctorFault::NoDevice,
     DoctorStage::Device,
     {"%1 不存在", "%1 does not exist"},
     {"请插好编程线，然后用 quorim ports 查看串口设备。",
      "Plug the programming cable in, then look for its serial device with quorim ports."}},
    {DoctorFault::BrlttyTookAdapter,
     DoctorStage::Device,
     {"CH340 转换器（%2）已插入，但没有串口设备：盲文显示程序 brltty（进程号 %3）占用了它",
      "a CH340 adapter (%2) is plugged in but has no serial device: the braille display driver brltty "
      "(pid %3) took it"},
     {"不使用盲文显示器时，请运行 sudo systemctl mask --now brltty-udev.service brltty.service"
      "（或 sudo apt remove brltty），然后重新插入编程线。",
      "If no braille display is used, run sudo systemctl mask --now brltty-udev.service brltty.service "
      "(or sudo apt remove brltty), then plug the cable in again."}},
    {DoctorFault::NotSerial,
     DoctorStage::Device,
     {"%1 不是串口设备", "%1 is not a serial device"},
     {"请选择编程线的串口设备（quorim ports 列出的设备）。",
      "Choose the programming cable's serial device (one that quorim ports lists)."}},
    {DoctorFault::NoAccess,
     DoctorStage::Permission,
     {"没有读写 %1 的权限（设备属于 %2 组）", "no permission to open %1 (the device belongs to group %2)"},
     {"请运行 sudo usermod -aG %2 $USER，然后重新登录；或装好 Quorim 的 udev 规则后重新插入编程线。",
      "Run sudo usermod -aG %2 $USER and log in again; or, with Quorim's udev rule installed, plug the "
      "cable in again."}},
    {DoctorFault::Held,
     DoctorStage::Busy,
     {"%1 正被 %2（进程号 %3）占用", "%1 is held by %2 (pid %3)"},
     {"请关闭 %2，然后再试。", "Close %2, then try again."}},
    {DoctorFault::HeldByModemManager,
     DoctorStage::Busy,
     {"%1 正被 %2（进程号 %3）占用：ModemManager 把编程线当成了调制解调器",
      "%1 is held by %2 (pid %3): ModemManager takes the cable for a modem"},
     {"请装好 Quorim 的 udev 规则（sudo udevadm control --reload-rules && sudo udevadm trigger）后重新插入"
      "编程线；不用调制解调器时也可运行 sudo systemctl stop ModemManager。",
      "Install Quorim's udev rule (sudo udevadm control --reload-rules && sudo udevadm trigger) and plug the "
      "cable in again; without a modem, sudo systemctl stop ModemManager also helps."}},
    {DoctorFault::OpenFailed,
     DoctorStage::Open,
     {"无法打开 %1：%2", "cannot open %1: %2"},
     {"请拔下编程线再插上，然后再试。", "Unplug the cable, plug it in again, then try again."}},
    {DoctorFault::Vanished,
     DoctorStage::Answer,
     {"%1 在使用中消失了", "%1 went away while in use"},
     {"请检查 USB 插头，重新插入编程线后再试。",
      "Check the USB plug, plug the cable in again and try again."}},
    {DoctorFault::Silent,
     DoctorStage::Answer,
     {"唤醒对讲机 %1 次，没有收到任何应答", "woke the radio %1 times, nothing came back"},
     {"请打开对讲机电源，把编程线插头插到底，然后再试。",
      "Switch the radio on and push the cable's plug fully into the radio, then try again."}},
    {DoctorFault::Echo,
     DoctorStage::Echo,
     {"收到的是自己发出的字节：%1", "what came back is our own bytes: %1"},
     {"插头插错了插孔或没有插到底，或者转换器把发出的字节送了回来：请把插头插到底，插在对讲机的编程口。",
      "The plug is in the wrong jack or not pushed fully in, or the adapter loops back what it sends: push "
      "the plug fully into the radio's programming jack."}},
    {DoctorFault::JunkBeforeAck,
     DoctorStage::Ack,
     {"确认字节 06 前面有 %1 个杂散字节：%2", "%1 stray bytes before the 06: %2"},
     {"线路上有干扰或转换器工作不稳定（常见于仿冒的 PL2303 芯片）：请换一根编程线或换一个 USB 口再试。",
      "The line is noisy or the adapter is unreliable (counterfeit PL2303 chips often are): try another "
      "cable or another USB port."}},
    {DoctorFault::NoAck,
     DoctorStage::Ack,
     {"应答中没有确认字节 06：%1", "no 06 in what came back: %1"},
     {"对讲机没有进入编程状态：请确认是 QZ - 16 或 QZ - 199 对讲机，关机后重新开机再试。",
      "The radio did not start programming: check that it is a QZ - 16 or QZ - 199, switch it off and on "
      "again, then try again."}},
    {DoctorFault::ShortIdentification,
     DoctorStage::Identity,
     {"型号信息只收到 %1 个字节：%2", "only %1 of the 8 identification bytes came: %2"},
     {"请关机后重新开机再试；仍不行时请换一根编程线。",
      "Switch the radio off and on again and try again; if it still fails, try another cable."}},
    {DoctorFault::UnknownModel,
     DoctorStage::Identity,
     {"不认识的型号信息：%1", "an identification of no known model: %1"},
     {"这台对讲机不是 QZ - 16 或 QZ - 199，或者线路上有干扰：请确认对讲机型号后再试。",
      "This radio is not a QZ - 16 or QZ - 199, or the line is noisy: check the radio's model, then try "
      "again."}},
    {DoctorFault::IdentNotAcked,
     DoctorStage::Identity,
     {"对讲机报告为 %1，但没有确认", "the radio said %1 but did not acknowledge"},
     {"请关机后重新开机再试。", "Switch the radio off and on again, then try again."}},
};

const FaultTexts& TextsOf(DoctorFault fault) {
    for (const FaultTexts& t : kFaults) {
        if (t.fault == fault) {
            return t;
        }
    }
    return kFaults[0];
}

bool IsModemManager(const DoctorProcess& p) {
    return p.name == "ModemManager";
}

class Doctor {
public:
    // `serial` and `clock` may be null for a run that never opens a port.
    Doctor(const std::string& port, DoctorProbe& probe, SerialPort* serial, Clock* clock, UiLanguage language,
           const std::function<void(const DoctorStageReport&)>& onStage)
        : m_probe(probe), m_serial(serial), m_clock(clock), m_language(language), m_onStage(onStage) {
        m_report.port = port;
    }

    DoctorReport Run();
    // The device stage's failure for a device that is not there.
    DoctorReport Missing();

private:
    void Pass(DoctorStage stage, std::string detail) {
        m_report.stages.push_back({stage, true, std::move(detail)});
        if (m_onStage) {
            m_onStage(m_report.stages.back());
        }
    }
    // Ends the run at `fault`'s stage. A stage found failing later than its
    // turn (the open that finds the port held after all) takes the place of
    // the stages that had passed from there on.
    DoctorReport Fail(DoctorFault fault, std::initializer_list<std::string> args) {
        const FaultTexts& texts = TextsOf(fault);
        auto& stages = m_report.stages;
        stages.erase(std::find_if(stages.begin(), stages.end(),
                                  [&](const DoctorStageReport& s) { return s.stage == texts.stage; }),
                     stages.end());
        stages.push_back({texts.stage, false, Fill(texts.detail, m_language, args)});
        m_report.fault = fault;
        m_report.fix = Fill(texts.fix, m_language, args);
        if (m_onStage) {
            m_onStage(stages.back());
        }
        return m_report;
    }
    DoctorReport FailClosed(DoctorFault fault, std::initializer_list<std::string> args) {
        m_serial->Close();
        return Fail(fault, args);
    }
    DoctorReport HeldBy(const DoctorProcess& holder) {
        return Fail(IsModemManager(holder) ? DoctorFault::HeldByModemManager : DoctorFault::Held,
                    {m_path, holder.name, std::to_string(holder.pid)});
    }
    DoctorReport OpenFailure(const PortResult& r);
    // The stages on the open port: the answer to the opening, echo and ack,
    // then the radio's identity.
    DoctorReport Answer();
    DoctorReport Identity();

    DoctorProbe& m_probe;
    SerialPort* m_serial;
    Clock* m_clock;
    UiLanguage m_language;
    std::function<void(const DoctorStageReport&)> m_onStage;
    DoctorReport m_report;
    std::string m_path;
};

DoctorReport Doctor::OpenFailure(const PortResult& r) {
    switch (r.error) {
        case PortError::NotFound:
            return Fail(DoctorFault::NoDevice, {m_path});
        case PortError::NoAccess:
            return Fail(DoctorFault::NoAccess, {m_path, r.group.empty() ? "?" : r.group});
        case PortError::Busy:
            if (r.holderPid > 0) {
                return HeldBy({r.holderPid, r.holderName});
            }
            return Fail(DoctorFault::Held, {m_path, "?", "?"});
        case PortError::NotSerial:
            return Fail(DoctorFault::NotSerial, {m_path});
        default:
            return Fail(DoctorFault::OpenFailed,
                        {m_path, r.detail.empty() ? PortErrorText(r.error) : r.detail});
    }
}

DoctorReport Doctor::Missing() {
    // A CH340 with no serial device while the braille driver runs: the
    // driver claimed it as a braille display.
    const auto brltty = m_probe.ProcessesNamed("brltty");
    for (const std::string& adapter : m_probe.AdaptersWithoutPort()) {
        if (!brltty.empty() && adapter.rfind("1a86:", 0) == 0) {
            return Fail(DoctorFault::BrlttyTookAdapter,
                        {m_path, adapter, std::to_string(brltty.front().pid)});
        }
    }
    if (m_path.empty()) {
        Fail(DoctorFault::NoDevice, {});
        m_report.stages.back().detail = DoctorNoPortsText(m_language);
        return m_report;
    }
    return Fail(DoctorFault::NoDevice, {m_path});
}

DoctorReport Doctor::Run() {
    // device
    m_path = m_probe.Resolve(m_report.port);
    switch (m_probe.Device(m_path)) {
        case DoctorProbe::Node::Missing:
            return Missing();
        case DoctorProbe::Node::NotSerial:
            return Fail(DoctorFault::NotSerial, {m_path});
        case DoctorProbe::Node::Present:
            break;
    }
    const std::string description = m_probe.Describe(m_path);
    Pass(DoctorStage::Device, m_path + (description.empty() ? "" : " " + description));

    // permission
    std::string group;
    if (!m_probe.MayOpen(m_path, group)) {
        return Fail(DoctorFault::NoAccess, {m_path, group.empty() ? "?" : group});
    }
    Pass(DoctorStage::Permission, Pick(kOkAccess, m_language));

    // busy: ModemManager first, it has a fix of its own
    std::vector<DoctorProcess> holders = m_probe.Holders(m_path);
    std::stable_partition(holders.begin(), holders.end(), IsModemManager);
    if (!holders.empty()) {
        return HeldBy(holders.front());
    }
    Pass(DoctorStage::Busy, Pick(kOkFree, m_language));

    // open: the port as a read sets it up
    const PortResult opened = OpenConfiguredPort(*m_serial, m_path, kCloneInputQueue, kCloneOutputQueue,
                                                 kDoctorAnswerTimeouts, LineSettings{});
    if (!opened.Ok()) {
        return OpenFailure(opened);
    }
    Pass(DoctorStage::Open, Pick(kOkOpen, m_language));
    return Answer();
}

DoctorReport Doctor::Answer() {
    // answer: the opening a read sends, one byte a millisecond; what comes
    // back is taken whole, so an echo shows as what it is.
    std::vector<std::uint8_t> received(kDoctorAnswerMax);
    std::size_t count = 0;
    for (int attempt = 0; attempt < kDoctorWakeUps && count == 0; ++attempt) {
        m_serial->Purge();
        for (const std::uint8_t b : kDoctorWakeUp) {
            m_clock->SleepMs(1);
            const Transfer w = m_serial->Write(&b, 1);
            if (w.error == PortError::Gone) {
                return FailClosed(DoctorFault::Vanished, {m_path});
            }
        }
        const Transfer t = m_serial->Read(received.data(), received.size());
        if (t.error == PortError::Gone) {
            return FailClosed(DoctorFault::Vanished, {m_path});
        }
        count = t.count;
    }
    received.resize(count);
    if (count == 0) {
        return FailClosed(DoctorFault::Silent, {std::to_string(kDoctorWakeUps)});
    }
    Pass(DoctorStage::Answer, Fill(kOkAnswer, m_language, {std::to_string(count), HexBytes(received)}));

    // echo, ack
    std::size_t ackAt = 0;
    const DoctorFault answer = ClassifyAnswer(received, &ackAt);
    if (answer == DoctorFault::Echo) {
        return FailClosed(answer, {HexBytes(received)});
    }
    Pass(DoctorStage::Echo, Pick(kOkNotEcho, m_language));
    if (answer == DoctorFault::JunkBeforeAck) {
        return FailClosed(
            answer, {std::to_string(ackAt),
                     HexBytes({received.begin(), received.begin() + static_cast<std::ptrdiff_t>(ackAt)})});
    }
    if (answer == DoctorFault::NoAck) {
        return FailClosed(answer, {HexBytes(received)});
    }
    Pass(DoctorStage::Ack, ackAt == 0 ? Pick(kOkAck, m_language)
                                      : Fill(kOkAckAfterStray, m_language, {HexBytes({received[0]})}));
    return Identity();
}

DoctorReport Doctor::Identity() {
    // identity: the start byte, the identification, our 06 and the radio's
    // 06 back, as a read goes on. The radio is then where every transfer's
    // handshake leaves it, and the next opening starts afresh.
    m_clock->SleepMs(1);
    m_serial->Purge();
    m_serial->SetTimeouts(kCloneTimeouts);
    const std::uint8_t stx = kStx;
    m_serial->Write(&stx, 1);
    m_clock->SleepMs(1);
    std::vector<std::uint8_t> ident(kIdentSize);
    const Transfer t = m_serial->Read(ident.data(), ident.size());
    if (t.error == PortError::Gone) {
        return FailClosed(DoctorFault::Vanished, {m_path});
    }
    ident.resize(t.count);
    const DoctorFault identified = ClassifyIdentification(ident);
    if (identified == DoctorFault::ShortIdentification) {
        return FailClosed(identified, {std::to_string(ident.size()), HexBytes(ident)});
    }
    if (identified == DoctorFault::UnknownModel) {
        return FailClosed(identified, {HexBytes(ident)});
    }
    const std::string model = ident[kIdentModelByte] == kModelCode199 ? "QZ - 199" : "QZ - 16";
    m_serial->Purge();
    const std::uint8_t ack = kAck;
    m_serial->Write(&ack, 1);
    std::uint8_t reply = 0;
    const Transfer r = m_serial->Read(&reply, 1);
    m_serial->Close();
    if (r.count != 1 || reply != kAck) {
        return Fail(DoctorFault::IdentNotAcked, {model});
    }
    Pass(DoctorStage::Identity, Fill(kOkIdentity, m_language, {model, HexBytes(ident)}));
    return m_report;
}

}  // namespace

const char* DoctorStageName(DoctorStage stage) {
    static constexpr const char* kNames[] = {"device", "permission", "busy", "open",
                                             "answer", "echo",       "ack",  "identity"};
    return kNames[static_cast<int>(stage)];
}

DoctorStage FaultStage(DoctorFault fault) {
    return TextsOf(fault).stage;
}

std::string DoctorReport::Result() const {
    return Ok() ? "ok" : DoctorStageName(FaultStage(fault));
}

DoctorFault ClassifyAnswer(const std::vector<std::uint8_t>& received, std::size_t* ackAt) {
    if (received.empty()) {
        return DoctorFault::Silent;
    }
    // "PRO" never starts a radio's answer: an echo of the opening, even one
    // that lost a byte or two, carries it.
    static constexpr std::uint8_t kEchoMark[] = {'P', 'R', 'O'};
    if (std::search(received.begin(), received.end(), std::begin(kEchoMark), std::end(kEchoMark)) !=
        received.end()) {
        return DoctorFault::Echo;
    }
    const auto ack = std::find(received.begin(), received.end(), kAck);
    if (ack == received.end()) {
        return DoctorFault::NoAck;
    }
    const auto at = static_cast<std::size_t>(ack - received.begin());
    if (ackAt != nullptr) {
        *ackAt = at;
    }
    // A read looks at two bytes for the 06 and gives up.
    return at <= 1 ? DoctorFault::None : DoctorFault::JunkBeforeAck;
}

DoctorFault ClassifyIdentification(const std::vector<std::uint8_t>& ident) {
    if (ident.size() < kIdentSize) {
        return DoctorFault::ShortIdentification;
    }
    const std::uint8_t model = ident[kIdentModelByte];
    return model == kModelCode16 || model == kModelCode199 ? DoctorFault::None : DoctorFault::UnknownModel;
}

DoctorReport RunDoctor(const std::string& port, DoctorProbe& probe, SerialPort& serial, Clock& clock,
                       UiLanguage language, const std::function<void(const DoctorStageReport&)>& onStage) {
    return Doctor(port, probe, &serial, &clock, language, onStage).Run();
}

DoctorReport NoPortsReport(DoctorProbe& probe, UiLanguage language) {
    return Doctor({}, probe, nullptr, nullptr, language, {}).Missing();
}

std::string DoctorStageTitle(DoctorStage stage, UiLanguage language) {
    return Pick(kStageTitles[static_cast<int>(stage)], language);
}

std::string DoctorFixLabel(UiLanguage language) {
    return Pick({"解决办法：", "Fix: "}, language);
}

std::string DoctorNoPortsText(UiLanguage language) {
    return Pick({"没有找到串口设备", "no serial devices found"}, language);
}

std::string DoctorReportText(const DoctorReport& report, UiLanguage language) {
    std::string text = (report.port.empty() ? DoctorNoPortsText(language) : report.port) + "\n";
    for (const DoctorStageReport& s : report.stages) {
        text += std::string("  ") + (s.ok ? "\xE2\x9C\x93 " : "\xE2\x9C\x97 ") +
                DoctorStageTitle(s.stage, language) + "  " + s.detail + "\n";
    }
    if (!report.fix.empty()) {
        text += "  " + DoctorFixLabel(language) + report.fix + "\n";
    }
    return text;
}

std::string TraceTail(const std::string& trace, std::size_t limit) {
    if (trace.size() <= limit) {
        return trace;
    }
    std::size_t from = trace.size() - limit;
    const std::size_t line = trace.find('\n', from > 0 ? from - 1 : 0);
    from = line == std::string::npos ? trace.size() : line + 1;
    return trace.substr(from);
}

std::string SupportReportText(const SupportReportParts& p) {
    const auto ended = [](const std::string& s) { return s.empty() || s.back() == '\n' ? s : s + "\n"; };
    std::string text = "Quorim support report\n\n";
    text += "== version\n" + ended(p.version) + "\n";
    text += "== system\n" + ended(p.system) + "\n";
    text += "== quorim ports --json\n" + ended(p.portsJson) + "\n";
    text += "== quorim doctor\n" + ended(p.doctor) + "\n";
    text += "== QUORIM_TRACE\n";
    if (p.tracePath.empty()) {
        text += "(not set)\n";
    } else if (!p.traceProblem.empty()) {
        text += p.tracePath + ": " + ended(p.traceProblem);
    } else {
        text += p.tracePath + "\n" + ended(p.trace);
    }
    return text;
}

}  // namespace quorim
