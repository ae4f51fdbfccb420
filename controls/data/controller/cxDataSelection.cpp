#include "controls/data/controller/cxDataSelection.h"

#include <algorithm>

void TcxDataSelection::Changed()
{
  if (OnChanged) OnChanged(this);
}

void TcxDataSelection::Add(int AIndex, int ARowIndex, int ARecordIndex, int ALevel)
{
  TcxDataSelectionEntry e{ALevel, ARecordIndex, ARowIndex};
  if (AIndex < 0 || AIndex >= Count())
    FItems.push_back(e);
  else
    FItems.insert(FItems.begin() + AIndex, e);
  Changed();
}

void TcxDataSelection::InternalDelete(int AIndex)
{
  if (FItems[static_cast<size_t>(AIndex)].RowIndex == FAnchorRowIndex) FAnchorRowIndex = -1;
  FItems.erase(FItems.begin() + AIndex);
}

void TcxDataSelection::Delete(int AIndex)
{
  InternalDelete(AIndex);
  Changed();
}

void TcxDataSelection::Clear()
{
  FItems.clear();
  Changed();
}

void TcxDataSelection::ClearWithAnchor()
{
  FAnchorRowIndex = -1;
  Clear();
}

bool TcxDataSelection::FindByRowIndex(int ARowIndex, int& AIndex) const
{
  auto it = std::lower_bound(FItems.begin(), FItems.end(), ARowIndex,
                             [](const TcxDataSelectionEntry& e, int r) { return e.RowIndex < r; });
  AIndex = static_cast<int>(it - FItems.begin());
  return it != FItems.end() && it->RowIndex == ARowIndex;
}

int TcxDataSelection::FindByGroupIndex(int AGroupIndex) const
{
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Level == -1 && Items(i).RecordIndex == AGroupIndex) return i;
  return -1;
}

int TcxDataSelection::FindByRecordIndex(int ARecordIndex) const
{
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Level != -1 && Items(i).RecordIndex == ARecordIndex) return i;
  return -1;
}

bool TcxDataSelection::IsRowSelected(int ARowIndex) const
{
  int i;
  return FindByRowIndex(ARowIndex, i);
}

void TcxDataSelection::Sort()
{
  std::stable_sort(FItems.begin(), FItems.end(), [](const TcxDataSelectionEntry& a, const TcxDataSelectionEntry& b) {
    return a.RowIndex < b.RowIndex;
  });
}

void TcxDataSelection::TruncateTo(int ACount)
{
  if (ACount < 0) ACount = 0;
  if (Count() > ACount) {
    while (Count() > ACount) InternalDelete(Count() - 1);
    Changed();
  } else if (Count() < ACount) {
    while (Count() < ACount) FItems.push_back({0, Count(), Count()});
    Changed();
  }
}
