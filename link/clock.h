#pragma once

#include <cstdint>
#include <vector>

namespace quorim {

// Every pause of the radio links goes through a clock, so tests can run a
// fifteen-attempt handshake in microseconds and assert each wait.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic time line with an arbitrary origin.
    virtual double NowMs() const = 0;
    // Pauses for `ms` milliseconds (0 returns at once).
    virtual void SleepMs(int ms) = 0;
};

// Time that moves only when told: by a pause, or by Advance (a fake port's
// read time-out, a test). Records every pause.
class VirtualClock : public Clock {
public:
    double NowMs() const override { return m_now; }
    void SleepMs(int ms) override {
        m_sleeps.push_back(ms);
        m_now += ms;
    }
    void Advance(double ms) { m_now += ms; }
    const std::vector<int>& Sleeps() const { return m_sleeps; }
    void ClearSleeps() { m_sleeps.clear(); }

private:
    double m_now = 0;
    std::vector<int> m_sleeps;
};

// The machine's monotonic clock; pauses sleep to an absolute deadline so that
// an interrupted sleep never stretches a wait.
class RealClock : public Clock {
public:
    double NowMs() const override;
    // A pause longer than kStoppablePauseMs ends early once the link stop
    // (below) is raised; shorter ones, and every pause while it is not
    // raised, keep their exact length.
    void SleepMs(int ms) override;
};
inline constexpr int kStoppablePauseMs = 20;

// One stop for every wait of the radio links in this process: once raised, a
// long RealClock pause and a system serial port's read or write end at once
// (the port reports PortError::Stopped), until it is cleared. Raising it is
// safe in a signal handler and from any thread; the command line raises it on
// Ctrl+C so that a transfer ends while a silent radio is being woken.
void RaiseLinkStop();
void ClearLinkStop();
bool LinkStopRaised();

}  // namespace quorim
