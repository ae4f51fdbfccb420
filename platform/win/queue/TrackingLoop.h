// For modal tracking loops (a pressed scroll bar, a drag): whether they can still hope for the
// release they wait for.
#pragma once

#include "platform/win/WinUser.h"

namespace MessageQueue {
// Whether nothing but the loop's own timer (wnd, id) could ever bring a message: no posted
// message, input or paint waits, no other timer runs, and the back end delivers no input of its
// own. A loop waiting for a button to come up then ends.
bool OnlyOwnTimerLeft(HWND wnd, UINT_PTR id);
}  // namespace MessageQueue
