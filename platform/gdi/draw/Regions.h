// Regions: sets of pixels built from rectangles, ellipses and polygons and combined with the
// RGN_ modes. The caller owns every region it creates and frees it with DeleteObject.
// Calls on an invalid region answer ERROR (0) / FALSE. Elliptic, round and polygonal regions
// taller than 2^20 pixels are refused (null).
#pragma once

#include <vector>

#include "platform/gdi/WinTypes.h"

namespace Windows {

HRGN CreateRectRgn(int l, int t, int r, int b);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h);
HRGN CreateEllipticRgn(int l, int t, int r, int b);
HRGN CreateEllipticRgnIndirect(const RECT* r);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polyCount, int fillMode);
BOOL SetRectRgn(HRGN rgn, int l, int t, int r, int b);
// dest = src1 op src2 (RGN_COPY takes src1 only); dest may be one of the sources. Answers the
// kind of the result or ERROR.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
// The bounds (empty for an empty region); answers the kind.
int GetRgnBox(HRGN rgn, RECT* out);
BOOL EqualRgn(HRGN a, HRGN b);
// The region as disjoint rectangles, top to bottom (empty for an invalid region).
std::vector<RECT> GetRegionRects(HRGN rgn);

}  // namespace Windows
