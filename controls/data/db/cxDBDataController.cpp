#include "controls/data/db/cxDBDataController.h"

#include <algorithm>
#include <utility>

#include "controls/data/db/cxDB.h"
#include "controls/data/db/cxDBDataAdapters.h"
#include "controls/data/db/cxDBDataSummary.h"
#include "controls/data/db/cxDBFilter.h"
#include "controls/data/cxDataConsts.h"
#include "controls/data/cxDataUtils.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Guards.h"

using namespace cxDataConsts;

// ---- TcxDBDataModeController -----------------------------------------------------------------

void TcxDBDataModeController::Assign(const TcxDBDataModeController& ASource)
{
  DetailInSQLMode = ASource.DetailInSQLMode;
  DetailInSyncMode = ASource.DetailInSyncMode;
  SetGridMode(ASource.FGridMode);
  SetGridModeBufferCount(ASource.FGridModeBufferCount);
  SetSmartRefresh(ASource.FSmartRefresh);
  SyncInsert = ASource.SyncInsert;
  SetSyncMode(ASource.FSyncMode);
  OnDetailFirst = ASource.OnDetailFirst;
  OnDetailIsCurrentQuery = ASource.OnDetailIsCurrentQuery;
}

void TcxDBDataModeController::SetGridMode(bool Value)
{
  if (FGridMode == Value) return;
  const bool was = FDataController->IsGridMode();
  FGridMode = Value;
  if (FDataController->IsGridMode() != was) FDataController->ResetData();
}

void TcxDBDataModeController::SetGridModeBufferCount(int Value)
{
  Value = std::max(Value, 0);
  if (FGridModeBufferCount == Value) return;
  FGridModeBufferCount = Value;
  FDataController->UpdateGridModeBuffer();
}

void TcxDBDataModeController::SetSmartRefresh(bool Value)
{
  if (FSmartRefresh == Value) return;
  FSmartRefresh = Value;
  if (!FDataController->IsGridMode()) FDataController->GetDBProvider()->DataScrolled(0);
}

void TcxDBDataModeController::SetSyncMode(bool Value)
{
  if (FSyncMode == Value) return;
  FSyncMode = Value;
  if (FDataController->GetDBProvider()->IsActiveDataSet()) FDataController->GetDBProvider()->DataScrolled(0);
}

bool TcxDBDataModeController::DoDetailIsCurrentQuery(const AnsiString& AMasterDetailKeyFieldNames,
                                                     const Variant& AMasterDetailKeyValues)
{
  TDataSet* ds = FDataController->GetDataSet();
  if (OnDetailIsCurrentQuery)
    return OnDetailIsCurrentQuery(this, ds, AMasterDetailKeyFieldNames, AMasterDetailKeyValues);
  return FDataController->GetDetailFilterAdapter()->IsCurrentQuery(ds, AMasterDetailKeyFieldNames,
                                                                   AMasterDetailKeyValues);
}

void TcxDBDataModeController::DoDetailFirst(const AnsiString& AMasterDetailKeyFieldNames,
                                            const Variant& AMasterDetailKeyValues, bool& AReopened)
{
  AReopened = false;
  TDataSet* ds = FDataController->GetDataSet();
  if (OnDetailFirst)
    OnDetailFirst(this, ds, AMasterDetailKeyFieldNames, AMasterDetailKeyValues, AReopened);
  else
    FDataController->GetDetailFilterAdapter()->DetailFirst(ds, AMasterDetailKeyFieldNames, AMasterDetailKeyValues,
                                                           DetailInSQLMode, AReopened);
}

// ---- TcxDBDataRelation -----------------------------------------------------------------------

TcxDBDataRelation::~TcxDBDataRelation() { FreeDataField(std::exchange(FMasterKeyField, nullptr)); }

bool TcxDBDataRelation::HasMasterLink() const
{
  auto* detail = dynamic_cast<TcxDBDataController*>(DetailController);
  return FMasterKeyField && detail && !detail->GetDetailKeyFieldNames().empty();
}

void TcxDBDataRelation::CollectMasterKeyFields(std::vector<TcxCustomDataField*>& AList) const
{
  if (!FMasterKeyField) return;
  if (FMasterKeyField->FieldCount() == 0) {
    AList.push_back(FMasterKeyField);
    return;
  }
  for (int i = 0; i < FMasterKeyField->FieldCount(); ++i) AList.push_back(FMasterKeyField->Fields(i));
}

Variant TcxDBDataRelation::GetMasterKeyValues(int AMasterRecordIndex)
{
  TcxCustomDataController* master = GetDataController();
  master->CheckRecordIndex(AMasterRecordIndex);
  if (!HasMasterLink()) return Variant();
  std::vector<TcxCustomDataField*> fields;
  CollectMasterKeyFields(fields);
  return master->GetRecordKeyValue(AMasterRecordIndex, fields);
}

