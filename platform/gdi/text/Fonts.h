// Metrics and data of the font selected into a device context. Sizes are in logical units.
// Faces are matched through fontconfig: "宋体" and the other Chinese faces map to WenQuanYi Zen
// Hei; "Arial", "Tahoma" and "MS Sans Serif" to Liberation Sans; "Courier New" to Liberation
// Mono; "Times New Roman" to Liberation Serif.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

// Font types reported by the family listing.
constexpr DWORD RASTER_FONTTYPE = 1, DEVICE_FONTTYPE = 2, TRUETYPE_FONTTYPE = 4;

// One listed family as the listing callback sees it: the logical font that selects it, then
// its full name, style and script (CP936, zero-terminated).
struct ENUMLOGFONTEXA {
  LOGFONTA elfLogFont;
  char elfFullName[64] = {};
  char elfStyle[32] = {};
  char elfScript[32] = {};
};
// Answers 0 to stop the listing. `lf` points to an ENUMLOGFONTEXA.
using FONTENUMPROCA = int (*)(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD fontType, LPARAM data);

namespace Windows {

// Lists the installed font families (every one is scalable, so TRUETYPE_FONTTYPE), sorted by
// name. `lf->lfCharSet` DEFAULT_CHARSET lists each family once per character set it covers,
// another value only the families that cover that set; a non-empty `lf->lfFaceName` (case
// ignored) lists only that family. The classic faces "宋体", "Arial", "Tahoma", "Courier New",
// "Times New Roman" and "MS Sans Serif" are listed under their own names when their stand-in
// is installed. The metrics are those of the regular face at 16 pixels. `dc` may be null (the
// screen). Answers the last value `proc` returned, 0 when nothing was listed; a null `lf` or
// `proc` lists nothing.
int EnumFontFamiliesEx(HDC dc, const LOGFONTA* lf, FONTENUMPROCA proc, LPARAM data, DWORD flags = 0);

BOOL GetTextMetrics(HDC dc, TEXTMETRICA* out);
// With `out` null answers the size needed; otherwise fills the structure followed by the four
// name strings and answers the size written, or 0 when cb is too small or the font is not an
// outline font.
UINT GetOutlineTextMetrics(HDC dc, UINT cb, OUTLINETEXTMETRICA* out);
// Advance widths of the characters first..last. Codes above 0xFF are double-byte CP936 codes
// (lead byte high) in the A form and UTF-16 code units in the W form.
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths);
inline BOOL GetCharWidth(HDC dc, UINT first, UINT last, int* widths) { return GetCharWidth32(dc, first, last, widths); }
BOOL GetCharABCWidths(HDC dc, UINT first, UINT last, ABC* out);
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* out);
// The sfnt table with that tag (byte order as in the file, e.g. 'glyf' is 0x66796C67; 0 is the
// whole font, standalone also for a face inside a collection), from `offset`. With `buffer`
// null answers the size. GDI_ERROR when the table is missing or offset is past its end.
DWORD GetFontData(HDC dc, DWORD table, DWORD offset, void* buffer, DWORD size);
// Copies the face name (CP936, zero-terminated, at most count - 1 bytes); answers its length.
int GetTextFace(HDC dc, int count, char* out);

// Builds a four-character table tag as GetFontData takes it.
constexpr DWORD MakeTableTag(char a, char b, char c, char d)
{
  return DWORD(BYTE(a)) | (DWORD(BYTE(b)) << 8) | (DWORD(BYTE(c)) << 16) | (DWORD(BYTE(d)) << 24);
}

}  // namespace Windows
