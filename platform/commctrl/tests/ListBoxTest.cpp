#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

LRESULT Add(HWND lb, const char* text) { return SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

void AddMany(HWND lb, int n)
{
  for (int i = 0; i < n; ++i) Add(lb, ("item " + std::to_string(i)).c_str());
}

struct BarState {
  bool visible, unavailable;
  int thumbTop;
};

BarState Bar(HWND lb, LONG which = OBJID_VSCROLL)
{
  SCROLLBARINFO sbi;
  EXPECT_TRUE(GetScrollBarInfo(lb, which, &sbi));
  return {!(sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)),
          (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0, sbi.xyThumbTop};
}

}  // namespace

class ListBoxTest : public CtlTest {};

TEST_F(ListBoxTest, ListCallsChangeTheScrollBarsAsTheInnerListBoxReadsThem)
{
  struct Step {
    const char* what;
    std::function<void(HWND)> act;
    bool visible;
    bool unavailable;
    int thumbMoves;  // -1 up, 0 same, 1 down (against the step before)
  };
  HWND lb = Make("LISTBOX", "", WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 100, 1);
  const Step steps[] = {
      {"an empty list has no bar", [](HWND) {}, false, false, 0},
      {"a few items need none", [](HWND l) { AddMany(l, 3); }, false, false, 0},
      {"more items than rows show it", [](HWND l) { AddMany(l, 20); }, true, false, 0},
      {"LB_SETTOPINDEX moves the thumb", [](HWND l) { SendMessage(l, LB_SETTOPINDEX, 10, 0); }, true, false, 1},
      {"LB_SETCURSEL on the first item scrolls back", [](HWND l) { SendMessage(l, LB_SETCURSEL, 0, 0); }, true, false,
       -1},
      {"LB_SETCARETINDEX scrolls to the caret", [](HWND l) { SendMessage(l, LB_SETCARETINDEX, 22, 0); }, true, false,
       1},
      {"deleting items down to a few hides it",
       [](HWND l) {
         while (SendMessage(l, LB_GETCOUNT, 0, 0) > 2) SendMessage(l, LB_DELETESTRING, 0, 0);
       },
       false, false, -1},
      {"LB_RESETCONTENT leaves no bar", [](HWND l) { SendMessage(l, LB_RESETCONTENT, 0, 0); }, false, false, 0},
  };
  int lastThumb = 0;
  for (const auto& s : steps) {
    s.act(lb);
    Pump();
    BarState b = Bar(lb);
    EXPECT_EQ(b.visible, s.visible) << s.what;
    EXPECT_EQ(b.unavailable, s.unavailable) << s.what;
    if (s.thumbMoves > 0) EXPECT_GT(b.thumbTop, lastThumb) << s.what;
    if (s.thumbMoves < 0) EXPECT_LT(b.thumbTop, lastThumb) << s.what;
    lastThumb = b.thumbTop;
  }
  // LBS_DISABLENOSCROLL keeps the bar, greyed while the items fit.
  HWND keep = Make("LISTBOX", "", WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT, 200, 10, 150, 100, 2);
  AddMany(keep, 2);
  EXPECT_TRUE(Bar(keep).visible);
  EXPECT_TRUE(Bar(keep).unavailable);
  AddMany(keep, 20);
  EXPECT_FALSE(Bar(keep).unavailable);
  // A horizontal extent wider than the list shows the horizontal bar.
  HWND wide = Make("LISTBOX", "", WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 400, 10, 150, 100, 3);
  AddMany(wide, 2);
  EXPECT_FALSE(Bar(wide, OBJID_HSCROLL).visible);
  SendMessage(wide, LB_SETHORIZONTALEXTENT, 400, 0);
  EXPECT_TRUE(Bar(wide, OBJID_HSCROLL).visible);
}

