// The tool bar ("ToolbarWindow32"): a row of buttons, each with a command id, an image from the
// normal image list (the hot list's while the pointer is over it in a flat bar, the disabled
// list's, or the normal image embossed grey, when it is disabled), a text below the image or
// beside it (TBSTYLE_LIST), a state and a value. Buttons are push buttons, check buttons, check
// groups (of neighbouring TBSTYLE_GROUP buttons, one kept down), separators, drop-down buttons
// (TBSTYLE_DROPDOWN: with TBSTYLE_EX_DRAWDDARROWS a separate arrow; BTNS_WHOLEDROPDOWN: the
// arrow inside the button and the whole button dropping down) and auto-sized ones.
//
// A click sends WM_COMMAND (command id, BN_CLICKED, the bar) to the parent, then NM_CLICK. A
// drop-down sends TBN_DROPDOWN when pressed instead, and keeps the button pressed while the
// parent answers (it may run a menu); TBDDRET_TREATPRESSED makes a button without a separate
// arrow act as a push button. With TBSTYLE_TOOLTIPS the bar makes a tool tips window whose tips
// ask the parent for their texts with TTN_GETDISPINFO (idFrom the command id); a button whose
// text the bar does not show gives that text when the parent answers none.
//
// Buttons wrap into rows with TBSTYLE_WRAPABLE, after a button with TBSTATE_WRAP always.
// TB_AUTOSIZE fits the bar's height to its rows and its width to the parent (top or bottom by
// CCS_TOP / CCS_BOTTOM, unless CCS_NORESIZE / CCS_NOPARENTALIGN). Without CCS_NODIVIDER a
// two-pixel divider runs along the top.
#pragma once

#include <cstdint>

#include "platform/commctrl/imagelist/ImageList.h"

using DWORD_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;

constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

// Button styles (BYTE fsStyle).
constexpr BYTE TBSTYLE_BUTTON = 0x00, TBSTYLE_SEP = 0x01, TBSTYLE_CHECK = 0x02, TBSTYLE_GROUP = 0x04,
               TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK, TBSTYLE_DROPDOWN = 0x08, TBSTYLE_AUTOSIZE = 0x10,
               TBSTYLE_NOPREFIX = 0x20;
constexpr BYTE BTNS_BUTTON = TBSTYLE_BUTTON, BTNS_SEP = TBSTYLE_SEP, BTNS_CHECK = TBSTYLE_CHECK,
               BTNS_GROUP = TBSTYLE_GROUP, BTNS_CHECKGROUP = TBSTYLE_CHECKGROUP, BTNS_DROPDOWN = TBSTYLE_DROPDOWN,
               BTNS_AUTOSIZE = TBSTYLE_AUTOSIZE, BTNS_NOPREFIX = TBSTYLE_NOPREFIX, BTNS_SHOWTEXT = 0x40,
               BTNS_WHOLEDROPDOWN = 0x80;
// Window styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100, TBSTYLE_WRAPABLE = 0x0200, TBSTYLE_ALTDRAG = 0x0400, TBSTYLE_FLAT = 0x0800,
                TBSTYLE_LIST = 0x1000, TBSTYLE_CUSTOMERASE = 0x2000, TBSTYLE_REGISTERDROP = 0x4000,
                TBSTYLE_TRANSPARENT = 0x8000;
