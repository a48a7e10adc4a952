#include "tuning/tuning_session.h"

#include "text/number_text.h"

namespace quorim {

namespace {

constexpr std::int64_t kMaxFrequency = 99999999;  // 999.99999 MHz in 10 Hz
constexpr std::int64_t kMaxTone = 9999;           // 999.9 Hz in 0.1 Hz
constexpr std::uint8_t kAck = 0x06;

// The value's decimal digits, two to a byte, least significant pair first.
template <std::size_t N>
std::array<std::uint8_t, N> DigitPairs(std::int64_t value) {
    std::array<std::uint8_t, N> out{};
    std::int64_t v = value < 0 ? 0 : value;
    for (auto& b : out) {
        b = PairByte(v % 100);
        v /= 100;
    }
    return out;
}

std::int64_t FrequencyUnits(const std::string& text) {
    return LeadingDecimalScaled(text, 5, Cut::Truncate);
}
std::int64_t ToneUnits(const std::string& text) {
    return LeadingDecimalScaled(text, 1, Cut::Truncate);
}

class TuningSession {
public:
    TuningSession(const TuningRequest& request, SerialPort& port, Clock& clock, const LinkHost& host)
        : m_request(request), m_port(port), m_clock(clock), m_host(host) {}

    // One attempt from the 700 ms pause; false when it failed.
    bool Attempt();

private:
    void WriteByte(std::uint8_t b) { m_port.Write(&b, 1); }
    // One byte read; true when it arrived and equals `expected`. `error`
    // tells a failed read operation.
    bool ReadIs(std::uint8_t expected, bool* error = nullptr) {
        std::uint8_t b = 0;
        const Transfer t = m_port.Read(&b, 1);
        if (error != nullptr) {
            *error = !t.Ok();
        }
        return t.Ok() && t.count == 1 && b == expected;
    }

