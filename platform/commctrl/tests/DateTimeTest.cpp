// The date-time picker: formats and field editing of its model as tables through one checking
// function; the tick box round-tripping GDT_NONE; the parent's notifications for keys, the tick
// box and the dropped calendar; pickers ticked and unticked drawn into a PNG.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/datetime/DateTime.h"
#include "platform/commctrl/datetime/DateTimeModel.h"
#include "platform/commctrl/tests/CtlTest.h"
#include "platform/commctrl/tests/MonthCalTestUtil.h"
#include "platform/commctrl/tests/NotifySpy.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/rtl/DateTime.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
  return SysUtils::EncodeDate(Word(y), Word(m), Word(d)) + SysUtils::EncodeTime(Word(h), Word(n), Word(s), 0);
}

SYSTEMTIME St(int y, int m, int d, int h = 0, int n = 0) { return SystemTime::FromDateTime(At(y, m, d, h, n)); }

std::string Text(const SYSTEMTIME& st)
{
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}

// Runs keys on a model: L and R move between fields, U and D step, digits are typed, '.' settles.
// Answers the text after them and how many of them changed the value.
std::string Edit(DateTimeModel& m, const std::string& keys, int* changes = nullptr)
{
  int changed = 0;
  for (char k : keys) {
    bool c = false;
    switch (k) {
      case 'L': m.MoveField(-1); break;
      case 'R': m.MoveField(1); break;
      case 'U': c = m.Step(1); break;
      case 'D': c = m.Step(-1); break;
      case '.': m.Settle(); break;
      default: c = m.TypeDigit(k); break;
    }
    changed += c;
  }
  if (changes) *changes = changed;
  return m.Text();
}

class DateTimeTest : public CtlTest {
public:
  void SetUp() override
  {
    CtlTest::SetUp();
    InitCommonControls();
    Spy.Install(Parent, [this](const NMHDR* h) {
      if (h->code == DTN_DATETIMECHANGE) {
        auto* n = reinterpret_cast<const NMDATETIMECHANGE*>(h);
        return n->dwFlags == DWORD(GDT_NONE) ? std::string("change none") : "change " + Text(n->st);
      }
      if (h->code == DTN_DROPDOWN) {
        DroppedCalendar = reinterpret_cast<HWND>(SendMessage(h->hwndFrom, DTM_GETMONTHCAL, 0, 0));
        return std::string("dropdown");
      }
      if (h->code == DTN_CLOSEUP) return std::string("closeup");
      return std::string();
    });
  }
  // A picker showing 31 March 2026 10:20, the first field chosen.
  HWND Picker(DWORD style, int y = 10, int id = 70)
  {
    HWND p = Make(DATETIMEPICK_CLASS, "", style | WS_TABSTOP, 10, y, 180, 22, id, WS_EX_CLIENTEDGE);
    SYSTEMTIME st = St(2026, 3, 31, 10, 20);
    EXPECT_TRUE(SendMessage(p, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    Spy.Seen.clear();
    return p;
  }
  std::string Shown(HWND p) { return GetWindowText(p); }
  LRESULT Get(HWND p, SYSTEMTIME* st) { return SendMessage(p, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(st)); }
  NotifySpy Spy;
  HWND DroppedCalendar = nullptr;
};

}  // namespace

// Whether any pixel of a client rectangle has the colour.
bool Has(HWND wnd, RECT r, COLORREF c)
{
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Headless::ClientPixel(wnd, x, y) == c) return true;
  return false;
}

TEST(DateTimeModel, LocaleFormatsBecomeFieldsAndShowTheValue)
{
  struct Case {
    const char* locale;  // a locale format, or null when `format` is used as it stands
    const char* format;
    const char* text;  // of 2026-03-31 14:05:09
  } cases[] = {
      {"yyyy-mm-dd", "yyyy-MM-dd", "2026-03-31"},
      {"h:mm:ss", "H:mm:ss", "14:05:09"},
      {"hh:nn am/pm", "hh:mm tt", "02:05 下午"},
      {"yyyy'年'm'月'd'日'", "yyyy'年'M'月'd'日'", "2026年3月31日"},
      {"yy/m/d", "yy-M-d", "26-3-31"},
      {"yyyy-mm-dd hh:nn:ss", "yyyy-MM-dd HH:mm:ss", "2026-03-31 14:05:09"},
      {nullptr, "dddd MMMM", "星期二 三月"},
      {nullptr, "'It''s' d 'of' MMM", "It's 31 of 三月"},
      {nullptr, "<>", "<>"},
  };
  for (const Case& k : cases) {
    if (k.locale) {
      EXPECT_EQ(DateTimeModel::FromLocaleFormat(k.locale), k.format) << k.locale;
    }
    DateTimeModel m(k.format);
    ASSERT_TRUE(m.SetValue(At(2026, 3, 31, 14, 5, 9)));
    EXPECT_EQ(m.Text(), k.text) << k.format;
  }
  DateTimeModel none("<>");
  EXPECT_EQ(none.Current(), -1);
  EXPECT_FALSE(none.Step(1));
  EXPECT_FALSE(none.TypeDigit('1'));
}

