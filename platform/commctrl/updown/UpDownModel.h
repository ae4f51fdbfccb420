// An up-down's numbers apart from its window: a 32-bit range whose ends may come in either
// order (the "up" arrow moves towards the second end), the position, wrapping, the base and
// the accelerations, and the buddy text it writes and reads back.
#pragma once

#include <vector>

#include "platform/rtl/AnsiStrings.h"

struct UDACCEL {
  unsigned nSec = 0;  // from this many seconds of holding an arrow ...
  unsigned nInc = 1;  // ... each step moves this far
};

class UpDownModel {
public:
  UpDownModel();
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Pos() const { return FPos; }
  // Sets the ends and pulls the position into the range.
  void SetRange(int min, int max);
  // Clamps into the range; answers whether it had to.
  bool SetPos(int pos);
  bool Wrap = false;
  bool Thousands = true;
  int Base = 10;  // 10 or 16
  std::vector<UDACCEL> Accels;

  // The signed step of one press of "up" (`up`) or "down" after `heldMs` of holding.
  int Delta(bool up, unsigned heldMs) const;
  // Where `delta` leads from the position: clamped to the range, or past an end to the other
  // end when wrapping.
  int Target(int delta) const;
  // The position as the buddy shows it: grouped by the locale's thousands separator unless
  // told not to; base 16 as "0x" and four or more hex digits.
  AnsiString Text() const;
  // Reads a buddy's text (separators allowed); false when it is no number, leaving `out`.
  bool Parse(const AnsiString& text, int* out) const;

private:
  int FMin = 100, FMax = 0, FPos = 0;
};
