// The data controller: the record model behind every grid view and lookup list. It owns the
// record storage, the fields that mirror the view's items, the provider (unbound here), the
// engine that filters, sorts, groups and tracks rows, focus and selection, the filter
// criteria, the incremental filter and search, and editing with the new-item row.
//
// Sections: exceptions; options and events; the controller (parts, items and records, update
// locking and notifications, rows and focus, selection, sorting and grouping, filter, search,
// editing).
//
// Call flow of a change: SetValue -> DataChanged (coalesced pending change) -> engine
// DataChanged -> (no lock) engine Update pass -> change flags -> dispatch -> OnUpdateControl
// with TcxDataChangedInfo ... -> OnRecordChanged, OnDataChanged, listeners.
//
// Indexes: records 0..GetRecordCount()-1 (the new-item row's record is internal, negative);
// items 0..GetItemCount()-1; rows 0..GetRowCount()-1. Bad indexes raise
// EcxInvalidDataControllerOperation ("RecordIndex out of range", "ItemIndex out of range",
// "RowIndex out of range"). UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/data/controller/cxDataControllerInfo.h"
#include "controls/data/controller/cxDataField.h"
#include "controls/data/controller/cxDataProvider.h"
#include "controls/data/controller/cxDataUpdateInfo.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Sets.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

class TComponent;
class TcxDataFilterCriteria;
class TcxDataSummary;
class TcxCustomDataRelation;
class TcxCustomDataRelationList;
class TcxSaveObject;
class TcxDataControllerSearch;

// ---- Exceptions ------------------------------------------------------------------------------

class EcxInvalidDataControllerOperation : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EcxInvalidDataControllerOperation"; }
};

namespace cxCustomData {
[[noreturn]] void RaiseInvalidOperation(const AnsiString& AText);
}

// ---- Options and events ----------------------------------------------------------------------

enum TcxDataControllerOption {
  dcoAnsiSort,
  dcoCaseInsensitive,
  dcoAssignGroupingValues,
  dcoAssignMasterDetailKeys,
  dcoSaveExpanding,
  dcoSortByDisplayText,
  dcoFocusTopRowAfterSorting,
  dcoGroupsAlwaysExpanded
};
using TcxDataControllerOptions = Set<TcxDataControllerOption>;

// Edit state bits.
inline constexpr int dceInsert = 1, dceEdit = 2, dceChanging = 4, dceModified = 8;

// Change flags of the controller: each asks for one notification at the next dispatch.
namespace cxDataChange {
inline constexpr Word Layout = 0x0001, Data = 0x0002, Focus = 0x0004, Selection = 0x0008, Details = 0x0010,
                      Summary = 0x0020, Search = 0x0040, SortingChanged = 0x0080, GroupingChanged = 0x0100,
                      CloneRefresh = 0x0200, SavedFocus = 0x0400, UpdateRecord = 0x0800;
}

class TcxCustomDataController;
using TcxDataControllerCompareEvent =
    std::function<void(TcxCustomDataController* ADataController, int ARecordIndex1, int ARecordIndex2, int AItemIndex,
                       const Variant& V1, const Variant& V2, int& Compare)>;
using TcxDataRecordChangedEvent =
    std::function<void(TcxCustomDataController* ADataController, int ARecordIndex, int AItemIndex)>;
using TcxDataControllerRecordEvent = std::function<void(TcxCustomDataController* ADataController, int ARecordIndex)>;
using TcxDataControllerNotifyEvent = std::function<void(TcxCustomDataController* ADataController)>;
using TcxUpdateControlEvent = std::function<void(TcxUpdateControlInfo* AInfo)>;

// A caller that must survive the controller being freed during a call holds a link: the
// controller's destructor clears it.
class TcxDataListenerLink : public TObject {
public:
  explicit TcxDataListenerLink(TcxCustomDataController* ADataController);
  ~TcxDataListenerLink() override;
  TcxCustomDataController* DataController;
};

// ---- The notifier ----------------------------------------------------------------------------

// Fields register it for free notification with the components they refer to; a removed
// component reaches the controller's ComponentRemoved.
class TcxDataControllerNotifier : public TComponent {
  PELTO_DECLARE_CLASS(TcxDataControllerNotifier, TComponent)
public:
  explicit TcxDataControllerNotifier(TcxCustomDataController* ADataController)
      : TComponent(nullptr), FDataController(ADataController)
  {}

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TcxCustomDataController* FDataController;
};

