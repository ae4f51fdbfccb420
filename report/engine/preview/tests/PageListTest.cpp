// The preview's page layout and zoom maths, without windows.
#include <gtest/gtest.h>

#include "report/engine/preview/frxPageList.h"

namespace {

struct TPlacedPage {
  Integer Column, Top;
};

TEST(PageListTest, PlacesPagesInRowsTenPixelsApart)
{
  struct TCase {
    Integer Columns;
    std::vector<SIZE> Sizes;
    std::vector<TPlacedPage> Expected;
    Integer MaxWidth;
  } cases[] = {
      {1, {{794, 1123}, {794, 1123}, {600, 400}}, {{0, 10}, {0, 1143}, {0, 2276}}, 804},
      // Two per row: the third page starts below the taller of the first two.
      {2, {{794, 1123}, {1123, 794}, {794, 1123}}, {{0, 10}, {1, 10}, {0, 1143}}, 1937},
      {2,
       {{500, 300}, {500, 700}, {500, 100}, {500, 200}, {500, 50}},
       {{0, 10}, {1, 10}, {0, 720}, {1, 720}, {0, 930}},
       1020},
  };
  for (const auto& c : cases) {
    TfrxPageList list;
    list.ColumnsPerRow = c.Columns;
    for (const SIZE& s : c.Sizes) list.AddPage(s.cx, s.cy);
    ASSERT_EQ(list.GetCount(), static_cast<Integer>(c.Expected.size()));
    for (size_t i = 0; i < c.Expected.size(); ++i) {
      EXPECT_EQ(list.GetItem(Integer(i)).Column, c.Expected[i].Column) << "page " << i;
      EXPECT_EQ(list.GetItem(Integer(i)).Top, c.Expected[i].Top) << "page " << i;
    }
    EXPECT_EQ(list.GetMaxWidth(), c.MaxWidth);
  }
}

TEST(PageListTest, PageBoundsAreCentredWhenTheRowFitsAndScaled)
{
  TfrxPageList one;
  one.AddPage(794, 1123);
  one.AddPage(794, 1123);
  // (1000 - 794) / 2 = 103; the second page one page height + 10 below.
  EXPECT_EQ(one.GetPageBounds(1, 1000, 1), (RECT{103, 1143, 897, 2266}));
  // A row wider than the client starts 10 from the left.
  EXPECT_EQ(one.GetPageBounds(0, 500, 1).left, 10);
  // At half size every product is rounded.
  EXPECT_EQ(one.GetPageBounds(1, 1000, 0.5), (RECT{302, 572, 699, 1134}));

  TfrxPageList two;
  two.ColumnsPerRow = 2;
  two.AddPage(400, 500);
  two.AddPage(300, 500);
  // Row width 720 (each page + 10); the second page 410 further right.
  EXPECT_EQ(two.GetPageBounds(0, 1000, 1), (RECT{140, 10, 540, 510}));
  EXPECT_EQ(two.GetPageBounds(1, 1000, 1), (RECT{550, 10, 850, 510}));

  // Outside the list: an A4 sheet at the top.
  EXPECT_EQ(one.GetPageBounds(5, 1000, 1), (RECT{103, 10, 897, 1133}));
  EXPECT_EQ(TfrxPageList().GetPageBounds(0, 400, 1).left, 10);
}

TEST(PageListTest, FindPageExactAndWithinAFifthOfAPage)
{
  TfrxPageList list;
  for (int i = 0; i < 5; ++i) list.AddPage(794, 1000);  // tops 10, 1020, 2030, 3040, 4050
  struct TCase {
    Integer Offset;
    bool Exact;
    Extended Zoom;
    Integer Page;
  } cases[] = {
      {0, true, 1, -1},    {9, true, 1, -1},     {10, true, 1, 0},   {1019, true, 1, 0}, {1020, true, 1, 1},
      {4999, true, 1, 4},  {820, false, 1, 1},   {819, false, 1, 0}, {0, false, 1, 0},   {510, true, 0.5, 1},
      {509, true, 0.5, 0}, {410, false, 0.5, 1}, {-5, true, 1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(list.FindPage(c.Offset, c.Exact, c.Zoom), c.Page)
        << c.Offset << (c.Exact ? " exact" : "") << " at " << c.Zoom;
  EXPECT_EQ(TfrxPageList().FindPage(100, true, 1), -1);
}

TEST(PageListTest, ZoomForEachModeAndItsLimit)
{
  struct TCase {
    TfrxZoomMode Mode;
    Integer ClientWidth, ClientHeight;
    Extended Current, Expected;
  } cases[] = {
      {zmDefault, 1000, 800, 1.5, 1.5},
      {zmWholePage, 1000, 1020, 1, 1000.0 / 1000},
      {zmPageWidth, 1020, 800, 1, 1000.0 / 500},
      {zmManyPages, 1032, 800, 1, 1000.0 / 1000},
      // A window too small for any page still shows it at the lowest zoom.
      {zmWholePage, 100, 10, 1, 0.25},
      {zmDefault, 1000, 800, 0.1, 0.25},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(frxPageList::ZoomForMode(c.Mode, c.ClientWidth, c.ClientHeight, 500, 1000, c.Current), c.Expected)
        << int(c.Mode);
}

TEST(PageListTest, PositionOfAnOutlineTopAddsTheTopMargin)
{
  // 400 pixels below a 10 mm margin at zoom 1.5 on a sheet starting at 5000.
  EXPECT_EQ(frxPageList::PositionOf(5000, 400, 10, 1.5), 5000 + 657 - 10);
  // Top 0 is the sheet's top.
  EXPECT_EQ(frxPageList::PositionOf(5000, 0, 10, 1.5), 4990);
  // Far down a long page: no overflow or loss of the top.
  EXPECT_EQ(frxPageList::PositionOf(10, 2000000, 0, 1), 2000000);
}

}  // namespace
