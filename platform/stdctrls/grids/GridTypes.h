// The types of the grid controls: options, cell coordinates and rectangles, the draw state of a
// cell, the grid's mouse states, and the per-axis sizes kept sparsely (a grid of a million rows
// of the default height holds no per-row array).
#pragma once

#include <map>

#include "platform/classes/ClassDecl.h"
#include "platform/gdi/WinTypes.h"

PELTO_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
           goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor,
           goThumbTracking)
PELTO_SET(TGridOptions, TGridOption)
PELTO_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
PELTO_SET(TGridDrawState, TGridDrawStateItem)
// What the mouse is doing to the grid.
PELTO_ENUM(TGridState, gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving)
PELTO_ENUM(TGridScrollDirectionItem, sdLeft, sdRight, sdUp, sdDown)
PELTO_SET(TGridScrollDirection, TGridScrollDirectionItem)
// Reading order of a control; the right-to-left modes mirror the grid's columns.
PELTO_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)

struct TGridCoord {
  int X = 0, Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Cells Left..Right by Top..Bottom, both ends included.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The sizes of one axis's cells: one default and the cells that differ from it. Reading a cell
// never allocates; a count change drops the sizes past the end.
class TGridExtents {
public:
  explicit TGridExtents(int Default) : FDefault(Default) {}
  int Get(int Index) const
  {
    if (FSizes.empty()) return FDefault;
    auto it = FSizes.find(Index);
    return it == FSizes.end() ? FDefault : it->second;
  }
  void Set(int Index, int Value);
  int GetDefault() const { return FDefault; }
  // Every cell takes the new default.
  void SetDefault(int Value)
  {
    FDefault = Value;
    FSizes.clear();
  }
  void Truncate(int Count);
  // The size at From moves to To; the ones between shift by one towards From.
  void Move(int From, int To);
  // How many cells differ from the default.
  int SizedCount() const { return static_cast<int>(FSizes.size()); }

private:
  int FDefault;
  std::map<int, int> FSizes;
};

// Where the cells of one axis fall in the client area.
struct TGridAxisDrawInfo {
  int EffectiveLineWidth = 0;
  int FixedBoundary = 0;        // end of the fixed cells (with their lines)
  int GridBoundary = 0;         // end of the last cell shown, at most GridExtent
  int GridExtent = 0;           // the client extent
  int LastFullVisibleCell = 0;  // the last cell shown whole
  int FullVisBoundary = 0;      // end of that cell (with its line)
  int FixedCellCount = 0;
  int FirstGridCell = 0;  // the first scrolling cell shown (LeftCol or TopRow)
  int GridCellCount = 0;
  const TGridExtents* Extents = nullptr;
  // A cell's extent; hidden cells (negative) take none.
  int GetExtent(int Index) const { return Extents->Get(Index); }
};

struct TGridDrawInfo {
  TGridAxisDrawInfo Horz, Vert;
};
