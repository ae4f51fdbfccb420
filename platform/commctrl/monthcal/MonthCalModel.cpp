#include "platform/commctrl/monthcal/MonthCalModel.h"

#include <algorithm>
#include <cmath>

#include "platform/commctrl/monthcal/MonthCal.h"
#include "platform/rtl/DateTime.h"
#include "platform/sys/Locale.h"

int MonthCalModel::DateOf(int year, int month, int day)
{
  return int(SysUtils::EncodeDate(Word(year), Word(month), Word(day)).Value);
}

void MonthCalModel::Split(int date, int& year, int& month, int& day)
{
  Word y, m, d;
  SysUtils::DecodeDate(TDateTime(date), y, m, d);
  year = y;
  month = m;
  day = d;
}

int MonthCalModel::DaysIn(int year, int month) { return SysUtils::MonthDays(Word(year), Word(month)); }

MonthCalModel::MonthCalModel()
    : FToday(int(std::floor(SysUtils::Date().Value))), FSelection(FToday), FFirstDay(Locale::LocaleFirstDayOfWeek())
{
  int d;
  Split(FSelection, FYear, FMonth, d);
}

void MonthCalModel::SetToday(int date)
{
  FToday = std::clamp(date, FirstDate, LastDate);
  FTodaySet = true;
}

void MonthCalModel::ResetToday()
{
  FToday = int(std::floor(SysUtils::Date().Value));
  FTodaySet = false;
}

bool MonthCalModel::SetSelection(int date)
{
  if (!InRange(date)) return false;
  FSelection = date;
  int d;
  Split(date, FYear, FMonth, d);
  return true;
}

bool MonthCalModel::MoveSelection(int days)
{
  int to = Clamp(FSelection + days);
  if (to == FSelection) return false;
  return SetSelection(to);
}

int MonthCalModel::SetFirstDayOfWeek(int day)
{
  int old = FFirstDay;
  if (day < 0 || day > 6) return old;
  FFirstDay = day;
  FFirstDayLocale = false;
  return old;
}

bool MonthCalModel::SetRange(unsigned flags, int minDate, int maxDate)
{
  if ((flags & GDTR_MIN) && (flags & GDTR_MAX) && minDate > maxDate) return false;
  FRangeFlags = flags & (GDTR_MIN | GDTR_MAX);
  FMin = minDate;
  FMax = maxDate;
  if (!InRange(FSelection)) SetSelection(Clamp(FSelection));
  return true;
}

unsigned MonthCalModel::Range(int& minDate, int& maxDate) const
{
  minDate = FMin;
  maxDate = FMax;
  return FRangeFlags;
}

int MonthCalModel::Clamp(int date) const
{
  int lo = (FRangeFlags & GDTR_MIN) ? std::max(FMin, FirstDate) : FirstDate;
  int hi = (FRangeFlags & GDTR_MAX) ? std::min(FMax, LastDate) : LastDate;
  return std::clamp(date, lo, std::max(lo, hi));
}

bool MonthCalModel::InRange(int date) const { return date >= FirstDate && date <= LastDate && Clamp(date) == date; }

bool MonthCalModel::ShowMonth(int year, int month)
{
  if (year < 1753 || year > 9999 || month < 1 || month > 12) return false;
  int first = DateOf(year, month, 1), last = DateOf(year, month, DaysIn(year, month));
  if (Clamp(first) > last || Clamp(last) < first) return false;
  int y, m, d;
  Split(FSelection, y, m, d);
  FSelection = Clamp(DateOf(year, month, std::min(d, DaysIn(year, month))));
  FYear = year;
  FMonth = month;
  return true;
}

bool MonthCalModel::MoveMonths(int delta)
{
  int index = FYear * 12 + (FMonth - 1) + delta;
  return ShowMonth(index / 12, index % 12 + 1);
}

int MonthCalModel::GridStart() const
{
  int first = DateOf(FYear, FMonth, 1);
  // DayOfWeek: 1 = Sunday; in the first-day numbering Monday is 0.
  int weekday = (SysUtils::DayOfWeek(TDateTime(first)) + 5) % 7;
  int lead = (weekday - FFirstDay + 7) % 7;
  return first - (lead == 0 ? 7 : lead);
}

int MonthCalModel::CellOf(int date) const
{
  int cell = date - GridStart();
  return cell >= 0 && cell < Cells ? cell : -1;
}

bool MonthCalModel::InShownMonth(int date) const
{
  int y, m, d;
  Split(date, y, m, d);
  return y == FYear && m == FMonth;
}
