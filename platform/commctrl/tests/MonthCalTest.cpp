// The month calendar: its model's grid, months and range as tables; the size one month needs in
// the project's fonts; the parent's notifications for clicks, buttons and keys; hit testing; the
// calendar drawn into a PNG with its colours checked.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/commctrl/monthcal/MonthCalModel.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/MonthCalTestUtil.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/Headless.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

int Day(int y, int m, int d) { return MonthCalModel::DateOf(y, m, d); }

std::string Text(int date)
{
  int y, m, d;
  MonthCalModel::Split(date, y, m, d);
  return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

SYSTEMTIME St(int y, int m, int d)
{
  SYSTEMTIME st;
  st.wYear = WORD(y);
  st.wMonth = WORD(m);
  st.wDay = WORD(d);
  return st;
}

std::string Text(const SYSTEMTIME& st)
{
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}

class MonthCalTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
    Spy.Install(Parent, [](const NMHDR* h) {
      auto* n = reinterpret_cast<const NMSELCHANGE*>(h);
      if (h->code == MCN_SELCHANGE) return "change " + Text(n->stSelStart);
      if (h->code == MCN_SELECT) return "select " + Text(n->stSelStart);
      return std::string();
    });
  }
  // A calendar at its minimum size with today pinned to 15 March 2026 and 31 March selected.
  HWND Calendar(DWORD style = 0)
  {
    HWND c = Make(MONTHCAL_CLASS, "", style, 10, 10, 10, 10, 60);
    SYSTEMTIME today = St(2026, 3, 15), sel = St(2026, 3, 31);
    SendMessage(c, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&today));
    SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
    RECT r;
    SendMessage(c, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
    SetWindowPos(c, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Spy.Seen.clear();
    return c;
  }
  POINT Where(HWND c, int y, int m, int d)
  {
    POINT p = DayCell(c, y, m, d);
    if (p.x < 0) ADD_FAILURE() << "no cell for " << y << "-" << m << "-" << d;
    return p;
  }
  POINT FindHit(HWND c, UINT want)
  {
    POINT p = FindInCalendar(c, [&](UINT hit, const SYSTEMTIME&) { return hit == want; });
    if (p.x < 0) ADD_FAILURE() << "no point hits " << std::hex << want;
    return p;
  }
  std::string Sel(HWND c)
  {
    SYSTEMTIME st;
    SendMessage(c, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    return Text(st);
  }
  NotifySpy Spy;
};

}  // namespace

TEST(MonthCalModel, TheGridStartsOnTheFirstDayOfTheWeekAndShowsTheMonthBefore)
{
  struct Case {
    int year, month, firstDay;  // 0 = Monday .. 6 = Sunday
    const char* start;
  } cases[] = {
      {2026, 3, 6, "2026-2-22"},    // 1 March 2026 is a Sunday: a whole week of February first
      {2026, 3, 0, "2026-2-23"},    // starting on Monday
      {2026, 12, 6, "2026-11-29"},  // 1 December 2026 is a Tuesday
      {2024, 2, 6, "2024-1-28"},   {1753, 1, 6, "1752-12-31"},
  };
  for (const Case& k : cases) {
    MonthCalModel m;
    EXPECT_EQ(m.FirstDayOfWeek(), 6) << "Sunday from the locale";
    m.SetFirstDayOfWeek(k.firstDay);
    m.ShowMonth(k.year, k.month);
    EXPECT_EQ(Text(m.GridStart()), k.start) << k.year << "-" << k.month << " first day " << k.firstDay;
    EXPECT_EQ(m.DayNameIndex(0), (k.firstDay + 1) % 7);
    EXPECT_EQ(m.CellOf(m.GridStart() + 41), 41);
    EXPECT_EQ(m.CellOf(m.GridStart() + 42), -1);
  }
}

