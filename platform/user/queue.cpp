#include "platform/user/queue.h"

#include <algorithm>

namespace platform::user {

MessageQueue::MessageQueue(backend::Backend& backend, Desktop& desktop, Timers& timers)
    : backend_(backend), desktop_(desktop), timers_(timers) {}

DWORD MessageQueue::Milliseconds() const {
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(backend_.Now()).count());
}

bool MessageQueue::Get(MSG& msg) {
    for (;;) {
        if (!posted_.empty()) {
            msg = posted_.front();
            posted_.pop_front();
            return true;
        }
        if (!input_.empty()) {
            msg = input_.front();
            input_.pop_front();
            return true;
        }
        if (quit_) {
            quit_ = false;
            msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, Milliseconds(), {}};
            return false;
        }
        if (HWND window = desktop_.NextToPaint()) {
            msg = MSG{window, WM_PAINT, 0, 0, Milliseconds(), {}};
            return true;
        }
        if (auto tick = timers_.TakeDue(backend_.Now())) {
            msg = MSG{tick->window,   WM_TIMER, tick->id, reinterpret_cast<LPARAM>(tick->proc),
                      Milliseconds(), {}};
            return true;
        }
        desktop_.PresentChanged();
        if (auto event = backend_.Wait(timers_.NextDue()); event && onEvent_) onEvent_(*event);
    }
}

void MessageQueue::Forget(HWND window) {
    auto mine = [&](const MSG& m) { return m.hwnd == window; };
    std::erase_if(posted_, mine);
    std::erase_if(input_, mine);
}

}  // namespace platform::user
