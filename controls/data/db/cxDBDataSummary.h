// A summary item of the dataset-bound controller that may sum a dataset field by its name,
// whether or not a view item shows that field.
#pragma once

#include "controls/data/controller/cxDataSummary.h"

class TcxDBDataController;
class TcxDBDataField;

class TcxDBDataSummaryItem : public TcxDataSummaryItem {
  PELTO_DECLARE_CLASS(TcxDBDataSummaryItem, TcxDataSummaryItem)
public:
  explicit TcxDBDataSummaryItem(TCollection* ACollection) : TcxDataSummaryItem(ACollection) {}
  // Frees the item's own field.
  ~TcxDBDataSummaryItem() override;
  // Also copies FieldName from another dataset-bound item.
  void Assign(TPersistent* Source) override;

  const AnsiString& GetFieldName() const { return FFieldName; }
  // Binds the item's own field to the dataset field(s) named; an empty name frees it.
  void SetFieldName(const AnsiString& Value);
  // The own field while it is bound to a dataset field, otherwise the linked field.
  TcxCustomDataField* GetDataField() const override;
  void DataFieldRemoved(TcxCustomDataField* AField) override;
  // nullptr when the summary belongs to another kind of controller.
  TcxDBDataController* GetDBDataController() const;

  PELTO_PUBLISHED(p);

private:
  AnsiString FFieldName;
  TcxDBDataField* FDataField = nullptr;  // owned through the controller's field list
};
