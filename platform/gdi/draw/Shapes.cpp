#include "platform/gdi/draw/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/draw/StrokeInternal.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/gdi/meta/MetaSink.h"

namespace GdiInternal {

namespace {

// Runs of pixels on one row: y, x0, x1 (exclusive).
struct TRun {
  int Y, X0, X1;
};
using TRuns = std::vector<TRun>;

TRegionData RegionOfRuns(const TRuns& runs)
{
  if (runs.empty()) return {};
  int y0 = runs[0].Y, y1 = runs[0].Y;
  for (const TRun& r : runs) {
    y0 = std::min(y0, r.Y);
    y1 = std::max(y1, r.Y);
  }
  std::vector<std::vector<std::pair<int, int>>> rows(std::size_t(y1 - y0 + 1));
  for (const TRun& r : runs) rows[std::size_t(r.Y - y0)].emplace_back(r.X0, r.X1);
  return TRegionData::FromRows(y0, std::move(rows));
}

// Adds a pixel, extending the previous run when it continues it.
void AddPixel(TRuns& runs, int x, int y)
{
  if (!runs.empty()) {
    TRun& b = runs.back();
    if (b.Y == y && b.X1 == x) {
      ++b.X1;
      return;
    }
    if (b.Y == y && b.X0 == x + 1) {
      --b.X0;
      return;
    }
  }
  runs.push_back(TRun{y, x, x + 1});
}

// Pixels of the segment a..b without b (Bresenham), only those inside `bd`; put(x, y, step)
// gets the pixel's step along the segment. Steps outside the bounds are skipped in closed
// form, so far-off or huge lines cost only their visible part.
template <class F>
void LinePixels(POINT a, POINT b, const RECT& bd, F&& put)
{
  std::int64_t dx = std::abs(std::int64_t(b.x) - a.x), dy = std::abs(std::int64_t(b.y) - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  bool xMajor = dx >= dy;
  std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  if (major == 0) return;
  int smaj = xMajor ? sx : sy, smin = xMajor ? sy : sx;
  std::int64_t amaj = xMajor ? a.x : a.y, amin = xMajor ? a.y : a.x;
  std::int64_t lo = xMajor ? bd.left : bd.top, hi = xMajor ? bd.right : bd.bottom;
  std::int64_t mlo = xMajor ? bd.top : bd.left, mhi = xMajor ? bd.bottom : bd.right;
  std::int64_t i0 = 0, i1 = major;
  if (smaj > 0) {
    i0 = std::max(i0, lo - amaj);
    i1 = std::min(i1, hi - amaj);
  } else {
    i0 = std::max(i0, amaj - (hi - 1));
    i1 = std::min(i1, amaj - lo + 1);
  }
  if (i0 >= i1) return;
  // The state after i0 steps: err stays in [0, major) and drops by `minor` per step.
  std::int64_t n = i0 * minor - major / 2;
  std::int64_t k = n <= 0 ? 0 : (n + major - 1) / major;
  std::int64_t err = major / 2 - i0 * minor + k * major;
  std::int64_t p = amaj + smaj * i0, q = amin + smin * k;
  for (std::int64_t i = i0; i < i1; ++i) {
    if (q >= mlo && q < mhi) {
      if (xMajor)
        put(int(p), int(q), i);
      else
        put(int(q), int(p), i);
    }
    p += smaj;
    err -= minor;
    if (err < 0) {
      q += smin;
      err += major;
    }
  }
}

const std::vector<int>& DashPattern(int style)
{
  static const std::vector<int> kNone, kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6}, kDashDotDot{9, 3, 3, 3, 3, 3},
      kAlt{1, 1};
  switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    case PS_ALTERNATE: return kAlt;
    default: return kNone;
  }
}

TRegionData Disk(double cx, double cy, int w)
{
  int l = int(std::lround(cx - w / 2.0)), t = int(std::lround(cy - w / 2.0));
  return TRegionData::FromEllipse(l, t, l + w, t + w);
}

}  // namespace

