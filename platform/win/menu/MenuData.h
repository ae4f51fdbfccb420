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
};

struct MenuData {
  bool popup = false;
  std::vector<MenuItem> items;
};

struct Table {
  std::unordered_map<HMENU, std::unique_ptr<MenuData>> menus;
  std::uintptr_t next = 0x60000;
  bool endMenu = false;  // EndMenu asked the running menu loop to stop
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
void FreeMenu(HMENU h);

}  // namespace Menus
