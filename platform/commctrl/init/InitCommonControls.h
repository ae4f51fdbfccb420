// Registering the common controls, and how they tell their parent: WM_NOTIFY with a structure
// that starts with NMHDR (window, id, code), wParam the id.
#pragma once

#include <functional>

#include "platform/win/WinUser.h"

constexpr DWORD ICC_LISTVIEW_CLASSES = 0x1, ICC_TREEVIEW_CLASSES = 0x2, ICC_BAR_CLASSES = 0x4, ICC_TAB_CLASSES = 0x8,
                ICC_UPDOWN_CLASS = 0x10, ICC_PROGRESS_CLASS = 0x20, ICC_HOTKEY_CLASS = 0x40, ICC_ANIMATE_CLASS = 0x80,
                ICC_WIN95_CLASSES = 0xFF, ICC_DATE_CLASSES = 0x100, ICC_USEREX_CLASSES = 0x200,
                ICC_COOL_CLASSES = 0x400, ICC_STANDARD_CLASSES = 0x4000;

struct INITCOMMONCONTROLSEX {
  DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
  DWORD dwICC = 0;
};

// A colour of none (transparent), and "the default" (the control's or list's own colour).
constexpr COLORREF CLR_NONE = 0xFFFFFFFF, CLR_DEFAULT = 0xFF000000;

// A text or an image a control asks its parent for each time it needs it.
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(LONG_PTR(-1));
constexpr int I_IMAGECALLBACK = -1;

// Common control messages every class answers.
constexpr UINT CCM_FIRST = 0x2000, CCM_SETBKCOLOR = CCM_FIRST + 1;
// Placement styles of the bars.
constexpr DWORD CCS_TOP = 0x1, CCS_NOMOVEY = 0x2, CCS_BOTTOM = 0x3, CCS_NORESIZE = 0x4, CCS_NOPARENTALIGN = 0x8,
                CCS_NODIVIDER = 0x40;
// Notification codes every control sends.
constexpr UINT NM_FIRST = 0, NM_CLICK = NM_FIRST - 2, NM_DBLCLK = NM_FIRST - 3, NM_RETURN = NM_FIRST - 4,
               NM_RCLICK = NM_FIRST - 5, NM_RDBLCLK = NM_FIRST - 6, NM_SETFOCUS = NM_FIRST - 7,
               NM_KILLFOCUS = NM_FIRST - 8;

namespace Windows {
// Registers every common control class (and the standard classes they use). Idempotent: a
// class already registered stays as it is.
void InitCommonControls();
// The same for the groups named in dwICC (the present classes register together). FALSE for
// a null structure or a wrong dwSize.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);
}  // namespace Windows

namespace CommonControls {
// Fills the header of `hdr` (this control, its id, `code`) and sends WM_NOTIFY to the parent;
// answers the parent's answer (0 without a parent).
LRESULT SendNotify(HWND ctl, NMHDR* hdr, UINT code);
// Registers a control class (double clicks, redrawn when resized, one pointer of window data
// for its state, the arrow cursor) unless a class of that name is there already.
void RegisterControlClass(const char* name, WNDPROC proc);
// WM_PAINT: runs `paint` on the DC in wParam when one is given, else between BeginPaint and
// EndPaint.
void Paint(HWND wnd, WPARAM wParam, const std::function<void(HDC)>& paint);
// Fills a rectangle with a colour.
void FillSolid(HDC dc, RECT r, COLORREF c);
}  // namespace CommonControls
