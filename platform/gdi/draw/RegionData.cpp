#include "platform/gdi/draw/RegionData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Spans = std::vector<std::pair<int, int>>;

Spans Normalize(Spans s)
{
  std::sort(s.begin(), s.end());
  Spans out;
  for (const auto& p : s) {
    if (p.first >= p.second) continue;
    if (!out.empty() && p.first <= out.back().second)
      out.back().second = std::max(out.back().second, p.second);
    else
      out.push_back(p);
  }
  return out;
}

// Combines two normalized span lists with a boolean operation on membership.
template <class Op>
Spans CombineSpans(const Spans& a, const Spans& b, Op op)
{
  std::vector<int> xs;
  xs.reserve((a.size() + b.size()) * 2);
  for (const auto& p : a) {
    xs.push_back(p.first);
    xs.push_back(p.second);
  }
  for (const auto& p : b) {
    xs.push_back(p.first);
    xs.push_back(p.second);
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  Spans out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    int x0 = xs[i], x1 = xs[i + 1];
    while (ia < a.size() && a[ia].second <= x0) ++ia;
    while (ib < b.size() && b[ib].second <= x0) ++ib;
    bool inA = ia < a.size() && a[ia].first <= x0;
    bool inB = ib < b.size() && b[ib].first <= x0;
    if (op(inA, inB)) {
      if (!out.empty() && out.back().second == x0)
        out.back().second = x1;
      else
        out.emplace_back(x0, x1);
    }
  }
  return out;
}

thread_local int gRowTop = std::numeric_limits<int>::min();
thread_local int gRowBottom = std::numeric_limits<int>::max();

}  // namespace

TRowWindow::TRowWindow(int top, int bottom) : FTop(gRowTop), FBottom(gRowBottom)
{
  gRowTop = std::max(gRowTop, top);
  gRowBottom = std::min(gRowBottom, bottom);
}
TRowWindow::~TRowWindow()
{
  gRowTop = FTop;
  gRowBottom = FBottom;
}
int TRowWindow::Top() { return gRowTop; }
int TRowWindow::Bottom() { return gRowBottom; }

void TRegionData::Append(int top, int bottom, Spans&& spans)
{
  if (top >= bottom || spans.empty()) return;
  if (!FBands.empty() && FBands.back().bottom == top && FBands.back().spans == spans) {
    FBands.back().bottom = bottom;
    return;
  }
  FBands.push_back(Band{top, bottom, std::move(spans)});
}

TRegionData TRegionData::FromRect(int l, int t, int r, int b)
{
  TRegionData d;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (l < r && t < b) d.FBands.push_back(Band{t, b, {{l, r}}});
  return d;
}

TRegionData TRegionData::FromRows(int top, std::vector<Spans> rows)
{
  TRegionData d;
  for (size_t i = 0; i < rows.size(); ++i) {
    int y = top + int(i);
    d.Append(y, y + 1, Normalize(std::move(rows[i])));
  }
  return d;
}

