// The caption's minimise, maximise/restore and close buttons: where they sit, how they are
// drawn, and the press that turns into WM_SYSCOMMAND when the mouse is released over them.
//
// A caption with WS_SYSMENU has the close button; WS_MINIMIZEBOX or WS_MAXIMIZEBOX add both
// the others (the one whose style is missing is drawn greyed and does nothing), except on tool
// windows. A class with CS_NOCLOSE has a greyed close button.
#pragma once

#include <functional>

#include "platform/win/WinUser.h"

namespace CaptionButtons {

// The button for HTCLOSE, HTMAXBUTTON or HTMINBUTTON in window coordinates; empty when the
// window does not show it.
RECT Rect(HWND wnd, LRESULT hit);
bool Enabled(HWND wnd, LRESULT hit);
// The command a release over the button sends: SC_CLOSE, SC_MAXIMIZE or SC_MINIMIZE, or
// SC_RESTORE for the maximise button of a maximised window and the minimise button of an
// iconic one.
WPARAM Command(HWND wnd, LRESULT hit);
// The button held down now (HTNOWHERE when none); it is drawn pushed.
LRESULT Pressed(HWND wnd);
void Paint(HWND wnd, HDC windowDC);

// Holds a button down: the mouse is captured, `show(true)` / `show(false)` follow whether the
// mouse is over it (`inside` takes screen points), until the left button comes up. Answers
// whether it came up inside; Escape, a lost capture or WM_QUIT answer false (WM_QUIT is
// posted again). Runs its own message loop.
bool TrackPress(HWND wnd, const std::function<bool(POINT)>& inside, const std::function<void(bool)>& show);
// A press on one of the window's caption buttons: on release inside, WM_SYSCOMMAND with the
// button's command (lParam the release point). A greyed button does nothing.
void Click(HWND wnd, LRESULT hit);
void WindowGone(HWND wnd);

}  // namespace CaptionButtons
