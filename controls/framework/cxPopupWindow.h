// TcxPopupWindow: a borderless form that opens beside an anchor rectangle of another control,
// flipping to the other side when there is more room there in the monitor's work area and
// clamped to it along the other axis, sized around its child controls, with a simple frame.
#pragma once

#include <memory>

#include "controls/framework/cxControls.h"
#include "platform/forms/forms/Form.h"

class TcxCanvas;

class TcxPopupWindow : public TForm {
  PELTO_DECLARE_CLASS(TcxPopupWindow, TForm)
public:
  explicit TcxPopupWindow(TComponent* AOwner = nullptr);
  ~TcxPopupWindow() override;

  bool GetFitToControls() const { return FFitToControls; }
  void SetFitToControls(bool Value) { FFitToControls = Value; }
  // 0 left, 1 centre, 2 right.
  int GetHorzPlacement() const { return FHorzPlacement; }
  void SetHorzPlacement(int Value) { FHorzPlacement = Value; }
  // 0 top, 1 centre, 2 bottom.
  int GetVertPlacement() const { return FVertPlacement; }
  void SetVertPlacement(int Value) { FVertPlacement = Value; }
  // 0: beside the anchor, 1: above or below it.
  int GetPopupAxis() const { return FPopupAxis; }
  void SetPopupAxis(int Value) { FPopupAxis = Value; }
  // 0 none, 1 line, 2 raised edge, 3 double raised edge.
  int GetFrameStyle() const { return FFrameStyle; }
  // Moves the children back by the present frame first, so a new CalculateSize keeps them in place.
  void SetFrameStyle(int Value);
  TColor GetFrameLineColor() const { return FFrameLineColor; }
  void SetFrameLineColor(TColor Value) { FFrameLineColor = Value; }
  int GetFrameSpacing() const { return FFrameSpacing; }
  void SetFrameSpacing(int Value) { FFrameSpacing = Value; }
  // In AnchorControl's client coordinates.
  RECT GetAnchorBounds() const { return FAnchorBounds; }
  void SetAnchorBounds(const RECT& Value) { FAnchorBounds = Value; }
  TControl* GetAnchorControl() const { return FAnchorControl; }
  void SetAnchorControl(TControl* Value) { FAnchorControl = Value; }
  TcxCanvas* GetcxCanvas() const { return FcxCanvas.get(); }
  int GetHorizontalFrameWidth() { return GetFrameWidth(0) + GetFrameWidth(2); }

  virtual POINT CalculatePosition();
  virtual void CalculateSize();
  // Side 0..3: left, top, right, bottom.
  virtual int GetFrameWidth(int Side) { return GetBorderWidth(Side) + FFrameSpacing; }
  virtual int GetBorderWidth(int Side);
  virtual void InitPopup();
  virtual void DrawFrame();
  virtual void HidePopup() { Hide(); }
  virtual void ShowPopup();

protected:
  void Paint() override;
  void Deactivate() override;
  void Dispatch(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  HWND FPrevActiveWindow = nullptr;  // kept with an active caption while the popup is active

private:
  std::unique_ptr<TcxCanvas> FcxCanvas;
  bool FFitToControls = true;
  int FHorzPlacement = 0, FVertPlacement = 2, FPopupAxis = 1;
  int FFrameStyle = 0;
  TColor FFrameLineColor = clWindowText;
  int FFrameSpacing = 0;
  RECT FAnchorBounds{};
  TControl* FAnchorControl = nullptr;  // borrowed
};
