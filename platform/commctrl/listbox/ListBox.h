// The LISTBOX window class: a ListBoxModel behind the LB_ messages, painted in the classic look
// or by its owner (WM_DRAWITEM), with the standard scroll bars of the window layer. Thumb
// positions come from the 32-bit track position (GetScrollInfo SIF_TRACKPOS), so lists longer
// than 65,535 items scroll to the right place.
#pragma once

#include "platform/win/WinUser.h"

class ListBoxModel;

namespace ListBox {

void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A list made with LBS_COMBOBOX takes its combo box as the creation parameter: it then draws,
// measures and compares its items on behalf of the combo (ODT_COMBOBOX, the combo's identifier
// and parent) and sends its LBN_ notifications to the combo whatever its style. The combo of
// such a list; null for any other window.
HWND ComboOf(HWND list);
// The model of a list box window; null for another window.
ListBoxModel* ModelOf(HWND list);
// The item under a client point, -1 when there is none.
int ItemAt(HWND list, POINT client);
// Selects `index` as a click would (the caret follows, the item is scrolled into view).
void SelectFromUser(HWND list, int index);

}  // namespace ListBox
