#include "radio/radio_model.h"

#include <algorithm>

namespace quorim::radio {

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kConfirm = 0x48;  // 'H'
const std::vector<std::uint8_t> kWakeUp{0x02, 'P', 'R', 'O', 'G', 'R', 'A'};

}  // namespace

RadioModel::RadioModel(MemoryImage memory, bool ninetyNineChannels, Faults injected)
    : faults(std::move(injected)), ninetyNine(ninetyNineChannels), m_memory(memory) {}

std::vector<std::uint8_t> RadioModel::Identification() const {
    if (!faults.identification.empty()) {
        return faults.identification;
    }
    // Only byte 4 means something to the program: '8' for the 199-channel radio.
    return {'Q', 'Z', '0', '1', static_cast<std::uint8_t>(ninetyNine ? '8' : '7'), 'V', '1', '0'};
}

void RadioModel::SendAck() {
    m_ackPending = false;
    std::vector<std::uint8_t> reply = faults.strayBeforeAck;
    reply.push_back(kAck);
    send(reply, 0);
    m_state = State::AwaitIdentRequest;
}

void RadioModel::Tick(double nowMs) {
    if (m_ackPending && nowMs >= m_ackDue) {
        SendAck();
    }
}

bool RadioModel::AnswerAsBrokenLine(std::uint8_t b) {
    if (faults.echo) {
        // A plug in the wrong jack, or an adapter that loops back.
        send({b}, 0);
        return true;
    }
    if (faults.garbage) {
        // A radio that chatters: two bytes of noise for every byte heard,
        // never an acknowledgement or a confirmation.
        std::vector<std::uint8_t> noise;
        for (int i = 0; i < 2; ++i) {
            m_noise = m_noise * 1103515245u + 12345u;
            const auto n = static_cast<std::uint8_t>(m_noise >> 16);
            noise.push_back(n == kAck || n == kConfirm ? 0x55 : n);
        }
        send(noise, 0);
        return true;
    }
    return false;
}

void RadioModel::OnByte(std::uint8_t b, double nowMs) {
    if (AnswerAsBrokenLine(b)) {
        return;
    }
    Tick(nowMs);
    if (nowMs - m_lastByte > frameGapMs) {
        m_cmd.clear();
        if (m_state == State::Tuning) {
            m_state = State::Idle;
        }
    }
    m_lastByte = nowMs;
    m_window.push_back(b);
    if (m_window.size() > kWakeUp.size()) {
        m_window.erase(m_window.begin());
    }
    const bool collecting = (m_state == State::Ready && !m_cmd.empty()) || m_state == State::Tuning;
    if (m_ackPending && b == 'M') {
        SendAck();  // the 16-channel opening: the 'M' follows at once
        return;
    }
    if (!collecting && m_window == kWakeUp) {
        m_cmd.clear();
        if (faults.vanishAt == "wake") {
            vanish();
            return;
        }
        if (faults.silentWakeUps != 0) {
            if (faults.silentWakeUps > 0) {
                --faults.silentWakeUps;
            }
            m_state = State::Idle;
            return;
        }
        m_ackPending = true;
        m_ackDue = nowMs + ackGapMs;
        m_state = State::Idle;
        return;
    }
    switch (m_state) {
        case State::Idle:
            break;
        case State::AwaitIdentRequest:
            if (b == 0x02) {
                if (faults.vanishAt == "ident") {
                    vanish();
                    return;
                }
                send(Identification(), 0);
                m_state = State::AwaitIdentAck;
            }
            break;
        case State::AwaitIdentAck:
            if (b == kAck) {
                if (faults.vanishAt == "ident-ack") {
                    vanish();
                    return;
                }
                send({faults.badIdentAck ? kNak : kAck}, 0);
                m_state = State::Ready;
                m_readBlock = m_writeBlock = 0;
                m_cmd.clear();
            }
            break;
        case State::Ready:
            OnCommandByte(b);
            break;
        case State::Tuning:
            OnTuningByte(b);
            break;
    }
}

