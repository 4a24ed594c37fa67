// All windows of the program: their handles, stacking order, activation, keyboard focus,
// painting state and native windows. It changes state only; sending messages is the API's.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/gdi/canvas.h"
#include "platform/handles.h"
#include "platform/user/window.h"

namespace platform::user {

class Desktop {
  public:
    Desktop(backend::Backend& backend, const gdi::Font* captionFont);
    ~Desktop();

    // Takes the window in, making the native window and pixels of a top-level one; nullptr
    // when the display refuses a native window.
    HWND Add(std::unique_ptr<Window> window);
    void Remove(HWND handle);
    Window* Find(HWND handle) const;
    std::size_t Count() const { return windows_.Count(); }

    Window* TopLevelOf(HWND handle) const;
    // The top-level window's pixel position of the client area's (0, 0).
    Point ClientOrigin(const Window& window) const;
    std::optional<gdi::Canvas> ClientCanvas(HWND handle);
    // Client coordinates to screen coordinates.
    Point ToScreen(const Window& window, Point client) const;

    void SetVisible(HWND handle, bool visible);
    bool IsShown(const Window& window) const;  // visible, and every parent too
    void SetEnabled(HWND handle, bool enabled);
    void SetText(HWND handle, std::string text);
    void MoveTopLevel(HWND handle, Point screen);

    // Raises and activates a top-level window (owned windows stay above their owner).
    void Activate(HWND handle);
    HWND Active() const { return active_; }
    // Activates the topmost shown, enabled top-level window other than `except`.
    void ActivateNext(HWND except);
    void SetFocus(HWND handle);
    HWND Focus() const { return focus_; }
    void SetCapture(HWND handle) { capture_ = handle; }
    HWND Capture() const { return capture_; }

    // The topmost shown, enabled window owned (at any depth) by `owner`.
    HWND EnabledPopupOf(HWND owner) const;
    HWND FromNative(backend::NativeWindow native) const;
    // The deepest shown child under `clientPoint` of `handle`, or `handle` itself.
    HWND ChildAt(HWND handle, Point clientPoint) const;
    // Top-level windows, bottom first.
    const std::vector<HWND>& Stacking() const { return stacking_; }
    // Every window, in creation order.
    const std::vector<HWND>& All() const { return order_; }

    // Marks part of a client area (all of it when `area` is null) and the children over it
    // as needing paint.
    void Invalidate(HWND handle, const Rect* area, bool erase);
    HWND NextToPaint() const;
    void RepaintFrame(HWND handle);
    // Shows every changed part of every window on the display.
    void PresentChanged();
    // Shows a whole window again, as when the display lost its pixels.
    void PresentAll(HWND handle);

  private:
    void Restack(HWND handle);

    backend::Backend& backend_;
    const gdi::Font* captionFont_;
    HandleTable<Window, 0x57> windows_;
    std::vector<HWND> order_;
    std::vector<HWND> stacking_;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;
    HWND capture_ = nullptr;
};

}  // namespace platform::user
