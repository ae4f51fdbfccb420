// A tab control's items apart from its window: the tabs (text, image, value, state), the
// selection, and the layout of their rectangles in one row that scrolls or in several rows,
// the selected row kept next to the page.
#pragma once

#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class TabModel {
public:
  struct Item {
    AnsiString Text;
    int Image = -1;
    LPARAM Param = 0;
    DWORD State = 0;
    int Width = 0;  // measured by the window: text, image and padding
    RECT Rect{};    // from the last layout, in client coordinates
    int Row = 0;    // 0 is the row next to the page
  };

  int Count() const { return int(FItems.size()); }
  // Null for an index out of range.
  Item* At(int index);
  const Item* At(int index) const;
  // Inserts before `index` (clamped to the end); answers the index, the first tab selected.
  int Insert(int index, Item item);
  // False for no such tab. The selection moves with the tabs after it; deleting the selected
  // tab leaves none selected.
  bool Delete(int index);
  void Clear();
  int Sel() const { return FSel; }
  // Answers the previous selection; -1 (and no change) for no such tab.
  int SetSel(int index);
  int Focus() const { return FFocus; }
  void SetFocus(int index) { FFocus = index; }

  // Lays the tabs out in `width` pixels from `top` with rows `height` high. One row scrolls
  // from tab `First()`; `multi` wraps into rows (stretched to the width unless `ragged`).
  // `arrowsWidth` is kept free at the right of one row when the tabs do not fit.
  void Layout(int width, int height, bool multi, bool ragged, int arrowsWidth);
  int Rows() const { return FRows; }
  // Whether one row's tabs overflow (the scroll arrows show), and the furthest scroll.
  bool Overflow() const { return FOverflow; }
  int MaxFirst() const { return FMaxFirst; }
  int First() const { return FFirst; }
  void SetFirst(int first);
  // The tab under a point, -1 for none.
  int HitTest(POINT pt) const;

private:
  std::vector<Item> FItems;
  int FSel = -1, FFocus = -1, FFirst = 0, FRows = 1, FMaxFirst = 0;
  bool FOverflow = false;
  int FHeight = 0, FWidth = 0;
};
