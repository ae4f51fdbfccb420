#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/dc/SysColors.h"

using namespace Windows;

TEST(GdiHandles, StaleForeignAndNullHandlesFailWithoutCrashing)
{
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  ASSERT_NE(pen, nullptr);
  EXPECT_EQ(sizeof(pen), sizeof(void*));
  EXPECT_TRUE(DeleteObject(pen));
  // Stale: the slot may be reused by the next object, which must not answer to the old handle.
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_FALSE(DeleteObject(pen));
  LOGPEN lp;
  EXPECT_EQ(GetObject(pen, &lp), 0);
  // Foreign: made-up values and a handle of the wrong kind.
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(std::uintptr_t(0x1234))), nullptr);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(brush), brush), nullptr);
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(brush), 0), CLR_INVALID);
  EXPECT_EQ(CombineRgn(reinterpret_cast<HRGN>(brush), nullptr, nullptr, RGN_OR), ERROR);
  RECT r{0, 0, 4, 4};
  EXPECT_EQ(FillRect(nullptr, &r, brush), 0);
  EXPECT_FALSE(LineTo(reinterpret_cast<HDC>(std::uintptr_t(0xDEADBEEF)), 1, 1));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiHandles, SelectedObjectsAreNotDeletedAndStockObjectsSurviveDeletion)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_DASH, 1, 0);
  HGDIOBJ old = SelectObject(dc, pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(SelectObject(dc, old), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
  // A bitmap lives in one memory DC at a time.
  HDC dc2 = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, 4, 4);
  EXPECT_NE(SelectObject(dc, bmp), nullptr);
  EXPECT_EQ(SelectObject(dc2, bmp), nullptr);
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(bmp));  // freed with its DC's selection
  DeleteDC(dc2);
}

TEST(GdiObjects, DescribeThemselves)
{
  HFONT f = CreateFont(-16, 0, 900, 0, FW_BOLD, 1, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  LOGFONTA lf;
  ASSERT_EQ(GetObject(f, &lf), int(sizeof(LOGFONTA)));
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_STREQ(lf.lfFaceName, "宋体");
  DeleteObject(f);
  HBITMAP mono = CreateBitmap(10, 3, 1, 1, nullptr);
  BITMAP bm;
  ASSERT_NE(GetObject(mono, &bm), 0);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  DeleteObject(mono);
  EXPECT_EQ(CreateHatchBrush(99, 0), nullptr);
  EXPECT_EQ(CreatePen(PS_USERSTYLE, 1, 0), nullptr);
}

TEST(GdiSysColors, ClassicSchemeAndChanges)
{
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
  EXPECT_EQ(GetSysColor(COLOR_HOTLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(31), 0u);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_TRUE(DeleteObject(face));  // system-owned: stays valid
  int idx = COLOR_BTNFACE;
  COLORREF c = RGB(1, 2, 3);
  ASSERT_TRUE(SetSysColors(1, &idx, &c));
  LOGBRUSH lb;
  ASSERT_NE(GetObject(face, &lb), 0);
  EXPECT_EQ(lb.lbColor, c);
  ResetSysColors();
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
}

TEST(GdiDeviceContext, SaveAndRestoreState)
{
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 1, 1));
  EXPECT_EQ(SaveDC(dc), 1);
  SetTextColor(dc, RGB(2, 2, 2));
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  SelectObject(dc, pen);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(3, 3, 3));
  IntersectClipRect(dc, 0, 0, 1, 1);
  EXPECT_TRUE(RestoreDC(dc, 1));  // drops level 2 as well
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_FALSE(RestoreDC(dc, 3));
  EXPECT_TRUE(DeleteObject(pen));
  DeleteDC(dc);
}

TEST(GdiDeviceContext, MappingModes)
{
  HDC dc = CreateCompatibleDC(nullptr);
  // MM_TEXT ignores extents; origins shift.
  EXPECT_TRUE(SetWindowExtEx(dc, 10, 10, nullptr));
  SetWindowOrgEx(dc, 5, 7, nullptr);
  SetViewportOrgEx(dc, 100, 200, nullptr);
  POINT p{5, 7};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p, (POINT{100, 200}));
  // A mirrored anisotropic mapping, as right-to-left grids set it.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 200, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, 200, 100, nullptr);
  SetWindowExtEx(dc, -200, 100, nullptr);
  POINT q[2] = {{200, 10}, {0, 10}};
  LPtoDP(dc, q, 2);
  EXPECT_EQ(q[0], (POINT{0, 10}));
  EXPECT_EQ(q[1], (POINT{200, 10}));
  DPtoLP(dc, q, 2);
  EXPECT_EQ(q[0], (POINT{200, 10}));
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  // Metric modes: a tenth of a millimetre per unit, y growing upwards.
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetMapMode(dc, MM_LOMETRIC);
  POINT inch{254, -254};
  LPtoDP(dc, &inch, 1);
  EXPECT_EQ(inch, (POINT{96, 96}));
  // Isotropic keeps one scale: the viewport shrinks to the smaller one.
  SetMapMode(dc, MM_ISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 200, 100, nullptr);
  POINT corner{100, 100};
  LPtoDP(dc, &corner, 1);
  EXPECT_EQ(corner, (POINT{100, 100}));
  DeleteDC(dc);
}

TEST(GdiDeviceContext, BufferDCDrawsIntoTheCallersPixels)
{
  // 5 x 3 pixels in rows of 8 (stride 32 bytes); the padding must stay untouched.
  std::vector<std::uint32_t> px(8 * 3, 0xAAAAAAAA);
  EXPECT_EQ(CreateBufferDC(px.data(), 5, 3, 16), nullptr);  // stride shorter than a row
  HDC dc = CreateBufferDC(px.data(), 5, 3, 32);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), OBJ_DC);
  RECT all{-10, -10, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetPixel(dc, 4, 2, RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(px[0] & 0xFFFFFF, 0u);
  EXPECT_EQ(px[2 * 8 + 4] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(px[5], 0xAAAAAAAAu);
  EXPECT_EQ(px[2 * 8 + 7], 0xAAAAAAAAu);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, 1, 1);
  EXPECT_EQ(SelectObject(dc, bmp), nullptr);  // a buffer DC takes no bitmap
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(GdiDeviceContext, SavedDCGuardRestoresItsLevelOnEveryExit)
{
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 1, 1));
  auto paint = [&](bool Early, bool Raise) {
    TSavedDC Saved(dc);
    EXPECT_EQ(Saved.Level(), 1);
    SetTextColor(dc, RGB(2, 2, 2));
    SaveDC(dc);  // a nested save left open is dropped with the guard's level
    if (Early) return;
    if (Raise) throw std::runtime_error("paint");
    SetTextColor(dc, RGB(3, 3, 3));
  };
  paint(true, false);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  paint(false, false);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_THROW(paint(false, true), std::runtime_error);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_FALSE(RestoreDC(dc, -1));  // nothing left saved
  DeleteDC(dc);
  TSavedDC none(nullptr);
  EXPECT_EQ(none.Level(), 0);
}
