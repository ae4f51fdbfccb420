// TPen: the colour, style, width and drawing mode of lines, with its pen handle made on demand.
#pragma once

#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/GraphicsObject.h"

PELTO_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
PELTO_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
           pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TGraphicsObject {
  PELTO_CLASS(TPen, TGraphicsObject)
public:
  // Black, solid, one pixel wide, pmCopy.
  TPen() = default;
  ~TPen() override;

  void Assign(TPersistent* Source) override;

  // The pen handle, made on first use; owned by the pen and freed when it changes.
  HPEN GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  Integer GetWidth() const { return FWidth; }
  // Values below 0 count as 0 (a one-pixel line).
  void SetWidth(Integer Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor).Default(clBlack);
    p.Property("Mode", &ThisClass::GetMode, &ThisClass::SetMode).Default(pmCopy);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle).Default(psSolid);
    p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth).Default(1);
  }

protected:
  void Changed() override;

private:
  HPEN FHandle = nullptr;
  TColor FColor = clBlack;
  TPenMode FMode = pmCopy;
  TPenStyle FStyle = psSolid;
  Integer FWidth = 1;
};

namespace Graphics {
// The raster operation (R2_ value) of a pen mode.
int PenModeToROP2(TPenMode Mode);
}  // namespace Graphics
