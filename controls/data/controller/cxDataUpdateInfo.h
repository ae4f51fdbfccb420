// The notification objects a data controller hands to its bound view, one per change kind.
// The controller creates each, passes it to the view's hook and frees it when the hook returns.
#pragma once

#include <vector>

#include "platform/rtl/System.h"

class TcxUpdateControlInfo : public TObject {};

class TcxDataChangedInfo : public TcxUpdateControlInfo {
public:
  // Kinds: 0 one field of one record, 1 one record, 2 records added, 3 deleted, 4 everything.
  TcxDataChangedInfo(Byte AKind, int AItemIndex, int ARecordIndex)
      : Kind(AKind), ItemIndex(AItemIndex), RecordIndex(ARecordIndex)
  {}
  Byte Kind;
  int ItemIndex;
  int RecordIndex;
};

class TcxLayoutChangedInfo : public TcxUpdateControlInfo {};

class TcxFocusedRowChangedInfo : public TcxUpdateControlInfo {
public:
  TcxFocusedRowChangedInfo(int APrevFocusedRowIndex, int AFocusedRowIndex)
      : FocusedRowIndex(AFocusedRowIndex), PrevFocusedRowIndex(APrevFocusedRowIndex)
  {}
  int FocusedRowIndex;
  int PrevFocusedRowIndex;
};

class TcxFocusedRecordChangedInfo : public TcxUpdateControlInfo {
public:
  TcxFocusedRecordChangedInfo(int APrevFocusedRecordIndex, int AFocusedRecordIndex, int APrevFocusedRowIndex,
                              int AFocusedRowIndex, bool ANewItemRowFocusingChanged)
      : PrevFocusedRecordIndex(APrevFocusedRecordIndex), FocusedRecordIndex(AFocusedRecordIndex),
        FocusedRowIndex(AFocusedRowIndex), PrevFocusedRowIndex(APrevFocusedRowIndex),
        NewItemRowFocusingChanged(ANewItemRowFocusingChanged)
  {}
  int PrevFocusedRecordIndex;
  int FocusedRecordIndex;
  int FocusedRowIndex;
  int PrevFocusedRowIndex;
  bool NewItemRowFocusingChanged;
};

class TcxUpdateRecordInfo : public TcxUpdateControlInfo {
public:
  explicit TcxUpdateRecordInfo(int ARecordIndex) : RecordIndex(ARecordIndex) {}
  int RecordIndex;
};

// The rows whose selection changed; an empty list means any row's may have.
class TcxSelectionChangedInfo : public TcxUpdateControlInfo {
public:
  TcxSelectionChangedInfo(int ARowIndex1 = -1, int ARowIndex2 = -1)
  {
    if (ARowIndex1 != -1) FRowIndexes.push_back(ARowIndex1);
    if (ARowIndex2 != -1 && ARowIndex2 != ARowIndex1) FRowIndexes.push_back(ARowIndex2);
  }
  int GetCount() const { return static_cast<int>(FRowIndexes.size()); }
  int GetRowIndex(int AIndex) const { return FRowIndexes.at(static_cast<size_t>(AIndex)); }

private:
  std::vector<int> FRowIndexes;
};

class TcxSearchChangedInfo : public TcxUpdateControlInfo {};
class TcxBookmarkChangedInfo : public TcxUpdateControlInfo {};
