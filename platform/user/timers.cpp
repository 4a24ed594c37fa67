#include "platform/user/timers.h"

#include <algorithm>

namespace platform::user {

bool Timers::Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC proc, backend::Time now) {
    const backend::Time period =
        std::max<backend::Time>(std::chrono::milliseconds(periodMs), kMinimumPeriod);
    for (Timer& timer : timers_) {
        if (timer.window == window && timer.id == id) {
            timer = {window, id, proc, period, now + period};
            return true;
        }
    }
    if (timers_.size() >= limit_) return false;
    timers_.push_back({window, id, proc, period, now + period});
    return true;
}

bool Timers::Kill(HWND window, UINT_PTR id) {
    return std::erase_if(timers_,
                         [&](const Timer& t) { return t.window == window && t.id == id; }) > 0;
}

void Timers::KillAllOf(HWND window) {
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

std::optional<Timers::Tick> Timers::TakeDue(backend::Time now) {
    Timer* first = nullptr;
    for (Timer& timer : timers_)
        if (timer.due <= now && (!first || timer.due < first->due)) first = &timer;
    if (!first) return std::nullopt;
    const auto missed = (now - first->due) / first->period;
    first->due += first->period * (missed + 1);
    return Tick{first->window, first->id, first->proc};
}

std::optional<backend::Time> Timers::NextDue() const {
    std::optional<backend::Time> next;
    for (const Timer& timer : timers_)
        if (!next || timer.due < *next) next = timer.due;
    return next;
}

}  // namespace platform::user