TRegionData TRegionData::FromPolyPolygon(const std::vector<std::vector<std::pair<double, double>>>& polys, int mode)
{
  double minY = std::numeric_limits<double>::max(), maxY = std::numeric_limits<double>::lowest();
  for (const auto& poly : polys)
    for (const auto& p : poly) {
      minY = std::min(minY, p.second);
      maxY = std::max(maxY, p.second);
    }
  if (minY > maxY) return {};
  double lo = std::max(std::floor(minY), double(gRowTop)), hi = std::min(std::ceil(maxY), double(gRowBottom));
  if (lo >= hi) return {};
  int y0 = int(lo), y1 = int(hi);
  std::vector<Spans> rows(size_t(std::max(0, y1 - y0)));
  std::vector<std::pair<double, int>> xs;
  for (int y = y0; y < y1; ++y) {
    double yc = y + 0.5;
    xs.clear();
    for (const auto& poly : polys) {
      size_t n = poly.size();
      for (size_t i = 0; i < n; ++i) {
        auto [ax, ay] = poly[i];
        auto [bx, by] = poly[(i + 1) % n];
        if (ay == by) continue;
        int dir = by > ay ? 1 : -1;
        if ((ay <= yc && yc < by) || (by <= yc && yc < ay)) {
          double x = ax + (yc - ay) * (bx - ax) / (by - ay);
          xs.emplace_back(x, dir);
        }
      }
    }
    std::sort(xs.begin(), xs.end());
    Spans& row = rows[size_t(y - y0)];
    auto toPix = [](double x) { return int(std::ceil(std::max(-1e9, std::min(1e9, x)) - 0.5)); };
    if (mode == WINDING) {
      int wind = 0;
      for (size_t i = 0; i < xs.size(); ++i) {
        int before = wind;
        wind += xs[i].second;
        if (before == 0 && wind != 0)
          row.emplace_back(toPix(xs[i].first), 0);
        else if (before != 0 && wind == 0 && !row.empty())
          row.back().second = toPix(xs[i].first);
      }
    } else {
      for (size_t i = 0; i + 1 < xs.size(); i += 2) row.emplace_back(toPix(xs[i].first), toPix(xs[i + 1].first));
    }
  }
  return FromRows(y0, std::move(rows));
}

TRegionData TRegionData::FromPolygon(const std::vector<std::pair<double, double>>& pts, int mode)
{
  return FromPolyPolygon({pts}, mode);
}

TRegionData TRegionData::FromEllipse(int l, int t, int r, int b)
{
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (std::int64_t(r) - l <= 0 || std::int64_t(b) - t <= 0) return {};
  // In pixel-index space: the ellipse reaches half a pixel past the centres of the outermost
  // pixels l, r-1, t, b-1, so that every row and column of the box is touched.
  double cx = (double(l) + r - 1) / 2.0, cy = (double(t) + b - 1) / 2.0;
  double rx = (double(r) - l) / 2.0, ry = (double(b) - t) / 2.0;
  int y0 = std::max(t, gRowTop), y1 = std::min(b, gRowBottom);
  if (y0 >= y1) return {};
  std::vector<Spans> rows(size_t(y1 - y0));
  for (int y = y0; y < y1; ++y) {
    double dy = (y - cy) / ry;
    double q = 1.0 - dy * dy;
    if (q < 0) continue;
    double hw = rx * std::sqrt(q);
    int x0 = int(std::ceil(cx - hw - 1e-9)), x1 = int(std::floor(cx + hw + 1e-9)) + 1;
    x0 = std::max(x0, l);
    x1 = std::min(x1, r);
    if (x0 < x1) rows[size_t(y - y0)].emplace_back(x0, x1);
  }
  return FromRows(y0, std::move(rows));
}

TRegionData TRegionData::FromRoundRect(int l, int t, int r, int b, int w, int h)
{
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  // Corner ellipses beyond 65536 pixels are not told apart from larger ones.
  w = int(std::min<std::int64_t>({std::abs(std::int64_t(w)), std::int64_t(r) - l, 1 << 16}));
  h = int(std::min<std::int64_t>({std::abs(std::int64_t(h)), std::int64_t(b) - t, 1 << 16}));
  if (w < 2 || h < 2) return FromRect(l, t, r, b);
  // The corners are the quarters of the ellipse of size w x h.
  TRegionData corners;
  {
    int savedTop = gRowTop, savedBottom = gRowBottom;
    gRowTop = std::numeric_limits<int>::min();
    gRowBottom = std::numeric_limits<int>::max();
    corners = FromEllipse(0, 0, w, h);
    gRowTop = savedTop;
    gRowBottom = savedBottom;
  }
  int y0 = std::max(t, gRowTop), y1 = std::min(b, gRowBottom);
  if (y0 >= y1) return {};
  std::vector<Spans> rows(size_t(y1 - y0));
  int hh = h / 2;
  for (int y = y0; y < y1; ++y) {
    int ey;
    if (y - t < hh)
      ey = y - t;
    else if (b - 1 - y < hh)
      ey = h - (b - y);
    else {
      rows[size_t(y - y0)].emplace_back(l, r);
      continue;
    }
    int ex0 = w, ex1 = 0;
    for (const Band& bd : corners.FBands)
      if (ey >= bd.top && ey < bd.bottom && !bd.spans.empty()) {
        ex0 = bd.spans.front().first;
        ex1 = bd.spans.back().second;
      }
    if (ex0 >= ex1) continue;
    int inset = ex0;  // symmetric ellipse: left inset == right inset
    rows[size_t(y - y0)].emplace_back(l + inset, r - (w - ex1));
  }
  return FromRows(y0, std::move(rows));
}

