// Week arithmetic of the data layer.
#pragma once

#include <functional>

#include "platform/rtl/System.h"

namespace cxDataUtils {

// The locale's first day of the week, 0 = Monday .. 6 = Sunday. The run-time library keeps no
// such setting, so it is asked through this hook; unassigned, it answers Sunday (6), the day the
// program's locale fixes.
extern std::function<int()> LocaleFirstDayOfWeekHook;

// The first day of the week, 0 = Sunday .. 6 = Saturday.
int FirstDayOfWeek();
// The date (no time) of the first day of ADate's week.
TDateTime StartOfWeek(TDateTime ADate);

}  // namespace cxDataUtils
