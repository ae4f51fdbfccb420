#include "report/script/interp/fs_iitems.h"

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_ievents.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/host/fs_ilate.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/parser/fs_iconst.h"
#include "report/script/interp/fs_istatements.h"
#include "report/script/tools/fs_itypes.h"

void TfsItemList::Clear()
{
  std::vector<TObject*> Old;
  Old.swap(FEntries);
  for (TObject* E : Old) delete E;
}

Integer TfsItemList::Add(TObject* Entry)
{
  FEntries.push_back(Entry);
  return static_cast<Integer>(FEntries.size()) - 1;
}

void TfsItemList::Remove(TObject* Entry)
{
  for (auto It = FEntries.begin(); It != FEntries.end(); ++It)
    if (*It == Entry) {
      FEntries.erase(It);
      return;
    }
}

TfsCustomVariable::TfsCustomVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName)
    : Name(AName), Kind(AKind), TypeName(ATypeName), Value(Variant::Null())
{}

void TfsCustomVariable::SetValue(const Variant& AValue)
{
  if (!IsReadOnly) Value = AValue;
}

Variant TfsCustomVariable::GetValue() { return Value; }

TfsParamItem* TfsCustomVariable::ParamAt(Integer Index) const
{
  if (Index < 0 || Index >= GetCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return static_cast<TfsParamItem*>(EntryAt(Index));
}

Integer TfsCustomVariable::RequiredParamCount() const
{
  Integer N = 0;
  for (TObject* E : FEntries)
    if (!static_cast<TfsParamItem*>(E)->IsOptional) ++N;
  return N;
}

AnsiString TfsCustomVariable::KindText() const
{
  switch (Kind) {
    case ikInteger: return "Integer";
    case ikBoolean: return "Boolean";
    case ikFloat: return "Extended";
    case ikChar: return "Char";
    case ikString: return "String";
    case ikClass: return "Class " + TypeName;
    case ikArray: return "Array";
    case ikEnum: return TypeName;
    default: return "Variant";
  }
}

void TfsStringVariable::SetValue(const Variant& AValue)
{
  if (!IsReadOnly) StrValue = Variants::VarToStr(AValue);
}

TfsParamItem::TfsParamItem(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName, bool AIsOptional,
                           bool AIsVarParam)
    : TfsCustomVariable(AName, AKind, ATypeName), DefValue(Variant::Null()), IsOptional(AIsOptional),
      IsVarParam(AIsVarParam)
{
  ItemClass |= icParam;
}

TfsProcVariable::TfsProcVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName,
                                 TfsScript* AParent, bool AIsFunction)
    : TfsCustomVariable(AName, AKind, ATypeName), IsFunction(AIsFunction), LocalScript(new TfsScript(nullptr))
{
  ItemClass |= icProc;
  IsReadOnly = true;
  LocalScript->ParentScript = AParent;
  if (AIsFunction) {
    auto* R = new TfsVariable("Result", AKind, ATypeName);
    LocalScript->RegisterItem("Result", R);
    RefItem = R;
  }
}

TfsProcVariable::~TfsProcVariable()
{
  // No host event may run this procedure any more.
  if (TfsEventList* L = fs_ievents::GetEventList()) L->RemoveProc(this);
  for (TObject* E : FEntries) LocalScript->UnregisterItem(static_cast<TfsCustomVariable*>(E));
  LocalScript.reset();
  Clear();
}

const std::vector<TfsCustomVariable*>& TfsProcVariable::GetLocals()
{
  TfsScript* L = LocalScript.get();
  if (FLocalsOf != L->ItemCount()) {
    // Items that arrive while the procedure runs (a designator built at its first use may
    // declare one) go to the end: the activations running now restore the entries they saved
    // by position.
    if (L->ItemCount() < FLocalsOf) FLocals.clear();
    for (Integer I = 0; I < L->ItemCount(); ++I) {
      TfsCustomVariable* V = L->ItemAt(I);
      if ((V->ItemClass & (icVariable | icParam)) && std::find(FLocals.begin(), FLocals.end(), V) == FLocals.end())
        FLocals.push_back(V);
    }
    FPlainSlots.clear();
    FStringLocals.clear();
    for (TfsCustomVariable* V : FLocals) {
      if (V->ItemClass & icStringVariable)
        FStringLocals.push_back(static_cast<TfsStringVariable*>(V));
      else
        FPlainSlots.push_back(&V->Value);
    }
    FLocalsOf = L->ItemCount();
  }
  return FLocals;
}

