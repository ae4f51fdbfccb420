// The date-time picker's value and its editing without a window: the format split into fields
// and literal text, the field being edited, steps, typed digits, the tick box and the range.
//
// Formats use the picker's letters: yyyy/yy/y year, MMMM/MMM month name, MM/M month, dddd/ddd day
// name, dd/d day, HH/H 24-hour, hh/h 12-hour, mm/m minute, ss/s second, tt/t the locale's
// morning and afternoon text; 'quoted' text and any other character stand as they are.
// FromLocaleFormat turns the locale's formats ("yyyy-mm-dd", "h:mm:ss") into these letters.
#pragma once

#include <vector>

#include "platform/rtl/System.h"

class DateTimeModel {
public:
  enum class Kind { Literal, Year, Month, Day, DayName, Hour12, Hour24, Minute, Second, AmPm };
  struct Part {
    Kind kind = Kind::Literal;
    int count = 0;    // how many letters made the field
    AnsiString text;  // a literal's text
  };

  // The current date and time, ticked, in the given format.
  explicit DateTimeModel(const AnsiString& format = "yyyy-MM-dd");

  // Replaces the format; the field being edited becomes the first one.
  void SetFormat(const AnsiString& format);
  static std::vector<Part> ParseFormat(const AnsiString& format);
  static AnsiString FromLocaleFormat(const AnsiString& localeFormat);
  const std::vector<Part>& Parts() const { return FParts; }

  // The text of a part as shown (a field being typed into shows the digits typed so far).
  AnsiString PartText(size_t part) const;
  AnsiString Text() const;

  TDateTime Value() const;
  // Sets the value (milliseconds dropped); false, and nothing changed, outside the range.
  bool SetValue(TDateTime value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked) { FChecked = checked; }

  // The range: GDTR_MIN and/or GDTR_MAX; the value is moved inside. False when min is after max.
  bool SetRange(unsigned flags, TDateTime minValue, TDateTime maxValue);
  unsigned Range(TDateTime& minValue, TDateTime& maxValue) const;

  // The field being edited (an index into Parts; -1 when the format has no field).
  int Current() const { return FCurrent; }
  bool SelectPart(int part);
  // Left and Right: the previous or next field, staying at the ends; pending digits are settled.
  bool MoveField(int direction);

  // Up and Down: the field steps (months, days, hours, minutes and seconds wrap around; the day
  // is clamped to the month's last); answers whether the value changed.
  bool Step(int delta);
  // A digit typed into the field; answers whether the value changed. Two-digit fields take a
  // second digit when the pair is a valid value, else start over; a day beyond the month's
  // last is clamped to it. The year is taken when all its digits are typed.
  bool TypeDigit(char digit);
  // Settles the digits typed into the field so far (leaving the field): a year's partial
  // digits are dropped.
  void Settle();

private:
  struct Fields {
    int year, month, day, hour, minute, second;
  };
  bool Apply(Fields f);
  int DigitsFor(Kind kind) const;
  int FirstField() const;

  std::vector<Part> FParts;
  Fields F{};
  bool FChecked = true;
  unsigned FRangeFlags = 0;
  TDateTime FMin, FMax;
  int FCurrent = -1;
  AnsiString FTyped;  // digits typed into the current field, not yet complete
};
