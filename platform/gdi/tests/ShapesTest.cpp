#include <gtest/gtest.h>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

namespace {

struct TSelected {
  HDC DC;
  HGDIOBJ Obj, Old;
  TSelected(HDC dc, HGDIOBJ obj) : DC(dc), Obj(obj), Old(SelectObject(dc, obj)) {}
  ~TSelected()
  {
    SelectObject(DC, Old);
    DeleteObject(Obj);
  }
};
}  // namespace

TEST(GdiLines, EndPointIsExcluded)
{
  struct TCase {
    POINT A, B;
  };
  const TCase cases[] = {{{1, 1}, {9, 1}}, {{9, 3}, {1, 3}}, {{2, 0}, {2, 8}}, {{0, 0}, {7, 7}}, {{1, 9}, {10, 5}}};
  for (const TCase& c : cases) {
    TPixelCanvas cv(12, 12);
    MoveToEx(cv.DC, c.A.x, c.A.y, nullptr);
    EXPECT_TRUE(LineTo(cv.DC, c.B.x, c.B.y));
    EXPECT_EQ(cv.At(c.A.x, c.A.y), kBlack);
    EXPECT_EQ(cv.At(c.B.x, c.B.y), kWhite);
    int len = std::max(std::abs(c.B.x - c.A.x), std::abs(c.B.y - c.A.y));
    EXPECT_EQ(cv.CountNot(kWhite), len);  // one pixel per step of the major axis
    POINT cur;
    GetCurrentPositionEx(cv.DC, &cur);
    EXPECT_EQ(cur, c.B);
  }
}

TEST(GdiLines, PolylineJointsDrawnOnceAndDashes)
{
  TPixelCanvas cv(40, 10);
  SetROP2(cv.DC, R2_NOT);  // a joint drawn twice would cancel out
  const POINT pts[] = {{1, 1}, {5, 1}, {5, 5}};
  Polyline(cv.DC, pts, 3);
  EXPECT_EQ(cv.At(5, 1), kBlack);
  EXPECT_EQ(cv.At(5, 5), kWhite);
  EXPECT_EQ(cv.CountNot(kWhite), 8);

  TPixelCanvas dots(40, 4);
  TSelected pen(dots.DC, CreatePen(PS_DOT, 1, kRed));
  SetBkMode(dots.DC, TRANSPARENT);
  MoveToEx(dots.DC, 0, 1, nullptr);
  LineTo(dots.DC, 30, 1);
  int on = dots.CountNot(kWhite);
  EXPECT_GT(on, 5);
  EXPECT_LT(on, 25);
  SetBkMode(dots.DC, OPAQUE);
  SetBkColor(dots.DC, RGB(0, 0, 255));
  MoveToEx(dots.DC, 0, 2, nullptr);
  LineTo(dots.DC, 30, 2);
  for (int x = 0; x < 30; ++x) EXPECT_NE(dots.At(x, 2), kWhite) << x;  // gaps in background colour
}

TEST(GdiFigures, RectangleAndEllipseLandOnGdiPixels)
{
  TPixelCanvas cv(30, 30);
  TSelected brush(cv.DC, CreateSolidBrush(kRed));
  EXPECT_TRUE(Rectangle(cv.DC, 2, 3, 12, 10));
  EXPECT_EQ(cv.At(2, 3), kBlack);
  EXPECT_EQ(cv.At(11, 9), kBlack);
  EXPECT_EQ(cv.At(12, 9), kWhite);
  EXPECT_EQ(cv.At(11, 10), kWhite);
  EXPECT_EQ(cv.At(3, 4), kRed);
  EXPECT_EQ(cv.At(10, 8), kRed);
  EXPECT_EQ(cv.BoundsNot(kWhite), (RECT{2, 3, 12, 10}));

  TPixelCanvas el(30, 30);
  TSelected brush2(el.DC, CreateSolidBrush(kRed));
  EXPECT_TRUE(Ellipse(el.DC, 4, 4, 25, 15));
  EXPECT_EQ(el.BoundsNot(kWhite), (RECT{4, 4, 25, 15}));
  EXPECT_EQ(el.At(4, 9), kBlack);   // leftmost point on the middle row
  EXPECT_EQ(el.At(24, 9), kBlack);  // rightmost
  EXPECT_EQ(el.At(14, 4), kBlack);  // top
  EXPECT_EQ(el.At(14, 9), kRed);    // centre filled
  EXPECT_EQ(el.At(4, 4), kWhite);   // corners outside
  EXPECT_EQ(el.At(24, 14), kWhite);

  // A null pen fills one pixel less on the right and bottom (classic GDI).
  TPixelCanvas np(20, 20);
  SelectObject(np.DC, GetStockObject(NULL_PEN));
  SelectObject(np.DC, GetStockObject(BLACK_BRUSH));
  Rectangle(np.DC, 2, 2, 10, 10);
  EXPECT_EQ(np.BoundsNot(kWhite), (RECT{2, 2, 9, 9}));
}

