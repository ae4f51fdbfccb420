// The look-and-feel painters: one class per look, each drawing every part the controls of the
// family need (buttons, arrows, check and radio buttons, headers, footers, indicators, tabs,
// expand glyphs, scroll-bar parts) and answering the look's default colours and sizes.
//
// A painter has no state: each painter class has exactly one constant instance, and a control
// holds a pointer to it (TcxCustomLookAndFeelPainterClass) as it would hold a class reference.
// Every operation is virtual, so a base behaviour computes with the painter's own overrides.
//
// Call flow of a typical part: DrawHeader -> PaintHeaderBorder -> GetHeaderBorderInnerRect ->
// DrawContent -> TcxCanvas::DrawText.
#pragma once

#include <functional>

#include "controls/framework/cxClasses.h"
#include "controls/framework/cxGraphics.h"

struct TcxStyleViewParams;

PELTO_ENUM(TcxButtonState, cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled)
// Scoped: the class library's anchors use akLeft and akRight too.
enum class TcxArrowKind { akUp, akDown, akLeft, akRight };
inline const TTypeInfo* TypeInfoFor(TcxArrowKind*)
{
  static const TTypeInfo* type = TypInfo::MakeEnumType("TcxArrowKind", "akUp, akDown, akLeft, akRight");
  return type;
}
PELTO_ENUM(TcxIndicatorImageKind, iikNone, iikArrow, iikEdit, iikInsert, iikMultiDot, iikMultiArrow)
using TcxNeighbors = TcxBorders;

// Scroll-bar parts: 1 top or left arrow, 2 bottom or right arrow, 3 thumb, 4 page-up track,
// 5 page-down track.
constexpr int cxsbpLineUp = 1, cxsbpLineDown = 2, cxsbpThumb = 3, cxsbpPageUp = 4, cxsbpPageDown = 5;

// The arrows of DrawFlatHeaderWithFrame: bit 1 left, bit 2 right.
constexpr int cxArrowLeft = 1, cxArrowRight = 2;

// Answers whether it drew the background itself.
using TcxDrawBackgroundEvent = std::function<bool(TcxCanvas* Canvas, const RECT& Bounds)>;

class TcxCustomLookAndFeelPainter {
public:
  virtual ~TcxCustomLookAndFeelPainter() = default;

