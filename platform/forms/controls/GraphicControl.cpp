#include "platform/forms/controls/GraphicControl.h"

#include "platform/forms/controls/ControlCanvas.h"
#include "platform/rtl/Guards.h"

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::GetCanvas() const { return FCanvas.get(); }

void TGraphicControl::Dispatch(TMessage& Message)
{
  if (Message.Msg == WM_PAINT) {
    WMPaint(Message);
    return;
  }
  TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message)
{
  if (Message.WParam) FCanvas->PaintOn(reinterpret_cast<HDC>(Message.WParam), [this] { Paint(); });
}
