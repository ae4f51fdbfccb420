#include "platform/forms/controls/CustomControl.h"

#include "platform/forms/controls/ControlCanvas.h"
#include "platform/rtl/Guards.h"

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl()
{
  // The canvas's DC belongs to the window, which goes first.
  FCanvas->FreeHandle();
  if (HandleAllocated()) DestroyHandle();
}

TCanvas* TCustomControl::GetCanvas() const { return FCanvas.get(); }

void TCustomControl::DestroyWnd()
{
  FCanvas->FreeHandle();
  TWinControl::DestroyWnd();
}

void TCustomControl::WMPaint(TMessage& Message)
{
  ControlState.Include(csCustomPaint);
  TScopeExit done([this] { ControlState.Exclude(csCustomPaint); });
  PaintHandler(Message);
}

void TCustomControl::PaintWindow(HDC DC)
{
  FCanvas->PaintOn(DC, [this] { Paint(); });
}
