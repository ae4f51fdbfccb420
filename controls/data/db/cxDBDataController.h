// The dataset-bound data controller: the record model bound to a dataset through a data source.
// Items are bound to dataset fields by name (ChangeFieldName), records are identified by key
// fields (KeyFieldNames), and the controller's focus and the dataset's cursor follow each other.
// Also here: the mode settings (grid mode, sync mode, detail modes), the master-detail relation
// bound to master key fields, the filter criteria that can hand its text to the dataset, and
// the grid-mode selection kept as dataset bookmarks.
//
// Ownership: the controller owns its mode settings, key field and selection bookmarks; the data
// source and the dataset belong to the caller and must outlive the binding (or be unbound
// first). UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/db/cxDBDataProvider.h"
#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/controller/cxDataRelations.h"

class TcxDBDataController;
class TcxDBProviderDetailFilterAdapter;

using TcxDBDataModeControllerDetailFirstEvent =
    std::function<void(TObject* Sender, TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                       const Variant& AMasterDetailKeyValues, bool& AReopened)>;
using TcxDBDataModeControllerDetailIsCurrentQueryEvent =
    std::function<bool(TObject* Sender, TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                       const Variant& AMasterDetailKeyValues)>;
using TcxDBDataDetailHasChildrenEvent = std::function<void(
    TcxDBDataController* Sender, int ARecordIndex, int ARelationIndex, const AnsiString& AMasterDetailKeyFieldNames,
    const Variant& AMasterDetailKeyValues, bool& HasChildren)>;
using TcxDBDataFilterBeforeChangeEvent =
    std::function<void(TObject* Sender, TDataSet* ADataSet, const AnsiString& AFilterText)>;
using TcxDBDataFilterFormatFilterTextValueEvent =
    std::function<void(TObject* Sender, const Variant& AValue, AnsiString& ADisplayValue)>;

// How the controller reads its dataset: normal or grid mode, following the cursor, and how a
// detail is positioned for its master.
class TcxDBDataModeController : public TObject {
public:
  explicit TcxDBDataModeController(TcxDBDataController* ADataController) : FDataController(ADataController) {}
  void Assign(const TcxDBDataModeController& ASource);

  bool GetGridMode() const { return FGridMode; }
  // Re-lays out the controller when its effective grid mode changes.
  void SetGridMode(bool Value);
  int GetGridModeBufferCount() const { return FGridModeBufferCount; }
  // A negative value is stored as 0 (the controller's default).
  void SetGridModeBufferCount(int Value);
  bool GetSmartRefresh() const { return FSmartRefresh; }
  void SetSmartRefresh(bool Value);
  bool GetSyncMode() const { return FSyncMode; }
  void SetSyncMode(bool Value);

  // True when the dataset's parameters already hold the key values.
  virtual bool DoDetailIsCurrentQuery(const AnsiString& AMasterDetailKeyFieldNames,
                                      const Variant& AMasterDetailKeyValues);
  // Positions (or re-opens) the detail dataset for the master's key values.
  virtual void DoDetailFirst(const AnsiString& AMasterDetailKeyFieldNames, const Variant& AMasterDetailKeyValues,
                             bool& AReopened);

  bool DetailInSQLMode = false;
  bool DetailInSyncMode = true;
  bool SyncInsert = true;
  TcxDBDataModeControllerDetailFirstEvent OnDetailFirst;
  TcxDBDataModeControllerDetailIsCurrentQueryEvent OnDetailIsCurrentQuery;

private:
  TcxDBDataController* FDataController;
  bool FGridMode = false;
  int FGridModeBufferCount = 0;
  bool FSmartRefresh = false;
  bool FSyncMode = true;
};

// A relation whose master key values come from the master controller's internal field bound to
// the detail's MasterKeyFieldNames.
class TcxDBDataRelation : public TcxCustomDataRelation {
public:
  using TcxCustomDataRelation::TcxCustomDataRelation;
  ~TcxDBDataRelation() override;
  // The master key field exists and the detail has detail key names.
  bool HasMasterLink() const;
  // Unassigned for an unlinked relation; raises "RecordIndex out of range".
  Variant GetMasterKeyValues(int AMasterRecordIndex);
  void CollectMasterKeyFields(std::vector<TcxCustomDataField*>& AList) const;
  // Re-binds the master key field to the detail's MasterKeyFieldNames.
  void UpdateMasterKeyField();
  TcxDBDataField* GetMasterKeyField() const { return FMasterKeyField; }

private:
  TcxDBDataField* FMasterKeyField = nullptr;  // owned by the master's field list
};

