// Selected rows, kept in row order: a group row as Level -1 with its group index in
// RecordIndex, a data row with its level and record. UI thread only.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/System.h"

class TcxCustomDataController;

struct TcxDataSelectionEntry {
  int Level;
  int RecordIndex;
  int RowIndex;
};

class TcxDataSelection : public TObject {
public:
  explicit TcxDataSelection(TcxCustomDataController* ADataController) : FDataController(ADataController) {}

  // Inserts at AIndex (-1 appends); change event.
  void Add(int AIndex, int ARowIndex, int ARecordIndex, int ALevel);
  void Delete(int AIndex);
  // Entries only (the anchor stays).
  void Clear();
  // Entries and anchor.
  void ClearWithAnchor();
  void ClearAnchor() { FAnchorRowIndex = -1; }
  // Binary search; AIndex is the position or the insertion point.
  bool FindByRowIndex(int ARowIndex, int& AIndex) const;
  int FindByGroupIndex(int AGroupIndex) const;
  int FindByRecordIndex(int ARecordIndex) const;
  bool IsRecordSelected(int ARecordIndex) const { return FindByRecordIndex(ARecordIndex) >= 0; }
  bool IsRowSelected(int ARowIndex) const;
  void Sort();
  // Deletes entries from the end down to ACount, or appends entries for rows ACount.. .
  void TruncateTo(int ACount);

  int Count() const { return static_cast<int>(FItems.size()); }
  TcxDataSelectionEntry& Items(int AIndex) { return FItems[static_cast<size_t>(AIndex)]; }
  const TcxDataSelectionEntry& Items(int AIndex) const { return FItems[static_cast<size_t>(AIndex)]; }
  int GetAnchorRowIndex() const { return FAnchorRowIndex; }
  void SetAnchorRowIndex(int Value) { FAnchorRowIndex = Value; }
  // Drops entries without a change event (used while the engine rebuilds rows).
  void InternalDelete(int AIndex);
  void Changed();

  std::function<void(TObject* Sender)> OnChanged;

private:
  int FAnchorRowIndex = -1;
  TcxCustomDataController* FDataController;
  std::vector<TcxDataSelectionEntry> FItems;
};