void TcxDBDataRelation::UpdateMasterKeyField()
{
  auto* master = dynamic_cast<TcxDBDataController*>(GetDataController());
  if (!master) return;
  auto* detail = dynamic_cast<TcxDBDataController*>(DetailController);
  master->UpdateInternalField(detail ? detail->GetMasterKeyFieldNames() : AnsiString(), FMasterKeyField);
}

// ---- TcxDBDataFilterCriteria -----------------------------------------------------------------

TcxDBDataController* TcxDBDataFilterCriteria::DBController() const
{
  return static_cast<TcxDBDataController*>(GetDataController());
}

void TcxDBDataFilterCriteria::SetAutoDataSetFilter(bool Value)
{
  if (FAutoDataSetFilter == Value) return;
  FAutoDataSetFilter = Value;
  Changed();
}

void TcxDBDataFilterCriteria::SetIgnoreOrigin(bool Value)
{
  if (FIgnoreOrigin == Value) return;
  FIgnoreOrigin = Value;
  Changed();
}

bool TcxDBDataFilterCriteria::IsAutoDataSetFilter() const
{
  return FAutoDataSetFilter && !DBController()->GetDBProvider()->IsSmartRefresh();
}

bool TcxDBDataFilterCriteria::IsDBFiltering() const
{
  return IsFiltering() && !OnBeforeChange && !IsAutoDataSetFilter();
}

void TcxDBDataFilterCriteria::FormatFilterTextValue(TcxFilterCriteriaItem* AItem, const Variant& V, AnsiString& S)
{
  if (OnFormatFilterTextValue) OnFormatFilterTextValue(this, V, S);
}

TcxFilterCriteriaItem* TcxDBDataFilterCriteria::CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                           TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                           const AnsiString& ADisplayValue)
{
  if (AItemLink && !dynamic_cast<TcxCustomDataField*>(AItemLink))
    if (TcxCustomDataField* f = GetDataController()->GetFields()->FieldByItem(AItemLink)) AItemLink = f;
  return new TcxDBDataFilterCriteriaItem(AParent, AItemLink, AOperatorKind, AValue, ADisplayValue);
}

void TcxDBDataFilterCriteria::Changed()
{
  TcxDBDataController* c = DBController();
  if (!FInChanged && !c->IsDestroying() && !c->IsUnbinding()) {
    TValueGuard scope(FInChanged, true);
    TDataSet* ds = c->GetDataSet();
    if (ds && DB::IsEditState(ds->GetState())) {
      TScopeExit undo([&] { SetActive(false); });
      ds->CheckBrowseMode();
      undo.Dismiss();
    }
    if (OnBeforeChange && !c->IsLoading()) OnBeforeChange(this, ds, GetFilterText());
    if (IsAutoDataSetFilter() && ds) {
      const AnsiString text = GetFilterText();
      const bool filtered = GetActive() && !text.empty();
      if (ds->GetFilter() != text || ds->GetFiltered() != filtered) {
        TControlsGuard lock(*ds);
        if (ds->GetFilter() != text) ds->SetFilter(text);
        if (ds->GetFiltered() != filtered) ds->SetFiltered(filtered);
      }
    }
  }
  TcxDataFilterCriteria::Changed();
}

TcxDBDataFilterCriteriaItem::TcxDBDataFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                         TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                         const AnsiString& ADisplayValue)
    : TcxDataFilterCriteriaItem(AParent, AItemLink, AOperatorKind, AValue, ADisplayValue)
{
  // Only the null operators have a dataset-specific form.
  if (dynamic_cast<TcxFilterNullOperator*>(GetOperator())) RecreateOperator();
}

std::unique_ptr<TcxFilterOperator> TcxDBDataFilterCriteriaItem::CreateOperator()
{
  std::unique_ptr<TcxFilterOperator> op = TcxDataFilterCriteriaItem::CreateOperator();
  auto* criteria = dynamic_cast<TcxDataFilterCriteria*>(GetCriteria());
  auto* c = dynamic_cast<TcxDBDataController*>(criteria ? criteria->GetDataController() : nullptr);
  TDataSet* ds = c ? c->GetDataSet() : nullptr;
  if (TcxDBFilterOperatorAdapter* adapter = cxDBFilter::GetFilterOperatorAdapter(ds))
    adapter->PrepareOperatorClass(this, ds, op);
  return op;
}

AnsiString TcxDBDataFilterCriteriaItem::GetFieldName()
{
  auto* c = dynamic_cast<TcxDBDataController*>(GetField() ? GetField()->GetDataController() : nullptr);
  return c ? c->GetFilterItemFieldName(this) : AnsiString();
}

// ---- TcxDBDataController: construction --------------------------------------------------------

