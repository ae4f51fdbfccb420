// The list box editor on a headless desktop: its first look, integral height, messages through
// the container, and a data binding that selects, stores and refuses changes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/editors/tests/EditorWindowTest.h"
#include "controls/editors/listbox/cxListBox.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/FormatText.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

// A value source for the list: a held value, a modification switch and counters.
class TListTestBinding : public TcxCustomDataBinding {
public:
  using TcxCustomDataBinding::TcxCustomDataBinding;
  void GetStoredValue(int, bool, Variant& AValue) override { AValue = Value; }
  void SetStoredValue(int, const Variant& AValue) override { Stored.push_back(Variants::VarToStr(AValue)); }
  bool CanModify() override { return Modifiable; }
  void Reset() override { ++Resets; }
  void UpdateDataSource() override
  {
    ++Writes;
    DoUpdateData();
  }
  Variant Value = Variant::Null();
  bool Modifiable = true;
  int Resets = 0, Writes = 0;
  std::vector<AnsiString> Stored;
};

class TBoundListBox : public TcxListBox {
public:
  using TcxListBox::TcxListBox;
  TListTestBinding* Binding() { return static_cast<TListTestBinding*>(GetDataBinding()); }

protected:
  std::unique_ptr<TcxCustomDataBinding> CreateDataBinding() override
  {
    return std::make_unique<TListTestBinding>(this, this);
  }
};

struct ListBoxTest : cxEditorWindowTest {
  TBoundListBox* Box = nullptr;
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    Box = new TBoundListBox(Form);
    Box->SetParent(Form);
    Box->SetLeft(10);
    Box->SetTop(10);
    Pump();
  }
  void Fill(int Count, const char* Prefix = "line ")
  {
    TStringList lines;
    for (int i = 0; i < Count; ++i) lines.Add(Prefix + SysUtils::IntToStr(i));
    Box->SetItems(&lines);
    Pump();
  }
  int Frame()
  {
    RECT r = Box->GetInnerListBox()->GetBoundsRect();
    return Box->GetHeight() - (r.bottom - r.top);
  }
};

}  // namespace

TEST_F(ListBoxTest, ANewListBoxHasItsSizeABorderAndNoSelection)
{
  EXPECT_EQ(Box->GetWidth(), 121);
  EXPECT_EQ(Box->GetHeight(), 97);
  EXPECT_GT(Frame(), 0);
  EXPECT_EQ(Box->GetItemIndex(), -1);
  EXPECT_FALSE(Box->GetInnerListBox()->GetVScrollBar()->GetVisible());
  EXPECT_FALSE(Box->GetInnerListBox()->GetHScrollBar()->GetVisible());
  EXPECT_FALSE(Box->GetInnerListBox()->GetTabStop());
}

TEST_F(ListBoxTest, ListMessagesToTheContainerReachTheInnerList)
{
  Fill(7);
  EXPECT_EQ(Windows::SendMessage(Box->GetHandle(), LB_GETCOUNT, 0, 0), 7);
  Windows::SendMessage(Box->GetHandle(), LB_SETCURSEL, 3, 0);
  EXPECT_EQ(Box->GetItemIndex(), 3);
  EXPECT_EQ(Windows::SendMessage(Box->GetHandle(), LB_GETCURSEL, 0, 0), 3);
  // Many lines: the painted bar shows.
  Fill(40);
  EXPECT_TRUE(Box->GetInnerListBox()->GetVScrollBar()->GetVisible());
  const RECT first = Box->GetInnerListBox()->ItemRect(0);
  EXPECT_EQ(Box->GetItemAtPoint(POINT{first.left + 5 + Box->GetInnerListBox()->GetLeft(),
                                      first.top + 2 + Box->GetInnerListBox()->GetTop()}),
            Box->GetInnerListBox()->GetTopIndex());
}

