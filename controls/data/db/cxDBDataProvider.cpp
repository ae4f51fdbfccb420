#include "controls/data/db/cxDBDataProvider.h"

#include <algorithm>

#include "controls/data/db/cxDB.h"
#include "controls/data/db/cxDBDataController.h"
#include "controls/data/cxDataConsts.h"
#include "controls/data/cxDataUtils.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Guards.h"

namespace cxDBData {

namespace {
// Created with the first provider, freed with the last.
std::vector<TcxDBDataProvider*>* Providers = nullptr;
const std::vector<TcxDBDataProvider*> NoProviders;
}  // namespace

const std::vector<TcxDBDataProvider*>& DBDataProviders() { return Providers ? *Providers : NoProviders; }

}  // namespace cxDBData

namespace {

Variant FieldValue(const TField* AField) { return AField->IsNull() ? Variant::Null() : AField->GetValue(); }

}  // namespace

// ---- TcxDBDataField --------------------------------------------------------------------------

TcxDBDataField::~TcxDBDataField()
{
  if (FParentField) FParentField->RemoveField(this);
  ClearFields();
}

const TcxDBDataField* TcxDBDataField::Target() const
{
  auto* ref = dynamic_cast<const TcxDBDataField*>(GetReference());
  return ref ? ref : this;
}

TField* TcxDBDataField::GetField() const { return Target()->FField; }

int TcxDBDataField::FieldCount() const { return static_cast<int>(Target()->FSubFields.size()); }

TcxDBDataField* TcxDBDataField::Fields(int AIndex) const
{
  return Target()->FSubFields.at(static_cast<size_t>(AIndex));
}

void TcxDBDataField::SetField(TField* Value)
{
  if (GetReference()) return;
  if (Value && Value->GetComponentState().Contains(csDestroying)) Value = nullptr;
  if (FField == Value) return;
  ClearFields();
  FField = Value;
  // The notifier is never taken off a field: another data field may be bound to it too.
  if (FField && GetDataController()) FField->FreeNotification(GetDataController()->GetNotifier());
}

bool TcxDBDataField::IsLookup() const
{
  TField* f = GetField();
  return f && f->GetLookup();
}

void TcxDBDataField::AddField(TcxDBDataField* ASubField)
{
  if (std::find(FSubFields.begin(), FSubFields.end(), ASubField) != FSubFields.end()) return;
  if (ASubField->FParentField) throw Exception("ADataField.FParentField <> nil");
  FSubFields.push_back(ASubField);
  ASubField->FParentField = this;
}

void TcxDBDataField::RemoveField(TcxDBDataField* ASubField)
{
  auto it = std::find(FSubFields.begin(), FSubFields.end(), ASubField);
  if (it == FSubFields.end()) return;
  FSubFields.erase(it);
  ASubField->FParentField = nullptr;
}

void TcxDBDataField::ClearFields()
{
  while (!FSubFields.empty()) {
    TcxDBDataField* f = FSubFields.back();
    FSubFields.pop_back();
    f->FParentField = nullptr;
    FreeDataField(f);
  }
}

void TcxDBDataField::TakeOver(TcxCustomDataField* ASource)
{
  TcxCustomDataField::TakeOver(ASource);
  auto* src = dynamic_cast<TcxDBDataField*>(ASource);
  if (!src) return;
  FField = src->FField;
  src->FField = nullptr;
  FSubFields = std::move(src->FSubFields);
  src->FSubFields.clear();
  for (auto* f : FSubFields) f->FParentField = this;
}

void TcxDBDataField::ComponentRemoved(TComponent* AComponent)
{
  if (GetReference()) return;
  TcxCustomDataField::ComponentRemoved(AComponent);
  if (AComponent != FField) return;
  auto* provider = dynamic_cast<TcxDBDataProvider*>(GetDataController()->GetProvider());
  if (provider && provider->InFirst && provider->GetDataLink()->GetActive() && provider->GetDataSet() &&
      !provider->GetDataSet()->GetActive())
    provider->FieldsRecreated = true;
  ClearFields();
  FField = nullptr;
}

bool TcxDBDataField::IsInternalValueDef() const
{
  return !GetField() || (GetDataController() && GetDataController()->IsGridMode());
}

bool TcxDBDataField::CanModify(int AEditValueSource) const
{
  TField* f = GetField();
  if (!f) return false;
  if (!IsLookup()) return cxDB::CanModifyField(f, AEditValueSource == 0);
  if (AEditValueSource != 2) return false;
  for (int i = 0; i < FieldCount(); ++i)
    if (!Fields(i)->CanModify(0)) return false;
  return true;
}

// ---- TcxValueDefDBReader ---------------------------------------------------------------------

TField* TcxValueDefDBReader::FieldOf(TcxValueDef* AValueDef)
{
  auto* f = dynamic_cast<TcxDBDataField*>(AValueDef->GetLinkedObject());
  return f ? f->GetField() : nullptr;
}

Variant TcxValueDefDBReader::ValueFor(TcxValueDef* AValueDef)
{
  TField* f = FieldOf(AValueDef);
  return f ? FieldValue(f) : TcxValueDefReader::ValueFor(AValueDef);
}

AnsiString TcxValueDefDBReader::DisplayTextFor(TcxValueDef* AValueDef)
{
  TField* f = FieldOf(AValueDef);
  return f ? f->GetDisplayText() : TcxValueDefReader::DisplayTextFor(AValueDef);
}

