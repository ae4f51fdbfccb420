#include "report/script/interp/fs_iinterpreter.h"

#include <memory>

#include "report/script/host/fs_ievents.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_iclassesrtti.h"
#include "report/script/lib/fs_isysrtti.h"

namespace fs_iinterpreter {

namespace {
std::unique_ptr<TfsScript> GlobalScript;
bool Finalized = false;

void Fill(TfsScript* S)
{
  for (const char* T : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor"}) S->AddType(T, ikInteger);
  S->AddType("Boolean", ikBoolean);
  for (const char* T : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
    S->AddType(T, ikFloat);
  S->AddType("Char", ikChar);
  S->AddType("String", ikString);
  S->AddType("Variant", ikVariant);
  S->AddType("Pointer", ikVariant);
  S->AddType("Array", ikArray);
  S->AddType("Constructor", ikConstructor);
  S->AddConst("True", "Boolean", Variant(true));
  S->AddConst("False", "Boolean", Variant(false));
  S->AddConst("nil", "Variant", Variant(0));
  S->AddConst("Null", "Variant", Variant::Null());
  fs_isysrtti::Register(S);
  fs_iclassesrtti::Register(S);
}
}  // namespace

TfsScript* GetGlobalScript()
{
  if (!GlobalScript && !Finalized) {
    GlobalScript = std::make_unique<TfsScript>(nullptr);
    Fill(GlobalScript.get());
  }
  return GlobalScript.get();
}

void Initialize()
{
  Finalized = false;
  fs_ievents::Initialize();
  GetGlobalScript();
}

void Finalize()
{
  Finalized = true;
  fs_ievents::Finalize();
  GlobalScript.reset();
  fs_ihandles::Clear();
}

}  // namespace fs_iinterpreter
