// The routines that lay out and paint the editors: border geometry and colours, the frames and
// faces of buttons in every button style, check marks, spin arrows, and the frame, size grip and
// window region of a drop-down editor's pop-up.
//
// The routines keep none of the rectangles they are given and put back every device context,
// clip region and GDI object before they return, also when drawing raises. Themed ("native")
// drawing needs the theme library, which this platform lacks: every native branch asks
// CanDrawNativePart first and takes the classic drawing when it answers false.
//
// Call flow of an editor's paint: TcxEditPaintViewInfo::InternalPaint -> PaintEditViewInfo
// (frame and background, then each button) -> PaintButton -> PaintEditButton -> PaintButtonFrame
// -> PaintButtonContent. A view info descendant overrides the three button hooks (the spin
// editor paints its own frames and arrows).
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/editors/paint/cxEditTypes.h"
#include "controls/framework/cxContainerViewInfo.h"
#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/classes/TextAlignment.h"

class TBitmap;
class TCustomImageList;
class TFont;

// What painting reads of one editor button; the editors' button view info derives from it.
struct TcxEditButtonPaintInfo {
  virtual ~TcxEditButtonPaintInfo() = default;
  RECT Bounds{};         // the whole button
  RECT VisibleBounds{};  // the part inside the editor
  int State = cxEditButtonNormal;
  TcxEditButtonStyle Style = btsDefault;  // the effective style
  TcxEditButtonKind Kind = bkDown;
  bool LeftAlignment = false;
  bool LeftEdge = false, RightEdge = false;  // the button ends its group on that side
  bool Transparent = false;
  bool IsInplace = false;
  bool DropDownArrowOnly = false;  // the editor's only button, of kind bkDown
  TBitmap* Glyph = nullptr;        // borrowed
  int Width = 0;
  TColor BackgroundColor = clWindow;  // the editor's, copied before each paint
  bool NativeStyle = false;
  int NativePart = 0, NativeState = 0;
  bool NativePartIsTransparent = false;
};

// The editor view info as painting sees it; the editors' view info derives from it. BorderStyle
// (of the container) holds the effective edit border style by value.
class TcxEditPaintViewInfo : public TcxContainerViewInfo {
  PELTO_DECLARE_CLASS(TcxEditPaintViewInfo, TcxContainerViewInfo)
public:
  TcxEditPaintViewInfo() = default;
  ~TcxEditPaintViewInfo() override = default;

  RECT BorderWidths{};     // the four border widths
  RECT FrameRect{};        // Bounds less the base border widths
  int EditThemeState = 0;  // 0: not drawn with a theme
  bool HasMargins = false;
  TColor TextColor = clWindowText;
  bool Transparent = false;
  bool Enabled = true;
  bool Focused = false;
  bool IsDesigning = false;
  bool IsInplace = false;
  std::vector<std::unique_ptr<TcxEditButtonPaintInfo>> ButtonsInfo;

  TcxEditBorderStyle GetEditBorderStyle() const { return TcxEditBorderStyle(BorderStyle); }
  void InternalPaint(TcxCanvas* Canvas) override;
  virtual void PaintButton(TcxCanvas* Canvas, int Index);
  virtual void PaintButtonFrame(TcxCanvas* Canvas, int Index, TcxEditButtonStyle Style, const RECT& R);
  virtual void PaintButtonContent(TcxCanvas* Canvas, int Index, const RECT& R, TColor ContentColor, TColor FaceColor);
};

// What the pop-up window's layout and painting read and fill.
struct TcxEditPopupPaintInfo {
  RECT Bounds{};
  RECT ClientRect{};  // filled by CalculatePopupLayout
  TcxEditPopupBorderStyle BorderStyle = epbsDefault;
  bool ClientEdge = false;
  bool CloseButton = false;
  RECT CloseButtonRect{};  // filled by CalculatePopupLayout
  TcxButtonState CloseButtonState = cxbsNormal;
  TcxLookAndFeelKind CloseButtonLookAndFeelKind = lfUltraFlat;
  int CloseButtonNativeState = 0;
  int MinSysPanelHeight = 0;
  bool NativeStyle = false;
  bool Shadow = false;
  bool Sizeable = false;
  int SizeGripCorner = 3;  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
  bool SysPanel = false;   // shows the system panel (grip and close button)
  // Filled by the layout:
  RECT SizeGripRect{};
  RECT SizeGripSizingRect{};
  RECT SizingRegionBounds{};
  int SizingRegionBandWidth = 0;
  int SysPanelHeight = 0;
};

