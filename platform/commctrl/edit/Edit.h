// The "EDIT" window class: single- and multi-line text fields over EditModel.
#pragma once

#include "platform/win/WinUser.h"

namespace Edit {
// Registers "EDIT" unless it is registered (CommCtrl::Initialize calls it).
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace Edit
