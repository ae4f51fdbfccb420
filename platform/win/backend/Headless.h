// The headless back end: the screen is memory, the clock moves only when told to (or when a
// waiting GetMessage skips ahead to the next timer), and tests inject input through
// platform/win/input/InputQueue.h and read the pictures here.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinUser.h"

namespace Headless {

// Installs the headless back end with a screen of this size and clears the whole window layer:
// windows, classes, queue, hooks, focus, capture, caret, clipboard. The work area is the screen
// less a 30-pixel task bar at the bottom.
void Start(int screenWidth = 1024, int screenHeight = 768);
// The MessageBeep calls since Start.
int Beeps();
// The last place the window layer gave for typed text (Backend's TextInputAt).
struct TextInputPlace {
  HWND top = nullptr;
  RECT rect;
};
TextInputPlace TextInput();
// Moves the message clock on.
void AdvanceTime(DWORD ms);
// The screen as the top-level windows make it, bottom to top (0x00RRGGBB... as COLORREF).
COLORREF ScreenPixel(int x, int y);
// A pixel of a window's client area from its top-level window's surface; CLR_INVALID outside.
COLORREF ClientPixel(HWND wnd, int x, int y);
// The screen as a 32-bit bitmap the caller owns (DeleteObject).
HBITMAP CaptureScreen();

}  // namespace Headless
