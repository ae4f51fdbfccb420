// The selected records of the grid, kept as bookmarks in the dataset's own order so that asking
// whether a record is selected is a binary search; the last answer is remembered, because
// painting asks the same question for the same record several times in a row.
#pragma once

#include <vector>

#include "platform/db/DB.h"
#include "platform/gdi/WinTypes.h"

class IDBGridEhHost;
class TDataSet;

class TBookmarkListEh {
public:
  explicit TBookmarkListEh(IDBGridEhHost* Grid);
  ~TBookmarkListEh();
  TBookmarkListEh(const TBookmarkListEh&) = delete;
  TBookmarkListEh& operator=(const TBookmarkListEh&) = delete;

  Integer GetCount() const { return static_cast<Integer>(FBookmarks.size()); }
  const TBookmarkStr& GetItem(Integer I) const { return FBookmarks.at(static_cast<std::size_t>(I)); }
  Integer CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const;
  // Raises EInvalidGridOperation "Cannot perform this operation on a closed dataset" while the
  // grid's data is not active.
  TBookmarkStr CurrentRowBookmark() const;
  // True when found; Index is then its position, else where it would go.
  bool SearchBookmark(const TBookmarkStr& Bookmark, Integer& Index);
  // -1 when not selected.
  Integer PositionOf(const TBookmarkStr& Bookmark);
  bool IsCurrentRecordSelected();
  void SelectCurrentRecord(bool Value);
  void RemoveAll();
  void SetDataActive(bool Value);
  bool GetDataActive() const { return FDataActive; }
  // Deletes every selected record from the dataset, last first; on a failure the records not
  // yet deleted stay selected and the dataset's controls are enabled again.
  void DeleteSelected();
  // The grid rows of the shown selected records: (0, first, last column, last), or all -1.
  RECT SelectedRowsRect();
  // Bookmark comparisons made with the dataset so far (the remembered answer makes none).
  Integer ComparisonCount() const { return FComparisons; }

private:
  TDataSet* DataSet() const;
  void ListChanged();

  TBookmarkStr FLastKey;
  bool FLastFound = false;
  Integer FLastIndex = 0;
  IDBGridEhHost* FOwnerGrid;
  bool FDataActive = false;
  std::vector<TBookmarkStr> FBookmarks;
  mutable Integer FComparisons = 0;
};
