// The standard look: raised and sunken 3-D edges.
#pragma once

#include "controls/framework/cxLookAndFeelPainters.h"

class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Class();
  int GetLookAndFeelKind() const override { return 1; }
  int GetBorderWidth() const override { return 2; }
  void PaintBorder(TcxCanvas* C, const RECT& R) const override;
  int GetButtonBorderWidth(TcxButtonState State = cxbsNormal) const override { return State == cxbsDefault ? 3 : 2; }
  int GetButtonTextIndent() const override { return 1; }
  int GetButtonTextPressedShift() const override { return 1; }
  void DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const override;
  void DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded, TcxButtonState State) const override;
  int GetExpandGlyphSize() const override { return 12; }
  void DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const override;
  void PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  SIZE GetSortingMarkSize() const override { return SIZE{8, 7}; }
  int GetPanelFrameWidth() const override { return 1; }
  int GetPanelBorderWidth() const override { return 1; }
  int GetPanelCellOffset() const override { return 1; }
  void DrawSunkenEdge(TcxCanvas* C, const RECT& R) const override { C->DrawEdge(R, false, false); }
  void DrawPanelBorder(TcxCanvas* C, const RECT& R) const override { C->DrawEdge(R, true, true); }
  void DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Active) const override;
  void DrawButtonMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders, bool Vertical) const override;
  void DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const override;
  int GetTabBorderWidth(bool Vertical) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part, TcxButtonState State) const override;
  void DrawFlatHeaderWithFrame(TcxCanvas* C, const RECT& R, const AnsiString& Text, TcxNeighbors Neighbors,
                               const TcxStyleViewParams& ViewParams, int Arrows, int ArrowOffset,
                               const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const override;

protected:
  void DrawScrollButtonBorder(TcxCanvas* C, const RECT& R, bool Pressed) const;
};
