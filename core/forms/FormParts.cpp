#include "core/forms/FormParts.h"

#include "platform/forms/app/Screen.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/stdctrls/panels/Bevel.h"
#include "platform/stdctrls/panels/Label.h"

namespace FormParts {

void Place(TControl* Control, TWinControl* Parent, int X, int Y, int W, int H)
{
  Control->SetParent(Parent);
  Control->SetBounds(X, Y, W, H);
}

TControl* Label(TWinControl* Parent, const AnsiString& Caption, int X, int Y, const char* Name)
{
  auto* l = new TLabel(Parent);
  if (Name) l->SetName(Name);
  l->SetCaption(Caption);
  l->SetLeft(X);
  l->SetTop(Y);
  l->SetParent(Parent);
  return l;
}

TControl* BottomLine(TCustomForm* Form, const char* Name, int Height)
{
  auto* b = new TBevel(Form);
  b->SetName(Name);
  b->SetShape(bsTopLine);
  b->SetParent(Form);
  b->SetAlign(alBottom);
  b->SetHeight(Height);
  return b;
}

THourglass::THourglass() : FOld(Forms::Screen ? Forms::Screen->GetCursor() : crDefault)
{
  if (Forms::Screen) Forms::Screen->SetCursor(crHourGlass);
}

THourglass::~THourglass()
{
  if (Forms::Screen) Forms::Screen->SetCursor(TCursor(FOld));
}

}  // namespace FormParts
