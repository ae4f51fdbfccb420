// The dataset side of the dataset-bound controller: its fields bound to dataset fields by name,
// the reader that takes a record's values from the dataset's current record, the data link that
// brings the dataset's notifications in, and the provider that moves the cursor and edits there.
//
// Several controllers may share one dataset (two views, a pattern detail and its clones): their
// providers know each other through one program-wide list, and a provider that is frozen holds
// back the others' reloads until it is done (they wait in its pending list).
//
// Normal mode copies every record (a detail: the run of records with its master's key values)
// into the controller's storage; grid mode makes the rows of the link's buffer the records and
// reads values straight from the buffer. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "controls/data/controller/cxDataField.h"
#include "controls/data/controller/cxDataProvider.h"
#include "platform/db/DataSource.h"

class TDataSet;
class TDataSource;
class TField;
class TcxDBDataController;
class TcxDBDataProvider;

// A controller field bound to a dataset field. A lookup field of the dataset is kept with one
// sub-field per key field. A field that refers to another answers for the referenced one.
class TcxDBDataField : public TcxCustomDataField {
public:
  using TcxCustomDataField::TcxCustomDataField;
  // Leaves its parent and frees its sub-fields.
  ~TcxDBDataField() override;

  void TakeOver(TcxCustomDataField* ASource) override;
  void ComponentRemoved(TComponent* AComponent) override;
  // No dataset field, or the controller is in grid mode.
  bool IsInternalValueDef() const override;

  // The dataset field (nullptr when unbound); owned by the dataset.
  TField* GetField() const;
  // Ignored on a referring field; a change frees the sub-fields.
  void SetField(TField* Value);
  const AnsiString& GetFieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value) { FFieldName = Value; }
  bool IsLookup() const;
  // Edit-value source 0 value, 1 text, 2 key.
  bool CanModify(int AEditValueSource) const;

  int FieldCount() const;
  TcxDBDataField* Fields(int AIndex) const;
  // Raises Exception "ADataField.FParentField <> nil" for a sub-field of another parent.
  void AddField(TcxDBDataField* ASubField);
  void RemoveField(TcxDBDataField* ASubField);
  // Frees every sub-field.
  void ClearFields();
  TcxDBDataField* GetParentField() const { return FParentField; }

private:
  const TcxDBDataField* Target() const;

  TField* FField = nullptr;
  AnsiString FFieldName;
  std::vector<TcxDBDataField*> FSubFields;  // owned by the controller's field list
  TcxDBDataField* FParentField = nullptr;
};

// Reads a record's values from the dataset's current record.
class TcxValueDefDBReader : public TcxValueDefReader {
public:
  AnsiString DisplayTextFor(TcxValueDef* AValueDef) override;
  Variant ValueFor(TcxValueDef* AValueDef) override;

private:
  static TField* FieldOf(TcxValueDef* AValueDef);
};

class TcxDBDataLink : public TDataLink {
public:
  explicit TcxDBDataLink(TcxDBDataProvider* AProvider);
  TcxDBDataProvider* GetProvider() const { return FProvider; }
  // Runs the data-set-changed handling (a provider replays a postponed one through it).
  void DoDataSetChanged() { DataSetChanged(); }

protected:
  void ActiveChanged() override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;
  void DataSetChanged() override;
  void DataSetScrolled(Integer Distance) override;
  void EditingChanged() override;
  void FocusControl(TField** Field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

private:
  TcxDBDataProvider* FProvider;
  bool FLayoutChangedFlag = false;
};

class TcxDBDataProvider : public TcxCustomDataProvider {
public:
  // Joins the program-wide provider list and creates its data link.
  explicit TcxDBDataProvider(TcxCustomDataController* ADataController);
  // Leaves the other providers' pending lists and the program-wide list.
  ~TcxDBDataProvider() override;

  bool IsGridMode() const override;
  bool IsActive() const override;
  bool IsActiveDataSet() const override;
  bool HasFields() const override;
  bool IsBOF() const override;
  bool IsEOF() const override;
  bool IsEditing() const override;
  bool IsInserting() const override;
  bool IsModified() const override;
  bool CanModify() const override;
  bool CanDelete() const override;
  bool CanInitEditing(int ARecordIndex) override;

  void First() override;
  void Prior() override;
  void Next() override;
  void Last() override;
  void MoveBy(int ADistance) override;
  void Scroll(int ADistance) override;
  void SavePos() override;
  // Database errors while repositioning are swallowed; the dataset stays where it got to.
  void RestorePos() override;

