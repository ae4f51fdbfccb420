// Where the preview places its pages: one below the other, or two side by side in the many-pages
// zoom, 10 pixels apart, measured at zoom 1. The preview asks it for a page's rectangle at a zoom
// and for the page at a scroll position; both are plain sums, so they run without a window.
#pragma once

#include <vector>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"
#include "report/engine/model/frxOptions.h"

struct TfrxPageItem {
  Integer Column = 0;  // within its row, 0 = first
  Integer Height = 0, Width = 0;
  Integer Top = 0;  // pixels at zoom 1
};

class TfrxPageList {
public:
  void Clear();
  // Places the next page (its size at zoom 1) after the ones placed so far.
  void AddPage(Integer Width, Integer Height);
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  const TfrxPageItem& GetItem(Integer Index) const { return FItems[static_cast<size_t>(Index)]; }
  // 1, or 2 in the many-pages zoom; set before the pages are added.
  Integer ColumnsPerRow = 1;
  // The widest row: page widths + 10 each.
  Integer GetMaxWidth() const { return FMaxWidth; }
  // The page's sheet at Zoom, centred in ClientWidth when its row fits (else 10 from the left).
  // An index outside the list answers an A4 sheet (794 x 1123) at the top.
  RECT GetPageBounds(Integer Index, Integer ClientWidth, Extended Zoom) const;
  // The last page whose top at Zoom is at or above Offset; -1 above the first page. Unless Exact,
  // a page counts once its top is within a fifth of its height below Offset (scrolling).
  Integer FindPage(Integer Offset, bool Exact, Extended Zoom) const;
  // The bottom of the last page at Zoom (0 without pages).
  Integer GetBottom(Integer ClientWidth, Extended Zoom) const;

private:
  std::vector<TfrxPageItem> FItems;
  Integer FMaxWidth = 0;
};

namespace frxPageList {

// The lowest zoom the preview shows.
constexpr Extended MinZoom = 0.25;
// The zoom a mode gives for a page of PageWidth x PageHeight in a client area of ClientWidth x
// ClientHeight; zmDefault keeps Current. Never below MinZoom.
Extended ZoomForMode(TfrxZoomMode Mode, Integer ClientWidth, Integer ClientHeight, Integer PageWidth,
                     Integer PageHeight, Extended Current);
// Where the vertical scroll position goes to show Top (pixels at zoom 1 below the page's top
// margin) of a page whose sheet starts at SheetTop and whose top margin is TopMarginMM.
Integer PositionOf(Integer SheetTop, Integer Top, Extended TopMarginMM, Extended Zoom);

}  // namespace frxPageList