TEST(DateTimeModel, FieldKeysStepTypeAndClampTheDay)
{
  struct Case {
    const char* what;
    const char* format;
    const char* keys;
    const char* text;
    int changes;
  } cases[] = {
      {"31 March plus one month", "yyyy-MM-dd", "RU", "2026-04-30", 1},
      {"and back keeps the 30th", "yyyy-MM-dd", "RUD", "2026-03-30", 2},
      {"the day wraps inside its month", "yyyy-MM-dd", "RRU", "2026-03-01", 1},
      {"January wraps to December of the same year", "yyyy-MM-dd", "RDDD", "2026-12-28", 3},
      {"Left stays on the first field", "yyyy-MM-dd", "LLU", "2027-03-31", 1},
      {"Right stays on the last field", "yyyy-MM-dd", "RRRRRU", "2026-03-01", 1},
      {"a leap day's year stepped", "yyyy-MM-dd", "2024R02R29LLU", "2025-02-28", 5},
      {"the year is taken at its fourth digit", "yyyy-MM-dd", "202", "202-03-31", 0},
      {"a partial year is dropped on leaving", "yyyy-MM-dd", "202R", "2026-03-31", 0},
      {"2028 with 31 March", "yyyy-MM-dd", "2028", "2028-03-31", 1},
      {"two digits of a day", "yyyy-MM-dd", "RR15", "2026-03-15", 2},
      {"a digit no second can follow", "yyyy-MM-dd", "RR4", "2026-03-04", 1},
      {"31 typed into April is clamped", "yyyy-MM-dd", "RURR31", "2026-04-30", 3},
      {"a month beyond twelve starts over", "yyyy-MM-dd", "R13", "2026-03-31", 2},
      {"a leading zero waits", "yyyy-MM-dd", "R0", "2026-0-31", 0},
      {"then the digit completes it", "yyyy-MM-dd", "R02", "2026-02-28", 1},
      {"hours past 23 start over", "HH:mm", "25", "05:20", 2},
      {"minutes wrap", "HH:mm", "RD", "10:19", 1},
      {"the afternoon toggles", "hh:mm tt", "RRU", "10:20 下午", 1},
      {"two-digit years keep the century", "yy-MM-dd", "99", "99-03-31", 1},
  };
  for (const Case& k : cases) {
    DateTimeModel m(k.format);
    ASSERT_TRUE(m.SetValue(At(2026, 3, 31, 10, 20)));
    int changes = 0;
    EXPECT_EQ(Edit(m, k.keys, &changes), k.text) << k.what;
    EXPECT_EQ(changes, k.changes) << k.what;
  }
}

TEST(DateTimeModel, TheRangeHoldsTheValue)
{
  DateTimeModel m("yyyy-MM-dd");
  ASSERT_TRUE(m.SetValue(At(2026, 3, 31)));
  EXPECT_FALSE(m.SetRange(GDTR_MIN | GDTR_MAX, At(2026, 5, 1), At(2026, 4, 1)));
  ASSERT_TRUE(m.SetRange(GDTR_MIN | GDTR_MAX, At(2026, 1, 1), At(2026, 3, 15)));
  EXPECT_EQ(m.Text(), "2026-03-15") << "moved inside";
  EXPECT_FALSE(m.SetValue(At(2026, 3, 16)));
  EXPECT_EQ(Edit(m, "U"), "2026-03-15") << "a year on is beyond the maximum";
  EXPECT_EQ(Edit(m, "D"), "2026-01-01") << "a year back is before the minimum";
  EXPECT_FALSE(m.SetValue(At(1700, 1, 1)));
}

