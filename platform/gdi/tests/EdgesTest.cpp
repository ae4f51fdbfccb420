#include <gtest/gtest.h>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/image/SystemBitmaps.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

namespace {
const COLORREF kMark = RGB(1, 2, 3);  // a background no system colour uses
COLORREF Sys(int i) { return GetSysColor(i); }
}  // namespace

TEST(GdiEdges, EdgeColoursAndCorners)
{
  struct TCase {
    UINT Edge;
    int OuterTL, OuterBR, InnerTL, InnerBR;
  };
  const TCase cases[] = {
      {EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
      {EDGE_SUNKEN, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
      {EDGE_ETCHED, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
      {EDGE_BUMP, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
  };
  for (const TCase& c : cases) {
    TPixelCanvas cv(20, 20, kMark);
    RECT r{2, 2, 12, 12};
    ASSERT_TRUE(DrawEdge(cv.DC, &r, c.Edge, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(r, (RECT{4, 4, 10, 10})) << c.Edge;
    EXPECT_EQ(cv.At(2, 5), Sys(c.OuterTL)) << c.Edge;   // left
    EXPECT_EQ(cv.At(5, 2), Sys(c.OuterTL)) << c.Edge;   // top
    EXPECT_EQ(cv.At(11, 5), Sys(c.OuterBR)) << c.Edge;  // right
    EXPECT_EQ(cv.At(5, 11), Sys(c.OuterBR)) << c.Edge;  // bottom
    EXPECT_EQ(cv.At(11, 2), Sys(c.OuterBR)) << c.Edge;  // top-right corner: bottom-right colour
    EXPECT_EQ(cv.At(2, 11), Sys(c.OuterBR)) << c.Edge;  // bottom-left corner
    EXPECT_EQ(cv.At(3, 5), Sys(c.InnerTL)) << c.Edge;
    EXPECT_EQ(cv.At(10, 5), Sys(c.InnerBR)) << c.Edge;
    EXPECT_EQ(cv.At(6, 6), Sys(COLOR_BTNFACE)) << c.Edge;
    EXPECT_EQ(cv.At(12, 12), kMark) << c.Edge;
  }
  // Only the named sides; flat and mono.
  TPixelCanvas cv(20, 20, kMark);
  RECT r{2, 2, 12, 12};
  DrawEdge(cv.DC, &r, BDR_SUNKENOUTER, BF_BOTTOM);
  EXPECT_EQ(cv.At(2, 11), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(cv.At(2, 5), kMark);
  EXPECT_EQ(cv.CountNot(kMark), 10);
  TPixelCanvas fl(20, 20, kMark);
  DrawEdge(fl.DC, &r, EDGE_SUNKEN, BF_RECT | BF_FLAT);
  EXPECT_EQ(fl.At(11, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(fl.At(3, 5), Sys(COLOR_BTNFACE));
}

TEST(GdiEdges, FocusRectIsItsOwnInverse)
{
  TPixelCanvas cv(20, 20, kMark);
  RECT r{2, 2, 12, 8};
  DrawFocusRect(cv.DC, &r);
  int dots = cv.CountNot(kMark);
  EXPECT_GT(dots, 8);
  EXPECT_LT(dots, 28);  // dotted: about half of the 28 frame pixels
  EXPECT_EQ(cv.At(5, 5), kMark);
  DrawFocusRect(cv.DC, &r);
  EXPECT_EQ(cv.CountNot(kMark), 0);
}

TEST(GdiFrameControls, ButtonsBoxesAndArrows)
{
  {  // Push button: raised, face filled; pushed: dark top-left.
    TPixelCanvas cv(30, 20, kMark);
    RECT r{0, 0, 30, 20};
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(cv.At(0, 5), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(cv.At(29, 5), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(cv.At(15, 10), Sys(COLOR_BTNFACE));
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(cv.At(0, 5), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(cv.At(15, 10), Sys(COLOR_BTNFACE));
  }
  {  // Check box: sunken, window inside, a check mark only when checked.
    TPixelCanvas cv(13, 13, kMark);
    RECT r{0, 0, 13, 13};
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(cv.At(0, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(cv.At(1, 5), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(cv.At(6, 6), Sys(COLOR_WINDOW));
    int unchecked = 0;
    for (int y = 2; y < 11; ++y)
      for (int x = 2; x < 11; ++x) unchecked += cv.At(x, y) == Sys(COLOR_WINDOWTEXT);
    EXPECT_EQ(unchecked, 0);
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    int marks = 0;
    for (int y = 2; y < 11; ++y)
      for (int x = 2; x < 11; ++x) marks += cv.At(x, y) == Sys(COLOR_WINDOWTEXT);
    EXPECT_EQ(marks, 21);
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(cv.At(6, 6) == Sys(COLOR_GRAYTEXT) || cv.At(6, 6) == Sys(COLOR_BTNFACE), true);
  }
  {  // Radio: shadow top-left, highlight bottom-right, dot when checked; the mask is a disc.
    TPixelCanvas cv(12, 12, kMark);
    RECT r{0, 0, 12, 12};
    DrawFrameControl(cv.DC, &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(cv.At(0, 0), kMark);
    EXPECT_EQ(cv.At(0, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(cv.At(11, 6), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(cv.At(5, 5), Sys(COLOR_WINDOWTEXT));
    EXPECT_EQ(cv.At(3, 8), Sys(COLOR_WINDOW));
    TPixelCanvas mask(12, 12, RGB(0, 0, 0));
    DrawFrameControl(mask.DC, &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
    EXPECT_EQ(mask.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(mask.At(6, 6), RGB(0, 0, 0));
    EXPECT_EQ(mask.At(0, 6), RGB(0, 0, 0));
  }
  {  // Scroll and combo arrows: a triangle in the button text colour, pointing the right way.
    struct TCase {
      UINT Kind;
      bool InkAbove;
    };
    for (const TCase& c :
         {TCase{DFCS_SCROLLUP, false}, TCase{DFCS_SCROLLDOWN, true}, TCase{DFCS_SCROLLCOMBOBOX, true}}) {
      TPixelCanvas cv(17, 17, kMark);
      RECT r{0, 0, 17, 17};
      DrawFrameControl(cv.DC, &r, DFC_SCROLL, c.Kind);
      int top = -1, topW = 0, bottomW = 0;
      for (int y = 0; y < 17; ++y) {
        int w = 0;
        for (int x = 0; x < 17; ++x) w += cv.At(x, y) == Sys(COLOR_BTNTEXT);
        if (w && top < 0) {
          top = y;
          topW = w;
        }
        if (w) bottomW = w;
      }
      ASSERT_GE(top, 0) << c.Kind;
      EXPECT_EQ(topW > bottomW, c.InkAbove) << c.Kind;  // the wide side of the triangle
      EXPECT_EQ(std::min(topW, bottomW), 1) << c.Kind;  // a one-pixel tip
    }
    TPixelCanvas in(17, 17, kMark);
    RECT r{0, 0, 17, 17};
    DrawFrameControl(in.DC, &r, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE);
    int gray = 0, light = 0;
    for (int y = 0; y < 17; ++y)
      for (int x = 2; x < 15; ++x) {
        gray += in.At(x, y) == Sys(COLOR_GRAYTEXT);
        light += in.At(x, y) == Sys(COLOR_BTNHIGHLIGHT);
      }
    EXPECT_GT(gray, 3);
    EXPECT_GT(light, 0);
  }
  {  // Caption close button: a cross in the middle, face at the corners inside the edge.
    TPixelCanvas cv(16, 14, kMark);
    RECT r{0, 0, 16, 14};
    DrawFrameControl(cv.DC, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    EXPECT_EQ(cv.At(8, 7) == Sys(COLOR_BTNTEXT) || cv.At(7, 6) == Sys(COLOR_BTNTEXT), true);
    EXPECT_EQ(cv.At(2, 2), Sys(COLOR_BTNFACE));
  }
  TPixelCanvas cv(4, 4);
  RECT r{0, 0, 4, 4};
  EXPECT_FALSE(DrawFrameControl(cv.DC, &r, 99, 0));
}

TEST(GdiFrameControls, SystemCheckBoxBitmap)
{
  EXPECT_EQ(SystemBitmaps::CreateSystemBitmap(1), nullptr);
  HBITMAP b = SystemBitmaps::CreateSystemBitmap(OBM_CHECKBOXES);
  BITMAP bm;
  ASSERT_NE(GetObject(b, &bm), 0);
  EXPECT_EQ(bm.bmWidth / 4, 13);
  EXPECT_EQ(bm.bmHeight / 3, 13);
  // The first two images differ exactly in the check mark.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  int differ = 0;
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x) differ += GetPixel(dc, x, y) != GetPixel(dc, 13 + x, y);
  EXPECT_EQ(differ, 21);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(b);
}
