#include "files/file_status_text.h"

#include <string_view>
#include <utility>

namespace quorim {

namespace {

constexpr std::string_view kMsgCannotOpenFile = QUORIM_TR("Quorim", "无法打开文件“%1”");
constexpr std::string_view kMsgNotADataFile =
    QUORIM_TR("Quorim", "“%1”不是对讲机数据文件：它有 %2 字节，数据文件有 %3 字节");
constexpr std::string_view kMsgCannotReadFile = QUORIM_TR("Quorim", "无法读取文件“%1”");
constexpr std::string_view kMsgCannotSaveFile = QUORIM_TR("Quorim", "无法保存文件“%1”，原文件未改动");
constexpr std::string_view kMsgCannotSaveNew = QUORIM_TR("Quorim", "无法保存文件“%1”");
constexpr std::string_view kMsgReason = QUORIM_TR("Quorim", "（%1）");
constexpr std::string_view kMsgNotAFile = QUORIM_TR("Quorim", "“%1”不是普通文件，未作改动");
constexpr std::string_view kMsgReadOnly = QUORIM_TR("Quorim", "“%1”是只读文件，未作改动");
constexpr std::string_view kMsgBackupNoFolder =
    QUORIM_TR("Quorim", "已读出对讲机数据，但未保存备份：XDG_DATA_HOME 和 HOME 都未指明存放的文件夹");
constexpr std::string_view kMsgBackupNotStored =
    QUORIM_TR("Quorim", "已读出对讲机数据，但备份无法保存到“%1”（%2）");
constexpr std::string_view kMsgBackupNotPruned =
    QUORIM_TR("Quorim", "对讲机数据已备份到“%1”，但旧的备份无法删除（%2）");

constexpr std::string_view kMsgImageDoubt = QUORIM_TR("Quorim", "“%1”不像对讲机的数据文件：%2");
constexpr std::string_view kAskWriteDoubtful =
    QUORIM_TR("Quorim", "“%1”不像对讲机的数据文件：%2。仍要把它写入对讲机吗？");
constexpr std::string_view kDoubtReasons[] = {
    "",
    QUORIM_TR("Quorim", "它比数据文件的 3216 字节长"),
    QUORIM_TR("Quorim", "它的机型代码（第 3 字节）既不是“7”也不是“8”"),
    QUORIM_TR("Quorim", "它是逗号分隔的文本"),
    QUORIM_TR("Quorim", "它是 PDF 文档"),
    QUORIM_TR("Quorim", "它是程序文件"),
};

// The file layer's own reasons, in the program's language; any other reason
// is the system's and stays as it was given.
constexpr std::pair<std::string_view, std::string_view> kReasons[] = {
    {"it is a folder", QUORIM_TR("Quorim", "这是一个文件夹")},
    {"the disk refused the data", QUORIM_TR("Quorim", "磁盘拒绝写入数据")},
    {"a device", QUORIM_TR("Quorim", "这是一个设备")},
    {"a FIFO", QUORIM_TR("Quorim", "这是一个命名管道")},
    {"a socket", QUORIM_TR("Quorim", "这是一个套接字")},
};

}  // namespace

std::string FileStatusText(const FileStatus& status, const TextTranslator& texts) {
    std::string text;
    switch (status.error) {
        case FileError::None:
            return {};
        case FileError::CannotOpen:
            text = TranslateWithArgs(texts, kMsgCannotOpenFile, {status.path});
            break;
        case FileError::TooShort:
            text = TranslateWithArgs(texts, kMsgNotADataFile,
                                     {status.path, std::to_string(status.size), std::to_string(kImageSize)});
            break;
        case FileError::ReadFailed:
            text = TranslateWithArgs(texts, kMsgCannotReadFile, {status.path});
            break;
        case FileError::WriteFailed:
            text = TranslateWithArgs(texts, status.noPrevious ? kMsgCannotSaveNew : kMsgCannotSaveFile,
                                     {status.path});
            break;
        case FileError::NotAFile:
            text = TranslateWithArgs(texts, kMsgNotAFile, {status.path});
            break;
        case FileError::ReadOnly:
            text = TranslateWithArgs(texts, kMsgReadOnly, {status.path});
            break;
    }
    if (!status.detail.empty()) {
        std::string reason = status.detail;
        for (const auto& [given, marked] : kReasons) {
            if (reason == given) {
                reason = texts.Translate("Quorim", marked);
            }
        }
        text += TranslateWithArgs(texts, kMsgReason, {reason});
    }
    return text;
}

std::string ImageDoubtText(const std::string& path, ImageDoubt doubt, const TextTranslator& texts,
                           bool asking) {
    if (doubt == ImageDoubt::None) {
        return {};
    }
    const std::string reason = texts.Translate("Quorim", kDoubtReasons[static_cast<int>(doubt)]);
    return TranslateWithArgs(texts, asking ? kAskWriteDoubtful : kMsgImageDoubt, {path, reason});
}

std::string ReadBackupWarningText(const ReadBackupResult& result, const TextTranslator& texts) {
    using Problem = ReadBackupResult::Problem;
    switch (result.problem) {
        case Problem::NoFolder:
            return texts.Translate("Quorim", kMsgBackupNoFolder);
        case Problem::NotStored:
            return TranslateWithArgs(texts, kMsgBackupNotStored, {result.where, result.reason});
        case Problem::NotPruned:
            return TranslateWithArgs(texts, kMsgBackupNotPruned, {result.where, result.reason});
        case Problem::None:
            break;
    }
    return result.warning;
}

}  // namespace quorim
