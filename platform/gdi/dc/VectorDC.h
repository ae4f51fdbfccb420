// Device contexts on PDF and PostScript files, the surface the printer layer prints through.
// Drawing goes through the same calls as on bitmaps; pages are framed by StartPage/EndPage.
// Inverting raster operations (R2_NOT, R2_XORPEN, DSTINVERT, PATINVERT...) have no effect on
// these surfaces, and pixels cannot be read back (GetPixel answers CLR_INVALID).
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

enum class TVectorFormat { Pdf, PostScript };

// A DC whose pages are widthPx x heightPx device pixels at `dpi` dots per inch, written to
// `fileName` (CP936). Null when the file cannot be created. The caller frees it with DeleteDC,
// which finishes the file when EndDoc was not called.
HDC CreateVectorDC(const char* fileName, TVectorFormat format, int widthPx, int heightPx, int dpi);

// Makes only part of each page drawable, as a printer's unprintable margins do: device (0, 0)
// becomes (left, top) of the page, and GetDeviceCaps answers the area as HORZRES/VERTRES and
// its corner as PHYSICALOFFSETX/Y (PHYSICALWIDTH/HEIGHT stay the page). Drawing outside the
// area is clipped. FALSE when the area does not lie on the page or dc is not a vector DC.
BOOL SetPrintableArea(HDC dc, int left, int top, int width, int height);

struct DOCINFOA {
  int cbSize = sizeof(DOCINFOA);
  const char* lpszDocName = nullptr;
  const char* lpszOutput = nullptr;
  const char* lpszDatatype = nullptr;
  DWORD fwType = 0;
};
// StartDoc answers a positive job number; the others answer > 0 on success. A page is written
// by EndPage; EndDoc finishes the file; AbortDoc finishes it as it stands.
int StartDoc(HDC dc, const DOCINFOA* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);

}  // namespace Windows
