// TBrush: the colour and style of fills, with its brush handle made on demand.
#pragma once

#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/GraphicsObject.h"

PELTO_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

class TBrush : public TGraphicsObject {
  PELTO_CLASS(TBrush, TGraphicsObject)
public:
  // White, solid.
  TBrush() = default;
  ~TBrush() override;

  void Assign(TPersistent* Source) override;

  // The brush handle, made on first use; owned by the brush and freed when it changes.
  HBRUSH GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  TColor GetColor() const { return FColor; }
  // Setting a colour on a clear brush makes it solid.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor).Default(clWhite);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(bsSolid);
  }

protected:
  void Changed() override;

private:
  HBRUSH FHandle = nullptr;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};