// ---- TcxDBDataLink ---------------------------------------------------------------------------

TcxDBDataLink::TcxDBDataLink(TcxDBDataProvider* AProvider) : FProvider(AProvider)
{
  SetVisualControl(true);  // disabled controls silence it
}

void TcxDBDataLink::ActiveChanged()
{
  TValueGuard scope(FProvider->AssigningFields, true);
  FProvider->ActiveChanged(GetActive());
}

void TcxDBDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
  TDataLink::DataEvent(Event, Info);
  // A changed field list is caught up as a layout change by the next data-set change. (Enabling
  // the controls again is no layout change: taking it for one reloaded every controller of the
  // dataset after each freeze, and freed detail clones in the middle of their own load.)
  if (Event == deFieldListChange) FLayoutChangedFlag = true;
}

void TcxDBDataLink::DataSetChanged()
{
  if (FLayoutChangedFlag) {
    LayoutChanged();
    return;
  }
  FProvider->DataSetChanged();
}

void TcxDBDataLink::DataSetScrolled(Integer Distance) { FProvider->DataScrolled(Distance); }

void TcxDBDataLink::EditingChanged() { FProvider->EditingChanged(); }

void TcxDBDataLink::FocusControl(TField** Field)
{
  if (!Field || !*Field) return;
  TcxDBDataController* c = FProvider->DataController();
  for (int i = 0; i < c->GetItemCount(); ++i) {
    auto* f = dynamic_cast<TcxDBDataField*>(c->GetFields()->Items(i));
    if (f && !f->GetInternal() && f->GetField() == *Field) {
      if (c->FocusItem(i)) *Field = nullptr;  // handled: no other control is asked
      return;
    }
  }
}

void TcxDBDataLink::LayoutChanged()
{
  FProvider->LayoutChanged();
  FLayoutChangedFlag = false;
}

void TcxDBDataLink::RecordChanged(TField* Field) { FProvider->RecordChanged(Field); }

void TcxDBDataLink::UpdateData()
{
  if (FProvider->IsChanging()) FProvider->DataController()->SaveEditorValue();
  FProvider->ResetChanging();
}

// ---- TcxDBDataProvider: construction ----------------------------------------------------------

TcxDBDataProvider::TcxDBDataProvider(TcxCustomDataController* ADataController) : TcxCustomDataProvider(ADataController)
{
  if (!cxDBData::Providers) cxDBData::Providers = new std::vector<TcxDBDataProvider*>();
  cxDBData::Providers->push_back(this);
  FDataLink = std::make_unique<TcxDBDataLink>(this);
}

TcxDBDataProvider::~TcxDBDataProvider()
{
  for (auto* p : cxDBData::DBDataProviders()) {
    auto& list = p->FPendingProviders;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FPendingProviders.clear();
  FDataLink.reset();
  auto& all = *cxDBData::Providers;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  if (all.empty()) {
    delete cxDBData::Providers;
    cxDBData::Providers = nullptr;
  }
}

TcxDBDataController* TcxDBDataProvider::DataController() const
{
  return static_cast<TcxDBDataController*>(GetDataController());
}

TDataSet* TcxDBDataProvider::GetDataSet() const { return FDataLink ? FDataLink->GetDataSet() : nullptr; }

void TcxDBDataProvider::SetDataSource(TDataSource* ADataSource)
{
  if (FDataLink->GetDataSource() != ADataSource) FDataLink->SetDataSource(ADataSource);
}

std::vector<TcxDBDataProvider*> TcxDBDataProvider::ProvidersOfDataSet() const
{
  std::vector<TcxDBDataProvider*> result;
  TDataSet* ds = GetDataSet();
  if (!ds) return result;
  for (auto* p : cxDBData::DBDataProviders())
    if (p->GetDataSet() == ds) result.push_back(p);
  return result;
}

TField* TcxDBDataProvider::FieldOf(TcxCustomDataField* AField) const
{
  auto* f = dynamic_cast<TcxDBDataField*>(AField);
  return f ? f->GetField() : nullptr;
}

bool TcxDBDataProvider::BookmarkValid(const AnsiString& ABookmark) const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetActive() && !ABookmark.empty() && ds->BookmarkValid(ABookmark);
}

int TcxDBDataProvider::CompareBookmarks(const AnsiString& A, const AnsiString& B) const
{
  if (!FDataLink->GetActive()) return -1;
  return GetDataSet()->CompareBookmarks(A, B);
}

// ---- modes ----------------------------------------------------------------------------------

bool TcxDBDataProvider::IsGridMode() const
{
  const auto* c = DataController();
  return c->GetDataModeController()->GetGridMode() && !IsUniDirectional() && !GroupedFlag && !c->IsPattern();
}

bool TcxDBDataProvider::IsUniDirectional() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetIsUniDirectional();
}

bool TcxDBDataProvider::IsSyncMode() const
{
  TDataSet* ds = GetDataSet();
  const auto* c = DataController();
  const auto* mode = c->GetDataModeController();
  const bool base = ds && ds->GetActive() && (IsGridMode() || mode->GetSyncMode()) && !IsUniDirectional();
  if (!c->IsDetailMode()) return base;
  if (!mode->DetailInSyncMode) return false;
  if (mode->DetailInSQLMode) return base && IsDetailCurrent();
  if (!IsKeyNavigation() && !IsGridMode()) return false;
  return base;
}

