#include "platform/user/controls.h"

#include <vector>

#include "platform/gdi/font/font.h"
#include "platform/system.h"
#include "platform/text/encoding.h"
#include "platform/text/utf8.h"
#include "platform/user/colors.h"
#include "platform/user/draw.h"

namespace platform::user {
namespace {

// Breaks text into lines no wider than `width`: at line feeds, after spaces where it can, and
// between any two characters of a word too long for the line (as Japanese text needs).
std::vector<std::string> WrapLines(const gdi::Font& font, std::string_view text, int width) {
    std::vector<std::string> lines;
    std::string line;
    const std::u32string chars = text::Utf8ToCodepoints(text);
    std::size_t lastSpace = std::string::npos;
    for (char32_t c : chars) {
        if (c == U'\r') continue;
        if (c == U'\n') {
            lines.push_back(std::move(line));
            line.clear();
            lastSpace = std::string::npos;
            continue;
        }
        std::string next = line;
        text::detail::AppendUtf8(next, c);
        if (width > 0 && !line.empty() && font.TextWidth(next) > width) {
            if (c == U' ') continue;
            if (lastSpace != std::string::npos) {
                lines.push_back(line.substr(0, lastSpace));
                line = line.substr(lastSpace + 1);
            } else {
                lines.push_back(std::move(line));
                line.clear();
            }
            lastSpace = std::string::npos;
            text::detail::AppendUtf8(line, c);
        } else {
            if (c == U' ') lastSpace = line.size();
            line = std::move(next);
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

void Notify(HWND button) {
    Window* window = System::WindowOf(button);
    if (!window) return;
    SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void PaintButton(HWND handle) {
    System& sys = *System::Current();
    Window* window = System::WindowOf(handle);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    auto canvas = sys.gdi.CanvasOf(dc);
    if (canvas && window) {
        gdi::Surface& pixels = *canvas->surface;
        const Rect clip = canvas->clip;
        Rect area = Rect::FromSize(canvas->origin, window->client.Dimensions());
        const bool isDefault = (window->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        draw::Fill(pixels, area, clip, SystemColor(COLOR_BTNFACE));
        if (isDefault || window->pressed) {
            draw::Edge(pixels, area, clip, gdi::Rgb(0, 0, 0), gdi::Rgb(0, 0, 0));
            area = {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
        }
        int shift = 0;
        if (window->pressed) {
            draw::Edge(pixels, area, clip, SystemColor(COLOR_BTNSHADOW),
                       SystemColor(COLOR_BTNSHADOW));
            shift = 1;
        } else {
            draw::Raised(pixels, area, clip, false);
        }
        if (const gdi::Font* font = window->font) {
            const int x = area.left + (area.Width() - font->TextWidth(window->text)) / 2 + shift;
            const int y = area.top + (area.Height() - font->Height()) / 2 + shift;
            font->Draw(pixels, clip, {x, y}, window->text,
                       SystemColor(window->enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        }
        if (sys.desktop.Focus() == handle)
            draw::FocusRect(pixels, {area.left + 3, area.top + 3, area.right - 3, area.bottom - 3},
                            clip);
        canvas->Touched(Rect::FromSize(canvas->origin, window->client.Dimensions()));
    }
    EndPaint(handle, &paint);
}

void PaintStatic(HWND handle) {
    System& sys = *System::Current();
    Window* window = System::WindowOf(handle);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    auto canvas = sys.gdi.CanvasOf(dc);
    if (canvas && window && window->font) {
        const gdi::Font& font = *window->font;
        const int width = window->client.Width();
        const DWORD align = window->style & SS_TYPEMASK;
        const gdi::Pixel color = SystemColor(window->enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        int y = canvas->origin.y;
        for (const std::string& line : WrapLines(font, window->text, width)) {
            int x = canvas->origin.x;
            if (align == SS_CENTER) x += (width - font.TextWidth(line)) / 2;
            if (align == SS_RIGHT) x += width - font.TextWidth(line);
            font.Draw(*canvas->surface, canvas->clip, {x, y}, line, color);
            y += font.Height();
        }
        canvas->Touched(Rect::FromSize(canvas->origin, window->client.Dimensions()));
    }
    EndPaint(handle, &paint);
}

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    System& sys = *System::Current();
    Window* window = System::WindowOf(handle);
    if (!window) return 0;
    auto setPressed = [&](bool pressed) {
        if (window->pressed == pressed) return;
        window->pressed = pressed;
        InvalidateRect(handle, nullptr, TRUE);
    };
    switch (message) {
        case WM_PAINT:
            PaintButton(handle);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(handle);
            sys.desktop.SetCapture(handle);
            setPressed(true);
            return 0;
        case WM_MOUSEMOVE:
            if (sys.desktop.Capture() == handle)
                setPressed(window->client.Offset(-window->client.left, -window->client.top)
                               .Contains({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
            return 0;
        case WM_LBUTTONUP: {
            if (sys.desktop.Capture() != handle) return 0;
            sys.desktop.SetCapture(nullptr);
            const Rect inside{0, 0, window->client.Width(), window->client.Height()};
            const bool click = inside.Contains({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            setPressed(false);
            if (click) Notify(handle);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) setPressed(true);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && window->pressed && sys.desktop.Capture() != handle) {
                setPressed(false);
                Notify(handle);
            }
            return 0;
        case WM_KILLFOCUS:
            if (sys.desktop.Capture() != handle) setPressed(false);
            return 0;
        case BM_CLICK:
            Notify(handle);
            return 0;
        case BM_SETSTYLE:
            window->style = (window->style & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK);
            if (lParam) InvalidateRect(handle, nullptr, TRUE);
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintStatic(handle);
        return 0;
    }
    if (message == WM_SETTEXT) {
        LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        InvalidateRect(handle, nullptr, TRUE);
        return result;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

HBRUSH FaceBrush() {
    return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
}

}  // namespace

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = System::WindowOf(dialog);
    if (!window) return 0;
    if (window->dialog && window->dialog->proc) {
        if (INT_PTR handled = window->dialog->proc(dialog, message, wParam, lParam)) return handled;
        if (!(window = System::WindowOf(dialog))) return 0;
    }
    switch (message) {
        case WM_CLOSE:
            // Closing a box is its cancel command; its dialog procedure decides.
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return 0;
        case WM_INITDIALOG:
        case WM_COMMAND:
            return 0;
        default:
            return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

bool IsPushButton(HWND handle) {
    Window* window = System::WindowOf(handle);
    return window && window->proc == ButtonProc &&
           (window->style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
}

void RegisterControlClasses(System& sys) {
    sys.AddClass({kDialogClass, 0, DialogWindowProc, nullptr, FaceBrush()});
    sys.AddClass({kButtonClass, 0, ButtonProc, nullptr, FaceBrush()});
    sys.AddClass({kStaticClass, 0, StaticProc, nullptr, FaceBrush()});
}

}  // namespace platform::user
