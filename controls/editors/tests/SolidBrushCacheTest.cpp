// The solid brush cache: shared handles, least-used eviction that keeps the colours sorted, a
// clear on a system palette change, and an evicted brush that a caller still holds.
#include <gtest/gtest.h>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditPaintUtils.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/testsupport/PixelCanvas.h"

namespace {

struct SolidBrushCache : ::testing::Test {
  void SetUp() override { EditorsModule::Initialize(); }
};

void ExpectSortedColours(const TcxSolidBrushCache& Cache)
{
  for (int i = 1; i < Cache.GetDepth(); ++i)
    EXPECT_LT(std::uint32_t(Cache.GetColor(i - 1)), std::uint32_t(Cache.GetColor(i))) << "at " << i;
}

TEST_F(SolidBrushCache, SameColourSameHandleAndSystemColoursUseTheSystemBrushes)
{
  TcxSolidBrushCache cache(8);
  HBRUSH red = cache.GetBrush(TColor(0x0000FF));
  EXPECT_NE(red, nullptr);
  EXPECT_EQ(cache.GetBrush(TColor(0x0000FF)), red);
  EXPECT_EQ(cache.GetDepth(), 1);
  EXPECT_EQ(cache.GetUseCount(0), 1u);
  LOGBRUSH lb{};
  ASSERT_NE(Windows::GetObject(red, &lb), 0);
  EXPECT_EQ(lb.lbColor, COLORREF(0x0000FF));

  EXPECT_EQ(cache.GetBrush(clBtnFace), Windows::GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(cache.GetBrush(TColor(0xFF00001E)), Windows::GetSysColorBrush(30));
  EXPECT_EQ(cache.GetDepth(), 1) << "system colours never enter the cache";
  EXPECT_EQ(cxEditPaintUtils::GetSolidBrush(clWindow), Windows::GetSysColorBrush(COLOR_WINDOW));
}

TEST_F(SolidBrushCache, FullCacheEvictsTheFirstLeastUsedAndKeepsTheOrder)
{
  TcxSolidBrushCache cache(4);
  // Inserted out of order; every colour but 0x30 is asked for again.
  for (TColor c : {TColor(0x40), TColor(0x10), TColor(0x30), TColor(0x20)}) cache.GetBrush(c);
  for (TColor c : {TColor(0x40), TColor(0x10), TColor(0x20)}) cache.GetBrush(c);
  HBRUSH old30 = cache.GetBrush(TColor(0x30));  // 0x30 now used once, like the others
  cache.GetBrush(TColor(0x40));                 // 0x40 used twice

  cache.GetBrush(TColor(0x25));  // evicts 0x10: the first of the least used
  ExpectSortedColours(cache);
  ASSERT_EQ(cache.GetDepth(), 4);
  EXPECT_EQ(cache.GetColor(0), TColor(0x20));
  EXPECT_EQ(cache.GetColor(1), TColor(0x25));
  EXPECT_EQ(cache.GetUseCount(1), 0u) << "a fresh brush starts unused";

  cache.GetBrush(TColor(0x05));  // the fresh 0x25 goes first now
  ExpectSortedColours(cache);
  EXPECT_EQ(cache.GetColor(0), TColor(0x05));
  for (int i = 0; i < cache.GetDepth(); ++i) EXPECT_NE(cache.GetColor(i), TColor(0x25));
  EXPECT_EQ(cache.GetBrush(TColor(0x30)), old30) << "survivors keep their handles";
}

TEST_F(SolidBrushCache, PaletteChangeMakesFreshBrushes)
{
  TcxSolidBrushCache cache;
  HBRUSH before = cache.GetBrush(TColor(0x123456));
  cxSystemPaletteNotifier::SystemColorsChanged();
  EXPECT_EQ(cache.GetDepth(), 0);
  EXPECT_EQ(Windows::GetObjectType(before), 0u) << "the old brush is deleted";
  HBRUSH after = cache.GetBrush(TColor(0x123456));
  EXPECT_NE(Windows::GetObjectType(after), 0u);
  EXPECT_EQ(cache.GetDepth(), 1);
}

TEST_F(SolidBrushCache, AnEvictedBrushStillHeldFillsNothing)
{
  TcxSolidBrushCache cache(1);
  HBRUSH held = cache.GetBrush(TColor(0x0000FF));
  cache.GetBrush(TColor(0x00FF00));  // evicts the held one
  // Enough new objects that the freed slot is reused: the stale handle must still miss.
  HBRUSH reused = Windows::CreateSolidBrush(RGB(1, 2, 3));
  TPixelCanvas canvas(8, 8);
  RECT r{0, 0, 8, 8};
  EXPECT_EQ(Windows::FillRect(canvas.DC, &r, held), 0);
  EXPECT_EQ(canvas.CountNot(kWhite), 0);
  Windows::DeleteObject(reused);
}

}  // namespace
