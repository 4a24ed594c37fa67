// The classic window frame, which the platform draws itself: borders, caption bar with the
// title, and a close box where the window has a system menu. All metrics live here.
#pragma once

#include <string_view>

#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace platform::gdi {
class Font;
}

namespace platform::user::frame {

constexpr int kCaptionHeight = 18;  // the bar itself
constexpr int kCaptionLine = 1;     // the line beneath it, part of the caption metric
constexpr int kDialogFrame = 3;
constexpr int kThickFrame = 4;
constexpr int kBorder = 1;
constexpr int kCloseBoxWidth = 16;
constexpr int kCloseBoxHeight = 14;

// A top-level window with neither WS_POPUP nor WS_CHILD always has a caption and border.
DWORD Normalise(DWORD style);

// Space between the window's edges and its client area.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
Insets For(DWORD style);
int FrameWidth(DWORD style);

Rect ClientArea(DWORD style, Size window);
Rect CaptionArea(DWORD style, Size window);   // empty where there is no caption
Rect CloseBoxArea(DWORD style, Size window);  // empty where there is no system menu
// Where a press drags the window: the caption, short of its close box.
Rect DragArea(DWORD style, Size window);

void Paint(gdi::Surface& pixels, DWORD style, std::string_view title, bool active,
           const gdi::Font* captionFont);

}  // namespace platform::user::frame
