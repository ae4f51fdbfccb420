// TCustomGrid: a painted grid of cells, the base of the draw grid, the string grid and the
// data-aware grids. It knows fixed rows and columns (titles, indicators) and scrolling ones,
// the current cell and the selection, and the in-place editor; what a cell shows is left to
// DrawCell and the editor's text to GetEditText / SetEditText.
//
// Sections of Grids.cpp:
//   geometry   CalcDrawInfo -> the axis walk; CellRect / BoxRect, MouseCoord, sizing zones
//   state      counts, sizes, options, the current cell and the anchor, MoveColRow
//   scrolling  MoveTopLeft -> TopLeftChanged, the scroll bars (one step per cell)
//   editor     ShowEditor -> UpdateEdit -> TInplaceEdit::UpdateContents / Move; UpdateText
//   painting   Paint -> lines, DrawCells -> DrawCell, focus rectangle, sizing line
//   input      KeyDown / KeyPress / typed characters; MouseDown -> selecting, sizing, moving;
//              the timer that scrolls while the mouse is past an edge (TimedScroll)
//
// Right to left: cells are laid out from the client's right edge. The geometry is computed left
// to right and mirrored where it meets the window (CellRect, BoxRect, mouse points, painting).
//
// Sizes are sparse: a cell keeps its own width or height only when it differs from the default,
// so a grid of a million default rows costs what a small one does.
#pragma once

#include <memory>

#include "platform/forms/controls/CustomControl.h"
#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/grids/GridTypes.h"

class TInplaceEdit;

class TCustomGrid : public TCustomControl {
  PELTO_CLASS(TCustomGrid, TCustomControl)
  friend class TInplaceEdit;

public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // ---- Cells (geometry answers in client coordinates, mirrored right to left)
  // The cell's rectangle when it is shown, partly or whole; empty (0,0,0,0) when it is not.
  RECT CellRect(int ACol, int ARow);
  // The rectangle covering the cells shown of the range.
  RECT BoxRect(int ALeft, int ATop, int ARight, int ABottom);
  // The cell under a client point; -1 on an axis outside the cells.
  TGridCoord MouseCoord(int X, int Y);
  void MouseToCell(int X, int Y, int& ACol, int& ARow);
  void CalcDrawInfo(TGridDrawInfo& DrawInfo);
  // As CalcDrawInfo for a client area of the given size.
  void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight);
  // Fixed cells only: the scrolling cells as if scrolled to their start.
  void CalcFixedInfo(TGridDrawInfo& DrawInfo);

  // ---- Counts and sizes
  int GetColCount() const { return FColCount; }
  void SetColCount(int Value);
  int GetRowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  int GetFixedCols() const { return FFixedCols; }
  // Raises EGridException "Fixed column count must be less than column count" when not.
  void SetFixedCols(int Value);
  int GetFixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  int GetDefaultColWidth() const { return FColWidths.GetDefault(); }
  // Every column takes the new width.
  void SetDefaultColWidth(int Value);
  int GetDefaultRowHeight() const { return FRowHeights.GetDefault(); }
  void SetDefaultRowHeight(int Value);
  // A width of 0 hides the column's cells (its line stays); a negative one hides the line too.
  int GetColWidths(int Index) const { return FColWidths.Get(Index); }
  void SetColWidths(int Index, int Value);
  int GetRowHeights(int Index) const { return FRowHeights.Get(Index); }
  void SetRowHeights(int Index, int Value);
  // How many columns / rows keep a size of their own (the rest take the default).
  int SizedColCount() const { return FColWidths.SizedCount(); }
  int SizedRowCount() const { return FRowHeights.SizedCount(); }
  // Whether Tab stops at the column (goTabs); all do by default.
  bool GetTabStops(int Index) const;
  void SetTabStops(int Index, bool Value);
  int GetGridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  // The pixel width / height of the cells shown, lines included.
  int GetGridWidth();
  int GetGridHeight();

  // ---- Looks and behaviour
  TGridOptions GetOptions() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor GetFixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  bool GetDefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

  // ---- Current cell, view and selection
  int GetCol() const { return FCurrent.X; }
  void SetCol(int Value);
  int GetRow() const { return FCurrent.Y; }
  void SetRow(int Value);
  int GetLeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  int GetTopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  // The scrolling columns / rows shown whole.
  int GetVisibleColCount();
  int GetVisibleRowCount();
  // From the current cell to the anchor, ordered.
  TGridRect GetSelection() const;
  // Raises EGridException "Grid index out of range" for cells outside the grid.
  void SetSelection(const TGridRect& Value);
  bool GetEditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  // Null until the editor was first shown; owned by the grid.
  TInplaceEdit* GetInplaceEditor() const { return FInplaceEdit; }
  TGridState GetGridState() const { return FGridState; }

  // Moves the column / row at FromIndex to ToIndex (sizes go along) and tells ColumnMoved /
  // RowMoved.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);

  // ---- Invalidation
  void InvalidateCell(int ACol, int ARow);
  void InvalidateCol(int ACol);
  void InvalidateRow(int ARow);
  void InvalidateGrid() { Invalidate(); }
  void InvalidateRect(const TGridRect& ARect);

  PELTO_PUBLISHED(p)
  {
    p.Property("BiDiMode", &ThisClass::GetBiDiMode, &ThisClass::SetBiDiMode).Default(bdLeftToRight);
    p.Property("BorderStyle", TypeInfo_TBorderStyle(), &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle)
        .Default(bsSingle);
    // The counts come before the fixed counts that must stay below them.
    p.Property("ColCount", &ThisClass::GetColCount, &ThisClass::SetColCount).Default(5);
    p.Property("RowCount", &ThisClass::GetRowCount, &ThisClass::SetRowCount).Default(5);
    p.Property("DefaultColWidth", &ThisClass::GetDefaultColWidth, &ThisClass::SetDefaultColWidth).Default(64);
    p.Property("DefaultDrawing", &ThisClass::GetDefaultDrawing, &ThisClass::SetDefaultDrawing).Default(true);
    p.Property("DefaultRowHeight", &ThisClass::GetDefaultRowHeight, &ThisClass::SetDefaultRowHeight).Default(24);
    p.Property("FixedColor", TypeInfo_TColor(), &ThisClass::GetFixedColor, &ThisClass::SetFixedColor)
        .Default(clBtnFace);
    p.Property("FixedCols", &ThisClass::GetFixedCols, &ThisClass::SetFixedCols).Default(1);
    p.Property("FixedRows", &ThisClass::GetFixedRows, &ThisClass::SetFixedRows).Default(1);
    p.Property("GridLineWidth", &ThisClass::GetGridLineWidth, &ThisClass::SetGridLineWidth).Default(1);
    p.Property("Options", &ThisClass::GetOptions, &ThisClass::SetOptions);
    p.Property("ScrollBars", &ThisClass::GetScrollBars, &ThisClass::SetScrollBars).Default(ssBoth);
  }