bool TcxDBDataProvider::IsKeyNavigation() const { return DataController()->IsKeyNavigation(); }

bool TcxDBDataProvider::IsSmartRefresh() const
{
  return IsKeyNavigation() && !IsGridMode() && DataController()->GetDataModeController()->GetSmartRefresh();
}

bool TcxDBDataProvider::IsSyncInsert() const
{
  return !DataController()->IsPattern() && DataController()->GetDataModeController()->SyncInsert;
}

bool TcxDBDataProvider::IsOtherProviderInserting() const
{
  for (auto* p : ProvidersOfDataSet())
    if (p != this && p->InInsertOrAppend) return true;
  return false;
}

int TcxDBDataProvider::GetGridModeBufferCount() const
{
  const int n = DataController()->GetDataModeController()->GetGridModeBufferCount();
  return n != 0 ? n : DataController()->GetDefaultGridModeBufferCount();
}

// ---- state answers --------------------------------------------------------------------------

bool TcxDBDataProvider::IsActive() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetActive();
}

bool TcxDBDataProvider::IsActiveDataSet() const { return IsActive() && !GetDataSet()->ControlsDisabled(); }

bool TcxDBDataProvider::HasFields() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetFields().GetCount() > 0 && (ds->GetActive() || !ds->GetDefaultFields());
}

bool TcxDBDataProvider::IsBOF() const
{
  TDataSet* ds = GetDataSet();
  return !ds || ds->GetBof();
}

bool TcxDBDataProvider::IsEOF() const
{
  TDataSet* ds = GetDataSet();
  if (!ds) return true;
  auto* c = DataController();
  if (!c->IsDetailMode() || IsGridMode()) return ds->GetEof();
  const Variant& keys = c->GetMasterDetailKeyValues();
  if (keys.IsEmpty() || ds->GetEof()) return true;
  if (DB::IsEditState(ds->GetState())) return false;
  Variant current;
  cxDB::GetFieldValues(ds, c->GetDetailKeyFieldList(), current);
  return !cxVariants::VarValuesEqual(current, keys);
}

bool TcxDBDataProvider::IsEditing() const
{
  TDataSet* ds = GetDataSet();
  return ds && DB::IsEditState(ds->GetState());
}

bool TcxDBDataProvider::IsInserting() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetState() == dsInsert;
}

bool TcxDBDataProvider::IsModified() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetModified();
}

bool TcxDBDataProvider::CanModify() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetActive() && ds->GetCanModify() && IsSyncMode();
}

bool TcxDBDataProvider::CanDelete() const { return CanModify() && !GetDataSet()->IsEmpty(); }

bool TcxDBDataProvider::CanInitEditing(int ARecordIndex)
{
  bool result;
  {
    TValueGuard scope(InCanInitEditing, true);
    result = FDataLink->Edit();
  }
  if (result) SetChanging();
  return result;
}

// ---- cursor ---------------------------------------------------------------------------------

void TcxDBDataProvider::First()
{
  TValueGuard scope(InFirst, true);
  FieldsRecreated = false;
  TDataSet* ds = GetDataSet();
  if (!ds) return;
  auto* c = DataController();
  if (!c->IsDetailMode() || IsGridMode()) {
    ds->First();
    return;
  }
  const Variant& keys = c->GetMasterDetailKeyValues();
  if (keys.IsEmpty()) return;
  bool reopened = false;
  c->GetDataModeController()->DoDetailFirst(c->GetLinkedDetailKeyFieldNames(), keys, reopened);
  if (reopened) SavePos();
  SetDetailPositioned(true);
}

void TcxDBDataProvider::Prior()
{
  if (TDataSet* ds = GetDataSet()) ds->Prior();
}

void TcxDBDataProvider::Next()
{
  if (TDataSet* ds = GetDataSet()) ds->Next();
}

void TcxDBDataProvider::Last()
{
  if (TDataSet* ds = GetDataSet()) ds->Last();
}

void TcxDBDataProvider::MoveBy(int ADistance)
{
  if (TDataSet* ds = GetDataSet()) ds->MoveBy(ADistance);
}

void TcxDBDataProvider::Scroll(int ADistance)
{
  TDataSet* ds = GetDataSet();
  if (!IsGridMode() || !ds || !ds->GetActive() || ADistance == 0) return;
  // Counted from the edge of the buffered window.
  if (ADistance < 0)
    ADistance -= FDataLink->GetActiveRecord();
  else
    ADistance += FDataLink->GetRecordCount() - FDataLink->GetActiveRecord() - 1;
  ds->MoveBy(ADistance);
  DataController()->SetFocusedRowSelected(true);
}

void TcxDBDataProvider::SavePos()
{
  TDataSet* ds = GetDataSet();
  if (!ds || !ds->GetActive()) {
    FSavedBookmark.clear();
    return;
  }
  FSavedBookmark = ds->GetBookmark();
  FSavedActiveRecord = FDataLink->GetActiveRecord();
  FSavedBOF = ds->GetBof();
  FSavedEOF = ds->GetEof();
}

