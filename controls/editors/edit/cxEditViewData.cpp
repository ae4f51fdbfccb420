// Sections: life -> border and button styles -> Calculate -> buttons -> sizes -> the editor-level
// layout routines.
#include "controls/editors/edit/cxEditViewData.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/forms/graphics/Font.h"
#include "platform/win/input/Focus.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

bool IsEmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

RECT Deflated(const RECT& R, const RECT& By)
{
  return RECT{R.left + By.left, R.top + By.top, R.right - By.right, R.bottom - By.bottom};
}

constexpr int kEditThemeClass = 3;  // "Edit"

}  // namespace

// ---- Life

TcxCustomEditViewData::TcxCustomEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle,
                                             bool AIsInplace)
    : FProperties(AProperties), FStyle(AStyle), FIsInplace(AIsInplace)
{
  InitData();
  SelTextColor = clDefault;
  SelBackgroundColor = clDefault;
  InitCacheData();
}

void TcxCustomEditViewData::InitData()
{
  Margins = RECT{0, 0, 0, 0};
  Enabled = true;
}

void TcxCustomEditViewData::InitCacheData()
{
  BorderStyle = FStyle->GetEditBorderStyle();
  VisibleButtonCount = FProperties->GetButtons()->VisibleCount();
  DisplayTextDiffers = !FProperties->UsesDataDisplayText(false);
  TcxEditAlignment* a = FProperties->GetAlignment();
  HorzAlignment = a->GetHorz();
  VertAlignment = a->GetVert();
  NativeStyle = FStyle->GetLookAndFeel()->GetNativeStyle() && cxEditUtils::CanDrawNativePart(true, kEditThemeClass);
}

bool TcxCustomEditViewData::IsFocused() const { return Edit ? Edit->HasEditFocus() : Focused; }

int TcxCustomEditViewData::GetPressedButton() const { return Edit ? Edit->GetPressedButtonIndex() : -1; }

// ---- Border and button styles

TcxEditBorderStyle cxEdit::EffectiveEditBorderStyle(TcxEditBorderStyle AStyle, int AHotState)
{
  if (AHotState == 2) {
    switch (AStyle) {
      case ebsNone: return ebsFlat;
      case ebsSingle: return ebsThick;
      case ebsFlat: return ebs3D;
      case ebsUltraFlat: return ebsSingle;
      default: return AStyle;
    }
  }
  return AStyle == ebsUltraFlat ? ebsSingle : AStyle;
}

TcxEditBorderStyle TcxCustomEditViewData::GetBorderStyle(int AHotState)
{
  if (FIsInplace) return ebsNone;
  return cxEdit::EffectiveEditBorderStyle(BorderStyle, AHotState);
}

TcxEditButtonStyle TcxCustomEditViewData::GetButtonStyle(TcxEditBorderStyle AEffectiveBorder) const
{
  const TcxEditButtonStyle own = FStyle->GetButtonStyle();
  if (own != btsDefault) return own;
  switch (AEffectiveBorder) {
    case ebsThick:
    case ebs3D: return bts3D;
    case ebsFlat:
    case ebsUltraFlat: return btsFlat;
    default:
      if (FStyle->GetEditBorderStyle() == ebsUltraFlat) return btsUltraFlat;
      return AEffectiveBorder == ebsSingle ? btsHotFlat : btsSimple;
  }
}

TcxEditPopupBorderStyle TcxCustomEditViewData::GetPopupBorderStyle(TcxEditBorderStyle AEffectiveBorder) const
{
  const TcxEditPopupBorderStyle own = FStyle->GetPopupBorderStyle();
  if (own != epbsDefault) return own;
  if (FIsInplace) {
    switch (FStyle->GetLookAndFeel()->GetKind()) {
      case lfFlat: return epbsFlat;
      case lfStandard: return epbsFrame3D;
      default: return epbsSingle;
    }
  }
  return (AEffectiveBorder == ebsNone || AEffectiveBorder == ebsFlat) ? epbsFlat : epbsSingle;
}

bool TcxCustomEditViewData::HasShadow() { return cxEditUtils::EditHasShadow(this); }

void TcxCustomEditViewData::GetBorderWidths(RECT& R) { cxEditUtils::CalculateBorderWidths(this, R); }

void TcxCustomEditViewData::GetButtonsAreaOffsets(TcxCanvas* ACanvas, RECT& R)
{
  cxEditUtils::CalculateButtonsAreaOffsets(ACanvas, this, R);
}

void TcxCustomEditViewData::CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo)
{
  cxEditUtils::CalculateButtonThemeInfo(*AButtonViewInfo);
}

