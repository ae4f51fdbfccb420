// A small owner for filter criteria: fields with ids, captions and names, and records that map
// fields to values.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "controls/data/filter/cxFilter.h"

class TTestField : public TObject {
public:
  TTestField(Integer AID, AnsiString AName, AnsiString ACaption)
      : ID(AID), Name(std::move(AName)), Caption(std::move(ACaption))
  {}
  Integer ID;
  AnsiString Name;
  AnsiString Caption;
};

using TTestRecord = std::map<const TObject*, Variant>;

// A variant array of the values.
inline Variant Arr(std::vector<Variant> v) { return Variants::VarArrayOf(v); }

class TTestItem : public TcxFilterCriteriaItem {
public:
  using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
  Variant GetRecordValue(void* ARecord) override
  {
    const auto& record = *static_cast<TTestRecord*>(ARecord);
    auto it = record.find(GetItemLink());
    return it == record.end() ? Variant::Null() : it->second;
  }
  AnsiString GetFieldCaption() override { return Field() ? Field()->Caption : AnsiString(); }
  AnsiString GetFieldName() override { return Field() ? Field()->Name : AnsiString(); }

private:
  TTestField* Field() const { return static_cast<TTestField*>(GetItemLink()); }
};

class TTestCriteria : public TcxFilterCriteria {
public:
  // Fields A, B, C, D with ids 1..4 (or the ids given).
  explicit TTestCriteria(std::vector<Integer> ids = {1, 2, 3, 4})
  {
    const char* names[] = {"A", "B", "C", "D"};
    for (size_t i = 0; i < ids.size() && i < 4; ++i)
      Fields.push_back(std::make_unique<TTestField>(ids[i], names[i], AnsiString(names[i]) + " caption"));
  }
  ~TTestCriteria() override
  {
    BeginUpdate();
    GetRoot()->Clear();
  }

  TTestField* Field(int i) { return Fields[static_cast<size_t>(i)].get(); }
  TTestField* A() { return Field(0); }
  TTestField* B() { return Field(1); }
  TTestField* C() { return Field(2); }
  TTestField* D() { return Field(3); }

  Integer GetIDByItemLink(TObject* AItemLink) override
  {
    return AItemLink ? static_cast<TTestField*>(AItemLink)->ID : -1;
  }
  TObject* GetItemLinkByID(Integer AID) override
  {
    for (auto& f : Fields)
      if (f->ID == AID) return f.get();
    return nullptr;
  }
  TcxFilterCriteriaItem* CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                    TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                    const AnsiString& ADisplayValue) override
  {
    return new TTestItem(AParent, AItemLink, AOperatorKind, AValue, ADisplayValue);
  }

  std::vector<std::unique_ptr<TTestField>> Fields;
};
