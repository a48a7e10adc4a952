#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/codec.h"
#include "editor/editor_model.h"
#include "link/link_host.h"
#include "tests/core/fake_serial_port.h"

namespace quorim::test {

// A host that records what the engines show and answers prompts from a queue.
class RecordingHost : public LinkHost {
public:
    std::vector<std::string> statuses;
    std::vector<std::string> messages;
    std::vector<MessageButtons> buttons;
    std::deque<MessageAnswer> answers;  // for Retry/Cancel prompts; empty: Cancel
    int rangeLow = 0, rangeHigh = 123, pos = 0, steps = 0;
    std::vector<int> rangeHighs;
    int closeProgress = 0;
    mutable int checks = 0;
    int cancelAtCheck = -1;  // the cancel flag is set at this look at it (1-based)
    mutable bool cancel = false;
    std::function<void(int check)> onCheck;
    TransferDirection direction = TransferDirection::Read;
    int encodes = 0, decodes = 0;
    DocumentData decoded;

    void SetStatusText(const std::string& text) override { statuses.push_back(text); }
    void SetProgressRange(int low, int high) override {
        rangeLow = low;
        rangeHigh = high;
        rangeHighs.push_back(high);
    }
    void StepProgress() override {
        ++steps;
        pos = pos >= rangeHigh ? rangeLow : pos + 1;  // a bar wraps past its top
    }
    int ProgressPos() const override { return pos; }
    void CloseProgress() override { ++closeProgress; }
    bool CancelRequested() const override {
        ++checks;
        if (checks == cancelAtCheck) {
            cancel = true;
        }
        if (onCheck) {
            onCheck(checks);
        }
        return cancel;
    }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons b) override {
        messages.push_back(text);
        buttons.push_back(b);
        if (b == MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        if (answers.empty()) {
            return MessageAnswer::Cancel;
        }
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    TransferDirection Direction() const override { return direction; }
    void EncodeEditor(DocumentData&) override { ++encodes; }
    void DecodeEditor(const DocumentData& doc) override {
        ++decodes;
        decoded = doc;
    }
};

// The radio's side of the clone and tuning openings, driven by what the
// engine writes, with knobs for its faults.
class ScriptedRadio {
public:
    MemoryImage memory{};
    Bytes ident{'Q', 'Z', 'R', '-', '7', '1', '0', '0'};
    int ignoreWakeUps = 0;  // stay silent for this many wake-ups
    Bytes strayBeforeAck;   // sent before the wake-up ACK
    double ackDelayMs = 2;  // the wake-up ACK follows the 'A' after this
    bool answerIdentAck = true;
    std::uint8_t identAckByte = 0x06;
    int shortReplyAtBlock = -1;  // this read block's reply is cut short
    std::size_t shortReplyLength = 0;
    int noAckAfterReadBlock = -1;  // answers this read block's ACK with 0x15
    int noAckAfterWriteBlock = -1;
    std::vector<Bytes> writtenBlocks;  // (address hi, lo, data...)
    // Tuning: what arrived after 'x' (selector, header, frames), and which
    // confirmation (1 header, 2 frequency frame, 3 setting frame) is wrong.
    std::vector<Bytes> tuningSets;
    int badConfirmStep = 0;
    int badConfirmTimes = 1000;
    int wakeUps = 0;
    double replyDelayMs = 0;  // every answer comes this much later (a slow radio)

    void Attach(FakeSerialPort& port) {
        m_port = &port;
        port.onWrite = [this](const Bytes& bytes) {
            for (const std::uint8_t b : bytes) {
                OnByte(b);
            }
        };
    }

private:
    enum class State { Idle, AwaitIdentRequest, AwaitIdentAck, Ready, Tuning };

    void OnByte(std::uint8_t b) {
        m_window.push_back(b);
        if (m_window.size() > 7) {
            m_window.erase(m_window.begin());
        }
        static const Bytes kWake{0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
        if (m_state != State::Ready || m_cmd.empty()) {
            if (m_window == kWake) {
                ++wakeUps;
                m_cmd.clear();
                if (ignoreWakeUps > 0) {
                    --ignoreWakeUps;
                    m_state = State::Idle;
                    return;
                }
                Bytes reply = strayBeforeAck;
                reply.push_back(0x06);
                m_port->Arrive(reply, ackDelayMs + replyDelayMs);
                m_state = State::AwaitIdentRequest;
                return;
            }
        }
        switch (m_state) {
            case State::Idle:
                break;
            case State::AwaitIdentRequest:
                if (b == 0x02) {
                    m_port->Arrive(ident, replyDelayMs);
                    m_state = State::AwaitIdentAck;
                }
                break;
            case State::AwaitIdentAck:
                if (b == 0x06 && answerIdentAck) {
                    m_port->Arrive({identAckByte}, replyDelayMs);
                    m_state = State::Ready;
                    m_readBlock = m_writeBlock = 0;
                }
                break;
            case State::Ready:
                if (m_cmd.empty() && b == 0x78) {
                    m_state = State::Tuning;
                    tuningSets.push_back({});
                    break;
                }
                OnCommandByte(b);
                break;
            case State::Tuning:
                OnTuningByte(b);
                break;
        }
    }

    void OnCommandByte(std::uint8_t b) {
        if (m_cmd.empty() && b == 0x06) {
            // the ACK after a read block
            m_port->Arrive({m_readBlock - 1 == noAckAfterReadBlock ? std::uint8_t{0x15} : std::uint8_t{0x06}},
                           replyDelayMs);
            return;
        }
        m_cmd.push_back(b);
        if (m_cmd[0] == 'R' && m_cmd.size() == 4) {
            const std::size_t addr = (static_cast<std::size_t>(m_cmd[1]) << 8) | m_cmd[2];
            Bytes reply{'W', m_cmd[1], m_cmd[2], 0x08};
            for (std::size_t i = 0; i < 8; ++i) {
                reply.push_back(addr + i < memory.size() ? memory[addr + i] : 0);
            }
            if (m_readBlock == shortReplyAtBlock) {
                reply.resize(shortReplyLength);
            }
            ++m_readBlock;
            m_port->Arrive(reply, replyDelayMs);
            m_cmd.clear();
        } else if (m_cmd[0] == 'W' && m_cmd.size() == 12) {
            const std::size_t addr = (static_cast<std::size_t>(m_cmd[1]) << 8) | m_cmd[2];
            writtenBlocks.push_back(Bytes(m_cmd.begin() + 1, m_cmd.end()));
            for (std::size_t i = 0; i < 8 && addr + i < memory.size(); ++i) {
                memory[addr + i] = m_cmd[4 + i];
            }
            m_port->Arrive({m_writeBlock == noAckAfterWriteBlock ? std::uint8_t{0x15} : std::uint8_t{0x06}},
                           replyDelayMs);
            ++m_writeBlock;
            m_cmd.clear();
        } else if (m_cmd[0] != 'R' && m_cmd[0] != 'W') {
            m_cmd.clear();
        }
    }

    void OnTuningByte(std::uint8_t b) {
        Bytes& set = tuningSets.back();
        set.push_back(b);
        // selector, header (2), frequency frame (8), setting frame (8)
        const int step = set.size() == 3 ? 1 : set.size() == 11 ? 2 : set.size() == 19 ? 3 : 0;
        if (step == 0) {
            return;
        }
        const bool bad = step == badConfirmStep && badConfirmTimes > 0;
        if (bad) {
            --badConfirmTimes;
        }
        // The confirmation comes once the frame has been taken in, after the
        // program's purge.
        m_port->Arrive({bad ? std::uint8_t{0x15} : std::uint8_t{0x48}}, 0.5 + replyDelayMs);
        if (bad || step == 3) {
            m_state = State::Idle;
        }
    }

    FakeSerialPort* m_port = nullptr;
    State m_state = State::Idle;
    Bytes m_window;
    Bytes m_cmd;
    int m_readBlock = 0;
    int m_writeBlock = 0;
};

}  // namespace quorim::test

namespace quorim::test {

// A virtual clock that also puts each pause into a port's trace ("s15").
class TracingClock : public VirtualClock {
public:
    std::vector<std::string>* trace = nullptr;
    void SleepMs(int ms) override {
        VirtualClock::SleepMs(ms);
        if (trace != nullptr) {
            trace->push_back("s" + std::to_string(ms));
        }
    }
};

}  // namespace quorim::test
