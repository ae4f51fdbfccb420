// TDrawGrid: a grid whose cells its events draw and edit, and TStringGrid, which keeps a text
// and an object per cell and draws the text.
#pragma once

#include <memory>
#include <unordered_map>

#include "platform/stdctrls/grids/Grids.h"

class TStrings;

PELTO_EVENT_TYPE(TDrawCellEvent, void(TObject* Sender, int ACol, int ARow, RECT Rect, TGridDrawState State))
PELTO_EVENT_TYPE(TSelectCellEvent, void(TObject* Sender, int ACol, int ARow, bool& CanSelect))
PELTO_EVENT_TYPE(TGetEditEvent, void(TObject* Sender, int ACol, int ARow, AnsiString& Value))
PELTO_EVENT_TYPE(TSetEditEvent, void(TObject* Sender, int ACol, int ARow, const AnsiString& Value))
PELTO_EVENT_TYPE(TMovedEvent, void(TObject* Sender, int FromIndex, int ToIndex))

class TDrawGrid : public TCustomGrid {
  PELTO_CLASS(TDrawGrid, TCustomGrid)
public:
  using TCustomGrid::TCustomGrid;

  using TCustomGrid::CellRect;
  using TCustomGrid::MouseCoord;
  using TCustomGrid::MouseToCell;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

  PELTO_PUBLISHED(p)
  {
    p.Property("OnDrawCell", TypeInfo_TDrawCellEvent(), &ThisClass::OnDrawCell, &ThisClass::OnDrawCell);
    p.Property("OnSelectCell", TypeInfo_TSelectCellEvent(), &ThisClass::OnSelectCell, &ThisClass::OnSelectCell);
    p.Property("OnGetEditMask", TypeInfo_TGetEditEvent(), &ThisClass::OnGetEditMask, &ThisClass::OnGetEditMask);
    p.Property("OnGetEditText", TypeInfo_TGetEditEvent(), &ThisClass::OnGetEditText, &ThisClass::OnGetEditText);
    p.Property("OnSetEditText", TypeInfo_TSetEditEvent(), &ThisClass::OnSetEditText, &ThisClass::OnSetEditText);
    p.Property("OnColumnMoved", TypeInfo_TMovedEvent(), &ThisClass::OnColumnMoved, &ThisClass::OnColumnMoved);
    p.Property("OnRowMoved", TypeInfo_TMovedEvent(), &ThisClass::OnRowMoved, &ThisClass::OnRowMoved);
    p.Property("OnTopLeftChanged", TypeInfo_TNotifyEvent(), &ThisClass::OnTopLeftChanged, &ThisClass::OnTopLeftChanged);
  }

protected:
  void DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  AnsiString GetEditMask(int ACol, int ARow) override;
  AnsiString GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void TopLeftChanged() override;
};

class TStringGridStrings;

class TStringGrid : public TDrawGrid {
  PELTO_CLASS(TStringGrid, TDrawGrid)
public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;

  // Cells outside the grid raise EGridException "Grid index out of range".
  AnsiString GetCells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const AnsiString& Value);
  // Borrowed: the grid never frees the objects.
  TObject* GetObjects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);
  // A column's / row's cells as lines, live: writing a line writes the cell. Owned by the grid.
  TStrings* GetCols(int Index);
  TStrings* GetRows(int Index);
  // Copies the lines into the column's / row's cells (the first ones; the rest empty).
  void SetCols(int Index, TStrings* Value);
  void SetRows(int Index, TStrings* Value);
  // How many cells hold a text or an object.
  int FilledCellCount() const { return static_cast<int>(FCells.size()); }

protected:
  void DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState) override;
  AnsiString GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;

private:
  friend class TStringGridStrings;
  struct TCell {
    AnsiString Text;
    TObject* Object = nullptr;
  };
  static long long KeyOf(int ACol, int ARow) { return (static_cast<long long>(ARow) << 32) | unsigned(ACol); }
  void CheckCell(int ACol, int ARow) const;
  void PutCell(int ACol, int ARow, const AnsiString& Text, TObject* Object);
  // Renumbers the cells of one axis after a move.
  void MoveCells(bool Columns, int FromIndex, int ToIndex);

  std::unordered_map<long long, TCell> FCells;
  std::unordered_map<int, std::unique_ptr<TStringGridStrings>> FColStrings, FRowStrings;
};
