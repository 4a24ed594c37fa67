// A look inside the running program, for tests and benchmarks: the windows as a user would
// describe them, their pixels, and the platform objects alive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/run.h"
#include "platform/win32.h"

namespace platform::observe {

struct WindowInfo {
    HWND handle = nullptr;
    std::string className;
    std::string text;  // UTF-8
    DWORD style = 0;
    Rect screen;  // the whole window on the screen
    Rect client;  // its client area on the screen
    HWND owner = nullptr;
    HWND parent = nullptr;
    UINT_PTR id = 0;
    backend::NativeWindow native = 0;  // top-level windows
    bool visible = false;
    bool enabled = false;
    bool active = false;
    bool focused = false;
    std::vector<WindowInfo> children;

    // The centre of the window on the screen, where a user would click it.
    Point Centre() const {
        return {(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
    }
    // The first child (at any depth) whose text is `text`.
    const WindowInfo* Child(std::string_view text) const;
};

// Top-level windows, bottom of the stack first. Empty outside a run.
std::vector<WindowInfo> TopLevelWindows();
std::optional<WindowInfo> Describe(HWND window);
// The shown top-level window whose title is `title`, topmost first.
std::optional<WindowInfo> FindTopLevel(std::string_view title);
// A pixel of a window's client area, as the program last drew it.
std::optional<gdi::Pixel> ClientPixel(HWND window, Point client);
LiveObjects Live();

}  // namespace platform::observe
