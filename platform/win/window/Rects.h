// Rectangle helpers. A rectangle is empty when its right is not past its left or its bottom
// not below its top; the right and bottom edges are outside it.
#pragma once

#include "platform/win/WinUser.h"

namespace Windows {

BOOL SetRect(RECT* r, int l, int t, int rr, int b);
BOOL SetRectEmpty(RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* r);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* r, POINT p);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
// An empty (0, 0, 0, 0) result answers FALSE. `dst` may be one of the sources.
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);

}  // namespace Windows
