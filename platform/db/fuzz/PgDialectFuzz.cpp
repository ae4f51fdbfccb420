// Any statement text goes through the server-dialect rewrite without crashing or reading out of
// bounds (unterminated quotes and brackets, DDL cut short, "top" at the end, ...).
#include <cstddef>
#include <cstdint>

#include "platform/db/PgDialect.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  WideString sql;
  for (std::size_t i = 0; i + 1 < size; i += 2) sql += static_cast<WideChar>(data[i] | (data[i + 1] << 8));
  try {
    PgDialect::Rewrite(sql);
  } catch (const Exception&) {}
  return 0;
}