// ---- The groups facade -----------------------------------------------------------------------

// What the views ask of the groups, by row, item and group index.
class TcxDataControllerGroups : public TObject {
public:
  explicit TcxDataControllerGroups(TcxCustomDataController* ADataController) : FDataController(ADataController) {}
  void ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive);
  // A negative AGroupIndex ungroups; sets the grouping-changed flag when the position differs.
  void ChangeGroupIndex(int AItemIndex, int AGroupIndex);
  void FullExpand();
  void FullCollapse();
  int GetGroupingItemCount() const;
  int GetGroupingItemIndex(int ALevel) const;
  int GetItemGroupIndex(int AItemIndex) const;
  int GetChildCount(int AGroupIndex) const;
  int GetChildGroupIndex(int AGroupIndex, int AChildIndex) const;
  int GetChildRecordIndex(int AGroupIndex, int AIndex) const;
  int GetDataGroupIndexByRowIndex(int ARowIndex) const;
  int GetLevelByGroupIndex(int AGroupIndex) const;
  // Appends the group's records, depth-first.
  void LoadRecordIndexes(std::vector<int>& AList, int AGroupIndex);
  void LoadRecordIndexesByRowIndex(std::vector<int>& AList, int ARowIndex);

private:
  TcxCustomDataController* FDataController;
};

// ---- The controller --------------------------------------------------------------------------

class TcxCustomDataController : public TObject {
public:
  // AOwner may be nullptr; its component state decides loading and destroying.
  explicit TcxCustomDataController(TComponent* AOwner = nullptr);
  ~TcxCustomDataController() override;
  TcxCustomDataController(const TcxCustomDataController&) = delete;
  TcxCustomDataController& operator=(const TcxCustomDataController&) = delete;

  // ---- parts
  TcxDataStorage* GetStorage() const { return FStorage.get(); }
  TcxCustomDataFieldList* GetFields() const { return FFields.get(); }
  TcxCustomDataProvider* GetProvider() const { return FProvider.get(); }
  TcxCustomDataControllerInfo* GetInfo() const { return FInfo.get(); }
  TcxDataFilterCriteria* GetFilter() const { return FFilter.get(); }
  TcxDataSummary* GetSummary() const { return FSummary.get(); }
  // The class of the summary's items. A controller answering another class calls
  // RecreateSummary from its constructor (the base's summary is built before it).
  virtual TCollectionItemClass GetSummaryItemClass() const;
  TComponent* GetOwner() const { return FOwner; }
  TcxDataControllerGroups* GetGroups() const { return FGroups.get(); }

  TcxDataControllerNotifier* GetNotifier() const { return FNotifier.get(); }
  // From another controller: its filter, its summary and its eighteen event handlers.
  virtual void Assign(TcxCustomDataController* ASource);
  // The fields drop their references to a component being freed.
  virtual void ComponentRemoved(TComponent* AComponent) { FFields->ComponentRemoved(AComponent); }

  // ---- options
  TcxDataControllerOptions GetOptions() const { return FOptions; }
  // Refreshes when it differs.
  void SetOptions(TcxDataControllerOptions Value);

