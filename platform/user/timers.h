// Window timers on the backend clock. A timer is due at its start plus whole periods; the
// next due time is the last one plus the period, so ticks do not drift, and periods missed
// while the program was busy are skipped rather than delivered in a burst.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/win32.h"

namespace platform::user {

class Timers {
  public:
    static constexpr backend::Time kMinimumPeriod = std::chrono::milliseconds(10);

    explicit Timers(std::size_t limit) : limit_(limit) {}

    // Starts or restarts the timer (window, id); false when no more timers can be had.
    bool Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC proc, backend::Time now);
    bool Kill(HWND window, UINT_PTR id);
    void KillAllOf(HWND window);

    struct Tick {
        HWND window;
        UINT_PTR id;
        TIMERPROC proc;
    };
    // The first timer that is due at `now`, its next due time set.
    std::optional<Tick> TakeDue(backend::Time now);
    std::optional<backend::Time> NextDue() const;
    std::size_t Count() const { return timers_.size(); }

  private:
    struct Timer {
        HWND window;
        UINT_PTR id;
        TIMERPROC proc;
        backend::Time period;
        backend::Time due;
    };
    std::vector<Timer> timers_;
    std::size_t limit_;
};

}  // namespace platform::user
