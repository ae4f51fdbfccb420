// A member of a Variant whose content is known only at run time: an automation object is
// called by name (fs_idisp), a host object's member is looked up in the class item of the
// object's class. The empty name stands for an index in brackets (the default property).
#pragma once

#include <typeindex>
#include <typeinfo>
#include <vector>

#include "report/script/interp/fs_iitems.h"

class TfsClassVariable;

class TfsLateHelper : public TfsCustomHelper {
public:
  explicit TfsLateHelper(const AnsiString& AName);
  Variant GetValue() override;
  void SetValue(const Variant& AValue) override;

private:
  // The member for the object in ParentValue, its parameters filled from ours. Indexes given to
  // a plain property (Report.Variables['x']) are meant for the default property of the object
  // it holds: then IndexesValue is set and the property is bound without them.
  TfsCustomVariable* Bind(bool& IndexesValue);
  std::vector<Variant> Indexes() const;
  void CopyBack(TfsCustomVariable* M);

  const std::type_info* FLastType = nullptr;
  TfsCustomVariable* FLastMember = nullptr;
};

namespace fs_ilate {
// The default property of the host object whose handle Obj holds, read with Indexes (or, with
// NewValue, written). Raises for a bad handle or a class without a default property.
Variant IndexObject(const TfsScript* Script, const Variant& Obj, const std::vector<Variant>& Indexes,
                    const Variant* NewValue);
// The most derived class item of Script (or its parents) that accepts Obj; null when none.
TfsClassVariable* FindClassOf(const TfsScript* Script, const TObject* Obj);
}  // namespace fs_ilate