int DevicePenWidth(const TDCObj* dc, const TPenObj* pen)
{
  if ((pen->Style & PS_TYPE_MASK) != PS_GEOMETRIC && (pen->Style & PS_STYLE_MASK) == PS_ALTERNATE) return 1;
  // Width 0 is one pixel whatever the mapping; other widths are logical units.
  if (pen->Width <= 0) return 1;
  TMapping m = MappingOf(dc);
  int w = int(std::lround(pen->Width * std::fabs(m.Sx)));
  return std::max(1, w);
}

void StrokeDevice(TDCObj* dc, const std::vector<POINT>& pts, bool closed, const TPenObj* pen)
{
  if (!pen || pts.size() < 2) return;
  int style = int(pen->Style & PS_STYLE_MASK);
  if (style == PS_NULL) return;
  std::uint32_t color = ToPixel(PenColor(dc, pen));
  int rop2 = dc->State.Rop2;
  int width = DevicePenWidth(dc, pen);
  std::size_t n = pts.size();
  std::size_t segs = closed ? n : n - 1;
  RECT bounds = DrawableBounds(dc);
  TRowWindow rows(bounds.top, bounds.bottom);
  if (width <= 1) {
    const std::vector<int>& dash = DashPattern(style);
    int period = 0;
    for (int d : dash) period += d;
    auto drawn = [&](std::int64_t pos) {
      if (!period) return true;
      int m = int(pos % period);
      for (std::size_t k = 0; k < dash.size(); ++k) {
        if (m < dash[k]) return k % 2 == 0;
        m -= dash[k];
      }
      return true;
    };
    TRuns on, off;
    std::int64_t pos = 0;
    for (std::size_t i = 0; i < segs; ++i) {
      POINT a = pts[i], b = pts[(i + 1) % n];
      LinePixels(a, b, bounds, [&](int x, int y, std::int64_t step) { AddPixel(drawn(pos + step) ? on : off, x, y); });
      pos += std::max(std::abs(std::int64_t(b.x) - a.x), std::abs(std::int64_t(b.y) - a.y));
    }
    PaintShapeColor(dc, RegionOfRuns(on), color, rop2);
    if (!off.empty() && dc->State.BkMode == OPAQUE)
      PaintShapeColor(dc, RegionOfRuns(off), ToPixel(dc->State.BkColor), rop2);
    return;
  }
  // Wide pens: the union of every segment's band and round joins (and caps unless flat).
  TRegionData shape;
  UINT cap = pen->Style & PS_ENDCAP_MASK;
  bool geometric = (pen->Style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (!geometric) cap = PS_ENDCAP_ROUND;
  // Pieces wholly outside what drawing can touch are left out: long far-off outlines stay cheap.
  RECT lim = DrawableBounds(dc);
  double reach = width / 2.0 + 2;
  auto away = [&](double x0, double y0, double x1, double y1) {
    return std::max(x0, x1) + reach < lim.left || std::min(x0, x1) - reach > lim.right ||
           std::max(y0, y1) + reach < lim.top || std::min(y0, y1) - reach > lim.bottom;
  };
  for (std::size_t i = 0; i < segs; ++i) {
    double ax = pts[i].x + 0.5, ay = pts[i].y + 0.5;
    double bx = pts[(i + 1) % n].x + 0.5, by = pts[(i + 1) % n].y + 0.5;
    if (away(ax, ay, bx, by)) continue;
    double len = std::hypot(bx - ax, by - ay);
    if (len > 0) {
      double ux = (bx - ax) / len, uy = (by - ay) / len;
      double nx = -uy * width / 2.0, ny = ux * width / 2.0;
      if (cap == PS_ENDCAP_SQUARE && !closed) {
        if (i == 0) {
          ax -= ux * width / 2.0;
          ay -= uy * width / 2.0;
        }
        if (i + 1 == segs) {
          bx += ux * width / 2.0;
          by += uy * width / 2.0;
        }
      }
      shape = TRegionData::Combine(
          shape,
          TRegionData::FromPolygon({{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}},
                                   WINDING),
          RGN_OR);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    bool end = !closed && (i == 0 || i + 1 == n);
    if (end && cap != PS_ENDCAP_ROUND) continue;
    if (away(pts[i].x, pts[i].y, pts[i].x, pts[i].y)) continue;
    shape = TRegionData::Combine(shape, Disk(pts[i].x + 0.5, pts[i].y + 0.5, width), RGN_OR);
  }
  PaintShapeColor(dc, shape, color, rop2);
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

namespace {

std::vector<POINT> ToDevicePts(TDCObj* dc, const POINT* pts, int count)
{
  std::vector<POINT> out(std::size_t(std::max(0, count)));
  for (int i = 0; i < count; ++i) out[std::size_t(i)] = ToDevice(dc, pts[i].x, pts[i].y);
  return out;
}

// The outline ring and the interior of a box-shaped figure for the selected pen.
struct TBoxParts {
  RECT Outer, Inner;
  bool NoPen = false;
};

TBoxParts BoxFor(TDCObj* dc, const RECT& dev)
{
  const TPenObj* pen = SelectedPen(dc);
  TBoxParts p;
  int style = int(pen->Style & PS_STYLE_MASK);
  if (style == PS_NULL) {
    p.NoPen = true;
    p.Outer = p.Inner = RECT{dev.left, dev.top, dev.right - 1, dev.bottom - 1};
    return p;
  }
  int w = DevicePenWidth(dc, pen);
  if (style == PS_INSIDEFRAME || w == 1) {
    p.Outer = dev;
  } else {
    int a = (w - 1) / 2;
    p.Outer = RECT{dev.left - a, dev.top - a, dev.right - 1 - a + w, dev.bottom - 1 - a + w};
  }
  p.Inner = RECT{p.Outer.left + w, p.Outer.top + w, p.Outer.right - w, p.Outer.bottom - w};
  return p;
}

bool Dashed(const TPenObj* pen)
{
  int s = int(pen->Style & PS_STYLE_MASK);
  return s >= PS_DASH && s <= PS_DASHDOTDOT;
}

// Fills the interior with the brush, then the ring with the pen colour.
void PaintFigure(TDCObj* dc, const TRegionData& outer, const TRegionData& inner, bool noPen,
                 const std::vector<POINT>* dashedPath)
{
  TBrushPaint brush(dc, nullptr);
  PaintShape(dc, inner, brush, dc->State.Rop2);
  if (noPen) return;
  const TPenObj* pen = SelectedPen(dc);
  if (dashedPath && Dashed(pen) && DevicePenWidth(dc, pen) <= 1) {
    StrokeDevice(dc, *dashedPath, true, pen);
    return;
  }
  PaintShapeColor(dc, TRegionData::Combine(outer, inner, RGN_DIFF), ToPixel(PenColor(dc, pen)), dc->State.Rop2);
}

// Points of the ellipse arc inside l..r-1, t..b-1 from the ray through s to the ray through e.
std::vector<POINT> ArcPoints(TDCObj* dc, const RECT& d, POINT s, POINT e)
{
  double cx = (d.left + d.right - 1) / 2.0, cy = (d.top + d.bottom - 1) / 2.0;
  double rx = (d.right - d.left - 1) / 2.0, ry = (d.bottom - d.top - 1) / 2.0;
  double a0 = std::atan2(-(s.y - cy), s.x - cx), a1 = std::atan2(-(e.y - cy), e.x - cx);
  bool ccw = dc->State.ArcDirection == AD_COUNTERCLOCKWISE;
  double sweep = ccw ? a1 - a0 : a0 - a1;
  while (sweep <= 1e-9) sweep += 2 * M_PI;
  int steps = std::max(8, int(sweep * std::max(rx, ry)));
  std::vector<POINT> out;
  for (int i = 0; i <= steps; ++i) {
    double a = a0 + (ccw ? 1 : -1) * sweep * i / steps;
    POINT p{LONG(std::lround(cx + rx * std::cos(a))), LONG(std::lround(cy - ry * std::sin(a)))};
    if (out.empty() || !(out.back() == p)) out.push_back(p);
  }
  return out;
}

BOOL ArcFigure(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye, int kind)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (dc->Meta) {
    LONG ends[4] = {xs, ys, xe, ye};
    return dc->Meta->Box(dc, kind == 0 ? EMR_ARC : kind == 1 ? EMR_PIE : EMR_CHORD, RECT{l, t, r, b}, ends, 4);
  }
  TRowWindow rows = DrawRows(dc);
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  if (d.right - d.left < 2 || d.bottom - d.top < 2) return TRUE;
  std::vector<POINT> arc = ArcPoints(dc, d, ToDevice(dc, xs, ys), ToDevice(dc, xe, ye));
  const TPenObj* pen = SelectedPen(dc);
  if (kind == 0) {  // arc
    StrokeDevice(dc, arc, false, pen);
    return TRUE;
  }
  std::vector<POINT> outline = arc;
  if (kind == 1) outline.push_back(POINT{LONG((d.left + d.right - 1) / 2), LONG((d.top + d.bottom - 1) / 2)});
  std::vector<std::pair<double, double>> poly;
  for (const POINT& p : outline) poly.emplace_back(p.x + 0.5, p.y + 0.5);
  TBrushPaint brush(dc, nullptr);
  PaintShape(dc, TRegionData::FromPolygon(poly, ALTERNATE), brush, dc->State.Rop2);
  StrokeDevice(dc, outline, true, pen);
  return TRUE;
}

TRegionData LogicalRegionToDevice(TDCObj* dc, const TRegionData& rgn)
{
  TMapping m = MappingOf(dc);
  if (m.Identity()) {
    TRegionData out = rgn;
    POINT o = ToDevice(dc, 0, 0);
    out.Offset(o.x, o.y);
    return out;
  }
  TRegionData out;
  for (const RECT& r : rgn.Rects()) {
    RECT d = RectToDevice(dc, r);
    out = TRegionData::Combine(out, TRegionData::FromRect(d.left, d.top, d.right, d.bottom), RGN_OR);
  }
  return out;
}

}  // namespace

BOOL LineTo(HDC hdc, int x, int y)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (dc->Meta) return dc->Meta->Line(dc, x, y);
  POINT a = ToDevice(dc, dc->State.CurPos.x, dc->State.CurPos.y), b = ToDevice(dc, x, y);
  StrokeDevice(dc, {a, b}, false, SelectedPen(dc));
  dc->State.CurPos = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || count < 2 || !pts) return FALSE;
  if (dc->Meta) return dc->Meta->Poly(dc, EMR_POLYLINE, pts, count);
  StrokeDevice(dc, ToDevicePts(dc, pts, count), false, SelectedPen(dc));
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, int count)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || count < 1 || !pts) return FALSE;
  if (dc->Meta) return dc->Meta->Poly(dc, EMR_POLYLINETO, pts, count);
  std::vector<POINT> all{dc->State.CurPos};
  all.insert(all.end(), pts, pts + count);
  StrokeDevice(dc, ToDevicePts(dc, all.data(), int(all.size())), false, SelectedPen(dc));
  dc->State.CurPos = pts[count - 1];
  return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* pts, const int* counts, int polyCount)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !pts || !counts || polyCount < 1) return FALSE;
  if (dc->Meta) {
    for (int i = 0; i < polyCount; ++i)
      if (counts[i] < 2) return FALSE;
    return polyCount == 1 ? dc->Meta->Poly(dc, EMR_POLYGON, pts, counts[0])
                          : dc->Meta->PolyPoly(dc, pts, counts, polyCount);
  }
  TRowWindow rows = DrawRows(dc);
  std::vector<std::vector<std::pair<double, double>>> polys;
  std::vector<std::vector<POINT>> outlines;
  const POINT* p = pts;
  for (int i = 0; i < polyCount; ++i) {
    if (counts[i] < 2) return FALSE;
    outlines.push_back(ToDevicePts(dc, p, counts[i]));
    std::vector<std::pair<double, double>> poly;
    for (const POINT& q : outlines.back()) poly.emplace_back(q.x, q.y);
    polys.push_back(std::move(poly));
    p += counts[i];
  }
  TBrushPaint brush(dc, nullptr);
  PaintShape(dc, TRegionData::FromPolyPolygon(polys, dc->State.PolyFillMode), brush, dc->State.Rop2);
  for (const auto& o : outlines) StrokeDevice(dc, o, true, SelectedPen(dc));
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count)
{
  int counts[1] = {count};
  return PolyPolygon(hdc, pts, counts, 1);
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (dc->Meta) return dc->Meta->Box(dc, EMR_RECTANGLE, RECT{l, t, r, b}, nullptr, 0);
  TRowWindow rows = DrawRows(dc);
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  TBoxParts p = BoxFor(dc, d);
  std::vector<POINT> path{{d.left, d.top}, {d.right - 1, d.top}, {d.right - 1, d.bottom - 1}, {d.left, d.bottom - 1}};
  PaintFigure(dc, TRegionData::FromRect(p.Outer.left, p.Outer.top, p.Outer.right, p.Outer.bottom),
              TRegionData::FromRect(p.Inner.left, p.Inner.top, p.Inner.right, p.Inner.bottom), p.NoPen, &path);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (dc->Meta) {
    LONG corner[2] = {w, h};
    return dc->Meta->Box(dc, EMR_ROUNDRECT, RECT{l, t, r, b}, corner, 2);
  }
  TRowWindow rows = DrawRows(dc);
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  TMapping m = MappingOf(dc);
  int dw = int(std::lround(std::fabs(w * m.Sx))), dh = int(std::lround(std::fabs(h * m.Sy)));
  TBoxParts p = BoxFor(dc, d);
  int pw = int(p.Outer.right - p.Inner.right);
  TRegionData outer = TRegionData::FromRoundRect(p.Outer.left, p.Outer.top, p.Outer.right, p.Outer.bottom, dw, dh);
  TRegionData inner = p.NoPen ? outer
                              : TRegionData::FromRoundRect(p.Inner.left, p.Inner.top, p.Inner.right, p.Inner.bottom,
                                                           dw - 2 * pw, dh - 2 * pw);
  PaintFigure(dc, outer, inner, p.NoPen, nullptr);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return FALSE;
  if (dc->Meta) return dc->Meta->Box(dc, EMR_ELLIPSE, RECT{l, t, r, b}, nullptr, 0);
  TRowWindow rows = DrawRows(dc);
  RECT d = RectToDevice(dc, RECT{l, t, r, b});
  TBoxParts p = BoxFor(dc, d);
  TRegionData outer = TRegionData::FromEllipse(p.Outer.left, p.Outer.top, p.Outer.right, p.Outer.bottom);
  TRegionData inner =
      p.NoPen ? outer : TRegionData::FromEllipse(p.Inner.left, p.Inner.top, p.Inner.right, p.Inner.bottom);
  PaintFigure(dc, outer, inner, p.NoPen, nullptr);
  return TRUE;
}

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
  return ArcFigure(dc, l, t, r, b, xs, ys, xe, ye, 0);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
  return ArcFigure(dc, l, t, r, b, xs, ys, xe, ye, 1);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
  return ArcFigure(dc, l, t, r, b, xs, ys, xe, ye, 2);
}

