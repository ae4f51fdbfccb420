#include "platform/gdi/image/PictureFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>

#include <jpeglib.h>
#include <png.h>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/ImageData.h"
#include "platform/gdi/dc/GdiInternal.h"
#include "platform/gdi/image/Icons.h"
#include "platform/rtl/Exceptions.h"

using namespace GdiInternal;

namespace {

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
  for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& v, unsigned x)
{
  v.push_back(std::uint8_t(x));
  v.push_back(std::uint8_t(x >> 8));
}

[[noreturn]] void Bad(const char* what) { throw EInvalidImage(what); }

// Decoded pictures are held whole in memory: larger ones are refused rather than risked.
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 26;
bool SizeOk(std::uint64_t w, std::uint64_t h)
{
  return w > 0 && h > 0 && w <= 32768 && h <= 32768 && w * h <= kMaxPixels;
}

// Top-down 32-bit pixels of a bitmap handle.
std::vector<std::uint32_t> PixelsOf(HBITMAP h, int& w, int& hgt)
{
  TBitmapObj* b = Bitmap(h);
  if (!b) throw EInvalidArgument("Invalid bitmap");
  w = b->Width;
  hgt = b->Height;
  std::vector<std::uint32_t> px(std::size_t(w) * std::size_t(hgt));
  for (int y = 0; y < hgt; ++y) std::memcpy(&px[std::size_t(y) * std::size_t(w)], b->Row(y), std::size_t(w) * 4);
  return px;
}

// Parses a DIB (header, colour table, rows) at `p` of `n` bytes; height as stored.
bool ParseDib(const std::uint8_t* p, std::size_t n, std::size_t bitsOffset, std::vector<std::uint32_t>& out, int& w,
              int& h, int heightDivisor, std::vector<std::uint8_t>* andMask)
{
  if (n < 40) return false;
  std::uint32_t hdrSize = Le32(p);
  if (hdrSize < 40 || hdrSize > n) return false;
  BITMAPINFO bi{};
  BITMAPINFOHEADER& hd = bi.bmiHeader;
  hd.biWidth = LONG(Le32(p + 4));
  LONG rawH = LONG(Le32(p + 8));
  hd.biPlanes = Le16(p + 12);
  hd.biBitCount = Le16(p + 14);
  hd.biCompression = Le32(p + 16);
  hd.biClrUsed = Le32(p + 32);
  if (rawH == std::numeric_limits<LONG>::min()) return false;
  LONG absH = (rawH < 0 ? -rawH : rawH) / heightDivisor;
  hd.biHeight = rawH < 0 ? -absH : absH;
  if (hd.biWidth <= 0 || absH <= 0 || hd.biWidth > 32768 || absH > 32768) return false;
  std::size_t colors = 0;
  if (hd.biBitCount <= 8) colors = hd.biClrUsed ? hd.biClrUsed : (1u << hd.biBitCount);
  if (colors > 256) return false;
  std::size_t table = hdrSize + (hd.biCompression == BI_BITFIELDS && hdrSize == 40 ? 12 : 0);
  if (table + colors * 4 > n) return false;
  for (std::size_t i = 0; i < colors; ++i) {
    const std::uint8_t* q = p + table + i * 4;
    bi.bmiColors[i] = RGBQUAD{q[0], q[1], q[2], 0};
  }
  if (bitsOffset == 0) bitsOffset = table + colors * 4;
  if (bitsOffset > n) return false;
  std::size_t rowBytes = std::size_t((std::int64_t(hd.biWidth) * hd.biBitCount + 31) / 32 * 4);
  std::size_t need = rowBytes * std::size_t(absH);
  if (hd.biBitCount == 0 || n - bitsOffset < need) return false;
  if (!DecodeDib(&bi, p + bitsOffset, n - bitsOffset, out, w, h)) return false;
  if (andMask) {
    std::size_t maskRow = std::size_t((hd.biWidth + 31) / 32 * 4);
    std::size_t maskAt = bitsOffset + need;
    andMask->assign(std::size_t(w) * std::size_t(h), 0);
    if (n - maskAt >= maskRow * std::size_t(h)) {
      for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = p + maskAt + maskRow * std::size_t(rawH < 0 ? y : h - 1 - y);
        for (int x = 0; x < w; ++x)
          (*andMask)[std::size_t(y) * std::size_t(w) + std::size_t(x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
      }
    }
  }
  return true;
}

}  // namespace

