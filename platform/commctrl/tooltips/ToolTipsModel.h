// A tool tips window's tools apart from its window: each tool's window, id, rectangle, text and
// value; which tool a point of a window is over; and the three delays.
#pragma once

#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class ToolTipsModel {
public:
  struct Tool {
    UINT Flags = 0;
    HWND Wnd = nullptr;  // the window that holds the tool and gets its notifications
    UINT_PTR Id = 0;     // with TTF_IDISHWND, the tool's own window
    RECT Rect{0, 0, 0, 0};
    bool Callback = false;  // the text is asked each time (TTN_GETDISPINFO)
    AnsiString Text;
    LPARAM Param = 0;
    // The window the pointer is over when it is over this tool.
    HWND Target() const;
  };

  int Count() const { return int(FTools.size()); }
  // Null for an index out of range.
  Tool* At(int index);
  const Tool* At(int index) const;
  // The index of the tool with that window and id, -1 for none.
  int Find(HWND wnd, UINT_PTR id) const;
  // Adds a tool, or replaces the one with the same window and id; answers its index.
  int Add(Tool tool);
  // False for no such tool.
  bool Delete(HWND wnd, UINT_PTR id);
  // Whether any tool is over the window `target`.
  bool Uses(HWND target) const;
  // The tool a point of `wnd` (client coordinates) is over, -1 for none; the first added wins.
  int HitTest(HWND wnd, POINT pt) const;

  // The delay `which` (TTDT_INITIAL, TTDT_AUTOPOP or TTDT_RESHOW) in milliseconds. Unset, they
  // follow the initial one: by default `doubleClick`, auto-pop ten times it, re-show a fifth.
  int Delay(WPARAM which, int doubleClick) const;
  // A negative `ms` sets the delay back to its default; TTDT_AUTOMATIC sets the initial delay and
  // lets the others follow it. False for an unknown kind.
  bool SetDelay(WPARAM which, int ms);

private:
  std::vector<Tool> FTools;
  int FInitial = -1, FAutoPop = -1, FReshow = -1;
};