void TcxDBDataProvider::RestorePos()
{
  TDataSet* ds = GetDataSet();
  if (!ds || FSavedBookmark.empty() || !BookmarkValid(FSavedBookmark)) return;
  try {
    ds->GotoBookmark(FSavedBookmark);
    const int buffer = FDataLink->GetBufferCount();
    const int active = FDataLink->GetActiveRecord();
    // Back to the same row of the window it stood in.
    if (active > FSavedActiveRecord) {
      ds->MoveBy(buffer - 1 - FSavedActiveRecord);
      ds->MoveBy(FSavedActiveRecord - buffer + 1);
    } else if (active < FSavedActiveRecord) {
      ds->MoveBy(-FSavedActiveRecord);
      ds->MoveBy(FSavedActiveRecord);
    }
    if (FSavedBOF && !ds->GetBof()) ds->Prior();
    if (FSavedEOF && !ds->GetEof()) ds->Next();
  } catch (const EDatabaseError&) {
    // The dataset stays where it got to.
  }
}

// ---- editing --------------------------------------------------------------------------------

void TcxDBDataProvider::Edit()
{
  if (TDataSet* ds = GetDataSet()) ds->Edit();
}

void TcxDBDataProvider::Post()
{
  if (TDataSet* ds = GetDataSet()) {
    if (IsChanging()) DataController()->SaveEditorValue();
    ds->Post();
  }
}

void TcxDBDataProvider::Cancel()
{
  if (TDataSet* ds = GetDataSet()) ds->Cancel();
}

void TcxDBDataProvider::Delete()
{
  TDataSet* ds = GetDataSet();
  if (!ds) return;
  auto* c = DataController();
  if (!IsSmartRefresh()) {
    ds->Delete();
    return;
  }
  DeletingRecordIndex = c->GetFocusedRecordIndex();
  if (DeletingRecordIndex == -1) return;
  ds->Delete();
  if (IsSmartRefresh() && DeletingRecordIndex != -1 && DeletingRecordIndex < c->GetRecordCount()) {
    const int r = DeletingRecordIndex;
    DeletingRecordIndex = -1;
    c->DeleteRecord(r);
    c->SyncDataSetPos();
  }
  DeletingRecordIndex = -1;
}

void TcxDBDataProvider::DeleteRecords(const std::vector<int>& AList)
{
  TDataSet* ds = GetDataSet();
  if (!ds || AList.empty()) return;
  auto* c = DataController();
  TControlsGuard disabled(*ds);
  if (IsKeyNavigation()) {
    std::vector<TcxCustomDataField*> keyFields;
    c->GetKeyFields(keyFields);
    std::vector<Variant> keys;
    for (int r : AList) keys.push_back(c->GetRecordKeyValue(r, keyFields));
    const bool smart = IsSmartRefresh();
    for (int i = static_cast<int>(keys.size()) - 1; i >= 0; --i) {
      if (!ds->Locate(c->GetKeyFieldNames(), keys[static_cast<size_t>(i)])) continue;
      if (smart) {
        const int r = c->LocateRecordIndex();
        if (r == -1) continue;
        ds->Delete();
        c->DeleteRecord(r);
      } else {
        ds->Delete();
      }
    }
    if (smart) c->SyncDataSetPos();
    return;
  }
  if (IsGridMode()) {
    // Rows of the buffer: their bookmarks are taken first, as each deletion refills the window.
    std::vector<AnsiString> bookmarks;
    for (int row : AList) bookmarks.push_back(c->GetRowBookmark(row));
    for (int i = static_cast<int>(bookmarks.size()) - 1; i >= 0; --i) {
      const AnsiString& b = bookmarks[static_cast<size_t>(i)];
      if (b.empty() || !ds->BookmarkValid(b)) continue;
      ds->GotoBookmark(b);
      ds->Delete();
    }
  }
}

void TcxDBDataProvider::DeleteSelection()
{
  auto* c = DataController();
  TDataSet* ds = GetDataSet();
  if (!IsGridMode() || !ds) {
    TcxCustomDataProvider::DeleteSelection();
    return;
  }
  TControlsGuard disabled(*ds);
  auto& bookmarks = c->GetDBSelection()->Bookmarks;
  for (int i = static_cast<int>(bookmarks.size()) - 1; i >= 0; --i) {
    const AnsiString b = bookmarks[static_cast<size_t>(i)];
    if (ds->BookmarkValid(b)) {
      ds->GotoBookmark(b);
      ds->Delete();
    }
    bookmarks.erase(bookmarks.begin() + i);
  }
}

void TcxDBDataProvider::UpdateData() { FDataLink->UpdateRecord(); }

Variant TcxDBDataProvider::FetchEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource)
{
  TField* f = FieldOf(AField);
  if (!f) return Variant::Null();
  if (AEditValueSource == 1) return Variant(f->GetText());
  if (AEditValueSource == 2 && f->GetLookup() && !f->GetKeyFields().empty())
    return GetDataSet()->GetFieldValues(f->GetKeyFields());
  return FieldValue(f);
}

bool TcxDBDataProvider::StoreEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource,
                                       const Variant& AValue)
{
  TField* f = FieldOf(AField);
  if (!f) return false;
  if (AEditValueSource == 1 || f->OnSetText)
    f->SetText(Variants::VarToStr(AValue));
  else if (AEditValueSource == 2 && f->GetLookup() && !f->GetKeyFields().empty())
    GetDataSet()->SetFieldValues(f->GetKeyFields(), AValue);
  else
    f->SetValue(AValue);
  return true;
}

