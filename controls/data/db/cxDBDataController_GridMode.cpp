// Grid mode of the dataset-bound controller: rows are the data link's buffer, and the selection,
// the anchor and the saved focus are dataset bookmarks.
#include "controls/data/db/cxDBDataController.h"
#include "controls/data/cxDataConsts.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Guards.h"

using namespace cxDataConsts;

namespace {

// Freezes the provider and keeps its position; the position comes back also on failure.
void FreezePos(TcxDBDataProvider* AProvider)
{
  AProvider->Freeze();
  AProvider->SavePos();
}

void UnfreezePos(TcxDBDataProvider* AProvider)
{
  try {
    AProvider->RestorePos();
  } catch (...) {}
  AProvider->Unfreeze();
}

}  // namespace

// ---- TcxDBDataSelection ----------------------------------------------------------------------

bool TcxDBDataSelection::FindBookmark(const AnsiString& ABookmark, int& AIndex) const
{
  auto* p = FDataController->GetDBProvider();
  int low = 0;
  int high = static_cast<int>(Bookmarks.size()) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int c = p->CompareBookmarks(Bookmarks[static_cast<size_t>(middle)], ABookmark);
    if (c == 0) {
      AIndex = middle;
      return true;
    }
    if (c < 0)
      low = middle + 1;
    else
      high = middle - 1;
  }
  AIndex = low;
  return false;
}

void TcxDBDataSelection::SetSelected(const AnsiString& ABookmark, bool ASelected)
{
  if (ABookmark.empty()) return;
  int index = 0;
  const bool found = FindBookmark(ABookmark, index);
  if (ASelected && !found) Bookmarks.insert(Bookmarks.begin() + index, ABookmark);
  if (!ASelected && found) {
    if (Bookmarks[static_cast<size_t>(index)] == AnchorBookmark) AnchorBookmark.clear();
    Bookmarks.erase(Bookmarks.begin() + index);
  }
}

void TcxDBDataSelection::SelectAll()
{
  TDataSet* ds = FDataController->GetDataSet();
  if (!FDataController->IsGridMode() || !ds || !ds->GetActive()) return;
  {
    auto* p = FDataController->GetDBProvider();
    FreezePos(p);
    TScopeExit frozen([p] { UnfreezePos(p); });
    Bookmarks.clear();
    TScopeExit undo([&] { Bookmarks.clear(); });
    ds->First();
    while (!ds->GetEof()) {
      Bookmarks.push_back(ds->GetBookmark());
      ds->Next();
    }
    undo.Dismiss();
  }
  FDataController->AddChange(cxDataChange::Selection);
}

bool TcxDBDataSelection::ExtendRange(const AnsiString& AStart, const AnsiString& AEnd, bool AForward)
{
  auto* p = FDataController->GetDBProvider();
  TDataSet* ds = FDataController->GetDataSet();
  if (p->CompareBookmarks(AStart, AEnd) == 0) {
    Bookmarks.assign(1, AStart);
    return true;
  }
  const size_t n = Bookmarks.size();
  auto same = [&](const AnsiString& A, const AnsiString& B) { return p->CompareBookmarks(A, B) == 0; };
  if (AForward) {
    if (n > 1 && same(Bookmarks[n - 2], AEnd)) {
      if (!same(Bookmarks.front(), AStart)) return false;
      Bookmarks.pop_back();  // the range shrank by one
      return true;
    }
    ds->GotoBookmark(AEnd);
    ds->Prior();
    if (same(Bookmarks.back(), ds->GetBookmark()) && same(Bookmarks.front(), AStart)) {
      Bookmarks.push_back(AEnd);  // the range grew by one
      return true;
    }
    return false;
  }
  if (n > 1 && same(Bookmarks[1], AStart)) {
    if (!same(Bookmarks.back(), AEnd)) return false;
    Bookmarks.erase(Bookmarks.begin());
    return true;
  }
  ds->GotoBookmark(AStart);
  ds->Next();
  if (same(Bookmarks.front(), ds->GetBookmark()) && same(Bookmarks.back(), AEnd)) {
    Bookmarks.insert(Bookmarks.begin(), AStart);
    return true;
  }
  return false;
}

void TcxDBDataSelection::SelectBookmarkRange(const AnsiString& AStart, const AnsiString& AEnd, bool AKeepSelection)
{
  auto* p = FDataController->GetDBProvider();
  TDataSet* ds = FDataController->GetDataSet();
  if (!AKeepSelection) Bookmarks.clear();
  int i = 0;
  int j = 0;
  bool merging = !Bookmarks.empty();
  if (merging) {
    FindBookmark(AStart, i);
    FindBookmark(AEnd, j);
    merging = i != static_cast<int>(Bookmarks.size());
  }
  TScopeExit undo([&] { Bookmarks.clear(); });
  ds->GotoBookmark(AStart);
  while (!ds->GetEof()) {
    const AnsiString b = ds->GetBookmark();
    bool placed = false;
    if (merging) {
      for (; i <= j && i < static_cast<int>(Bookmarks.size()); ++i) {
        const int c = p->CompareBookmarks(Bookmarks[static_cast<size_t>(i)], b);
        if (c > 0) {
          Bookmarks.insert(Bookmarks.begin() + i, b);
          ++i;
          ++j;
          placed = true;
          break;
        }
        if (c == 0) {
          ++i;
          placed = true;
          break;
        }
      }
    }
    if (!placed) Bookmarks.push_back(b);
    if (p->CompareBookmarks(b, AEnd) >= 0) break;
    ds->Next();
  }
  undo.Dismiss();
}

