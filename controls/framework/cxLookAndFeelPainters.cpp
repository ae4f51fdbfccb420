#include "controls/framework/cxLookAndFeelPainters.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/framework/cxFlatLookAndFeelPainter.h"
#include "controls/framework/cxStyles.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/SystemBitmaps.h"

using cxGraphics::InflatedRect;
using cxGraphics::IsRectEmpty;
using cxGraphics::OffsetRect;
using Graphics::ColorToRGB;

// ==== Shared resources ========================================================================
//
// Indicator images, auto-hide glyphs, scroll-bar track patterns and radio-button images. They
// are drawn here in code: white is the transparent colour of the indicator and glyph images.

namespace {

// The device context of a bitmap's own canvas, made on first use.
HDC DCOf(TBitmap& B) { return B.GetCanvas()->GetHandle(); }

struct TImage {
  std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  COLORREF Transparent = 0xFFFFFF;
  std::vector<std::uint8_t> Mask;  // radio images: 1 where the image shows
};

struct TResources {
  std::vector<TImage> Indicators;  // TcxIndicatorImageKind - 1
  TImage AutoHide[2];
  TBitmap Patterns[2];        // normal, pressed
  std::vector<TImage> Radio;  // 96 images, built on first use
  int RadioW = 0, RadioH = 0;
  // Clears the radio images when the system colours change, before any control reacts.
  std::unique_ptr<TcxSystemPaletteChangedNotifier> PaletteNotifier;
};

// Freed by Finalize, never by a static destructor (the palette listener may be gone by then).
TResources* Res = nullptr;

void PutPixels(TBitmap& B, const char* const* Rows, TColor Ink)
{
  TcxCanvas c(B.GetCanvas());
  c.FillRectColor({0, 0, B.GetWidth(), B.GetHeight()}, clWhite);
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; Rows[y][x]; ++x)
      if (Rows[y][x] == '#') c.SetPixel(x, y, Ink);
}

void BuildIndicators(TResources& R)
{
  static const char* const arrow[] = {"         ", "  #      ", "  ##     ", "  ###    ", "  ####   ",
                                      "  ###    ", "  ##     ", "  #      ", "         "};
  static const char* const edit[] = {"         ", "  ## ##  ", "    #    ", "    #    ", "    #    ",
                                     "    #    ", "    #    ", "  ## ##  ", "         "};
  static const char* const insert[] = {"         ", "    #    ", "  # # #  ", "   ###   ", " ####### ",
                                       "   ###   ", "  # # #  ", "    #    ", "         "};
  static const char* const multiDot[] = {"         ", "         ", "         ", "   ###   ", "   ###   ",
                                         "   ###   ", "         ", "         ", "         "};
  static const char* const multiArrow[] = {"         ", " #       ", " ##      ", " ### ### ", " ####### ",
                                           " ### ### ", " ##      ", " #       ", "         "};
  for (const char* const* rows : {arrow, edit, insert, multiDot, multiArrow}) {
    TImage img;
    img.Bitmap->SetSize(9, 9);
    PutPixels(*img.Bitmap, rows, clBlack);
    R.Indicators.push_back(std::move(img));
  }
  static const char* const pinOn[] = {"                ", "                ", "     #######    ", "     #     ##   ",
                                      "     #     ##   ", "     #     ##   ", "     #     ##   ", "     #     ##   ",
                                      "   ###########  ", "        #       ", "        #       ", "        #       ",
                                      "        #       ", "        #       ", "                ", "                "};
  static const char* const pinOff[] = {"                ", "                ", "                ", "      #         ",
                                       "      #         ", "      #######   ", "      #     #   ", "#######     #   ",
                                       "      ########  ", "      ########  ", "      #######   ", "      #         ",
                                       "      #         ", "                ", "                ", "                "};
  for (int i = 0; i < 2; ++i) {
    R.AutoHide[i].Bitmap->SetSize(16, 16);
    PutPixels(*R.AutoHide[i].Bitmap, i == 0 ? pinOn : pinOff, clBlack);
  }
}

TResources& Resources()
{
  if (!Res) {
    Res = new TResources;
    BuildIndicators(*Res);
    cxLookAndFeelPainters::RefreshScrollBarPatterns();
    Res->PaletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>(true);
    Res->PaletteNotifier->OnSystemPaletteChanged = [] { cxLookAndFeelPainters::ClearRadioButtonImages(); };
  }
  return *Res;
}

