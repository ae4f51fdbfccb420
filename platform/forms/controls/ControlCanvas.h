// TControlCanvas: a canvas on a control's client area. Outside painting it makes a device
// context on first use (a windowless control's lies in its parent's window, moved to the
// control's corner and clipped to it) and gives it back at FreeHandle.
#pragma once

#include <functional>

#include "platform/forms/graphics/Canvas.h"

class TControl;

class TControlCanvas : public TCanvas {
  PELTO_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas() = default;
  ~TControlCanvas() override;

  TControl* GetControl() const { return FControl; }
  // Borrowed; changing it gives back the present context.
  void SetControl(TControl* Value);
  // Gives back a context the canvas made itself.
  void FreeHandle();
  // Runs Paint with the canvas on DC (a WM_PAINT's), locked, and detaches it after.
  void PaintOn(HDC DC, const std::function<void()>& Paint);

protected:
  void CreateHandle() override;

private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;  // made here, released by FreeHandle
  HWND FWindowHandle = nullptr;
};
