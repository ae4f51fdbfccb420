// TcxCustomEditViewData: lays out an editor from its properties and style into a view info,
// with or without an editor control (a grid cell paints values without one). One object lives
// for one calculation.
//
// Call flow: Calculate -> container state and hot state -> GetBorderStyle ->
// cxEditUtils::CalculateEditFrame -> CalculateButtonsViewInfo (CalculateButtonViewInfo ->
// CalculateButtonBounds per visible button, then states and edges) -> client rectangle.
#pragma once

#include "controls/editors/edit/cxEditTypes.h"
#include "controls/framework/cxContainerViewInfo.h"
#include "platform/classes/TextAlignment.h"
#include "platform/forms/controls/ControlEnums.h"

class IcxCustomInnerEdit;

class TcxCustomEditViewData : public TPersistent {
  PELTO_DECLARE_CLASS(TcxCustomEditViewData, TPersistent)
public:
  TcxCustomEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace);
  ~TcxCustomEditViewData() override = default;

  TcxCustomEditProperties* GetProperties() const { return FProperties; }
  TcxCustomEditStyle* GetStyle() const { return FStyle; }
  bool IsInplace() const { return FIsInplace; }
  // The editor's HasEditFocus when an editor is set, else the Focused field.
  bool IsFocused() const;
  // The editor's pressed button index; -1 without editor.
  int GetPressedButton() const;

  RECT Bounds{};
  RECT Margins{};
  bool Enabled = true;
  bool Focused = false;
  bool IsDesigning = false;
  TAlignment HorzAlignment = taLeftJustify;
  TcxEditVertAlignment VertAlignment = taTopJustify;
  TcxEditBorderStyle BorderStyle = ebsNone;  // the style's
  int VisibleButtonCount = 0;
  bool DisplayTextDiffers = false;
  bool NativeStyle = false;
  TcxCustomEdit* Edit = nullptr;  // may be null
  IcxCustomInnerEdit* InnerEdit = nullptr;
  bool HScrollBarVisible = false, VScrollBarVisible = false;  // the editor's own bars
  int HScrollBarHeight = 0, VScrollBarWidth = 0;
  TcxContainerState ContainerState;
  bool IsHotOrActive = false;
  HWND WindowHandle = 0;
  TcxEditPaintOptions PaintOptions = 0;
  int LeftAlignedFirst = -1, LeftAlignedLast = -1, RightAlignedFirst = -1, RightAlignedLast = -1;
  int MaxLineCount = 0;
  int SelStart = 0, SelLength = 0;
  TColor SelTextColor = clDefault, SelBackgroundColor = clDefault;

  virtual bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) { return true; }
  // ebsNone in place; else the style's border in the hot state.
  virtual TcxEditBorderStyle GetBorderStyle(int AHotState);
  virtual void InitData();
  virtual void InitCacheData();
  virtual void InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                               const TcxEditSizeProperties& AEditSizeProperties, SIZE& MinContentSize,
                                               TcxCustomEditViewInfo* AViewInfo, SIZE& Size);
  virtual SIZE InternalGetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                          const TcxEditSizeProperties& AEditSizeProperties)
  {
    return SIZE{0, 0};
  }
  virtual bool IsButtonPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) { return false; }
  virtual void CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo);
  // Button is the container's code (0 none, 1 left, 2 right, 3 middle).
  virtual void Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button, TShiftState Shift,
                         TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect, int AIndex);
  virtual void CalculateButtonsViewInfo(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button, TShiftState Shift,
                                        TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect, int AIndex);
  virtual void GetBorderWidths(RECT& R);
  virtual void GetButtonsAreaOffsets(TcxCanvas* ACanvas, RECT& R);
  virtual void GetClientExtent(TcxCustomEditViewInfo* AViewInfo, RECT& Extent);
  // Without a view info one is made, calculated on a huge rectangle and freed.
  virtual void GetEditConstantPartSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                                       SIZE& MinContentSize, TcxCustomEditViewInfo* AViewInfo, SIZE& Size);
  virtual SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                  const TcxEditSizeProperties& AEditSizeProperties)
  {
    return InternalGetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
  }
  virtual bool HasShadow();

  // The whole editor's size for a value within the limits of AContentSize (its width limit is
  // lowered by the constant part).
  void CalculateEditSize(TcxCanvas* ACanvas, const Variant& AEditValue, TcxEditSizeProperties& AContentSize,
                         SIZE& ASize);

  // The effective button style for the style's ButtonStyle and the effective border.
  TcxEditButtonStyle GetButtonStyle(TcxEditBorderStyle AEffectiveBorder) const;
  // The effective pop-up border style.
  TcxEditPopupBorderStyle GetPopupBorderStyle(TcxEditBorderStyle AEffectiveBorder) const;

private:
  TcxCustomEditProperties* FProperties;
  TcxCustomEditStyle* FStyle;
  bool FIsInplace;
};

namespace cxEdit {
// The effective border of a stand-alone editor for a style border and a hot state (0, 1, 2).
TcxEditBorderStyle EffectiveEditBorderStyle(TcxEditBorderStyle AStyle, int AHotState);
}  // namespace cxEdit

namespace cxEditUtils {
// The editor-level layout routines that work on a view data (the painting layer works on the
// view info alone).
void CalculateBorderWidths(TcxCustomEditViewData* VD, RECT& R);
void CalculateButtonsAreaOffsets(TcxCanvas* Canvas, TcxCustomEditViewData* VD, RECT& R);
bool EditHasShadow(TcxCustomEditViewData* VD);
// Disabled 4, read-only 6, focused 5, mouse inside 2, else 1.
int GetEditThemeState(TcxCustomEditViewData* VD);
TColor GetEditBorderColorByState(TcxCustomEditViewData* VD);
void CalculateEditColors(TcxCustomEditViewData* VD, TcxCustomEditViewInfo* VI, TColor& BackgroundColor,
                         TColor& TextColor);
// Native flag and theme state, border widths and rectangles, margins, border and content colours.
void CalculateEditFrame(TcxCustomEditViewData* VD, TcxCustomEditViewInfo* VI);
}  // namespace cxEditUtils
