// TCustomCheckBox / TCheckBox: a check box over the "BUTTON" window class. A click turns
// unchecked to checked (to grayed first with AllowGrayed), checked to unchecked and grayed to
// checked; every change of State fires OnClick.
#pragma once

#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/buttons/ButtonControl.h"

class TCustomCheckBox : public TButtonControl {
  PELTO_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  TCheckBoxState GetState() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool GetChecked() override { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", TypeInfo_TLeftRight(), &ThisClass::GetAlignment, &ThisClass::SetAlignment)
        .Default(taRightJustify);
    p.Property("AllowGrayed", &ThisClass::GetAllowGrayed, &ThisClass::SetAllowGrayed).Default(false);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).Default(false);
    p.Property("State", &ThisClass::GetState, &ThisClass::SetState).Default(cbUnchecked);
    p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(false);
  }

protected:
  // The next state a click gives.
  virtual void Toggle();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNCommand(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  PELTO_CLASS(TCheckBox, TCustomCheckBox)
public:
  using TCustomCheckBox::TCustomCheckBox;
};
