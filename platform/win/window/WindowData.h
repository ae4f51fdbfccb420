// Internal: the records behind window and class handles, and the state the window units share
// (focus, activation, capture). Not for use outside platform/win.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

struct WndClassData {
  AnsiString name;  // as registered; looked up without regard to ASCII case
  WNDCLASSEXA wc;
};

struct ScrollBarData {
  int min = 0, max = 100, page = 0, pos = 0, trackPos = 0;
  bool disabled = false;  // both arrows off (EnableScrollBar ESB_DISABLE_BOTH)
  UINT arrowsOff = 0;
  int pressed = -1;  // the part held down (SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, ...), drawn pushed
};

struct WndData {
  HWND handle = nullptr;
  WndClassData* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0, exStyle = 0;
  HWND parent = nullptr, owner = nullptr;
  std::vector<HWND> children;  // z-order, topmost first
  RECT rect;                   // window rectangle: parent's client coordinates, or screen for top-level
  RECT client;                 // client rectangle relative to the window rectangle's top-left
  RECT normal;                 // the rectangle to restore after maximising or minimising
  AnsiString text;
  LONG_PTR userData = 0, id = 0;
  HINSTANCE instance = nullptr;
  std::vector<LONG_PTR> extra;  // cbWndExtra, in pointer-sized slots addressed by byte offset
  std::map<AnsiString, HANDLE> props;
  HRGN update = nullptr;  // invalid part, client coordinates; null when valid
  bool eraseNeeded = false, ncPaintNeeded = false, internalPaint = false;
  HRGN windowRgn = nullptr;  // SetWindowRgn, window coordinates; owned
  HMENU menu = nullptr;
  bool destroying = false, created = false;
  bool trackLeave = false;
  ScrollBarData hscroll, vscroll;
  ScrollBarData ctlscroll;      // SB_CTL: the bar a scroll-bar control is
  int ctlBar = -1;              // SB_HORZ or SB_VERT for a scroll-bar control, else -1
  int redrawOff = 0;            // WM_SETREDRAW FALSE
  bool imeDissociated = false;  // ImmAssociateContext(null): the input method does not serve it
};

namespace WindowData {

using Ptr = std::shared_ptr<WndData>;

// The window's record, or null for a stale or foreign handle.
Ptr Find(HWND h);
WndData* Get(HWND h);
HWND NewHandle();
void Add(const Ptr& w);
void Remove(HWND h);
// Every live window, in creation order.
std::vector<HWND> All();
// Top-level windows, topmost first.
std::vector<HWND>& TopLevel();
// Siblings list a window sits in (its parent's children, or the top-level list).
std::vector<HWND>& SiblingList(WndData* w);

WndClassData* FindClass(const char* name);

struct SharedState {
  HWND focus = nullptr, active = nullptr, capture = nullptr, mouseOver = nullptr;
  bool appActive = false;
  HCURSOR cursor = nullptr;
};
SharedState& State();

// The window rectangle in screen coordinates, and the client's origin on the screen.
RECT ScreenRect(HWND h);
POINT ClientOrigin(HWND h);
HWND TopLevelOf(HWND h);
bool IsDescendant(HWND ancestor, HWND h);
bool IsVisibleChain(HWND h);
// Resets everything (back-end start-up and tests).
void Clear();

}  // namespace WindowData
