#include "platform/gdi/dc/DeviceContext.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/VectorTarget.h"
#include "platform/gdi/meta/MetaSink.h"

namespace GdiInternal {

TDCObj::TDCObj() : TGdiObject(TObjKind::DC) {}
TDCObj::~TDCObj() = default;

bool GetSurface(TDCObj* dc, TSurface& out)
{
  if (dc->Surface == TSurfaceKind::Buffer) {
    out = TSurface{dc->BufBase, dc->BufStride, dc->BufWidth, dc->BufHeight, false};
    return dc->BufBase != nullptr;
  }
  if (dc->Surface != TSurfaceKind::Memory) return false;
  TBitmapObj* b = Bitmap(dc->State.Bitmap);
  if (!b) b = Bitmap(DefaultBitmap());
  if (!b) return false;
  out = TSurface{b->Base, b->Stride, b->Width, b->Height, b->Mono};
  return true;
}

TMapping MappingOf(const TDCObj* dc)
{
  const TDCState& s = dc->State;
  TMapping m;
  if (s.MapMode != MM_TEXT && s.WinExt.cx != 0 && s.WinExt.cy != 0) {
    m.Sx = double(s.VpExt.cx) / s.WinExt.cx;
    m.Sy = double(s.VpExt.cy) / s.WinExt.cy;
  }
  m.Ox = s.VpOrg.x - s.WinOrg.x * m.Sx;
  m.Oy = s.VpOrg.y - s.WinOrg.y * m.Sy;
  if (dc->PlayMap) {
    m.Sx *= dc->PlaySx;
    m.Sy *= dc->PlaySy;
    m.Ox = m.Ox * dc->PlaySx + dc->PlayOx;
    m.Oy = m.Oy * dc->PlaySy + dc->PlayOy;
  }
  return m;
}

POINT ToDevice(const TDCObj* dc, int x, int y)
{
  const TDCState& s = dc->State;
  if (s.MapMode == MM_TEXT && !dc->PlayMap) return POINT{x - s.WinOrg.x + s.VpOrg.x, y - s.WinOrg.y + s.VpOrg.y};
  TMapping m = MappingOf(dc);
  return POINT{LONG(std::lround(x * m.Sx + m.Ox)), LONG(std::lround(y * m.Sy + m.Oy))};
}

RECT RectToDevice(const TDCObj* dc, const RECT& r)
{
  POINT a = ToDevice(dc, r.left, r.top), b = ToDevice(dc, r.right, r.bottom);
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TRegionData DrawableArea(TDCObj* dc, const TSurface& s)
{
  TRegionData all = TRegionData::FromRect(0, 0, s.Width, s.Height);
  if (dc->SystemClip) all = TRegionData::Combine(all, *dc->SystemClip, RGN_AND);
  if (!dc->State.Clip) return all;
  return TRegionData::Combine(all, *dc->State.Clip, RGN_AND);
}

RECT DrawableBounds(TDCObj* dc)
{
  RECT r{0, 0, 0, 0};
  TSurface s;
  if (GetSurface(dc, s))
    r = RECT{0, 0, s.Width, s.Height};
  else if (dc->Vector)
    r = RECT{0, 0, dc->Vector->Width(), dc->Vector->Height()};
  for (const std::optional<TRegionData>* clip : {&dc->State.Clip, &dc->SystemClip})
    if (*clip) {
      RECT c = (*clip)->Bounds();
      r = RECT{std::max(r.left, c.left), std::max(r.top, c.top), std::min(r.right, c.right),
               std::min(r.bottom, c.bottom)};
    }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return RECT{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
}

std::uint32_t Rop2(int rop2, std::uint32_t p, std::uint32_t d)
{
  switch (rop2) {
    case R2_COPYPEN: return p;
    case R2_BLACK: return 0;
    case R2_WHITE: return 0xFFFFFF;
    case R2_NOP: return d;
    case R2_NOT: return ~d & 0xFFFFFF;
    case R2_XORPEN: return p ^ d;
    case R2_NOTXORPEN: return ~(p ^ d) & 0xFFFFFF;
    case R2_MASKPEN: return p & d;
    case R2_MERGEPEN: return p | d;
    case R2_NOTCOPYPEN: return ~p & 0xFFFFFF;
    case R2_NOTMERGEPEN: return ~(p | d) & 0xFFFFFF;
    case R2_MASKNOTPEN: return ~p & d & 0xFFFFFF;
    case R2_MASKPENNOT: return p & ~d & 0xFFFFFF;
    case R2_NOTMASKPEN: return ~(p & d) & 0xFFFFFF;
    case R2_MERGENOTPEN: return (~p | d) & 0xFFFFFF;
    case R2_MERGEPENNOT: return (p | ~d) & 0xFFFFFF;
    default: return p;
  }
}

std::uint32_t Rop3(DWORD rop, std::uint32_t pat, std::uint32_t src, std::uint32_t dst)
{
  switch (rop) {
    case SRCCOPY: return src;
    case SRCAND: return src & dst;
    case SRCPAINT: return src | dst;
    case SRCINVERT: return src ^ dst;
    case PATCOPY: return pat;
    case PATINVERT: return pat ^ dst;
    case DSTINVERT: return ~dst & 0xFFFFFF;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    default: break;
  }
  // The operation index (bits 16..23) holds the result for each combination of P, S, D bits.
  unsigned table = (rop >> 16) & 0xFF;
  std::uint32_t out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    unsigned idx = (((pat >> bit) & 1) << 2) | (((src >> bit) & 1) << 1) | ((dst >> bit) & 1);
    out |= std::uint32_t((table >> idx) & 1) << bit;
  }
  return out;
}

const TBrushObj* SelectedBrush(const TDCObj* dc, COLORREF* dcColor)
{
  HGDIOBJ h = dc->State.Brush;
  const TBrushObj* b = Brush(static_cast<HBRUSH>(h));
  if (!b) b = Brush(static_cast<HBRUSH>(Stock(WHITE_BRUSH)));
  if (dcColor) *dcColor = (h == Stock(DC_BRUSH)) ? dc->State.DCBrushColor : (b ? b->Color : 0);
  return b;
}

const TPenObj* SelectedPen(const TDCObj* dc)
{
  const TPenObj* p = Pen(dc->State.Pen);
  return p ? p : Pen(static_cast<HPEN>(Stock(BLACK_PEN)));
}

COLORREF PenColor(const TDCObj* dc, const TPenObj* pen)
{
  return static_cast<const void*>(dc->State.Pen) == Stock(DC_PEN) ? dc->State.DCPenColor : pen->Color;
}

static bool HatchBit(int hatch, int x, int y)
{
  x &= 7;
  y &= 7;
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}

TBrushPaint::TBrushPaint(const TDCObj* dc, const TBrushObj* brush) : FBrush(brush)
{
  COLORREF dcColor = 0;
  if (!brush)
    brush = SelectedBrush(dc, &dcColor);
  else
    dcColor = brush->Color;
  FBrush = brush;
  if (!brush || brush->Style == BS_NULL) {
    FNull = true;
    return;
  }
  FColor = ToPixel(dcColor);
  FSolid = brush->Style == BS_SOLID;
  FOpaque = dc->State.BkMode == OPAQUE;
  FFore = ToPixel(dc->State.TextColor);
  FBack = ToPixel(dc->State.BkColor);
  FOrg = dc->State.BrushOrg;
}

bool TBrushPaint::At(int x, int y, std::uint32_t& out) const
{
  if (FNull) return false;
  if (FSolid) {
    out = FColor;
    return true;
  }
  if (FBrush->Style == BS_HATCHED) {
    if (HatchBit(FBrush->Hatch, x - FOrg.x, y - FOrg.y)) {
      out = FColor;
      return true;
    }
    if (!FOpaque) return false;
    out = FBack;
    return true;
  }
  int w = FBrush->PatW, h = FBrush->PatH;
  int px = ((x - FOrg.x) % w + w) % w, py = ((y - FOrg.y) % h + h) % h;
  std::uint32_t p = FBrush->Pattern[std::size_t(py) * std::size_t(w) + std::size_t(px)] & 0xFFFFFF;
  out = FBrush->Mono ? (p ? FBack : FFore) : p;
  return true;
}

void PaintShape(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush, int rop2, DWORD rop3)
{
  if (dc->Meta) {
    dc->Meta->DeviceFill(dc, shape, brush);
    return;
  }
  if (brush.IsNull() || shape.IsEmpty()) return;
  if (dc->Vector) {
    dc->Vector->FillRegion(dc, shape, brush, rop2, rop3);
    return;
  }
  TSurface s;
  if (!GetSurface(dc, s)) return;
  RECT b = shape.Bounds();
  bool inside =
      !dc->State.Clip && !dc->SystemClip && b.left >= 0 && b.top >= 0 && b.right <= s.Width && b.bottom <= s.Height;
  TRegionData clipped;
  if (!inside) clipped = TRegionData::Combine(shape, DrawableArea(dc, s), RGN_AND);
  const TRegionData& area = inside ? shape : clipped;
  bool fast = brush.IsSolid() && (rop3 == PATCOPY || (rop3 == 0 && rop2 == R2_COPYPEN));
  std::uint32_t solid = s.Mono ? MonoOf(brush.Solid()) : brush.Solid();
  for (const auto& bd : area.Bands())
    for (int y = bd.top; y < bd.bottom; ++y) {
      std::uint32_t* row = s.Row(y);
      for (const auto& sp : bd.spans) {
        if (fast) {
          std::fill(row + sp.first, row + sp.second, solid);
          continue;
        }
        for (int x = sp.first; x < sp.second; ++x) {
          std::uint32_t p;
          if (!brush.At(x, y, p)) continue;
          if (s.Mono) p = MonoOf(p);
          std::uint32_t d = row[x] & 0xFFFFFF;
          row[x] = rop3 ? Rop3(rop3, p, 0, d) : Rop2(rop2, p, d);
        }
      }
    }
}

void PaintShapeColor(TDCObj* dc, const TRegionData& shape, std::uint32_t color, int rop2)
{
  TBrushObj solid;
  solid.Color = ToColorRef(color);
  TBrushPaint paint(dc, &solid);
  PaintShape(dc, shape, paint, rop2);
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

namespace {

bool Visible(const TDCObj* dc, POINT p)
{
  if (dc->State.Clip && !dc->State.Clip->Contains(p.x, p.y)) return false;
  return !dc->SystemClip || dc->SystemClip->Contains(p.x, p.y);
}

// What is visible: the clip and the system clip within the surface.
TRegionData VisibleArea(TDCObj* dc)
{
  TSurface s;
  if (GetSurface(dc, s)) return DrawableArea(dc, s);
  TRegionData page =
      dc->Vector ? TRegionData::FromRect(0, 0, dc->Vector->Width(), dc->Vector->Height()) : TRegionData();
  return dc->State.Clip ? TRegionData::Combine(page, *dc->State.Clip, RGN_AND) : page;
}

TRegionData ClipOrSurface(TDCObj* dc)
{
  if (dc->State.Clip) return *dc->State.Clip;
  TSurface s;
  if (GetSurface(dc, s)) return TRegionData::FromRect(0, 0, s.Width, s.Height);
  if (dc->Vector) return TRegionData::FromRect(0, 0, dc->Vector->Width(), dc->Vector->Height());
  return {};
}

void InitState(TDCObj* dc)
{
  dc->State.Pen = static_cast<HPEN>(Stock(BLACK_PEN));
  dc->State.Brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  dc->State.Font = static_cast<HFONT>(Stock(SYSTEM_FONT));
}

}  // namespace

HDC CreateCompatibleDC(HDC dc)
{
  if (dc && !GdiInternal::DC(dc)) return nullptr;
  auto obj = std::make_unique<TDCObj>();
  InitState(obj.get());
  obj->State.Bitmap = DefaultBitmap();
  return static_cast<HDC>(AddObject(std::move(obj)));
}

HDC CreateBufferDC(void* pixels, int width, int height, std::ptrdiff_t stride)
{
  if (!pixels || width <= 0 || height <= 0 || stride < width * 4 || stride % 4) return nullptr;
  auto obj = std::make_unique<TDCObj>();
  obj->Surface = TSurfaceKind::Buffer;
  obj->BufBase = static_cast<std::uint32_t*>(pixels);
  obj->BufStride = stride / 4;
  obj->BufWidth = width;
  obj->BufHeight = height;
  InitState(obj.get());
  return static_cast<HDC>(AddObject(std::move(obj)));
}

BOOL DeleteDC(HDC dc)
{
  if (!GdiInternal::DC(dc)) return FALSE;
  return RemoveObject(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TGdiObject* o = Lookup(obj);
  if (!dc || !o) return nullptr;
  TDCState& s = dc->State;
  HGDIOBJ old = nullptr;
  switch (o->Kind) {
    case TObjKind::Pen:
      old = s.Pen;
      s.Pen = static_cast<HPEN>(obj);
      break;
    case TObjKind::Brush:
      old = s.Brush;
      s.Brush = static_cast<HBRUSH>(obj);
      break;
    case TObjKind::Font:
      old = s.Font;
      s.Font = static_cast<HFONT>(obj);
      break;
    case TObjKind::Bitmap: {
      if (dc->Surface != TSurfaceKind::Memory) return nullptr;
      // A bitmap lives in one memory DC at a time.
      if (obj != DefaultBitmap() && IsSelected(obj) && s.Bitmap != obj) return nullptr;
      old = s.Bitmap;
      s.Bitmap = static_cast<HBITMAP>(obj);
      s.Clip.reset();
      break;
    }
    case TObjKind::Region: return reinterpret_cast<HGDIOBJ>(std::intptr_t(SelectClipRgn(hdc, static_cast<HRGN>(obj))));
    default: return nullptr;
  }
  return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->State.Pen;
    case OBJ_BRUSH: return dc->State.Brush;
    case OBJ_FONT: return dc->State.Font;
    case OBJ_BITMAP: return dc->State.Bitmap;
    default: return nullptr;
  }
}

int SaveDC(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  dc->Saved.push_back(dc->State);
  return int(dc->Saved.size());
}

BOOL RestoreDC(HDC hdc, int level)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  int n = int(dc->Saved.size());
  if (level < 0) level = n + 1 + level;
  if (level < 1 || level > n) return FALSE;
  dc->State = dc->Saved[std::size_t(level - 1)];
  dc->Saved.resize(std::size_t(level - 1));
  return TRUE;
}

#define PELTO_DC_ACCESSOR(SetName, GetName, Type, Field, Bad) \
  Type SetName(HDC hdc, Type v)                               \
  {                                                           \
    TDCObj* dc = GdiInternal::DC(hdc);                        \
    if (!dc) return Bad;                                      \
    Type old = dc->State.Field;                               \
    dc->State.Field = v;                                      \
    return old;                                               \
  }                                                           \
  Type GetName(HDC hdc)                                       \
  {                                                           \
    TDCObj* dc = GdiInternal::DC(hdc);                        \
    return dc ? dc->State.Field : Bad;                        \
  }

COLORREF SetTextColor(HDC hdc, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->State.TextColor;
  dc->State.TextColor = c & 0xFFFFFF;
  return old;
}
COLORREF GetTextColor(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->State.TextColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC hdc, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->State.BkColor;
  dc->State.BkColor = c & 0xFFFFFF;
  return old;
}
COLORREF GetBkColor(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->State.BkColor : CLR_INVALID;
}
int SetBkMode(HDC hdc, int mode)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  int old = dc->State.BkMode;
  dc->State.BkMode = mode;
  return old;
}
int SetROP2(HDC hdc, int rop2)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  int old = dc->State.Rop2;
  dc->State.Rop2 = rop2;
  return old;
}
PELTO_DC_ACCESSOR(SetTextAlignImpl, GetTextAlign, UINT, TextAlign, GDI_ERROR)
UINT SetTextAlign(HDC hdc, UINT align) { return SetTextAlignImpl(hdc, align); }
int GetBkMode(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->State.BkMode : 0;
}
int GetROP2(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->State.Rop2 : 0;
}
PELTO_DC_ACCESSOR(SetPolyFillModeImpl, GetPolyFillMode, int, PolyFillMode, 0)
int SetPolyFillMode(HDC hdc, int mode)
{
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return SetPolyFillModeImpl(hdc, mode);
}
PELTO_DC_ACCESSOR(SetStretchBltModeImpl, GetStretchBltMode, int, StretchMode, 0)
int SetStretchBltMode(HDC hdc, int mode)
{
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return SetStretchBltModeImpl(hdc, mode);
}
int SetArcDirection(HDC hdc, int dir)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || (dir != AD_CLOCKWISE && dir != AD_COUNTERCLOCKWISE)) return 0;
  int old = dc->State.ArcDirection;
  dc->State.ArcDirection = dir;
  return old;
}
PELTO_DC_ACCESSOR(SetTextCharacterExtraImpl, GetTextCharacterExtra, int, CharExtra, 0)
int SetTextCharacterExtra(HDC hdc, int extra) { return SetTextCharacterExtraImpl(hdc, extra); }
#undef PELTO_DC_ACCESSOR

