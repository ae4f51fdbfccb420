#include "platform/stdctrls/grids/Grids.h"

#include <algorithm>

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/grids/InplaceEdit.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"

namespace {

constexpr UINT_PTR kGridScrollTimer = 1;
constexpr UINT kGridScrollInterval = 60;

// A cell's share of its axis: its extent and its line; hidden cells take nothing.
int GridSpan(const TGridAxisDrawInfo& Axis, int Index)
{
  int ext = Axis.GetExtent(Index);
  return std::max(ext + Axis.EffectiveLineWidth, 0);
}

bool GridPointInRect(int X, int Y, const TGridRect& R)
{
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

TGridRect GridRectOf(TGridCoord A, TGridCoord B)
{
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

void GridIndexError() { throw EGridException("Grid index out of range"); }

}  // namespace

// ============================================================================================
// TGridExtents
// ============================================================================================

void TGridExtents::Set(int Index, int Value)
{
  if (Value == FDefault)
    FSizes.erase(Index);
  else
    FSizes[Index] = Value;
}

void TGridExtents::Truncate(int Count) { FSizes.erase(FSizes.lower_bound(Count), FSizes.end()); }

void TGridExtents::Move(int From, int To)
{
  if (From == To || FSizes.empty()) return;
  int moving = Get(From);
  std::map<int, int> moved;
  for (auto [index, size] : FSizes) {
    int i = index;
    if (i == From) continue;
    if (From < To && i > From && i <= To) --i;
    if (From > To && i >= To && i < From) ++i;
    moved[i] = size;
  }
  if (moving != FDefault) moved[To] = moving;
  FSizes.swap(moved);
}

// ============================================================================================
// Construction
// ============================================================================================

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents};
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TCustomGrid::~TCustomGrid() { StopTimer(); }

// ============================================================================================
// Geometry
// ============================================================================================

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& Axis, int UseExtent, int FirstCell, int CellCount, int FixedCount,
                           const TGridExtents& Extents, bool Lines)
{
  Axis.Extents = &Extents;
  Axis.EffectiveLineWidth = Lines ? FGridLineWidth : 0;
  Axis.FixedCellCount = FixedCount;
  Axis.FirstGridCell = FirstCell;
  Axis.GridCellCount = CellCount;
  Axis.GridExtent = UseExtent;
  Axis.FixedBoundary = 0;
  for (int i = 0; i < FixedCount; ++i) Axis.FixedBoundary += GridSpan(Axis, i);
  Axis.GridBoundary = Axis.FixedBoundary;
  Axis.FullVisBoundary = Axis.FixedBoundary;
  Axis.LastFullVisibleCell = FirstCell;
  for (int i = FirstCell; i < CellCount; ++i) {
    Axis.GridBoundary += GridSpan(Axis, i);
    if (Axis.GridBoundary > UseExtent + Axis.EffectiveLineWidth) {
      Axis.GridBoundary = UseExtent;
      break;
    }
    Axis.LastFullVisibleCell = i;
    Axis.FullVisBoundary = Axis.GridBoundary;
  }
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight)
{
  CalcAxis(DrawInfo.Horz, UseWidth, FTopLeft.X, FColCount, FFixedCols, FColWidths,
           FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine));
  CalcAxis(DrawInfo.Vert, UseHeight, FTopLeft.Y, FRowCount, FFixedRows, FRowHeights,
           FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine));
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo)
{
  CalcDrawInfoXY(DrawInfo, GetClientWidth(), GetClientHeight());
}

void TCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo)
{
  TGridCoord saved = FTopLeft;
  FTopLeft = {FFixedCols, FFixedRows};
  CalcDrawInfo(DrawInfo);
  FTopLeft = saved;
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo)
{
  auto onAxis = [](const TGridAxisDrawInfo& Axis, int N) {
    if (N < 0) return -1;
    int start = Axis.FirstGridCell, stop = Axis.GridCellCount, line = Axis.FixedBoundary;
    if (N < Axis.FixedBoundary) {
      start = 0;
      stop = Axis.FixedCellCount;
      line = 0;
    }
    for (int i = start; i < stop; ++i) {
      line += GridSpan(Axis, i);
      // Hidden cells are never hit: their line belongs to the next cell.
      if (N < line && Axis.GetExtent(i) > 0) return i;
    }
    return -1;
  };
  return {onAxis(DrawInfo.Horz, MirrorX(X)), onAxis(DrawInfo.Vert, Y)};
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y)
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  TGridCoord c = CalcCoordFromPoint(X, Y, info);
  if (c.X < 0)
    c.Y = -1;
  else if (c.Y < 0)
    c.X = -1;
  return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow)
{
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

RECT TCustomGrid::MirrorRect(RECT R)
{
  if (!UseRightToLeftAlignment()) return R;
  int w = GetClientWidth();
  return RECT{w - R.right, R.top, w - R.left, R.bottom};
}

namespace {

// The start of a cell shown on the axis; -1 when it is not shown.
int GridCellStart(const TGridAxisDrawInfo& Axis, int Index)
{
  int pos = 0, from = 0;
  if (Index >= Axis.FixedCellCount) {
    if (Index < Axis.FirstGridCell) return -1;
    pos = Axis.FixedBoundary;
    from = Axis.FirstGridCell;
  }
  for (int i = from; i < Index; ++i) {
    pos += GridSpan(Axis, i);
    if (pos >= Axis.GridExtent) return -1;
  }
  return pos;
}

// The pixel span of the cells Lo..Hi shown; false when none is.
bool GridAxisSpan(const TGridAxisDrawInfo& Axis, int Lo, int Hi, int& From, int& To)
{
  if (Lo > Hi || Lo < 0) return false;
  if (Lo >= Axis.FixedCellCount && Lo < Axis.FirstGridCell) {
    if (Hi < Axis.FirstGridCell) return false;
    Lo = Axis.FirstGridCell;
  }
  if (Hi >= Axis.FixedCellCount && Hi < Axis.FirstGridCell) Hi = Axis.FixedCellCount - 1;
  if (Hi > Axis.LastFullVisibleCell) {
    Hi = std::min(Axis.LastFullVisibleCell + 1, Axis.GridCellCount - 1);
    if (GridCellStart(Axis, Hi) < 0) --Hi;
  }
  if (Hi < Lo) return false;
  From = GridCellStart(Axis, Lo);
  int last = GridCellStart(Axis, Hi);
  if (From < 0 || last < 0) return false;
  To = std::min(last + std::max(Axis.GetExtent(Hi), 0), Axis.GridExtent);
  return true;
}

}  // namespace

RECT TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom)
{
  RECT r{0, 0, 0, 0};
  TGridDrawInfo info;
  CalcDrawInfo(info);
  int l, t, rr, b;
  if (!GridAxisSpan(info.Horz, std::min(ALeft, ARight), std::max(ALeft, ARight), l, rr)) return r;
  if (!GridAxisSpan(info.Vert, std::min(ATop, ABottom), std::max(ATop, ABottom), t, b)) return r;
  return MirrorRect(RECT{l, t, rr, b});
}