TEST(MonthCalModel, MonthsAndTheRangeKeepTheSelectionOnARealDay)
{
  MonthCalModel m;
  ASSERT_TRUE(m.SetSelection(Day(2026, 3, 31)));
  EXPECT_EQ(m.SetFirstDayOfWeek(7), 6) << "refused";
  EXPECT_TRUE(m.FirstDayFromLocale());
  struct Case {
    const char* what;
    int months;
    bool moved;
    const char* sel;
  } cases[] = {
      {"31 March plus one month", 1, true, "2026-4-30"},
      {"then back to March keeps the 30th", -1, true, "2026-3-30"},
      {"February of a common year", -1, true, "2026-2-28"},
      {"a leap February", -24, true, "2024-2-28"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(m.MoveMonths(k.months), k.moved) << k.what;
    EXPECT_EQ(Text(m.Selection()), k.sel) << k.what;
  }
  // The range moves the selection inside and stops months and days at its ends.
  EXPECT_FALSE(m.SetRange(GDTR_MIN | GDTR_MAX, Day(2024, 3, 1), Day(2024, 2, 1)));
  ASSERT_TRUE(m.SetRange(GDTR_MIN | GDTR_MAX, Day(2024, 3, 10), Day(2024, 4, 20)));
  EXPECT_EQ(Text(m.Selection()), "2024-3-10");
  EXPECT_FALSE(m.SetSelection(Day(2024, 4, 21)));
  EXPECT_FALSE(m.MoveMonths(-1)) << "February is outside";
  EXPECT_TRUE(m.MoveMonths(1));
  EXPECT_EQ(Text(m.Selection()), "2024-4-10");
  EXPECT_TRUE(m.MoveSelection(30));
  EXPECT_EQ(Text(m.Selection()), "2024-4-20") << "stopped at the maximum";
  EXPECT_FALSE(m.MoveSelection(1));
  int lo, hi;
  EXPECT_EQ(m.Range(lo, hi), GDTR_MIN | GDTR_MAX);
  m.SetRange(0, 0, 0);
  EXPECT_TRUE(m.SetSelection(Day(9999, 12, 31)));
  EXPECT_FALSE(m.MoveSelection(1)) << "the last day the calendar knows";
  EXPECT_EQ(MonthCalModel::FirstDate, Day(1753, 1, 1));
}

TEST_F(MonthCalTest, TheMinimumSizeHoldsOneMonthInTheControlsFont)
{
  HWND c = Calendar();
  RECT small;
  ASSERT_TRUE(SendMessage(c, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&small)));
  EXPECT_FALSE(SendMessage(c, MCM_GETMINREQRECT, 0, 0));
  EXPECT_EQ(small.left, 0);
  EXPECT_EQ(small.top, 0);
  // At that size every part is there: the last cell, the today line, both buttons.
  MCHITTESTINFO h;
  h.pt = {small.right / 2, small.bottom - 4};
  EXPECT_EQ(SendMessage(c, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&h)), LRESULT(MCHT_TODAYLINK));
  EXPECT_EQ(Text(h.st), "2026-3-15");
  POINT last = Where(c, 2026, 4, 4);  // cell 41 of March 2026's grid
  EXPECT_LT(last.y, small.bottom);
  EXPECT_GE(FindHit(c, MCHT_TITLEBTNPREV).x, 0);
  EXPECT_GE(FindHit(c, MCHT_TITLEBTNNEXT).x, 0);
  // The today line's text fits in the width in the default GUI font.
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  AnsiString today = MonthCal::TodayText(Day(2026, 3, 15));
  EXPECT_EQ(today, "今天: 2026-03-15");
  SIZE sz;
  GetTextExtentPoint32(dc, today.c_str(), int(today.size()), &sz);
  DeleteDC(dc);
  EXPECT_GT(small.right, sz.cx);
  // A bigger font asks for more room; without the today line, less height.
  HFONT big = CreateFont(-21, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "宋体");
  SendMessage(c, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
  RECT large;
  SendMessage(c, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&large));
  EXPECT_GT(large.right, small.right);
  EXPECT_GT(large.bottom, small.bottom);
  DestroyWindow(c);
  DeleteObject(big);
  HWND bare = Calendar(MCS_NOTODAY);
  RECT noToday;
  SendMessage(bare, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&noToday));
  EXPECT_LT(noToday.bottom, small.bottom);
}

