// Reads a fuzz input as a stream of choices; past the end every read answers zero.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

struct FuzzReader {
  const std::uint8_t* p;
  std::size_t n;
  bool Empty() const { return n == 0; }
  std::uint8_t Byte()
  {
    if (!n) return 0;
    --n;
    return *p++;
  }
  // Up to `most` bytes, as many as the next byte says.
  std::string Bytes(std::size_t most)
  {
    std::size_t k = std::min<std::size_t>(Byte() % (most + 1), n);
    std::string s(reinterpret_cast<const char*>(p), k);
    p += k;
    n -= k;
    return s;
  }
  // A small signed number.
  int Int() { return int(std::int8_t(Byte())) * (Byte() % 4 + 1); }
};
