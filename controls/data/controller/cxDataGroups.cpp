#include "controls/data/controller/cxDataGroups.h"

#include <algorithm>

void TcxDataGroups::Clear()
{
  FItems.clear();
  FLevelFields.clear();
}

int TcxDataGroups::AddGroup()
{
  FItems.emplace_back();
  return GetCount() - 1;
}

int TcxDataGroups::FirstListIndex(int AIndex) const
{
  while (!IsLeaf(AIndex)) AIndex = GetItem(AIndex).FirstIndex;
  return GetItem(AIndex).FirstIndex;
}

int TcxDataGroups::LastListIndex(int AIndex) const
{
  while (!IsLeaf(AIndex)) AIndex = GetItem(AIndex).LastIndex;
  return GetItem(AIndex).LastIndex;
}

int TcxDataGroups::FindByRowIndex(int ARowIndex, int& ALastBefore) const
{
  auto it = std::lower_bound(FItems.begin(), FItems.end(), ARowIndex,
                             [](const TcxDataGroupInfo& g, int r) { return g.RowIndex < r; });
  int i = static_cast<int>(it - FItems.begin());
  // The first group carrying the row is the one shown there; the others are hidden in it.
  if (it != FItems.end() && it->RowIndex == ARowIndex) {
    ALastBefore = i - 1;
    return i;
  }
  ALastBefore = i - 1;
  return -1;
}

int TcxDataGroups::GetGroupIndexByRowIndex(int ARowIndex, int ALevel) const
{
  if (FItems.empty() || ARowIndex < 0) return -1;
  int before;
  int g = FindByRowIndex(ARowIndex, before);
  if (g < 0) g = before;
  if (g < 0) return -1;
  if (ALevel == -1 || GetItem(g).Level == ALevel) return g;
  if (ALevel > GetItem(g).Level) {
    for (int i = g; i < GetCount(); ++i)
      if (GetItem(i).Level == ALevel) return i;
    return -1;
  }
  for (int i = g; i >= 0; --i)
    if (GetItem(i).Level == ALevel) return i;
  return -1;
}

int TcxDataGroups::GetLevelOfGroup(int AIndex) const
{
  return AIndex >= 0 && AIndex < GetCount() ? GetItem(AIndex).Level : -1;
}

int TcxDataGroups::GetChildCount(int AGroupIndex) const
{
  if (AGroupIndex == -1)
    return static_cast<int>(
        std::count_if(FItems.begin(), FItems.end(), [](const TcxDataGroupInfo& g) { return g.Level == 0; }));
  if (AGroupIndex < 0 || AGroupIndex >= GetCount()) return 0;
  const auto& g = GetItem(AGroupIndex);
  if (IsLeaf(AGroupIndex)) return RecordCountOf(AGroupIndex);
  int n = 0;
  for (int i = g.FirstIndex; i <= g.LastIndex; ++i)
    if (GetItem(i).Level == g.Level + 1) ++n;
  return n;
}

int TcxDataGroups::GetChildGroupIndex(int AGroupIndex, int AChildIndex) const
{
  if (AChildIndex < 0) return -1;
  int from = 0, to = GetCount() - 1, level = 0;
  if (AGroupIndex != -1) {
    if (AGroupIndex < 0 || AGroupIndex >= GetCount() || IsLeaf(AGroupIndex)) return -1;
    const auto& g = GetItem(AGroupIndex);
    if (AChildIndex > g.LastIndex - g.FirstIndex) return -1;
    from = g.FirstIndex;
    to = g.LastIndex;
    level = g.Level + 1;
  }
  for (int i = from; i <= to; ++i)
    if (GetItem(i).Level == level && AChildIndex-- == 0) return i;
  return -1;
}

int TcxDataGroups::GetChildRecordListIndex(int AGroupIndex, int AIndex) const
{
  if (AGroupIndex < 0 || AGroupIndex >= GetCount() || !IsLeaf(AGroupIndex)) return -1;
  const auto& g = GetItem(AGroupIndex);
  return AIndex >= 0 && AIndex <= g.LastIndex - g.FirstIndex ? g.FirstIndex + AIndex : -1;
}

