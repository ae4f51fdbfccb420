// Helpers of the graphics tests: a temporary folder, and an icon file built byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GraphicsTestUtil {

// A fresh folder under the system's temporary folder, removed with its files when destroyed.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  std::string Path(const std::string& Name) const { return FPath + "/" + Name; }

private:
  std::string FPath;
};

// An icon file with one 32-bit image of Size x Size: the left half red, the right half
// transparent by its mask.
std::vector<std::uint8_t> MakeIcon(int Size);

}  // namespace GraphicsTestUtil
