// The platform's own window classes: dialog boxes, push buttons and static texts.
#pragma once

#include "platform/win32.h"

namespace platform {
class System;
}

namespace platform::user {

inline constexpr const char* kDialogClass = "#32770";
inline constexpr const char* kButtonClass = "Button";
inline constexpr const char* kStaticClass = "Static";

void RegisterControlClasses(System& sys);

// The dialog class's procedure: the box's own dialog procedure first, then default handling.
LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

bool IsPushButton(HWND window);

}  // namespace platform::user
