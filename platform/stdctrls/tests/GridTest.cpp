// Grids on a headless form: cell geometry and its mirror image, keys, range selection by Shift
// and by dragging past an edge, column sizing and moving by the mouse, the in-place editor, the
// scroll bars, and the string grid's cells, columns and rows.
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/grids/DrawGrid.h"
#include "platform/stdctrls/grids/InplaceEdit.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/scroll/ScrollBars.h"

namespace {

// A string grid that tells which hooks ran.
class TProbeGrid : public TStringGrid {
public:
  using TCustomGrid::FAnchor;
  using TCustomGrid::FCurrent;
  using TStringGrid::TStringGrid;
  int WidthChanges = 0, TopLeftChanges = 0, TimedScrolls = 0;
  std::vector<std::pair<int, int>> Moves, RowMoves;
  std::vector<AnsiString> Written;
  AnsiString Mask;
  std::set<std::pair<int, int>> Drawn;

protected:
  void ColWidthsChanged() override
  {
    ++WidthChanges;
    TStringGrid::ColWidthsChanged();
  }
  void TopLeftChanged() override
  {
    ++TopLeftChanges;
    TStringGrid::TopLeftChanged();
  }
  void ColumnMoved(int From, int To) override
  {
    Moves.push_back({From, To});
    TStringGrid::ColumnMoved(From, To);
  }
  void RowMoved(int From, int To) override
  {
    RowMoves.push_back({From, To});
    TStringGrid::RowMoved(From, To);
  }
  void TimedScroll(TGridScrollDirection Direction) override
  {
    ++TimedScrolls;
    TStringGrid::TimedScroll(Direction);
  }
  AnsiString GetEditMask(int, int) override { return Mask; }
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override
  {
    Written.push_back(Value);
    TStringGrid::SetEditText(ACol, ARow, Value);
  }
  void DrawCell(int ACol, int ARow, const RECT& ARect, TGridDrawState AState) override
  {
    Drawn.insert({ACol, ARow});
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
};

class GridsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(420, 300);
    Grid = new TProbeGrid(Owner.get());
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 380, 240);
    Grid->SetColCount(8);
    Grid->SetRowCount(30);
  }
  void ShowFocused()
  {
    Form->Show();
    Grid->SetFocus();
    Pump();
  }
  void Key(int Vk, int Hold = 0)
  {
    if (Hold) InputQueue::KeyDown(Hold);
    InputQueue::KeyDown(Vk);
    InputQueue::KeyUp(Vk);
    if (Hold) InputQueue::KeyUp(Hold);
    Pump();
  }
  POINT Screen(int X, int Y) { return Grid->ClientToScreen(POINT{X, Y}); }
  void Press(int X, int Y)
  {
    POINT p = Screen(X, Y);
    Headless::AdvanceTime(1000);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  void MoveTo(int X, int Y)
  {
    POINT p = Screen(X, Y);
    InputQueue::MouseMove(p.x, p.y);
    Pump();
  }
  void Release(int X, int Y)
  {
    POINT p = Screen(X, Y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  TGridCoord Cur() { return {Grid->GetCol(), Grid->GetRow()}; }
  TForm* Form = nullptr;
  TProbeGrid* Grid = nullptr;
};

// Every cell shown maps back to itself from its corners and centre; hidden cells have no
// rectangle; cells sit in order along both axes (mirrored right to left).
void CheckGridRoundTrips(TCustomGrid* G, const char* Label)
{
  SCOPED_TRACE(Label);
  bool rtl = G->UseRightToLeftAlignment();
  int shown = 0;
  for (int r = 0; r < G->GetRowCount(); ++r)
    for (int c = 0; c < G->GetColCount(); ++c) {
      RECT box = G->CellRect(c, r);
      bool empty = box.right <= box.left || box.bottom <= box.top;
      if (G->GetColWidths(c) <= 0 || G->GetRowHeights(r) <= 0) {
        EXPECT_TRUE(empty) << c << "," << r;
        continue;
      }
      if (empty) continue;
      ++shown;
      for (POINT p : {POINT{box.left, box.top}, POINT{box.right - 1, box.bottom - 1},
                      POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2}}) {
        TGridCoord hit = G->MouseCoord(p.x, p.y);
        EXPECT_EQ(hit.X, c) << "point " << p.x << "," << p.y;
        EXPECT_EQ(hit.Y, r) << "point " << p.x << "," << p.y;
      }
      if (c + 1 < G->GetColCount() && G->GetColWidths(c + 1) > 0) {
        RECT next = G->CellRect(c + 1, r);
        if (next.right > next.left) {
          int gap = rtl ? box.left - next.right : next.left - box.right;
          EXPECT_EQ(gap, G->GetGridLineWidth()) << c << "," << r;
        }
      }
    }
  EXPECT_GT(shown, 4);
}

}  // namespace

