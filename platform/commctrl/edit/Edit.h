// The "EDIT" window class: single- and multi-line text fields over EditModel.
#pragma once

#include "platform/win/WinUser.h"

class EditModel;

namespace Edit {
// Registers "EDIT" unless it is registered (CommCtrl::Initialize calls it).
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The model under an EDIT window (tests and the fuzz target read it); null for other windows.
const EditModel* ModelOf(HWND wnd);
}  // namespace Edit
