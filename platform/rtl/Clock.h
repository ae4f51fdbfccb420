// The clock that Now, Date and Time read: local wall-clock time, unless a test pins it.
#pragma once

#include <functional>

#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

namespace SysUtils {

using TClockFunction = std::function<TDateTime()>;

// The clock's slot (its default reads the system's local time).
TService<TClockFunction>& ClockService();

// Installs a clock for its lifetime and puts the previous one back.
class TScopedClock : public TScopedFunction<TDateTime()> {
public:
  explicit TScopedClock(TClockFunction AClock) : TScopedFunction<TDateTime()>(ClockService(), std::move(AClock)) {}
};

}  // namespace SysUtils
