// The up-down: its numbers as a table, then the sequences its parent sees (UDN_DELTAPOS, then
// WM_VSCROLL with SB_THUMBPOSITION) for clicks, a refused step, wrapping, a typed buddy value
// and a held arrow; its look in a PNG.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

class UpDownTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
    // "delta 9 +1": the position and the step asked for.
    Spy.Install(Parent, [](const NMHDR* h) {
      if (h->code != UDN_DELTAPOS) return std::string();
      auto* nm = reinterpret_cast<const NMUPDOWN*>(h);
      return "delta " + std::to_string(nm->iPos) + (nm->iDelta > 0 ? " +" : " ") + std::to_string(nm->iDelta);
    });
    Spy.Answer = [this](const NMHDR*) { return Refuse; };
  }
  NotifySpy Spy;
  LRESULT Refuse = 0;
  // An EDIT with an up-down aligned to its right.
  HWND Pair(DWORD style, int y, HWND* edit)
  {
    *edit = Make("EDIT", "", WS_BORDER, 10, y, 100, 22, 100);
    HWND ud = Make(UPDOWN_CLASS, "", style | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 16, 22, 101);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(*edit), 0);
    return ud;
  }
  void Down(HWND wnd, int x, int y)
  {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  void Up(HWND wnd, int x, int y)
  {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
};

}  // namespace

TEST(UpDownModel, StepsClampOrWrapAndTheBuddyTextRoundTrips)
{
  UpDownModel m;
  EXPECT_EQ(m.Delta(true, 0), -1) << "by default the range runs from 100 down to 0, so up lowers";
  m.SetRange(-5, 5);
  struct Case {
    bool wrap;
    int pos, delta, to;
  } cases[] = {{false, 4, 1, 5},  {false, 5, 1, 5}, {false, 4, 20, 5},  {true, 5, 1, -5},
               {true, -5, -1, 5}, {true, 0, 3, 3},  {false, -5, -1, -5}};
  for (const Case& k : cases) {
    m.Wrap = k.wrap;
    m.SetPos(k.pos);
    EXPECT_EQ(m.Target(k.delta), k.to) << k.wrap << " " << k.pos << " " << k.delta;
  }
  EXPECT_EQ(m.Delta(true, 1999), 1);
  EXPECT_EQ(m.Delta(false, 2000), -5);
  EXPECT_EQ(m.Delta(true, 6000), 20);

  m.SetRange(-2000000000, 2000000000);
  struct Text {
    int base;
    bool thousands;
    int pos;
    const char* text;
  } texts[] = {{10, true, 1234567, "1,234,567"}, {10, true, -1234, "-1,234"},
               {10, true, 999, "999"},           {10, false, 1234567, "1234567"},
               {16, true, 255, "0x00FF"},        {10, true, -2000000000, "-2,000,000,000"}};
  for (const Text& k : texts) {
    m.Base = k.base;
    m.Thousands = k.thousands;
    m.SetPos(k.pos);
    EXPECT_EQ(m.Text(), k.text);
    int back = 0;
    EXPECT_TRUE(m.Parse(m.Text(), &back));
    EXPECT_EQ(back, k.pos);
  }
  m.Base = 10;
  int v = 7;
  for (const char* bad : {"", "abc", "12x", "99999999999"}) {
    EXPECT_FALSE(m.Parse(bad, &v)) << bad;
    EXPECT_EQ(v, 7);
  }
}