// Copies an image whose Transparent colour (or Mask) is left out.
void DrawImage(TcxCanvas* C, int X, int Y, TImage& Img)
{
  int w = Img.Bitmap->GetWidth(), h = Img.Bitmap->GetHeight();
  if (Img.Mask.empty()) {
    Windows::TransparentBlt(C->GetHandle(), X, Y, w, h, DCOf(*Img.Bitmap), 0, 0, w, h, Img.Transparent);
    return;
  }
  HDC src = DCOf(*Img.Bitmap);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Img.Mask[y * w + x]) Windows::SetPixelV(C->GetHandle(), X + x, Y + y, Windows::GetPixel(src, x, y));
}

// ---- Radio-button images -----------------------------------------------------------------------

// Cell codes: 0 outside, 1/2 outer ring upper-left/lower-right, 3/4 inner ring, 5 interior, 6 dot.
struct TRadioPattern {
  int W = 0, H = 0;
  std::vector<std::uint8_t> Codes;
  std::uint8_t& At(int X, int Y) { return Codes[Y * W + X]; }
};

RECT BlackBounds(HDC DC, int W, int H)
{
  RECT r{W, H, 0, 0};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (Windows::GetPixel(DC, x, y) == 0) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

TRadioPattern BuildRadioPattern()
{
  HBITMAP boxes = SystemBitmaps::CreateSystemBitmap(OBM_CHECKBOXES);
  BITMAP info{};
  Windows::GetObject(boxes, &info);
  Windows::DeleteObject(boxes);
  int cw = info.bmWidth > 0 ? info.bmWidth / 4 : 13, ch = info.bmHeight > 0 ? info.bmHeight / 3 : 13;

  TBitmap cell;
  cell.SetSize(cw, ch);
  TcxCanvas cc(cell.GetCanvas());
  RECT all{0, 0, cw, ch};
  cc.FillRectColor(all, clBlack);
  RECT fr = all;
  Windows::DrawFrameControl(DCOf(cell), &fr, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_CHECKED | DFCS_FLAT);
  // The mask draws the circle black on white: the black pixels outline it.
  RECT circle = BlackBounds(DCOf(cell), cw, ch);
  if (IsRectEmpty(circle)) circle = all;
  int x0 = circle.left, y0 = circle.top, w = circle.right - circle.left, h = circle.bottom - circle.top;
  // The dot: measured from the centre of the checked flat image.
  cc.FillRectColor(all, clBlack);
  fr = all;
  Windows::DrawFrameControl(DCOf(cell), &fr, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_FLAT);
  auto black = [&](int x, int y) { return Windows::GetPixel(DCOf(cell), x, y) == 0; };
  // The dot is the black area around the centre of the white circle.
  int mx = x0 + w / 2 - 1, my = y0 + h / 2 - 1;
  int top = y0 + h / 2 - 2, bottom = top, left = mx, right = mx;
  while (top > y0 && black(mx, top - 1)) --top;
  while (bottom < y0 + h - 1 && black(mx, bottom + 1)) ++bottom;
  while (left > x0 && black(left - 1, my)) --left;
  while (right < x0 + w - 1 && black(right + 1, my)) ++right;
  RECT dotRect{left, top, right + 1, bottom + 1};
  if (!black(mx, my) || dotRect.right - dotRect.left >= w - 2 || dotRect.bottom - dotRect.top >= h - 2)
    dotRect = RECT{x0 + w / 2 - 2, y0 + h / 2 - 2, x0 + w / 2 + 2, y0 + h / 2 + 2};

  TRadioPattern p;
  p.W = w;
  p.H = h;
  p.Codes.assign(size_t(w) * h, 0);
  TBitmap ring;
  ring.SetSize(w, h);
  TcxCanvas rc(ring.GetCanvas());
  rc.FillRectColor({0, 0, w, h}, clWhite);
  {
    HPEN pen = Windows::CreatePen(PS_SOLID, 1, 0);
    HGDIOBJ oldPen = Windows::SelectObject(DCOf(ring), pen);
    HGDIOBJ oldBrush = Windows::SelectObject(DCOf(ring), Windows::GetStockObject(NULL_BRUSH));
    Windows::RoundRect(DCOf(ring), 0, 0, w, h, w - 1, h - 1);
    Windows::SelectObject(DCOf(ring), oldBrush);
    Windows::SelectObject(DCOf(ring), oldPen);
    Windows::DeleteObject(pen);
  }
  auto lowerRight = [&](int col, int row) { return (h - 1) * (w - col - 1) < row * (w - 1); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Windows::GetPixel(DCOf(ring), x, y) == 0) p.At(x, y) = lowerRight(x, y) ? 2 : 1;
  for (int y = 1; y < h - 1; ++y) {
    for (int x = w / 2; x < w && p.At(x, y) == 0; ++x) p.At(x, y) = 5;
    for (int x = w / 2 - 1; x >= 0 && p.At(x, y) == 0; --x) p.At(x, y) = 5;
  }
  auto innerCode = [&](int x, int y) {
    bool lr = lowerRight(x, y);
    if ((h - 1) * (w - x - 1) == y * (w - 1)) lr = x > w / 2 - 1;  // on the diagonal
    return std::uint8_t(lr ? 4 : 3);
  };
  std::vector<std::uint8_t> inner(p.Codes.size(), 0);
  for (int y = 1; y < h - 1; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < w; ++x)
      if (p.At(x, y) == 5) {
        if (first < 0) first = x;
        last = x;
      }
    if (first < 0) continue;
    inner[y * w + first] = inner[y * w + last] = 1;
  }
  for (int x = 1; x < w - 1; ++x) {
    int first = -1, last = -1;
    for (int y = 0; y < h; ++y)
      if (p.At(x, y) == 5) {
        if (first < 0) first = y;
        last = y;
      }
    if (first < 0) continue;
    inner[first * w + x] = inner[last * w + x] = 1;
  }
  // The whole interior of the first and last interior rows and columns belongs to the ring.
  int firstRow = -1, lastRow = -1, firstCol = -1, lastCol = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (p.At(x, y) == 5) {
        if (firstRow < 0) firstRow = y;
        lastRow = y;
        if (firstCol < 0 || x < firstCol) firstCol = x;
        lastCol = std::max(lastCol, x);
      }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (p.At(x, y) == 5 && (inner[y * w + x] || y == firstRow || y == lastRow || x == firstCol || x == lastCol))
        p.At(x, y) = innerCode(x, y);
  // The dot.
  TBitmap dotBmp;
  dotBmp.SetSize(w, h);
  TcxCanvas dc(dotBmp.GetCanvas());
  dc.FillRectColor({0, 0, w, h}, clWhite);
  {
    HBRUSH b = Windows::CreateSolidBrush(0);
    HPEN pen = Windows::CreatePen(PS_SOLID, 1, 0);
    HGDIOBJ ob = Windows::SelectObject(DCOf(dotBmp), b), op = Windows::SelectObject(DCOf(dotBmp), pen);
    Windows::Ellipse(DCOf(dotBmp), dotRect.left - x0, dotRect.top - y0, dotRect.right - x0, dotRect.bottom - y0);
    Windows::SelectObject(DCOf(dotBmp), ob);
    Windows::SelectObject(DCOf(dotBmp), op);
    Windows::DeleteObject(b);
    Windows::DeleteObject(pen);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Windows::GetPixel(DCOf(dotBmp), x, y) == 0 && p.At(x, y) != 0) p.At(x, y) = 6;
  return p;
}