RECT TCustomGrid::CellRect(int ACol, int ARow) { return BoxRect(ACol, ARow, ACol, ARow); }

int TCustomGrid::GetGridWidth()
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  return info.Horz.GridBoundary;
}

int TCustomGrid::GetGridHeight()
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  return info.Vert.GridBoundary;
}

int TCustomGrid::GetVisibleColCount()
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  return info.Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

int TCustomGrid::GetVisibleRowCount()
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  return info.Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                  TGridDrawInfo& FixedInfo)
{
  State = gsNormal;
  Index = -1;
  TGridOptions options = FOptions;
  if (GetComponentState().Contains(csDesigning)) options = options + FDesignOptionsBoost;
  if (!options.Contains(goColSizing) && !options.Contains(goRowSizing)) return;

  // An edge takes a zone at least 7 pixels wide, centred on its line.
  auto onAxis = [&](const TGridAxisDrawInfo& Axis, int Pos, TGridState NewState) {
    int line = Axis.FixedBoundary, range = Axis.EffectiveLineWidth, back = 0;
    if (range < 7) {
      range = 7;
      back = (range - Axis.EffectiveLineWidth) / 2;
    }
    for (int i = Axis.FirstGridCell; i < Axis.GridCellCount; ++i) {
      if (Axis.GetExtent(i) < 0) continue;
      line += Axis.GetExtent(i);
      if (line > Axis.GridBoundary) break;
      if (Pos >= line - back && Pos <= line - back + range) {
        State = NewState;
        SizingPos = line;
        SizingOfs = line - Pos;
        Index = i;
        return;
      }
      line += Axis.EffectiveLineWidth;
    }
  };
  int x = MirrorX(X);
  if (x > FixedInfo.Horz.FixedBoundary && options.Contains(goColSizing)) {
    if (Y >= FixedInfo.Vert.FixedBoundary) return;
    onAxis(FixedInfo.Horz, x, gsColSizing);
  } else if (Y > FixedInfo.Vert.FixedBoundary && options.Contains(goRowSizing)) {
    if (x >= FixedInfo.Horz.FixedBoundary) return;
    onAxis(FixedInfo.Vert, Y, gsRowSizing);
  }
}

// ============================================================================================
// State
// ============================================================================================

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
  int oldCols = FColCount, oldRows = FRowCount;
  if (NewColCount < 1) NewColCount = 1;
  if (NewRowCount < 1) NewRowCount = 1;
  if (NewColCount == oldCols && NewRowCount == oldRows) return;
  FColCount = NewColCount;
  FRowCount = NewRowCount;
  FColWidths.Truncate(FColCount);
  FRowHeights.Truncate(FRowCount);
  FTabStops.erase(FTabStops.lower_bound(FColCount), FTabStops.end());
  if (FFixedCols > FColCount) FFixedCols = FColCount;
  if (FFixedRows > FRowCount) FFixedRows = FRowCount;
  // The current cell, the anchor and the view stay inside the grid.
  auto clamp = [&](TGridCoord& c) {
    c.X = std::clamp(c.X, std::min(FFixedCols, FColCount - 1), FColCount - 1);
    c.Y = std::clamp(c.Y, std::min(FFixedRows, FRowCount - 1), FRowCount - 1);
  };
  clamp(FCurrent);
  clamp(FAnchor);
  clamp(FTopLeft);
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  SizeChanged(oldCols, oldRows);
  if (HandleAllocated()) {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    if (FTopLeft.X > maxTL.X || FTopLeft.Y > maxTL.Y)
      MoveTopLeft(std::min(FTopLeft.X, maxTL.X), std::min(FTopLeft.Y, maxTL.Y));
  }
  InvalidateGrid();
  UpdateScrollRange();
  if (FEditorMode) InvalidateEditor();
}

void TCustomGrid::SetColCount(int Value)
{
  if (Value == FColCount) return;
  if (Value < 1) Value = 1;
  if (Value <= FFixedCols) FFixedCols = Value - 1;
  ChangeSize(Value, FRowCount);
}

void TCustomGrid::SetRowCount(int Value)
{
  if (Value == FRowCount) return;
  if (Value < 1) Value = 1;
  if (Value <= FFixedRows) FFixedRows = Value - 1;
  ChangeSize(FColCount, Value);
}

void TCustomGrid::SetFixedCols(int Value)
{
  if (Value == FFixedCols) return;
  if (Value < 0) GridIndexError();
  if (Value >= FColCount) throw EGridException("Fixed column count must be less than column count");
  FFixedCols = Value;
  FCurrent.X = std::max(FCurrent.X, Value);
  FAnchor.X = std::max(FAnchor.X, Value);
  FTopLeft.X = Value;
  if (FOptions.Contains(goRowSelect)) {
    FCurrent.X = Value;
    FAnchor.X = FColCount - 1;
  }
  InvalidateGrid();
  UpdateScrollRange();
  if (FEditorMode) InvalidateEditor();
}

void TCustomGrid::SetFixedRows(int Value)
{
  if (Value == FFixedRows) return;
  if (Value < 0) GridIndexError();
  if (Value >= FRowCount) throw EGridException("Fixed row count must be less than row count");
  FFixedRows = Value;
  FCurrent.Y = std::max(FCurrent.Y, Value);
  FAnchor.Y = std::max(FAnchor.Y, Value);
  FTopLeft.Y = Value;
  InvalidateGrid();
  UpdateScrollRange();
  if (FEditorMode) InvalidateEditor();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
  FColWidths.SetDefault(Value);
  ColWidthsChanged();
  InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
  FRowHeights.SetDefault(Value);
  RowHeightsChanged();
  InvalidateGrid();
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
  if (Index < 0 || Index >= FColCount) GridIndexError();
  if (FColWidths.Get(Index) == Value) return;
  FColWidths.Set(Index, Value);
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
  if (Index < 0 || Index >= FRowCount) GridIndexError();
  if (FRowHeights.Get(Index) == Value) return;
  FRowHeights.Set(Index, Value);
  RowHeightsChanged();
}

bool TCustomGrid::GetTabStops(int Index) const
{
  auto it = FTabStops.find(Index);
  return it == FTabStops.end() || it->second;
}

void TCustomGrid::SetTabStops(int Index, bool Value)
{
  if (Index < 0 || Index >= FColCount) GridIndexError();
  if (Value)
    FTabStops.erase(Index);
  else
    FTabStops[Index] = false;
}