TcxDBDataController::TcxDBDataController(TComponent* AOwner) : TcxCustomDataController(AOwner)
{
  SetDataProvider(std::make_unique<TcxDBDataProvider>(this));
  SetFilterCriteria(std::make_unique<TcxDBDataFilterCriteria>(this));
  RecreateSummary();
  FDataModeController = std::make_unique<TcxDBDataModeController>(this);
  FDBSelection = std::make_unique<TcxDBDataSelection>(this);
}

TCollectionItemClass TcxDBDataController::GetSummaryItemClass() const { return TcxDBDataSummaryItem::StaticClass(); }

TcxDBDataController::~TcxDBDataController()
{
  FDestroyingDB = true;
  GetDBProvider()->GetDataLink()->SetDataSource(nullptr);
}

void TcxDBDataController::Assign(TcxCustomDataController* ASource)
{
  TcxCustomDataController::Assign(ASource);
  auto* src = dynamic_cast<TcxDBDataController*>(ASource);
  if (!src) return;
  FDataModeController->Assign(*src->FDataModeController);
  SetDataSource(src->GetDataSource());
  SetKeyFieldNames(src->FKeyFieldNames);
  SetDetailKeyFieldNames(src->FDetailKeyFieldNames);
  SetMasterKeyFieldNames(src->FMasterKeyFieldNames);
  OnDetailHasChildren = src->OnDetailHasChildren;
}

std::unique_ptr<TcxCustomDataField> TcxDBDataController::CreateField()
{
  return std::make_unique<TcxDBDataField>(GetFields());
}

std::unique_ptr<TcxCustomDataRelation> TcxDBDataController::CreateRelation(TcxCustomDataRelationList* AList,
                                                                           TObject* AItem)
{
  return std::make_unique<TcxDBDataRelation>(AList, AItem);
}

// ---- the dataset ----------------------------------------------------------------------------

TDataSet* TcxDBDataController::GetDataSet() const { return GetDBProvider()->GetDataSet(); }

TDataSource* TcxDBDataController::GetDataSource() const { return GetDBProvider()->GetDataSource(); }

void TcxDBDataController::SetDataSource(TDataSource* Value)
{
  if (GetDataSource() == Value) return;
  GetDBProvider()->SetDataSource(Value);
  DataSourceChanged();
}

TcxDBDataFilterCriteria* TcxDBDataController::GetDBFilter() const
{
  return static_cast<TcxDBDataFilterCriteria*>(GetFilter());
}

int TcxDBDataController::GetDataSetRecordCount() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetActive() ? ds->GetRecordCount() : 0;
}

int TcxDBDataController::GetDataSetRecNo() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetActive() ? ds->GetRecNo() : -1;
}

void TcxDBDataController::SetDataSetRecNo(int Value)
{
  if (TDataSet* ds = GetDataSet(); ds && ds->GetActive()) ds->SetRecNo(Value);
}

bool TcxDBDataController::IsDataSetSequenced() const
{
  TDataSet* ds = GetDataSet();
  return ds && ds->GetIsSequenced();
}

void TcxDBDataController::RefreshExternalData()
{
  if (TDataSet* ds = GetDataSet()) ds->Refresh();
}

// ---- fields ---------------------------------------------------------------------------------

TObject* TcxDBDataController::GetItemByFieldName(const AnsiString& AFieldName) const
{
  for (int i = 0; i < GetFields()->Count(); ++i) {
    auto* f = dynamic_cast<TcxDBDataField*>(GetFields()->Items(i));
    if (f && !f->GetInternal() && cxDB::SameFieldName(f->GetFieldName(), AFieldName)) return f->GetViewItem();
  }
  return nullptr;
}

TField* TcxDBDataController::GetItemField(int AItemIndex) const
{
  CheckItemIndex(AItemIndex);
  return static_cast<TcxDBDataField*>(GetFields()->Items(AItemIndex))->GetField();
}

AnsiString TcxDBDataController::GetItemFieldName(int AItemIndex) const
{
  CheckItemIndex(AItemIndex);
  return static_cast<TcxDBDataField*>(GetFields()->Items(AItemIndex))->GetFieldName();
}

void TcxDBDataController::ChangeFieldName(int AItemIndex, const AnsiString& AFieldName)
{
  CheckItemIndex(AItemIndex);
  auto* f = static_cast<TcxDBDataField*>(GetFields()->Items(AItemIndex));
  if (f->GetFieldName() != AFieldName) BindFieldName(f, AFieldName, false);
}

