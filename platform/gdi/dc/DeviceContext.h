// Device contexts: creation on memory bitmaps and on caller-owned pixel buffers, the drawing
// state (selected objects, colours, modes, coordinate mapping, clipping) and SaveDC/RestoreDC.
//
// A memory DC starts with a 1x1 monochrome bitmap selected (as GDI's do); select a bitmap made
// by CreateCompatibleBitmap(0, ...) or CreateDIBSection to draw in colour. Logical coordinates
// map to device pixels through the window and viewport origins and extents. Calls on an invalid
// DC answer 0 / FALSE / CLR_INVALID. The handle table may be used from any thread, but a DC and
// the objects selected into it are used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/WinTypes.h"

namespace Windows {

// A memory DC compatible with the screen (`dc` null) or with another DC. The caller owns it and
// frees it with DeleteDC.
HDC CreateCompatibleDC(HDC dc);
// A DC drawing into 32-bit pixels (B, G, R, X bytes) that the caller owns and keeps alive for
// the DC's lifetime; `stride` in bytes. The window layer paints windows through these.
HDC CreateBufferDC(void* pixels, int width, int height, std::ptrdiff_t stride);
BOOL DeleteDC(HDC dc);

// Answers the previously selected object. For a region it answers the region kind (as GDI
// does), and the region is copied into the clip. Null for an invalid object or DC.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT objType);

// Answers the new save level (>= 1), or 0. RestoreDC(-1) restores the last saved state; a
// positive level restores that state and drops the later ones.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);

COLORREF SetTextColor(HDC dc, COLORREF c);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF c);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetArcDirection(HDC dc, int dir);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
// Spreads `breakExtra` pixels over the next `breakCount` break characters of the text output.
BOOL SetTextJustification(HDC dc, int breakExtra, int breakCount);
COLORREF SetDCBrushColor(HDC dc, COLORREF c);
COLORREF SetDCPenColor(HDC dc, COLORREF c);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* out);
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* out);

// ---- Coordinate mapping --------------------------------------------------------------------
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* out);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* out);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
// Extents are taken in MM_ISOTROPIC and MM_ANISOTROPIC only (TRUE and ignored otherwise).
BOOL SetWindowExtEx(HDC dc, int cx, int cy, SIZE* old);
BOOL GetWindowExtEx(HDC dc, SIZE* out);
BOOL SetViewportExtEx(HDC dc, int cx, int cy, SIZE* old);
BOOL GetViewportExtEx(HDC dc, SIZE* out);
BOOL LPtoDP(HDC dc, POINT* pts, int count);
BOOL DPtoLP(HDC dc, POINT* pts, int count);

// ---- Clipping (regions in device coordinates, rectangles in logical ones) ------------------
// The region is copied; null removes clipping. Answers the new clip's kind or ERROR.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int OffsetClipRgn(HDC dc, int dx, int dy);
// 1 and a copy in `rgn` when the DC has a clip region, 0 when it has none, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
// The bounds of the visible part in logical coordinates; answers the region kind.
int GetClipBox(HDC dc, RECT* out);
BOOL RectVisible(HDC dc, const RECT* r);
BOOL PtVisible(HDC dc, int x, int y);

// For the window layer: the part of the surface the DC may paint at all (a window's visible
// region, device coordinates), kept apart from the clip programs set, untouched by SaveDC,
// RestoreDC and SelectClipRgn(null). The region is copied; null removes the limit.
int SetSystemClipRgn(HDC dc, HRGN rgn);

// ---- Device ----------------------------------------------------------------------------------
int GetDeviceCaps(HDC dc, int index);
// The colour the device shows for `c`: itself on a colour surface, black or white on a
// monochrome one.
COLORREF GetNearestColor(HDC dc, COLORREF c);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF c);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF c);

}  // namespace Windows
