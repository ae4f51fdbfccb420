// TUpDown over the "msctls_updown32" window class: two arrows stepping Position by Increment
// between Min and Max (wrapping round with Wrap), writing it into the Associate control (which
// it sits beside, narrowing it). OnChanging may refuse a step; OnClick tells which arrow stepped.
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TUpDown : public TWinControl {
  PELTO_CLASS(TUpDown, TWinControl)
public:
  explicit TUpDown(TComponent* AOwner);
  ~TUpDown() override;

  // Borrowed; forgotten when it is freed.
  TWinControl* GetAssociate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  int GetMin() const { return FMin; }
  void SetMin(int Value);
  int GetMax() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max.
  int GetPosition();
  void SetPosition(int Value);
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int Value);
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool Value) { SetStyleFlag(FWrap, Value); }
  bool GetArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value) { SetStyleFlag(FArrowKeys, Value); }
  bool GetThousands() const { return FThousands; }
  void SetThousands(bool Value) { SetStyleFlag(FThousands, Value); }
  TUDOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton GetAlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

  PELTO_PUBLISHED(p)
  {
    p.Property("AlignButton", &ThisClass::GetAlignButton, &ThisClass::SetAlignButton).Default(udRight);
    p.Property("ArrowKeys", &ThisClass::GetArrowKeys, &ThisClass::SetArrowKeys).Default(true);
    p.Property("Associate", &ThisClass::GetAssociate, &ThisClass::SetAssociate);
    p.Property("Increment", &ThisClass::GetIncrement, &ThisClass::SetIncrement).Default(1);
    p.Property("Max", &ThisClass::GetMax, &ThisClass::SetMax).Default(100);
    p.Property("Min", &ThisClass::GetMin, &ThisClass::SetMin).Default(0);
    p.Property("Orientation", &ThisClass::GetOrientation, &ThisClass::SetOrientation).Default(udVertical);
    p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(0);
    p.Property("Thousands", &ThisClass::GetThousands, &ThisClass::SetThousands).Default(true);
    p.Property("Wrap", &ThisClass::GetWrap, &ThisClass::SetWrap).Default(false);
    p.Property("OnChanging", TypeInfo_TUDChangingEvent(), &ThisClass::OnChanging, &ThisClass::OnChanging);
    p.Property("OnClick", TypeInfo_TUDClickEvent(), &ThisClass::OnClick, &ThisClass::OnClick);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);

private:
  void SetStyleFlag(bool& Flag, bool Value);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  TWinControl* FAssociate = nullptr;
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  int FLastDelta = 0;  // the step the window last asked about
  bool FWrap = false, FArrowKeys = true, FThousands = true;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
};
