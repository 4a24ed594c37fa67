// The reels: three positions in the cycle of the eight symbols. On every tick of the spin
// timer each reel draws the symbol it stands at, then steps on to the next.
#include "shell/pokorinder.h"

#define REEL_TOP 30
#define REEL_LEFT 5
#define REEL_PITCH 130
#define REELS_RIGHT 395
#define LAST_SYMBOL 8

int ReelPos[REEL_COUNT];

void DrawReel(HWND Window, int X, int Y, int Reel) {
    DrawPicture(Window, X, Y, ReelPos[Reel]);
    ReelPos[Reel]++;
    if (ReelPos[Reel] > LAST_SYMBOL) ReelPos[Reel] = 1;
}

void OnSpinTick(HWND Window) {
    int Reel = 0;
    int X;

    for (X = REEL_LEFT; X < REELS_RIGHT; X += REEL_PITCH) DrawReel(Window, X, REEL_TOP, Reel++);
}
