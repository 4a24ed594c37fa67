// The USER functions of messages, painting and timers.
#include "platform/system.h"
#include "platform/text/encoding.h"
#include "platform/user/colors.h"

using platform::System;
using platform::user::Window;

namespace {

LRESULT EraseBackground(HWND handle, HDC dc) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    int color = 0;
    if (!window || !window->windowClass ||
        !platform::user::IsSystemColorBrush(window->windowClass->background, &color))
        return 0;
    auto canvas = sys->gdi.CanvasOf(dc);
    if (!canvas) return 0;
    canvas->surface->Fill(canvas->clip, platform::user::SystemColor(color));
    canvas->Touched(canvas->clip);
    return 1;
}

LRESULT CopyText(const std::string& utf8, WPARAM size, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    const std::string text = platform::text::Utf8ToCp932(utf8);
    std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    // Never split a double-byte character at the end of the buffer.
    for (std::size_t i = 0; i < n; ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) {
            if (i + 1 >= n) {
                n = i;
                break;
            }
            ++i;
        }
    }
    text.copy(out, n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    if (!window) return 0;
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(handle, &paint);
            EndPaint(handle, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return EraseBackground(handle, reinterpret_cast<HDC>(wParam));
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SETTEXT:
            sys->desktop.SetText(
                handle, lParam ? platform::text::Cp932ToUtf8(reinterpret_cast<const char*>(lParam))
                               : std::string{});
            return TRUE;
        case WM_GETTEXT:
            return CopyText(window->text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(platform::text::Utf8ToCp932(window->text).size());
        default:
            return 0;
    }
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = System::WindowOf(handle);
    if (!window || !window->proc) return 0;
    return window->proc(handle, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    System* sys = System::Current();
    if (!sys || (handle && !System::WindowOf(handle))) return FALSE;
    sys->queue.Post(MSG{handle, message, wParam, lParam, sys->queue.Milliseconds(), {}});
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    System* sys = System::Current();
    if (!sys || !msg) return -1;
    return sys->queue.Get(*msg) ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    if (System* sys = System::Current()) sys->queue.PostQuit(exitCode);
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    System* sys = System::Current();
    if (!System::WindowOf(handle)) return FALSE;
    if (rect) {
        const platform::Rect area{rect->left, rect->top, rect->right, rect->bottom};
        sys->desktop.Invalidate(handle, &area, erase);
    } else {
        sys->desktop.Invalidate(handle, nullptr, erase);
    }
    return TRUE;
}

HDC WINAPI BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    System* sys = System::Current();
    Window* window = System::WindowOf(handle);
    if (!window || !paint) return nullptr;
    const platform::Rect area = window->invalid;
    const bool erase = window->erase;
    window->invalid = {};
    window->erase = false;
    HDC dc = sys->gdi.AddWindowContext(handle, area);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = RECT{area.left, area.top, area.right, area.bottom};
    paint->fErase = TRUE;
    if (erase && SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
        paint->fErase = FALSE;
    return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
    System* sys = System::Current();
    if (!sys || !paint) return FALSE;
    sys->gdi.DeleteContext(paint->hdc);
    return TRUE;
}

UINT_PTR WINAPI SetTimer(HWND handle, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    System* sys = System::Current();
    if (!sys || !handle || !System::WindowOf(handle)) return 0;
    if (!sys->timers.Set(handle, id, elapse, timerProc, sys->backend.Now())) return 0;
    return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND handle, UINT_PTR id) {
    System* sys = System::Current();
    return sys && sys->timers.Kill(handle, id) ? TRUE : FALSE;
}
