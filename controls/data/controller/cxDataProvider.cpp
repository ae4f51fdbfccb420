#include "controls/data/controller/cxDataProvider.h"

#include <algorithm>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/cxDataConsts.h"
#include "platform/rtl/Guards.h"

TcxCustomDataProvider::~TcxCustomDataProvider() = default;

bool TcxCustomDataProvider::CanDelete() const { return FDataController->GetRecordCount() > 0; }

bool TcxCustomDataProvider::CanInitEditing(int ARecordIndex)
{
  FDataController->CheckRecordIndex(ARecordIndex);
  if (!IsEditing()) BeginEdit();
  if (IsEditing()) SetChanging();
  return true;
}

void TcxCustomDataProvider::SaveRecordCopy(int ARecordIndex)
{
  if (SavedCopy == 0) SavedCopy = FDataController->GetStorage()->AddInternalRecord();
  FDataController->CopyRecord(ARecordIndex, SavedCopy);
}

void TcxCustomDataProvider::FreeRecordCopy()
{
  if (SavedCopy < 0) {
    FDataController->GetStorage()->FreeInternalRecord(SavedCopy);
    SavedCopy = 0;
  }
}

void TcxCustomDataProvider::SetEditingRecord()
{
  auto* c = FDataController;
  if (c->GetNewItemRowEnabled() && c->IsNewItemRowFocused() && !IsInserting()) {
    Insert();
    return;
  }
  EditedRecord = c->GetRecordIndexForEdit();
  if (EditedRecord >= 0) {
    AnchorBefore = AnchorAfter = cxNullEditingRecord;
    int r = c->GetFocusedRowIndex();
    if (r >= 0) {
      if (r < c->GetRowCount() - 1)
        AnchorAfter = c->GetRowInfo(r + 1).RecordIndex;
      else
        AnchorBefore = c->GetRowInfo(r == 0 ? r : r - 1).RecordIndex;
    }
  }
  if (EditedRecord != cxNullEditingRecord) {
    if (!IsActive() && !IsInserting()) SaveRecordCopy(EditedRecord);
    c->AddChange(cxDataChange::UpdateRecord);
  }
}

void TcxCustomDataProvider::DoInsert(bool AAppend)
{
  auto* c = FDataController;
  if (!IsActive() && IsInserting() && !(EditorPending || ValuesChanged)) return;
  if (IsEditing() && (EditorPending || ValuesChanged) && !IsActive()) {
    if (EditorPending) UpdateData();
    Post();
  }
  c->DoBeforeInsert();
  {
    TUpdateGuard lock(*c);
    std::vector<Variant> values;
    if (c->GetNewItemRowEnabled()) {
      int r = c->GetFocusedRecordIndex();
      if (r < 0 && c->GetRowCount() > 0) r = c->GetRowInfo(0).RecordIndex;
      values = c->GetGroupingValues(r);
      EditedRecord = c->GetNewItemRecordIndex();
      c->SetNewItemRowFocused(true);
    } else {
      if (!AAppend) c->ClearSelection();
      if (AAppend) {
        int r = c->GetLastRowRecordIndex();
        values = c->GetGroupingValues(r);
        EditedRecord = c->AppendRecord();
        AnchorBefore = r;
      } else {
        int row = c->GetFocusedRowIndex();
        int r = row >= 0 ? c->GetRowInfo(row).RecordIndex : 0;
        if (r < 0) r = 0;
        values = c->GetGroupingValues(r);
        EditedRecord = c->InsertRecord(r);
        AnchorAfter = r + 1;
      }
    }
    InitInsertingRecord(EditedRecord, values);
    ResetChanging();
    InsertState = true;
  }
  c->ChangeFocusedRecordIndex(EditedRecord);
  c->DoAfterInsert();
}

void TcxCustomDataProvider::InitInsertingRecord(int ARecordIndex, const std::vector<Variant>& AGroupValues)
{
  auto* c = FDataController;
  if (c->GetGroupingItemCount() > 0 && c->GetOptions().Contains(dcoAssignGroupingValues))
    for (int i = 0; i < c->GetGroupingItemCount() && i < static_cast<int>(AGroupValues.size()); ++i)
      AssignItemValue(ARecordIndex, c->GetItemField(c->GetGroupingItemIndex(i)), AGroupValues[static_cast<size_t>(i)]);
  c->DoNewRecord(ARecordIndex);
}

void TcxCustomDataProvider::AssignItemValue(int ARecordIndex, TcxCustomDataField* AField, const Variant& AValue)
{
  FDataController->SetValue(ARecordIndex, AField->GetIndex(), AValue);
}

