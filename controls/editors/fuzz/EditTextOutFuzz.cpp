// Arbitrary bytes and flags through the editors' text layout: rows are made and drawn, and every
// row must start and end on a character boundary, in order, inside the text.
// Input: four flag bytes, then width, height, selection start and length (two bytes each), a
// row limit byte, then the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"

namespace {

struct TFuzzSurface {
  TFuzzSurface()
  {
    DC = Windows::CreateCompatibleDC(nullptr);
    Bmp = Windows::CreateCompatibleBitmap(nullptr, 200, 120);
    Windows::SelectObject(DC, Bmp);
    Font = Windows::CreateFont(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New");
    Windows::SelectObject(DC, Font);
  }
  HDC DC;
  HBITMAP Bmp;
  HFONT Font;
};

int ReadWord(const uint8_t* p) { return int(p[0]) << 8 | p[1]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  EditorsModule::Initialize();
  static TFuzzSurface surface;
  constexpr std::size_t kHeader = 13;
  if (size < kHeader) return 0;
  const int flags = int(uint32_t(data[0]) << 24 | uint32_t(data[1]) << 16 | uint32_t(data[2]) << 8 | data[3]);
  const int width = ReadWord(data + 4) % 400 - 50, height = ReadWord(data + 6) % 300 - 20;
  const int selStart = ReadWord(data + 8) - 100, selLength = ReadWord(data + 10) - 100;
  const int maxLines = data[12] % 8;
  const char* text = reinterpret_cast<const char*>(data + kHeader);
  const int length = int(size - kHeader);

  // The character boundaries of the text, as the code page reads it from the start.
  std::vector<bool> boundary(std::size_t(length) + 1, false);
  for (int i = 0; i < length;) {
    boundary[std::size_t(i)] = true;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    i += (c >= 0x81 && c <= 0xFE && i + 1 < length) ? 2 : 1;
  }
  boundary[std::size_t(length)] = true;

  using namespace cxEditTextUtils;
  TcxTextParams params;
  PrepareTextParams(surface.DC, flags, params);
  TcxTextRows rows;
  int count = 0;
  const RECT r{10, 5, 10 + width, 5 + height};
  MakeTextRows(surface.DC, text, length, r, maxLines, count, rows, params);
  if (count < 0 || count > length + 1 || std::size_t(count) != rows.size()) std::abort();
  int previous = -1;
  for (int i = 0; i < count; ++i) {
    const TcxTextRow& row = rows[std::size_t(i)];
    const int start = row.StartOffset, end = start + row.TextLength;
    if (start < 0 || end > length || row.TextLength < 0 || start <= previous) std::abort();
    if (row.Text != text + start) std::abort();
    if (!boundary[std::size_t(start)] || !boundary[std::size_t(end)]) std::abort();
    previous = start;
  }

  RECT out = r;
  cxTextOut(surface.DC, text, length, out, flags, selStart, selLength, clHighlight, clHighlightText, maxLines, 3, 2);
  return 0;
}
