// TCustomControl: a windowed control that paints itself on its Canvas in Paint.
#pragma once

#include <memory>

#include "platform/forms/controls/WinControl.h"

class TCanvas;
class TControlCanvas;

class TCustomControl : public TWinControl {
  PELTO_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  // Owned by the control; drawing outside Paint makes a DC of the window on demand.
  TCanvas* GetCanvas() const;

protected:
  virtual void Paint() {}
  // Points the canvas at DC and calls Paint.
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message) override;
  void DestroyWnd() override;

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
