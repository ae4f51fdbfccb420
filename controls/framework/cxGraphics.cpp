#include "controls/framework/cxGraphics.h"

#include <algorithm>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/MathUtils.h"

using GraphicsSeam::ColorToRGB;

namespace {

// Selects an object for the life of the guard and deletes it afterwards (when owned).
struct TSelected {
  HDC DC;
  HGDIOBJ Obj, Old;
  bool Owned;
  TSelected(HDC dc, HGDIOBJ obj, bool owned = true)
      : DC(dc), Obj(obj), Old(Windows::SelectObject(dc, obj)), Owned(owned) {}
  ~TSelected()
  {
    Windows::SelectObject(DC, Old);
    if (Owned) Windows::DeleteObject(Obj);
  }
};

}  // namespace

// ---- TcxRegion -------------------------------------------------------------------------------

TcxRegion::TcxRegion(HRGN Handle) : FHandle(Handle) {}
TcxRegion::TcxRegion(const RECT& Rect) : FHandle(Windows::CreateRectRgnIndirect(&Rect)) {}
TcxRegion::TcxRegion(int Left, int Top, int Right, int Bottom)
    : TcxRegion(cxGraphics::Rect(Left, Top, Right, Bottom)) {}
TcxRegion::~TcxRegion()
{
  if (FHandle) Windows::DeleteObject(FHandle);
}

bool TcxRegion::IsEmpty() const
{
  RECT r;
  return Windows::GetRgnBox(FHandle, &r) == NULLREGION;
}

void TcxRegion::Combine(TcxRegion* Region, TcxRegionCombineMode Mode, bool DestroyRegion)
{
  static const int modes[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
  if (Mode == rcmCopy)
    Windows::CombineRgn(FHandle, Region->FHandle, nullptr, RGN_COPY);
  else
    Windows::CombineRgn(FHandle, FHandle, Region->FHandle, modes[Mode]);
  if (DestroyRegion) delete Region;
}

void TcxRegion::Offset(int DX, int DY) { Windows::OffsetRgn(FHandle, DX, DY); }

// ---- TcxCanvas -------------------------------------------------------------------------------

TcxCanvas::TcxCanvas(HDC DC) : FDC(DC) {}

void TcxCanvas::SetBrushColor(TColor Color)
{
  if (FBrushColor != Color) FBrushColor = Color;
}

void TcxCanvas::FillWithColor(const RECT& R, COLORREF C)
{
  HBRUSH b = Windows::CreateSolidBrush(C);
  Windows::FillRect(FDC, &R, b);
  Windows::DeleteObject(b);
}

void TcxCanvas::FillRect(const RECT& R, TcxBitmap* Bitmap)
{
  if (cxGraphics::IsRectEmpty(R)) return;
  if (!Bitmap || Bitmap->Empty()) {
    FillWithColor(R, ColorToRGB(FBrushColor));
    return;
  }
  int bw = Bitmap->GetWidth(), bh = Bitmap->GetHeight();
  auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  for (int ty = floorDiv(R.top, bh) * bh; ty < R.bottom; ty += bh)
    for (int tx = floorDiv(R.left, bw) * bw; tx < R.right; tx += bw) {
      RECT d{std::max<LONG>(tx, R.left), std::max<LONG>(ty, R.top),
             std::min<LONG>(tx + bw, R.right), std::min<LONG>(ty + bh, R.bottom)};
      Windows::BitBlt(FDC, d.left, d.top, d.right - d.left, d.bottom - d.top, Bitmap->GetDC(),
                      d.left - tx, d.top - ty, SRCCOPY);
    }
}

void TcxCanvas::FillRectColor(const RECT& R, TColor Color)
{
  SetBrushColor(Color);
  FillRect(R);
}

void TcxCanvas::FrameRect(const RECT& R, TColor Color, int LineWidth, TcxBorders Borders)
{
  if (Color != clDefault) SetBrushColor(Color);
  const RECT bands[] = {{R.left, R.top, R.left + LineWidth, R.bottom},
                        {R.right - LineWidth, R.top, R.right, R.bottom},
                        {R.left, R.top, R.right, R.top + LineWidth},
                        {R.left, R.bottom - LineWidth, R.right, R.bottom}};
  const TcxBorder sides[] = {bLeft, bRight, bTop, bBottom};
  for (int i = 0; i < 4; ++i)
    if (Borders.Contains(sides[i])) FillRect(bands[i]);
}

void TcxCanvas::DrawTwoColorFrame(const RECT& R, TColor TopLeftColor, TColor BottomRightColor,
                                  TcxBorders Borders, int Width)
{
  if (Borders.Contains(bLeft)) FillRectColor({R.left, R.top, R.left + Width, R.bottom}, TopLeftColor);
  if (Borders.Contains(bTop)) FillRectColor({R.left, R.top, R.right, R.top + Width}, TopLeftColor);
  if (Borders.Contains(bRight))
    FillRectColor({R.right - Width, R.top, R.right, R.bottom}, BottomRightColor);
  if (Borders.Contains(bBottom))
    FillRectColor({R.left, R.bottom - Width, R.right, R.bottom}, BottomRightColor);
}

void TcxCanvas::DrawEdge(const RECT& R, bool Sunken, bool Outer, TcxBorders Borders)
{
  TColor tl, br;
  if (Sunken) {
    tl = Outer ? clBtnShadow : cl3DDkShadow;
    br = Outer ? clBtnHighlight : cl3DLight;
  } else {
    tl = Outer ? cl3DLight : clBtnHighlight;
    br = Outer ? cl3DDkShadow : clBtnShadow;
  }
  DrawTwoColorFrame(R, tl, br, Borders, 1);
}

void TcxCanvas::DrawFocusRect(const RECT& R)
{
  SetBrushColor(clWhite);
  FFont.Color = clBlack;
  Windows::SetTextColor(FDC, 0);
  Windows::SetBkColor(FDC, 0xFFFFFF);
  Windows::DrawFocusRect(FDC, &R);
}

void TcxCanvas::InvertRect(const RECT& R)
{
  // Copying a rectangle onto itself with DSTINVERT inverts it in place.
  Windows::BitBlt(FDC, R.left, R.top, R.right - R.left, R.bottom - R.top, FDC, R.left, R.top,
                  DSTINVERT);
}

void TcxCanvas::DrawGlyph(int X, int Y, TcxBitmap& Glyph, bool Enabled, TColor BackgroundColor)
{
  if (Glyph.Empty()) return;
  int w = Glyph.GetWidth(), h = Glyph.GetHeight();
  HDC src = Glyph.GetDC();
  COLORREF transparent = Windows::GetPixel(src, 0, h - 1);
  if (BackgroundColor != clNone) FillWithColor({X, Y, X + w, Y + h}, ColorToRGB(BackgroundColor));
  if (Enabled) {
    Windows::TransparentBlt(FDC, X, Y, w, h, src, 0, 0, w, h, transparent);
    return;
  }
  // Greyed: the glyph's dark pixels as an embossed shape in the button colours.
  COLORREF light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF c = Windows::GetPixel(src, x, y);
        if (c == transparent) continue;
        int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
        if (lum >= 192) continue;
        if (pass == 0)
          Windows::SetPixelV(FDC, X + x + 1, Y + y + 1, light);
        else
          Windows::SetPixelV(FDC, X + x, Y + y, dark);
      }
}