  // ---- items and fields
  // Raises "Item already exists" when a field is already bound to AItem.
  void AddItem(TObject* AItem);
  // Ungroups and unsorts the item, then frees its field.
  void RemoveItem(TObject* AItem);
  virtual TObject* GetItem(int AIndex) const;
  // An item's ID (-1 here; a view answers its own) and the item with that ID (nullptr).
  virtual int GetItemID(TObject* AItem) const { return -1; }
  TObject* GetItemByID(int AID) const;
  // This controller's item with the ID of another controller's item.
  TObject* GetCorrespondingItem(TObject* AItem) const { return GetItemByID(GetItemID(AItem)); }
  int GetItemCount() const { return FFields->Count(); }
  // -1 when no field is bound to the item.
  int GetItemIndex(TObject* AItem) const;
  TcxCustomDataField* GetItemField(int AItemIndex) const;
  TcxCustomDataField* AddInternalField();
  // The class of the fields AddItem and AddInternalField create; a bound controller answers its own.
  virtual std::unique_ptr<TcxCustomDataField> CreateField();
  TcxValueTypeClass GetItemValueTypeClass(int AItemIndex) const;
  // A bound controller keeps the value type of an item bound to its data source.
  virtual void ChangeValueTypeClass(int AItemIndex, TcxValueTypeClass AClass);
  void ChangeNeedConversion(int AItemIndex, bool AValue);
  void ChangeTextStored(int AItemIndex, bool AValue);
  bool GetTextStored(int AItemIndex) const;
  virtual bool GetNeedConversion(int AItemIndex) const { return false; }
  virtual bool GetItemSortByDisplayText(int AItemIndex, bool ADefault) const { return ADefault; }
  virtual bool IsItemEditable(int AItemIndex) const { return true; }
  void CheckItemIndex(int AItemIndex) const;
  // A field is being freed: it leaves the sorting, grouping, filter, incremental filter and search.
  void FieldRemoved(TcxCustomDataField* AField);

  // ---- records and values
  int GetRecordCount() const { return FStorage->RecordCount(); }
  void SetRecordCount(int ACount);
  int AppendRecord();
  // AIndex may be the record count (appends).
  int InsertRecord(int ARecordIndex);
  void DeleteRecord(int ARecordIndex);
  Variant GetValue(int ARecordIndex, int AItemIndex);
  void SetValue(int ARecordIndex, int AItemIndex, const Variant& AValue);
  AnsiString GetDisplayText(int ARecordIndex, int AItemIndex);
  void StoreDisplayText(int ARecordIndex, int AItemIndex, const AnsiString& AText);
  // In grid mode a provider field's value and text come from the provider's buffered window,
  // otherwise from the storage (Null and empty without a value definition).
  virtual Variant GetFieldValue(int ARecordIndex, TcxCustomDataField* AField);
  virtual AnsiString GetFieldDisplayText(int ARecordIndex, TcxCustomDataField* AField);
  // False only for an internal field that has no non-internal reference field.
  virtual bool IsProviderField(TcxCustomDataField* AField) const;
  virtual Variant GetFilterDataValue(int ARecordIndex, TcxCustomDataField* AField)
  {
    return GetFieldValue(ARecordIndex, AField);
  }
  // True while GetFilterDataValue answers the stored values: the filter step may then read them
  // straight from the storage. A controller that overrides GetFilterDataValue answers false.
  virtual bool IsFilterDataValueStored() const { return true; }
  virtual AnsiString GetSearchDisplayText(int ARecordIndex, int AItemIndex)
  {
    return GetDisplayText(ARecordIndex, AItemIndex);
  }
  // Key navigation keeps the selection and the detail states by key values across a full
  // update; a bound controller with key fields answers true.
  virtual bool IsKeyNavigation() const { return false; }
  // Appends the key fields (none here).
  virtual void GetKeyFields(std::vector<TcxCustomDataField*>& AList) {}
  // Null for no field, the value for one, a variant array 0..n-1 for more.
  Variant GetRecordKeyValue(int ARecordIndex, const std::vector<TcxCustomDataField*>& AFields);
  // Raises "RecordIndex out of range"; the new-item record passes (allocated first).
  void CheckRecordIndex(int ARecordIndex);
  // Copies every stored value of ASource into ADest; reports kind 1 for a real ADest.
  void CopyRecord(int ASource, int ADest);
  int GetNewItemRecordIndex();
  std::vector<Variant> GetGroupingValues(int ARecordIndex);
  int GetLastRowRecordIndex();
  void CheckFocusedRecord();

