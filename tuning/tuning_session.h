#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/translation.h"
#include "link/clock.h"
#include "link/link_host.h"
#include "link/serial_port.h"

namespace quorim {

// What the tuning window hands to one session when "开始" is pressed.
struct TuningRequest {
    std::string portName;         // "COM1".."COM4" or a device path
    std::string rxFrequencyText;  // MHz, normally "%8.5f"
    std::string txFrequencyText;
    std::string rxToneText;  // a ToneTable name
    std::string txToneText;
    int item = 4;   // 2 发射频率, 3 电池低压电平, 4 静噪电平, 5 发射功率
    int value = 0;  // 0..255
};

// The session's own words, shown with Q(text) (marked for the English build:
// base/translation.h).
inline constexpr const char* kMsgTuningCannotOpen =
    QUORIM_TR("Quorim", "无法打开串口，请检查该设备是否正常，或是否被占用");
// Its leading blank is the radio's.
inline constexpr const char* kMsgTuningRetry = QUORIM_TR("Quorim", " 错误需延时再试");
inline constexpr const char* kMsgTuningReceived = QUORIM_TR("Quorim", "对讲机已收到!");

// Port set-up of the tuning link: 9600 8N1, 10 ms between bytes, 50 ms per
// byte plus 50 ms for a read or a write.
inline constexpr CommTimeouts kTuningTimeouts{10, 50, 50, 50, 50};
inline constexpr int kTuningAttemptPauseMs = 700;
inline constexpr std::uint8_t kTuningEntry = 0x78;    // 'x'
inline constexpr std::uint8_t kTuningConfirm = 0x48;  // 'H'

enum class TuningOutcome {
    Succeeded,   // "对讲机已收到!" was shown
    CannotOpen,  // the port could not be opened; nothing was sent
    Refused,     // the request cannot be coded (see CheckTuningRequest); nothing was sent
    Cancelled,   // the user chose Cancel after a failed attempt
};

// The item's selector byte: 2 → 'q' .. 5 → 't'; 0 for any other item.
std::uint8_t TuningSelector(int item);

// Digit pairs, least significant pair first. A frequency is the text's
// leading decimal number in MHz as a count of 10 Hz, eight digits; a tone the
// leading number in tenths of a hertz, four digits. No number gives zeros.
// Values that do not fit are cut to their low digits; CheckTuningRequest
// refuses them before anything is sent.
std::array<std::uint8_t, 4> FrequencyDigitPairs(const std::string& text);
std::array<std::uint8_t, 2> ToneDigitPairs(const std::string& text);
std::array<std::uint8_t, 8> TuningFrequencyFrame(const TuningRequest& request);
std::array<std::uint8_t, 8> TuningSettingFrame(const TuningRequest& request);

// Why the request cannot be sent (a Chinese sentence naming the field), or
// nothing when it can: a frequency outside 0 to 999.99999 MHz, a tone outside
// 0 to 999.9 Hz, an item other than 2..5, a value outside 0..255.
std::optional<std::string> CheckTuningRequest(const TuningRequest& request);

// One tuning session: open the port, wake the radio, enter its tuning mode
// for the item, deliver the frequency and setting frames, close the port.
// After a failed attempt the host is asked Retry/Cancel; Retry starts over
// from the 700 ms pause with the port still open. The port is closed when
// this returns.
TuningOutcome RunTuningSession(const TuningRequest& request, SerialPort& port, Clock& clock, LinkHost& host);

}  // namespace quorim
