// The themed painter: draws through the theme library. Every operation asks for its theme
// class's handle first and, when it is 0 (no library, themes off, class missing), draws as the
// standard painter (or the base behaviour where the standard painter has none).
#pragma once

#include "controls/framework/cxFlatLookAndFeelPainter.h"

class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Class();
  int GetLookAndFeelKind() const override { return 3; }
  TColor GetButtonMarkColor() const override { return clNavy; }
  void DrawScrollArrowButton(TcxCanvas* C, const RECT& R, TcxButtonState State, TcxArrowKind Direction,
                             bool AsButton) const override;
  void DrawButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  int GetBorderWidth() const override;
  void PaintBorder(TcxCanvas* C, const RECT& R) const override;
  int GetButtonBorderWidth(TcxButtonState State = cxbsNormal) const override;
  TColor GetButtonFaceColor(TcxButtonState State) const override;
  RECT GetButtonFocusRect(TcxCanvas* C, const RECT& R) const override;
  RECT GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const override;
  int GetButtonTextIndent() const override { return 2; }
  int GetButtonTextPressedShift() const override { return 0; }
  TColor GetButtonSymbolColor(TcxButtonState State) const override;
  void DrawButtonWithText(TcxCanvas* C, const RECT& R, const AnsiString& Text, TcxButtonState State,
                          bool DrawBorder = true, TColor Color = clDefault,
                          TColor TextColor = clDefault) const override;
  void DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const override;
  bool GetExpandGlyphFlag() const override { return false; }
  void DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded, TcxButtonState State) const override;
  void DrawExpandGlyphFrame(TcxCanvas* C, const RECT& R, TColor FrameColor, TColor Color, bool Expanded) const override;
  int GetExpandGlyphSize() const override;
  int GetGroupExpandButtonSize() const override;
  bool HasButtonHotTrack() const override { return true; }
  bool IsPointInGroupExpandButton(const RECT& R, POINT P) const override;
  int GetSmallExpandGlyphSize() const override;
  int GetCheckBorderWidth() const override;
  void DrawCheckMark(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked, TColor Color) const override;
  void DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawRadioButton(TcxCanvas* C, int X, int Y, TcxButtonState State, bool Checked, bool Focused,
                       TColor BackgroundColor, bool IsDesigning = false) const override;
  void DrawHeader(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors, TcxBorders Borders,
                  TcxButtonState State, TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert, bool MultiLine,
                  bool ShowEndEllipsis, const AnsiString& Text, TFont* Font, TColor TextColor, TColor Color,
                  const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const override;
  void DrawHeaderHighlight(TcxCanvas* C, const RECT& R) const override {}
  void PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const override
  {
    DrawOutlinedSortingMark(C, R, Ascending, clBtnShadow, clBtnShadow);
  }
  int GetHeaderBorderWidth() const override;
  bool PaintHeaderCellsFirst() const override { return false; }
  bool HasHeaderHotTrack() const override { return true; }
  SIZE GetSortingMarkSize() const override { return SIZE{7, 8}; }
  void DrawPanel(TcxCanvas* C, const RECT& R, const AnsiString& Text, TAlignment AlignmentHorz,
                 TcxAlignmentVert AlignmentVert, bool ShowEndEllipsis, TFont* Font, TColor TextColor, TColor Color,
                 const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const override;
  int GetPanelBorderWidth() const override;
  bool PaintPanelCellsFirst() const override { return false; }
  void DrawSunkenEdge(TcxCanvas* C, const RECT& R) const override;
  void DrawCloseButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Active) const override;
  SIZE GetCheckBoxSize() const override;
  SIZE GetCloseButtonSize() const override;
  SIZE GetMarkButtonSize() const override { return SIZE{15, 15}; }
  SIZE GetGlyphButtonSize() const override;
  void DrawButtonWithMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const override;
  void DrawGlyphButton(TcxCanvas* C, const RECT& R, TColor BackgroundColor, bool Horizontal, int Glyph,
                       TcxButtonState State) const override;
  void DrawTab(TcxCanvas* C, const RECT& R, TcxBorders Borders, const AnsiString& Text, TcxButtonState State,
               bool Vertical, TFont* Font, TColor TextColor, TColor Color) const override;
  void DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders, bool Vertical) const override;
  void DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const override;
  int GetTabExtraWidth1(bool Vertical) const override;
  int GetTabExtraWidth2(bool Vertical) const override { return GetTabExtraWidth1(Vertical); }
  void DrawIndicatorItem(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind, TColor Color,
                         const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const override
  {
    TcxFlatLookAndFeelPainter::Class()->DrawIndicatorItem(C, R, Kind, Color, OnDrawBackground);
  }
  void DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part, TcxButtonState State) const override;

  // Text in a theme part, in Font and TextColor; nothing for an empty text.
  virtual void DrawThemedText(TcxCanvas* C, HTHEME Theme, int PartId, int StateId, const RECT& TextRect,
                              TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert, bool MultiLine,
                              bool ShowEndEllipsis, const AnsiString& Text, TFont* Font, TColor TextColor) const;
};