void TcxDBDataSelection::SelectRange(const AnsiString& ABookmark, bool AKeepSelection)
{
  TDataSet* ds = FDataController->GetDataSet();
  if (!FDataController->IsGridMode() || !ds || !ds->GetActive() || AnchorBookmark.empty()) return;
  if (ds->GetState() == dsInsert && ds->GetEof()) return;
  auto* p = FDataController->GetDBProvider();
  {
    FreezePos(p);
    TScopeExit frozen([p] { UnfreezePos(p); });
    const bool forward = p->CompareBookmarks(AnchorBookmark, ABookmark) <= 0;
    const AnsiString start = forward ? AnchorBookmark : ABookmark;
    const AnsiString end = forward ? ABookmark : AnchorBookmark;
    bool adjusted = false;
    if (!AKeepSelection && !Bookmarks.empty()) adjusted = ExtendRange(start, end, forward);
    if (!adjusted) SelectBookmarkRange(start, end, AKeepSelection);
  }
  FDataController->AddChange(cxDataChange::Selection);
}

bool TcxDBDataSelection::RemoveInvalidBookmarks()
{
  auto* p = FDataController->GetDBProvider();
  if (!FDataController->IsGridMode() || !FDataController->GetDataSet()) return false;
  bool removed = false;
  for (int i = static_cast<int>(Bookmarks.size()) - 1; i >= 0; --i) {
    const AnsiString& b = Bookmarks[static_cast<size_t>(i)];
    if (b.empty() || !p->BookmarkValid(b)) {
      if (b == AnchorBookmark) AnchorBookmark.clear();
      Bookmarks.erase(Bookmarks.begin() + i);
      removed = true;
    }
  }
  if (removed) FDataController->AddChange(cxDataChange::Selection);
  return removed;
}

// ---- TcxDBDataController: grid-mode selection ------------------------------------------------

AnsiString TcxDBDataController::GetRowBookmark(int ARowIndex)
{
  TDataSet* ds = GetDataSet();
  auto* link = GetDBProvider()->GetDataLink();
  if (!IsGridMode() || !ds || !link->GetActive() || ARowIndex < 0 || ARowIndex >= link->GetRecordCount())
    return AnsiString();
  const int old = link->GetActiveRecord();
  link->SetActiveRecord(ARowIndex);
  AnsiString b;
  TScopeExit undo([&] { link->SetActiveRecord(old); });
  b = ds->GetBookmark();
  return b;
}

AnsiString TcxDBDataController::GetSelectedBookmark(int AIndex)
{
  if (!IsGridMode()) cxCustomData::RaiseInvalidOperation(cxSDataControllerNotInGridMode);
  if (!GetMultiSelect()) return GetRowBookmark(GetFocusedRowIndex());
  if (AIndex < 0 || AIndex >= static_cast<int>(FDBSelection->Bookmarks.size()))
    cxCustomData::RaiseInvalidOperation(cxSDataRowIndexError);
  return FDBSelection->Bookmarks[static_cast<size_t>(AIndex)];
}

AnsiString TcxDBDataController::GetAnchorBookmark()
{
  if (!IsGridMode()) cxCustomData::RaiseInvalidOperation(cxSDataControllerNotInGridMode);
  return FDBSelection->AnchorBookmark;
}

void TcxDBDataController::ClearSelection()
{
  if (!FDBSelection->Bookmarks.empty()) {
    FDBSelection->Bookmarks.clear();
    AddChange(cxDataChange::Selection);
  }
  TcxCustomDataController::ClearSelection();
}

int TcxDBDataController::GetSelectedCount() const
{
  if (IsGridMode() && GetMultiSelect()) return static_cast<int>(FDBSelection->Bookmarks.size());
  return TcxCustomDataController::GetSelectedCount();
}

int TcxDBDataController::GetSelectedRowIndex(int AIndex) const
{
  if (!IsGridMode() || !GetMultiSelect()) return TcxCustomDataController::GetSelectedRowIndex(AIndex);
  auto* self = const_cast<TcxDBDataController*>(this);
  auto* p = GetDBProvider();
  const int rows = GetRowCount();
  if (AIndex < 0 || AIndex >= GetSelectedCount() || rows == 0) return -1;
  const AnsiString& b = FDBSelection->Bookmarks[static_cast<size_t>(AIndex)];
  // Outside the buffered window: no row.
  if (p->CompareBookmarks(b, self->GetRowBookmark(0)) < 0 || p->CompareBookmarks(b, self->GetRowBookmark(rows - 1)) > 0)
    return -1;
  for (int row = 0; row < rows; ++row)
    if (p->CompareBookmarks(b, self->GetRowBookmark(row)) == 0) return row;
  return -1;
}

