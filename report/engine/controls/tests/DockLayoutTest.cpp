// The dock's arrangement without windows: rows shrinking and growing, and where a dragged
// tool bar may go.
#include <gtest/gtest.h>

#include <string>

#include "report/engine/controls/frxDockLayout.h"

using frxDockLayout::TBar;

namespace {

TBar LayoutBar(int L, int T, int R, int B, bool Visible = true) { return TBar{RECT{L, T, R, B}, Visible}; }

std::string LayoutText(const std::vector<TBar>& Bars)
{
  std::string out;
  for (const TBar& b : Bars)
    out += "(" + std::to_string(b.Bounds.left) + "," + std::to_string(b.Bounds.top) + "," +
           std::to_string(b.Bounds.right) + "," + std::to_string(b.Bounds.bottom) + ")";
  return out;
}

}  // namespace

TEST(DockLayout, ArrangingRemovesEmptyRows)
{
  struct Case {
    const char* what;
    frxDockLayout::TSide side;
    int extent;
    std::vector<TBar> bars;
    int expectedExtent;
    const char* expectedBars;
  } cases[] = {
      {"top dock, second row emptied",
       frxDockLayout::sdTop,
       53,
       {LayoutBar(0, 0, 100, 26), LayoutBar(0, 26, 80, 52, false)},
       27,
       "(0,0,100,26)(0,26,80,52)"},
      {"top dock, first row emptied",
       frxDockLayout::sdTop,
       53,
       {LayoutBar(0, 0, 100, 26, false), LayoutBar(0, 26, 80, 52)},
       27,
       "(0,0,100,26)(0,0,80,26)"},
      {"top dock, two rows kept",
       frxDockLayout::sdTop,
       53,
       {LayoutBar(0, 0, 100, 26), LayoutBar(0, 26, 80, 52)},
       53,
       "(0,0,100,26)(0,26,80,52)"},
      {"a bar added below the last row",
       frxDockLayout::sdTop,
       27,
       {LayoutBar(0, 0, 100, 26), LayoutBar(0, 26, 80, 52)},
       53,
       "(0,0,100,26)(0,26,80,52)"},
      {"empty dock", frxDockLayout::sdTop, 53, {LayoutBar(0, 0, 100, 26, false)}, 1, "(0,0,100,26)"},
      {"left dock, first column emptied",
       frxDockLayout::sdLeft,
       53,
       {LayoutBar(0, 0, 26, 100, false), LayoutBar(26, 0, 52, 80)},
       27,
       "(0,0,26,100)(0,0,26,80)"},
      {"bottom dock, inner row emptied",
       frxDockLayout::sdBottom,
       53,
       {LayoutBar(0, 1, 100, 27, false), LayoutBar(0, 27, 80, 53)},
       27,
       "(0,1,100,27)(0,1,80,27)"},
      {"bottom dock, outer row emptied",
       frxDockLayout::sdBottom,
       53,
       {LayoutBar(0, 1, 100, 27), LayoutBar(0, 27, 80, 53, false)},
       27,
       "(0,1,100,27)(0,27,80,53)"},
      // A bar added to a bottom dock starts above it; everything shifts so that it starts at 1.
      {"bottom dock grows inwards",
       frxDockLayout::sdBottom,
       27,
       {LayoutBar(0, 1, 100, 27), LayoutBar(0, -25, 80, 1)},
       53,
       "(0,27,100,53)(0,1,80,27)"},
      {"right dock grows inwards",
       frxDockLayout::sdRight,
       27,
       {LayoutBar(1, 0, 27, 100), LayoutBar(-25, 0, 1, 80)},
       53,
       "(27,0,53,100)(1,0,27,80)"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(frxDockLayout::Arrange(c.side, c.extent, 26, c.bars), c.expectedExtent);
    EXPECT_EQ(LayoutText(c.bars), c.expectedBars);
  }
}

TEST(DockLayout, MovingAToolBarWithItsGrip)
{
  using frxDockLayout::mvMoved;
  using frxDockLayout::mvRefused;
  using frxDockLayout::mvTornOff;
  struct Case {
    const char* what;
    std::vector<TBar> bars;  // bar 0 moves, in a top dock 300 long
    int x, y;
    bool canFloat;
    frxDockLayout::TMoveResult expected;
    int expectedExtent;
    const char* expectedBars;
  } cases[] = {
      {"a little past the start stays at 0", {LayoutBar(40, 0, 90, 26)}, -10, 0, true, mvMoved, 27, "(0,0,50,26)"},
      {"far past the start tears off", {LayoutBar(40, 0, 90, 26)}, -25, 0, true, mvTornOff, 27, "(40,0,90,26)"},
      {"a bar that cannot float stays at 0", {LayoutBar(40, 0, 90, 26)}, -25, 0, false, mvMoved, 27, "(0,0,50,26)"},
      {"past the end ends at the end", {LayoutBar(40, 0, 90, 26)}, 280, 0, true, mvMoved, 27, "(250,0,300,26)"},
      {"onto another goes right after it",
       {LayoutBar(200, 0, 250, 26), LayoutBar(0, 0, 80, 26)},
       40,
       0,
       true,
       mvMoved,
       27,
       "(80,0,130,26)(0,0,80,26)"},
      {"over another's start goes right before it",
       {LayoutBar(0, 26, 50, 52), LayoutBar(100, 0, 180, 26)},
       70,
       0,
       true,
       mvMoved,
       27,
       "(50,0,100,26)(100,0,180,26)"},
      {"into a gap too small is refused",
       {LayoutBar(0, 26, 50, 52), LayoutBar(0, 0, 80, 26), LayoutBar(100, 0, 300, 26)},
       85,
       0,
       true,
       mvRefused,
       53,
       "(0,26,50,52)(0,0,80,26)(100,0,300,26)"},
      {"to a new row below grows the dock",
       {LayoutBar(0, 0, 50, 26), LayoutBar(60, 0, 120, 26)},
       0,
       26,
       true,
       mvMoved,
       53,
       "(0,26,50,52)(60,0,120,26)"},
      {"the only bar dragged out of its row tears off",
       {LayoutBar(0, 0, 50, 26)},
       0,
       26,
       true,
       mvTornOff,
       27,
       "(0,0,50,26)"},
      {"a bar of another row is no obstacle",
       {LayoutBar(0, 26, 50, 52), LayoutBar(0, 0, 80, 26)},
       10,
       26,
       true,
       mvMoved,
       53,
       "(10,26,60,52)(0,0,80,26)"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    int extent = c.bars.size() > 1 && (c.bars[0].Bounds.top == 26 || c.bars[1].Bounds.top == 26) ? 53 : 27;
    EXPECT_EQ(frxDockLayout::MoveTo(frxDockLayout::sdTop, extent, 300, 26, c.bars, 0, c.x, c.y, c.canFloat),
              c.expected);
    EXPECT_EQ(extent, c.expectedExtent);
    EXPECT_EQ(LayoutText(c.bars), c.expectedBars);
  }
}