// Extended styles (TB_SETEXTENDEDSTYLE). With MIXEDBUTTONS a list bar shows the text of
// BTNS_SHOWTEXT buttons only.
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x1, TBSTYLE_EX_MIXEDBUTTONS = 0x8, TBSTYLE_EX_HIDECLIPPEDBUTTONS = 0x10;
// Button states (BYTE fsState).
constexpr BYTE TBSTATE_CHECKED = 0x01, TBSTATE_PRESSED = 0x02, TBSTATE_ENABLED = 0x04, TBSTATE_HIDDEN = 0x08,
               TBSTATE_INDETERMINATE = 0x10, TBSTATE_WRAP = 0x20, TBSTATE_ELLIPSES = 0x40, TBSTATE_MARKED = 0x80;

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1, TB_CHECKBUTTON = WM_USER + 2, TB_PRESSBUTTON = WM_USER + 3,
               TB_HIDEBUTTON = WM_USER + 4, TB_INDETERMINATE = WM_USER + 5, TB_MARKBUTTON = WM_USER + 6,
               TB_ISBUTTONENABLED = WM_USER + 9, TB_ISBUTTONCHECKED = WM_USER + 10, TB_ISBUTTONPRESSED = WM_USER + 11,
               TB_ISBUTTONHIDDEN = WM_USER + 12, TB_ISBUTTONINDETERMINATE = WM_USER + 13,
               TB_ISBUTTONHIGHLIGHTED = WM_USER + 14, TB_SETSTATE = WM_USER + 17, TB_GETSTATE = WM_USER + 18,
               TB_ADDBUTTONS = WM_USER + 20, TB_INSERTBUTTON = WM_USER + 21, TB_DELETEBUTTON = WM_USER + 22,
               TB_GETBUTTON = WM_USER + 23, TB_BUTTONCOUNT = WM_USER + 24, TB_COMMANDTOINDEX = WM_USER + 25,
               TB_ADDSTRING = WM_USER + 28, TB_GETITEMRECT = WM_USER + 29, TB_BUTTONSTRUCTSIZE = WM_USER + 30,
               TB_SETBUTTONSIZE = WM_USER + 31, TB_SETBITMAPSIZE = WM_USER + 32, TB_AUTOSIZE = WM_USER + 33,
               TB_GETTOOLTIPS = WM_USER + 35, TB_SETTOOLTIPS = WM_USER + 36, TB_SETPARENT = WM_USER + 37,
               TB_GETROWS = WM_USER + 40, TB_SETCMDID = WM_USER + 42, TB_CHANGEBITMAP = WM_USER + 43,
               TB_GETBITMAP = WM_USER + 44, TB_GETBUTTONTEXT = WM_USER + 45, TB_SETINDENT = WM_USER + 47,
               TB_SETIMAGELIST = WM_USER + 48, TB_GETIMAGELIST = WM_USER + 49, TB_GETRECT = WM_USER + 51,
               TB_SETHOTIMAGELIST = WM_USER + 52, TB_GETHOTIMAGELIST = WM_USER + 53,
               TB_SETDISABLEDIMAGELIST = WM_USER + 54, TB_GETDISABLEDIMAGELIST = WM_USER + 55,
               TB_SETSTYLE = WM_USER + 56, TB_GETSTYLE = WM_USER + 57, TB_GETBUTTONSIZE = WM_USER + 58,
               TB_SETMAXTEXTROWS = WM_USER + 60, TB_GETTEXTROWS = WM_USER + 61, TB_GETBUTTONINFO = WM_USER + 65,
               TB_SETBUTTONINFO = WM_USER + 66, TB_HITTEST = WM_USER + 69, TB_GETHOTITEM = WM_USER + 71,
               TB_SETHOTITEM = WM_USER + 72, TB_MOVEBUTTON = WM_USER + 82, TB_GETMAXSIZE = WM_USER + 83,
               TB_SETEXTENDEDSTYLE = WM_USER + 84, TB_GETEXTENDEDSTYLE = WM_USER + 85;

constexpr UINT TBN_FIRST = UINT(-700), TBN_DROPDOWN = TBN_FIRST - 10, TBN_HOTITEMCHANGE = TBN_FIRST - 13;
// Answers to TBN_DROPDOWN.
constexpr LRESULT TBDDRET_DEFAULT = 0, TBDDRET_NODEFAULT = 1, TBDDRET_TREATPRESSED = 2;
// A button without an image.
constexpr int I_IMAGENONE = -2;

// iString: the index of a text added with TB_ADDSTRING (below 0x10000; -1 for none) or a text
// the bar copies.
struct TBBUTTON {
  int iBitmap = 0;
  int idCommand = 0;
  BYTE fsState = 0;
  BYTE fsStyle = 0;
  BYTE bReserved[6] = {};
  DWORD_PTR dwData = 0;
  INT_PTR iString = -1;
};

constexpr DWORD TBIF_IMAGE = 0x1, TBIF_TEXT = 0x2, TBIF_STATE = 0x4, TBIF_STYLE = 0x8, TBIF_LPARAM = 0x10,
                TBIF_COMMAND = 0x20, TBIF_SIZE = 0x40, TBIF_BYINDEX = 0x80000000;

// TB_GETBUTTONINFO / TB_SETBUTTONINFO: wParam the command id (the index with TBIF_BYINDEX).
// Getting the text copies at most cchText bytes with the terminating zero.
struct TBBUTTONINFO {
  UINT cbSize = sizeof(TBBUTTONINFO);
  DWORD dwMask = 0;
  int idCommand = 0;
  int iImage = 0;
  BYTE fsState = 0;
  BYTE fsStyle = 0;
  WORD cx = 0;
  DWORD_PTR lParam = 0;
  char* pszText = nullptr;
  int cchText = 0;
};

// TBN_DROPDOWN: iItem the command id, rcButton the button's rectangle.
struct NMTOOLBAR {
  NMHDR hdr;
  int iItem = 0;
  TBBUTTON tbButton;
  int cchText = 0;
  char* pszText = nullptr;
  RECT rcButton{0, 0, 0, 0};
};

constexpr DWORD HICF_OTHER = 0x0, HICF_MOUSE = 0x1, HICF_ARROWKEYS = 0x2, HICF_ACCELERATOR = 0x4, HICF_DUPACCEL = 0x8,
                HICF_ENTERING = 0x10, HICF_LEAVING = 0x20;
// TBN_HOTITEMCHANGE: non-zero keeps the old hot button.
struct NMTBHOTITEM {
  NMHDR hdr;
  int idOld = 0;
  int idNew = 0;
  DWORD dwFlags = 0;
};

// NM_CLICK of a bar: dwItemSpec the command id (-1 off every button), pt in client coordinates.
struct NMMOUSE {
  NMHDR hdr;
  DWORD_PTR dwItemSpec = 0;
  DWORD_PTR dwItemData = 0;
  POINT pt{0, 0};
  LPARAM dwHitInfo = 0;
};

namespace ToolBar {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace ToolBar
