// The machine's locale: Chinese (PRC), fixed. The run-time library's format globals are set
// from here at start-up, and the layers that ask the system for a locale value (the editors'
// format controller, the data layer's week arithmetic) read it here.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

namespace Locale {

// Locale value codes understood by GetLocaleInfo.
constexpr int LOCALE_SDECIMAL = 0x0E, LOCALE_STHOUSAND = 0x0F, LOCALE_SCURRENCY = 0x14, LOCALE_SDATE = 0x1D,
              LOCALE_STIME = 0x1E, LOCALE_SSHORTDATE = 0x1F, LOCALE_SLONGDATE = 0x20, LOCALE_IFIRSTDAYOFWEEK = 0x100C,
              LOCALE_SLIST = 0x0C;

// The locale's first day of the week in the system's numbering: 0 = Monday .. 6 = Sunday.
// Always 6 (Sunday).
int LocaleFirstDayOfWeek();

// The locale's format block: short date "yyyy-mm-dd", long date "yyyy-mm-dd hh:nn:ss",
// separators "-" and ":", decimal ".", currency "￥", Chinese day and month names.
SysUtils::TFormatSettings LocaleFormatSettings();

// A locale value as text ("6" for LOCALE_IFIRSTDAYOFWEEK); "" for a code it does not know.
AnsiString GetLocaleInfo(int LCType);

// Writes LocaleFormatSettings into the run-time library's globals (start-up, and after a
// change of the regional settings).
void ApplyLocale();

// Start-up of the unit: ApplyLocale. Idempotent; Finalize has nothing to free.
void Initialize();
void Finalize();

}  // namespace Locale
