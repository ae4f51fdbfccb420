// A picture of string grids: fixed cells with titles, a selected range, the focused cell, the
// open editor with Chinese typed into it, and a column being sized right to left (the sizing
// line); the checks look at a few points.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/grids/DrawGrid.h"
#include "platform/stdctrls/grids/InplaceEdit.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

TEST_F(FormsTest, PictureOfGridsInTheirStates)
{
  StdCtrls::Initialize();
  TForm* form = MakeForm(760, 300);
  form->SetCaption("表格");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  const char* titles[] = {"", "编号", "合同名称", "金额", "签订日期"};
  auto grid = [&](int x) {
    auto* g = new TStringGrid(Owner.get());
    g->SetParent(form);
    g->SetBounds(x, 10, 240, 250);
    g->SetDefaultColWidth(70);
    g->SetDefaultRowHeight(20);
    g->SetColWidths(0, 24);
    g->SetRowCount(20);
    for (int c = 1; c < 5; ++c) g->SetCells(c, 0, titles[c]);
    for (int r = 1; r < 20; ++r) {
      g->SetCells(0, r, std::to_string(r));
      g->SetCells(1, r, "HT-" + std::to_string(1000 + r));
      g->SetCells(2, r, r % 2 ? "采购合同" : "服务合同");
      g->SetCells(3, r, std::to_string(r * 1250) + ".00");
    }
    return g;
  };
  TStringGrid* selected = grid(10);
  selected->SetSelection(TGridRect{1, 2, 2, 4});
  TStringGrid* editing = grid(260);
  editing->SetOptions(editing->GetOptions() + TGridOptions{goEditing, goColSizing});
  TStringGrid* sizing = grid(510);
  sizing->SetOptions(sizing->GetOptions() + TGridOptions{goColSizing});
  sizing->SetBiDiMode(bdRightToLeft);
  form->Show();

  // A column edge of the mirrored grid held and dragged: the sizing line stands at the mouse.
  RECT title = sizing->CellRect(2, 0);
  POINT edge = sizing->ClientToScreen(POINT{title.left, 8});
  Headless::AdvanceTime(1000);
  InputQueue::MouseMove(edge.x, edge.y);
  InputQueue::MouseDown(InputQueue::Button::Left, edge.x, edge.y);
  InputQueue::MouseMove(edge.x - 25, edge.y);
  Pump();
  EXPECT_EQ(sizing->GetGridState(), gsColSizing);
  SaveFormPicture(form, "grids.png");

  RECT sel = selected->CellRect(2, 3);
  EXPECT_EQ(PixelOf(selected, sel.left + 40, sel.top + 2), Graphics::ColorToRGB(clHighlight));
  RECT fixed = selected->CellRect(0, 5);
  EXPECT_EQ(PixelOf(selected, fixed.left + 3, fixed.bottom - 4), Graphics::ColorToRGB(clBtnFace));
  EXPECT_NE(PixelOf(sizing, title.left - 25, 120), PixelOf(sizing, title.left - 20, 120)) << "the sizing line";
  RECT first = sizing->CellRect(1, 1);
  EXPECT_GT(first.left, sizing->CellRect(2, 1).left) << "columns run right to left";

  InputQueue::MouseUp(InputQueue::Button::Left, edge.x - 25, edge.y);
  Pump();
  EXPECT_EQ(sizing->GetColWidths(2), 70 + 25);

  // Chinese typed into a cell opens its editor.
  editing->SetFocus();
  editing->SetCol(2);
  editing->SetRow(3);
  InputQueue::Text("租赁合同");
  Pump();
  ASSERT_TRUE(editing->GetInplaceEditor() && editing->GetInplaceEditor()->GetVisible());
  EXPECT_EQ(editing->GetInplaceEditor()->GetText(), "租赁合同");

  // A column sized while the editor keeps the focus.
  RECT amount = editing->CellRect(2, 0);
  POINT edge2 = editing->ClientToScreen(POINT{amount.right, 8});
  Headless::AdvanceTime(1000);
  InputQueue::MouseMove(edge2.x, edge2.y);
  InputQueue::MouseDown(InputQueue::Button::Left, edge2.x, edge2.y);
  InputQueue::MouseMove(edge2.x + 30, edge2.y);
  Pump();
  EXPECT_EQ(editing->GetGridState(), gsColSizing);
  EXPECT_TRUE(editing->GetInplaceEditor()->Focused());
  SaveFormPicture(form, "grids_editing.png");
  InputQueue::MouseUp(InputQueue::Button::Left, edge2.x + 30, edge2.y);
  Pump();
  EXPECT_EQ(editing->GetColWidths(2), 70 + 30);
}
