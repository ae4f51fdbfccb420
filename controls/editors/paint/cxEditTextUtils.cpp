// Sections: parameters; breaking one row; breaking the text; positions; drawing; entry points.
#include "controls/editors/paint/cxEditTextUtils.h"

#include <algorithm>
#include <cstring>

#include "controls/framework/cxGraphics.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"

namespace cxEditTextUtils {

namespace {

constexpr char kEllipsis[] = "...";
constexpr int kEllipsisLength = 3;

inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// The byte length of the character at P (of N bytes left): a lead byte at the very end is one.
inline int CharLen(const char* P, int N) { return (N > 1 && IsLead(static_cast<unsigned char>(*P))) ? 2 : 1; }
// Moves Offset (within Text of Length) back to the start of the character holding it.
int CharStart(const char* Text, int Length, int Offset)
{
  int i = 0;
  while (i < Length) {
    const int cl = CharLen(Text + i, Length - i);
    if (i + cl > Offset) return i;
    i += cl;
  }
  return Length;
}

inline bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
inline bool Justified(const TcxTextParams& P)
{
  return P.HorzAlign == etfAlignJustify || P.HorzAlign == etfAlignDistribute;
}

int Width(HDC DC, const char* Text, int Length, bool ExpandTabs)
{
  if (Length <= 0) return 0;
  SIZE s{};
  GetTextSize(DC, Text, Length, s, ExpandTabs);
  return s.cx;
}

// Running widths of a row: the extent of its first n bytes. Plain text is measured in one call
// per stretch (the drawing layer answers the extent after every byte); a row holding a tab,
// when tabs expand, is measured whole each time.
class TRowMeter {
public:
  TRowMeter(HDC ADC, const char* AText, int ALength, bool AExpandTabs)
      : FDC(ADC), FText(AText), FLength(ALength), FExpandTabs(AExpandTabs)
  {}
  int Extent(int N)
  {
    if (FExpandTabs && !FHasTab && std::memchr(FText, '\t', std::size_t(N))) FHasTab = true;
    if (FHasTab) return Width(FDC, FText, N, true);
    if (N > int(FExtents.size())) Grow(N);
    return FExtents[N - 1];
  }

private:
  void Grow(int N)
  {
    // Measure to the end of the paragraph (or at least twice what is known) at once.
    int want = std::max(N, std::min(FLength, std::max(64, int(FExtents.size()) * 2)));
    const char* lb = static_cast<const char*>(std::memchr(FText + N, '\n', std::size_t(FLength - N)));
    if (lb && lb - FText < want) want = std::max(N, int(lb - FText));
    FExtents.resize(std::size_t(want));
    SIZE s{};
    Windows::GetTextExtentExPoint(FDC, FText, want, 0, nullptr, FExtents.data(), &s);
  }
  HDC FDC;
  const char* FText;
  int FLength;
  bool FExpandTabs;
  bool FHasTab = false;
  std::vector<int> FExtents;
};

}  // namespace

bool IsFarEastLocale()
{
  // The platform's locale is Chinese (PRC), a double-byte code page.
  return true;
}

// ==== Parameters ==============================================================================

void PrepareTextParams(HDC DC, int Flags, TcxTextParams& Params)
{
  Params = TcxTextParams{};
  TEXTMETRICA tm{};
  Windows::GetTextMetrics(DC, &tm);
  Params.HorzAlign = BYTE(Flags & 7);
  Params.VertAlign = BYTE((Flags >> 4) & 3);
  Params.WordBreak = Flags & etfWordBreak;
  Params.SingleLine = Flags & etfSingleLine;
  Params.ExpandTabs = Flags & etfExpandTabs;
  Params.EndEllipsis = Flags & etfEndEllipsis;
  Params.ExternalLeadingFlag = Flags & etfExternalLeading;
  Params.WholeRowsOnly = Flags & etfWholeRowsOnly;
  Params.NoClip = Flags & etfNoClip;
  Params.Reserved10000 = Flags & etfReserved10000;
  Params.KeepLeft = Flags & etfKeepLeft;
  Params.KeepTop = Flags & etfKeepTop;
  Params.CharBreak = (Flags & etfCharBreak) || IsFarEastLocale();
  Params.ReturnRowCount = Flags & etfReturnRowCount;
  Params.CalcRect = Flags & etfCalcRect;
  Params.RowHeight = tm.tmHeight;
  Params.ExternalLeading = Params.ExternalLeadingFlag ? tm.tmExternalLeading : 0;
  Params.RowDistance = Params.RowHeight + Params.ExternalLeading;
  Params.EllipsisWidth = Params.EndEllipsis ? Width(DC, kEllipsis, kEllipsisLength, false) : 0;
  Params.BreakChar = tm.tmBreakChar ? tm.tmBreakChar : BYTE(' ');
  Params.MaxCharWidth = tm.tmMaxCharWidth;
}

namespace {

// Selects the canvas's font into its context for a scope and puts back what was there.
class TFontSelection {
public:
  explicit TFontSelection(TCanvas* C) : FDC(C->GetHandle())
  {
    FOld = Windows::SelectObject(FDC, C->GetFont()->GetHandle());
  }
  ~TFontSelection()
  {
    if (FOld) Windows::SelectObject(FDC, FOld);
  }
  TFontSelection(const TFontSelection&) = delete;
  TFontSelection& operator=(const TFontSelection&) = delete;
  HDC DC() const { return FDC; }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

void PrepareTextParamsForCanvas(TCanvas* Canvas, int Flags, TcxTextParams& Params)
{
  TFontSelection font(Canvas);
  PrepareTextParams(font.DC(), Flags, Params);
}

// ==== Breaking one row ========================================================================

namespace {

// Fills Row from P (N bytes left) and answers the bytes consumed, line break included.
int MakeTextRow(HDC DC, const char* P, int N, bool IsLast, int W, const TcxTextParams& Params, TcxTextRow& Row)
{
  Row = TcxTextRow{};
  Row.Text = P;
  if (N <= 0) return 0;
  const bool wrap = !Params.SingleLine && (Params.WordBreak || Justified(Params));
  const bool charBreak = wrap && Params.CharBreak;
  const bool cut = IsLast && Params.EndEllipsis && !Params.WholeRowsOnly && !Params.NoClip && !Justified(Params);
  const bool measure = wrap || cut || Params.SingleLine;
  const char breakChar = char(Params.BreakChar);
  TRowMeter meter(DC, P, N, Params.ExpandTabs);
  int i = 0, length = -1, breaks = 0;
  int lastBreak = -1, breaksAtLastBreak = 0;
  bool endedByLineBreak = false;
  while (i < N) {
    const char c = P[i];
    const int cl = CharLen(P + i, N - i);
    if (IsLineBreak(c) && !cut && !Params.SingleLine) {
      length = i;
      endedByLineBreak = true;
      break;
    }
    if (c == breakChar || c == '\t') {
      ++breaks;
      lastBreak = i + cl;
      breaksAtLastBreak = breaks;
    }
    if (!measure || meter.Extent(i + cl) <= W) {
      i += cl;
      continue;
    }
    if (cut || Params.SingleLine) {
      length = i + cl;
      break;
    }
    if (lastBreak >= 0) {
      length = lastBreak;
      breaks = breaksAtLastBreak;
      break;
    }
    if (!charBreak) {
      i += cl;
      continue;
    }
    length = i == 0 ? cl : i;
    break;
  }
  if (length < 0) length = i;
  if (endedByLineBreak && Params.HorzAlign == etfAlignJustify) breaks = 0;
  if (Justified(Params))
    while (length > 0 && (P[length - 1] == breakChar || P[length - 1] == '\t') &&
           CharStart(P, length, length - 1) == length - 1) {
      --length;
      if (breaks > 0) --breaks;
    }
  Row.TextLength = length;
  Row.BreakCount = breaks;
  SIZE s{};
  if (length > 0) GetTextSize(DC, P, length, s, Params.ExpandTabs);
  Row.TextExtentX = s.cx;
  Row.TextExtentY = s.cy;
  int pos = length;
  while (pos < N && P[pos] == breakChar) ++pos;
  if (pos < N && P[pos] == '\t') ++pos;
  if (Params.HorzAlign == etfAlignJustify && (pos >= N || IsLineBreak(P[pos]))) Row.BreakCount = 0;
  if (pos < N && P[pos] == '\r') {
    ++pos;
    if (pos < N && P[pos] == '\n') ++pos;
  } else if (pos < N && P[pos] == '\n') {
    ++pos;
  }
  // Always move on, so that no text makes endless empty rows.
  if (pos == 0) pos = CharLen(P, N);
  return pos;
}

}  // namespace

// ==== Breaking the text =======================================================================

bool MakeTextRows(HDC DC, const char* Text, int Length, const RECT& R, int MaxLineCount, int& RowCount,
                  TcxTextRows& Rows, const TcxTextParams& Params)
{
  Rows.clear();
  RowCount = 0;
  if (!Text || Length <= 0) return true;
  const int w = R.right - R.left, height = R.bottom - R.top;
  if (Params.CalcRect && Params.SingleLine) {
    TcxTextRow row;
    row.Text = Text;
    row.TextLength = Length;
    SIZE s{};
    GetTextSize(DC, Text, Length, s, Params.ExpandTabs);
    row.TextExtentX = s.cx;
    row.TextExtentY = s.cy;
    Rows.push_back(row);
    RowCount = 1;
    return true;
  }
  const char* p = Text;
  int left = Length, acc = 0;
  bool last = false;
  while (left > 0 && !last) {
    ++RowCount;
    if (int(Rows.size()) < RowCount) Rows.resize(Rows.size() + 4);
    acc += Params.RowDistance;
    if (Params.SingleLine)
      last = true;
    else if (Params.VertAlign != 0 || Params.CalcRect)
      last = MaxLineCount > 0 && RowCount == MaxLineCount;
    else if (Params.WholeRowsOnly && !Params.NoClip)
      last = height < acc + Params.RowDistance;
    else
      last = height < acc;
    TcxTextRow& row = Rows[RowCount - 1];
    const int used = MakeTextRow(DC, p, left, last, w, Params, row);
    row.StartOffset = int(p - Text);
    p += used;
    left -= used;
  }
  Rows.resize(std::size_t(RowCount));
  return !(!Params.SingleLine && !Params.CalcRect && MaxLineCount > 0 && RowCount == MaxLineCount && left > 0);
}

bool MakeTextRowsForCanvas(TCanvas* Canvas, const char* Text, int Length, const RECT& R, int MaxLineCount,
                           int& RowCount, TcxTextRows& Rows, const TcxTextParams& Params)
{
  TFontSelection font(Canvas);
  return MakeTextRows(font.DC(), Text, Length, R, MaxLineCount, RowCount, Rows, Params);
}

int GetMaxRowWidth(const TcxTextRows& Rows, int Count)
{
  int m = 0;
  const int n = std::min<int>(Count, int(Rows.size()));
  for (int i = 0; i < n; ++i) m = std::max(m, Rows[i].TextExtentX);
  return m;
}

void GetTextSize(HDC DC, const char* Text, int Length, SIZE& Size, bool ExpandTabs)
{
  Size = SIZE{};
  if (Length <= 0) {
    TEXTMETRICA tm{};
    Windows::GetTextMetrics(DC, &tm);
    Size.cy = tm.tmHeight;
    return;
  }
  if (ExpandTabs) {
    const DWORD e = Windows::GetTabbedTextExtent(DC, Text, Length, 0, nullptr);
    Size = SIZE{LONG(e & 0xFFFF), LONG(e >> 16)};
  } else {
    Windows::GetTextExtentPoint32(DC, Text, Length, &Size);
  }
}

// ==== Positions ===============================================================================

void SetRowPositions(HDC, const RECT& R, TcxTextParams& Params, int RowCount, TcxTextRows& Rows)
{
  RowCount = std::min<int>(RowCount, int(Rows.size()));
  if (RowCount <= 0) return;
  const int height = R.bottom - R.top, width = R.right - R.left;
  Params.ExtraPixels = 0;
  if (Params.VertAlign == (etfAlignVDistribute >> 4) && RowCount > 1) {
    const int g = height - Params.RowHeight;
    if (Params.RowHeight < double(g) / (RowCount - 1)) {
      Params.RowDistance = g / (RowCount - 1);
      Params.ExtraPixels = g % (RowCount - 1);
    }
  }
  int top;
  switch (Params.VertAlign) {
    case etfAlignVCenter >> 4: top = R.top + (height - RowCount * Params.RowDistance) / 2; break;
    case etfAlignBottom >> 4: top = R.bottom - RowCount * Params.RowDistance + Params.ExternalLeading; break;
    default: top = R.top; break;
  }
  if (Params.KeepTop) top = std::max<int>(top, R.top);
  int extra = Params.ExtraPixels;
  for (int i = 0; i < RowCount; ++i) {
    TcxTextRow& row = Rows[i];
    int x;
    switch (Params.HorzAlign) {
      case etfAlignCenter: x = R.left + (width - row.TextExtentX) / 2; break;
      case etfAlignRight: x = R.right - row.TextExtentX; break;
      default: x = R.left; break;
    }
    if (Params.KeepLeft) x = std::max<int>(x, R.left);
    row.TextOriginX = x;
    row.TextOriginY = top;
    top += Params.RowDistance;
    if (extra > 0) {
      ++top;
      --extra;
    }
  }
}

// ==== Drawing =================================================================================

HRGN IntersectClipRectEx(HDC DC, const RECT& R)
{
  HRGN saved = Windows::CreateRectRgn(0, 0, 0, 0);
  if (Windows::GetClipRgn(DC, saved) != 1) {
    Windows::DeleteObject(saved);
    saved = nullptr;
  }
  Windows::IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  return saved;
}

void RestoreClipRegion(HDC DC, HRGN& Region)
{
  Windows::SelectClipRgn(DC, Region);
  if (Region) Windows::DeleteObject(Region);
  Region = nullptr;
}

namespace {

void OutRow(HDC DC, int X, int Y, const char* Text, int Length, bool ExpandTabs)
{
  if (ExpandTabs)
    Windows::TabbedTextOut(DC, X, Y, Text, Length, 0, nullptr, X);
  else
    Windows::TextOut(DC, X, Y, Text, Length);
}

// The bytes of Text (Length) that fit into W, whole characters only, at least one.
int FitChars(HDC DC, const char* Text, int Length, int W, bool ExpandTabs)
{
  int fit = 0;
  for (int i = 0; i < Length;) {
    const int cl = CharLen(Text + i, Length - i);
    if (Width(DC, Text, i + cl, ExpandTabs) > W) break;
    i += cl;
    fit = i;
  }
  return fit > 0 ? fit : CharLen(Text, Length);
}

}  // namespace

void DrawTextRows(HDC DC, const RECT& R, const TcxTextParams& Params, bool ForceEndEllipsis, TColor SelTextColor,
                  TColor SelBkColor, int SelLength, int SelStart, int RowCount, const TcxTextRows& Rows)
{
  RowCount = std::min<int>(RowCount, int(Rows.size()));
  const int width = R.right - R.left;
  const int oldMode = Windows::SetBkMode(DC, TRANSPARENT);
  HBRUSH selBrush = SelLength > 0 ? Windows::CreateSolidBrush(Graphics::ColorToRGB(SelBkColor)) : nullptr;
  for (int i = 0; i < RowCount; ++i) {
    const TcxTextRow& row = Rows[i];
    const bool isLast = i == RowCount - 1;
    RECT band{R.left, row.TextOriginY, R.right, row.TextOriginY + Params.RowDistance};
    if (row.TextLength == 0) {
      if (ForceEndEllipsis && Params.EndEllipsis && isLast)
        Windows::TextOut(DC, std::max<int>(row.TextOriginX, R.left), row.TextOriginY, kEllipsis, kEllipsisLength);
      continue;
    }
    const bool ellipsisRow = Params.EndEllipsis && isLast && (ForceEndEllipsis || row.TextExtentX > width);
    int length = row.TextLength, extent = row.TextExtentX;
    const bool justify = Justified(Params) && !ellipsisRow && width - extent > 0 && row.BreakCount > 0;
    HRGN clip = nullptr;
    bool clipped = false;
    if (!Params.NoClip && (extent > width || band.top < R.top || band.bottom > R.bottom)) {
      band.top = std::max(band.top, R.top);
      band.bottom = std::min(band.bottom, R.bottom);
      clip = IntersectClipRectEx(DC, band);
      clipped = true;
    }
    int originX = row.TextOriginX;
    if (ellipsisRow) {
      length = FitChars(DC, row.Text, row.TextLength, std::max(width - Params.EllipsisWidth, 0), Params.ExpandTabs);
      extent = Width(DC, row.Text, length, Params.ExpandTabs);
      // The cut text and its dots are aligned as one block; a centred or right-aligned row
      // placed by its uncut width would put the dots over or before its text.
      const int block = extent + Params.EllipsisWidth;
      if (Params.HorzAlign == etfAlignCenter)
        originX = R.left + (width - block) / 2;
      else if (Params.HorzAlign == etfAlignRight)
        originX = R.right - block;
      else
        originX = R.left;
      originX = std::max<int>(originX, R.left);
    }
    if (justify) Windows::SetTextJustification(DC, width - extent, row.BreakCount);
    OutRow(DC, originX, row.TextOriginY, row.Text, length, Params.ExpandTabs);
    // The selected part of this row, on whole characters.
    const int selFrom = std::max(SelStart, row.StartOffset),
              selTo = std::min(SelStart + SelLength, row.StartOffset + length);
    if (selBrush && selFrom < selTo) {
      const int a = CharStart(row.Text, length, selFrom - row.StartOffset);
      const int lastChar = CharStart(row.Text, length, selTo - row.StartOffset - 1);
      const int b = lastChar + CharLen(row.Text + lastChar, length - lastChar);
      const int left = originX + Width(DC, row.Text, a, Params.ExpandTabs);
      const int right = originX + Width(DC, row.Text, b, Params.ExpandTabs);
      RECT sel{left, row.TextOriginY, right, row.TextOriginY + Params.RowDistance};
      if (sel.right > sel.left && sel.bottom > sel.top) {
        Windows::FillRect(DC, &sel, selBrush);
        HRGN selClip = IntersectClipRectEx(DC, sel);
        const COLORREF oldColor = Windows::SetTextColor(DC, Graphics::ColorToRGB(SelTextColor));
        OutRow(DC, originX, row.TextOriginY, row.Text, length, Params.ExpandTabs);
        Windows::SetTextColor(DC, oldColor);
        RestoreClipRegion(DC, selClip);
      }
    }
    if (justify) Windows::SetTextJustification(DC, 0, 0);
    if (ellipsisRow) {
      const int x = originX + extent;
      if (x < R.right) {
        HRGN ellipsisClip = nullptr;
        const bool clipEllipsis = !Params.NoClip && !clipped && x + Params.EllipsisWidth > R.right;
        if (clipEllipsis) ellipsisClip = IntersectClipRectEx(DC, band);
        Windows::TextOut(DC, x, row.TextOriginY, kEllipsis, kEllipsisLength);
        if (clipEllipsis) RestoreClipRegion(DC, ellipsisClip);
      }
    }
    if (clipped) RestoreClipRegion(DC, clip);
  }
  if (selBrush) Windows::DeleteObject(selBrush);
  Windows::SetBkMode(DC, oldMode);
}

// ==== Entry points ============================================================================

namespace {

// Steps 1 to 5 of the entry: parameters, rows, measuring or ellipsis and selection; answers
// false when there is nothing to draw (Result holds the answer then).
struct TLayout {
  TcxTextParams Params;
  TcxTextRows Rows;
  int RowCount = 0;
  RECT TextRect{};
  bool ForceEndEllipsis = false;
  int SelStart = 0, SelLength = 0;
};

bool Layout(HDC DC, const char* Text, int Length, RECT& R, int Flags, int SelStart, int SelLength, int MaxLineCount,
            int LeftIndent, int RightIndent, TLayout& L)
{
  if (!Text || Length <= 0) return false;
  PrepareTextParams(DC, Flags, L.Params);
  RECT r{R.left + LeftIndent, R.top, R.right - RightIndent, R.bottom};
  if (L.Params.CalcRect ? r.right - r.left <= 0 : (r.right <= r.left || r.bottom <= r.top)) return false;
  const bool fitted = MakeTextRows(DC, Text, Length, r, MaxLineCount, L.RowCount, L.Rows, L.Params);
  if (L.RowCount == 0) return false;
  if (L.Params.CalcRect) {
    if (MaxLineCount > 0 && MaxLineCount < L.RowCount) L.RowCount = MaxLineCount;
    r.right = r.left + GetMaxRowWidth(L.Rows, L.RowCount);
    if (!L.Params.SingleLine) {
      MakeTextRows(DC, Text, Length, r, MaxLineCount, L.RowCount, L.Rows, L.Params);
      if (MaxLineCount > 0 && MaxLineCount < L.RowCount) L.RowCount = MaxLineCount;
      if (L.RowCount == 0) return false;
    }
    SetRowPositions(DC, r, L.Params, L.RowCount, L.Rows);
    r.bottom = L.Rows[L.RowCount - 1].TextOriginY + L.Params.RowHeight;
    R = RECT{r.left - LeftIndent, r.top, r.right + RightIndent, r.bottom};
  } else {
    if (MaxLineCount > 0 && L.RowCount >= MaxLineCount) {
      const bool remained = !fitted || L.RowCount > MaxLineCount;
      L.RowCount = MaxLineCount;
      L.ForceEndEllipsis = remained && L.Params.EndEllipsis && L.Params.WholeRowsOnly && !L.Params.SingleLine;
    }
    if (SelStart < 0 || SelStart >= Length) {
      SelStart = 0;
      SelLength = 0;
    } else if (SelLength > Length - SelStart) {
      SelLength = Length - SelStart;
    }
    L.SelStart = SelStart;
    L.SelLength = std::max(SelLength, 0);
    SetRowPositions(DC, r, L.Params, L.RowCount, L.Rows);
  }
  L.TextRect = r;
  return true;
}

int Result(const TLayout& L)
{
  const int h = L.Rows[L.RowCount - 1].TextOriginY + L.Params.RowHeight - L.TextRect.top;
  return (L.Params.ReturnRowCount || h == 0) ? L.RowCount : h;
}

}  // namespace

void PrepareTextOutData(TcxCanvas* Canvas, const AnsiString& Text, TcxTextOutData& Data, int Flags, const RECT& R,
                        int LeftIndent, int RightIndent, int MaxLineCount, int SelStart, int SelLength,
                        TColor SelBkColor, TColor SelTextColor)
{
  Data = TcxTextOutData{};
  Data.Initialized = true;
  Data.Flags = Flags;
  Data.SelBkColor = SelBkColor;
  Data.SelTextColor = SelTextColor;
  TFontSelection font(Canvas->GetCanvas());
  TLayout l;
  RECT r = R;
  if (!Layout(font.DC(), Text.data(), int(Text.size()), r, Flags & ~etfCalcRect, SelStart, SelLength, MaxLineCount,
              LeftIndent, RightIndent, l))
    return;
  Data.ForceEndEllipsis = l.ForceEndEllipsis;
  Data.RowCount = l.RowCount;
  Data.SelStart = l.SelStart;
  Data.SelLength = l.SelLength;
  Data.TextParams = l.Params;
  Data.TextRect = l.TextRect;
  Data.TextRows = std::move(l.Rows);
}

void TextOutPrepared(TcxCanvas* Canvas, const AnsiString& Text, TcxTextOutData& Data, int Flags, const RECT& R,
                     int LeftIndent, int RightIndent, int MaxLineCount, int SelStart, int SelLength, TColor SelBkColor,
                     TColor SelTextColor)
{
  if (!Data.Initialized)
    PrepareTextOutData(Canvas, Text, Data, Flags, R, LeftIndent, RightIndent, MaxLineCount, SelStart, SelLength,
                       SelBkColor, SelTextColor);
  if (Data.RowCount == 0) return;
  TFontSelection font(Canvas->GetCanvas());
  const COLORREF oldColor = Windows::SetTextColor(font.DC(), Graphics::ColorToRGB(Canvas->GetFont()->GetColor()));
  // The rows point into the text they were made from; rebase them on this copy of it.
  TcxTextRows rows = Data.TextRows;
  for (TcxTextRow& row : rows) row.Text = Text.data() + std::min<int>(row.StartOffset, int(Text.size()));
  DrawTextRows(font.DC(), Data.TextRect, Data.TextParams, Data.ForceEndEllipsis, Data.SelTextColor, Data.SelBkColor,
               Data.SelLength, Data.SelStart, Data.RowCount, rows);
  Windows::SetTextColor(font.DC(), oldColor);
}

}  // namespace cxEditTextUtils

using namespace cxEditTextUtils;

int cxTextOut(HDC DC, const char* Text, int Length, RECT& R, int Flags, int SelStart, int SelLength, TColor SelBkColor,
              TColor SelTextColor, int MaxLineCount, int LeftIndent, int RightIndent)
{
  TLayout l;
  if (!Layout(DC, Text, Length, R, Flags, SelStart, SelLength, MaxLineCount, LeftIndent, RightIndent, l)) return 0;
  if (!l.Params.CalcRect)
    DrawTextRows(DC, l.TextRect, l.Params, l.ForceEndEllipsis, SelTextColor, SelBkColor, l.SelLength, l.SelStart,
                 l.RowCount, l.Rows);
  return Result(l);
}

int cxTextOut(TcxCanvas* Canvas, const AnsiString& Text, RECT& R, int Flags, int SelStart, int SelLength,
              TColor SelBkColor, TColor SelTextColor, int MaxLineCount, int LeftIndent, int RightIndent)
{
  if (Text.empty()) return 0;
  TFontSelection font(Canvas->GetCanvas());
  const COLORREF oldColor = Windows::SetTextColor(font.DC(), Graphics::ColorToRGB(Canvas->GetFont()->GetColor()));
  const int r = cxTextOut(font.DC(), Text.data(), int(Text.size()), R, Flags, SelStart, SelLength, SelBkColor,
                          SelTextColor, MaxLineCount, LeftIndent, RightIndent);
  Windows::SetTextColor(font.DC(), oldColor);
  return r;
}

int cxTextOut(TcxCanvas* Canvas, const AnsiString& Text, RECT& R, int Flags, int MaxLineCount, int LeftIndent,
              int RightIndent)
{
  return cxTextOut(Canvas, Text, R, Flags, 0, 0, Canvas->GetFont()->GetColor(), clBlack, MaxLineCount, LeftIndent,
                   RightIndent);
}