    const TuningRequest& m_request;
    SerialPort& m_port;
    Clock& m_clock;
    const LinkHost& m_host;
};

bool TuningSession::Attempt() {
    static constexpr std::uint8_t kOpening[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
    m_clock.SleepMs(kTuningAttemptPauseMs);
    // Ctrl+C during the pause ends it early; nothing more is sent.
    if (m_host.CancelRequested()) {
        return false;
    }
    for (const std::uint8_t b : kOpening) {
        m_port.Purge();
        WriteByte(b);
        m_clock.SleepMs(1);
    }
    // The radio answers 06, possibly after one stray byte.
    m_port.Purge();
    bool error = false;
    if (!ReadIs(kAck, &error)) {
        if (error || !ReadIs(kAck)) {
            return false;
        }
    }
    // Identification request; any reply, even a short one, will do.
    m_clock.SleepMs(1);
    m_port.Purge();
    WriteByte('M');
    m_clock.SleepMs(1);
    m_port.Purge();
    WriteByte(0x02);
    std::array<std::uint8_t, 8> ident{};
    if (!m_port.Read(ident.data(), ident.size()).Ok()) {
        return false;
    }
    m_clock.SleepMs(1);
    m_port.Purge();
    WriteByte(kAck);
    if (!ReadIs(kAck)) {
        return false;
    }
    // Tuning mode for the item: 'x', the selector, then selector + 08.
    m_port.Purge();
    m_clock.SleepMs(1);
    WriteByte(kTuningEntry);
    m_clock.SleepMs(1);
    m_port.Purge();
    const std::uint8_t selector = TuningSelector(m_request.item);
    WriteByte(selector);
    m_clock.SleepMs(1);
    m_port.Purge();
    const std::uint8_t header[] = {selector, 0x08};
    m_port.Write(header, sizeof header);
    m_port.Purge();
    if (!ReadIs(kTuningConfirm)) {
        return false;
    }
    m_clock.SleepMs(1);
    const auto frequencies = TuningFrequencyFrame(m_request);
    m_port.Purge();
    m_port.Write(frequencies.data(), frequencies.size());
    m_port.Purge();
    if (!ReadIs(kTuningConfirm)) {
        return false;
    }
    m_clock.SleepMs(1);
    const auto setting = TuningSettingFrame(m_request);
    m_port.Purge();
    m_port.Write(setting.data(), setting.size());
    m_port.Purge();
    return ReadIs(kTuningConfirm);
}

}  // namespace

std::uint8_t TuningSelector(int item) {
    return item >= 2 && item <= 5 ? static_cast<std::uint8_t>(0x71 + (item - 2)) : 0;
}

std::array<std::uint8_t, 4> FrequencyDigitPairs(const std::string& text) {
    return DigitPairs<4>(FrequencyUnits(text));
}

std::array<std::uint8_t, 2> ToneDigitPairs(const std::string& text) {
    return DigitPairs<2>(ToneUnits(text));
}

std::array<std::uint8_t, 8> TuningFrequencyFrame(const TuningRequest& request) {
    const auto rx = FrequencyDigitPairs(request.rxFrequencyText);
    const auto tx = FrequencyDigitPairs(request.txFrequencyText);
    return {rx[0], rx[1], rx[2], rx[3], tx[0], tx[1], tx[2], tx[3]};
}

std::array<std::uint8_t, 8> TuningSettingFrame(const TuningRequest& request) {
    const auto rx = ToneDigitPairs(request.rxToneText);
    const auto tx = ToneDigitPairs(request.txToneText);
    return {rx[0], rx[1], tx[0], tx[1], 0xFB, 0x01, 0x01, static_cast<std::uint8_t>(request.value & 0xFF)};
}

std::optional<std::string> CheckTuningRequest(const TuningRequest& request) {
    const struct {
        const char* field;
        const std::string& text;
    } frequencies[] = {{"接收频率", request.rxFrequencyText}, {"发射频率", request.txFrequencyText}};
    for (const auto& f : frequencies) {
        const std::int64_t units = FrequencyUnits(f.text);
        if (units < 0 || units > kMaxFrequency) {
            return std::string(f.field) + "“" + f.text + "”超出范围，请输入 0 至 999.99999 MHz 之间的频率";
        }
    }
    const struct {
        const char* field;
        const std::string& text;
    } tones[] = {{"接收信令", request.rxToneText}, {"发射信令", request.txToneText}};
    for (const auto& t : tones) {
        const std::int64_t units = ToneUnits(t.text);
        if (units < 0 || units > kMaxTone) {
            return std::string(t.field) + "“" + t.text + "”超出范围，请选择 0 至 999.9 Hz 之间的亚音";
        }
    }
    if (TuningSelector(request.item) == 0) {
        return std::string(
            QUORIM_TR("Quorim", "调试项目无效，请选择发射频率、电池低压电平、静噪电平或发射功率"));
    }
    if (request.value < 0 || request.value > 255) {
        return std::string(QUORIM_TR("Quorim", "调试数值超出范围，请输入 0 至 255 之间的数值"));
    }
    return std::nullopt;
}

TuningOutcome RunTuningSession(const TuningRequest& request, SerialPort& port, Clock& clock, LinkHost& host) {
    if (const auto refusal = CheckTuningRequest(request)) {
        host.ShowMessage(*refusal, MessageButtons::Ok);
        return TuningOutcome::Refused;
    }
    const PortResult opened =
        OpenConfiguredPort(port, request.portName, 1024, 512, kTuningTimeouts, LineSettings{});
    if (!opened.Ok()) {
        host.OpenFailed(opened);
        host.ShowMessage(kMsgTuningCannotOpen, MessageButtons::Ok);
        host.ExplainOpenFailure(opened);
        return TuningOutcome::CannotOpen;
    }
    port.Purge();
    TuningSession session(request, port, clock, host);
    while (!session.Attempt()) {
        if (host.CancelRequested() ||
            host.ShowMessage(kMsgTuningRetry, MessageButtons::RetryCancel) != MessageAnswer::Retry) {
            port.Close();
            return TuningOutcome::Cancelled;
        }
    }
    port.Close();
    host.ShowMessage(kMsgTuningReceived, MessageButtons::Ok);
    return TuningOutcome::Succeeded;
}

}  // namespace quorim
