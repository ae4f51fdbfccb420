#include <gtest/gtest.h>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

TEST(GdiBlits, RasterOperationsOnAKnownPair)
{
  const COLORREF s = RGB(0xF0, 0x0F, 0x55), d = RGB(0x3C, 0x3C, 0xFF), p = RGB(0x11, 0x22, 0x33);
  struct TCase {
    DWORD Rop;
    COLORREF Expect;
  };
  const TCase cases[] = {
      {SRCCOPY, s},
      {SRCAND, RGB(0x30, 0x0C, 0x55)},
      {SRCPAINT, RGB(0xFC, 0x3F, 0xFF)},
      {SRCINVERT, RGB(0xCC, 0x33, 0xAA)},
      {DSTINVERT, RGB(0xC3, 0xC3, 0x00)},
      {PATCOPY, p},
      {PATINVERT, RGB(0x2D, 0x1E, 0xCC)},
      {NOTSRCCOPY, RGB(0x0F, 0xF0, 0xAA)},
      {SRCERASE, RGB(0xC0, 0x03, 0x00)},   // S and not D
      {MERGECOPY, RGB(0x10, 0x02, 0x11)},  // P and S
      {BLACKNESS, RGB(0, 0, 0)},
      {WHITENESS, RGB(255, 255, 255)},
  };
  for (const TCase& c : cases) {
    TPixelCanvas src(4, 4, s), dst(4, 4, d);
    HBRUSH b = CreateSolidBrush(p);
    HGDIOBJ old = SelectObject(dst.DC, b);
    EXPECT_TRUE(BitBlt(dst.DC, 1, 1, 2, 2, src.DC, 0, 0, c.Rop)) << std::hex << c.Rop;
    EXPECT_EQ(dst.At(1, 1), c.Expect) << std::hex << c.Rop;
    EXPECT_EQ(dst.At(3, 3), d) << std::hex << c.Rop;
    SelectObject(dst.DC, old);
    DeleteObject(b);
  }
  // A rop that needs a source fails without one.
  TPixelCanvas dst(4, 4);
  EXPECT_FALSE(BitBlt(dst.DC, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(PatBlt(dst.DC, 0, 0, 2, 2, SRCCOPY));
}

TEST(GdiBlits, StretchMirrorTransparentAndOverlap)
{
  TPixelCanvas src(2, 1);
  SetPixel(src.DC, 0, 0, RGB(255, 0, 0));
  SetPixel(src.DC, 1, 0, RGB(0, 0, 255));
  TPixelCanvas dst(8, 2);
  EXPECT_TRUE(StretchBlt(dst.DC, 0, 0, 8, 2, src.DC, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dst.At(3, 1), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(4, 0), RGB(0, 0, 255));
  EXPECT_TRUE(StretchBlt(dst.DC, 8, 0, -8, 1, src.DC, 0, 0, 2, 1, SRCCOPY));  // mirrored
  EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.At(7, 0), RGB(255, 0, 0));

  TPixelCanvas t(2, 1, RGB(0, 255, 0));
  EXPECT_TRUE(TransparentBlt(t.DC, 0, 0, 2, 1, src.DC, 0, 0, 2, 1, RGB(255, 0, 0)));
  EXPECT_EQ(t.At(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(t.At(1, 0), RGB(0, 0, 255));

  // A source rectangle far larger than its bitmap: only the bitmap's pixels arrive.
  TPixelCanvas big(4, 4, RGB(0, 255, 0));
  EXPECT_TRUE(
      BitBlt(big.DC, -1000000000, -1000000000, 2000000000, 2000000000, src.DC, -1000000000, -1000000000, SRCCOPY));
  EXPECT_EQ(big.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(big.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(big.At(2, 0), RGB(0, 255, 0));
  // A pattern-free rop works whatever brush is selected, also the null one.
  SelectObject(big.DC, GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PatBlt(big.DC, 0, 0, 1, 1, DSTINVERT));
  EXPECT_EQ(big.At(0, 0), RGB(0, 255, 255));

  // Scrolling within one bitmap reads the old pixels.
  TPixelCanvas s(6, 1);
  for (int x = 0; x < 6; ++x) SetPixel(s.DC, x, 0, RGB(x * 40, 0, 0));
  BitBlt(s.DC, 1, 0, 5, 1, s.DC, 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(s.At(x, 0), RGB((x - 1) * 40, 0, 0));
}

TEST(GdiBlits, MonochromeConversions)
{
  // Colour to mono: the source's background colour becomes white, the rest black.
  TPixelCanvas src(2, 1, RGB(255, 0, 255));
  SetPixel(src.DC, 1, 0, RGB(10, 10, 10));
  SetBkColor(src.DC, RGB(255, 0, 255));
  HDC mdc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mdc, mono);
  BitBlt(mdc, 0, 0, 2, 1, src.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(mdc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(mdc, 1, 0), RGB(0, 0, 0));
  // Mono to colour: black takes the text colour, white the background colour.
  TPixelCanvas dst(2, 1);
  SetTextColor(dst.DC, RGB(1, 2, 3));
  SetBkColor(dst.DC, RGB(4, 5, 6));
  BitBlt(dst.DC, 0, 0, 2, 1, mdc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), RGB(4, 5, 6));
  EXPECT_EQ(dst.At(1, 0), RGB(1, 2, 3));
  // A compatible bitmap of a fresh memory DC is monochrome.
  HDC fresh = CreateCompatibleDC(nullptr);
  HBITMAP cb = CreateCompatibleBitmap(fresh, 2, 2);
  BITMAP bm;
  GetObject(cb, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  DeleteObject(cb);
  DeleteDC(fresh);
  SelectObject(mdc, old);
  DeleteObject(mono);
  DeleteDC(mdc);
}

TEST(GdiBitmaps, DibRoundTripsAndDibSections)
{
  TPixelCanvas c(3, 2);
  SetPixel(c.DC, 0, 0, RGB(1, 2, 3));
  SetPixel(c.DC, 2, 1, RGB(200, 100, 50));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(c.DC, c.Bmp, 0, 0, nullptr, &bi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(bi.bmiHeader.biWidth, 3);
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biHeight = 2;  // bottom-up
  std::vector<std::uint8_t> rows(12 * 2);
  SelectObject(c.DC, c.Old);  // GetDIBits on a bitmap not in a DC is the usual way
  EXPECT_EQ(GetDIBits(c.DC, c.Bmp, 0, 2, rows.data(), &bi, DIB_RGB_COLORS), 2);
  // Scan line 0 is the bottom row: its last pixel is (200,100,50) as B, G, R.
  EXPECT_EQ(rows[6], 50);
  EXPECT_EQ(rows[7], 100);
  EXPECT_EQ(rows[8], 200);
  EXPECT_EQ(rows[12 + 2], 1);  // top row, first pixel's red
  HBITMAP copy = CreateBitmap(3, 2, 1, 32, nullptr);
  EXPECT_EQ(SetDIBits(c.DC, copy, 0, 2, rows.data(), &bi, DIB_RGB_COLORS), 2);
  HDC d = CreateCompatibleDC(nullptr);
  HGDIOBJ o = SelectObject(d, copy);
  EXPECT_EQ(GetPixel(d, 0, 0), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(d, 2, 1), RGB(200, 100, 50));
  SelectObject(d, o);
  DeleteObject(copy);
  SelectObject(c.DC, c.Bmp);

  // A bottom-up DIB section: drawing at the top lands in the last row of memory.
  BITMAPINFO si{};
  si.bmiHeader.biWidth = 4;
  si.bmiHeader.biHeight = 3;
  si.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP sec = CreateDIBSection(nullptr, &si, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(sec, nullptr);
  ASSERT_NE(bits, nullptr);
  o = SelectObject(d, sec);
  SetPixel(d, 1, 0, RGB(0x10, 0x20, 0x30));
  auto* px = static_cast<std::uint32_t*>(bits);
  EXPECT_EQ(px[2 * 4 + 1], 0x102030u);
  SelectObject(d, o);
  DeleteObject(sec);
  DeleteDC(d);
  si.bmiHeader.biBitCount = 24;
  EXPECT_EQ(CreateDIBSection(nullptr, &si, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}
