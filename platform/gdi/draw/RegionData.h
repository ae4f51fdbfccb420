// The shape behind a region handle: a set of pixels kept as horizontal bands of disjoint
// x-intervals, in device coordinates. Used by the region calls and by clipping.
#pragma once

#include <utility>
#include <vector>

#include "platform/gdi/WinTypes.h"

// Rows outside the current window are left out of the shapes being built (ellipses, round
// rectangles, polygons), so that drawing a huge or far-off figure costs only its visible rows.
// Drawing code opens a window on the rows it can touch; by default every row is built.
class TRowWindow {
public:
  TRowWindow(int top, int bottom);
  ~TRowWindow();
  TRowWindow(const TRowWindow&) = delete;
  TRowWindow& operator=(const TRowWindow&) = delete;
  static int Top();
  static int Bottom();

private:
  int FTop, FBottom;
};

class TRegionData {
public:
  struct Band {
    int top = 0, bottom = 0;                 // rows top..bottom-1
    std::vector<std::pair<int, int>> spans;  // [x0, x1), sorted, disjoint, not touching
  };

  TRegionData() = default;
  static TRegionData FromRect(int l, int t, int r, int b);
  // One row per entry: rows[i] holds the spans of row top + i (any order, may overlap).
  static TRegionData FromRows(int top, std::vector<std::vector<std::pair<int, int>>> rows);
  // Polygon scan conversion with pixel-centre sampling (ALTERNATE or WINDING).
  static TRegionData FromPolygon(const std::vector<std::pair<double, double>>& pts, int mode);
  static TRegionData FromPolyPolygon(const std::vector<std::vector<std::pair<double, double>>>& polys, int mode);
  // The ellipse inscribed in l..r-1, t..b-1 (pixel centres).
  static TRegionData FromEllipse(int l, int t, int r, int b);
  static TRegionData FromRoundRect(int l, int t, int r, int b, int w, int h);

  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF.
  static TRegionData Combine(const TRegionData& a, const TRegionData& b, int mode);

  bool IsEmpty() const { return FBands.empty(); }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;
  RECT Bounds() const;
  void Offset(int dx, int dy);
  bool Contains(int x, int y) const;
  bool IntersectsRect(const RECT& r) const;
  bool operator==(const TRegionData& o) const;
  std::vector<RECT> Rects() const;
  const std::vector<Band>& Bands() const { return FBands; }
  // Calls f(y, x0, x1) for every row span inside the rectangle l..r, t..b.
  template <class F>
  void ForEachSpanIn(int l, int t, int r, int b, F&& f) const
  {
    for (const Band& bd : FBands) {
      if (bd.bottom <= t) continue;
      if (bd.top >= b) break;
      int y0 = bd.top < t ? t : bd.top, y1 = bd.bottom > b ? b : bd.bottom;
      for (const auto& s : bd.spans) {
        int x0 = s.first < l ? l : s.first, x1 = s.second > r ? r : s.second;
        if (x0 >= x1) continue;
        for (int y = y0; y < y1; ++y) f(y, x0, x1);
      }
    }
  }

private:
  std::vector<Band> FBands;
  void Append(int top, int bottom, std::vector<std::pair<int, int>>&& spans);
};
