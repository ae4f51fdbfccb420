// The progress bar and the status bar: their numbers and parts as tables, the status bar's
// alignment, grip and owner drawing, and both drawn into a PNG with colours checked.
#include <cstring>

#include <gtest/gtest.h>

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/progress/ProgressModel.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/commctrl/statusbar/StatusBarModel.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

class BarsTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
  }
};

COLORREF At(HWND wnd, int x, int y) { return Headless::ClientPixel(wnd, x, y); }

}  // namespace

TEST(InitCommonControls, RegistersEveryClassOnceAndAgainAfterAReset)
{
  Headless::Start();
  INITCOMMONCONTROLSEX bad;
  bad.dwSize = 4;
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
  EXPECT_FALSE(InitCommonControlsEx(&bad));
  WNDCLASSEXA wc;
  EXPECT_FALSE(GetClassInfoEx(nullptr, PROGRESS_CLASS, &wc));
  INITCOMMONCONTROLSEX icc;
  icc.dwICC = ICC_WIN95_CLASSES;
  EXPECT_TRUE(InitCommonControlsEx(&icc));
  InitCommonControls();
  for (const char* cls : {PROGRESS_CLASS, STATUSCLASSNAME, "msctls_updown32", "SysTabControl32", "EDIT"})
    EXPECT_TRUE(GetClassInfoEx(nullptr, cls, &wc)) << cls;
  Headless::Start();
  EXPECT_FALSE(GetClassInfoEx(nullptr, STATUSCLASSNAME, &wc));
  InitCommonControls();
  EXPECT_TRUE(GetClassInfoEx(nullptr, STATUSCLASSNAME, &wc));
}

TEST(ProgressModel, RangePositionDeltaAndStepStayInsideTheRange)
{
  enum Op { Range, Pos, Delta, Step, StepIt };
  struct Case {
    Op op;
    int a, b;
    int answer;  // the previous position (or step) answered
    int pos;     // the position after
  } cases[] = {
      {Pos, 50, 0, 0, 50},
      {Pos, 150, 0, 50, 100},
      {Pos, -5, 0, 100, 0},
      {Delta, 30, 0, 0, 30},
      {Delta, 200, 0, 30, 100},
      {Step, 40, 0, 10, 100},
      {StepIt, 0, 0, 100, 40},
      {StepIt, 0, 0, 40, 80},
      {StepIt, 0, 0, 80, 20},
      {Range, -2000000000, 2000000000, 0, 20},
      {Pos, -1999999999, 0, 20, -1999999999},
      {Range, 10, 20, 0, 10},
      {Step, -3, 0, 40, 10},
      {StepIt, 0, 0, 10, 17},
      {Range, 5, 5, 0, 5},
      {StepIt, 0, 0, 5, 5},
  };
  ProgressModel m;
  int i = 0;
  for (const Case& k : cases) {
    SCOPED_TRACE(i++);
    int answer = 0;
    switch (k.op) {
      case Range:
        m.SetRange(k.a, k.b);
        answer = 0;
        break;
      case Pos: answer = m.SetPos(k.a); break;
      case Delta: answer = m.DeltaPos(k.a); break;
      case Step: answer = m.SetStep(k.a); break;
      case StepIt: answer = m.StepIt(); break;
    }
    EXPECT_EQ(answer, k.answer);
    EXPECT_EQ(m.Pos(), k.pos);
  }
  m.SetRange(0, 200);
  m.SetPos(50);
  EXPECT_EQ(m.Filled(100), 25);
}

TEST_F(BarsTest, ProgressMessagesAnswerTheOldValuesAndTheRange)
{
  HWND p = Make(PROGRESS_CLASS, "", 0, 10, 10, 200, 20, 1);
  EXPECT_EQ(SendMessage(p, PBM_SETRANGE, 0, MAKELPARAM(0, 50)), MAKELPARAM(0, 100));
  EXPECT_EQ(SendMessage(p, PBM_SETPOS, 70, 0), 0);
  EXPECT_EQ(SendMessage(p, PBM_GETPOS, 0, 0), 50);
  SendMessage(p, PBM_SETRANGE32, WPARAM(-100000), LPARAM(100000));
  PBRANGE r;
  EXPECT_EQ(SendMessage(p, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&r)), -100000);
  EXPECT_EQ(SendMessage(p, PBM_GETRANGE, FALSE, 0), 100000);
  EXPECT_EQ(r.iHigh, 100000);
  EXPECT_EQ(SendMessage(p, PBM_DELTAPOS, WPARAM(-60), 0), 50);
  EXPECT_EQ(SendMessage(p, PBM_GETPOS, 0, 0), -10);
  EXPECT_EQ(SendMessage(p, PBM_SETBARCOLOR, 0, RGB(1, 2, 3)), LRESULT(CLR_DEFAULT));
  EXPECT_EQ(SendMessage(p, PBM_SETBARCOLOR, 0, CLR_DEFAULT), LRESULT(RGB(1, 2, 3)));
}