TEST_F(GridsTest, CellsAndPointsRoundTripWithFixedHiddenAndMirroredCells)
{
  struct Case {
    const char* Label;
    int FixedCols, FixedRows, LineWidth, HiddenCol, HiddenWidth;
    bool RightToLeft;
  };
  const Case cases[] = {
      {"no lines, no fixed cells", 0, 0, 0, -1, 0, false},
      {"one line, fixed row and column", 1, 1, 1, 3, 0, false},
      {"two-pixel lines, two fixed columns, a column hidden with its line", 2, 1, 2, 4, -2, false},
      {"right to left", 1, 1, 1, 2, 0, true},
  };
  ShowFocused();
  for (const Case& c : cases) {
    Grid->SetFixedCols(c.FixedCols);
    Grid->SetFixedRows(c.FixedRows);
    Grid->SetGridLineWidth(c.LineWidth);
    Grid->SetDefaultColWidth(40);
    if (c.HiddenCol >= 0) Grid->SetColWidths(c.HiddenCol, c.HiddenWidth);
    Grid->SetRowHeights(2, 30);
    Grid->SetBiDiMode(c.RightToLeft ? bdRightToLeft : bdLeftToRight);
    Grid->SetLeftCol(c.FixedCols + 1);
    CheckGridRoundTrips(Grid, c.Label);
    // A scrolled-away column has no rectangle; the fixed ones stay.
    RECT away = Grid->CellRect(c.FixedCols, 0);
    EXPECT_TRUE(away.right <= away.left) << c.Label;
    if (c.FixedCols > 0) {
      RECT fixed = Grid->CellRect(0, 0);
      EXPECT_EQ(c.RightToLeft ? Grid->GetClientWidth() - fixed.right : fixed.left, 0) << c.Label;
    }
  }
  // Outside the cells.
  EXPECT_EQ(Grid->MouseCoord(-5, 10).X, -1);
  EXPECT_EQ(Grid->MouseCoord(10, -5).Y, -1);
}