BOOL SetTextJustification(HDC hdc, int breakExtra, int breakCount)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  dc->State.BreakExtra = breakCount > 0 ? breakExtra : 0;
  dc->State.BreakCount = breakCount > 0 ? breakCount : 0;
  return TRUE;
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->State.DCBrushColor;
  dc->State.DCBrushColor = c & 0xFFFFFF;
  return old;
}
COLORREF SetDCPenColor(HDC hdc, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->State.DCPenColor;
  dc->State.DCPenColor = c & 0xFFFFFF;
  return old;
}

namespace {
BOOL SetPoint(HDC hdc, POINT TDCState::*field, int x, int y, POINT* old, bool offset)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->State.*field;
  if (old) *old = p;
  if (offset) {
    p.x += x;
    p.y += y;
  } else
    p = POINT{x, y};
  return TRUE;
}
BOOL GetPoint(HDC hdc, POINT TDCState::*field, POINT* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->State.*field;
  return TRUE;
}
}  // namespace

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::BrushOrg, x, y, old, false); }
BOOL GetBrushOrgEx(HDC dc, POINT* out) { return GetPoint(dc, &TDCState::BrushOrg, out); }
BOOL MoveToEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::CurPos, x, y, old, false); }
BOOL GetCurrentPositionEx(HDC dc, POINT* out) { return GetPoint(dc, &TDCState::CurPos, out); }
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::WinOrg, x, y, old, false); }
BOOL GetWindowOrgEx(HDC dc, POINT* out) { return GetPoint(dc, &TDCState::WinOrg, out); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old)
{
  return SetPoint(dc, &TDCState::WinOrg, dx, dy, old, true);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::VpOrg, x, y, old, false); }
