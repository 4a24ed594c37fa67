// Modal boxes: dialogs built from a layout in pixels, their nested modal loop and the keyboard
// of a dialog as users of the classic platform know it.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/win32.h"

namespace platform::gdi {
class Font;
}

namespace platform::user {

struct DialogItemLayout {
    std::string className;
    DWORD style = 0;
    WORD id = 0;
    Rect area;         // in the box's client coordinates
    std::string text;  // UTF-8
};

struct DialogLayout {
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;  // UTF-8
    const gdi::Font* font = nullptr;
    Rect area;  // the whole box on the screen
    std::vector<DialogItemLayout> items;
};

// Makes the box and its controls (hidden) and sends WM_INITDIALOG; nullptr if any part
// cannot be made.
HWND CreateDialogWindow(const DialogLayout& layout, HWND owner, DLGPROC proc, LPARAM param);

// Shows the box and runs its modal loop with the owner disabled, until EndDialog; then destroys
// it and returns what EndDialog was given.
INT_PTR RunModal(HWND dialog, HWND owner);

// The size a box of `style` needs around a client area of `client`.
Size WindowSizeFor(DWORD style, Size client);

}  // namespace platform::user
