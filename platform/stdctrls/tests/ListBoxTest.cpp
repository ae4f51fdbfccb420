// List boxes on a headless form: lines kept across windows, multi-selection by mouse and keys,
// the virtual styles answered by OnData.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

namespace {

class ListBoxesTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    List = new TListBox(Owner.get());
    List->SetParent(Form);
    List->SetBounds(10, 10, 200, 200);
  }
  // Clicks line Index (holding Shift or Ctrl when asked).
  void ClickLine(int Index, int HoldKey = 0)
  {
    RECT r = List->ItemRect(Index);
    POINT p = List->ClientToScreen(POINT{r.left + 5, (r.top + r.bottom) / 2});
    Headless::AdvanceTime(1000);
    if (HoldKey) InputQueue::KeyDown(HoldKey);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    if (HoldKey) InputQueue::KeyUp(HoldKey);
    Pump();
  }
  std::vector<int> SelectedLines()
  {
    std::vector<int> out;
    for (int i = 0; i < List->GetCount(); ++i)
      if (List->GetSelected(i)) out.push_back(i);
    return out;
  }
  TForm* Form = nullptr;
  TListBox* List = nullptr;
};

}  // namespace

TEST_F(ListBoxesTest, LinesAndObjectsLiveBeforeAndAcrossWindows)
{
  TObject marker;
  TStrings* items = List->GetItems();
  items->Add("合同");
  items->AddObject("客户", &marker);
  items->Insert(0, "部门");
  List->SetItemIndex(2);
  EXPECT_FALSE(List->HandleAllocated());
  Form->Show();
  ASSERT_TRUE(List->HandleAllocated());
  EXPECT_EQ(items->GetCommaText(), "部门,合同,客户");
  EXPECT_EQ(items->GetObjects(2), &marker);
  EXPECT_EQ(List->GetItemIndex(), 2);
  // Sorting makes a new window: the lines, their objects and the selected line stay.
  List->SetSorted(true);
  EXPECT_EQ(items->GetCommaText(), "部门,合同,客户");  // CP936 order is pinyin order
  EXPECT_EQ(items->GetObjects(items->IndexOf("客户")), &marker);
  List->SetItemIndex(items->IndexOf("合同"));
  List->SetMultiSelect(true);
  EXPECT_EQ(List->GetItemIndex(), items->IndexOf("合同"));
  EXPECT_THROW(items->GetStrings(3), EStringListError);
  EXPECT_THROW(List->SetCount(5), EInvalidOperation);
}

TEST_F(ListBoxesTest, MultiSelectionByMouseAndKeys)
{
  for (int i = 0; i < 8; ++i) List->GetItems()->Add("第" + std::to_string(i) + "项");
  List->SetMultiSelect(true);
  Form->Show();
  int clicks = 0;
  List->OnClick = [&](TObject*) { ++clicks; };
  struct Step {
    const char* What;
    int Line;
    int Hold;
    std::vector<int> Selected;
  } extended[] = {
      {"a click selects one line", 1, 0, {1}},
      {"Shift extends from the anchor", 4, VK_SHIFT, {1, 2, 3, 4}},
      {"Ctrl toggles one line", 2, VK_CONTROL, {1, 3, 4}},
      {"a plain click starts again", 6, 0, {6}},
  };
  for (const Step& s : extended) {
    ClickLine(s.Line, s.Hold);
    EXPECT_EQ(SelectedLines(), s.Selected) << s.What;
    EXPECT_EQ(List->GetItemIndex(), s.Line) << s.What;
  }
  EXPECT_GE(clicks, 4);
  EXPECT_EQ(List->GetSelCount(), 1);
  List->SelectAll();
  EXPECT_EQ(List->GetSelCount(), 8);
  List->ClearSelection();
  EXPECT_EQ(List->GetSelCount(), 0);
  // A new window keeps the selection; without ExtendedSelect each click toggles its line.
  ClickLine(6);
  List->SetSelected(2, true);
  List->SetExtendedSelect(false);
  EXPECT_EQ(SelectedLines(), (std::vector<int>{2, 6}));
  List->ClearSelection();
  ClickLine(0);
  ClickLine(5);
  ClickLine(0);
  EXPECT_EQ(SelectedLines(), std::vector<int>{5});
  List->SetSelected(7, true);
  EXPECT_EQ(SelectedLines(), (std::vector<int>{5, 7}));
  List->DeleteSelected();
  EXPECT_EQ(List->GetCount(), 6);
  EXPECT_THROW(List->GetSelected(6), EListError);
}

TEST_F(ListBoxesTest, VirtualLinesComeFromOnData)
{
  int asked = 0;
  List->SetStyle(lbVirtual);
  List->OnData = [&](TObject*, int Index, AnsiString& Data) {
    ++asked;
    Data = "合同 " + std::to_string(Index);
  };
  List->OnDataFind = [](TObject*, const AnsiString& S) { return S == "合同 77" ? 77 : -1; };
  List->SetCount(100000);
  Form->Show();
  Form->Update();
  // Painting asks for the shown lines only.
  EXPECT_GT(asked, 0);
  EXPECT_LT(asked, 40);
  EXPECT_EQ(List->GetCount(), 100000);
  EXPECT_EQ(List->GetItems()->GetCount(), 100000);
  EXPECT_EQ(List->GetItems()->GetStrings(99999), "合同 99999");
  EXPECT_EQ(List->GetItems()->IndexOf("合同 77"), 77);
  EXPECT_THROW(List->GetItems()->Add("x"), EInvalidOperation);
  // The mouse and the keys reach virtual lines as any others.
  ClickLine(3);
  EXPECT_EQ(List->GetItemIndex(), 3);
  InputQueue::KeyDown(VK_END);
  InputQueue::KeyUp(VK_END);
  Pump();
  EXPECT_EQ(List->GetItemIndex(), 99999);
  EXPECT_GT(List->GetTopIndex(), 99900);
  RECT last = List->ItemRect(99999);
  EXPECT_EQ(List->ItemAtPos(POINT{last.left + 2, last.top + 2}, true), 99999);
  EXPECT_EQ(List->ItemAtPos(POINT{-1, 0}, true), -1);
}

TEST_F(ListBoxesTest, OwnerDrawnLinesAskTheirHeightsAndDrawing)
{
  List->SetStyle(lbOwnerDrawVariable);
  std::vector<int> drawn;
  List->OnMeasureItem = [](TObject*, int Index, int& Height) { Height = 20 + Index * 5; };
  List->OnDrawItem = [&](TObject*, int Index, RECT, TOwnerDrawState) { drawn.push_back(Index); };
  for (const char* s : {"甲", "乙", "丙"}) List->GetItems()->Add(s);
  Form->Show();
  Form->Update();
  EXPECT_EQ(List->ItemRect(0).bottom - List->ItemRect(0).top, 20);
  EXPECT_EQ(List->ItemRect(2).bottom - List->ItemRect(2).top, 30);
  EXPECT_EQ(List->ItemAtPos(POINT{5, 20 + 25 + 3}, true), 2);
  std::sort(drawn.begin(), drawn.end());
  drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
}
