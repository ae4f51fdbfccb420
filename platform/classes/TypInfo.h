// Run-time type information: class references (TMetaClass), type records (TTypeInfo) and
// published properties (TPropInfo), with typed get and set by property.
//
// A class takes part by declaring itself with PELTO_CLASS (ClassDecl.h); its published
// properties are listed, ancestors' first, in declaration order. Type records and class
// references are built on first use and live for the whole run (never freed, never copied):
// pointer identity is type identity. Nothing is built by static constructors.
//
// Errors: reading or writing a property by a name the class does not publish raises
// EPropertyError "Property %s does not exist"; writing a read-only property raises
// EPropReadOnly; a value of the wrong kind raises EPropertyError "Invalid property value".
#pragma once

#include <any>
#include <atomic>
#include <memory>
#include <functional>
#include <vector>

#include "platform/classes/Sets.h"
#include "platform/rtl/System.h"

using Extended = long double;
class TMetaClass;
using TClass = const TMetaClass*;
class Variant;

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};
enum TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// The type record of a property's type. An alias type ("TColor" over Integer, "TFontName" over
// AnsiString) is a record of its own with its own name and the base's kind and details.
struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  AnsiString Name;
  TOrdType OrdType = otSLong;  // integer, char and enumeration kinds
  Int64 MinValue = 0;
  Int64 MaxValue = 0;
  std::vector<AnsiString> EnumNames;    // enumeration: element names by ordinal
  const TTypeInfo* CompType = nullptr;  // set: the element type
  TFloatType FloatType = ftDouble;      // float kind
  TClass ClassType = nullptr;           // class kind: the declared class
  const TTypeInfo* BaseType = nullptr;  // alias: the type it renames
};

// One published property. The getter and setter move the value through a carrier of the
// property's kind: Int64 (integer, char, enumeration, set as bit mask, Int64), Extended
// (float), AnsiString, WideString, Variant, TObject* (class) or std::any holding the event
// type's std::function (method).
struct TPropInfo {
  const TTypeInfo* PropType = nullptr;
  AnsiString Name;
  TClass DeclaringClass = nullptr;
  bool HasDefault = false;  // ordinal kinds: Default is declared
  Int64 Default = 0;
  bool StoredFlag = true;  // used when StoredProc is empty
  std::function<bool(const TObject*)> StoredProc;
  std::function<void(const TObject*, void*)> Getter;
  std::function<void(TObject*, const void*)> Setter;  // empty: read-only

  bool IsReadOnly() const { return !Setter; }
};

// A class reference. Created once per class by PELTO_CLASS's StaticClass (or ExternalClass for
// classes of lower layers) and never freed.
class TMetaClass {
public:
  using TFactory = TObject* (*)(TObject* Arg);

  TMetaClass(const AnsiString& AName, TClass AParent, TFactory AFactory);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;

  const AnsiString& ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  bool InheritsFrom(TClass AClass) const;
  // The type record of kind tkClass naming this class.
  const TTypeInfo* ClassInfo() const { return &FTypeInfo; }

  // Published properties, ancestors' first, in declaration order; a redeclared property keeps
  // its ancestor's place.
  const std::vector<const TPropInfo*>& Properties() const { return FProps; }
  // nullptr when the class publishes no property of that name (compared ignoring ASCII case).
  const TPropInfo* FindProperty(const AnsiString& AName) const;

  // Virtual construction. Arg is the constructor's one argument where the class takes one
  // (the owner of a component, the collection of a collection item) and is ignored otherwise.
  // The caller owns the result unless the constructor gave it an owner. Raises
  // EInvalidOperation for a class that cannot be created from its reference (abstract).
  TObject* Create(TObject* Arg = nullptr) const;
  bool CanCreate() const { return FFactory != nullptr; }

  // Used by the publisher while the class is built.
  TPropInfo* AddProperty(std::unique_ptr<TPropInfo> Prop);

private:
  AnsiString FName;
  TClass FParent;
  TFactory FFactory;
  TTypeInfo FTypeInfo;
  std::vector<const TPropInfo*> FProps;
  std::vector<std::unique_ptr<TPropInfo>> FOwnProps;
};

namespace TypInfo {

// The class reference of TObject, root of every class reference.
TClass ObjectClass();
// The class reference of Obj: its own when its class is declared with PELTO_CLASS, else
// TObject's. Obj may be nullptr (answers nullptr).
TClass ClassTypeOf(const TObject* Obj);

// Builders of type records (used by the macros of ClassDecl.h; each call makes a new record).
const TTypeInfo* MakeOrdinalType(const char* Name, TTypeKind Kind, TOrdType Ord, Int64 Min, Int64 Max);
// Names is the comma-separated element list as written in the enumeration.
const TTypeInfo* MakeEnumType(const char* Name, const char* Names);
const TTypeInfo* MakeSetType(const char* Name, const TTypeInfo* ElementType);
const TTypeInfo* MakeFloatType(const char* Name, TFloatType Float);
const TTypeInfo* MakeSimpleType(const char* Name, TTypeKind Kind);
const TTypeInfo* MakeAliasType(const char* Name, const TTypeInfo* Base);

// Enumeration element names. GetEnumName answers "" for an ordinal out of range; GetEnumValue
// answers -1 for an unknown name (compared ignoring ASCII case).
AnsiString GetEnumName(const TTypeInfo* Type, Int64 Value);
Int64 GetEnumValue(const TTypeInfo* Type, const AnsiString& Name);
// Sets as element names: "a,b" ("[a,b]" with Brackets). StringToSet accepts the names with or
// without brackets and blanks around them; an unknown name raises EPropertyError
// "Invalid property element: %s".
AnsiString SetToString(const TTypeInfo* SetType, Int64 Mask, bool Brackets = false);
Int64 StringToSet(const TTypeInfo* SetType, const AnsiString& Value);

// Property lookup. The name forms raise EPropertyError "Property %s does not exist".
const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName);
const TPropInfo* FindPropInfo(const TObject* Instance, const AnsiString& PropName);  // nullptr when missing
bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName);
// The class's published properties of the given kinds (all when Kinds is empty), in
// declaration order or, with Sorted, by name ignoring ASCII case.
std::vector<const TPropInfo*> GetPropList(TClass AClass, std::initializer_list<TTypeKind> Kinds = {},
                                          bool Sorted = false);

