// What the platform tests share: small programs need a window class, a window and a way to
// end the run from the script.
#pragma once

#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/backend/headless/headless.h"
#include "platform/gdi/surface.h"
#include "platform/observe.h"
#include "platform/res/dib.h"
#include "platform/run.h"
#include "platform/win32.h"

namespace ptest {

using namespace std::chrono_literals;
using platform::Point;
using platform::Rect;
using platform::backend::HeadlessBackend;
using platform::backend::Time;
using platform::gdi::Pixel;

inline constexpr DWORD kFramed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// Registers a class whose background is the system colour `colorIndex` (as a brush handle,
// the index plus one).
inline bool RegisterTestClass(HINSTANCE instance, const char* name, WNDPROC proc,
                              int colorIndex = COLOR_WINDOW) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(colorIndex + 1));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

// A shown, framed top-level window of the class `className`, already painted once.
inline HWND ShowTestWindow(HINSTANCE instance, const char* className, const char* title, Rect area,
                           DWORD style = kFramed) {
    HWND window = CreateWindowExA(0, className, title, style, area.left, area.top, area.Width(),
                                  area.Height(), nullptr, nullptr, instance, nullptr);
    if (window) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}

// The classic loop; returns the code given to PostQuitMessage.
inline int MessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return static_cast<int>(msg.wParam);
}

// A script step that ends the program's loop. The key release only wakes the waiting
// program: a step alone does not end a wait.
inline void EndRun(HeadlessBackend& display) {
    display.Then([&display] {
        PostQuitMessage(0);
        display.KeyNow(0, false);
    });
}

// The centre of a window's client area on the screen.
inline Point ClientCentre(HWND window) {
    const auto info = platform::observe::Describe(window);
    if (!info) return {};
    return {(info->client.left + info->client.right) / 2,
            (info->client.top + info->client.bottom) / 2};
}

inline Pixel FromColorRef(DWORD color) {
    return platform::gdi::Rgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

using testing_support::Picture;

// Where two screens differ: empty when they are the same, else the first difference and how
// many pixels differ.
std::string Difference(const platform::gdi::Surface& expected,
                       const platform::gdi::Surface& actual);

}  // namespace ptest
