#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

#include "link/clock.h"

namespace quorim {

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
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += ms / 1000;
    deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    // Absolute: a signal that interrupts the sleep does not lengthen it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace quorim