void BuildRadioImages(TResources& R)
{
  TRadioPattern p = BuildRadioPattern();
  R.RadioW = p.W;
  R.RadioH = p.H;
  COLORREF hot = cxGraphics::GetHotHighlightColor(), pressed = cxGraphics::GetPressedHighlightColor();
  for (int focused = 0; focused < 2; ++focused)
    for (int designing = 0; designing < 2; ++designing)
      for (int kind = 0; kind < 3; ++kind)
        for (int checked = 0; checked < 2; ++checked)
          for (int s = cxbsNormal; s <= cxbsDisabled; ++s) {
            auto state = TcxButtonState(s);
            bool disabled = state == cxbsDisabled;
            COLORREF interior;
            if (disabled)
              interior = ColorToRGB(clBtnFace);
            else if (kind == 2)
              interior = state == cxbsHot ? hot : state == cxbsPressed ? pressed : ColorToRGB(clWindow);
            else
              interior = ColorToRGB(state == cxbsPressed ? clBtnFace : clWindow);
            COLORREF outer1, outer2, inner1, inner2;
            if (kind == 2) {
              bool high = focused || state == cxbsHot || state == cxbsPressed || (designing && !disabled);
              outer1 = outer2 = ColorToRGB(high ? clHighlight : clBtnShadow);
              inner1 = inner2 = interior;
            } else {
              outer1 = ColorToRGB(clBtnShadow);
              outer2 = ColorToRGB(clBtnHighlight);
              inner1 = ColorToRGB(kind == 0 ? cl3DLight : cl3DDkShadow);
              inner2 = ColorToRGB(cl3DLight);
            }
            COLORREF dotColor = checked ? ColorToRGB(disabled ? clBtnShadow : clBtnText) : interior;
            const COLORREF colours[] = {0, outer1, outer2, inner1, inner2, interior, dotColor};
            TImage img;
            img.Bitmap->SetSize(p.W, p.H);
            img.Mask.assign(size_t(p.W) * p.H, 0);
            HDC dc = DCOf(*img.Bitmap);
            for (int y = 0; y < p.H; ++y)
              for (int x = 0; x < p.W; ++x) {
                std::uint8_t code = p.At(x, y);
                Windows::SetPixelV(dc, x, y, colours[code]);
                img.Mask[y * p.W + x] = code != 0;
              }
            R.Radio.push_back(std::move(img));
          }
}

}  // namespace

