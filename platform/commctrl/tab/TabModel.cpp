#include "platform/commctrl/tab/TabModel.h"

#include <algorithm>

TabModel::Item* TabModel::At(int index)
{
  return index >= 0 && index < Count() ? &FItems[std::size_t(index)] : nullptr;
}

const TabModel::Item* TabModel::At(int index) const
{
  return index >= 0 && index < Count() ? &FItems[std::size_t(index)] : nullptr;
}

int TabModel::Insert(int index, Item item)
{
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, std::move(item));
  if (FSel < 0 && Count() == 1)
    FSel = 0;
  else if (FSel >= index)
    ++FSel;
  if (FFocus >= index) ++FFocus;
  return index;
}

bool TabModel::Delete(int index)
{
  if (!At(index)) return false;
  FItems.erase(FItems.begin() + index);
  auto shift = [&](int& i) {
    if (i == index)
      i = -1;
    else if (i > index)
      --i;
  };
  shift(FSel);
  shift(FFocus);
  FFirst = std::clamp(FFirst, 0, std::max(0, Count() - 1));
  return true;
}

void TabModel::Clear()
{
  FItems.clear();
  FSel = FFocus = -1;
  FFirst = 0;
}

int TabModel::SetSel(int index)
{
  if (!At(index)) return -1;
  int old = FSel;
  FSel = index;
  FFocus = index;
  return old;
}

void TabModel::SetFirst(int first) { FFirst = std::clamp(first, 0, FMaxFirst); }

void TabModel::Layout(int width, int height, bool multi, bool ragged, int arrowsWidth)
{
  const int margin = 2;
  FWidth = width;
  FHeight = height;
  FOverflow = false;
  FMaxFirst = 0;
  if (!multi) {
    FRows = 1;
    int total = margin;
    for (const Item& it : FItems) total += it.Width;
    if (total > width) {
      FOverflow = true;
      // The furthest scroll still shows the last tab whole beside the arrows.
      int room = width - arrowsWidth - margin, used = 0, k = Count();
      while (k > 0 && used + FItems[std::size_t(k - 1)].Width <= room) used += FItems[std::size_t(--k)].Width;
      FMaxFirst = std::min(k, Count() - 1);
    }
    FFirst = std::clamp(FFirst, 0, FMaxFirst);
    int x = margin;
    for (int i = FFirst - 1; i >= 0; --i) x -= FItems[std::size_t(i)].Width;
    for (Item& it : FItems) {
      it.Row = 0;
      it.Rect = RECT{x, margin, x + it.Width, margin + height};
      x += it.Width;
    }
    return;
  }
  // Rows filled left to right, then numbered so the selected one sits next to the page.
  FFirst = 0;
  std::vector<std::vector<int>> rows(1);
  int x = margin;
  for (int i = 0; i < Count(); ++i) {
    int w = FItems[std::size_t(i)].Width;
    if (x + w > width - margin && !rows.back().empty()) {
      rows.emplace_back();
      x = margin;
    }
    rows.back().push_back(i);
    x += w;
  }
  FRows = int(rows.size());
  int selRow = 0;
  for (int r = 0; r < FRows; ++r)
    for (int i : rows[std::size_t(r)])
      if (i == FSel) selRow = r;
  for (int r = 0; r < FRows; ++r) {
    // The row order rotates so that the selected row comes last (next to the page).
    int place = (r - selRow - 1 + 2 * FRows) % FRows;  // 0 the top row
    int used = 0;
    for (int i : rows[std::size_t(r)]) used += FItems[std::size_t(i)].Width;
    int extra = (FRows > 1 && !ragged) ? std::max(0, width - 2 * margin - used) : 0;
    int n = int(rows[std::size_t(r)].size());
    x = margin;
    for (int k = 0; k < n; ++k) {
      Item& it = FItems[std::size_t(rows[std::size_t(r)][std::size_t(k)])];
      int w = it.Width + extra / n + (k < extra % n ? 1 : 0);
      it.Row = FRows - 1 - place;
      it.Rect = RECT{x, margin + place * height, x + w, margin + (place + 1) * height};
      x += w;
    }
  }
}

int TabModel::HitTest(POINT pt) const
{
  for (int i = 0; i < Count(); ++i) {
    const RECT& r = FItems[std::size_t(i)].Rect;
    if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) {
      if (FOverflow && r.right > FWidth) return -1;
      return i;
    }
  }
  return -1;
}