void TCustomGrid::ColWidthsChanged()
{
  UpdateScrollRange();
  InvalidateGrid();
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::RowHeightsChanged()
{
  UpdateScrollRange();
  InvalidateGrid();
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetGridLineWidth(int Value)
{
  if (Value < 0) Value = 0;
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  InvalidateGrid();
  UpdateScrollRange();
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetOptions(TGridOptions Value)
{
  if (Value == FOptions) return;
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  FOptions = Value;
  if (!FOptions.Contains(goEditing)) HideEditor();
  if (!FEditorMode) {
    if (FOptions.Contains(goAlwaysShowEditor))
      ShowEditor();
    else
      HideEditor();
  }
  if (FOptions.Contains(goRowSelect)) {
    FCurrent.X = FFixedCols;
    FAnchor.X = FColCount - 1;
    HideEditor();
  }
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value)
{
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool Value)
{
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  InvalidateGrid();
}

void TCustomGrid::SetBiDiMode(TBiDiMode Value)
{
  if (Value == FBiDiMode) return;
  FBiDiMode = Value;
  InvalidateGrid();
  if (FEditorMode) UpdateEdit();
}

TGridRect TCustomGrid::GetSelection() const { return GridRectOf(FCurrent, FAnchor); }

void TCustomGrid::SetSelection(const TGridRect& Value)
{
  auto inside = [&](int X, int Y) { return X >= 0 && X < FColCount && Y >= 0 && Y < FRowCount; };
  if (!inside(Value.Left, Value.Top) || !inside(Value.Right, Value.Bottom)) GridIndexError();
  TGridRect old = GetSelection();
  FAnchor = {Value.Left, Value.Top};
  FCurrent = {Value.Right, Value.Bottom};
  if (FOptions.Contains(goRowSelect)) {
    FCurrent.X = FFixedCols;
    FAnchor.X = FColCount - 1;
  }
  SelectionMoved(old);
}

void TCustomGrid::SetCol(int Value)
{
  if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
  if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

void TCustomGrid::SetLeftCol(int Value)
{
  if (Value != FTopLeft.X) MoveTopLeftChecked(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value)
{
  if (Value != FTopLeft.Y) MoveTopLeftChecked(FTopLeft.X, Value);
}

void TCustomGrid::MoveTopLeftChecked(int ALeft, int ATop)
{
  if (ALeft < FFixedCols || ALeft >= FColCount || ATop < FFixedRows || ATop >= FRowCount) GridIndexError();
  MoveTopLeft(ALeft, ATop);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel)
{
  if (!HandleAllocated()) return;
  TGridRect sel = GetSelection();
  InvalidateGridRect(OldSel);
  InvalidateGridRect(sel);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
  if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) GridIndexError();
  if (!SelectCell(ACol, ARow)) return;
  TGridRect old = GetSelection();
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
  FCurrent = {ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  }
  if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
  if (Show) ClampInView(FCurrent);
  SelectionMoved(old);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
  MoveColRow(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomGrid::MoveAnchor(const TGridCoord& NewAnchor)
{
  if (!FOptions.Contains(goRangeSelect)) {
    MoveColRow(NewAnchor.X, NewAnchor.Y, true, true);
    return;
  }
  TGridRect old = GetSelection();
  FAnchor = NewAnchor;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  ClampInView(NewAnchor);
  SelectionMoved(old);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
  if (FromIndex == ToIndex) return;
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount || ToIndex >= FColCount) GridIndexError();
  FColWidths.Move(FromIndex, ToIndex);
  bool stop = GetTabStops(FromIndex);
  std::map<int, bool> stops;
  for (auto [i, v] : FTabStops) {
    int j = i;
    if (i == FromIndex) continue;
    if (FromIndex < ToIndex && i > FromIndex && i <= ToIndex) --j;
    if (FromIndex > ToIndex && i >= ToIndex && i < FromIndex) ++j;
    stops[j] = v;
  }
  if (!stop) stops[ToIndex] = false;
  FTabStops.swap(stops);
  ColumnMoved(FromIndex, ToIndex);
  InvalidateGrid();
  if (FEditorMode) InvalidateEditor();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
  if (FromIndex == ToIndex) return;
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount || ToIndex >= FRowCount) GridIndexError();
  FRowHeights.Move(FromIndex, ToIndex);
  RowMoved(FromIndex, ToIndex);
  InvalidateGrid();
  if (FEditorMode) InvalidateEditor();
}

void TCustomGrid::DeleteColumn(int ACol)
{
  MoveColumn(ACol, FColCount - 1);
  SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
  MoveRow(ARow, FRowCount - 1);
  SetRowCount(FRowCount - 1);
}

// ============================================================================================
// Scrolling
// ============================================================================================

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo)
{
  auto onAxis = [](const TGridAxisDrawInfo& Axis, int Start) {
    int result = Start;
    int line = Axis.GridExtent - Axis.FixedBoundary;
    for (int i = Start; i >= Axis.FixedCellCount; --i) {
      line -= GridSpan(Axis, i);
      if (line < 0) break;
      result = i;
    }
    return result;
  };
  return {onAxis(DrawInfo.Horz, Coord.X), onAxis(DrawInfo.Vert, Coord.Y)};
}

void TCustomGrid::ClampInView(const TGridCoord& Coord)
{
  if (!HandleAllocated()) return;
  TGridDrawInfo info;
  CalcDrawInfo(info);
  if (Coord.X < FFixedCols && Coord.Y < FFixedRows) return;
  TGridCoord maxTL = CalcMaxTopLeft(Coord, info);
  int left = FTopLeft.X, top = FTopLeft.Y;
  if (Coord.X >= FFixedCols) {
    if (Coord.X < FTopLeft.X)
      left = Coord.X;
    else if (Coord.X > info.Horz.LastFullVisibleCell)
      left = maxTL.X;
  }
  if (Coord.Y >= FFixedRows) {
    if (Coord.Y < FTopLeft.Y)
      top = Coord.Y;
    else if (Coord.Y > info.Vert.LastFullVisibleCell)
      top = maxTL.Y;
  }
  if (left != FTopLeft.X || top != FTopLeft.Y) MoveTopLeft(left, top);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  TGridCoord old = FTopLeft;
  FTopLeft = {ALeft, ATop};
  TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(const TGridCoord& OldTopLeft)
{
  UpdateScrollPos();
  InvalidateGrid();
  TopLeftChanged();
}

void TCustomGrid::TopLeftChanged()
{
  // The editor follows its cell, or hides while the cell is out of view.
  if (FEditorMode && FInplaceEdit) FInplaceEdit->Move(CellRect(GetCol(), GetRow()));
}

void TCustomGrid::UpdateScrollPos()
{
  if (!HandleAllocated() || FScrollBars == ssNone) return;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    si.nPos = FTopLeft.Y - FFixedRows;
    Windows::SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
  }
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
    si.nPos = FTopLeft.X - FFixedCols;
    Windows::SetScrollInfo(GetHandle(), SB_HORZ, &si, TRUE);
  }
}

void TCustomGrid::UpdateScrollRange()
{
  if (!HandleAllocated() || FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  // A bar that appears or goes changes the client area and so the range of the other one:
  // twice settles it.
  for (int pass = 0; pass < 2; ++pass) {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    auto setBar = [&](int bar, bool wanted, int maxPos, int page) {
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = 0;
      si.nPage = UINT(std::max(page, 1));
      si.nMax = wanted && maxPos > 0 ? maxPos + int(si.nPage) - 1 : 0;
      if (!wanted || maxPos <= 0) si.nPage = 0;
      si.nPos = bar == SB_VERT ? FTopLeft.Y - FFixedRows : FTopLeft.X - FFixedCols;
      Windows::SetScrollInfo(GetHandle(), bar, &si, TRUE);
    };
    bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
    bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    setBar(SB_VERT, vert, maxTL.Y - FFixedRows, info.Vert.LastFullVisibleCell - FTopLeft.Y + 1);
    setBar(SB_HORZ, horz, maxTL.X - FFixedCols, info.Horz.LastFullVisibleCell - FTopLeft.X + 1);
    // The view may now show past the last cell: pull it back.
    CalcDrawInfo(info);
    maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    if (FTopLeft.X > maxTL.X || FTopLeft.Y > maxTL.Y)
      MoveTopLeft(std::min(FTopLeft.X, maxTL.X), std::min(FTopLeft.Y, maxTL.Y));
  }
  FUpdatingScrollBars = false;
}

void TCustomGrid::ScrollBarMessage(int Bar, int Code, int Pos)
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  bool vert = Bar == SB_VERT;
  const TGridAxisDrawInfo& axis = vert ? info.Vert : info.Horz;
  int fixed = vert ? FFixedRows : FFixedCols;
  int first = vert ? FTopLeft.Y : FTopLeft.X;
  TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
  int maxFirst = vert ? maxTL.Y : maxTL.X;
  int page = std::max(axis.LastFullVisibleCell - first + 1, 1);
  int next = first;
  switch (Code) {
    case SB_LINEUP: next = first - 1; break;
    case SB_LINEDOWN: next = first + 1; break;
    case SB_PAGEUP: next = first - page; break;
    case SB_PAGEDOWN: next = first + page; break;
    case SB_THUMBPOSITION: next = fixed + Pos; break;
    case SB_THUMBTRACK:
      if (FOptions.Contains(goThumbTracking)) next = fixed + Pos;
      break;
    case SB_TOP: next = fixed; break;
    case SB_BOTTOM: next = maxFirst; break;
    default: break;
  }
  next = std::clamp(next, fixed, std::max(maxFirst, fixed));
  if (next == first) return;
  if (vert)
    MoveTopLeft(FTopLeft.X, next);
  else
    MoveTopLeft(next, FTopLeft.Y);
}

void TCustomGrid::WMScroll(TMessage& Message, int Bar)
{
  int code = LOWORD(Message.WParam), pos = HIWORD(Message.WParam);
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    // The message holds 16 bits of the thumb; the bar's track position holds all of it (a grid
    // of more than 65,535 rows).
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS;
    if (Windows::GetScrollInfo(GetHandle(), Bar, &si) && (si.nTrackPos & 0xFFFF) == pos) pos = si.nTrackPos;
  }
  ScrollBarMessage(Bar, code, pos);
  Message.Result = 0;
}

// ============================================================================================
// Editor
// ============================================================================================

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow()
{
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
         !GetComponentState().Contains(csDesigning) && HandleAllocated() &&
         (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

bool TCustomGrid::CanEditModify() { return FCanEditModify; }

bool TCustomGrid::CanEditAcceptKey(char Key) { return true; }

AnsiString TCustomGrid::GetEditText(int ACol, int ARow) { return ""; }

void TCustomGrid::SetEditText(int ACol, int ARow, const AnsiString& Value) {}

AnsiString TCustomGrid::GetEditMask(int ACol, int ARow) { return ""; }

int TCustomGrid::GetEditLimit() { return 0; }

bool TCustomGrid::IsActiveControl()
{
  if (!HandleAllocated()) return false;
  HWND focus = Windows::GetFocus();
  if (focus == GetHandle()) return true;
  return FInplaceEdit && FInplaceEdit->HandleAllocated() && focus == FInplaceEdit->GetHandle();
}

void TCustomGrid::UpdateEdit()
{
  if (!CanEditShow()) return;
  bool read = false;
  auto updateEditor = [&] {
    // The editor's own changes while it reads the cell are not edits to write back.
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->UpdateContents();
    FInplaceCol = GetCol();
    FInplaceRow = GetRow();
    FCanEditModify = FInplaceEdit->GetMaxLength() != -1;
    read = true;
  };
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->SetGrid(this);
    FInplaceEdit->SetParent(this);
    updateEditor();
  } else if (GetCol() != FInplaceCol || GetRow() != FInplaceRow) {
    UpdateText();
    FInplaceCol = FInplaceRow = -1;
    updateEditor();
  }
  if (CanEditShow()) FInplaceEdit->Move(CellRect(GetCol(), GetRow()));
  // Selected once the window stands, so that typing replaces the whole text.
  if (read) FInplaceEdit->SelectAll();
}

void TCustomGrid::UpdateText()
{
  if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
    SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->GetText());
}

void TCustomGrid::ShowEditor()
{
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor()
{
  FEditorMode = false;
  if (!FInplaceEdit) return;
  bool hadFocus = FInplaceEdit->HandleAllocated() && Windows::GetFocus() == FInplaceEdit->GetHandle();
  struct Reset {
    TCustomGrid* G;
    ~Reset()
    {
      G->FInplaceCol = G->FInplaceRow = -1;
      G->FInplaceEdit->Hide();
    }
  } reset{this};
  UpdateText();
  if (hadFocus && HandleAllocated() && IsShowing()) Windows::SetFocus(GetHandle());
}

void TCustomGrid::ShowEditorChar(const AnsiString& Ch)
{
  ShowEditor();
  if (!FInplaceEdit || !FInplaceEdit->GetVisible()) return;
  for (char c : Ch) FInplaceEdit->Perform(WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
}

void TCustomGrid::InvalidateEditor()
{
  FInplaceCol = FInplaceRow = -1;
  UpdateEdit();
}

void TCustomGrid::SetEditorMode(bool Value)
{
  if (!Value)
    HideEditor();
  else {
    ShowEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
  }
}

// ============================================================================================
// Painting
// ============================================================================================

void TCustomGrid::DrawCells(const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY, int StopX, int StopY,
                            TColor AColor, TGridDrawState IncludeDrawState)
{
  TCanvas* canvas = GetCanvas();
  TGridRect sel = GetSelection();
  bool focused = IsActiveControl();
  bool designing = GetComponentState().Contains(csDesigning);
  UINT frame1 = 0, frame2 = 0;
  if (FOptions.Contains(goFixedVertLine)) {
    frame1 = BF_RIGHT;
    frame2 = BF_LEFT;
  }
  if (FOptions.Contains(goFixedHorzLine)) {
    frame1 |= BF_BOTTOM;
    frame2 |= BF_TOP;
  }
  if (UseRightToLeftAlignment()) {
    auto swapSides = [](UINT f) {
      return (f & ~UINT(BF_LEFT | BF_RIGHT)) | (f & BF_LEFT ? BF_RIGHT : 0) | (f & BF_RIGHT ? BF_LEFT : 0);
    };
    frame1 = swapSides(frame1);
    frame2 = swapSides(frame2);
  }
  RECT clip = canvas->GetClipRect();
  int top = StartY;
  for (int row = ARow; top < StopY && row < FRowCount; ++row) {
    int h = Info.Vert.GetExtent(row);
    int left = StartX;
    for (int col = ACol; left < StopX && col < FColCount; ++col) {
      int w = Info.Horz.GetExtent(col);
      RECT where{left, top, left + std::max(w, 0), top + std::max(h, 0)};
      left += GridSpan(Info.Horz, col);
      if (where.right <= where.left || where.bottom <= where.top) continue;
      RECT phys = MirrorRect(where);
      RECT hit;
      if (!Windows::IntersectRect(&hit, &phys, &clip)) continue;
      TGridDrawState state = IncludeDrawState;
      if (focused && row == FCurrent.Y && col == FCurrent.X) state.Include(gdFocused);
      if (GridPointInRect(col, row, sel)) state.Include(gdSelected);
      // The open editor covers its cell.
      if (state.Contains(gdFocused) && FOptions.Contains(goEditing) && FEditorMode && !designing && FInplaceEdit &&
          FInplaceEdit->GetVisible())
        continue;
      if (FDefaultDrawing || designing) {
        canvas->SetFont(GetFont());
        if (state.Contains(gdSelected) &&
            (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect))) {
          canvas->GetBrush()->SetColor(clHighlight);
          canvas->GetFont()->SetColor(clHighlightText);
        } else
          canvas->GetBrush()->SetColor(AColor);
        canvas->FillRect(phys);
      }
      DrawCell(col, row, phys, state);
      if (FDefaultDrawing && state.Contains(gdFixed) && GetCtl3D() && (frame1 | frame2) != 0) {
        RECT r = phys;
        if (!(frame1 & (BF_RIGHT | BF_LEFT)))
          r.right += Info.Horz.EffectiveLineWidth;
        else if (!(frame1 & BF_BOTTOM))
          r.bottom += Info.Vert.EffectiveLineWidth;
        Windows::DrawEdge(canvas->GetHandle(), &r, BDR_RAISEDINNER, frame1);
        Windows::DrawEdge(canvas->GetHandle(), &r, BDR_RAISEDINNER, frame2);
      }
      if (FDefaultDrawing && !designing && state.Contains(gdFocused) &&
          !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) && !FOptions.Contains(goRowSelect)) {
        canvas->GetBrush()->SetColor(AColor);
        canvas->GetFont()->SetColor(clWindowText);
        canvas->DrawFocusRect(phys);
      }
    }
    top += GridSpan(Info.Vert, row);
  }
}

void TCustomGrid::Paint()
{
  TCanvas* canvas = GetCanvas();
  TGridDrawInfo info;
  CalcDrawInfo(info);
  const TGridAxisDrawInfo& H = info.Horz;
  const TGridAxisDrawInfo& V = info.Vert;

  // Lines: bars of the line width under the cells, in four areas.
  auto bars = [&](int startCol, int startRow, RECT area, bool horzOn, bool vertOn, TColor on, TColor off) {
    if (area.right <= area.left || area.bottom <= area.top) return;
    if (H.EffectiveLineWidth > 0) {
      canvas->GetBrush()->SetColor(vertOn ? on : off);
      int x = area.left;
      for (int col = startCol; col < FColCount && x < area.right; ++col) {
        int w = H.GetExtent(col);
        if (w + H.EffectiveLineWidth <= 0) continue;
        x += std::max(w, 0);
        int lw = std::min(H.EffectiveLineWidth + std::min(w, 0), area.right - x);
        if (lw > 0) canvas->FillRect(MirrorRect(RECT{x, area.top, x + lw, area.bottom}));
        x += H.EffectiveLineWidth + std::min(w, 0);
      }
    }
    if (V.EffectiveLineWidth > 0) {
      canvas->GetBrush()->SetColor(horzOn ? on : off);
      int y = area.top;
      for (int row = startRow; row < FRowCount && y < area.bottom; ++row) {
        int h = V.GetExtent(row);
        if (h + V.EffectiveLineWidth <= 0) continue;
        y += std::max(h, 0);
        int lw = std::min(V.EffectiveLineWidth + std::min(h, 0), area.bottom - y);
        if (lw > 0) canvas->FillRect(MirrorRect(RECT{area.left, y, area.right, y + lw}));
        y += V.EffectiveLineWidth + std::min(h, 0);
      }
    }
  };
  if (H.EffectiveLineWidth > 0 || V.EffectiveLineWidth > 0) {
    bool fh = FOptions.Contains(goFixedHorzLine), fv = FOptions.Contains(goFixedVertLine);
    bool dh = FOptions.Contains(goHorzLine), dv = FOptions.Contains(goVertLine);
    TColor data = Graphics::ColorToRGB(GetColor()) == RGB(0xC0, 0xC0, 0xC0) ? clGray : clSilver;
    bars(0, 0, RECT{0, 0, H.FixedBoundary, V.FixedBoundary}, fh, fv, clBlack, FFixedColor);
    bars(FTopLeft.X, 0, RECT{H.FixedBoundary, 0, H.GridBoundary, V.FixedBoundary}, fh, fv, clBlack, FFixedColor);
    bars(0, FTopLeft.Y, RECT{0, V.FixedBoundary, H.FixedBoundary, V.GridBoundary}, fh, fv, clBlack, FFixedColor);
    bars(FTopLeft.X, FTopLeft.Y, RECT{H.FixedBoundary, V.FixedBoundary, H.GridBoundary, V.GridBoundary}, dh, dv, data,
         GetColor());
  }
  DrawCells(info, 0, 0, 0, 0, H.FixedBoundary, V.FixedBoundary, FFixedColor, TGridDrawState{gdFixed});
  DrawCells(info, FTopLeft.X, 0, H.FixedBoundary, 0, H.GridBoundary, V.FixedBoundary, FFixedColor,
            TGridDrawState{gdFixed});
  DrawCells(info, 0, FTopLeft.Y, 0, V.FixedBoundary, H.FixedBoundary, V.GridBoundary, FFixedColor,
            TGridDrawState{gdFixed});
  DrawCells(info, FTopLeft.X, FTopLeft.Y, H.FixedBoundary, V.FixedBoundary, H.GridBoundary, V.GridBoundary, GetColor(),
            TGridDrawState{});

  if (!GetComponentState().Contains(csDesigning) && FOptions.Contains(goRowSelect) && FDefaultDrawing &&
      IsActiveControl()) {
    TGridRect sel = GetSelection();
    RECT focus = BoxRect(sel.Left, sel.Top, sel.Right, sel.Bottom);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetFont()->SetColor(clWindowText);
    if (focus.right > focus.left) canvas->DrawFocusRect(focus);
  }
  // The area past the cells.
  canvas->GetBrush()->SetColor(GetColor());
  if (H.GridBoundary < H.GridExtent)
    canvas->FillRect(MirrorRect(RECT{H.GridBoundary, 0, H.GridExtent, V.GridBoundary}));
  if (V.GridBoundary < V.GridExtent) canvas->FillRect(RECT{0, V.GridBoundary, H.GridExtent, V.GridExtent});
  if (FGridState == gsRowSizing || FGridState == gsColSizing) DrawSizingLine(info);
}

void TCustomGrid::DrawSizingLine(const TGridDrawInfo& DrawInfo)
{
  TCanvas* canvas = GetCanvas();
  TPen* pen = canvas->GetPen();
  TPenStyle style = pen->GetStyle();
  TPenMode mode = pen->GetMode();
  TColor color = pen->GetColor();
  int width = pen->GetWidth();
  pen->SetStyle(psDot);
  pen->SetMode(pmXor);
  pen->SetColor(clWhite);
  pen->SetWidth(1);
  if (FGridState == gsRowSizing) {
    canvas->MoveTo(0, FSizingPos);
    canvas->LineTo(DrawInfo.Horz.GridBoundary, FSizingPos);
  } else {
    int x = MirrorX(FSizingPos);
    canvas->MoveTo(x, 0);
    canvas->LineTo(x, DrawInfo.Vert.GridBoundary);
  }
  pen->SetStyle(style);
  pen->SetMode(mode);
  pen->SetColor(color);
  pen->SetWidth(width);
}

void TCustomGrid::DrawMove()
{
  // The drop place of a moved column or row: a thick bar at its edge.
  TGridDrawInfo info;
  CalcDrawInfo(info);
  RECT r = FGridState == gsColMoving ? CellRect(FMovePos, 0) : CellRect(0, FMovePos);
  if (r.right <= r.left && r.bottom <= r.top) return;
  TCanvas* canvas = GetCanvas();
  TPen* pen = canvas->GetPen();
  TPenMode mode = pen->GetMode();
  int width = pen->GetWidth();
  pen->SetMode(pmNot);
  pen->SetWidth(5);
  bool before = FMovePos <= FMoveIndex;
  if (FGridState == gsColMoving) {
    int x = (before != UseRightToLeftAlignment()) ? r.left : r.right;
    canvas->MoveTo(x, 0);
    canvas->LineTo(x, info.Vert.GridBoundary);
  } else {
    int y = before ? r.top : r.bottom;
    canvas->MoveTo(0, y);
    canvas->LineTo(info.Horz.GridBoundary, y);
  }
  pen->SetMode(mode);
  pen->SetWidth(width);
}

void TCustomGrid::InvalidateGridRect(const TGridRect& R)
{
  if (!HandleAllocated()) return;
  RECT r = BoxRect(R.Left, R.Top, R.Right, R.Bottom);
  if (r.right <= r.left || r.bottom <= r.top) return;
  // Take the lines too, where the focus frame and selection borders reach.
  Windows::InflateRect(&r, FGridLineWidth + 1, FGridLineWidth + 1);
  Windows::InvalidateRect(GetHandle(), &r, FALSE);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }

void TCustomGrid::InvalidateCol(int ACol) { InvalidateGridRect({ACol, 0, ACol, FRowCount - 1}); }

void TCustomGrid::InvalidateRow(int ARow) { InvalidateGridRect({0, ARow, FColCount - 1, ARow}); }

void TCustomGrid::InvalidateRect(const TGridRect& ARect) { InvalidateGridRect(ARect); }

// ============================================================================================
// Keyboard
// ============================================================================================

void TCustomGrid::CalcPageExtents(TGridDrawInfo& DrawInfo, int& PageWidth, int& PageHeight)
{
  CalcDrawInfo(DrawInfo);
  PageWidth = std::max(DrawInfo.Horz.LastFullVisibleCell - FTopLeft.X, 1);
  PageHeight = std::max(DrawInfo.Vert.LastFullVisibleCell - FTopLeft.Y, 1);
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  TGridDrawInfo info;
  int pageWidth, pageHeight;
  CalcPageExtents(info, pageWidth, pageHeight);
  bool rowSelect = FOptions.Contains(goRowSelect);
  TGridCoord newTL = FTopLeft, cur = FCurrent;
  // Right to left, Left and Right swap with the columns.
  Word key = Key;
  if (UseRightToLeftAlignment()) {
    if (key == VK_LEFT)
      key = VK_RIGHT;
    else if (key == VK_RIGHT)
      key = VK_LEFT;
  }
  if (Shift.Contains(ssCtrl)) {
    switch (key) {
      case VK_UP: --newTL.Y; break;
      case VK_DOWN: ++newTL.Y; break;
      case VK_LEFT:
        if (rowSelect)
          --newTL.X;
        else {
          cur.X -= pageWidth;
          newTL.X -= pageWidth;
        }
        break;
      case VK_RIGHT:
        if (rowSelect)
          ++newTL.X;
        else {
          cur.X += pageWidth;
          newTL.X += pageWidth;
        }
        break;
      case VK_PRIOR: cur.Y = FTopLeft.Y; break;
      case VK_NEXT: cur.Y = info.Vert.LastFullVisibleCell; break;
      case VK_HOME:
        cur.X = FFixedCols;
        cur.Y = FFixedRows;
        break;
      case VK_END:
        cur.X = FColCount - 1;
        cur.Y = FRowCount - 1;
        break;
      default: break;
    }
  } else {
    switch (key) {
      case VK_UP: --cur.Y; break;
      case VK_DOWN: ++cur.Y; break;
      case VK_LEFT:
        if (rowSelect)
          --newTL.X;
        else
          --cur.X;
        break;
      case VK_RIGHT:
        if (rowSelect)
          ++newTL.X;
        else
          ++cur.X;
        break;
      case VK_NEXT:
        cur.Y += pageHeight;
        newTL.Y += pageHeight;
        break;
      case VK_PRIOR:
        cur.Y -= pageHeight;
        newTL.Y -= pageHeight;
        break;
      case VK_HOME:
        if (rowSelect)
          newTL.X = FFixedCols;
        else
          cur.X = FFixedCols;
        break;
      case VK_END:
        if (rowSelect)
          newTL.X = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info).X;
        else
          cur.X = FColCount - 1;
        break;
      case VK_TAB:
        if (FOptions.Contains(goTabs) && !Shift.Contains(ssAlt)) {
          // Round the row to the next (or previous) tab stop, wrapping into the next row.
          int startX = cur.X, startY = cur.Y;
          do {
            if (Shift.Contains(ssShift)) {
              if (--cur.X < FFixedCols) {
                cur.X = FColCount - 1;
                if (--cur.Y < FFixedRows) cur.Y = FRowCount - 1;
              }
            } else {
              if (++cur.X >= FColCount) {
                cur.X = FFixedCols;
                if (++cur.Y >= FRowCount) cur.Y = FFixedRows;
              }
            }
          } while (!GetTabStops(cur.X) && !(cur.X == startX && cur.Y == startY));
          Shift = TShiftState{};
        }
        break;
      case VK_F2: SetEditorMode(true); break;
      case VK_ESCAPE:
        if (FEditorMode && FInplaceEdit && FInplaceEdit->GetVisible()) {
          FInplaceEdit->RestoreText();
          if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
          Key = 0;
        }
        break;
      default: break;
    }
  }
  TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
  newTL.X = std::clamp(newTL.X, FFixedCols, std::max(maxTL.X, FFixedCols));
  newTL.Y = std::clamp(newTL.Y, FFixedRows, std::max(maxTL.Y, FFixedRows));
  if (newTL.X != FTopLeft.X || newTL.Y != FTopLeft.Y) MoveTopLeft(newTL.X, newTL.Y);
  cur.X = std::clamp(cur.X, std::min(FFixedCols, FColCount - 1), FColCount - 1);
  cur.Y = std::clamp(cur.Y, std::min(FFixedRows, FRowCount - 1), FRowCount - 1);
  if (cur.X != FCurrent.X || cur.Y != FCurrent.Y) FocusCell(cur.X, cur.Y, !Shift.Contains(ssShift));
}

