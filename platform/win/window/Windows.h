// Window classes and windows: registration, creation and destruction, parent, owner and
// z-order, position and show state, enabled state, text, window longs and properties.
//
// User-interface thread only. A call on a stale handle answers 0 / FALSE. CreateWindowEx
// answers null when the class is unknown, the parent is stale, or WM_NCCREATE / WM_CREATE
// refuse (FALSE / -1); a window refused by WM_CREATE is destroyed before the call returns.
#pragma once

#include <vector>

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

namespace Windows {

// 0 when the name is taken or missing. Names compare without regard to ASCII case.
ATOM RegisterClassEx(const WNDCLASSEXA* wc);
// FALSE when windows of the class still exist or the class is unknown.
BOOL UnregisterClass(const char* className, HINSTANCE instance);
BOOL GetClassInfoEx(HINSTANCE instance, const char* className, WNDCLASSEXA* out);
int GetClassName(HWND wnd, char* buffer, int maxCount);
LONG_PTR GetClassLongPtr(HWND wnd, int index);
LONG_PTR SetClassLongPtr(HWND wnd, int index, LONG_PTR value);

// `menu` is the child's identifier for a WS_CHILD window. x, y are in the parent's client
// coordinates for a child, screen coordinates otherwise; CW_USEDEFAULT places a top-level
// window at a cascading default.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Destroys the window, its owned windows and its children (WM_DESTROY parent first,
// WM_NCDESTROY children first). Safe to call from the window's own procedure.
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);

LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

HWND GetParent(HWND wnd);  // the parent of a child, the owner of a pop-up
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND wnd, UINT flags);
HWND GetWindow(HWND wnd, UINT cmd);
HWND GetTopWindow(HWND wnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND wnd);
// The direct children, topmost first.
std::vector<HWND> GetChildWindows(HWND parent);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND wnd);

BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND wnd);
// Answers whether the window was visible before.
BOOL ShowWindow(HWND wnd, int cmd);
BOOL IsWindowVisible(HWND wnd);
BOOL IsIconic(HWND wnd);
BOOL IsZoomed(HWND wnd);
BOOL EnableWindow(HWND wnd, BOOL enable);  // answers whether it was disabled before
BOOL IsWindowEnabled(HWND wnd);

BOOL GetWindowRect(HWND wnd, RECT* out);  // screen coordinates
BOOL GetClientRect(HWND wnd, RECT* out);  // (0, 0, width, height)
BOOL ClientToScreen(HWND wnd, POINT* pt);
BOOL ScreenToClient(HWND wnd, POINT* pt);
// Maps between two windows' client coordinates (null: the screen); answers the offset packed
// as MAKELPARAM(dx, dy).
int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count);
// The deepest visible, enabled-or-not window under a screen point (HTTRANSPARENT skipped).
HWND WindowFromPoint(POINT pt);
HWND ChildWindowFromPoint(HWND parent, POINT clientPt);

BOOL SetWindowText(HWND wnd, const char* text);
int GetWindowText(HWND wnd, char* buffer, int maxCount);
AnsiString GetWindowText(HWND wnd);
int GetWindowTextLength(HWND wnd);

LONG_PTR GetWindowLongPtr(HWND wnd, int index);
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING / WM_STYLECHANGED; GWL_WNDPROC subclasses.
LONG_PTR SetWindowLongPtr(HWND wnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLong(HWND wnd, int index) { return GetWindowLongPtr(wnd, index); }
inline LONG_PTR SetWindowLong(HWND wnd, int index, LONG_PTR v) { return SetWindowLongPtr(wnd, index, v); }

BOOL SetProp(HWND wnd, const char* name, HANDLE data);
HANDLE GetProp(HWND wnd, const char* name);
HANDLE RemoveProp(HWND wnd, const char* name);

// A region in window coordinates; the window takes it over (the caller must not delete it).
int SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw);
// Copies the window's region into `rgn`; ERROR when it has none.
int GetWindowRgn(HWND wnd, HRGN rgn);

}  // namespace Windows

namespace WindowList {
// Destroys every window and forgets every class but the system's (tests and shut-down).
void Reset();
// WindowFromPoint that also answers the window's WM_NCHITTEST code (sent once).
HWND HitTest(POINT screen, LRESULT* hit);
}  // namespace WindowList
