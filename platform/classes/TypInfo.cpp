#include "platform/classes/TypInfo.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "platform/classes/ClassDecl.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

namespace {

// Identifiers are ASCII; names compare ignoring ASCII case.
bool SameName(const AnsiString& a, const AnsiString& b) { return SysUtils::SameText(a, b); }
bool LessName(const AnsiString& a, const AnsiString& b) { return SysUtils::CompareText(a, b) < 0; }
AnsiString TrimBlanks(const AnsiString& s) { return SysUtils::Trim(s); }

[[noreturn]] void InvalidValue() { throw EPropertyError("Invalid property value"); }

bool IsOrdinalKind(TTypeKind k)
{
  return k == tkInteger || k == tkChar || k == tkWChar || k == tkEnumeration || k == tkSet || k == tkInt64;
}

void GetRaw(const TObject* obj, const TPropInfo* p, void* out)
{
  if (!p->Getter) throw EPropWriteOnly("Property " + p->Name + " is write-only");
  p->Getter(obj, out);
}

void SetRaw(TObject* obj, const TPropInfo* p, const void* in)
{
  if (!p->Setter) throw EPropReadOnly("Property " + p->Name + " is read-only");
  p->Setter(obj, in);
}

}  // namespace

TMetaClass::TMetaClass(const AnsiString& AName, TClass AParent, TFactory AFactory)
    : FName(AName), FParent(AParent), FFactory(AFactory)
{
  FTypeInfo.Kind = tkClass;
  FTypeInfo.Name = AName;
  FTypeInfo.ClassType = this;
  if (FParent) FProps = FParent->FProps;
}

bool TMetaClass::InheritsFrom(TClass AClass) const
{
  for (TClass c = this; c; c = c->FParent)
    if (c == AClass) return true;
  return false;
}

const TPropInfo* TMetaClass::FindProperty(const AnsiString& AName) const
{
  for (const TPropInfo* p : FProps)
    if (SameName(p->Name, AName)) return p;
  return nullptr;
}

TObject* TMetaClass::Create(TObject* Arg) const
{
  if (!FFactory) throw EInvalidOperation("Cannot create an instance of the abstract class " + FName);
  return FFactory(Arg);
}

TPropInfo* TMetaClass::AddProperty(std::unique_ptr<TPropInfo> Prop)
{
  TPropInfo* raw = Prop.get();
  FOwnProps.push_back(std::move(Prop));
  for (auto& slot : FProps)
    if (SameName(slot->Name, raw->Name)) {
      slot = raw;
      return raw;
    }
  FProps.push_back(raw);
  return raw;
}

