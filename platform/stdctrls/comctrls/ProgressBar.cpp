#include "platform/stdctrls/comctrls/ProgressBar.h"

#include <algorithm>

#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/win/queue/Messages.h"

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csOpaque};
  SetBounds(0, 0, 150, 16);
}

LRESULT TProgressBar::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TProgressBar::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, PROGRESS_CLASS);
  if (FSmooth) Params.Style |= PBS_SMOOTH;
  if (FOrientation == pbVertical) Params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd()
{
  TWinControl::CreateWnd();
  Send(PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  Send(PBM_SETSTEP, WPARAM(FStep));
  Send(PBM_SETPOS, WPARAM(FPosition));
}

void TProgressBar::SetMin(int Value)
{
  if (Value == FMin) return;
  FMin = Value;
  if (HandleAllocated()) Send(PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SetPosition(FPosition);
}

void TProgressBar::SetMax(int Value)
{
  if (Value == FMax) return;
  FMax = Value;
  if (HandleAllocated()) Send(PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SetPosition(FPosition);
}

void TProgressBar::SetPosition(int Value)
{
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (HandleAllocated()) Send(PBM_SETPOS, WPARAM(FPosition));
}

void TProgressBar::SetStep(int Value)
{
  FStep = Value;
  if (HandleAllocated()) Send(PBM_SETSTEP, WPARAM(FStep));
}

void TProgressBar::StepIt()
{
  long long lo = std::min(FMin, FMax), hi = std::max(FMin, FMax), next = (long long)FPosition + FStep;
  long long span = hi - lo;
  if (span == 0)
    next = lo;
  else if (next > hi)
    next = lo + (next - hi) % span;
  else if (next < lo)
    next = hi - (lo - next) % span;
  SetPosition(int(next));
}

void TProgressBar::StepBy(int Delta) { SetPosition(FPosition + Delta); }

void TProgressBar::SetSmooth(bool Value)
{
  if (FSmooth == Value) return;
  FSmooth = Value;
  RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}
