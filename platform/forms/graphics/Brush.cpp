#include "platform/forms/graphics/Brush.h"

#include "platform/gdi/dc/GdiObjects.h"

TBrush::~TBrush()
{
  if (FHandle) Windows::DeleteObject(FHandle);
}

void TBrush::Assign(TPersistent* Source)
{
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HBRUSH TBrush::GetHandle()
{
  if (!FHandle) {
    COLORREF rgb = Graphics::ColorToRGB(FColor);
    switch (FStyle) {
      case bsSolid: FHandle = Windows::CreateSolidBrush(rgb); break;
      case bsClear: {
        LOGBRUSH lb{BS_NULL, 0, 0};
        FHandle = Windows::CreateBrushIndirect(lb);
        break;
      }
      default: FHandle = Windows::CreateHatchBrush(HS_HORIZONTAL + (FStyle - bsHorizontal), rgb); break;
    }
  }
  return FHandle;
}

void TBrush::SetColor(TColor Value)
{
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TBrush::Changed()
{
  TGraphicsObject::Changed();
  if (FHandle) Windows::DeleteObject(FHandle);
  FHandle = nullptr;
}
