#include "gridkit/model/BookmarkListEh.h"

#include <algorithm>

#include "gridkit/model/GridDataLinkEh.h"
#include "gridkit/model/GridHostEh.h"
#include "gridkit/shims/ZeDuzVCL.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Guards.h"

TBookmarkListEh::TBookmarkListEh(IDBGridEhHost* Grid) : FOwnerGrid(Grid) {}

TBookmarkListEh::~TBookmarkListEh()
{
  // The grid is going too: nothing to repaint, only the list to drop.
  FBookmarks.clear();
}

TDataSet* TBookmarkListEh::DataSet() const
{
  TGridDataLinkEh* link = FOwnerGrid ? FOwnerGrid->GetDataLink() : nullptr;
  return link ? link->GetDataSet() : nullptr;
}

void TBookmarkListEh::ListChanged()
{
  FLastKey.clear();
  FLastIndex = -1;
}

Integer TBookmarkListEh::CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const
{
  ++FComparisons;
  return ZeDuzVCL::CompareBookmarkStrings(DataSet(), A, B);
}

TBookmarkStr TBookmarkListEh::CurrentRowBookmark() const
{
  if (!FDataActive || !DataSet()) throw EInvalidGridOperation("Cannot perform this operation on a closed dataset");
  return DataSet()->GetBookmark();
}

bool TBookmarkListEh::SearchBookmark(const TBookmarkStr& Bookmark, Integer& Index)
{
  if (Bookmark == FLastKey && FLastIndex >= 0) {
    Index = FLastIndex;
    return FLastFound;
  }
  Integer l = 0, h = GetCount() - 1;
  bool found = false;
  while (l <= h) {
    Integer i = (l + h) / 2;
    Integer c = CompareBookmarks(FBookmarks[static_cast<std::size_t>(i)], Bookmark);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        l = i;
      }
    }
  }
  Index = l;
  FLastKey = Bookmark;
  FLastIndex = l;
  FLastFound = found;
  return found;
}

Integer TBookmarkListEh::PositionOf(const TBookmarkStr& Bookmark)
{
  Integer i = 0;
  return SearchBookmark(Bookmark, i) ? i : -1;
}

bool TBookmarkListEh::IsCurrentRecordSelected()
{
  Integer i = 0;
  return SearchBookmark(CurrentRowBookmark(), i);
}

void TBookmarkListEh::SelectCurrentRecord(bool Value)
{
  TBookmarkStr b = CurrentRowBookmark();
  Integer i = 0;
  if (SearchBookmark(b, i) == Value) return;
  if (Value)
    FBookmarks.insert(FBookmarks.begin() + i, b);
  else
    FBookmarks.erase(FBookmarks.begin() + i);
  ListChanged();
  if (!FOwnerGrid) return;
  FOwnerGrid->InvalidateCurrentRow();
  if (FOwnerGrid->GetSelectionType() != gstRecordBookmarks && !FBookmarks.empty()) FOwnerGrid->SelectRecordBookmarks();
  FOwnerGrid->UpdateSelectionState();
}

void TBookmarkListEh::RemoveAll()
{
  if (FBookmarks.empty()) return;
  FBookmarks.clear();
  ListChanged();
  if (FOwnerGrid) {
    FOwnerGrid->UpdateSelectionState();
    FOwnerGrid->InvalidateGrid();
  }
}

void TBookmarkListEh::SetDataActive(bool Value)
{
  RemoveAll();
  if (FOwnerGrid) FOwnerGrid->UpdateSelectionState();
  FDataActive = Value;
}

void TBookmarkListEh::DeleteSelected()
{
  TDataSet* ds = DataSet();
  if (!ds) return;
  ds->DisableControls();
  struct Enable {
    TDataSet* D;
    ~Enable() { D->EnableControls(); }
  } enable{ds};
  for (Integer n = GetCount() - 1; n >= 0; --n) {
    ds->GotoBookmark(FBookmarks[static_cast<std::size_t>(n)]);
    ds->Delete();
    FBookmarks.erase(FBookmarks.begin() + n);
    ListChanged();
  }
  if (FOwnerGrid) FOwnerGrid->UpdateSelectionState();
}

RECT TBookmarkListEh::SelectedRowsRect()
{
  Integer first = -1, last = -1;
  TGridDataLinkEh* link = FOwnerGrid ? FOwnerGrid->GetDataLink() : nullptr;
  auto note = [&](Integer Row) {
    TDataSet* ds = link->GetDataSet();
    if (PositionOf(ds->GetBookmark()) < 0) return;
    if (first < 0) first = Row;
    last = std::max(last, Row);
  };
  if (link && link->GetActive()) {
    if (FOwnerGrid->ScrollsWholeDataSet()) {
      Integer end = std::min(FOwnerGrid->GetLastVisibleDataRow(), FOwnerGrid->GetDataRowCount() - 1);
      for (Integer row = FOwnerGrid->GetTopDataRow(); row <= end; ++row) {
        FOwnerGrid->InstantReadRecord(row);
        TScopeExit leave([this] { FOwnerGrid->EndInstantRead(); });
        note(row);
      }
    } else {
      Integer saved = link->GetActiveRecord();
      TScopeExit restore([link, saved] { link->SetActiveRecord(saved); });
      for (Integer row = 0; row < link->GetRecordCount(); ++row) {
        link->SetActiveRecord(row);
        note(row);
      }
    }
  }
  if (first < 0) return RECT{-1, -1, -1, -1};
  Integer top = FOwnerGrid->GetFirstDataRow();
  return RECT{0, first + top, FOwnerGrid->GetColCount() - 1, last + top};
}