TEST_F(GridsTest, KeysMoveTheCurrentCellAcrossFixedCellsAndEdges)
{
  struct Case {
    const char* Label;
    TGridOptions Extra;
    bool RightToLeft;
    TGridCoord Start;
    std::vector<std::pair<int, int>> Keys;  // key, key held with it
    TGridCoord Want;
  };
  const Case cases[] = {
      {"left stops at the fixed column", {}, false, {1, 3}, {{VK_LEFT, 0}, {VK_LEFT, 0}}, {1, 3}},
      {"up stops at the fixed row", {}, false, {2, 1}, {{VK_UP, 0}}, {2, 1}},
      {"right stops at the last column", {}, false, {6, 2}, {{VK_RIGHT, 0}, {VK_RIGHT, 0}}, {7, 2}},
      {"ctrl+end and ctrl+home", {}, false, {3, 3}, {{VK_END, VK_CONTROL}}, {7, 29}},
      {"ctrl+home", {}, false, {5, 9}, {{VK_HOME, VK_CONTROL}}, {1, 1}},
      {"home and end in the row", {}, false, {4, 4}, {{VK_END, 0}, {VK_HOME, 0}, {VK_RIGHT, 0}}, {2, 4}},
      {"tab without goTabs stays", {}, false, {3, 2}, {{VK_TAB, 0}}, {3, 2}},
      {"tab wraps into the next row", {goTabs}, false, {7, 2}, {{VK_TAB, 0}}, {1, 3}},
      {"shift+tab wraps into the row before", {goTabs}, false, {1, 3}, {{VK_TAB, VK_SHIFT}}, {7, 2}},
      {"row select keeps the first column", {goRowSelect}, false, {1, 2}, {{VK_RIGHT, 0}, {VK_DOWN, 0}}, {1, 3}},
      {"right to left swaps left and right", {}, true, {3, 2}, {{VK_RIGHT, 0}, {VK_RIGHT, 0}}, {1, 2}},
  };
  ShowFocused();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    Grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect} + c.Extra);
    Grid->SetBiDiMode(c.RightToLeft ? bdRightToLeft : bdLeftToRight);
    Grid->SetTopRow(1);
    Grid->SetLeftCol(1);
    Grid->SetCol(c.Start.X);
    Grid->SetRow(c.Start.Y);
    Grid->SetFocus();
    for (auto [vk, hold] : c.Keys) Key(vk, hold);
    TGridCoord got = Cur();
    EXPECT_EQ(got.X, c.Want.X);
    EXPECT_EQ(got.Y, c.Want.Y);
  }
  // Page Down moves the cell and the view by the rows shown less one.
  Grid->SetOptions(TGridOptions{goFixedVertLine, goVertLine});
  Grid->SetBiDiMode(bdLeftToRight);
  Grid->SetRow(1);
  int page = Grid->GetVisibleRowCount() - 1;
  Key(VK_NEXT);
  EXPECT_EQ(Grid->GetRow(), 1 + page);
  EXPECT_EQ(Grid->GetTopRow(), 1 + page);
  // Row select: Right scrolled the columns instead of moving the cell.
  Grid->SetOptions(TGridOptions{goFixedVertLine, goVertLine, goRowSelect});
  Grid->SetLeftCol(1);
  Key(VK_RIGHT);
  EXPECT_EQ(Grid->GetLeftCol(), 2);
  EXPECT_EQ(Grid->GetCol(), 1);
  TGridRect sel = Grid->GetSelection();
  EXPECT_EQ(sel.Right, 7);
}

TEST_F(GridsTest, RangeSelectionByShiftAndByDraggingPastTheBottom)
{
  ShowFocused();
  Grid->SetCol(2);
  Grid->SetRow(2);
  Key(VK_DOWN, VK_SHIFT);
  Key(VK_RIGHT, VK_SHIFT);
  EXPECT_EQ(Grid->GetSelection(), (TGridRect{2, 2, 3, 3}));
  Key(VK_DOWN);
  EXPECT_EQ(Grid->GetSelection(), (TGridRect{3, 4, 3, 4}));

  // Press on a cell, drag below the grid and hold: each timer tick extends by one row and
  // scrolls the new row into view.
  RECT start = Grid->CellRect(1, 3);
  Press(start.left + 5, start.top + 5);
  EXPECT_EQ(Grid->GetGridState(), gsSelecting);
  MoveTo(start.left + 5, Grid->GetClientHeight() + 20);
  int bottom = Grid->GetSelection().Bottom;
  int lastShown = Grid->GetTopRow() + Grid->GetVisibleRowCount() - 1;
  EXPECT_LE(bottom, lastShown + 1);
  for (int tick = 1; tick <= 5; ++tick) {
    Headless::AdvanceTime(60);
    Pump();
    EXPECT_EQ(Grid->TimedScrolls, tick);
    EXPECT_EQ(Grid->GetSelection().Bottom, bottom + tick);
    RECT anchorBox = Grid->CellRect(1, bottom + tick);
    EXPECT_LE(anchorBox.bottom, Grid->GetClientHeight()) << "the anchor row is in view";
  }
  Release(start.left + 5, Grid->GetClientHeight() + 20);
  EXPECT_EQ(Grid->GetGridState(), gsNormal);
  Headless::AdvanceTime(200);
  Pump();
  EXPECT_EQ(Grid->TimedScrolls, 5) << "the timer stopped with the release";
  EXPECT_EQ(Grid->GetSelection().Top, 3);
  EXPECT_EQ(Cur().Y, 3);
}

