#include "files/read_backup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/utf8_path.h"
#include "files/platform_files.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "text/ascii_text.h"

namespace quorim {

namespace fs = std::filesystem;

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

struct Backup {
    std::string stamp;
    int counter;
    std::filesystem::path path;
    long long modified = 0;  // ns
};

// The names this function writes: the time stamp, the model, and a counter
// when two reads fall into one millisecond ("20261207-075312-123Z_QZ-16-2.szt").
bool ParseBackupName(const std::string& name, Backup& out) {
    constexpr std::size_t kStamp = 20;  // 8 digits, '-', 6 digits, '-', 3 digits, 'Z'
    if (name.size() < kStamp + 10 || name.compare(name.size() - 4, 4, ".szt") != 0) {
        return false;
    }
    const std::string stamp = name.substr(0, kStamp);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9, 6)) ||
        stamp[15] != '-' || !AllDigits(stamp.substr(16, 3)) || stamp[19] != 'Z') {
        return false;
    }
    const std::string rest = name.substr(kStamp, name.size() - kStamp - 4);  // "_QZ-16" or "_QZ-199-2"
    for (const char* model : {"_QZ-16", "_QZ-199"}) {
        if (rest == model) {
            out.stamp = stamp;
            out.counter = 1;
            return true;
        }
        const std::string prefix = std::string(model) + "-";
        if (rest.rfind(prefix, 0) == 0 && rest.size() - prefix.size() <= 6 &&
            AllDigits(rest.substr(prefix.size()))) {
            out.stamp = stamp;
            out.counter = std::stoi(rest.substr(prefix.size()));
            return true;
        }
    }
    return false;
}

// Removes the oldest backups beyond `keep`, by modification time (a clock
// set back can date names in the future); never `fresh`, the one just
// written. The reason of the first failure.
std::string Prune(const fs::path& folder, std::size_t keep, const fs::path& fresh) {
    std::vector<Backup> backups;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Text(it->path().filename());
        Backup backup;
        std::error_code old;
        if (ParseBackupName(name, backup) && it->is_regular_file(old) &&
            it->path().filename() != fresh.filename()) {
            backup.path = it->path();
            platform::ModifiedTime(Utf8Text(it->path()), backup.modified);
            backups.push_back(std::move(backup));
        }
    }
    if (ec) {
        return ec.message();
    }
    // The fresh one counts among those kept.
    keep = keep > 0 ? keep - 1 : 0;
    if (backups.size() <= keep) {
        return {};
    }
    std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
        if (a.modified != b.modified) {
            return a.modified < b.modified;
        }
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.counter < b.counter;
    });
    std::string failure;
    for (std::size_t i = 0; i + keep < backups.size(); ++i) {
        fs::remove(backups[i].path, ec);
        if (ec && failure.empty()) {
            failure = ec.message();
        }
    }
    return failure;
}

}  // namespace

std::string BackupTimeStamp(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(when);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss time{ms - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02ld%02ld%02ld-%03ldZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()), static_cast<long>(time.subseconds().count()));
    return text;
}

ReadBackupResult StoreReadBackupIn(const std::string& folder, const DocumentData& doc,
                                   std::chrono::system_clock::time_point when, std::size_t keep) {
    ReadBackupResult result;
    const auto fail = [&](const std::string& reason) {
        result.warning = "The radio's memory was read, but its backup could not be stored in " +
                         Quoted(folder) + " (" + reason + ")";
        result.problem = ReadBackupResult::Problem::NotStored;
        result.where = folder;
        result.reason = reason;
        return result;
    };
    try {
        std::error_code ec;
        fs::create_directories(Utf8Path(folder), ec);
        if (ec) {
            return fail(ec.message());
        }
        if (!fs::is_directory(Utf8Path(folder), ec)) {
            return fail("it is not a folder");
        }
        // Two reads within one millisecond: a counter, shared by both models so
        // that (time, counter) orders every backup. The name is taken
        // exclusively: another program's backup in the same millisecond
        // moves this one to the next counter.
        const std::string stamp = BackupTimeStamp(when);
        const std::string model = doc.m_bSixteenChannel ? "_QZ-16" : "_QZ-199";
        const auto name = [&](const std::string& m, int n) {
            return Utf8Path(folder) / (stamp + m + (n > 1 ? "-" + std::to_string(n) : "") + ".szt");
        };
        int n = 1;
        while (n < 100000 && (fs::exists(name("_QZ-16", n), ec) || fs::exists(name("_QZ-199", n), ec))) {
            ++n;
        }
        std::string written;
        const FileStatus saved =
            CreateNewFile(folder, stamp + model, ".szt", doc.m_image.data(), doc.m_image.size(), written, n);
        if (!saved.Ok()) {
            return fail(saved.detail.empty() ? "the file could not be written" : saved.detail);
        }
        result.path = written;
        const fs::path target = Utf8Path(written);
        if (const std::string failure = Prune(Utf8Path(folder), keep, target); !failure.empty()) {
            result.warning = "The radio's memory was backed up in " + Quoted(result.path) +
                             ", but older backups could not be removed (" + failure + ")";
            result.problem = ReadBackupResult::Problem::NotPruned;
            result.where = result.path;
            result.reason = failure;
        }
    } catch (const std::exception& e) {
        // Out of memory or a name the file system cannot hold: still only a warning.
        return fail(e.what());
    }
    return result;
}

}  // namespace quorim