Variant TfsSetExpression::GetValue()
{
  std::vector<Variant> Values;
  for (TObject* E : FEntries) Values.push_back(E ? static_cast<TfsCustomVariable*>(E)->GetValue() : Variant(0));
  return Variants::VarArrayOf(Values);
}

bool TfsSetExpression::Contains(const Variant& AValue)
{
  Integer N = GetCount();
  Integer I = 0;
  while (I < N) {
    auto* E = static_cast<TfsCustomVariable*>(EntryAt(I));
    if (I == N - 1 || EntryAt(I + 1) != nullptr) {
      if (E && AValue == E->GetValue()) return true;
      ++I;
    } else {
      auto* Hi = I + 2 < N ? static_cast<TfsCustomVariable*>(EntryAt(I + 2)) : nullptr;
      if (E && Hi && AValue >= E->GetValue() && AValue <= Hi->GetValue()) return true;
      I += 3;
    }
  }
  return false;
}

TfsStringHelper::TfsStringHelper() : TfsCustomHelper("__StringHelper", ikChar, "")
{
  Add(new TfsParamItem("", ikInteger, "", false, false));
}

namespace {
std::size_t CheckedCharIndex(const AnsiString& S, const Variant& Index)
{
  Integer I = Index.AsInteger();
  if (I < 1 || static_cast<std::size_t>(I) > S.size())
    throw ERangeError("String index out of range (" + std::to_string(I) + ")");
  return static_cast<std::size_t>(I - 1);
}
}  // namespace

Variant TfsStringHelper::GetValue()
{
  AnsiString S = Variants::VarToStr(ParentValue);
  return Variant(AnsiString(1, S[CheckedCharIndex(S, ParamAt(0)->Value)]));
}

void TfsStringHelper::SetValue(const Variant& AValue)
{
  AnsiString S = Variants::VarToStr(ParentValue);
  std::size_t I = CheckedCharIndex(S, ParamAt(0)->Value);
  AnsiString C = Variants::VarToStr(AValue);
  if (C.empty()) throw EConvertError("A character is required");
  S[I] = C[0];
  if (ParentRef) ParentRef->SetValue(Variant(S));
}

TfsArrayHelper::TfsArrayHelper(const AnsiString& AName, Integer ParamCount, TfsItemKind AKind,
                               const AnsiString& ATypeName)
    : TfsCustomHelper(AName, AKind, ATypeName)
{
  if (ParamCount < 0) {
    Add(new TfsParamItem("", ikInteger, "", false, false));
    Add(new TfsParamItem("", ikInteger, "", true, false));
    Add(new TfsParamItem("", ikInteger, "", true, false));
  } else {
    for (Integer I = 0; I < ParamCount; ++I) Add(new TfsParamItem("", ikInteger, "", false, false));
  }
}

namespace {
std::vector<int> ArrayIndexes(TfsCustomVariable* Helper, int Dims)
{
  std::vector<int> Ix;
  for (int I = 0; I < Dims; ++I) {
    if (I >= Helper->GetCount() || Helper->ParamAt(I)->Value.IsNull())
      throw EVariantBadIndexError("Variant or safe array index out of bounds");
    Ix.push_back(Helper->ParamAt(I)->Value.AsInteger());
  }
  return Ix;
}
}  // namespace

namespace {
// The item whose stored value the helper indexes in place; other steps (a function result)
// are indexed through the value they passed on.
Variant& IndexedValue(TfsCustomHelper* H)
{
  TfsCustomVariable* P = H->ParentRef;
  if (P && (P->ItemClass & (icVariable | icParam)) && !(P->ItemClass & icStringVariable)) return P->ValueRef();
  return H->ParentValue;
}
}  // namespace

namespace {
// Host objects travel as integer handles.
bool IsObjectValue(const Variant& V)
{
  TVarType T = V.Deref().VarType();
  return T == varInteger || T == varInt64 || T == varSmallint || T == varShortInt || T == varByte || T == varWord ||
         T == varLongWord;
}
std::vector<Variant> GivenIndexes(TfsCustomVariable* H)
{
  std::vector<Variant> R;
  for (Integer I = 0; I < H->GetCount() && !H->ParamAt(I)->Value.IsNull(); ++I) R.push_back(H->ParamAt(I)->Value);
  return R;
}
}  // namespace