TEST_F(GridsTest, ColumnsAreSizedAtTheirEdgeAndMovedByTheirTitleRowsByTheirFixedCell)
{
  Grid->SetOptions(Grid->GetOptions() + TGridOptions{goColSizing, goColMoving, goRowMoving});
  ShowFocused();
  for (int c = 0; c < 8; ++c) Grid->SetCells(c, 1, "列" + std::to_string(c));
  Grid->WidthChanges = 0;
  RECT title = Grid->CellRect(2, 0);
  // Just past the zone nothing happens; on the edge the column follows the drag.
  Press(title.right + 5, 5);
  EXPECT_NE(Grid->GetGridState(), gsColSizing);
  Release(title.right + 5, 5);
  EXPECT_TRUE(Grid->Moves.empty());
  Press(title.right + 1, 5);
  EXPECT_EQ(Grid->GetGridState(), gsColSizing);
  MoveTo(title.right + 31, 5);
  Release(title.right + 31, 5);
  EXPECT_EQ(Grid->GetColWidths(2), 64 + 30);
  EXPECT_EQ(Grid->WidthChanges, 1);

  // Dragging the title of column 1 onto column 3 moves it there, its cells with it.
  RECT from = Grid->CellRect(1, 0), to = Grid->CellRect(3, 0);
  Press(from.left + 10, 5);
  EXPECT_EQ(Grid->GetGridState(), gsColMoving);
  MoveTo(to.left + 10, 5);
  Release(to.left + 10, 5);
  ASSERT_EQ(Grid->Moves.size(), 1u);
  EXPECT_EQ(Grid->Moves[0], std::make_pair(1, 3));
  EXPECT_EQ(Grid->GetCells(3, 1), "列1");
  EXPECT_EQ(Grid->GetCells(1, 1), "列2");
  EXPECT_EQ(Grid->GetColWidths(1), 64 + 30) << "the sized column moved left by one";

  // A row dragged by its fixed cell, down past two rows.
  Grid->SetCells(0, 2, "第二行");
  RECT rowFrom = Grid->CellRect(0, 2), rowTo = Grid->CellRect(0, 4);
  Press(rowFrom.left + 5, rowFrom.top + 5);
  EXPECT_EQ(Grid->GetGridState(), gsRowMoving);
  MoveTo(rowTo.left + 5, rowTo.top + 5);
  Release(rowTo.left + 5, rowTo.top + 5);
  ASSERT_EQ(Grid->RowMoves.size(), 1u);
  EXPECT_EQ(Grid->RowMoves[0], std::make_pair(2, 4));
  EXPECT_EQ(Grid->GetCells(0, 4), "第二行");
}

TEST_F(GridsTest, EditorOpensByF2AndTypingAndWritesOnEnter)
{
  Grid->SetOptions(Grid->GetOptions() + TGridOptions{goEditing});
  Grid->SetCells(2, 2, "甲方");
  Grid->SetCells(3, 2, "12");
  ShowFocused();
  Grid->SetCol(2);
  Grid->SetRow(2);

  // F2: the cell's text with the caret at its end; Enter writes through SetEditText.
  Key(VK_F2);
  TInplaceEdit* ed = Grid->GetInplaceEditor();
  ASSERT_NE(ed, nullptr);
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(Windows::GetFocus(), ed->GetHandle());
  EXPECT_EQ(ed->GetText(), "甲方");
  EXPECT_EQ(ed->GetSelStart(), 4);
  EXPECT_EQ(ed->GetSelLength(), 0);
  RECT cell = Grid->CellRect(2, 2);
  EXPECT_EQ(ed->GetLeft(), cell.left);
  EXPECT_EQ(ed->GetTop(), cell.top);
  InputQueue::Text("乙");
  Pump();
  Key(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_FALSE(ed->GetVisible());
  EXPECT_EQ(Grid->GetCells(2, 2), "甲方乙");
  ASSERT_FALSE(Grid->Written.empty());
  EXPECT_EQ(Grid->Written.back(), "甲方乙");
  EXPECT_EQ(Windows::GetFocus(), Grid->GetHandle());

  // Typing a Chinese character opens the editor with it as the whole text.
  InputQueue::Text("丙");
  Pump();
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(ed->GetText(), "丙");
  // Escape puts back the text the editor opened with.
  Key(VK_ESCAPE);
  EXPECT_FALSE(ed->GetVisible());
  EXPECT_EQ(Grid->GetCells(2, 2), "甲方乙");

  // The editor takes the cell's mask; the mask refuses a letter.
  Grid->Mask = "000;1;_";
  Grid->SetCol(3);
  Key(VK_F2);
  EXPECT_EQ(ed->GetEditMask(), "000;1;_");
  EXPECT_EQ(ed->GetEditText(), "12_");
  Key(VK_HOME);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  int beeps = Headless::Beeps();
  InputQueue::Text("a5");
  Pump();
  EXPECT_EQ(Headless::Beeps(), beeps + 1);
  Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(3, 2), "125");
}