// ---- Calculate

void TcxCustomEditViewData::Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button, TShiftState Shift,
                                      TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent)
{
  TcxCustomEditViewInfo* vi = AViewInfo;
  Bounds = ABounds;
  vi->Properties = FProperties;
  vi->Bounds = ABounds;
  vi->Edges = FStyle->GetEdges();
  vi->Font = FStyle->GetFont();
  vi->Enabled = Enabled;
  vi->Focused = IsFocused();
  vi->EraseBackground = false;
  vi->InnerEditVisible = InnerEdit != nullptr;
  vi->HasContainerInnerControl = InnerEdit != nullptr;
  vi->IsDesigning = IsDesigning;
  vi->IsInplace = FIsInplace;
  vi->PaintOptions = PaintOptions;
  vi->WindowHandle = WindowHandle;
  vi->Shadow = !FIsInplace && HasShadow();

  TcxContainerState state;
  if (!Enabled) {
    state = {cssDisabled};
  } else if (IsDesigning) {
    state = {cssNormal};
  } else {
    state = vi->Focused ? TcxContainerState{cssFocused} : TcxContainerState{cssNormal};
    RECT area;
    cxEditUtils::GetMouseArea(*vi, ABounds, area);
    const bool noKeys = Shift.Empty();
    const bool captured = Edit && Edit->HandleAllocated() && Windows::GetCapture() == Edit->GetHandle();
    if (Windows::PtInRect(&area, P) && (noKeys || captured)) state.Include(cssMouseInside);
  }
  ContainerState = state;
  vi->ContainerState = state;
  IsHotOrActive = vi->Focused || state.Contains(cssMouseInside);

  vi->HotState = (IsDesigning || !FStyle->GetHotTrack() || FIsInplace) ? 0 : (IsHotOrActive ? 2 : 1);
  const TcxEditBorderStyle border = GetBorderStyle(vi->HotState);
  vi->BorderStyle = TcxContainerBorderStyle(border);
  vi->BorderWidth = cxEditUtils::GetBorderWidth(border);
  cxEditUtils::CalculateEditFrame(this, vi);

  CalculateButtonsViewInfo(ACanvas, ABounds, P, Button, Shift, vi, AIsMouseEvent);

  RECT extent;
  GetClientExtent(vi, extent);
  vi->ClientRect = Deflated(ABounds, extent);
  if (vi->ClientRect.right < vi->ClientRect.left) vi->ClientRect.right = vi->ClientRect.left;
  if (vi->ClientRect.bottom < vi->ClientRect.top) vi->ClientRect.bottom = vi->ClientRect.top;
  vi->InnerEditRect = InnerEdit && InnerEdit->GetControl() ? InnerEdit->GetControl()->GetBoundsRect() : vi->ClientRect;
  vi->PopupBorderStyle = GetPopupBorderStyle(border);
}

// ---- Buttons

