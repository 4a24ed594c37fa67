#include "platform/user/dialog.h"

#include <algorithm>

#include "platform/gdi/font/font.h"
#include "platform/res/dialog_template.h"
#include "platform/system.h"
#include "platform/text/encoding.h"
#include "platform/user/controls.h"
#include "platform/user/frame.h"

namespace platform::user {
namespace {

// Rounds like the classic MulDiv: a * b / c, to the nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
    if (c <= 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>(product >= 0 ? (product + c / 2) / c : (product - c / 2) / c);
}

std::vector<HWND> TabStops(HWND dialog) {
    std::vector<HWND> stops;
    if (Window* window = System::WindowOf(dialog))
        for (HWND child : window->children)
            if (Window* c = System::WindowOf(child);
                c && c->visible && c->enabled && (c->style & WS_TABSTOP))
                stops.push_back(child);
    return stops;
}

HWND DefaultButton(HWND dialog) {
    if (Window* window = System::WindowOf(dialog))
        for (HWND child : window->children)
            if (Window* c = System::WindowOf(child);
                c && IsPushButton(child) && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                return child;
    return nullptr;
}

void MoveFocus(HWND dialog, bool backwards) {
    const std::vector<HWND> stops = TabStops(dialog);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), GetFocus());
    std::size_t next = 0;
    if (at != stops.end()) {
        const std::size_t i = static_cast<std::size_t>(at - stops.begin());
        next = backwards ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
    } else if (backwards) {
        next = stops.size() - 1;
    }
    SetFocus(stops[next]);
}

// Enter, Escape and Tab belong to the dialog that has the keyboard; true when handled here.
bool DialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    System& sys = *System::Current();
    Window* top = sys.desktop.TopLevelOf(msg.hwnd);
    if (!top || !top->dialog) return false;
    const HWND dialog = top->handle;
    switch (msg.wParam) {
        case VK_RETURN: {
            HWND focus = GetFocus();
            HWND button = focus && IsPushButton(focus) && GetParent(focus) == dialog
                              ? focus
                              : DefaultButton(dialog);
            const WORD id = button ? static_cast<WORD>(System::WindowOf(button)->id) : IDOK;
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return true;
        }
        case VK_ESCAPE:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return true;
        case VK_TAB:
            MoveFocus(dialog, sys.input.ShiftDown());
            return true;
        default:
            return false;
    }
}

}  // namespace

Size WindowSizeFor(DWORD style, Size client) {
    const frame::Insets in = frame::For(style);
    return {client.width + in.left + in.right, client.height + in.top + in.bottom};
}

HWND CreateDialogWindow(const DialogLayout& layout, HWND owner, DLGPROC proc, LPARAM param) {
    System& sys = *System::Current();
    const std::string title = text::Utf8ToCp932(layout.title);
    HWND dialog = CreateWindowExA(layout.exStyle, kDialogClass, title.c_str(),
                                  (layout.style & ~WS_VISIBLE & ~WS_CHILD) | WS_POPUP,
                                  layout.area.left, layout.area.top, layout.area.Width(),
                                  layout.area.Height(), owner, nullptr, sys.Instance(), nullptr);
    Window* window = System::WindowOf(dialog);
    if (!window) return nullptr;
    window->font = layout.font;
    window->dialog = std::make_unique<DialogState>();
    for (const DialogItemLayout& item : layout.items) {
        const std::string itemText = text::Utf8ToCp932(item.text);
        HWND control = CreateWindowExA(
            0, item.className.c_str(), itemText.c_str(), item.style | WS_CHILD, item.area.left,
            item.area.top, item.area.Width(), item.area.Height(), dialog,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), sys.Instance(), nullptr);
        Window* c = System::WindowOf(control);
        if (!c) {
            DestroyWindow(dialog);
            return nullptr;
        }
        // Keep the exact text: it came in UTF-8 or UTF-16 and need not pass through 932.
        c->text = item.text;
        c->font = layout.font;
    }
    // The procedure sees WM_INITDIALOG with the box complete.
    window->dialog->proc = proc;
    const HWND first = TabStops(dialog).empty() ? nullptr : TabStops(dialog).front();
    const INT_PTR setFocus =
        proc ? proc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) : TRUE;
    if (!IsWindow(dialog)) return nullptr;
    if (setFocus && first) System::WindowOf(dialog)->lastFocus = first;
    if (layout.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOW);
    return dialog;
}

