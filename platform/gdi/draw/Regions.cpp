#include "platform/gdi/draw/Regions.h"

#include <cstdint>
#include <cstdlib>

#include "platform/gdi/dc/GdiInternal.h"

namespace Windows {

using namespace GdiInternal;

namespace {
// Shapes other than rectangles are built row by row; taller ones are refused.
constexpr std::int64_t kMaxRows = std::int64_t(1) << 20;
bool RowsOk(std::int64_t t, std::int64_t b) { return std::abs(b - t) <= kMaxRows; }

HRGN Make(TRegionData d)
{
  auto r = std::make_unique<TRegionObj>();
  r->Data = std::move(d);
  return static_cast<HRGN>(AddObject(std::move(r)));
}
}  // namespace

HRGN CreateRectRgn(int l, int t, int r, int b) { return Make(TRegionData::FromRect(l, t, r, b)); }

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }

HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
{
  if (!RowsOk(t, b)) return nullptr;
  return Make(TRegionData::FromRoundRect(l, t, r, b, w, h));
}

HRGN CreateEllipticRgn(int l, int t, int r, int b)
{
  if (!RowsOk(t, b)) return nullptr;
  return Make(TRegionData::FromEllipse(l, t, r, b));
}

HRGN CreateEllipticRgnIndirect(const RECT* r)
{
  return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polyCount, int fillMode)
{
  if (!pts || !counts || polyCount < 1 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
  std::vector<std::vector<std::pair<double, double>>> polys;
  const POINT* p = pts;
  std::int64_t minY = 0, maxY = 0;
  bool any = false;
  for (int i = 0; i < polyCount; ++i) {
    if (counts[i] < 0) return nullptr;
    std::vector<std::pair<double, double>> poly;
    for (int k = 0; k < counts[i]; ++k) {
      poly.emplace_back(p[k].x, p[k].y);
      minY = any ? std::min<std::int64_t>(minY, p[k].y) : p[k].y;
      maxY = any ? std::max<std::int64_t>(maxY, p[k].y) : p[k].y;
      any = true;
    }
    polys.push_back(std::move(poly));
    p += counts[i];
  }
  if (!RowsOk(minY, maxY)) return nullptr;
  return Make(TRegionData::FromPolyPolygon(polys, fillMode));
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode)
{
  int counts[1] = {count};
  return CreatePolyPolygonRgn(pts, counts, 1, fillMode);
}

BOOL SetRectRgn(HRGN rgn, int l, int t, int r, int b)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  if (!o) return FALSE;
  o->Data = TRegionData::FromRect(l, t, r, b);
  return TRUE;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
  TRegionObj* d = GdiInternal::Region(dest);
  TRegionObj* a = GdiInternal::Region(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    d->Data = a->Data;
    return d->Data.Kind();
  }
  TRegionObj* b = GdiInternal::Region(src2);
  if (!b || mode < RGN_AND || mode > RGN_DIFF) return ERROR;
  d->Data = TRegionData::Combine(a->Data, b->Data, mode);
  return d->Data.Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  if (!o) return ERROR;
  o->Data.Offset(dx, dy);
  return o->Data.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  return (o && o->Data.Contains(x, y)) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* r)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  if (!o || !r) return FALSE;
  RECT n{std::min(r->left, r->right), std::min(r->top, r->bottom), std::max(r->left, r->right),
         std::max(r->top, r->bottom)};
  return o->Data.IntersectsRect(n) ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, RECT* out)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  if (!o || !out) return ERROR;
  *out = o->Data.Bounds();
  return o->Data.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b)
{
  TRegionObj* x = GdiInternal::Region(a);
  TRegionObj* y = GdiInternal::Region(b);
  if (!x || !y) return ERROR;
  return x->Data == y->Data ? TRUE : FALSE;
}

std::vector<RECT> GetRegionRects(HRGN rgn)
{
  TRegionObj* o = GdiInternal::Region(rgn);
  return o ? o->Data.Rects() : std::vector<RECT>{};
}

}  // namespace Windows
