// Helpers the text-layer tests share.
#pragma once

#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/StringList.h"

namespace RtlTest {

// The strings of a list, in order.
inline std::vector<AnsiString> Lines(const TStrings& list)
{
  std::vector<AnsiString> out;
  for (Integer i = 0; i < list.GetCount(); ++i) out.push_back(list.GetStrings(i));
  return out;
}

// A currency from its raw count of ten-thousandths.
inline Currency RawCurr(Int64 raw) { return Currency::FromRaw(raw); }

}  // namespace RtlTest
