// Bitmaps: device-dependent ones (32-bit colour or monochrome), DIB sections whose pixels the
// caller can reach, and conversion to and from device-independent rows (GetDIBits/SetDIBits).
// The caller owns every bitmap it creates and frees it with DeleteObject (not while selected).
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

// bitsPerPixel 1 makes a monochrome bitmap (rows of bits, 16-bit aligned, 1 = white); any other
// count makes a 32-bit one whose optional initial rows are 32-bit pixels. Null for a size <= 0.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// Monochrome when the DC holds a monochrome bitmap (a fresh memory DC does), else 32-bit; a
// null DC means the screen. Pixels start black.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A 32-bit DIB section (bottom-up for a positive height); *bits receives its memory, which
// lives as long as the bitmap. Other bit counts answer null.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset);
// With bits null and biBitCount 0: fills the header (size, 32 bits) and answers the height.
// Otherwise writes `lines` rows from DIB scan line `start` in the format of the header
// (1, 24 or 32 bits; 1 bit with a black and white colour table). Answers the rows written, 0
// on error.
int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage);
// Reads rows of 1, 4, 8 (with colour table), 16 (5-5-5), 24 or 32 bits. Answers the rows set.
int SetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage);
// Draws DIB rows scaled into the destination rectangle with a raster operation.
int StretchDIBits(HDC dc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);

}  // namespace Windows
