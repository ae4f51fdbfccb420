// The ultra-flat look: single-line frames in the shadow colour, highlighted when hot.
#pragma once

#include "controls/framework/cxLookAndFeelPainters.h"

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Class();
  int GetLookAndFeelKind() const override { return 2; }
  TColor GetButtonMarkColor() const override { return clNavy; }
  int GetBorderWidth() const override { return 1; }
  void PaintBorder(TcxCanvas* C, const RECT& R) const override { C->FrameRect(R, clBtnShadow); }
  int GetButtonBorderWidth(TcxButtonState State = cxbsNormal) const override { return State == cxbsDefault ? 2 : 1; }
  TColor GetButtonFaceColor(TcxButtonState State) const override;
  RECT GetButtonFocusRect(TcxCanvas* C, const RECT& R) const override;
  RECT GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const override;
  int GetButtonTextIndent() const override { return 2; }
  int GetButtonTextPressedShift() const override { return 0; }
  TColor GetButtonSymbolColor(TcxButtonState State) const override;
  TcxButtonState GetButtonSymbolState(TcxButtonState State) const override { return cxbsNormal; }
  void DrawSimpleButton(TcxCanvas* C, const RECT& R, TcxButtonState State, int ButtonCount, int ButtonIndex,
                        TColor BorderColor) const override;
  void DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawNavigatorBorder(TcxCanvas* C, const RECT& R, bool Flag1, bool Flag2) const override;
  void DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const override;
  int GetExpandGlyphSize() const override { return 11; }
  bool HasButtonHotTrack() const override { return true; }
  void DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawHeaderSection(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors, TcxBorders Borders,
                         TcxButtonState State, TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert, bool MultiLine,
                         bool ShowEndEllipsis, const AnsiString& Text, TFont* Font, TColor TextColor, TColor Color,
                         const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const override;
  void PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const override;
  void PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const override
  {
    DrawOutlinedSortingMark(C, R, Ascending, clBtnShadow, clBtnShadow);
  }
  TcxBorders GetHeaderBorders(TcxNeighbors Neighbors) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  SIZE GetSortingMarkSize() const override { return SIZE{7, 8}; }
  TcxBorders GetPanelBorders() const override { return TcxBorders{bRight, bBottom}; }
  int GetPanelFrameWidth() const override { return 1; }
  int GetPanelBorderWidth() const override { return 1; }
  int GetPanelCellOffset() const override { return 2; }
  void DrawSunkenEdge(TcxCanvas* C, const RECT& R) const override;
  void DrawPanelBorder(TcxCanvas* C, const RECT& R) const override { C->FrameRect(R, GetPanelColor()); }
  void DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Active) const override;
  SIZE GetCloseButtonSize() const override { return SIZE{16, 15}; }
  SIZE GetMarkButtonSize() const override { return SIZE{12, 12}; }
  void DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders, bool Vertical) const override;
  void DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const override;
  int GetTabBorderWidth(bool Vertical) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part, TcxButtonState State) const override;

  virtual TColor GetBorderColorByState(TcxButtonState State) const
  {
    return State == cxbsNormal ? clBtnShadow : clHighlight;
  }
  virtual TColor GetTabBorderColor() const { return clBtnShadow; }
  virtual TColor GetSelectedTabBorderColor() const { return clBtnText; }
  virtual TColor GetHighlightFrameColor() const { return clHighlight; }
};