protected:
  // ---- Hooks for descendants
  // The editor the grid shows; the grid owns it.
  virtual TInplaceEdit* CreateEditor();
  virtual bool CanEditShow();
  virtual bool CanEditModify();
  virtual bool CanEditAcceptKey(char Key);
  virtual AnsiString GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const AnsiString& Value);
  virtual AnsiString GetEditMask(int ACol, int ARow);
  // Bytes the editor takes; 0 for no limit.
  virtual int GetEditLimit();
  virtual void ShowEditor();
  virtual void HideEditor();
  // Shows the editor with the typed character (one or two CP936 bytes) as its first input.
  virtual void ShowEditorChar(const AnsiString& Ch);
  // Shows the editor again for the current cell, reading its text afresh.
  virtual void InvalidateEditor();
  // Draws one cell; DefaultDrawing has filled it and frames it afterwards.
  virtual void DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState) {}
  // Whether the cell may become current.
  virtual bool SelectCell(int ACol, int ARow) { return true; }
  virtual void TopLeftChanged();
  virtual void ColumnMoved(int FromIndex, int ToIndex) {}
  virtual void RowMoved(int FromIndex, int ToIndex) {}
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // One step of selecting past an edge: the anchor moves one cell that way.
  virtual void TimedScroll(TGridScrollDirection Direction);
  // Counts changed from the old ones.
  virtual void SizeChanged(int OldColCount, int OldRowCount) {}
  // Whether a point is on a sizing edge of the fixed cells; Index is the column or row sized.
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                               TGridDrawInfo& FixedInfo);
  // Whether a column drag may start at Origin; may change it. True by default.
  virtual bool BeginColumnDrag(int& Origin, int& Destination, POINT MousePt) { return true; }
  virtual bool EndColumnDrag(int& Origin, int& Destination, POINT MousePt) { return true; }
  virtual bool BeginRowDrag(int& Origin, int& Destination, POINT MousePt) { return true; }
  virtual bool EndRowDrag(int& Origin, int& Destination, POINT MousePt) { return true; }
  virtual void DeleteColumn(int ACol);
  virtual void DeleteRow(int ARow);

  // ---- Moving the current cell and the view
  // Makes the cell current (SelectCell may refuse), keeping or moving the anchor, and scrolls it
  // into view with Show. Raises EGridException "Grid index out of range" outside the grid.
  void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
  // MoveColRow with the view, then the editor follows and Click runs.
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveAnchor(const TGridCoord& NewAnchor);
  void MoveTopLeft(int ALeft, int ATop);
  // The top-left cell that still fills the view with the last cells.
  TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo);
  void ClampInView(const TGridCoord& Coord);
  void UpdateScrollRange();
  void UpdateScrollPos();
  // The editor placed over the current cell when it should be shown.
  void UpdateEdit();
  // The editor's text written through SetEditText.
  void UpdateText();
  // Whether the grid or its editor has the focus.
  bool IsActiveControl();
  // Page size in cells for Page Up / Down and Ctrl+Left / Right.
  void CalcPageExtents(TGridDrawInfo& DrawInfo, int& PageWidth, int& PageHeight);

  // ---- Painting
  void Paint() override;
  // Draws the dotted sizing line (XOR) where FSizingPos says.
  void DrawSizingLine(const TGridDrawInfo& DrawInfo);
  void DrawMove();

  // ---- Input
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override;

  // ---- Window
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMChar(TMessage& Message) override;
  void WMCommand(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void WMTimer(TMessage& Message);
  virtual void WMScroll(TMessage& Message, int Bar);

  // The mirrored X of a client X when right to left.
  int MirrorX(int X) { return UseRightToLeftAlignment() ? GetClientWidth() - X : X; }
  RECT MirrorRect(RECT R);

  // ---- State the descendants read
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  TGridState FGridState = gsNormal;
  int FSizingIndex = 0, FSizingPos = 0, FSizingOfs = 0;
  int FMoveIndex = 0, FMovePos = 0;
  TGridCoord FHitTest;  // where the mouse last pressed
  TInplaceEdit* FInplaceEdit = nullptr;
  int FInplaceCol = -1, FInplaceRow = -1;
  bool FCanEditModify = true;
  TGridOptions FDesignOptionsBoost{goColSizing, goRowSizing};

private:
  void CalcAxis(TGridAxisDrawInfo& Axis, int UseExtent, int FirstCell, int CellCount, int FixedCount,
                const TGridExtents& Extents, bool Lines);
  TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo);
  void ChangeSize(int NewColCount, int NewRowCount);
  void SelectionMoved(const TGridRect& OldSel);
  void TopLeftMoved(const TGridCoord& OldTopLeft);
  void InvalidateGridRect(const TGridRect& R);
  void DrawCells(const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY, int StopX, int StopY,
                 TColor AColor, TGridDrawState IncludeDrawState);
  int ResizeLine(const TGridAxisDrawInfo& AxisInfo);
  void MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis, int ScrollBar);
  void StartTimer();
  void StopTimer();
  void ScrollBarMessage(int Bar, int Code, int Pos);
  void MoveTopLeftChecked(int ALeft, int ATop);

  int FColCount = 5, FRowCount = 5;
  int FFixedCols = 1, FFixedRows = 1;
  TGridExtents FColWidths{64};
  TGridExtents FRowHeights{24};
  std::map<int, bool> FTabStops;  // columns that are no tab stops
  int FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FFixedColor = clBtnFace;
  bool FDefaultDrawing = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FEditorMode = false;
  bool FTimerOn = false;
  bool FMoveDrawn = false;
  bool FUpdatingScrollBars = false;
  char FPendingLead = 0;  // a typed lead byte waiting for its trail byte
};

PELTO_DECLARE_EXCEPTION(EGridException, Exception);
