#include "files/write_snapshot.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <system_error>
#include <tuple>

#include "base/utf8_path.h"
#include "files/platform_files.h"
#include "files/read_backup.h"
#include "files/safe_file.h"
#include "files/szt_file.h"

namespace quorim {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMark = "_before-write";
constexpr std::size_t kStampSize = 20;  // "20261207-075312-123Z"

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsStamp(const std::string& s) {
    return s.size() == kStampSize && AllDigits(s.substr(0, 8)) && s[8] == '-' && AllDigits(s.substr(9, 6)) &&
           s[15] == '-' && AllDigits(s.substr(16, 3)) && s[19] == 'Z';
}

// Snapshots of one process are pruned one at a time: two ports ending
// together would otherwise both count the other's fresh file.
std::mutex g_pruneMutex;

std::string Prune(const std::string& folder, std::size_t keep, const std::string& fresh) {
    const std::lock_guard lock(g_pruneMutex);
    const std::vector<Snapshot> all = ListSnapshots(folder);
    std::string failure;
    std::size_t excess = all.size() > keep ? all.size() - keep : 0;
    for (const Snapshot& s : all) {
        if (excess == 0) {
            break;
        }
        if (s.path == fresh) {
            continue;
        }
        std::error_code ec;
        fs::remove(Utf8Path(s.path), ec);  // gone already (another program pruned it): not a failure
        if (ec && failure.empty()) {
            failure = ec.message();
        }
        --excess;
    }
    return failure;
}

}  // namespace

std::string PortInFileName(const std::string& port) {
    std::string name = port;
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\\', '_');
    name.erase(0, name.find_first_not_of('_'));
    return name.empty() ? "port" : name;
}

std::string SnapshotPortPart(const std::string& port) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string part;
    for (const char c : port) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '.' ||
            c == '-') {
            part += c;
        } else {
            part += {'%', kHex[b >> 4], kHex[b & 0x0F]};
        }
    }
    return part;
}