void TcxCustomEditViewData::CalculateButtonsViewInfo(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button,
                                                     TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                                     bool AIsMouseEvent)
{
  TcxCustomEditViewInfo* vi = AViewInfo;
  const TcxEditButtonTransparency transparency = FStyle->GetButtonTransparency();
  const bool active = IsFocused();
  if (VisibleButtonCount == 0 || (!active && transparency == ebtHideInactive) ||
      (!active && !IsHotOrActive && transparency == ebtHideUnselected)) {
    vi->SetButtonCount(0);
    vi->PressedButton = vi->HotButton = -1;
    return;
  }
  // States survive from the previous calculation, so remember them before the count changes.
  std::vector<int> oldStates;
  for (int i = 0; i < vi->ButtonCount(); ++i) oldStates.push_back(vi->Button(i)->State);
  vi->SetButtonCount(VisibleButtonCount);
  vi->ButtonsChanged = false;
  const int oldPressed = AIsMouseEvent ? vi->PressedButton : -1;
  vi->PressedButton = vi->HotButton = -1;
  LeftAlignedFirst = LeftAlignedLast = RightAlignedFirst = RightAlignedLast = -1;
  const TcxEditButtonStyle style = GetButtonStyle(TcxEditBorderStyle(vi->BorderStyle));

  RECT area;
  GetButtonsAreaOffsets(ACanvas, area);
  RECT r = Deflated(ABounds, area);
  TcxEditButtons* buttons = FProperties->GetButtons();
  int next = vi->ButtonCount() - 1;
  for (int i = buttons->GetCount() - 1; i >= 0 && next >= 0; --i) {
    if (!buttons->GetItem(i)->GetVisible()) continue;
    TcxEditButtonViewInfo* b = vi->Button(next);
    b->ButtonIndex = i;
    b->Style = style;
    CalculateButtonViewInfo(ACanvas, vi, r, next);
    --next;
  }

  const TShiftState leftOnly{ssLeft}, leftDouble{ssLeft, ssDouble};
  const bool exactlyLeft = Shift == leftOnly || Shift == leftDouble;
  const int editPressed = GetPressedButton();
  for (int i = 0; i < vi->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    const int previous = i < int(oldStates.size()) ? oldStates[i] : cxEditButtonNormal;
    if (!Enabled) {
      b->State = cxEditButtonDisabled;
    } else if (IsButtonPressed(vi, i) || (!IsDesigning && Windows::PtInRect(&b->VisibleBounds, P))) {
      const bool held = Button == 0 && Shift.Contains(ssLeft) && previous == cxEditButtonNormal && editPressed == i &&
                        CanPressButton(vi, i);
      const bool pressed = IsButtonPressed(vi, i) || held ||
                           (exactlyLeft && ((Button == 1 && CanPressButton(vi, i)) || oldPressed == i)) ||
                           (previous == cxEditButtonPressed && Shift.Contains(ssLeft));
      if (pressed) {
        b->State = cxEditButtonPressed;
        vi->PressedButton = i;
      } else if (Shift.Empty()) {
        b->State = cxEditButtonHot;
        vi->HotButton = i;
      } else {
        b->State = cxEditButtonNormal;
      }
      if (IsButtonPressed(vi, i) || (Button == 1 && exactlyLeft) ||
          (previous == cxEditButtonPressed && Shift.Contains(ssLeft)) || held)
        vi->ButtonsChanged = true;
    } else {
      b->State = cxEditButtonNormal;
    }
    CalculateButtonNativeInfo(b);
  }

  // Edges of the two groups, and the hot-flat innermost button reaching one pixel into the content.
  for (int i = 0; i < vi->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    if (b->LeftAlignment) {
      b->LeftEdge = i == LeftAlignedFirst;
      b->RightEdge = i == LeftAlignedLast;
    } else {
      b->LeftEdge = i == RightAlignedLast;
      b->RightEdge = i == RightAlignedFirst;
    }
  }
  auto widen = [&](int Index, bool Left) {
    if (Index < 0) return;
    TcxEditButtonViewInfo* b = vi->Button(Index);
    if (IsEmptyRect(b->Bounds) || b->Style != btsHotFlat || b->NativePart != 0) return;
    const bool otherEmpty = Left ? RightAlignedFirst < 0 : LeftAlignedFirst < 0;
    if (Left) {
      ++b->Bounds.right;
      if (otherEmpty && b->VisibleBounds.right < r.right) ++b->VisibleBounds.right;
    } else {
      --b->Bounds.left;
      if (otherEmpty && b->VisibleBounds.left > r.left) --b->VisibleBounds.left;
    }
  };
  widen(LeftAlignedLast, true);
  widen(RightAlignedLast, false);
}

void TcxCustomEditViewData::CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect,
                                                    int AIndex)
{
  TcxEditButtonViewInfo* b = AViewInfo->Button(AIndex);
  TcxEditButton* button = FProperties->GetButtons()->GetItem(b->ButtonIndex);
  b->DropDownArrowOnly = VisibleButtonCount == 1 && button->GetKind() == bkDown;
  b->Kind = button->GetKind();
  b->Default = button->GetDefault();
  b->Glyph = button->GetGlyphIfAny();
  b->EraseBackground = AViewInfo->EraseBackground;
  b->IsInplace = FIsInplace;
  b->LeftAlignment = button->GetLeftAlignment();
  b->NativeStyle = AViewInfo->NativeStyle;
  b->Width = button->GetWidth();
  b->BackgroundColor = AViewInfo->BackgroundColor;
  b->LeftEdge = b->RightEdge = false;
  const TcxEditButtonTransparency t = FStyle->GetButtonTransparency();
  b->Transparent = t == ebtAlways || (t == ebtInactive && !IsFocused() && !IsHotOrActive);
  CalculateButtonBounds(ACanvas, AViewInfo, ARect, AIndex);
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect,
                                                  int AIndex)
{
  TcxEditButtonViewInfo* b = AViewInfo->Button(AIndex);
  if (IsEmptyRect(ARect)) {
    b->Bounds = b->VisibleBounds = RECT{0, 0, 0, 0};
    return;
  }
  b->Bounds.top = b->VisibleBounds.top = ARect.top;
  b->Bounds.bottom = b->VisibleBounds.bottom = ARect.bottom;
  const int W = cxEditUtils::GetButtonWidth(ACanvas, *b);
  const int w = std::min<int>(W, ARect.right - ARect.left);
  if (b->LeftAlignment) {
    b->Bounds.left = b->VisibleBounds.left = ARect.left;
    b->Bounds.right = ARect.left + W;
    b->VisibleBounds.right = ARect.left + w;
    ARect.left += w;
    LeftAlignedLast = AIndex;
    if (LeftAlignedFirst < 0) LeftAlignedFirst = AIndex;
  } else {
    b->Bounds.right = b->VisibleBounds.right = ARect.right;
    b->Bounds.left = ARect.right - W;
    b->VisibleBounds.left = ARect.right - w;
    ARect.right -= w;
    RightAlignedLast = AIndex;
    if (RightAlignedFirst < 0) RightAlignedFirst = AIndex;
  }
}

