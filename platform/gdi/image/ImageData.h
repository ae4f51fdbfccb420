// Internal to the drawing layer: making bitmaps and icons from pixels, and decoding DIB rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

namespace GdiInternal {
// Decodes DIB rows into top-down 32-bit pixels; false for a format it does not read or rows
// that would run past `bitsSize` bytes.
bool DecodeDib(const BITMAPINFO* bmi, const void* bits, std::size_t bitsSize, std::vector<std::uint32_t>& out,
               int& width, int& height);
// A new bitmap handle holding the pixels (width * height, top-down); null for a bad size.
HBITMAP MakeBitmap(int width, int height, std::vector<std::uint32_t> pixels, bool mono = false);
// A new icon from 0xAARRGGBB pixels and an AND mask (1 = transparent), both w * h, top-down.
HICON MakeIcon(int w, int h, std::vector<std::uint32_t> color, std::vector<std::uint8_t> mask, bool hasAlpha,
               bool isIcon, int hotX, int hotY);
}  // namespace GdiInternal
