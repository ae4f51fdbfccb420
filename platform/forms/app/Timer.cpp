#include "platform/forms/app/Timer.h"

#include "platform/forms/app/Application.h"
#include "platform/forms/app/UtilWindow.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
  FWindowHandle = UtilWindow::AllocateHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg != WM_TIMER) return Windows::DefWindowProc(wnd, msg, wParam, lParam);
    try {
      Timer();
    } catch (...) {
      Forms::HandleException(this);
    }
    return 0;
  });
}

TTimer::~TTimer()
{
  FEnabled = false;
  UpdateTimer();
  UtilWindow::DeallocateHWnd(FWindowHandle);
}

void TTimer::UpdateTimer()
{
  if (!FWindowHandle) return;
  Windows::KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer && !GetComponentState().Contains(csDesigning) &&
      !GetComponentState().Contains(csLoading))
    if (!Windows::SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
}

void TTimer::SetEnabled(bool Value)
{
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value)
{
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value)
{
  FOnTimer = std::move(Value);
  UpdateTimer();
}

void TTimer::Loaded()
{
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::Timer()
{
  if (FOnTimer) FOnTimer(this);
}
