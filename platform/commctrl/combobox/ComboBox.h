// The COMBOBOX window class and its drop-down list ("ComboLBox").
//
// Kinds: simple (an edit over a list that is always shown), drop-down (an edit and a list that
// drops down) and drop-down list (the chosen item shown instead of an edit). The list is a
// LISTBOX window of class "ComboLBox"; for the dropping kinds it is a borderless pop-up of its
// own (a native window on a desktop back end) that holds the mouse capture while it is down.
//
// Notifications (WM_COMMAND to the parent), in the order the classic control sends them:
//   opening (a click on the button, F4, Alt+Down, CB_SHOWDROPDOWN): CBN_DROPDOWN
//   a click on an item of the dropped list: CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE (while
//     CBN_SELCHANGE is handled the window text is still the old one: read CB_GETLBTEXT)
//   arrow keys in the dropped list: CBN_SELCHANGE per move
//   Enter or F4 in the dropped list: CBN_SELENDOK, CBN_CLOSEUP
//   Escape, a click outside or the focus leaving: CBN_SELENDCANCEL, CBN_CLOSEUP; the pointer's
//     highlight is dropped, the selection is the last one reported
//   arrow keys and type-ahead with the list closed: CBN_SELENDOK, CBN_SELCHANGE
//   typing in the edit: CBN_EDITUPDATE, CBN_EDITCHANGE
// CB_SETCURSEL, CB_SELECTSTRING and WM_SETTEXT notify nothing.
#pragma once

#include "platform/win/WinUser.h"

namespace ComboBox {

// Registers "COMBOBOX" and "ComboLBox".
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The combo's parts (tests and the gallery): its edit (null for a drop-down list) and its list.
HWND EditOf(HWND combo);
HWND ListOf(HWND combo);

}  // namespace ComboBox
