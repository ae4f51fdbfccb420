#include "controls/data/cxDataUtils.h"

#include <cmath>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringUtils.h"

namespace cxDataUtils {

TService<std::function<int()>>& LocaleFirstDayOfWeekService()
{
  static TService<std::function<int()>> slot(std::make_unique<std::function<int()>>([] { return 6; }));
  return slot;
}

int FirstDayOfWeek()
{
  const int locale = LocaleFirstDayOfWeekService().Current()();
  return (locale + 1) % 7;
}

TDateTime StartOfWeek(TDateTime ADate)
{
  const int day = SysUtils::DayOfWeek(ADate) - 1;  // 0 = Sunday
  const int back = ((day - FirstDayOfWeek()) % 7 + 7) % 7;
  return TDateTime(std::trunc(ADate.Value) - back);
}

TDateTime DatePart(TDateTime ADateTime) { return TDateTime(std::trunc(ADateTime.Value)); }

TDateTime TimePart(TDateTime ADateTime) { return TDateTime(ADateTime.Value - std::trunc(ADateTime.Value)); }

AnsiString CurrencyDisplayFormat()
{
  AnsiString result = ",0." + AnsiString(SysUtils::CurrencyDecimals, '0');
  AnsiString symbol;
  for (char ch : SysUtils::CurrencyString) {
    if (ch == ',' || ch == '.')
      symbol += AnsiString("'") + ch + "'";
    else
      symbol += ch;
  }
  if (symbol.empty()) return result;
  switch (SysUtils::CurrencyFormat) {
    case 1: return result + symbol;
    case 2: return symbol + " " + result;
    case 3: return result + " " + symbol;
    default: return symbol + result;
  }
}

bool AnsiTextMatches(const AnsiString& AText, const AnsiString& ASubText, bool APartial)
{
  const AnsiString t = SysUtils::AnsiUpperCase(AText);
  const AnsiString s = SysUtils::AnsiUpperCase(ASubText);
  if (APartial && !s.empty()) return t.compare(0, s.size(), s) == 0;
  return t == s;
}

}  // namespace cxDataUtils
