// Pins the clock that Now, Date and Time read to one moment for its lifetime, then puts the
// previous clock back.
#pragma once

#include "platform/rtl/Clock.h"

class TPinnedClock {
public:
  explicit TPinnedClock(TDateTime At) : FAt(At), FScope([this] { return FAt; }) {}
  TPinnedClock(const TPinnedClock&) = delete;
  TPinnedClock& operator=(const TPinnedClock&) = delete;

  // Moves the pinned moment.
  void Set(TDateTime At) { FAt = At; }

private:
  TDateTime FAt;
  SysUtils::TScopedClock FScope;
};