TEST_F(DateTimeTest, TheTickBoxRoundTripsNone)
{
  HWND p = Picker(DTS_SHOWNONE);
  HWND plain = Picker(0, 40, 71);
  SYSTEMTIME st{};
  SYSTEMTIME bad = St(2026, 3, 31);
  bad.wDay = 32;
  struct Case {
    const char* what;
    HWND wnd;
    WPARAM flag;
    const SYSTEMTIME* value;
    LRESULT answer;
    LRESULT got;
  } cases[] = {
      {"ticked at first", p, WPARAM(-1), nullptr, 0, GDT_VALID},
      {"unticked by GDT_NONE", p, GDT_NONE, nullptr, TRUE, GDT_NONE},
      {"ticked by a value", p, GDT_VALID, &st, TRUE, GDT_VALID},
      {"no box: GDT_NONE refused", plain, GDT_NONE, nullptr, FALSE, GDT_VALID},
      {"an invalid day refused", plain, GDT_VALID, &bad, FALSE, GDT_VALID},
      {"no structure refused", plain, GDT_VALID, nullptr, FALSE, GDT_VALID},
      {"an unknown flag refused", p, 7, &st, FALSE, GDT_VALID},
  };
  st = St(2027, 1, 2);
  for (const Case& k : cases) {
    if (k.flag != WPARAM(-1)) {
      EXPECT_EQ(SendMessage(k.wnd, DTM_SETSYSTEMTIME, k.flag, reinterpret_cast<LPARAM>(k.value)), k.answer) << k.what;
    }
    SYSTEMTIME out;
    EXPECT_EQ(Get(k.wnd, &out), k.got) << k.what;
  }
  SYSTEMTIME out;
  SendMessage(p, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  EXPECT_EQ(Get(p, &out), GDT_NONE);
  EXPECT_EQ(Text(out), "2027-1-2") << "the date stays while unticked";
  EXPECT_EQ(SendMessage(p, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
  EXPECT_TRUE(Spy.Seen.empty()) << "messages notify nobody";

  // The user ticks and unticks: with the mouse on the box and with Space.
  SetFocus(p);
  Click(p, 8, 11);
  Key(VK_SPACE);
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"change 2027-1-2", "change none"}));
  EXPECT_EQ(Get(p, &out), GDT_NONE);
  // Unticked, the fields take no keys.
  Spy.Seen.clear();
  Key(VK_UP);
  SendMessage(p, WM_CHAR, '5', 0);
  EXPECT_TRUE(Spy.Seen.empty());
}