  void Append() override { DoInsertOrAppend(true); }
  void Insert() override { DoInsertOrAppend(false); }
  void Edit() override;
  void Post() override;
  void Cancel() override;
  void Delete() override;
  void DeleteRecords(const std::vector<int>& AList) override;
  void DeleteSelection() override;
  void UpdateData() override;
  Variant FetchEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource) override;
  bool StoreEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource,
                      const Variant& AValue) override;
  void AssignItemValue(int ARecordIndex, TcxCustomDataField* AField, const Variant& AValue) override;
  void InitInsertingRecord(int ARecordIndex, const std::vector<Variant>& AGroupValues) override;
  void BeginLocate() override;
  void Freeze() override;
  // Serves the pending list once the last freeze is gone.
  void Unfreeze() override;
  Variant GetBufferValue(int ARecordIndex, TcxCustomDataField* AField) override;
  AnsiString GetBufferDisplayText(int ARecordIndex, TcxCustomDataField* AField) override;
  // Kind 4 reloads the controller; suppressed while frozen.
  void DataChanged(int AKind, int AItemIndex, int ARecordIndex) override;

  // ---- dataset access
  TDataSet* GetDataSet() const;
  TDataSource* GetDataSource() const { return FDataLink->GetDataSource(); }
  void SetDataSource(TDataSource* ADataSource);
  TcxDBDataLink* GetDataLink() const { return FDataLink.get(); }
  TcxDBDataController* DataController() const;
  bool BookmarkValid(const AnsiString& ABookmark) const;
  // -1 without an active link.
  int CompareBookmarks(const AnsiString& A, const AnsiString& B) const;

  // ---- modes
  bool IsSyncMode() const override;
  bool IsTakingOverInsert() const override { return FInTakeOver; }
  bool IsKeyNavigation() const;
  bool IsSmartRefresh() const;
  bool IsSyncInsert() const;
  bool IsUniDirectional() const;
  bool IsOtherProviderInserting() const;
  int GetGridModeBufferCount() const;
  void UpdateGridModeBufferCount();

  // ---- loading and notifications
  // Normal mode: the records of the dataset (a detail: its master's run) into the storage.
  void LoadRecords();
  // Grid mode: as many records as the link's buffer holds.
  void LoadRecordHandles();
  void ActiveChanged(bool AActive);
  void DataScrolled(int ADistance);
  void LayoutChanged();
  void RecordChanged(TField* AField);
  void EditingChanged();
  void DataSetChanged();
  // The record that the dataset's current record is (-1 none); the editing one while inserting.
  int GetActiveRecordIndex() const;
  void CorrectRecordIndex(int ARecordIndex);
  // Another provider of the dataset is frozen or locating: this one waits in its pending list.
  bool IsOtherProviderLocked();
  bool IsDataSetBusy() const;
  void MarkReloadAfterCancel();
  // Replays the postponed notifications of the providers waiting for this one.
  void ServePendingProviders();
  // Re-reads the followed record after a post in smart-refresh mode.
  void SmartRefreshRecord();
  void ResetUpdatingRecord();
  // Grid-mode incremental search on the dataset.
  bool LocateByText(int AItemIndex, const AnsiString& ASubText, bool AForward, bool ANext);
  // Master-detail: the shared detail dataset stands on this controller's master record.
  void SetDetailPositioned(bool AValue);
  bool IsDetailCurrent() const;
  bool GetDetailPositioned() const { return FDetailPositioned; }
  bool GetDetailHasChildren(int ARecordIndex, int ARelationIndex);

  int CurrentRecordIndex = -1;
  bool ReloadAfterCancel = false;
  bool InCanInitEditing = false;
  bool InActiveChanged = false;
  bool InInsertOrAppend = false;
  bool InFirst = false;
  bool InPendingNotify = false;
  bool InGridModeDataSetChanged = false;
  bool ReadingCurrentRecord = false;
  bool AssigningFields = false;
  int DeletingRecordIndex = -1;
  int UpdatingRecordIndex = cxNullEditingRecord;
  bool UpdatingInserted = false;
  int UpdatingNewRecordIndex = -1;

private:
  void DoInsertOrAppend(bool AAppend);
  // Takes over an insert the dataset started (another provider, or the user through it).
  void TakeOverInsert();
  // The focus follows the dataset's current record.
  void SyncFocus();
  std::vector<TcxDBDataProvider*> ProvidersOfDataSet() const;
  TField* FieldOf(TcxCustomDataField* AField) const;

  std::unique_ptr<TcxDBDataLink> FDataLink;
  std::vector<TcxDBDataProvider*> FPendingProviders;
  bool FDetailPositioned = false;
  bool FServingPending = false;
  bool FInTakeOver = false;
  bool FAppending = false;  // this provider's insert is an append
  AnsiString FSavedBookmark;
  bool FSavedBOF = false;
  bool FSavedEOF = false;
  int FSavedActiveRecord = 0;
};

namespace cxDBData {
// Every live provider, in creation order (empty when there is none).
const std::vector<TcxDBDataProvider*>& DBDataProviders();
}  // namespace cxDBData