HFONT TcxCanvas::MakeFont() const
{
  return Windows::CreateFont(-FFont.Height, 0, 0, 0, (FFont.Style & fsBold) ? FW_BOLD : FW_NORMAL,
                             (FFont.Style & fsItalic) != 0, (FFont.Style & fsUnderline) != 0,
                             (FFont.Style & fsStrikeOut) != 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             FFont.Name.c_str());
}

SIZE TcxCanvas::TextExtent(const AnsiString& Text)
{
  SIZE s{0, 0};
  if (Text.empty()) return s;
  TSelected font(FDC, MakeFont());
  Windows::GetTextExtentPoint32(FDC, Text.data(), int(Text.size()), &s);
  return s;
}

int TcxCanvas::GetFontHeight(const TcxFontData& Font)
{
  SetFont(Font);
  return TextHeight("Qq");
}

void TcxCanvas::CalculateTextRect(const AnsiString& Text, RECT& R, int Flags)
{
  int w0 = R.right - R.left, h0 = R.bottom - R.top;
  unsigned flags = (cxGraphics::ToWindowsTextFlags(Flags) & ~DT_VCENTER) | DT_CALCRECT;
  {
    TSelected font(FDC, MakeFont());
    Windows::DrawText(FDC, Text.data(), int(Text.size()), &R, flags);
  }
  int w1 = R.right - R.left, h1 = R.bottom - R.top;
  int dx = (Flags & tfAlignHCenter) ? (w0 - w1) / 2 : (Flags & tfAlignRight) ? w0 - w1 : 0;
  int dy = (Flags & tfAlignVCenter) ? (h0 - h1) / 2 : (Flags & tfAlignBottom) ? h0 - h1 : 0;
  R = cxGraphics::OffsetRect(R, dx, dy);
}

