// The types and constants of the window layer: window procedures, messages, styles, show and
// position flags, hit-test codes, virtual keys, and the structures messages carry.
//
// Handles (HWND, HMENU, HHOOK, HCURSOR) are opaque values from checked tables: a stale handle
// makes a call fail (0 / FALSE), never crash.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using ATOM = WORD;
struct HMENU__;
using HMENU = HMENU__*;
struct HHOOK__;
using HHOOK = HHOOK__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
using HINSTANCE = void*;
using HGLOBAL = void*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using HOOKPROC = LRESULT (*)(int code, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT msg, UINT_PTR id, DWORD time);

constexpr WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr int GET_X_LPARAM(LPARAM lp) { return int(std::int16_t(lp & 0xFFFF)); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return int(std::int16_t((lp >> 16) & 0xFFFF)); }
constexpr LPARAM MAKELPARAM(int lo, int hi) { return LPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)); }
constexpr WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(MAKELPARAM(lo, hi)) & 0xFFFFFFFFu; }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return int(std::int16_t(HIWORD(w))); }
constexpr int WHEEL_DELTA = 120;

// ---- Messages ------------------------------------------------------------------------------
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
               WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
               WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
               WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
               WM_SYSCOLORCHANGE = 0x0015, WM_SHOWWINDOW = 0x0018, WM_SETTINGCHANGE = 0x001A, WM_ACTIVATEAPP = 0x001C,
               WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_MOUSEACTIVATE = 0x0021, WM_CHILDACTIVATE = 0x0022,
               WM_GETMINMAXINFO = 0x0024, WM_DRAWITEM = 0x002B, WM_MEASUREITEM = 0x002C, WM_DELETEITEM = 0x002D,
               WM_COMPAREITEM = 0x0039, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031, WM_WINDOWPOSCHANGING = 0x0046,
               WM_WINDOWPOSCHANGED = 0x0047, WM_CONTEXTMENU = 0x007B, WM_STYLECHANGING = 0x007C,
               WM_STYLECHANGED = 0x007D, WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083,
               WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
               WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONUP = 0x00A2, WM_NCLBUTTONDBLCLK = 0x00A3,
               WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5, WM_NCRBUTTONDBLCLK = 0x00A6,
               WM_NCMBUTTONDOWN = 0x00A7, WM_NCMBUTTONUP = 0x00A8, WM_NCMBUTTONDBLCLK = 0x00A9, WM_KEYDOWN = 0x0100,
               WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_DEADCHAR = 0x0103, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105,
               WM_SYSCHAR = 0x0106, WM_IME_CHAR = 0x0286, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112,
               WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_INITMENU = 0x0116,
               WM_INITMENUPOPUP = 0x0117, WM_MENUSELECT = 0x011F, WM_ENTERIDLE = 0x0121, WM_CTLCOLOREDIT = 0x0133,
               WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
               WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
               WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_PARENTNOTIFY = 0x0210,
               WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212, WM_CAPTURECHANGED = 0x0215, WM_MDICREATE = 0x0220,
               WM_MDIDESTROY = 0x0221, WM_MDIACTIVATE = 0x0222, WM_MDIRESTORE = 0x0223, WM_MDINEXT = 0x0224,
               WM_MDIMAXIMIZE = 0x0225, WM_MDITILE = 0x0226, WM_MDICASCADE = 0x0227, WM_MDIGETACTIVE = 0x0229,
               WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303,
               WM_UNDO = 0x0304, WM_USER = 0x0400, WM_APP = 0x8000;
constexpr UINT WM_MOUSEFIRST = WM_MOUSEMOVE, WM_MOUSELAST = WM_MOUSEWHEEL, WM_KEYFIRST = WM_KEYDOWN,
               WM_KEYLAST = 0x0109;

constexpr UINT WM_ENTERSIZEMOVE = 0x0231, WM_EXITSIZEMOVE = 0x0232;

// Controls talking to their parent: notifications, colours, dialog navigation.
constexpr UINT WM_NEXTDLGCTL = 0x0028, WM_NOTIFY = 0x004E, WM_CTLCOLORMSGBOX = 0x0132, WM_CTLCOLORLISTBOX = 0x0134,
               WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORDLG = 0x0136, WM_CTLCOLORSCROLLBAR = 0x0137,
               WM_CTLCOLORSTATIC = 0x0138;