int FillRect(HDC hdc, const RECT* r, HBRUSH brush)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TBrushObj* b = GdiInternal::Brush(ResolveBrushArg(brush));
  if (!dc || !r || !b) return 0;
  RECT d = RectToDevice(dc, *r);
  if (r->right <= r->left || r->bottom <= r->top) return 1;
  if (dc->Meta)
    return dc->Meta->Region(dc, EMR_FILLRGN, TRegionData::FromRect(r->left, r->top, r->right, r->bottom),
                            ResolveBrushArg(brush), 0, 0);
  TBrushPaint paint(dc, b);
  PaintShape(dc, TRegionData::FromRect(d.left, d.top, d.right, d.bottom), paint, R2_COPYPEN, PATCOPY);
  return 1;
}

int FrameRect(HDC hdc, const RECT* r, HBRUSH brush)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TBrushObj* b = GdiInternal::Brush(ResolveBrushArg(brush));
  if (!dc || !r || !b) return 0;
  if (r->right <= r->left || r->bottom <= r->top) return 1;
  if (dc->Meta)
    return dc->Meta->Region(dc, EMR_FRAMERGN, TRegionData::FromRect(r->left, r->top, r->right, r->bottom),
                            ResolveBrushArg(brush), 1, 1);
  RECT o = RectToDevice(dc, *r);
  RECT i = RectToDevice(dc, RECT{r->left + 1, r->top + 1, r->right - 1, r->bottom - 1});
  TRegionData ring = TRegionData::Combine(TRegionData::FromRect(o.left, o.top, o.right, o.bottom),
                                          TRegionData::FromRect(i.left, i.top, i.right, i.bottom), RGN_DIFF);
  if (r->right - r->left <= 2 || r->bottom - r->top <= 2)
    ring = TRegionData::FromRect(o.left, o.top, o.right, o.bottom);
  TBrushPaint paint(dc, b);
  PaintShape(dc, ring, paint, R2_COPYPEN, PATCOPY);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* r)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !r) return FALSE;
  if (dc->Meta)
    return dc->Meta->Region(dc, EMR_INVERTRGN, TRegionData::FromRect(r->left, r->top, r->right, r->bottom), nullptr, 0,
                            0);
  RECT d = RectToDevice(dc, *r);
  PaintShapeColor(dc, TRegionData::FromRect(d.left, d.top, d.right, d.bottom), 0, R2_NOT);
  return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TRegionObj* rg = GdiInternal::Region(rgn);
  TBrushObj* b = GdiInternal::Brush(ResolveBrushArg(brush));
  if (!dc || !rg || !b) return FALSE;
  if (dc->Meta) return dc->Meta->Region(dc, EMR_FILLRGN, rg->Data, ResolveBrushArg(brush), 0, 0);
  TBrushPaint paint(dc, b);
  PaintShape(dc, LogicalRegionToDevice(dc, rg->Data), paint, R2_COPYPEN, PATCOPY);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TRegionObj* rg = GdiInternal::Region(rgn);
  if (!dc || !rg) return FALSE;
  if (dc->Meta) return dc->Meta->Region(dc, EMR_PAINTRGN, rg->Data, nullptr, 0, 0);
  TBrushPaint paint(dc, nullptr);
  PaintShape(dc, LogicalRegionToDevice(dc, rg->Data), paint, dc->State.Rop2);
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TRegionObj* rg = GdiInternal::Region(rgn);
  if (!dc || !rg) return FALSE;
  if (dc->Meta) return dc->Meta->Region(dc, EMR_INVERTRGN, rg->Data, nullptr, 0, 0);
  PaintShapeColor(dc, LogicalRegionToDevice(dc, rg->Data), 0, R2_NOT);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TRegionObj* rg = GdiInternal::Region(rgn);
  TBrushObj* b = GdiInternal::Brush(ResolveBrushArg(brush));
  if (!dc || !rg || !b || w < 0 || h < 0) return FALSE;
  if (dc->Meta) return dc->Meta->Region(dc, EMR_FRAMERGN, rg->Data, ResolveBrushArg(brush), w, h);
  TRegionData all = LogicalRegionToDevice(dc, rg->Data);
  // The frame is what the region loses when shrunk by w horizontally and h vertically. Shrinking
  // by d on both sides doubles the reach each round: E(a+s) = E(a) & E(a)+s & E(a)-s, s <= a.
  auto erode = [](TRegionData e, int total, bool horizontal) {
    int done = 0;
    while (done < total && !e.IsEmpty()) {
      int step = std::min(std::max(done, 1), total - done);
      TRegionData plus = e, minus = e;
      plus.Offset(horizontal ? step : 0, horizontal ? 0 : step);
      minus.Offset(horizontal ? -step : 0, horizontal ? 0 : -step);
      e = TRegionData::Combine(TRegionData::Combine(e, plus, RGN_AND), minus, RGN_AND);
      done += step;
    }
    return e;
  };
  RECT box = all.Bounds();
  w = int(std::min<std::int64_t>(w, std::int64_t(box.right) - box.left));
  h = int(std::min<std::int64_t>(h, std::int64_t(box.bottom) - box.top));
  TRegionData inner = erode(erode(all, w, true), h, false);
  TBrushPaint paint(dc, b);
  PaintShape(dc, TRegionData::Combine(all, inner, RGN_DIFF), paint, R2_COPYPEN, PATCOPY);
  return TRUE;
}

}  // namespace Windows
