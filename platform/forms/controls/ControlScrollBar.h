// TControlScrollBar: one of the two standard scroll bars of a scrolling container. Range is the
// extent of the content (pixels); the bar shows when the range exceeds the client size and
// Visible allows it. Position is kept within 0 .. Range - client size; changing it scrolls the
// container's content. Owned by its TScrollingWinControl.
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/forms/controls/Messages.h"

class TScrollingWinControl;

PELTO_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
PELTO_TYPE_ALIAS(TScrollBarInc, SmallInt)

class TControlScrollBar : public TPersistent {
  PELTO_CLASS(TControlScrollBar, TPersistent)
public:
  TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind);

  void Assign(TPersistent* Source) override;
  TScrollBarKind GetKind() const { return FKind; }
  // Pixels scrolled by a line step (the arrows).
  TScrollBarInc GetIncrement() const { return FIncrement; }
  void SetIncrement(TScrollBarInc Value) { FIncrement = Value; }
  // Extra room kept past a control that ScrollInView brings into view.
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value) { FMargin = Value; }
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value);
  int GetRange() const { return FRange; }
  // Setting the range by hand stops the container's automatic range for this bar.
  void SetRange(int Value);
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // Whether the bar shows now.
  bool IsScrollBarVisible() const;
  // The largest position the range allows in the present client size.
  int ScrollPos() const;
  int MaxPosition() const;
  // Handles WM_HSCROLL / WM_VSCROLL of the container's own bar.
  void ScrollMessage(const TMessage& Message);
  // Passes range, page and position to the window's bar.
  void Update();

  PELTO_PUBLISHED(p)
  {
    p.Property("Increment", TypeInfo_TScrollBarInc(), &ThisClass::GetIncrement, &ThisClass::SetIncrement).Default(8);
    p.Property("Margin", &ThisClass::GetMargin, &ThisClass::SetMargin).Default(0);
    p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(0);
    p.Property("Range", &ThisClass::GetRange, &ThisClass::SetRange).Default(0);
    p.Property("Tracking", &ThisClass::GetTracking, &ThisClass::SetTracking).Default(false);
    p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
  }

protected:
  TPersistent* GetOwner() override;

private:
  friend class TScrollingWinControl;
  // The client extent along the bar.
  int ControlSize() const;
  // Sets the range found from the children (AutoScroll) without ending the automatic range.
  void SetAutoRange(int Value);

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  TScrollBarInc FIncrement = 8;
  int FMargin = 0;
  int FPosition = 0;
  int FRange = 0;
  bool FTracking = false;
  bool FVisible = true;
};
