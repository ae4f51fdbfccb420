// Lines, rectangles, ellipses, arcs, polygons and region painting with the selected pen and
// brush. Shapes are not anti-aliased and land on GDI's pixels: a line excludes its end point;
// Rectangle(l, t, r, b) covers l..r-1 and t..b-1; an ellipse touches the same outermost pixels.
// FillRect, FrameRect and FillRgn take a brush handle or a system colour index + 1.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* pts, int count);
BOOL PolylineTo(HDC dc, const POINT* pts, int count);
BOOL Polygon(HDC dc, const POINT* pts, int count);
BOOL PolyPolygon(HDC dc, const POINT* pts, const int* counts, int polyCount);
BOOL Rectangle(HDC dc, int l, int t, int r, int b);
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h);
BOOL Ellipse(HDC dc, int l, int t, int r, int b);
// Counter-clockwise (by default) from the ray through (xs, ys) to the ray through (xe, ye).
BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye);
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye);
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye);

int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* r);
// Regions here are in logical coordinates.
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h);
BOOL PaintRgn(HDC dc, HRGN rgn);
BOOL InvertRgn(HDC dc, HRGN rgn);

}  // namespace Windows
