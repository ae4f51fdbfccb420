// The base of the data bindings that tie an edit control to a value source. The base binding
// has data, may be modified and stores nothing; a bound one overrides the value hooks.
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"

class TcxCustomDataBinding : public TPersistent {
public:
  // AOwner is answered by GetOwner; AOwner2 is the control the binding serves. Neither is owned.
  TcxCustomDataBinding(TPersistent* AOwner, TObject* AOwner2) : FOwner(AOwner), FOwner2(AOwner2) {}

  TPersistent* GetOwner() override { return FOwner; }
  TObject* GetOwner2() const { return FOwner2; }

  virtual void DoDataChange()
  {
    if (OnDataChange) OnDataChange(this);
  }
  virtual void DoDataSetChange()
  {
    if (OnDataSetChange) OnDataSetChange(this);
  }
  virtual void DoUpdateData()
  {
    if (OnUpdateData) OnUpdateData(this);
  }
  virtual bool ExecuteAction(TObject* AAction) { return false; }
  virtual bool UpdateAction(TObject* AAction) { return false; }
  // Null here: the base binding holds no value.
  virtual void GetStoredValue(int AEditValueSource, bool AFocused, Variant& AValue) { AValue = Variant::Null(); }
  virtual bool IsDataAvailable() { return true; }
  virtual void Reset() {}
  virtual bool CanModify() { return true; }
  // Ignored here.
  virtual void SetStoredValue(int AEditValueSource, const Variant& AValue) {}
  virtual void UpdateDataSource() {}

  // Sender is the binding.
  TNotifyEvent OnDataChange, OnDataSetChange, OnUpdateData;

private:
  TPersistent* FOwner;
  TObject* FOwner2;
};
