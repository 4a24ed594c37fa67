// The about box: a right press shows it modally; when it closes, the background is drawn
// again over the main window.
#include "shell/pokorinder.h"

// Only the OK command ends the box. Everything else, the cancel command that Escape sends
// included, is left to default dialog handling.
INT_PTR CALLBACK AboutDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    if (Message == WM_COMMAND && WParam == IDOK) EndDialog(Dialog, IDOK);
    return FALSE;
}

void OnRightButtonDown(HWND Window) {
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), Window, AboutDlgProc, 0);
    DrawPicture(Window, 0, 0, 0);
}