  virtual void DrawDropDownArrow(TcxCanvas* C, const RECT& R, TColor Color) const;
  // Background (by OnDrawBackground, else Color), then the text in TextRect.
  virtual void DrawContent(TcxCanvas* C, const RECT& R, const RECT& TextRect, TAlignment AlignmentHorz,
                           TcxAlignmentVert AlignmentVert, bool MultiLine, bool ShowEndEllipsis, const AnsiString& Text,
                           TFont* Font, TColor TextColor, TColor Color,
                           const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual RECT GetContentRect(const RECT& R) const;
  virtual RECT GetContentTextRect(const RECT& R) const;
  // 0 flat, 1 standard, 2 ultra-flat, 3 themed.
  virtual int GetLookAndFeelKind() const { return 1; }

  // Spare default colours, asked for by no control of the program.
  virtual TColor GetSpareColor1() const { return 0xF0FBFF; }
  virtual TColor GetSpareColor2() const { return clWindowText; }
  virtual TColor GetSpareColor3() const { return 0xF0FBFF; }
  virtual TColor GetSpareColor4() const { return clWindowText; }
  virtual TColor GetSpareColor5() const { return clBtnShadow; }
  virtual TColor GetSpareColor6() const { return clWindowText; }
  virtual TColor GetSpareColor7() const { return clWindowText; }
  virtual TColor GetSpareColor8() const { return clLime; }
  virtual TColor GetSpareColor9() const { return clWindow; }
  virtual TColor GetSpareColor10() const { return clLime; }
  virtual TColor GetSpareColor11() const { return clWindowText; }
  virtual TColor GetButtonMarkColor() const { return clWindowText; }
  virtual TColor GetDefaultContentColor() const { return clWindow; }
  virtual TColor GetDefaultContentTextColor() const { return clWindowText; }
  virtual TColor GetSpareColor12() const { return clBtnFace; }
  virtual TColor GetSpareColor13() const { return clBtnFace; }
  virtual TColor GetSpareColor14() const { return clHighlight; }
  virtual TColor GetSpareColor15() const { return clHighlightText; }
  virtual TColor GetDefaultFilterBoxColor() const { return clBtnShadow; }
  virtual TColor GetDefaultFilterBoxTextColor() const { return clBtnHighlight; }
  virtual TColor GetDefaultDetailFrameColor() const { return clBtnText; }
  virtual TColor GetDefaultFooterColor() const { return clBtnFace; }
  virtual TColor GetDefaultFooterTextColor() const { return clBtnText; }
  virtual TColor GetDefaultGridLineColor() const { return clBtnShadow; }
  virtual TColor GetDefaultGroupColor() const { return clBtnFace; }
  virtual TColor GetDefaultGroupTextColor() const { return clBtnText; }
  virtual TColor GetDefaultGroupByBoxColor() const { return clBtnShadow; }
  virtual TColor GetDefaultGroupByBoxTextColor() const { return clBtnFace; }
  virtual TColor GetDefaultHeaderColor() const { return clBtnFace; }
  virtual TColor GetDefaultHeaderTextColor() const { return clBtnText; }
  virtual TColor GetSpareColor16() const { return clBtnShadow; }
  virtual TColor GetSpareColor17() const { return clBtnFace; }
  virtual TColor GetDefaultInactiveColor() const { return clBtnFace; }
  virtual TColor GetDefaultInactiveTextColor() const { return clBtnText; }
  virtual TColor GetSpareColor18() const { return clBtnFace; }
  virtual TColor GetSpareColor19() const { return clRed; }
  virtual TColor GetDefaultPreviewTextColor() const { return clBlue; }
  virtual TColor GetDefaultRowSeparatorColor() const { return GetDefaultGridLineColor(); }
  virtual TColor GetDefaultSelectionColor() const { return clHighlight; }
  virtual TColor GetDefaultSelectionTextColor() const { return clHighlightText; }
  virtual TColor GetSpareColor20() const { return clBtnFace; }
  virtual TColor GetDefaultTabColor() const { return clBtnFace; }
  virtual TColor GetDefaultTabTextColor() const { return clBtnText; }
  virtual TColor GetDefaultTabsBackgroundColor() const { return clBtnFace; }

  // Arrows: a filled triangle centred in Rect's centred square.
  virtual void DrawArrow(TcxCanvas* C, const RECT& R, TColor Color, TcxArrowKind Direction) const;
  virtual void DrawScrollArrowButton(TcxCanvas* C, const RECT& R, TcxButtonState State, TcxArrowKind Direction,
                                     bool AsButton) const;
  virtual void DrawButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const;
  virtual void DrawButtonArrow(TcxCanvas* C, const RECT& R, TcxButtonState State, TcxArrowKind Direction) const;
  virtual int GetBorderWidth() const { return 0; }
  virtual void PaintBorder(TcxCanvas* C, const RECT& R) const {}
  virtual int GetButtonBorderWidth(TcxButtonState State = cxbsNormal) const { return 0; }
  virtual TColor GetButtonFaceColor(TcxButtonState State) const { return clBtnFace; }
  virtual RECT GetButtonFocusRect(TcxCanvas* C, const RECT& R) const;
  virtual RECT GetButtonGroupBorders(int ButtonCount, int ButtonIndex) const;
  virtual int GetButtonTextIndent() const { return 0; }
  virtual int GetButtonTextPressedShift() const { return 0; }
  virtual TColor GetButtonSymbolColor(TcxButtonState State) const;
  virtual TcxButtonState GetButtonSymbolState(TcxButtonState State) const { return State; }
  // Color and TextColor clDefault: the state's face and symbol colours.
  virtual void DrawButtonWithText(TcxCanvas* C, const RECT& R, const AnsiString& Text, TcxButtonState State,
                                  bool DrawBorder = true, TColor Color = clDefault, TColor TextColor = clDefault) const;
  virtual void DrawSimpleButton(TcxCanvas* C, const RECT& R, TcxButtonState State, int ButtonCount, int ButtonIndex,
                                TColor BorderColor) const;
  virtual void DrawButtonBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const {}
  virtual void DrawNavigatorBorder(TcxCanvas* C, const RECT& R, bool Flag1, bool Flag2) const {}
  virtual void DrawExpandGlyph(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const {}
  virtual bool GetExpandGlyphFlag() const { return true; }
  virtual void DrawGroupExpandGlyph(TcxCanvas* C, const RECT& R, bool Expanded, TcxButtonState State) const;
  virtual void DrawExpandGlyphFrame(TcxCanvas* C, const RECT& R, TColor FrameColor, TColor Color, bool Expanded) const;
  virtual int GetExpandGlyphSize() const { return 0; }
  virtual int GetGroupExpandButtonSize() const { return 15; }
  virtual bool HasButtonHotTrack() const { return false; }
  virtual bool IsPointInGroupExpandButton(const RECT& R, POINT P) const;
  virtual int GetSmallExpandGlyphSize() const { return 9; }

  virtual int GetCheckBorderWidth() const { return 2; }
  virtual TColor GetCheckBoxColor(TcxButtonState State) const;
  virtual void DrawCheckMark(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked, TColor Color) const;
  virtual void DrawCheckBoxBorder(TcxCanvas* C, const RECT& R, TcxButtonState State) const {}
  virtual void DrawCheckBox(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked) const;
  // BackgroundColor clDefault: drawn transparently.
  virtual void DrawRadioButton(TcxCanvas* C, int X, int Y, TcxButtonState State, bool Checked, bool Focused,
                               TColor BackgroundColor, bool IsDesigning = false) const;

  virtual void DrawHeader(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors, TcxBorders Borders,
                          TcxButtonState State, TAlignment AlignmentHorz, TcxAlignmentVert AlignmentVert,
                          bool MultiLine, bool ShowEndEllipsis, const AnsiString& Text, TFont* Font, TColor TextColor,
                          TColor Color, const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual void DrawHeaderSection(TcxCanvas* C, const RECT& R, const RECT& TextRect, TcxNeighbors Neighbors,
                                 TcxBorders Borders, TcxButtonState State, TAlignment AlignmentHorz,
                                 TcxAlignmentVert AlignmentVert, bool MultiLine, bool ShowEndEllipsis,
                                 const AnsiString& Text, TFont* Font, TColor TextColor, TColor Color,
                                 const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual void PaintHeaderBorder(TcxCanvas* C, const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const {}
  virtual void DrawHeaderHighlight(TcxCanvas* C, const RECT& R) const { C->InvertRect(R); }
  virtual void PaintSortingMark(TcxCanvas* C, const RECT& R, bool Ascending) const {}
  virtual TcxBorders GetHeaderBorders(TcxNeighbors Neighbors) const { return cxBordersAll; }
  virtual int GetHeaderBorderWidth() const { return 0; }
  virtual RECT GetHeaderContentRect(const RECT& R, TcxNeighbors Neighbors, TcxBorders Borders) const;
  virtual RECT GetHeaderBorderInnerRect(const RECT& R, TcxBorders Borders) const;
  virtual bool PaintHeaderCellsFirst() const { return true; }
  virtual int GetHeaderHeight(int FontHeight) const { return FontHeight + 2 * GetHeaderBorderWidth() + 4; }
  virtual int GetHeaderWidth(TcxCanvas* C, TcxBorders Borders, const AnsiString& Text, TFont* Font) const;
  virtual bool HasHeaderHotTrack() const { return false; }
  virtual SIZE GetSortingMarkAreaSize() const { return SIZE{16, GetSortingMarkSize().cy}; }
  virtual SIZE GetSortingMarkSize() const { return SIZE{0, 0}; }

  virtual void DrawPanel(TcxCanvas* C, const RECT& R, const AnsiString& Text, TAlignment AlignmentHorz,
                         TcxAlignmentVert AlignmentVert, bool ShowEndEllipsis, TFont* Font, TColor TextColor,
                         TColor Color, const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual TcxBorders GetPanelBorders() const { return cxBordersAll; }
  virtual int GetPanelFrameWidth() const { return 0; }
  virtual int GetPanelBorderWidth() const { return 0; }
  virtual int GetPanelCellOffset() const { return 0; }
  virtual bool PaintPanelCellsFirst() const { return true; }
  virtual TColor GetPanelColor() const { return clBtnShadow; }
  virtual int GetPanelSpacing() const { return 1; }
  virtual void DrawSunkenEdge(TcxCanvas* C, const RECT& R) const {}
  virtual void DrawPanelBorder(TcxCanvas* C, const RECT& R) const {}
  virtual void FillPanel(TcxCanvas* C, const RECT& R) const { C->FillRectColor(R, GetPanelColor()); }

  virtual void DrawCheckBoxAt(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Checked) const
  {
    DrawCheckBox(C, R, State, Checked);
  }
  virtual void DrawCloseButton(TcxCanvas* C, const RECT& R, TcxButtonState State) const;
  virtual void DrawDropDownButton(TcxCanvas* C, const RECT& R, TcxButtonState State, bool Active) const {}
  virtual SIZE GetCheckBoxSize() const { return SIZE{13, 13}; }
  virtual SIZE GetCloseButtonSize() const { return SIZE{16, 14}; }
  virtual SIZE GetDropDownButtonSize() const { return SIZE{15, 0}; }
  virtual int GetPopupFrameStyle() const { return 1; }
  virtual SIZE GetSpareButtonSize1() const { return SIZE{16, 14}; }
  virtual SIZE GetSpareButtonSize2() const { return SIZE{16, 14}; }
  virtual SIZE GetMarkButtonSize() const { return SIZE{13, 13}; }
  virtual SIZE GetGlyphButtonSize() const { return SIZE{16, 14}; }
  virtual SIZE GetSpareButtonSize3() const { return SIZE{16, 14}; }
  virtual void DrawButtonWithMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const;
  virtual void DrawButtonMark(TcxCanvas* C, const RECT& R, TcxButtonState State) const;
  // Glyph 0: auto-hide on, 1: auto-hide off.
  virtual void DrawGlyphButton(TcxCanvas* C, const RECT& R, TColor BackgroundColor, bool Horizontal, int Glyph,
                               TcxButtonState State) const;

  virtual void DrawTab(TcxCanvas* C, const RECT& R, TcxBorders Borders, const AnsiString& Text, TcxButtonState State,
                       bool Vertical, TFont* Font, TColor TextColor, TColor Color) const
  {}
  virtual void DrawTabSide(TcxCanvas* C, const RECT& R, TcxBorder Side, TcxBorders Borders, bool Vertical) const {}
  virtual void DrawTabStrip(TcxCanvas* C, const RECT& R, bool Vertical, TcxBorders Borders) const {}
  virtual int GetTabExtraWidth1(bool Vertical) const { return 0; }
  virtual int GetTabExtraWidth2(bool Vertical) const { return 0; }
  virtual int GetTabBorderWidth(bool Vertical) const { return 0; }

  virtual void DrawIndicatorItem(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind, TColor Color,
                                 const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual void DrawIndicatorItemSection(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind, TColor Color,
                                        const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual bool PaintIndicatorItemsFirst() const { return true; }
  virtual void DrawScrollBarPart(TcxCanvas* C, bool Horizontal, const RECT& R, int Part, TcxButtonState State) const {}
  virtual void DrawFlatHeaderWithFrame(TcxCanvas* C, const RECT& R, const AnsiString& Text, TcxNeighbors Neighbors,
                                       const TcxStyleViewParams& ViewParams, int Arrows, int ArrowOffset,
                                       const TcxDrawBackgroundEvent& OnDrawBackground = nullptr) const;
  virtual void DrawBorderRect(TcxCanvas* C, const RECT& R) const { PaintBorder(C, R); }

protected:
  // Shared shapes of the looks.
  void DrawPlusMinus(TcxCanvas* C, const RECT& R, TColor Color, bool Expanded) const;
  void DrawOutlinedSortingMark(TcxCanvas* C, const RECT& R, bool Ascending, TColor Light, TColor Dark) const;
  void DrawSmallArrows(TcxCanvas* C, const RECT& R, int Arrows, int ArrowOffset) const;
  void DrawIndicatorImage(TcxCanvas* C, const RECT& R, TcxIndicatorImageKind Kind) const;
  void DrawArrowIn(TcxCanvas* C, const RECT& R, TColor Color, TcxArrowKind Direction) const;
  void DrawDoubleChevron(TcxCanvas* C, const RECT& R, bool Expanded, TcxButtonState State) const;
  void DrawPatternTrack(TcxCanvas* C, const RECT& R, bool Pressed) const;
};

using TcxCustomLookAndFeelPainterClass = const TcxCustomLookAndFeelPainter*;

namespace cxLookAndFeelPainters {
// The push-button theme state of a button state: default 5, normal 1, hot 2, pressed 3, disabled 4.
int ButtonStateToThemeState(TcxButtonState State);
// Rebuilds the two 8 x 8 track patterns from the current system colours.
void RefreshScrollBarPatterns();
// The radio-button images are rebuilt on their next use (after a system colour change).
void ClearRadioButtonImages();
// The arrow of a scroll-bar line button (cxsbpLineUp or cxsbpLineDown).
TcxArrowKind ScrollArrowDirection(bool Horizontal, int Part);
// Creates the shared images and patterns. Idempotent.
void Initialize();
void Finalize();
}  // namespace cxLookAndFeelPainters