TEST_F(MonthCalTest, ClicksButtonsAndKeysTellTheParent)
{
  HWND c = Calendar();
  struct Case {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> seen;
    const char* sel;
  } cases[] = {
      {"click a day",
       [&] {
         POINT p = Where(c, 2026, 3, 10);
         Click(c, p.x, p.y);
       },
       {"change 2026-3-10", "select 2026-3-10"},
       "2026-3-10"},
      {"click the same day",
       [&] {
         POINT p = Where(c, 2026, 3, 10);
         Click(c, p.x, p.y);
       },
       {"select 2026-3-10"},
       "2026-3-10"},
      {"click a day of the month before",
       [&] {
         POINT p = Where(c, 2026, 2, 25);
         Click(c, p.x, p.y);
       },
       {"change 2026-2-25", "select 2026-2-25"},
       "2026-2-25"},
      {"next month",
       [&] {
         POINT p = FindHit(c, MCHT_TITLEBTNNEXT);
         Click(c, p.x, p.y);
       },
       {"change 2026-3-25"},
       "2026-3-25"},
      {"Right", [&] { Key(VK_RIGHT); }, {"change 2026-3-26"}, "2026-3-26"},
      {"Down", [&] { Key(VK_DOWN); }, {"change 2026-4-2"}, "2026-4-2"},
      {"Page Down", [&] { Key(VK_NEXT); }, {"change 2026-5-2"}, "2026-5-2"},
      {"End", [&] { Key(VK_END); }, {"change 2026-5-31"}, "2026-5-31"},
      {"Enter", [&] { Key(VK_RETURN); }, {"select 2026-5-31"}, "2026-5-31"},
      {"the today line",
       [&] {
         POINT p = FindHit(c, MCHT_TODAYLINK);
         Click(c, p.x, p.y);
       },
       {"change 2026-3-15", "select 2026-3-15"},
       "2026-3-15"},
      {"the day names do nothing",
       [&] {
         POINT p = FindHit(c, MCHT_CALENDARDAY);
         Click(c, p.x, p.y);
       },
       {},
       "2026-3-15"},
  };
  SetFocus(c);
  for (const Case& k : cases) {
    Spy.Seen.clear();
    k.act();
    Pump();
    EXPECT_EQ(Spy.Seen, k.seen) << k.what;
    EXPECT_EQ(Sel(c), k.sel) << k.what;
  }
  // A day outside the range is not chosen; MCM_SETCURSEL notifies nobody and refuses it too.
  SYSTEMTIME range[2] = {St(2026, 3, 5), St(2026, 3, 20)};
  ASSERT_TRUE(SendMessage(c, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
  Spy.Seen.clear();
  POINT p = Where(c, 2026, 3, 25);
  Click(c, p.x, p.y);
  SYSTEMTIME out = St(2026, 3, 21), in = St(2026, 3, 6), bad = St(2026, 2, 30);
  EXPECT_FALSE(SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_FALSE(SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&bad)));
  EXPECT_TRUE(SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&in)));
  EXPECT_TRUE(Spy.Seen.empty());
  EXPECT_EQ(Sel(c), "2026-3-6");
  SYSTEMTIME got[2];
  EXPECT_EQ(SendMessage(c, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), LRESULT(GDTR_MIN | GDTR_MAX));
  EXPECT_EQ(Text(got[1]), "2026-3-20");
}

TEST_F(MonthCalTest, TheTitlesMonthMenuAndYearUpDownChangeTheMonth)
{
  HWND c = Calendar();
  // The month's name opens a menu of the twelve: the second one (the keys wait in the queue for
  // the menu's loop) shows February, the selection clamped to its last day.
  POINT month = FindHit(c, MCHT_TITLEMONTH);
  POINT screen = month;
  ClientToScreen(c, &screen);
  InputQueue::MouseMove(screen.x, screen.y);
  InputQueue::MouseDown(InputQueue::Button::Left, screen.x, screen.y);
  InputQueue::MouseUp(InputQueue::Button::Left, screen.x, screen.y);
  for (int vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    InputQueue::KeyDown(vk);
    InputQueue::KeyUp(vk);
  }
  Pump();
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"change 2026-2-28"}));
  // The year shows an up-down beside it; its up arrow moves a year on.
  Spy.Seen.clear();
  POINT year = FindHit(c, MCHT_TITLEYEAR);
  Click(c, year.x, year.y);
  HWND spin = GetWindow(c, GW_CHILD);
  ASSERT_TRUE(spin);
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), 2026);
  RECT r;
  GetClientRect(spin, &r);
  Click(spin, r.right / 2, 2);
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"change 2027-2-28"}));
  // A click elsewhere puts the up-down away.
  POINT day = Where(c, 2027, 2, 10);
  Click(c, day.x, day.y);
  EXPECT_FALSE(GetWindow(c, GW_CHILD));
  EXPECT_EQ(Sel(c), "2027-2-10");
}