TEST_F(ListBoxTest, DraggingTheThumbReachesItemsPast65535)
{
  // A virtual list of 100,000 rows: the message's 16-bit position would wrap.
  HWND lb =
      Make("LISTBOX", "", WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 200, 1);
  ASSERT_EQ(SendMessage(lb, LB_SETCOUNT, 100000, 0), LB_OKAY);
  EXPECT_EQ(SendMessage(lb, LB_GETCOUNT, 0, 0), 100000);
  EXPECT_EQ(SendMessage(lb, LB_ADDSTRING, 0, 0), LB_ERR) << "a virtual list takes no items";
  Pump();
  SCROLLBARINFO sbi;
  GetScrollBarInfo(lb, OBJID_VSCROLL, &sbi);
  int x = (sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2;
  int y = sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2;
  int span = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top - 2 * sbi.dxyLineButton;
  InputQueue::MouseMove(x, y);
  InputQueue::MouseDown(InputQueue::Button::Left, x, y);
  // Three quarters of the way down.
  int to = y + span * 3 / 4;
  InputQueue::MouseMove(x, to);
  InputQueue::MouseUp(InputQueue::Button::Left, x, to);
  Pump();
  int top = int(SendMessage(lb, LB_GETTOPINDEX, 0, 0));
  EXPECT_GT(top, 65535);
  EXPECT_LT(top, 100000);
  EXPECT_EQ(GetScrollPos(lb, SB_VERT), top);
}

TEST_F(ListBoxTest, TypeAheadSelectsChineseItemsAndNotifies)
{
  HWND lb = Make("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_SORT, 10, 10, 150, 120, 7);
  for (const char* t : {"上海", "北京", "天津", "重庆", "上饶"}) Add(lb, t);
  SetFocus(lb);
  ClearLog();
  struct Case {
    const char* typed;
    const char* expect;
  };
  // Sorted by CP936 (pinyin): 北京 上海 上饶 天津 重庆.
  const Case cases[] = {{"天", "天津"}, {"上", "上海"}, {"上", "上饶"}, {"北", "北京"}};
  DWORD t = 0;
  for (const auto& c : cases) {
    Headless::AdvanceTime(t += 2000);  // each a new search
    InputQueue::Text(c.typed);
    Pump();
    int sel = int(SendMessage(lb, LB_GETCURSEL, 0, 0));
    char buf[32] = {};
    SendMessage(lb, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, c.expect) << c.typed;
  }
  EXPECT_EQ(Codes(lb), std::vector<WORD>(4, LBN_SELCHANGE));
}

TEST_F(ListBoxTest, MouseAndKeysSelectAndNotify)
{
  HWND lb = Make("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 200, 1);
  AddMany(lb, 30);
  RECT r1, r3;
  SendMessage(lb, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r1));
  SendMessage(lb, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r3));
  ClearLog();
  Click(lb, 5, r1.top + 2);
  EXPECT_EQ(GetFocus(), lb);
  InputQueue::KeyDown(VK_SHIFT);
  Click(lb, 5, r3.top + 2);
  InputQueue::KeyUp(VK_SHIFT);
  EXPECT_EQ(SendMessage(lb, LB_GETSELCOUNT, 0, 0), 3);
  Key(VK_END);
  EXPECT_EQ(SendMessage(lb, LB_GETSELCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessage(lb, LB_GETCARETINDEX, 0, 0), 29);
  EXPECT_GT(SendMessage(lb, LB_GETTOPINDEX, 0, 0), 0) << "the caret is scrolled into view";
  EXPECT_EQ(Codes(lb), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));
  // The item under a point, and outside the items.
  EXPECT_EQ(SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 0)),
            MAKELPARAM(int(SendMessage(lb, LB_GETTOPINDEX, 0, 0)), 0));
}

