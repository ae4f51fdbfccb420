#include "controls/framework/cxSettingsController.h"

#include <algorithm>
#include <memory>

#include "controls/framework/cxControls.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/UtilWindow.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {
std::unique_ptr<TcxSettingsController> TheController;
// SPI_SETNONCLIENTMETRICS: the window borders and scroll-bar sizes changed.
constexpr WPARAM cxSpiSetNonClientMetrics = 42;
}  // namespace

TcxSettingsController* TcxSettingsController::Instance()
{
  if (!TheController) TheController = std::make_unique<TcxSettingsController>();
  return TheController.get();
}

void TcxSettingsController::RemoveControlIfAny(TcxControl* AControl)
{
  if (TheController) TheController->RemoveControl(AControl);
}

void TcxSettingsController::FreeInstance() { TheController.reset(); }

TcxSettingsController::~TcxSettingsController()
{
  if (FWindow) UtilWindow::DeallocateHWnd(FWindow);
}

void TcxSettingsController::AddControl(TcxControl* AControl)
{
  if (std::find(FList.begin(), FList.end(), AControl) != FList.end()) return;
  FList.push_back(AControl);
  if (!FWindow)
    FWindow = UtilWindow::AllocateHWnd(
        [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) { return WndProc(Wnd, Msg, WParam, LParam); });
}

void TcxSettingsController::RemoveControl(TcxControl* AControl)
{
  std::erase(FList, AControl);
  if (FList.empty() && FWindow) {
    UtilWindow::DeallocateHWnd(FWindow);
    FWindow = nullptr;
  }
}

LRESULT TcxSettingsController::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  try {
    if (Msg == WM_SETTINGCHANGE && WParam == cxSpiSetNonClientMetrics) {
      std::vector<TcxControl*> controls = FList;
      for (TcxControl* c : controls)
        if (c->HandleAllocated()) Windows::SendMessage(c->GetHandle(), CM_NCSIZECHANGED, 0, 0);
      return 0;
    }
  } catch (...) {
    Forms::HandleException(nullptr);
    return 0;
  }
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}