Variant TfsArrayHelper::GetValue()
{
  Variant& A = IndexedValue(this);
  // A Variant holding text is indexed by character, as the text's own helper would.
  if (!A.IsArray() && Variants::VarIsStr(A)) {
    AnsiString S = Variants::VarToStr(A);
    return Variant(AnsiString(1, S[CheckedCharIndex(S, ParamAt(0)->Value)]));
  }
  int Dims = Variants::VarArrayDimCount(A);
  if (Dims < 1 || Dims > 3) {
    if (!A.IsArray() && IsObjectValue(A)) return fs_ilate::IndexObject(ProgramScript, A, GivenIndexes(this), nullptr);
    return Variant::Null();
  }
  return Variants::VarArrayGet(A, ArrayIndexes(this, Dims));
}

void TfsArrayHelper::SetValue(const Variant& AValue)
{
  Variant& A = IndexedValue(this);
  if (!A.IsArray() && Variants::VarIsStr(A)) {
    AnsiString S = Variants::VarToStr(A);
    std::size_t I = CheckedCharIndex(S, ParamAt(0)->Value);
    AnsiString C = Variants::VarToStr(AValue);
    if (C.empty()) throw EConvertError("A character is required");
    S[I] = C[0];
    if (ParentRef) ParentRef->SetValue(Variant(S));
    return;
  }
  int Dims = Variants::VarArrayDimCount(A);
  if (Dims < 1 || Dims > 3) {
    // A host object held in a Variant: its default property.
    if (!A.IsArray() && IsObjectValue(A)) fs_ilate::IndexObject(ProgramScript, A, GivenIndexes(this), &AValue);
    return;
  }
  Variants::VarArrayPut(A, AValue, ArrayIndexes(this, Dims));
}

TfsMethodHelper::TfsMethodHelper(const AnsiString& ASyntax, TfsScript* Script, TfsMethodCallback ACallBack)
    : TfsCustomHelper("", ikInteger, ""), CallBack(std::move(ACallBack)), Syntax(ASyntax)
{
  std::unique_ptr<TfsCustomVariable> D(fs_itypes::ParseDeclaration(ASyntax, Script));
  Name = D->Name;
  Kind = D->Kind;
  TypeName = D->TypeName;
  IsMacro = D->IsMacro;
  while (D->GetCount() > 0) {
    TObject* P = D->EntryAt(0);
    D->Remove(P);
    Add(P);
  }
  IsReadOnly = true;
}

TObject* TfsMethodHelper::Target(const void*& Class)
{
  Class = ClassRef;
  if (Kind == ikConstructor && ParentValue.IsNull()) {
    // Class.Create: the class named in the program is the one to make.
    if (auto* C = dynamic_cast<TfsClassVariable*>(ParentRef)) Class = C->ClassRef;
    return nullptr;
  }
  if (OwnerClass) return OwnerClass->InstanceOf(ParentValue);
  return ParentValue.IsNull() ? nullptr : fs_ihandles::ObjectOf(ParentValue);
}

Variant TfsMethodHelper::GetValue()
{
  if (!CallBack) return Variant(0);
  std::vector<Variant> Values;
  Integer N = GetCount();
  Values.reserve(static_cast<std::size_t>(N));
  for (Integer I = 0; I < N; ++I) Values.push_back(ParamAt(I)->Value);
  Variant Params = Variants::VarArrayOf(Values);
  AnsiString MethodName = SysUtils::AnsiUpperCase(IsIndexProp ? Name + ".Get" : Name);
  const void* Class;
  TObject* Instance = Target(Class);
  Variant Result = CallBack(Instance, Class, MethodName, Params);
  for (Integer I = 0; I < N; ++I)
    if (ParamAt(I)->IsVarParam) ParamAt(I)->Value = Variants::VarArrayGet(Params, {I});
  return Result;
}

void TfsMethodHelper::SetValue(const Variant& AValue)
{
  if (!IsIndexProp || !CallBack || IsReadOnly) return;
  std::vector<Variant> Values;
  Integer N = GetCount();
  Values.reserve(static_cast<std::size_t>(N) + 1);
  for (Integer I = 0; I < N; ++I) Values.push_back(ParamAt(I)->Value);
  Values.push_back(AValue);
  Variant Params = Variants::VarArrayOf(Values);
  const void* Class;
  TObject* Instance = Target(Class);
  CallBack(Instance, Class, SysUtils::AnsiUpperCase(Name + ".Set"), Params);
}

namespace fs_iitems {
void BudgetExhausted() { throw Exception(fs_iconst::SEvalTooLong); }

Variant StartValue(TfsItemKind Kind)
{
  switch (Kind) {
    case ikBoolean: return Variant(false);
    case ikChar:
    case ikString: return Variant(AnsiString());
    case ikInteger:
    case ikFloat:
    case ikClass: return Variant(0);
    default: return Variant::Null();
  }
}
}  // namespace fs_iitems
