// TADlgFrm: the base of the modal dialogs: a dialog border, centred on its owner form when shown,
// a 469 x 270 client area, a line along the bottom and the buttons OK, Cancel and Help anchored
// to the bottom right. TAInfoDlgFrm: the base of list dialogs, with Close and Help.
#pragma once

#include "core/forms/a.h"

class TButton;
class TControl;

class TADlgFrm : public TaFrm {
  PELTO_DECLARE_CLASS(TADlgFrm, TaFrm)
public:
  explicit TADlgFrm(TComponent* AOwner);

  TControl* BgBevel1 = nullptr;
  TButton* OkBtn1 = nullptr;
  TButton* CancelBtn1 = nullptr;
  TButton* HelpBtn1 = nullptr;

  void OkBtn1Click(TObject* Sender);
  void CancelBtn1Click(TObject* Sender);
  void HelpBtn1Click(TObject* Sender);
};

class TAInfoDlgFrm : public TaFrm {
  PELTO_DECLARE_CLASS(TAInfoDlgFrm, TaFrm)
public:
  explicit TAInfoDlgFrm(TComponent* AOwner);

  TControl* BgBevel1 = nullptr;
  TButton* CloseBtn1 = nullptr;
  TButton* HelpBtn1 = nullptr;

  void CloseBtn1Click(TObject* Sender);
  void HelpBtn1Click(TObject* Sender);
};
