// Any bytes go through the VCLDBIF reader: no crash, no leak, no allocation beyond the input,
// and every refusal is the format error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gridkit/impexp/VCLDBIFEh.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  TStringStream s(AnsiString(reinterpret_cast<const char*>(data), size));
  TVCLDBIFReaderEh r(&s);
  try {
    r.ReadPrefix();
    std::size_t values = 0;
    while (!r.AtEnd) {
      // A value takes at least its tag byte.
      if (++values > size) std::abort();
      if (r.LookAheadValue.VarType() == varString && r.LookAheadValue.AsString().size() > size) std::abort();
      r.ReadNextValue();
    }
    if (r.StreamColumns.size() > size) std::abort();
  } catch (const Exception& e) {
    if (e.Message() != "TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format") std::abort();
  }
  return 0;
}
