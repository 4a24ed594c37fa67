// WinMain: registers the main window's class, shows the centred window with the background,
// and holds the program open with the exit prompt. The prompt's modal loop is the program's
// only message loop; the game is played underneath it.
#include "shell/pokorinder.h"

#define WINDOW_WIDTH 400
#define WINDOW_HEIGHT 300

HINSTANCE AppInstance;

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int ShowCommand) {
    WNDCLASSA WindowClass;
    HWND Window;
    int X, Y;

    AppInstance = Instance;

    WindowClass.style = 0;
    WindowClass.lpfnWndProc = MainWndProc;
    WindowClass.cbClsExtra = 0;
    WindowClass.cbWndExtra = 0;
    WindowClass.hInstance = AppInstance;
    WindowClass.hIcon = NULL;
    WindowClass.hCursor = NULL;
    WindowClass.hbrBackground = (HBRUSH)(COLOR_MENUTEXT + 1);
    WindowClass.lpszMenuName = NULL;
    WindowClass.lpszClassName = "Main Window";
    if (!RegisterClassA(&WindowClass)) return 0;

    Y = (GetSystemMetrics(SM_CYSCREEN) - WINDOW_HEIGHT) / 2;
    X = (GetSystemMetrics(SM_CXSCREEN) - WINDOW_WIDTH) / 2;
    Window = CreateWindowExA(0, "Main Window", "ポコリンダー Ver1.0β", WS_VISIBLE, X, Y,
                             WINDOW_WIDTH, WINDOW_HEIGHT, NULL, NULL, AppInstance, NULL);
    ShowWindow(Window, ShowCommand);
    UpdateWindow(Window);

    LoadPictures();
    DrawPicture(Window, 0, 0, 0);

    MessageBoxA(NULL, "ＯＫを押すと終了", "ダイアログ", MB_OK);

    FreePictures();
    return 0;
}
