#include "platform/user/input.h"

#include <cstdlib>

#include "platform/user/frame.h"

namespace platform::user {
namespace {

UINT DownMessage(backend::MouseButton button) {
    switch (button) {
        case backend::MouseButton::Left:
            return WM_LBUTTONDOWN;
        case backend::MouseButton::Right:
            return WM_RBUTTONDOWN;
        case backend::MouseButton::Middle:
            return WM_MBUTTONDOWN;
    }
    return WM_LBUTTONDOWN;
}

WPARAM ButtonFlag(backend::MouseButton button) {
    switch (button) {
        case backend::MouseButton::Left:
            return MK_LBUTTON;
        case backend::MouseButton::Right:
            return MK_RBUTTON;
        case backend::MouseButton::Middle:
            return MK_MBUTTON;
    }
    return 0;
}

}  // namespace

void InputRouter::Handle(const backend::Event& event) {
    using Kind = backend::Event::Kind;
    const HWND top = desktop_.FromNative(event.window);
    switch (event.kind) {
        case Kind::MouseDown:
            MouseDown(event, top);
            break;
        case Kind::MouseUp:
            MouseUp(event, top);
            break;
        case Kind::MouseMove:
            MouseMove(event, top);
            break;
        case Kind::KeyDown:
        case Kind::KeyUp:
            Key(event);
            break;
        case Kind::Expose:
            if (top) desktop_.PresentAll(top);
            break;
        case Kind::CloseRequest:
            // Only a window with a system menu can be closed from outside, as through its
            // close box; the main window has none.
            if (Window* w = desktop_.Find(top); w && w->enabled && (w->style & WS_SYSMENU))
                queue_.Post(MSG{top, WM_SYSCOMMAND, SC_CLOSE, 0, queue_.Milliseconds(), {}});
            break;
        case Kind::FocusGained:
            if (Window* w = desktop_.Find(top)) {
                HWND want = w->enabled ? top : desktop_.EnabledPopupOf(top);
                if (want && desktop_.Active() != want) desktop_.Activate(want);
            }
            break;
        case Kind::Moved:
            if (top) desktop_.MoveTopLevel(top, event.at);
            break;
    }
}

bool InputRouter::EnabledWithParents(HWND window) const {
    for (Window* w = desktop_.Find(window); w;
         w = w->IsChild() ? desktop_.Find(w->parent) : nullptr)
        if (!w->enabled) return false;
    return window != nullptr;
}

HWND InputRouter::Target(HWND top, Point at, Point* client) const {
    Window* window = desktop_.Find(top);
    if (!window) return nullptr;
    if (HWND capture = desktop_.Capture()) {
        Window* c = desktop_.Find(capture);
        if (!c) return nullptr;
        const Point origin = desktop_.ToScreen(*c, {0, 0});
        *client = {window->rect.left + at.x - origin.x, window->rect.top + at.y - origin.y};
        return capture;
    }
    if (!window->client.Contains(at)) return nullptr;
    const Point inClient{at.x - window->client.left, at.y - window->client.top};
    HWND target = desktop_.ChildAt(top, inClient);
    Window* t = desktop_.Find(target);
    if (!t || !EnabledWithParents(target)) return nullptr;
    const Point origin = desktop_.ToScreen(*t, {0, 0});
    *client = {window->rect.left + at.x - origin.x, window->rect.top + at.y - origin.y};
    return target;
}

void InputRouter::Post(HWND window, UINT message, WPARAM wParam, Point client) {
    if (shift_) wParam |= MK_SHIFT;
    queue_.PostInput(MSG{window,
                         message,
                         wParam,
                         MAKELPARAM(client.x, client.y),
                         queue_.Milliseconds(),
                         {client.x, client.y}});
}

void InputRouter::MouseDown(const backend::Event& event, HWND top) {
    Window* window = desktop_.Find(top);
    if (!window) return;
    if (!window->enabled) {
        // The press is dropped; the box that keeps this window disabled comes forward.
        if (HWND popup = desktop_.EnabledPopupOf(top)) desktop_.Activate(popup);
        return;
    }
    desktop_.Activate(top);
    if (!window->client.Contains(event.at) && !desktop_.Capture()) {
        const Rect close = frame::CloseBoxArea(window->style, window->rect.Dimensions());
        if (event.button == backend::MouseButton::Left && close.Contains(event.at))
            closePressed_ = top;
        return;
    }
    Point client;
    HWND target = Target(top, event.at, &client);
    if (!target) return;

    UINT message = DownMessage(event.button);
    const Window* t = desktop_.Find(target);
    const backend::Time now = backend_.Now();
    const bool doubleClick = t->windowClass && (t->windowClass->style & CS_DBLCLKS) &&
                             last_.window == target && last_.button == event.button &&
                             now - last_.time <= kDoubleClickTime &&
                             std::abs(client.x - last_.at.x) <= kDoubleClickDistance &&
                             std::abs(client.y - last_.at.y) <= kDoubleClickDistance;
    if (doubleClick) {
        message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        last_ = {};
    } else {
        last_ = {target, event.button, now, client};
    }
    Post(target, message, ButtonFlag(event.button), client);
}

void InputRouter::MouseUp(const backend::Event& event, HWND top) {
    if (closePressed_ && event.button == backend::MouseButton::Left) {
        const HWND pressed = closePressed_;
        closePressed_ = nullptr;
        Window* window = desktop_.Find(pressed);
        if (window && pressed == top && window->enabled &&
            frame::CloseBoxArea(window->style, window->rect.Dimensions()).Contains(event.at))
            queue_.Post(MSG{pressed, WM_SYSCOMMAND, SC_CLOSE, 0, queue_.Milliseconds(), {}});
        return;
    }
    Window* window = desktop_.Find(top);
    if (!window || (!window->enabled && !desktop_.Capture())) return;
    Point client;
    HWND target = Target(top, event.at, &client);
    if (!target) return;
    Post(target, DownMessage(event.button) + 1, 0, client);
}

void InputRouter::MouseMove(const backend::Event& event, HWND top) {
    // Only a window that holds the mouse follows it; nothing else here looks at movement.
    if (!desktop_.Capture() || !top) return;
    Point client;
    if (HWND target = Target(top, event.at, &client)) Post(target, WM_MOUSEMOVE, 0, client);
}

void InputRouter::Key(const backend::Event& event) {
    shift_ = event.shift;
    // The display gave the keyboard to another window, as a window manager does: that window
    // (or the box that keeps it disabled) becomes the active one.
    if (Window* w = desktop_.Find(desktop_.FromNative(event.window))) {
        HWND want = w->enabled ? w->handle : desktop_.EnabledPopupOf(w->handle);
        if (want && desktop_.Active() != want) desktop_.Activate(want);
    }
    HWND target = desktop_.Focus() ? desktop_.Focus() : desktop_.Active();
    Window* top = desktop_.TopLevelOf(target);
    if (!target || !top || !top->enabled) return;
    const bool down = event.kind == backend::Event::Kind::KeyDown;
    const LPARAM flags = down ? 1 : static_cast<LPARAM>(0xC0000001u);
    queue_.PostInput(MSG{target,
                         down ? static_cast<UINT>(WM_KEYDOWN) : static_cast<UINT>(WM_KEYUP),
                         static_cast<WPARAM>(event.key),
                         flags,
                         queue_.Milliseconds(),
                         {}});
}

}  // namespace platform::user
