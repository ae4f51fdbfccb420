// Designators: the compiled access paths (a.b.c, f(x), s[i], a[i, j]). Reading walks the
// steps left to right, passing each step's value on; writing writes the last step. Calls,
// indexing and var-parameter write-back happen inside the walk.
#pragma once

#include "report/script/interp/fs_iitems.h"

class TfsDesignatorItem : public TfsItemList {
public:
  TfsCustomVariable* ArgAt(Integer Index) const { return static_cast<TfsCustomVariable*>(EntryAt(Index)); }
  bool IsIndexed = false;
  TfsCustomVariable* StepItem = nullptr;
  AnsiString StepPos;
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

  Byte ShortcutKind = 0;
  TfsScript* BuildScript;
  TfsCustomVariable* IndexItem = nullptr;
  TfsDesignatorItem* IndexList = nullptr;

protected:
  Variant Walk(bool Setting, const Variant& NewValue);

private:
  // Reading f(args) where f is a script procedure: the walk of one step without its general cases.
  Variant CallProc(TfsProcVariable* Proc, TfsDesignatorItem* Step);
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
