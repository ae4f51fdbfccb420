// The tool tips: the model's delays and hit tests as tables; a subclassed window's tools shown
// after the delays, popped by time, by a press and on leaving, and let go again; malformed
// input refused; the tab control's tips through its parent.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tab/Tab.h"
#include "platform/commctrl/tests/ToolTestUtil.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/commctrl/tooltips/ToolTipsModel.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

class ToolTipsTest : public ToolTest {
public:
  HWND Tip(DWORD style = TTS_ALWAYSTIP)
  {
    return CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, 0, 0, 0, 0, Parent, nullptr, nullptr, nullptr);
  }
  static BOOL Add(HWND tip, UINT flags, HWND wnd, UINT_PTR id, RECT r, const char* text)
  {
    TOOLINFO ti;
    ti.uFlags = flags;
    ti.hwnd = wnd;
    ti.uId = id;
    ti.rect = r;
    ti.lpszText = const_cast<char*>(text);
    return BOOL(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  }
  void MoveTo(HWND wnd, int x, int y)
  {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    InputQueue::MouseMove(p.x, p.y);
    Pump();
  }
  void Wait(int ms)
  {
    Headless::AdvanceTime(DWORD(ms));
    Pump();
  }
};

ToolTipsModel::Tool MakeTool(HWND wnd, UINT_PTR id, RECT r, UINT flags = 0)
{
  ToolTipsModel::Tool t;
  t.Wnd = wnd;
  t.Id = id;
  t.Rect = r;
  t.Flags = flags;
  return t;
}

}  // namespace

TEST(ToolTipsModel, DelaysFollowTheInitialOneUnlessSet)
{
  ToolTipsModel m;
  EXPECT_FALSE(m.SetDelay(9, 10));
  EXPECT_EQ(m.Delay(9, 500), -1);
  struct Case {
    const char* what;
    WPARAM which;
    int ms;
    int initial, autoPop, reshow;
  } cases[] = {
      {"defaults from the double-click time", TTDT_INITIAL, -1, 500, 5000, 100},
      {"automatic sets the initial and the rest follow", TTDT_AUTOMATIC, 200, 200, 2000, 40},
      {"one set apart", TTDT_AUTOPOP, 700, 200, 700, 40},
      {"automatic again lets every one follow", TTDT_AUTOMATIC, 300, 300, 3000, 60},
      {"a negative delay is the default again", TTDT_AUTOMATIC, -1, 500, 5000, 100},
  };
  for (const Case& k : cases) {
    m.SetDelay(k.which, k.ms);
    EXPECT_EQ(m.Delay(TTDT_INITIAL, 500), k.initial) << k.what;
    EXPECT_EQ(m.Delay(TTDT_AUTOPOP, 500), k.autoPop) << k.what;
    EXPECT_EQ(m.Delay(TTDT_RESHOW, 500), k.reshow) << k.what;
  }
}

TEST(ToolTipsModel, ToolsAreFoundByRectangleOrByTheirWholeWindow)
{
  HWND a = reinterpret_cast<HWND>(0x100), b = reinterpret_cast<HWND>(0x200);
  ToolTipsModel m;
  EXPECT_EQ(m.HitTest(a, {1, 1}), -1);
  m.Add(MakeTool(a, 1, {0, 0, 10, 10}));
  m.Add(MakeTool(a, 2, {10, 0, 20, 10}));
  m.Add(MakeTool(a, UINT_PTR(b), {}, TTF_IDISHWND));
  EXPECT_EQ(m.Add(MakeTool(a, 1, {0, 0, 5, 5})), 0) << "the same window and id replace the tool";
  EXPECT_EQ(m.Count(), 3);
  struct Case {
    HWND wnd;
    POINT pt;
    int tool;
  } cases[] = {{a, {2, 2}, 0}, {a, {7, 7}, -1}, {a, {12, 3}, 1}, {b, {500, 500}, 2}, {nullptr, {2, 2}, -1}};
  for (const Case& k : cases) EXPECT_EQ(m.HitTest(k.wnd, k.pt), k.tool) << k.pt.x;
  EXPECT_TRUE(m.Uses(b));
  EXPECT_TRUE(m.Delete(a, UINT_PTR(b)));
  EXPECT_FALSE(m.Uses(b));
  EXPECT_FALSE(m.Delete(a, UINT_PTR(b)));
}

