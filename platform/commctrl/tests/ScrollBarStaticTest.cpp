#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

class ScrollBarStaticTest : public CtlTest {};

TEST_F(ScrollBarStaticTest, AControlBarKeepsItsStateAndAnswersTheBarCalls)
{
  HWND bar = Make("SCROLLBAR", "", SBS_HORZ, 10, 10, 200, 17, 40);
  HWND plain = Make("STATIC", "x", SS_LEFT, 10, 40, 50, 20, 41);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMax = 999;
  si.nPage = 100;
  si.nPos = 950;
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 900) << "the position stops a page before the end";
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 900);
  EXPECT_EQ(SendMessage(bar, SBM_SETPOS, 10, TRUE), 900);
  int lo = -1, hi = -1;
  SendMessage(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 999);
  SCROLLBARINFO sbi;
  ASSERT_TRUE(SendMessage(bar, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(&sbi)));
  EXPECT_EQ(sbi.rcScrollBar.right - sbi.rcScrollBar.left, 200);
  EXPECT_GT(sbi.xyThumbBottom, sbi.xyThumbTop);
  SendMessage(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_BOTH, 0);
  GetScrollBarInfo(bar, OBJID_CLIENT, &sbi);
  EXPECT_TRUE(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  // SB_CTL means nothing for a window that is no scroll-bar control.
  EXPECT_FALSE(GetScrollInfo(plain, SB_CTL, &si));
  EXPECT_EQ(SetScrollPos(plain, SB_CTL, 5, TRUE), 0);
}

TEST_F(ScrollBarStaticTest, HoldingAnArrowRepeatsWithTheStandardTiming)
{
  HWND bar = Make("SCROLLBAR", "", SBS_VERT, 10, 10, 17, 200, 40);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMax = 99;
  si.nPage = 10;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  POINT p{8, 190};  // the down arrow
  ClientToScreen(bar, &p);
  // The button comes up after 480 ms, past the third line step (at once, after 400 ms, then 50 ms
  // later). The release is timed: a held bar stops tracking when no input at all can come.
  static POINT releaseAt;
  releaseAt = p;
  UINT_PTR release = SetTimer(nullptr, 0, 480, [](HWND, UINT, UINT_PTR, DWORD) {
    InputQueue::MouseUp(InputQueue::Button::Left, releaseAt.x, releaseAt.y);
  });
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  Pump();
  KillTimer(nullptr, release);
  ASSERT_EQ(Scrolls.size(), 4u);
  for (auto& s : Scrolls) {
    EXPECT_EQ(s.msg, UINT(WM_VSCROLL));
    EXPECT_EQ(s.ctl, bar) << "the control names itself in lParam";
  }
  EXPECT_EQ(LOWORD(Scrolls[3].wParam), SB_ENDSCROLL);
  EXPECT_EQ(Scrolls[1].time - Scrolls[0].time, 400u) << "the first repeat waits";
  EXPECT_EQ(Scrolls[2].time - Scrolls[1].time, 50u) << "then it repeats quickly";
  // Keys step it too, each followed by the end of the scroll.
  Scrolls.clear();
  SendMessage(bar, WM_KEYDOWN, VK_NEXT, 0);
  ASSERT_EQ(Scrolls.size(), 2u);
  EXPECT_EQ(LOWORD(Scrolls[0].wParam), SB_PAGEDOWN);
  EXPECT_EQ(LOWORD(Scrolls[1].wParam), SB_ENDSCROLL);
}

TEST_F(ScrollBarStaticTest, StaticsNotifyOnlyWhenAsked)
{
  HWND quiet = Make("STATIC", "安静", SS_LEFT, 10, 10, 80, 20, 1);
  HWND notify = Make("STATIC", "通知", SS_LEFT | SS_NOTIFY, 10, 40, 80, 20, 2);
  Click(quiet, 5, 5);
  EXPECT_EQ(ParentClicks, 1) << "without SS_NOTIFY the click goes to what lies under it";
  Click(notify, 5, 5);
  EXPECT_EQ(ParentClicks, 1);
  EXPECT_EQ(Codes(), std::vector<WORD>{STN_CLICKED});
  EXPECT_EQ(SendMessage(notify, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  EnableWindow(notify, FALSE);
  EXPECT_EQ(Codes(notify).back(), STN_DISABLE);
}
