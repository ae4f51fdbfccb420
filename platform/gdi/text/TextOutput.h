// Text output and measuring in the selected font. The A forms take CP936 bytes (a count of -1
// means zero-terminated), the W forms UTF-16. Positions and sizes are logical units.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

BOOL TextOut(HDC dc, int x, int y, const char* text, int count);
BOOL TextOutW(HDC dc, int x, int y, const char16_t* text, int count);
// `dx` (optional) gives each byte's (A) or code unit's (W) advance; a double-byte character
// advances by the sum of its two entries. ETO_OPAQUE fills `rect` with the background colour,
// ETO_CLIPPED clips to it.
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int count, const int* dx);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count, const int* dx);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size);
BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int count, SIZE* size);
// The older name; the same measure.
inline BOOL GetTextExtentPoint(HDC dc, const char* text, int count, SIZE* size)
{
  return GetTextExtentPoint32(dc, text, count, size);
}
// `fit` (optional) receives how many bytes (A) / units (W) fit into maxExtent without splitting
// a character; `dx` (optional) the extent after each byte / unit.
BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
BOOL GetTextExtentExPointW(HDC dc, const char16_t* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
// Tabs stop at the given positions (relative to tabOrigin); with none, every eight average
// character widths; with one, at multiples of it. Answers height << 16 | width.
LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int tabCount, const int* tabs, int tabOrigin);
DWORD GetTabbedTextExtent(HDC dc, const char* text, int count, int tabCount, const int* tabs);

}  // namespace Windows
