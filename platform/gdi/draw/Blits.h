// Block transfers with raster operations. Any ternary raster operation works; the named ones
// are the common cases. A monochrome source drawn on colour takes the destination's text colour
// for black and its background colour for white; a colour source drawn on monochrome turns its
// DC's background colour white and everything else black. Stretching picks the nearest pixel.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
// Negative sizes mirror.
BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);
// Copies every source pixel except those of the transparent colour.
BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent);

}  // namespace Windows