void TcxDBDataProvider::AssignItemValue(int ARecordIndex, TcxCustomDataField* AField, const Variant& AValue)
{
  TField* f = FieldOf(AField);
  if (!f) return;
  if (f->GetLookup() && !f->GetKeyFields().empty())
    GetDataSet()->SetFieldValues(f->GetKeyFields(), AValue);
  else
    f->SetValue(AValue);
}

void TcxDBDataProvider::InitInsertingRecord(int ARecordIndex, const std::vector<Variant>& AGroupValues)
{
  auto* c = DataController();
  if (InInsertOrAppend || InCanInitEditing || IsOtherProviderInserting()) {
    TcxCustomDataProvider::InitInsertingRecord(ARecordIndex, AGroupValues);
    if (c->GetOptions().Contains(dcoAssignMasterDetailKeys) && c->IsDetailMode() &&
        !c->GetMasterDetailKeyValues().IsEmpty() && IsEditing())
      cxDB::SetFieldValues(GetDataSet(), c->GetDetailKeyFieldList(), c->GetMasterDetailKeyValues());
    c->InitInsertingRecordHook(ARecordIndex);
  }
  c->BeginUpdateRecord();
}

void TcxDBDataProvider::DoInsertOrAppend(bool AAppend)
{
  TDataSet* ds = GetDataSet();
  if (!ds) return;
  TValueGuard scope(InInsertOrAppend, true);
  if (DB::IsEditState(ds->GetState())) {
    if (!IsSmartRefresh() && ds->GetState() == dsInsert) ds->CheckBrowseMode();
    if (DB::IsEditState(ds->GetState())) {
      TControlsGuard disabled(*ds);
      if (IsSmartRefresh()) {
        UpdateData();
        if (ds->GetModified())
          ds->Post();
        else
          ds->Cancel();
        SmartRefreshRecord();
        ResetUpdatingRecord();
      } else {
        ds->CheckBrowseMode();
      }
    }
  }
  FAppending = AAppend;
  if (AAppend)
    ds->Append();
  else
    ds->Insert();
}

void TcxDBDataProvider::TakeOverInsert()
{
  if (FInTakeOver || IsEditing() == false) return;
  // Our own insert knows whether it appends; another's appends at the dataset's end.
  const bool append = InInsertOrAppend ? FAppending : GetDataSet()->GetEof();
  TValueGuard scope(FInTakeOver, true);
  TValueGuard inserting(InInsertOrAppend, true);
  TcxCustomDataProvider::DoInsert(append);
}

void TcxDBDataProvider::BeginLocate()
{
  TcxCustomDataProvider::BeginLocate();
  if (IsEditing()) MarkReloadAfterCancel();
}

void TcxDBDataProvider::Freeze()
{
  TcxCustomDataProvider::Freeze();
  TDataSet* ds = GetDataSet();
  if (!ds) return;
  ds->DisableControls();
  if (ds->GetActive() && DB::IsEditState(ds->GetState())) {
    MarkReloadAfterCancel();
    ds->Cancel();
  }
}

void TcxDBDataProvider::Unfreeze()
{
  if (TDataSet* ds = GetDataSet()) {
    TScopeExit undo([&] { TcxCustomDataProvider::Unfreeze(); });
    ds->EnableControls();
    undo.Dismiss();
  }
  TcxCustomDataProvider::Unfreeze();
  if (FreezeDepth == 0) ServePendingProviders();
}

// ---- grid-mode buffer -----------------------------------------------------------------------

Variant TcxDBDataProvider::GetBufferValue(int ARecordIndex, TcxCustomDataField* AField)
{
  TField* f = FieldOf(AField);
  if (!f || !FDataLink->GetActive()) return Variant::Null();
  if (IsGridMode() && ARecordIndex >= 0 && ARecordIndex < FDataLink->GetRecordCount()) {
    const int old = FDataLink->GetActiveRecord();
    FDataLink->SetActiveRecord(ARecordIndex);
    Variant v;
    TScopeExit undo([&] { FDataLink->SetActiveRecord(old); });
    v = FieldValue(f);
    return v;
  }
  if (IsInserting() || ReadingCurrentRecord) return FieldValue(f);
  return Variant::Null();
}

AnsiString TcxDBDataProvider::GetBufferDisplayText(int ARecordIndex, TcxCustomDataField* AField)
{
  TField* f = FieldOf(AField);
  if (!f || !FDataLink->GetActive()) return AnsiString();
  if (IsGridMode() && ARecordIndex >= 0 && ARecordIndex < FDataLink->GetRecordCount()) {
    const int old = FDataLink->GetActiveRecord();
    FDataLink->SetActiveRecord(ARecordIndex);
    AnsiString s;
    TScopeExit undo([&] { FDataLink->SetActiveRecord(old); });
    s = f->GetDisplayText();
    return s;
  }
  if (IsInserting() || ReadingCurrentRecord) return f->GetDisplayText();
  return AnsiString();
}

void TcxDBDataProvider::LoadRecordHandles()
{
  auto* c = DataController();
  c->GetStorage()->Clear(false);
  if (!IsGridMode() || !FDataLink->GetActive()) return;
  FDataLink->SetBufferCount(GetGridModeBufferCount());
  c->GetStorage()->SetRecordCount(FDataLink->GetRecordCount());
  CurrentRecordIndex = FDataLink->GetActiveRecord();
}