namespace BmpFile {

HBITMAP LoadBmp(const std::vector<std::uint8_t>& data)
{
  if (data.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M') Bad("Bitmap image is not valid");
  std::uint32_t off = Le32(&data[10]);
  if (off < 14 || off > data.size()) Bad("Bitmap image is not valid");
  std::vector<std::uint32_t> px;
  int w = 0, h = 0;
  if (!ParseDib(&data[14], data.size() - 14, off - 14, px, w, h, 1, nullptr)) Bad("Bitmap image is not valid");
  for (auto& p : px) p &= 0xFFFFFF;
  HBITMAP b = MakeBitmap(w, h, std::move(px));
  if (!b) Bad("Bitmap image is not valid");
  return b;
}

std::vector<std::uint8_t> SaveBmp(HBITMAP bitmap, int bpp)
{
  if (bpp != 24 && bpp != 32) throw EInvalidArgument("Unsupported bitmap format");
  int w, h;
  std::vector<std::uint32_t> px = PixelsOf(bitmap, w, h);
  std::size_t rowBytes = std::size_t((w * bpp + 31) / 32 * 4);
  std::size_t image = rowBytes * std::size_t(h);
  std::vector<std::uint8_t> out;
  out.reserve(54 + image);
  out.push_back('B');
  out.push_back('M');
  Put32(out, std::uint32_t(54 + image));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, std::uint32_t(w));
  Put32(out, std::uint32_t(h));
  Put16(out, 1);
  Put16(out, unsigned(bpp));
  Put32(out, BI_RGB);
  Put32(out, std::uint32_t(image));
  Put32(out, 3780);  // 96 dpi
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = px[std::size_t(y) * std::size_t(w) + std::size_t(x)];
      out.push_back(std::uint8_t(p));
      out.push_back(std::uint8_t(p >> 8));
      out.push_back(std::uint8_t(p >> 16));
      if (bpp == 32) out.push_back(0);
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

}  // namespace BmpFile

// ---- JPEG -------------------------------------------------------------------------------------
namespace {
struct TJpegError {
  jpeg_error_mgr Mgr;
  std::jmp_buf Jump;
};
void JpegErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1); }
void JpegSilence(j_common_ptr, int) {}

// Everything a decode needs lives here, outside the frame that longjmp returns to.
struct TJpegDecode {
  jpeg_decompress_struct Info;
  TJpegError Err;
  std::vector<std::uint32_t> Pixels;
  std::vector<std::uint8_t> Row;
  int W = 0, H = 0;
};
bool DecodeJpeg(TJpegDecode& d, const std::vector<std::uint8_t>& data)
{
  d.Info.err = jpeg_std_error(&d.Err.Mgr);
  d.Err.Mgr.error_exit = JpegErrorExit;
  d.Err.Mgr.emit_message = JpegSilence;
  if (setjmp(d.Err.Jump)) {
    jpeg_destroy_decompress(&d.Info);
    return false;
  }
  jpeg_create_decompress(&d.Info);
  jpeg_mem_src(&d.Info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.Info, TRUE);
  if (!SizeOk(d.Info.image_width, d.Info.image_height)) {
    jpeg_destroy_decompress(&d.Info);
    return false;
  }
  d.Info.mem->max_memory_to_use = 512L * 1024 * 1024;
  d.Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d.Info);
  d.W = int(d.Info.output_width);
  d.H = int(d.Info.output_height);
  if (!SizeOk(std::uint64_t(std::max(d.W, 0)), std::uint64_t(std::max(d.H, 0))) || d.Info.output_components != 3) {
    jpeg_destroy_decompress(&d.Info);
    return false;
  }
  d.Pixels.assign(std::size_t(d.W) * std::size_t(d.H), 0);
  d.Row.assign(std::size_t(d.W) * 3, 0);
  while (d.Info.output_scanline < d.Info.output_height) {
    JSAMPROW row = d.Row.data();
    int y = int(d.Info.output_scanline);
    jpeg_read_scanlines(&d.Info, &row, 1);
    for (int x = 0; x < d.W; ++x)
      d.Pixels[std::size_t(y) * std::size_t(d.W) + std::size_t(x)] =
          (std::uint32_t(d.Row[3 * x]) << 16) | (std::uint32_t(d.Row[3 * x + 1]) << 8) | d.Row[3 * x + 2];
  }
  jpeg_finish_decompress(&d.Info);
  jpeg_destroy_decompress(&d.Info);
  return true;
}

