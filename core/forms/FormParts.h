// Small builders the program's forms share when they lay out their controls in code.
#pragma once

#include "platform/rtl/System.h"

class TControl;
class TWinControl;
class TCustomForm;

namespace FormParts {
// Parents Control to Parent at the given bounds.
void Place(TControl* Control, TWinControl* Parent, int X, int Y, int W, int H);
// A text at (X, Y) sized to itself, named Name when given.
TControl* Label(TWinControl* Parent, const AnsiString& Caption, int X, int Y, const char* Name = nullptr);
// The line across the bottom of a dialog, Height pixels above its bottom edge.
TControl* BottomLine(TCustomForm* Form, const char* Name, int Height);

// Shows the hourglass cursor for its lifetime and puts the previous cursor back.
class THourglass {
public:
  THourglass();
  ~THourglass();
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

private:
  int FOld;
};
}  // namespace FormParts