void RadioModel::OnCommandByte(std::uint8_t b) {
    if (m_cmd.empty()) {
        if (b == kAck) {  // the program's ACK after a read block
            send({m_readBlock - 1 == faults.nakReadBlock ? kNak : kAck}, 0);
            return;
        }
        if (b == 0x02) {
            // An opening where a command would start: the program sends
            // nothing to end a session, so the next transfer simply begins.
            // Its "PROGRA" must not be taken for a read command.
            m_state = State::Idle;
            return;
        }
        if (b == 'x') {  // tuning mode
            if (faults.vanishAt == "tune") {
                vanish();
                return;
            }
            m_state = State::Tuning;
            m_tuning = {};
            m_tuningStep = 0;
            m_cmd.clear();
            return;
        }
        if (b != 'R' && b != 'W') {
            return;
        }
    }
    m_cmd.push_back(b);
    const std::size_t addr = m_cmd.size() >= 3 ? (static_cast<std::size_t>(m_cmd[1]) << 8) | m_cmd[2] : 0;
    if (m_cmd[0] == 'R' && m_cmd.size() == 4) {
        m_cmd.clear();
        if (m_readBlock == faults.vanishBlock) {
            vanish();
            return;
        }
        std::vector<std::uint8_t> reply{'W', static_cast<std::uint8_t>(addr >> 8),
                                        static_cast<std::uint8_t>(addr & 0xFF), 0x08};
        for (std::size_t i = 0; i < 8; ++i) {
            reply.push_back(addr + i < m_memory.size() ? m_memory[addr + i] : 0xFF);
        }
        if (m_readBlock == faults.shortReplyBlock) {
            reply.resize(std::min(reply.size(), faults.shortReplyLength));
        }
        ++m_readBlock;
        if (!reply.empty()) {
            send(reply, 0);
        }
    } else if (m_cmd[0] == 'W' && m_cmd.size() == 12) {
        std::vector<std::uint8_t> cmd;
        cmd.swap(m_cmd);
        if (m_writeBlock == faults.vanishBlock) {
            vanish();
            return;
        }
        for (std::size_t i = 0; i < 8 && addr + i < m_memory.size(); ++i) {
            const bool corrupt = static_cast<int>(addr + i) == faults.corruptAddress;
            m_memory[addr + i] = corrupt ? static_cast<std::uint8_t>(~cmd[4 + i]) : cmd[4 + i];
        }
        if (blockWritten) {
            blockWritten(m_writeBlock, cmd);
        }
        const bool late = m_writeBlock == faults.lateWriteBlock && !m_lateUsed;
        m_lateUsed = m_lateUsed || late;
        send({m_writeBlock == faults.nakWriteBlock ? kNak : kAck}, late ? faults.lateMs : 0);
        ++m_writeBlock;
    }
}

void RadioModel::OnTuningByte(std::uint8_t b) {
    // 'x', then the selector alone, then selector + 08 (confirmed), then the
    // frequency frame and the setting frame (each confirmed).
    auto confirm = [this](int step) {
        const bool late = step == faults.lateTuneStep && !m_lateUsed;
        m_lateUsed = m_lateUsed || late;
        const bool refused = faults.badConfirmStep == step && faults.badConfirmTimes != 0;
        if (refused && faults.badConfirmTimes > 0) {
            --faults.badConfirmTimes;
        }
        send({refused ? kNak : kConfirm}, confirmDelayMs + (late ? faults.lateMs : 0));
    };
    m_cmd.push_back(b);
    switch (m_tuningStep) {
        case 0:
            m_tuning.selector = b;
            m_cmd.clear();
            m_tuningStep = 1;
            break;
        case 1:
            if (m_cmd.size() == 2) {
                m_cmd.clear();
                m_tuningStep = 2;
                confirm(1);
            }
            break;
        case 2:
            if (m_cmd.size() == 8) {
                m_tuning.frequencyFrame = m_cmd;
                m_cmd.clear();
                m_tuningStep = 3;
                confirm(2);
            }
            break;
        default:
            if (m_cmd.size() == 8) {
                m_tuning.settingFrame = m_cmd;
                m_cmd.clear();
                m_state = State::Idle;
                confirm(3);
                if (tuned) {
                    tuned(m_tuning);
                }
            }
            break;
    }
}

}  // namespace quorim::radio
