#include "platform/commctrl/listbox/ListBoxModel.h"

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"

namespace {

const AnsiString kEmpty;

}  // namespace

ListBoxModel::ListBoxModel() : FOptions() {}
ListBoxModel::ListBoxModel(Options options) : FOptions(options) {}

// ---- Items ------------------------------------------------------------------------------------

void ListBoxModel::Shift(int from, int by)
{
  auto move = [&](int& v) {
    if (v >= from) v += by;
  };
  move(FCurSel);
  move(FCaret);
  move(FAnchor);
  if (FTop > from) FTop += by;
}

int ListBoxModel::Insert(int index, const AnsiString& text, LPARAM data)
{
  if (FOptions.noData) return -1;
  if (index == -1) index = FCount;
  if (index < 0 || index > FCount) return -1;
  FText.insert(FText.begin() + index, text);
  FData.insert(FData.begin() + index, data);
  if (FOptions.variableHeight) FHeights.insert(FHeights.begin() + index, FItemHeight);
  if (FOptions.selMode == SelMode::Multiple || FOptions.selMode == SelMode::Extended)
    FSel.insert(FSel.begin() + index, false);
  ++FCount;
  Shift(index, 1);
  return index;
}

int ListBoxModel::SortedPosition(const std::function<int(int)>& compare) const
{
  int lo = 0, hi = FCount;
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (compare(mid) >= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int ListBoxModel::Delete(int index)
{
  if (!Valid(index) || FOptions.noData) return -1;
  FText.erase(FText.begin() + index);
  FData.erase(FData.begin() + index);
  if (!FHeights.empty()) FHeights.erase(FHeights.begin() + index);
  if (!FSel.empty()) FSel.erase(FSel.begin() + index);
  --FCount;
  auto drop = [&](int& v) {
    if (v == index)
      v = -1;
    else if (v > index)
      --v;
  };
  drop(FCurSel);
  // The caret stays on the row it was on, as long as there is one.
  if (FCaret > index || FCaret >= FCount) --FCaret;
  drop(FAnchor);
  if (FTop > index || FTop >= FCount) FTop = std::max(0, FTop - 1);
  return FCount;
}

void ListBoxModel::Reset()
{
  FText.clear();
  FData.clear();
  FHeights.clear();
  FSel.clear();
  FCount = 0;
  FCurSel = FCaret = FAnchor = -1;
  FTop = 0;
  FTyped.Clear();
}

int ListBoxModel::SetCount(int count)
{
  if (!FOptions.noData || count < 0) return -1;
  Reset();
  FCount = count;
  if (FOptions.selMode == SelMode::Multiple || FOptions.selMode == SelMode::Extended) FSel.assign(size_t(count), false);
  if (FOptions.variableHeight) FHeights.assign(size_t(count), FItemHeight);
  return 0;
}

const AnsiString& ListBoxModel::Text(int index) const
{
  return (Valid(index) && !FOptions.noData) ? FText[size_t(index)] : kEmpty;
}

LPARAM ListBoxModel::Data(int index) const { return (Valid(index) && !FOptions.noData) ? FData[size_t(index)] : 0; }

bool ListBoxModel::SetData(int index, LPARAM data)
{
  if (!Valid(index) || FOptions.noData) return false;
  FData[size_t(index)] = data;
  return true;
}

// ---- Heights ----------------------------------------------------------------------------------

void ListBoxModel::SetDefaultHeight(int h) { FItemHeight = std::clamp(h, 1, 255); }

int ListBoxModel::Height(int index) const
{
  if (FOptions.variableHeight && Valid(index)) return FHeights[size_t(index)];
  return FItemHeight;
}

bool ListBoxModel::SetHeight(int index, int h)
{
  if (h < 1 || h > 255) return false;
  if (!FOptions.variableHeight) {
    FItemHeight = h;
    return true;
  }
  if (!Valid(index)) return false;
  FHeights[size_t(index)] = h;
  return true;
}

// ---- Selection --------------------------------------------------------------------------------

void ListBoxModel::ClearSel()
{
  FCurSel = -1;
  std::fill(FSel.begin(), FSel.end(), false);
}

int ListBoxModel::CurSel() const
{
  if (FOptions.selMode == SelMode::Single || FOptions.selMode == SelMode::None) return FCurSel;
  return (Valid(FCaret) && FSel[size_t(FCaret)]) ? FCaret : -1;
}

bool ListBoxModel::SetCurSel(int index)
{
  if (FOptions.selMode == SelMode::Multiple || FOptions.selMode == SelMode::Extended) return false;
  if (!Valid(index)) {
    FCurSel = -1;
    return false;
  }
  FCurSel = index;
  FCaret = FAnchor = index;
  return true;
}

bool ListBoxModel::IsSelected(int index) const
{
  if (!Valid(index)) return false;
  if (FSel.empty()) return index == FCurSel;
  return FSel[size_t(index)];
}

bool ListBoxModel::SetSel(bool select, int index)
{
  if (FSel.empty() && FCount > 0) return false;
  if (FOptions.selMode != SelMode::Multiple && FOptions.selMode != SelMode::Extended) return false;
  if (index == -1) {
    std::fill(FSel.begin(), FSel.end(), select);
    return true;
  }
  if (!Valid(index)) return false;
  FSel[size_t(index)] = select;
  return true;
}

bool ListBoxModel::SelRange(bool select, int first, int last)
{
  if (FOptions.selMode != SelMode::Multiple && FOptions.selMode != SelMode::Extended) return false;
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, FCount - 1);
  for (int i = first; i <= last; ++i) FSel[size_t(i)] = select;
  return true;
}

int ListBoxModel::SelCount() const
{
  if (FOptions.selMode != SelMode::Multiple && FOptions.selMode != SelMode::Extended) return -1;
  return int(std::count(FSel.begin(), FSel.end(), true));
}

std::vector<int> ListBoxModel::SelItems() const
{
  std::vector<int> out;
  for (size_t i = 0; i < FSel.size(); ++i)
    if (FSel[i]) out.push_back(int(i));
  return out;
}

bool ListBoxModel::SetCaret(int index)
{
  if (!Valid(index)) return false;
  FCaret = index;
  return true;
}

bool ListBoxModel::SetAnchor(int index)
{
  if (!Valid(index)) return false;
  FAnchor = index;
  return true;
}

bool ListBoxModel::ClickSelect(int index, bool shift, bool ctrl)
{
  if (!Valid(index)) return false;
  switch (FOptions.selMode) {
    case SelMode::None: FCaret = index; return false;
    case SelMode::Single: {
      bool changed = FCurSel != index;
      FCurSel = FCaret = FAnchor = index;
      return changed;
    }
    case SelMode::Multiple: {
      FCaret = FAnchor = index;
      FSel[size_t(index)] = !FSel[size_t(index)];
      return true;
    }
    case SelMode::Extended: {
      std::vector<bool> before = FSel;
      if (shift) {
        if (!Valid(FAnchor)) FAnchor = index;
        if (!ctrl) std::fill(FSel.begin(), FSel.end(), false);
        SelRange(true, FAnchor, index);
      } else if (ctrl) {
        FSel[size_t(index)] = !FSel[size_t(index)];
        FAnchor = index;
      } else {
        std::fill(FSel.begin(), FSel.end(), false);
        FSel[size_t(index)] = true;
        FAnchor = index;
      }
      FCaret = index;
      return before != FSel;
    }
  }
  return false;
}

bool ListBoxModel::ToggleCaret()
{
  if (!Valid(FCaret) || FSel.empty()) return false;
  FSel[size_t(FCaret)] = !FSel[size_t(FCaret)];
  FAnchor = FCaret;
  return true;
}

// ---- Scrolling --------------------------------------------------------------------------------

bool ListBoxModel::SetTopIndex(int index)
{
  int t = std::clamp(index, 0, std::max(FCount - 1, 0));
  if (t == FTop) return false;
  FTop = t;
  return true;
}

int ListBoxModel::RowsFrom(int top, int height) const
{
  if (!FOptions.variableHeight) return std::max(1, height / FItemHeight);
  int rows = 0, used = 0;
  for (int i = std::max(top, 0); i < FCount; ++i) {
    used += FHeights[size_t(i)];
    if (used > height) break;
    ++rows;
  }
  return std::max(rows, 1);
}

int ListBoxModel::LastTop(int height) const
{
  if (FCount == 0) return 0;
  if (!FOptions.variableHeight) return std::max(0, FCount - std::max(1, height / FItemHeight));
  int used = 0, top = FCount;
  while (top > 0 && used + FHeights[size_t(top - 1)] <= height) used += FHeights[size_t(--top)];
  return std::min(top, FCount - 1);
}

bool ListBoxModel::EnsureVisible(int index, int height)
{
  if (!Valid(index)) return false;
  if (index < FTop) return SetTopIndex(index);
  if (index < FTop + RowsFrom(FTop, height)) return false;
  // The least top index that still shows `index` whole at the bottom.
  int top = index;
  if (!FOptions.variableHeight) {
    top = index - std::max(1, height / FItemHeight) + 1;
  } else {
    int used = FHeights[size_t(index)];
    while (top > 0 && used + FHeights[size_t(top - 1)] <= height) used += FHeights[size_t(--top)];
  }
  return SetTopIndex(std::max(top, 0));
}

// ---- Searching --------------------------------------------------------------------------------

int ListBoxModel::Find(int start, const AnsiString& prefix, bool exact) const
{
  if (FCount == 0 || FOptions.noData) return -1;
  if (start < -1 || start >= FCount) start = -1;
  for (int k = 1; k <= FCount; ++k) {
    int i = (start + k) % FCount;
    if (TypeAhead::Matches(FText[size_t(i)], prefix, exact)) return i;
  }
  return -1;
}

int ListBoxModel::FindData(int start, LPARAM data) const
{
  if (FCount == 0 || FOptions.noData) return -1;
  if (start < -1 || start >= FCount) start = -1;
  for (int k = 1; k <= FCount; ++k) {
    int i = (start + k) % FCount;
    if (FData[size_t(i)] == data) return i;
  }
  return -1;
}

int ListBoxModel::TypeChar(char c, DWORD time)
{
  return FTyped.Find(c, time, Valid(FCaret) ? FCaret : -1, FCount, [&](int i, const AnsiString& prefix) {
    return !FOptions.noData && TypeAhead::Matches(FText[size_t(i)], prefix, false);
  });
}