void TcxCustomEditViewData::GetClientExtent(TcxCustomEditViewInfo* AViewInfo, RECT& Extent)
{
  GetBorderWidths(Extent);
  if (HScrollBarVisible) Extent.bottom += HScrollBarHeight;
  if (VScrollBarVisible) Extent.right += VScrollBarWidth;
  if (!AViewInfo) return;
  const RECT& b = AViewInfo->Bounds;
  for (int i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* bi = AViewInfo->Button(i);
    if (bi->LeftAlignment)
      Extent.left = std::max<int>(Extent.left, bi->VisibleBounds.right - b.left);
    else
      Extent.right = std::max<int>(Extent.right, b.right - bi->VisibleBounds.left);
  }
}

// ---- Sizes

void TcxCustomEditViewData::InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                                            const TcxEditSizeProperties&, SIZE& MinContentSize,
                                                            TcxCustomEditViewInfo* AViewInfo, SIZE& Size)
{
  const RECT& b = AViewInfo->Bounds;
  const RECT& c = AViewInfo->ClientRect;
  Size.cx = (b.right - b.left) - (c.right - c.left);
  Size.cy = (b.bottom - b.top) - (c.bottom - c.top);
  MinContentSize = SIZE{0, 0};
  const bool autoSize = Edit ? Edit->GetAutoSize() : false;
  if (!(AIsInplace || autoSize)) return;
  int glyphHeight = 0;
  for (int i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* bi = AViewInfo->Button(i);
    if (bi->Kind == bkGlyph && cxEditUtils::IsGlyphUsable(bi->Glyph))
      glyphHeight = std::max(glyphHeight, bi->Glyph->GetHeight());
  }
  if (glyphHeight == 0) return;
  RECT area;
  GetButtonsAreaOffsets(ACanvas, area);
  const int need = glyphHeight + area.top + area.bottom + cxEditUtils::GetButtonVertExtent(*AViewInfo);
  MinContentSize.cy = std::max<int>(0, need - Size.cy);
}

void TcxCustomEditViewData::GetEditConstantPartSize(TcxCanvas* ACanvas,
                                                    const TcxEditSizeProperties& AEditSizeProperties,
                                                    SIZE& MinContentSize, TcxCustomEditViewInfo* AViewInfo, SIZE& Size)
{
  std::unique_ptr<TcxCustomEditViewInfo> own;
  if (!AViewInfo) {
    own.reset(FProperties->CreateViewInfo());
    Calculate(ACanvas, RECT{0, 0, INT_MAX, INT_MAX}, POINT{-1, -1}, 0, TShiftState{}, own.get(), false);
    AViewInfo = own.get();
  }
  InternalGetEditConstantPartSize(ACanvas, FIsInplace, AEditSizeProperties, MinContentSize, AViewInfo, Size);
}

void TcxCustomEditViewData::CalculateEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                              TcxEditSizeProperties& AContentSize, SIZE& ASize)
{
  SIZE C{0, 0}, M{0, 0};
  GetEditConstantPartSize(ACanvas, AContentSize, M, nullptr, C);
  const int givenWidth = AContentSize.Width;
  bool narrower = false;
  if (AContentSize.Width >= 0) {
    AContentSize.Width -= C.cx;
    if (AContentSize.Width < 0) {
      AContentSize.Width = 0;
      narrower = true;
    }
  }
  SIZE S = GetEditContentSize(ACanvas, AEditValue, AContentSize);
  S.cx = std::max(S.cx, M.cx);
  S.cy = std::max(S.cy, M.cy);
  ASize.cx = narrower ? givenWidth : C.cx + S.cx;
  ASize.cy = C.cy + S.cy;
}

