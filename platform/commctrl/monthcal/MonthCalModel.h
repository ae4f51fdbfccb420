// The month calendar's dates without a window: today, the selected day, the allowed range, the
// shown month and its grid of six weeks starting on the first day of the week.
//
// Dates are whole days in TDateTime's count (days since 1899-12-30). The calendar knows the years
// 1753 to 9999; the range narrows them further.
#pragma once

#include "platform/rtl/System.h"

class MonthCalModel {
public:
  static constexpr int Cells = 42;  // six weeks
  // 1753-01-01 and 9999-12-31.
  static constexpr int FirstDate = -53688, LastDate = 2958465;

  // Today from the clock, the selection on today, the first day of the week from the locale.
  MonthCalModel();

  int Today() const { return FToday; }
  // Pins today to a day (MCM_SETTODAY); ResetToday goes back to the clock's.
  void SetToday(int date);
  void ResetToday();

  int Selection() const { return FSelection; }
  // Selects a day and shows its month; false (nothing changed) outside the range.
  bool SetSelection(int date);
  // Moves the selection by days (keys), kept inside the range; answers whether it moved.
  bool MoveSelection(int days);

  // First day of the week: 0 = Monday .. 6 = Sunday. SetFirstDayOfWeek answers the previous one;
  // FirstDayFromLocale is false once it was set (out-of-range values are refused).
  int FirstDayOfWeek() const { return FFirstDay; }
  bool FirstDayFromLocale() const { return FFirstDayLocale; }
  int SetFirstDayOfWeek(int day);

  // The range (MCM_SETRANGE): `flags` GDTR_MIN and/or GDTR_MAX say which ends hold. The selection
  // is moved inside it. False when min is after max.
  bool SetRange(unsigned flags, int minDate, int maxDate);
  unsigned Range(int& minDate, int& maxDate) const;
  bool InRange(int date) const;
  int Clamp(int date) const;

  int ShownYear() const { return FYear; }
  int ShownMonth() const { return FMonth; }
  // Shows another month: the selection follows to the same day (clamped to the month's last day
  // and into the range). False when no day of that month is in the range.
  bool ShowMonth(int year, int month);
  bool MoveMonths(int delta);

  // The grid: cell 0 is the first day of the week on or before the first of the month, a
  // week earlier when the month starts on that day, so a week of the previous month shows.
  int GridStart() const;
  int CellDate(int cell) const { return GridStart() + cell; }
  // The cell of a date, -1 when it is not on the grid.
  int CellOf(int date) const;
  bool InShownMonth(int date) const;
  // The locale's day-name index (0 = Sunday, as in ShortDayNames) of a grid column.
  int DayNameIndex(int column) const { return (FFirstDay + 1 + column) % 7; }

  static int DateOf(int year, int month, int day);
  static void Split(int date, int& year, int& month, int& day);
  static int DaysIn(int year, int month);

private:
  int FToday, FSelection;
  bool FTodaySet = false;
  int FFirstDay;
  bool FFirstDayLocale = true;
  unsigned FRangeFlags = 0;
  int FMin = 0, FMax = 0;
  int FYear = 0, FMonth = 0;
};
