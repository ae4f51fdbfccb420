#include "platform/stdctrls/panels/Shape.h"

#include <algorithm>

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType Value)
{
  if (Value == FShape) return;
  FShape = Value;
  Invalidate();
}

void TShape::SetPen(TPen* Value) { FPen->Assign(Value); }

void TShape::SetBrush(TBrush* Value) { FBrush->Assign(Value); }

void TShape::Paint()
{
  TCanvas* canvas = GetCanvas();
  canvas->SetPen(FPen.get());
  canvas->SetBrush(FBrush.get());
  // The pen's width stays inside the control.
  int pw = FPen->GetWidth();
  int x = pw / 2, y = pw / 2;
  int w = GetWidth() - pw + 1, h = GetHeight() - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    int side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: {
      int corner = std::min(w, h) / 4;
      canvas->RoundRect(x, y, x + w, y + h, corner, corner);
      break;
    }
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
  }
}
