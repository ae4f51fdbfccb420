// TProgressBar over the "msctls_progress32" window class: Position between Min and Max, drawn
// in blocks or (Smooth) as one bar, across or (pbVertical) upwards.
#pragma once

#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TProgressBar : public TWinControl {
  PELTO_CLASS(TProgressBar, TWinControl)
public:
  explicit TProgressBar(TComponent* AOwner);

  int GetMin() const { return FMin; }
  void SetMin(int Value);
  int GetMax() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max.
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value);
  int GetStep() const { return FStep; }
  void SetStep(int Value);
  // Moves by Step; past Max it starts again from Min, as the window does.
  void StepIt();
  // Moves by Delta, kept within Min..Max.
  void StepBy(int Delta);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  TProgressBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Max", &ThisClass::GetMax, &ThisClass::SetMax).Default(100);
    p.Property("Min", &ThisClass::GetMin, &ThisClass::SetMin).Default(0);
    p.Property("Orientation", &ThisClass::GetOrientation, &ThisClass::SetOrientation).Default(pbHorizontal);
    p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(0);
    p.Property("Smooth", &ThisClass::GetSmooth, &ThisClass::SetSmooth).Default(false);
    p.Property("Step", &ThisClass::GetStep, &ThisClass::SetStep).Default(10);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
};
