#pragma once

// A radio on a bad line, driven by fuzz bytes: the virtual radio's model answers the
// protocol correctly, and before each write the next input byte decides what
// the line does to it. When the input runs out the line is clean.
//
//   00-5F  the radio hears the bytes and answers at once
//   60-7F  ... and answers (c - 0x60) x 100 ms late (up to 3.1 s)
//   80-9F  the bytes are lost on the line; the radio hears nothing
//   A0-BF  the radio hears them, and 1-13 bytes of noise (taken from the
//          input) arrive 0-2.55 s later (a further input byte, x 10 ms)
//   C0-DF  the write fails at the port; nothing is sent
//   E0-EF  the radio hears them; the next read fails at the port
//   F0-FF  the device vanishes: every later read and write fails
//
// Every port call and pump step is counted; an engine that has not ended
// after kMaxCalls is stuck, and the target aborts.

#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "tests/core/link_fakes.h"

namespace quorim::fuzz {

using test::Bytes;
using test::FakeSerialPort;
using test::PortRadio;
using test::RecordingHost;

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_pos >= m_size; }
    // The next byte, or `otherwise` once the input is used up.
    std::uint8_t Next(std::uint8_t otherwise = 0) { return Empty() ? otherwise : m_data[m_pos++]; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

inline constexpr long kMaxCalls = 400000;

class ChaoticLine {
public:
    ChaoticLine(FuzzInput& input, FakeSerialPort& port, PortRadio& radio, RecordingHost& host)
        : m_in(input), m_port(port), m_radio(radio) {
        radio.Attach(port);
        const auto radioHears = port.onWrite;
        port.writeFault = [this](const Bytes&) {
            Count();
            if (m_gone) {
                return true;
            }
            const std::uint8_t c = m_in.Next();
            m_deaf = false;
            m_radio.replyDelayMs = 0;
            if (c < 0x60) {
            } else if (c < 0x80) {
                m_radio.replyDelayMs = (c - 0x60) * 100.0;
            } else if (c < 0xA0) {
                m_deaf = true;
            } else if (c < 0xC0) {
                Bytes noise(static_cast<std::size_t>(c & 0x1F) % 13 + 1);
                for (auto& b : noise) {
                    b = m_in.Next(0x55);
                }
                m_port.Arrive(noise, m_in.Next() * 10.0);
            } else if (c < 0xE0) {
                return true;
            } else if (c < 0xF0) {
                m_failNextRead = true;
            } else {
                m_gone = true;
                return true;
            }
            return false;
        };
        port.onWrite = [this, radioHears](const Bytes& bytes) {
            if (!m_deaf) {
                radioHears(bytes);
            }
        };
        port.readFault = [this](std::size_t) -> std::optional<Transfer> {
            Count();
            if (m_gone) {
                return Transfer{0, PortError::Gone};
            }
            if (m_failNextRead) {
                m_failNextRead = false;
                return Transfer{0, PortError::System};
            }
            return std::nullopt;
        };
        host.onCheck = [this](int) { Count(); };
    }

    long Calls() const { return m_calls; }

private:
    void Count() { FUZZ_CHECK(++m_calls < kMaxCalls); }

    FuzzInput& m_in;
    FakeSerialPort& m_port;
    PortRadio& m_radio;
    bool m_deaf = false;
    bool m_failNextRead = false;
    bool m_gone = false;
    long m_calls = 0;
};

}  // namespace quorim::fuzz
