// The filter criteria a data controller owns as its Filter: conditions bound to the
// controller's fields that read record values through it, and the value lists of the filter
// drop-downs filled from the controller's records. UI thread only.
#pragma once

#include <functional>

#include "controls/data/filter/cxFilter.h"

class TcxCustomDataController;
class TcxCustomDataField;

class TcxDataFilterValueList : public TcxFilterValueList {
public:
  using TcxFilterValueList::TcxFilterValueList;
  // "(All)", "(Custom...)", the distinct values of every record (not only those that pass the
  // filter), then "(Blanks)" and "(NonBlanks)" when a blank was seen.
  void Load(int AItemIndex);
};

class TcxDataFilterCriteria : public TcxFilterCriteria {
public:
  explicit TcxDataFilterCriteria(TcxCustomDataController* ADataController);
  ~TcxDataFilterCriteria() override;

  bool GetActive() const { return FActive; }
  void SetActive(bool Value);
  // Active, not empty and not in grid mode.
  bool IsFiltering() const;
  bool FilterRecord(int ARecordIndex)
  {
    return RecordMatches(reinterpret_cast<void*>(static_cast<intptr_t>(ARecordIndex)));
  }
  TcxCustomDataController* GetDataController() const { return FDataController; }
  // A view item given as link is replaced by the controller's field bound to it.
  TcxFilterCriteriaItem* AddItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                 TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                 const AnsiString& ADisplayValue);
  TcxFilterCriteriaItem* FindItemByItemLink(TObject* AItemLink);

  Integer GetIDByItemLink(TObject* AItemLink) override;
  TObject* GetItemLinkByID(Integer AID) override;
  TcxFilterCriteriaItem* CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                    TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                    const AnsiString& ADisplayValue) override;
  std::unique_ptr<TcxFilterValueList> CreateValueList() override;

  std::function<void(TcxFilterCriteria* Sender, int AItemIndex, TcxDataFilterValueList* AValueList)> OnGetValueList;

protected:
  void Changed() override;

private:
  TObject* FieldLink(TObject* AItemLink) const;

  bool FActive = false;
  TcxCustomDataController* FDataController;
  bool FDestroying = false;
};

class TcxDataFilterCriteriaItem : public TcxFilterCriteriaItem {
public:
  using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
  // ARecord carries the record index.
  Variant GetRecordValue(void* ARecord) override;
  AnsiString GetFieldCaption() override;
  AnsiString GetFieldName() override;
  TcxCustomDataField* GetField() const;
};
