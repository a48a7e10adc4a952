#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/memory_image.h"
#include "link/clock.h"
#include "link/link_host.h"
#include "link/serial_port.h"

namespace quorim {

// The read/write link's own words, shown exactly as they stand.
inline constexpr const char* kMsgCannotOpenPort =
    "Could not Open the Port,Please check whether the Port are occupied or the device are ok";
inline constexpr const char* kStatusDetecting = "Now are detecting Communication Port,Please wait...";
inline constexpr const char* kStatusWaiting = "Waiting the response from radio...";
inline constexpr const char* kMsgCommunicationError =
    "Communication Error\xEF\xBC\x8CPlease check all the connections and the radio power";
inline constexpr const char* kMsgSendOrder = "Error in the Send Order";
inline constexpr const char* kMsgNotEnough = "not received enough  byte";
inline constexpr const char* kMsgReadBlockError = "Error had happen,please try again";
inline constexpr const char* kMsgWriteBlockError =
    "Program Interrupt\xEF\xBC\x8CPlease reset the radio and try again";

// A write to a radio of the other model stops before the first block; "%1"
// is the radio's model, "%2" the document's.
inline constexpr std::string_view kMsgWrongRadioModel =
    QUORIM_TR("Quorim", "对讲机为 %1，文件为 %2，未写入。");
// The status bar after a transfer: model, channel count, the port's device.
inline constexpr std::string_view kStatusReadDone = QUORIM_TR("Quorim", "读频完成：%1，%2 个信道，%3");
inline constexpr std::string_view kStatusWriteDone = QUORIM_TR("Quorim", "写频完成：%1，%2 个信道，%3");

// What a write that stopped partway left, told under "Program Interrupt…";
// and, when the radio's memory was kept before the write, the offer to put
// it back.
inline constexpr std::string_view kDetailWriteInterrupted =
    QUORIM_TR("Quorim", "对讲机可能已存有一部分新数据。再写一次即可写完。");
inline constexpr std::string_view kAskRestoreAfterInterrupt =
    QUORIM_TR("Quorim", "写频前已保存了对讲机原来的数据。要把它写回对讲机吗？");

// The line that goes under a link message, in a window's box: what happened
// and what to do next (marked text); empty for messages that need none.
std::string_view LinkMessageDetail(std::string_view message);

std::string WrongRadioModelMessage(const TextTranslator& texts, bool radioSixteen, bool documentSixteen);
std::string TransferDoneText(const TextTranslator& texts, TransferDirection direction, bool sixteen,
                             const std::string& device);

// Wire constants of the clone protocol.
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::size_t kBlockSize = 8;
inline constexpr std::size_t kReplySize = 12;  // 4 leading bytes, then the block
inline constexpr std::size_t kIdentSize = 8;
inline constexpr std::size_t kIdentModelByte = 4;  // '8': a 199-channel radio
inline constexpr int kReadBlocks16 = 124;          // blocks 0..123, image bytes 0..991
inline constexpr int kWriteBlocks16 = 123;         // blocks 0..122, image bytes 0..983
inline constexpr int kBlocks199 = 402;             // blocks 0..401, the whole image
inline constexpr int kHandshakeAttempts = 15;
// Before every wake-up attempt the cancel flag is looked at 7 times, 1 ms
// apart.
inline constexpr int kWakeUpCancelChecks = 7;
// A radio that sent its identification but does not acknowledge the ACK is
// waited for 601 times 1 ms, the cancel flag looked at each time, before the
// communication error prompt.
inline constexpr int kIdentAckCancelChecks = 601;
// After each read block the cancel flag is looked at 199 times, after each
// written block 201 times (no pause).
inline constexpr int kReadBlockCancelChecks = 199;
inline constexpr int kWriteBlockCancelChecks = 201;
// How often the acknowledgement after the identification is written again
// after "Error in the Send Order" before the transfer gives up on the line.
inline constexpr int kSendOrderRetries = 3;

// Port set-up of the clone link: 9600 8N1, these time-outs, these queues.
inline constexpr CommTimeouts kCloneTimeouts{30, 500, 90, 50, 50};
inline constexpr std::size_t kCloneInputQueue = 1024;
inline constexpr std::size_t kCloneOutputQueue = 512;

// How a transfer ended. Every reason but Ok and Cancelled was told to the
// user in one message (TransferMessage) before the transfer ended.
enum class TransferReason {
    Ok,
    PortError,   // the port could not be opened or set up
    NoAnswer,    // the radio did not answer the wake-up, and the prompt was answered Cancel
    ShortReply,  // a read block's reply was short
    WrongAck,    // the radio did not acknowledge a block
    OtherModel,  // a write to a radio of the other model, stopped before the first block
    Cancelled,   // the cancel button (or Ctrl+C), also when it came before a prompt's Cancel
};

struct TransferResult {
    TransferReason reason = TransferReason::Ok;
    TransferDirection direction = TransferDirection::Read;
    // The layout written, or the model a successful read found.
    bool documentSixteen = true;
    // The model the radio's identification named; nothing before it came.
    std::optional<bool> radioSixteen;

    bool Ok() const { return reason == TransferReason::Ok; }
};

// Whether a write ended after its first block may have reached the radio:
// the radio stopped acknowledging blocks.
bool WriteStoppedPartway(const TransferResult& result);

// The message the user was shown for the ending; empty for Ok and Cancelled.
std::string TransferMessage(const TransferResult& result, const TextTranslator& texts);

// One whole transfer in the direction the host reports, as the view's
// OnRadioTransfer runs it: open the port, wake the radio, then read every
// block into the document or write every block from it, and close the port
// and the progress window in every ending.
//
// A read is all or nothing: the blocks go into a copy of the document, which
// replaces `doc` (image and model flag) only when the read succeeds; after a
// failed or cancelled read `doc` is exactly as before. A write first encodes
// the editor into `doc` (through the host), as the program always has, and
// stops before the first block when the radio's identification names the
// other model than the one the editor is laid out for.
TransferResult RunRadioTransfer(const std::string& portName, DocumentData& doc, SerialPort& port,
                                Clock& clock, LinkHost& host);

}  // namespace quorim
