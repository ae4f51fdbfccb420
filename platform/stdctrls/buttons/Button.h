// TButton: a push button over the "BUTTON" window class. A click gives the form the button's
// ModalResult (a modal form then closes). Enter clicks the active default button (the focused
// button, else the one marked Default), Escape the Cancel one, Alt with the caption's "&"
// letter the button itself.
#pragma once

#include "platform/forms/controls/ControlTypes.h"
#include "platform/stdctrls/buttons/ButtonControl.h"

class TButton : public TButtonControl {
  PELTO_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);

  void Click() override;
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // Whether Enter clicks this button now.
  bool IsActive() const { return FActive; }

  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("Cancel", &ThisClass::GetCancel, &ThisClass::SetCancel).Default(false);
    p.Property("Default", &ThisClass::GetDefault, &ThisClass::SetDefault).Default(false);
    p.Property("ModalResult", TypeInfo_TModalResult(), &ThisClass::GetModalResult, &ThisClass::SetModalResult)
        .Default(0);
    p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(false);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNCommand(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  // Shows the default frame (BS_DEFPUSHBUTTON) or not.
  virtual void SetButtonStyle(bool ADefault);

private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};