int cxLookAndFeelPainters::ButtonStateToThemeState(TcxButtonState State)
{
  static const int states[] = {5, 1, 2, 3, 4};
  return states[State];
}

void cxLookAndFeelPainters::RefreshScrollBarPatterns()
{
  TResources& r = Resources();
  const TColor odd[] = {clBtnHighlight, cl3DDkShadow}, even[] = {clBtnFace, clBlack};
  for (int k = 0; k < 2; ++k) {
    r.Patterns[k].SetSize(8, 8);
    TcxCanvas c(r.Patterns[k].GetCanvas());
    for (int j = 0; j < 8; ++j)
      for (int i = 0; i < 8; ++i) c.SetPixel(i, j, (i % 2 != j % 2) ? odd[k] : even[k]);
  }
}

void cxLookAndFeelPainters::ClearRadioButtonImages()
{
  if (Res) Res->Radio.clear();
}

void cxLookAndFeelPainters::Initialize() { Resources(); }

void cxLookAndFeelPainters::Finalize()
{
  delete Res;
  Res = nullptr;
}

// ==== TcxCustomLookAndFeelPainter ==============================================================

void TcxCustomLookAndFeelPainter::DrawDropDownArrow(TcxCanvas* C, const RECT& R, TColor Color) const
{
  int w = (R.right - R.left) / 2;
  if (w % 2 == 0) ++w;
  int h = w / 2 + 1;
  int sum = R.top + R.bottom - h;
  int y = sum >= 0 ? (sum + 1) / 2 : -((-sum) / 2);  // half rounded up
  POINT p[3] = {{(R.left + R.right - w) / 2, y}, {0, y}, {(R.left + R.right) / 2, y + h - 1}};
  p[1].x = p[0].x + w - 1;
  C->SetBrushColor(Color);
  C->SetPenColor(Color);
  C->SetBrushStyle(bsSolid);
  C->Polygon(p, 3);
}

void TcxCustomLookAndFeelPainter::DrawContent(TcxCanvas* C, const RECT& R, const RECT& TextRect,
                                              TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert, bool MultiLine,
                                              bool ShowEndEllipsis, const AnsiString& Text, TFont* Font,
                                              TColor TextColor, TColor Color,
                                              const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  if (!OnDrawBackground || !OnDrawBackground(C, R)) C->FillRectColor(R, Color);
  if (Text.empty()) return;
  C->SetBrushStyle(bsClear);
  C->SetFont(Font);
  C->GetFont()->SetColor(TextColor);
  static const int horz[] = {tfAlignLeft, tfAlignRight, tfAlignHCenter};
  static const int vert[] = {tfAlignTop, tfAlignBottom, tfAlignVCenter};
  int flags = horz[AlignmentHorz] | vert[AlignmentVert] | (MultiLine ? tfWordBreak : tfSingleLine);
  if (ShowEndEllipsis) flags |= tfEndEllipsis;
  C->DrawText(Text, TextRect, flags, true);
  C->SetBrushStyle(bsSolid);
}

RECT TcxCustomLookAndFeelPainter::GetContentRect(const RECT& R) const
{
  return InflatedRect(R, -GetPanelBorderWidth(), -GetPanelBorderWidth());
}

RECT TcxCustomLookAndFeelPainter::GetContentTextRect(const RECT& R) const
{
  return InflatedRect(GetContentRect(R), -2, -2);
}

namespace {
RECT CentredSquare(const RECT& R)
{
  RECT r = R;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w > h) {
    r.left += (w - h) / 2;
    r.right = r.left + h;
  } else if (h > w) {
    r.top += (h - w) / 2;
    r.bottom = r.top + w;
  }
  return r;
}
}  // namespace

