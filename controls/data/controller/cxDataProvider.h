// The controller's data-source side. The base provider is unbound: it keeps the editing state
// of the record being edited or inserted (with the anchors that keep that record in place
// while the sort runs), and runs append, insert, edit, post, cancel and delete through the
// controller's record operations and events. A bound provider overrides the answers.
// UI thread only.
#pragma once

#include <vector>

#include "platform/rtl/Variants.h"

class TcxCustomDataController;
class TcxCustomDataField;

// "No record" for the edited record and the anchors.
inline constexpr int cxNullEditingRecord = -2147483647;

class TcxCustomDataProvider : public TObject {
public:
  explicit TcxCustomDataProvider(TcxCustomDataController* ADataController) : FDataController(ADataController) {}
  // Frees the saved copy.
  ~TcxCustomDataProvider() override;

  virtual bool IsGridMode() const { return false; }
  // The buffered window's value and text of a record in grid mode: Null and empty here.
  virtual Variant GetBufferValue(int ARecordIndex, TcxCustomDataField* AField) { return Variant::Null(); }
  virtual AnsiString GetBufferDisplayText(int ARecordIndex, TcxCustomDataField* AField) { return AnsiString(); }
  // Cursor moves of a provider with a buffered window (grid mode); nothing here.
  virtual void First() { FieldsRecreated = false; }
  virtual void Prior() {}
  virtual void Next() {}
  virtual void Last() {}
  virtual void MoveBy(int ADistance) {}
  virtual void Scroll(int ADistance) {}
  virtual void SavePos() {}
  virtual void RestorePos() {}
  virtual bool IsActive() const { return false; }
  virtual bool IsActiveDataSet() const { return false; }
  // The focus follows a dataset cursor.
  virtual bool IsSyncMode() const { return false; }
  // Inside taking over an insert that the dataset started.
  virtual bool IsTakingOverInsert() const { return false; }
  virtual bool HasFields() const { return false; }
  virtual bool IsBOF() const { return true; }
  virtual bool IsEOF() const { return true; }
  virtual bool IsChanging() const { return EditorPending; }
  virtual bool IsEditing() const { return EditedRecord != cxNullEditingRecord; }
  virtual bool IsInserting() const { return IsEditing() && InsertState; }
  virtual bool IsModified() const { return ValuesChanged; }
  virtual bool CanModify() const { return true; }
  virtual bool CanAppend() const { return CanModify(); }
  virtual bool CanInsert() const { return CanModify(); }
  virtual bool CanDelete() const;
  // Checks the record, starts editing when not editing, marks the editor pending.
  virtual bool CanInitEditing(int ARecordIndex);

  virtual void Append() { DoInsert(true); }
  virtual void Insert() { DoInsert(false); }
  virtual void Edit() { BeginEdit(); }
  virtual void Post();
  virtual void Cancel();
  virtual void Delete();
  // Deletes the records from the last entry to the first.
  virtual void DeleteRecords(const std::vector<int>& AList);
  virtual void DeleteSelection();
  virtual void UpdateData();
  // Raises "RecordIndex out of range" for the none record.
  virtual Variant FetchEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource);
  // AEditValueSource 1 (text): an empty text stores Null.
  virtual bool StoreEditValue(int ARecordIndex, TcxCustomDataField* AField, int AEditValueSource,
                              const Variant& AValue);
  virtual void AssignItemValue(int ARecordIndex, TcxCustomDataField* AField, const Variant& AValue);
  virtual void InitInsertingRecord(int ARecordIndex, const std::vector<Variant>& AGroupValues);
  virtual void SetEditingRecord();
  virtual void DoInsert(bool AAppend);
  virtual void ResetChanging() { EditorPending = false; }
  virtual void ResetEditing();
  virtual void ResetModified() { ValuesChanged = false; }
  virtual void SetChanging() { EditorPending = true; }
  virtual void BeginEdit() { SetEditingRecord(); }
  virtual void SetModified() { ValuesChanged = true; }
  virtual void BeginLocate() { ++LocateDepth; }
  virtual void EndLocate() { --LocateDepth; }
  virtual void Freeze() { ++FreezeDepth; }
  virtual void Unfreeze() { --FreezeDepth; }
  // A record change reported by the data source.
  virtual void DataChanged(int AKind, int AItemIndex, int ARecordIndex);

  void SaveRecordCopy(int ARecordIndex);
  void FreeRecordCopy();
  TcxCustomDataController* GetDataController() const { return FDataController; }

  bool EditorPending = false;
  bool PostAppending = false;
  int EditedRecord = cxNullEditingRecord;
  int AnchorBefore = cxNullEditingRecord;  // A1: set when the edited record belongs last
  int AnchorAfter = cxNullEditingRecord;   // A2: the record the edited one stays in front of
  int AppendedRecord = -1;
  bool InsertState = false;
  int LocateDepth = 0;
  int FreezeDepth = 0;
  bool ValuesChanged = false;
  int SavedCopy = 0;  // internal record holding the edited record's values for Cancel
  bool GroupedFlag = false;
  bool FieldsRecreated = false;  // a bound provider rebuilt its fields; First clears it

private:
  TcxCustomDataController* FDataController;
};
