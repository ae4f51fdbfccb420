#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"

#include "controls/framework/cxStyles.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"

using cxGraphics::InflatedRect;
using cxGraphics::IsRectEmpty;
using cxGraphics::OffsetRect;
using Graphics::ColorToRGB;

TcxCustomLookAndFeelPainterClass TcxUltraFlatLookAndFeelPainter::Class()
{
  static const TcxUltraFlatLookAndFeelPainter painter;
  return &painter;
}

TColor TcxUltraFlatLookAndFeelPainter::GetButtonFaceColor(TcxButtonState State) const
{
  if (State == cxbsHot) return TColor(cxGraphics::GetHotHighlightColor());
  if (State == cxbsPressed) return TColor(cxGraphics::GetPressedHighlightColor());
  return clBtnFace;
}

RECT TcxUltraFlatLookAndFeelPainter::GetButtonFocusRect(TcxCanvas* C, const RECT& R) const
{
  RECT r = InflatedRect(R, -3, -3);
  return IsRectEmpty(r) ? R : r;
}

RECT TcxUltraFlatLookAndFeelPainter::GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const
{
  RECT r{1, 2, 1, 2};
  if (ButtonIndex == 0)
    r.left = 2;
  else if (ButtonIndex == ButtonCount - 1)
    r.right = 2;
  return r;
}

TColor TcxUltraFlatLookAndFeelPainter::GetButtonSymbolColor(TcxButtonState State) const
{
  return State == cxbsPressed ? clHighlightText : TcxCustomLookAndFeelPainter::GetButtonSymbolColor(State);
}

void TcxUltraFlatLookAndFeelPainter::DrawSimpleButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                      int ButtonCount, int ButtonIndex, TColor BorderColor) const
{
  RECT r{R.left, R.top + 1, R.right, R.bottom - 1};
  bool first = ButtonIndex == 0, last = ButtonIndex == ButtonCount - 1;
  if (first) ++r.left;
  if (last) --r.right;
  if (State == cxbsNormal || State == cxbsDisabled) {
    C->FrameRect(r, BorderColor);
    r = InflatedRect(r, -1, -1);
  } else {
    C->SetBrushColor(GetHighlightFrameColor());
    if (!first) {
      C->FillRect({r.left, r.top, r.left + 1, r.bottom});
      ++r.left;
    }
    if (!last) {
      C->FillRect({r.right - 1, r.top, r.right, r.bottom});
      --r.right;
    }
  }
  C->FillRectColor(r, GetButtonFaceColor(State));
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  switch (State) {
    case cxbsDefault:
      C->FrameRect(R, clWindowFrame);
      C->FrameRect(InflatedRect(R, -1, -1), clWindowFrame);
      break;
    case cxbsNormal: C->FrameRect(R, clBtnText); break;
    default: C->FrameRect(R, clHighlight); break;
  }
}

void TcxUltraFlatLookAndFeelPainter::DrawNavigatorBorder(TcxCanvas* C, const RECT& R, bool Flag1, bool Flag2) const
{
  C->FrameRect(R, Flag1 ? clBtnText : Flag2 ? clHighlight : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const
{
  C->FrameRect(R, clBtnShadow);
  RECT r = InflatedRect(R, -1, -1);
  C->FillRectColor(r, Color == clDefault ? clBtnFace : Color);
  DrawPlusMinus(C, r, clBtnText, Expanded);
  C->ExcludeFromClip(R);
}

void TcxUltraFlatLookAndFeelPainter::DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  C->FrameRect(R, clBtnText);
  C->FrameRect(InflatedRect(R, -1, -1), GetCheckBoxColor(State));
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderSection(TcxCanvas* C, const RECT& R, const RECT& TextRect,
                                                       TcxNeighbors Neighbors, TcxBorders Borders, TcxButtonState State,
                                                       TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                                                       bool MultiLine, bool ShowEndEllipsis, const AnsiString& Text,
                                                       TFont* Font, TColor TextColor, TColor Color,
                                                       const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  DrawContent(C, R, InflatedRect(TextRect, -1, -1), AlignmentHorz, AlignmentVert, MultiLine, ShowEndEllipsis, Text,
              Font, TextColor, Color, OnDrawBackground);
  PaintHeaderBorder(C, InflatedRect(R, -1, -1), Neighbors, Borders);
}

void TcxUltraFlatLookAndFeelPainter::PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors,
                                                       TcxBorders Borders) const
{
  C->SetBrushColor(clBtnText);
  if (Borders.Contains(bLeft)) C->FillRect({R.left, R.top, R.left + 1, R.bottom});
  if (Borders.Contains(bTop)) C->FillRect({R.left, R.top, R.right, R.top + 1});
  C->FillRect({R.right - 1, R.top, R.right, R.bottom});
  C->FillRect({R.left, R.bottom - 1, R.right, R.bottom});
}

TcxBorders TcxUltraFlatLookAndFeelPainter::GetHeaderBorders(TcxNeighbors Neighbors) const
{
  TcxBorders r = cxBordersAll;
  if (Neighbors.Contains(bLeft)) r.Exclude(bLeft);
  if (Neighbors.Contains(bTop)) r.Exclude(bTop);
  return r;
}

void TcxUltraFlatLookAndFeelPainter::DrawSunkenEdge(TcxCanvas* C, const RECT& R) const
{
  C->FrameRect(R, GetPanelColor(), 1, TcxBorders{bRight, bBottom});
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                        bool Active) const
{
  C->FrameRect(R, GetBorderColorByState(State));
  C->FillRectColor(InflatedRect(R, -1, -1), GetButtonFaceColor(State));
  DrawDropDownArrow(C, R, Active ? clBlue : GetButtonSymbolColor(State));
}

void TcxUltraFlatLookAndFeelPainter::DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders,
                                                 bool Vertical) const
{
  RECT r = R;
  bool selectedSide = Vertical ? Side == bBottom : Side == bRight;
  if (selectedSide && Side == bRight) r.bottom -= GetTabBorderWidth(Vertical);
  C->FillRectColor(r, selectedSide ? GetSelectedTabBorderColor() : GetTabBorderColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const
{
  C->DrawTwoColorFrame(R, GetTabBorderColor(), GetTabBorderColor(), Borders, GetTabBorderWidth(Vertical));
}

void TcxUltraFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part,
                                                       TcxButtonState State) const
{
  if (IsRectEmpty(R) || (Part == cxsbpThumb && State == cxbsDisabled)) return;
  if (Part == cxsbpPageUp || Part == cxsbpPageDown) {
    DrawPatternTrack(C, R, State == cxbsPressed);
    return;
  }
  DrawButtonWithText(C, R, "", State, true, clDefault, clDefault);
  if (Part != cxsbpThumb) DrawButtonArrow(C, R, State, cxLookAndFeelPainters::ScrollArrowDirection(Horizontal, Part));
}
