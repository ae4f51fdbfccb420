// The scroll window's positions: clamping, the scroll codes, and the scrolled notifications.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "report/engine/controls/frxScrollWin.h"

TEST(ScrollWinClamp, PositionsStayWithinRangeLessPage)
{
  struct Case {
    int value, range, page, expected;
  } cases[] = {
      {0, 100, 30, 0}, {70, 100, 30, 70}, {90, 100, 30, 70}, {-5, 100, 30, 0},
      {10, 20, 30, 0}, {-5, 20, 30, 0},   {5, 0, 0, 0},      {35, 100, 0, 35},
  };
  for (const Case& c : cases)
    EXPECT_EQ(frxScrollWin::ClampPosition(c.value, c.range, c.page), c.expected)
        << c.value << " in range " << c.range << " page " << c.page;
}

TEST(ScrollWinClamp, ScrollCodesAskForTheirPositions)
{
  struct Case {
    int code, expected;
    bool handled;
  } cases[] = {
      {SB_LINEUP, 39, true},   {SB_LINEDOWN, 41, true},   {SB_PAGEUP, 30, true},
      {SB_PAGEDOWN, 50, true}, {SB_THUMBTRACK, 77, true}, {SB_THUMBPOSITION, 77, true},
      {SB_TOP, 0, true},       {SB_BOTTOM, 100, true},    {SB_ENDSCROLL, 40, false},
  };
  for (const Case& c : cases) {
    bool handled = !c.handled;
    EXPECT_EQ(frxScrollWin::ScrollCodePosition(c.code, 40, 77, 100, 1, 10, handled), c.expected) << c.code;
    EXPECT_EQ(handled, c.handled) << c.code;
  }
}

namespace {

class TCountingScrollWin : public TfrxScrollWin {
public:
  using TfrxScrollWin::TfrxScrollWin;
  int Horz = 0, Vert = 0;

protected:
  void HorzScrolled() override { ++Horz; }
  void VertScrolled() override { ++Vert; }
};

}  // namespace

TEST_F(FormsTest, ScrollWinMovesOnlyWhenThePositionChanges)
{
  TForm* form = MakeForm(300, 200);
  auto* win = new TCountingScrollWin(Owner.get());
  win->SetParent(form);
  win->SetBounds(0, 0, 200, 150);
  form->Show();
  win->SetVertRange(100);
  win->SetVertPage(30);
  win->SetVertPosition(90);
  EXPECT_EQ(win->GetVertPosition(), 70);
  EXPECT_EQ(win->Vert, 1);
  win->SetVertPosition(120);  // clamps to where it is: no notification
  EXPECT_EQ(win->Vert, 1);

  // The bar's messages go through the same setter; the thumb's 32-bit track position is read.
  Windows::SendMessage(win->GetHandle(), WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(win->GetVertPosition(), 60);
  Windows::SendMessage(win->GetHandle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(win->GetVertPosition(), 0);
  Windows::SendMessage(win->GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(win->GetVertPosition(), 70);
  EXPECT_EQ(win->Vert, 4);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(Windows::GetScrollInfo(win->GetHandle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax, 100);
  EXPECT_EQ(si.nPage, 30u);
  EXPECT_EQ(si.nPos, 70);

  // A range smaller than the page: the bar has nothing to scroll and every position is 0.
  win->SetHorzPage(30);
  win->SetHorzRange(20);
  win->SetHorzPosition(15);
  EXPECT_EQ(win->GetHorzPosition(), 0);
  EXPECT_EQ(win->Horz, 0);
  ASSERT_TRUE(Windows::GetScrollInfo(win->GetHandle(), SB_HORZ, &si));
  EXPECT_EQ(si.nMax, 0);
  EXPECT_EQ(Windows::SendMessage(win->GetHandle(), WM_GETDLGCODE, 0, 0),
            DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS);
}
