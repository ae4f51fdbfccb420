// Any text goes through the filter parser (in every value kind) and the date/time format
// compiler: no crash, and every refusal is one of the documented errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gridkit/edits/DateTimeEditFormatEh.h"
#include "gridkit/filter/DbUtilsEh.h"
#include "platform/rtl/Exceptions.h"

namespace {
bool StartsWithOneOf(const AnsiString& Message, std::initializer_list<const char*> Prefixes)
{
  for (const char* p : Prefixes)
    if (Message.rfind(p, 0) == 0) return true;
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  AnsiString text(reinterpret_cast<const char*>(data), size);
  for (auto kind : {svkUnknown, svkString, svkNumber, svkDateTime}) {
    TSTFilterExpressionEh e;
    e.ValueKind = kind;
    try {
      DbUtilsEh::ParseFilterText(text, e);
    } catch (const EConvertError&) {
      // an operand that is no number or date in such a column
    } catch (const Exception& ex) {
      if (!StartsWithOneOf(ex.Message(),
                           {"Quote is absent: ", "'(' expected: ", "')' expected: ", "Error in expression: ",
                            "Unexpected expression before Null: ", "Unexpected expression after operator: ",
                            "Unexpected AND or OR: ", "Incorrect expression: "}))
        std::abort();
    }
  }
  AnsiString mask;
  TDateTimeSlotsEh slots;
  try {
    DBCtrlsEh::CompileEditFormat(text, mask, slots);
    DBCtrlsEh::ToDisplayFormat(text);
    AnsiString tmpl = DBCtrlsEh::ToStepTemplate(text);
    TDateTimePartsEh parts;
    DBCtrlsEh::ReadParts(text, slots, parts);
    Variant v = Variant::Null();
    DBCtrlsEh::BuildValue(parts, slots, v, size % 2 == 0);
    AnsiString stepped;
    int pos = static_cast<int>(size % 7) + 1, len = 0;
    DBCtrlsEh::StepElement(text, tmpl, size % 3 == 0, stepped, len, pos);
  } catch (const Exception& ex) {
    if (!StartsWithOneOf(ex.Message(), {"Element in EditFormat: ", "Invalid datetime format element length: ",
                                        "Duplicating datetime format element: "}))
      std::abort();
  }
  return 0;
}
