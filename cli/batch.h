#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_model.h"
#include "files/programming_record.h"
#include "image/memory_image.h"

namespace quorim::cli {

// How one radio came out of a write.
enum class RadioResult {
    Written,
    Verified,
    Failed,     // the link's (or the verify's) message says why
    Refused,    // a radio of the other model: nothing was written
    Cancelled,  // Ctrl+C
    Absent,     // waiting for a radio: none answered (only when asked to wait)
};

struct RadioReport {
    RadioResult result = RadioResult::Failed;
    std::string message;  // the last message of a failure or refusal
    bool sixteen = true;  // the layout written: "QZ - 16" or "QZ - 199"
    // For the programming record: the radio's model where it is known, and
    // RecordDigest of its memory before (from the snapshot) and after.
    std::optional<bool> radioSixteen;
    std::string before, after;
};

// A document with its editor: the one to write, or the one a read starts from.
// `asStored`: the image goes to the radio byte for byte as it stands (a
// snapshot put back), without being encoded from the editor.
struct OpenedDocument {
    DocumentData doc;
    EditorModel editor;
    bool asStored = false;
};

struct WriteOptions {
    int retries = 0;
    bool verify = false;
    // Read and keep the radio's memory before the first block is written; a
    // snapshot that cannot be taken stops the write before it begins.
    bool snapshot = false;
    std::string log;                  // the programming record, when given
    std::string operation = "write";  // as the record names it
};

// One write (and, with verify, its read-back) on one port. Every message is
// printed prefixed with `prefix` (no prefix: a progress bar on a terminal).
// With `waitForRadio`, a radio that does not answer is not a failure: the
// port's messages stay quiet and the write ends as Absent after one wake-up
// attempt, so the caller can try again (a port that vanished is opened
// afresh each time).
RadioReport WriteToRadio(const std::string& port, const std::string& prefix, const OpenedDocument& source,
                         const WriteOptions& options, bool waitForRadio = false);

// Several ports written at once, one thread each; a summary line per port on
// stdout. With `repeat`, each port writes radio after radio until Ctrl+C.
// Returns the exit status: 0 only when every radio was written (and verified).
int RunBatchWrite(const std::vector<std::string>& ports, const OpenedDocument& source,
                  const WriteOptions& options, bool repeat);

// Several ports read at once into `outDir`, one file per port named by the
// port and the time; `start` is the document each read starts from.
int RunBatchRead(const std::vector<std::string>& ports, const std::string& outDir,
                 const OpenedDocument& start, int retries, bool backup, const std::string& log = {});

// The programming record: made (with its header) or checked before any radio
// is touched; false, with the reason told, when it cannot be written.
bool OpenRecord(const std::string& log);
// Appends one radio's line (port, adapter's serial number and time filled in
// here); a line that cannot be written is told as a warning.
void RecordRadio(const std::string& log, RecordEntry entry, std::chrono::steady_clock::time_point began);

// False, after saying why on stderr, when a port name is empty or two name
// one device (see FindSamePort).
bool CheckPortNames(const std::vector<std::string>& ports);

// "COM1_20261207-140211Z.szt", "dev_ttyUSB0_20261207-140211Z.szt": the port
// name with its slashes made underscores, and the UTC time.
std::string ReadFileName(const std::string& port, long long unixSeconds);

}  // namespace quorim::cli