int TcxDBDataController::GetSelectionAnchorRowIndex() const
{
  return IsGridMode() ? -1 : TcxCustomDataController::GetSelectionAnchorRowIndex();
}

bool TcxDBDataController::IsSelectionAnchorExist() const
{
  return IsGridMode() ? !FDBSelection->AnchorBookmark.empty() : TcxCustomDataController::IsSelectionAnchorExist();
}

bool TcxDBDataController::IsRowSelected(int ARowIndex) const
{
  if (!IsGridMode() || !GetMultiSelect()) return TcxCustomDataController::IsRowSelected(ARowIndex);
  const AnsiString b = const_cast<TcxDBDataController*>(this)->GetRowBookmark(ARowIndex);
  int index = 0;
  return !b.empty() && FDBSelection->FindBookmark(b, index);
}

void TcxDBDataController::SelectAll()
{
  if (!IsGridMode()) {
    TcxCustomDataController::SelectAll();
    return;
  }
  if (GetMultiSelect()) FDBSelection->SelectAll();
}

void TcxDBDataController::SelectFromAnchor(int ARowIndex, bool AKeepSelection)
{
  if (!IsGridMode()) {
    TcxCustomDataController::SelectFromAnchor(ARowIndex, AKeepSelection);
    return;
  }
  if (ARowIndex < 0 || ARowIndex >= GetRowCount()) cxCustomData::RaiseInvalidOperation(cxSDataRowIndexError);
  if (!FDBSelection->AnchorBookmark.empty()) FDBSelection->SelectRange(GetRowBookmark(ARowIndex), AKeepSelection);
}

void TcxDBDataController::SetSelectionAnchor(int ARowIndex)
{
  if (!IsGridMode()) {
    TcxCustomDataController::SetSelectionAnchor(ARowIndex);
    return;
  }
  if (ARowIndex < 0 || ARowIndex >= GetRowCount()) cxCustomData::RaiseInvalidOperation(cxSDataRowIndexError);
  FDBSelection->AnchorBookmark = GetRowBookmark(ARowIndex);
}

void TcxDBDataController::ChangeRowSelectionByBookmark(int ARowIndex, bool ASelected)
{
  if (!IsGridMode()) {
    ChangeRowSelection(ARowIndex, ASelected);
    return;
  }
  if (ARowIndex < 0 || ARowIndex >= GetRowCount()) cxCustomData::RaiseInvalidOperation(cxSDataRowIndexError);
  FDBSelection->SetSelected(GetRowBookmark(ARowIndex), ASelected);
  AddChange(cxDataChange::Selection);
}

void TcxDBDataController::ForEachRowInDataSet(bool ASelectedOnly, const std::function<void(int ARowIndex)>& AProc)
{
  TDataSet* ds = GetDataSet();
  if (!ds || !ds->GetActive()) return;
  auto* p = GetDBProvider();
  if (ASelectedOnly && (!GetMultiSelect() || !IsGridMode())) {
    if (GetFocusedRowIndex() >= 0) AProc(GetFocusedRowIndex());
    return;
  }
  if (ASelectedOnly) {
    const std::vector<AnsiString> bookmarks = FDBSelection->Bookmarks;
    for (const AnsiString& b : bookmarks) {
      if (!p->BookmarkValid(b)) continue;
      ds->GotoBookmark(b);
      AProc(GetFocusedRowIndex());
    }
    return;
  }
  ds->First();
  while (!ds->GetEof()) {
    AProc(GetFocusedRowIndex());
    ds->Next();
  }
}

void TcxDBDataController::SaveFocusByBookmark()
{
  TDataSet* ds = GetDataSet();
  if (IsGridMode() && ds && ds->GetActive()) {
    const AnsiString b = ds->GetBookmark();
    if (b != FFocusedBookmark) FFocusedBookmark = b;
    return;
  }
  SaveFocus();
}

bool TcxDBDataController::RestoreFocusByBookmark()
{
  TDataSet* ds = GetDataSet();
  if (!IsGridMode()) {
    RestoreFocus();
    return true;
  }
  if (!ds || FFocusedBookmark.empty() || !GetDBProvider()->BookmarkValid(FFocusedBookmark)) return false;
  ds->GotoBookmark(FFocusedBookmark);
  return true;
}

bool TcxDBDataController::IsFocusBookmarkGone() const
{
  if (!IsGridMode() || FFocusedBookmark.empty()) return false;
  return !GetDBProvider()->BookmarkValid(FFocusedBookmark);
}

void TcxDBDataController::ClearSavedFocusBookmark()
{
  if (!FFocusedBookmark.empty()) {
    FFocusedBookmark.clear();
    AddChange(cxDataChange::SavedFocus);
  }
  ClearSavedFocus();
}