// Whether the property is to be stored for Instance (its stored rule).
bool IsStoredProp(const TObject* Instance, const TPropInfo* Prop);
// Whether the property holds its default: ordinal kinds equal to a declared default, floats
// 0, strings empty, class properties none. Classes and variants never count as default here.
bool IsDefaultPropValue(const TObject* Instance, const TPropInfo* Prop);

// Typed access. Ordinal kinds (integer, char, wide char, enumeration, set, Int64) go through
// Int64; class properties also answer their object through GetOrdProp's sibling
// GetObjectProp. A property of another kind raises EPropertyError "Invalid property value".
Int64 GetOrdProp(const TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value);
Extended GetFloatProp(const TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, Extended Value);
// Strings: both 8-bit and wide string properties, converted as needed; a char property as its
// one character.
AnsiString GetStrProp(const TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value);
WideString GetWideStrProp(const TObject* Instance, const TPropInfo* Prop);
void SetWideStrProp(TObject* Instance, const TPropInfo* Prop, const WideString& Value);
// The object held (not owned by the caller). SetObjectProp raises EInvalidCast when Value is
// not of the property's class.
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* Prop);
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value);
// Event properties: the std::function of the event type inside a std::any; an empty any
// clears the event.
std::any GetMethodProp(const TObject* Instance, const TPropInfo* Prop);
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const std::any& Value);
// Variant properties (Variants.h holds the type).
Variant GetVariantProp(const TObject* Instance, const TPropInfo* Prop);
void SetVariantProp(TObject* Instance, const TPropInfo* Prop, const Variant& Value);
// Enumerations (Boolean included) and sets by element names.
AnsiString GetEnumProp(const TObject* Instance, const TPropInfo* Prop);
void SetEnumProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value);
AnsiString GetSetProp(const TObject* Instance, const TPropInfo* Prop, bool Brackets = false);
void SetSetProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value);

// By name.
Int64 GetOrdProp(const TObject* Instance, const AnsiString& PropName);
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Int64 Value);
Extended GetFloatProp(const TObject* Instance, const AnsiString& PropName);
void SetFloatProp(TObject* Instance, const AnsiString& PropName, Extended Value);
AnsiString GetStrProp(const TObject* Instance, const AnsiString& PropName);
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
TObject* GetObjectProp(const TObject* Instance, const AnsiString& PropName);
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value);
AnsiString GetEnumProp(const TObject* Instance, const AnsiString& PropName);
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);

}  // namespace TypInfo

// Type records of the built-in types, found by overload (TypInfo::TypeInfo<T>() below). Enums,
// sets and classes get theirs from the macros of ClassDecl.h.
const TTypeInfo* TypeInfoFor(bool*);
const TTypeInfo* TypeInfoFor(char*);
const TTypeInfo* TypeInfoFor(WideChar*);
const TTypeInfo* TypeInfoFor(ShortInt*);
const TTypeInfo* TypeInfoFor(Byte*);
const TTypeInfo* TypeInfoFor(SmallInt*);
const TTypeInfo* TypeInfoFor(Word*);
const TTypeInfo* TypeInfoFor(Integer*);
const TTypeInfo* TypeInfoFor(Cardinal*);
const TTypeInfo* TypeInfoFor(Int64*);
const TTypeInfo* TypeInfoFor(float*);
const TTypeInfo* TypeInfoFor(double*);
const TTypeInfo* TypeInfoFor(long double*);
const TTypeInfo* TypeInfoFor(TDateTime*);
const TTypeInfo* TypeInfoFor(Currency*);
const TTypeInfo* TypeInfoFor(AnsiString*);
const TTypeInfo* TypeInfoFor(WideString*);
const TTypeInfo* TypeInfoFor(Variant*);

// The string lists of the run-time library, which cannot declare themselves here.
class TStrings;
class TStringList;
const TTypeInfo* TypeInfoFor(TStrings**);
const TTypeInfo* TypeInfoFor(TStringList**);

namespace TypInfo {
// The class reference of T from the moment it is created, while its properties are published.
template <class T>
inline std::atomic<const TMetaClass*> ClassInBuilding{nullptr};
}  // namespace TypInfo

template <class T>
requires requires { T::StaticClass(); }
const TTypeInfo* TypeInfoFor(T**)
{
  if (const TMetaClass* building = TypInfo::ClassInBuilding<T>.load()) return building->ClassInfo();
  return T::StaticClass()->ClassInfo();
}

namespace TypInfo {
template <class T>
const TTypeInfo* TypeInfo()
{
  return TypeInfoFor(static_cast<T*>(nullptr));
}
}  // namespace TypInfo
