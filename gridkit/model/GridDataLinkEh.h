// The grid's data link: the only path by which the dataset's notifications reach the grid, and
// the growing map from the grid's data columns to the dataset's fields.
#pragma once

#include <vector>

#include "platform/db/DataSource.h"
#include "platform/rtl/Exceptions.h"

class IDBGridEhHost;
class TField;

PELTO_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

class TGridDataLinkEh : public TDataLink {
public:
  // The grid creates exactly one link and frees it; the link never outlives it.
  explicit TGridDataLinkEh(IDBGridEhHost* Grid);
  ~TGridDataLinkEh() override;

  // Appends an entry for FieldName. Raises EInvalidGridOperation past 268,435,455 entries, and
  // the dataset's missing-field error unless AllowMissingFields (then the entry is -1).
  bool MapField(const AnsiString& FieldName);
  void ClearFieldMap();
  // nullptr out of range or for an entry without field; never raises.
  TField* FieldOfColumn(Integer I) const;
  bool UsesDefaultFields() const;
  void MarkEditorTextChanged() { FEditorTextChanged = true; }
  bool GetEditorTextChanged() const { return FEditorTextChanged; }
  // Drops the typed editor text, or cancels the dataset's edit when there is none.
  void DiscardEditorChanges();
  bool GetAllowMissingFields() const { return FAllowMissingFields; }
  void SetAllowMissingFields(bool Value) { FAllowMissingFields = Value; }
  Integer GetMappedCount() const { return FMappedCount; }
  Integer GetMapCapacity() const { return static_cast<Integer>(FColumnFieldIndexes.size()); }

  static constexpr Integer MaxMapSize = 0x0FFFFFFF;

protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(Integer Distance) override;
  void LayoutChanged() override;
  void FocusControl(TField** Field) override;
  void EditingChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

private:
  Integer FMappedCount = 0;
  std::vector<Integer> FColumnFieldIndexes;  // capacity = size
  IDBGridEhHost* FOwnerGrid;
  bool FWritingEditorData = false;
  bool FEditorTextChanged = false;
  bool FAllowMissingFields = false;
};