TEST(StatusBarModel, PartsWithMinusOneRunToTheEndAndTextsKeepTheirFlags)
{
  StatusBarModel m;
  EXPECT_EQ(m.PartCount(), 1);
  int bad[] = {1};
  EXPECT_FALSE(m.SetParts(0, bad));
  EXPECT_FALSE(m.SetParts(257, bad));
  EXPECT_FALSE(m.SetParts(2, nullptr));
  int edges[] = {100, 250, -1};
  ASSERT_TRUE(m.SetParts(3, edges));
  struct Case {
    int part, width;
    bool ok;
    RECT r;
  } cases[] = {
      {0, 400, true, {0, 2, 100, 20}},
      {1, 400, true, {102, 2, 250, 20}},
      {2, 400, true, {252, 2, 400, 20}},
      {2, 200, true, {200, 2, 200, 20}},
      {3, 400, false, {}},
      {-1, 400, false, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.part);
    RECT r{};
    EXPECT_EQ(m.PartRect(k.part, k.width, 20, &r), k.ok);
    if (k.ok) {
      EXPECT_TRUE(EqualRect(&r, &k.r)) << r.left << "," << r.right;
    }
  }
  EXPECT_TRUE(m.SetText(1, "合同", SBT_POPOUT));
  EXPECT_FALSE(m.SetText(3, "x", 0));
  int two[] = {50, -1};
  m.SetParts(2, two);
  EXPECT_EQ(m.GetPart(1)->Text, "合同") << "a part that stays keeps its text";
  EXPECT_EQ(m.GetPart(1)->Flags, SBT_POPOUT);
  EXPECT_EQ(m.GetPart(2), nullptr);
  m.SetSimple(true);
  RECT r;
  EXPECT_TRUE(m.PartRect(0, 300, 20, &r));
  EXPECT_EQ(r.right, 300);
  EXPECT_FALSE(m.PartRect(1, 300, 20, &r));
}

