#include "platform/user/draw.h"

#include "platform/user/colors.h"

namespace platform::user::draw {

void Fill(gdi::Surface& pixels, Rect area, Rect clip, gdi::Pixel color) {
    pixels.Fill(area.Intersect(clip), color);
}

void Edge(gdi::Surface& pixels, Rect area, Rect clip, gdi::Pixel topLeft, gdi::Pixel bottomRight) {
    if (area.Empty()) return;
    Fill(pixels, {area.left, area.top, area.right - 1, area.top + 1}, clip, topLeft);
    Fill(pixels, {area.left, area.top, area.left + 1, area.bottom - 1}, clip, topLeft);
    Fill(pixels, {area.left, area.bottom - 1, area.right, area.bottom}, clip, bottomRight);
    Fill(pixels, {area.right - 1, area.top, area.right, area.bottom}, clip, bottomRight);
}

Rect Raised(gdi::Surface& pixels, Rect area, Rect clip, bool frame) {
    // Frames have the light line outside, buttons the white one.
    Edge(pixels, area, clip, SystemColor(frame ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT),
         SystemColor(COLOR_3DDKSHADOW));
    area = {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    Edge(pixels, area, clip, SystemColor(frame ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT),
         SystemColor(COLOR_BTNSHADOW));
    return {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
}

void FocusRect(gdi::Surface& pixels, Rect area, Rect clip) {
    clip = clip.Intersect(pixels.Bounds());
    auto dot = [&](int x, int y) {
        if (clip.Contains({x, y}) && ((x + y) & 1) == 0) pixels.Set(x, y, gdi::Rgb(0, 0, 0));
    };
    for (int x = area.left; x < area.right; ++x) {
        dot(x, area.top);
        dot(x, area.bottom - 1);
    }
    for (int y = area.top; y < area.bottom; ++y) {
        dot(area.left, y);
        dot(area.right - 1, y);
    }
}

}  // namespace platform::user::draw
