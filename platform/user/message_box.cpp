// Message boxes: a dialog made on the spot, with the text and an OK button, centred on the
// screen whatever its owner.
#include <algorithm>

#include "platform/gdi/font/font.h"
#include "platform/system.h"
#include "platform/text/encoding.h"
#include "platform/user/controls.h"
#include "platform/user/dialog.h"
#include "platform/user/frame.h"

namespace {

using platform::Rect;
using platform::Size;

constexpr int kMargin = 12;   // around the text, left and right
constexpr int kTextTop = 16;  // above the text
constexpr int kGap = 16;      // between the text and the button row
constexpr int kBottom = 10;   // below the button
constexpr Size kButton{75, 23};
constexpr int kCaptionRoom = 40;  // beyond the caption text: the close box and some air

// Only OK can end the box; Escape and the close box send the cancel command, which a box
// that has only OK takes as OK.
INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, IDOK);
        return TRUE;
    }
    return FALSE;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    using namespace platform;
    System* sys = System::Current();
    if (!sys || !sys->messageFont || (owner && !IsWindow(owner))) return 0;
    const gdi::Font& font = *sys->messageFont;
    const std::string body = text ? text::Cp932ToUtf8(text) : std::string{};
    const std::string title = caption ? text::Cp932ToUtf8(caption) : std::string("Error");
    const Size screen = sys->backend.ScreenSize();

    // The text keeps its own lines; only a line wider than most of the screen is wrapped by
    // the static control that shows it.
    const int widest = screen.width * 5 / 8;
    int textWidth = 0;
    int lineCount = 0;
    for (const std::string& line : Lines(body)) {
        const int w = font.TextWidth(line);
        lineCount += std::max(1, (w + widest - 1) / std::max(1, widest));
        textWidth = std::max(textWidth, std::min(w, widest));
    }
    const int textHeight = lineCount * font.Height();
    const int captionWidth = sys->captionFont ? sys->captionFont->TextWidth(title) : 0;
    const int clientWidth = std::max(
        {textWidth + 2 * kMargin, kButton.width + 2 * kMargin, captionWidth + kCaptionRoom});
    const int clientHeight = kTextTop + textHeight + kGap + kButton.height + kBottom;

    user::DialogLayout layout;
    layout.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    layout.title = title;
    layout.font = &font;
    const Size outer = user::WindowSizeFor(layout.style, {clientWidth, clientHeight});
    layout.area = Rect::FromSize(
        {(screen.width - outer.width) / 2, (screen.height - outer.height) / 2}, outer);
    const int textLeft = (clientWidth - textWidth) / 2;
    layout.items.push_back({user::kStaticClass, WS_VISIBLE | SS_LEFT, 0xFFFF,
                            Rect::FromSize({textLeft, kTextTop}, {textWidth, textHeight}), body});
    layout.items.push_back(
        {user::kButtonClass, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
         Rect::FromSize({(clientWidth - kButton.width) / 2, kTextTop + textHeight + kGap}, kButton),
         "OK"});

    user::Window* top = sys->desktop.TopLevelOf(owner);
    HWND ownerTop = top ? top->handle : nullptr;
    HWND box = user::CreateDialogWindow(layout, ownerTop, MessageBoxProc, 0);
    if (!box) return 0;
    return static_cast<int>(user::RunModal(box, ownerTop));
}
