// The one seam between the platform and the outside world: a real display, or the in-memory
// one that tests run against. Everything above it is the same in both cases.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/gdi/surface.h"
#include "platform/geometry.h"

namespace platform::backend {

// Time on the backend's clock, from an arbitrary origin.
using Time = std::chrono::nanoseconds;

// A native top-level window; 0 is none.
using NativeWindow = std::uint32_t;

enum class MouseButton { Left, Right, Middle };

struct Event {
    enum class Kind {
        MouseDown,     // window, at, button
        MouseUp,       // window, at, button
        MouseMove,     // window, at
        KeyDown,       // window, key, shift
        KeyUp,         // window, key, shift
        Expose,        // window: its pixels were lost on the display and must be presented again
        CloseRequest,  // window
        FocusGained,   // window
        Moved,         // window, at: its new top-left on the screen
    };
    Kind kind = Kind::MouseMove;
    NativeWindow window = 0;
    Point at;  // window-relative for the mouse, screen position for Moved
    MouseButton button = MouseButton::Left;
    int key = 0;  // the platform's virtual key code
    bool shift = false;
};

// The display went away or failed: the program cannot go on.
class DisplayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Backend {
  public:
    virtual ~Backend() = default;

    virtual Size ScreenSize() = 0;

    // Native windows start hidden, at `area` in screen coordinates. Returns 0 on failure.
    virtual NativeWindow CreateWindow(Rect area, std::string_view titleUtf8) = 0;
    virtual void DestroyWindow(NativeWindow window) = 0;
    virtual void MoveWindow(NativeWindow window, Rect area) = 0;
    virtual void ShowWindow(NativeWindow window, bool visible) = 0;
    // Raises the window above all others and gives it the keyboard.
    virtual void RaiseWindow(NativeWindow window) = 0;
    virtual void SetTitle(NativeWindow window, std::string_view titleUtf8) = 0;
    virtual void SetModalFor(NativeWindow window, NativeWindow owner) = 0;
    // A press inside `area` (window-relative) drags the window instead of reaching the program.
    virtual void SetDragArea(NativeWindow window, Rect area) = 0;
    // Shows `area` of the window's pixels, which are the whole window, frame included.
    virtual void Present(NativeWindow window, const gdi::Surface& pixels, Rect area) = 0;

    virtual Time Now() = 0;
    // Blocks until an input event arrives (returned) or the deadline passes (nullopt). With
    // no deadline it waits for input only. Throws DisplayError when the display is gone.
    virtual std::optional<Event> Wait(std::optional<Time> deadline) = 0;
};

}  // namespace platform::backend
