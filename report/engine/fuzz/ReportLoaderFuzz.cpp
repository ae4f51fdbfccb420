// Arbitrary bytes into the report file loader: a load either succeeds (gathering what it could
// not apply in the report's errors) or raises the library's own exceptions, and what loaded is
// saved in a form that loads back and saves to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxReport.h"

namespace {

AnsiString Save(TfrxReport& r)
{
  TStringStream out;
  r.SaveToStream(&out);
  return out.GetDataString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  ReportEngineModule::Initialize();
  // The load's error box is answered at once.
  MessageSeam::TScopedMessageBox box([](const AnsiString&, const AnsiString&, unsigned) { return IDOK; });
  TfrxReport report(nullptr);
  try {
    TStringStream in(AnsiString(reinterpret_cast<const char*>(data), size));
    report.LoadFromStream(&in);
  } catch (const Exception&) {
    return 0;
  }
  AnsiString first = Save(report);
  TfrxReport again(nullptr);
  TStringStream in(first);
  again.LoadFromStream(&in);
  if (Save(again) != first) std::abort();
  return 0;
}
