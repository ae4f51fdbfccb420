// Script items: everything a script can name (variables, constants, types, parameters, script
// procedures, helpers, designators, expressions) and the values they hold. Reading and writing
// any item is always GetValue/SetValue; every value is a Variant copied by value.
#pragma once

#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

class TfsScript;
class TfsClassVariable;

PELTO_DECLARE_EXCEPTION(EStackOverflow, Exception);

enum TfsItemKind : Byte {
  ikInteger,
  ikBoolean,
  ikFloat,
  ikChar,
  ikString,
  ikClass,
  ikArray,
  ikVariant,
  ikEnum,
  ikConstructor
};

// An ordered list of owned entries; a null entry is allowed (a range gap of a set).
class TfsItemList : public TObject {
public:
  TfsItemList() = default;
  ~TfsItemList() override { Clear(); }
  TfsItemList(const TfsItemList&) = delete;
  TfsItemList& operator=(const TfsItemList&) = delete;

  virtual void Clear();
  // Takes ownership of Entry; returns its index.
  Integer Add(TObject* Entry);
  // Takes Entry out of the list without freeing it.
  void Remove(TObject* Entry);
  Integer GetCount() const { return static_cast<Integer>(FEntries.size()); }
  TObject* EntryAt(Integer Index) const { return FEntries[static_cast<std::size_t>(Index)]; }

protected:
  std::vector<TObject*> FEntries;
};

class TfsParamItem;

// Room for a Variant that an evaluation may or may not need: nothing is built or cleared until
// a value is put in (a std::optional would clear all its bytes on every node).
class TfsTempValue {
public:
  TfsTempValue() noexcept {}
  ~TfsTempValue()
  {
    if (FHas) std::destroy_at(Ptr());
  }
  TfsTempValue(const TfsTempValue&) = delete;
  TfsTempValue& operator=(const TfsTempValue&) = delete;
  template <class... TArgs>
  Variant& emplace(TArgs&&... Args)
  {
    if (FHas) {
      std::destroy_at(Ptr());
      FHas = false;
    }
    std::construct_at(Ptr(), std::forward<TArgs>(Args)...);
    FHas = true;
    return *Ptr();
  }
  bool has_value() const noexcept { return FHas; }
  Variant& operator*() noexcept { return *Ptr(); }
  Variant* operator->() noexcept { return Ptr(); }

private:
  Variant* Ptr() noexcept { return std::launder(reinterpret_cast<Variant*>(FBuf)); }
  alignas(Variant) unsigned char FBuf[sizeof(Variant)];
  bool FHas = false;
};

// What an item is, for the run-time paths that must not pay for dynamic_cast.
enum : Byte { icDesignator = 1, icProc = 2, icHelper = 4, icVariable = 8, icParam = 16, icStringVariable = 32 };

class TfsCustomVariable : public TfsItemList {
public:
  TfsCustomVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName);

  virtual void SetValue(const Variant& AValue);
  virtual Variant GetValue();

  // The parameter entries; a bad index raises EListError.
  TfsParamItem* ParamAt(Integer Index) const;
  Integer RequiredParamCount() const;
  Variant& ValueRef() { return Value; }
  // "Integer", "Boolean", "Extended", "Char", "String", "Class <type>", "Array", the enum's name, "Variant".
  AnsiString KindText() const;

  Byte ItemClass = 0;  // ic* flags, set by the constructors
  const void* Registrar = nullptr;
  bool IsMacro = false;
  bool IsReadOnly = false;
  AnsiString Name;
  bool NeedResult = true;
  TfsCustomVariable* RefItem = nullptr;
  AnsiString ItemPos;
  TfsItemKind Kind;
  AnsiString TypeName;
  Variant Value;
};

class TfsVariable : public TfsCustomVariable {
public:
  TfsVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName)
      : TfsCustomVariable(AName, AKind, ATypeName)
  {
    ItemClass |= icVariable;
  }
};

class TfsTypeVariable : public TfsCustomVariable {
public:
  using TfsCustomVariable::TfsCustomVariable;
};

// Keeps its text as a string so that one character can change in place.
class TfsStringVariable : public TfsVariable {
public:
  TfsStringVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName)
      : TfsVariable(AName, AKind, ATypeName)
  {
    ItemClass |= icStringVariable;
  }
  void SetValue(const Variant& AValue) override;
  Variant GetValue() override { return Variant(StrValue); }
  AnsiString StrValue;
};

class TfsParamItem : public TfsCustomVariable {
public:
  TfsParamItem(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName, bool AIsOptional,
               bool AIsVarParam);
  Variant DefValue;
  bool IsOptional;
  bool IsVarParam;
};

