// The editors' own text layout: a CP936 text broken into rows (at line breaks, at break
// characters, inside words), aligned horizontally (left, centre, right, justified, distributed)
// and vertically (top, centre, bottom, spread), with tabs, an end ellipsis, a row limit,
// measuring, and a selected part painted in selection colours.
//
// Works on a device context with its selected font. A double-byte character is one character:
// rows never split it, and every row starts on a character boundary. Widths come from the
// drawing layer's measuring of byte runs, so they map back to byte offsets exactly.
//
// Call flow: cxTextOut -> PrepareTextParams -> MakeTextRows (MakeTextRow per row) ->
// SetRowPositions -> DrawTextRows. A text editor keeps a TcxTextOutData from PrepareTextOutData
// and draws it with TextOutPrepared, so a repaint does not break the text again.
#pragma once

#include <vector>

#include "platform/forms/graphics/Colors.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"

class TCanvas;
class TcxCanvas;

namespace cxEditTextUtils {

constexpr int etfAlignLeft = 0, etfAlignCenter = 1, etfAlignRight = 2, etfAlignJustify = 3, etfAlignDistribute = 4;
constexpr int etfAlignTop = 0x00, etfAlignVCenter = 0x10, etfAlignBottom = 0x20, etfAlignVDistribute = 0x30;
constexpr int etfKeepLeft = 0x40, etfKeepTop = 0x80, etfWordBreak = 0x100, etfSingleLine = 0x200, etfExpandTabs = 0x400,
              etfEndEllipsis = 0x800, etfExternalLeading = 0x2000, etfWholeRowsOnly = 0x4000, etfNoClip = 0x8000,
              etfReserved10000 = 0x10000, etfCharBreak = 0x20000, etfCalcRect = 0x100000, etfReturnRowCount = 0x200000;

struct TcxTextParams {
  int RowHeight = 0;
  int ExternalLeading = 0;
  int RowDistance = 0;  // RowHeight + ExternalLeading; vertical distribution may enlarge it
  int EllipsisWidth = 0;
  BYTE BreakChar = ' ';
  BYTE HorzAlign = 0, VertAlign = 0;
  bool WordBreak = false, SingleLine = false, ExpandTabs = false, EndEllipsis = false, ExternalLeadingFlag = false,
       WholeRowsOnly = false, NoClip = false, Reserved10000 = false, KeepLeft = false, KeepTop = false,
       CharBreak = false, ReturnRowCount = false, CalcRect = false;
  int MaxCharWidth = 0;
  int ExtraPixels = 0;  // left over by the vertical distribution, one per row from the top
};

struct TcxTextRow {
  const char* Text = nullptr;  // the row's first byte, inside the laid-out text
  int TextLength = 0;          // bytes
  int TextExtentX = 0, TextExtentY = 0;
  int BreakCount = 0;  // break characters and tabs, for justification
  int TextOriginX = 0, TextOriginY = 0;
  int StartOffset = 0;  // byte offset in the whole text
};

using TcxTextRows = std::vector<TcxTextRow>;

// A prepared layout. Its rows point into the text it was prepared from: draw it with that text.
struct TcxTextOutData {
  bool ForceEndEllipsis = false;
  bool Initialized = false;
  int RowCount = 0;
  int SelStart = 0, SelLength = 0;
  TColor SelBkColor = clHighlight, SelTextColor = clHighlightText;
  TcxTextParams TextParams;
  RECT TextRect{};
  TcxTextRows TextRows;
  int Flags = 0;
};

// The system locale is Chinese: breaking inside words is always on.
bool IsFarEastLocale();

void PrepareTextParams(HDC DC, int Flags, TcxTextParams& Params);
void PrepareTextParamsForCanvas(TCanvas* Canvas, int Flags, TcxTextParams& Params);
// Breaks the text into rows for R; true when all of it fitted. The rows point into Text.
bool MakeTextRows(HDC DC, const char* Text, int Length, const RECT& R, int MaxLineCount, int& RowCount,
                  TcxTextRows& Rows, const TcxTextParams& Params);
bool MakeTextRowsForCanvas(TCanvas* Canvas, const char* Text, int Length, const RECT& R, int MaxLineCount,
                           int& RowCount, TcxTextRows& Rows, const TcxTextParams& Params);
void SetRowPositions(HDC DC, const RECT& R, TcxTextParams& Params, int RowCount, TcxTextRows& Rows);
void DrawTextRows(HDC DC, const RECT& R, const TcxTextParams& Params, bool ForceEndEllipsis, TColor SelTextColor,
                  TColor SelBkColor, int SelLength, int SelStart, int RowCount, const TcxTextRows& Rows);
int GetMaxRowWidth(const TcxTextRows& Rows, int Count);
// Tabbed extent (with ExpandTabs) or plain extent.
void GetTextSize(HDC DC, const char* Text, int Length, SIZE& Size, bool ExpandTabs);
// A copy of the current clip region (null when none) that the caller hands to
// RestoreClipRegion; the clip is intersected with R.
HRGN IntersectClipRectEx(HDC DC, const RECT& R);
// Selects the saved region back (null removes clipping) and frees it.
void RestoreClipRegion(HDC DC, HRGN& Region);

void PrepareTextOutData(TcxCanvas* Canvas, const AnsiString& Text, TcxTextOutData& Data, int Flags, const RECT& R,
                        int LeftIndent = 0, int RightIndent = 0, int MaxLineCount = 0, int SelStart = 0,
                        int SelLength = 0, TColor SelBkColor = clHighlight, TColor SelTextColor = clHighlightText);
// Prepares Data when it is not initialized yet, then draws its rows. Text must be the text the
// data was prepared from.
void TextOutPrepared(TcxCanvas* Canvas, const AnsiString& Text, TcxTextOutData& Data, int Flags, const RECT& R,
                     int LeftIndent = 0, int RightIndent = 0, int MaxLineCount = 0, int SelStart = 0, int SelLength = 0,
                     TColor SelBkColor = clHighlight, TColor SelTextColor = clHighlightText);

}  // namespace cxEditTextUtils

// The engine's entry: draws (or with etfCalcRect measures, resizing R) and answers the block's
// height, or its row count with etfReturnRowCount; 0 for an empty text or rectangle.
int cxTextOut(TcxCanvas* Canvas, const AnsiString& Text, RECT& R, int Flags, int SelStart, int SelLength,
              TColor SelBkColor, TColor SelTextColor, int MaxLineCount = 0, int LeftIndent = 0, int RightIndent = 0);
int cxTextOut(TcxCanvas* Canvas, const AnsiString& Text, RECT& R, int Flags, int MaxLineCount = 0, int LeftIndent = 0,
              int RightIndent = 0);
// The same on a bare device context (fuzzing, benchmarks).
int cxTextOut(HDC DC, const char* Text, int Length, RECT& R, int Flags, int SelStart, int SelLength, TColor SelBkColor,
              TColor SelTextColor, int MaxLineCount = 0, int LeftIndent = 0, int RightIndent = 0);