// WM_GETDLGCODE answers: what keys a control wants and what kind of control it is.
constexpr LRESULT DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004, DLGC_WANTMESSAGE = 0x0004,
                  DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010, DLGC_UNDEFPUSHBUTTON = 0x0020,
                  DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080, DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000;
constexpr WPARAM SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060,
                 SC_RESTORE = 0xF120;
constexpr WPARAM WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
constexpr LRESULT MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4;
constexpr WPARAM SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// Mouse-message key flags (wParam).
constexpr WPARAM MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10;

// ---- Hit-test codes ------------------------------------------------------------------------
constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
                  HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTMINBUTTON = 8, HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11,
                  HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17,
                  HTBORDER = 18, HTCLOSE = 20;

// ---- Styles ----------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_MINIMIZE = 0x20000000,
                WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000, WS_CLIPSIBLINGS = 0x04000000,
                WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000, WS_MINIMIZEBOX = 0x00020000,
                WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x1, WS_EX_NOPARENTNOTIFY = 0x4, WS_EX_TOPMOST = 0x8, WS_EX_ACCEPTFILES = 0x10,
                WS_EX_TRANSPARENT = 0x20, WS_EX_MDICHILD = 0x40, WS_EX_TOOLWINDOW = 0x80, WS_EX_WINDOWEDGE = 0x100,
                WS_EX_CLIENTEDGE = 0x200, WS_EX_CONTROLPARENT = 0x10000, WS_EX_STATICEDGE = 0x20000,
                WS_EX_APPWINDOW = 0x40000, WS_EX_LAYERED = 0x80000, WS_EX_NOACTIVATE = 0x08000000;
constexpr UINT CS_VREDRAW = 0x1, CS_HREDRAW = 0x2, CS_DBLCLKS = 0x8, CS_OWNDC = 0x20, CS_PARENTDC = 0x80,
               CS_NOCLOSE = 0x200, CS_SAVEBITS = 0x800, CS_GLOBALCLASS = 0x4000, CS_DROPSHADOW = 0x20000;
constexpr int CW_USEDEFAULT = int(0x80000000);

// ---- Window longs ------------------------------------------------------------------------------
constexpr int GWL_WNDPROC = -4, GWLP_WNDPROC = -4, GWL_HINSTANCE = -6, GWLP_HINSTANCE = -6, GWL_HWNDPARENT = -8,
              GWLP_HWNDPARENT = -8, GWL_STYLE = -16, GWL_EXSTYLE = -20, GWL_USERDATA = -21, GWLP_USERDATA = -21,
              GWL_ID = -12, GWLP_ID = -12;
constexpr int GCL_STYLE = -26, GCLP_HBRBACKGROUND = -10, GCLP_HCURSOR = -12, GCLP_WNDPROC = -24;

// ---- Show and position -------------------------------------------------------------------------
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
              SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10;
constexpr UINT SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_NOREDRAW = 0x8, SWP_NOACTIVATE = 0x10,
               SWP_FRAMECHANGED = 0x20, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80, SWP_NOCOPYBITS = 0x100,
               SWP_NOOWNERZORDER = 0x200, SWP_NOSENDCHANGING = 0x400, SWP_DRAWFRAME = SWP_FRAMECHANGED;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(-3);
inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);

constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5;
constexpr UINT GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3;

// ---- Painting ----------------------------------------------------------------------------------
constexpr UINT RDW_INVALIDATE = 0x1, RDW_INTERNALPAINT = 0x2, RDW_ERASE = 0x4, RDW_VALIDATE = 0x8,
               RDW_NOINTERNALPAINT = 0x10, RDW_NOERASE = 0x20, RDW_NOCHILDREN = 0x40, RDW_ALLCHILDREN = 0x80,
               RDW_UPDATENOW = 0x100, RDW_ERASENOW = 0x200, RDW_FRAME = 0x400, RDW_NOFRAME = 0x800;
constexpr UINT SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4;
constexpr DWORD DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_CLIPCHILDREN = 0x8, DCX_CLIPSIBLINGS = 0x10,
                DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80;

// ---- Queue -------------------------------------------------------------------------------------
constexpr UINT PM_NOREMOVE = 0x0, PM_REMOVE = 0x1, PM_NOYIELD = 0x2;
constexpr DWORD QS_KEY = 0x1, QS_MOUSEMOVE = 0x2, QS_MOUSEBUTTON = 0x4, QS_POSTMESSAGE = 0x8, QS_TIMER = 0x10,
                QS_PAINT = 0x20, QS_SENDMESSAGE = 0x40, QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON,
                QS_INPUT = QS_MOUSE | QS_KEY, QS_ALLINPUT = 0xFF;

