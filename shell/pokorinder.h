// pokorinder: what the parts of the game share.
#pragma once

#include "platform/win32.h"
#include "resources/resource.h"

#define REEL_COUNT 3
#define PICTURE_COUNT 9
#define SPIN_TIMER 1
#define SPIN_PERIOD 100

// The program's instance, kept by WinMain for everything loaded from the resources.
extern HINSTANCE AppInstance;

// Play state, for the whole run.
extern int ReelPos[REEL_COUNT];  // the picture slot each reel shows next, 1 to 8
extern UINT_PTR TimerId;         // the spin timer as the platform returned it; 0 when none
extern BYTE Stopped;             // true while the reels stand

// shell/window.cpp
LRESULT CALLBACK MainWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

// shell/play.cpp
void OnLeftButtonDown(HWND Window);

// pictures/pictures.cpp
void LoadPictures(void);
void DrawPicture(HWND Window, int X, int Y, int Slot);
void FreePictures(void);

// pictures/reels.cpp
void DrawReel(HWND Window, int X, int Y, int Reel);
void OnSpinTick(HWND Window);

// about/about.cpp
INT_PTR CALLBACK AboutDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
void OnRightButtonDown(HWND Window);