BOOL GetViewportOrgEx(HDC dc, POINT* out) { return GetPoint(dc, &TDCState::VpOrg, out); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old)
{
  return SetPoint(dc, &TDCState::VpOrg, dx, dy, old, true);
}

namespace {
// Isotropic mapping keeps one scale on both axes: the viewport extent shrinks to fit.
void FixIsotropic(TDCState& s)
{
  if (s.MapMode != MM_ISOTROPIC || s.WinExt.cx == 0 || s.WinExt.cy == 0) return;
  double sx = std::fabs(double(s.VpExt.cx) / s.WinExt.cx);
  double sy = std::fabs(double(s.VpExt.cy) / s.WinExt.cy);
  double sc = std::min(sx, sy);
  s.VpExt.cx = LONG(std::lround(sc * std::abs(s.WinExt.cx))) * (s.VpExt.cx < 0 ? -1 : 1);
  s.VpExt.cy = LONG(std::lround(sc * std::abs(s.WinExt.cy))) * (s.VpExt.cy < 0 ? -1 : 1);
  // Never a zero extent: the mapping must stay invertible.
  if (s.VpExt.cx == 0) s.VpExt.cx = 1;
  if (s.VpExt.cy == 0) s.VpExt.cy = 1;
}

}  // namespace

int SetMapMode(HDC hdc, int mode)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  TDCState& s = dc->State;
  int old = s.MapMode;
  s.MapMode = mode;
  int dpi = dc->LogPixels;
  // Fixed scales: window extent in the mode's units per inch, viewport in pixels; y grows up.
  auto fixed = [&](int unitsPerInch) {
    s.WinExt = SIZE{unitsPerInch, unitsPerInch};
    s.VpExt = SIZE{dpi, -dpi};
  };
  switch (mode) {
    case MM_TEXT: s.WinExt = s.VpExt = SIZE{1, 1}; break;
    case MM_LOMETRIC: fixed(254); break;
    case MM_HIMETRIC: fixed(2540); break;
    case MM_LOENGLISH: fixed(100); break;
    case MM_HIENGLISH: fixed(1000); break;
    case MM_TWIPS: fixed(1440); break;
    default:
      // From a fixed metric mode the extents carry over (the classic way to start from one).
      if (old == MM_TEXT) {
        s.WinExt = SIZE{1, 1};
        s.VpExt = SIZE{1, 1};
      }
      FixIsotropic(s);
      break;
  }
  return old;
}