TEST_F(UpDownTest, ClicksAskTheParentThenScrollWrapAndARefusedStepChangesNothing)
{
  HWND edit = nullptr;
  HWND ud = Pair(UDS_WRAP | UDS_ARROWKEYS, 10, &edit);
  RECT e, u;
  GetWindowRect(edit, &e);
  GetWindowRect(ud, &u);
  EXPECT_EQ(e.right, u.left) << "the buddy gives up room for the arrows";
  EXPECT_EQ(u.right - e.left, 100);
  SendMessage(ud, UDM_SETRANGE32, 0, 10);
  SendMessage(ud, UDM_SETPOS32, 0, 9);
  EXPECT_EQ(GetWindowText(edit), "9");

  struct Case {
    const char* what;
    std::function<void()> act;
    int refuse;
    std::vector<std::string> seen;
    const char* buddy;
  } cases[] = {
      {"up arrow", [&] { Click(ud, 8, 5); }, 0, {"delta 9 +1", "vscroll 4 10", "vscroll 8 10"}, "10"},
      {"up wraps to the low end", [&] { Click(ud, 8, 5); }, 0, {"delta 10 +1", "vscroll 4 0", "vscroll 8 0"}, "0"},
      {"down wraps to the high end",
       [&] { Click(ud, 8, 17); },
       0,
       {"delta 0 -1", "vscroll 4 10", "vscroll 8 10"},
       "10"},
      {"the parent refuses", [&] { Click(ud, 8, 17); }, 1, {"delta 10 -1", "vscroll 8 10"}, "10"},
      {"a typed value is read back first",
       [&] {
         SetWindowText(edit, "7");
         SetFocus(edit);
         Key(VK_UP);
       },
       0,
       {"delta 7 +1", "vscroll 4 8"},
       "8"},
      {"the buddy's Down key", [&] { Key(VK_DOWN); }, 0, {"delta 8 -1", "vscroll 4 7"}, "7"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Spy.Seen.clear();
    Refuse = k.refuse;
    k.act();
    EXPECT_EQ(Spy.Seen, k.seen);
    EXPECT_EQ(GetWindowText(edit), k.buddy);
  }
  BOOL error = FALSE;
  SetWindowText(edit, "abc");
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 7);
  EXPECT_TRUE(error);
  SetWindowText(edit, "3");
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 3);
  EXPECT_FALSE(error);
  EXPECT_EQ(SendMessage(ud, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(edit));
}

TEST_F(UpDownTest, AHeldArrowRepeatsOnTheTimerAndSpeedsUp)
{
  HWND edit = nullptr;
  HWND ud = Pair(UDS_HORZ | UDS_NOTHOUSANDS, 10, &edit);
  SendMessage(ud, UDM_SETRANGE32, 0, 100000);
  Down(ud, 12, 10);  // the right half: up
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 1);
  Headless::AdvanceTime(399);
  Pump();
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 1) << "no repeat before 400 ms";
  Headless::AdvanceTime(1);
  Pump();
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 2);
  for (int i = 0; i < 16; ++i) {
    Headless::AdvanceTime(100);
    Pump();
  }
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 2 + 15 + 5) << "from two seconds on, steps of five";
  Spy.Seen.clear();
  Up(ud, 12, 10);
  EXPECT_EQ(Spy.Seen, std::vector<std::string>{"hscroll 8 22"});
  Headless::AdvanceTime(1000);
  Pump();
  EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 22) << "letting go stops the repeat";
  EXPECT_EQ(GetWindowText(edit), "22");
}

TEST_F(UpDownTest, ArrowsAreDrawnRaisedPushedAndGreyed)
{
  HWND e1 = nullptr, e2 = nullptr, e3 = nullptr;
  HWND plain = Pair(0, 10, &e1);
  SendMessage(plain, UDM_SETRANGE32, 0, 100000);
  SendMessage(plain, UDM_SETPOS32, 0, 12345);
  HWND pushed = Pair(0, 40, &e2);
  HWND off = Pair(UDS_HORZ, 70, &e3);
  EnableWindow(off, FALSE);
  Down(pushed, 8, 5);
  SavePng("commctrl_updown");
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(Headless::ClientPixel(pushed, 0, 0), shadow) << "pushed: a flat shadow frame";
  Up(pushed, 8, 5);
  EXPECT_EQ(GetWindowText(e1), "12,345");
  EXPECT_NE(Headless::ClientPixel(plain, 1, 1), shadow);
  EXPECT_EQ(Headless::ClientPixel(plain, 15, 10), GetSysColor(COLOR_3DDKSHADOW)) << "raised: dark outer edge";
}
