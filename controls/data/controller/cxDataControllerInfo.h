// The engine behind a data controller: it turns the controller's records into the rows a view
// shows. One update pass (Update) runs when the last lock is released and something is stale:
//   CheckGridMode -> save group states -> reset record list + filter step -> sort step ->
//   grouping step -> focus top row -> restore group states, correct focus -> summaries ->
//   notification (change bits become the controller's change flags).
// Mutating operations only mark what became stale. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "controls/data/controller/cxDataGroups.h"
#include "controls/data/controller/cxDataSelection.h"
#include "controls/data/controller/cxDataSorting.h"

class TcxCustomDataController;

namespace cxDataControllerInfo {
// Change bits of the engine.
inline constexpr Word dciData = 0x0001;
inline constexpr Word dciGrouping = 0x0002;
inline constexpr Word dciSorting = 0x0004;
inline constexpr Word dciFocusMoved = 0x0008;
inline constexpr Word dciItem = 0x0010;
inline constexpr Word dciExpanding = 0x0020;
inline constexpr Word dciFocusedRecord = 0x0040;
inline constexpr Word dciSelection = 0x0080;
inline constexpr Word dciSummary = 0x0100;
inline constexpr Word dciFocusing = 0x0200;
}  // namespace cxDataControllerInfo

struct TcxDataFocusingInfo {
  int Level = -1;  // a group level for a group row; the level count for a data row
  int RecordIndex = -1;
  int RowIndex = -1;
  int PrevRecordIndex = -1;
  bool Changed = false;  // the new-item row gained or lost the focus
  void Clear() { Level = RecordIndex = RowIndex = -1; }
  void Assign(const TcxDataFocusingInfo& A)
  {
    Level = A.Level;
    RecordIndex = A.RecordIndex;
    PrevRecordIndex = A.PrevRecordIndex;
    RowIndex = A.RowIndex;
    Changed = false;
  }
};

// Expanded (1) and selected (2) group rows saved by their level and grouping value.
struct TcxDataExpandingInfo {
  int Level;
  Variant Value;
  Byte State;
};

class TcxCustomDataControllerInfo : public TObject {
public:
  explicit TcxCustomDataControllerInfo(TcxCustomDataController* ADataController);
  ~TcxCustomDataControllerInfo() override;

  // ---- locking and the pass
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  bool IsLocked() const { return FLockCount > 0; }
  void CheckUpdate();
  void DataChanged();
  void FocusedRecordChanged();
  void SummaryChanged(bool AItemOnly);
  void FocusingChanged(bool AChangedFlag);
  Word GetChanges() const { return FChanges; }

  // ---- sorting and grouping definitions
  void RemoveField(TcxCustomDataField* AField);
  void FieldChanged(TcxCustomDataField* AField);
  void SetSortIndex(TcxCustomDataField* AField, int AIndex);
  void ChangeSortOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder);
  void ClearSorting(bool AKeepGroupedItems);
  void SetGroupIndex(TcxCustomDataField* AField, int AIndex);
  TcxSortingFieldList& GetSortingFieldList() { return FSortingFieldList; }
  TcxGroupingFieldList& GetGroupingFieldList() { return FGroupingFieldList; }
  TcxSortingFieldList& GetTotalSortingFieldList() { return FTotalSortingFieldList; }

  // ---- comparisons
  int CompareRecords(int ARecordIndex1, int ARecordIndex2);
  int CompareByEntry(int ARecordIndex1, int ARecordIndex2, int AEntryIndex);

  // ---- record list
  int GetFilteredRecordCount() const { return static_cast<int>(FRecordList.size()); }
  int GetRecordIndexAt(int AListIndex) const { return FRecordList[static_cast<size_t>(AListIndex)]; }
  // -1 when the record is filtered out.
  int IndexOfRecord(int ARecordIndex) const;
  const std::vector<int>& GetRecordList() const { return FRecordList; }
  bool IsGrouped() const { return FDataGroups.GetCount() > 0; }
  bool IsGroupsAlwaysExpanded() const;

  // ---- rows
  int GetRowCount() const;
  // Raises "RowIndex out of range".
  TcxRowInfo GetRowInfo(int ARowIndex) const;
  int GetRowIndexByRecordIndex(int ARecordIndex, bool AMakeVisible);
  void ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive);
  void FullExpand(bool AExpanded);
  TcxDataGroups& GetDataGroups() { return FDataGroups; }
  void CheckRowIndex(int ARowIndex) const;

  // ---- focus
  void ChangeFocusedRow(int ARowIndex, bool AForce);
  int GetFocusedRowIndex() const { return FFocusingInfo.RowIndex; }
  int GetFocusedRecordIndex() const;
  TcxDataFocusingInfo& GetFocusingInfo() { return FFocusingInfo; }
  TcxDataFocusingInfo& GetPrevFocusingInfo() { return FPrevFocusingInfo; }

  // ---- selection
  TcxDataSelection* GetSelection() { return FSelection.get(); }
  // Drops entries whose record is beyond the record count (all entries when there are none).
  void DropStaleSelection();
  // The selected count and single row the last selection notification reported.
  int PrevSelectedCount = 0;
  int PrevSelectedRow = -1;

  bool Reloading = false;

private:
  void Update();
  void ResetRecordList();
  void DoFilter();
  void DoSort();
  void DoGrouping();
  // The two records fall in one group of the level.
  bool SameGroupValue(int ARecordIndex1, int ARecordIndex2, int ALevel);
  void PrepareFields();
  void UnprepareFields();
  void QuickSort(int L, int R);
  bool SortByKeys();
  void FocusTopRowAfterSorting();
  void SaveExpanding(Byte AStates);
  void RestoreExpanding();
  void CorrectFocusedRow();
  int LocateFocusedRow(bool AMakeVisible);
  int RowAfterCollapse();
  void UpdateSelectionRows();
  void Notify();
  // A group's grouping value at its level.
  Variant GroupValue(int AGroupIndex);
  int RowOfListIndex(int AListIndex, int ALeaf) const;

  TcxCustomDataController* FDataController;
  Word FChanges = 0;
  int FLockCount = 0;
  std::vector<int> FRecordList;
  // From the sort to the grouping step of one pass: 1 where the record list's first sort
  // entry changes from the open group's first record (empty when the sort did not find them).
  std::vector<Byte> FSortBreaks;
  TcxGroupingFieldList FGroupingFieldList;
  TcxSortingFieldList FSortingFieldList;
  TcxSortingFieldList FTotalSortingFieldList;
  TcxDataGroups FDataGroups;
  std::vector<TcxCustomDataField*> FSavedFields;
  std::vector<TcxDataExpandingInfo> FSavedInfos;
  Byte FSaveStates = 0;
  TcxDataFocusingInfo FFocusingInfo;
  TcxDataFocusingInfo FPrevFocusingInfo;
  std::unique_ptr<TcxDataSelection> FSelection;
  bool FExpandingFlag = false;
  bool FFocusingFlag = false;
  bool FInUpdate = false;
};