void TcxDBDataController::BindFieldName(TcxDBDataField* AField, const AnsiString& AFieldName, bool AIsLookupKeys)
{
  AField->ClearFields();
  if (!AIsLookupKeys && AField->GetFieldName() != AFieldName) AField->SetFieldName(AFieldName);
  if (AIsLookupKeys || cxDB::IsMultipleFieldNames(AFieldName)) {
    {
      TUpdateGuard lock(*this);
      TStringList names;
      cxDB::GetFieldNames(AFieldName, &names);
      for (int i = 0; i < names.GetCount(); ++i) {
        auto sub = CreateField();
        sub->SetInternal(true);
        auto* raw = static_cast<TcxDBDataField*>(sub.get());
        GetFields()->Add(std::move(sub));
        AField->AddField(raw);
        BindFieldName(raw, names.GetStrings(i), false);
      }
    }
    return;
  }
  // Fields that shared this one's data under its old name get their own again.
  bool unshared = false;
  for (int i = 0; i < GetFields()->Count(); ++i) {
    auto* other = dynamic_cast<TcxDBDataField*>(GetFields()->Items(i));
    if (other && other != AField && other->GetReference() == AField &&
        !cxDB::SameFieldName(other->GetFieldName(), AFieldName)) {
      other->SetReference(nullptr);
      BindField(other, false);
      unshared = true;
    }
  }
  if (AField->GetReference()) {
    AField->SetReference(nullptr);
    unshared = true;
  }
  // Two items on one dataset field share one data field.
  TcxDBDataField* owner = nullptr;
  if (!AField->GetInternal()) {
    for (int i = 0; i < GetFields()->Count() && !owner; ++i) {
      auto* other = dynamic_cast<TcxDBDataField*>(GetFields()->Items(i));
      if (other && other != AField && !other->GetInternal() && !other->GetReference() && other->FieldCount() == 0 &&
          !AFieldName.empty() && cxDB::SameFieldName(other->GetFieldName(), AFieldName))
        owner = other;
    }
  }
  bool referenced = false;
  for (int i = 0; i < GetFields()->Count(); ++i)
    if (GetFields()->Items(i)->GetReference() == AField) referenced = true;
  if (owner && !referenced) {
    AField->SetReference(owner);
    AddChange(cxDataChange::Data);
    if (!unshared) return;
  } else {
    BindField(AField, false);
  }
  ReloadData(1);
}

void TcxDBDataController::BindField(TcxDBDataField* AField, bool AOnlyLookupKeys)
{
  if (AField->GetReference()) return;
  if (AOnlyLookupKeys && !(AField->GetParentField() && AField->GetParentField()->IsLookup())) return;
  TDataSet* ds = GetDataSet();
  if (!ds) return;
  if (cxDB::IsMultipleFieldNames(AField->GetFieldName())) return;  // its sub-fields are bound by name
  TField* f = nullptr;
  if (!FInResetFields && !AField->GetFieldName().empty()) f = ds->FindField(AField->GetFieldName());
  const bool changed = AField->GetField() != f;
  AField->SetField(f);
  if (!f) return;
  AField->SetKeepsDisplayText(cxDB::IsFieldFormatted(f, true));
  AField->SetTypeClass(cxDBData::GetValueTypeClassByField(f));
  if (f->GetLookup() && !f->GetKeyFields().empty() && (changed || AField->FieldCount() == 0))
    BindFieldName(AField, f->GetKeyFields(), true);
}

void TcxDBDataController::UpdateInternalField(const AnsiString& AFieldNames, TcxDBDataField*& AField)
{
  if (AFieldNames.empty()) {
    if (!AField) return;
    FreeDataField(std::exchange(AField, nullptr));
    AddChange(cxDataChange::Data);
    return;
  }
  if (!AField) {
    auto field = CreateField();
    field->SetInternal(true);
    AField = static_cast<TcxDBDataField*>(field.get());
    GetFields()->Add(std::move(field));
  }
  BindFieldName(AField, AFieldNames, false);
}

void TcxDBDataController::UpdateField(TcxCustomDataField* AField)
{
  TcxCustomDataController::UpdateField(AField);
  if (auto* f = dynamic_cast<TcxDBDataField*>(AField)) BindField(f, false);
}

void TcxDBDataController::ResetFields()
{
  TValueGuard scope(FInResetFields, true);
  UpdateFields();
}

bool TcxDBDataController::IsProviderField(TcxCustomDataField* AField) const
{
  if (TcxCustomDataController::IsProviderField(AField)) return true;
  auto* f = dynamic_cast<TcxDBDataField*>(AField);
  return f && f->GetField();
}

void TcxDBDataController::ChangeValueTypeClass(int AItemIndex, TcxValueTypeClass AClass)
{
  CheckItemIndex(AItemIndex);
  auto* f = dynamic_cast<TcxDBDataField*>(GetFields()->Items(AItemIndex));
  if (f && f->GetField()) return;
  TcxCustomDataController::ChangeValueTypeClass(AItemIndex, AClass);
}

Variant TcxDBDataController::GetFilterDataValue(int ARecordIndex, TcxCustomDataField* AField)
{
  auto* f = dynamic_cast<TcxDBDataField*>(AField);
  if (!f || !f->IsLookup()) return TcxCustomDataController::GetFilterDataValue(ARecordIndex, AField);
  std::vector<TcxCustomDataField*> keys;
  for (int i = 0; i < f->FieldCount(); ++i) keys.push_back(f->Fields(i));
  return GetRecordKeyValue(ARecordIndex, keys);
}

