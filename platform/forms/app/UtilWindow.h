// Hidden windows that hand their messages to a callable: the timers, the clipboard owner and the
// application object receive window messages through them (the classic AllocateHWnd).
#pragma once

#include <functional>

#include "platform/win/WinUser.h"

namespace UtilWindow {

// Answers the message; what the callable leaves alone it passes to DefWindowProc itself.
using THandler = std::function<LRESULT(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)>;

// A hidden top-level window whose messages go to Handler. The caller owns the window and frees
// it with DeallocateHWnd. Answers null when no window can be made.
HWND AllocateHWnd(THandler Handler);
// Destroys the window; not an error for null or a window already gone (the window layer was
// reset). A handler running now finishes safely.
void DeallocateHWnd(HWND Wnd);

}  // namespace UtilWindow
