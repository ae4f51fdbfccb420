// TfrxScrollWin: a scrolling surface that keeps its own scroll positions in scroll units (the
// preview's page area and the script editor stand on it). The window's bars show the ranges;
// a position always lies within 0 .. range - page, and a change calls HorzScrolled or
// VertScrolled, which descendants override to move their content.
#pragma once

#include "platform/forms/controls/CustomControl.h"

namespace frxScrollWin {
// Value limited to 0 .. Range - Page: the upper bound first, then 0, so a range smaller than
// the page pins every position to 0.
int ClampPosition(int Value, int Range, int Page);
// The position a scroll bar code asks for from Position (before clamping); TrackPos is the
// thumb's position. Handled is false for codes that move nothing (SB_ENDSCROLL and others).
int ScrollCodePosition(int Code, int Position, int TrackPos, int Range, int SmallChange, int LargeChange,
                       bool& Handled);
}  // namespace frxScrollWin

class TfrxScrollWin : public TCustomControl {
  PELTO_DECLARE_CLASS(TfrxScrollWin, TCustomControl)
public:
  explicit TfrxScrollWin(TComponent* AOwner);

  int GetHorzRange() const { return FHorzRange; }
  void SetHorzRange(int Value);
  int GetHorzPage() const { return FHorzPage; }
  void SetHorzPage(int Value);
  int GetHorzPosition() const { return FHorzPosition; }
  // Clamped; moves the thumb and calls HorzScrolled when the position changed.
  void SetHorzPosition(int Value);
  int GetVertRange() const { return FVertRange; }
  void SetVertRange(int Value);
  int GetVertPage() const { return FVertPage; }
  void SetVertPage(int Value);
  int GetVertPosition() const { return FVertPosition; }
  // Clamped; moves the thumb and calls VertScrolled when the position changed.
  void SetVertPosition(int Value);

  int LargeChange = 10;
  int SmallChange = 1;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  // A position changed; nothing to move here.
  virtual void HorzScrolled() {}
  virtual void VertScrolled() {}

private:
  void UpdateScrollBar(int Bar);
  void WMScroll(TMessage& Message, int Bar);

  int FHorzRange = 0, FHorzPage = 0, FHorzPosition = 0;
  int FVertRange = 0, FVertPage = 0, FVertPosition = 0;
};
