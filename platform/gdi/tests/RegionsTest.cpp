#include <gtest/gtest.h>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

namespace {
struct TRgn {
  HRGN H;
  explicit TRgn(HRGN h) : H(h) {}
  ~TRgn() { DeleteObject(H); }
  operator HRGN() const { return H; }
};
}  // namespace

TEST(GdiRegions, CombineModes)
{
  // Two overlapping squares: a (0,0)-(10,10), b (5,5)-(15,15); count pixels of each result.
  struct TCase {
    int Mode;
    int Kind;
    int Pixels;
    bool Has3_3, Has7_7, Has12_12;
  };
  const TCase cases[] = {
      {RGN_AND, SIMPLEREGION, 25, false, true, false},  {RGN_OR, COMPLEXREGION, 175, true, true, true},
      {RGN_XOR, COMPLEXREGION, 150, true, false, true}, {RGN_DIFF, COMPLEXREGION, 75, true, false, false},
      {RGN_COPY, SIMPLEREGION, 100, true, true, false},
  };
  for (const TCase& c : cases) {
    TRgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15)), d(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(d, a, b, c.Mode), c.Kind) << c.Mode;
    int n = 0;
    for (const RECT& r : GetRegionRects(d)) n += (r.right - r.left) * (r.bottom - r.top);
    EXPECT_EQ(n, c.Pixels) << c.Mode;
    EXPECT_EQ(PtInRegion(d, 3, 3) != 0, c.Has3_3) << c.Mode;
    EXPECT_EQ(PtInRegion(d, 7, 7) != 0, c.Has7_7) << c.Mode;
    EXPECT_EQ(PtInRegion(d, 12, 12) != 0, c.Has12_12) << c.Mode;
  }
  // The destination may be a source; an empty result is NULLREGION; a bad mode is ERROR.
  TRgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(20, 20, 30, 30));
  EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), NULLREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
  EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
  EXPECT_EQ(CombineRgn(a, a, b, 9), ERROR);
}

TEST(GdiRegions, ShapesQueriesAndEquality)
{
  TRgn e(CreateEllipticRgn(0, 0, 21, 11));
  RECT box;
  EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 21, 11}));
  EXPECT_TRUE(PtInRegion(e, 10, 5));
  EXPECT_TRUE(PtInRegion(e, 0, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  EXPECT_FALSE(PtInRegion(e, 21, 5));
  RECT corner{0, 0, 2, 2}, middle{9, 4, 12, 6};
  EXPECT_FALSE(RectInRegion(e, &corner));
  EXPECT_TRUE(RectInRegion(e, &middle));

  const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
  TRgn t(CreatePolygonRgn(tri, 3, ALTERNATE));
  EXPECT_TRUE(PtInRegion(t, 0, 0));
  EXPECT_TRUE(PtInRegion(t, 8, 0));
  EXPECT_FALSE(PtInRegion(t, 9, 9));
  EXPECT_FALSE(PtInRegion(t, 10, 0));

  // A square built from two halves equals the square; offsetting moves it.
  TRgn whole(CreateRectRgn(0, 0, 10, 10)), left(CreateRectRgn(0, 0, 5, 10)), right(CreateRectRgn(5, 0, 10, 10));
  CombineRgn(left, left, right, RGN_OR);
  EXPECT_TRUE(EqualRgn(whole, left));
  EXPECT_EQ(OffsetRgn(left, 3, -2), SIMPLEREGION);
  EXPECT_FALSE(EqualRgn(whole, left));
  EXPECT_TRUE(PtInRegion(left, 12, -2));

  // Winding versus alternate fill of a doubly wound square.
  const POINT twice[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}};
  TRgn alt(CreatePolygonRgn(twice, 8, ALTERNATE)), wind(CreatePolygonRgn(twice, 8, WINDING));
  EXPECT_TRUE(PtInRegion(wind, 5, 5));
  EXPECT_FALSE(PtInRegion(alt, 5, 5));
}

