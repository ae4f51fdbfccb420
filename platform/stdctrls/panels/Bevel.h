// TBevel: a sunken or raised box, frame or line (bsTopLine: the separator line of a dialog) drawn
// in the button shadow and highlight colours; bsSpacer draws nothing.
#pragma once

#include "platform/forms/controls/GraphicControl.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TBevel : public TGraphicControl {
  PELTO_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Shape", &ThisClass::GetShape, &ThisClass::SetShape).Default(bsBox);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(bsLowered);
  }

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