void TcxDBDataProvider::UpdateGridModeBufferCount()
{
  if (!FDataLink->GetActive()) return;
  auto* c = DataController();
  FDataLink->SetBufferCount(GetGridModeBufferCount());
  CurrentRecordIndex = FDataLink->GetActiveRecord();
  if (c->GetRecordCount() == FDataLink->GetRecordCount()) {
    DataChanged(1, -1, -1);
    c->SyncDataSetPos();
  } else {
    DataChanged(4, -1, -1);
  }
}

// ---- loading --------------------------------------------------------------------------------

void TcxDBDataProvider::LoadRecords()
{
  auto* c = DataController();
  TcxDataStorage* storage = c->GetStorage();
  TDataSet* ds = GetDataSet();
  if (!ds || !ds->GetActive()) return;
  Freeze();
  TScopeExit undo([&] { Unfreeze(); });
  SavePos();
  First();
  if (FieldsRecreated) c->UpdateFields();
  TcxValueDefDBReader reader;
  CurrentRecordIndex = -1;
  while (!IsEOF()) {
    const int r = storage->AppendRecord();
    storage->LoadRecord(r, &reader, false);
    if (CurrentRecordIndex == -1) CorrectRecordIndex(r);
    ds->Next();
  }
  RestorePos();
}

void TcxDBDataProvider::CorrectRecordIndex(int ARecordIndex)
{
  if (IsKeyNavigation() || FSavedBookmark.empty()) return;
  TDataSet* ds = GetDataSet();
  if (ds->GetBookmark() == FSavedBookmark) CurrentRecordIndex = ARecordIndex;
}

int TcxDBDataProvider::GetActiveRecordIndex() const
{
  if (IsInserting()) {
    if (!InGridModeDataSetChanged) return EditedRecord;
    if (DataController()->GetNewItemRowEnabled()) return DataController()->GetNewItemRecordIndex();
  }
  return CurrentRecordIndex;
}

// ---- notifications --------------------------------------------------------------------------

void TcxDBDataProvider::DataChanged(int AKind, int AItemIndex, int ARecordIndex)
{
  auto* c = DataController();
  if (FreezeDepth != 0) return;
  if (AKind == 4)
    c->ReloadData(1);
  else
    c->DataChanged(AKind, AItemIndex, ARecordIndex);
}

void TcxDBDataProvider::ActiveChanged(bool AActive)
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  TDataSet* ds = GetDataSet();
  TValueGuard scope(InActiveChanged, true);
  if (!AActive) ResetEditing();
  if (!AActive && ds && ds->GetDefaultFields()) c->ResetFields();
  c->ActiveChanged(AActive);
  if (AActive) SyncFocus();
}

void TcxDBDataProvider::LayoutChanged()
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  for (auto* p : ProvidersOfDataSet()) {
    if (p->FreezeDepth > 0 && p->DataController()->IsDetailMode()) {
      if (IsActiveDataSet()) c->UpdateFields();
      return;
    }
  }
  c->ReloadData(1);
  SyncFocus();
}

void TcxDBDataProvider::DataScrolled(int ADistance)
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  if (IsGridMode()) {
    CurrentRecordIndex = FDataLink->GetActiveRecord();
    if (ADistance != 0) {
      c->GridModeBufferScrolled();
      // The window shows other records now.
      if (c->GetRecordCount() == FDataLink->GetRecordCount())
        c->DataChanged(1, -1, -1);
      else
        c->ReloadData(1);
    }
  } else if (TDataSet* ds = GetDataSet();
             ds && !c->IsDetailMode() && !IsInserting() && ds->GetRecordCount() == c->GetRecordCount()) {
    // Every record was loaded in the dataset's order: its position says which one it is, also
    // after moves that nobody heard of while the controls were disabled.
    CurrentRecordIndex = ds->GetRecNo() - 1;
  } else {
    CurrentRecordIndex += ADistance;
  }
  ResetChanging();
  if (LocateDepth == 0) {
    // A move in a pattern detail's dataset (not one made by loading) brings its masters along.
    if (c->IsPattern() && IsSyncMode() && !InActiveChanged && !IsDataSetBusy()) c->SyncMasterPos();
    SyncFocus();
  }
  if (IsGridMode()) c->UpdateScrollBars();
}

void TcxDBDataProvider::SyncFocus()
{
  auto* c = DataController();
  if (IsSyncMode()) c->SyncDataSetPos();
}

void TcxDBDataProvider::RecordChanged(TField* AField)
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  const bool outOfSync = c->IsDetailMode() && c->GetDataModeController()->DetailInSyncMode && !IsDetailCurrent();
  if (IsEditing() && !outOfSync) c->BeginUpdateRecord();
  ResetChanging();
}

void TcxDBDataProvider::EditingChanged()
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  TDataSet* ds = GetDataSet();
  if (FDataLink->GetActive() && ds->GetState() == dsEdit) {
    SetEditingRecord();
  } else if (FDataLink->GetActive() && ds->GetState() == dsInsert) {
    if (IsGridMode() && !InInsertOrAppend) TakeOverInsert();
  } else {
    if (c->IsNewItemRecord(EditedRecord) && UpdatingInserted) {
      UpdatingNewRecordIndex = c->GetStorage()->AppendRecord();
      c->CopyRecord(EditedRecord, UpdatingNewRecordIndex);
    }
    ResetEditing();
  }
}

