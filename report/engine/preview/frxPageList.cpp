#include "report/engine/preview/frxPageList.h"

#include <algorithm>
#include <cmath>

namespace {

// A4 at 96 dpi: what an empty preview shows.
constexpr Integer kDefaultSheetWidth = 794, kDefaultSheetHeight = 1123;
constexpr Integer kPageGap = 10;

Integer RoundPx(Extended Value) { return static_cast<Integer>(std::lround(Value)); }

Integer CentredLeft(Integer ClientWidth, Extended RowWidth)
{
  return ClientWidth > RowWidth ? RoundPx((ClientWidth - RowWidth) / 2) : kPageGap;
}

}  // namespace

void TfrxPageList::Clear()
{
  FItems.clear();
  FMaxWidth = 0;
}

void TfrxPageList::AddPage(Integer Width, Integer Height)
{
  TfrxPageItem item;
  item.Width = Width;
  item.Height = Height;
  if (FItems.empty()) {
    item.Top = kPageGap;
  } else {
    const TfrxPageItem& last = FItems.back();
    if (last.Column < ColumnsPerRow - 1) {
      item.Column = last.Column + 1;
      item.Top = last.Top;
    } else {
      Integer tallest = 0;
      for (auto it = FItems.rbegin(); it != FItems.rend() && it->Top == last.Top; ++it)
        tallest = std::max(tallest, it->Height);
      item.Top = last.Top + tallest + kPageGap;
    }
  }
  FItems.push_back(item);
  // The width of the row holding the new page.
  Integer row = 0;
  for (auto it = FItems.rbegin(); it != FItems.rend() && it->Top == item.Top; ++it) row += it->Width + kPageGap;
  FMaxWidth = std::max(FMaxWidth, row);
}

RECT TfrxPageList::GetPageBounds(Integer Index, Integer ClientWidth, Extended Zoom) const
{
  if (Index < 0 || Index >= GetCount()) {
    Integer w = RoundPx(kDefaultSheetWidth * Zoom);
    Integer left = CentredLeft(ClientWidth, kDefaultSheetWidth * Zoom);
    Integer top = RoundPx(kPageGap * Zoom);
    return RECT{left, top, left + w, top + RoundPx(kDefaultSheetHeight * Zoom)};
  }
  const TfrxPageItem& item = FItems[static_cast<size_t>(Index)];
  Integer rowWidth = item.Width, offset = 0;
  if (ColumnsPerRow > 1) {
    rowWidth = 0;
    Integer first = Index - item.Column;
    for (Integer i = first; i < GetCount() && FItems[static_cast<size_t>(i)].Top == item.Top; ++i) {
      if (i < Index) offset += FItems[static_cast<size_t>(i)].Width + kPageGap;
      rowWidth += FItems[static_cast<size_t>(i)].Width + kPageGap;
    }
  }
  Integer left = CentredLeft(ClientWidth, rowWidth * Zoom) + RoundPx(offset * Zoom);
  Integer top = RoundPx(item.Top * Zoom);
  return RECT{left, top, left + RoundPx(item.Width * Zoom), top + RoundPx(item.Height * Zoom)};
}

Integer TfrxPageList::FindPage(Integer Offset, bool Exact, Extended Zoom) const
{
  Integer lo = 0, hi = GetCount() - 1;
  while (lo <= hi) {
    Integer mid = (lo + hi) / 2;
    const TfrxPageItem& item = FItems[static_cast<size_t>(mid)];
    Integer reach = Exact ? Offset : Offset + RoundPx(Zoom * item.Height / 5);
    if (RoundPx(item.Top * Zoom) <= reach)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return hi;
}

Integer TfrxPageList::GetBottom(Integer ClientWidth, Extended Zoom) const
{
  if (FItems.empty()) return 0;
  return GetPageBounds(GetCount() - 1, ClientWidth, Zoom).bottom;
}

namespace frxPageList {

Extended ZoomForMode(TfrxZoomMode Mode, Integer ClientWidth, Integer ClientHeight, Integer PageWidth,
                     Integer PageHeight, Extended Current)
{
  Extended zoom = Current;
  switch (Mode) {
    case zmWholePage:
      if (PageHeight > 0) zoom = (ClientHeight - 20) / static_cast<Extended>(PageHeight);
      break;
    case zmPageWidth:
      if (PageWidth > 0) zoom = (ClientWidth - 20) / static_cast<Extended>(PageWidth);
      break;
    case zmManyPages:
      if (PageWidth > 0) zoom = (ClientWidth - 32) / (2.0 * PageWidth);
      break;
    case zmDefault: break;
  }
  return std::max(zoom, MinZoom);
}

Integer PositionOf(Integer SheetTop, Integer Top, Extended TopMarginMM, Extended Zoom)
{
  // 96 dpi: 3.77953 pixels to the millimetre.
  Integer offset = Top == 0 ? 0 : RoundPx((Top + TopMarginMM * 3.77953) * Zoom);
  return SheetTop + offset - 10;
}

}  // namespace frxPageList
