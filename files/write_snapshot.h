#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "files/file_status.h"
#include "image/memory_image.h"

namespace quorim {

// Before a write replaces a radio's memory, the memory can be read and kept
// beside the read backups (ReadBackupFolder), so that the write can be undone:
//
//   20261207-075312-123Z_COM1_QZ-16_before-write.szt
//   20261207-075312-123Z_%2Fdev%2FttyUSB0_QZ-199_before-write-2.szt
//
// The UTC time to the millisecond, the port's name as given (SnapshotPortPart:
// every character but letters, digits, "." and "-" as %XX, so that no two
// ports share a name), the radio's model as its identification named it, and
// a counter when another snapshot took the name first.
// The names never match those of the read backups, so each kind is pruned on
// its own: only the newest kKeptSnapshots snapshots are kept.
inline constexpr std::size_t kKeptSnapshots = 1000;

struct Snapshot {
    std::string path;
    std::string stamp;  // "20261207-075312-123Z"
    // The port's name as given ("/dev/ttyUSB0"); for a name made before the
    // port was kept whole ("dev_ttyUSB0", `exactPort` false), as it stands.
    std::string port;
    bool exactPort = true;
    bool sixteen = true;
    int counter = 1;
    long long modified = 0;  // the file's modification time, in ns (ListSnapshots)
};

// A port name as part of a file name: slashes and backslashes become
// underscores, leading underscores go ("/dev/ttyUSB0" -> "dev_ttyUSB0");
// "port" when nothing is left.
std::string PortInFileName(const std::string& port);

// A port's name as a part of a snapshot's name, and back: letters, digits,
// "." and "-" stay, every other byte is %XX ("/dev/ttyUSB0" ->
// "%2Fdev%2FttyUSB0").
std::string SnapshotPortPart(const std::string& port);

// Reads a snapshot's name (a file name without folder); false for any other.
bool ParseSnapshotName(const std::string& name, Snapshot& out);

// The snapshots in `folder`, oldest first by modification time (a name's
// time is the clock's, which may have run ahead); none when the folder cannot
// be read.
std::vector<Snapshot> ListSnapshots(const std::string& folder);

// The newest snapshot taken on exactly `port`, or nullptr. A snapshot whose
// name does not keep its port whole is never taken for any port.
const Snapshot* NewestSnapshotOn(const std::vector<Snapshot>& snapshots, const std::string& port);

// "2026-12-07 07:53:12 UTC", for the lists.
std::string SnapshotTimeText(const Snapshot& snapshot);
// "QZ - 16" or "QZ - 199".
const char* SnapshotModelText(const Snapshot& snapshot);

struct SnapshotResult {
    std::string path;     // the file kept; empty when none was
    std::string reason;   // why none was kept (the system's words)
    std::string warning;  // kept, but older snapshots could not be removed

    bool Ok() const { return !path.empty(); }
};

// Keeps `doc` (image and model flag, as a read left it) as the snapshot of the
// radio on `port`, under a name nothing stood at before (never replacing a
// file), then removes the oldest snapshots beyond `keep`. The folder
// (ReadBackupFolder() for the user's) is created when missing; an empty one
// is a reason. Never throws.
SnapshotResult StoreSnapshotIn(const std::string& folder, const std::string& port, const DocumentData& doc,
                               std::chrono::system_clock::time_point when, std::size_t keep = kKeptSnapshots);

// Loads a snapshot to be put back: its image, and the model flag. A
// snapshot this program made names the model in its file name (a blank
// radio's byte 3 names none); any other file is judged by its byte 3. False
// when it did not load (`status` tells why) or names neither model (`status`
// loaded, its doubt UnknownModelCode); `doc` is then as before.
bool LoadSnapshot(const std::string& path, DocumentData& doc, FileStatus& status);

// The sentence that tells why a write did not begin: "The radio was not
// written: its memory could not be kept before the write (REASON)".
std::string SnapshotFailureText(const std::string& reason);
// "The radio was not written: its memory could not be read before the write
// (REASON)", REASON being the link's message.
std::string SnapshotReadFailureText(const std::string& reason);

}  // namespace quorim
