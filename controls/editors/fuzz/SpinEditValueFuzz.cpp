// Arbitrary texts through the spin editor's conversion: every text either converts to a value
// of its type, whose text converts back, or is refused; and a step from any
// converted value stays inside the type or is refused.
// Input: a flag byte (bit 0: vtInt; bit 1: ',' as the decimal separator; bits 2-3: step code),
// then the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/spinedit/cxSpinEditValue.h"
#include "platform/rtl/FormatSettings.h"

using namespace cxSpinEditValue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  EditorsModule::Initialize();
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  const TcxSpinEditValueType type = flags & 1 ? vtInt : vtFloat;
  SysUtils::DecimalSeparator = flags & 2 ? ',' : '.';
  const int code = (flags >> 2) & 3;
  AnsiString text(reinterpret_cast<const char*>(data + 1), size - 1);

  Variant v;
  TcxSpinConvertError error = TextToValue(text, type, v);
  if (error != sceNone) return 0;
  if (v.VarType() != (type == vtInt ? varInt64 : varDouble)) std::abort();
  if (!IsInTypeRange(v.AsDouble(), type) && type == vtFloat) std::abort();

  // An integer's text gives it back exactly; a Double's 15-digit text is a number again (it
  // may round up past the limit) that shows the same.
  Variant back;
  TcxSpinConvertError again = TextToValue(ValueToText(v), type, back);
  if (type == vtInt && (again != sceNone || back.AsInt64() != v.AsInt64())) std::abort();
  if (again == sceInvalid) std::abort();
  if (again == sceNone && ValueToText(back) != ValueToText(v)) std::abort();

  for (double increment : {1.0, 0.5, 1e18, 1e308}) {
    Variant stepped;
    const double inc = GetIncrement(increment, increment * 10, type, code);
    if (GetNewValue(v, code, inc, type, {}, stepped)) {
      if (stepped.VarType() != (type == vtInt ? varInt64 : varDouble)) std::abort();
      if (type == vtFloat && !IsInTypeRange(stepped.AsDouble(), vtFloat)) std::abort();
    }
    TcxSpinStepBounds bounds{-100, 100, 1};
    if (GetNewValue(v, code, inc, type, bounds, stepped)) {
      const double y = stepped.AsDouble();
      if (y < -100 || y > 100) std::abort();
    }
  }
  return 0;
}
