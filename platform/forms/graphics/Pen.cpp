#include "platform/forms/graphics/Pen.h"

#include "platform/gdi/dc/GdiObjects.h"

TPen::~TPen()
{
  if (FHandle) Windows::DeleteObject(FHandle);
}

void TPen::Assign(TPersistent* Source)
{
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    FColor = p->FColor;
    FMode = p->FMode;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HPEN TPen::GetHandle()
{
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = Windows::CreatePen(styles[FStyle], FWidth, Graphics::ColorToRGB(FColor));
  }
  return FHandle;
}

void TPen::SetColor(TColor Value)
{
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value)
{
  if (Value == FMode) return;
  FMode = Value;
  // The mode is the canvas's raster operation, not part of the handle.
  TGraphicsObject::Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetWidth(Integer Value)
{
  if (Value < 0) Value = 0;
  if (Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::Changed()
{
  TGraphicsObject::Changed();
  if (FHandle) Windows::DeleteObject(FHandle);
  FHandle = nullptr;
}

namespace Graphics {

int PenModeToROP2(TPenMode Mode)
{
  static const int rop[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                            R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return rop[Mode];
}

}  // namespace Graphics
