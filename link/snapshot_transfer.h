#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/translation.h"
#include "files/write_snapshot.h"
#include "link/clone_engine.h"

namespace quorim {

// The window's words for the snapshot before a write and for putting one
// back (the Devices dialog, the progress window, the messages).
inline constexpr const char* kBackupBeforeWrite = QUORIM_TR("Quorim", "写频前备份对讲机数据");
inline constexpr const char* kRestoreBeforeWrite = QUORIM_TR("Quorim", "恢复写频前的数据…");
inline constexpr const char* kRestoreTitle = QUORIM_TR("Quorim", "恢复写频前的数据");
inline constexpr const char* kColumnTime = QUORIM_TR("Quorim", "时间");
inline constexpr const char* kColumnModel = QUORIM_TR("Quorim", "型号");
inline constexpr const char* kRestoreButton = QUORIM_TR("Quorim", "恢复");
inline constexpr const char* kRestoreToPort = QUORIM_TR("Quorim", "写回串口：%1");
inline constexpr const char* kNoSnapshots = QUORIM_TR("Quorim", "还没有写频前的数据。");
inline constexpr std::string_view kMsgSnapshotReadFailed =
    QUORIM_TR("Quorim", "未写入对讲机：写频前未能读出它的数据（%1）");
inline constexpr std::string_view kMsgSnapshotKeepFailed =
    QUORIM_TR("Quorim", "未写入对讲机：写频前未能保存它的数据（%1）");
inline constexpr std::string_view kMsgNotASnapshot =
    QUORIM_TR("Quorim", "“%1”不是对讲机的数据（第 3 字节不是型号），未写入。");

// How the snapshot before a write ended.
struct BeforeWriteSnapshot {
    // The read of the radio's memory; OtherModel when its identification
    // named the other model than the write's (the read stops there).
    TransferResult read;
    SnapshotResult kept;  // the file, once the read succeeded
    DocumentData memory;  // the radio's memory as read

    bool Ok() const { return read.Ok() && kept.Ok(); }
};

// Before a write of the `sixteen` layout on `portName`: reads the radio's
// whole memory through `host` (woken as the write will wake it) and keeps it
// in `folder` (StoreSnapshotIn). A radio of the other model ends the read at
// its identification and nothing is kept. The host's grid, editor and
// direction are left alone; its progress window stays open for the write when
// the snapshot is kept, and is closed otherwise. The read's own failures are
// told by the engine as in any read; why the write does not begin is the
// caller's to tell (BeforeWriteFailureText).
BeforeWriteSnapshot TakeSnapshotBeforeWrite(const std::string& portName, bool sixteen,
                                            const std::string& folder, SerialPort& port, Clock& clock,
                                            LinkHost& host);

// Why the write did not begin, in the translator's language: the other model
// (WrongRadioModelMessage), the read failed, or the file could not be kept.
// Empty when the snapshot was kept or the read was cancelled.
std::string BeforeWriteFailureText(const BeforeWriteSnapshot& snapshot, bool sixteen,
                                   const TextTranslator& texts);

}  // namespace quorim
