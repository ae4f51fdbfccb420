#include "platform/sys/Locale.h"

namespace Locale {

int LocaleFirstDayOfWeek() { return 6; }

SysUtils::TFormatSettings LocaleFormatSettings()
{
  SysUtils::TFormatSettings s = SysUtils::DefaultFormatSettings();
  s.ShortDateFormat = "yyyy-mm-dd";
  s.LongDateFormat = "yyyy-mm-dd hh:nn:ss";
  s.DateSeparator = '-';
  s.TimeSeparator = ':';
  s.DecimalSeparator = '.';
  s.CurrencyString = "￥";
  return s;
}

AnsiString GetLocaleInfo(int LCType)
{
  SysUtils::TFormatSettings s = LocaleFormatSettings();
  switch (LCType) {
    case LOCALE_SDECIMAL: return AnsiString(1, s.DecimalSeparator);
    case LOCALE_STHOUSAND: return AnsiString(1, s.ThousandSeparator);
    case LOCALE_SCURRENCY: return s.CurrencyString;
    case LOCALE_SDATE: return AnsiString(1, s.DateSeparator);
    case LOCALE_STIME: return AnsiString(1, s.TimeSeparator);
    case LOCALE_SSHORTDATE: return s.ShortDateFormat;
    case LOCALE_SLONGDATE: return s.LongDateFormat;
    case LOCALE_SLIST: return AnsiString(1, s.ListSeparator);
    case LOCALE_IFIRSTDAYOFWEEK: return std::to_string(LocaleFirstDayOfWeek());
    default: return AnsiString();
  }
}

void ApplyLocale() { SysUtils::ApplyFormatSettings(LocaleFormatSettings()); }

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  Initialized = true;
  ApplyLocale();
}

void Finalize() { Initialized = false; }

}  // namespace Locale
