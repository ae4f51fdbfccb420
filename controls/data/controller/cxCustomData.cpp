#include "controls/data/controller/cxCustomData.h"

#include <algorithm>

#include "controls/data/cxDataConsts.h"
#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/controller/cxDataRelations.h"
#include "controls/data/controller/cxDataSaveKeys.h"
#include "controls/data/controller/cxDataSearch.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/cxDataUtils.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/classes/Component.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

using namespace cxDataConsts;

namespace cxCustomData {

void RaiseInvalidOperation(const AnsiString& AText) { throw EcxInvalidDataControllerOperation(AText); }

}  // namespace cxCustomData

// ---- TcxDataListenerLink ---------------------------------------------------------------------

TcxDataListenerLink::TcxDataListenerLink(TcxCustomDataController* ADataController) : DataController(ADataController)
{
  if (DataController) DataController->FListenerLinks.push_back(this);
}

TcxDataListenerLink::~TcxDataListenerLink()
{
  if (DataController) {
    auto& links = DataController->FListenerLinks;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
}

// ---- Construction ----------------------------------------------------------------------------

TCollectionItemClass TcxCustomDataController::GetSummaryItemClass() const { return TcxDataSummaryItem::StaticClass(); }

void TcxCustomDataController::RecreateSummary()
{
  FSummary.reset();
  FSummary = std::make_unique<TcxDataSummary>(this, GetSummaryItemClass());
}

TcxCustomDataController::TcxCustomDataController(TComponent* AOwner) : FOwner(AOwner)
{
  FStorage = std::make_unique<TcxDataStorage>();
  FGroups = std::make_unique<TcxDataControllerGroups>(this);
  FFields = std::make_unique<TcxCustomDataFieldList>(this);
  FFilter = std::make_unique<TcxDataFilterCriteria>(this);
  FSummary = std::make_unique<TcxDataSummary>(this);
  FNotifier = std::make_unique<TcxDataControllerNotifier>(this);
  FSearch = std::make_unique<TcxDataControllerSearch>(this);
  FProvider = std::make_unique<TcxCustomDataProvider>(this);
  FInfo = std::make_unique<TcxCustomDataControllerInfo>(this);
  FStorage->OnClearInternalRecords = [this](TObject*) { InternalRecordsFreed(); };
}

TcxCustomDataController::~TcxCustomDataController()
{
  FDestroying = true;
  FInfo->BeginUpdate();  // no pass while the parts go
  if (FMasterRelation && FMasterRelation->DetailController == this) FMasterRelation->DetailController = nullptr;
  FNotifier.reset();
  // Details go first: their controllers still refer to this controller's relations.
  if (FRelations)
    for (int r = 0; r < FStorage->RecordCount(); ++r) FRelations->ClearDetailInfo(r, -1);
  FRelations.reset();
  FFilter.reset();
  FSummary.reset();
  FFields->Clear();
  FStorage->OnClearInternalRecords = nullptr;
  for (auto* link : FListenerLinks) link->DataController = nullptr;
  FListenerLinks.clear();
}

void TcxDataControllerNotifier::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && !GetComponentState().Contains(csDestroying) && AComponent != this)
    FDataController->ComponentRemoved(AComponent);
}

void TcxCustomDataController::Assign(TcxCustomDataController* ASource)
{
  if (!ASource || ASource == this) return;
  FFilter->Assign(ASource->FFilter.get());
  FSummary->Assign(ASource->FSummary.get());
  OnAfterCancel = ASource->OnAfterCancel;
  OnAfterDelete = ASource->OnAfterDelete;
  OnAfterInsert = ASource->OnAfterInsert;
  OnAfterPost = ASource->OnAfterPost;
  OnBeforeCancel = ASource->OnBeforeCancel;
  OnBeforeDelete = ASource->OnBeforeDelete;
  OnBeforeInsert = ASource->OnBeforeInsert;
  OnBeforePost = ASource->OnBeforePost;
  OnCompare = ASource->OnCompare;
  OnDataChanged = ASource->OnDataChanged;
  OnDetailCollapsed = ASource->OnDetailCollapsed;
  OnDetailCollapsing = ASource->OnDetailCollapsing;
  OnDetailExpanded = ASource->OnDetailExpanded;
  OnDetailExpanding = ASource->OnDetailExpanding;
  OnGroupingChanged = ASource->OnGroupingChanged;
  OnNewRecord = ASource->OnNewRecord;
  OnRecordChanged = ASource->OnRecordChanged;
  OnSortingChanged = ASource->OnSortingChanged;
}

void TcxCustomDataController::InternalRecordsFreed()
{
  FNewItemRecord = 0;
  FProvider->SavedCopy = 0;
}

bool TcxCustomDataController::IsLoading() const { return FOwner && FOwner->GetComponentState().Contains(csLoading); }

bool TcxCustomDataController::IsReading() const { return FOwner && FOwner->GetComponentState().Contains(csReading); }

bool TcxCustomDataController::IsDestroying() const
{
  return FDestroying || (FOwner && FOwner->GetComponentState().Contains(csDestroying));
}

void TcxCustomDataController::SetOptions(TcxDataControllerOptions Value)
{
  if (FOptions == Value) return;
  FOptions = Value;
  Refresh();
}

// ---- Items -----------------------------------------------------------------------------------

void TcxCustomDataController::AddItem(TObject* AItem)
{
  if (FFields->FieldByItem(AItem)) cxCustomData::RaiseInvalidOperation(cxSDataItemExistError);
  auto field = CreateField();
  field->SetViewItem(AItem);
  FFields->Add(std::move(field));
  AddChange(cxDataChange::Layout);
}

void TcxCustomDataController::RemoveItem(TObject* AItem)
{
  TcxCustomDataField* f = FFields->FieldByItem(AItem);
  if (!f) return;
  TUpdateGuard lock(*this);
  FInfo->RemoveField(f);
  FFields->Delete(f);
}

TObject* TcxCustomDataController::GetItem(int AIndex) const
{
  CheckItemIndex(AIndex);
  return FFields->Items(AIndex)->GetViewItem();
}

TObject* TcxCustomDataController::GetItemByID(int AID) const
{
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItemID(GetItem(i)) == AID) return GetItem(i);
  return nullptr;
}

int TcxCustomDataController::GetItemIndex(TObject* AItem) const
{
  TcxCustomDataField* f = FFields->FieldByItem(AItem);
  return f ? f->GetIndex() : -1;
}

TcxCustomDataField* TcxCustomDataController::GetItemField(int AItemIndex) const
{
  return AItemIndex >= 0 && AItemIndex < FFields->Count() ? FFields->Items(AItemIndex) : nullptr;
}

std::unique_ptr<TcxCustomDataField> TcxCustomDataController::CreateField()
{
  return std::make_unique<TcxCustomDataField>(FFields.get());
}

TcxCustomDataField* TcxCustomDataController::AddInternalField()
{
  auto field = CreateField();
  field->SetInternal(true);
  TcxCustomDataField* f = field.get();
  FFields->Add(std::move(field));
  return f;
}

void TcxCustomDataController::CheckItemIndex(int AItemIndex) const
{
  if (AItemIndex < 0 || AItemIndex >= GetItemCount()) cxCustomData::RaiseInvalidOperation(cxSDataItemIndexError);
}

void TcxCustomDataController::FieldRemoved(TcxCustomDataField* AField)
{
  FInfo->RemoveField(AField);
  if (FFilter) FFilter->RemoveItemByItemLink(AField);
  if (FSummary) FSummary->RemoveField(AField);
  if (FIncrementalFilterField == AField) ResetIncrementalFilter();
  if (FSearchField == AField) {
    CancelSearch();
    FSearchField = nullptr;
  }
}

TcxValueTypeClass TcxCustomDataController::GetItemValueTypeClass(int AItemIndex) const
{
  return CheckedField(AItemIndex)->GetTypeClass();
}

void TcxCustomDataController::ChangeValueTypeClass(int AItemIndex, TcxValueTypeClass AClass)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (f->GetTypeClass() == AClass) return;
  f->SetTypeClass(AClass);
  FInfo->FieldChanged(f);
}

void TcxCustomDataController::ChangeNeedConversion(int AItemIndex, bool AValue)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (f->ConversionFlag == AValue) return;
  f->ConversionFlag = AValue;
  FInfo->FieldChanged(f);
}

void TcxCustomDataController::ChangeTextStored(int AItemIndex, bool AValue)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (f->GetKeepsDisplayText() == AValue) return;
  f->SetKeepsDisplayText(AValue);
  FInfo->FieldChanged(f);
}

bool TcxCustomDataController::GetTextStored(int AItemIndex) const
{
  return CheckedField(AItemIndex)->GetKeepsDisplayText();
}

