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

using Graphics::ColorToRGB;

namespace {

// Selects an object for the life of the guard and deletes it afterwards (when owned).
struct TSelected {
  HDC DC;
  HGDIOBJ Obj, Old;
  bool Owned;
  TSelected(HDC dc, HGDIOBJ obj, bool owned = true)
      : DC(dc), Obj(obj), Old(Windows::SelectObject(dc, obj)), Owned(owned)
  {}
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
TcxRegion::TcxRegion(int Left, int Top, int Right, int Bottom) : TcxRegion(cxGraphics::Rect(Left, Top, Right, Bottom))
{}
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

TcxCanvas::TcxCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}

TcxCanvas::~TcxCanvas() = default;

void TcxCanvas::SetFont(TFont* Font)
{
  if (Font && Font != GetFont()) GetFont()->Assign(Font);
}

void TcxCanvas::SetBrushColor(TColor Color)
{
  if (GetBrushColor() != Color) GetBrush()->SetColor(Color);
}

void TcxCanvas::FillWithColor(const RECT& R, COLORREF C)
{
  HBRUSH b = Windows::CreateSolidBrush(C);
  Windows::FillRect(GetHandle(), &R, b);
  Windows::DeleteObject(b);
}

void TcxCanvas::FillRect(const RECT& R, TBitmap* Bitmap)
{
  if (cxGraphics::IsRectEmpty(R)) return;
  if (!Bitmap || Bitmap->GetEmpty()) {
    FillWithColor(R, ColorToRGB(GetBrushColor()));
    return;
  }
  int bw = Bitmap->GetWidth(), bh = Bitmap->GetHeight();
  HDC src = Bitmap->GetCanvas()->GetHandle();
  auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  for (int ty = floorDiv(R.top, bh) * bh; ty < R.bottom; ty += bh)
    for (int tx = floorDiv(R.left, bw) * bw; tx < R.right; tx += bw) {
      RECT d{std::max<LONG>(tx, R.left), std::max<LONG>(ty, R.top), std::min<LONG>(tx + bw, R.right),
             std::min<LONG>(ty + bh, R.bottom)};
      Windows::BitBlt(GetHandle(), d.left, d.top, d.right - d.left, d.bottom - d.top, src, d.left - tx, d.top - ty,
                      SRCCOPY);
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

void TcxCanvas::DrawTwoColorFrame(const RECT& R, TColor TopLeftColor, TColor BottomRightColor, TcxBorders Borders,
                                  int Width)
{
  if (Borders.Contains(bLeft)) FillRectColor({R.left, R.top, R.left + Width, R.bottom}, TopLeftColor);
  if (Borders.Contains(bTop)) FillRectColor({R.left, R.top, R.right, R.top + Width}, TopLeftColor);
  if (Borders.Contains(bRight)) FillRectColor({R.right - Width, R.top, R.right, R.bottom}, BottomRightColor);
  if (Borders.Contains(bBottom)) FillRectColor({R.left, R.bottom - Width, R.right, R.bottom}, BottomRightColor);
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
  GetFont()->SetColor(clBlack);
  Windows::SetTextColor(GetHandle(), 0);
  Windows::SetBkColor(GetHandle(), 0xFFFFFF);
  Windows::DrawFocusRect(GetHandle(), &R);
}

void TcxCanvas::InvertRect(const RECT& R)
{
  // Copying a rectangle onto itself with DSTINVERT inverts it in place.
  Windows::BitBlt(GetHandle(), R.left, R.top, R.right - R.left, R.bottom - R.top, GetHandle(), R.left, R.top,
                  DSTINVERT);
}

void TcxCanvas::DrawGlyph(int X, int Y, TBitmap& Glyph, bool Enabled, TColor BackgroundColor)
{
  if (Glyph.GetEmpty()) return;
  int w = Glyph.GetWidth(), h = Glyph.GetHeight();
  HDC src = Glyph.GetCanvas()->GetHandle();
  COLORREF transparent = Windows::GetPixel(src, 0, h - 1);
  if (BackgroundColor != clNone) FillWithColor({X, Y, X + w, Y + h}, ColorToRGB(BackgroundColor));
  if (Enabled) {
    Windows::TransparentBlt(GetHandle(), X, Y, w, h, src, 0, 0, w, h, transparent);
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
          Windows::SetPixelV(GetHandle(), X + x + 1, Y + y + 1, light);
        else
          Windows::SetPixelV(GetHandle(), X + x, Y + y, dark);
      }
}

SIZE TcxCanvas::TextExtent(const AnsiString& Text)
{
  SIZE s{0, 0};
  if (Text.empty()) return s;
  TSelected font(GetHandle(), MakeFont(), false);
  Windows::GetTextExtentPoint32(GetHandle(), Text.data(), int(Text.size()), &s);
  return s;
}

int TcxCanvas::GetFontHeight(TFont* Font)
{
  SetFont(Font);
  return TextHeight("Qq");
}

void TcxCanvas::CalculateTextRect(const AnsiString& Text, RECT& R, int Flags)
{
  int w0 = R.right - R.left, h0 = R.bottom - R.top;
  unsigned flags = (cxGraphics::ToWindowsTextFlags(Flags) & ~DT_VCENTER) | DT_CALCRECT;
  {
    TSelected font(GetHandle(), MakeFont(), false);
    Windows::DrawText(GetHandle(), Text.data(), int(Text.size()), &R, flags);
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
  TBrushStyle savedStyle = GetBrushStyle();
  TSelected font(GetHandle(), MakeFont(), false);
  auto out = [&](const RECT& at, TColor color) {
    Windows::SetTextColor(GetHandle(), ColorToRGB(color));
    if (GetBrushStyle() == bsClear)
      Windows::SetBkMode(GetHandle(), TRANSPARENT);
    else {
      Windows::SetBkMode(GetHandle(), OPAQUE);
      Windows::SetBkColor(GetHandle(), ColorToRGB(GetBrushColor()));
    }
    RECT a = at;
    if (multiLine)
      Windows::DrawText(GetHandle(), Text.data(), int(Text.size()), &a, winFlags);
    else
      Windows::ExtTextOut(GetHandle(), a.left, a.top, (Flags & tfNoClip) ? 0 : ETO_CLIPPED, &a, Text.data(),
                          int(Text.size()), nullptr);
  };
  if (Enabled)
    out(r, GetFont()->GetColor());
  else {
    SetBrushStyle(bsClear);
    out(cxGraphics::OffsetRect(r, 1, 1), clBtnHighlight);
    out(r, clBtnShadow);
  }
  SetBrushStyle(savedStyle);
}

void TcxCanvas::MoveTo(int X, int Y) { Windows::MoveToEx(GetHandle(), X, Y, nullptr); }

void TcxCanvas::LineTo(int X, int Y)
{
  TSelected pen(GetHandle(), Windows::CreatePen(PS_SOLID, 1, ColorToRGB(GetPenColor())));
  Windows::LineTo(GetHandle(), X, Y);
}

void TcxCanvas::Polygon(const POINT* Points, int Count)
{
  TSelected pen(GetHandle(), Windows::CreatePen(PS_SOLID, 1, ColorToRGB(GetPenColor())));
  bool clear = GetBrushStyle() == bsClear;
  TSelected brush(GetHandle(),
                  clear ? Windows::GetStockObject(NULL_BRUSH) : Windows::CreateSolidBrush(ColorToRGB(GetBrushColor())),
                  !clear);
  Windows::Polygon(GetHandle(), Points, Count);
}

void TcxCanvas::Polyline(const POINT* Points, int Count)
{
  TSelected pen(GetHandle(), Windows::CreatePen(PS_SOLID, 1, ColorToRGB(GetPenColor())));
  Windows::Polyline(GetHandle(), Points, Count);
}

void TcxCanvas::SetPixel(int X, int Y, TColor Color) { Windows::SetPixelV(GetHandle(), X, Y, ColorToRGB(Color)); }

void TcxCanvas::CopyRectFromCanvas(const RECT& Dest, TcxCanvas* Source, const RECT& SourceRect)
{
  CopyRectFromDC(Dest, Source->GetHandle(), SourceRect);
}

void TcxCanvas::CopyRectFromDC(const RECT& Dest, HDC Source, const RECT& S)
{
  Windows::StretchBlt(GetHandle(), Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Source, S.left,
                      S.top, S.right - S.left, S.bottom - S.top, SRCCOPY);
}

void TcxCanvas::ExcludeFromClip(const RECT& R)
{
  Windows::ExcludeClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

void TcxCanvas::IntersectClip(const RECT& R)
{
  Windows::IntersectClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

bool TcxCanvas::RectVisible(const RECT& R) { return Windows::RectVisible(GetHandle(), &R) != 0; }

POINT TcxCanvas::GetWindowOrg()
{
  POINT p{0, 0};
  Windows::GetWindowOrgEx(GetHandle(), &p);
  return p;
}

TcxRegion* TcxCanvas::GetClipRegion()
{
  auto* region = TcxRegion::CreateEmpty();
  if (Windows::GetClipRgn(GetHandle(), region->GetHandle()) != 1)
    Windows::SetRectRgn(region->GetHandle(), 0, 0, 107374182, 107374182);
  return region;
}

void TcxCanvas::SetClipRegion(TcxRegion* Region, TcxRegionCombineMode Mode, bool DestroyRegion)
{
  if (Mode == rcmCopy)
    Windows::SelectClipRgn(GetHandle(), Region->GetHandle());
  else {
    POINT org = GetWindowOrg();
    Region->Offset(-org.x, -org.y);
    TcxRegion* clip = GetClipRegion();
    clip->Combine(Region, Mode, false);
    Windows::SelectClipRgn(GetHandle(), clip->GetHandle());
    delete clip;
  }
  if (DestroyRegion) delete Region;
}

int TcxCanvas::SaveState() { return Windows::SaveDC(GetHandle()); }
void TcxCanvas::RestoreState(int Level) { Windows::RestoreDC(GetHandle(), Level); }

// ---- TcxScreenCanvas -------------------------------------------------------------------------

TScreenCanvas::~TScreenCanvas() { FreeHandle(); }

void TScreenCanvas::CreateHandle()
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  FBitmap = Windows::CreateCompatibleBitmap(nullptr, 1, 1);
  FOld = Windows::SelectObject(dc, FBitmap);
  SetHandle(dc);
}

void TScreenCanvas::FreeHandle()
{
  if (!HandleAllocated()) return;
  HDC dc = GetHandle();
  // Detaching first takes the canvas's own objects out of the context.
  SetHandle(nullptr);
  Windows::SelectObject(dc, FOld);
  Windows::DeleteObject(FBitmap);
  Windows::DeleteDC(dc);
  FBitmap = nullptr;
  FOld = nullptr;
}

TcxScreenCanvas::TcxScreenCanvas() : TcxScreenCanvas(std::make_unique<TScreenCanvas>()) {}

TcxScreenCanvas::TcxScreenCanvas(std::unique_ptr<TScreenCanvas> Canvas)
    : TcxCanvas(Canvas.get()), FScreenCanvas(std::move(Canvas))
{}

TcxScreenCanvas::~TcxScreenCanvas() = default;

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

COLORREF cxGraphics::GetPressedHighlightColor() { return NearestScreenColor(BlendSystemColors(14, 44, 40)); }

COLORREF cxGraphics::GetHotHighlightColor() { return NearestScreenColor(BlendSystemColors(-2, 30, 72)); }

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

PELTO_DEFINE_CLASS(TScreenCanvas)