TEST_F(GridsTest, AnAlwaysShownEditorMovesWithTheCurrentCell)
{
  Grid->SetOptions(Grid->GetOptions() + TGridOptions{goEditing, goAlwaysShowEditor});
  for (int r = 1; r < 4; ++r) Grid->SetCells(2, r, "第" + std::to_string(r) + "行");
  Grid->SetCol(2);
  ShowFocused();
  TInplaceEdit* ed = Grid->GetInplaceEditor();
  ASSERT_TRUE(ed && ed->GetVisible());
  EXPECT_EQ(Windows::GetFocus(), ed->GetHandle());
  EXPECT_EQ(ed->GetText(), "第1行");
  InputQueue::Text("改");
  Pump();
  // Down goes to the grid: the text is written and the editor shows the next cell.
  Key(VK_DOWN);
  EXPECT_EQ(Grid->GetCells(2, 1), "改");
  EXPECT_EQ(Grid->GetRow(), 2);
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(ed->GetText(), "第2行");
  // Left inside the text stays in the editor; at the text's start it moves the cell.
  Key(VK_END);
  EXPECT_EQ(Grid->GetCol(), 7) << "with the whole text selected End moves the cell";
  Grid->SetCol(2);
  Key(VK_F2);
  Key(VK_LEFT);
  EXPECT_EQ(Grid->GetCol(), 2);
  Key(VK_HOME);
  Key(VK_LEFT);
  EXPECT_EQ(Grid->GetCol(), 1);
  // Escape restores and keeps the editor.
  Key(VK_RIGHT, VK_CONTROL);
  EXPECT_EQ(Grid->GetCol(), 1 + Grid->GetVisibleColCount() - 1);
  Grid->SetCol(2);
  InputQueue::Text("删");
  Pump();
  Key(VK_ESCAPE);
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(ed->GetText(), "第2行");
  EXPECT_EQ(Grid->GetCells(2, 2), "第2行");
}

TEST_F(GridsTest, EditorFollowsItsCellWhenTheGridScrolls)
{
  Grid->SetOptions(Grid->GetOptions() + TGridOptions{goEditing});
  ShowFocused();
  Grid->SetCol(2);
  Grid->SetRow(6);
  Key(VK_F2);
  TInplaceEdit* ed = Grid->GetInplaceEditor();
  ASSERT_TRUE(ed && ed->GetVisible());
  Grid->SetTopRow(3);
  RECT cell = Grid->CellRect(2, 6);
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(ed->GetTop(), cell.top);
  // Scrolled out of view the editor hides; back in view it shows again at the cell.
  Grid->SetTopRow(10);
  EXPECT_FALSE(ed->GetVisible());
  Grid->SetTopRow(5);
  EXPECT_TRUE(ed->GetVisible());
  EXPECT_EQ(ed->GetTop(), Grid->CellRect(2, 6).top);
}

