// Late-bound calls on automation objects: a member of a Variant that holds an IDispatch is
// called by name when the program runs. Failures raise Exception "OLE error XXXXXXXX: Name".
#pragma once

#include <vector>

#include "report/script/interp/fs_iitems.h"

class TfsOLEHelper : public TfsCustomHelper {
public:
  explicit TfsOLEHelper(const AnsiString& AName);
  // Calls the member as a method, or as method or property get when a result is wanted.
  Variant GetValue() override;
  // Puts the property, the value after the arguments.
  void SetValue(const Variant& AValue) override;
};

namespace fs_idisp {
// At most this many arguments reach the object.
constexpr std::size_t MaxArgs = 64;
// Whether V holds an automation object.
bool IsDispatch(const Variant& V);
// One dispatch call of Name on Obj with Args in source order; errors as above.
Variant Call(const Variant& Obj, const AnsiString& Name, TDispatchKind Kind, std::vector<Variant>& Args);
}  // namespace fs_idisp
