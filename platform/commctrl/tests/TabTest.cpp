// The tab control: its model's selection and rows as tables; the parent's notifications for
// clicks, keys and a refused change; TCM_ADJUSTRECT both ways; scrolling one overflowing row;
// tabs in one and several rows and as buttons drawn into a PNG.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/tab/Tab.h"
#include "platform/commctrl/tab/TabModel.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

class TabTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
    Spy.Install(Parent, [](const NMHDR* h) {
      if (h->code == TCN_SELCHANGING) return std::string("changing");
      if (h->code == TCN_SELCHANGE) return std::string("change");
      return std::string();
    });
    Spy.Answer = [this](const NMHDR* h) { return h->code == TCN_SELCHANGING ? Refuse : 0; };
  }
  HWND Tabs(DWORD style, int x, int y, int w, int h, const std::vector<const char*>& texts)
  {
    HWND t = Make(WC_TABCONTROL, "", style, x, y, w, h, 50);
    for (const char* text : texts) {
      TCITEM ti;
      ti.mask = TCIF_TEXT;
      ti.pszText = const_cast<char*>(text);
      SendMessage(t, TCM_INSERTITEM, WPARAM(SendMessage(t, TCM_GETITEMCOUNT, 0, 0)), reinterpret_cast<LPARAM>(&ti));
    }
    return t;
  }
  RECT ItemRect(HWND t, int i)
  {
    RECT r{};
    SendMessage(t, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void ClickTab(HWND t, int i)
  {
    RECT r = ItemRect(t, i);
    Click(t, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void CtrlTab(bool shift)
  {
    InputQueue::KeyDown(VK_CONTROL);
    if (shift) InputQueue::KeyDown(VK_SHIFT);
    Key(VK_TAB);
    if (shift) InputQueue::KeyUp(VK_SHIFT);
    InputQueue::KeyUp(VK_CONTROL);
    Pump();
  }
  NotifySpy Spy;
  LRESULT Refuse = 0;
};

TabModel::Item Sized(int width)
{
  TabModel::Item it;
  it.Width = width;
  return it;
}

}  // namespace

TEST(TabModel, TheSelectionFollowsInsertionsAndDeletions)
{
  TabModel m;
  EXPECT_FALSE(m.Delete(0));
  EXPECT_EQ(m.SetSel(0), -1);
  EXPECT_EQ(m.Insert(5, Sized(10)), 0) << "clamped to the end";
  EXPECT_EQ(m.Sel(), 0) << "the first tab is selected";
  struct Case {
    const char* what;
    bool insert;
    int index;
    int sel;
  } cases[] = {{"insert before", true, 0, 1},
               {"insert after", true, 2, 1},
               {"delete before", false, 0, 0},
               {"delete the selected", false, 0, -1},
               {"delete out of range", false, 9, -1}};
  for (const Case& k : cases) {
    if (k.insert)
      m.Insert(k.index, Sized(10));
    else
      m.Delete(k.index);
    EXPECT_EQ(m.Sel(), k.sel) << k.what;
  }
  EXPECT_EQ(m.Count(), 1);
}

TEST(TabModel, RowsWrapAndTheSelectedRowComesNextToThePage)
{
  TabModel m;
  for (int i = 0; i < 7; ++i) m.Insert(i, Sized(60));
  m.Layout(200, 20, true, false, 0);  // three tabs a row: rows {0,1,2} {3,4,5} {6}
  EXPECT_EQ(m.Rows(), 3);
  struct Case {
    int sel;
    int rowOf0, rowOf3, rowOf6;  // 0 next to the page
  } cases[] = {{0, 0, 2, 1}, {4, 1, 0, 2}, {6, 2, 1, 0}};
  for (const Case& k : cases) {
    m.SetSel(k.sel);
    m.Layout(200, 20, true, false, 0);
    EXPECT_EQ(m.At(0)->Row, k.rowOf0) << k.sel;
    EXPECT_EQ(m.At(3)->Row, k.rowOf3) << k.sel;
    EXPECT_EQ(m.At(6)->Row, k.rowOf6) << k.sel;
    EXPECT_EQ(m.At(k.sel)->Rect.bottom, 2 + 3 * 20);
  }
  EXPECT_EQ(m.At(2)->Rect.right, 198) << "full rows stretch to the width";
  m.Layout(200, 20, true, true, 0);
  EXPECT_EQ(m.At(2)->Rect.right, 182) << "unless ragged";
  m.Layout(200, 20, false, false, 32);
  EXPECT_TRUE(m.Overflow());
  EXPECT_EQ(m.MaxFirst(), 5) << "the last two tabs fit beside the arrows";
  m.SetFirst(9);
  m.Layout(200, 20, false, false, 32);
  EXPECT_EQ(m.First(), 5);
  EXPECT_EQ(m.At(5)->Rect.left, 2);
}

TEST_F(TabTest, ClicksKeysAndARefusedChangeNotifyTheParentInOrder)
{
  HWND t = Tabs(0, 10, 10, 400, 200, {"合同", "客户", "付款", "报表"});
  EXPECT_EQ(SendMessage(t, TCM_GETCURSEL, 0, 0), 0);
  using Seq = std::vector<std::string>;
  struct Case {
    const char* what;
    std::function<void()> act;
    LRESULT refuse;
    Seq seen;
    int sel;
  } cases[] = {
      {"click", [&] { ClickTab(t, 2); }, 0, Seq{"changing", "change"}, 2},
      {"click on the selected tab", [&] { ClickTab(t, 2); }, 0, Seq{}, 2},
      {"refused click", [&] { ClickTab(t, 0); }, 1, Seq{"changing"}, 2},
      {"right arrow", [&] { Key(VK_RIGHT); }, 0, Seq{"changing", "change"}, 3},
      {"right arrow at the end", [&] { Key(VK_RIGHT); }, 0, Seq{}, 3},
      {"ctrl+tab wraps", [&] { CtrlTab(false); }, 0, Seq{"changing", "change"}, 0},
      {"ctrl+shift+tab wraps back", [&] { CtrlTab(true); }, 0, Seq{"changing", "change"}, 3},
      {"left arrow refused", [&] { Key(VK_LEFT); }, 1, Seq{"changing"}, 3},
      {"set without notification", [&] { SendMessage(t, TCM_SETCURSEL, 1, 0); }, 0, Seq{}, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Spy.Seen.clear();
    Refuse = k.refuse;
    k.act();
    EXPECT_EQ(Spy.Seen, k.seen);
    EXPECT_EQ(SendMessage(t, TCM_GETCURSEL, 0, 0), k.sel);
  }
  EXPECT_EQ(GetFocus(), t);
  EXPECT_EQ(SendMessage(t, TCM_SETCURSEL, 9, 0), -1);

  TCHITTESTINFO hit;
  RECT r3 = ItemRect(t, 3);
  hit.pt = POINT{r3.left + 3, r3.top + 3};
  EXPECT_EQ(SendMessage(t, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
  EXPECT_EQ(hit.flags, TCHT_ONITEM);
  hit.pt = POINT{390, 5};
  EXPECT_EQ(SendMessage(t, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, TCHT_NOWHERE);

  char buf[8];
  TCITEM ti;
  ti.mask = TCIF_TEXT | TCIF_PARAM;
  ti.pszText = buf;
  ti.cchTextMax = 3;
  ti.lParam = 99;
  EXPECT_TRUE(SendMessage(t, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_STREQ(buf, "\xbf\xcd") << "cut to the buffer (one double-byte character)";
  EXPECT_EQ(ti.lParam, 0);
  EXPECT_FALSE(SendMessage(t, TCM_GETITEM, 4, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_TRUE(SendMessage(t, TCM_DELETEITEM, 1, 0));
  EXPECT_EQ(SendMessage(t, TCM_GETCURSEL, 0, 0), -1);
  EXPECT_TRUE(SendMessage(t, TCM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(SendMessage(t, TCM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(TabTest, AdjustRectTurnsTheWindowIntoThePageAndBack)
{
  struct Case {
    const char* what;
    DWORD style;
    int width;
    bool rows;  // more than one
  } cases[] = {
      {"tabs", 0, 400, false}, {"buttons", TCS_BUTTONS, 400, false}, {"several rows", TCS_MULTILINE, 150, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    HWND t = Tabs(k.style, 10, 10, k.width, 200, {"合同管理", "客户资料", "付款计划", "报表"});
    EXPECT_EQ(SendMessage(t, TCM_GETROWCOUNT, 0, 0) > 1, k.rows);
    RECT page{0, 0, k.width, 200};
    SendMessage(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    RECT lastTab = ItemRect(t, 0);
    for (int i = 1; i < 4; ++i) lastTab.bottom = std::max(lastTab.bottom, ItemRect(t, i).bottom);
    EXPECT_GT(page.top, lastTab.bottom) << "the page starts below every row";
    EXPECT_LE(page.top - lastTab.bottom, 4);
    EXPECT_EQ(page.bottom, (k.style & TCS_BUTTONS) ? 200 : 198);
    SendMessage(t, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page.left, 0);
    EXPECT_EQ(page.top, 0);
    EXPECT_EQ(page.right, k.width);
    EXPECT_EQ(page.bottom, 200);
    DestroyWindow(t);
  }
}

TEST_F(TabTest, AnOverflowingRowShowsArrowsThatScrollIt)
{
  HWND t = Tabs(0, 10, 10, 200, 100, {"合同管理", "客户资料", "付款计划", "报表中心", "系统设置"});
  HWND arrows = GetWindow(t, GW_CHILD);
  ASSERT_TRUE(arrows);
  EXPECT_TRUE(IsWindowVisible(arrows));
  EXPECT_EQ(ItemRect(t, 0).left, 2);
  RECT a;
  GetClientRect(arrows, &a);
  Click(arrows, a.right - 3, a.bottom / 2);
  EXPECT_LT(ItemRect(t, 0).right, 3) << "scrolled by one tab";
  EXPECT_EQ(ItemRect(t, 1).left, 2);
  SendMessage(t, TCM_SETCURSEL, 4, 0);
  EXPECT_LE(ItemRect(t, 4).right, 200 - 32) << "selecting a tab scrolls it into view";
  SendMessage(t, TCM_SETCURSEL, 0, 0);
  EXPECT_EQ(ItemRect(t, 0).left, 2);
  SetWindowPos(t, nullptr, 0, 0, 600, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_FALSE(IsWindowVisible(arrows)) << "room enough: no arrows";
}

TEST_F(TabTest, TabsInOneAndSeveralRowsAndButtonsAreDrawnClassic)
{
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  HWND one = Tabs(0, 10, 10, 300, 80, {"合同", "客户", "付款"});
  SendMessage(one, TCM_SETCURSEL, 1, 0);
  HWND many = Tabs(TCS_MULTILINE, 320, 10, 200, 120, {"合同管理", "客户资料", "付款计划", "报表中心", "系统设置"});
  HWND buttons = Tabs(TCS_BUTTONS, 10, 140, 300, 40, {"全部", "执行中", "已完成"});
  HWND scroll = Tabs(0, 10, 200, 200, 60, {"合同管理", "客户资料", "付款计划", "报表中心"});
  SetFocus(one);
  Pump();
  SavePng("commctrl_tabs");

  RECT sel = ItemRect(one, 1), other = ItemRect(one, 0);
  int page = sel.bottom;  // the page's top edge row
  EXPECT_EQ(Headless::ClientPixel(one, (other.left + other.right) / 2, page), light)
      << "the page's top edge runs under an unselected tab";
  EXPECT_EQ(Headless::ClientPixel(one, (sel.left + sel.right) / 2, page), face) << "and opens under the selected one";
  EXPECT_EQ(Headless::ClientPixel(one, sel.left - 2, sel.top - 2), light) << "the selected tab stands taller";
  EXPECT_EQ(SendMessage(many, TCM_GETROWCOUNT, 0, 0), 2);
  RECT b = ItemRect(buttons, 0);
  EXPECT_EQ(Headless::ClientPixel(buttons, b.left + 3, b.top), GetSysColor(COLOR_BTNSHADOW))
      << "the selected button is sunken";
  EXPECT_TRUE(IsWindowVisible(GetWindow(scroll, GW_CHILD)));
}