// Filter criteria that can hand its filter text to the dataset (AutoDataSetFilter).
class TcxDBDataFilterCriteria : public TcxDataFilterCriteria {
public:
  explicit TcxDBDataFilterCriteria(TcxCustomDataController* ADataController) : TcxDataFilterCriteria(ADataController) {}
  bool GetAutoDataSetFilter() const { return FAutoDataSetFilter; }
  void SetAutoDataSetFilter(bool Value);
  bool GetIgnoreOrigin() const { return FIgnoreOrigin; }
  void SetIgnoreOrigin(bool Value);
  // AutoDataSetFilter outside smart-refresh mode.
  bool IsAutoDataSetFilter() const;
  // A filter handed to the dataset is not applied again by the controller.
  bool IsDBFiltering() const;
  void FormatFilterTextValue(TcxFilterCriteriaItem* AItem, const Variant& V, AnsiString& S) override;
  TcxFilterCriteriaItem* CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                    TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                    const AnsiString& ADisplayValue) override;

  TcxDBDataFilterBeforeChangeEvent OnBeforeChange;
  TcxDBDataFilterFormatFilterTextValueEvent OnFormatFilterTextValue;

protected:
  void Changed() override;

private:
  TcxDBDataController* DBController() const;
  bool FAutoDataSetFilter = false;
  bool FIgnoreOrigin = true;
  bool FInChanged = false;
};

// A condition that names its field in the dataset's filter (origin or bracketed name).
class TcxDBDataFilterCriteriaItem : public TcxDataFilterCriteriaItem {
public:
  TcxDBDataFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                              TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                              const AnsiString& ADisplayValue);
  AnsiString GetFieldName() override;
  // The base choice, which the filter-operator adapter of the controller's dataset may replace
  // (a query gets "IS NULL" / "IS NOT NULL").
  std::unique_ptr<TcxFilterOperator> CreateOperator() override;
};

// Grid-mode selection: the bookmarks of the selected records in the dataset's order, and the
// anchor's bookmark.
class TcxDBDataSelection : public TObject {
public:
  explicit TcxDBDataSelection(TcxDBDataController* ADataController) : FDataController(ADataController) {}
  // Binary search; not found: AIndex is the insertion position.
  bool FindBookmark(const AnsiString& ABookmark, int& AIndex) const;
  // Every record of the dataset.
  void SelectAll();
  // From the anchor to ABookmark; merged into the selection with AKeepSelection.
  void SelectRange(const AnsiString& ABookmark, bool AKeepSelection);
  // Drops the bookmarks that no longer lead to a record; true when one went.
  bool RemoveInvalidBookmarks();
  void Clear() { Bookmarks.clear(); }
  // Adds or removes one bookmark (kept sorted).
  void SetSelected(const AnsiString& ABookmark, bool ASelected);

  std::vector<AnsiString> Bookmarks;
  AnsiString AnchorBookmark;

private:
  void SelectBookmarkRange(const AnsiString& AStart, const AnsiString& AEnd, bool AKeepSelection);
  bool ExtendRange(const AnsiString& AStart, const AnsiString& AEnd, bool AForward);
  TcxDBDataController* FDataController;
};

class TcxDBDataController : public TcxCustomDataController {
public:
  explicit TcxDBDataController(TComponent* AOwner = nullptr);
  ~TcxDBDataController() override;

  void Assign(TcxCustomDataController* ASource) override;

  // ---- the dataset
  TDataSet* GetDataSet() const;
  TDataSource* GetDataSource() const;
  // The caller keeps the data source; it must outlive the binding.
  void SetDataSource(TDataSource* Value);
  TcxDBDataProvider* GetDBProvider() const { return static_cast<TcxDBDataProvider*>(GetProvider()); }
  TcxDBDataModeController* GetDataModeController() const { return FDataModeController.get(); }
  TcxDBDataFilterCriteria* GetDBFilter() const;
  int GetDataSetRecordCount() const;
  int GetDataSetRecNo() const;
  void SetDataSetRecNo(int Value);
  bool IsDataSetSequenced() const;