INT_PTR RunModal(HWND dialog, HWND owner) {
    System& sys = *System::Current();
    Window* window = System::WindowOf(dialog);
    if (!window || !window->dialog) return -1;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    window->dialog->owner = disableOwner ? owner : nullptr;
    ShowWindow(dialog, SW_SHOW);
    // A box always opens with a control that has the keyboard, the first tab stop when the
    // procedure chose none.
    if (Window* w = System::WindowOf(dialog);
        w && !System::WindowOf(w->lastFocus) && !TabStops(dialog).empty())
        SetFocus(TabStops(dialog).front());
    else if (w && System::WindowOf(w->lastFocus))
        SetFocus(w->lastFocus);

    MSG msg{};
    bool quit = false;
    for (;;) {
        window = System::WindowOf(dialog);
        if (!window || !window->dialog || window->dialog->ended) break;
        if (!sys.queue.Get(msg)) {
            quit = true;
            break;
        }
        if (!DialogKey(msg)) DispatchMessageA(&msg);
    }
    window = System::WindowOf(dialog);
    const INT_PTR result = window && window->dialog ? window->dialog->result : -1;
    if (window && window->dialog && window->dialog->owner) EnableWindow(owner, TRUE);
    if (window) DestroyWindow(dialog);
    // The loop that gets WM_QUIT passes it on to the loop around it.
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

}  // namespace platform::user

using platform::System;
using platform::user::Window;

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    Window* window = System::WindowOf(dialog);
    if (!window || !window->dialog) return FALSE;
    window->dialog->ended = true;
    window->dialog->result = result;
    // The owner is enabled again before the box goes, so that it takes the activation back.
    if (HWND owner = window->dialog->owner) {
        window->dialog->owner = nullptr;
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam) {
    namespace res = platform::res;
    namespace text = platform::text;
    using platform::user::MulDiv;
    System* sys = System::Current();
    if (!sys || instance != sys->Instance() || !IS_INTRESOURCE(templateName)) return -1;
    if (owner && !IsWindow(owner)) return 0;
    const res::Resource* resource = sys->Resources().Find(
        res::resource_type::kDialog,
        static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(templateName)),
        System::kLanguage);
    if (!resource) return -1;
    const auto parsed = res::ParseDialogTemplate(resource->data);
    if (!parsed) return -1;

    // The template's own font decides the dialog units.
    const platform::gdi::Font* font = sys->messageFont;
    if (parsed->font) {
        const int pixels = MulDiv(parsed->font->point_size, 96, 72);
        if (const auto* f = sys->fonts->Get(text::Utf16ToUtf8(parsed->font->face), pixels))
            font = f;
    }
    if (!font) return -1;
    const int baseX = std::max(1, font->AverageCharWidth());
    const int baseY = std::max(1, font->Height());
    auto px = [&](int x, int y) {
        return platform::Point{MulDiv(x, baseX, 4), MulDiv(y, baseY, 8)};
    };

    platform::user::DialogLayout layout;
    layout.style = parsed->style;
    layout.exStyle = parsed->ex_style;
    layout.title = text::Utf16ToUtf8(parsed->title);
    layout.font = font;
    const platform::Point size = px(parsed->cx, parsed->cy);
    const platform::Size outer = platform::user::WindowSizeFor(
        platform::user::frame::Normalise(parsed->style | WS_POPUP), {size.x, size.y});
    // Placed relative to the owner's client area; clamped onto the screen where it fits.
    platform::Point at = px(parsed->x, parsed->y);
    const platform::Size screen = sys->backend.ScreenSize();
    if (Window* o = sys->desktop.Find(owner); o && !(parsed->style & DS_CENTER)) {
        const platform::Point origin = sys->desktop.ToScreen(*o, {0, 0});
        at = {origin.x + at.x, origin.y + at.y};
    } else if (parsed->style & DS_CENTER) {
        at = {(screen.width - outer.width) / 2, (screen.height - outer.height) / 2};
    }
    at.x = std::max(0, std::min(at.x, screen.width - outer.width));
    at.y = std::max(0, std::min(at.y, screen.height - outer.height));
    layout.area = platform::Rect::FromSize(at, outer);

    for (const res::DialogItem& item : parsed->items) {
        platform::user::DialogItemLayout control;
        if (item.window_class.Is(res::control_class::kButton))
            control.className = platform::user::kButtonClass;
        else if (item.window_class.Is(res::control_class::kStatic))
            control.className = platform::user::kStaticClass;
        else if (!item.window_class.ordinal)
            control.className = text::Utf16ToUtf8(item.window_class.name);
        else
            return -1;  // a control class the platform does not provide
        control.style = item.style;
        control.id = item.id;
        const platform::Point p = px(item.x, item.y);
        const platform::Point s = px(item.cx, item.cy);
        control.area = platform::Rect::FromSize(p, {s.x, s.y});
        if (!item.title.ordinal) control.text = text::Utf16ToUtf8(item.title.name);
        layout.items.push_back(std::move(control));
    }
    HWND dialog = platform::user::CreateDialogWindow(layout, owner, dialogProc, initParam);
    if (!dialog) return -1;
    return platform::user::RunModal(dialog, owner);
}
