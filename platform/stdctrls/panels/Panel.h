// TCustomPanel / TPanel: a container with an outer and an inner bevel, a border between them and
// its caption in the middle line. The controls it holds are aligned inside the bevels and the
// border.
#pragma once

#include "platform/forms/controls/CustomControl.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TCustomPanel : public TCustomControl {
  PELTO_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  int GetBevelWidth() const { return FBevelWidth; }
  // At least 1.
  void SetBevelWidth(int Value);
  // The gap between the outer and the inner bevel, in the panel's colour.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // bsSingle adds a sunken client edge around everything.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Whether a resize repaints the whole panel (otherwise only what was uncovered).
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).Default(taCenter);
    p.Property("BevelInner", &ThisClass::GetBevelInner, &ThisClass::SetBevelInner).Default(bvNone);
    p.Property("BevelOuter", &ThisClass::GetBevelOuter, &ThisClass::SetBevelOuter).Default(bvRaised);
    p.Property("BevelWidth", &ThisClass::GetBevelWidth, &ThisClass::SetBevelWidth).Default(1);
    p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle).Default(bsNone);
    p.Property("BorderWidth", &ThisClass::GetBorderWidth, &ThisClass::SetBorderWidth).Default(0);
    p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
    p.Property("FullRepaint", &ThisClass::GetFullRepaint, &ThisClass::SetFullRepaint).Default(true);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  // Inside the bevels and the border.
  void AdjustClientRect(RECT& Rect) override;
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // Invalidates and re-aligns the children after a change of the frame.
  void FrameChanged();

private:
  int FrameWidth() const;

  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
  PELTO_CLASS(TPanel, TCustomPanel)
public:
  using TCustomPanel::TCustomPanel;
};