bool TcxDBDataController::IsFilterDataValueStored() const
{
  for (int i = 0; i < GetFields()->Count(); ++i)
    if (auto* f = dynamic_cast<TcxDBDataField*>(GetFields()->Items(i)); f && f->IsLookup()) return false;
  return TcxCustomDataController::IsFilterDataValueStored();
}

// ---- keys -----------------------------------------------------------------------------------

void TcxDBDataController::SetKeyFieldNames(const AnsiString& Value)
{
  if (FKeyFieldNames == Value) return;
  FKeyFieldNames = Value;
  UpdateInternalField(FKeyFieldNames, FKeyField);
}

bool TcxDBDataController::IsKeyNavigation() const { return FKeyField && !IsGridMode(); }

void TcxDBDataController::GetKeyFields(std::vector<TcxCustomDataField*>& AList)
{
  if (!FKeyField) return;
  if (FKeyField->FieldCount() == 0) {
    AList.push_back(FKeyField);
    return;
  }
  for (int i = 0; i < FKeyField->FieldCount(); ++i) AList.push_back(FKeyField->Fields(i));
}

Variant TcxDBDataController::GetKeyFieldsValue(int ARecordIndex)
{
  if (ARecordIndex < 0 || ARecordIndex >= GetRecordCount())
    cxCustomData::RaiseInvalidOperation(cxSDataRecordIndexError);
  std::vector<TcxCustomDataField*> fields;
  GetKeyFields(fields);
  return GetRecordKeyValue(ARecordIndex, fields);
}

Variant TcxDBDataController::GetCurrentKeyFieldsValue() const
{
  std::vector<TcxCustomDataField*> fields;
  const_cast<TcxDBDataController*>(this)->GetKeyFields(fields);
  std::vector<TField*> dsFields;
  for (auto* f : fields)
    if (TField* df = static_cast<TcxDBDataField*>(f)->GetField()) dsFields.push_back(df);
  if (dsFields.size() != fields.size()) return Variant::Null();
  Variant v;
  cxDB::GetFieldValues(GetDataSet(), dsFields, v);
  return v;
}

int TcxDBDataController::LocateRecordIndexByKeys(const std::vector<TcxCustomDataField*>& AFields,
                                                 const Variant& AValues)
{
  if (AFields.empty()) return -1;
  if (AFields.size() > 1 && !Variants::VarIsArray(AValues)) return -1;
  for (int r = 0; r < GetRecordCount(); ++r)
    if (cxVariants::VarValuesEqual(GetRecordKeyValue(r, AFields), AValues)) return r;
  return -1;
}

int TcxDBDataController::FindRecordIndexByKey(const Variant& AKeyValue)
{
  std::vector<TcxCustomDataField*> fields;
  GetKeyFields(fields);
  return LocateRecordIndexByKeys(fields, AKeyValue);
}

int TcxDBDataController::LocateRecordIndex()
{
  TDataSet* ds = GetDataSet();
  if (!ds || !ds->GetActive() || ds->IsEmpty()) return -1;
  std::vector<TcxCustomDataField*> fields;
  GetKeyFields(fields);
  return LocateRecordIndexByKeys(fields, GetCurrentKeyFieldsValue());
}

bool TcxDBDataController::LocateByKey(const Variant& AKeyValue)
{
  const int r = FindRecordIndexByKey(AKeyValue);
  if (r == -1 && IsGridMode()) {
    TDataSet* ds = GetDataSet();
    if (!ds) return false;
    auto* p = GetDBProvider();
    bool found;
    p->BeginLocate();
    {
      TScopeExit undo([&] { p->EndLocate(); });
      found = ds->Locate(FKeyFieldNames, AKeyValue);
    }
    if (found) {
      SyncDataSetPos();
      SetFocusedRowSelected(true);
    }
    return found;
  }
  const int row = r == -1 ? -1 : GetRowIndexByRecordIndex(r, true);
  if (row == -1) return false;
  ChangeFocusedRowIndex(row);
  return true;
}

void TcxDBDataController::ReadRecord(int ARecordIndex)
{
  TcxValueDefDBReader reader;
  GetStorage()->LoadRecord(ARecordIndex, &reader, false);
  GetDBProvider()->CorrectRecordIndex(ARecordIndex);
  if (!GetDBProvider()->InCanInitEditing) AddChange(cxDataChange::UpdateRecord);
}

void TcxDBDataController::BeginUpdateRecord()
{
  auto* p = GetDBProvider();
  const int r = p->EditedRecord;
  if (r == cxNullEditingRecord) return;
  p->UpdatingRecordIndex = r;
  p->UpdatingInserted = p->IsInserting();
  if (r < GetRecordCount()) ReadRecord(r);
}

