// A tool bar's buttons apart from its window: each button's command, image, state, style, text
// and value; check buttons and check groups; and the layout of the buttons' rectangles in rows.
#pragma once

#include <utility>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class ToolBarModel {
public:
  struct Button {
    int Image = -1;
    int Command = 0;
    BYTE State = 0;
    BYTE Style = 0;
    std::uintptr_t Data = 0;
    AnsiString Text;
    int Width = 0;          // a width given by the caller (TBIF_SIZE); 0 measures
    SIZE TextSize{0, 0};    // measured by the window; 0 when the text is not shown
    RECT Rect{0, 0, 0, 0};  // from the last layout, in client coordinates; empty when hidden
  };

  // What the layout needs of the window.
  struct Metrics {
    SIZE ButtonSize{24, 22};  // the smallest button
    SIZE BitmapSize{16, 15};
    bool List = false;  // text beside the image, not below
    bool Wrapable = false;
    bool SplitArrows = false;  // drop-downs get an arrow part of their own
    int Indent = 0;
    int Top = 0;    // where the first row starts
    int Width = 0;  // of the client area, for wrapping
  };
  // The width of a drop-down's arrow part, and of a separator whose image index gives none.
  static constexpr int ArrowWidth = 14, SeparatorWidth = 8;

  int Count() const { return int(FButtons.size()); }
  // Null for an index out of range.
  Button* At(int index);
  const Button* At(int index) const;
  // The first button with that command, -1 for none.
  int IndexOf(int command) const;
  // Inserts before `index` (negative or past the end: at the end); answers the index.
  int Insert(int index, Button b);
  // False for no such button.
  bool Delete(int index);
  // Moves a button to another place; false for an index out of range.
  bool Move(int from, int to);

  // Checks or unchecks a button; checking a button of a check group releases the others of its
  // group. False for no such button.
  bool Check(int index, bool on);
  // What a click that ends on the button does to it: a check button toggles, a check group
  // button goes down (and stays down when it is down already). Other buttons keep their state.
  void Click(int index);
  // The first and last index of the group a button belongs to: neighbouring TBSTYLE_GROUP
  // buttons (a separator ends a group). The button alone when it is not in a group.
  std::pair<int, int> GroupOf(int index) const;
  bool IsSeparator(int index) const;
  // Whether a button is a drop-down with an arrow part of its own.
  bool HasSplitArrow(int index) const;

  void Layout(const Metrics& m);
  int Rows() const { return FRows; }
  // The size the buttons take: right of the furthest, bottom of the last row.
  SIZE Extent() const { return FExtent; }
  // The height of a button as of the last layout.
  SIZE ButtonSize() const { return FButtonSize; }
  // The item (separators included) under a point, -1 for none.
  int ItemAt(POINT pt) const;
  // The arrow part of a split drop-down (an empty rectangle for other buttons).
  RECT ArrowRect(int index) const;

private:
  SIZE Natural(const Button& b, const Metrics& m) const;
  std::vector<Button> FButtons;
  int FRows = 0;
  SIZE FExtent{0, 0}, FButtonSize{0, 0};
  bool FSplitArrows = false;
};