TEST_F(GridsTest, ScrollBarsStepByCellAndTellTopLeftChanged)
{
  ShowFocused();
  HWND h = Grid->GetHandle();
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(Windows::GetScrollInfo(h, SB_VERT, &si));
  int page = Grid->GetVisibleRowCount();
  EXPECT_EQ(int(si.nPage), page);
  EXPECT_EQ(si.nMax - int(si.nPage) + 1, 29 - (page - 1) - 1) << "the last position shows the last row";
  Grid->TopLeftChanges = 0;
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  EXPECT_EQ(Grid->TopLeftChanges, 1);
  EXPECT_EQ(Windows::GetScrollPos(h, SB_VERT), 1);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
  EXPECT_EQ(Grid->GetTopRow(), 2) << "no thumb tracking by default";
  Grid->SetOptions(Grid->GetOptions() + TGridOptions{goThumbTracking});
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
  EXPECT_EQ(Grid->GetTopRow(), 8);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
  EXPECT_EQ(Grid->GetTopRow() + page - 1, 29);
  EXPECT_EQ(Grid->TopLeftChanges, 3);
  // Keys scroll too: Ctrl+End shows the last column, Ctrl+Home the first cells.
  Key(VK_END, VK_CONTROL);
  EXPECT_EQ(Grid->TopLeftChanges, 4);
  Key(VK_HOME, VK_CONTROL);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  EXPECT_EQ(Grid->GetLeftCol(), 1);
  EXPECT_EQ(Grid->TopLeftChanges, 5);
}

TEST_F(GridsTest, WithoutDefaultDrawingEveryCellIsLeftToDrawCell)
{
  Grid->SetCells(2, 2, "合同");
  Grid->SetSelection(TGridRect{1, 1, 3, 3});
  Grid->SetDefaultDrawing(false);
  ShowFocused();
  Grid->Drawn.clear();
  Grid->Invalidate();
  Grid->Update();
  std::set<std::pair<int, int>> shown;
  for (int r = 0; r < Grid->GetRowCount(); ++r)
    for (int c = 0; c < Grid->GetColCount(); ++c) {
      RECT box = Grid->CellRect(c, r);
      if (box.right > box.left && box.bottom > box.top) shown.insert({c, r});
    }
  EXPECT_EQ(Grid->Drawn, shown);
  // Nothing filled the selected cells: the highlight is absent.
  RECT sel = Grid->CellRect(2, 1);
  EXPECT_NE(PixelOf(Grid, sel.left + 3, sel.top + 3), Graphics::ColorToRGB(clHighlight));
  Grid->SetDefaultDrawing(true);
  Grid->Update();
  EXPECT_EQ(PixelOf(Grid, sel.left + 3, sel.top + 3), Graphics::ColorToRGB(clHighlight));
}

TEST_F(GridsTest, AMillionDefaultRowsKeepNoSizesAndMovesCarrySizes)
{
  Grid->SetRowCount(1000000);
  ShowFocused();
  EXPECT_EQ(Grid->SizedRowCount(), 0);
  Key(VK_END, VK_CONTROL);
  EXPECT_EQ(Grid->GetRow(), 999999);
  EXPECT_EQ(Grid->GetTopRow() + Grid->GetVisibleRowCount() - 1, 999999);
  Grid->SetRowHeights(500000, 40);
  Grid->SetRowHeights(500001, 24);  // the default: nothing kept
  EXPECT_EQ(Grid->SizedRowCount(), 1);
  Grid->MoveRow(500000, 2);
  EXPECT_EQ(Grid->GetRowHeights(2), 40);
  EXPECT_EQ(Grid->GetRowHeights(500000), 24);
  Grid->SetRowCount(10);
  EXPECT_EQ(Grid->SizedRowCount(), 1);
  EXPECT_EQ(Grid->GetRow(), 9);
  EXPECT_THROW(Grid->SetRowHeights(10, 5), EGridException);
  EXPECT_THROW(Grid->SetFixedRows(10), EGridException);
}

