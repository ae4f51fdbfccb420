// Week and date arithmetic, the currency display format and the text match of search and locate.
#pragma once

#include <functional>

#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

namespace cxDataUtils {

// The locale's first day of the week, 0 = Monday .. 6 = Sunday. The run-time library keeps no
// such setting, so it is asked through this service; its default answers Sunday (6), the day the
// program's locale fixes.
TService<std::function<int()>>& LocaleFirstDayOfWeekService();

// The first day of the week, 0 = Sunday .. 6 = Saturday.
int FirstDayOfWeek();
// The date (no time) of the first day of ADate's week.
TDateTime StartOfWeek(TDateTime ADate);

// The whole-day part (truncated toward zero) and the fraction.
TDateTime DatePart(TDateTime ADateTime);
TDateTime TimePart(TDateTime ADateTime);
// ",0." with the locale's currency decimals, the symbol placed by its currency format
// (',' and '.' inside it quoted): "￥,0.00" for two decimals, symbol ￥ and format 0.
AnsiString CurrencyDisplayFormat();
// Both upper-cased by the locale; APartial with a non-empty ASubText: AText starts with it;
// otherwise the two are equal.
bool AnsiTextMatches(const AnsiString& AText, const AnsiString& ASubText, bool APartial);

}  // namespace cxDataUtils