  // ---- update locking and notifications
  void BeginUpdate();
  void EndUpdate();
  bool IsLocked() const { return FInfo->IsLocked(); }
  // Nest with their own counter: the outermost begin locks and saves the detail and selection
  // states (by key with key navigation); the outermost end restores them and unlocks, the
  // latter also when the restore raises.
  void BeginFullUpdate();
  void EndFullUpdate();
  void BeginLocate();
  void EndLocate();
  // A counter that lookup editors hold around their list work; only reported.
  void AddExternalLock() { ++FExternalLockCount; }
  void RemoveExternalLock() { --FExternalLockCount; }
  bool HasExternalLock() const { return FExternalLockCount > 0; }
  // Merges a record or field change into the pending data change and starts a pass.
  virtual void DataChanged(int AKind, int AItemIndex, int ARecordIndex);
  void Refresh();
  void FilterChanged();
  void SummaryChanged(bool AItemOnly);
  void AddChange(Word AFlags);
  void AddDataChangedListener(TObject* AOwner, TNotifyEvent AHandler);
  // Removes the first listener registered with AOwner.
  void RemoveDataChangedListener(TObject* AOwner);
  bool IsLoading() const;
  bool IsDestroying() const;
  // Its own destructor is running.
  bool IsBeingDestroyed() const { return FDestroying; }
  bool IsReading() const;
  // Fires what was deferred while the owner loaded.
  void Loaded();
  bool IsGridMode() const { return FProvider->IsGridMode(); }

  // ---- reloading (a bound controller loads its records here)
  // The provider's data became (in)active.
  void ActiveChanged(bool AActive);
  // The provider's layout changed: reloads when needed.
  virtual void ReloadData(int AReason) { CheckDataChanged(FProvider->IsActiveDataSet()); }
  void CheckDataChanged(bool AProviderActive);
  // Drops every record (internal ones too) and the editing state, and marks the structure
  // rebuilt so that the next reload rebuilds the fields.
  virtual void ResetData();
  // True after ResetData until the next reload.
  virtual bool NeedsReload() const { return FStructureRebuilt; }
  void Reload(bool AForce);
  // Reads the provider's records into the storage (none from an unbound provider).
  virtual void ReloadRecords();
  // UpdateField for every field once, also when a field is freed on the way.
  virtual void UpdateFields();
  virtual void UpdateField(TcxCustomDataField* AField) {}
  virtual void AfterReload() {}
  // Run at the start of every engine pass: tells the provider whether any field is grouped
  // and, when that flips the provider's grid-mode answer, resets the data (the records of one
  // mode mean nothing in the other).
  void CheckGridMode();

