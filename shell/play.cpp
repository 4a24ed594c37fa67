// Play control: a left press starts the reels turning when they stand, and stops them when
// they turn, answering with the stop notice.
#include "shell/pokorinder.h"

UINT_PTR TimerId = 0;
BYTE Stopped = TRUE;

void OnLeftButtonDown(HWND Window) {
    char ResultText[256];

    if (Stopped) {
        DrawPicture(Window, 0, 0, 0);
        TimerId = SetTimer(Window, SPIN_TIMER, SPIN_PERIOD, NULL);
        Stopped = FALSE;
        return;
    }

    KillTimer(Window, TimerId);
    Stopped = TRUE;
    wsprintfA(ResultText, "ただいま、制作中です。");
    MessageBoxA(Window, ResultText, "結果", MB_OK);
}