TEST_F(DateTimeTest, FieldKeysTellTheParent)
{
  HWND p = Picker(0);
  SetFocus(p);
  struct Case {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> seen;
    const char* text;
  } cases[] = {
      {"Right then Up: 31 March plus one month",
       [&] {
         Key(VK_RIGHT);
         Key(VK_UP);
       },
       {"change 2026-4-30"},
       "2026-04-30"},
      {"Left and Right alone",
       [&] {
         Key(VK_RIGHT);
         Key(VK_LEFT);
       },
       {},
       "2026-04-30"},
      {"digits typed into the day",
       [&] {
         Key(VK_RIGHT);
         Key('0');
         Key('9');
       },
       {"change 2026-4-9"},
       "2026-04-09"},
      {"a click on the year then Down",
       [&] {
         Click(p, 12, 11);
         Key(VK_DOWN);
       },
       {"change 2025-4-9"},
       "2025-04-09"},
  };
  for (const Case& k : cases) {
    Spy.Seen.clear();
    k.act();
    EXPECT_EQ(Spy.Seen, k.seen) << k.what;
    EXPECT_EQ(Shown(p), k.text) << k.what;
  }
  // The range stops the steps; the time kind has its own fields and arrows.
  SYSTEMTIME range[2] = {St(2025, 1, 1), St(2025, 4, 20)};
  EXPECT_TRUE(SendMessage(p, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
  Spy.Seen.clear();
  Key(VK_UP);
  EXPECT_EQ(Shown(p), "2025-04-20");
  HWND time = Picker(DTS_TIMEFORMAT, 40, 72);
  EXPECT_EQ(Shown(time), "10:20:00");
  RECT c;
  GetClientRect(time, &c);
  Click(time, c.right - 5, 4);  // the up arrow
  EXPECT_EQ(Shown(time), "11:20:00");
  EXPECT_TRUE(SendMessage(time, DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>("HH'时'mm'分'")));
  EXPECT_EQ(Shown(time), "11时20分");
  SendMessage(time, DTM_SETFORMAT, 0, 0);
  EXPECT_EQ(Shown(time), "11:20:00") << "back to the style's format";
}

TEST_F(DateTimeTest, TheDroppedCalendarChoosesADayAndCloses)
{
  HWND p = Picker(DTS_SHOWNONE);
  SendMessage(p, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  SetFocus(p);
  RECT c;
  GetClientRect(p, &c);
  EXPECT_EQ(SendMessage(p, DTM_GETMONTHCAL, 0, 0), 0);
  Click(p, c.right - 5, c.bottom / 2);
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"dropdown"}));
  ASSERT_TRUE(DroppedCalendar) << "DTM_GETMONTHCAL answers during DTN_DROPDOWN";
  EXPECT_TRUE(IsWindowVisible(DroppedCalendar));
  SYSTEMTIME sel;
  SendMessage(DroppedCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
  EXPECT_EQ(Text(sel), "2026-3-31");
  RECT pw, cw;
  GetWindowRect(p, &pw);
  GetWindowRect(DroppedCalendar, &cw);
  EXPECT_EQ(cw.top, pw.bottom) << "under the picker";
  EXPECT_EQ(cw.left, pw.left);

  // A day clicked: taken with the time kept, the box ticked, then the calendar closes.
  Spy.Seen.clear();
  POINT day = DayCell(DroppedCalendar, 2026, 3, 12);
  Click(DroppedCalendar, day.x, day.y);
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"change 2026-3-12", "closeup"}));
  EXPECT_FALSE(IsWindowVisible(DroppedCalendar));
  EXPECT_EQ(SendMessage(p, DTM_GETMONTHCAL, 0, 0), 0);
  SYSTEMTIME out;
  EXPECT_EQ(Get(p, &out), GDT_VALID);
  EXPECT_EQ(out.wHour, 10);
  EXPECT_EQ(out.wMinute, 20);

  // Closed unchanged: by Escape, by Alt+Down, by a click elsewhere.
  struct Case {
    const char* what;
    std::function<void()> close;
  } cases[] = {
      {"Escape", [&] { Key(VK_ESCAPE); }},
      {"F4", [&] { Key(VK_F4); }},
      {"a click on the parent", [&] { Click(Parent, 300, 200); }},
      {"a click on the picker's button", [&] { Click(p, c.right - 5, c.bottom / 2); }},
  };
  for (const Case& k : cases) {
    AltKey(VK_DOWN);
    ASSERT_TRUE(SendMessage(p, DTM_GETMONTHCAL, 0, 0)) << k.what;
    Spy.Seen.clear();
    Key(VK_RIGHT);  // moves the calendar's selection, not the picker's value
    k.close();
    EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"closeup"})) << k.what;
    EXPECT_EQ(SendMessage(p, DTM_GETMONTHCAL, 0, 0), 0) << k.what;
    EXPECT_EQ(Shown(p), "2026-03-12") << k.what;
  }
  // Enter in the calendar chooses its selection.
  AltKey(VK_DOWN);
  Spy.Seen.clear();
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Spy.Seen, (std::vector<std::string>{"change 2026-3-19", "closeup"}));
  // The calendar gets the picker's range.
  SYSTEMTIME range[2] = {St(2026, 3, 1), St(2026, 3, 25)};
  SendMessage(p, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
  AltKey(VK_DOWN);
  SYSTEMTIME got[2];
  EXPECT_EQ(SendMessage(DroppedCalendar, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), LRESULT(GDTR_MIN | GDTR_MAX));
  EXPECT_EQ(Text(got[1]), "2026-3-25");
  Key(VK_ESCAPE);
  DestroyWindow(p);
}

TEST_F(DateTimeTest, DrawnTickedUntickedAndOpen)
{
  HWND ticked = Picker(DTS_SHOWNONE, 10, 70);
  HWND unticked = Picker(DTS_SHOWNONE, 40, 71);
  SendMessage(unticked, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  Picker(DTS_LONGDATEFORMAT, 70, 72);
  Picker(DTS_TIMEFORMAT, 100, 73);
  HWND open = Picker(0, 130, 74);
  SetFocus(ticked);
  Pump();
  // The box's tick in the window text colour, an empty box without it; the focused picker's
  // first field on the highlight.
  RECT box{4, 4, 14, 14}, field{19, 2, 50, 16};
  EXPECT_TRUE(Has(ticked, box, GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_FALSE(Has(unticked, box, GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_TRUE(Has(ticked, field, GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_FALSE(Has(unticked, field, GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_FALSE(Has(unticked, field, GetSysColor(COLOR_WINDOWTEXT))) << "unticked, the text is grey";
  SavePng("datetime");
  SetFocus(open);
  AltKey(VK_DOWN);
  ASSERT_TRUE(DroppedCalendar);
  EXPECT_EQ(Headless::ClientPixel(DroppedCalendar, 40, 5), GetSysColor(COLOR_ACTIVECAPTION));
  SavePng("datetime_dropped");
  Key(VK_ESCAPE);
}
