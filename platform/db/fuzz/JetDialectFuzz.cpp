// Any statement text goes through the Access-dialect rewrite and the parameter scan, and any
// filter text through the filter parser, without crashing or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/db/FilterExpr.h"
#include "platform/db/JetDialect.h"
#include "platform/db/Params.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  WideString sql;
  for (std::size_t i = 0; i + 1 < size; i += 2) sql += static_cast<WideChar>(data[i] | (data[i + 1] << 8));
  try {
    JetDialect::Rewrite(sql);
  } catch (const Exception&) {}
  Params::ScanMarkers(sql);
  try {
    TFilterExpression::Parse(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const Exception&) {}
  return 0;
}
