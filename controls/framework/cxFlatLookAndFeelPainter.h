// The flat look: thin edges; headers, tabs and drop-down buttons as the standard look draws them.
#pragma once

#include "controls/framework/cxStandardLookAndFeelPainter.h"

class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Class();
  int GetLookAndFeelKind() const override { return 0; }
  int GetBorderWidth() const override { return 1; }
  void PaintBorder(TcxCanvas* C, const RECT& R) const override { C->DrawEdge(R, true, true); }
  int GetButtonBorderWidth(TcxButtonState State = cxbsNormal) const override { return State == cxbsDefault ? 2 : 1; }
  int GetButtonTextIndent() const override { return 1; }
  int GetButtonTextPressedShift() const override { return 1; }
  void DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const override;
  int GetExpandGlyphSize() const override { return 11; }
  void DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const override
  {
    TcxStandardLookAndFeelPainter::Class()->PaintHeaderBorder(C, R, Neighbors, Borders);
  }
  void PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const override
  {
    DrawOutlinedSortingMark(C, R, Ascending, clBtnHighlight, clBtnShadow);
  }
  int GetHeaderBorderWidth() const override { return 1; }
  SIZE GetSortingMarkSize() const override { return SIZE{8, 7}; }
  int GetPanelFrameWidth() const override { return 1; }
  int GetPanelBorderWidth() const override { return 1; }
  int GetPanelCellOffset() const override { return 1; }
  void DrawSunkenEdge(TcxCanvas* C, const RECT& R) const override { C->DrawEdge(R, false, false); }
  void DrawPanelBorder(TcxCanvas* C, const RECT& R) const override { C->DrawEdge(R, true, true); }
  void DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Active) const override
  {
    TcxStandardLookAndFeelPainter::Class()->DrawDropDownButton(C, R, State, Active);
  }
  void DrawButtonMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const override
  {
    TcxStandardLookAndFeelPainter::Class()->DrawButtonMark(C, R, State);
  }
  void DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders, bool Vertical) const override
  {
    TcxStandardLookAndFeelPainter::Class()->DrawTabSide(C, R, Side, Borders, Vertical);
  }
  void DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const override;
  int GetTabBorderWidth(bool Vertical) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part, TcxButtonState State) const override;
};