  // ---- fields and keys
  // nullptr when no item is bound to the name (case-insensitive).
  TObject* GetItemByFieldName(const AnsiString& AFieldName) const;
  // Raise "ItemIndex out of range".
  TField* GetItemField(int AItemIndex) const;
  AnsiString GetItemFieldName(int AItemIndex) const;
  // Binds the item to the dataset field(s) named (';' for several); a missing name leaves it
  // unbound and is no error.
  void ChangeFieldName(int AItemIndex, const AnsiString& AFieldName);
  const AnsiString& GetKeyFieldNames() const { return FKeyFieldNames; }
  void SetKeyFieldNames(const AnsiString& Value);
  // One value, an array [0..n-1] for several key fields, Null without; "RecordIndex out of range".
  Variant GetKeyFieldsValue(int ARecordIndex);
  Variant GetCurrentKeyFieldsValue() const;
  // -1 when not found, also for a non-array value with several key fields.
  int FindRecordIndexByKey(const Variant& AKeyValue);
  bool LocateByKey(const Variant& AKeyValue);
  // The controller record whose keys equal the dataset's current keys; -1 none.
  int LocateRecordIndex();
  // Re-reads one record from the dataset's current record.
  void ReadRecord(int ARecordIndex);
  void BeginUpdateRecord();
  void UpdateGridModeBuffer();
  // Unbinds every field (the dataset's default fields are going).
  void ResetFields();

  // ---- master-detail
  const AnsiString& GetDetailKeyFieldNames() const { return FDetailKeyFieldNames; }
  void SetDetailKeyFieldNames(const AnsiString& Value);
  const AnsiString& GetMasterKeyFieldNames() const { return FMasterKeyFieldNames; }
  void SetMasterKeyFieldNames(const AnsiString& Value);
  // DetailKeyFieldNames when MasterKeyFieldNames is set, else empty.
  AnsiString GetLinkedDetailKeyFieldNames() const;
  // The dataset's fields named by the linked detail key names (missing names are skipped).
  std::vector<TField*> GetDetailKeyFieldList() const;
  const Variant& GetMasterDetailKeyValues() const { return FMasterDetailKeyValues; }
  bool IsDetailReopenPending();
  void CheckDetailReopen();
  TcxDBProviderDetailFilterAdapter* GetDetailFilterAdapter();
  bool GetInDetailReset() const { return FInDetailReset; }
  void SetInDetailReset(bool Value) { FInDetailReset = Value; }
  bool GetInDetailReopen() const { return FInDetailReopen; }

  // ---- grid mode
  // "DataController not in GridMode" outside grid mode; "RowIndex out of range" for a bad index.
  AnsiString GetSelectedBookmark(int AIndex);
  AnsiString GetAnchorBookmark();
  // The bookmark of a buffered row (empty outside grid mode).
  AnsiString GetRowBookmark(int ARowIndex);
  TcxDBDataSelection* GetDBSelection() const { return FDBSelection.get(); }
  // The provider ignores the dataset while the controller unbinds in its destructor.
  bool IsUnbinding() const { return FDestroyingDB || IsBeingDestroyed(); }
  // The dataset name of a filter condition's field; empty for an unbound field.
  AnsiString GetFilterItemFieldName(TcxFilterCriteriaItem* AItem);
  void ClearSelection() override;
  int GetSelectedCount() const override;
  int GetSelectedRowIndex(int AIndex) const override;
  int GetSelectionAnchorRowIndex() const override;
  bool IsRowSelected(int ARowIndex) const override;
  bool IsSelectionAnchorExist() const override;
  void SelectAll() override;
  void SelectFromAnchor(int ARowIndex, bool AKeepSelection) override;
  void SetSelectionAnchor(int ARowIndex) override;
  // Grid mode: selects or deselects the row's record by bookmark.
  void ChangeRowSelectionByBookmark(int ARowIndex, bool ASelected);
  // The rows the procedure gets: the focused one after each dataset move in grid mode.
  void ForEachRowInDataSet(bool ASelectedOnly, const std::function<void(int ARowIndex)>& AProc);
  // Grid mode: the focused record's bookmark; normal mode: the base's saved focus.
  void SaveFocusByBookmark();
  bool RestoreFocusByBookmark();
  bool IsFocusBookmarkGone() const;
  // Forgets the saved focus (bookmark and record) and reports it.
  void ClearSavedFocusBookmark();