// A script procedure or function. Its local script holds the parameters (also its entries),
// "Result" and the locals; reading the item runs the body.
class TfsProcVariable : public TfsCustomVariable {
public:
  // Calls nested deeper than 1000 raise EStackOverflow "Stack overflow".
  TfsProcVariable(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName, TfsScript* AParent,
                  bool AIsFunction);
  ~TfsProcVariable() override;
  Variant GetValue() override { return Run(false); }
  // Runs the body and gives the result. With TakeResult the result is moved out of "Result",
  // for a caller that restores the locals afterwards (a recursive call).
  Variant Run(bool TakeResult)
  {
    RunBody();
    if (!IsFunction) return Variant::Null();
    // "Result" is a plain variable.
    return TakeResult ? std::move(RefItem->Value) : RefItem->Value;
  }
  // Runs the body; a function leaves its result in RefItem ("Result").
  void RunBody();
  // The same, for the call paths of the designators, which take it inline.
  inline void RunBodyInline();
  TfsScript* GetLocalScript() const { return LocalScript.get(); }
  // The variables and parameters of the local script, whose values a recursive call saves.
  const std::vector<TfsCustomVariable*>& GetLocals();

  bool Executing = false;
  bool IsFunction;
  // The locals of the activations a recursive call interrupted (see TfsActivation). The slots
  // stay constructed; the first SaveTop are in use.
  std::vector<Variant> SaveStack;
  std::size_t SaveTop = 0;

private:
  friend class TfsActivation;
  std::unique_ptr<TfsScript> LocalScript;
  std::vector<TfsCustomVariable*> FLocals;
  // FLocals split by how they keep their value: where each plain item keeps its Variant, and
  // the string variables. Both keep FLocals' order, so entries only ever arrive at the end.
  std::vector<Variant*> FPlainSlots;
  std::vector<TfsStringVariable*> FStringLocals;
  Integer FLocalsOf = -1;  // the item count FLocals was taken at
};

// A set constructor: element expressions; a range a..b is stored as a, a null entry, b.
class TfsSetExpression : public TfsCustomVariable {
public:
  TfsSetExpression() : TfsCustomVariable("", ikVariant, "") {}
  Variant GetValue() override;
  bool Contains(const Variant& AValue);
};

// The base of members and built-in helpers; the designator walk fills the parent fields.
class TfsCustomHelper : public TfsCustomVariable {
public:
  TfsCustomHelper(const AnsiString& AName, TfsItemKind AKind, const AnsiString& ATypeName)
      : TfsCustomVariable(AName, AKind, ATypeName)
  {
    ItemClass |= icHelper;
  }
  TfsCustomVariable* ParentRef = nullptr;
  Variant ParentValue;
  TfsScript* ProgramScript = nullptr;
};

// s[i] where s is not a plain string variable. Indexes outside the text raise ERangeError.
class TfsStringHelper : public TfsCustomHelper {
public:
  TfsStringHelper();
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;
};

// Elements of the Variant array held by ParentRef, read and written in place. Indexes are
// checked (EVariantBadIndexError).
class TfsArrayHelper : public TfsCustomHelper {
public:
  // ParamCount -1: one required and two optional indexes.
  TfsArrayHelper(const AnsiString& AName, Integer ParamCount, TfsItemKind AKind, const AnsiString& ATypeName);
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;
};

// (Instance, ClassType, upper-case name, Params array) -> result. Params elements of var
// parameters are written back.
using TfsMethodCallback =
    std::function<Variant(TObject* Instance, const void* ClassType, const AnsiString& MethodName, Variant& Params)>;

// A registered host function, made from its declaration text.
class TfsMethodHelper : public TfsCustomHelper {
public:
  // Raises what the declaration reader raises for a bad text.
  TfsMethodHelper(const AnsiString& ASyntax, TfsScript* Script, TfsMethodCallback ACallBack);
  Variant GetValue() override;
  // An indexed property: calls "<NAME>.SET" with the indexes and then the value. Else nothing.
  void SetValue(const Variant& AValue) override;

  AnsiString Category;
  // The class item of a member (null for a global function); the instance is checked against it.
  TfsClassVariable* OwnerClass = nullptr;
  const void* ClassRef = nullptr;
  AnsiString Description;
  bool IsIndexProp = false;
  TfsMethodCallback CallBack;
  AnsiString Syntax;

private:
  // The checked object of the previous step and the class to hand the callback.
  TObject* Target(const void*& Class);
};

namespace fs_iitems {
// Loop rounds and script calls left to code that the compiler runs (constants, bounds,
// defaults); -1 while no such evaluation is in progress. A program whose compile-time code
// does not end must end in a compile error, not hang the compiler.
inline Int64 EvalBudget = -1;
// Raises the compile-time evaluation error; the budget stays empty, so a script's except
// part cannot swallow it for good.
[[noreturn]] void BudgetExhausted();
// One loop round or call; cheap while no compile-time evaluation runs.
inline void CountStep()
{
  if (EvalBudget >= 0) {
    if (EvalBudget == 0) BudgetExhausted();
    --EvalBudget;
  }
}
// The starting value of a new variable of Kind.
Variant StartValue(TfsItemKind Kind);
// Dst takes Src's value: what a move assignment does without its temporary Variant. Src must
// not live inside Dst (an element of an array held by Dst).
inline void MoveInto(Variant& Dst, Variant&& Src) noexcept
{
  std::destroy_at(&Dst);
  std::construct_at(&Dst, std::move(Src));
}
inline void IntInto(Variant& Dst, Integer Src) noexcept
{
  std::destroy_at(&Dst);
  std::construct_at(&Dst, Src);
}
}  // namespace fs_iitems
