// The message queue of the program's one thread. Retrieval order is the classic one: posted
// messages, then input, then WM_PAINT for windows that need it, then WM_TIMER for a timer that
// is due. With nothing to retrieve it presents what changed and blocks in the backend until
// input arrives or the next timer is due.
#pragma once

#include <deque>
#include <functional>

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/user/timers.h"

namespace platform::user {

class MessageQueue {
  public:
    MessageQueue(backend::Backend& backend, Desktop& desktop, Timers& timers);

    // Turns backend events into input messages (or handles them directly).
    void OnEvent(std::function<void(const backend::Event&)> handler) {
        onEvent_ = std::move(handler);
    }

    void Post(const MSG& msg) { posted_.push_back(msg); }
    void PostInput(const MSG& msg) { input_.push_back(msg); }
    void PostQuit(int code) {
        quit_ = true;
        quitCode_ = code;
    }
    // Blocks until a message is there; false for WM_QUIT.
    bool Get(MSG& msg);
    // Drops everything queued for a window that is going away.
    void Forget(HWND window);
    DWORD Milliseconds() const;

  private:
    backend::Backend& backend_;
    Desktop& desktop_;
    Timers& timers_;
    std::function<void(const backend::Event&)> onEvent_;
    std::deque<MSG> posted_;
    std::deque<MSG> input_;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace platform::user
