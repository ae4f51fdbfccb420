#include "platform/forms/tests/GraphicsTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace GraphicsTestUtil {

namespace {
void Le16(std::vector<std::uint8_t>& b, unsigned v)
{
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Le32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}
}  // namespace

std::vector<std::uint8_t> MakeIcon(int Size)
{
  std::vector<std::uint8_t> img;
  Le32(img, 40);
  Le32(img, Size);
  Le32(img, Size * 2);
  Le16(img, 1);
  Le16(img, 32);
  for (int i = 0; i < 6; ++i) Le32(img, 0);
  // Colour rows, bottom-up: B, G, R, A.
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      bool left = x < Size / 2;
      img.push_back(0);
      img.push_back(0);
      img.push_back(left ? 255 : 0);
      img.push_back(left ? 255 : 0);
    }
  // AND mask rows, bottom-up, 32-bit aligned: 1 = transparent.
  int rowBytes = ((Size + 31) / 32) * 4;
  for (int y = 0; y < Size; ++y) {
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (int x = Size / 2; x < Size; ++x) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    img.insert(img.end(), row.begin(), row.end());
  }
  std::vector<std::uint8_t> ico;
  Le16(ico, 0);
  Le16(ico, 1);
  Le16(ico, 1);
  ico.push_back(std::uint8_t(Size));
  ico.push_back(std::uint8_t(Size));
  ico.push_back(0);
  ico.push_back(0);
  Le16(ico, 1);
  Le16(ico, 32);
  Le32(ico, std::uint32_t(img.size()));
  Le32(ico, 22);
  ico.insert(ico.end(), img.begin(), img.end());
  return ico;
}

}  // namespace GraphicsTestUtil