TEST_F(GridsTest, StringGridCellsColumnsAndRows)
{
  TObject tag;
  EXPECT_THROW(Grid->GetCells(8, 0), EGridException);
  EXPECT_THROW(Grid->SetCells(0, -1, "x"), EGridException);
  TStrings* col = Grid->GetCols(2);
  EXPECT_EQ(col->GetCount(), 30);
  col->SetStrings(4, "付款");
  col->SetObjects(4, &tag);
  EXPECT_EQ(Grid->GetCells(2, 4), "付款");
  EXPECT_EQ(Grid->GetObjects(2, 4), &tag);
  EXPECT_EQ(Grid->GetRows(4)->GetStrings(2), "付款");
  TStringList lines;
  lines.SetCommaText("编号,名称,金额");
  Grid->SetRows(0, &lines);
  EXPECT_EQ(Grid->GetCells(1, 0), "名称");
  EXPECT_EQ(Grid->GetCells(3, 0), "");
  EXPECT_EQ(Grid->GetRows(0)->Add("日期"), 3);
  EXPECT_THROW(Grid->GetRows(0)->Insert(0, "x"), EGridException);
  // Moving a row takes its cells; shrinking the grid drops the cells cut off.
  Grid->MoveRow(0, 5);
  EXPECT_EQ(Grid->GetCells(1, 5), "名称");
  EXPECT_EQ(Grid->GetCells(2, 3), "付款");
  Grid->SetColCount(2);
  EXPECT_EQ(Grid->FilledCellCount(), 2);
  EXPECT_EQ(Grid->GetRows(5)->GetCommaText(), "编号,名称");
}

TEST_F(GridsTest, AStoredFormBringsItsStringGridBack)
{
  // As the column dialogs keep theirs: two columns, the first fixed, no fixed rows.
  auto* stored = new TStringGrid(Form);
  stored->SetName("StringGrid1");
  stored->SetParent(Form);
  stored->SetRowCount(12);
  stored->SetColCount(2);
  stored->SetFixedRows(0);
  stored->SetDefaultColWidth(120);
  stored->SetDefaultRowHeight(22);
  stored->SetOptions(TGridOptions{goFixedVertLine, goVertLine, goHorzLine, goColSizing, goRowMoving});
  TMemoryStream s;
  Classes::WriteComponent(&s, Form);
  s.SetPosition(0);
  auto* copy = new TForm(Owner.get());
  Classes::ReadComponent(&s, copy);
  auto* read = dynamic_cast<TStringGrid*>(copy->FindComponent("StringGrid1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetColCount(), 2);
  EXPECT_EQ(read->GetRowCount(), 12);
  EXPECT_EQ(read->GetFixedCols(), 1);
  EXPECT_EQ(read->GetFixedRows(), 0);
  EXPECT_EQ(read->GetDefaultColWidth(), 120);
  EXPECT_EQ(read->GetDefaultRowHeight(), 22);
  EXPECT_EQ(read->GetOptions(), stored->GetOptions());
}

TEST_F(GridsTest, DrawGridEventsDrawCellsAndRefuseThem)
{
  auto* draw = new TDrawGrid(Owner.get());
  draw->SetParent(Form);
  draw->SetBounds(10, 10, 300, 200);
  std::vector<std::pair<int, int>> drawn;
  bool rectsMatch = true;
  draw->OnDrawCell = [&](TObject*, int ACol, int ARow, RECT Rect, TGridDrawState) {
    drawn.push_back({ACol, ARow});
    RECT want = draw->CellRect(ACol, ARow);
    // A cell partly shown is drawn whole; the client clips it.
    rectsMatch = rectsMatch && Rect.left == want.left && Rect.top == want.top && Rect.right >= want.right;
  };
  draw->OnSelectCell = [](TObject*, int ACol, int, bool& CanSelect) { CanSelect = ACol != 3; };
  int topLeftChanges = 0;
  draw->OnTopLeftChanged = [&](TObject*) { ++topLeftChanges; };
  Form->Show();
  draw->SetFocus();
  Pump();
  EXPECT_FALSE(drawn.empty());
  EXPECT_TRUE(rectsMatch);
  draw->SetCol(2);
  Key(VK_RIGHT);
  EXPECT_EQ(draw->GetCol(), 2) << "column 3 refuses to become current";
  draw->SetCol(4);
  EXPECT_EQ(draw->GetCol(), 4);
  EXPECT_EQ(topLeftChanges, 1) << "column 4 scrolled into view";
  draw->SetTopRow(2);
  EXPECT_EQ(topLeftChanges, 2);
  EXPECT_THROW(draw->SetTopRow(5), EGridException);
}