TEST_F(BarsTest, StatusBarKeepsToItsParentsBottomAnswersTheGripAndAsksTheParentToDraw)
{
  HWND sb = Make(STATUSCLASSNAME, "", SBARS_SIZEGRIP, 0, 0, 0, 0, 7);
  RECT parent, bar;
  GetClientRect(Parent, &parent);
  GetWindowRect(sb, &bar);
  EXPECT_EQ(bar.bottom, parent.bottom);
  EXPECT_EQ(bar.right - bar.left, parent.right);
  int h = bar.bottom - bar.top;
  EXPECT_GE(h, 18);
  SetWindowPos(Parent, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  SendMessage(sb, WM_SIZE, 0, 0);
  GetWindowRect(sb, &bar);
  EXPECT_EQ(bar.bottom, 300);
  EXPECT_EQ(bar.right - bar.left, 500);

  LRESULT hit = 0;
  EXPECT_EQ(WindowList::HitTest(POINT{497, 297}, &hit), sb);
  EXPECT_EQ(hit, HTBOTTOMRIGHT);
  WindowList::HitTest(POINT{20, 297}, &hit);
  EXPECT_EQ(hit, HTCLIENT);

  int edges[] = {120, -1};
  EXPECT_TRUE(SendMessage(sb, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
  EXPECT_TRUE(SendMessage(sb, SB_SETTEXT, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("操作员：sa")));
  EXPECT_FALSE(SendMessage(sb, SB_SETTEXT, 2, reinterpret_cast<LPARAM>("x")));
  LRESULT len = SendMessage(sb, SB_GETTEXTLENGTH, 0, 0);
  EXPECT_EQ(LOWORD(len), std::strlen("操作员：sa"));
  EXPECT_EQ(HIWORD(len), SBT_NOBORDERS);
  char buf[64];
  SendMessage(sb, SB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "操作员：sa");
  int got[4] = {};
  EXPECT_EQ(SendMessage(sb, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(got)), 2);
  EXPECT_EQ(got[1], -1);
  RECT r;
  EXPECT_TRUE(SendMessage(sb, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(r.left, 122);
  EXPECT_EQ(r.right, 500);

  SendMessage(sb, SB_SETTEXT, 1 | SBT_OWNERDRAW, 42);
  EXPECT_EQ(SendMessage(sb, SB_GETTEXT, 1, 0), 42);
  Drawn.clear();
  UpdateWindow(sb);
  ASSERT_EQ(Drawn.size(), 1u);
  EXPECT_EQ(Drawn[0].itemID, 1u);
  EXPECT_EQ(Drawn[0].itemData, 42u);
  EXPECT_EQ(Drawn[0].CtlID, 7u);

  SendMessage(sb, SB_SIMPLE, TRUE, 0);
  EXPECT_TRUE(SendMessage(sb, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(SendMessage(sb, SB_GETPARTS, 0, 0), 1);
  SendMessage(sb, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("正在打印..."));
  SendMessage(sb, SB_SIMPLE, FALSE, 0);
  SendMessage(sb, SB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "操作员：sa") << "simple mode keeps the parts' texts";
}

TEST_F(BarsTest, ProgressAndStatusBarsAreDrawnInTheClassicLook)
{
  const COLORREF face = GetSysColor(COLOR_BTNFACE), hi = GetSysColor(COLOR_HIGHLIGHT),
                 shadow = GetSysColor(COLOR_BTNSHADOW);
  struct Bar {
    DWORD style;
    int pos;
  } bars[] = {{0, 0}, {0, 50}, {0, 100}, {PBS_SMOOTH, 0}, {PBS_SMOOTH, 50}, {PBS_SMOOTH, 100}};
  std::vector<HWND> made;
  int y = 10;
  for (const Bar& b : bars) {
    HWND p = Make(PROGRESS_CLASS, "", b.style, 10, y, 200, 18);
    SendMessage(p, PBM_SETPOS, WPARAM(b.pos), 0);
    made.push_back(p);
    y += 26;
  }
  HWND vert = Make(PROGRESS_CLASS, "", PBS_VERTICAL | PBS_SMOOTH, 230, 10, 18, 150);
  SendMessage(vert, PBM_SETPOS, 50, 0);
  HWND sb = Make(STATUSCLASSNAME, "就绪", SBARS_SIZEGRIP, 0, 0, 0, 0, 7);
  int edges[] = {150, 300, 420, -1};
  SendMessage(sb, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  SendMessage(sb, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("\t合同管理"));
  SendMessage(sb, SB_SETTEXT, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("\t\t2026-12-11"));
  SendMessage(sb, SB_SETTEXT, 3, reinterpret_cast<LPARAM>("澜岳"));
  SavePng("commctrl_bars");

  // Empty bars show the face colour inside, full ones the highlight up to the far end.
  for (int i : {0, 3}) EXPECT_EQ(At(made[std::size_t(i)], 195, 9), face);
  for (int i : {2, 5}) EXPECT_EQ(At(made[std::size_t(i)], 196, 9), hi) << i;
  EXPECT_EQ(At(made[4], 50, 9), hi);
  EXPECT_EQ(At(made[4], 150, 9), face);
  EXPECT_EQ(At(made[4], 0, 0), shadow) << "the sunken edge";
  // Blocks leave gaps of the face colour; the smooth bar has none.
  int gaps = 0;
  for (int x = 2; x < 98; ++x) gaps += At(made[1], x, 9) == face;
  EXPECT_GT(gaps, 10);
  EXPECT_EQ(At(vert, 9, 140), hi);
  EXPECT_EQ(At(vert, 9, 10), face);
  // The raised part's edge is light on top, the sunken ones dark.
  EXPECT_EQ(At(sb, 200, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(sb, 50, 2), shadow);
  char first[16];
  SendMessage(sb, SB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, "就绪") << "the window's text is the first part's";
}