namespace {

int HexDigit(char c) {
    const std::string_view digits = "0123456789ABCDEF";
    const std::size_t at = digits.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The port's name back from SnapshotPortPart; false for a part it cannot
// have made (a name of before, whose slashes became underscores).
bool PortOfPart(const std::string& part, std::string& port) {
    port.clear();
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '_') {
            return false;
        }
        if (part[i] != '%') {
            port += part[i];
            continue;
        }
        const int high = i + 2 < part.size() ? HexDigit(part[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(part[i + 2]) : -1;
        if (low < 0) {
            return false;
        }
        port += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

}  // namespace

bool ParseSnapshotName(const std::string& name, Snapshot& out) {
    // Read from the end, so that the port may hold any character:
    // STAMP "_" PORT "_QZ-16" or "_QZ-199", "_before-write", ["-" N], ".szt".
    if (name.size() < kStampSize + 2 || !name.ends_with(".szt") || !IsStamp(name.substr(0, kStampSize)) ||
        name[kStampSize] != '_') {
        return false;
    }
    std::string rest = name.substr(kStampSize + 1, name.size() - kStampSize - 5);
    int counter = 1;
    if (const std::size_t dash = rest.rfind('-'); dash != std::string::npos && rest.size() - dash <= 6 &&
                                                  AllDigits(rest.substr(dash + 1)) &&
                                                  !rest.ends_with(kMark)) {
        counter = std::stoi(rest.substr(dash + 1));
        if (counter < 2) {
            return false;
        }
        rest.resize(dash);
    }
    if (!rest.ends_with(kMark)) {
        return false;
    }
    rest.resize(rest.size() - std::string(kMark).size());
    for (const auto& [model, sixteen] : {std::pair{"_QZ-16", true}, std::pair{"_QZ-199", false}}) {
        if (rest.ends_with(model) && rest.size() > std::string(model).size()) {
            out.stamp = name.substr(0, kStampSize);
            const std::string part = rest.substr(0, rest.size() - std::string(model).size());
            out.exactPort = PortOfPart(part, out.port);
            if (!out.exactPort) {
                out.port = part;
            }
            out.sixteen = sixteen;
            out.counter = counter;
            return true;
        }
    }
    return false;
}

std::vector<Snapshot> ListSnapshots(const std::string& folder) {
    std::vector<Snapshot> found;
    if (folder.empty()) {
        return found;
    }
    try {
        std::error_code ec;
        for (fs::directory_iterator it(Utf8Path(folder), ec), end; !ec && it != end; it.increment(ec)) {
            Snapshot s;
            std::error_code kind;
            if (ParseSnapshotName(Utf8Text(it->path().filename()), s) && it->is_regular_file(kind)) {
                s.path = Utf8Text(it->path());
                platform::ModifiedTime(s.path, s.modified);
                found.push_back(std::move(s));
            }
        }
    } catch (const std::exception&) {
        // A name the system cannot give as UTF-8: the ones found so far.
    }
    std::sort(found.begin(), found.end(), [](const Snapshot& a, const Snapshot& b) {
        return std::tie(a.modified, a.stamp, a.counter) < std::tie(b.modified, b.stamp, b.counter);
    });
    return found;
}

const Snapshot* NewestSnapshotOn(const std::vector<Snapshot>& snapshots, const std::string& port) {
    for (auto it = snapshots.rbegin(); it != snapshots.rend(); ++it) {
        if (it->exactPort && it->port == port) {
            return &*it;
        }
    }
    return nullptr;
}

std::string SnapshotTimeText(const Snapshot& s) {
    const std::string& t = s.stamp;
    return t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2) + " " + t.substr(9, 2) + ":" +
           t.substr(11, 2) + ":" + t.substr(13, 2) + " UTC";
}

const char* SnapshotModelText(const Snapshot& s) {
    return s.sixteen ? "QZ - 16" : "QZ - 199";
}

SnapshotResult StoreSnapshotIn(const std::string& folder, const std::string& port, const DocumentData& doc,
                               std::chrono::system_clock::time_point when, std::size_t keep) {
    SnapshotResult result;
    if (folder.empty()) {
        result.reason = "neither XDG_DATA_HOME nor HOME names a folder for it";
        return result;
    }
    try {
        std::error_code ec;
        fs::create_directories(Utf8Path(folder), ec);
        if (ec) {
            result.reason = "\"" + folder + "\": " + ec.message();
            return result;
        }
        const std::string stem = BackupTimeStamp(when) + "_" + SnapshotPortPart(port) +
                                 (doc.m_bSixteenChannel ? "_QZ-16" : "_QZ-199") + kMark;
        // Under a name nothing stands at, never replacing or following what
        // is there; synced before it takes the name.
        std::string written;
        const FileStatus saved =
            CreateNewFile(folder, stem, ".szt", doc.m_image.data(), doc.m_image.size(), written);
        if (!saved.Ok()) {
            result.reason = saved.detail.empty() ? saved.Message() : "\"" + folder + "\": " + saved.detail;
            return result;
        }
        result.path = written;
        if (const std::string failure = Prune(folder, keep, result.path); !failure.empty()) {
            result.warning = "The radio's memory was kept in \"" + result.path +
                             "\", but older snapshots could not be removed (" + failure + ")";
        }
    } catch (const std::exception& e) {
        result.path.clear();
        result.reason = e.what();
    }
    return result;
}

bool LoadSnapshot(const std::string& path, DocumentData& doc, FileStatus& status) {
    MemoryImage image{};
    status = LoadSztFile(path, image);
    if (!status.Ok()) {
        return false;
    }
    Snapshot named;
    if (ParseSnapshotName(Utf8Text(Utf8Path(path).filename()), named)) {
        doc.m_image = image;
        doc.m_bSixteenChannel = named.sixteen;
        return true;
    }
    const std::uint8_t code = image[kModelCodeOffset];
    if (code != kModelCode16 && code != kModelCode199) {
        status.doubt = ImageDoubt::UnknownModelCode;
        return false;
    }
    doc.m_image = image;
    doc.SetModelFlagFromImage();
    return true;
}

std::string SnapshotFailureText(const std::string& reason) {
    return "The radio was not written: its memory could not be kept before the write (" + reason + ")";
}

std::string SnapshotReadFailureText(const std::string& reason) {
    return "The radio was not written: its memory could not be read before the write (" + reason + ")";
}

}  // namespace quorim
