// The drawing operators of one exported view on a PDF page: memos as fills, frame lines and
// text lines, lines and rectangles as paths, every other view (pictures, barcodes, other shapes,
// rotated or hatched memos) drawn into a bitmap and embedded as an inline JPEG image.
//
// Coordinates: report pixels at 96 per inch; X(v) = v x 0.75 + MarginLeft and
// Y(v) = Height - (v x 0.75 + MarginTop) in points. Numbers are written with four decimals and
// a point. Lines of single-byte text use the page's TrueType fonts; lines holding double-byte
// characters a Type0 font of the face that draws them (see frxPDFFont.h).
#pragma once

#include "platform/forms/graphics/Font.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/pdf/frxPDFFile.h"
#include "report/engine/text/frxGraphicUtils.h"

class TfrxPDFFont;

namespace frxPDFPageContent {

// Appends the operators for View to Page's content. A memo may take its highlight's font and
// colour.
void AddObject(TfrxPDFPage* Page, TfrxView* View);

// The file's font for single-byte text in Font (name, style and character set), added when new.
TfrxPDFFont* AddFont(TfrxPDFFile* File, const TFont* Font);
// The file's Type0 font for Text in Font, over the face that draws Text, added when new.
TfrxPDFFont* AddCIDFont(TfrxPDFFile* File, const TFont* Font, const AnsiString& Text);

// Backslashes and parentheses escaped, characters 1 deleted, one final CR LF removed.
AnsiString EscapeText(const AnsiString& Text);
// "r g b rg" (fill) or "r g b RG" (stroke), two significant digits each; clNone is white.
AnsiString ColorToPDF(TColor Color, bool Stroke);
// A number with four decimals and a point.
AnsiString Num(Extended Value);
// The width in pixels of Text in Font as the text layout measures it (at 600 dpi).
Extended TextWidth(const TFont* Font, const AnsiString& Text);
Extended TextLeft(Extended TextWidth, TfrxHAlign HAlign, Extended AreaWidth, Extended AreaLeft);
// The baseline of line LineIndex (0-based) of LineCount lines LineHeight apart.
Extended TextTop(TfrxVAlign VAlign, Integer LineCount, Integer LineIndex, Extended AreaHeight, Extended AreaTop,
                 Extended LineHeight);

}  // namespace frxPDFPageContent
