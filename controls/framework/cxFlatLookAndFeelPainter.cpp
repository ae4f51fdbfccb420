#include "controls/framework/cxFlatLookAndFeelPainter.h"

#include "controls/framework/cxStyles.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"

using cxGraphics::InflatedRect;
using cxGraphics::IsRectEmpty;
using cxGraphics::OffsetRect;
using Graphics::ColorToRGB;

TcxCustomLookAndFeelPainterClass TcxFlatLookAndFeelPainter::Class()
{
  static const TcxFlatLookAndFeelPainter painter;
  return &painter;
}

void TcxFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  if (State == cxbsPressed) {
    C->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
    return;
  }
  RECT r = R;
  if (State == cxbsDefault) {
    C->FrameRect(r, clBlack);
    r = InflatedRect(r, -1, -1);
  }
  C->DrawTwoColorFrame(r, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const
{
  DrawButtonWithText(C, R, "", cxbsNormal, true, Color, clDefault);
  DrawPlusMinus(C, InflatedRect(R, -1, -1), clBtnText, Expanded);
  C->ExcludeFromClip(R);
}

void TcxFlatLookAndFeelPainter::DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  C->DrawEdge(R, true, true);
  C->FrameRect(InflatedRect(R, -1, -1), GetCheckBoxColor(State));
}

void TcxFlatLookAndFeelPainter::DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const
{
  C->DrawEdge(R, false, false, Borders);
}

void TcxFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part,
                                                  TcxButtonState State) const
{
  if (IsRectEmpty(R) || (Part == cxsbpThumb && State == cxbsDisabled)) return;
  if (State == cxbsHot) State = cxbsNormal;
  if (Part == cxsbpPageUp || Part == cxsbpPageDown) {
    DrawPatternTrack(C, R, State == cxbsPressed);
    return;
  }
  DrawButtonWithText(C, R, "", State, true, clDefault, clDefault);
  if (Part == cxsbpThumb) return;
  RECT r = InflatedRect(R, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal));
  DrawButtonArrow(C, r, State, cxLookAndFeelPainters::ScrollArrowDirection(Horizontal, Part));
}
