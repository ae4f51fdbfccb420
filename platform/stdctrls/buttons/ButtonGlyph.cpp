#include "platform/stdctrls/buttons/ButtonGlyph.h"

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/DrawText.h"

namespace ButtonGlyph {

namespace {

// Paints image Index of the glyph at (X, Y); Disabled embosses the up image instead.
void PaintGlyph(TCanvas* Canvas, TBitmap* Glyph, int Count, int Index, bool Emboss, int X, int Y)
{
  int w = Glyph->GetWidth() / Count, h = Glyph->GetHeight();
  TColor transparent = Glyph->GetTransparentColor();
  COLORREF key = Graphics::ColorToRGB(transparent);
  COLORREF light = Graphics::ColorToRGB(clBtnHighlight), shadow = Graphics::ColorToRGB(clBtnShadow);
  for (int pass = Emboss ? 0 : 1; pass < 2; ++pass)
    for (int row = 0; row < h; ++row) {
      const std::uint32_t* line = Glyph->GetScanLine(row);
      for (int col = 0; col < w; ++col) {
        std::uint32_t p = line[Index * w + col];
        COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        if (c == key) continue;
        if (!Emboss) {
          Canvas->SetPixels(X + col, Y + row, TColor(c));
          continue;
        }
        // Dark pixels make the embossed shape: highlight one pixel down-right, shadow on top.
        int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
        if (lum > 192) continue;
        if (pass == 0)
          Canvas->SetPixels(X + col + 1, Y + row + 1, TColor(light));
        else
          Canvas->SetPixels(X + col, Y + row, TColor(shadow));
      }
    }
}

}  // namespace

RECT Draw(TCanvas* Canvas, const RECT& Client, POINT Offset, const TGlyphFace& Face)
{
  bool hasGlyph = Face.Glyph && !Face.Glyph->GetEmpty();
  int count = std::clamp(Face.NumGlyphs, 1, 4);
  SIZE glyph{hasGlyph ? Face.Glyph->GetWidth() / count : 0, hasGlyph ? Face.Glyph->GetHeight() : 0};
  HDC dc = Canvas->GetHandle();
  Canvas->TextExtent("");  // selects the canvas's font
  RECT textRect{0, 0, Client.right - Client.left, 0};
  if (!Face.Caption.empty())
    Windows::DrawText(dc, Face.Caption.c_str(), int(Face.Caption.size()), &textRect, DT_CALCRECT | DT_SINGLELINE);
  SIZE text{Face.Caption.empty() ? 0 : textRect.right - textRect.left, Face.Caption.empty() ? 0 : textRect.bottom};
  int spacing = (glyph.cx && text.cx) ? Face.Spacing : 0;
  int width = Client.right - Client.left, height = Client.bottom - Client.top;
  bool across = Face.Layout == blGlyphLeft || Face.Layout == blGlyphRight;
  int total = across ? glyph.cx + spacing + text.cx : glyph.cy + spacing + text.cy;
  int room = across ? width : height;
  int margin = Face.Margin < 0 ? (room - total) / 2 : Face.Margin;

  POINT g{}, t{};
  switch (Face.Layout) {
    case blGlyphLeft:
      g = {margin, (height - glyph.cy) / 2};
      t = {margin + glyph.cx + spacing, (height - text.cy) / 2};
      break;
    case blGlyphRight:
      g = {width - margin - glyph.cx, (height - glyph.cy) / 2};
      t = {width - margin - glyph.cx - spacing - text.cx, (height - text.cy) / 2};
      break;
    case blGlyphTop:
      g = {(width - glyph.cx) / 2, margin};
      t = {(width - text.cx) / 2, margin + glyph.cy + spacing};
      break;
    case blGlyphBottom:
      g = {(width - glyph.cx) / 2, height - margin - glyph.cy};
      t = {(width - text.cx) / 2, height - margin - glyph.cy - spacing - text.cy};
      break;
  }
  int ox = Client.left + Offset.x, oy = Client.top + Offset.y;
  if (hasGlyph) {
    int index = int(Face.State);
    bool emboss = Face.State == bsDisabled && count < 2;
    if (index >= count || emboss) index = 0;
    PaintGlyph(Canvas, Face.Glyph, count, index, emboss, ox + g.x, oy + g.y);
  }
  RECT caption{ox + t.x, oy + t.y, ox + t.x + text.cx, oy + t.y + text.cy};
  if (!Face.Caption.empty()) {
    Canvas->TextExtent("");
    Windows::SetBkMode(dc, TRANSPARENT);
    if (Face.State == bsDisabled) {
      RECT lit{caption.left + 1, caption.top + 1, caption.right + 1, caption.bottom + 1};
      Windows::SetTextColor(dc, Graphics::ColorToRGB(clBtnHighlight));
      Windows::DrawText(dc, Face.Caption.c_str(), int(Face.Caption.size()), &lit, DT_CENTER | DT_SINGLELINE);
      Windows::SetTextColor(dc, Graphics::ColorToRGB(clBtnShadow));
    } else
      Windows::SetTextColor(dc, Graphics::ColorToRGB(Canvas->GetFont()->GetColor()));
    Windows::DrawText(dc, Face.Caption.c_str(), int(Face.Caption.size()), &caption, DT_CENTER | DT_SINGLELINE);
  }
  return caption;
}

int ImageCount(TBitmap* Glyph, int Current)
{
  if (!Glyph || Glyph->GetEmpty() || Glyph->GetHeight() <= 0) return Current;
  int n = Glyph->GetWidth() / Glyph->GetHeight();
  return (n >= 1 && n <= 4 && Glyph->GetWidth() % Glyph->GetHeight() == 0) ? n : Current;
}

}  // namespace ButtonGlyph