void TcxCustomLookAndFeelPainter::DrawArrowIn(TcxCanvas* C, const RECT& R, TColor Color, TcxArrowKind Direction) const
{
  bool vertical = Direction == TcxArrowKind::akUp || Direction == TcxArrowKind::akDown;
  int side = vertical ? R.right - R.left : R.bottom - R.top;
  int w = (side - 1) / 2;
  if (w % 2 == 0) ++w;
  int h = w / 2 + 1;
  POINT p[3];
  if (vertical) {
    int x0 = (R.left + R.right - w) / 2, y0 = (R.top + R.bottom - h) / 2;
    if (Direction == TcxArrowKind::akDown) {
      p[0] = {x0, y0};
      p[1] = {x0 + w - 1, y0};
      p[2] = {x0 + w / 2, y0 + h - 1};
    } else {
      p[0] = {x0, y0 + h - 1};
      p[1] = {x0 + w - 1, y0 + h - 1};
      p[2] = {x0 + w / 2, y0};
    }
  } else {
    int x0 = (R.left + R.right - h) / 2, y0 = (R.top + R.bottom - w) / 2;
    if (Direction == TcxArrowKind::akRight) {
      p[0] = {x0, y0};
      p[1] = {x0, y0 + w - 1};
      p[2] = {x0 + h - 1, y0 + w / 2};
    } else {
      p[0] = {x0 + h - 1, y0};
      p[1] = {x0 + h - 1, y0 + w - 1};
      p[2] = {x0, y0 + w / 2};
    }
  }
  C->SetBrushStyle(bsSolid);
  C->SetBrushColor(Color);
  C->SetPenColor(Color);
  C->Polygon(p, 3);
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* C, const RECT& R, TColor Color, TcxArrowKind Direction) const
{
  DrawArrowIn(C, CentredSquare(R), Color, Direction);
}

void TcxCustomLookAndFeelPainter::DrawScrollArrowButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                        TcxArrowKind Direction, bool AsButton) const
{
  if (AsButton)
    DrawButton(C, R, State);
  else
    C->FillRectColor(R, GetButtonFaceColor(State));
  DrawArrowIn(C, R, GetButtonSymbolColor(State), Direction);
}

void TcxCustomLookAndFeelPainter::DrawButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  C->FillRectColor(R, GetButtonFaceColor(State));
  DrawButtonBorder(C, R, State);
}

void TcxCustomLookAndFeelPainter::DrawButtonArrow(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                  TcxArrowKind Direction) const
{
  RECT r = CentredSquare(R);
  if (State == cxbsPressed) r = OffsetRect(r, GetButtonTextPressedShift(), GetButtonTextPressedShift());
  if (State == cxbsDisabled) {
    DrawArrowIn(C, OffsetRect(r, 1, 1), clBtnHighlight, Direction);
    DrawArrowIn(C, r, clBtnShadow, Direction);
  } else
    DrawArrowIn(C, r, GetButtonSymbolColor(State), Direction);
}

RECT TcxCustomLookAndFeelPainter::GetButtonFocusRect(TcxCanvas* C, const RECT& R) const
{
  RECT r = InflatedRect(R, -4, -4);
  return IsRectEmpty(r) ? R : r;
}

RECT TcxCustomLookAndFeelPainter::GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const
{
  int w = GetButtonBorderWidth(cxbsNormal);
  return RECT{w, w, w, w};
}

TColor TcxCustomLookAndFeelPainter::GetButtonSymbolColor(TcxButtonState State) const
{
  return State == cxbsDisabled ? clBtnShadow : clBtnText;
}

