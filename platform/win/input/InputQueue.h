// Raw input as a back end (or a test) delivers it, in screen coordinates. It waits in the
// thread's queue and becomes window messages when it is retrieved: hit testing
// (WM_NCHITTEST), capture, WM_SETCURSOR, WM_MOUSEACTIVATE and activation, double clicks (class
// style CS_DBLCLKS, within the double-click time and SM_CXDOUBLECLK x SM_CYDOUBLECLK), mouse
// leave, the WH_MOUSE hook, and key messages to the focus window.
#pragma once

#include <functional>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

namespace InputQueue {

enum class Button { Left, Right, Middle };

void MouseMove(int x, int y);
void MouseDown(Button b, int x, int y);
void MouseUp(Button b, int x, int y);
void MouseWheel(int delta, int x, int y);
// A virtual key; Alt (VK_MENU) held makes WM_SYSKEYDOWN / WM_SYSKEYUP.
void KeyDown(int vkey);
void KeyUp(int vkey);
// Text committed by an input method or typed, CP936: each single-byte character becomes a
// WM_CHAR, each double-byte character a WM_IME_CHAR whose default handling sends the lead and
// then the trail byte as two WM_CHARs.
void Text(const AnsiString& cp936);

// For the message queue: whether input waits, and the first input message `match` accepts,
// made from raw input one event at a time (so a capture set while handling a press steers the
// moves after it); false when none is left.
bool Pending();
bool Take(const std::function<bool(const MSG&)>& match, MSG* out, bool remove);
void Reset();

}  // namespace InputQueue
