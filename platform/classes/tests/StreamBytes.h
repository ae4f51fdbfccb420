// Builds expected component-stream bytes by hand, piece by piece.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/rtl/Streams.h"

class StreamBytes {
public:
  StreamBytes& Raw(std::initializer_list<int> bytes)
  {
    for (int b : bytes) FData += static_cast<char>(b);
    return *this;
  }
  StreamBytes& Text(const std::string& s)
  {
    FData += s;
    return *this;
  }
  // A short string: the length byte, then the bytes.
  StreamBytes& Str(const std::string& s)
  {
    FData += static_cast<char>(s.size());
    FData += s;
    return *this;
  }
  StreamBytes& Int32(std::int32_t v)
  {
    for (int i = 0; i < 4; ++i) FData += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  const std::string& Data() const { return FData; }

private:
  std::string FData;
};

// The whole content of a memory stream.
inline std::string StreamText(TMemoryStream& s)
{
  return std::string(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
}

inline void LoadStream(TMemoryStream& s, const std::string& bytes)
{
  s.Clear();
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  s.SetPosition(0);
}
