// The tab control ("SysTabControl32"): tabs in one row with scroll arrows when they overflow,
// or in several rows (TCS_MULTILINE, the selected row next to the page); as tabs or as
// buttons (TCS_BUTTONS). A click, Left/Right or Ctrl+Tab (Ctrl+Shift+Tab back) asks the parent
// with TCN_SELCHANGING (non-zero keeps the current tab) and then sends TCN_SELCHANGE;
// TCM_SETCURSEL changes the selection without either. TCM_ADJUSTRECT turns a window
// rectangle into its page (FALSE) or a page into the window rectangle it needs (TRUE).
// With TCS_TOOLTIPS it makes a tool tips window whose tips ask the parent for a tab's text with
// TTN_GETDISPINFO (idFrom the tab's index).
#pragma once

#include "platform/commctrl/imagelist/ImageList.h"

constexpr const char* WC_TABCONTROL = "SysTabControl32";
constexpr DWORD TCS_SCROLLOPPOSITE = 0x1, TCS_BOTTOM = 0x2, TCS_RIGHT = 0x2, TCS_MULTISELECT = 0x4,
                TCS_FLATBUTTONS = 0x8, TCS_FORCEICONLEFT = 0x10, TCS_FORCELABELLEFT = 0x20, TCS_HOTTRACK = 0x40,
                TCS_VERTICAL = 0x80, TCS_TABS = 0x0, TCS_BUTTONS = 0x100, TCS_SINGLELINE = 0x0, TCS_MULTILINE = 0x200,
                TCS_RIGHTJUSTIFY = 0x0, TCS_FIXEDWIDTH = 0x400, TCS_RAGGEDRIGHT = 0x800, TCS_FOCUSONBUTTONDOWN = 0x1000,
                TCS_OWNERDRAWFIXED = 0x2000, TCS_TOOLTIPS = 0x4000, TCS_FOCUSNEVER = 0x8000;
constexpr UINT TCM_FIRST = 0x1300, TCM_GETIMAGELIST = TCM_FIRST + 2, TCM_SETIMAGELIST = TCM_FIRST + 3,
               TCM_GETITEMCOUNT = TCM_FIRST + 4, TCM_GETITEM = TCM_FIRST + 5, TCM_SETITEM = TCM_FIRST + 6,
               TCM_INSERTITEM = TCM_FIRST + 7, TCM_DELETEITEM = TCM_FIRST + 8, TCM_DELETEALLITEMS = TCM_FIRST + 9,
               TCM_GETITEMRECT = TCM_FIRST + 10, TCM_GETCURSEL = TCM_FIRST + 11, TCM_SETCURSEL = TCM_FIRST + 12,
               TCM_HITTEST = TCM_FIRST + 13, TCM_ADJUSTRECT = TCM_FIRST + 40, TCM_GETROWCOUNT = TCM_FIRST + 44,
               TCM_GETTOOLTIPS = TCM_FIRST + 45, TCM_SETTOOLTIPS = TCM_FIRST + 46, TCM_GETCURFOCUS = TCM_FIRST + 47,
               TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCIF_TEXT = 0x1, TCIF_IMAGE = 0x2, TCIF_RTLREADING = 0x4, TCIF_PARAM = 0x8, TCIF_STATE = 0x10;
constexpr DWORD TCIS_BUTTONPRESSED = 0x1, TCIS_HIGHLIGHTED = 0x2;
constexpr UINT TCHT_NOWHERE = 0x1, TCHT_ONITEMICON = 0x2, TCHT_ONITEMLABEL = 0x4, TCHT_ONITEM = 0x6;
constexpr UINT TCN_FIRST = UINT(-550), TCN_KEYDOWN = TCN_FIRST - 0, TCN_SELCHANGE = TCN_FIRST - 1,
               TCN_SELCHANGING = TCN_FIRST - 2;

// TCM_GETITEM copies at most cchTextMax bytes (with the terminating zero) into pszText.
struct TCITEM {
  UINT mask = 0;
  DWORD dwState = 0, dwStateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = -1;
  LPARAM lParam = 0;
};

struct TCHITTESTINFO {
  POINT pt{0, 0};
  UINT flags = 0;
};

struct NMTCKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

namespace Tab {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace Tab
