#include "gridkit/model/GridDataLinkEh.h"

#include <algorithm>

#include "gridkit/model/GridHostEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

TGridDataLinkEh::TGridDataLinkEh(IDBGridEhHost* Grid) : FOwnerGrid(Grid) {}

TGridDataLinkEh::~TGridDataLinkEh() { ClearFieldMap(); }

bool TGridDataLinkEh::MapField(const AnsiString& FieldName)
{
  if (FMappedCount >= MaxMapSize) throw EInvalidGridOperation("Grid requested to display more than 256 columns");
  TDataSet* ds = GetDataSet();
  TField* field = nullptr;
  if (ds) field = FAllowMissingFields ? ds->FindField(FieldName) : ds->FieldByName(FieldName);
  if (GetMapCapacity() == FMappedCount) {
    Int64 grown = FMappedCount == 0 ? 8 : static_cast<Int64>(GetMapCapacity()) * 2;
    grown = std::clamp<Int64>(grown, FMappedCount + 1, MaxMapSize);
    FColumnFieldIndexes.resize(static_cast<std::size_t>(grown), -1);
  }
  FColumnFieldIndexes[static_cast<std::size_t>(FMappedCount)] = field ? field->GetIndex() : -1;
  if (field && FOwnerGrid) FOwnerGrid->WatchField(field);
  ++FMappedCount;
  return true;
}

void TGridDataLinkEh::ClearFieldMap()
{
  FColumnFieldIndexes.clear();
  FColumnFieldIndexes.shrink_to_fit();
  FMappedCount = 0;
}

TField* TGridDataLinkEh::FieldOfColumn(Integer I) const
{
  if (I < 0 || I >= FMappedCount) return nullptr;
  Integer index = FColumnFieldIndexes[static_cast<std::size_t>(I)];
  TDataSet* ds = GetDataSet();
  if (index < 0 || !ds || index >= ds->GetFields().GetCount()) return nullptr;
  return ds->GetFields().GetField(index);
}

bool TGridDataLinkEh::UsesDefaultFields() const
{
  TDataSet* ds = GetDataSet();
  if (!ds) return true;
  if (!ds->GetDefaultFields()) return false;
  if (FAllowMissingFields)
    for (Integer i = 0; i < FMappedCount; ++i)
      if (FColumnFieldIndexes[static_cast<std::size_t>(i)] < 0) return false;
  return true;
}

void TGridDataLinkEh::DiscardEditorChanges()
{
  if (FEditorTextChanged)
    RecordChanged(nullptr);
  else if (TDataSet* ds = GetDataSet())
    ds->Cancel();
}

void TGridDataLinkEh::ActiveChanged()
{
  if (FOwnerGrid) FOwnerGrid->LinkActive(GetActive());
  FEditorTextChanged = false;
}

void TGridDataLinkEh::DataSetChanged()
{
  if (FOwnerGrid) FOwnerGrid->DataChanged();
  FEditorTextChanged = false;
}

void TGridDataLinkEh::DataSetScrolled(Integer Distance)
{
  if (FOwnerGrid) FOwnerGrid->DataScrolled(Distance);
}

void TGridDataLinkEh::LayoutChanged()
{
  if (FOwnerGrid) FOwnerGrid->LayoutChanged(true);
  TDataLink::LayoutChanged();
}

void TGridDataLinkEh::FocusControl(TField** Field)
{
  if (!Field || !*Field || !FOwnerGrid) return;
  FOwnerGrid->SelectColumnOfField(*Field);
  if (FOwnerGrid->GetSelectedColumnField() == *Field && FOwnerGrid->TakeFocus()) {
    *Field = nullptr;
    FOwnerGrid->ShowCellEditor();
  }
}

void TGridDataLinkEh::EditingChanged()
{
  if (FOwnerGrid) FOwnerGrid->InvalidateIndicator();
}

void TGridDataLinkEh::RecordChanged(TField* Field)
{
  if (FOwnerGrid) FOwnerGrid->RecordChanged(Field);
  FEditorTextChanged = false;
}

void TGridDataLinkEh::UpdateData()
{
  // The grid's write may make the dataset ask for data again.
  if (FWritingEditorData) return;
  FWritingEditorData = true;
  struct Clear {
    bool& Flag;
    ~Clear() { Flag = false; }
  } clear{FWritingEditorData};
  if (FEditorTextChanged && FOwnerGrid) FOwnerGrid->CommitEditText();
  FEditorTextChanged = false;
}