TEST(GdiRegions, ClippingLimitsPaintingAndFollowsTheMapping)
{
  TPixelCanvas c(20, 20);
  TRgn clip(CreateRectRgn(5, 5, 15, 15));
  EXPECT_EQ(SelectClipRgn(c.DC, clip), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.DC, 8, 8, 10, 10), COMPLEXREGION);
  RECT all{0, 0, 20, 20};
  FillRect(c.DC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(c.At(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(c.At(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(14, 14), RGB(0, 0, 0));
  EXPECT_EQ(c.At(15, 15), RGB(255, 255, 255));
  EXPECT_EQ(c.At(8, 9), RGB(255, 255, 255));
  EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 96);
  RECT box;
  EXPECT_EQ(GetClipBox(c.DC, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{5, 5, 15, 15}));
  // GetClipRgn copies; no clip answers 0; the clip region is in device units while the
  // rectangles of IntersectClipRect are logical.
  TRgn copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(c.DC, copy), 1);
  EXPECT_FALSE(PtInRegion(copy, 8, 8));
  SelectClipRgn(c.DC, nullptr);
  EXPECT_EQ(GetClipRgn(c.DC, copy), 0);
  SetWindowOrgEx(c.DC, 10, 0, nullptr);
  IntersectClipRect(c.DC, 10, 0, 12, 2);
  RECT r{0, 0, 30, 30};
  EXPECT_TRUE(RectVisible(c.DC, &r));
  EXPECT_TRUE(PtVisible(c.DC, 11, 1));
  EXPECT_FALSE(PtVisible(c.DC, 12, 1));
  EXPECT_EQ(GetClipRgn(c.DC, copy), 1);
  EXPECT_EQ(GetRgnBox(copy, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 2, 2}));
}

TEST(GdiRegions, FillAndFrameRegion)
{
  TPixelCanvas c(20, 20);
  TRgn r(CreateRectRgn(2, 2, 12, 12));
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(FrameRgn(c.DC, r, black, 2, 1));
  EXPECT_EQ(c.At(2, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(3, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(4, 5), RGB(255, 255, 255));
  EXPECT_EQ(c.At(5, 2), RGB(0, 0, 0));
  EXPECT_EQ(c.At(5, 3), RGB(255, 255, 255));
  EXPECT_EQ(c.At(11, 11), RGB(0, 0, 0));
  // Wider frames: 5 on the left of a 10-wide region leave nothing; an enormous width is no
  // slower than the region is wide.
  TPixelCanvas wide(20, 20);
  TRgn tall(CreateRectRgn(2, 2, 9, 12));
  EXPECT_TRUE(FrameRgn(wide.DC, tall, black, 3, 2));
  EXPECT_EQ(wide.At(4, 5), RGB(0, 0, 0));
  EXPECT_EQ(wide.At(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(wide.At(5, 3), RGB(0, 0, 0));
  EXPECT_EQ(wide.At(5, 4), RGB(255, 255, 255));
  EXPECT_EQ(wide.At(6, 5), RGB(0, 0, 0));
  EXPECT_TRUE(FrameRgn(wide.DC, tall, black, 1000000000, 1));
  EXPECT_EQ(wide.At(5, 5), RGB(0, 0, 0));
  EXPECT_TRUE(FillRgn(c.DC, r, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_HIGHLIGHT + 1))));
  EXPECT_EQ(c.At(6, 6), RGB(10, 36, 106));
  EXPECT_TRUE(InvertRgn(c.DC, r));
  EXPECT_EQ(c.At(6, 6), RGB(245, 219, 149));
  EXPECT_EQ(c.At(1, 1), RGB(255, 255, 255));
}

TEST(GdiRegions, SystemClipStaysUnderTheProgramsClip)
{
  TPixelCanvas c(20, 20);
  TRgn visible(CreateRectRgn(0, 0, 10, 20));
  EXPECT_EQ(SetSystemClipRgn(c.DC, visible), SIMPLEREGION);
  SelectClipRgn(c.DC, nullptr);  // a program's reset does not lift the window's limit
  TRgn copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(c.DC, copy), 0);  // not the program's clip
  RECT box;
  GetClipBox(c.DC, &box);
  EXPECT_EQ(box, (RECT{0, 0, 10, 20}));
  RECT right{12, 0, 20, 20};
  EXPECT_FALSE(RectVisible(c.DC, &right));
  RECT all{0, 0, 20, 20};
  FillRect(c.DC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetSystemClipRgn(c.DC, nullptr);
  EXPECT_TRUE(RectVisible(c.DC, &right));
  EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 200);
  EXPECT_EQ(c.At(9, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(10, 5), RGB(255, 255, 255));
}
