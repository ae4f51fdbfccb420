#include "platform/stdctrls/panels/ExtCtrls.h"

#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"

namespace ExtCtrls {

void Frame3D(TCanvas* Canvas, RECT& Rect, TColor TopColor, TColor BottomColor, int Width)
{
  TPen* pen = Canvas->GetPen();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  for (int i = 0; i < Width && Rect.right - Rect.left > 0 && Rect.bottom - Rect.top > 0; ++i) {
    int right = Rect.right - 1, bottom = Rect.bottom - 1;
    pen->SetColor(TopColor);
    Canvas->Polyline({{Rect.left, bottom}, {Rect.left, Rect.top}, {right, Rect.top}});
    pen->SetColor(BottomColor);
    // The corner pixel at the top right belongs to the bottom-right colour.
    Canvas->Polyline({{right, Rect.top}, {right, bottom}, {Rect.left - 1, bottom}});
    ++Rect.left;
    ++Rect.top;
    --Rect.right;
    --Rect.bottom;
  }
}

}  // namespace ExtCtrls
