// Invalid regions and painting: InvalidateRect and its kin, WM_PAINT with BeginPaint /
// EndPaint and WM_ERASEBKGND, device contexts onto window pixels, ScrollWindowEx.
//
// Every top-level window paints into its own 32-bit pixel surface (the back end shows it). A
// window's DC is clipped to its visible part: its parents' client areas, the siblings above it
// with WS_CLIPSIBLINGS, its children when it has WS_CLIPCHILDREN, and its window region.
// Invalidating a window without WS_CLIPCHILDREN also invalidates the children it overlaps.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinUser.h"

namespace Windows {

// A null rectangle means the whole client area. Invalidating a hidden window does nothing.
BOOL InvalidateRect(HWND wnd, const RECT* r, BOOL erase);
BOOL InvalidateRgn(HWND wnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND wnd, const RECT* r);
BOOL ValidateRgn(HWND wnd, HRGN rgn);
BOOL GetUpdateRect(HWND wnd, RECT* out, BOOL erase);
int GetUpdateRgn(HWND wnd, HRGN rgn, BOOL erase);
// Sends WM_PAINT now to the window (and its children) when they are invalid.
BOOL UpdateWindow(HWND wnd);
BOOL RedrawWindow(HWND wnd, const RECT* r, HRGN rgn, UINT flags);

// Clears the invalid region; the DC is clipped to what was invalid. WM_ERASEBKGND is sent
// first when the invalidation asked for erasing.
HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps);
// A DC on the client area; GetWindowDC covers the whole window. Null for a null or stale
// window (the screen itself is not offered). Free with ReleaseDC. The DC's origin is the
// client's (or window's) top-left corner; where that lies left of or above the top-level
// window's surface, the difference sits in the viewport origin, so such a DC keeps relative
// viewport changes only.
HDC GetDC(HWND wnd);
// DCX_INTERSECTRGN / DCX_EXCLUDERGN take `clip` in the DC's own coordinates; the caller keeps
// it. DCX_CLIPCHILDREN clips the children whatever the window's style.
HDC GetDCEx(HWND wnd, HRGN clip, DWORD flags);
HDC GetWindowDC(HWND wnd);
int ReleaseDC(HWND wnd, HDC dc);

// Moves client pixels by (dx, dy) inside `scroll` (null: the client) clipped to `clip`, and
// invalidates what was uncovered (SW_INVALIDATE / SW_ERASE); SW_SCROLLCHILDREN moves the
// children too. Answers the kind of the uncovered region.
int ScrollWindowEx(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags);
BOOL ScrollWindow(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip);

}  // namespace Windows

namespace Painting {
// The pixels of a top-level window (B, G, R, X per pixel, rows of `width`); null for others.
struct Surface {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};
const Surface* SurfaceOf(HWND top);
// For the window layer.
void SurfaceResized(HWND top);
void SurfaceGone(HWND top);
// The window with the first pending WM_PAINT (parents before children, top-level windows from
// the top), or null.
HWND NextPaintWindow(HWND within);
// The visible part of a window in its top-level window's surface coordinates; caller owns it.
HRGN VisibleRegion(HWND wnd, bool clientOnly, bool clipChildren);
void Reset();
}  // namespace Painting
