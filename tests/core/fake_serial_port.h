#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/serial_port.h"

namespace quorim::test {

using Bytes = std::vector<std::uint8_t>;

// A serial port on a virtual time line. The far side schedules bytes to
// arrive at given virtual times; reads wait for them under the same time-out
// rules as a real port, moving the virtual clock instead of sleeping. Every
// call is logged.
class FakeSerialPort : public SerialPort {
public:
    enum class Call { Open, QueueSizes, Timeouts, Line, Purge, Write, Read, Close };
    struct Event {
        Call call;
        Bytes bytes;                // written, or read
        std::size_t requested = 0;  // for a read
        double at = 0;
    };

    explicit FakeSerialPort(VirtualClock& clock) : m_clock(clock) {}
    ~FakeSerialPort() override { Close(); }

    // The far side.
    void Arrive(const Bytes& bytes, double delayMs = 0) {
        for (const std::uint8_t b : bytes) {
            m_input.push_back({m_clock.NowMs() + delayMs, b});
        }
        std::stable_sort(m_input.begin(), m_input.end(),
                         [](const Pending& a, const Pending& b) { return a.at < b.at; });
    }
    std::function<void(const Bytes& written)> onWrite;
    // The far side's own timer: when it next wants to act on its own (a
    // negative time: never), and the call that lets it act. The port moves
    // the virtual clock there as it would for a byte due then.
    std::function<double()> farDeadline;
    std::function<void(double nowMs)> farTick;
    // Return a result to make this read fail (no bytes are taken).
    std::function<std::optional<Transfer>(std::size_t requested)> readFault;
    // Return true to make this write fail.
    std::function<bool(const Bytes& bytes)> writeFault;
    PortResult openResult;

    std::vector<Event> log;
    // One token per call, in order, for tests that compare whole exchanges:
    // "open", "purge", "w:02 50", "r1:06" (requested count, bytes), "close".
    std::vector<std::string>* trace = nullptr;
    std::string openedName;
    CommTimeouts timeouts{};
    LineSettings line{};

    std::vector<Bytes> Writes() const {
        std::vector<Bytes> out;
        for (const auto& e : log) {
            if (e.call == Call::Write) {
                out.push_back(e.bytes);
            }
        }
        return out;
    }
    int Count(Call call) const {
        return static_cast<int>(
            std::count_if(log.begin(), log.end(), [&](const Event& e) { return e.call == call; }));
    }

    static std::string Hex(const Bytes& bytes) {
        std::string out;
        for (const std::uint8_t b : bytes) {
            static const char* kDigits = "0123456789ABCDEF";
            out += out.empty() ? "" : " ";
            out += kDigits[b >> 4];
            out += kDigits[b & 15];
        }
        return out;
    }
    void Note(const std::string& token) {
        if (trace != nullptr) {
            trace->push_back(token);
        }
    }

    bool IsOpen() const override { return m_open; }
    double NowMs() const { return m_clock.NowMs(); }

protected:
    PortResult OpenDevice(const std::string& name, std::string& devicePath) override {
        log.push_back({Call::Open, {}, 0, m_clock.NowMs()});
        Note("open");
        devicePath = name;
        if (!openResult.Ok()) {
            return openResult;
        }
        if (!Devices().insert(name).second) {
            return {PortError::Busy, name};
        }
        openedName = name;
        m_open = true;
        return {};
    }
    PortResult SetDeviceQueueSizes(std::size_t, std::size_t) override {
        log.push_back({Call::QueueSizes, {}, 0, m_clock.NowMs()});
        return {};
    }
    PortResult SetDeviceTimeouts(const CommTimeouts& t) override {
        log.push_back({Call::Timeouts, {}, 0, m_clock.NowMs()});
        timeouts = t;
        return {};
    }
    PortResult SetDeviceLine(const LineSettings& l) override {
        log.push_back({Call::Line, {}, 0, m_clock.NowMs()});
        line = l;
        return {};
    }
    PortResult PurgeDevice() override {
        log.push_back({Call::Purge, {}, 0, m_clock.NowMs()});
        Note("purge");
        FarSideCatchesUp();
        const double now = m_clock.NowMs();
        while (!m_input.empty() && m_input.front().at <= now) {
            m_input.pop_front();
        }
        return {};
    }
    Transfer WriteDevice(const std::uint8_t* data, std::size_t size) override {
        Bytes bytes(data, data + size);
        log.push_back({Call::Write, bytes, 0, m_clock.NowMs()});
        Note("w:" + Hex(bytes));
        if (writeFault && writeFault(bytes)) {
            return {0, PortError::System};
        }
        if (onWrite) {
            onWrite(bytes);
        }
        return {size, PortError::None};
    }
    Transfer ReadDevice(std::uint8_t* data, std::size_t size) override {
        Event event{Call::Read, {}, size, m_clock.NowMs()};
        Transfer result = ReadInTime(data, size);
        event.bytes.assign(data, data + result.count);
        log.push_back(event);
        Note("r" + std::to_string(size) + ":" + Hex(event.bytes));
        return result;
    }
    void CloseDevice() override {
        if (m_open) {
            log.push_back({Call::Close, {}, 0, m_clock.NowMs()});
            Note("close");
            Devices().erase(openedName);
            m_open = false;
        }
    }

private:
    struct Pending {
        double at;
        std::uint8_t byte;
    };
    static std::set<std::string>& Devices() {
        static std::set<std::string> devices;
        return devices;
    }
    Transfer ReadInTime(std::uint8_t* data, std::size_t size) {
        if (readFault) {
            if (auto fault = readFault(size)) {
                return *fault;
            }
        }
        const CommTimeouts& t = timeouts;
        const bool totalBounded = t.readTotalPerByteMs != 0 || t.readTotalConstantMs != 0;
        const bool intervalBounded = t.readIntervalMs != 0 && t.readIntervalMs != kReadReturnAtOnce;
        const double totalDeadline = m_clock.NowMs() +
                                     static_cast<double>(t.readTotalPerByteMs) * static_cast<double>(size) +
                                     t.readTotalConstantMs;
        std::size_t count = 0;
        double lastByte = 0;
        for (;;) {
            FarSideCatchesUp();
            while (count < size && !m_input.empty() && m_input.front().at <= m_clock.NowMs()) {
                data[count++] = m_input.front().byte;
                m_input.pop_front();
                lastByte = m_clock.NowMs();
            }
            if (count == size || t.readIntervalMs == kReadReturnAtOnce) {
                return {count, PortError::None};
            }
            double deadline = totalBounded ? totalDeadline : 1e300;
            if (intervalBounded && count > 0) {
                deadline = std::min(deadline, lastByte + t.readIntervalMs);
            }
            const double next = std::min(m_input.empty() ? 1e300 : m_input.front().at, FarDeadline());
            if (next <= deadline && next < 1e300) {
                m_clock.Advance(std::max(0.0, next - m_clock.NowMs()));
                continue;
            }
            if (deadline < 1e300) {
                m_clock.Advance(std::max(0.0, deadline - m_clock.NowMs()));
            }
            return {count, PortError::None};
        }
    }

    double FarDeadline() const {
        const double due = farDeadline ? farDeadline() : -1;
        return due < 0 ? 1e300 : due;
    }
    // What the far side does on its own up to now happens before the call.
    void FarSideCatchesUp() {
        while (farTick && FarDeadline() <= m_clock.NowMs()) {
            farTick(m_clock.NowMs());
        }
    }

    VirtualClock& m_clock;
    std::deque<Pending> m_input;
    bool m_open = false;
};

}  // namespace quorim::test
