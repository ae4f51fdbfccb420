// TShape: a rectangle, square, rounded rectangle or square, ellipse or circle drawn with its Pen
// and filled with its Brush; the square and circle kinds take the shorter side, centred.
#pragma once

#include <memory>

#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/stdctrls/panels/ExtCtrls.h"

class TShape : public TGraphicControl {
  PELTO_CLASS(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;

  TShapeType GetShape() const { return FShape; }
  void SetShape(TShapeType Value);
  // Owned; a change repaints. The setters copy Value.
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value);
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Brush", &ThisClass::GetBrush, &ThisClass::SetBrush);
    p.Property("Pen", &ThisClass::GetPen, &ThisClass::SetPen);
    p.Property("Shape", &ThisClass::GetShape, &ThisClass::SetShape).Default(stRectangle);
  }

protected:
  void Paint() override;

private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};
