#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "base/program_info.h"
#include "cli/commands.h"
#include "cli/platform.h"
#include "files/safe_file.h"
#include "link/doctor.h"
#include "link/serial_discovery.h"

namespace quorim::cli {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

nlohmann::ordered_json ReportJson(const DoctorReport& report) {
    nlohmann::ordered_json stages = nlohmann::ordered_json::array();
    for (const DoctorStageReport& s : report.stages) {
        stages.push_back({{"name", DoctorStageName(s.stage)}, {"ok", s.ok}, {"detail", s.detail}});
    }
    return {
        {"port", report.port.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(report.port)},
        {"stages", stages},
        {"result", report.Result()},
        {"fix", report.fix.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(report.fix)},
    };
}

// The trace's last part; a trace that is not a regular file is not opened.
void ReadTrace(SupportReportParts& parts) {
    parts.tracePath = Env("QUORIM_TRACE");
    if (parts.tracePath.empty()) {
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(parts.tracePath, ec)) {
        parts.traceProblem = ec ? ec.message() : "not a regular file";
        return;
    }
    std::ifstream in(parts.tracePath, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    // A little more than the limit, so that the tail can start at a line.
    const std::streamoff from =
        std::max<std::streamoff>(0, size - static_cast<std::streamoff>(kReportTraceLimit) - 256);
    in.seekg(from);
    std::string text(static_cast<std::size_t>(std::max<std::streamoff>(0, size - from)), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in) {
        parts.traceProblem = "cannot be read";
        return;
    }
    parts.trace = TraceTail(text, kReportTraceLimit);
}

}  // namespace

int RunDoctor(const Args& args) {
    bool json = false;
    std::string port;
    std::string reportFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if ((args[i] == "--port" || args[i] == "--report") && i + 1 < args.size() &&
                   (args[i] == "--port" ? port : reportFile).empty() && !args[i + 1].empty()) {
            (args[i] == "--port" ? port : reportFile) = args[i + 1];
            ++i;
        } else {
            return Usage("doctor");
        }
    }
    // The report never replaces what it reports on (the trace), nor a device;
    // told before the doctor wakes anything.
    if (!reportFile.empty()) {
        if (const std::string trace = Env("QUORIM_TRACE");
            !trace.empty() && NamesSameFile(reportFile, trace)) {
            return OutputIsInput(reportFile, trace);
        }
        if (!port.empty() && NamesSameFile(reportFile, port)) {
            return OutputIsInput(reportFile, port);
        }
        if (const FileStatus target = CheckReplaceable(reportFile); !target.Ok()) {
            std::cerr << "quorim: " << target.Message() << "\n";
            return kExitFailed;
        }
    }
    const UiLanguage language = CliLanguage();
    std::unique_ptr<DoctorProbe> probe = NewSystemDoctorProbe();
    std::vector<std::string> ports;
    if (!port.empty()) {
        ports.push_back(port);
    } else {
        for (const SerialDevice& device : UdevSerialDevices().Devices()) {
            ports.push_back(device.node);
        }
    }

    std::vector<DoctorReport> reports;
    if (ports.empty()) {
        reports.push_back(NoPortsReport(*probe, language));
    }
    RealClock clock;
    for (const std::string& name : ports) {
        std::unique_ptr<SerialPort> serial = NewSystemSerialPort();
        reports.push_back(quorim::RunDoctor(name, *probe, *serial, clock, language));
    }

    bool allOk = true;
    std::string text;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const DoctorReport& report : reports) {
        allOk = allOk && report.Ok();
        text += (text.empty() ? "" : "\n") + DoctorReportText(report, language);
        list.push_back(ReportJson(report));
    }
    // Device names are whatever the devices say: bytes that are not UTF-8
    // become U+FFFD. Output that does not arrive is a failure.
    const auto replace = nlohmann::ordered_json::error_handler_t::replace;
    if (!WriteOutput(json ? (port.empty() ? list : list[0]).dump(2, ' ', false, replace) + "\n" : text)) {
        return kExitFailed;
    }

    if (!reportFile.empty()) {
        SupportReportParts parts;
        parts.version = VersionLine("quorim");
        parts.system = SystemDescription();
        parts.portsJson = PortsJsonText();
        parts.doctor = text;
        ReadTrace(parts);
        const std::string report = SupportReportText(parts);
        const FileStatus status = WriteFileAtomically(reportFile, report.data(), report.size());
        if (!status.Ok()) {
            std::cerr << "quorim: " << status.Message() << "\n";
            return kExitFailed;
        }
    }
    return allOk ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