// ---- Records and values ----------------------------------------------------------------------

void TcxCustomDataController::CheckRecordIndex(int ARecordIndex)
{
  if (ARecordIndex >= 0 && ARecordIndex < GetRecordCount()) return;
  if (FNewItemRowEnabled && ARecordIndex < 0 && ARecordIndex == GetNewItemRecordIndex()) return;
  cxCustomData::RaiseInvalidOperation(cxSDataRecordIndexError);
}

int TcxCustomDataController::GetNewItemRecordIndex()
{
  if (FNewItemRecord == 0) FNewItemRecord = FStorage->AddInternalRecord();
  return FNewItemRecord;
}

void TcxCustomDataController::SetRecordCount(int ACount)
{
  if (IsGridMode()) return;
  if (ACount < 0) ACount = 0;
  const int old = GetRecordCount();
  if (ACount == old) return;
  FStorage->SetRecordCount(ACount);
  DropStaleSelection();
  CheckSavedFocus(-1);
  CheckEditingRecord(-1);
  DataChanged(ACount > old ? 2 : 3, -1, -1);
}

int TcxCustomDataController::AppendRecord()
{
  const int r = FStorage->AppendRecord();
  DataChanged(2, -1, -1);
  return r;
}

int TcxCustomDataController::InsertRecord(int ARecordIndex)
{
  if (ARecordIndex < 0 || ARecordIndex > GetRecordCount()) cxCustomData::RaiseInvalidOperation(cxSDataRecordIndexError);
  FStorage->InsertRecord(ARecordIndex);
  // Records after it moved up by one: so did the edited one.
  if (FProvider->EditedRecord >= ARecordIndex) ++FProvider->EditedRecord;
  ShiftDetailMasterIndexes(ARecordIndex + 1, 1);
  DataChanged(2, -1, -1);
  return ARecordIndex;
}

void TcxCustomDataController::DeleteRecord(int ARecordIndex)
{
  CheckRecordIndex(ARecordIndex);
  if (FProvider->EditedRecord == ARecordIndex) FProvider->ResetEditing();
  FStorage->DeleteRecord(ARecordIndex);
  if (ARecordIndex >= 0) {
    CheckEditingRecord(ARecordIndex);
    ShiftDetailMasterIndexes(ARecordIndex, -1);
  }
  DropStaleSelection();
  CheckSavedFocus(ARecordIndex);
  if (ARecordIndex == FNewItemRecord) FNewItemRecord = 0;
  DataChanged(3, -1, -1);
}

void TcxCustomDataController::CheckEditingRecord(int AFromRecordIndex)
{
  const int e = FProvider->EditedRecord;
  if (e == cxNullEditingRecord) return;
  if ((AFromRecordIndex >= 0 && e >= AFromRecordIndex) || e >= GetRecordCount()) FProvider->ResetEditing();
}

Variant TcxCustomDataController::GetFieldValue(int ARecordIndex, TcxCustomDataField* AField)
{
  if (IsGridMode() && IsProviderField(AField)) return FProvider->GetBufferValue(ARecordIndex, AField);
  TcxValueDef* def = AField->GetValueDef();
  return def ? FStorage->GetFieldValue(ARecordIndex, def) : Variant::Null();
}

AnsiString TcxCustomDataController::GetFieldDisplayText(int ARecordIndex, TcxCustomDataField* AField)
{
  if (IsGridMode() && IsProviderField(AField)) return FProvider->GetBufferDisplayText(ARecordIndex, AField);
  TcxValueDef* def = AField->GetValueDef();
  return def ? FStorage->GetFieldDisplayText(ARecordIndex, def) : AnsiString();
}

bool TcxCustomDataController::IsProviderField(TcxCustomDataField* AField) const
{
  if (!AField->GetInternal()) return true;
  TcxCustomDataField* reference = AField->GetReference();
  return reference != nullptr && !reference->GetInternal();
}

Variant TcxCustomDataController::GetValue(int ARecordIndex, int AItemIndex)
{
  CheckRecordIndex(ARecordIndex);
  return GetFieldValue(ARecordIndex, CheckedField(AItemIndex));
}

void TcxCustomDataController::SetValue(int ARecordIndex, int AItemIndex, const Variant& AValue)
{
  if (IsGridMode()) return;
  CheckRecordIndex(ARecordIndex);
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (TcxValueDef* def = f->GetValueDef()) FStorage->SetFieldValue(ARecordIndex, def, AValue);
  DataChanged(0, AItemIndex, ARecordIndex);
}

AnsiString TcxCustomDataController::GetDisplayText(int ARecordIndex, int AItemIndex)
{
  CheckRecordIndex(ARecordIndex);
  return GetFieldDisplayText(ARecordIndex, CheckedField(AItemIndex));
}

void TcxCustomDataController::StoreDisplayText(int ARecordIndex, int AItemIndex, const AnsiString& AText)
{
  if (IsGridMode()) return;
  CheckRecordIndex(ARecordIndex);
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (TcxValueDef* def = f->GetValueDef()) FStorage->SetFieldDisplayText(ARecordIndex, def, AText);
  DataChanged(0, AItemIndex, ARecordIndex);
}

void TcxCustomDataController::CopyRecord(int ASource, int ADest)
{
  for (int i = 0; i < FFields->Count(); ++i) {
    TcxCustomDataField* f = FFields->Items(i);
    if (f->GetReference() || !f->GetValueDef() || f->IsInternalValueDef()) continue;
    TcxValueDef* def = f->GetValueDef();
    FStorage->SetFieldValue(ADest, def, FStorage->GetFieldValue(ASource, def));
    if (def->GetKeepsText()) FStorage->SetFieldDisplayText(ADest, def, FStorage->GetFieldDisplayText(ASource, def));
  }
  if (ADest >= 0) DataChanged(1, -1, -1);
}

std::vector<Variant> TcxCustomDataController::GetGroupingValues(int ARecordIndex)
{
  auto& grouping = FInfo->GetGroupingFieldList();
  std::vector<Variant> values(static_cast<size_t>(grouping.Count()), Variant::Null());
  if (ARecordIndex >= 0 && ARecordIndex < GetRecordCount())
    for (int i = 0; i < grouping.Count(); ++i)
      values[static_cast<size_t>(i)] = GetFieldValue(ARecordIndex, grouping.Items(i).Field);
  return values;
}

int TcxCustomDataController::GetLastRowRecordIndex()
{
  const int rows = GetRowCount();
  return rows > 0 ? GetRowInfo(rows - 1).RecordIndex : -1;
}

void TcxCustomDataController::CheckFocusedRecord()
{
  if (GetFocusedRecordIndex() < 0 && GetRowCount() > 0) ChangeFocusedRowIndex(GetRowCount() - 1);
}

// ---- Update locking and notifications --------------------------------------------------------

void TcxCustomDataController::BeginUpdate() { FInfo->BeginUpdate(); }