namespace TypInfo {

TClass ObjectClass()
{
  static const TClass meta = new TMetaClass("TObject", nullptr, [](TObject*) { return new TObject(); });
  return meta;
}

TClass ClassTypeOf(const TObject* Obj)
{
  if (!Obj) return nullptr;
  TClass c = Obj->ClassType();
  return c ? c : ObjectClass();
}

const TTypeInfo* MakeOrdinalType(const char* Name, TTypeKind Kind, TOrdType Ord, Int64 Min, Int64 Max)
{
  auto* t = new TTypeInfo;  // type records live for the run
  t->Kind = Kind;
  t->Name = Name;
  t->OrdType = Ord;
  t->MinValue = Min;
  t->MaxValue = Max;
  return t;
}

const TTypeInfo* MakeEnumType(const char* Name, const char* Names)
{
  auto* t = new TTypeInfo;
  t->Kind = tkEnumeration;
  t->Name = Name;
  t->OrdType = otUByte;
  AnsiString all = Names, piece;
  for (size_t i = 0; i <= all.size(); ++i) {
    if (i == all.size() || all[i] == ',') {
      AnsiString name = TrimBlanks(piece);
      if (!name.empty()) t->EnumNames.push_back(name);
      piece.clear();
    } else {
      piece += all[i];
    }
  }
  t->MinValue = 0;
  t->MaxValue = static_cast<Int64>(t->EnumNames.size()) - 1;
  if (t->EnumNames.size() > 256) t->OrdType = otUWord;
  return t;
}

const TTypeInfo* MakeSetType(const char* Name, const TTypeInfo* ElementType)
{
  auto* t = new TTypeInfo;
  t->Kind = tkSet;
  t->Name = Name;
  t->CompType = ElementType;
  return t;
}

const TTypeInfo* MakeFloatType(const char* Name, TFloatType Float)
{
  auto* t = new TTypeInfo;
  t->Kind = tkFloat;
  t->Name = Name;
  t->FloatType = Float;
  return t;
}

const TTypeInfo* MakeSimpleType(const char* Name, TTypeKind Kind)
{
  auto* t = new TTypeInfo;
  t->Kind = Kind;
  t->Name = Name;
  return t;
}

const TTypeInfo* MakeAliasType(const char* Name, const TTypeInfo* Base)
{
  auto* t = new TTypeInfo(*Base);
  t->Name = Name;
  t->BaseType = Base;
  return t;
}

AnsiString GetEnumName(const TTypeInfo* Type, Int64 Value)
{
  if (!Type || Value < 0 || Value >= static_cast<Int64>(Type->EnumNames.size())) return AnsiString();
  return Type->EnumNames[static_cast<size_t>(Value)];
}

Int64 GetEnumValue(const TTypeInfo* Type, const AnsiString& Name)
{
  if (!Type) return -1;
  for (size_t i = 0; i < Type->EnumNames.size(); ++i)
    if (SameName(Type->EnumNames[i], Name)) return static_cast<Int64>(i);
  return -1;
}

AnsiString SetToString(const TTypeInfo* SetType, Int64 Mask, bool Brackets)
{
  AnsiString out;
  const TTypeInfo* elem = SetType ? SetType->CompType : nullptr;
  if (elem)
    for (size_t i = 0; i < elem->EnumNames.size() && i < 64; ++i)
      if (static_cast<std::uint64_t>(Mask) & (std::uint64_t(1) << i)) {
        if (!out.empty()) out += ',';
        out += elem->EnumNames[i];
      }
  return Brackets ? "[" + out + "]" : out;
}

Int64 StringToSet(const TTypeInfo* SetType, const AnsiString& Value)
{
  AnsiString s = TrimBlanks(Value);
  if (!s.empty() && s.front() == '[') s.erase(0, 1);
  if (!s.empty() && s.back() == ']') s.pop_back();
  std::uint64_t mask = 0;
  AnsiString piece;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == ',') {
      AnsiString name = TrimBlanks(piece);
      piece.clear();
      if (name.empty()) continue;
      Int64 v = GetEnumValue(SetType ? SetType->CompType : nullptr, name);
      if (v < 0 || v >= 64) throw EPropertyError("Invalid property element: " + name);
      mask |= std::uint64_t(1) << v;
    } else {
      piece += s[i];
    }
  }
  return static_cast<Int64>(mask);
}

const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& PropName)
{
  const TPropInfo* p = AClass ? AClass->FindProperty(PropName) : nullptr;
  if (!p) throw EPropertyError("Property " + PropName + " does not exist");
  return p;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName)
{
  return GetPropInfo(ClassTypeOf(Instance), PropName);
}

const TPropInfo* FindPropInfo(const TObject* Instance, const AnsiString& PropName)
{
  TClass c = ClassTypeOf(Instance);
  return c ? c->FindProperty(PropName) : nullptr;
}

bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName)
{
  return FindPropInfo(Instance, PropName) != nullptr;
}

std::vector<const TPropInfo*> GetPropList(TClass AClass, std::initializer_list<TTypeKind> Kinds, bool Sorted)
{
  std::vector<const TPropInfo*> out;
  if (!AClass) return out;
  for (const TPropInfo* p : AClass->Properties())
    if (Kinds.size() == 0 || std::find(Kinds.begin(), Kinds.end(), p->PropType->Kind) != Kinds.end()) out.push_back(p);
  if (Sorted)
    std::stable_sort(out.begin(), out.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return LessName(a->Name, b->Name); });
  return out;
}

bool IsStoredProp(const TObject* Instance, const TPropInfo* Prop)
{
  return Prop->StoredProc ? Prop->StoredProc(Instance) : Prop->StoredFlag;
}

bool IsDefaultPropValue(const TObject* Instance, const TPropInfo* Prop)
{
  switch (Prop->PropType->Kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64: return Prop->HasDefault && GetOrdProp(Instance, Prop) == Prop->Default;
    case tkFloat: return GetFloatProp(Instance, Prop) == 0;
    case tkString:
    case tkLString: return GetStrProp(Instance, Prop).empty();
    case tkWString: return GetWideStrProp(Instance, Prop).empty();
    case tkMethod: return !GetMethodProp(Instance, Prop).has_value();
    default: return false;
  }
}

