// Internal: the records behind menu handles, shared by the menu units.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

namespace Menus {

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  HMENU sub = nullptr;  // owned, with MF_POPUP
  AnsiString text;
  UINT_PTR data = 0;  // the application's value (MIIM_DATA), handed back in owner-draw messages
};

struct MenuData {
  bool popup = false;
  std::vector<MenuItem> items;
};

struct Table {
  std::unordered_map<HMENU, std::unique_ptr<MenuData>> menus;
  std::uintptr_t next = 0x60000;
  bool endMenu = false;  // EndMenu asked the running menu loop to stop
  // The menu bar session: the window whose bar item has its pop-up open, that item, and the
  // bar item the mouse moved onto (the open pop-up closes and that one opens).
  HWND barWnd = nullptr;
  int barItem = -1, barSwitch = -1;
  // Frames showing a maximised MDI child's buttons in their bar, and the one held down.
  std::unordered_map<HWND, HWND> mdiChild;
  HWND decorFrame = nullptr;
  LRESULT decorPressed = 0;
};

Table& T();
MenuData* Get(HMENU h);
MenuItem* Find(HMENU menu, UINT position, UINT flags, HMENU* owner);
// The text without "&" marks and without what follows a tab; the mnemonic letter (upper case)
// or 0.
AnsiString Visible(const AnsiString& text);
char Mnemonic(const AnsiString& text);
int TextWidth(const AnsiString& s);
std::vector<RECT> BarLayout(HWND wnd);
// Whether the bar item opens an enabled pop-up.
bool IsBarPopup(HWND wnd, int position);
// Paints the bar now (not waiting for WM_NCPAINT).
void RepaintBar(HWND wnd);
// The MDI decoration: the part's rectangle in window coordinates (empty when not shown), and
// the width the system-menu box takes at the bar's left.
RECT MdiDecorRect(HWND frame, LRESULT part);
int MdiDecorIndent(HWND frame);
void PaintMdiDecor(HWND frame, HDC dc);
void FreeMenu(HMENU h);

}  // namespace Menus
