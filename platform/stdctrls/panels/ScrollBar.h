// TScrollBar: a scroll bar as a control of its own, over the SCROLLBAR window class. The bar's
// notifications (CN_HSCROLL / CN_VSCROLL) move Position by SmallChange, LargeChange or to the
// thumb, after OnScroll may change the new position; every change of Position fires OnChange.
//
// Raises EInvalidOperation "Scroll bar property out of range" for Max below Min or a page larger
// than the range.
#pragma once

#include "platform/forms/controls/ControlScrollBar.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TScrollBar : public TWinControl {
  PELTO_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind GetKind() const { return FKind; }
  // Swaps width and height when the kind changes (outside loading).
  void SetKind(TScrollBarKind Value);
  int GetMin() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int GetMax() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  // Sets the three at once: the position is kept inside the range.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  PELTO_PUBLISHED(p)
  {
    p.Property("Kind", &ThisClass::GetKind, &ThisClass::SetKind).Default(sbHorizontal);
    p.Property("LargeChange", &ThisClass::GetLargeChange, &ThisClass::SetLargeChange).Default(1);
    p.Property("Max", &ThisClass::GetMax, &ThisClass::SetMax).Default(100);
    p.Property("Min", &ThisClass::GetMin, &ThisClass::SetMin).Default(0);
    p.Property("PageSize", &ThisClass::GetPageSize, &ThisClass::SetPageSize).Default(0);
    p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(0);
    p.Property("SmallChange", &ThisClass::GetSmallChange, &ThisClass::SetSmallChange).Default(1);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnScroll", TypeInfo_TScrollEvent(), &ThisClass::OnScroll, &ThisClass::OnScroll);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
  void DoScroll(TMessage& Message);
  // Shows the settings in the window.
  void UpdateWindow();

  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  int FSmallChange = 1, FLargeChange = 1;
};