struct TJpegEncode {
  jpeg_compress_struct Info;
  TJpegError Err;
  unsigned char* Mem = nullptr;
  unsigned long Size = 0;
  std::vector<std::uint8_t> Row;
};
bool EncodeJpeg(TJpegEncode& e, const std::vector<std::uint32_t>& px, int w, int h, int quality)
{
  e.Info.err = jpeg_std_error(&e.Err.Mgr);
  e.Err.Mgr.error_exit = JpegErrorExit;
  e.Err.Mgr.emit_message = JpegSilence;
  if (setjmp(e.Err.Jump)) {
    jpeg_destroy_compress(&e.Info);
    return false;
  }
  jpeg_create_compress(&e.Info);
  jpeg_mem_dest(&e.Info, &e.Mem, &e.Size);
  e.Info.image_width = JDIMENSION(w);
  e.Info.image_height = JDIMENSION(h);
  e.Info.input_components = 3;
  e.Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.Info);
  jpeg_set_quality(&e.Info, quality, TRUE);
  jpeg_start_compress(&e.Info, TRUE);
  e.Row.assign(std::size_t(w) * 3, 0);
  while (e.Info.next_scanline < e.Info.image_height) {
    int y = int(e.Info.next_scanline);
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = px[std::size_t(y) * std::size_t(w) + std::size_t(x)];
      e.Row[3 * x] = std::uint8_t(p >> 16);
      e.Row[3 * x + 1] = std::uint8_t(p >> 8);
      e.Row[3 * x + 2] = std::uint8_t(p);
    }
    JSAMPROW row = e.Row.data();
    jpeg_write_scanlines(&e.Info, &row, 1);
  }
  jpeg_finish_compress(&e.Info);
  jpeg_destroy_compress(&e.Info);
  return true;
}
}  // namespace

namespace JpegFile {

HBITMAP LoadJpeg(const std::vector<std::uint8_t>& data)
{
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) Bad("JPEG error #53");
  auto d = std::make_unique<TJpegDecode>();
  if (!DecodeJpeg(*d, data)) Bad("JPEG error #53");
  HBITMAP b = MakeBitmap(d->W, d->H, std::move(d->Pixels));
  if (!b) Bad("JPEG error #53");
  return b;
}

std::vector<std::uint8_t> SaveJpeg(HBITMAP bitmap, int quality)
{
  int w, h;
  std::vector<std::uint32_t> px = PixelsOf(bitmap, w, h);
  quality = std::max(1, std::min(100, quality));
  auto e = std::make_unique<TJpegEncode>();
  bool ok = EncodeJpeg(*e, px, w, h, quality);
  std::vector<std::uint8_t> out;
  if (ok && e->Mem) out.assign(e->Mem, e->Mem + e->Size);
  std::free(e->Mem);
  if (!ok) throw EInvalidArgument("JPEG error");
  return out;
}

}  // namespace JpegFile

// ---- PNG --------------------------------------------------------------------------------------
namespace {
struct TPngRead {
  const std::vector<std::uint8_t>* Data = nullptr;
  std::size_t Pos = 0;
  std::vector<std::uint32_t> Pixels;
  std::vector<png_bytep> Rows;
  std::vector<std::uint8_t> Buf;
  png_uint_32 W = 0, H = 0;
};
void PngReadFn(png_structp png, png_bytep out, png_size_t n)
{
  auto* r = static_cast<TPngRead*>(png_get_io_ptr(png));
  if (r->Pos + n > r->Data->size()) png_error(png, "truncated");
  std::memcpy(out, r->Data->data() + r->Pos, n);
  r->Pos += n;
}
void PngWarn(png_structp, png_const_charp) {}
void PngErr(png_structp png, png_const_charp) { png_longjmp(png, 1); }

bool DecodePng(TPngRead& r)
{
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErr, PngWarn);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &r, PngReadFn);
  png_read_info(png, info);
  r.W = png_get_image_width(png, info);
  r.H = png_get_image_height(png, info);
  if (!SizeOk(r.W, r.H)) png_error(png, "size");
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  r.Buf.assign(std::size_t(r.W) * 4 * r.H, 0);
  r.Rows.resize(r.H);
  for (png_uint_32 y = 0; y < r.H; ++y) r.Rows[y] = &r.Buf[std::size_t(y) * r.W * 4];
  png_read_image(png, r.Rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  r.Pixels.resize(std::size_t(r.W) * r.H);
  std::memcpy(r.Pixels.data(), r.Buf.data(), r.Buf.size());
  return true;
}