TRegionData TRegionData::Combine(const TRegionData& a, const TRegionData& b, int mode)
{
  auto op = [mode](bool x, bool y) {
    switch (mode) {
      case RGN_AND: return x && y;
      case RGN_OR: return x || y;
      case RGN_XOR: return x != y;
      case RGN_DIFF: return x && !y;
      default: return x;
    }
  };
  std::vector<int> ys;
  for (const Band& bd : a.FBands) {
    ys.push_back(bd.top);
    ys.push_back(bd.bottom);
  }
  for (const Band& bd : b.FBands) {
    ys.push_back(bd.top);
    ys.push_back(bd.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  TRegionData out;
  size_t ia = 0, ib = 0;
  static const Spans kNone;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    int y0 = ys[i], y1 = ys[i + 1];
    while (ia < a.FBands.size() && a.FBands[ia].bottom <= y0) ++ia;
    while (ib < b.FBands.size() && b.FBands[ib].bottom <= y0) ++ib;
    const Spans& sa = (ia < a.FBands.size() && a.FBands[ia].top <= y0) ? a.FBands[ia].spans : kNone;
    const Spans& sb = (ib < b.FBands.size() && b.FBands[ib].top <= y0) ? b.FBands[ib].spans : kNone;
    out.Append(y0, y1, CombineSpans(sa, sb, op));
  }
  return out;
}

int TRegionData::Kind() const
{
  if (FBands.empty()) return NULLREGION;
  if (FBands.size() == 1 && FBands[0].spans.size() == 1) return SIMPLEREGION;
  return COMPLEXREGION;
}

RECT TRegionData::Bounds() const
{
  RECT r;
  if (FBands.empty()) return r;
  r.top = FBands.front().top;
  r.bottom = FBands.back().bottom;
  r.left = std::numeric_limits<int>::max();
  r.right = std::numeric_limits<int>::min();
  for (const Band& bd : FBands) {
    r.left = std::min(r.left, bd.spans.front().first);
    r.right = std::max(r.right, bd.spans.back().second);
  }
  return r;
}

void TRegionData::Offset(int dx, int dy)
{
  for (Band& bd : FBands) {
    bd.top += dy;
    bd.bottom += dy;
    for (auto& s : bd.spans) {
      s.first += dx;
      s.second += dx;
    }
  }
}

bool TRegionData::Contains(int x, int y) const
{
  for (const Band& bd : FBands) {
    if (y < bd.top) return false;
    if (y >= bd.bottom) continue;
    for (const auto& s : bd.spans)
      if (x >= s.first && x < s.second) return true;
    return false;
  }
  return false;
}

bool TRegionData::IntersectsRect(const RECT& r) const
{
  bool hit = false;
  ForEachSpanIn(r.left, r.top, r.right, r.bottom, [&](int, int, int) { hit = true; });
  return hit;
}

bool TRegionData::operator==(const TRegionData& o) const
{
  if (FBands.size() != o.FBands.size()) return false;
  for (size_t i = 0; i < FBands.size(); ++i)
    if (FBands[i].top != o.FBands[i].top || FBands[i].bottom != o.FBands[i].bottom ||
        FBands[i].spans != o.FBands[i].spans)
      return false;
  return true;
}

std::vector<RECT> TRegionData::Rects() const
{
  std::vector<RECT> out;
  for (const Band& bd : FBands)
    for (const auto& s : bd.spans) out.push_back(RECT{s.first, bd.top, s.second, bd.bottom});
  return out;
}
