// THintWindow: the small pop-up that shows a control's hint. It is a top-level window of its own
// class ("THintWindow": a one-pixel border, the info colours, never activated, transparent to
// the mouse) that the application shows under the mouse after the hint pause.
//
// ActivateHint places the window at Rect (kept on the work area) and shows it with Hint as its
// text; CalcHintRect answers the rectangle (from 0, 0) that Hint needs when lines break at
// MaxWidth. The font is the screen's hint font when the application exists, else "宋体" 9 points.
#pragma once

#include "platform/forms/controls/CustomControl.h"

class THintWindow : public TCustomControl {
  PELTO_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);

  virtual void ActivateHint(RECT Rect, const AnsiString& AHint);
  // Data is what THintInfo.HintData carried; unused here, for descendants that draw more.
  virtual void ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData);
  virtual RECT CalcHintRect(int MaxWidth, const AnsiString& AHint, void* AData);
  // Hides the window (it is made again on the next hint).
  void ReleaseHandle();
  // Whether a message takes the hint down (key presses, clicks).
  virtual bool IsHintMsg(const MSG& Msg) const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
};
