#include "platform/commctrl/toolbar/ToolBarModel.h"

#include <algorithm>

#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/win/window/Rects.h"

using namespace Windows;

namespace {
// Room around a button's image and text: the default button (24 by 22) less the default
// image (16 by 15).
constexpr int PadX = 8, PadY = 7, TextGap = 2;
}  // namespace

ToolBarModel::Button* ToolBarModel::At(int index)
{
  return index >= 0 && index < Count() ? &FButtons[std::size_t(index)] : nullptr;
}

const ToolBarModel::Button* ToolBarModel::At(int index) const
{
  return index >= 0 && index < Count() ? &FButtons[std::size_t(index)] : nullptr;
}

int ToolBarModel::IndexOf(int command) const
{
  for (int i = 0; i < Count(); ++i)
    if (FButtons[std::size_t(i)].Command == command) return i;
  return -1;
}

int ToolBarModel::Insert(int index, Button b)
{
  if (index < 0 || index > Count()) index = Count();
  FButtons.insert(FButtons.begin() + index, std::move(b));
  return index;
}

bool ToolBarModel::Delete(int index)
{
  if (!At(index)) return false;
  FButtons.erase(FButtons.begin() + index);
  return true;
}

bool ToolBarModel::Move(int from, int to)
{
  if (!At(from) || !At(to)) return false;
  Button b = std::move(FButtons[std::size_t(from)]);
  FButtons.erase(FButtons.begin() + from);
  FButtons.insert(FButtons.begin() + to, std::move(b));
  return true;
}

bool ToolBarModel::IsSeparator(int index) const
{
  const Button* b = At(index);
  return b && (b->Style & TBSTYLE_SEP);
}

bool ToolBarModel::HasSplitArrow(int index) const
{
  const Button* b = At(index);
  return b && FSplitArrows && (b->Style & TBSTYLE_DROPDOWN) && !(b->Style & BTNS_WHOLEDROPDOWN);
}

std::pair<int, int> ToolBarModel::GroupOf(int index) const
{
  auto grouped = [&](int i) {
    const Button* b = At(i);
    return b && !(b->Style & TBSTYLE_SEP) && (b->Style & TBSTYLE_GROUP);
  };
  if (!grouped(index)) return {index, index};
  int first = index, last = index;
  while (grouped(first - 1)) --first;
  while (grouped(last + 1)) ++last;
  return {first, last};
}

bool ToolBarModel::Check(int index, bool on)
{
  Button* b = At(index);
  if (!b) return false;
  if (on) {
    auto [first, last] = GroupOf(index);
    for (int i = first; i <= last; ++i)
      if (i != index) At(i)->State &= BYTE(~TBSTATE_CHECKED);
    b->State |= TBSTATE_CHECKED;
  } else {
    b->State &= BYTE(~TBSTATE_CHECKED);
  }
  return true;
}

void ToolBarModel::Click(int index)
{
  Button* b = At(index);
  if (!b || (b->Style & TBSTYLE_SEP) || !(b->Style & TBSTYLE_CHECK)) return;
  if ((b->Style & TBSTYLE_GROUP) && (b->State & TBSTATE_CHECKED)) return;
  Check(index, !(b->State & TBSTATE_CHECKED));
}

SIZE ToolBarModel::Natural(const Button& b, const Metrics& m) const
{
  bool image = b.Image != I_IMAGENONE;
  bool text = b.TextSize.cx > 0;
  int w, h;
  if (m.List) {
    w = (image ? m.BitmapSize.cx : 0) + (text ? b.TextSize.cx + (image ? TextGap * 2 : 0) : 0) + PadX;
    h = std::max(int(m.BitmapSize.cy), int(b.TextSize.cy)) + PadY;
  } else {
    w = std::max(int(m.BitmapSize.cx), text ? int(b.TextSize.cx) + 2 * TextGap : 0) + PadX;
    h = m.BitmapSize.cy + (text ? b.TextSize.cy + TextGap : 0) + PadY;
  }
  return {w, h};
}

void ToolBarModel::Layout(const Metrics& m)
{
  FSplitArrows = m.SplitArrows;
  // Buttons share the widest button's width and the tallest's height; auto-sized buttons and
  // buttons with a width of their own keep theirs.
  int uniformW = m.ButtonSize.cx, h = m.ButtonSize.cy;
  for (const Button& b : FButtons) {
    if ((b.Style & TBSTYLE_SEP) || (b.State & TBSTATE_HIDDEN)) continue;
    SIZE n = Natural(b, m);
    h = std::max(h, int(n.cy));
    if (!(b.Style & TBSTYLE_AUTOSIZE) && !b.Width) uniformW = std::max(uniformW, int(n.cx));
  }
  FButtonSize = {uniformW, h};
  int x = m.Indent, y = m.Top, rows = 0, right = 0;
  bool rowOpen = false;
  for (int i = 0; i < Count(); ++i) {
    Button& b = FButtons[std::size_t(i)];
    if (b.State & TBSTATE_HIDDEN) {
      b.Rect = {0, 0, 0, 0};
      continue;
    }
    int w;
    if (b.Style & TBSTYLE_SEP)
      w = b.Image > 0 ? b.Image : SeparatorWidth;
    else if (b.Width)
      w = b.Width;
    else
      w = (b.Style & TBSTYLE_AUTOSIZE) ? int(Natural(b, m).cx) : uniformW;
    if (b.Style & TBSTYLE_DROPDOWN && !(b.Style & TBSTYLE_SEP) && !b.Width &&
        ((b.Style & BTNS_WHOLEDROPDOWN) || m.SplitArrows))
      w += ArrowWidth;
    // A button that does not fit starts a new row; a separator stays at the end of its row.
    if (m.Wrapable && rowOpen && x + w > m.Width && !(b.Style & TBSTYLE_SEP)) {
      x = m.Indent;
      y += h;
      rowOpen = false;
    }
    if (!rowOpen) ++rows;
    rowOpen = true;
    b.Rect = {x, y, x + w, y + h};
    x += w;
    right = std::max(right, x);
    if (b.State & TBSTATE_WRAP) {
      x = m.Indent;
      y += h;
      rowOpen = false;
    }
  }
  FRows = rows;
  FExtent = {right, rows ? m.Top + rows * h : m.Top};
}

int ToolBarModel::ItemAt(POINT pt) const
{
  for (int i = 0; i < Count(); ++i)
    if (PtInRect(&FButtons[std::size_t(i)].Rect, pt)) return i;
  return -1;
}

RECT ToolBarModel::ArrowRect(int index) const
{
  if (!HasSplitArrow(index)) return {0, 0, 0, 0};
  RECT r = At(index)->Rect;
  if (r.right - r.left <= ArrowWidth) return r;
  r.left = r.right - ArrowWidth;
  return r;
}
