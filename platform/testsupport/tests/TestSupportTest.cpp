#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/rtl/DateTime.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/PinnedClock.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/TempFolder.h"

using namespace Windows;

TEST(PixelCanvas, ReadsDevicePixelsWhateverTheTestLeftOnTheDC)
{
  TPixelCanvas c(20, 10);
  EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 0);
  EXPECT_EQ(c.BoundsNot(RGB(255, 255, 255)), (RECT{0, 0, 0, 0}));
  EXPECT_EQ(c.Ink(RECT{0, 0, 20, 10}), (RECT{0, 0, 0, 0}));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{2, 3, 6, 5};
  FillRect(c.DC, &r, red);
  DeleteObject(red);
  // A clip and a moved origin must not change what is read.
  IntersectClipRect(c.DC, 0, 0, 1, 1);
  SetViewportOrgEx(c.DC, 5, 5, nullptr);
  EXPECT_EQ(c.At(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(c.At(6, 5), RGB(255, 255, 255));
  EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 8);
  EXPECT_EQ(c.BoundsNot(RGB(255, 255, 255)), (RECT{2, 3, 6, 5}));
  EXPECT_EQ(c.Ink(RECT{4, 0, 20, 10}), (RECT{4, 3, 6, 5}));
  EXPECT_EQ(c.Count(RECT{0, 0, 20, 10}, RGB(230, 20, 20)), 8);
  EXPECT_EQ(c.Count(RECT{0, 0, 20, 10}, RGB(230, 20, 20), 10), 0);
  // The state the test set is still there.
  POINT org;
  GetViewportOrgEx(c.DC, &org);
  EXPECT_EQ(org.x, 5);
  c.Clear(RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(19, 9), RGB(0, 0, 255));
}

TEST(TempFolder, IsFreshAndGoesWithEverythingInIt)
{
  std::string dir;
  {
    TTempFolder a("testsupport"), b("testsupport");
    dir = a.Dir();
    EXPECT_NE(a.Dir(), b.Dir());
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_EQ(a.Path("x.txt"), dir + "/x.txt");
    std::filesystem::create_directory(a.Path("sub"));
    std::ofstream(a.Path("sub/合同.txt")) << "text";
  }
  EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST(MessageBoxAnswerer, AnswersInOrderThenWithTheDefaultButtonAndPutsThePreviousBoxBack)
{
  TMessageBoxAnswerer outer(IDCANCEL);
  {
    TMessageBoxAnswerer inner({IDNO, IDOK});
    EXPECT_EQ(MessageSeam::Show("一", "提示", MB_YESNO), IDNO);
    EXPECT_EQ(MessageSeam::Show("二", "提示", MB_OK), IDOK);
    EXPECT_EQ(MessageSeam::Show("三", "提示", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    ASSERT_EQ(inner.Boxes().size(), 3u);
    EXPECT_EQ(inner.Boxes()[0].Caption, "提示");
    EXPECT_EQ(inner.Boxes()[0].Flags, unsigned(MB_YESNO));
    EXPECT_EQ(inner.Texts(), (std::vector<AnsiString>{"一", "二", "三"}));
  }
  EXPECT_EQ(MessageSeam::Show("四", "", MB_YESNO), IDCANCEL);
  EXPECT_EQ(outer.Texts(), std::vector<AnsiString>{"四"});
}

TEST(PinnedClock, NowReadsThePinnedMomentUntilTheClockGoes)
{
  const TDateTime before = SysUtils::Now();
  {
    TPinnedClock clock(TDateTime(40000.25));
    EXPECT_EQ(SysUtils::Now().Value, 40000.25);
    EXPECT_EQ(SysUtils::Date().Value, 40000.0);
    clock.Set(TDateTime(40001.5));
    EXPECT_EQ(SysUtils::Time().Value, 0.5);
  }
  EXPECT_GE(SysUtils::Now().Value, before.Value);
}
