// Any bytes go through the workbook reader, as a file (compound file and BIFF records) and as a
// bare workbook stream, without crashing, leaking or reading out of bounds: a damaged input ends
// in EXlsError and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/db/xls/XlsError.h"
#include "platform/db/xls/XlsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  try {
    XlsReader::ReadBytes(data, size);
  } catch (const EXlsError&) {}
  // A file's bytes past the compound file's header make a stream that starts with records.
  const std::size_t skip = size > 512 ? 512 : 0;
  try {
    XlsReader::ReadStream(std::string(reinterpret_cast<const char*>(data) + skip, size - skip));
  } catch (const EXlsError&) {}
  return 0;
}
