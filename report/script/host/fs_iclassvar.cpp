#include "report/script/host/fs_iclassvar.h"

#include <memory>

#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"
#include "report/script/host/fs_ievents.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tools/fs_itypes.h"

namespace {

// Item kind and type name of a published property's type.
void KindOfProp(const TTypeInfo* T, TfsItemKind& Kind, AnsiString& TypeName)
{
  TypeName.clear();
  switch (T->Kind) {
    case tkChar:
    case tkWChar: Kind = ikChar; break;
    case tkEnumeration:
      if (SysUtils::SameText(T->Name, "Boolean") || SysUtils::SameText(T->Name, "bool")) {
        Kind = ikBoolean;
        TypeName = "Boolean";
      } else {
        Kind = ikEnum;
        TypeName = T->Name;
      }
      break;
    case tkFloat: Kind = ikFloat; break;
    case tkString:
    case tkLString:
    case tkWString: Kind = ikString; break;
    case tkSet:
      Kind = ikEnum;
      TypeName = T->Name;
      break;
    case tkClass:
      Kind = ikClass;
      TypeName = T->ClassType ? T->ClassType->ClassName() : T->Name;
      break;
    case tkVariant: Kind = ikVariant; break;
    default: Kind = ikInteger;
  }
}

}  // namespace

TfsClassVariable::TfsClassVariable(TClass AClassRef, const AnsiString& AAncestorName, TfsScript* AOwnerScript,
                                   TfsInstanceCheck ACheck)
    : TfsCustomVariable(AClassRef->ClassName(), ikClass, AClassRef->ClassName()), AncestorName(AAncestorName),
      ClassRef(AClassRef), OwnerScript(AOwnerScript), Check(ACheck)
{
  for (const TPropInfo* P : TypInfo::GetPropList(ClassRef, {}, true)) {
    if (P->PropType->Kind == tkMethod) continue;
    TfsItemKind K;
    AnsiString T;
    KindOfProp(P->PropType, K, T);
    auto* H = new TfsPropertyHelper(P->Name, K, T);
    H->OwnerClass = this;
    H->IsPublished = true;
    H->IsReadOnly = P->IsReadOnly();
    Members.Add(H);
  }
  Add(new TfsParamItem("", ikVariant, "", true, false));
}

TfsMethodHelper* TfsClassVariable::AddMethod(const AnsiString& Syntax, TfsMethodCallback CallBack)
{
  auto M = std::make_unique<TfsMethodHelper>(Syntax, OwnerScript, std::move(CallBack));
  M->ClassRef = ClassRef;
  M->OwnerClass = this;
  Members.Add(M.get());
  return M.release();
}

TfsMethodHelper* TfsClassVariable::AddConstructor(const AnsiString& Syntax, TfsMethodCallback CallBack)
{
  std::size_t B = Syntax.find(' ');
  AnsiString Rest = B == AnsiString::npos ? AnsiString() : Syntax.substr(B);
  return AddMethod("function" + Rest + ": Constructor", std::move(CallBack));
}

TfsCustomHelper* TfsClassVariable::AddProperty(const AnsiString& AName, const AnsiString& ATypeName,
                                               TfsPropGetCallback Getter, TfsPropSetCallback Setter)
{
  auto* H = new TfsPropertyHelper(AName, fs_itypes::KindOfType(ATypeName, OwnerScript), ATypeName);
  H->OwnerClass = this;
  H->Getter = std::move(Getter);
  H->Setter = std::move(Setter);
  H->IsReadOnly = !H->Setter;
  Members.Add(H);
  return H;
}

TfsMethodHelper* TfsClassVariable::AddIndexProperty(const AnsiString& AName, const AnsiString& IndexTypes,
                                                    const AnsiString& ResultType, TfsMethodCallback CallBack,
                                                    bool ReadOnly)
{
  AnsiString Params;
  Integer I = 0;
  std::size_t P = 0;
  while (P <= IndexTypes.size()) {
    std::size_t C = IndexTypes.find(',', P);
    if (C == AnsiString::npos) C = IndexTypes.size();
    if (I > 0) Params += "; ";
    Params += "p" + std::to_string(I) + ": " + SysUtils::Trim(IndexTypes.substr(P, C - P));
    ++I;
    P = C + 1;
  }
  TfsMethodHelper* M = AddMethod("function " + AName + "(" + Params + "): " + ResultType, std::move(CallBack));
  M->IsIndexProp = true;
  M->IsReadOnly = ReadOnly;
  return M;
}

TfsMethodHelper* TfsClassVariable::AddDefaultProperty(const AnsiString& AName, const AnsiString& IndexTypes,
                                                      const AnsiString& ResultType, TfsMethodCallback CallBack,
                                                      bool ReadOnly)
{
  TfsMethodHelper* M = AddIndexProperty(AName, IndexTypes, ResultType, std::move(CallBack), ReadOnly);
  DefaultProperty = M;
  return M;
}

TfsCustomHelper* TfsClassVariable::AddEvent(const AnsiString& AName, TfsEventFactory Factory)
{
  auto* H = new TfsEventHelper(AName, Factory);
  H->OwnerClass = this;
  Members.Add(H);
  return H;
}

TfsCustomVariable* TfsClassVariable::FindMember(const AnsiString& AName) const
{
  const TfsClassVariable* C = this;
  // The ancestor chain is registered by name; a broken or circular one ends the search.
  for (int Depth = 0; C && Depth < 64; ++Depth) {
    for (Integer I = 0; I < C->MemberCount(); ++I)
      if (SysUtils::SameText(C->MemberAt(I)->Name, AName)) return C->MemberAt(I);
    if (C->AncestorName.empty() || !C->OwnerScript) break;
    C = C->OwnerScript->FindClassItem(C->AncestorName);
  }
  return nullptr;
}

