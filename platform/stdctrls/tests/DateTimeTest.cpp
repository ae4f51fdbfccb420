// Date-time pickers and month calendars on a headless form: kinds and formats, the day and
// the time set apart, the tick box, the user's changes as events, the calendar's own size.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/commctrl/datetime/DateTime.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/DateTimePicker.h"
#include "platform/stdctrls/comctrls/MonthCalendar.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

class DateTimeControlsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    // The locale the program fixes at start-up.
    SavedShort = SysUtils::ShortDateFormat;
    SavedLong = SysUtils::LongDateFormat;
    SavedTime = SysUtils::LongTimeFormat;
    SysUtils::ShortDateFormat = "yyyy-mm-dd";
    SysUtils::LongDateFormat = "yyyy'年'm'月'd'日'";
    SysUtils::LongTimeFormat = "hh:nn:ss";
    Form = MakeForm(400, 300);
    Picker = new TDateTimePicker(Owner.get());
    Picker->SetParent(Form);
    Picker->SetBounds(10, 10, 200, 21);
    Picker->OnChange = [this](TObject*) { ++Changes; };
  }
  void TearDown() override
  {
    FormsTest::TearDown();
    SysUtils::ShortDateFormat = SavedShort;
    SysUtils::LongDateFormat = SavedLong;
    SysUtils::LongTimeFormat = SavedTime;
  }
  std::string Shown()
  {
    char text[128] = {};
    Windows::GetWindowText(Picker->GetHandle(), text, sizeof text);
    return text;
  }
  void Key(int Vk, bool Alt = false)
  {
    if (Alt) InputQueue::KeyDown(VK_MENU);
    InputQueue::KeyDown(Vk);
    InputQueue::KeyUp(Vk);
    if (Alt) InputQueue::KeyUp(VK_MENU);
    Pump();
  }
  // Before 1899-12-30 the day counts down while the time of day still counts up.
  static TDateTime At(int Y, int M, int D, int H = 0, int N = 0, int S = 0)
  {
    double day = SysUtils::EncodeDate(Word(Y), Word(M), Word(D)).Value;
    double time = SysUtils::EncodeTime(Word(H), Word(N), Word(S), 0).Value;
    return TDateTime(day < 0 ? day - time : day + time);
  }
  AnsiString SavedShort, SavedLong, SavedTime;
  TForm* Form = nullptr;
  TDateTimePicker* Picker = nullptr;
  int Changes = 0;
};

}  // namespace

TEST_F(DateTimeControlsTest, KindsAndFormatsShowTheValue)
{
  Picker->SetDateTime(At(2026, 3, 9, 14, 5, 9));
  Form->Show();
  struct Case {
    TDateTimeKind kind;
    TDTDateFormat format;
    TDTDateMode mode;
    const char* shown;
  };
  const Case cases[] = {
      {dtkDate, dfShort, dmComboBox, "2026-03-09"},
      {dtkDate, dfLong, dmComboBox, "2026年3月9日"},
      {dtkDate, dfShort, dmUpDown, "2026-03-09"},
      {dtkTime, dfShort, dmComboBox, "14:05:09"},
  };
  for (const Case& c : cases) {
    Picker->SetKind(c.kind);
    Picker->SetDateFormat(c.format);
    Picker->SetDateMode(c.mode);
    EXPECT_EQ(Shown(), c.shown);
  }
  EXPECT_EQ(Changes, 0) << "the program's changes are no events";
}

TEST_F(DateTimeControlsTest, DayAndTimeAreSetApart)
{
  struct Case {
    const char* what;
    TDateTime start;
    bool setDate;
    TDateTime value;
    TDateTime expected;
  };
  const Case cases[] = {
      {"a new day keeps the time", At(2026, 3, 9, 14, 5), true, At(2027, 1, 2, 8, 0), At(2027, 1, 2, 14, 5)},
      {"a new time keeps the day", At(2026, 3, 9, 14, 5), false, At(1999, 1, 1, 8, 30), At(2026, 3, 9, 8, 30)},
      {"a day before 1899 keeps the time", At(2026, 3, 9, 6), true, At(1899, 12, 28), At(1899, 12, 28, 6)},
      {"a time on a day before 1899", At(1899, 12, 28, 6), false, At(2026, 1, 1, 18), At(1899, 12, 28, 18)},
  };
  for (bool windowed : {false, true}) {
    if (windowed) Form->Show();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (windowed ? " (window)" : ""));
      Picker->SetDateTime(c.start);
      if (c.setDate)
        Picker->SetDate(c.value);
      else
        Picker->SetTime(c.value);
      EXPECT_NEAR(Picker->GetDateTime().Value, c.expected.Value, 1e-6);
      if (windowed) {
        SYSTEMTIME st;
        Windows::SendMessage(Picker->GetHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        EXPECT_NEAR(SystemTime::ToDateTime(st).Value, c.expected.Value, 1e-6);
      }
    }
  }
  EXPECT_THROW(Picker->SetDateTime(TDateTime(-700000.0)), EConvertError);
  EXPECT_THROW(Picker->SetDateTime(TDateTime(3000000.0)), EConvertError);
  EXPECT_THROW(Picker->SetDateTime(TDateTime(NAN)), EConvertError);
}