int GetMapMode(HDC hdc)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  return dc ? dc->State.MapMode : 0;
}

namespace {
BOOL SetExtent(HDC hdc, SIZE TDCState::*field, int cx, int cy, SIZE* old)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->State.*field;
  if (dc->State.MapMode != MM_ISOTROPIC && dc->State.MapMode != MM_ANISOTROPIC) return TRUE;
  if (cx == 0 || cy == 0) return FALSE;
  dc->State.*field = SIZE{cx, cy};
  FixIsotropic(dc->State);
  return TRUE;
}
BOOL GetExtent(HDC hdc, SIZE TDCState::*field, SIZE* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->State.*field;
  return TRUE;
}
}  // namespace

BOOL SetWindowExtEx(HDC dc, int cx, int cy, SIZE* old) { return SetExtent(dc, &TDCState::WinExt, cx, cy, old); }
BOOL GetWindowExtEx(HDC dc, SIZE* out) { return GetExtent(dc, &TDCState::WinExt, out); }
BOOL SetViewportExtEx(HDC dc, int cx, int cy, SIZE* old) { return SetExtent(dc, &TDCState::VpExt, cx, cy, old); }
BOOL GetViewportExtEx(HDC dc, SIZE* out) { return GetExtent(dc, &TDCState::VpExt, out); }

