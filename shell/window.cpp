// MainWndProc: hands each message the game answers to its handler; everything else goes to
// default handling. There is no paint handler: the pictures come back only when the game
// draws them.
#include "shell/pokorinder.h"

LRESULT CALLBACK MainWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
        case WM_TIMER:
            OnSpinTick(Window);
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(Window);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(Window);
            return 0;
        default:
            return DefWindowProcA(Window, Message, WParam, LParam);
    }
}
