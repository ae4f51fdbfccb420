// What the standard classes share: the state each window of a class owns, telling the parent
// (WM_COMMAND notifications) and the font a control draws with. (Colours:
// CommCtrl::ControlColor; a DC's state: TSavedDC of platform/gdi/dc/SavedDC.h.)
#pragma once

#include <memory>

#include "platform/win/WinUser.h"
#include "platform/win/window/Windows.h"

namespace ControlUtil {

// Registers a standard class (global, with the arrow cursor and one pointer of window data for
// its state) unless it is registered already.
void RegisterControlClass(const char* name, WNDPROC proc, UINT style);

// Sends WM_COMMAND (id, code) with the control in lParam to `to` (the parent when null).
void Notify(HWND ctl, WORD code, HWND to = nullptr);
// The font set by WM_SETFONT, else the default GUI font.
HFONT FontOr(HFONT font);
// The height and average width of a font's characters.
SIZE FontCell(HFONT font);

// The state a class keeps for each of its windows lives in the window's first pointer of window
// data and belongs to the window: attached on creation, taken back on WM_NCDESTROY (the window's
// last message), when the returned pointer frees it. Before attaching and after detaching,
// StateOf answers null, so a message arriving then goes to DefWindowProc.
template <class State>
State* StateOf(HWND wnd)
{
  return reinterpret_cast<State*>(Windows::GetWindowLongPtr(wnd, 0));
}

// Gives the window its state; the returned pointer is borrowed.
template <class State>
State* AttachState(HWND wnd, std::unique_ptr<State> state)
{
  State* s = state.release();
  Windows::SetWindowLongPtr(wnd, 0, reinterpret_cast<LONG_PTR>(s));
  return s;
}

// Takes the state back from the window (null when it has none).
template <class State>
std::unique_ptr<State> DetachState(HWND wnd)
{
  std::unique_ptr<State> s(StateOf<State>(wnd));
  Windows::SetWindowLongPtr(wnd, 0, 0);
  return s;
}

// WM_SETFONT: keeps the font (null: the default GUI font) in `slot` and repaints when lParam
// asks; a class that measures by its font re-measures after it.
void SetFontFrom(HWND wnd, HFONT& slot, WPARAM wParam, LPARAM lParam);

}  // namespace ControlUtil