// ---- Editor-level layout routines

bool cxEditUtils::EditHasShadow(TcxCustomEditViewData* VD)
{
  TcxCustomEditStyle* s = VD->GetStyle();
  return s->GetShadow() && !(s->GetLookAndFeel()->GetNativeStyle() && CanDrawNativePart(true, kEditThemeClass));
}

void cxEditUtils::CalculateBorderWidths(TcxCustomEditViewData* VD, RECT& R)
{
  if (VD->IsInplace()) {
    R = VD->Margins;
    return;
  }
  TcxCustomEditStyle* s = VD->GetStyle();
  int w =
      (s->GetTransparentBorder() || s->GetHotTrack() || VD->NativeStyle) ? 2 : GetBorderWidth(VD->GetBorderStyle(0));
  R = RECT{w, w, w, w};
  if (VD->HasShadow()) {
    R.right += 3;
    R.bottom += 3;
  }
}

void cxEditUtils::CalculateButtonsAreaOffsets(TcxCanvas* Canvas, TcxCustomEditViewData* VD, RECT& R)
{
  if (VD->IsInplace()) {
    R = VD->Margins;
    return;
  }
  if (VD->NativeStyle) {
    if (HTHEME theme = dxThemeManager::OpenTheme(TdxThemeClass(kEditThemeClass))) {
      RECT full{0, 0, 100, 100}, content{0, 0, 100, 100};
      dxUxTheme::GetThemeBackgroundContentRect(theme, 0, 1, 1, &full, &content);
      R = RECT{content.left, content.top, 100 - content.right, 100 - content.bottom};
      return;
    }
  }
  CalculateBorderWidths(VD, R);
}

int cxEditUtils::GetEditThemeState(TcxCustomEditViewData* VD)
{
  if (!VD->Enabled) return 4;
  if (VD->GetProperties()->GetReadOnly()) return 6;
  if (VD->IsFocused()) return 5;
  if (VD->ContainerState.Contains(cssMouseInside)) return 2;
  return 1;
}

TColor cxEditUtils::GetEditBorderColorByState(TcxCustomEditViewData* VD)
{
  TcxCustomEditStyle* s = VD->GetStyle();
  if (s->GetEditBorderStyle() != ebsUltraFlat) return s->GetBorderColor();
  const TcxContainerState st = VD->ContainerState;
  const bool hot =
      st.Contains(cssFocused) || (st.Contains(cssMouseInside) && s->GetHotTrack()) || (VD->IsDesigning && VD->Enabled);
  return hot ? clHighlight : clBtnShadow;
}

void cxEditUtils::CalculateEditColors(TcxCustomEditViewData* VD, TcxCustomEditViewInfo* VI, TColor& BackgroundColor,
                                      TColor& TextColor)
{
  TcxCustomEditStyle* s = VD->GetStyle();
  if (VD->Enabled) {
    TextColor = s->IsReference() ? s->GetTextColor() : (s->GetFont() ? s->GetFont()->GetColor() : clWindowText);
    BackgroundColor = s->GetColor();
    return;
  }
  TextColor = clBtnShadow;
  BackgroundColor = clBtnFace;
  if (VI->EditThemeState != 0) {
    if (HTHEME theme = dxThemeManager::OpenTheme(TdxThemeClass(kEditThemeClass))) {
      COLORREF fill = 0;
      if (dxUxTheme::GetThemeColor(theme, 1, VI->EditThemeState, 3802, &fill) == 0) BackgroundColor = TColor(fill);
    }
  }
}

void cxEditUtils::CalculateEditFrame(TcxCustomEditViewData* VD, TcxCustomEditViewInfo* VI)
{
  VI->NativeStyle = VD->NativeStyle;
  VI->EditThemeState = VD->NativeStyle ? GetEditThemeState(VD) : 0;
  VD->GetBorderWidths(VI->BorderWidths);
  VI->BorderRect = Deflated(VI->Bounds, VI->BorderWidths);
  RECT base;
  CalculateBorderWidths(VD, base);
  VI->FrameRect = Deflated(VI->Bounds, base);
  const RECT& m = VD->Margins;
  VI->HasMargins = m.left || m.top || m.right || m.bottom;
  if (!VD->IsInplace()) VI->BorderColor = GetEditBorderColorByState(VD);
  TColor background, text;
  CalculateEditColors(VD, VI, background, text);
  VI->TextColor = text;
  VI->SetBackgroundColor(background);
}

PELTO_DEFINE_CLASS(TcxCustomEditViewData)
