#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Icons.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/gdi/theme/Theme.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/rtl/Exceptions.h"

using namespace Windows;

namespace {
using TBytes = std::vector<std::uint8_t>;

// Draws a picture into a fresh canvas and answers it.
COLORREF PixelOf(HBITMAP bmp, int x, int y)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

void Le16(TBytes& v, unsigned x)
{
  v.push_back(BYTE(x));
  v.push_back(BYTE(x >> 8));
}
void Le32(TBytes& v, std::uint32_t x)
{
  for (int i = 0; i < 4; ++i) v.push_back(BYTE(x >> (8 * i)));
}
}  // namespace

TEST(GdiPictures, MalformedInputIsRejected)
{
  const TBytes bad[] = {
      {}, {'B', 'M'}, TBytes(60, 0), {0xFF, 0xD8, 0xFF, 0xE0, 0, 0}, {0x89, 'P', 'N', 'G', 13, 10, 26, 10}};
  for (const TBytes& b : bad) {
    EXPECT_THROW(BmpFile::LoadBmp(b), EInvalidImage);
    EXPECT_THROW(JpegFile::LoadJpeg(b), EInvalidImage);
    EXPECT_THROW(PngFile::LoadPng(b), EInvalidImage);
    EXPECT_THROW(IcoFile::LoadIco(b), EInvalidImage);
  }
  // A BMP whose header promises more rows than the file holds.
  TPixelCanvas c(4, 4);
  TBytes bmp = BmpFile::SaveBmp(c.Bmp);
  bmp.resize(bmp.size() - 8);
  EXPECT_THROW(BmpFile::LoadBmp(bmp), EInvalidImage);
  EXPECT_THROW(BmpFile::SaveBmp(nullptr), EInvalidArgument);
}

TEST(GdiPictures, RoundTrips)
{
  TPixelCanvas c(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) SetPixel(c.DC, x, y, RGB(x * 30, y * 50, 200));
  for (int bpp : {24, 32}) {
    HBITMAP b = BmpFile::LoadBmp(BmpFile::SaveBmp(c.Bmp, bpp));
    EXPECT_EQ(PixelOf(b, 6, 0), RGB(180, 0, 200)) << bpp;
    EXPECT_EQ(PixelOf(b, 0, 4), RGB(0, 200, 200)) << bpp;
    DeleteObject(b);
  }
  HBITMAP p = PngFile::LoadPng(PngFile::SavePng(c.Bmp));
  EXPECT_EQ(PixelOf(p, 3, 2), RGB(90, 100, 200));
  DeleteObject(p);
  // JPEG is lossy: a flat picture comes back close, and lower quality makes a smaller file.
  TPixelCanvas flat(32, 32, RGB(40, 120, 200));
  for (int i = 0; i < 32; ++i) SetPixel(flat.DC, i, i, RGB(255, 255, 0));
  TBytes hi = JpegFile::SaveJpeg(flat.Bmp, 95), lo = JpegFile::SaveJpeg(flat.Bmp, 10);
  EXPECT_LT(lo.size(), hi.size());
  HBITMAP j = JpegFile::LoadJpeg(hi);
  COLORREF px = PixelOf(j, 25, 5);
  EXPECT_NEAR(GetRValue(px), 40, 8);
  EXPECT_NEAR(GetGValue(px), 120, 8);
  EXPECT_NEAR(GetBValue(px), 200, 8);
  DeleteObject(j);
}

TEST(GdiPictures, IconsReadAndDraw)
{
  // A 2x2 icon of 24 bits: top-left red, top-right transparent, bottom row blue.
  TBytes img;
  Le32(img, 40);
  Le32(img, 2);
  Le32(img, 4);  // XOR and AND halves
  Le16(img, 1);
  Le16(img, 24);
  for (int i = 0; i < 6; ++i) Le32(img, 0);
  auto px = [&](BYTE r, BYTE g, BYTE b) {
    img.push_back(b);
    img.push_back(g);
    img.push_back(r);
  };
  px(0, 0, 255);
  px(0, 0, 255);
  img.push_back(0);
  img.push_back(0);  // bottom row (bottom-up)
  px(255, 0, 0);
  px(0, 0, 0);
  img.push_back(0);
  img.push_back(0);  // top row
  Le32(img, 0);      // AND mask, bottom row: opaque
  Le32(img, 0x40);   // top row: second pixel transparent
  TBytes ico;
  Le16(ico, 0);
  Le16(ico, 1);
  Le16(ico, 1);
  ico.push_back(2);
  ico.push_back(2);
  ico.push_back(0);
  ico.push_back(0);
  Le16(ico, 1);
  Le16(ico, 24);
  Le32(ico, std::uint32_t(img.size()));
  Le32(ico, 22);
  ico.insert(ico.end(), img.begin(), img.end());
  HICON icon = IcoFile::LoadIco(ico);
  ASSERT_NE(icon, nullptr);
  TPixelCanvas c(4, 4, RGB(0, 255, 0));
  ASSERT_TRUE(DrawIcon(c.DC, 1, 1, icon));
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 1), RGB(0, 255, 0));  // transparent
  EXPECT_EQ(c.At(1, 2), RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  HICON copy = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  TPixelCanvas d(4, 4, RGB(0, 255, 0));
  DrawIconEx(d.DC, 0, 0, copy, 4, 4, 0, nullptr, DI_NORMAL);  // stretched
  EXPECT_EQ(d.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(d.At(3, 0), RGB(0, 255, 0));
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
}

TEST(GdiTheme, ReportsItselfUnavailable)
{
  EXPECT_FALSE(UxTheme::IsLibraryAvailable());
  EXPECT_EQ(UxTheme::GetProcAddress("OpenThemeData"), nullptr);
  EXPECT_FALSE(UxTheme::IsThemeActive());
  EXPECT_EQ(UxTheme::OpenThemeData(nullptr, u"Button"), nullptr);
  SIZE sz{};
  EXPECT_EQ(UxTheme::GetThemePartSize(nullptr, nullptr, 1, 1, nullptr, 1, &sz), UxTheme::E_FAIL);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(UxTheme::DrawThemeBackground(nullptr, nullptr, 1, 1, &r, nullptr), UxTheme::E_FAIL);
}