  // ---- rows and focus
  int GetRowCount() const { return FInfo->GetRowCount(); }
  TcxRowInfo GetRowInfo(int ARowIndex) const { return FInfo->GetRowInfo(ARowIndex); }
  int GetRowIndexByRecordIndex(int ARecordIndex, bool AMakeVisible);
  Variant GetRowValue(const TcxRowInfo& ARowInfo, int AItemIndex);
  AnsiString GetRowDisplayText(const TcxRowInfo& ARowInfo, int& AItemIndex);
  int GetFocusedRowIndex() const { return FInfo->GetFocusedRowIndex(); }
  void SetFocusedRowIndex(int Value) { ChangeFocusedRowIndex(Value); }
  int GetFocusedRecordIndex() const { return FInfo->GetFocusedRecordIndex(); }
  void SetFocusedRecordIndex(int Value) { ChangeFocusedRecordIndex(Value); }
  bool ChangeFocusedRowIndex(int ARowIndex);
  void ChangeFocusedRecordIndex(int ARecordIndex);
  void ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive);
  void FullExpand() { FInfo->FullExpand(true); }
  void FullCollapse() { FInfo->FullExpand(false); }
  void GotoFirst();
  void GotoLast();
  void GotoNext();
  void GotoPrev();
  void MoveBy(int ADistance);
  // Outside grid mode nothing: the rows are all there.
  void Scroll(int ADistance);
  bool IsBOF() const;
  bool IsEOF() const;
  void SaveFocus();
  void RestoreFocus();
  void ClearSavedFocus();
  bool IsFocusSaved() const { return FSavedFocusedRecord != -1; }
  void CheckSavedFocus(int ARecordIndex);
  void ForEachRow(bool ASelectedOnly, const std::function<void(int ARowIndex, const TcxRowInfo& AInfo)>& AProc);
  virtual bool CanFocusRecord(int ARecordIndex);
  virtual void FocusedRowChanging(int ARowIndex) {}
  int GetSyncFocusedRecordIndex() const { return FInfo->GetFocusedRecordIndex(); }
  // Records of a group (depth-first), appended to AList.
  void LoadRecordIndexes(std::vector<int>& AList, int AGroupIndex);
  void LoadRecordIndexesByRowIndex(std::vector<int>& AList, int ARowIndex);

  // ---- selection
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool AValue);
  void ChangeRowSelection(int ARowIndex, bool ASelection);
  virtual void ClearSelection();
  void ClearSelectionAnchor();
  virtual int GetSelectedCount() const;
  virtual int GetSelectedRowIndex(int AIndex) const;
  virtual int GetSelectionAnchorRowIndex() const;
  virtual bool IsRowSelected(int ARowIndex) const;
  virtual bool IsSelectionAnchorExist() const { return GetSelectionAnchorRowIndex() != -1; }
  virtual void SelectAll();
  virtual void SelectFromAnchor(int ARowIndex, bool AKeepSelection);
  void SelectRows(int AFromRowIndex, int AToRowIndex);
  virtual void SetSelectionAnchor(int ARowIndex);
  void SyncSelected();
  void SetFocusedRowSelected(bool AValue);
  virtual bool CanSelectRow(int ARowIndex) { return true; }

  // ---- sorting and grouping
  TcxDataSortOrder GetItemSortOrder(int AItemIndex) const;
  int GetItemSortIndex(int AItemIndex) const;
  void SetItemSortOrder(int AItemIndex, TcxDataSortOrder AOrder);
  void SetItemSortIndex(int AItemIndex, int AIndex);
  void ClearSorting(bool AKeepGroupedItems);
  // A negative AGroupIndex ungroups.
  void ChangeGroupIndex(int AItemIndex, int AGroupIndex);
  int GetGroupingItemCount() const;
  int GetGroupingItemIndex(int ALevel) const;
  int GetItemGroupIndex(int AItemIndex) const;
  int GetDataGroupIndexByRowIndex(int ARowIndex) const
  {
    return FInfo->GetDataGroups().GetGroupIndexByRowIndex(ARowIndex, -1);
  }
  int GetChildCount(int AGroupIndex) const { return FInfo->GetDataGroups().GetChildCount(AGroupIndex); }
  int GetChildGroupIndex(int AGroupIndex, int AChildIndex) const
  {
    return FInfo->GetDataGroups().GetChildGroupIndex(AGroupIndex, AChildIndex);
  }
  int GetChildRecordIndex(int AGroupIndex, int AIndex) const;
  // The comparison the sort uses (field comparison, negated for descending).
  virtual int CompareByField(int ARecordIndex1, int ARecordIndex2, TcxCustomDataField* AField);
  virtual int CompareEqual(int ARecordIndex1, int ARecordIndex2) { return ARecordIndex1 - ARecordIndex2; }
  int CompareRecordsBySortingField(int ARecordIndex1, int ARecordIndex2, const TcxDataSortInfo& AEntry)
  {
    int r = CompareByField(ARecordIndex1, ARecordIndex2, AEntry.Field);
    return AEntry.SortOrder == soDescending ? -r : r;
  }
  Variant GetComparedValue(int ARecordIndex, TcxCustomDataField* AField);
  virtual bool NeedConversion(TcxCustomDataField* AField);
  bool NeedStringConversion(TcxCustomDataField* AField) const;
  virtual bool IsSortByDisplayText(TcxCustomDataField* AField) const;
  bool GroupingChangedFlag = false;
  bool SortingChangedFlag = false;
  bool GroupLocating = false;  // a group locate compares values, never display texts
  bool RecordsReloadedFlag = false;

  // ---- filter and incremental filter
  virtual bool IsFiltering() const;
  // Answers the first remaining record, -1 when none.
  int SetIncrementalFilter(int AItemIndex, const AnsiString& AText);
  void ResetIncrementalFilter();
  bool HasIncrementalFilter() const { return FIncrementalFilterField != nullptr && !FIncrementalFilterText.empty(); }
  const AnsiString& GetIncrementalFilterText() const { return FIncrementalFilterText; }
  bool ChangeIncrementalFilterText(const AnsiString& AText);
  virtual bool IncrementalFilterRecord(int ARecordIndex);
  bool FilterRecord(int ARecordIndex);

  // ---- search and locate
  // The incremental search (Locate, LocateNext, Cancel); owned by the controller.
  TcxDataControllerSearch* GetSearch() const { return FSearch.get(); }
  // Shorthands of GetSearch()->Locate, LocateNext and Cancel.
  bool Search(int AItemIndex, const AnsiString& ASubText);
  bool SearchNext(bool AForward);
  void CancelSearch();
  // A grid-mode search of the provider's data; a bound controller answers its own (false here).
  virtual bool SearchInGridMode(const AnsiString& AText, bool AForward, bool ANext) { return false; }
  bool IsSearching() const { return FSearching; }
  const AnsiString& GetSearchText() const { return FSearchText; }
  int GetSearchItemIndex() const;
  // The record index found in the record list, -1 when none.
  int FindRecordIndexByText(int AStartListIndex, int AItemIndex, const AnsiString& AText, bool APartial, bool AWrap,
                            bool AForward);
  // The first storage record equal to ARecordIndex on every field; -1 when none.
  int LocateByKey(int ARecordIndex, const std::vector<TcxCustomDataField*>& AFields);
  // A record of the list equal to ARecordIndex on the first ALevelCount grouping entries.
  int FindGroupRecord(int ARecordIndex, int ALevelCount);

  // ---- editing
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void DeleteFocused();
  void DeleteSelection();
  bool CanInitEditing(int AItemIndex);
  Variant FetchEditValue(int AItemIndex, int AEditValueSource);
  bool StoreEditValue(int AItemIndex, const Variant& AValue, int AEditValueSource);
  void UpdateEditingData() { FProvider->UpdateData(); }
  virtual void SaveEditorValue() {}
  int GetEditState() const;
  bool IsEditing() const;
  int GetEditingRecordIndex();
  int GetRecordIndexForEdit();
  void CheckEditingRecord(int AFromRecordIndex);
  bool GetNewItemRowEnabled() const { return FNewItemRowEnabled; }
  void SetNewItemRowEnabled(bool AValue);
  bool GetNewItemRowFocused() const { return FNewItemRowFocused; }
  void SetNewItemRowFocused(bool AValue);
  bool IsNewItemRowFocused() const { return FNewItemRowFocused && FNewItemRowEnabled && GetFocusedRowIndex() == -1; }
  bool IsNewItemRecord(int ARecordIndex) const { return FNewItemRecord != 0 && ARecordIndex == FNewItemRecord; }

  // Event hooks the provider calls.
  void DoAfterCancel()
  {
    if (OnAfterCancel) OnAfterCancel(this);
  }
  void DoAfterDelete()
  {
    if (OnAfterDelete) OnAfterDelete(this);
  }
  void DoAfterInsert()
  {
    if (OnAfterInsert) OnAfterInsert(this);
  }
  void DoAfterPost()
  {
    if (OnAfterPost) OnAfterPost(this);
  }
  void DoBeforeCancel()
  {
    if (OnBeforeCancel) OnBeforeCancel(this);
  }
  void DoBeforeDelete(int ARecordIndex)
  {
    if (OnBeforeDelete) OnBeforeDelete(this, ARecordIndex);
  }
  void DoBeforeInsert()
  {
    if (OnBeforeInsert) OnBeforeInsert(this);
  }
  void DoBeforePost()
  {
    if (OnBeforePost) OnBeforePost(this);
  }
  void DoNewRecord(int ARecordIndex)
  {
    if (OnNewRecord) OnNewRecord(this, ARecordIndex);
  }

  // ---- master-detail
  // The relation list, created on first use. A clone's list mirrors its pattern's relations, so
  // that a clone can be the master of the next level with its own records.
  TcxCustomDataRelationList* GetRelations();
  // AMasterRecordIndex -1 makes this controller the relation's pattern detail controller.
  virtual void SetMasterRelation(TcxCustomDataRelation* ARelation, int AMasterRecordIndex);
  void SetPatternRelation(TcxCustomDataRelation* ARelation, bool APattern);
  TcxCustomDataRelation* GetMasterRelation() const { return FMasterRelation; }
  int GetMasterRecordIndex() const { return FMasterRecordIndex; }
  TcxCustomDataController* GetMasterDataController() const;
  // 0 not a detail, 1 pattern, 2 clone.
  int GetDetailMode() const;
  bool IsDetailMode() const { return FMasterRelation != nullptr; }
  bool IsPattern() const { return GetDetailMode() == 1; }
  TcxCustomDataController* GetPatternDataController();
  // Inside the creation of a detail controller for one of this controller's records.
  bool IsCreatingDetail() const { return FCreatingDetail; }
  virtual int GetDefaultActiveRelationIndex() { return 0; }
  bool GetDetailExpanded(int ARecordIndex);
  // False when unchanged, out of range, without details or refused by OnDetailExpanding/Collapsing.
  bool ChangeDetailExpanding(int ARecordIndex, bool AExpanded);
  // Asks OnDetailExpanding / OnDetailCollapsing.
  virtual bool CanChangeDetailExpanding(int ARecordIndex, bool AExpanded);
  // Consulted before the focus moves to another row while the provider follows a dataset
  // cursor (except while it takes over an insert the dataset started).
  virtual bool CanChangeFocusedRow() { return true; }
  int GetDetailActiveRelationIndex(int ARecordIndex);
  void ChangeDetailActiveRelationIndex(int ARecordIndex, int ARelationIndex);
  void CollapseDetails();
  // Whether the record's detail has records: false without a detail data source.
  virtual bool GetDetailHasChildren(int ARecordIndex, int ARelationIndex);
  virtual void DetailsChanging() {}
  // The detail controller already shown for the record and relation (none is created);
  // nullptr when there is none.
  TcxCustomDataController* FindDetailDataController(int ARecordIndex, int ARelationIndex);
  // The detail's link object for the record and relation, created on first use through
  // CreateDetailLinkObject and then owned by the record's detail object. nullptr when the record
  // has no detail object, the relation index is out of range, creation is already running for
  // this controller or its pattern, or the record's details were rebuilt while creating.
  TObject* GetDetailLinkObject(int ARecordIndex, int ARelationIndex);
  // The detail controller of GetDetailLinkObject; nullptr when there is none.
  TcxCustomDataController* GetDetailDataController(int ARecordIndex, int ARelationIndex);
  // The record has a link object for the relation (for any relation with -1).
  bool HasDetailDataController(int ARecordIndex, int ARelationIndex);
  // The outermost master.
  TcxCustomDataController* GetRootDataController();
  // Calls AProc for every existing detail controller of ARelation (a relation of this or any
  // pattern controller under the same root), walking every master record of each level.
  void ForEachDetail(TcxCustomDataRelation* ARelation,
                     const std::function<void(TcxCustomDataController* ADetail)>& AProc);
  // Drops the cached has-children answers for the relations of ARelationItem: from the root,
  // on the first level whose relation list has a relation for the item, every record's
  // answers; otherwise searched through the existing detail controllers, depth-first.
  void ResetDetailHasChildren(TObject* ARelationItem);
  // A detail's data or active state changed: drops every record's cached has-children answers
  // and reports a layout change when any was cached.
  void CheckDetails();
  // Every existing detail controller of the relation loses its master relation.
  void RelationRemoved(TcxCustomDataRelation* ARelation);
  // A view creates the detail (its link object, which owns the detail's data controller) for
  // the master record; the caller owns the result. nullptr here.
  virtual TObject* CreateDetailLinkObject(TcxCustomDataRelation* ARelation, int ARecordIndex) { return nullptr; }
  // The data controller of a detail's link object; a view answers its own (nullptr here).
  virtual TcxCustomDataController* GetDetailDataControllerByLinkObject(TObject* ALinkObject) { return nullptr; }
  // The relation class of the list's Add; a bound controller answers its own.
  virtual std::unique_ptr<TcxCustomDataRelation> CreateRelation(TcxCustomDataRelationList* AList, TObject* AItem);
  // The relation list changed.
  virtual void LayoutChanged(TcxCustomDataRelation* ARelation);

  // ---- events
  TcxDataControllerNotifyEvent OnAfterCancel, OnAfterDelete, OnAfterInsert, OnAfterPost, OnBeforeCancel, OnBeforeInsert,
      OnBeforePost;
  TcxDataControllerRecordEvent OnBeforeDelete, OnNewRecord;
  TcxDataControllerCompareEvent OnCompare;
  TNotifyEvent OnDataChanged;
  std::function<void(TcxCustomDataController*Sender, int ARecordIndex, bool&AAllow)> OnDetailCollapsing,
      OnDetailExpanding;
  TcxDataControllerRecordEvent OnDetailCollapsed, OnDetailExpanded;
  TNotifyEvent OnGroupingChanged;
  TcxDataRecordChangedEvent OnRecordChanged;
  TNotifyEvent OnSortingChanged;
  // The bound view's hook: receives every notification object (freed when it returns).
  TcxUpdateControlEvent OnUpdateControl;

