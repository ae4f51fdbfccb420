// Holds a device context's saved state for a scope: SaveDC now, RestoreDC to that level at the
// end, however the scope is left.
#pragma once

#include "platform/gdi/dc/DeviceContext.h"

class TSavedDC {
public:
  explicit TSavedDC(HDC ADC) : FDC(ADC), FLevel(Windows::SaveDC(ADC)) {}
  ~TSavedDC()
  {
    if (FLevel > 0) Windows::RestoreDC(FDC, FLevel);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

  // The save level; 0 when the DC could not be saved (nothing is restored then).
  int Level() const { return FLevel; }

private:
  HDC FDC;
  int FLevel;
};