TEST_F(ListBoxTest, IntegralHeightSnapsToWholeRows)
{
  Fill(30);
  const int row = Box->GetRowHeight(0), frame = Frame();
  ASSERT_GT(row, 4);
  Box->SetIntegralHeight(true);
  struct {
    int Wanted, Rows;
  } const cases[] = {
      {frame + 5 * row, 5}, {frame + 5 * row + row / 2, 5}, {frame + 6 * row - 1, 5}, {frame + 6 * row, 6},
      {frame + 2, 1},
  };
  for (const auto& k : cases) {
    Box->SetHeight(k.Wanted);
    Pump();
    EXPECT_EQ(Box->GetHeight(), frame + k.Rows * row) << k.Wanted;
  }
  // Off again: any height stays.
  Box->SetIntegralHeight(false);
  Box->SetHeight(frame + 5 * row + 3);
  EXPECT_EQ(Box->GetHeight(), frame + 5 * row + 3);
}

TEST_F(ListBoxTest, IntegralHeightEndsWithRowsOfNoHeight)
{
  Fill(3);
  Box->SetListStyle(lbOwnerDrawVariable);
  Box->SetOnMeasureItem([](TcxListBox*, int, int& Height) { Height = 0; });
  Box->SetItemHeight(0);
  // Each measured row counts as one pixel: the fit ends at the wanted height.
  const int border = Frame();
  EXPECT_EQ(Box->IntegralHeightFor(121, border + 2), border + 2);
  Box->SetOnMeasureItem(nullptr);
  Box->SetListStyle(lbOwnerDrawFixed);
  Box->SetItemHeight(10);
  const int frame = Frame();
  EXPECT_EQ(Box->IntegralHeightFor(121, frame + 35), frame + 30);
}

TEST_F(ListBoxTest, TheBoundValueSelectsItsTextAndTheSelectionIsStored)
{
  Box->Binding()->Value = Variant(AnsiString("合同 2"));
  Fill(5, "合同 ");
  EXPECT_EQ(Box->GetItemIndex(), 2);
  Box->Binding()->Value = Variant(AnsiString("none"));
  Fill(5, "合同 ");  // assigning lines selects again: no line of that text
  EXPECT_EQ(Box->GetItemIndex(), -1);
  // Leaving the list writes the selected text back; nothing selected writes an empty text.
  Box->SetFocus();
  Pump();
  Click(Box, 20, 5);
  ASSERT_EQ(Box->GetItemIndex(), 0);
  auto* other = new TBoundListBox(Form);
  other->SetParent(Form);
  other->SetTop(150);
  Pump();
  other->SetFocus();
  Pump();
  EXPECT_EQ(Box->Binding()->Writes, 1);
  ASSERT_EQ(Box->Binding()->Stored.size(), 1u);
  EXPECT_EQ(Box->Binding()->Stored[0], "合同 0");
}

TEST_F(ListBoxTest, ReadOnlyBindingKeepsTheSelectionFromClicksAndKeys)
{
  Fill(10);
  Box->SetItemIndex(2);
  Box->Binding()->Modifiable = false;
  int clicks = 0, downs = 0;
  Box->OnClick = [&clicks](TObject*) { ++clicks; };
  Box->OnMouseDown = [&downs](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  const RECT r = Box->GetInnerListBox()->ItemRect(5);
  Click(Box->GetInnerListBox(), r.left + 5, r.top + 2);
  EXPECT_TRUE(Box->Focused());
  EXPECT_EQ(Box->GetItemIndex(), 2);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(downs, 1);
  for (int key : {VK_DOWN, VK_UP, VK_NEXT, VK_HOME}) Key(key);
  InputQueue::Text("l");
  Pump();
  EXPECT_EQ(Box->GetItemIndex(), 2);
  Key(VK_ESCAPE);
  EXPECT_EQ(Box->Binding()->Resets, 1);
  // Allowed again: keys move.
  Box->Binding()->Modifiable = true;
  Key(VK_DOWN);
  EXPECT_EQ(Box->GetItemIndex(), 3);
}
