#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/memory_image.h"

namespace quorim::radio {

// Faults the virtual radio can put on the line.
struct Faults {
    int silentWakeUps = 0;                     // ignore this many wake-ups (-1: all)
    std::vector<std::uint8_t> strayBeforeAck;  // sent before the wake-up ACK
    int shortReplyBlock = -1;                  // this read block's reply is cut short...
    std::size_t shortReplyLength = 0;          // ...to this many bytes
    int nakReadBlock = -1;                     // answer the ACK after this read block with 0x15
    int nakWriteBlock = -1;                    // answer this written block with 0x15
    int vanishBlock = -1;                      // the port disappears at this block (read or write)
    int corruptAddress = -1;                   // a write stores this byte inverted (and still ACKs)
    std::string vanishAt;                      // "wake", "ident", "ident-ack" or "tune": drop the line there
    bool badIdentAck = false;                  // answer the program's ACK after the identification with 0x15
    bool garbage = false;                      // answer every byte with two bytes of noise, nothing else
    int lateWriteBlock = -1;                   // the ACK of this written block comes late...
    int lateTuneStep = 0;                      // ...or this tuning confirmation (1-3)...
    double lateMs = 0;                         // ...by this much, the first time only
    int badConfirmStep = 0;                    // tuning: 1 header, 2 frequency frame, 3 setting frame...
    int badConfirmTimes = -1;                  // ...is refused this many times (-1: every time)
    bool echo = false;                         // the line loops every byte back; the radio hears nothing
    std::vector<std::uint8_t> identification;  // sent in place of the model's own (any length)
};

// One tuning session as the radio received it.
struct TuningRecord {
    std::uint8_t selector = 0;
    std::vector<std::uint8_t> frequencyFrame;
    std::vector<std::uint8_t> settingFrame;

    bool operator==(const TuningRecord&) const = default;
};

// The radio's side of the clone and tuning protocols, as a pure state
// machine: bytes in (with the time they arrived), bytes out through `send`.
// The virtual radio runs it on a pseudo-terminal in real time; the tests and
// the fuzz targets run it behind a fake port on a virtual clock.
class RadioModel {
public:
    RadioModel(MemoryImage memory, bool ninetyNineChannels, Faults injected);

    // Bytes to send, after a delay in ms (0: at once).
    std::function<void(const std::vector<std::uint8_t>&, double delayMs)> send;
    std::function<void()> vanish;  // fault: drop the line
    // After each stored block, with the command as it came ('W', address, 08, data).
    std::function<void(int block, const std::vector<std::uint8_t>& command)> blockWritten;
    std::function<void(const TuningRecord&)> tuned;  // after a complete tuning set

    // How long the radio waits after "02 PROGRA" for an 'M' before it answers
    // anyway (the 199-channel and tuning openings hold the 'M' back).
    double ackGapMs = 20;
    // A pause this long between two bytes abandons a half-received frame,
    // so an opening sent after a failed attempt is always heard.
    double frameGapMs = 300;
    // The tuning confirmations come this long after the frame: the program
    // purges between a frame and the read of its confirmation.
    double confirmDelayMs = 2;

    // The faults it puts on the line, and the model it says it is in its
    // identification: both may change between two sessions.
    Faults faults;
    bool ninetyNine;

    void OnByte(std::uint8_t b, double nowMs);
    // Call when no byte arrived; returns the time at which it wants a Tick
    // (a negative value: none).
    void Tick(double nowMs);
    double NextDeadline() const { return m_ackPending ? m_ackDue : -1; }

    const MemoryImage& Memory() const { return m_memory; }
    MemoryImage& Memory() { return m_memory; }
    std::vector<std::uint8_t> Identification() const;

private:
    enum class State { Idle, AwaitIdentRequest, AwaitIdentAck, Ready, Tuning };

    void SendAck();
    // The echo and garbage faults: the line answers, not the radio. True
    // when it did.
    bool AnswerAsBrokenLine(std::uint8_t b);
    void OnCommandByte(std::uint8_t b);
    void OnTuningByte(std::uint8_t b);

    MemoryImage m_memory;
    State m_state = State::Idle;
    std::vector<std::uint8_t> m_window;
    std::vector<std::uint8_t> m_cmd;
    bool m_ackPending = false;
    double m_ackDue = 0;
    int m_readBlock = 0;
    int m_writeBlock = 0;
    TuningRecord m_tuning;
    int m_tuningStep = 0;
    double m_lastByte = -1e9;
    std::uint32_t m_noise = 12345;
    bool m_lateUsed = false;
};

}  // namespace quorim::radio
