// Picture files in memory: BMP read and write, JPEG read and write (libjpeg), PNG read and
// write (libpng), ICO read. Every Load answers a new handle the caller owns (DeleteObject for
// bitmaps, DestroyIcon for icons) and raises EInvalidImage for data it cannot read; Save
// raises EInvalidArgument for an invalid bitmap.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

namespace BmpFile {
HBITMAP LoadBmp(const std::vector<std::uint8_t>& data);
// bitsPerPixel 24 or 32; bottom-up rows as the classic files have them.
std::vector<std::uint8_t> SaveBmp(HBITMAP bitmap, int bitsPerPixel = 24);
}  // namespace BmpFile

namespace JpegFile {
HBITMAP LoadJpeg(const std::vector<std::uint8_t>& data);
// quality 1..100 (clamped).
std::vector<std::uint8_t> SaveJpeg(HBITMAP bitmap, int quality = 90);
}  // namespace JpegFile

namespace PngFile {
// Alpha is kept in the top byte of each pixel.
HBITMAP LoadPng(const std::vector<std::uint8_t>& data);
std::vector<std::uint8_t> SavePng(HBITMAP bitmap);
}  // namespace PngFile

namespace IcoFile {
// The image nearest to `size` pixels (0: the largest), preferring more colours.
HICON LoadIco(const std::vector<std::uint8_t>& data, int size = 0);
}  // namespace IcoFile