TEST_F(ListBoxTest, OwnerDrawsItsItemsWithTheirStates)
{
  OnMeasureItem = [](MEASUREITEMSTRUCT& mi) { mi.itemHeight = 20 + (mi.itemID == 1 ? 10 : 0); };
  HWND lb = Make("LISTBOX", "", LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 200, 9);
  for (LPARAM d : {100, 200, 300}) SendMessage(lb, LB_ADDSTRING, 0, d);
  EXPECT_EQ(SendMessage(lb, LB_GETITEMHEIGHT, 1, 0), 30);
  EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 2, 0), 300) << "without strings an item is its data";
  SendMessage(lb, LB_SETCURSEL, 2, 0);
  SetFocus(lb);
  Drawn.clear();
  InvalidateRect(lb, nullptr, TRUE);
  Pump();
  ASSERT_EQ(Drawn.size(), 3u);
  EXPECT_EQ(Drawn[2].CtlType, ODT_LISTBOX);
  EXPECT_EQ(Drawn[2].CtlID, 9u);
  EXPECT_EQ(Drawn[2].itemData, 300u);
  EXPECT_EQ(Drawn[2].itemState & (ODS_SELECTED | ODS_FOCUS), ODS_SELECTED | ODS_FOCUS);
  EXPECT_EQ(Drawn[1].rcItem.top, 20);
  EXPECT_EQ(Drawn[1].rcItem.bottom, 50);
  EXPECT_EQ(Drawn[0].itemState, 0u);
}

TEST_F(ListBoxTest, MultiColumnListsFlowDownColumnsAndScrollSideways)
{
  HWND lb = Make("LISTBOX", "", WS_HSCROLL | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT, 10, 10, 200, 120, 1);
  SendMessage(lb, LB_SETCOLUMNWIDTH, 60, 0);
  AddMany(lb, 40);
  RECT first, r;
  SendMessage(lb, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  int h = first.bottom - first.top;
  RECT c;
  GetClientRect(lb, &c);
  int rows = c.bottom / h;
  SendMessage(lb, LB_GETITEMRECT, WPARAM(rows), reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 60) << "the next column starts after a full one";
  EXPECT_EQ(r.top, 0);
  EXPECT_TRUE(Bar(lb, OBJID_HSCROLL).visible);
  EXPECT_FALSE(Bar(lb, OBJID_VSCROLL).visible);
  // Scrolling by a column moves the top index by a column of rows; Right moves the caret so.
  SendMessage(lb, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX, 0, 0), rows);
  SendMessage(lb, LB_SETCURSEL, 1, 0);
  SetFocus(lb);
  Key(VK_RIGHT);
  EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 1 + rows);
}

TEST_F(ListBoxTest, SortedOwnerItemsAskTheOwnerToCompare)
{
  int asked = 0;
  HWND lb = Make("LISTBOX", "", LBS_OWNERDRAWFIXED | LBS_SORT, 10, 10, 100, 100, 1);
  // The owner orders by item data, largest first.
  WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Parent, GWL_WNDPROC));
  static WNDPROC sOld;
  static int* sAsked;
  sOld = old;
  sAsked = &asked;
  SetWindowLongPtr(Parent, GWL_WNDPROC,
                   reinterpret_cast<LONG_PTR>(+[](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
                     if (msg == WM_COMPAREITEM) {
                       ++*sAsked;
                       auto* ci = reinterpret_cast<COMPAREITEMSTRUCT*>(lp);
                       return ci->itemData1 > ci->itemData2 ? -1 : ci->itemData1 < ci->itemData2 ? 1 : 0;
                     }
                     return CallWindowProc(sOld, w, msg, wp, lp);
                   }));
  for (LPARAM d : {5, 9, 1, 7}) SendMessage(lb, LB_ADDSTRING, 0, d);
  EXPECT_GT(asked, 0);
  std::vector<LRESULT> got;
  for (int i = 0; i < 4; ++i) got.push_back(SendMessage(lb, LB_GETITEMDATA, WPARAM(i), 0));
  EXPECT_EQ(got, (std::vector<LRESULT>{9, 7, 5, 1}));
  SetWindowLongPtr(Parent, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old));
}