void TcxCustomLookAndFeelPainter::DrawButtonWithText(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                                     TcxButtonState State, bool DrawBorder, TColor Color,
                                                     TColor TextColor) const
{
  RECT r = R;
  if (DrawBorder) {
    DrawButtonBorder(C, r, State);
    r = InflatedRect(r, -GetButtonBorderWidth(State), -GetButtonBorderWidth(State));
  }
  C->FillRectColor(r, Color == clDefault ? GetButtonFaceColor(State) : Color);
  C->GetFont()->SetColor(TextColor == clDefault ? GetButtonSymbolColor(State) : TextColor);
  C->SetBrushStyle(bsClear);
  if ((r.bottom - r.top) % 2 != 0) {
    --r.bottom;
    if (r.bottom - r.top < 18) --r.top;
  }
  if (State == cxbsPressed) r = OffsetRect(r, GetButtonTextPressedShift(), GetButtonTextPressedShift());
  if (!Text.empty())
    C->DrawText(Text, r, tfAlignHCenter | tfAlignVCenter | tfSingleLine | tfShowPrefix, State != cxbsDisabled);
  C->SetBrushStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawSimpleButton(TcxCanvas* C, const RECT& R, TcxButtonState State, int ButtonCount,
                                                   int ButtonIndex, TColor BorderColor) const
{
  DrawButtonWithText(C, R, "", State, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::DrawDoubleChevron(TcxCanvas* C, const RECT& R, bool Expanded,
                                                    TcxButtonState State) const
{
  TColor color = GetButtonSymbolColor(State);
  int x0 = (R.left + R.right - 7) / 2, y0 = (R.top + R.bottom - 8) / 2;
  for (int apex : {Expanded ? y0 : y0 + 4, Expanded ? y0 + 4 : y0 + 8}) {
    for (int j = 0; j <= 6; ++j) {
      int d = std::abs(3 - j);
      C->SetPixel(x0 + j, Expanded ? apex + d : apex - d, color);
      if (j >= 1 && j <= 5) C->SetPixel(x0 + j, Expanded ? apex + 1 + d : apex - 1 - d, color);
    }
  }
}

void TcxCustomLookAndFeelPainter::DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded,
                                                       TcxButtonState State) const
{
  DrawButtonWithText(C, R, "", State, true, clDefault, clDefault);
  DrawDoubleChevron(C, R, Expanded, State);
}

void TcxCustomLookAndFeelPainter::DrawPlusMinus(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const
{
  int cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2, a = (R.right - R.left - 4) / 2;
  C->FillRectColor({cx - a, cy, cx + a + 1, cy + 1}, Color);
  if (!Expanded) C->FillRectColor({cx, cy - a, cx + 1, cy + a + 1}, Color);
}

void TcxCustomLookAndFeelPainter::DrawExpandGlyphFrame(TcxCanvas* C, const RECT& R, TColor FrameColor, TColor Color,
                                                       bool Expanded) const
{
  C->FrameRect(R, FrameColor);
  RECT inner = InflatedRect(R, -1, -1);
  if (Color != clDefault) C->FillRectColor(inner, Color);
  DrawPlusMinus(C, inner, clBtnText, Expanded);
}

bool TcxCustomLookAndFeelPainter::IsPointInGroupExpandButton(const RECT& R, POINT P) const
{
  return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom;
}

TColor TcxCustomLookAndFeelPainter::GetCheckBoxColor(TcxButtonState State) const
{
  return State == cxbsPressed || State == cxbsDisabled ? clBtnFace : clWindow;
}

void TcxCustomLookAndFeelPainter::DrawCheckMark(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked,
                                                TColor Color) const
{
  C->FillRectColor(R, GetCheckBoxColor(State));
  if (!Checked) return;
  int x = R.right - R.left - 2, y = R.bottom - R.top - 4;
  int cx = (R.left + R.right) / 2 - 1;
  C->SetPenColor(Color);
  for (int i = 0; i < 3; ++i) {
    int py = (R.top + R.bottom + y) / 2 - 2 + i;
    C->MoveTo(cx + 1 - x / 2, py - y / 2);
    C->LineTo(cx, py);
    C->LineTo(cx + x / 2 + 2, py - y);
  }
}

void TcxCustomLookAndFeelPainter::DrawCheckBox(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked) const
{
  DrawCheckBoxBorder(C, R, State);
  RECT r = InflatedRect(R, -GetCheckBorderWidth(), -GetCheckBorderWidth());
  DrawCheckMark(C, r, State, Checked, State == cxbsDisabled ? clGrayText : clBtnText);
}

void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* C, int X, int Y, TcxButtonState State, bool Checked,
                                                  bool Focused, TColor BackgroundColor, bool IsDesigning) const
{
  TResources& res = Resources();
  if (res.Radio.empty()) BuildRadioImages(res);
  int state = (State == cxbsDefault ? cxbsNormal : State) - 1;
  // The images exist for the flat, standard and ultra-flat kinds; the themed painter's fall-back
  // is the standard look (its kind, 3, would index past the 96 images).
  int kind = GetLookAndFeelKind();
  if (kind < 0 || kind > 2) kind = 1;
  int index = state + 4 * Checked + 8 * kind + 24 * IsDesigning + 48 * Focused;
  TImage& img = res.Radio[index];
  if (BackgroundColor == clDefault) {
    DrawImage(C, X, Y, img);
    return;
  }
  TBitmap tmp;
  tmp.SetSize(res.RadioW, res.RadioH);
  TcxCanvas tc(tmp.GetCanvas());
  tc.FillRectColor({0, 0, res.RadioW, res.RadioH}, BackgroundColor);
  DrawImage(&tc, 0, 0, img);
  C->CopyRectFromDC({X, Y, X + res.RadioW, Y + res.RadioH}, DCOf(tmp), {0, 0, res.RadioW, res.RadioH});
}

void TcxCustomLookAndFeelPainter::DrawHeader(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors,
                                             TcxBorders Borders, TcxButtonState State, TAlignment AlignmentHorz,
                                             TcxAlignmentVert AlignmentVert, bool MultiLine, bool ShowEndEllipsis,
                                             const AnsiString& Text, TFont* Font, TColor TextColor, TColor Color,
                                             const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  PaintHeaderBorder(C, R, Neighbors, Borders);
  DrawContent(C, GetHeaderBorderInnerRect(R, Borders), TextRect, AlignmentHorz, AlignmentVert, MultiLine,
              ShowEndEllipsis, Text, Font, TextColor, Color, OnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSection(TcxCanvas* C, const RECT& R, const RECT& TextRect,
                                                    TcxNeighbors Neighbors, TcxBorders Borders, TcxButtonState State,
                                                    TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                                                    bool MultiLine, bool ShowEndEllipsis, const AnsiString& Text,
                                                    TFont* Font, TColor TextColor, TColor Color,
                                                    const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  DrawHeader(C, R, TextRect, Neighbors, Borders, State, AlignmentHorz, AlignmentVert, MultiLine, ShowEndEllipsis, Text,
             Font, TextColor, Color, OnDrawBackground);
}

RECT TcxCustomLookAndFeelPainter::GetHeaderContentRect(const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const
{
  TcxBorders outward = Borders - GetHeaderBorders(Neighbors);
  int w = GetHeaderBorderWidth();
  RECT r = R;
  if (outward.Contains(bLeft)) r.left -= w;
  if (outward.Contains(bTop)) r.top -= w;
  if (outward.Contains(bRight)) r.right += w;
  if (outward.Contains(bBottom)) r.bottom += w;
  return r;
}

RECT TcxCustomLookAndFeelPainter::GetHeaderBorderInnerRect(const RECT& R, TcxBorders Borders) const
{
  int w = GetHeaderBorderWidth();
  RECT r = R;
  if (Borders.Contains(bLeft)) r.left += w;
  if (Borders.Contains(bTop)) r.top += w;
  if (Borders.Contains(bRight)) r.right -= w;
  if (Borders.Contains(bBottom)) r.bottom -= w;
  return r;
}

int TcxCustomLookAndFeelPainter::GetHeaderWidth(TcxCanvas* C, TcxBorders Borders, const AnsiString& Text,
                                                TFont* Font) const
{
  C->SetFont(Font);
  int w = C->TextWidth(Text) + 4;
  if (Borders.Contains(bLeft)) w += GetHeaderBorderWidth();
  if (Borders.Contains(bRight)) w += GetHeaderBorderWidth();
  return w;
}

void TcxCustomLookAndFeelPainter::DrawOutlinedSortingMark(TcxCanvas* C, const RECT& R, bool Ascending, TColor Light,
                                                          TColor Dark) const
{
  SIZE s = GetSortingMarkSize();
  int w = s.cx, h = s.cy, d = Ascending ? 1 : -1;
  int x = (R.left + R.right) / 2 - (w % 2 == 0 ? 1 : 0);
  int b = w / 2, a = b - (w % 2 == 0 ? 1 : 0);
  int y = Ascending ? (R.top + R.bottom - h) / 2 : (R.top + R.bottom + h) / 2 - 1;
  C->SetPenColor(Light);
  C->MoveTo(x + b, y + (h - 2) * d);
  C->LineTo(x + b - a, y);
  C->LineTo(x + b, y + (h - 1) * d);
  C->SetPenColor(Ascending ? Light : Dark);
  C->LineTo(x - a, y + (h - 1) * d);
  C->SetPenColor(Dark);
  C->LineTo(x, y);
  C->LineTo(x - a, y + (h - (w % 2)) * d);
}

void TcxCustomLookAndFeelPainter::DrawPanel(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                            TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                                            bool ShowEndEllipsis, TFont* Font, TColor TextColor, TColor Color,
                                            const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  DrawPanelBorder(C, R);
  DrawContent(C, GetContentRect(R), GetContentTextRect(R), AlignmentHorz, AlignmentVert, false, ShowEndEllipsis, Text,
              Font, TextColor, Color, OnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawCloseButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  DrawButtonBorder(C, R, State);
  RECT r = InflatedRect(R, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal));
  C->FillRectColor(r, GetButtonFaceColor(State));
  int s = GetCloseButtonSize().cx / 2;
  if (s % 2 == 0) --s;
  int x0 = (r.left + r.right - s) / 2, y0 = (r.top + r.bottom - s) / 2;
  if (GetButtonSymbolState(State) == cxbsPressed) {
    ++x0;
    ++y0;
  }
  C->SetPenColor(GetButtonSymbolColor(State));
  for (int k = 0; k < 2; ++k) {
    C->MoveTo(x0 + k, y0);
    C->LineTo(x0 + k + s, y0 + s);
    C->MoveTo(x0 + s - 1 + k, y0);
    C->LineTo(x0 - 1 + k, y0 + s);
  }
}

void TcxCustomLookAndFeelPainter::DrawButtonWithMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  DrawButtonBorder(C, R, State);
  RECT r = InflatedRect(R, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal));
  C->FillRectColor(r, GetButtonFaceColor(State));
  DrawButtonMark(C, r, State);
}

void TcxCustomLookAndFeelPainter::DrawButtonMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  RECT r = InflatedRect(R, -1, -1);
  bool disabled = State == cxbsDisabled;
  TColor light = disabled ? clBtnHighlight : GetButtonMarkColor();
  TColor dark = disabled ? clBtnShadow : GetButtonMarkColor();
  auto plus = [&](int dx, int dy, TColor lines, TColor ends) {
    int cx = (r.left + r.right) / 2 + dx, cy = (r.top + r.bottom) / 2 + dy;
    C->SetPenColor(lines);
    C->MoveTo(r.left + dx, cy);
    C->LineTo(r.right - 1 + dx, cy);
    C->MoveTo(cx, r.top + dy);
    C->LineTo(cx, r.bottom - 1 + dy);
    C->SetPixel(r.right - 1 + dx, cy, ends);
    C->SetPixel(cx, r.bottom - 1 + dy, ends);
  };
  plus(1, 1, light, light);
  plus(0, 0, dark, light);
}

void TcxCustomLookAndFeelPainter::DrawGlyphButton(TcxCanvas* C, const RECT& R, TColor BackgroundColor, bool Horizontal,
                                                  int Glyph, TcxButtonState State) const
{
  DrawButtonBorder(C, R, State);
  RECT r = InflatedRect(R, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal));
  C->FillRectColor(r, GetButtonFaceColor(State));
  TImage& img = Resources().AutoHide[Glyph != 0];
  int x = (r.left + r.right - img.Bitmap->GetWidth()) / 2, y = (r.top + r.bottom - img.Bitmap->GetHeight()) / 2;
  if (State == cxbsPressed) {
    ++x;
    ++y;
  }
  DrawImage(C, x, y, img);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorImage(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind) const
{
  if (Kind == iikNone) return;
  TImage& img = Resources().Indicators[Kind - 1];
  DrawImage(C, (R.left + R.right - img.Bitmap->GetWidth()) / 2, (R.top + R.bottom - img.Bitmap->GetHeight()) / 2, img);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItem(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind,
                                                    TColor Color, const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  DrawHeader(C, R, R, TcxNeighbors{}, GetHeaderBorders(TcxNeighbors{bTop, bBottom}), cxbsNormal, taLeftJustify, vaTop,
             false, false, "", nullptr, clNone, Color, OnDrawBackground);
  DrawIndicatorImage(C, R, Kind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItemSection(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind,
                                                           TColor Color,
                                                           const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  DrawHeaderSection(C, R, R, TcxNeighbors{}, cxBordersAll, cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr,
                    clNone, Color, OnDrawBackground);
  DrawIndicatorImage(C, R, Kind);
}

void TcxCustomLookAndFeelPainter::DrawSmallArrows(TcxCanvas* C, const RECT& Rect, int Arrows, int ArrowOffset) const
{
  RECT r = Rect;
  r.top += GetBorderWidth() + 1;
  r.bottom -= 1;
  for (int arrow : {cxArrowLeft, cxArrowRight}) {
    if (!(Arrows & arrow)) continue;
    int h = (r.bottom - r.top) / 2;
    if (h % 2 == 0) ++h;
    int e = arrow == cxArrowLeft ? r.left : r.right, s = arrow == cxArrowLeft ? 1 : -1;
    POINT p[3];
    p[0] = {e + (ArrowOffset - 1) * s, (r.top + r.bottom - h) / 2 - 1};
    p[1] = {p[0].x, p[0].y + h + 1};
    p[2] = {p[0].x - (h / 2 + 1) * s, p[0].y + h / 2 + 1};
    C->SetBrushStyle(bsSolid);
    C->SetBrushColor(clWindowText);
    C->SetPenColor(clWindowText);
    C->Polygon(p, 3);
  }
}

void TcxCustomLookAndFeelPainter::DrawFlatHeaderWithFrame(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                                          TcxNeighbors Neighbors, const TcxStyleViewParams& VP,
                                                          int Arrows, int ArrowOffset,
                                                          const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  TcxFlatLookAndFeelPainter::Class()->DrawHeader(C, R, R, Neighbors, cxBordersAll, cxbsNormal, taCenter, vaCenter,
                                                 false, false, Text, VP.Font, VP.TextColor, VP.Color, OnDrawBackground);
  DrawSmallArrows(C, R, Arrows, ArrowOffset);
}

void TcxCustomLookAndFeelPainter::DrawPatternTrack(TcxCanvas* C, const RECT& R, bool Pressed) const
{
  C->FillRect(R, &Resources().Patterns[Pressed ? 1 : 0]);
}

TcxArrowKind cxLookAndFeelPainters::ScrollArrowDirection(bool Horizontal, int Part)
{
  if (Horizontal) return Part == cxsbpLineUp ? TcxArrowKind::akLeft : TcxArrowKind::akRight;
  return Part == cxsbpLineUp ? TcxArrowKind::akUp : TcxArrowKind::akDown;
}
