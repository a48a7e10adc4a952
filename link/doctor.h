#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "link/clock.h"
#include "link/serial_port.h"

namespace quorim {

// The cable doctor: goes through what must hold for a read to start, one
// stage after the other, and stops at the first that fails, with the one
// thing to do about it. It only wakes the radio and asks who it is, as every
// read begins; it never sends a read or write command.

// The stages, in the order they are checked.
enum class DoctorStage { Device, Permission, Busy, Open, Answer, Echo, Ack, Identity };
inline constexpr std::array<DoctorStage, 8> kDoctorStages = {
    DoctorStage::Device, DoctorStage::Permission, DoctorStage::Busy, DoctorStage::Open,
    DoctorStage::Answer, DoctorStage::Echo,       DoctorStage::Ack,  DoctorStage::Identity};

// Everything the doctor can find wrong; each belongs to one stage and has one
// fix.
enum class DoctorFault {
    None,
    NoDevice,             // the device is not there
    BrlttyTookAdapter,    // ...because the braille driver claimed a CH340
    NotSerial,            // the path is not a serial device
    NoAccess,             // this user may not open it
    Held,                 // another program has it open
    HeldByModemManager,   // ...and that program is ModemManager
    OpenFailed,           // it would not open or take 9600 8N1
    Vanished,             // the device went away while in use
    Silent,               // nothing came back to the wake-up
    Echo,                 // what came back is our own bytes
    JunkBeforeAck,        // stray bytes before the 06, more than a read skips
    NoAck,                // bytes came back, none of them 06
    ShortIdentification,  // fewer than 8 identification bytes
    UnknownModel,         // an identification of no model we know
    IdentNotAcked,        // the radio did not acknowledge our 06 after it
};

// "device", "permission", ... (the names the JSON output and the result use).
const char* DoctorStageName(DoctorStage stage);
DoctorStage FaultStage(DoctorFault fault);

// The USB serial adapters the programming cables are built on: the udev rule
// the package installs lists the same.
struct CableAdapter {
    const char* vendorId;
    const char* productId;
    const char* chip;
};
inline constexpr CableAdapter kCableAdapters[] = {
    {"1a86", "7523", "CH340"},  {"1a86", "5523", "CH341"},  {"067b", "2303", "PL2303"},
    {"067b", "23a3", "PL2303"}, {"10c4", "ea60", "CP210x"}, {"0403", "6001", "FT232R"},
    {"0403", "6015", "FT231X"},
};

struct DoctorProcess {
    int pid = 0;
    std::string name;  // as the system calls it ("ModemManager")
};

// What the doctor needs to know of the system around a port.
class DoctorProbe {
public:
    enum class Node { Missing, NotSerial, Present };

    virtual ~DoctorProbe() = default;
    // The device path a port name ("COM1", a path) stands for now.
    virtual std::string Resolve(const std::string& port) = 0;
    virtual Node Device(const std::string& path) = 0;
    // "1a86:7523 QinHeng Electronics USB Serial", or empty.
    virtual std::string Describe(const std::string& path) = 0;
    // Whether this user may open the device for reading and writing; the
    // node's owner group goes to `group`.
    virtual bool MayOpen(const std::string& path, std::string& group) = 0;
    // Other programs that have the device open (the far end of a
    // pseudo-terminal, which holds its master side, is the line itself and
    // not one of them).
    virtual std::vector<DoctorProcess> Holders(const std::string& path) = 0;
    // Running programs of that name.
    virtual std::vector<DoctorProcess> ProcessesNamed(const std::string& name) = 0;
    // Plugged-in USB adapters of kCableAdapters that have no serial device,
    // as "1a86:7523".
    virtual std::vector<std::string> AdaptersWithoutPort() = 0;
};

// The system's probe (/proc and udev on Linux); `procRoot` stands for /proc.
std::unique_ptr<DoctorProbe> NewSystemDoctorProbe(const std::string& procRoot = "/proc");

struct DoctorStageReport {
    DoctorStage stage;
    bool ok = false;
    std::string detail;  // in the report's language
};

struct DoctorReport {
    std::string port;  // as asked ("COM1", "/dev/ttyUSB0"); empty: no device found at all
    std::vector<DoctorStageReport> stages;
    DoctorFault fault = DoctorFault::None;
    std::string fix;  // empty when all went well

    bool Ok() const { return fault == DoctorFault::None; }
    // "ok", or the name of the stage that failed.
    std::string Result() const;
};

// The opening the doctor sends, as a read of a new document does.
inline constexpr std::uint8_t kDoctorWakeUp[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
// A silent line is woken this often before the answer stage fails.
inline constexpr int kDoctorWakeUps = 3;
// After the wake-up, what comes back is collected until the line has been
// quiet this long after a byte, or this long in all.
inline constexpr CommTimeouts kDoctorAnswerTimeouts{50, 0, 1000, 50, 50};
inline constexpr std::size_t kDoctorAnswerMax = 32;

// Sorts what came back to the wake-up: Silent, Echo, JunkBeforeAck, NoAck,
// or None when the 06 is where a read takes it (first or second byte);
// `ackAt` gets the 06's place.
DoctorFault ClassifyAnswer(const std::vector<std::uint8_t>& received, std::size_t* ackAt = nullptr);
// Sorts an identification: ShortIdentification, UnknownModel or None.
DoctorFault ClassifyIdentification(const std::vector<std::uint8_t>& ident);

// Runs the stages for `port`; `onStage` hears each stage as it ends.
DoctorReport RunDoctor(const std::string& port, DoctorProbe& probe, SerialPort& serial, Clock& clock,
                       UiLanguage language,
                       const std::function<void(const DoctorStageReport&)>& onStage = {});
// The report when there is no port to check: no serial device at all.
DoctorReport NoPortsReport(DoctorProbe& probe, UiLanguage language);

// The shown names and the words around the stages.
std::string DoctorStageTitle(DoctorStage stage, UiLanguage language);
std::string DoctorFixLabel(UiLanguage language);  // "解决办法：" / "Fix: "
std::string DoctorNoPortsText(UiLanguage language);

// The plain-text form the CLI prints and the report keeps:
//   /dev/ttyUSB0
//     ✓ 设备  /dev/ttyUSB0 1a86:7523 …
//     ✗ 应答  …
//     解决办法：…
std::string DoctorReportText(const DoctorReport& report, UiLanguage language);

// The file `quorim doctor --report` writes, to attach to a support question.
struct SupportReportParts {
    std::string version;       // "quorim 0.1.0"
    std::string system;        // uname
    std::string portsJson;     // what `quorim ports --json` prints
    std::string doctor;        // the stages, as printed
    std::string tracePath;     // QUORIM_TRACE, empty when not set
    std::string trace;         // its last part
    std::string traceProblem;  // why it could not be read, if so
};
std::string SupportReportText(const SupportReportParts& parts);
// The last `limit` bytes of a trace, starting at a line.
std::string TraceTail(const std::string& trace, std::size_t limit);
inline constexpr std::size_t kReportTraceLimit = 64 * 1024;

}  // namespace quorim