BOOL LPtoDP(HDC hdc, POINT* pts, int count)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = ToDevice(dc, pts[i].x, pts[i].y);
  return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* pts, int count)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  TMapping m = MappingOf(dc);
  for (int i = 0; i < count; ++i)
    pts[i] = POINT{LONG(std::lround((pts[i].x - m.Ox) / m.Sx)), LONG(std::lround((pts[i].y - m.Oy) / m.Sy))};
  return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return ERROR;
  TDCState& s = dc->State;
  TRegionObj* r = GdiInternal::Region(rgn);
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    s.Clip.reset();
    return SIMPLEREGION;
  }
  if (!r) return ERROR;
  if (mode == RGN_COPY)
    s.Clip = r->Data;
  else if (mode >= RGN_AND && mode <= RGN_DIFF)
    s.Clip = TRegionData::Combine(ClipOrSurface(dc), r->Data, mode);
  else
    return ERROR;
  return s.Clip->Kind();
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return ERROR;
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  dc->State.Clip =
      TRegionData::Combine(ClipOrSurface(dc), TRegionData::FromRect(d.left, d.top, d.right, d.bottom), RGN_DIFF);
  return dc->State.Clip->Kind();
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return ERROR;
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  TRegionData rect = TRegionData::FromRect(d.left, d.top, d.right, d.bottom);
  dc->State.Clip = dc->State.Clip ? TRegionData::Combine(*dc->State.Clip, rect, RGN_AND) : rect;
  return dc->State.Clip->Kind();
}

