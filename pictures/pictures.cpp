// The picture set: the background and the eight reel symbols, loaded once from the resources,
// copied into the main window on demand, and released when the program ends.
#include "shell/pokorinder.h"

static const DWORD PictureIds[] = {
    IDB_BACKGROUND, IDB_SYMBOL1, IDB_SYMBOL2, IDB_SYMBOL3, IDB_SYMBOL4,
    IDB_SYMBOL5,    IDB_SYMBOL6, IDB_SYMBOL7, IDB_SYMBOL8, 0};
static const int ReelPosInit[REEL_COUNT] = {1, 2, 3};

static HBITMAP Pictures[PICTURE_COUNT];

void LoadPictures(void) {
    int Slot;

    for (Slot = 0; PictureIds[Slot] != 0; Slot++)
        Pictures[Slot] = LoadBitmapA(AppInstance, MAKEINTRESOURCEA(PictureIds[Slot] & 0xFFFF));

    for (Slot = 0; Slot < REEL_COUNT; Slot++) ReelPos[Slot] = ReelPosInit[Slot];
    TimerId = 0;
}

// Copies the picture in `Slot` to (X, Y) of the window's client area at its own size. Every
// draw takes its own surface and memory context and gives both back. A picture that failed to
// load has no record, and so draws nothing.
void DrawPicture(HWND Window, int X, int Y, int Slot) {
    HDC Surface;
    HDC Memory;
    BITMAP Record = {};

    Surface = GetDC(Window);
    Memory = CreateCompatibleDC(NULL);
    SelectObject(Memory, Pictures[Slot]);
    GetObjectA(Pictures[Slot], sizeof(BITMAP), &Record);
    BitBlt(Surface, X, Y, Record.bmWidth, Record.bmHeight, Memory, 0, 0, SRCCOPY);
    DeleteDC(Memory);
    ReleaseDC(Window, Surface);
}

void FreePictures(void) {
    int Slot;

    for (Slot = 0; Slot < PICTURE_COUNT; Slot++) DeleteObject(Pictures[Slot]);
}