// ---- loading --------------------------------------------------------------------------------

void TcxDBDataController::ReloadRecords()
{
  auto* p = GetDBProvider();
  GetStorage()->Clear(false);
  if (IsGridMode())
    p->LoadRecordHandles();
  else
    p->LoadRecords();
  AddChange(cxDataChange::Data);
  RecordsReloadedFlag = true;
  p->ReloadAfterCancel = false;
  AfterReload();
}

void TcxDBDataController::ReloadData(int AReason)
{
  TcxCustomDataController::ReloadData(AReason);
  if (!IsLocked() && !IsUnbinding()) SyncDataSetPos();
}

void TcxDBDataController::AfterReload() { GetDBProvider()->ServePendingProviders(); }

void TcxDBDataController::ResetData()
{
  if (!IsGridMode()) GetDBProvider()->GetDataLink()->SetBufferCount(1);
  TcxCustomDataController::ResetData();
}

void TcxDBDataController::UpdateGridModeBuffer()
{
  if (IsGridMode()) GetDBProvider()->UpdateGridModeBufferCount();
}

// ---- focus and the dataset's cursor ---------------------------------------------------------

void TcxDBDataController::SyncDataSetPos()
{
  auto* p = GetDBProvider();
  if (FInSyncFocus || IsLocked() || !p->IsSyncMode()) return;
  int r;
  if (IsKeyNavigation()) {
    r = LocateRecordIndex();
    p->CurrentRecordIndex = r;
  } else {
    r = p->GetActiveRecordIndex();
  }
  if (r < 0 || r >= GetRecordCount() || r == GetFocusedRecordIndex()) return;
  TValueGuard scope(FInSyncFocus, true);
  ChangeFocusedRecordIndex(r);
}

TcxCustomDataController* TcxDBDataController::SyncMasterPos()
{
  if (FInSyncMasterPos || FInCheckBrowseMode) return nullptr;
  TValueGuard scope(FInSyncMasterPos, true);
  return FollowDataSetToMaster();
}

TcxCustomDataController* TcxDBDataController::FollowDataSetToMaster()
{
  TcxCustomDataRelation* relation = GetMasterRelation();
  auto* master = dynamic_cast<TcxDBDataController*>(relation ? relation->GetDataController() : nullptr);
  if (!master || !IsPattern() || GetLinkedDetailKeyFieldNames().empty() || !GetDBProvider()->IsSyncMode())
    return nullptr;
  for (TcxDBDataController* m = master; m;) {
    if (!m->GetDBProvider()->IsSyncMode() || !m->IsKeyNavigation() || m->IsEditing()) return nullptr;
    TcxCustomDataRelation* up = m->GetMasterRelation();
    m = up ? dynamic_cast<TcxDBDataController*>(up->GetDataController()) : nullptr;
  }
  if (master->IsCreatingDetail() || master->FInSyncMasterPos) return nullptr;
  TDataSet* ds = GetDataSet();
  TDataSet* masterDs = master->GetDataSet();
  if (!ds || !masterDs || ds->IsEmpty() || masterDs->IsEmpty()) return nullptr;

  TValueGuard masterScope(master->FInSyncMasterPos, true);
  Variant detailValues;
  cxDB::GetFieldValues(ds, GetDetailKeyFieldList(), detailValues);
  TStringList names;
  cxDB::GetFieldNames(FMasterKeyFieldNames, &names);
  std::vector<TField*> masterFields;
  for (int i = 0; i < names.GetCount(); ++i)
    if (TField* f = masterDs->FindField(names.GetStrings(i))) masterFields.push_back(f);
  Variant masterValues;
  cxDB::GetFieldValues(masterDs, masterFields, masterValues);
  if (!cxVariants::VarValuesEqual(detailValues, masterValues)) {
    auto* mp = master->GetDBProvider();
    bool found;
    mp->BeginLocate();
    {
      TScopeExit undo([&] { mp->EndLocate(); });
      found = masterDs->Locate(FMasterKeyFieldNames, detailValues);
    }
    if (!found) return nullptr;
  }
  // The master itself a pattern: its own masters follow, and its clone is the level shown.
  auto* level = master->IsPattern() ? dynamic_cast<TcxDBDataController*>(master->FollowDataSetToMaster()) : master;
  if (!level) return nullptr;
  const int r = level->LocateRecordIndex();
  if (r < 0) return nullptr;
  if (level->GetFocusedRecordIndex() != r) level->ChangeFocusedRecordIndex(r);
  if (level->GetFocusedRecordIndex() != r) return nullptr;
  const int relationIndex = relation->GetIndex();
  level->ChangeDetailExpanding(r, true);
  if (!level->GetDetailExpanded(r)) return nullptr;
  level->ChangeDetailActiveRelationIndex(r, relationIndex);
  return level->GetDetailDataController(r, relationIndex);
}