Int64 GetOrdProp(const TObject* Instance, const TPropInfo* Prop)
{
  TTypeKind k = Prop->PropType->Kind;
  if (k == tkClass) return static_cast<Int64>(reinterpret_cast<std::intptr_t>(GetObjectProp(Instance, Prop)));
  if (!IsOrdinalKind(k)) InvalidValue();
  Int64 v = 0;
  GetRaw(Instance, Prop, &v);
  return v;
}

void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value)
{
  TTypeKind k = Prop->PropType->Kind;
  if (k == tkClass) {
    SetObjectProp(Instance, Prop, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Value)));
    return;
  }
  if (!IsOrdinalKind(k)) InvalidValue();
  SetRaw(Instance, Prop, &Value);
}

Extended GetFloatProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkFloat) InvalidValue();
  Extended v = 0;
  GetRaw(Instance, Prop, &v);
  return v;
}

void SetFloatProp(TObject* Instance, const TPropInfo* Prop, Extended Value)
{
  if (Prop->PropType->Kind != tkFloat) InvalidValue();
  SetRaw(Instance, Prop, &Value);
}

AnsiString GetStrProp(const TObject* Instance, const TPropInfo* Prop)
{
  switch (Prop->PropType->Kind) {
    case tkString:
    case tkLString: {
      AnsiString v;
      GetRaw(Instance, Prop, &v);
      return v;
    }
    case tkWString: return System::WideToAnsi(GetWideStrProp(Instance, Prop));
    case tkChar: return AnsiString(1, static_cast<char>(GetOrdProp(Instance, Prop)));
    case tkWChar: return System::WideToAnsi(WideString(1, static_cast<WideChar>(GetOrdProp(Instance, Prop))));
    default: InvalidValue();
  }
}

void SetStrProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value)
{
  switch (Prop->PropType->Kind) {
    case tkString:
    case tkLString: SetRaw(Instance, Prop, &Value); return;
    case tkWString: SetWideStrProp(Instance, Prop, System::AnsiToWide(Value)); return;
    case tkChar: SetOrdProp(Instance, Prop, Value.empty() ? 0 : static_cast<unsigned char>(Value[0])); return;
    case tkWChar: {
      WideString w = System::AnsiToWide(Value);
      SetOrdProp(Instance, Prop, w.empty() ? 0 : w[0]);
      return;
    }
    default: InvalidValue();
  }
}

WideString GetWideStrProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkWString) return System::AnsiToWide(GetStrProp(Instance, Prop));
  WideString v;
  GetRaw(Instance, Prop, &v);
  return v;
}

void SetWideStrProp(TObject* Instance, const TPropInfo* Prop, const WideString& Value)
{
  if (Prop->PropType->Kind != tkWString) {
    SetStrProp(Instance, Prop, System::WideToAnsi(Value));
    return;
  }
  SetRaw(Instance, Prop, &Value);
}

TObject* GetObjectProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkClass) InvalidValue();
  TObject* v = nullptr;
  GetRaw(Instance, Prop, &v);
  return v;
}

void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value)
{
  if (Prop->PropType->Kind != tkClass) InvalidValue();
  SetRaw(Instance, Prop, &Value);
}

std::any GetMethodProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkMethod) InvalidValue();
  std::any v;
  GetRaw(Instance, Prop, &v);
  return v;
}

void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const std::any& Value)
{
  if (Prop->PropType->Kind != tkMethod) InvalidValue();
  SetRaw(Instance, Prop, &Value);
}

AnsiString GetEnumProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkEnumeration) InvalidValue();
  return GetEnumName(Prop->PropType, GetOrdProp(Instance, Prop));
}

void SetEnumProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value)
{
  if (Prop->PropType->Kind != tkEnumeration) InvalidValue();
  Int64 v = GetEnumValue(Prop->PropType, Value);
  if (v < 0) throw EPropertyError("Invalid property element: " + Value);
  SetOrdProp(Instance, Prop, v);
}

AnsiString GetSetProp(const TObject* Instance, const TPropInfo* Prop, bool Brackets)
{
  if (Prop->PropType->Kind != tkSet) InvalidValue();
  return SetToString(Prop->PropType, GetOrdProp(Instance, Prop), Brackets);
}

void SetSetProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value)
{
  if (Prop->PropType->Kind != tkSet) InvalidValue();
  SetOrdProp(Instance, Prop, StringToSet(Prop->PropType, Value));
}