// ---- Hooks -------------------------------------------------------------------------------------
constexpr int WH_GETMESSAGE = 3, WH_CALLWNDPROC = 4, WH_MOUSE = 7, WH_CALLWNDPROCRET = 12;
constexpr int HC_ACTION = 0, HC_NOREMOVE = 3;

// ---- Mouse tracking ----------------------------------------------------------------------------
constexpr DWORD TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_NONCLIENT = 0x10, TME_QUERY = 0x40000000, TME_CANCEL = 0x80000000;

// ---- Virtual keys ------------------------------------------------------------------------------
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08, VK_TAB = 0x09,
              VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13,
              VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
              VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C,
              VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
              VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
              VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74,
              VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
              VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
              VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_PROCESSKEY = 0xE5;

// ---- System metrics ----------------------------------------------------------------------------
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4, SM_CXBORDER = 5,
              SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CXICON = 11,
              SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16,
              SM_CYFULLSCREEN = 17, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30,
              SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
              SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51,
              SM_CXMAXIMIZED = 61, SM_CYMAXIMIZED = 62, SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CXMENUCHECK = 71,
              SM_CYMENUCHECK = 72, SM_MOUSEWHEELPRESENT = 75, SM_CMONITORS = 80, SM_SWAPBUTTON = 23,
              SM_CXVIRTUALSCREEN = 78, SM_CYVIRTUALSCREEN = 79;
constexpr UINT SPI_GETWORKAREA = 0x30, SPI_GETWHEELSCROLLLINES = 0x68;
constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2,
                MONITORINFOF_PRIMARY = 1;

// ---- Structures --------------------------------------------------------------------------------
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

struct WNDCLASSEXA {
  UINT cbSize = sizeof(WNDCLASSEXA);
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;  // a brush or COLOR_xxx + 1
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
  HICON hIconSm = nullptr;
};
using WNDCLASSEX = WNDCLASSEXA;

struct CREATESTRUCTA {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0, cx = 0, y = 0, x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};
using CREATESTRUCT = CREATESTRUCTA;

struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
  POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
  BOOL fRestore = FALSE, fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};

struct CWPSTRUCT {
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = nullptr;
};

struct CWPRETSTRUCT {
  LRESULT lResult = 0;
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = nullptr;
};

struct MOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd = nullptr;
  UINT wHitTestCode = 0;
  UINT_PTR dwExtraInfo = 0;
};

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};

// WM_NOTIFY's lParam starts with this header.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags = 0;
};

namespace Windows {
// Sounds a system sound (MB_OK, MB_ICONHAND, ... or 0xFFFFFFFF for the simple beep) where the
// back end can; a control refusing input calls it. Always TRUE.
BOOL MessageBeep(UINT type);
}  // namespace Windows

// ---- Owner-drawn controls ------------------------------------------------------------------------
// A control asks its parent to measure (WM_MEASUREITEM), draw (WM_DRAWITEM), compare for sorting
// (WM_COMPAREITEM) and forget (WM_DELETEITEM) its items; wParam is the control's identifier.
constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5;
constexpr UINT ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10,
               ODS_DEFAULT = 0x20, ODS_NOACCEL = 0x100, ODS_NOFOCUSRECT = 0x200, ODS_COMBOBOXEDIT = 0x1000;

struct DRAWITEMSTRUCT {
  UINT CtlType = 0, CtlID = 0;
  UINT itemID = 0;  // -1 (as UINT) for an empty list's focus rectangle
  UINT itemAction = 0, itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem;
  UINT_PTR itemData = 0;
};

struct MEASUREITEMSTRUCT {
  UINT CtlType = 0, CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0, itemHeight = 0;
  UINT_PTR itemData = 0;
};

struct DELETEITEMSTRUCT {
  UINT CtlType = 0, CtlID = 0;
  UINT itemID = 0;
  HWND hwndItem = nullptr;
  UINT_PTR itemData = 0;
};

// Answered with -1, 0 or 1 as item 1 sorts before, with or after item 2 (itemID1 is -1 for an
// item being inserted).
struct COMPAREITEMSTRUCT {
  UINT CtlType = 0, CtlID = 0;
  HWND hwndItem = nullptr;
  UINT itemID1 = 0;
  UINT_PTR itemData1 = 0;
  UINT itemID2 = 0;
  UINT_PTR itemData2 = 0;
  DWORD dwLocaleId = 0;
};
