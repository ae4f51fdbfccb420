// The caret: one per thread, owned by a window. It is drawn by inverting its rectangle in the
// owner's client area while shown (no blinking: the picture stays still for tests and for the
// headless back end). HideCaret calls nest: ShowCaret must balance each.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

// Replaces any caret; it starts hidden. `bitmap` is not used for its pixels (the caret is a
// solid block); width 0 takes SM_CXBORDER.
BOOL CreateCaret(HWND wnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND wnd);
BOOL HideCaret(HWND wnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* out);
UINT GetCaretBlinkTime();

}  // namespace Windows

namespace Carets {
// The caret's owner, or null; whether it is drawn now.
HWND Owner();
bool Drawn();
// For the window layer: the caret goes with its window.
void WindowGoing(HWND wnd);
void Reset();
}  // namespace Carets
