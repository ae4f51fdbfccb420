#include "report/script/host/fs_idisp.h"

#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Variants.h"

namespace fs_idisp {

namespace {
constexpr unsigned UnknownName = 0x80020006u;    // the member is not known
constexpr unsigned CallFailed = 0x80020009u;     // the member raised
constexpr unsigned BadParamCount = 0x8002000Eu;  // more arguments than a call can carry

[[noreturn]] void Fail(unsigned Code, const AnsiString& Name)
{
  char Hex[16];
  std::snprintf(Hex, sizeof Hex, "%08X", Code);
  throw Exception("OLE error " + AnsiString(Hex) + ": " + Name);
}
}  // namespace

bool IsDispatch(const Variant& V)
{
  TVarType T = V.Deref().VarType();
  return T == varDispatch || T == varUnknown;
}

Variant Call(const Variant& Obj, const AnsiString& Name, TDispatchKind Kind, std::vector<Variant>& Args)
{
  if (Args.size() > MaxArgs) Fail(BadParamCount, Name);
  IDispatch* D = nullptr;
  try {
    D = Obj.AsDispatch();
  } catch (const Exception&) {
    Fail(UnknownName, Name);
  }
  if (!D) Fail(UnknownName, Name);
  try {
    return D->Invoke(Name, Kind, Args);
  } catch (const EVariantDispatchError&) {
    Fail(UnknownName, Name);
  } catch (const EAbort&) {
    throw;
  } catch (const Exception&) {
    Fail(CallFailed, Name);
  }
}

}  // namespace fs_idisp

TfsOLEHelper::TfsOLEHelper(const AnsiString& AName) : TfsCustomHelper(AName, ikVariant, "") {}

namespace {
std::vector<Variant> ArgsOf(TfsCustomVariable* H)
{
  std::vector<Variant> A;
  A.reserve(static_cast<std::size_t>(H->GetCount()) + 1);
  for (Integer I = 0; I < H->GetCount(); ++I) A.push_back(H->ParamAt(I)->Value);
  return A;
}
}  // namespace

Variant TfsOLEHelper::GetValue()
{
  std::vector<Variant> A = ArgsOf(this);
  Variant R = fs_idisp::Call(ParentValue, Name, NeedResult ? dkMethod | dkPropertyGet : dkMethod, A);
  return NeedResult ? R : Variant::Null();
}

void TfsOLEHelper::SetValue(const Variant& AValue)
{
  std::vector<Variant> A = ArgsOf(this);
  A.push_back(AValue);
  fs_idisp::Call(ParentValue, Name, dkPropertyPut, A);
}
