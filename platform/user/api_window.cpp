// The USER functions that make, show, find and describe windows.
#include <algorithm>
#include <cstring>

#include "platform/system.h"
#include "platform/text/encoding.h"
#include "platform/user/colors.h"
#include "platform/user/frame.h"

using platform::System;
using platform::user::Window;

namespace {

std::string_view ClassName(LPCSTR name) {
    return IS_INTRESOURCE(name) ? std::string_view{} : std::string_view{name};
}

void DestroyTree(System& sys, HWND handle) {
    Window* window = sys.desktop.Find(handle);
    if (!window) return;
    // Children and owned windows go first; each hears WM_DESTROY before it is gone.
    std::vector<HWND> owned;
    for (HWND other : sys.desktop.Stacking())
        if (Window* w = sys.desktop.Find(other); w && w->owner == handle) owned.push_back(other);
    for (HWND other : owned) DestroyTree(sys, other);
    SendMessageA(handle, WM_DESTROY, 0, 0);
    if (!(window = sys.desktop.Find(handle))) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) DestroyTree(sys, child);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    sys.timers.KillAllOf(handle);
    sys.queue.Forget(handle);
    sys.desktop.Remove(handle);
}

}  // namespace

WORD WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    System* sys = System::Current();
    if (!sys || !wndClass || !wndClass->lpfnWndProc || !wndClass->lpszClassName ||
        IS_INTRESOURCE(wndClass->lpszClassName))
        return 0;
    platform::user::WindowClass windowClass{wndClass->lpszClassName, wndClass->style,
                                            wndClass->lpfnWndProc, wndClass->hInstance,
                                            wndClass->hbrBackground};
    if (!sys->AddClass(std::move(windowClass))) return 0;
    // An atom: nonzero, and the same for nothing else the program registers.
    static WORD next = 0xC000;
    return next == 0xFFFF ? next : next++;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE,
                            LPVOID) {
    System* sys = System::Current();
    if (!sys || !className) return nullptr;
    const platform::user::WindowClass* windowClass = sys->FindClass(ClassName(className));
    if (!windowClass) return nullptr;

    auto window = std::make_unique<Window>();
    window->windowClass = windowClass;
    window->proc = windowClass->proc;
    window->exStyle = exStyle;
    window->text = windowName ? platform::text::Cp932ToUtf8(windowName) : std::string{};
    const bool visible = style & WS_VISIBLE;
    if (style & WS_CHILD) {
        if (!System::WindowOf(parent)) return nullptr;
        window->parent = parent;
        window->id = reinterpret_cast<UINT_PTR>(menu);
        window->style = style & ~WS_VISIBLE;
    } else {
        window->style = platform::user::frame::Normalise(style) & ~WS_VISIBLE;
        if (Window* top = sys->desktop.TopLevelOf(parent)) window->owner = top->handle;
        const platform::Size screen = sys->backend.ScreenSize();
        if (width == CW_USEDEFAULT) width = screen.width * 3 / 4, height = screen.height * 3 / 4;
        if (x == CW_USEDEFAULT) x = screen.width / 8, y = screen.height / 8;
    }
    width = std::clamp(width, 0, 16384);
    height = std::clamp(height, 0, 16384);
    window->rect = platform::Rect::FromSize({x, y}, {width, height});
    window->client = platform::user::frame::ClientArea(window->style, {width, height});
    window->enabled = !(style & WS_DISABLED);

    HWND handle = sys->desktop.Add(std::move(window));
    if (!handle) return nullptr;
    SendMessageA(handle, WM_NCCREATE, 0, 0);
    if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (visible && IsWindow(handle)) ShowWindow(handle, SW_SHOW);
    return IsWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    if (!window) return FALSE;
    const bool wasActive = sys->desktop.Active() == handle;
    if (!window->IsChild()) sys->desktop.SetVisible(handle, false);
    DestroyTree(*sys, handle);
    if (wasActive) sys->desktop.ActivateNext(handle);
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    if (!window) return FALSE;
    const BOOL wasVisible = window->visible;
    if (showCommand == SW_HIDE) {
        sys->desktop.SetVisible(handle, false);
    } else {
        sys->desktop.SetVisible(handle, true);
        if (!window->IsChild()) sys->desktop.Activate(handle);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    if (!window) return FALSE;
    if (!window->invalid.Empty() && sys->desktop.IsShown(*window))
        SendMessageA(handle, WM_PAINT, 0, 0);
    if ((window = System::WindowOf(handle))) {
        std::vector<HWND> children = window->children;
        for (HWND child : children) UpdateWindow(child);
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return System::WindowOf(handle) != nullptr;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* window = System::WindowOf(handle);
    if (!window) return FALSE;
    const BOOL wasDisabled = !window->enabled;
    if (window->enabled != static_cast<bool>(enable)) {
        System::Current()->desktop.SetEnabled(handle, enable);
        SendMessageA(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    Window* window = System::WindowOf(handle);
    return window && window->enabled;
}

BOOL WINAPI GetClientRect(HWND handle, RECT* rect) {
    Window* window = System::WindowOf(handle);
    if (!window || !rect) return FALSE;
    *rect = RECT{0, 0, window->client.Width(), window->client.Height()};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, RECT* rect) {
    Window* window = System::WindowOf(handle);
    if (!window || !rect) return FALSE;
    const platform::Point origin = window->IsChild()
                                       ? System::Current()->desktop.ToScreen(
                                             *window, {-window->client.left, -window->client.top})
                                       : platform::Point{window->rect.left, window->rect.top};
    *rect =
        RECT{origin.x, origin.y, origin.x + window->rect.Width(), origin.y + window->rect.Height()};
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (!System::WindowOf(handle)) return FALSE;
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR buffer, int size) {
    if (!System::WindowOf(handle) || !buffer || size <= 0) return 0;
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window* window = System::WindowOf(dialog);
    if (!window) return nullptr;
    for (HWND child : window->children)
        if (Window* c = System::WindowOf(child);
            c && static_cast<WORD>(c->id) == static_cast<WORD>(id))
            return child;
    return nullptr;
}

HWND WINAPI GetParent(HWND handle) {
    Window* window = System::WindowOf(handle);
    if (!window) return nullptr;
    return window->IsChild() ? window->parent : window->owner;
}

HWND WINAPI SetFocus(HWND handle) {
    System* sys = System::Current();
    if (!sys) return nullptr;
    const HWND previous = sys->desktop.Focus();
    if (handle) {
        Window* window = System::WindowOf(handle);
        Window* top = sys->desktop.TopLevelOf(handle);
        if (!window || !top || !top->enabled) return nullptr;
        if (sys->desktop.Active() != top->handle) sys->desktop.Activate(top->handle);
    }
    sys->desktop.SetFocus(handle);
    if (previous && previous != handle) SendMessageA(previous, WM_KILLFOCUS, 0, 0);
    if (handle && previous != handle) SendMessageA(handle, WM_SETFOCUS, 0, 0);
    return previous;
}

HWND WINAPI GetFocus() {
    System* sys = System::Current();
    return sys ? sys->desktop.Focus() : nullptr;
}

HWND WINAPI GetActiveWindow() {
    System* sys = System::Current();
    return sys ? sys->desktop.Active() : nullptr;
}

int WINAPI GetSystemMetrics(int index) {
    namespace frame = platform::user::frame;
    System* sys = System::Current();
    switch (index) {
        case SM_CXSCREEN:
            return sys ? sys->backend.ScreenSize().width : 0;
        case SM_CYSCREEN:
            return sys ? sys->backend.ScreenSize().height : 0;
        case SM_CYCAPTION:
            return frame::kCaptionHeight + frame::kCaptionLine;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return frame::kBorder;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return frame::kDialogFrame;
        default:
            return 0;
    }
}

DWORD WINAPI GetSysColor(int index) {
    const platform::gdi::Pixel p = platform::user::SystemColor(index);
    return RGB(platform::gdi::Red(p), platform::gdi::Green(p), platform::gdi::Blue(p));
}