// What painting reads of a text editor's view info; the text editors' view info holds one.
struct TcxTextPaintInfo {
  AnsiString Text;
  RECT TextRect{};
  int TextFlags = 0;  // the etf flags
  int SelStart = 0, SelLength = 0;
  TColor SelBkColor = clHighlight, SelTextColor = clHighlightText;
  int EditingStyle = 0;        // 2: fixed list, 3: no edit
  bool ComboBoxStyle = false;  // drawn as a combo box
  bool SelectedLook = false;   // a focused fixed-list drop-down shows its text highlighted
  bool InnerEditVisible = false;
  bool EditWindowShown = false;                 // the inner EDIT window is shown
  bool KeepsFocusOnTab = false;                 // a drop-down editor with its pop-up open
  TFont* Font = nullptr;                        // borrowed
  cxEditTextUtils::TcxTextOutData TextOutData;  // the prepared layout, kept between paints
  // Called before the text is drawn so that an editor can change the font.
  std::function<void(TcxCanvas*)> PrepareCanvasFont;
};

// What painting reads of a check box's view info.
struct TcxCheckBoxPaintInfo {
  RECT CheckRect{};
  RECT CaptionRect{};
  RECT FocusRect{};  // filled by CalculateCheckBoxMarkInfo
  AnsiString Caption;
  TAlignment Alignment = taLeftJustify;  // of the caption; taCenter shows no caption
  int TextFlags = 0;                     // tf flags of the caption
  bool FullFocusRect = false;
  TcxCheckBoxState State = cbsUnchecked;
  TcxCheckMarkState MarkState = cmsNormal;
  TcxCheckBoxNullValueShowingStyle NullStyle = nssGrayedChecked;
  TcxEditBorderStyle CheckBorderStyle = ebsSingle;
  TBitmap* Glyph = nullptr;  // borrowed
  int GlyphCount = 0;
  int ThemedCheckState = 0;  // 0: not themed
  bool ParentBackground = false;
  bool IsInnerControl = false;  // the editor is another container's inner control
  TFont* Font = nullptr;        // borrowed
};