bool TcxDBDataController::CanFocusRecord(int ARecordIndex)
{
  auto* p = GetDBProvider();
  if (FInSyncFocus) return true;  // the dataset is already there
  if ((p->IsInserting() && ARecordIndex == p->EditedRecord) || (GetNewItemRowEnabled() && ARecordIndex < 0)) {
    if (!p->IsInserting() && ARecordIndex < 0 && p->IsEditing()) p->Post();
    return true;
  }
  bool result;
  p->BeginLocate();
  {
    TScopeExit undo([&] { p->EndLocate(); });
    if (IsDetailMode() && FDataModeController->DetailInSyncMode && !FInDetailReset) CheckDetailReopen();
    if (FInDetailReset || !p->IsSyncMode()) {
      result = TcxCustomDataController::CanFocusRecord(ARecordIndex);
    } else if (ARecordIndex < 0) {
      result = false;
    } else if (IsKeyNavigation()) {
      const Variant key = GetKeyFieldsValue(ARecordIndex);
      result = cxVariants::VarValuesEqual(key, GetCurrentKeyFieldsValue()) || GetDataSet()->Locate(FKeyFieldNames, key);
      if (result) p->CurrentRecordIndex = ARecordIndex;
    } else {
      GetDataSet()->MoveBy(ARecordIndex - p->CurrentRecordIndex);
      result = true;
    }
  }
  if (GetDetailMode() == 2) AddChange(cxDataChange::CloneRefresh);
  AfterReload();
  return result;
}

void TcxDBDataController::DetailsChanging()
{
  TDataSet* ds = GetDataSet();
  if (!ds || !ds->GetActive() || FInCheckBrowseMode) return;
  TValueGuard scope(FInCheckBrowseMode, true);
  ds->CheckBrowseMode();
}

bool TcxDBDataController::CanChangeFocusedRow()
{
  if (FInDetailReset) return true;
  auto* relation = dynamic_cast<TcxDBDataRelation*>(GetMasterRelation());
  TcxCustomDataController* master = relation ? relation->GetDataController() : nullptr;
  if (!master) return true;
  if (!master->CanChangeFocusedRow()) return false;
  TcxDataListenerLink masterLink(master);
  TcxDataListenerLink selfLink(this);
  master->DetailsChanging();
  if (!masterLink.DataController || !selfLink.DataController) return false;
  DetailsChanging();
  return masterLink.DataController && selfLink.DataController;
}

bool TcxDBDataController::CanChangeDetailExpanding(int ARecordIndex, bool AExpanded)
{
  if (AExpanded && IsGridMode()) {
    for (int attempt = 0; attempt < 2 && GetFocusedRecordIndex() != ARecordIndex; ++attempt)
      ChangeFocusedRecordIndex(ARecordIndex);
    if (GetFocusedRecordIndex() != ARecordIndex) return false;
  }
  return TcxCustomDataController::CanChangeDetailExpanding(ARecordIndex, AExpanded);
}

bool TcxDBDataController::IsFiltering() const
{
  return TcxCustomDataController::IsFiltering() && !GetDBFilter()->OnBeforeChange &&
         !GetDBFilter()->IsAutoDataSetFilter();
}

bool TcxDBDataController::SearchInGridMode(const AnsiString& AText, bool AForward, bool ANext)
{
  const int item = GetSearchItemIndex();
  if (item < 0) return false;
  return GetDBProvider()->LocateByText(item, AText, AForward, ANext);
}

AnsiString TcxDBDataController::GetFilterItemFieldName(TcxFilterCriteriaItem* AItem)
{
  auto* item = dynamic_cast<TcxDataFilterCriteriaItem*>(AItem);
  auto* f = item ? dynamic_cast<TcxDBDataField*>(item->GetField()) : nullptr;
  if (!f || !f->GetField()) return AnsiString();
  const bool ignoreOrigin = GetDBFilter()->GetIgnoreOrigin();
  AnsiString name;
  if (!f->IsLookup()) {
    cxDB::GetFilterFieldName(f->GetField(), ignoreOrigin, name);
    return name;
  }
  AnsiString result;
  for (int i = 0; i < f->FieldCount(); ++i) {
    cxDB::GetFilterFieldName(f->Fields(i)->GetField(), ignoreOrigin, name);
    if (i > 0) result += ";";
    result += name;
  }
  return result;
}

// ---- master-detail --------------------------------------------------------------------------

void TcxDBDataController::SetDetailKeyFieldNames(const AnsiString& Value)
{
  if (FDetailKeyFieldNames == Value) return;
  FDetailKeyFieldNames = Value;
  KeyFieldNamesChanged();
}

void TcxDBDataController::SetMasterKeyFieldNames(const AnsiString& Value)
{
  if (FMasterKeyFieldNames == Value) return;
  FMasterKeyFieldNames = Value;
  KeyFieldNamesChanged();
}

