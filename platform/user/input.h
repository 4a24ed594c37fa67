// Turns the display's input events into the program's input messages: finds the window under
// the pointer or with the keyboard, activates what was clicked, drops input to disabled windows
// (raising the box that disabled them instead), and handles the frame's own close box.
#pragma once

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/user/queue.h"

namespace platform::user {

class InputRouter {
  public:
    static constexpr backend::Time kDoubleClickTime = std::chrono::milliseconds(500);
    static constexpr int kDoubleClickDistance = 2;

    InputRouter(backend::Backend& backend, Desktop& desktop, MessageQueue& queue)
        : backend_(backend), desktop_(desktop), queue_(queue) {}

    void Handle(const backend::Event& event);
    bool ShiftDown() const { return shift_; }

  private:
    void MouseDown(const backend::Event& event, HWND top);
    void MouseUp(const backend::Event& event, HWND top);
    void MouseMove(const backend::Event& event, HWND top);
    void Key(const backend::Event& event);
    // The window a pointer event at `at` (relative to `top`) is for, and the point in its client
    // coordinates; nullptr outside any enabled client area.
    HWND Target(HWND top, Point at, Point* client) const;
    bool EnabledWithParents(HWND window) const;
    void Post(HWND window, UINT message, WPARAM wParam, Point client);

    backend::Backend& backend_;
    Desktop& desktop_;
    MessageQueue& queue_;
    bool shift_ = false;
    HWND closePressed_ = nullptr;

    struct LastPress {
        HWND window = nullptr;
        backend::MouseButton button = backend::MouseButton::Left;
        backend::Time time{};
        Point at;
    } last_;
};

}  // namespace platform::user