int TcxDataGroups::GetParent(int AIndex) const
{
  int level = GetItem(AIndex).Level;
  for (int i = AIndex - 1; i >= 0; --i)
    if (GetItem(i).Level < level) return i;
  return -1;
}

int TcxDataGroups::FindLeafByListIndex(int AListIndex) const
{
  // Leaf groups hold ascending, contiguous ranges of the record list.
  int lo = 0, hi = GetCount() - 1, found = -1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int first = FirstListIndex(mid);
    if (first <= AListIndex) {
      found = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  if (found < 0) return -1;
  // The last group starting at or before the position may be an ancestor: descend to its leaf.
  while (!IsLeaf(found)) found = GetItem(found).FirstIndex;
  while (found < GetCount() && !(IsLeaf(found) && GetItem(found).LastIndex >= AListIndex)) ++found;
  return found < GetCount() && GetItem(found).FirstIndex <= AListIndex ? found : -1;
}

int TcxDataGroups::FindLeafAncestor(int AListIndex, int ALevel) const
{
  int g = FindLeafByListIndex(AListIndex);
  while (g >= 0 && GetItem(g).Level > ALevel) g = GetParent(g);
  return g;
}

bool TcxDataGroups::IsGroupVisible(int AIndex) const
{
  for (int p = GetParent(AIndex); p >= 0; p = GetParent(p))
    if (!GetItem(p).Expanded) return false;
  return true;
}

bool TcxDataGroups::MakeVisible(int AIndex, bool AIncludeSelf)
{
  bool changed = false;
  if (AIncludeSelf && !GetItem(AIndex).Expanded) {
    GetItem(AIndex).Expanded = true;
    changed = true;
  }
  for (int p = GetParent(AIndex); p >= 0; p = GetParent(p))
    if (!GetItem(p).Expanded) {
      GetItem(p).Expanded = true;
      changed = true;
    }
  if (changed) RenumberRows();
  return changed;
}

void TcxDataGroups::ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive)
{
  int before;
  int g = FindByRowIndex(ARowIndex, before);
  if (g < 0) return;
  int level = GetItem(g).Level;
  GetItem(g).Expanded = AExpanded;
  if (ARecursive && !IsLeaf(g))
    for (int i = g + 1; i < GetCount() && GetItem(i).Level > level; ++i) GetItem(i).Expanded = AExpanded;
  RenumberRows();
}

void TcxDataGroups::SetAllExpanded(bool AExpanded)
{
  for (auto& g : FItems) g.Expanded = AExpanded;
  RenumberRows();
}

int TcxDataGroups::GetRowCount() const
{
  if (FItems.empty()) return 0;
  int last = GetCount() - 1;
  int before;
  int shown = FindByRowIndex(GetItem(last).RowIndex, before);
  int n = GetItem(last).RowIndex + 1;
  if (shown >= 0 && GetItem(shown).Expanded) n += RecordCountOf(last);
  return n;
}

void TcxDataGroups::GetRowInfo(int ARowIndex, TcxRowInfo& AInfo, const std::vector<int>& ARecordList) const
{
  int before;
  int g = FindByRowIndex(ARowIndex, before);
  if (g >= 0) {
    AInfo.Level = GetItem(g).Level;
    AInfo.Expanded = GetItem(g).Expanded;
    AInfo.RecordIndex = ARecordList[static_cast<size_t>(FirstListIndex(g))];
  } else {
    const auto& leaf = GetItem(before);
    AInfo.Level = GetLevelCount();
    AInfo.Expanded = false;
    AInfo.RecordIndex = ARecordList[static_cast<size_t>(ARowIndex + leaf.FirstIndex - leaf.RowIndex - 1)];
  }
}

void TcxDataGroups::RenumberRows()
{
  int row = 0;
  bool hiding = false;
  int hideLevel = 0, hiddenRow = 0;
  for (int i = 0; i < GetCount(); ++i) {
    auto& g = GetItem(i);
    if (hiding && g.Level > hideLevel) {
      g.RowIndex = hiddenRow;
      continue;
    }
    hiding = false;
    g.RowIndex = row;
    if (!g.Expanded) {
      hiding = true;
      hideLevel = g.Level;
      hiddenRow = row;
    } else if (IsLeaf(i)) {
      row += RecordCountOf(i);
    }
    ++row;
  }
}
