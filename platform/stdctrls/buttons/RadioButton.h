// TRadioButton: a radio button over the "BUTTON" window class. Checking one unchecks the other
// radio buttons of its parent; a click checks it and fires OnClick.
#pragma once

#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/buttons/ButtonControl.h"

class TRadioButton : public TButtonControl {
  PELTO_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);

  bool GetChecked() override { return FChecked; }
  void SetChecked(bool Value) override;
  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", TypeInfo_TLeftRight(), &ThisClass::GetAlignment, &ThisClass::SetAlignment)
        .Default(taRightJustify);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).Default(false);
    p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(false);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNCommand(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;

private:
  bool FChecked = false;
  TLeftRight FAlignment = taRightJustify;
};