void TcxDBDataController::KeyFieldNamesChanged()
{
  auto* relation = dynamic_cast<TcxDBDataRelation*>(GetMasterRelation());
  if (relation && GetDetailMode() != 2) relation->UpdateMasterKeyField();
}

AnsiString TcxDBDataController::GetLinkedDetailKeyFieldNames() const
{
  return FMasterKeyFieldNames.empty() ? AnsiString() : FDetailKeyFieldNames;
}

std::vector<TField*> TcxDBDataController::GetDetailKeyFieldList() const
{
  std::vector<TField*> result;
  TDataSet* ds = GetDataSet();
  const AnsiString names = GetLinkedDetailKeyFieldNames();
  if (!ds || names.empty()) return result;
  TStringList list;
  cxDB::GetFieldNames(names, &list);
  for (int i = 0; i < list.GetCount(); ++i)
    if (TField* f = ds->FindField(list.GetStrings(i))) result.push_back(f);
  return result;
}

TcxDBProviderDetailFilterAdapter* TcxDBDataController::GetDetailFilterAdapter()
{
  TcxDBAdapterList* adapters = cxDBData::DetailFilterAdapters();
  TDataSet* ds = GetDataSet();
  int index = -1;
  if (!adapters || !ds || !adapters->Find(ds->ClassType(), index))
    cxCustomData::RaiseInvalidOperation(cxSDataDetailFilterControllerNotFound);
  auto* adapter = dynamic_cast<TcxDBProviderDetailFilterAdapter*>(adapters->Items(index));
  if (!adapter) cxCustomData::RaiseInvalidOperation(cxSDataDetailFilterControllerNotFound);
  return adapter;
}

void TcxDBDataController::SetMasterRelation(TcxCustomDataRelation* ARelation, int AMasterRecordIndex)
{
  {
    TUpdateGuard lock(*this);
    TcxCustomDataController::SetMasterRelation(ARelation, AMasterRecordIndex);
    auto* relation = dynamic_cast<TcxDBDataRelation*>(ARelation);
    if (relation && AMasterRecordIndex == -1) {
      relation->UpdateMasterKeyField();
    } else if (relation) {
      FMasterDetailKeyValues = relation->GetMasterKeyValues(AMasterRecordIndex);
      ReloadData(2);
    }
  }
  if (!IsLocked()) SyncDataSetPos();
}

void TcxDBDataController::LayoutChanged(TcxCustomDataRelation* ARelation)
{
  TcxCustomDataController::LayoutChanged(ARelation);
  if (IsDestroying() || IsUnbinding()) return;
  TcxCustomDataRelationList* list = GetRelations();
  for (int i = 0; i < list->GetCount(); ++i)
    if (auto* r = dynamic_cast<TcxDBDataRelation*>(list->Items(i))) r->UpdateMasterKeyField();
}

bool TcxDBDataController::GetDetailHasChildren(int ARecordIndex, int ARelationIndex)
{
  CheckRecordIndex(ARecordIndex);
  if (TcxCustomDataController* detail = FindDetailDataController(ARecordIndex, ARelationIndex))
    return detail->GetRecordCount() > 0;
  TcxDetailObject* obj = GetRelations()->GetDetailObject(ARecordIndex);
  TcxDetailInfoObject* info = obj ? obj->GetOrCreateInfoObject(ARelationIndex) : nullptr;
  if (info && info->HasChildrenKnown) return info->HasChildrenValue;
  const bool result = GetDBProvider()->GetDetailHasChildren(ARecordIndex, ARelationIndex);
  if (info) {
    info->HasChildrenValue = result;
    info->HasChildrenKnown = true;
  }
  return result;
}

bool TcxDBDataController::IsDetailReopenPending()
{
  if (!IsDetailMode() || !FDataModeController->DetailInSQLMode) return false;
  if (!FDataModeController->DetailInSyncMode) return true;
  if (GetDBProvider()->IsDetailCurrent() || FMasterDetailKeyValues.IsEmpty()) return false;
  Variant current;
  cxDB::GetFieldValues(GetDataSet(), GetDetailKeyFieldList(), current);
  return !cxVariants::VarValuesEqual(current, FMasterDetailKeyValues);
}

void TcxDBDataController::CheckDetailReopen()
{
  if (!FDataModeController->DetailInSQLMode || FInDetailReopen) return;
  if (FDataModeController->DoDetailIsCurrentQuery(GetLinkedDetailKeyFieldNames(), FMasterDetailKeyValues)) return;
  auto* p = GetDBProvider();
  TValueGuard scope(FInDetailReopen, true);
  p->Freeze();
  TScopeExit undo([&] { p->Unfreeze(); });
  p->First();
  p->SavePos();
  p->RestorePos();
  p->CurrentRecordIndex = 0;
}
