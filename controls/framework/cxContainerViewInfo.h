// TcxContainerViewInfo: the computed look of a container (rectangles, colours, effective border,
// state) and its painting. The container fills it in CalculateViewInfo; pop-up windows reuse it.
#pragma once

#include "controls/framework/cxContainerStyle.h"
#include "controls/framework/cxGraphics.h"

PELTO_ENUM(TcxContainerStateItem, cssFocused, cssDisabled, cssMouseInside, cssNormal)
PELTO_SET(TcxContainerState, TcxContainerStateItem)
// 0: HotTrack off, 1: cold, 2: hot.
using TcxContainerHotState = int;

namespace cxContainer {
// The border actually drawn for a style's border style in a hot state.
TcxContainerBorderStyle EffectiveBorderStyle(TcxContainerBorderStyle Style, TcxContainerHotState HotState);
int BorderWidth(TcxContainerBorderStyle Style);
// A 3-pixel band in clBtnShadow below R from Left + 3 and right of it from Top + 3, then both
// excluded from the clip area.
void DrawContainerShadow(TcxCanvas* Canvas, const RECT& R);
// Fills the bands of R outside InnerRect; nothing when R is empty or equals InnerRect.
void FillFrame(TcxCanvas* Canvas, const RECT& R, const RECT& InnerRect, TColor Color);
}  // namespace cxContainer

class TcxContainerViewInfo : public TObject {
  PELTO_DECLARE_CLASS(TcxContainerViewInfo, TObject)
public:
  TcxContainerViewInfo() = default;
  ~TcxContainerViewInfo() override = default;

  RECT Bounds{};
  RECT BorderRect{};  // inside the border
  RECT ClientRect{};  // where the inner control goes
  TColor BackgroundColor = clWindow;
  TColor BorderColor = clWindowFrame;
  TcxContainerBorderStyle BorderStyle = cbsNone;  // the effective one
  int BorderWidth = 0;
  TcxContainerState ContainerState;
  TcxContainerHotState HotState = 0;
  TcxBorders Edges = cxBordersAll;
  bool Shadow = false;
  bool NativeStyle = false;
  int ThemedObjectType = 3;
  int NativePart = 1, NativeState = 1;

  virtual void DrawContainerBorder(TcxCanvas* Canvas, const RECT& R);
  virtual void InternalPaint(TcxCanvas* Canvas);
  virtual void SetBackgroundColor(TColor Value) { BackgroundColor = Value; }
  // Copies the client rectangle of another container view info.
  virtual void Assign(TcxContainerViewInfo* Source);
  // A new region the caller owns; empty here.
  virtual TcxRegion* GetRepaintRegion(TcxContainerViewInfo* Source);
  virtual void Offset(int DX, int DY);
  virtual void Paint(TcxCanvas* Canvas) { InternalPaint(Canvas); }
};