Int64 GetOrdProp(const TObject* Instance, const AnsiString& PropName)
{
  return GetOrdProp(Instance, GetPropInfo(Instance, PropName));
}
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Int64 Value)
{
  SetOrdProp(Instance, GetPropInfo(Instance, PropName), Value);
}
Extended GetFloatProp(const TObject* Instance, const AnsiString& PropName)
{
  return GetFloatProp(Instance, GetPropInfo(Instance, PropName));
}
void SetFloatProp(TObject* Instance, const AnsiString& PropName, Extended Value)
{
  SetFloatProp(Instance, GetPropInfo(Instance, PropName), Value);
}
AnsiString GetStrProp(const TObject* Instance, const AnsiString& PropName)
{
  return GetStrProp(Instance, GetPropInfo(Instance, PropName));
}
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value)
{
  SetStrProp(Instance, GetPropInfo(Instance, PropName), Value);
}
TObject* GetObjectProp(const TObject* Instance, const AnsiString& PropName)
{
  return GetObjectProp(Instance, GetPropInfo(Instance, PropName));
}
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value)
{
  SetObjectProp(Instance, GetPropInfo(Instance, PropName), Value);
}
AnsiString GetEnumProp(const TObject* Instance, const AnsiString& PropName)
{
  return GetEnumProp(Instance, GetPropInfo(Instance, PropName));
}
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value)
{
  SetEnumProp(Instance, GetPropInfo(Instance, PropName), Value);
}

}  // namespace TypInfo

// Built-in type records.
#define PELTO_ORD_TYPE(T, Name, Kind, Ord)                                                                       \
  const TTypeInfo* TypeInfoFor(T*)                                                                               \
  {                                                                                                              \
    static const TTypeInfo* t =                                                                                  \
        TypInfo::MakeOrdinalType(Name, Kind, Ord, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()); \
    return t;                                                                                                    \
  }
PELTO_ORD_TYPE(char, "Char", tkChar, otUByte)
PELTO_ORD_TYPE(WideChar, "WideChar", tkWChar, otUWord)
PELTO_ORD_TYPE(ShortInt, "ShortInt", tkInteger, otSByte)
PELTO_ORD_TYPE(Byte, "Byte", tkInteger, otUByte)
PELTO_ORD_TYPE(SmallInt, "SmallInt", tkInteger, otSWord)
PELTO_ORD_TYPE(Word, "Word", tkInteger, otUWord)
PELTO_ORD_TYPE(Integer, "Integer", tkInteger, otSLong)
PELTO_ORD_TYPE(Cardinal, "Cardinal", tkInteger, otULong)
PELTO_ORD_TYPE(Int64, "Int64", tkInt64, otSLong)
#undef PELTO_ORD_TYPE

const TTypeInfo* TypeInfoFor(bool*)
{
  static const TTypeInfo* t = TypInfo::MakeEnumType("Boolean", "False,True");
  return t;
}

const TTypeInfo* TypeInfoFor(float*)
{
  static const TTypeInfo* t = TypInfo::MakeFloatType("Single", ftSingle);
  return t;
}
const TTypeInfo* TypeInfoFor(double*)
{
  static const TTypeInfo* t = TypInfo::MakeFloatType("Double", ftDouble);
  return t;
}
const TTypeInfo* TypeInfoFor(long double*)
{
  static const TTypeInfo* t = TypInfo::MakeFloatType("Extended", ftExtended);
  return t;
}
const TTypeInfo* TypeInfoFor(TDateTime*)
{
  static const TTypeInfo* t = TypInfo::MakeFloatType("TDateTime", ftDouble);
  return t;
}
const TTypeInfo* TypeInfoFor(Currency*)
{
  static const TTypeInfo* t = TypInfo::MakeFloatType("Currency", ftCurr);
  return t;
}
const TTypeInfo* TypeInfoFor(AnsiString*)
{
  static const TTypeInfo* t = TypInfo::MakeSimpleType("AnsiString", tkLString);
  return t;
}
const TTypeInfo* TypeInfoFor(WideString*)
{
  static const TTypeInfo* t = TypInfo::MakeSimpleType("WideString", tkWString);
  return t;
}
const TTypeInfo* TypeInfoFor(Variant*)
{
  static const TTypeInfo* t = TypInfo::MakeSimpleType("Variant", tkVariant);
  return t;
}

const TTypeInfo* TypeInfoFor(TStrings**) { return TypInfo::ExternalClass<TStrings, TObject>("TStrings")->ClassInfo(); }
const TTypeInfo* TypeInfoFor(TStringList**)
{
  return TypInfo::ExternalClass<TStringList, TStrings>("TStringList")->ClassInfo();
}
