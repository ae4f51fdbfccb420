// The library's own cursors: shapes with clear corners, black outlines and white inside, hot
// spots where the tools act, and the screen's cursors 50 and 51 once the preview starts.
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/app/Screen.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Icons.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "report/engine/preview/frxCursors.h"
#include "report/engine/preview/tests/PreviewTestUtil.h"

namespace {

class PreviewCursors : public PreviewFixture {};

TEST_F(PreviewCursors, HandAndMagnifierAreDrawnWithTheirHotSpots)
{
  const struct {
    const char* Name;
    HCURSOR (*Make)();
    POINT Hot;
  } kCursors[] = {{"hand", frxCursors::MakeHandCursor, {13, 14}}, {"zoom", frxCursors::MakeZoomCursor, {9, 9}}};
  const COLORREF grey = RGB(0x80, 0x80, 0x80);
  TPixelCanvas sheet(2 * 40, 40, grey);
  int x = 4;
  for (const auto& c : kCursors) {
    HCURSOR cursor = c.Make();
    ASSERT_NE(cursor, nullptr) << c.Name;
    ICONINFO info{};
    ASSERT_TRUE(Windows::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon) << c.Name;
    EXPECT_EQ(int(info.xHotspot), c.Hot.x) << c.Name;
    EXPECT_EQ(int(info.yHotspot), c.Hot.y) << c.Name;
    Windows::DeleteObject(info.hbmMask);
    Windows::DeleteObject(info.hbmColor);

    TPixelCanvas one(32, 32, grey);
    Windows::DrawIcon(one.DC, 0, 0, cursor);
    Windows::DrawIcon(sheet.DC, x, 4, cursor);
    x += 40;
    // Clear corners; a white inside at the hot spot's side and a black outline.
    for (POINT corner : {POINT{0, 0}, POINT{31, 0}, POINT{0, 31}, POINT{31, 31}})
      EXPECT_EQ(one.At(corner.x, corner.y), grey) << c.Name << " corner " << corner.x << "," << corner.y;
    EXPECT_GT(one.Count(RECT{0, 0, 32, 32}, RGB(255, 255, 255), 8), 40) << c.Name;
    EXPECT_GT(one.Count(RECT{0, 0, 32, 32}, RGB(0, 0, 0), 8), 30) << c.Name;
    RECT ink = one.BoundsNot(grey);
    EXPECT_TRUE(ink.left <= c.Hot.x && c.Hot.x < ink.right && ink.top <= c.Hot.y && c.Hot.y < ink.bottom) << c.Name;
    Windows::DestroyIcon(cursor);
  }
  WritePng(sheet, std::string(PELTO_TEST_OUTPUT) + "/preview_cursors.png");
}

TEST_F(PreviewCursors, TheScreenShowsThemForTheTools)
{
  for (TCursor n : {frxCursors::crHand, frxCursors::crZoom}) {
    HCURSOR c = Forms::Screen->GetCursors(n);
    ASSERT_NE(c, nullptr) << n;
    EXPECT_NE(c, Forms::Screen->GetCursors(crHandPoint)) << n;
    EXPECT_NE(c, Forms::Screen->GetCursors(crCross)) << n;
    ICONINFO info{};
    ASSERT_TRUE(Windows::GetIconInfo(c, &info)) << n;
    Windows::DeleteObject(info.hbmMask);
    Windows::DeleteObject(info.hbmColor);
  }
}

}  // namespace
