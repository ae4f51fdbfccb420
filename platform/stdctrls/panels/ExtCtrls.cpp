#include "platform/stdctrls/panels/ExtCtrls.h"

#include "platform/forms/controls/WinControl.h"
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

void FrameInside(TCanvas* Canvas, RECT& Rect, int Width)
{
  for (int i = 0; i < Width; ++i) {
    Canvas->FrameRect(Rect);
    Rect = RECT{Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  }
}

void AddBorderStyle(TCreateParams& Params, TBorderStyle Style, bool Ctl3D)
{
  if (Style != bsSingle) return;
  if (Ctl3D)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  else
    Params.Style |= WS_BORDER;
}

}  // namespace ExtCtrls