void TCustomGrid::KeyPress(char& Key)
{
  TCustomControl::KeyPress(Key);
  if (Key == VK_RETURN && !FOptions.Contains(goAlwaysShowEditor)) {
    if (FEditorMode)
      HideEditor();
    else
      ShowEditor();
    Key = 0;
  }
}

void TCustomGrid::WMChar(TMessage& Message)
{
  unsigned char ch = static_cast<unsigned char>(Message.WParam);
  if (FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && (ch == VK_BACK || ch >= 32)) {
    // A double-byte character arrives as two messages: the editor opens with both.
    if (FPendingLead) {
      AnsiString both{FPendingLead, char(ch)};
      FPendingLead = 0;
      ShowEditorChar(both);
      return;
    }
    if (System::IsLeadByte(char(ch))) {
      FPendingLead = char(ch);
      return;
    }
    char key = char(ch);
    TCustomControl::KeyPress(key);  // OnKeyPress may take or change it
    if (key == 0) return;
    ShowEditorChar(AnsiString(1, key));
    return;
  }
  FPendingLead = 0;
  TCustomControl::WMChar(Message);
}

void TCustomGrid::WMGetDlgCode(TMessage& Message)
{
  Message.Result = DLGC_WANTARROWS;
  if (FOptions.Contains(goRowSelect)) return;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

// ============================================================================================
// Mouse
// ============================================================================================

void TCustomGrid::StartTimer()
{
  if (FTimerOn || !HandleAllocated()) return;
  Windows::SetTimer(GetHandle(), kGridScrollTimer, kGridScrollInterval, nullptr);
  FTimerOn = true;
}

void TCustomGrid::StopTimer()
{
  if (!FTimerOn) return;
  if (HandleAllocated()) Windows::KillTimer(GetHandle(), kGridScrollTimer);
  FTimerOn = false;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  bool designing = GetComponentState().Contains(csDesigning);
  if (!designing && CanFocus() && !Focused() && !IsActiveControl()) {
    SetFocus();
    if (!IsActiveControl()) {
      FGridState = gsNormal;
      return;
    }
  }
  if (Button == mbLeft && Shift.Contains(ssDouble))
    DblClick();
  else if (Button == mbLeft) {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, info);
    if (FGridState != gsNormal) {
      DrawSizingLine(info);
      TCustomControl::MouseDown(Button, Shift, X, Y);
      return;
    }
    TGridCoord hit = CalcCoordFromPoint(X, Y, info);
    FHitTest = hit;
    if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
      if (FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect)) {
        if (hit.X == FCurrent.X && hit.Y == FCurrent.Y) {
          ShowEditor();
          if (FInplaceEdit) FInplaceEdit->FClickTime = Windows::GetMessageTime();
        } else {
          MoveColRow(hit.X, hit.Y, true, true);
          UpdateEdit();
        }
        Click();
      } else {
        FGridState = gsSelecting;
        StartTimer();
        if (Shift.Contains(ssShift))
          MoveAnchor(hit);
        else
          MoveColRow(hit.X, hit.Y, true, true);
      }
    } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols && hit.Y >= FFixedRows) {
      FMoveIndex = hit.Y;
      FMovePos = FMoveIndex;
      if (BeginRowDrag(FMoveIndex, FMovePos, POINT{X, Y})) {
        FGridState = gsRowMoving;
        Update();
        DrawMove();
        FMoveDrawn = true;
        StartTimer();
      }
    } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows && hit.X >= FFixedCols) {
      FMoveIndex = hit.X;
      FMovePos = FMoveIndex;
      if (BeginColumnDrag(FMoveIndex, FMovePos, POINT{X, Y})) {
        FGridState = gsColMoving;
        Update();
        DrawMove();
        FMoveDrawn = true;
        StartTimer();
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis, int ScrollBar)
{
  if (UseRightToLeftAlignment() && ScrollBar == SB_HORZ) Mouse = GetClientWidth() - Mouse;
  if (CellHit != FMovePos && !(CellHit == FMoveIndex && FMovePos == FMoveIndex) && CellHit >= Axis.FixedCellCount) {
    if (FMoveDrawn) DrawMove();
    FMovePos = CellHit;
    DrawMove();
    FMoveDrawn = true;
  }
  // Past an edge the view scrolls and the drop place follows.
  if (Mouse < Axis.FixedBoundary) {
    if (FMovePos > Axis.FixedCellCount) ScrollBarMessage(ScrollBar, SB_LINEUP, 0);
    if (FMoveDrawn) DrawMove();
    FMovePos = std::max(Axis.FirstGridCell - (Axis.FirstGridCell > Axis.FixedCellCount ? 1 : 0), Axis.FixedCellCount);
    FMovePos = std::max(FMovePos, Axis.FixedCellCount);
    FMoveDrawn = false;
  } else if (Mouse >= Axis.FullVisBoundary) {
    if (FMovePos == Axis.LastFullVisibleCell && FMovePos < Axis.GridCellCount - 1) {
      ScrollBarMessage(ScrollBar, SB_LINEDOWN, 0);
      CalcDrawInfo(DrawInfo);
    }
    if (FMoveDrawn) DrawMove();
    FMovePos =
        std::min((ScrollBar == SB_HORZ ? DrawInfo.Horz : DrawInfo.Vert).LastFullVisibleCell, Axis.GridCellCount - 1);
    FMoveDrawn = false;
  }
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  switch (FGridState) {
    case gsSelecting: {
      TGridCoord hit = CalcCoordFromPoint(X, Y, info);
      if (hit.X >= FFixedCols && hit.Y >= FFixedRows && hit.X <= info.Horz.LastFullVisibleCell + 1 &&
          hit.Y <= info.Vert.LastFullVisibleCell + 1 && (hit.X != FAnchor.X || hit.Y != FAnchor.Y))
        MoveAnchor(hit);
      break;
    }
    case gsColMoving: {
      // The column follows the mouse along the titles, wherever it is vertically.
      TGridCoord hit = CalcCoordFromPoint(X, Y, info);
      if (hit.X >= FFixedCols && hit.X <= info.Horz.LastFullVisibleCell + 1)
        MoveAndScroll(X, hit.X, info, info.Horz, SB_HORZ);
      break;
    }
    case gsRowMoving: {
      TGridCoord hit = CalcCoordFromPoint(X, Y, info);
      if (hit.Y >= FFixedRows && hit.Y <= info.Vert.LastFullVisibleCell + 1)
        MoveAndScroll(Y, hit.Y, info, info.Vert, SB_VERT);
      break;
    }
    case gsRowSizing:
    case gsColSizing:
      DrawSizingLine(info);  // out
      FSizingPos = (FGridState == gsRowSizing ? Y : MirrorX(X)) + FSizingOfs;
      DrawSizingLine(info);  // in again
      break;
    default: break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

int TCustomGrid::ResizeLine(const TGridAxisDrawInfo& AxisInfo)
{
  int result = FSizingPos;
  for (int i = 0; i < AxisInfo.FixedCellCount; ++i) result -= GridSpan(AxisInfo, i);
  for (int i = AxisInfo.FirstGridCell; i < FSizingIndex; ++i) result -= GridSpan(AxisInfo, i);
  return result;
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGridDrawInfo info;
  CalcDrawInfo(info);
  switch (FGridState) {
    case gsSelecting:
      MouseMove(Shift, X, Y);
      StopTimer();
      UpdateEdit();
      Click();
      break;
    case gsRowSizing:
    case gsColSizing: {
      DrawSizingLine(info);
      TGridState state = FGridState;
      FGridState = gsNormal;
      if (state == gsColSizing) {
        int size = ResizeLine(info.Horz);
        if (size > 1) SetColWidths(FSizingIndex, size);
      } else {
        int size = ResizeLine(info.Vert);
        if (size > 1) SetRowHeights(FSizingIndex, size);
      }
      break;
    }
    case gsColMoving: {
      if (FMoveDrawn) DrawMove();
      StopTimer();
      FGridState = gsNormal;
      if (EndColumnDrag(FMoveIndex, FMovePos, POINT{X, Y}) && FMoveIndex != FMovePos) MoveColumn(FMoveIndex, FMovePos);
      UpdateEdit();
      break;
    }
    case gsRowMoving: {
      if (FMoveDrawn) DrawMove();
      StopTimer();
      FGridState = gsNormal;
      if (EndRowDrag(FMoveIndex, FMovePos, POINT{X, Y}) && FMoveIndex != FMovePos) MoveRow(FMoveIndex, FMovePos);
      UpdateEdit();
      break;
    }
    default: UpdateEdit(); break;
  }
  FGridState = gsNormal;
  FMoveDrawn = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::WMTimer(TMessage& Message)
{
  if (Message.WParam != kGridScrollTimer) return;
  if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) {
    StopTimer();
    return;
  }
  POINT p;
  Windows::GetCursorPos(&p);
  p = ScreenToClient(p);
  TGridDrawInfo info;
  CalcDrawInfo(info);
  TGridCoord hit = CalcCoordFromPoint(p.x, p.y, info);
  if (FGridState == gsColMoving)
    MoveAndScroll(p.x, hit.X, info, info.Horz, SB_HORZ);
  else if (FGridState == gsRowMoving)
    MoveAndScroll(p.y, hit.Y, info, info.Vert, SB_VERT);
  else {
    TGridScrollDirection dir;
    int x = MirrorX(p.x);
    if (x < info.Horz.FixedBoundary)
      dir.Include(sdLeft);
    else if (x > info.Horz.FullVisBoundary)
      dir.Include(sdRight);
    if (p.y < info.Vert.FixedBoundary)
      dir.Include(sdUp);
    else if (p.y > info.Vert.FullVisBoundary)
      dir.Include(sdDown);
    if (!dir.Empty()) TimedScroll(dir);
  }
}

void TCustomGrid::TimedScroll(TGridScrollDirection Direction)
{
  TGridCoord next = FAnchor;
  if (Direction.Contains(sdLeft) && FAnchor.X > FFixedCols) --next.X;
  if (Direction.Contains(sdRight) && FAnchor.X < FColCount - 1) ++next.X;
  if (Direction.Contains(sdUp) && FAnchor.Y > FFixedRows) --next.Y;
  if (Direction.Contains(sdDown) && FAnchor.Y < FRowCount - 1) ++next.Y;
  if (next.X != FAnchor.X || next.Y != FAnchor.Y) MoveAnchor(next);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (FRowCount - 1 > FCurrent.Y) FocusCell(FCurrent.X, FCurrent.Y + 1, true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (FCurrent.Y > FFixedRows) FocusCell(FCurrent.X, FCurrent.Y - 1, true);
  return true;
}

// ============================================================================================
// Window
// ============================================================================================

void TCustomGrid::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomGrid::CreateWnd()
{
  TCustomControl::CreateWnd();
  UpdateScrollRange();
}

void TCustomGrid::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_TIMER: WMTimer(Message); return;
    case WM_HSCROLL:
      if (Message.LParam == 0) {
        WMScroll(Message, SB_HORZ);
        return;
      }
      break;
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        WMScroll(Message, SB_VERT);
        return;
      }
      break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      if (FGridState != gsNormal) {
        StopTimer();
        if (FGridState == gsRowSizing || FGridState == gsColSizing) {
          TGridDrawInfo info;
          CalcDrawInfo(info);
          DrawSizingLine(info);
        } else if (FMoveDrawn)
          DrawMove();
        FGridState = gsNormal;
        FMoveDrawn = false;
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGrid::WMSize(TMessage& Message)
{
  TCustomControl::WMSize(Message);
  UpdateScrollRange();
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::WMSetFocus(TMessage& Message)
{
  TCustomControl::WMSetFocus(Message);
  // Unless the focus comes back from the editor, the editor (when open or always shown) takes it.
  if (!FInplaceEdit || !FInplaceEdit->HandleAllocated() ||
      reinterpret_cast<HWND>(Message.WParam) != FInplaceEdit->GetHandle()) {
    InvalidateGridRect(GetSelection());
    UpdateEdit();
  }
}

void TCustomGrid::WMKillFocus(TMessage& Message)
{
  TCustomControl::WMKillFocus(Message);
  InvalidateGridRect(GetSelection());
  if (FInplaceEdit &&
      !(FInplaceEdit->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == FInplaceEdit->GetHandle()))
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::WMSetCursor(TMessage& Message)
{
  if (LOWORD(Message.LParam) == HTCLIENT && FGridState == gsNormal) {
    POINT p;
    Windows::GetCursorPos(&p);
    p = ScreenToClient(p);
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridState state;
    int index, pos, ofs;
    CalcSizingState(p.x, p.y, state, index, pos, ofs, info);
    if (state == gsColSizing || state == gsRowSizing) {
      Windows::SetCursor(Controls::AppLink().CursorHandle(state == gsColSizing ? crHSplit : crVSplit));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WMSetCursor(Message);
}

void TCustomGrid::WMCommand(TMessage& Message)
{
  TCustomControl::WMCommand(Message);
  if (FInplaceEdit && FInplaceEdit->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.LParam) == FInplaceEdit->GetHandle() && HIWORD(Message.WParam) == EN_CHANGE)
    UpdateText();
}

void TCustomGrid::CMFontChanged(TMessage& Message)
{
  if (FInplaceEdit) FInplaceEdit->GetFont()->Assign(GetFont());
  TCustomControl::CMFontChanged(Message);
}
