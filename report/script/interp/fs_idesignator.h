// Designators: the compiled access paths (a.b.c, f(x), s[i], a[i, j]). Reading walks the
// steps left to right, passing each step's value on; writing writes the last step. Calls,
// indexing and var-parameter write-back happen inside the walk.
#pragma once

#include <memory>
#include <vector>

#include "report/script/interp/fs_iitems.h"
#include "report/script/xml/fs_xml.h"

class TfsExpression;

class TfsDesignatorItem : public TfsItemList {
public:
  TfsCustomVariable* ArgAt(Integer Index) const { return static_cast<TfsCustomVariable*>(EntryAt(Index)); }
  // What a macro receives for argument Index: the source text of a written argument, the
  // declared default of one left out.
  Variant MacroArg(Integer Index) const
  {
    return Index < GivenArgs ? Variant(ArgAt(Index)->Name) : ArgAt(Index)->GetValue();
  }
  // The arguments written in the source; the entries after them are the defaults.
  Integer GivenArgs = 0x7fffffff;
  bool IsIndexed = false;
  TfsCustomVariable* StepItem = nullptr;
  AnsiString StepPos;
};

// What the first use of a designator on a Variant base needs to build it: the Variant is read
// then, and the members are bound to the class of the object it holds (or called by name on an
// automation object).
struct TfsDeferredBuild {
  std::unique_ptr<TfsXMLItem> Node;  // a copy of the designator's intermediate form
  AnsiString Language;
  std::shared_ptr<const AnsiString> Source;  // the text the positions refer to (macro arguments)
  AnsiString UnitName;
  std::vector<TfsCustomVariable*> WithList;  // the with variables in force, not owned
  int Form = 0;
};

class TfsDesignator : public TfsCustomVariable {
public:
  explicit TfsDesignator(TfsScript* Script);
  ~TfsDesignator() override;
  void Finalize();
  void TakeOver(TfsDesignator* Other);
  TfsDesignatorItem* StepAt(Integer Index) const { return static_cast<TfsDesignatorItem*>(EntryAt(Index)); }
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;
  // GetValue of a designator that is one call of a script procedure, built already.
  Variant CallSingleProc() { return CallProc(static_cast<TfsProcVariable*>(StepAt(0)->StepItem), StepAt(0)); }
  // The same as a plain integer when the result is one; else the result is put in Tmp and the
  // answer is false.
  bool CallSingleProcInt(Integer& Out, TfsTempValue& Tmp);

  Byte ShortcutKind = 0;
  TfsScript* BuildScript;
  TfsCustomVariable* IndexItem = nullptr;
  TfsDesignatorItem* IndexList = nullptr;
  // Set: the designator is built at its first GetValue or SetValue. A build that fails raises
  // the compile error and is tried again at the next use.
  std::unique_ptr<TfsDeferredBuild> DeferredIL;

protected:
  void BuildDeferred();
  bool FBuiltLate = false;
  Variant Walk(bool Setting, const Variant& NewValue);

private:
  // Reading f(args) where f is a script procedure: the walk of one step without its general cases.
  Variant CallProc(TfsProcVariable* Proc, TfsDesignatorItem* Step);
  // Sets Proc's parameters from Step's arguments; gives the argument count.
  Integer PassArgs(TfsProcVariable* Proc, TfsDesignatorItem* Step);
  // A call of one step with one argument for a plain value parameter, the common case: the
  // argument expression and where the parameter keeps its value, found at the first call.
  enum : Byte { cfUnknown, cfOneValue, cfGeneral };
  Byte FCallForm = cfUnknown;
  TfsExpression* FOneArg = nullptr;
  Variant* FOneParam = nullptr;
};

class TfsVariableDesignator : public TfsDesignator {
public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override { return RefItem->GetValue(); }
  void SetValue(const Variant& AValue) override { RefItem->SetValue(AValue); }
};

// One character of a string variable; an index outside the text raises ERangeError.
class TfsStringDesignator : public TfsDesignator {
public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;
};

class TfsArrayDesignator : public TfsDesignator {
public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;

private:
  void PrepareHelper();
};