TEST(GdiFigures, WidePenAndInsideFrame)
{
  TPixelCanvas cv(30, 30);
  SelectObject(cv.DC, GetStockObject(NULL_BRUSH));
  {
    TSelected pen(cv.DC, CreatePen(PS_SOLID, 3, kBlack));
    Rectangle(cv.DC, 5, 5, 20, 20);
  }
  EXPECT_EQ(cv.BoundsNot(kWhite), (RECT{4, 4, 21, 21}));  // centred on the 1-pixel path
  EXPECT_EQ(cv.At(7, 10), kWhite);
  EXPECT_EQ(cv.At(6, 10), kBlack);
  TPixelCanvas in(30, 30);
  SelectObject(in.DC, GetStockObject(NULL_BRUSH));
  TSelected pen(in.DC, CreatePen(PS_INSIDEFRAME, 3, kBlack));
  Rectangle(in.DC, 5, 5, 20, 20);
  EXPECT_EQ(in.BoundsNot(kWhite), (RECT{5, 5, 20, 20}));
  EXPECT_EQ(in.At(7, 10), kBlack);
  EXPECT_EQ(in.At(8, 10), kWhite);
}

TEST(GdiFigures, PolygonPieRoundRectAndFills)
{
  TPixelCanvas cv(30, 30);
  SelectObject(cv.DC, GetStockObject(BLACK_BRUSH));
  SelectObject(cv.DC, GetStockObject(NULL_PEN));
  const POINT sq[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  Polygon(cv.DC, sq, 4);
  EXPECT_EQ(cv.BoundsNot(kWhite), (RECT{2, 2, 12, 12}));  // interior without the pen
  EXPECT_EQ(cv.CountNot(kWhite), 100);

  TPixelCanvas pie(40, 40);
  SelectObject(pie.DC, GetStockObject(BLACK_BRUSH));
  // The upper-right quarter, counter-clockwise from 3 o'clock to 12 o'clock.
  Pie(pie.DC, 0, 0, 31, 31, 30, 15, 15, 0);
  EXPECT_EQ(pie.At(22, 8), kBlack);
  EXPECT_EQ(pie.At(8, 22), kWhite);
  EXPECT_EQ(pie.At(8, 8), kWhite);
  EXPECT_EQ(pie.At(22, 22), kWhite);

  TPixelCanvas rr(30, 30);
  SelectObject(rr.DC, GetStockObject(BLACK_BRUSH));
  RoundRect(rr.DC, 0, 0, 20, 20, 10, 10);
  EXPECT_EQ(rr.At(0, 0), kWhite);
  EXPECT_EQ(rr.At(0, 10), kBlack);
  EXPECT_EQ(rr.At(10, 0), kBlack);
  EXPECT_EQ(rr.BoundsNot(kWhite), (RECT{0, 0, 20, 20}));

  // Hatched brush in transparent mode leaves the background; FrameRect and InvertRect.
  TPixelCanvas h(16, 16);
  {
    TSelected hb(h.DC, CreateHatchBrush(HS_HORIZONTAL, kRed));
    SetBkMode(h.DC, TRANSPARENT);
    RECT r{0, 0, 16, 16};
    PatBlt(h.DC, 0, 0, 16, 16, PATCOPY);
    (void)r;
  }
  int red = 0;
  for (int y = 0; y < 16; ++y) red += h.At(0, y) == kRed;
  EXPECT_EQ(red, 2);
  TPixelCanvas f(10, 10);
  RECT r{1, 1, 9, 9};
  FrameRect(f.DC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(f.CountNot(kWhite), 28);
  InvertRect(f.DC, &r);
  EXPECT_EQ(f.At(1, 1), kWhite);
  EXPECT_EQ(f.At(4, 4), kBlack);
}

TEST(GdiFigures, Rop2Modes)
{
  struct TCase {
    int Rop;
    COLORREF Expect;
  };
  // Pen red (FF,00,00) over a destination of (0F,F0,33).
  const COLORREF dst = RGB(0x0F, 0xF0, 0x33);
  const TCase cases[] = {
      {R2_COPYPEN, RGB(0xFF, 0, 0)}, {R2_XORPEN, RGB(0xF0, 0xF0, 0x33)},   {R2_NOT, RGB(0xF0, 0x0F, 0xCC)},
      {R2_MASKPEN, RGB(0x0F, 0, 0)}, {R2_MERGEPEN, RGB(0xFF, 0xF0, 0x33)}, {R2_NOP, dst},
      {R2_BLACK, RGB(0, 0, 0)},      {R2_NOTCOPYPEN, RGB(0, 0xFF, 0xFF)},
  };
  for (const TCase& c : cases) {
    TPixelCanvas cv(4, 4, dst);
    TSelected pen(cv.DC, CreatePen(PS_SOLID, 1, kRed));
    SetROP2(cv.DC, c.Rop);
    MoveToEx(cv.DC, 0, 1, nullptr);
    LineTo(cv.DC, 4, 1);
    EXPECT_EQ(cv.At(2, 1), c.Expect) << c.Rop;
  }
}

TEST(GdiFigures, ScaledAndMirroredMappings)
{
  // Two device pixels per logical unit, origin moved: a 1-unit pen covers 2 pixels.
  TPixelCanvas cv(40, 40);
  SetMapMode(cv.DC, MM_ANISOTROPIC);
  SetWindowExtEx(cv.DC, 1, 1, nullptr);
  SetViewportExtEx(cv.DC, 2, 2, nullptr);
  SetViewportOrgEx(cv.DC, 4, 4, nullptr);
  SelectObject(cv.DC, GetStockObject(BLACK_BRUSH));
  Rectangle(cv.DC, 0, 0, 5, 5);
  EXPECT_EQ(cv.BoundsNot(kWhite), (RECT{4, 4, 14, 14}));
  RECT r{10, 10, 12, 12};
  FillRect(cv.DC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(cv.At(24, 24), kBlack);
  EXPECT_EQ(cv.At(27, 27), kBlack);
  EXPECT_EQ(cv.At(28, 28), kWhite);
  // Mirrored: logical x grows to the left from the right edge.
  TPixelCanvas m(40, 10);
  SetMapMode(m.DC, MM_ANISOTROPIC);
  SetWindowOrgEx(m.DC, 40, 0, nullptr);
  SetWindowExtEx(m.DC, -40, 10, nullptr);
  SetViewportExtEx(m.DC, 40, 10, nullptr);
  RECT cell{0, 0, 10, 10};
  FillRect(m.DC, &cell, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(m.BoundsNot(kWhite), (RECT{30, 0, 40, 10}));
}

TEST(GdiFigures, PatternBrushesFollowColoursAndOrigin)
{
  // A monochrome 8x8 pattern with one black pixel at (0, 0): it takes the text colour, the
  // rest the background colour; the brush origin shifts the tiles.
  WORD rows[8];
  for (WORD& r : rows) r = 0xFFFF;
  rows[0] = 0xFF7F;  // first byte 0x7F: pixel 0 black
  HBITMAP pat = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH b = CreatePatternBrush(pat);
  DeleteObject(pat);  // the brush keeps its own copy
  TPixelCanvas cv(16, 16);
  SetTextColor(cv.DC, kRed);
  SetBkColor(cv.DC, RGB(0, 0, 255));
  RECT all{0, 0, 16, 16};
  FillRect(cv.DC, &all, b);
  EXPECT_EQ(cv.At(0, 0), kRed);
  EXPECT_EQ(cv.At(8, 8), kRed);
  EXPECT_EQ(cv.At(1, 0), RGB(0, 0, 255));
  SetBrushOrgEx(cv.DC, 3, 2, nullptr);
  FillRect(cv.DC, &all, b);
  EXPECT_EQ(cv.At(3, 2), kRed);
  EXPECT_EQ(cv.At(0, 0), RGB(0, 0, 255));
  DeleteObject(b);
  EXPECT_EQ(GetNearestColor(cv.DC, RGB(1, 2, 3)), RGB(1, 2, 3));
  HDC mono = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetNearestColor(mono, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(GetNearestColor(mono, RGB(20, 20, 90)), RGB(0, 0, 0));
  DeleteDC(mono);
}

TEST(GdiFigures, HugeAndFarOffFiguresDrawOnlyTheirVisiblePart)
{
  TPixelCanvas cv(20, 20);
  MoveToEx(cv.DC, -1000000000, 5, nullptr);
  LineTo(cv.DC, 1000000000, 5);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(cv.At(x, 5), kBlack) << x;
  EXPECT_EQ(cv.CountNot(kWhite), 20);
  // A steep line through the canvas keeps the pixels of the unclipped line.
  TPixelCanvas a(20, 20), b(20, 20);
  MoveToEx(a.DC, 3, -2000003, nullptr);
  LineTo(a.DC, 13, 2000017);
  MoveToEx(b.DC, 3, -2000003, nullptr);
  LineTo(b.DC, 13, 2000017);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(a.At(x, y), b.At(x, y));
  EXPECT_EQ(a.CountNot(kWhite), 20);  // one pixel per visible row
  // An ellipse far larger than the canvas: only its interior shows here.
  TPixelCanvas e(20, 20);
  SelectObject(e.DC, GetStockObject(BLACK_BRUSH));
  SelectObject(e.DC, GetStockObject(NULL_PEN));
  Ellipse(e.DC, -1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(e.CountNot(kWhite), 400);
  const POINT tri[] = {{-2000000000, -2000000000}, {2000000000, 0}, {-2000000000, 2000000000}};
  Polygon(e.DC, tri, 3);
  HPEN wide = CreatePen(PS_SOLID, 50000, kRed);
  HGDIOBJ old = SelectObject(e.DC, wide);
  MoveToEx(e.DC, -100000, 10, nullptr);
  LineTo(e.DC, 100000, 10);
  EXPECT_EQ(e.At(10, 10), kRed);
  SelectObject(e.DC, old);
  DeleteObject(wide);
  EXPECT_EQ(CreateEllipticRgn(0, -1000000000, 10, 1000000000), nullptr);
}
