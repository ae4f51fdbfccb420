// Formatted text in a rectangle with the DT_ flags: word break (also between Chinese
// characters, and inside a word longer than the line unless an ellipsis flag is set), single
// line with vertical centring or bottom alignment, end, word and path ellipsis, measuring with
// DT_CALCRECT, "&" prefixes, tab expansion, external leading, DT_EDITCONTROL's hiding of a
// partial last line, and clipping to the rectangle unless DT_NOCLIP.
//
// Answers the text height in logical units (for DT_VCENTER or DT_BOTTOM: from the rectangle's
// top to the text's bottom), 0 on error. An empty text counts as one line when measured.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace Windows {

int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format);
// With DT_MODIFYSTRING (and a writable text with room for 4 more bytes) the text shown with
// its ellipsis is copied back into `text`.
int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
int DrawTextExW(HDC dc, char16_t* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);

}  // namespace Windows
