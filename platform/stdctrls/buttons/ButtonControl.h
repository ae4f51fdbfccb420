// TButtonControl: the base of the push buttons, check boxes and radio buttons (and of other
// modules' own check boxes). A click into a button that does not have the focus first gives it
// the focus; when the focus does not come (a handler moved it elsewhere), the click is dropped.
#pragma once

#include "platform/forms/controls/WinControl.h"

class TButtonControl : public TWinControl {
  PELTO_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);

  // Multi-line captions (BS_MULTILINE).
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

protected:
  virtual bool GetChecked() { return false; }
  virtual void SetChecked(bool Value) {}
  // True while a click must not act (the focus is being given by the click itself).
  bool GetClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }
  void CreateParams(TCreateParams& Params) override;
  // Caption, enabled, hint, visible and checked follow the action.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void WndProc(TMessage& Message) override;
  // BN_CLICKED from the window; nothing here.
  virtual void CNCommand(TMessage& Message) {}
  void Dispatch(TMessage& Message) override;

private:
  bool FClicksDisabled = false;
  bool FWordWrap = false;
};
