// TSplitter: a bar between an aligned control and the rest of its parent; dragging it resizes
// that control (the one aligned to the same side, right before the splitter). MinSize keeps
// the control and what remains of the parent from getting smaller; below it AutoSnap closes the
// control. ResizeStyle: rsUpdate resizes while dragging, rsLine and rsPattern move an inverted
// line and resize at the release, rsNone resizes at the release only. OnCanResize may change or
// refuse a new size; OnMoved follows every resize.
#pragma once

#include "platform/forms/controls/GraphicControl.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TSplitter : public TGraphicControl {
  PELTO_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* AOwner);
  ~TSplitter() override;

  int GetMinSize() const { return FMinSize; }
  // At least 1.
  void SetMinSize(int Value);
  TResizeStyle GetResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }
  bool GetAutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  bool GetBeveled() const { return FBeveled; }
  void SetBeveled(bool Value);
  // The control the splitter resizes now (null when none lies next to it).
  TControl* FindControl();

  TCanResizeSplitEvent OnCanResize;
  TNotifyEvent OnMoved;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoSnap", &ThisClass::GetAutoSnap, &ThisClass::SetAutoSnap).Default(true);
    p.Property("Beveled", &ThisClass::GetBeveled, &ThisClass::SetBeveled).Default(false);
    p.Property("MinSize", &ThisClass::GetMinSize, &ThisClass::SetMinSize).Default(30);
    p.Property("ResizeStyle", &ThisClass::GetResizeStyle, &ThisClass::SetResizeStyle).Default(rsPattern);
    p.Property("OnCanResize", TypeInfo_TCanResizeSplitEvent(), &ThisClass::OnCanResize, &ThisClass::OnCanResize);
    p.Property("OnMoved", TypeInfo_TNotifyEvent(), &ThisClass::OnMoved, &ThisClass::OnMoved);
  }

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RequestAlign() override;

private:
  bool Horizontal() const { return GetAlign() == alLeft || GetAlign() == alRight; }
  // Clamps a wanted size to MinSize (or 0 with AutoSnap) and the room there is.
  int FitSize(int Size) const;
  // Moves the inverted line to the splitter's place for FNewSize (or takes it away).
  void DrawLine();
  void ApplySize();
  void StopSizing();

  int FMinSize = 30;
  TResizeStyle FResizeStyle = rsPattern;
  bool FAutoSnap = true;
  bool FBeveled = false;
  // While dragging: the control, where the press was (parent coordinates), the sizes.
  TControl* FControl = nullptr;
  POINT FDownPos{};
  int FOldSize = 0, FNewSize = 0, FMaxSize = 0;
  bool FLineVisible = false;
  int FLinePos = 0;
};