struct TPngWrite {
  std::vector<std::uint8_t> Out;
  std::vector<std::uint8_t> Buf;
  std::vector<png_bytep> Rows;
};
void PngWriteFn(png_structp png, png_bytep in, png_size_t n)
{
  auto* w = static_cast<TPngWrite*>(png_get_io_ptr(png));
  w->Out.insert(w->Out.end(), in, in + n);
}
void PngFlush(png_structp) {}
bool EncodePng(TPngWrite& w, const std::vector<std::uint32_t>& px, int width, int height)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErr, PngWarn);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &w, PngWriteFn, PngFlush);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  w.Buf.assign(std::size_t(width) * 3 * std::size_t(height), 0);
  w.Rows.resize(std::size_t(height));
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &w.Buf[std::size_t(y) * std::size_t(width) * 3];
    w.Rows[std::size_t(y)] = row;
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = px[std::size_t(y) * std::size_t(width) + std::size_t(x)];
      row[3 * x] = std::uint8_t(p >> 16);
      row[3 * x + 1] = std::uint8_t(p >> 8);
      row[3 * x + 2] = std::uint8_t(p);
    }
  }
  png_write_image(png, w.Rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

namespace PngFile {

HBITMAP LoadPng(const std::vector<std::uint8_t>& data)
{
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) Bad("PNG image is not valid");
  auto r = std::make_unique<TPngRead>();
  r->Data = &data;
  if (!DecodePng(*r)) Bad("PNG image is not valid");
  HBITMAP b = MakeBitmap(int(r->W), int(r->H), std::move(r->Pixels));
  if (!b) Bad("PNG image is not valid");
  return b;
}

std::vector<std::uint8_t> SavePng(HBITMAP bitmap)
{
  int w, h;
  std::vector<std::uint32_t> px = PixelsOf(bitmap, w, h);
  auto wr = std::make_unique<TPngWrite>();
  if (!EncodePng(*wr, px, w, h)) throw EInvalidArgument("PNG error");
  return std::move(wr->Out);
}

}  // namespace PngFile

// ---- ICO --------------------------------------------------------------------------------------
namespace IcoFile {

HICON LoadIco(const std::vector<std::uint8_t>& data, int size)
{
  if (data.size() < 6 || Le16(&data[0]) != 0 || (Le16(&data[2]) != 1 && Le16(&data[2]) != 2))
    Bad("Icon image is not valid");
  bool isIcon = Le16(&data[2]) == 1;
  unsigned count = Le16(&data[4]);
  if (count == 0 || data.size() < 6 + 16 * std::size_t(count)) Bad("Icon image is not valid");
  int best = -1;
  long bestScore = std::numeric_limits<long>::max();
  for (unsigned i = 0; i < count; ++i) {
    const std::uint8_t* e = &data[6 + 16 * std::size_t(i)];
    int w = e[0] ? e[0] : 256;
    int bpp = isIcon ? Le16(e + 6) : 32;
    std::uint32_t len = Le32(e + 8), off = Le32(e + 12);
    if (off > data.size() || len > data.size() - off) continue;
    long score = size > 0 ? std::labs(long(w - size)) * 1000 : -long(w) * 1000;
    score -= bpp;
    if (score < bestScore) {
      bestScore = score;
      best = int(i);
    }
  }
  if (best < 0) Bad("Icon image is not valid");
  const std::uint8_t* e = &data[6 + 16 * std::size_t(best)];
  std::uint32_t len = Le32(e + 8), off = Le32(e + 12);
  const std::uint8_t* img = data.data() + off;
  int hotX = isIcon ? 0 : Le16(e + 4), hotY = isIcon ? 0 : Le16(e + 6);
  if (len >= 8 && png_sig_cmp(img, 0, 8) == 0) {
    std::vector<std::uint8_t> png(img, img + len);
    auto r = std::make_unique<TPngRead>();
    r->Data = &png;
    if (!DecodePng(*r)) Bad("Icon image is not valid");
    std::vector<std::uint8_t> mask(r->Pixels.size());
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = (r->Pixels[i] >> 24) == 0;
    HICON ic = MakeIcon(int(r->W), int(r->H), std::move(r->Pixels), std::move(mask), true, isIcon, hotX, hotY);
    if (!ic) Bad("Icon image is not valid");
    return ic;
  }
  std::vector<std::uint32_t> px;
  std::vector<std::uint8_t> mask;
  int w = 0, h = 0;
  if (!ParseDib(img, len, 0, px, w, h, 2, &mask)) Bad("Icon image is not valid");
  bool alpha = false;
  if (Le16(img + 14) == 32)
    for (std::uint32_t p : px) alpha |= (p >> 24) != 0;
  if (!alpha)
    for (auto& p : px) p &= 0xFFFFFF;
  HICON ic = MakeIcon(w, h, std::move(px), std::move(mask), alpha, isIcon, hotX, hotY);
  if (!ic) Bad("Icon image is not valid");
  return ic;
}

}  // namespace IcoFile