int OffsetClipRgn(HDC hdc, int dx, int dy)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return ERROR;
  if (!dc->State.Clip) return SIMPLEREGION;
  TMapping m = MappingOf(dc);
  dc->State.Clip->Offset(int(std::lround(dx * m.Sx)), int(std::lround(dy * m.Sy)));
  return dc->State.Clip->Kind();
}

int GetClipRgn(HDC hdc, HRGN rgn)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TRegionObj* r = GdiInternal::Region(rgn);
  if (!dc || !r) return -1;
  if (!dc->State.Clip) return 0;
  r->Data = *dc->State.Clip;
  return 1;
}

int GetClipBox(HDC hdc, RECT* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !out) return ERROR;
  TRegionData area = VisibleArea(dc);
  RECT b = area.Bounds();
  POINT p[2] = {{b.left, b.top}, {b.right, b.bottom}};
  DPtoLP(hdc, p, 2);
  *out = RECT{std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x), std::max(p[0].y, p[1].y)};
  return area.Kind();
}

BOOL RectVisible(HDC hdc, const RECT* r)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !r) return FALSE;
  RECT d = RectToDevice(dc, *r);
  return VisibleArea(dc).IntersectsRect(d) ? TRUE : FALSE;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  POINT p = ToDevice(dc, x, y);
  return VisibleArea(dc).Contains(p.x, p.y) ? TRUE : FALSE;
}

