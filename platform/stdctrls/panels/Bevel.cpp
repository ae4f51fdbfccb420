#include "platform/stdctrls/panels/Bevel.h"

#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
  if (Value == FShape) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint()
{
  TCanvas* canvas = GetCanvas();
  // Lowered: the shadow above and left, the light below and right; raised the other way.
  TColor dark = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor light = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  int w = GetWidth(), h = GetHeight();
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    canvas->GetPen()->SetColor(color);
    canvas->GetPen()->SetWidth(1);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  switch (FShape) {
    case bsBox: {
      RECT r{0, 0, w, h};
      ExtCtrls::Frame3D(canvas, r, dark, light, 1);
      break;
    }
    case bsFrame: {
      // An etched frame: the dark one, and the light one a pixel further down and right.
      RECT outer{1, 1, w, h};
      ExtCtrls::Frame3D(canvas, outer, light, light, 1);
      RECT inner{0, 0, w - 1, h - 1};
      ExtCtrls::Frame3D(canvas, inner, dark, dark, 1);
      break;
    }
    case bsTopLine:
      line(dark, 0, 0, w, 0);
      line(light, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(dark, 0, h - 2, w, h - 2);
      line(light, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(dark, 0, 0, 0, h);
      line(light, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(dark, w - 2, 0, w - 2, h);
      line(light, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}
