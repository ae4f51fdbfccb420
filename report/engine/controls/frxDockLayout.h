// The arrangement of tool bars in a dock, computed apart from the windows: rows of RowSize
// pixels across the dock, bars placed freely along it. Bounds are in the dock's client
// coordinates. "Along" is x in a top or bottom dock and y in a left or right one; "across" the
// other axis.
//
// A top or left dock keeps its rows from 0 outwards; a bottom or right dock grows towards the
// window's interior, so a new row there starts at a negative position until the dock is
// arranged (then everything shifts so that the first bar starts at 1).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/gdi/WinTypes.h"

namespace frxDockLayout {

enum TSide { sdTop, sdBottom, sdLeft, sdRight };

struct TBar {
  RECT Bounds{};
  bool Visible = true;
};

// Removes the empty rows, shifts a bottom or right dock's bars back to 1, and answers the
// dock's new extent (height of a top or bottom dock, width of a left or right one): rows x
// RowSize + 1, or more where a bar reaches further; 1 without visible bars. Moves the bars.
int Arrange(TSide Side, int Extent, int RowSize, std::vector<TBar>& Bars);

enum TMoveResult { mvMoved, mvRefused, mvTornOff };

// Bar Index asks to move to (X, Y) in a dock of Extent x Length (across x along). Along the
// dock a start below -20 tears the bar off (unless CanFloat is false: then 0), below 0 it is 0,
// past the end the bar ends at the end; overlapping a bar of the same rows pushes it just after
// or before that one. A position still changing on a third pass is refused. A bar that lands
// beyond the dock's rows and does not make the dock grow is torn off. When moved, Bars and
// Extent hold the arranged result; otherwise they are unchanged.
TMoveResult MoveTo(TSide Side, int& Extent, int Length, int RowSize, std::vector<TBar>& Bars, std::size_t Index, int X,
                   int Y, bool CanFloat);

}  // namespace frxDockLayout
