#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "link/clock.h"
#include "link/posix_serial_port.h"

namespace quorim {

namespace {

// The link stop as a pipe that turns readable when it is raised, so that
// every thread's poll() hears it at once, whichever thread the signal hit.
// Made before main, never in a signal handler.
struct StopPipe {
    StopPipe() {
        if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
            fds[0] = fds[1] = -1;  // no stop to hear: every wait keeps its length
        }
    }
    int fds[2] = {-1, -1};
};
const StopPipe g_stopPipe;
std::atomic<bool> g_stopRaised{false};
static_assert(std::atomic<bool>::is_always_lock_free);

timespec MonotonicPlusMs(int ms) {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    t.tv_sec += ms / 1000;
    t.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_sec += 1;
        t.tv_nsec -= 1000000000L;
    }
    return t;
}

// Waits on the stop pipe until `ms` milliseconds have passed or the stop is
// raised; true when it was raised.
bool WaitForStop(int ms) {
    const timespec deadline = MonotonicPlusMs(ms);
    for (;;) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long leftNs = (static_cast<long long>(deadline.tv_sec) - now.tv_sec) * 1000000000LL +
                                 (deadline.tv_nsec - now.tv_nsec);
        if (LinkStopRaised()) {
            return true;
        }
        if (leftNs <= 0) {
            return false;
        }
        const timespec left{static_cast<time_t>(leftNs / 1000000000LL),
                            static_cast<long>(leftNs % 1000000000LL)};
        pollfd pfd{LinkStopDescriptor(), POLLIN, 0};
        (void)ppoll(&pfd, 1, &left, nullptr);
    }
}

}  // namespace

int LinkStopDescriptor() {
    return g_stopPipe.fds[0];
}

void RaiseLinkStop() {
    const int saved = errno;  // a signal handler leaves errno as it found it
    g_stopRaised = true;
    const char b = 1;
    (void)!write(g_stopPipe.fds[1], &b, 1);
    errno = saved;
}

void ClearLinkStop() {
    g_stopRaised = false;
    char buf[64];
    while (read(g_stopPipe.fds[0], buf, sizeof buf) > 0) {
    }
}

bool LinkStopRaised() {
    return g_stopRaised;
}

double RealClock::NowMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void RealClock::SleepMs(int ms) {
    if (ms <= 0) {
        return;
    }
    // The link's pauses are single milliseconds; the kernel's default timer
    // slack (50 us) would add to every one of them. The slack belongs to the
    // thread: each port's thread sets its own.
    thread_local const bool slackSet = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    (void)slackSet;
    const timespec deadline = MonotonicPlusMs(ms);
    // A long pause listens for the stop until shortly before its end; the
    // end itself is slept to the deadline as every short pause is (poll()
    // may overrun by 0.1 % of its time-out).
    constexpr int kPrecisePartMs = 5;
    if (ms > kStoppablePauseMs && WaitForStop(ms - kPrecisePartMs)) {
        return;
    }
    // Absolute: a signal that interrupts the sleep does not lengthen it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace quorim
