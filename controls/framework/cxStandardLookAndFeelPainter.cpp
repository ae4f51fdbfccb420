#include "controls/framework/cxStandardLookAndFeelPainter.h"

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

TcxCustomLookAndFeelPainterClass TcxStandardLookAndFeelPainter::Class()
{
  static const TcxStandardLookAndFeelPainter painter;
  return &painter;
}

void TcxStandardLookAndFeelPainter::PaintBorder(TcxCanvas* C, const RECT& R) const
{
  C->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
  C->DrawTwoColorFrame(InflatedRect(R, -1, -1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  RECT r = R;
  if (State == cxbsPressed) {
    C->FrameRect(r, clBlack);
    C->FrameRect(InflatedRect(r, -1, -1), clBtnShadow);
    return;
  }
  if (State == cxbsDefault) {
    C->FrameRect(r, clBlack);
    r = InflatedRect(r, -1, -1);
  }
  C->DrawTwoColorFrame(r, clBtnHighlight, cl3DDkShadow);
  C->DrawTwoColorFrame(InflatedRect(r, -1, -1), cl3DLight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const
{
  C->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow);
  C->DrawTwoColorFrame(InflatedRect(R, -1, -1), clBtnShadow, clBtnShadow, TcxBorders{bRight, bBottom});
  RECT r = InflatedRect(R, -1, -1);
  --r.right;
  --r.bottom;
  C->FillRectColor(r, Color == clDefault ? clBtnFace : Color);
  DrawPlusMinus(C, r, clBtnText, Expanded);
  C->ExcludeFromClip(R);
}

void TcxStandardLookAndFeelPainter::DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded,
                                                         TcxButtonState State) const
{
  TcxFlatLookAndFeelPainter::Class()->DrawGroupExpandGlyph(C, R, Expanded, State);
}

void TcxStandardLookAndFeelPainter::DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  C->DrawEdge(R, true, false);
  C->DrawEdge(InflatedRect(R, -1, -1), true, true);
}

void TcxStandardLookAndFeelPainter::PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors,
                                                      TcxBorders Borders) const
{
  C->DrawEdge(R, false, false);
  if (Neighbors.Contains(bLeft)) {
    C->SetPixel(R.left, R.top + 1, clBtnFace);
    C->SetPixel(R.left, R.bottom - 2, clBtnFace);
  }
  if (Neighbors.Contains(bRight)) {
    C->SetPixel(R.right - 1, R.top, clBtnHighlight);
    C->SetPixel(R.right - 1, R.top + 1, clBtnFace);
    C->SetPixel(R.right - 1, R.bottom - 2, clBtnFace);
  }
}

void TcxStandardLookAndFeelPainter::PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const
{
  DrawOutlinedSortingMark(C, R, Ascending, clBtnHighlight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State,
                                                       bool Active) const
{
  C->DrawEdge(R, State == cxbsPressed, State == cxbsPressed);
  C->FillRectColor(InflatedRect(R, -1, -1), clBtnFace);
  DrawDropDownArrow(C, R, Active ? clBlue : clBtnText);
}

void TcxStandardLookAndFeelPainter::DrawButtonMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const
{
  RECT r = R;
  --r.right;
  --r.bottom;
  if (State == cxbsPressed) r = OffsetRect(r, 1, 1);
  TcxCustomLookAndFeelPainter::DrawButtonMark(C, r, State);
}

void TcxStandardLookAndFeelPainter::DrawTabSide(TcxCanvas* C, const RECT& Rect, TcxBorder Side, TcxBorders Borders,
                                                bool Vertical) const
{
  RECT r = Rect;
  TColor fill = clBtnHighlight;
  if (!Vertical) {
    if (Side == bLeft || Side == bRight) {
      if (Borders.Contains(bTop)) r.top += 2;
      if (Borders.Contains(bBottom)) r.bottom -= 1;
      if (Side == bRight) fill = clBtnShadow;
    } else if (Side == bTop) {
      ++r.left;
      --r.right;
      C->SetPixel(Rect.left, r.top + 1, clBtnHighlight);
      C->SetPixel(Rect.right - 1, r.top + 1, clBtnHighlight);
    }
  } else {
    if (Side == bLeft) {
      r.top += Borders.Contains(bTop) ? 2 : 1;
      r.bottom -= Borders.Contains(bBottom) ? 2 : 1;
      C->SetPixel(r.left + 1, r.top - 1, clBtnHighlight);
      C->SetPixel(r.left + 1, r.bottom, clBtnHighlight);
    } else if (Side == bTop || Side == bBottom) {
      if (Borders.Contains(bLeft)) ++r.left;
      if (Side == bBottom) fill = clBtnShadow;
    }
  }
  C->FillRectColor(r, fill);
}

void TcxStandardLookAndFeelPainter::DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const
{
  C->DrawEdge(R, false, false, Borders);
}

void TcxStandardLookAndFeelPainter::DrawScrollButtonBorder(TcxCanvas* C, const RECT& R, bool Pressed) const
{
  if (Pressed) {
    C->FrameRect(R, clBtnShadow);
    C->FrameRect(InflatedRect(R, -1, -1), clBtnFace);
  } else {
    C->DrawTwoColorFrame(R, clBtnFace, cl3DDkShadow);
    C->DrawTwoColorFrame(InflatedRect(R, -1, -1), clBtnHighlight, clBtnShadow);
  }
}

void TcxStandardLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part,
                                                      TcxButtonState State) const
{
  if (IsRectEmpty(R) || (Part == cxsbpThumb && State == cxbsDisabled)) return;
  if (State == cxbsHot) State = cxbsNormal;
  bool pressed = State == cxbsPressed;
  switch (Part) {
    case cxsbpPageUp:
    case cxsbpPageDown: DrawPatternTrack(C, R, pressed); break;
    case cxsbpThumb:
      DrawScrollButtonBorder(C, R, false);
      C->FillRectColor(InflatedRect(R, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal)),
                       clBtnFace);
      break;
    case cxsbpLineUp:
    case cxsbpLineDown: {
      RECT r = pressed ? OffsetRect(R, 1, 1) : R;
      UINT kind = Horizontal ? (Part == cxsbpLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                             : (Part == cxsbpLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
      if (State == cxbsDisabled) kind |= DFCS_INACTIVE;
      if (pressed) kind |= DFCS_FLAT;
      Windows::DrawFrameControl(C->GetHandle(), &r, DFC_SCROLL, kind);
      DrawScrollButtonBorder(C, R, pressed);
      break;
    }
    default: break;
  }
}

void TcxStandardLookAndFeelPainter::DrawFlatHeaderWithFrame(TcxCanvas* C, const RECT& R, const AnsiString& Text,
                                                            TcxNeighbors Neighbors, const TcxStyleViewParams& VP,
                                                            int Arrows, int ArrowOffset,
                                                            const TcxDrawBackgroundEvent& OnDrawBackground) const
{
  TcxBorders frame = cxBordersAll;
  if (Neighbors.Contains(bLeft)) frame.Exclude(bLeft);
  if (Neighbors.Contains(bRight)) frame.Exclude(bRight);
  C->FrameRect(R, clBlack, 1, frame);
  RECT inner = GetHeaderBorderInnerRect(R, frame);
  DrawHeader(C, inner, inner, Neighbors, cxBordersAll, cxbsNormal, taCenter, vaCenter, false, false, Text, VP.Font,
             VP.TextColor, VP.Color, OnDrawBackground);
  DrawSmallArrows(C, R, Arrows, ArrowOffset);
}
