#include "report/script/host/fs_ilate.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_idisp.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

namespace fs_ilate {

namespace {
int Depth(const TfsClassVariable* C)
{
  int D = 0;
  while (C && D < 64 && !C->AncestorName.empty() && C->OwnerScript) {
    C = C->OwnerScript->FindClassItem(C->AncestorName);
    ++D;
  }
  return D;
}
}  // namespace

TfsClassVariable* FindClassOf(const TfsScript* Script, const TObject* Obj)
{
  if (!Obj) return nullptr;
  if (!Script) Script = fs_iinterpreter::GetGlobalScript();
  if (!Script) return nullptr;
  // Classes declared to the type information say who they are.
  if (TClass T = TypInfo::ClassTypeOf(Obj); T && T != TypInfo::ObjectClass())
    for (; T; T = T->ClassParent())
      if (TfsClassVariable* C = Script->FindClassItem(T->ClassName()); C && C->Accepts(Obj)) return C;
  TfsClassVariable* Best = nullptr;
  int BestDepth = -1;
  for (const TfsScript* S = Script; S; S = S->ParentScript)
    for (Integer I = 0; I < S->ItemCount(); ++I) {
      auto* C = dynamic_cast<TfsClassVariable*>(S->ItemAt(I));
      if (!C || !C->Accepts(Obj)) continue;
      int D = Depth(C);
      if (D > BestDepth) {
        Best = C;
        BestDepth = D;
      }
    }
  return Best;
}

Variant IndexObject(const TfsScript* Script, const Variant& Obj, const std::vector<Variant>& Indexes,
                    const Variant* NewValue)
{
  TObject* O = fs_ihandles::LiveObjectOf(Obj);
  TfsClassVariable* C = FindClassOf(Script, O);
  TfsCustomVariable* M = C ? C->DefaultProperty : nullptr;
  if (!M) throw Exception("Class " + (C ? C->Name : AnsiString(O->ClassName())) + " does not have a default property");
  Integer N = static_cast<Integer>(Indexes.size());
  if (N > M->GetCount()) throw Exception("Too many actual parameters");
  if (N < M->RequiredParamCount()) throw Exception("Not enough actual parameters");
  for (Integer I = 0; I < M->GetCount(); ++I)
    M->ParamAt(I)->SetValue(I < N ? Indexes[static_cast<std::size_t>(I)] : M->ParamAt(I)->DefValue);
  auto* H = static_cast<TfsCustomHelper*>(M);
  H->ParentRef = nullptr;
  H->ParentValue = Obj;
  H->NeedResult = true;
  if (!NewValue) return M->GetValue();
  M->SetValue(*NewValue);
  return Variant::Null();
}

}  // namespace fs_ilate

TfsLateHelper::TfsLateHelper(const AnsiString& AName) : TfsCustomHelper(AName, ikVariant, "") {}

std::vector<Variant> TfsLateHelper::Indexes() const
{
  std::vector<Variant> A;
  for (Integer I = 0; I < GetCount(); ++I) A.push_back(ParamAt(I)->Value);
  return A;
}

TfsCustomVariable* TfsLateHelper::Bind(bool& IndexesValue)
{
  TObject* Obj = fs_ihandles::LiveObjectOf(ParentValue);
  TfsCustomVariable* M;
  if (FLastType && *FLastType == typeid(*Obj)) {
    M = FLastMember;
  } else {
    TfsClassVariable* C = fs_ilate::FindClassOf(ProgramScript, Obj);
    if (!C) throw Exception("Undeclared identifier: '" + Name + "'");
    M = Name.empty() ? C->DefaultProperty : C->FindMember(Name);
    if (!M)
      throw Exception(Name.empty() ? "Class " + C->Name + " does not have a default property"
                                   : "Undeclared identifier: '" + Name + "'");
    FLastType = &typeid(*Obj);
    FLastMember = M;
  }
  Integer N = GetCount();
  IndexesValue = N > 0 && M->GetCount() == 0 && !dynamic_cast<TfsMethodHelper*>(M);
  if (IndexesValue) N = 0;
  if (N > M->GetCount()) throw Exception("Too many actual parameters");
  if (N < M->RequiredParamCount()) throw Exception("Not enough actual parameters");
  for (Integer I = 0; I < M->GetCount(); ++I) {
    TfsParamItem* P = M->ParamAt(I);
    P->SetValue(I < N ? ParamAt(I)->Value : P->DefValue);
  }
  if (M->ItemClass & icHelper) {
    auto* H = static_cast<TfsCustomHelper*>(M);
    H->ParentRef = ParentRef;
    H->ParentValue = ParentValue;
    H->ProgramScript = ProgramScript;
  }
  M->NeedResult = NeedResult;
  return M;
}

void TfsLateHelper::CopyBack(TfsCustomVariable* M)
{
  // Our parameters pass back what the member's var parameters hold now; the designator then
  // writes them into the arguments.
  for (Integer I = 0; I < GetCount() && I < M->GetCount(); ++I) {
    TfsParamItem* Mine = ParamAt(I);
    Mine->IsVarParam = M->ParamAt(I)->IsVarParam;
    if (Mine->IsVarParam) Mine->Value = M->ParamAt(I)->Value;
  }
}

Variant TfsLateHelper::GetValue()
{
  if (fs_idisp::IsDispatch(ParentValue)) {
    if (Name.empty()) throw Exception("OLE error 80020003: default member");
    for (Integer I = 0; I < GetCount(); ++I) ParamAt(I)->IsVarParam = false;
    std::vector<Variant> A = Indexes();
    Variant R = fs_idisp::Call(ParentValue, Name, NeedResult ? dkMethod | dkPropertyGet : dkMethod, A);
    return NeedResult ? R : Variant::Null();
  }
  bool indexesValue = false;
  TfsCustomVariable* M = Bind(indexesValue);
  if (indexesValue) {
    M->NeedResult = true;
    return fs_ilate::IndexObject(ProgramScript, M->GetValue(), Indexes(), nullptr);
  }
  Variant R = M->GetValue();
  CopyBack(M);
  return R;
}

void TfsLateHelper::SetValue(const Variant& AValue)
{
  if (fs_idisp::IsDispatch(ParentValue)) {
    if (Name.empty()) throw Exception("OLE error 80020003: default member");
    std::vector<Variant> A = Indexes();
    A.push_back(AValue);
    fs_idisp::Call(ParentValue, Name, dkPropertyPut, A);
    return;
  }
  bool indexesValue = false;
  TfsCustomVariable* M = Bind(indexesValue);
  if (indexesValue) {
    M->NeedResult = true;
    fs_ilate::IndexObject(ProgramScript, M->GetValue(), Indexes(), &AValue);
    return;
  }
  if (M->IsReadOnly && !(dynamic_cast<TfsMethodHelper*>(M) && static_cast<TfsMethodHelper*>(M)->IsIndexProp))
    throw Exception("Left side cannot be assigned to");
  M->SetValue(AValue);
}