protected:
  // A bound controller installs its own provider from its constructor; the old one is freed.
  void SetDataProvider(std::unique_ptr<TcxCustomDataProvider> AProvider);
  // A bound controller installs its own filter criteria from its constructor; the old one is freed.
  void SetFilterCriteria(std::unique_ptr<TcxDataFilterCriteria> AFilter);
  // A new, empty summary with items of GetSummaryItemClass; the old one is freed.
  void RecreateSummary();

private:
  friend class TcxDataListenerLink;
  void Dispatch();
  void SendData();
  void DoDataChangedEvents();
  void UpdateControl(TcxUpdateControlInfo& AInfo);
  void SendSelectionChanged();
  TcxCustomDataField* CheckedField(int AItemIndex) const
  {
    CheckItemIndex(AItemIndex);
    return GetItemField(AItemIndex);
  }
  bool LocateFrom(int AFrom, int ATo, int AStep);
  void FocusSearchMatch(int ARecordIndex);
  friend class TcxDataControllerSearch;
  bool DoLocate(int AItemIndex, const AnsiString& ASubText);
  bool DoLocateNext(bool AForward);
  void DoCancelSearch();
  void InternalRecordsFreed();
  void DropStaleSelection();
  // Moves the master record index of the details of the records from AFrom on by ADelta.
  void ShiftDetailMasterIndexes(int AFrom, int ADelta);
  void DoResetDetailHasChildren(TObject* ARelationItem);
  // Rebuilds a clone's mirror of its pattern's relations when they differ.
  void SyncCloneRelations();
  bool FSyncingRelations = false;
  // Clears every record's cached has-children answers; true when any was cached.
  bool ResetRecordsHasChildren();

  TComponent* FOwner;
  TcxDataControllerOptions FOptions{dcoAssignGroupingValues, dcoAssignMasterDetailKeys, dcoSaveExpanding};
  struct TListener {
    TObject* Owner;
    TNotifyEvent Handler;
  };
  std::vector<TListener> FListeners;
  std::vector<TcxDataListenerLink*> FListenerLinks;
  std::unique_ptr<TcxDataStorage> FStorage;
  std::unique_ptr<TcxDataControllerGroups> FGroups;
  std::unique_ptr<TcxCustomDataFieldList> FFields;
  std::unique_ptr<TcxDataFilterCriteria> FFilter;
  std::unique_ptr<TcxDataSummary> FSummary;
  std::unique_ptr<TcxCustomDataProvider> FProvider;
  std::unique_ptr<TcxCustomDataControllerInfo> FInfo;
  std::unique_ptr<TcxCustomDataRelationList> FRelations;
  TcxCustomDataRelation* FMasterRelation = nullptr;
  int FMasterRecordIndex = -1;
  bool FPatternFlag = false;
  bool FCreatingDetail = false;
  bool FCreatingDetailRetry = false;

  bool FMultiSelect = false;
  bool FFocusedSelected = true;
  bool FNewItemRowEnabled = false;
  bool FNewItemRowFocused = false;
  int FNewItemRecord = 0;
  int FSavedFocusedRecord = -1;
  TcxCustomDataField* FIncrementalFilterField = nullptr;
  AnsiString FIncrementalFilterText;
  TcxCustomDataField* FSearchField = nullptr;
  bool FSearching = false;
  AnsiString FSearchText;
  int FLocateCount = 0;
  int FExternalLockCount = 0;
  int FFullUpdateCount = 0;
  std::unique_ptr<TcxSaveObject> FSaveObject;
  std::unique_ptr<TcxDataControllerNotifier> FNotifier;
  std::unique_ptr<TcxDataControllerSearch> FSearch;
  Word FChanges = 0;
  Byte FPendingKind = 4;
  int FPendingItem = -1;
  int FPendingRecord = -1;
  bool FDataEventsDeferred = false;
  bool FDestroying = false;
  bool FInSortingChanged = false;
  bool FStructureRebuilt = false;
  bool FDataChangePending = false;
  bool FInCheckDataChanged = false;
  bool FActive = false;
};