namespace cxEditUtils {

// ---- Shared primitives ----------------------------------------------------------------------
bool CanDrawNativePart(bool NativeStyle, int ThemeClass);
int GetBorderWidth(TcxEditBorderStyle BorderStyle);
// The Windows FillRect.
void InternalFillRect(HDC DC, const RECT& R, HBRUSH Brush);
// R filled with the cached brush of Color.
void FillRectColor(TcxCanvas* Canvas, const RECT& R, TColor Color);
// Lines through consecutive points, both ends included.
void PaintPixelLines(TcxCanvas* Canvas, std::span<const POINT> Points, TColor Color, bool AsRects = true);
// The bands of Outer outside Inner; nothing when Outer is empty or equals Inner.
void FillRectExcept(TcxCanvas* Canvas, const RECT& Outer, const RECT& Inner, HBRUSH Brush);
// Pressed moves each coordinate by 1 when its free space is odd.
void GetCenteredOrigin(const RECT& R, SIZE Size, int& X, int& Y, bool Pressed);
bool IsGlyphUsable(TBitmap* Bitmap);
// Enabled: copied with its transparent colour (the bottom-left pixel) over BackgroundColor
// (clNone keeps what is there); disabled: drawn greyed.
void PaintGlyph(TcxCanvas* Canvas, int X, int Y, TBitmap* Glyph, bool Enabled, TColor BackgroundColor = clNone);
// Image Index of the list drawn at R's top-left through Bitmap (made for the call, filled with
// BackgroundColor, when null).
void DrawImageListGlyph(TcxCanvas* Canvas, TCustomImageList* ImageList, int ImageIndex, const RECT& R,
                        TColor BackgroundColor, bool Enabled, TBitmap* Bitmap = nullptr);
TcxCustomLookAndFeelPainterClass GetPainterClass(bool NativeStyle, TcxLookAndFeelKind Kind);
// The system colour 26 where the platform has it (NT 5.x, 9x other than 95), else pure blue.
TColor GetHotLightColor();

// ---- Editor geometry ------------------------------------------------------------------------
// The base border widths of an editor: in place its margins; stand-alone (2, 2, 2, 2) with a
// transparent border, hot-tracking or the themed frame, else the border width all round; a
// shadow adds 3 at the right and bottom.
RECT CalculateBorderWidths(bool IsInplace, const RECT& Margins, bool TransparentBorder, bool HotTrack, bool NativeEdit,
                           TcxEditBorderStyle BorderStyle, bool HasShadow);
// The style's shadow, unless the frame is themed.
bool EditHasShadow(bool Shadow, bool NativeEdit);
// Bounds less the border widths (in place, or unthemed), grown by the border width on the
// sides in Edges; answers that width (0 when themed).
int GetMouseArea(const TcxEditPaintViewInfo& VI, const RECT& Bounds, RECT& R);
// The editor rectangle against which a drop-down editor places its pop-up.
void GetPopupOwnerRect(const TcxEditPaintViewInfo& VI, RECT& R);
// The rectangle that UpdateEditWindowRegion gives the editor's window.
RECT GetEditWindowRegionRect(const TcxEditPaintViewInfo& VI);
void UpdateEditWindowRegion(const TcxEditPaintViewInfo& VI, HWND Wnd);
// Part and state of a themed button; all 0 without its native flag or theme.
void CalculateButtonThemeInfo(TcxEditButtonPaintInfo& Button);
// Clears the button's native flag when its theme class cannot be opened.
int GetButtonWidth(TcxCanvas* Canvas, TcxEditButtonPaintInfo& Button);
// Top plus bottom border of the buttons, from the first one's style.
int GetButtonVertExtent(const TcxEditPaintViewInfo& VI);
int GetButtonHorzExtent(TcxEditButtonStyle Style);

// ---- Text -----------------------------------------------------------------------------------
// By alignment; IsInplace picks the in-place row. FixedList: a stand-alone editor whose text
// cannot be typed (Left + 1, and with TopAligned also Top + 1 and Bottom - 1).
RECT GetTextOffsets(TAlignment Alignment, bool IsInplace, bool FixedList = false, bool TopAligned = false);
RECT GetMemoTextOffsets(TAlignment Alignment);
SIZE GetTextExtraSize(bool IsInplace, bool NativeEdit);
int EditTextFlagsToTextFlags(int Flags);
int TextFlagsToEditTextFlags(int Flags);
// Drops each "&" before a character (so "&&" gives "&"); a trailing "&" becomes "_".
AnsiString RemoveAccelChars(const AnsiString& Text);

// What measuring a text editor's content reads of its view data.
struct TcxTextContentSizeParams {
  TFont* Font = nullptr;  // the style's; null keeps the canvas font
  bool IsInplace = false;
  bool NativeEdit = false;          // the "Edit" part is themed
  bool AlignmentAllowance = false;  // a stand-alone editor whose text cannot be typed
  bool EmptyTextNoHeight = false;   // the view data's option: an empty text measures no height
  int WidthLimit = -1;              // negative: none
  int MaxLineCount = 0;             // 0: none
};
// The size of a text editor's content: without a width limit the text's width and one row;
// with one the limit and the height of the rows the text wraps into. Extra size added.
SIZE CalculateTextContentSize(TcxCanvas* Canvas, const TcxTextContentSizeParams& Params, const AnsiString& Text,
                              int TextFlags, bool AddExtraWidth);
// A single-line text that wraps into more rows in its rectangle is drawn multi-line (top-aligned
// when the rows do not fit); answers the flags to draw with.
int CalculateMultiLineTextFlags(TcxCanvas* Canvas, TFont* Font, const AnsiString& Text, int DrawTextFlags,
                                const RECT& TextRect, const RECT& TextOffsets, SIZE ExtraSize, const RECT& Margins,
                                TAlignment Alignment);

// ---- Painting editors -----------------------------------------------------------------------
// ComboKind: 0 ordinary, 1 combo-box look with an editable text, 2 without one.
void PaintEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, bool FillContent, int ComboKind);
void PaintEditButton(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index);
void PaintButtonFrame(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index, TcxEditButtonStyle Style, const RECT& R);
void PaintButtonContent(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index, const RECT& R, TColor ContentColor,
                        TColor FaceColor);
// The side of the square dots of an ellipsis button in a content rectangle that wide.
int GetEllipsisDotSize(int ContentWidth);

// The frame and background, the highlight of the selected look, the text unless the inner EDIT
// shows it, and the focus rectangle of an editor without one.
void PaintTextEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T);
// The text in the text colour (highlighted with the selected look) from the prepared layout.
void PaintTextEditText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T);
void PaintMemoText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T);