int SetSystemClipRgn(HDC hdc, HRGN rgn)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return ERROR;
  if (!rgn) {
    dc->SystemClip.reset();
    return SIMPLEREGION;
  }
  TRegionObj* r = GdiInternal::Region(rgn);
  if (!r) return ERROR;
  dc->SystemClip = r->Data;
  return r->Data.Kind();
}

int GetDeviceCaps(HDC hdc, int index)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  TSurface s;
  int w = 0, h = 0, pw = 0, ph = 0, ox = 0, oy = 0;
  bool mono = false;
  if (GetSurface(dc, s)) {
    w = s.Width;
    h = s.Height;
    mono = s.Mono;
  } else if (dc->Vector) {
    w = dc->Vector->Width();
    h = dc->Vector->Height();
    pw = dc->Vector->PhysicalWidth();
    ph = dc->Vector->PhysicalHeight();
    ox = dc->Vector->OffsetX();
    oy = dc->Vector->OffsetY();
  } else if (dc->Surface == TSurfaceKind::Record) {
    w = dc->BufWidth;
    h = dc->BufHeight;
  }
  if (!dc->Vector) {
    pw = w;
    ph = h;
  }
  switch (index) {
    case TECHNOLOGY: return dc->Vector ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES: return w;
    case PHYSICALWIDTH: return pw;
    case VERTRES: return h;
    case PHYSICALHEIGHT: return ph;
    case HORZSIZE: return int(std::lround(w * 25.4 / dc->LogPixels));
    case VERTSIZE: return int(std::lround(h * 25.4 / dc->LogPixels));
    case BITSPIXEL: return mono ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return mono ? 2 : -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case LOGPIXELSX:
    case LOGPIXELSY: return dc->LogPixels;
    case PHYSICALOFFSETX: return ox;
    case PHYSICALOFFSETY: return oy;
    default: return 0;
  }
}

COLORREF GetNearestColor(HDC hdc, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  TSurface s;
  if (GetSurface(dc, s) && s.Mono) return ToColorRef(MonoOf(ToPixel(c & 0xFFFFFF)));
  return c & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TSurface s;
  if (!dc || !GetSurface(dc, s)) return CLR_INVALID;
  POINT p = ToDevice(dc, x, y);
  if (p.x < 0 || p.y < 0 || p.x >= s.Width || p.y >= s.Height) return CLR_INVALID;
  if (!Visible(dc, p)) return CLR_INVALID;
  return ToColorRef(s.Row(p.y)[p.x] & 0xFFFFFF);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return CLR_INVALID;
  if (dc->Meta) return dc->Meta->Pixel(dc, x, y, c) ? c & 0xFFFFFF : CLR_INVALID;
  POINT p = ToDevice(dc, x, y);
  if (dc->Vector) {
    PaintShapeColor(dc, TRegionData::FromRect(p.x, p.y, p.x + 1, p.y + 1), ToPixel(c & 0xFFFFFF), R2_COPYPEN);
    return c & 0xFFFFFF;
  }
  TSurface s;
  if (!GetSurface(dc, s)) return CLR_INVALID;
  if (p.x < 0 || p.y < 0 || p.x >= s.Width || p.y >= s.Height) return CLR_INVALID;
  if (!Visible(dc, p)) return CLR_INVALID;
  std::uint32_t px = ToPixel(c & 0xFFFFFF);
  if (s.Mono) px = MonoOf(px);
  s.Row(p.y)[p.x] = px;
  return ToColorRef(px);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c) != CLR_INVALID ? TRUE : FALSE; }

}  // namespace Windows