TEST_F(MonthCalTest, AtTheCalendarsEndsNothingGoesBeyond)
{
  HWND c = Calendar(MCS_WEEKNUMBERS);
  SetFocus(c);
  SYSTEMTIME last = St(9999, 12, 31), first = St(1753, 1, 1);
  ASSERT_TRUE(SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&last)));
  UpdateWindow(c);  // the grid's last weeks lie past 9999
  Spy.Seen.clear();
  Key(VK_RIGHT);
  Key(VK_NEXT);
  POINT next = FindHit(c, MCHT_TITLEBTNNEXT);
  Click(c, next.x, next.y);
  EXPECT_TRUE(Spy.Seen.empty());
  EXPECT_EQ(Sel(c), "9999-12-31");
  ASSERT_TRUE(SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&first)));
  POINT before = Where(c, 1752, 12, 31);
  Click(c, before.x, before.y);
  Key(VK_LEFT);
  EXPECT_TRUE(Spy.Seen.empty());
  EXPECT_EQ(Sel(c), "1753-1-1");
}

TEST_F(MonthCalTest, TheFirstDayOfTheWeekIsSundayUntilSet)
{
  HWND c = Calendar();
  EXPECT_EQ(SendMessage(c, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELPARAM(6, 0));
  EXPECT_EQ(SendMessage(c, MCM_SETFIRSTDAYOFWEEK, 0, 0), MAKELPARAM(6, 0)) << "the previous, the locale's";
  EXPECT_EQ(SendMessage(c, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELPARAM(0, 1));
  // March 2026 on Monday: the first row runs from Monday 23 February to Sunday 1 March.
  POINT firstCell = Where(c, 2026, 2, 23), sunday = Where(c, 2026, 3, 1), monday = Where(c, 2026, 3, 2);
  EXPECT_EQ(firstCell.y, sunday.y);
  EXPECT_GT(sunday.x, firstCell.x);
  EXPECT_GT(monday.y, sunday.y);
  EXPECT_EQ(monday.x, firstCell.x);
  MCHITTESTINFO small;
  small.cbSize = 8;
  EXPECT_EQ(SendMessage(c, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&small)), -1);
}

TEST_F(MonthCalTest, DrawnWithTheTitleTheSelectionAndTodayInTheirColours)
{
  HWND c = Calendar();
  SYSTEMTIME sel = St(2026, 3, 20);
  SendMessage(c, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
  HWND week = Make(MONTHCAL_CLASS, "", MCS_WEEKNUMBERS, 260, 10, 10, 10, 61);
  RECT r;
  SendMessage(week, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
  SetWindowPos(week, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER);
  SavePng("monthcal");
  POINT title = FindHit(c, MCHT_TITLEBK);
  EXPECT_EQ(Headless::ClientPixel(c, title.x, title.y), GetSysColor(COLOR_ACTIVECAPTION));
  POINT selected = Where(c, 2026, 3, 20);
  EXPECT_EQ(Headless::ClientPixel(c, selected.x, selected.y), GetSysColor(COLOR_ACTIVECAPTION));
  POINT other = Where(c, 2026, 3, 19);
  EXPECT_EQ(Headless::ClientPixel(c, other.x, other.y), GetSysColor(COLOR_WINDOW));
  // Today's frame: the first red pixel left of the 15th's centre.
  POINT today = Where(c, 2026, 3, 15);
  bool red = false;
  for (int x = today.x; x > today.x - 30 && !red; --x) red = Headless::ClientPixel(c, x, today.y) == RGB(255, 0, 0);
  EXPECT_TRUE(red);
}
