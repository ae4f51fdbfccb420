#include "platform/rtl/FormatSettings.h"

// g++ builds these short texts at compile time; clang 14 cannot with this standard library
// (it only compiles the fuzz targets), so there they are ordinary globals.
#if defined(__clang__)
#define PELTO_TEXT_CONSTINIT
#else
#define PELTO_TEXT_CONSTINIT constinit
#endif

namespace SysUtils {

// Constant-initialized where the text fits the string's inline buffer, so the block is usable
// before any start-up code runs.
PELTO_TEXT_CONSTINIT AnsiString CurrencyString = "￥";
constinit Byte CurrencyFormat = 0;
constinit Byte NegCurrFormat = 2;
constinit char ThousandSeparator = ',';
constinit char DecimalSeparator = '.';
constinit Byte CurrencyDecimals = 2;
constinit char DateSeparator = '-';
PELTO_TEXT_CONSTINIT AnsiString ShortDateFormat = "yyyy-mm-dd";
// Too long for the inline buffer: the one dynamically initialized member of the block.
AnsiString LongDateFormat = "yyyy'年'm'月'd'日'";
constinit char TimeSeparator = ':';
PELTO_TEXT_CONSTINIT AnsiString TimeAMString = "上午";
PELTO_TEXT_CONSTINIT AnsiString TimePMString = "下午";
PELTO_TEXT_CONSTINIT AnsiString ShortTimeFormat = "h:mm";
PELTO_TEXT_CONSTINIT AnsiString LongTimeFormat = "h:mm:ss";
PELTO_TEXT_CONSTINIT std::array<AnsiString, 12> ShortMonthNames = {"一月", "二月", "三月", "四月", "五月",   "六月",
                                                                   "七月", "八月", "九月", "十月", "十一月", "十二月"};
PELTO_TEXT_CONSTINIT std::array<AnsiString, 12> LongMonthNames = {"一月", "二月", "三月", "四月", "五月",   "六月",
                                                                  "七月", "八月", "九月", "十月", "十一月", "十二月"};
PELTO_TEXT_CONSTINIT std::array<AnsiString, 7> ShortDayNames = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
PELTO_TEXT_CONSTINIT std::array<AnsiString, 7> LongDayNames = {"星期日", "星期一", "星期二", "星期三",
                                                               "星期四", "星期五", "星期六"};
constinit Word TwoDigitYearCenturyWindow = 50;
constinit char ListSeparator = ',';

TFormatSettings DefaultFormatSettings()
{
  TFormatSettings s;
  s.CurrencyString = "￥";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 2;
  s.ThousandSeparator = ',';
  s.DecimalSeparator = '.';
  s.CurrencyDecimals = 2;
  s.DateSeparator = '-';
  s.ShortDateFormat = "yyyy-mm-dd";
  s.LongDateFormat = "yyyy'年'm'月'd'日'";
  s.TimeSeparator = ':';
  s.TimeAMString = "上午";
  s.TimePMString = "下午";
  s.ShortTimeFormat = "h:mm";
  s.LongTimeFormat = "h:mm:ss";
  s.ShortMonthNames = {"一月", "二月", "三月", "四月", "五月",   "六月",
                       "七月", "八月", "九月", "十月", "十一月", "十二月"};
  s.LongMonthNames = s.ShortMonthNames;
  s.ShortDayNames = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
  s.LongDayNames = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
  s.TwoDigitYearCenturyWindow = 50;
  s.ListSeparator = ',';
  return s;
}

TFormatSettings GetFormatSettings()
{
  TFormatSettings s;
  s.CurrencyString = CurrencyString;
  s.CurrencyFormat = CurrencyFormat;
  s.NegCurrFormat = NegCurrFormat;
  s.ThousandSeparator = ThousandSeparator;
  s.DecimalSeparator = DecimalSeparator;
  s.CurrencyDecimals = CurrencyDecimals;
  s.DateSeparator = DateSeparator;
  s.ShortDateFormat = ShortDateFormat;
  s.LongDateFormat = LongDateFormat;
  s.TimeSeparator = TimeSeparator;
  s.TimeAMString = TimeAMString;
  s.TimePMString = TimePMString;
  s.ShortTimeFormat = ShortTimeFormat;
  s.LongTimeFormat = LongTimeFormat;
  s.ShortMonthNames = ShortMonthNames;
  s.LongMonthNames = LongMonthNames;
  s.ShortDayNames = ShortDayNames;
  s.LongDayNames = LongDayNames;
  s.TwoDigitYearCenturyWindow = TwoDigitYearCenturyWindow;
  s.ListSeparator = ListSeparator;
  return s;
}

void ApplyFormatSettings(const TFormatSettings& s)
{
  CurrencyString = s.CurrencyString;
  CurrencyFormat = s.CurrencyFormat;
  NegCurrFormat = s.NegCurrFormat;
  ThousandSeparator = s.ThousandSeparator;
  DecimalSeparator = s.DecimalSeparator;
  CurrencyDecimals = s.CurrencyDecimals;
  DateSeparator = s.DateSeparator;
  ShortDateFormat = s.ShortDateFormat;
  LongDateFormat = s.LongDateFormat;
  TimeSeparator = s.TimeSeparator;
  TimeAMString = s.TimeAMString;
  TimePMString = s.TimePMString;
  ShortTimeFormat = s.ShortTimeFormat;
  LongTimeFormat = s.LongTimeFormat;
  ShortMonthNames = s.ShortMonthNames;
  LongMonthNames = s.LongMonthNames;
  ShortDayNames = s.ShortDayNames;
  LongDayNames = s.LongDayNames;
  TwoDigitYearCenturyWindow = s.TwoDigitYearCenturyWindow;
  ListSeparator = s.ListSeparator;
}

void ResetFormatSettings() { ApplyFormatSettings(DefaultFormatSettings()); }

}  // namespace SysUtils
