#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/ImageData.h"

#include <cstring>
#include <limits>
#include <vector>

#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/meta/MetaSink.h"

namespace GdiInternal {

namespace {
constexpr int kMaxSide = 1 << 15;

std::size_t RowBytes(int width, int bpp) { return std::size_t((std::int64_t(width) * bpp + 31) / 32 * 4); }
}  // namespace

HBITMAP MakeBitmap(int width, int height, std::vector<std::uint32_t> pixels, bool mono)
{
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  auto b = std::make_unique<TBitmapObj>();
  b->Width = width;
  b->Height = height;
  b->Mono = mono;
  b->Own = std::move(pixels);
  b->Own.resize(std::size_t(width) * std::size_t(height));
  b->Base = b->Own.data();
  b->Stride = width;
  return static_cast<HBITMAP>(AddObject(std::move(b)));
}

bool DecodeDib(const BITMAPINFO* bmi, const void* bits, std::size_t bitsSize, std::vector<std::uint32_t>& out,
               int& width, int& height)
{
  if (!bmi || !bits) return false;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  width = h.biWidth;
  height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  bool topDown = h.biHeight < 0;
  int bpp = h.biBitCount;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  std::size_t rowBytes = RowBytes(width, bpp);
  if (bitsSize != std::numeric_limits<std::size_t>::max() && rowBytes * std::size_t(height) > bitsSize) return false;
  unsigned colors = bpp <= 8 ? (h.biClrUsed ? std::min<unsigned>(h.biClrUsed, 1u << bpp) : (1u << bpp)) : 0;
  auto pal = [&](unsigned i) -> std::uint32_t {
    if (i >= colors) return 0;
    const RGBQUAD& q = bmi->bmiColors[i];
    return (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
  };
  out.assign(std::size_t(width) * std::size_t(height), 0);
  const auto* src = static_cast<const std::uint8_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = src + rowBytes * std::size_t(topDown ? y : height - 1 - y);
    std::uint32_t* dst = &out[std::size_t(y) * std::size_t(width)];
    for (int x = 0; x < width; ++x) {
      switch (bpp) {
        case 1: dst[x] = pal((row[x >> 3] >> (7 - (x & 7))) & 1); break;
        case 4: dst[x] = pal((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
        case 8: dst[x] = pal(row[x]); break;
        case 16: {
          unsigned v = row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
          unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
          dst[x] = ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
          break;
        }
        case 24: dst[x] = row[3 * x] | (unsigned(row[3 * x + 1]) << 8) | (unsigned(row[3 * x + 2]) << 16); break;
        case 32:
          dst[x] = row[4 * x] | (unsigned(row[4 * x + 1]) << 8) | (unsigned(row[4 * x + 2]) << 16) |
                   (unsigned(row[4 * x + 3]) << 24);
          break;
      }
    }
  }
  return true;
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits)
{
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return nullptr;
  bool mono = planes == 1 && bpp == 1;
  std::vector<std::uint32_t> px(std::size_t(width) * std::size_t(height), 0);
  if (bits) {
    const auto* src = static_cast<const std::uint8_t*>(bits);
    if (mono) {
      std::size_t rowBytes = std::size_t((width + 15) / 16 * 2);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          px[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
              ((src[rowBytes * std::size_t(y) + std::size_t(x >> 3)] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0;
    } else {
      for (std::size_t i = 0; i < px.size(); ++i) {
        std::uint32_t v;
        std::memcpy(&v, src + 4 * i, 4);
        px[i] = v & 0xFFFFFF;
      }
    }
  }
  return MakeBitmap(width, height, std::move(px), mono);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
  bool mono = false;
  if (hdc) {
    TDCObj* dc = GdiInternal::DC(hdc);
    if (!dc) return nullptr;
    TSurface s;
    mono = GetSurface(dc, s) && s.Mono;
  }
  if (width <= 0 || height <= 0) return nullptr;
  return MakeBitmap(width, height, std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height), 0), mono);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset)
{
  if (bits) *bits = nullptr;
  if (!bmi || bmi->bmiHeader.biBitCount != 32 || section) return nullptr;
  int w = bmi->bmiHeader.biWidth, h = bmi->bmiHeader.biHeight;
  bool bottomUp = h > 0;
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0 || w > 32768 || h > 32768) return nullptr;
  auto b = std::make_unique<TBitmapObj>();
  b->Width = w;
  b->Height = h;
  b->Own.assign(std::size_t(w) * std::size_t(h), 0);
  b->DibBits = b->Own.data();
  if (bottomUp) {
    b->Base = b->Own.data() + std::size_t(h - 1) * std::size_t(w);
    b->Stride = -w;
  } else {
    b->Base = b->Own.data();
    b->Stride = w;
  }
  void* mem = b->DibBits;
  HBITMAP handle = static_cast<HBITMAP>(AddObject(std::move(b)));
  if (handle && bits) *bits = mem;
  return handle;
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage)
{
  TBitmapObj* b = GdiInternal::Bitmap(hbm);
  if (!GdiInternal::DC(hdc) || !b || !bmi) return 0;
  BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (!bits && h.biBitCount == 0) {
    h.biWidth = b->Width;
    h.biHeight = b->Height;
    h.biPlanes = 1;
    h.biBitCount = b->Mono ? 1 : 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(RowBytes(b->Width, h.biBitCount) * std::size_t(b->Height));
    return b->Height;
  }
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 24 && bpp != 32) return 0;
  if (h.biWidth != b->Width) return 0;
  bool topDown = h.biHeight < 0;
  std::size_t rowBytes = RowBytes(b->Width, bpp);
  if (bpp == 1) {
    bmi->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    bmi->bmiColors[1] = RGBQUAD{255, 255, 255, 0};
  }
  h.biSizeImage = DWORD(rowBytes * std::size_t(b->Height));
  if (!bits) return b->Height;
  if (start >= UINT(b->Height)) return 0;
  lines = std::min<UINT>(lines, UINT(b->Height) - start);
  auto* out = static_cast<std::uint8_t*>(bits);
  for (UINT i = 0; i < lines; ++i) {
    UINT scan = start + i;  // DIB scan line: from the bottom for bottom-up DIBs
    int y = topDown ? int(scan) : b->Height - 1 - int(scan);
    const std::uint32_t* src = b->Row(y);
    std::uint8_t* row = out + rowBytes * i;
    std::memset(row, 0, rowBytes);
    for (int x = 0; x < b->Width; ++x) {
      std::uint32_t p = src[x] & 0xFFFFFF;
      if (bpp == 32)
        std::memcpy(row + 4 * x, &p, 4);
      else if (bpp == 24) {
        row[3 * x] = BYTE(p);
        row[3 * x + 1] = BYTE(p >> 8);
        row[3 * x + 2] = BYTE(p >> 16);
      } else if (MonoOf(p))
        row[x >> 3] |= BYTE(0x80 >> (x & 7));
    }
  }
  return int(lines);
}

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage)
{
  TBitmapObj* b = GdiInternal::Bitmap(hbm);
  if (!b || !bmi || !bits) return 0;
  BITMAPINFO whole = *bmi;
  int h = bmi->bmiHeader.biHeight < 0 ? -bmi->bmiHeader.biHeight : bmi->bmiHeader.biHeight;
  if (bmi->bmiHeader.biWidth != b->Width || h != b->Height) {
    if (bmi->bmiHeader.biWidth != b->Width) return 0;
  }
  if (start >= UINT(h)) return 0;
  lines = std::min<UINT>(lines, UINT(h) - start);
  bool topDown = bmi->bmiHeader.biHeight < 0;
  // Decode just the given rows as a DIB of their own.
  whole.bmiHeader.biHeight = topDown ? -LONG(lines) : LONG(lines);
  std::vector<std::uint32_t> px;
  int w = 0, hh = 0;
  if (!DecodeDib(&whole, bits, std::numeric_limits<std::size_t>::max(), px, w, hh)) return 0;
  for (UINT i = 0; i < lines; ++i) {
    // Row i of the decoded block (top-down) is scan line start + (topDown ? i : lines-1-i).
    UINT scan = start + (topDown ? i : lines - 1 - i);
    int y = topDown ? int(scan) : h - 1 - int(scan);
    if (y < 0 || y >= b->Height) continue;
    std::uint32_t* dst = b->Row(y);
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = px[std::size_t(i) * std::size_t(w) + std::size_t(x)] & 0xFFFFFF;
      dst[x] = b->Mono ? MonoOf(p) : p;
    }
  }
  return int(lines);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  if (dc->Meta) return dc->Meta->Dib(dc, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, bits, bmi, rop);
  std::vector<std::uint32_t> px;
  int w = 0, h = 0;
  if (!DecodeDib(bmi, bits, std::numeric_limits<std::size_t>::max(), px, w, h)) return 0;
  HBITMAP tmp = MakeBitmap(w, h, std::move(px));
  HDC src = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(src, tmp);
  // DIB source coordinates count from the bottom for bottom-up rows.
  int sy = bmi->bmiHeader.biHeight > 0 ? h - ySrc - hSrc : ySrc;
  BOOL ok = StretchBlt(hdc, xDest, yDest, wDest, hDest, src, xSrc, sy, wSrc, hSrc, rop);
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(tmp);
  return ok ? hSrc : 0;
}

}  // namespace Windows
