#include "report/engine/controls/frxDockLayout.h"

#include <algorithm>
#include <climits>

namespace frxDockLayout {

namespace {

bool Vertical(TSide Side) { return Side == sdLeft || Side == sdRight; }
bool FarSide(TSide Side) { return Side == sdBottom || Side == sdRight; }

// A bar's extent on each axis, whatever the dock's orientation.
struct TSpan {
  int a0, a1;  // along
  int c0, c1;  // across
};

TSpan SpanOf(TSide Side, const RECT& R)
{
  if (Vertical(Side)) return {R.top, R.bottom, R.left, R.right};
  return {R.left, R.right, R.top, R.bottom};
}

RECT RectOf(TSide Side, const TSpan& S)
{
  if (Vertical(Side)) return RECT{S.c0, S.a0, S.c1, S.a1};
  return RECT{S.a0, S.c0, S.a1, S.c1};
}

void MoveAcross(TSide Side, TBar& Bar, int By)
{
  RECT& r = Bar.Bounds;
  if (Vertical(Side)) {
    r.left += By;
    r.right += By;
  } else {
    r.top += By;
    r.bottom += By;
  }
}

}  // namespace

int Arrange(TSide Side, int Extent, int RowSize, std::vector<TBar>& Bars)
{
  std::vector<TBar*> shown;
  for (TBar& b : Bars)
    if (b.Visible) shown.push_back(&b);
  if (shown.empty()) return 1;
  if (RowSize <= 0) RowSize = 1;
  int rows = Extent / RowSize;
  if (!FarSide(Side)) {
    // From 0 outwards; a removed row's line is looked at again.
    int line = 0;
    while (line < rows * RowSize) {
      bool used = false;
      for (TBar* b : shown) {
        TSpan s = SpanOf(Side, b->Bounds);
        if ((s.c0 >= line && s.c0 < line + RowSize) || (s.c0 < line && s.c1 > line)) used = true;
      }
      if (used) {
        line += RowSize;
        continue;
      }
      for (TBar* b : shown)
        if (SpanOf(Side, b->Bounds).c0 > line) MoveAcross(Side, *b, -RowSize);
      --rows;
    }
  } else {
    // From the far side inwards: a row is used by a bar that ends in it or spans its line.
    int total = rows;
    for (int k = 0; k < total; ++k) {
      int line = Extent - k * RowSize;
      bool used = false;
      for (TBar* b : shown) {
        TSpan s = SpanOf(Side, b->Bounds);
        if ((s.c1 <= line && s.c1 > line - RowSize) || (s.c0 < line && s.c1 > line)) used = true;
      }
      if (used) continue;
      for (TBar* b : shown)
        if (SpanOf(Side, b->Bounds).c1 > line) MoveAcross(Side, *b, -RowSize);
      --rows;
    }
    int first = INT_MAX;
    for (TBar* b : shown) first = std::min(first, SpanOf(Side, b->Bounds).c0);
    if (first < 0)
      for (TBar* b : shown) MoveAcross(Side, *b, 1 - first);
  }
  int extent = rows * RowSize + 1;
  for (TBar* b : shown) {
    TSpan s = SpanOf(Side, b->Bounds);
    extent = std::max(extent, FarSide(Side) ? s.c1 : s.c1 + 1);
  }
  return extent;
}

TMoveResult MoveTo(TSide Side, int& Extent, int Length, int RowSize, std::vector<TBar>& Bars, std::size_t Index, int X,
                   int Y, bool CanFloat)
{
  if (Index >= Bars.size()) return mvRefused;
  TSpan self = SpanOf(Side, Bars[Index].Bounds);
  int len = self.a1 - self.a0, thick = self.c1 - self.c0;
  int pos = Vertical(Side) ? Y : X;
  int across = Vertical(Side) ? X : Y;
  bool torn = false;
  int passes = 0;
  // A pass that adjusted anything needs another to confirm the result; pushes that undo each
  // other within one pass still count, so a bar never settles overlapping another.
  bool adjusted = true;
  while (adjusted && passes < 4 && !torn) {
    ++passes;
    adjusted = false;
    if (pos < -20 && CanFloat)
      torn = true;
    else if (pos < 0) {
      pos = 0;
      adjusted = true;
    } else if (pos + len > Length) {
      pos = Length - len;
      adjusted = true;
    }
    if (!torn)
      for (size_t i = 0; i < Bars.size(); ++i) {
        if (i == Index || !Bars[i].Visible) continue;
        TSpan o = SpanOf(Side, Bars[i].Bounds);
        if (o.c1 <= across || o.c0 >= across + thick) continue;  // other rows
        if (pos >= o.a0 && pos < o.a1) {
          pos = o.a1;
          adjusted = true;
        } else if (o.a0 >= pos && o.a0 < pos + len) {
          pos = o.a0 - len;
          adjusted = true;
        }
      }
  }
  if (torn) return mvTornOff;
  if (passes > 2) return mvRefused;

  std::vector<TBar> moved = Bars;
  moved[Index].Bounds = RectOf(Side, TSpan{pos, pos + len, across, across + thick});
  bool beyond = across < 0 || across + thick > Extent;
  int extent = Arrange(Side, Extent, RowSize, moved);
  if (beyond && extent <= Extent && CanFloat) return mvTornOff;
  Bars = std::move(moved);
  Extent = extent;
  return mvMoved;
}

}  // namespace frxDockLayout