void TcxCanvas::DrawText(const AnsiString& Text, const RECT& Rect, int Flags, bool Enabled)
{
  if (Text.empty()) return;
  bool multiLine = !(Flags & tfSingleLine) || (Flags & (tfShowPrefix | tfEndEllipsis | tfPathEllipsis));
  SIZE size = TextExtent(Text);
  RECT r = Rect;
  int d = Enabled ? 0 : 1;
  int rw = r.right - r.left, rh = r.bottom - r.top;
  if (size.cx < rw && size.cy < rh) Flags |= tfNoClip;
  unsigned winFlags = 0;
  if (multiLine) {
    if (!(Flags & tfSingleLine) && (Flags & (tfAlignBottom | tfAlignVCenter))) {
      RECT m{r.left, r.top, r.right - d, r.top};
      CalculateTextRect(Text, m, Flags);
      int h = m.bottom - m.top;
      if (Flags & tfAlignBottom)
        r.top = r.bottom - (h + d);
      else
        r.top = (r.top + r.bottom - h) / 2;
    }
    winFlags = cxGraphics::ToWindowsTextFlags(Flags);
  } else {
    if (size.cx < rw) {
      int h = Flags & (tfAlignLeft | tfAlignRight | tfAlignHCenter);
      if (h == tfAlignRight)
        r.left = r.right - size.cx - d;
      else if (h == tfAlignHCenter)
        r.left = (r.left + r.right - size.cx) / 2;
    }
    if (size.cy < rh) {
      int v = Flags & (tfAlignTop | tfAlignBottom | tfAlignVCenter);
      if (v == tfAlignBottom)
        r.top = r.bottom - size.cy - d;
      else if (v == tfAlignVCenter)
        r.top = (r.top + r.bottom - size.cy) / 2;
    }
  }
  TBrushStyle savedStyle = FBrushStyle;
  TColor savedColor = FFont.Color;
  TSelected font(FDC, MakeFont());
  auto out = [&](const RECT& at, TColor color) {
    Windows::SetTextColor(FDC, ColorToRGB(color));
    if (FBrushStyle == bsClear)
      Windows::SetBkMode(FDC, TRANSPARENT);
    else {
      Windows::SetBkMode(FDC, OPAQUE);
      Windows::SetBkColor(FDC, ColorToRGB(FBrushColor));
    }
    RECT a = at;
    if (multiLine)
      Windows::DrawText(FDC, Text.data(), int(Text.size()), &a, winFlags);
    else
      Windows::ExtTextOut(FDC, a.left, a.top, (Flags & tfNoClip) ? 0 : ETO_CLIPPED, &a,
                          Text.data(), int(Text.size()), nullptr);
  };
  if (Enabled)
    out(r, FFont.Color);
  else {
    FBrushStyle = bsClear;
    out(cxGraphics::OffsetRect(r, 1, 1), clBtnHighlight);
    out(r, clBtnShadow);
  }
  FBrushStyle = savedStyle;
  FFont.Color = savedColor;
}

void TcxCanvas::MoveTo(int X, int Y) { Windows::MoveToEx(FDC, X, Y, nullptr); }

