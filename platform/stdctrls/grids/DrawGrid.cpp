#include "platform/stdctrls/grids/DrawGrid.h"

#include <vector>

#include "platform/forms/graphics/Canvas.h"
#include "platform/rtl/StringList.h"

// ============================================================================================
// TDrawGrid
// ============================================================================================

void TDrawGrid::DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState)
{
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

AnsiString TDrawGrid::GetEditMask(int ACol, int ARow)
{
  AnsiString mask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

AnsiString TDrawGrid::GetEditText(int ACol, int ARow)
{
  AnsiString text;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const AnsiString& Value)
{
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged()
{
  TCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ============================================================================================
// TStringGridStrings: one column or row of a string grid seen as lines
// ============================================================================================

class TStringGridStrings : public TStrings {
public:
  TStringGridStrings(TStringGrid* Grid, bool Column, int Index) : FGrid(Grid), FColumn(Column), FIndex(Index) {}

  Integer GetCount() const override { return FColumn ? FGrid->GetRowCount() : FGrid->GetColCount(); }
  // A grid's line count is its size: Add fills the first empty line (-1 when none is left).
  Integer AddObject(const AnsiString& S, TObject* AObject) override
  {
    for (int i = 0; i < GetCount(); ++i)
      if (Get(i).empty() && !GetObject(i)) {
        Put(i, S);
        PutObject(i, AObject);
        return i;
      }
    return -1;
  }
  Integer Add(const AnsiString& S) override { return AddObject(S, nullptr); }
  void Clear() override
  {
    for (int i = 0; i < GetCount(); ++i) Cell(i, "", nullptr);
  }
  void Delete(Integer) override { throw EGridException("Grid lines cannot be inserted or deleted"); }
  void Insert(Integer, const AnsiString&) override { throw EGridException("Grid lines cannot be inserted or deleted"); }
  void Assign(TStrings* Source) override
  {
    int n = GetCount();
    for (int i = 0; i < n; ++i) {
      bool has = Source && i < Source->GetCount();
      Cell(i, has ? Source->GetStrings(i) : AnsiString(), has ? Source->GetObjects(i) : nullptr);
    }
  }

protected:
  AnsiString Get(Integer Index) const override
  {
    return FColumn ? FGrid->GetCells(FIndex, Index) : FGrid->GetCells(Index, FIndex);
  }
  void Put(Integer Index, const AnsiString& S) override
  {
    if (FColumn)
      FGrid->SetCells(FIndex, Index, S);
    else
      FGrid->SetCells(Index, FIndex, S);
  }
  TObject* GetObject(Integer Index) const override
  {
    return FColumn ? FGrid->GetObjects(FIndex, Index) : FGrid->GetObjects(Index, FIndex);
  }
  void PutObject(Integer Index, TObject* AObject) override
  {
    if (FColumn)
      FGrid->SetObjects(FIndex, Index, AObject);
    else
      FGrid->SetObjects(Index, FIndex, AObject);
  }

private:
  void Cell(int I, const AnsiString& S, TObject* O)
  {
    if (FColumn)
      FGrid->PutCell(FIndex, I, S, O);
    else
      FGrid->PutCell(I, FIndex, S, O);
  }
  TStringGrid* FGrid;
  bool FColumn;
  int FIndex;
};

// ============================================================================================
// TStringGrid
// ============================================================================================

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckCell(int ACol, int ARow) const
{
  if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount())
    throw EGridException("Grid index out of range");
}

void TStringGrid::PutCell(int ACol, int ARow, const AnsiString& Text, TObject* Object)
{
  CheckCell(ACol, ARow);
  long long key = KeyOf(ACol, ARow);
  auto it = FCells.find(key);
  AnsiString old = it == FCells.end() ? AnsiString() : it->second.Text;
  if (Text.empty() && !Object) {
    if (it != FCells.end()) FCells.erase(it);
  } else
    FCells[key] = TCell{Text, Object};
  if (old != Text) InvalidateCell(ACol, ARow);
}

AnsiString TStringGrid::GetCells(int ACol, int ARow) const
{
  CheckCell(ACol, ARow);
  auto it = FCells.find(KeyOf(ACol, ARow));
  return it == FCells.end() ? AnsiString() : it->second.Text;
}

void TStringGrid::SetCells(int ACol, int ARow, const AnsiString& Value)
{
  PutCell(ACol, ARow, Value, GetObjects(ACol, ARow));
}

TObject* TStringGrid::GetObjects(int ACol, int ARow) const
{
  CheckCell(ACol, ARow);
  auto it = FCells.find(KeyOf(ACol, ARow));
  return it == FCells.end() ? nullptr : it->second.Object;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) { PutCell(ACol, ARow, GetCells(ACol, ARow), Value); }

TStrings* TStringGrid::GetCols(int Index)
{
  if (Index < 0 || Index >= GetColCount()) throw EGridException("Grid index out of range");
  auto& slot = FColStrings[Index];
  if (!slot) slot = std::make_unique<TStringGridStrings>(this, true, Index);
  return slot.get();
}

TStrings* TStringGrid::GetRows(int Index)
{
  if (Index < 0 || Index >= GetRowCount()) throw EGridException("Grid index out of range");
  auto& slot = FRowStrings[Index];
  if (!slot) slot = std::make_unique<TStringGridStrings>(this, false, Index);
  return slot.get();
}

void TStringGrid::SetCols(int Index, TStrings* Value) { GetCols(Index)->Assign(Value); }

void TStringGrid::SetRows(int Index, TStrings* Value) { GetRows(Index)->Assign(Value); }

void TStringGrid::DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState)
{
  if (GetDefaultDrawing()) {
    auto it = FCells.find(KeyOf(ACol, ARow));
    if (it != FCells.end() && !it->second.Text.empty())
      GetCanvas()->TextRect(ARect, ARect.left + 2, ARect.top + 2, it->second.Text);
  }
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

AnsiString TStringGrid::GetEditText(int ACol, int ARow)
{
  AnsiString text = GetCells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TStringGrid::SetEditText(int ACol, int ARow, const AnsiString& Value)
{
  SetCells(ACol, ARow, Value);
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::MoveCells(bool Columns, int FromIndex, int ToIndex)
{
  std::unordered_map<long long, TCell> moved;
  moved.reserve(FCells.size());
  for (auto& [key, cell] : FCells) {
    int col = int(unsigned(key & 0xFFFFFFFF)), row = int(key >> 32);
    int& i = Columns ? col : row;
    if (i == FromIndex)
      i = ToIndex;
    else if (FromIndex < ToIndex && i > FromIndex && i <= ToIndex)
      --i;
    else if (FromIndex > ToIndex && i >= ToIndex && i < FromIndex)
      ++i;
    moved.emplace(KeyOf(col, row), std::move(cell));
  }
  FCells.swap(moved);
  Invalidate();
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
  MoveCells(true, FromIndex, ToIndex);
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
  MoveCells(false, FromIndex, ToIndex);
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
  // Cells cut off by a smaller grid are gone for good, as are the views of their lines.
  if (GetColCount() < OldColCount || GetRowCount() < OldRowCount) {
    for (auto it = FCells.begin(); it != FCells.end();) {
      int col = int(unsigned(it->first & 0xFFFFFFFF)), row = int(it->first >> 32);
      if (col >= GetColCount() || row >= GetRowCount())
        it = FCells.erase(it);
      else
        ++it;
    }
    std::erase_if(FColStrings, [&](auto& e) { return e.first >= GetColCount(); });
    std::erase_if(FRowStrings, [&](auto& e) { return e.first >= GetRowCount(); });
  }
  TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}
