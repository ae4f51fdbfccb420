// Icon lists on a headless form: rows that wrap at the width, hit testing on icon and caption,
// selection by mouse and keys with its events, scrolling.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/ListView.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/scroll/ScrollBars.h"

namespace {

class ListViewsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(600, 400);
    Images = new TImageList(Owner.get());
    Images->SetWidth(32);
    Images->SetHeight(32);
    View = new TListView(Owner.get());
    View->SetParent(Form);
    View->SetBounds(10, 10, 400, 300);
    View->SetLargeImages(Images);
    View->OnSelectItem = [this](TObject*, TListItem* Item, bool Selected) {
      Log.push_back(std::string(Selected ? "+" : "-") + std::string(Item->GetCaption()));
    };
  }
  void AddItems(int Count)
  {
    View->GetItems()->BeginUpdate();
    for (int i = 0; i < Count; ++i) {
      TListItem* item = View->GetItems()->Add();
      item->SetCaption("项目" + std::to_string(i));
      item->SetImageIndex(i % 3);
    }
    View->GetItems()->EndUpdate();
  }
  void Click(POINT Client, bool Double = false)
  {
    ClickClient(View, Client, Double ? 2 : 1);
    Pump();
  }
  void Key(int Vk)
  {
    InputQueue::KeyDown(Vk);
    InputQueue::KeyUp(Vk);
    Pump();
  }
  static POINT IconCentre(TListItem* Item)
  {
    RECT r = Item->DisplayRect();
    return POINT{(r.left + r.right) / 2, r.top + 18};
  }
  TForm* Form = nullptr;
  TImageList* Images = nullptr;
  TListView* View = nullptr;
  std::vector<std::string> Log;
};

}  // namespace

TEST_F(ListViewsTest, RowsWrapAtTheWidthInsideTheBorderWidth)
{
  AddItems(7);
  Form->Show();
  struct Case {
    int width, borderWidth;
    int columns;
  };
  // The cells are 75 pixels wide: as many as fit in the client width less the margins.
  const Case cases[] = {{400, 0, 5}, {400, 5, 5}, {160, 5, 2}, {80, 5, 1}, {30, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.width) + ", border width " + std::to_string(c.borderWidth));
    View->SetBorderStyle(bsNone);
    View->SetWidth(c.width);
    View->SetBorderWidth(c.borderWidth);
    EXPECT_EQ(View->GetColumnCount(), c.columns);
    SIZE cell = View->GetCellSize();
    for (int i = 0; i < 7; ++i) {
      RECT r = View->GetItems()->GetItem(i)->DisplayRect();
      EXPECT_EQ(r.left, c.borderWidth + (i % c.columns) * cell.cx) << i;
      EXPECT_EQ(r.top, c.borderWidth + (i / c.columns) * cell.cy - View->GetScrollTop()) << i;
    }
  }
}

TEST_F(ListViewsTest, HitTestingFindsIconAndCaptionOnly)
{
  AddItems(3);
  Form->Show();
  TListItem* second = View->GetItems()->GetItem(1);
  RECT cell = second->DisplayRect();
  int mid = (cell.left + cell.right) / 2;
  struct Case {
    const char* where;
    POINT at;
    TListItem* expected;
  };
  const Case cases[] = {
      {"icon", {mid, cell.top + 10}, second},
      {"caption", {mid, cell.top + 44}, second},
      {"beside the icon", {cell.left + 2, cell.top + 10}, nullptr},
      {"below the caption", {mid, cell.bottom - 1}, nullptr},
      {"after the last item", {mid + 2 * (cell.right - cell.left), cell.top + 10}, nullptr},
      {"outside on the left", {-5, cell.top + 10}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    EXPECT_EQ(View->GetItemAt(c.at.x, c.at.y), c.expected);
  }
}

TEST_F(ListViewsTest, SelectionByMouseAndKeysTellsLoserThenWinner)
{
  AddItems(12);
  View->SetWidth(265);  // three per row beside the scroll bar
  Form->Show();
  std::vector<std::string> clicks;
  View->OnClick = [&](TObject*) { clicks.push_back("click " + std::to_string(View->GetItemIndex())); };
  View->OnDblClick = [&](TObject*) { clicks.push_back("double " + std::to_string(View->GetItemIndex())); };
  TListItems* items = View->GetItems();
  // Data is the caller's pointer, whatever its width.
  void* wide = reinterpret_cast<void*>(std::uintptr_t(0xFEDCBA987654ull));
  items->GetItem(4)->SetData(wide);

  Click(IconCentre(items->GetItem(4)));
  EXPECT_EQ(View->GetSelected()->GetData(), wide);
  Click(IconCentre(items->GetItem(5)), true);
  struct Step {
    int key;
    int index;
  };
  const Step steps[] = {{VK_DOWN, 8},  {VK_LEFT, 7}, {VK_UP, 4},   {VK_END, 11},
                        {VK_DOWN, 11}, {VK_HOME, 0}, {VK_LEFT, 0}, {VK_RIGHT, 1}};
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(View->GetItemIndex(), s.index) << "key " << s.key;
  }
  RECT last = items->GetItem(2)->DisplayRect();
  Click(POINT{last.right + 20, last.top + 10});  // the empty area
  EXPECT_EQ(View->GetSelected(), nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"+项目4", "-项目4", "+项目5", "-项目5", "+项目8", "-项目8", "+项目7",
                                           "-项目7", "+项目4", "-项目4", "+项目11", "-项目11", "+项目0", "-项目0",
                                           "+项目1", "-项目1"}));
  EXPECT_EQ(clicks, (std::vector<std::string>{"click 4", "click 5", "double 5", "click -1"}));

  // By the program: the same events; deleting the selected item deselects it first.
  Log.clear();
  View->SetItemIndex(3);
  items->Delete(3);
  View->SetItemIndex(99);
  EXPECT_EQ(Log, (std::vector<std::string>{"+项目3", "-项目3"}));
  EXPECT_EQ(items->GetCount(), 11);
  EXPECT_THROW(items->Delete(11), EListError);
  EXPECT_THROW(View->SetViewStyle(vsReport), EInvalidOperation);
}

TEST_F(ListViewsTest, ScrollsToKeepTheSelectionInView)
{
  AddItems(40);  // five per row, eight rows: more than the height shows
  Form->Show();
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  Windows::GetScrollInfo(View->GetHandle(), SB_VERT, &si);
  int cellH = View->GetCellSize().cy;
  EXPECT_EQ(si.nMax + 1, View->GetCellSize().cy * ((40 + View->GetColumnCount() - 1) / View->GetColumnCount()));
  EXPECT_EQ(int(si.nPage), View->GetClientHeight());

  View->SetFocus();
  Key(VK_END);
  RECT last = View->GetSelected()->DisplayRect();
  EXPECT_GT(View->GetScrollTop(), 0);
  EXPECT_LE(last.bottom, View->GetClientHeight());
  EXPECT_GE(last.top, 0);
  EXPECT_EQ(View->GetItemAt(IconCentre(View->GetSelected()).x, IconCentre(View->GetSelected()).y), View->GetSelected());
  Key(VK_HOME);
  EXPECT_EQ(View->GetScrollTop(), 0);

  // The wheel scrolls a row a notch; the scroll bar's messages move likewise.
  POINT p = View->ClientToScreen(POINT{50, 50});
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseWheel(-120, p.x, p.y);
  Pump();
  EXPECT_EQ(View->GetScrollTop(), cellH);
  View->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(View->GetScrollTop(), si.nMax + 1 - int(si.nPage));
  View->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(View->GetScrollTop(), si.nMax + 1 - int(si.nPage)) << "never past the end";
  // Fewer items: the position comes back into range.
  View->GetItems()->Clear();
  EXPECT_EQ(View->GetScrollTop(), 0);
}