TEST_F(DateTimeControlsTest, UserChangesAndTheTickBoxAreEvents)
{
  Picker->SetDateTime(At(2026, 3, 9));
  Picker->SetShowCheckbox(true);
  Picker->SetChecked(false);
  Form->Show();
  EXPECT_FALSE(Picker->GetChecked());
  SYSTEMTIME st;
  EXPECT_EQ(Windows::SendMessage(Picker->GetHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_NONE);

  Picker->SetFocus();
  Key(VK_SPACE);  // ticks the box
  EXPECT_TRUE(Picker->GetChecked());
  EXPECT_EQ(Changes, 1);
  Key(VK_UP);  // the year field steps
  EXPECT_EQ(Changes, 2);
  EXPECT_NEAR(Picker->GetDateTime().Value, At(2027, 3, 9).Value, 1e-6);
  Key(VK_SPACE);
  EXPECT_FALSE(Picker->GetChecked());
  EXPECT_NEAR(Picker->GetDateTime().Value, At(2027, 3, 9).Value, 1e-6) << "unticked keeps the value";
  EXPECT_EQ(Changes, 3);

  // The calendar drops down and closes with its events.
  std::vector<std::string> log;
  Picker->SetShowCheckbox(false);
  Picker->OnDropDown = [&](TObject*) { log.push_back("down"); };
  Picker->OnCloseUp = [&](TObject*) { log.push_back("up"); };
  Picker->SetFocus();
  Key(VK_DOWN, true);
  EXPECT_TRUE(Picker->GetDroppedDown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(Picker->GetDroppedDown());
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up"}));
  EXPECT_TRUE(Picker->GetChecked()) << "without the box it is always checked";
}

TEST_F(DateTimeControlsTest, MonthCalendarTakesItsOwnSizeAndTheChosenDay)
{
  auto* calendar = new TMonthCalendar(Owner.get());
  calendar->SetParent(Form);
  calendar->SetLeft(10);
  calendar->SetTop(40);
  calendar->SetDate(At(2026, 3, 9, 15));
  EXPECT_EQ(calendar->GetDate().Value, At(2026, 3, 9).Value) << "a day, no time";
  Form->Show();
  RECT need{};
  HWND h = calendar->GetHandle();
  ASSERT_TRUE(Windows::SendMessage(h, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need)));
  RECT client{};
  Windows::GetClientRect(h, &client);
  EXPECT_EQ(client.right, need.right);
  EXPECT_EQ(client.bottom, need.bottom);
  int small = calendar->GetWidth();
  calendar->GetFont()->SetSize(14);
  EXPECT_GT(calendar->GetWidth(), small) << "a bigger font makes a bigger calendar";
  EXPECT_EQ(reinterpret_cast<HFONT>(Windows::SendMessage(h, WM_GETFONT, 0, 0)), calendar->GetFont()->GetHandle())
      << "the window has the changed font, not the one deleted";
  Windows::GetClientRect(h, &client);
  Windows::SendMessage(h, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  EXPECT_EQ(client.right, need.right);

  SYSTEMTIME st;
  Windows::SendMessage(h, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(st.wDay, 9);

  // Click the 20th.
  int selected = 0;
  calendar->OnSelect = [&](TObject*) { ++selected; };
  POINT twentieth{-1, -1};
  for (int y = 0; y < client.bottom && twentieth.x < 0; y += 2)
    for (int x = 0; x < client.right; x += 2) {
      MCHITTESTINFO hit;
      hit.pt = POINT{x, y};
      Windows::SendMessage(h, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == 20) {
        twentieth = hit.pt;
        break;
      }
    }
  ASSERT_GE(twentieth.x, 0);
  POINT p = calendar->ClientToScreen(twentieth);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_EQ(calendar->GetDate().Value, At(2026, 3, 20).Value);
  EXPECT_EQ(selected, 1);
  EXPECT_THROW(calendar->SetDate(TDateTime(-800000.0)), EConvertError);
}
