// TScrollingWinControl: a container whose content can be larger than its client area, with its
// two standard scroll bars (HorzScrollBar, VertScrollBar). With AutoScroll the ranges follow the
// children: the right-most and bottom-most edges of the visible children at the scroll position
// 0, counting only those that hold to the left (top) edge; controls anchored to the right or
// bottom follow the client area instead. Scrolling moves every child.
#pragma once

#include <memory>

#include "platform/forms/controls/ControlScrollBar.h"
#include "platform/forms/controls/WinControl.h"

class TScrollingWinControl : public TWinControl {
  PELTO_CLASS(TScrollingWinControl, TWinControl)
public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;

  TControlScrollBar* GetHorzScrollBar() const { return FHorzScrollBar.get(); }
  TControlScrollBar* GetVertScrollBar() const { return FVertScrollBar.get(); }
  // Copy Value's settings.
  void SetHorzScrollBar(TControlScrollBar* Value) { FHorzScrollBar->Assign(Value); }
  void SetVertScrollBar(TControlScrollBar* Value) { FVertScrollBar->Assign(Value); }
  bool GetAutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Scrolls so that AControl (a descendant) is inside the client area, with the bars' margins.
  void ScrollInView(TControl* AControl);
  // Moves the content by (DeltaX, DeltaY) pixels (negative: up and left).
  void ScrollBy(int DeltaX, int DeltaY);
  // Recomputes the automatic ranges.
  void UpdateScrollBars();
  void DisableAutoRange() { ++FAutoRangeCount; }
  void EnableAutoRange();

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoScroll", &ThisClass::GetAutoScroll, &ThisClass::SetAutoScroll).Default(true);
    p.Property("HorzScrollBar", &ThisClass::GetHorzScrollBar, &ThisClass::SetHorzScrollBar);
    p.Property("VertScrollBar", &ThisClass::GetVertScrollBar, &ThisClass::SetVertScrollBar);
  }

protected:
  void CreateWnd() override;
  void AdjustClientRect(RECT& Rect) override;
  void AlignControls(TControl* AControl, RECT& Rect) override;
  void Dispatch(TMessage& Message) override;

private:
  void CalcAutoRange();

  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = true;
  int FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
  friend class TControlScrollBar;
};
