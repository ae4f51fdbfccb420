// Hand-made byte fixtures for the stream tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string Bytes(std::initializer_list<int> bytes)
{
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

inline std::string Int32LE(std::int32_t v)
{
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}
