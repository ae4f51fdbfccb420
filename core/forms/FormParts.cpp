#include "core/forms/FormParts.h"

#include "platform/forms/app/Screen.h"
#include "platform/forms/forms/CustomForm.h"

namespace FormParts {

void Place(TControl* Control, TWinControl* Parent, int X, int Y, int W, int H)
{
  Control->SetParent(Parent);
  Control->SetBounds(X, Y, W, H);
}

TControl* Label(TWinControl* Parent, const AnsiString& Caption, int X, int Y, const char* Name) { return nullptr; }

TControl* BottomLine(TCustomForm* Form, const char* Name, int Height) { return nullptr; }

THourglass::THourglass() : FOld(Forms::Screen ? Forms::Screen->GetCursor() : crDefault)
{
  if (Forms::Screen) Forms::Screen->SetCursor(crHourGlass);
}

THourglass::~THourglass()
{
  if (Forms::Screen) Forms::Screen->SetCursor(TCursor(FOld));
}

}  // namespace FormParts
