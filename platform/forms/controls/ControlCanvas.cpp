#include "platform/forms/controls/ControlCanvas.h"

#include "platform/forms/controls/WinControl.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/Guards.h"
#include "platform/win/paint/Painting.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value)
{
  if (Value == FControl) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::FreeHandle()
{
  if (!FDeviceContext) return;
  HDC dc = FDeviceContext;
  FDeviceContext = nullptr;
  SetHandle(nullptr);
  Windows::ReleaseDC(FWindowHandle, dc);
  FWindowHandle = nullptr;
}

void TControlCanvas::PaintOn(HDC DC, const std::function<void()>& Paint)
{
  FreeHandle();
  Lock();
  TScopeExit done([this] {
    SetHandle(nullptr);
    Unlock();
  });
  SetHandle(DC);
  Paint();
}

void TControlCanvas::CreateHandle()
{
  if (!FControl) return;
  if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
    FWindowHandle = win->GetHandle();
    FDeviceContext = Windows::GetDC(FWindowHandle);
  } else {
    TWinControl* parent = FControl->GetParent();
    if (!parent) return;
    FWindowHandle = parent->GetHandle();
    FDeviceContext = Windows::GetDC(FWindowHandle);
    if (!FDeviceContext) return;
    Windows::OffsetViewportOrgEx(FDeviceContext, FControl->GetLeft(), FControl->GetTop(), nullptr);
    Windows::IntersectClipRect(FDeviceContext, 0, 0, FControl->GetWidth(), FControl->GetHeight());
  }
  if (FDeviceContext) SetHandle(FDeviceContext);
}