// ---- Check box ------------------------------------------------------------------------------
// The size of one check image, computed once from the system check-box bitmap.
SIZE GetCheckImageSize();
// White where the unchecked and checked images agree, black on the mark. Owned by the unit.
TBitmap* CheckMarkMask();
void GetCheckSize(bool NativeStyle, TBitmap* Glyph, int GlyphCount, SIZE& Size);
// The glyph image for a state; never at or past GlyphCount.
int GetCheckGlyphIndex(TcxCheckBoxState State, TcxCheckMarkState MarkState, int GlyphCount);
void PaintCheck(TcxCanvas* Canvas, const RECT& R, TcxCheckBoxState State, TcxCheckMarkState MarkState, TBitmap* Glyph,
                int GlyphCount, TcxEditBorderStyle BorderStyle, bool NativeStyle, TColor BorderColor,
                TColor BackgroundColor, bool Opaque, bool IsDesigning, bool Focused,
                TcxCheckBoxNullValueShowingStyle NullStyle);

// The themed check state (0 unthemed) of a state and mark state.
int GetCheckThemeState(TcxCheckBoxState State, TcxCheckMarkState MarkState, TcxCheckBoxNullValueShowingStyle NullStyle);
// The themed state and the focus rectangle around the measured caption.
void CalculateCheckBoxMarkInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxCheckBoxPaintInfo& CB, bool NativeStyle);
void PaintCheckBoxViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxCheckBoxPaintInfo& CB);
void PaintCheckBoxText(TcxCanvas* Canvas, const TcxEditPaintViewInfo& VI, const TcxCheckBoxPaintInfo& CB);

// ---- Spin buttons ---------------------------------------------------------------------------
void CalculateArrowSize(SIZE Size, TcxArrowKind Direction, SIZE& ArrowSize);
// A is the arrow's depth (the height of an up arrow).
void PaintArrows(TcxCanvas* Canvas, int A, const RECT& R, TcxArrowKind Direction, bool Double, bool Pressed,
                 TColor Color);
// The frame of spin button Index in the hot-flat or ultra-flat style, or the shared button frames
// for the other styles, then the view info's PaintButtonContent on what is left (a spin view
// info answers it with PaintSpinButtonContent).
void PaintSpinButton(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index, TcxEditButtonStyle Style, const RECT& R,
                     TcxSpinEditButtonsPosition Position, int ArrowSize);
void PaintSpinButtonContent(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, int Index, const RECT& R, TColor ContentColor,
                            TColor FaceColor, TcxSpinEditButtonsPosition Position, int ArrowSize);
// The hot-flat frame kind of a spin button (0 .. 7).
int GetHotFlatSpinFrameKind(int Index, int ButtonCount, TcxSpinEditButtonsPosition Position);

// The text editor's painting and, over themed spin buttons, the separator line From .. To in
// the background colour.
void PaintSpinEditViewInfo(TcxCanvas* Canvas, TcxEditPaintViewInfo& VI, TcxTextPaintInfo& T,
                           TcxSpinEditButtonsPosition Position, POINT SeparatorFrom, POINT SeparatorTo);

// ---- Pop-up window --------------------------------------------------------------------------
int GetPopupClientEdgeWidth(const TcxEditPopupPaintInfo& VI);
int GetPopupBorderWidth(const TcxEditPopupPaintInfo& VI, bool WithClientEdge);
int GetSysPanelNaturalHeight(const TcxEditPopupPaintInfo& VI);
int GetSysPanelHeight(const TcxEditPopupPaintInfo& VI);
void CalculatePopupBorderExtents(TcxEditPopupPaintInfo& VI, RECT& E);
void CalculatePopupLayout(TcxEditPopupPaintInfo& VI);
// R ends inside the border.
void PaintPopupBorder(TcxCanvas* Canvas, const TcxEditPopupPaintInfo& VI, RECT& R);
void PaintPopupEditBorder(TcxCanvas* Canvas, const TcxEditPopupPaintInfo& VI, RECT& R);
void PaintPopupWindowViewInfo(TcxCanvas* Canvas, TcxEditPopupPaintInfo& VI);
void PaintPopupCloseButton(TcxCanvas* Canvas, const TcxEditPopupPaintInfo& VI);
void PaintSizeGrip(TcxCanvas* Canvas, const RECT& R, int Corner, bool NativeStyle);
// The pop-up's window region: R and, for a pop-up above its editor, the part of the bottom
// shadow band over the editor (OwnerRect, in the pop-up's coordinates) left out. Excluded is
// empty when nothing is left out; answers whether the window has a region at all.
bool CalculatePopupWindowRegion(const TcxEditPopupPaintInfo& VI, const RECT& OwnerRect, RECT& R, RECT& Excluded);
void UpdatePopupWindowRegion(HWND Wnd, const TcxEditPopupPaintInfo& VI, const RECT& OwnerRect);

// The check image size, the mark mask and the hot-light test. Idempotent.
void Initialize();
void Finalize();

}  // namespace cxEditUtils
