// Pens, brushes and fonts, stock objects, and the calls common to every object handle.
//
// Every creating call answers a new handle that the caller owns and frees with DeleteObject;
// stock objects are never freed (DeleteObject on one answers TRUE and does nothing). A null,
// stale or foreign handle makes a call answer 0 / FALSE.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& lp);
// Geometric pens take the end cap and join bits; the brush's colour is the pen's colour.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& lb);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// An 8x8 (or larger) tile; a monochrome bitmap draws in the text and background colours.
// The bitmap is copied: the caller may delete it afterwards.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH& lb);
HFONT CreateFontIndirect(const LOGFONTA& lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const char* faceName);

HGDIOBJ GetStockObject(int index);
// FALSE for an invalid handle or an object that is selected into a device context.
BOOL DeleteObject(HGDIOBJ obj);
// OBJ_PEN, OBJ_BRUSH, ...; 0 for an invalid handle.
DWORD GetObjectType(HGDIOBJ obj);

// The description of an object; 0 when the handle is not of that kind.
int GetObject(HPEN pen, LOGPEN* out);
int GetObject(HBRUSH brush, LOGBRUSH* out);
int GetObject(HFONT font, LOGFONTA* out);
int GetObject(HBITMAP bitmap, BITMAP* out);

}  // namespace Windows
