// TGraphicControl: a control without a window of its own. It paints on its parent's window in
// the parent's WM_PAINT (Paint, with Canvas set on that DC and moved to the control's corner)
// and gets its mouse messages from the parent.
#pragma once

#include <memory>

#include "platform/forms/controls/Control.h"

class TCanvas;
class TControlCanvas;

class TGraphicControl : public TControl {
  PELTO_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  // Owned by the control; valid to draw on inside Paint (and outside through a DC of the
  // parent's window, made on demand).
  TCanvas* GetCanvas() const;

protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  virtual void WMPaint(TMessage& Message);

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
