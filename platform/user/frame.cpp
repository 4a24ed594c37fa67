#include "platform/user/frame.h"

#include "platform/gdi/font/font.h"
#include "platform/user/colors.h"
#include "platform/user/draw.h"

namespace platform::user::frame {
namespace {

bool HasCaption(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION;
}

gdi::Pixel Blend(gdi::Pixel a, gdi::Pixel b, int num, int den) {
    auto mix = [&](int x, int y) { return x + (y - x) * num / (den > 0 ? den : 1); };
    return gdi::Rgb(mix(gdi::Red(a), gdi::Red(b)), mix(gdi::Green(a), gdi::Green(b)),
                    mix(gdi::Blue(a), gdi::Blue(b)));
}

void PaintCloseBox(gdi::Surface& pixels, Rect box) {
    Rect clip = pixels.Bounds();
    Rect inside = draw::Raised(pixels, box, clip, false);
    draw::Fill(pixels, inside, clip, SystemColor(COLOR_BTNFACE));
    // The cross: two strokes two pixels wide, 8 x 7, centred.
    const int w = 8, h = 7;
    const int x0 = box.left + (box.Width() - w) / 2;
    const int y0 = box.top + (box.Height() - h) / 2;
    for (int i = 0; i < h; ++i) {
        int a = x0 + i * (w - 2) / (h - 1);
        int b = x0 + (w - 2) - i * (w - 2) / (h - 1);
        draw::Fill(pixels, {a, y0 + i, a + 2, y0 + i + 1}, clip, SystemColor(COLOR_BTNTEXT));
        draw::Fill(pixels, {b, y0 + i, b + 2, y0 + i + 1}, clip, SystemColor(COLOR_BTNTEXT));
    }
}

}  // namespace

DWORD Normalise(DWORD style) {
    if (!(style & (WS_POPUP | WS_CHILD))) style |= WS_CAPTION;
    return style;
}

int FrameWidth(DWORD style) {
    if (style & WS_THICKFRAME) return kThickFrame;
    if (style & (WS_DLGFRAME | DS_MODALFRAME)) return kDialogFrame;
    if (style & WS_BORDER) return kBorder;
    return 0;
}

Insets For(DWORD style) {
    const int edge = FrameWidth(style);
    Insets insets{edge, edge, edge, edge};
    if (HasCaption(style)) insets.top += kCaptionHeight + kCaptionLine;
    return insets;
}

Rect ClientArea(DWORD style, Size window) {
    Insets in = For(style);
    Rect client{in.left, in.top, window.width - in.right, window.height - in.bottom};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

Rect CaptionArea(DWORD style, Size window) {
    if (!HasCaption(style)) return {};
    const int edge = FrameWidth(style);
    return {edge, edge, window.width - edge, edge + kCaptionHeight};
}

Rect CloseBoxArea(DWORD style, Size window) {
    if (!(style & WS_SYSMENU)) return {};
    Rect caption = CaptionArea(style, window);
    if (caption.Empty()) return {};
    const int right = caption.right - 2;
    const int top = caption.top + (caption.Height() - kCloseBoxHeight) / 2;
    return {right - kCloseBoxWidth, top, right, top + kCloseBoxHeight};
}

Rect DragArea(DWORD style, Size window) {
    Rect drag = CaptionArea(style, window);
    if (Rect close = CloseBoxArea(style, window); !close.Empty()) drag.right = close.left;
    return drag;
}

void Paint(gdi::Surface& pixels, DWORD style, std::string_view title, bool active,
           const gdi::Font* captionFont) {
    const Size size = pixels.Dimensions();
    const Rect all = pixels.Bounds();
    const int edge = FrameWidth(style);
    if (edge >= 3) {
        Rect inside = draw::Raised(pixels, all, all, true);
        for (int i = 2; i < edge; ++i) {
            draw::Edge(pixels, inside, all, SystemColor(COLOR_BTNFACE), SystemColor(COLOR_BTNFACE));
            inside = {inside.left + 1, inside.top + 1, inside.right - 1, inside.bottom - 1};
        }
    } else if (edge == 1) {
        draw::Edge(pixels, all, all, SystemColor(COLOR_WINDOWFRAME),
                   SystemColor(COLOR_WINDOWFRAME));
    }

    Rect caption = CaptionArea(style, size);
    if (caption.Empty()) return;
    const gdi::Pixel from = SystemColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const gdi::Pixel to =
        SystemColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    for (int x = caption.left; x < caption.right; ++x)
        draw::Fill(pixels, {x, caption.top, x + 1, caption.bottom}, all,
                   Blend(from, to, x - caption.left, caption.Width() - 1));
    draw::Fill(pixels, {caption.left, caption.bottom, caption.right, caption.bottom + kCaptionLine},
               all, SystemColor(COLOR_BTNFACE));

    Rect close = CloseBoxArea(style, size);
    if (!close.Empty()) PaintCloseBox(pixels, close);

    if (captionFont) {
        Rect textClip = caption;
        if (!close.Empty()) textClip.right = close.left - 2;
        const int y = caption.top + (caption.Height() - captionFont->Height()) / 2;
        captionFont->Draw(pixels, textClip, {caption.left + 3, y}, title,
                          SystemColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    }
}

}  // namespace platform::user::frame