void TcxDBDataProvider::DataSetChanged()
{
  auto* c = DataController();
  if (c->IsUnbinding()) return;
  if (IsOtherProviderLocked() || c->IsDetailReopenPending()) return;
  TDataSet* ds = GetDataSet();
  if (IsGridMode() && c->IsDetailMode() && ds && ds->GetActive()) {
    Variant current;
    cxDB::GetFieldValues(ds, c->GetDetailKeyFieldList(), current);
    if (!cxVariants::VarValuesEqual(current, c->GetMasterDetailKeyValues())) return;
  }
  if (IsDataSetBusy()) {
    DataScrolled(0);
    return;
  }
  if (IsGridMode()) {
    TValueGuard scope(InGridModeDataSetChanged, true);
    {
      TUpdateGuard lock(*c);
      UpdateGridModeBufferCount();
      if (c->GetMultiSelect()) c->GetDBSelection()->RemoveInvalidBookmarks();
      if (c->IsFocusBookmarkGone()) c->ClearSavedFocusBookmark();
      if (IsInserting()) TakeOverInsert();
    }
    c->SyncDataSetPos();
    return;
  }
  if (!ds || !DB::IsEditState(ds->GetState())) {
    if (IsSmartRefresh()) {
      SmartRefreshRecord();
      DataScrolled(0);
    } else {
      DataChanged(4, -1, -1);
      SyncFocus();
    }
    ResetUpdatingRecord();
    return;
  }
  if (ds->GetState() == dsInsert && (!c->IsDetailMode() || IsDetailCurrent()) && IsSyncInsert() && !FInTakeOver &&
      EditedRecord == cxNullEditingRecord)
    TakeOverInsert();
}

// ---- providers sharing a dataset ----------------------------------------------------------

bool TcxDBDataProvider::IsDataSetBusy() const
{
  const bool keyOrGrid = IsKeyNavigation() || IsGridMode();
  for (auto* p : ProvidersOfDataSet()) {
    if (!(p->FreezeDepth > 0 || p->InPendingNotify || (p->LocateDepth > 0 && keyOrGrid))) continue;
    if (p->InPendingNotify) return !ReloadAfterCancel;
    if (ReloadAfterCancel) return false;
    return !(IsGridMode() && LocateDepth > 0);
  }
  return false;
}

bool TcxDBDataProvider::IsOtherProviderLocked()
{
  for (auto* p : ProvidersOfDataSet()) {
    if (p == this) continue;
    if (!(p->FreezeDepth > 0 || (p->LocateDepth > 0 && IsKeyNavigation()))) continue;
    if (p->LocateDepth == 0 || p->FreezeDepth > 0) {
      auto& list = p->FPendingProviders;
      if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
    }
    return true;
  }
  return false;
}

void TcxDBDataProvider::MarkReloadAfterCancel()
{
  for (auto* p : ProvidersOfDataSet())
    if (!p->DataController()->IsPattern()) p->ReloadAfterCancel = true;
}

void TcxDBDataProvider::ServePendingProviders()
{
  if (FServingPending) return;
  TValueGuard scope(FServingPending, true);
  while (!FPendingProviders.empty()) {
    TcxDBDataProvider* p = FPendingProviders.back();
    FPendingProviders.pop_back();
    TValueGuard notify(InPendingNotify, true);
    p->FDataLink->DoDataSetChanged();
  }
}

// ---- smart refresh --------------------------------------------------------------------------

void TcxDBDataProvider::ResetUpdatingRecord()
{
  UpdatingRecordIndex = cxNullEditingRecord;
  UpdatingNewRecordIndex = -1;
  UpdatingInserted = false;
}

void TcxDBDataProvider::SmartRefreshRecord()
{
  auto* c = DataController();
  TDataSet* ds = GetDataSet();
  if (UpdatingRecordIndex != cxNullEditingRecord && ds && ds->GetActive()) {
    int a = c->GetFocusedRecordIndex();
    if (a == UpdatingRecordIndex && a < 0 && UpdatingNewRecordIndex != -1) a = UpdatingNewRecordIndex;
    if (a == -1 && UpdatingInserted && UpdatingRecordIndex >= 0) a = UpdatingRecordIndex;
    std::vector<TcxCustomDataField*> keyFields;
    c->GetKeyFields(keyFields);
    const Variant current = c->GetCurrentKeyFieldsValue();
    const Variant recordKey = a >= 0 && a < c->GetRecordCount() ? c->GetRecordKeyValue(a, keyFields) : Variant::Null();
    if (a >= 0 && cxVariants::VarValuesEqual(recordKey, current)) {
      c->ReadRecord(a);
    } else {
      const int b = c->LocateRecordIndex();
      std::vector<TField*> dsKeys = ds->GetFieldList(c->GetKeyFieldNames());
      const bool autoIncKey = dsKeys.size() == 1 && dsKeys[0]->GetDataType() == ftAutoInc;
      if (UpdatingInserted && a >= 0 && recordKey.IsNull() && autoIncKey && b == -1) {
        // The posted insert got its key from the database: it is the followed record.
        c->ReadRecord(a);
      } else if (a >= 0 && (b == -1 || b == a)) {
        c->DeleteRecord(a);
        a = -1;
      }
    }
    if (a >= 0) c->DataChanged(1, -1, a);
  }
  c->FilterChanged();
  c->SummaryChanged(false);
  ReloadAfterCancel = false;
}