void TcxCanvas::LineTo(int X, int Y)
{
  TSelected pen(FDC, Windows::CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  Windows::LineTo(FDC, X, Y);
}

void TcxCanvas::Polygon(const POINT* Points, int Count)
{
  TSelected pen(FDC, Windows::CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  bool clear = FBrushStyle == bsClear;
  TSelected brush(FDC, clear ? Windows::GetStockObject(NULL_BRUSH)
                             : Windows::CreateSolidBrush(ColorToRGB(FBrushColor)),
                  !clear);
  Windows::Polygon(FDC, Points, Count);
}

void TcxCanvas::Polyline(const POINT* Points, int Count)
{
  TSelected pen(FDC, Windows::CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  Windows::Polyline(FDC, Points, Count);
}

void TcxCanvas::SetPixel(int X, int Y, TColor Color) { Windows::SetPixelV(FDC, X, Y, ColorToRGB(Color)); }

void TcxCanvas::CopyRectFromCanvas(const RECT& Dest, TcxCanvas* Source, const RECT& SourceRect)
{
  CopyRectFromDC(Dest, Source->GetHandle(), SourceRect);
}

void TcxCanvas::CopyRectFromDC(const RECT& Dest, HDC Source, const RECT& S)
{
  Windows::StretchBlt(FDC, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top,
                      Source, S.left, S.top, S.right - S.left, S.bottom - S.top, SRCCOPY);
}

void TcxCanvas::ExcludeFromClip(const RECT& R)
{
  Windows::ExcludeClipRect(FDC, R.left, R.top, R.right, R.bottom);
}

void TcxCanvas::IntersectClip(const RECT& R)
{
  Windows::IntersectClipRect(FDC, R.left, R.top, R.right, R.bottom);
}

bool TcxCanvas::RectVisible(const RECT& R) { return Windows::RectVisible(FDC, &R) != 0; }

POINT TcxCanvas::GetWindowOrg()
{
  POINT p{0, 0};
  Windows::GetWindowOrgEx(FDC, &p);
  return p;
}

TcxRegion* TcxCanvas::GetClipRegion()
{
  auto* region = TcxRegion::CreateEmpty();
  if (Windows::GetClipRgn(FDC, region->GetHandle()) != 1)
    Windows::SetRectRgn(region->GetHandle(), 0, 0, 107374182, 107374182);
  return region;
}

void TcxCanvas::SetClipRegion(TcxRegion* Region, TcxRegionCombineMode Mode, bool DestroyRegion)
{
  if (Mode == rcmCopy)
    Windows::SelectClipRgn(FDC, Region->GetHandle());
  else {
    POINT org = GetWindowOrg();
    Region->Offset(-org.x, -org.y);
    TcxRegion* clip = GetClipRegion();
    clip->Combine(Region, Mode, false);
    Windows::SelectClipRgn(FDC, clip->GetHandle());
    delete clip;
  }
  if (DestroyRegion) delete Region;
}

int TcxCanvas::SaveState() { return Windows::SaveDC(FDC); }
void TcxCanvas::RestoreState(int Level) { Windows::RestoreDC(FDC, Level); }

// ---- TcxScreenCanvas -------------------------------------------------------------------------

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(Windows::CreateCompatibleDC(nullptr))
{
  FBitmap = Windows::CreateCompatibleBitmap(nullptr, 1, 1);
  FOld = Windows::SelectObject(GetHandle(), FBitmap);
}

TcxScreenCanvas::~TcxScreenCanvas()
{
  Windows::SelectObject(GetHandle(), FOld);
  Windows::DeleteObject(FBitmap);
  Windows::DeleteDC(GetHandle());
}

// ---- unit ------------------------------------------------------------------------------------

unsigned cxGraphics::ToWindowsTextFlags(int Flags)
{
  unsigned r = DT_NOPREFIX;
  if (Flags & tfAlignRight) r |= DT_RIGHT;
  if (Flags & tfAlignHCenter) r |= DT_CENTER;
  if (Flags & tfAlignBottom) r |= DT_BOTTOM;
  if (Flags & tfAlignVCenter) r |= DT_VCENTER;
  if (Flags & tfSingleLine) r |= DT_SINGLELINE;
  if (Flags & tfNoClip) r |= DT_NOCLIP;
  if (Flags & tfExpandTabs) r |= DT_EXPANDTABS;
  if (Flags & tfWordBreak) r |= DT_WORDBREAK | DT_EDITCONTROL;
  if (Flags & tfEndEllipsis) r |= DT_END_ELLIPSIS;
  if (Flags & tfCalcOnly) r |= DT_CALCRECT;
  if (Flags & tfPathEllipsis) r |= DT_PATH_ELLIPSIS;
  if (Flags & tfShowPrefix) r &= ~DT_NOPREFIX;
  return r;
}

COLORREF cxGraphics::BlendSystemColors(int WeightBtnFace, int WeightHighlight, int WeightWindow)
{
  COLORREF face = ColorToRGB(clBtnFace), high = ColorToRGB(clHighlight), win = ColorToRGB(clWindow);
  if (face == 0 || face == 0xFFFFFF) return high;
  auto part = [&](int shift) {
    int v = Math::MulDiv((face >> shift) & 0xFF, WeightBtnFace, 100) +
            Math::MulDiv((high >> shift) & 0xFF, WeightHighlight, 100) +
            Math::MulDiv((win >> shift) & 0xFF, WeightWindow, 100);
    return COLORREF(std::clamp(v, 0, 255)) << shift;
  };
  return part(0) | part(8) | part(16);
}

namespace {
COLORREF NearestScreenColor(COLORREF c)
{
  TcxScreenCanvas screen;
  return Windows::GetNearestColor(screen.GetHandle(), c);
}
}  // namespace

COLORREF cxGraphics::GetPressedHighlightColor()
{
  return NearestScreenColor(BlendSystemColors(14, 44, 40));
}

COLORREF cxGraphics::GetHotHighlightColor()
{
  return NearestScreenColor(BlendSystemColors(-2, 30, 72));
}

RECT cxGraphics::Rect(int Left, int Top, int Right, int Bottom) { return RECT{Left, Top, Right, Bottom}; }

RECT cxGraphics::InflatedRect(const RECT& R, int DX, int DY)
{
  return RECT{R.left - DX, R.top - DY, R.right + DX, R.bottom + DY};
}

RECT cxGraphics::OffsetRect(const RECT& R, int DX, int DY)
{
  return RECT{R.left + DX, R.top + DY, R.right + DX, R.bottom + DY};
}

bool cxGraphics::IsRectEmpty(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }
