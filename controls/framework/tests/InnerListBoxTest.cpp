// The inner list box of a container: painted bars over the native ones, thumb tracking past
// 65,535 lines, the corner, key routing and dragging the container from a multi-select list.
#include <gtest/gtest.h>

#include <vector>

#include "controls/framework/cxInnerListBox.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/rtl/FormatText.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

class TListContainer : public TcxContainer {
public:
  explicit TListContainer(TComponent* AOwner) : TcxContainer(AOwner)
  {
    List = new TcxCustomInnerListBox(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
  TcxCustomInnerListBox* List;
};

struct InnerListBoxTest : cxWindowTest {
  TListContainer* Box = nullptr;
  void SetUp() override
  {
    cxWindowTest::SetUp();
    Box = new TListContainer(Form);
    Box->SetParent(Form);
    Box->SetBounds(20, 20, 200, 150);
    Pump();
  }
  void Fill(int Count)
  {
    TStrings* items = Box->List->GetItems();
    items->BeginUpdate();
    for (int i = 0; i < Count; ++i) items->Add("line " + SysUtils::IntToStr(i));
    items->EndUpdate();
    Pump();
  }
  // The native bar's screen rectangle in the container's coordinates.
  RECT NativeBar(LONG Object)
  {
    SCROLLBARINFO info;
    info.cbSize = sizeof(info);
    Windows::GetScrollBarInfo(Box->List->GetHandle(), Object, &info);
    POINT tl = Box->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
    POINT br = Box->ScreenToClient(POINT{info.rcScrollBar.right, info.rcScrollBar.bottom});
    return RECT{tl.x, tl.y, br.x, br.y};
  }
};

TEST_F(InnerListBoxTest, ThePaintedBarCoversTheNativeOneWhileItemsOverflow)
{
  TcxScrollBar* bar = Box->List->GetVScrollBar();
  Fill(3);
  EXPECT_FALSE(bar->GetVisible());
  Fill(50);
  ASSERT_TRUE(bar->GetVisible());
  EXPECT_EQ(bar->GetParent(), Box);
  EXPECT_EQ(bar->GetBoundsRect(), NativeBar(OBJID_VSCROLL));
  EXPECT_EQ(bar->GetMax(), 52);
  EXPECT_GT(bar->GetPageSize(), 0);
  EXPECT_FALSE(Box->List->GetHScrollBar()->GetVisible());
  EXPECT_EQ(Box->List->GetSizeGripRect(), (RECT{}));

  Box->List->GetItems()->Clear();
  Pump();
  EXPECT_FALSE(bar->GetVisible());
}

TEST_F(InnerListBoxTest, TheCornerBetweenTwoBarsIsButtonFace)
{
  Fill(50);
  Windows::SendMessage(Box->List->GetHandle(), LB_SETHORIZONTALEXTENT, 1000, 0);
  Pump();
  ASSERT_TRUE(Box->List->GetHScrollBar()->GetVisible());
  ASSERT_TRUE(Box->List->GetVScrollBar()->GetVisible());
  RECT grip = Box->List->GetSizeGripRect();
  ASSERT_GT(grip.right, grip.left);
  EXPECT_EQ(grip.right - grip.left, Box->List->GetVScrollBar()->GetWidth());
  POINT centre = Box->List->ClientToScreen(POINT{(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2});
  Windows::UpdateWindow(Form->GetHandle());
  EXPECT_EQ(Headless::ScreenPixel(centre.x, centre.y), Graphics::ColorToRGB(clBtnFace));
}

TEST_F(InnerListBoxTest, ThePaintedThumbScrollsTheListPast65535Lines)
{
  Fill(100000);
  TcxScrollBar* bar = Box->List->GetVScrollBar();
  ASSERT_TRUE(bar->GetVisible());
  RECT thumb = bar->GetPartRect(sbpThumb);
  const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
  struct Step {
    int To;         // the thumb's centre, in the bar's coordinates
    bool AtTheEnd;  // the last page is shown
  } steps[] = {{y + 40, false}, {bar->GetHeight() - 20, true}};
  Press(bar, x, y);
  for (const Step& s : steps) {
    MoveTo(bar, x, s.To);
    const int top = Box->List->GetTopIndex();
    EXPECT_EQ(bar->GetPosition(), Windows::GetScrollPos(Box->List->GetHandle(), SB_VERT));
    if (s.AtTheEnd) {
      EXPECT_GT(top, 99000);
    } else {
      EXPECT_GT(top, 0);
    }
  }
  Release(bar, x, bar->GetHeight() - 20);
  EXPECT_GT(Box->List->GetTopIndex(), 99000);
  EXPECT_EQ(bar->GetPosition(), Box->List->GetTopIndex());
}

TEST_F(InnerListBoxTest, TabNeverReachesTheListAndEnterOnlyTheContainer)
{
  std::vector<char> listKeys, boxKeys;
  Box->List->OnKeyPress = [&](TObject*, char& Key) { listKeys.push_back(Key); };
  Box->OnKeyPress = [&](TObject*, char& Key) { boxKeys.push_back(Key); };
  for (char c : {'\t', '\r', 'a'}) Windows::SendMessage(Box->List->GetHandle(), WM_CHAR, WPARAM(BYTE(c)), 0);
  EXPECT_EQ(boxKeys, (std::vector<char>{'\r', 'a'}));
  EXPECT_EQ(listKeys, (std::vector<char>{'a'}));
  const LRESULT code = Windows::SendMessage(Box->List->GetHandle(), WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & DLGC_WANTTAB);
  EXPECT_TRUE(code & DLGC_WANTCHARS);
}

TEST_F(InnerListBoxTest, AMultiSelectListDragsTheContainerKeepingTheSelection)
{
  Fill(10);
  Box->List->SetMultiSelect(true);
  Pump();
  Box->List->SetSelected(1, true);
  Box->List->SetSelected(2, true);
  Box->SetDragMode(dmAutomatic);
  Box->List->SetDragMode(dmManual);
  RECT item = Box->List->ItemRect(1);
  Press(Box->List, 5, (item.top + item.bottom) / 2);
  EXPECT_TRUE(DragManager::Dragging());
  EXPECT_EQ(DragManager::DragControl(), Box);
  EXPECT_TRUE(Box->List->GetSelected(1));
  EXPECT_TRUE(Box->List->GetSelected(2));
  EXPECT_EQ(Box->List->GetSelCount(), 2);
  EXPECT_EQ(Box->List->GetDragMode(), dmManual);
  Release(Box->List, 5, (item.top + item.bottom) / 2);
  EXPECT_FALSE(DragManager::Dragging());
}

}  // namespace