TEST_F(ToolTipsTest, ASubclassedWindowsToolsShowPopAndLetTheWindowGo)
{
  HWND button = Make("BUTTON", "两个工具", BS_PUSHBUTTON, 20, 20, 200, 30, 5);
  auto original = GetWindowLongPtr(button, GWLP_WNDPROC);
  HWND tip = Tip();
  ASSERT_TRUE(Add(tip, TTF_SUBCLASS, button, 1, {0, 0, 100, 30}, "左边"));
  ASSERT_TRUE(Add(tip, TTF_SUBCLASS, button, 2, {100, 0, 200, 30}, "右边"));
  // The tips go to the tool's window, not to the test's parent.
  EXPECT_NE(GetWindowLongPtr(button, GWLP_WNDPROC), original);
  struct Step {
    const char* what;
    int x;     // where the pointer goes (-1: stays)
    int wait;  // then this long
    bool shown;
    const char* text;
  } steps[] = {
      {"not before the initial delay", 50, 499, false, ""},
      {"after it", -1, 1, true, "左边"},
      {"the next tool after the re-show delay", 150, 100, true, "右边"},
      {"popped after the auto-pop delay", -1, 5000, false, "右边"},
      {"and not again while the pointer stays", 151, 6000, false, "右边"},
      {"back on the first tool", 50, 500, true, "左边"},
  };
  for (const Step& k : steps) {
    if (k.x >= 0) MoveTo(button, k.x, 15);
    Wait(k.wait);
    EXPECT_EQ(IsWindowVisible(tip) != 0, k.shown) << k.what;
    if (k.shown) {
      EXPECT_EQ(TipText(tip), k.text) << k.what;
    }
  }
  EXPECT_EQ(GetActiveWindow(), Parent) << "never activated";
  RECT tr;
  GetWindowRect(tip, &tr);
  EXPECT_NE(WindowFromPoint({tr.left + 3, tr.top + 3}), tip) << "the pointer goes through it";

  // A press pops it; leaving the window pops it too.
  Click(button, 50, 15);
  EXPECT_FALSE(IsWindowVisible(tip));
  MoveTo(button, 60, 15);
  Wait(500);
  EXPECT_FALSE(IsWindowVisible(tip)) << "not after a press until the pointer leaves the tool";
  MoveTo(button, 150, 15);
  Wait(500);
  EXPECT_TRUE(IsWindowVisible(tip));
  MoveTo(Parent, 600, 400);
  EXPECT_FALSE(IsWindowVisible(tip));
  Expect({"command 5"}, "the button's own click; the tips went to the button");

  // Deleting the tools gives the window its procedure back.
  TOOLINFO ti;
  ti.hwnd = button;
  ti.uId = 1;
  SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_NE(GetWindowLongPtr(button, GWLP_WNDPROC), original) << "one tool still uses it";
  ti.uId = 2;
  SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(GetWindowLongPtr(button, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 0);

  // A subclassed window that goes first, and a tips window that goes with subclassed tools.
  HWND gone = Make("BUTTON", "x", BS_PUSHBUTTON, 20, 60, 60, 20, 6);
  HWND kept = Make("BUTTON", "y", BS_PUSHBUTTON, 100, 60, 60, 20, 7);
  auto keptProc = GetWindowLongPtr(kept, GWLP_WNDPROC);
  ASSERT_TRUE(Add(tip, TTF_SUBCLASS | TTF_IDISHWND, Parent, UINT_PTR(gone), {}, "x"));
  ASSERT_TRUE(Add(tip, TTF_SUBCLASS | TTF_IDISHWND, Parent, UINT_PTR(kept), {}, "y"));
  MoveTo(gone, 5, 5);
  DestroyWindow(gone);
  Wait(1000);
  EXPECT_FALSE(IsWindowVisible(tip));
  DestroyWindow(tip);
  EXPECT_EQ(GetWindowLongPtr(kept, GWLP_WNDPROC), keptProc);
  MoveTo(kept, 5, 5);
}

TEST_F(ToolTipsTest, MessagesRefuseMalformedInputAndKeepToTheirBuffers)
{
  HWND tip = Tip();
  TOOLINFO small;
  small.cbSize = 8;
  small.hwnd = Parent;
  HWND stale = Make("BUTTON", "", 0, 0, 0, 10, 10);
  DestroyWindow(stale);
  EXPECT_FALSE(SendMessage(tip, TTM_ADDTOOL, 0, 0));
  EXPECT_FALSE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&small)));
  EXPECT_FALSE(Add(tip, 0, stale, 1, {}, "x"));
  EXPECT_FALSE(Add(tip, TTF_IDISHWND, Parent, UINT_PTR(stale), {}, "x"));
  EXPECT_TRUE(Add(tip, 0, Parent, 7, {0, 0, 10, 10}, "合同管理系统"));

  TOOLINFO ti;
  char buf[5] = "????";
  ti.hwnd = Parent;
  ti.uId = 7;
  ti.lpszText = buf;
  SendMessage(tip, TTM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(buf, "合同") << "cut to the buffer with its zero";
  ti.uId = 8;
  EXPECT_FALSE(SendMessage(tip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_FALSE(SendMessage(tip, TTM_ENUMTOOLS, 1, reinterpret_cast<LPARAM>(&ti)));
  char whole[80];
  ti.lpszText = whole;
  EXPECT_TRUE(SendMessage(tip, TTM_ENUMTOOLS, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_EQ(ti.uId, 7u);
  EXPECT_STREQ(whole, "合同管理系统");
  TTHITTESTINFO hit;
  hit.hwnd = Parent;
  hit.pt = {5, 5};
  EXPECT_TRUE(SendMessage(tip, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  hit.pt = {50, 5};
  EXPECT_FALSE(SendMessage(tip, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  EXPECT_EQ(SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 200), -1);
  EXPECT_EQ(SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, -5), 200);
  EXPECT_EQ(SendMessage(tip, TTM_GETMAXTIPWIDTH, 0, 0), -1);
  SendMessage(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 300);
  EXPECT_EQ(SendMessage(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 3000);

  // Inactive tips, and tips without TTS_ALWAYSTIP over an inactive window, show nothing.
  HWND button = Make("BUTTON", "b", BS_PUSHBUTTON, 300, 300, 60, 20, 9);
  HWND quiet = Tip(0);
  ASSERT_TRUE(Add(quiet, TTF_SUBCLASS | TTF_IDISHWND, Parent, UINT_PTR(button), {}, "b"));
  ASSERT_TRUE(Add(tip, TTF_SUBCLASS | TTF_IDISHWND, Parent, UINT_PTR(button), {}, "b"));
  SendMessage(tip, TTM_ACTIVATE, FALSE, 0);
  HWND other =
      CreateWindowEx(0, "BUTTON", "", WS_POPUP | WS_VISIBLE, 700, 500, 20, 20, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  MoveTo(button, 5, 5);
  Wait(1000);
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_FALSE(IsWindowVisible(quiet));
  SetActiveWindow(Parent);
  MoveTo(button, 6, 5);
  MoveTo(Parent, 5, 5);
  MoveTo(button, 5, 5);
  Wait(500);
  EXPECT_TRUE(IsWindowVisible(quiet)) << "its window active again";
  DestroyWindow(other);
}

TEST_F(ToolTipsTest, TheTabControlsTipsAskItsParentByTabIndex)
{
  HWND tabs = Make(WC_TABCONTROL, "", TCS_TOOLTIPS, 10, 10, 300, 100, 50);
  for (const char* text : {"其他信息", "合同内容", "投标情况"}) {
    TCITEM ti;
    ti.mask = TCIF_TEXT;
    ti.pszText = const_cast<char*>(text);
    SendMessage(tabs, TCM_INSERTITEM, WPARAM(SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0)), reinterpret_cast<LPARAM>(&ti));
  }
  HWND tip = reinterpret_cast<HWND>(SendMessage(tabs, TCM_GETTOOLTIPS, 0, 0));
  ASSERT_TRUE(tip);
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
  TipAnswer = [](int index) { return "第" + std::to_string(index) + "页"; };
  RECT r;
  SendMessage(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  MoveTo(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Wait(500);
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(TipText(tip), "第1页");
  Expect({"tip 1", "show 1"});
  SendMessage(tabs, TCM_DELETEITEM, 2, 0);
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 2) << "a deleted tab's tool goes";
  DestroyWindow(tabs);
  EXPECT_FALSE(IsWindow(tip));
}
