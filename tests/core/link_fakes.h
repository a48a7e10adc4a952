#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/codec.h"
#include "editor/editor_model.h"
#include "link/link_host.h"
#include "radio/radio_model.h"
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
    int ProgressPos() const { return pos; }
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

// The virtual radio's model behind a fake port: it hears what the engine
// writes at the port's virtual time, and its answers arrive through the port.
// It answers the opening's ACK after 2 ms and confirms a tuning frame after
// 0.5 ms, unless a test says otherwise.
class PortRadio : public radio::RadioModel {
public:
    PortRadio() : RadioModel(MemoryImage{}, false, {}) {
        ackGapMs = 2;
        confirmDelayMs = 0.5;
    }

    double replyDelayMs = 0;           // every answer comes this much later (a slow line)
    std::vector<Bytes> writtenBlocks;  // (address hi, lo, 08, data...)
    std::vector<radio::TuningRecord> tuningSets;
    bool vanished = false;  // a vanish fault: the radio hears nothing more

    void Attach(FakeSerialPort& port) {
        port.onWrite = [this, &port](const Bytes& bytes) {
            for (const std::uint8_t b : bytes) {
                if (!vanished) {
                    OnByte(b, port.NowMs());
                }
            }
        };
        port.farDeadline = [this] { return NextDeadline(); };
        port.farTick = [this](double nowMs) { Tick(nowMs); };
        send = [this, &port](const std::vector<std::uint8_t>& bytes, double delayMs) {
            port.Arrive(bytes, delayMs + replyDelayMs);
        };
        vanish = [this] { vanished = true; };
        blockWritten = [this](int, const std::vector<std::uint8_t>& command) {
            writtenBlocks.emplace_back(command.begin() + 1, command.end());
        };
        tuned = [this](const radio::TuningRecord& r) { tuningSets.push_back(r); };
    }
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
