// TcxScrollBar: a scroll bar that is a window of its own but draws every part through the
// look-and-feel painter, into one off-screen bitmap copied to the window in one go.
//
// All four range values change through SetScrollParams, which raises EInvalidOperation
// ("Scrollbar property out of range") for Max < Min or Max < PageSize and then changes nothing.
// Dragging the thumb reports only through OnScroll (scTrack while moving, scPosition at the
// release, then scEndScroll); OnChange comes from the arrows, the page areas and the setters.
//
// Tracking: an arrow or page area held repeats its step at once, after 400 ms, then every 60 ms
// while the cursor stays on it; a thumb dragged more than 34 pixels beyond an end or 136 pixels
// aside snaps back to where it was at the press, unless UnlimitedTracking.
#pragma once

#include <memory>

#include "controls/framework/cxLookAndFeelPainters.h"
#include "platform/forms/controls/ControlScrollBar.h"
#include "platform/forms/controls/CustomControl.h"

class TBitmap;
class TcxCanvas;
class TcxLookAndFeel;
class TdxThemeChangedNotificator;
class TTimer;

// The scroll codes of WM_HSCROLL / WM_VSCROLL, in their numeric order.
PELTO_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll)
PELTO_EVENT_TYPE(TScrollEvent, void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos))

// The parts of the bar; the same numbers go to the painter's DrawScrollBarPart.
PELTO_ENUM(TcxScrollBarPart, sbpNone, sbpTopLeftArrow, sbpBottomRightArrow, sbpThumb, sbpPageUp, sbpPageDown)

namespace cxScrollBar {
// The system width of a vertical bar (cx) and height of a horizontal one (cy).
SIZE GetDefaultScrollBarSize();
}  // namespace cxScrollBar

class TcxScrollBar : public TCustomControl {
  PELTO_DECLARE_CLASS(TcxScrollBar, TCustomControl)
public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;

  TScrollBarKind GetKind() const { return FKind; }
  // Turns a placed bar (width and height exchanged); while loading only the parts are laid out.
  void SetKind(TScrollBarKind Value);
  int GetMin() const { return FMin; }
  void SetMin(int Value) { SetScrollParams(Value, FMax, FPosition, FPageSize, true); }
  int GetMax() const { return FMax; }
  void SetMax(int Value) { SetScrollParams(FMin, Value, FPosition, FPageSize, true); }
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int Value) { SetScrollParams(FMin, FMax, FPosition, Value, true); }
  int GetPosition() const { return FPosition; }
  // Clamped to Min..Max (not to Max - PageSize + 1).
  void SetPosition(int Value) { SetScrollParams(FMin, FMax, Value, FPageSize, true); }
  TScrollBarInc GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc Value) { FSmallChange = Value; }
  TScrollBarInc GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc Value) { FLargeChange = Value; }
  bool GetUnlimitedTracking() const { return FUnlimitedTracking; }
  void SetUnlimitedTracking(bool Value) { FUnlimitedTracking = Value; }
  // Owned by the bar; the setter copies the given one.
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value);

  // The one way the range and the position change; raises before changing anything.
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw = true);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The part at a client point; sbpNone outside and anywhere on the track when there is no thumb.
  TcxScrollBarPart GetPartAt(int X, int Y) const;
  // The rectangle of a part in client coordinates (empty for sbpNone or a part not shown).
  RECT GetPartRect(TcxScrollBarPart Part) const;
  TcxScrollBarPart GetPressedPart() const { return FPressedPart; }
  TcxScrollBarPart GetHotPart() const { return FHotPart; }
  int GetMinThumbSize() const { return FMinThumbSize; }

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  PELTO_PUBLISHED(p);

protected:
  void Paint() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMCancelMode(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMSysColorChange(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  TcxCustomLookAndFeelPainterClass Painter() const;
  bool Horizontal() const { return FKind == sbHorizontal; }
  void CalculateMinThumbSize();
  void CalculateRects();
  void CalculateThumbnailRect();
  void CalculatePageRects();
  // The position the thumb's place stands for, within Min..Max; Position when the thumb cannot move.
  int GetPositionFromThumb() const;
  void ScrollByCode(TScrollCode Code);
  static TScrollCode ScrollForPart(TcxScrollBarPart Part);
  TcxScrollBarPart PartUnderCursor();
  bool HoldsCapture() const;
  void DoTimer();
  void DoThumbDrag(int X, int Y);
  void CancelTracking();
  TcxButtonState PartState(TcxScrollBarPart Part) const;
  void LookAndFeelChanged();
  void ThemeChanged();

  std::unique_ptr<TBitmap> FBitmap;  // the off-screen picture, the size of the control
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  std::unique_ptr<TTimer> FTimer;  // repeat of the arrows and page areas
  RECT FTopLeftArrowRect{}, FBottomRightArrowRect{}, FThumbRect{}, FPageUpRect{}, FPageDownRect{};
  int FMinThumbSize = 8;
  TcxScrollBarPart FPressedPart = sbpNone, FHotPart = sbpNone;
  POINT FDownPoint{};      // where the thumb was pressed
  int FSavedPosition = 0;  // Position at the thumb's press
  POINT FSavedThumbPos{};  // the thumb's top-left corner at the press
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  TScrollBarInc FSmallChange = 1, FLargeChange = 1;
  bool FUnlimitedTracking = false;
};
