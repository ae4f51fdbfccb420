// Helpers of the graphics tests: an icon file built byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace GraphicsTestUtil {

// An icon file with one 32-bit image of Size x Size: the left half red, the right half
// transparent by its mask.
std::vector<std::uint8_t> MakeIcon(int Size);

}  // namespace GraphicsTestUtil