  // ---- overrides of the record model
  std::unique_ptr<TcxCustomDataField> CreateField() override;
  // TcxDBDataSummaryItem.
  TCollectionItemClass GetSummaryItemClass() const override;
  std::unique_ptr<TcxCustomDataRelation> CreateRelation(TcxCustomDataRelationList* AList, TObject* AItem) override;
  bool IsKeyNavigation() const override;
  void GetKeyFields(std::vector<TcxCustomDataField*>& AList) override;
  bool NeedsReload() const override { return true; }
  void ReloadRecords() override;
  void ReloadData(int AReason) override;
  void AfterReload() override;
  void UpdateField(TcxCustomDataField* AField) override;
  void ResetData() override;
  bool CanFocusRecord(int ARecordIndex) override;
  void DetailsChanging() override;
  // A detail: the master must agree, then the master's and this dataset's pending edits are
  // posted; false when either controller went while posting.
  bool CanChangeFocusedRow() override;
  // Grid mode: the record is focused before it expands (its detail follows the dataset's record).
  bool CanChangeDetailExpanding(int ARecordIndex, bool AExpanded) override;
  bool IsFiltering() const override;
  bool IsProviderField(TcxCustomDataField* AField) const override;
  // An item bound to a dataset field keeps the field's value type.
  void ChangeValueTypeClass(int AItemIndex, TcxValueTypeClass AClass) override;
  // A lookup field filters by its key values: Null, one value, or an array [0..n-1].
  Variant GetFilterDataValue(int ARecordIndex, TcxCustomDataField* AField) override;
  bool IsFilterDataValueStored() const override;
  void SetMasterRelation(TcxCustomDataRelation* ARelation, int AMasterRecordIndex) override;
  bool GetDetailHasChildren(int ARecordIndex, int ARelationIndex) override;
  void LayoutChanged(TcxCustomDataRelation* ARelation) override;
  bool SearchInGridMode(const AnsiString& AText, bool AForward, bool ANext) override;
  // The dataset's refresh.
  void RefreshExternalData();
  // The focus follows the dataset (sync mode).
  void SyncDataSetPos();
  // A pattern detail whose dataset cursor moved: each master dataset up the chain moves to the master
  // record of the detail record, the master level focuses and expands that record and shows
  // this relation. Answers the clone detail controller under it; nullptr when the chain cannot
  // follow (not in sync mode or key navigation, editing, no such master record).
  TcxCustomDataController* SyncMasterPos();

  // ---- hooks of a view
  virtual void DetailFirstChanged(bool AValue) {}
  virtual void DataSourceChanged() {}
  virtual void InitInsertingRecordHook(int ARecordIndex) {}
  virtual int GetDefaultGridModeBufferCount() { return 100; }
  virtual void GridModeBufferScrolled() { AddChange(cxDataChange::Layout); }
  virtual void UpdateScrollBars() {}
  // The view focuses the item the dataset asks for; true when it did.
  virtual bool FocusItem(int AItemIndex) { return false; }

  TcxDBDataDetailHasChildrenEvent OnDetailHasChildren;

private:
  friend class TcxDBDataProvider;
  friend class TcxDBDataRelation;
  friend class TcxDBDataSummaryItem;
  void BindFieldName(TcxDBDataField* AField, const AnsiString& AFieldName, bool AIsLookupKeys);
  void BindField(TcxDBDataField* AField, bool AOnlyLookupKeys);
  // A non-empty text creates the internal field when missing and binds it; empty frees it.
  void UpdateInternalField(const AnsiString& AFieldNames, TcxDBDataField*& AField);
  void KeyFieldNamesChanged();
  int LocateRecordIndexByKeys(const std::vector<TcxCustomDataField*>& AFields, const Variant& AValues);
  TcxCustomDataController* FollowDataSetToMaster();

  std::unique_ptr<TcxDBDataModeController> FDataModeController;
  std::unique_ptr<TcxDBDataSelection> FDBSelection;
  AnsiString FKeyFieldNames;
  AnsiString FDetailKeyFieldNames;
  AnsiString FMasterKeyFieldNames;
  TcxDBDataField* FKeyField = nullptr;  // owned by the field list
  Variant FMasterDetailKeyValues;
  AnsiString FFocusedBookmark;
  bool FInCheckBrowseMode = false;
  bool FInDetailReopen = false;
  bool FInDetailReset = false;
  bool FInResetFields = false;
  bool FInSyncFocus = false;
  bool FInSyncMasterPos = false;
  bool FDestroyingDB = false;
};
