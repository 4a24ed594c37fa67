// What the platform keeps for each window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace platform::gdi {
class Font;
}

namespace platform::user {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
};

// A modal box's state while its loop runs.
struct DialogState {
    DLGPROC proc = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    HWND owner = nullptr;  // disabled by the box's loop, enabled again when it ends
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    std::string text;  // UTF-8; the A functions convert at the boundary
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // child windows only
    HWND owner = nullptr;   // top-level windows only
    Rect rect;              // screen coordinates, or the parent's client coordinates for a child
    Rect client;            // the client area in the window's own coordinates
    UINT_PTR id = 0;        // a child's control identifier
    bool visible = false;
    bool enabled = true;
    std::vector<HWND> children;

    // The part of the client area still to be painted, in client coordinates.
    Rect invalid;
    bool erase = false;

    // Top-level windows own their pixels, frame included, and a native window to show them in.
    gdi::Surface pixels;
    Rect changed;  // pixels not yet presented
    backend::NativeWindow native = 0;

    HWND lastFocus = nullptr;  // top-level windows: the control to give the keyboard back to

    const gdi::Font* font = nullptr;  // controls and dialogs
    bool pressed = false;             // a push button held down
    std::unique_ptr<DialogState> dialog;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
};

}  // namespace platform::user
