// The BUTTON window class: push and default push buttons, check boxes (two and three states,
// automatic or not), radio buttons (automatic ones uncheck the rest of their group), group
// boxes and owner-drawn buttons; push-like, left-text and multi-line variants. A click (mouse
// release over the button, Space released, BM_CLICK or its "&" mnemonic typed while it has the
// focus) toggles an automatic button and sends BN_CLICKED to the parent.
#pragma once

#include <vector>

#include "platform/win/WinUser.h"

namespace Button {

void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The buttons of the radio group `wnd` belongs to: its siblings from the nearest WS_GROUP at or
// before it up to the next WS_GROUP, from the bottom of the z-order up (the order of creation).
std::vector<HWND> GroupOf(HWND wnd);

}  // namespace Button