void TcxCustomDataController::EndUpdate()
{
  TcxDataListenerLink link(this);  // a handler may free the controller
  FInfo->EndUpdate();
  if (link.DataController && FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::DropStaleSelection()
{
  // Inside a full update the saved states put the selection back at the end.
  if (FFullUpdateCount == 0) FInfo->DropStaleSelection();
}

void TcxCustomDataController::BeginFullUpdate()
{
  if (FFullUpdateCount++ != 0) return;
  BeginUpdate();
  TScopeExit undo([&] {
    FSaveObject.reset();
    --FFullUpdateCount;
    EndUpdate();
  });
  FSaveObject = std::make_unique<TcxSaveObject>();
  FSaveObject->Save(this);
  undo.Dismiss();
}

void TcxCustomDataController::EndFullUpdate()
{
  if (FFullUpdateCount <= 0 || --FFullUpdateCount != 0) return;
  std::unique_ptr<TcxSaveObject> saved = std::move(FSaveObject);
  TScopeExit unlock([&] { EndUpdate(); });
  if (saved) saved->Restore(this);
  saved.reset();
}

Variant TcxCustomDataController::GetRecordKeyValue(int ARecordIndex, const std::vector<TcxCustomDataField*>& AFields)
{
  if (AFields.empty()) return Variant::Null();
  if (AFields.size() == 1) return GetFieldValue(ARecordIndex, AFields[0]);
  std::vector<Variant> values;
  values.reserve(AFields.size());
  for (auto* f : AFields) values.push_back(GetFieldValue(ARecordIndex, f));
  return Variants::VarArrayOf(values);
}

TcxCustomDataController* TcxCustomDataController::FindDetailDataController(int ARecordIndex, int ARelationIndex)
{
  // Read without creating detail objects on the way.
  if (!FRelations || ARecordIndex < 0 || ARecordIndex >= GetRecordCount() ||
      !FRelations->HasDetailInfo(ARecordIndex, ARelationIndex))
    return nullptr;
  TcxDetailObject* obj = FRelations->GetDetailObject(ARecordIndex);
  TcxDetailInfoObject* info = obj ? obj->GetInfoObject(ARelationIndex) : nullptr;
  return info && info->Link ? GetDetailDataControllerByLinkObject(info->Link.get()) : nullptr;
}

void TcxCustomDataController::BeginLocate()
{
  ++FLocateCount;
  FProvider->BeginLocate();
}

void TcxCustomDataController::EndLocate()
{
  --FLocateCount;
  FProvider->EndLocate();
}

void TcxCustomDataController::CheckGridMode()
{
  const bool wasGridMode = IsGridMode();
  FProvider->GroupedFlag = FInfo->GetGroupingFieldList().Count() > 0;
  if (IsGridMode() == wasGridMode) return;
  // Runs inside the engine's pass: the held lock keeps the reset's notifications for the end
  // of the pass, when the rows match the reloaded records again.
  TUpdateGuard lock(*FInfo);
  ResetData();
}

void TcxCustomDataController::DataChanged(int AKind, int AItemIndex, int ARecordIndex)
{
  const int r = FPendingRecord;
  const bool isRecord = r != -1 || (FNewItemRowEnabled && r == FNewItemRecord && r != 0);
  if (isRecord && ARecordIndex != r) {
    FPendingKind = 4;
  } else if (AKind != 0 || FPendingItem == -1 || AItemIndex == FPendingItem) {
    FPendingKind = static_cast<Byte>(AKind);
  } else {
    // A second item of the same record.
    FPendingKind = 1;
    AItemIndex = -1;
  }
  FPendingItem = AItemIndex;
  FPendingRecord = ARecordIndex;
  if (AKind == 2 || AKind == 3) FInfo->FocusingChanged(false);
  TcxDataListenerLink link(this);  // a handler may free the controller
  FInfo->DataChanged();
  if (link.DataController && FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::Refresh()
{
  BeginUpdate();
  FInfo->DataChanged();
  EndUpdate();
}

void TcxCustomDataController::FilterChanged()
{
  Cancel();
  Refresh();
  CheckSavedFocus(-1);
}

void TcxCustomDataController::SummaryChanged(bool AItemOnly) { FInfo->SummaryChanged(AItemOnly); }

void TcxCustomDataController::AddChange(Word AFlags)
{
  FChanges |= AFlags;
  Dispatch();
}

void TcxCustomDataController::AddDataChangedListener(TObject* AOwner, TNotifyEvent AHandler)
{
  FListeners.push_back({AOwner, std::move(AHandler)});
}

void TcxCustomDataController::RemoveDataChangedListener(TObject* AOwner)
{
  for (auto it = FListeners.begin(); it != FListeners.end(); ++it)
    if (it->Owner == AOwner) {
      FListeners.erase(it);
      return;
    }
}

void TcxCustomDataController::UpdateControl(TcxUpdateControlInfo& AInfo)
{
  if (OnUpdateControl) OnUpdateControl(&AInfo);
}

void TcxCustomDataController::Dispatch()
{
  if (FChanges == 0 || FInfo->IsLocked() || FDestroying) return;
  if (FDataChangePending) {
    FDataChangePending = false;
    ReloadData(1);
  }
  const Word flags = FChanges;
  FChanges = 0;
  TcxDataListenerLink link(this);
  if (flags & cxDataChange::Data) {
    SendData();
    if (!link.DataController) return;
  } else if (flags & (cxDataChange::Layout | cxDataChange::Details | cxDataChange::Summary)) {
    TcxLayoutChangedInfo info;
    UpdateControl(info);
  } else if (flags & cxDataChange::UpdateRecord) {
    TcxUpdateRecordInfo info(GetFocusedRecordIndex());
    UpdateControl(info);
  }
  if (flags & cxDataChange::Focus) {
    auto& prev = FInfo->GetPrevFocusingInfo();
    auto& cur = FInfo->GetFocusingInfo();
    if (prev.RowIndex != cur.RowIndex) {
      TcxFocusedRowChangedInfo info(prev.RowIndex, cur.RowIndex);
      UpdateControl(info);
    }
    const int record = GetFocusedRecordIndex();
    if (prev.PrevRecordIndex >= 0 || record >= 0 || prev.Changed) {
      TcxFocusedRecordChangedInfo info(prev.PrevRecordIndex, record, prev.RowIndex, cur.RowIndex, prev.Changed);
      UpdateControl(info);
      CancelSearch();  // ignored while the search moves the focus itself
    }
    prev.Assign(cur);
  }
  if (flags & cxDataChange::Selection) SendSelectionChanged();
  if (flags & cxDataChange::Search) {
    TcxSearchChangedInfo info;
    UpdateControl(info);
  }
  if (flags & cxDataChange::SavedFocus) {
    TcxBookmarkChangedInfo info;
    UpdateControl(info);
  }
  if ((flags & cxDataChange::GroupingChanged) && !IsReading() && OnGroupingChanged) OnGroupingChanged(this);
  if ((flags & cxDataChange::SortingChanged) && !IsReading() && !FInSortingChanged && OnSortingChanged) {
    FInSortingChanged = true;
    TScopeExit undo([&] {
      if (link.DataController) FInSortingChanged = false;
    });
    OnSortingChanged(this);
  }
}

void TcxCustomDataController::SendData()
{
  if (FPendingKind == 0 && FPendingItem == -1) FPendingKind = 1;
  const bool isRecord = FPendingRecord != -1 || (FNewItemRecord != 0 && FPendingRecord == FNewItemRecord);
  if ((FPendingKind == 0 || FPendingKind == 1) && !isRecord) FPendingKind = 4;
  TcxDataListenerLink link(this);
  TScopeExit clear([&] {
    if (!link.DataController) return;
    FPendingKind = 4;
    FPendingItem = FPendingRecord = -1;
  });
  TcxDataChangedInfo info(FPendingKind, FPendingItem, FPendingRecord);
  UpdateControl(info);
  if (link.DataController) DoDataChangedEvents();
}

void TcxCustomDataController::DoDataChangedEvents()
{
  if (IsDestroying()) return;
  if (!OnDataChanged && !OnRecordChanged && FListeners.empty()) return;
  if (IsLoading()) {
    FDataEventsDeferred = true;
    return;
  }
  FDataEventsDeferred = false;
  TcxDataListenerLink link(this);
  if ((FPendingKind == 0 || FPendingKind == 1) && FPendingRecord != -1 && OnRecordChanged)
    OnRecordChanged(this, FPendingRecord, FPendingItem);
  if (!link.DataController) return;
  if (OnDataChanged) OnDataChanged(this);
  if (!link.DataController) return;
  if (FLocateCount > 0 && IsGridMode()) return;
  // A copy: a handler may add or remove listeners.
  auto listeners = FListeners;
  for (auto& l : listeners) {
    l.Handler(this);
    if (!link.DataController) return;
  }
}

void TcxCustomDataController::Loaded()
{
  if (FDataEventsDeferred) DoDataChangedEvents();
}

void TcxCustomDataController::SendSelectionChanged()
{
  const int count = GetSelectedCount();
  const int single = count == 1 ? GetSelectedRowIndex(0) : -1;
  if (count <= 1 && FInfo->PrevSelectedCount <= 1) {
    TcxSelectionChangedInfo info(FInfo->PrevSelectedRow, single);
    UpdateControl(info);
  } else {
    TcxSelectionChangedInfo info;
    UpdateControl(info);
  }
  FInfo->PrevSelectedCount = count;
  FInfo->PrevSelectedRow = single;
}

// ---- Reloading -------------------------------------------------------------------------------

void TcxCustomDataController::ActiveChanged(bool AActive)
{
  FActive = AActive;
  CheckDataChanged(FProvider->IsActiveDataSet());
}

void TcxCustomDataController::CheckDataChanged(bool AProviderActive)
{
  if (FInCheckDataChanged) return;
  FInCheckDataChanged = true;
  TScopeExit undo([&] { FInCheckDataChanged = false; });
  if (FInfo->IsLocked()) FDataChangePending = true;
  if (NeedsReload()) Reload(AProviderActive);
}

void TcxCustomDataController::Reload(bool AForce)
{
  TUpdateGuard lock(*this);
  TScopeExit undo([&] {
    FInCheckDataChanged = false;
    FStructureRebuilt = false;
  });
  if (NeedsReload()) {
    if (AForce || FProvider->HasFields()) UpdateFields();
    if (!FDataChangePending) ReloadRecords();
  }
  FInfo->DataChanged();
}

void TcxCustomDataController::ReloadRecords()
{
  FStorage->Clear(FProvider->PostAppending);
  AddChange(cxDataChange::Data);
  AfterReload();
}

void TcxCustomDataController::UpdateFields()
{
  for (int i = 0; i < FFields->Count(); ++i) FFields->Items(i)->UpdatedMark = false;
  bool restart = true;
  while (restart) {
    restart = false;
    FFields->FieldGone = false;
    for (int i = 0; i < FFields->Count(); ++i) {
      TcxCustomDataField* f = FFields->Items(i);
      if (f->UpdatedMark) continue;
      f->UpdatedMark = true;
      UpdateField(f);
      if (FFields->FieldGone) {
        restart = true;  // the list changed under the loop: scan again from the start
        break;
      }
    }
  }
}

void TcxCustomDataController::ResetData()
{
  TUpdateGuard lock(*this);
  FProvider->ResetEditing();
  FStorage->Clear(false);
  FNewItemRecord = 0;
  FSavedFocusedRecord = -1;
  DropStaleSelection();
  CheckSavedFocus(-1);
  FStorage->SetAlwaysStoredOnly(IsGridMode());
  FStructureRebuilt = true;
  ReloadData(2);
}

// ---- Rows and focus --------------------------------------------------------------------------

int TcxCustomDataController::GetRowIndexByRecordIndex(int ARecordIndex, bool AMakeVisible)
{
  CheckRecordIndex(ARecordIndex);
  return FInfo->GetRowIndexByRecordIndex(ARecordIndex, AMakeVisible);
}

Variant TcxCustomDataController::GetRowValue(const TcxRowInfo& ARowInfo, int AItemIndex)
{
  if (ARowInfo.Level < GetGroupingItemCount() && !IsNewItemRecord(ARowInfo.RecordIndex))
    AItemIndex = GetGroupingItemIndex(ARowInfo.Level);
  return GetValue(ARowInfo.RecordIndex, AItemIndex);
}

AnsiString TcxCustomDataController::GetRowDisplayText(const TcxRowInfo& ARowInfo, int& AItemIndex)
{
  if (ARowInfo.Level < GetGroupingItemCount() && !IsNewItemRecord(ARowInfo.RecordIndex))
    AItemIndex = GetGroupingItemIndex(ARowInfo.Level);
  return GetDisplayText(ARowInfo.RecordIndex, AItemIndex);
}

bool TcxCustomDataController::ChangeFocusedRowIndex(int ARowIndex)
{
  if (FProvider->IsSyncMode() && !FProvider->IsTakingOverInsert() && ARowIndex != GetFocusedRowIndex() &&
      !CanChangeFocusedRow())
    return false;
  FInfo->ChangeFocusedRow(ARowIndex, false);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
  return true;
}

void TcxCustomDataController::ChangeFocusedRecordIndex(int ARecordIndex)
{
  const int row = ARecordIndex == -1 ? -1 : GetRowIndexByRecordIndex(ARecordIndex, true);
  ChangeFocusedRowIndex(row);
}

void TcxCustomDataController::ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive)
{
  FInfo->ChangeExpanding(ARowIndex, AExpanded, ARecursive);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

// In grid mode the provider's cursor moves over its buffered window.
void TcxCustomDataController::GotoFirst()
{
  if (IsGridMode())
    FProvider->First();
  else
    ChangeFocusedRowIndex(0);
}

void TcxCustomDataController::GotoLast()
{
  if (IsGridMode())
    FProvider->Last();
  else
    ChangeFocusedRowIndex(GetRowCount() - 1);
}

void TcxCustomDataController::GotoNext()
{
  if (IsGridMode())
    FProvider->Next();
  else
    ChangeFocusedRowIndex(GetFocusedRowIndex() + 1);
}

void TcxCustomDataController::GotoPrev()
{
  if (IsGridMode())
    FProvider->Prior();
  else
    ChangeFocusedRowIndex(std::max(GetFocusedRowIndex() - 1, 0));
}

void TcxCustomDataController::MoveBy(int ADistance)
{
  if (IsGridMode())
    FProvider->MoveBy(ADistance);
  else
    ChangeFocusedRowIndex(std::max(GetFocusedRowIndex() + ADistance, 0));
}

void TcxCustomDataController::Scroll(int ADistance)
{
  if (IsGridMode()) FProvider->Scroll(ADistance);
}

bool TcxCustomDataController::IsBOF() const
{
  if (IsGridMode() && !FProvider->IsInserting()) return FProvider->IsBOF();
  return GetRowCount() == 0 || GetFocusedRowIndex() == 0;
}

bool TcxCustomDataController::IsEOF() const
{
  if (IsGridMode()) return FProvider->IsEOF();
  return GetRowCount() == 0 || GetFocusedRowIndex() == GetRowCount() - 1;
}

void TcxCustomDataController::SetDataProvider(std::unique_ptr<TcxCustomDataProvider> AProvider)
{
  if (AProvider) FProvider = std::move(AProvider);
}

void TcxCustomDataController::SetFilterCriteria(std::unique_ptr<TcxDataFilterCriteria> AFilter)
{
  if (AFilter) FFilter = std::move(AFilter);
}

bool TcxCustomDataController::CanFocusRecord(int ARecordIndex)
{
  if (FProvider->IsEditing() && ARecordIndex != FProvider->EditedRecord) Post();
  return true;
}

void TcxCustomDataController::SaveFocus()
{
  const int r = GetFocusedRecordIndex();
  if (r != FSavedFocusedRecord) {
    FSavedFocusedRecord = r;
    AddChange(cxDataChange::SavedFocus);
  }
}

void TcxCustomDataController::RestoreFocus()
{
  if (IsFocusSaved()) ChangeFocusedRecordIndex(FSavedFocusedRecord);
}

void TcxCustomDataController::ClearSavedFocus()
{
  if (!IsFocusSaved()) return;
  FSavedFocusedRecord = -1;
  AddChange(cxDataChange::SavedFocus);
}

void TcxCustomDataController::CheckSavedFocus(int ARecordIndex)
{
  if (!IsFocusSaved()) return;
  if ((ARecordIndex != -1 && ARecordIndex == FSavedFocusedRecord) || FSavedFocusedRecord >= GetRecordCount() ||
      FInfo->IndexOfRecord(FSavedFocusedRecord) < 0) {
    FSavedFocusedRecord = -1;
    FChanges |= cxDataChange::SavedFocus;
  }
}

void TcxCustomDataController::ForEachRow(bool ASelectedOnly, const std::function<void(int, const TcxRowInfo&)>& AProc)
{
  if (ASelectedOnly) {
    for (int i = 0; i < GetSelectedCount(); ++i) {
      int row = GetSelectedRowIndex(i);
      AProc(row, GetRowInfo(row));
    }
  } else {
    for (int row = 0; row < GetRowCount(); ++row) AProc(row, GetRowInfo(row));
  }
}

void TcxCustomDataController::LoadRecordIndexes(std::vector<int>& AList, int AGroupIndex)
{
  auto& groups = FInfo->GetDataGroups();
  if (AGroupIndex < 0 || AGroupIndex >= groups.GetCount()) return;
  for (int p = groups.FirstListIndex(AGroupIndex); p <= groups.LastListIndex(AGroupIndex); ++p)
    AList.push_back(FInfo->GetRecordIndexAt(p));
}

void TcxCustomDataController::LoadRecordIndexesByRowIndex(std::vector<int>& AList, int ARowIndex)
{
  LoadRecordIndexes(AList, FInfo->GetDataGroups().GetGroupIndexByRowIndex(ARowIndex, -1));
}

int TcxCustomDataController::GetChildRecordIndex(int AGroupIndex, int AIndex) const
{
  int p = FInfo->GetDataGroups().GetChildRecordListIndex(AGroupIndex, AIndex);
  return p < 0 ? -1 : FInfo->GetRecordIndexAt(p);
}

// ---- Selection -------------------------------------------------------------------------------

void TcxCustomDataController::SetMultiSelect(bool AValue)
{
  if (FMultiSelect == AValue) return;
  FMultiSelect = AValue;
  FFocusedSelected = true;
  if (!AValue) ClearSelection();
}

void TcxCustomDataController::ChangeRowSelection(int ARowIndex, bool ASelection)
{
  if (!FMultiSelect) return;
  FInfo->CheckRowIndex(ARowIndex);
  auto* sel = FInfo->GetSelection();
  int i;
  const bool selected = sel->FindByRowIndex(ARowIndex, i);
  if (selected && !ASelection) {
    sel->Delete(i);
  } else if (!selected && ASelection && CanSelectRow(ARowIndex)) {
    TcxRowInfo info = GetRowInfo(ARowIndex);
    if (info.Level < GetGroupingItemCount())
      sel->Add(i, ARowIndex, FInfo->GetDataGroups().GetGroupIndexByRowIndex(ARowIndex, -1), -1);
    else
      sel->Add(i, ARowIndex, info.RecordIndex, info.Level);
  }
  FInfo->CheckUpdate();
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::ClearSelection()
{
  if (FInfo->GetSelection()->Count() == 0) return;
  FInfo->GetSelection()->Clear();
  FInfo->CheckUpdate();
}

void TcxCustomDataController::ClearSelectionAnchor() { FInfo->GetSelection()->ClearAnchor(); }

int TcxCustomDataController::GetSelectedCount() const
{
  if (!FMultiSelect) return FFocusedSelected && GetFocusedRowIndex() >= 0 ? 1 : 0;
  return FInfo->GetSelection()->Count();
}

int TcxCustomDataController::GetSelectedRowIndex(int AIndex) const
{
  if (!FMultiSelect) return GetFocusedRowIndex();
  return FInfo->GetSelection()->Items(AIndex).RowIndex;
}

int TcxCustomDataController::GetSelectionAnchorRowIndex() const { return FInfo->GetSelection()->GetAnchorRowIndex(); }

bool TcxCustomDataController::IsRowSelected(int ARowIndex) const
{
  FInfo->CheckRowIndex(ARowIndex);
  if (!FMultiSelect) return FFocusedSelected && ARowIndex == GetFocusedRowIndex();
  return FInfo->GetSelection()->IsRowSelected(ARowIndex);
}

void TcxCustomDataController::SelectRows(int AFromRowIndex, int AToRowIndex)
{
  if (!FMultiSelect) return;
  if (AFromRowIndex > AToRowIndex) std::swap(AFromRowIndex, AToRowIndex);
  TUpdateGuard lock(*this);
  for (int r = AFromRowIndex; r <= AToRowIndex; ++r) ChangeRowSelection(r, true);
}

void TcxCustomDataController::SelectAll()
{
  if (GetRowCount() > 0) SelectRows(0, GetRowCount() - 1);
}

void TcxCustomDataController::SelectFromAnchor(int ARowIndex, bool AKeepSelection)
{
  if (!IsSelectionAnchorExist()) return;
  TUpdateGuard lock(*this);
  if (!AKeepSelection) ClearSelection();
  SelectRows(GetSelectionAnchorRowIndex(), ARowIndex);
}

void TcxCustomDataController::SetSelectionAnchor(int ARowIndex)
{
  FInfo->CheckRowIndex(ARowIndex);
  FInfo->GetSelection()->SetAnchorRowIndex(ARowIndex);
}

void TcxCustomDataController::SyncSelected()
{
  TUpdateGuard lock(*this);
  ClearSelection();
  if (GetFocusedRowIndex() >= 0) ChangeRowSelection(GetFocusedRowIndex(), true);
}

void TcxCustomDataController::SetFocusedRowSelected(bool AValue)
{
  if (FFocusedSelected == AValue) return;
  FFocusedSelected = AValue;
  if (GetFocusedRowIndex() >= 0) {
    FInfo->PrevSelectedRow = GetFocusedRowIndex();
    AddChange(cxDataChange::Selection);
  }
}

// ---- Sorting and grouping --------------------------------------------------------------------

TcxDataSortOrder TcxCustomDataController::GetItemSortOrder(int AItemIndex) const
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  TcxDataSortOrder o = FInfo->GetSortingFieldList().GetSortOrder(f);
  return o != soNone ? o : FInfo->GetGroupingFieldList().GetSortOrder(f);
}

int TcxCustomDataController::GetItemSortIndex(int AItemIndex) const
{
  return FInfo->GetSortingFieldList().Find(CheckedField(AItemIndex));
}

void TcxCustomDataController::SetItemSortOrder(int AItemIndex, TcxDataSortOrder AOrder)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (FInfo->GetSortingFieldList().GetSortOrder(f) == AOrder) return;
  SortingChangedFlag = true;
  FInfo->ChangeSortOrder(f, AOrder);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::SetItemSortIndex(int AItemIndex, int AIndex)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (FInfo->GetSortingFieldList().Find(f) == AIndex) return;
  FInfo->SetSortIndex(f, AIndex);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::ClearSorting(bool AKeepGroupedItems)
{
  FInfo->ClearSorting(AKeepGroupedItems);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

void TcxCustomDataController::ChangeGroupIndex(int AItemIndex, int AGroupIndex)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (FInfo->GetGroupingFieldList().Find(f) == std::max(AGroupIndex, -1)) return;
  GroupingChangedFlag = true;
  FInfo->SetGroupIndex(f, AGroupIndex);
  if (FChanges != 0 && !FInfo->IsLocked()) Dispatch();
}

int TcxCustomDataController::GetGroupingItemCount() const { return FInfo->GetGroupingFieldList().Count(); }

int TcxCustomDataController::GetGroupingItemIndex(int ALevel) const
{
  auto& list = FInfo->GetGroupingFieldList();
  return ALevel >= 0 && ALevel < list.Count() ? list.Items(ALevel).Field->GetIndex() : -1;
}

int TcxCustomDataController::GetItemGroupIndex(int AItemIndex) const
{
  return FInfo->GetGroupingFieldList().Find(CheckedField(AItemIndex));
}

Variant TcxCustomDataController::GetComparedValue(int ARecordIndex, TcxCustomDataField* AField)
{
  if (AField->ConversionMode == 2) return Variant(GetFieldDisplayText(ARecordIndex, AField));
  return GetFieldValue(ARecordIndex, AField);
}

bool TcxCustomDataController::NeedConversion(TcxCustomDataField* AField)
{
  if (AField->ConversionMode != 0) return AField->ConversionMode > 0;
  return AField->ConversionFlag || NeedStringConversion(AField) || IsSortByDisplayText(AField);
}

bool TcxCustomDataController::NeedStringConversion(TcxCustomDataField* AField) const
{
  TcxValueTypeClass t = AField->GetTypeClass();
  return (FOptions.Contains(dcoAnsiSort) || FOptions.Contains(dcoCaseInsensitive)) && t && t->IsText();
}

bool TcxCustomDataController::IsSortByDisplayText(TcxCustomDataField* AField) const
{
  if (GroupLocating || AField->GetInternal()) return false;
  return GetItemSortByDisplayText(AField->GetIndex(), FOptions.Contains(dcoSortByDisplayText));
}

int TcxCustomDataController::CompareByField(int ARecordIndex1, int ARecordIndex2, TcxCustomDataField* AField)
{
  if ((OnCompare && !AField->GetInternal()) || AField->ConversionMode > 0) {
    const Variant v1 = GetComparedValue(ARecordIndex1, AField);
    const Variant v2 = GetComparedValue(ARecordIndex2, AField);
    if (OnCompare) {
      int result = 0;
      OnCompare(this, ARecordIndex1, ARecordIndex2, AField->GetIndex(), v1, v2, result);
      return result;
    }
    const bool s1 = v1.VarType() == varString || v1.VarType() == varOleStr;
    const bool s2 = v2.VarType() == varString || v2.VarType() == varOleStr;
    if (s1 && s2) {
      if (FOptions.Contains(dcoAnsiSort)) {
        int r = FOptions.Contains(dcoCaseInsensitive) ? SysUtils::AnsiCompareText(v1.AsString(), v2.AsString())
                                                      : SysUtils::AnsiCompareStr(v1.AsString(), v2.AsString());
        return r < 0 ? -1 : r > 0 ? 1 : 0;
      }
      if (FOptions.Contains(dcoCaseInsensitive)) {
        int r = SysUtils::AnsiUpperCase(v1.AsString()).compare(SysUtils::AnsiUpperCase(v2.AsString()));
        return r < 0 ? -1 : r > 0 ? 1 : 0;
      }
    }
    return cxVariants::VarCompareValues(v1, v2);
  }
  TcxValueDef* def = AField->GetValueDef();
  if (!def) return 0;
  return FStorage->CompareRecords(ARecordIndex1, ARecordIndex2, def);
}

// ---- Filter and incremental filter -----------------------------------------------------------

bool TcxCustomDataController::IsFiltering() const { return FFilter && FFilter->IsFiltering(); }

bool TcxCustomDataController::FilterRecord(int ARecordIndex) { return FFilter->FilterRecord(ARecordIndex); }

int TcxCustomDataController::SetIncrementalFilter(int AItemIndex, const AnsiString& AText)
{
  FIncrementalFilterField = CheckedField(AItemIndex);
  FIncrementalFilterText = AText;
  Refresh();
  return FInfo->GetFilteredRecordCount() > 0 ? FInfo->GetRecordIndexAt(0) : -1;
}

void TcxCustomDataController::ResetIncrementalFilter()
{
  const bool was = HasIncrementalFilter();
  FIncrementalFilterField = nullptr;
  FIncrementalFilterText.clear();
  if (was && !IsDestroying()) Refresh();
}

bool TcxCustomDataController::ChangeIncrementalFilterText(const AnsiString& AText)
{
  if (!FIncrementalFilterField || AText == FIncrementalFilterText) return false;
  SetIncrementalFilter(FIncrementalFilterField->GetIndex(), AText);
  return true;
}

bool TcxCustomDataController::IncrementalFilterRecord(int ARecordIndex)
{
  return cxDataUtils::AnsiTextMatches(GetFieldDisplayText(ARecordIndex, FIncrementalFilterField),
                                      FIncrementalFilterText, true);
}

// ---- Search and locate -----------------------------------------------------------------------

int TcxCustomDataController::GetSearchItemIndex() const { return FSearchField ? FSearchField->GetIndex() : -1; }

void TcxCustomDataController::FocusSearchMatch(int ARecordIndex)
{
  FSearch->Lock();
  TScopeExit undo([&] { FSearch->Unlock(); });
  ChangeFocusedRecordIndex(ARecordIndex);
  SyncSelected();
}

bool TcxCustomDataController::LocateFrom(int AFrom, int ATo, int AStep)
{
  const int item = FSearchField->GetIndex();
  for (int p = AFrom; AStep > 0 ? p <= ATo : p >= ATo; p += AStep) {
    const int r = FInfo->GetRecordIndexAt(p);
    if (cxDataUtils::AnsiTextMatches(GetSearchDisplayText(r, item), FSearchText, true)) {
      FocusSearchMatch(r);
      return true;
    }
  }
  return false;
}

bool TcxCustomDataController::Search(int AItemIndex, const AnsiString& ASubText)
{
  return FSearch->Locate(AItemIndex, ASubText);
}
bool TcxCustomDataController::SearchNext(bool AForward) { return FSearch->LocateNext(AForward); }
void TcxCustomDataController::CancelSearch() { FSearch->Cancel(); }

bool TcxCustomDataController::DoLocate(int AItemIndex, const AnsiString& ASubText)
{
  if (ASubText.empty() || FInfo->GetFilteredRecordCount() == 0) return false;
  TcxCustomDataField* f = CheckedField(AItemIndex);
  FSearchField = f;
  const AnsiString saved = FSearchText;
  FSearchText = ASubText;
  bool found;
  if (IsGridMode()) {
    found = SearchInGridMode(ASubText, true, false);
  } else {
    const int focused = GetFocusedRecordIndex();
    int start = focused >= 0 ? FInfo->IndexOfRecord(focused) : 0;
    if (start < 0) start = 0;
    const int last = FInfo->GetFilteredRecordCount() - 1;
    found = LocateFrom(start, last, 1) || LocateFrom(0, start - 1, 1);
  }
  if (!found) {
    FSearchText = saved;
    return false;
  }
  FSearching = true;
  AddChange(cxDataChange::Search);
  return true;
}

bool TcxCustomDataController::DoLocateNext(bool AForward)
{
  if (!FSearching || FSearchText.empty() || !FSearchField || FInfo->GetFilteredRecordCount() == 0) return false;
  if (IsGridMode()) return SearchInGridMode(FSearchText, AForward, true);
  const int focused = GetFocusedRecordIndex();
  const int pos = focused >= 0 ? FInfo->IndexOfRecord(focused) : -1;
  if (pos < 0) return false;
  return AForward ? LocateFrom(pos + 1, FInfo->GetFilteredRecordCount() - 1, 1) : LocateFrom(pos - 1, 0, -1);
}

void TcxCustomDataController::DoCancelSearch()
{
  if (!FSearching) return;
  FSearchText.clear();
  FSearching = false;
  AddChange(cxDataChange::Search);
}

int TcxCustomDataController::FindRecordIndexByText(int AStartListIndex, int AItemIndex, const AnsiString& AText,
                                                   bool APartial, bool AWrap, bool AForward)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  const int count = FInfo->GetFilteredRecordCount();
  if (AStartListIndex < 0 || AStartListIndex >= count) return -1;
  auto scan = [&](int from, int to, int step) {
    for (int p = from; step > 0 ? p <= to : p >= to; p += step) {
      const int r = FInfo->GetRecordIndexAt(p);
      if (cxDataUtils::AnsiTextMatches(GetFieldDisplayText(r, f), AText, APartial)) return r;
    }
    return -1;
  };
  int r = AForward ? scan(AStartListIndex, count - 1, 1) : scan(AStartListIndex, 0, -1);
  if (r < 0 && AStartListIndex != 0 && AWrap)
    r = AForward ? scan(0, AStartListIndex - 1, 1) : scan(count - 1, AStartListIndex + 1, -1);
  return r;
}

int TcxCustomDataController::LocateByKey(int ARecordIndex, const std::vector<TcxCustomDataField*>& AFields)
{
  if (AFields.empty()) return -1;
  for (auto* f : AFields) f->ConversionMode = NeedConversion(f) ? (IsSortByDisplayText(f) ? 2 : 1) : -1;
  int found = -1;
  TScopeExit undo([&] {
    for (auto* f : AFields) f->ConversionMode = 0;
  });
  for (int r = 0; r < GetRecordCount() && found < 0; ++r) {
    bool equal = true;
    for (auto* f : AFields)
      if (CompareByField(r, ARecordIndex, f) != 0) {
        equal = false;
        break;
      }
    if (equal) found = r;
  }
  return found;
}

int TcxCustomDataController::FindGroupRecord(int ARecordIndex, int ALevelCount)
{
  auto& total = FInfo->GetTotalSortingFieldList();
  ALevelCount = std::min(ALevelCount, total.Count());
  // Compared as the sort compared them, so the search follows the sorted order.
  std::vector<TcxCustomDataField*> fields;
  for (int e = 0; e < ALevelCount; ++e) fields.push_back(total.Items(e).Field);
  for (auto* f : fields) f->ConversionMode = NeedConversion(f) ? (IsSortByDisplayText(f) ? 2 : 1) : -1;
  int found = -1;
  TScopeExit undo([&] {
    for (auto* f : fields) f->ConversionMode = 0;
  });
  int lo = 0, hi = FInfo->GetFilteredRecordCount() - 1;
  while (lo <= hi && found < 0) {
    const int mid = (lo + hi) / 2;
    const int r = FInfo->GetRecordIndexAt(mid);
    int c = 0;
    for (int e = 0; e < ALevelCount && c == 0; ++e) c = FInfo->CompareByEntry(r, ARecordIndex, e);
    if (c == 0)
      found = r;
    else if (c < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return found;
}

// ---- Editing ---------------------------------------------------------------------------------

int TcxCustomDataController::GetEditState() const
{
  int s = 0;
  if (FProvider->IsInserting())
    s = dceInsert;
  else if (FProvider->IsEditing())
    s = dceEdit;
  if (s) {
    if (FProvider->IsChanging()) s |= dceChanging;
    if (FProvider->IsModified()) s |= dceModified;
  }
  return s;
}

bool TcxCustomDataController::IsEditing() const
{
  return (GetEditState() & (dceInsert | dceEdit)) != 0 && FProvider->EditedRecord != cxNullEditingRecord;
}

int TcxCustomDataController::GetRecordIndexForEdit()
{
  if (IsNewItemRowFocused()) return GetNewItemRecordIndex();
  const int row = GetFocusedRowIndex();
  return row >= 0 ? GetRowInfo(row).RecordIndex : cxNullEditingRecord;
}

int TcxCustomDataController::GetEditingRecordIndex()
{
  return FProvider->IsEditing() ? FProvider->EditedRecord : GetRecordIndexForEdit();
}

void TcxCustomDataController::Edit()
{
  if (FProvider->CanModify()) FProvider->Edit();
}

void TcxCustomDataController::Insert()
{
  if (FProvider->CanInsert()) FProvider->Insert();
}

void TcxCustomDataController::Append()
{
  if (FProvider->CanAppend()) FProvider->Append();
}

void TcxCustomDataController::Post()
{
  if (!FProvider->IsEditing()) return;
  TcxDataListenerLink link(this);
  FProvider->Post();
  if (link.DataController) FProvider->AppendedRecord = -1;
}

void TcxCustomDataController::Cancel()
{
  const int row = GetFocusedRowIndex();
  if (FProvider->IsEditing()) FProvider->Cancel();
  if (row >= 0) ChangeFocusedRowIndex(std::min(row, GetRowCount() - 1));
}

bool TcxCustomDataController::CanInitEditing(int AItemIndex)
{
  CheckItemIndex(AItemIndex);
  if (!FProvider->CanModify() || !IsItemEditable(AItemIndex)) return false;
  const int r = GetEditingRecordIndex();
  if (r == cxNullEditingRecord) return false;
  return FProvider->CanInitEditing(r);
}

Variant TcxCustomDataController::FetchEditValue(int AItemIndex, int AEditValueSource)
{
  TcxCustomDataField* f = CheckedField(AItemIndex);
  if (FNewItemRowEnabled && IsNewItemRowFocused() && !FProvider->IsEditing()) return Variant::Null();
  return FProvider->FetchEditValue(GetEditingRecordIndex(), f, AEditValueSource);
}

bool TcxCustomDataController::StoreEditValue(int AItemIndex, const Variant& AValue, int AEditValueSource)
{
  if (!CanInitEditing(AItemIndex)) return false;
  return FProvider->StoreEditValue(FProvider->EditedRecord, GetItemField(AItemIndex), AEditValueSource, AValue);
}

void TcxCustomDataController::DeleteFocused()
{
  const int row = GetFocusedRowIndex();
  if (row < 0 || !FProvider->CanDelete()) return;
  TcxRowInfo info = GetRowInfo(row);
  if (info.Level < GetGroupingItemCount()) {
    std::vector<int> list;
    LoadRecordIndexesByRowIndex(list, row);
    std::sort(list.begin(), list.end());
    FProvider->DeleteRecords(list);
  } else {
    FProvider->Delete();
  }
}

void TcxCustomDataController::DeleteSelection()
{
  if (GetSelectedCount() == 0 || !FProvider->CanDelete()) return;
  if (!FMultiSelect)
    DeleteFocused();
  else
    FProvider->DeleteSelection();
}

void TcxCustomDataController::SetNewItemRowEnabled(bool AValue)
{
  if (FNewItemRowEnabled == AValue) return;
  Cancel();
  ClearSelection();
  FNewItemRowEnabled = AValue;
  if (!AValue) FNewItemRowFocused = false;
  AddChange(cxDataChange::Data);
}

void TcxCustomDataController::SetNewItemRowFocused(bool AValue)
{
  if (FNewItemRowFocused == AValue) return;
  TUpdateGuard lock(*this);
  if (AValue) {
    FNewItemRowFocused = true;  // so that unfocusing the rows keeps it
    ChangeFocusedRowIndex(-1);
  } else if (!IsDestroying() && FProvider->IsEditing() && IsNewItemRecord(FProvider->EditedRecord)) {
    FNewItemRowFocused = false;
    Post();
  }
  FInfo->FocusingChanged(true);
  FNewItemRowFocused = AValue;
}

// ---- TcxDataControllerGroups -----------------------------------------------------------------

void TcxDataControllerGroups::ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive)
{
  FDataController->ChangeExpanding(ARowIndex, AExpanded, ARecursive);
}

void TcxDataControllerGroups::ChangeGroupIndex(int AItemIndex, int AGroupIndex)
{
  FDataController->ChangeGroupIndex(AItemIndex, AGroupIndex);
}

void TcxDataControllerGroups::FullExpand() { FDataController->FullExpand(); }
void TcxDataControllerGroups::FullCollapse() { FDataController->FullCollapse(); }
int TcxDataControllerGroups::GetGroupingItemCount() const { return FDataController->GetGroupingItemCount(); }
int TcxDataControllerGroups::GetGroupingItemIndex(int ALevel) const
{
  return FDataController->GetGroupingItemIndex(ALevel);
}
int TcxDataControllerGroups::GetItemGroupIndex(int AItemIndex) const
{
  return FDataController->GetItemGroupIndex(AItemIndex);
}
int TcxDataControllerGroups::GetChildCount(int AGroupIndex) const
{
  return FDataController->GetChildCount(AGroupIndex);
}

int TcxDataControllerGroups::GetChildGroupIndex(int AGroupIndex, int AChildIndex) const
{
  return FDataController->GetChildGroupIndex(AGroupIndex, AChildIndex);
}

int TcxDataControllerGroups::GetChildRecordIndex(int AGroupIndex, int AIndex) const
{
  return FDataController->GetChildRecordIndex(AGroupIndex, AIndex);
}

int TcxDataControllerGroups::GetDataGroupIndexByRowIndex(int ARowIndex) const
{
  return FDataController->GetDataGroupIndexByRowIndex(ARowIndex);
}

int TcxDataControllerGroups::GetLevelByGroupIndex(int AGroupIndex) const
{
  return FDataController->GetInfo()->GetDataGroups().GetLevelOfGroup(AGroupIndex);
}

void TcxDataControllerGroups::LoadRecordIndexes(std::vector<int>& AList, int AGroupIndex)
{
  FDataController->LoadRecordIndexes(AList, AGroupIndex);
}

void TcxDataControllerGroups::LoadRecordIndexesByRowIndex(std::vector<int>& AList, int ARowIndex)
{
  FDataController->LoadRecordIndexesByRowIndex(AList, ARowIndex);
}

// ---- Master-detail ---------------------------------------------------------------------------

std::unique_ptr<TcxCustomDataRelation> TcxCustomDataController::CreateRelation(TcxCustomDataRelationList* AList,
                                                                               TObject* AItem)
{
  return std::make_unique<TcxCustomDataRelation>(AList, AItem);
}

TcxCustomDataRelationList* TcxCustomDataController::GetRelations()
{
  if (!FRelations) FRelations = std::make_unique<TcxCustomDataRelationList>(this);
  if (GetDetailMode() == 2) SyncCloneRelations();
  return FRelations.get();
}

void TcxCustomDataController::SyncCloneRelations()
{
  TcxCustomDataController* pattern = GetPatternDataController();
  if (FSyncingRelations || !pattern || pattern == this || FDestroying) return;
  TcxCustomDataRelationList* source = pattern->GetRelations();
  bool same = source->GetCount() == FRelations->GetCount();
  for (int i = 0; same && i < source->GetCount(); ++i)
    same = source->Items(i)->GetItem() == FRelations->Items(i)->GetItem() &&
           source->Items(i)->DetailController == FRelations->Items(i)->DetailController;
  if (same) return;
  FSyncingRelations = true;
  TScopeExit undo([&] { FSyncingRelations = false; });
  TUpdateGuard lock(*FRelations);
  FRelations->Clear();
  for (int i = 0; i < source->GetCount(); ++i) {
    TcxCustomDataRelation* r = FRelations->Add(source->Items(i)->GetItem());
    r->Mirror = true;
    r->DetailController = source->Items(i)->DetailController;
  }
}

void TcxCustomDataController::SetMasterRelation(TcxCustomDataRelation* ARelation, int AMasterRecordIndex)
{
  if (!ARelation && !FMasterRelation && AMasterRecordIndex == -1 && FMasterRecordIndex == -1) return;
  TUpdateGuard lock(*this);
  if (FMasterRelation && FMasterRelation->DetailController == this) FMasterRelation->DetailController = nullptr;
  FMasterRelation = ARelation;
  if (ARelation && AMasterRecordIndex == -1) ARelation->DetailController = this;
  FMasterRecordIndex = AMasterRecordIndex;
  ReloadData(2);
}

void TcxCustomDataController::SetPatternRelation(TcxCustomDataRelation* ARelation, bool APattern)
{
  TUpdateGuard lock(*this);
  SetMasterRelation(ARelation, -1);
  FPatternFlag = APattern;
}

TcxCustomDataController* TcxCustomDataController::GetMasterDataController() const
{
  return FMasterRelation ? FMasterRelation->GetDataController() : nullptr;
}

int TcxCustomDataController::GetDetailMode() const
{
  if (!FMasterRelation) return 0;
  return FMasterRecordIndex == -1 || FPatternFlag ? 1 : 2;
}

TcxCustomDataController* TcxCustomDataController::GetPatternDataController()
{
  if (!FMasterRelation) return this;
  return FMasterRelation->DetailController ? FMasterRelation->DetailController : this;
}

bool TcxCustomDataController::GetDetailExpanded(int ARecordIndex)
{
  if (!FRelations) return false;
  TcxDetailObject* obj = FRelations->GetDetailObject(ARecordIndex);
  return obj && obj->Expanded;
}

bool TcxCustomDataController::ChangeDetailExpanding(int ARecordIndex, bool AExpanded)
{
  if (GetDetailMode() == 2) GetRelations();
  if (ARecordIndex < 0 || ARecordIndex >= GetRecordCount() || !FRelations) return false;
  if (GetDetailExpanded(ARecordIndex) == AExpanded) return false;
  DetailsChanging();
  TcxDetailObject* obj = FRelations->GetDetailObject(ARecordIndex);
  if (!obj) return false;
  if (!CanChangeDetailExpanding(ARecordIndex, AExpanded)) return false;
  obj->Expanded = AExpanded;
  AddChange(cxDataChange::Details);
  if (AExpanded && OnDetailExpanded) OnDetailExpanded(this, ARecordIndex);
  if (!AExpanded && OnDetailCollapsed) OnDetailCollapsed(this, ARecordIndex);
  return true;
}

bool TcxCustomDataController::CanChangeDetailExpanding(int ARecordIndex, bool AExpanded)
{
  bool allow = true;
  if (AExpanded && OnDetailExpanding) OnDetailExpanding(this, ARecordIndex, allow);
  if (!AExpanded && OnDetailCollapsing) OnDetailCollapsing(this, ARecordIndex, allow);
  return allow;
}

int TcxCustomDataController::GetDetailActiveRelationIndex(int ARecordIndex)
{
  if (!FRelations) return -1;
  TcxDetailObject* obj = FRelations->GetDetailObject(ARecordIndex);
  return obj ? obj->CurrentRelation : -1;
}

void TcxCustomDataController::ChangeDetailActiveRelationIndex(int ARecordIndex, int ARelationIndex)
{
  if (GetDetailActiveRelationIndex(ARecordIndex) == ARelationIndex) return;
  DetailsChanging();
  TcxDetailObject* obj = GetRelations()->GetDetailObject(ARecordIndex);
  if (!obj) return;
  obj->CurrentRelation = ARelationIndex;
  AddChange(cxDataChange::Details);
}

void TcxCustomDataController::CollapseDetails()
{
  if (!FRelations) return;
  DetailsChanging();
  TUpdateGuard lock(*this);
  for (int r = 0; r < GetRecordCount(); ++r) {
    TcxDetailObject* obj = FRelations->GetDetailObject(r);
    if (!obj) continue;
    obj->ResetHasChildren();
    if (obj->Expanded) {
      obj->Expanded = false;
      AddChange(cxDataChange::Details);
    }
  }
}

bool TcxCustomDataController::GetDetailHasChildren(int ARecordIndex, int ARelationIndex)
{
  if (TcxCustomDataController* detail = FindDetailDataController(ARecordIndex, ARelationIndex))
    return detail->GetRecordCount() > 0;
  // An unbound controller has no detail data source to ask.
  return false;
}

TObject* TcxCustomDataController::GetDetailLinkObject(int ARecordIndex, int ARelationIndex)
{
  CheckRecordIndex(ARecordIndex);
  if (GetDetailMode() == 2) GetRelations();  // a clone's mirror of its pattern's relations
  if (!FRelations || ARelationIndex < 0 || ARelationIndex >= FRelations->GetCount()) return nullptr;
  TcxDetailObject* obj = FRelations->GetDetailObject(ARecordIndex);
  if (!obj) return nullptr;
  if (TcxDetailInfoObject* info = obj->GetInfoObject(ARelationIndex); info && info->Link) return info->Link.get();
  if (FCreatingDetail) return nullptr;
  const unsigned long long serial = obj->GetSerial();
  TcxCustomDataController* pattern = GetPatternDataController();
  const bool patternWas = pattern->FCreatingDetail;
  FCreatingDetail = pattern->FCreatingDetail = true;
  TcxDataListenerLink guard(this);
  std::unique_ptr<TObject> link;
  {
    TScopeExit restore([&] {
      if (!guard.DataController) return;
      FCreatingDetail = false;
      pattern->FCreatingDetail = patternWas;
    });
    link.reset(CreateDetailLinkObject(FRelations->Items(ARelationIndex), ARecordIndex));
  }
  if (!guard.DataController) return nullptr;
  // The record may have gone or its details been rebuilt meanwhile.
  if (ARecordIndex >= GetRecordCount() || !FRelations || ARelationIndex >= FRelations->GetCount()) return nullptr;
  obj = FRelations->GetDetailObject(ARecordIndex);
  if (!obj || obj->GetSerial() != serial) return nullptr;
  if (!link) {
    if (FCreatingDetailRetry) return nullptr;
    FCreatingDetailRetry = true;
    TObject* result = nullptr;
    TScopeExit undo([&] {
      if (guard.DataController) FCreatingDetailRetry = false;
    });
    result = GetDetailLinkObject(ARecordIndex, ARelationIndex);
    return result;
  }
  TcxDetailInfoObject* info = obj->GetOrCreateInfoObject(ARelationIndex);
  info->Link = std::move(link);
  return info->Link.get();
}

TcxCustomDataController* TcxCustomDataController::GetDetailDataController(int ARecordIndex, int ARelationIndex)
{
  TObject* link = GetDetailLinkObject(ARecordIndex, ARelationIndex);
  return link ? GetDetailDataControllerByLinkObject(link) : nullptr;
}

bool TcxCustomDataController::HasDetailDataController(int ARecordIndex, int ARelationIndex)
{
  if (!FRelations || ARecordIndex < 0 || ARecordIndex >= GetRecordCount()) return false;
  return FRelations->HasDetailInfo(ARecordIndex, ARelationIndex);
}

TcxCustomDataController* TcxCustomDataController::GetRootDataController()
{
  TcxCustomDataController* c = this;
  while (TcxCustomDataController* master = c->GetMasterDataController()) c = master;
  return c;
}

void TcxCustomDataController::ForEachDetail(TcxCustomDataRelation* ARelation,
                                            const std::function<void(TcxCustomDataController* ADetail)>& AProc)
{
  if (!ARelation || !ARelation->GetDataController()) return;
  // The path of relation indexes from the root down to ARelation.
  std::vector<int> path;
  TcxCustomDataController* c = ARelation->GetDataController();
  path.push_back(ARelation->GetIndex());
  while (TcxCustomDataRelation* up = c->GetMasterRelation()) {
    if (!up->GetDataController()) break;
    path.insert(path.begin(), up->GetIndex());
    c = up->GetDataController();
  }
  std::vector<TcxCustomDataController*> level{c};
  for (int relationIndex : path) {
    std::vector<TcxCustomDataController*> next;
    for (TcxCustomDataController* m : level)
      for (int r = 0; r < m->GetRecordCount(); ++r)
        if (TcxCustomDataController* d = m->FindDetailDataController(r, relationIndex)) next.push_back(d);
    level = std::move(next);
  }
  for (TcxCustomDataController* d : level) AProc(d);
}

bool TcxCustomDataController::ResetRecordsHasChildren()
{
  bool any = false;
  if (!FRelations) return any;
  for (int r = 0; r < GetRecordCount(); ++r)
    if (TcxDetailObject* obj = FRelations->GetDetailObject(r)) any = obj->ResetHasChildren() || any;
  return any;
}

void TcxCustomDataController::ResetDetailHasChildren(TObject* ARelationItem)
{
  GetRootDataController()->DoResetDetailHasChildren(ARelationItem);
}

void TcxCustomDataController::DoResetDetailHasChildren(TObject* ARelationItem)
{
  if (!FRelations) return;
  if (FRelations->FindByItem(ARelationItem)) {
    ResetRecordsHasChildren();
    return;
  }
  for (int r = 0; r < GetRecordCount(); ++r)
    for (int i = 0; i < FRelations->GetCount(); ++i)
      if (TcxCustomDataController* d = FindDetailDataController(r, i)) d->DoResetDetailHasChildren(ARelationItem);
}

void TcxCustomDataController::CheckDetails()
{
  if (ResetRecordsHasChildren()) AddChange(cxDataChange::Layout);
}

void TcxCustomDataController::RelationRemoved(TcxCustomDataRelation* ARelation)
{
  if (FDestroying || !FRelations) return;
  const int index = FRelations->IndexOf(ARelation);
  if (index < 0) return;
  for (int r = 0; r < GetRecordCount(); ++r)
    if (TcxCustomDataController* d = FindDetailDataController(r, index)) d->SetMasterRelation(nullptr, -1);
}

void TcxCustomDataController::ShiftDetailMasterIndexes(int AFrom, int ADelta)
{
  if (!FRelations || !FRelations->GetDetailField()) return;
  for (int r = std::max(AFrom, 0); r < GetRecordCount(); ++r)
    for (int i = 0; i < FRelations->GetCount(); ++i)
      if (TcxCustomDataController* d = FindDetailDataController(r, i))
        if (d->FMasterRelation) d->FMasterRecordIndex += ADelta;
}

void TcxCustomDataController::LayoutChanged(TcxCustomDataRelation* ARelation)
{
  if (IsDestroying()) return;
  AddChange(cxDataChange::Data);
}

PELTO_DEFINE_CLASS(TcxDataControllerNotifier)
