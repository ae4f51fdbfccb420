// Group rows: the groups the grouping step cuts from the sorted record list, stored depth-first
// (each group followed by its descendants), and the row numbering of expanded and collapsed
// groups. A row is a group row or a data row (one record of an expanded leaf group).
// UI thread only.
#pragma once

#include <vector>

#include "platform/rtl/Variants.h"

class TcxCustomDataField;

struct TcxDataGroupInfo {
  int RowIndex = 0;  // its row; a hidden group carries the row of its outermost collapsed ancestor
  bool Expanded = false;
  int Level = 0;
  int FirstIndex = 0;  // leaf: first record list index; else: index of its first child group
  int LastIndex = 0;   // leaf: last record list index; else: index of its last descendant group
  Variant SummaryValues;
};

struct TcxRowInfo {
  bool Expanded = false;
  int Level = 0;
  int RecordIndex = -1;
};

class TcxDataGroups : public TObject {
public:
  void Clear();
  void AddLevelField(TcxCustomDataField* AField) { FLevelFields.push_back(AField); }
  TcxCustomDataField* GetLevelField(int ALevel) const { return FLevelFields[static_cast<size_t>(ALevel)]; }
  int GetLevelCount() const { return static_cast<int>(FLevelFields.size()); }
  // The new group's index.
  int AddGroup();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxDataGroupInfo& GetItem(int AIndex) { return FItems[static_cast<size_t>(AIndex)]; }
  const TcxDataGroupInfo& GetItem(int AIndex) const { return FItems[static_cast<size_t>(AIndex)]; }
  bool IsLeaf(int AIndex) const { return GetItem(AIndex).Level == GetLevelCount() - 1; }
  int RecordCountOf(int ALeafIndex) const { return GetItem(ALeafIndex).LastIndex - GetItem(ALeafIndex).FirstIndex + 1; }
  // The first record list index of any group (following first children down to the leaf).
  int FirstListIndex(int AIndex) const;
  // The last record list index of any group.
  int LastListIndex(int AIndex) const;

  // The group shown at the row (its index), or -1 when the row is a data row or past the
  // groups; then ALastBefore is the last group before it (-1 when none).
  int FindByRowIndex(int ARowIndex, int& ALastBefore) const;
  // The group of a group row, or the leaf group of a data row; with ALevel != -1 moved to the
  // group of that level (the next one at or after it when deeper, else the closest before).
  int GetGroupIndexByRowIndex(int ARowIndex, int ALevel) const;
  int GetLevelOfGroup(int AIndex) const;
  // -1: number of level-0 groups; leaf: its record count; else its child groups.
  int GetChildCount(int AGroupIndex) const;
  int GetChildGroupIndex(int AGroupIndex, int AChildIndex) const;
  int GetChildRecordListIndex(int AGroupIndex, int AIndex) const;
  // The parent group (-1 for a level-0 group).
  int GetParent(int AIndex) const;
  // The leaf group that holds a record list index (-1 when none).
  int FindLeafByListIndex(int AListIndex) const;
  // The group of level ALevel that holds the record list index.
  int FindLeafAncestor(int AListIndex, int ALevel) const;
  bool IsGroupVisible(int AIndex) const;
  // Expands the ancestors (and the group itself with AIncludeSelf); true when anything changed.
  bool MakeVisible(int AIndex, bool AIncludeSelf);
  // The group row at ARowIndex; nothing for a data row. Renumbers.
  void ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive);
  void SetAllExpanded(bool AExpanded);
  int GetRowCount() const;
  // ARowIndex must be in range.
  void GetRowInfo(int ARowIndex, TcxRowInfo& AInfo, const std::vector<int>& ARecordList) const;
  void RenumberRows();

private:
  std::vector<TcxCustomDataField*> FLevelFields;
  std::vector<TcxDataGroupInfo> FItems;
};