bool TfsClassVariable::Accepts(const TObject* Obj) const
{
  if (Check) return Check(Obj);
  TClass T = TypInfo::ClassTypeOf(Obj);
  return T && T->InheritsFrom(ClassRef);
}

TObject* TfsClassVariable::InstanceOf(const Variant& V) const
{
  TObject* Obj = fs_ihandles::LiveObjectOf(V);
  if (!Accepts(Obj)) throw EInvalidCast("Invalid class typecast: " + AnsiString(Obj->ClassName()) + " is no " + Name);
  return Obj;
}

Variant TfsClassVariable::GetValue()
{
  TfsParamItem* P = ParamAt(0);
  Variant V = std::move(P->Value);
  P->Value = Variant::Null();
  if (V.IsNull()) return V;
  // A cast: the object must be alive and of this class; nil stays nil.
  if (TObject* Obj = fs_ihandles::ObjectOf(V); Obj && !Accepts(Obj))
    throw EInvalidCast("Invalid class typecast: " + AnsiString(Obj->ClassName()) + " is no " + Name);
  return V;
}

TfsPropertyHelper::TfsPropertyHelper(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName)
    : TfsCustomHelper(AName, AKind, ATypeName)
{}

Variant TfsPropertyHelper::GetValue()
{
  TObject* Obj = OwnerClass->InstanceOf(ParentValue);
  Variant V = Variant::Null();
  if (IsPublished) {
    const TPropInfo* P = TypInfo::FindPropInfo(Obj, Name);
    if (!P) return V;
    switch (P->PropType->Kind) {
      case tkInteger:
      case tkEnumeration:
      case tkSet:
      case tkInt64: V = Variant(static_cast<long long>(TypInfo::GetOrdProp(Obj, P))); break;
      case tkClass: {
        // A component is watched by itself; any other object a property hands out (a font,
        // lines, a canvas) lives inside Obj and dies with it.
        TObject* Sub = TypInfo::GetObjectProp(Obj, P);
        V = dynamic_cast<TComponent*>(Sub) ? fs_ihandles::ToVariant(Sub) : fs_ihandles::ToVariantWithin(Sub, Obj);
        break;
      }
      case tkFloat: V = Variant(static_cast<double>(TypInfo::GetFloatProp(Obj, P))); break;
      case tkString:
      case tkLString:
      case tkWString:
      case tkChar:
      case tkWChar: V = Variant(TypInfo::GetStrProp(Obj, P)); break;
      case tkVariant: V = TypInfo::GetVariantProp(Obj, P); break;
      default: break;
    }
  } else if (Getter) {
    V = Getter(Obj, OwnerClass->ClassRef, SysUtils::AnsiUpperCase(Name));
  }
  if (Kind == ikBoolean && !V.IsNull()) V = Variant(V.AsInt64() != 0);
  return V;
}

void TfsPropertyHelper::SetValue(const Variant& AValue)
{
  if (IsReadOnly) return;
  TObject* Obj = OwnerClass->InstanceOf(ParentValue);
  if (IsPublished) {
    const TPropInfo* P = TypInfo::FindPropInfo(Obj, Name);
    if (!P) return;
    switch (P->PropType->Kind) {
      case tkInteger:
      case tkEnumeration:
      case tkSet:
      case tkInt64:
        TypInfo::SetOrdProp(Obj, P, Kind == ikBoolean ? (AValue.AsBoolean() ? 1 : 0) : AValue.AsInt64());
        break;
      case tkClass: TypInfo::SetObjectProp(Obj, P, fs_ihandles::ObjectOf(AValue)); break;
      case tkFloat: TypInfo::SetFloatProp(Obj, P, AValue.AsDouble()); break;
      case tkString:
      case tkLString:
      case tkWString: TypInfo::SetStrProp(Obj, P, Variants::VarToStr(AValue)); break;
      case tkChar:
      case tkWChar: {
        AnsiString S = Variants::VarToStr(AValue);
        TypInfo::SetOrdProp(Obj, P, S.empty() ? 0 : static_cast<unsigned char>(S[0]));
        break;
      }
      case tkVariant: TypInfo::SetVariantProp(Obj, P, AValue); break;
      default: break;
    }
  } else if (Setter) {
    Setter(Obj, OwnerClass->ClassRef, SysUtils::AnsiUpperCase(Name), AValue);
  }
}

TfsEventHelper::TfsEventHelper(const AnsiString& AName, TfsEventFactory AFactory)
    : TfsCustomHelper(AName, ikString, ""), Factory(AFactory)
{}

void TfsEventHelper::SetValue(const Variant& AValue)
{
  TObject* Obj = OwnerClass->InstanceOf(ParentValue);
  const TPropInfo* P = TypInfo::GetPropInfo(Obj, Name);
  TfsEventList* L = fs_ievents::GetEventList();
  AnsiString Text = Variants::VarToStr(AValue);
  if (Text == "0" || Text.empty()) {
    TypInfo::SetMethodProp(Obj, P, std::any());
    if (L) L->Unbind(Obj, Name);
    return;
  }
  TfsCustomVariable* Item = ProgramScript ? ProgramScript->FindItem(Text) : nullptr;
  if (!Item || !(Item->ItemClass & icProc)) throw Exception("Event handler must be a procedure");
  if (!L) throw Exception("Event handler must be a procedure");
  std::unique_ptr<TfsCustomEvent> A(Factory(Obj, static_cast<TfsProcVariable*>(Item)));
  A->EventName = Name;
  // The property takes the new handler first: a wrong event type leaves the old one bound.
  TypInfo::SetMethodProp(Obj, P, A->GetMethod(P ? P->PropType : nullptr));
  L->Bind(A.release());
}