// ---- grid-mode search -----------------------------------------------------------------------

bool TcxDBDataProvider::LocateByText(int AItemIndex, const AnsiString& ASubText, bool AForward, bool ANext)
{
  TDataSet* ds = GetDataSet();
  auto* c = DataController();
  if (IsEditing() || !ds || !ds->GetActive() || (ds->GetBof() && ds->GetEof())) return false;
  TcxCustomDataField* field = c->GetFields()->Items(AItemIndex);
  TField* f = FieldOf(field);
  if (!f) return false;
  auto matches = [&] {
    TValueGuard reading(ReadingCurrentRecord, true);
    return cxDataUtils::AnsiTextMatches(f->GetDisplayText(), ASubText, true);
  };
  if (!ANext && matches()) {
    c->SyncDataSetPos();
    return true;
  }
  bool found = false;
  Freeze();
  {
    TScopeExit undo([&] { Unfreeze(); });
    SavePos();
    const AnsiString start = ds->GetBookmark();
    auto step = [&] {
      if (AForward)
        ds->Next();
      else
        ds->Prior();
    };
    auto atEnd = [&] { return AForward ? ds->GetEof() : ds->GetBof(); };
    bool wrapped = false;
    if (ANext) step();
    while (true) {
      if (atEnd()) {
        if (ANext || wrapped) break;
        wrapped = true;
        if (AForward)
          ds->First();
        else
          ds->Last();
      }
      if (wrapped && ds->GetBookmark() == start) break;
      if (matches()) {
        found = true;
        break;
      }
      step();
    }
    if (!found) RestorePos();
  }
  if (found) {
    c->SetFocusedRowSelected(true);
    c->AddChange(cxDataChange::Layout);
  }
  return found;
}

// ---- master-detail --------------------------------------------------------------------------

void TcxDBDataProvider::SetDetailPositioned(bool AValue)
{
  if (FDetailPositioned == AValue) return;
  auto* c = DataController();
  if (AValue && c->GetMasterRelation()) {
    // The shared detail dataset stands for one clone at a time.
    c->GetRootDataController()->ForEachDetail(c->GetMasterRelation(), [&](TcxCustomDataController* ADetail) {
      auto* d = dynamic_cast<TcxDBDataController*>(ADetail);
      if (!d || d == c) return;
      auto* p = d->GetDBProvider();
      if (!p->FDetailPositioned) return;
      d->SetInDetailReset(true);
      p->FDetailPositioned = false;
      {
        TScopeExit undo([&] { d->SetInDetailReset(false); });
        d->ChangeFocusedRowIndex(-1);
      }
    });
  }
  FDetailPositioned = AValue;
  c->DetailFirstChanged(AValue);
}

bool TcxDBDataProvider::IsDetailCurrent() const
{
  auto* c = DataController();
  const auto* mode = c->GetDataModeController();
  if (!c->IsDetailMode() || mode->DetailInSQLMode) return FDetailPositioned;
  if (InCanInitEditing) return true;
  for (auto* p : ProvidersOfDataSet())
    if (p->InCanInitEditing) return false;
  if (InInsertOrAppend) return true;
  if ((c->GetFocusedRowIndex() != -1 || FDetailPositioned) && !IsOtherProviderInserting()) return true;
  return c->GetNewItemRowEnabled() && c->IsNewItemRowFocused() && IsInserting();
}

bool TcxDBDataProvider::GetDetailHasChildren(int ARecordIndex, int ARelationIndex)
{
  auto* c = DataController();
  auto* pattern = c->GetPatternDataController();
  auto* relations = pattern->GetRelations();
  if (ARelationIndex < 0 || ARelationIndex >= relations->GetCount()) return false;
  auto* relation = dynamic_cast<TcxDBDataRelation*>(relations->Items(ARelationIndex));
  auto* detail = relation ? dynamic_cast<TcxDBDataController*>(relation->DetailController) : nullptr;
  if (!detail) return false;
  bool hasChildren = true;
  // The relation of this controller for the same item carries this controller's key field.
  auto* own = dynamic_cast<TcxDBDataRelation*>(c->GetRelations()->FindByItem(relation->GetItem()));
  Variant keys = own ? own->GetMasterKeyValues(ARecordIndex) : Variant();
  if (c->OnDetailHasChildren) {
    c->OnDetailHasChildren(c, ARecordIndex, ARelationIndex, detail->GetLinkedDetailKeyFieldNames(), keys, hasChildren);
    return hasChildren;
  }
  auto* dp = detail->GetDBProvider();
  if (dp->IsGridMode() || detail->GetDataModeController()->DetailInSQLMode) return true;
  TDataSet* ds = detail->GetDataSet();
  if (!ds || !ds->GetActive()) return false;
  if (keys.IsEmpty()) return false;
  dp->Freeze();
  TScopeExit undo([&] { dp->Unfreeze(); });
  dp->SavePos();
  hasChildren = ds->Locate(detail->GetLinkedDetailKeyFieldNames(), keys);
  dp->RestorePos();
  return hasChildren;
}
