// TForm: the form class the program's windows derive from; TCustomForm with everything
// published.
#pragma once

#include "platform/forms/forms/CustomForm.h"

class TForm : public TCustomForm {
  PELTO_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};