void TcxCustomDataProvider::Post()
{
  auto* c = FDataController;
  if (EditorPending) c->SaveEditorValue();
  int r;
  bool afterPost = false;
  if (!IsInserting() || IsModified()) {
    c->DoBeforePost();
    r = EditedRecord;
    if (c->GetNewItemRowEnabled() && c->IsNewItemRecord(r)) {
      PostAppending = false;  // no external record source in this system
      r = c->AppendRecord();
      AppendedRecord = r;
      c->CopyRecord(c->GetNewItemRecordIndex(), r);
    }
    ResetEditing();
    afterPost = true;
  } else {
    // A new record that was never modified is not kept.
    Cancel();
    r = -1;
  }
  c->DataChanged(1, -1, r);
  if (afterPost) c->DoAfterPost();
}

void TcxCustomDataProvider::Cancel()
{
  auto* c = FDataController;
  c->DoBeforeCancel();
  {
    TUpdateGuard lock(*c);
    int e = EditedRecord;
    if (e != cxNullEditingRecord && (e < c->GetRecordCount() || c->IsNewItemRecord(e))) {
      if (IsInserting()) {
        if (e >= 0) {
          int focused = c->GetFocusedRecordIndex();
          EditedRecord = cxNullEditingRecord;  // deleting it must not end the edit twice
          c->DeleteRecord(e);
          if (focused >= c->GetRecordCount() && c->GetRecordCount() > 0)
            c->ChangeFocusedRecordIndex(c->GetRecordCount() - 1);
        }
      } else if (SavedCopy < 0) {
        c->CopyRecord(SavedCopy, e);
      }
    }
    ResetEditing();
  }
  c->DoAfterCancel();
}

void TcxCustomDataProvider::ResetEditing()
{
  auto* c = FDataController;
  if (c->IsNewItemRecord(EditedRecord) && EditedRecord < 0) {
    // The new-item row starts empty next time.
    c->GetStorage()->ForEachValueDef(
        EditedRecord, [&](TcxValueDef* d) { c->GetStorage()->SetFieldValue(EditedRecord, d, Variant::Null()); });
  }
  EditedRecord = AnchorBefore = AnchorAfter = cxNullEditingRecord;
  InsertState = false;
  ResetChanging();
  ResetModified();
  FreeRecordCopy();
}

void TcxCustomDataProvider::Delete()
{
  auto* c = FDataController;
  int r = c->GetFocusedRecordIndex();
  if (r < 0) return;
  c->DoBeforeDelete(r);
  c->DeleteRecord(r);
  if (c->GetFocusedRecordIndex() < 0) c->CheckFocusedRecord();
  c->DoAfterDelete();
}

void TcxCustomDataProvider::DeleteRecords(const std::vector<int>& AList)
{
  auto* c = FDataController;
  {
    TUpdateGuard lock(*c);
    for (int i = static_cast<int>(AList.size()) - 1; i >= 0; --i) {
      int r = AList[static_cast<size_t>(i)];
      c->DoBeforeDelete(r);
      c->DeleteRecord(r);
      c->DoAfterDelete();
    }
  }
  if (!c->IsLocked()) c->CheckFocusedRecord();
}

void TcxCustomDataProvider::DeleteSelection()
{
  auto* c = FDataController;
  std::vector<int> list;
  for (int i = 0; i < c->GetSelectedCount(); ++i) {
    int row = c->GetSelectedRowIndex(i);
    if (row < 0 || row >= c->GetRowCount()) continue;
    TcxRowInfo info = c->GetRowInfo(row);
    if (info.Level < c->GetGroupingItemCount())
      c->LoadRecordIndexesByRowIndex(list, row);
    else
      list.push_back(info.RecordIndex);
  }
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  DeleteRecords(list);
  c->ClearSelection();
}

void TcxCustomDataProvider::UpdateData()
{
  if (EditorPending) FDataController->SaveEditorValue();
  ResetChanging();
}

Variant TcxCustomDataProvider::FetchEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource)
{
  if (ARecordIndex == cxNullEditingRecord) cxCustomData::RaiseInvalidOperation(cxDataConsts::cxSDataRecordIndexError);
  return FDataController->GetFieldValue(ARecordIndex, AField);
}

bool TcxCustomDataProvider::StoreEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource,
                                           const Variant& AValue)
{
  Variant v = AValue;
  if (AEditValueSource == 1 && !v.IsNull() && !v.IsEmpty() && v.AsString().empty()) v = Variant::Null();
  FDataController->SetValue(ARecordIndex, AField->GetIndex(), v);
  SetModified();
  return true;
}

void TcxCustomDataProvider::DataChanged(int AKind, int AItemIndex, int ARecordIndex)
{
  if (FreezeDepth == 0) FDataController->DataChanged(AKind, AItemIndex, ARecordIndex);
  if (PostAppending)
    ResetChanging();
  else
    ResetEditing();
}
