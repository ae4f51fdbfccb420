#include "controls/editors/checkbox/cxCheckBox.h"

#include <algorithm>

#include "controls/data/storage/cxVariants.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEditRepository.h"
#include "controls/framework/cxClasses.h"
#include "controls/framework/cxGraphics.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

WideString ResourceWide(int Id) { return System::AnsiToWide(cxResourceStrings::GetResourceString(Id)); }

RECT InflatedBy(const RECT& R, int D) { return RECT{R.left - D, R.top - D, R.right + D, R.bottom + D}; }

}  // namespace

// ==== Assigned values ==========================================================================

void TcxCheckEditPropertiesValues::Assign(TPersistent* Source)
{
  if (auto* s = dynamic_cast<TcxCheckEditPropertiesValues*>(Source)) Caption = s->Caption;
  TcxCustomEditPropertiesValues::Assign(Source);
}

void TcxCheckEditPropertiesValues::RestoreDefaults()
{
  TcxCustomEditPropertiesValues::RestoreDefaults();
  Caption = false;
}

// ==== Properties ===============================================================================

TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties(TPersistent* AOwner) : TcxCustomEditProperties(AOwner)
{
  CreateAssignedValues();
  FValueChecked = Variant(true);
  FValueUnchecked = Variant(false);
  FValueGrayed = Variant::Null();
}

TcxCustomCheckBoxProperties::~TcxCustomCheckBoxProperties() = default;

bool TcxCustomCheckBoxProperties::IsCheckAlignmentStored() const
{
  return const_cast<TcxCustomCheckBoxProperties*>(this)->GetAlignment()->IsHorzAssigned();
}

void TcxCustomCheckBoxProperties::SetAllowGrayed(bool Value)
{
  if (Value == FAllowGrayed) return;
  FAllowGrayed = Value;
  Changed();
}

bool TcxCustomCheckBoxProperties::IsCaptionAssigned() const
{
  return static_cast<TcxCheckEditPropertiesValues*>(GetAssignedValues())->Caption;
}

void TcxCustomCheckBoxProperties::SetCaption(const AnsiString& Value)
{
  static_cast<TcxCheckEditPropertiesValues*>(GetAssignedValues())->Caption = true;
  if (Value == FCaption) return;
  FCaption = Value;
  Changed();
}

WideString TcxCustomCheckBoxProperties::GetDisplayChecked() const
{
  return FDisplayCheckedAssigned ? FDisplayChecked : ResourceWide(cxEditConsts::sCheckBoxTrue);
}

WideString TcxCustomCheckBoxProperties::GetDisplayUnchecked() const
{
  return FDisplayUncheckedAssigned ? FDisplayUnchecked : ResourceWide(cxEditConsts::sCheckBoxFalse);
}

WideString TcxCustomCheckBoxProperties::GetDisplayGrayed() const
{
  return FDisplayGrayedAssigned ? FDisplayGrayed : WideString();
}

// A display text equal to its resource text is not stored, so a later translation shows.
void TcxCustomCheckBoxProperties::SetDisplayChecked(const WideString& Value)
{
  FDisplayChecked = Value;
  FDisplayCheckedAssigned = Value != ResourceWide(cxEditConsts::sCheckBoxTrue);
  Changed();
}

void TcxCustomCheckBoxProperties::SetDisplayUnchecked(const WideString& Value)
{
  FDisplayUnchecked = Value;
  FDisplayUncheckedAssigned = Value != ResourceWide(cxEditConsts::sCheckBoxFalse);
  Changed();
}

void TcxCustomCheckBoxProperties::SetDisplayGrayed(const WideString& Value)
{
  FDisplayGrayed = Value;
  FDisplayGrayedAssigned = !Value.empty();
  Changed();
}

void TcxCustomCheckBoxProperties::SetFullFocusRect(bool Value)
{
  if (Value == FFullFocusRect) return;
  FFullFocusRect = Value;
  Changed();
}

TBitmap* TcxCustomCheckBoxProperties::GetGlyph()
{
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = [this](TObject*) { Changed(); };
  }
  return FGlyph.get();
}

void TcxCustomCheckBoxProperties::SetGlyph(TBitmap* Value)
{
  if (!Value)
    FGlyph.reset();
  else
    GetGlyph()->Assign(Value);
  Changed();
}

void TcxCustomCheckBoxProperties::SetGlyphCount(int Value)
{
  if (Value == FGlyphCount) return;
  FGlyphCount = Value;
  if (FGlyph) Changed();
}

void TcxCustomCheckBoxProperties::SetMultiLine(bool Value)
{
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetNullStyle(TcxCheckBoxNullValueShowingStyle Value)
{
  if (Value == FNullStyle) return;
  FNullStyle = Value;
  Changed();
}

bool TcxCustomCheckBoxProperties::IsOneOfValues(const Variant& Value) const
{
  using cxVariants::VarEqualsBooleanAsText;
  return VarEqualsBooleanAsText(Value, FValueChecked) || VarEqualsBooleanAsText(Value, FValueGrayed) ||
         VarEqualsBooleanAsText(Value, FValueUnchecked);
}

void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& Value)
{
  if (Value.IsNull() || IsOneOfValues(Value)) return;
  FValueChecked = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& Value)
{
  if (IsOneOfValues(Value)) return;
  FValueGrayed = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& Value)
{
  if (Value.IsNull() || IsOneOfValues(Value)) return;
  FValueUnchecked = Value;
  Changed();
}

TcxCheckBoxState TcxCustomCheckBoxProperties::EditValueToState(const Variant& AEditValue) const
{
  if (cxVariants::VarEqualsBooleanAsText(AEditValue, FValueChecked)) return cbsChecked;
  if (cxVariants::VarEqualsBooleanAsText(AEditValue, FValueUnchecked)) return cbsUnchecked;
  return cbsGrayed;
}

Variant TcxCustomCheckBoxProperties::StateToEditValue(TcxCheckBoxState AState) const
{
  switch (AState) {
    case cbsUnchecked: return FValueUnchecked;
    case cbsChecked: return FValueChecked;
    default: return FValueGrayed;
  }
}

void TcxCustomCheckBoxProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomCheckBoxProperties*>(Source);
  if (!s) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(); });
  TcxCustomEditProperties::Assign(Source);
  FAllowGrayed = s->FAllowGrayed;
  if (s->IsCaptionAssigned())
    SetCaption(s->FCaption);
  else
    static_cast<TcxCheckEditPropertiesValues*>(GetAssignedValues())->Caption = false;
  FFullFocusRect = s->FFullFocusRect;
  SetGlyph(s->FGlyph.get());
  FGlyphCount = s->FGlyphCount;
  FMultiLine = s->FMultiLine;
  FNullStyle = s->FNullStyle;
  FValueChecked = s->FValueChecked;
  FValueGrayed = s->FValueGrayed;
  FValueUnchecked = s->FValueUnchecked;
  Changed();
}

TClass TcxCustomCheckBoxProperties::GetViewDataClass() const { return TcxCustomCheckBoxViewData::StaticClass(); }
TClass TcxCustomCheckBoxProperties::GetContainerClass() const { return TcxCheckBox::StaticClass(); }
TClass TcxCustomCheckBoxProperties::GetStyleClass() const { return TcxCheckBoxStyle::StaticClass(); }
TClass TcxCustomCheckBoxProperties::GetViewInfoClass() const { return TcxCustomCheckBoxViewInfo::StaticClass(); }

TcxCustomEditViewData* TcxCustomCheckBoxProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace)
{
  return new TcxCustomCheckBoxViewData(this, AStyle, AIsInplace);
}

WideString TcxCustomCheckBoxProperties::GetDisplayText(const Variant& AEditValue, bool)
{
  switch (EditValueToState(AEditValue)) {
    case cbsUnchecked: return GetDisplayUnchecked();
    case cbsChecked: return GetDisplayChecked();
    default: return GetDisplayGrayed();
  }
}

bool TcxCustomCheckBoxProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused)
{
  return TcxCustomEditProperties::IsEditValueValid(AEditValue, AEditFocused) && IsOneOfValues(AEditValue);
}

void TcxCustomCheckBoxProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool)
{
  DisplayValue = Variant(int(EditValueToState(AEditValue)));
}

void TcxCustomCheckBoxProperties::RestoreDefaults()
{
  FCaption.clear();
  TcxCustomEditProperties::RestoreDefaults();
}

void TcxCheckBoxProperties::Published(TPublisher<ThisClass>& p)
{
  p.Property("Alignment", &ThisClass::GetCheckAlignment, &ThisClass::SetCheckAlignment)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsCheckAlignmentStored(); }));
  p.Property("AllowGrayed", &ThisClass::GetAllowGrayed, &ThisClass::SetAllowGrayed).Default(false);
  p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsCaptionAssigned();
  }));
  p.Property("DisplayChecked", &ThisClass::GetDisplayChecked, &ThisClass::SetDisplayChecked)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsDisplayCheckedStored(); }));
  p.Property("DisplayGrayed", &ThisClass::GetDisplayGrayed, &ThisClass::SetDisplayGrayed)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsDisplayGrayedStored(); }));
  p.Property("DisplayUnchecked", &ThisClass::GetDisplayUnchecked, &ThisClass::SetDisplayUnchecked)
      .StoredWhen(p.When([](const ThisClass* s) { return s->IsDisplayUncheckedStored(); }));
  p.Property("FullFocusRect", &ThisClass::GetFullFocusRect, &ThisClass::SetFullFocusRect).Default(false);
  p.Property("Glyph", &ThisClass::GetGlyphIfAny, &ThisClass::SetGlyph);
  p.Property("GlyphCount", &ThisClass::GetGlyphCount, &ThisClass::SetGlyphCount).Default(6);
  p.Property("MultiLine", &ThisClass::GetMultiLine, &ThisClass::SetMultiLine).Default(false);
  p.Property("NullStyle", &ThisClass::GetNullStyle, &ThisClass::SetNullStyle).Default(nssGrayedChecked);
  p.Property("ValueChecked", &ThisClass::GetValueChecked, &ThisClass::SetValueChecked)
      .StoredWhen(
          p.When([](const ThisClass* s) { return !cxEdit::VarEqualsExact(s->GetValueChecked(), Variant(true)); }));
  p.Property("ValueGrayed", &ThisClass::GetValueGrayed, &ThisClass::SetValueGrayed)
      .StoredWhen(p.When([](const ThisClass* s) { return !s->GetValueGrayed().IsNull(); }));
  p.Property("ValueUnchecked", &ThisClass::GetValueUnchecked, &ThisClass::SetValueUnchecked)
      .StoredWhen(
          p.When([](const ThisClass* s) { return !cxEdit::VarEqualsExact(s->GetValueUnchecked(), Variant(false)); }));
}

// ==== Style ====================================================================================

void TcxCheckBoxStyle::RestoreDefaults()
{
  TcxEditStyle::RestoreDefaults();
  auto* control = dynamic_cast<TControl*>(GetOwner());
  if (!control) return;
  TcxStyleController* controller = GetStyleController();
  const bool controllerColor = controller && controller->GetStyle()->IsValueAssigned(svColor);
  if (!controllerColor) control->SetParentColor(true);
}

// ==== View info ================================================================================

void TcxCustomCheckBoxViewInfo::InternalPaint(TcxCanvas* Canvas)
{
  Check.Font = Font;
  cxEditUtils::PaintCheckBoxViewInfo(Canvas, *this, Check);
}

TcxCustomEditViewInfo* TcxCustomCheckBoxViewInfo::Clone() const
{
  auto* r = new TcxCustomCheckBoxViewInfo;
  r->CopyFrom(*this);
  r->Check = Check;
  return r;
}

void TcxCustomCheckBoxViewInfo::Assign(TcxContainerViewInfo* Source)
{
  TcxCustomEditViewInfo::Assign(Source);
  if (auto* s = dynamic_cast<TcxCustomCheckBoxViewInfo*>(Source)) {
    Check.MarkState = s->Check.MarkState;
    Check.ThemedCheckState = s->Check.ThemedCheckState;
  }
}

TcxRegion* TcxCustomCheckBoxViewInfo::GetRepaintRegion(TcxContainerViewInfo* AOldViewInfo)
{
  TcxRegion* r = TcxCustomEditViewInfo::GetRepaintRegion(AOldViewInfo);
  auto* old = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AOldViewInfo);
  if (old && (old->Check.MarkState != Check.MarkState || old->Check.ThemedCheckState != Check.ThemedCheckState))
    r->Combine(new TcxRegion(Check.CheckRect), rcmAdd);
  return r;
}

void TcxCustomCheckBoxViewInfo::Offset(int DX, int DY)
{
  TcxCustomEditViewInfo::Offset(DX, DY);
  for (RECT* r : {&Check.CheckRect, &Check.FocusRect, &Check.CaptionRect})
    *r = RECT{r->left + DX, r->top + DY, r->right + DX, r->bottom + DY};
}

bool TcxCustomCheckBoxViewInfo::Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AOldViewInfo,
                                        const RECT& AInnerEditRect)
{
  bool r = TcxCustomEditViewInfo::Repaint(AControl, AOldViewInfo, AInnerEditRect);
  auto* old = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AOldViewInfo);
  const bool markChanged = !old || old->Check.MarkState != Check.MarkState ||
                           old->Check.ThemedCheckState != Check.ThemedCheckState || old->Check.State != Check.State;
  const bool textChanged =
      old && (old->Check.Caption != Check.Caption || !Windows::EqualRect(&old->Check.FocusRect, &Check.FocusRect));
  if (markChanged && AControl->HandleAllocated()) {
    cxContainer::InvalidateControlRect(AControl, Check.CheckRect, false);
    r = true;
  }
  if (textChanged && AControl->HandleAllocated()) {
    AControl->Invalidate();
    r = true;
  }
  return r;
}

// ==== View data ================================================================================

int TcxCustomCheckBoxViewData::GetDrawTextFlags(TAlignment AAlignment) const
{
  int f = AAlignment == taCenter ? tfAlignHCenter : tfAlignLeft;
  f |= tfShowPrefix;
  const bool multiLine = GetCheckProperties()->GetMultiLine();
  f |= multiLine ? (tfNoClip | tfWordBreak) : tfSingleLine;
  f |= (IsInplace() || !multiLine) ? tfAlignVCenter : tfAlignTop;
  return f;
}

void TcxCustomCheckBoxViewData::Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button,
                                          TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent)
{
  auto* vi = static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  TcxCustomCheckBoxProperties* props = GetCheckProperties();
  TcxCheckBoxPaintInfo& cb = vi->Check;
  const TcxCheckMarkState oldMark = cb.MarkState;

  // 1. The alignment in force.
  cb.Alignment = (IsInplace() && !props->KeepsAlignmentInplace()) ? taCenter : props->GetAlignment()->GetHorz();
  // 2. The frame, then the caption text and its flags.
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  cb.Font = vi->Font;
  cb.TextFlags = GetDrawTextFlags(cb.Alignment);
  cb.Caption = Edit ? CaptionText : props->GetCaption();
  cb.FullFocusRect = props->GetFullFocusRect();
  cb.NullStyle = props->GetNullStyle();
  cb.Glyph = props->GetGlyphIfAny();
  cb.GlyphCount = props->GetGlyphCount();
  cb.CheckBorderStyle = GetStyle()->GetEditBorderStyle();
  cb.IsInnerControl = false;
  // 3. The check size.
  SIZE check{0, 0};
  cxEditUtils::GetCheckSize(NativeStyle, cb.Glyph, cb.GlyphCount, check);
  // 4. Caption and check areas.
  const RECT content = vi->ClientRect;
  RECT caption = content;
  if (!IsInplace()) {
    caption = InflatedBy(caption, -2);
  } else if (cb.Alignment == taLeftJustify) {
    caption.right -= 2;
  } else if (cb.Alignment == taRightJustify) {
    caption.left += 2;
  }
  RECT area = content;
  if (!IsInplace() && !NativeStyle) area = InflatedBy(area, -2);
  // 5. The check inside its area, the caption beside it.
  RECT cr;
  cr.top = area.top + ((area.bottom - area.top) - check.cy) / 2;
  cr.bottom = cr.top + check.cy;
  const int areaWidth = area.right - area.left;
  if (check.cx < areaWidth) {
    switch (cb.Alignment) {
      case taCenter: cr.left = area.left + (areaWidth - check.cx) / 2; break;
      case taRightJustify:
        cr.left = area.right - check.cx;
        caption.right = cr.left - (IsInplace() ? 2 : 3);
        break;
      default:
        cr.left = area.left;
        caption.left = cr.left + check.cx + 3;
        break;
    }
  } else {
    cr.left = area.left;
    caption = RECT{caption.left, caption.top, caption.left, caption.top};
  }
  cr.right = cr.left + check.cx;
  cb.CheckRect = cr;
  // 6. Room for the embossed text of a disabled control.
  if (!Enabled) {
    caption.right += 1;
    caption.bottom += 1;
  }
  cb.CaptionRect = caption;
  // 7. The mark's state.
  if (!Enabled) {
    cb.MarkState = cmsDisabled;
  } else if (SpacePressed) {
    cb.MarkState = cmsPressed;
  } else if (!IsDesigning && Windows::PtInRect(&ABounds, P)) {
    const bool left = Shift.Contains(ssLeft), others = Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
    if (!left && !others)
      cb.MarkState = cmsHot;
    else if (left && !others && (Button == 1 || oldMark == cmsPressed))
      cb.MarkState = cmsPressed;
    else
      cb.MarkState = cmsNormal;
  } else {
    cb.MarkState = cmsNormal;
  }
  // 8. Border colour of the mark.
  if (vi->GetEditBorderStyle() == ebsSingle && !GetStyle()->IsValueAssigned(svBorderColor))
    vi->BorderColor = clBtnShadow;
  if (IsInplace() && cb.CheckBorderStyle == ebsSingle)
    vi->BorderColor = (cb.MarkState == cmsHot || (IsDesigning && Enabled)) ? clHighlight : clBtnShadow;
  // 9, 10. The value's state, the themed state and the focus rectangle.
  cb.State = State;
  cb.FocusRect = RECT{};
  cxEditUtils::CalculateCheckBoxMarkInfo(ACanvas, *vi, cb, NativeStyle);
}

void TcxCustomCheckBoxViewData::PrepareDrawValue(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                 TcxCustomCheckBoxViewInfo* AViewInfo)
{
  Variant v;
  GetProperties()->PrepareDisplayValue(AEditValue, v, IsFocused());
  State = TcxCheckBoxState(v.AsInteger());
  AViewInfo->Check.State = State;
  cxEditUtils::CalculateCheckBoxMarkInfo(ACanvas, *AViewInfo, AViewInfo->Check, NativeStyle);
}

void TcxCustomCheckBoxViewData::InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                                                const TcxEditSizeProperties& AEditSizeProperties,
                                                                SIZE& MinContentSize, TcxCustomEditViewInfo* AViewInfo,
                                                                SIZE& Size)
{
  TcxCustomEditViewData::InternalGetEditConstantPartSize(ACanvas, AIsInplace, AEditSizeProperties, MinContentSize,
                                                         AViewInfo, Size);
  auto* vi = static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  TcxCustomCheckBoxProperties* props = GetCheckProperties();
  SIZE check{0, 0};
  cxEditUtils::GetCheckSize(NativeStyle, props->GetGlyphIfAny(), props->GetGlyphCount(), check);
  if (!AIsInplace && !NativeStyle) {
    check.cx += 4;
    check.cy += 4;
  }
  const bool centred = vi->Check.Alignment == taCenter || AIsInplace;
  const AnsiString text = centred ? AnsiString("Gg") : vi->Check.Caption;
  if (GetStyle()->GetFont()) ACanvas->SetFont(GetStyle()->GetFont());
  RECT tr{0, 0, 0, 0};
  int textWidth = 0, textHeight = 0;
  if (!text.empty()) {
    const int flags = vi->Check.TextFlags & ~(tfWordBreak | tfAlignVCenter | tfAlignHCenter);
    ACanvas->CalculateTextRect(text, tr, flags | tfSingleLine);
    textWidth = tr.right - tr.left;
    textHeight = tr.bottom - tr.top;
  } else {
    textHeight = ACanvas->TextHeight("Gg");
  }
  Size.cx += check.cx + textWidth + 3;
  Size.cy += std::max<int>(check.cy, textHeight);
}

// ==== Action link ==============================================================================

TcxCheckBoxActionLink::TcxCheckBoxActionLink(TcxCustomCheckBox* AClient) : TControlActionLink(AClient), FClient(AClient)
{}

TcxCheckBoxActionLink::~TcxCheckBoxActionLink()
{
  if (!FClient->IsDestroying()) FClient->UpdateCaption();
}

bool TcxCheckBoxActionLink::IsCaptionLinked() const { return !FClient->GetCheckProperties()->IsCaptionAssigned(); }

bool TcxCheckBoxActionLink::IsCheckedLinked() const
{
  auto* action = dynamic_cast<TCustomAction*>(FClient->GetAction());
  return action && FClient->GetState() != cbsGrayed && FClient->GetChecked() == action->GetChecked();
}

void TcxCheckBoxActionLink::SetChecked(bool Value)
{
  TCountGuard clickLock(FClient->FClickLock);
  FClient->LockChangeEvents(true);
  TScopeExit Discard([this] { FClient->LockChangeEvents(false, false); });
  FClient->SetChecked(Value);
}

// ==== Control ==================================================================================

TcxCustomCheckBox::TcxCustomCheckBox(TComponent* AOwner) : TcxCustomEdit(AOwner)
{
  ControlStyle.Exclude(csDoubleClicks);
  SetParentColor(!IsInplace());
  SetWidth(121);
  // The parts are made now: GetPropertiesClass is this class's from here on.
  TcxCustomEdit::SetEditValue(GetCheckProperties()->StateToEditValue(cbsUnchecked));
}

TcxCustomCheckBox::~TcxCustomCheckBox()
{
  Destroying();
  FCheckLink.reset();
}

std::unique_ptr<TcxContainerViewInfo> TcxCustomCheckBox::CreateViewInfo()
{
  return std::make_unique<TcxCustomCheckBoxViewInfo>();
}

TClass TcxCustomCheckBox::GetPropertiesClass() const { return TcxCheckBoxProperties::StaticClass(); }

TcxCheckBoxState TcxCustomCheckBox::GetState()
{
  TcxCustomEditProperties* p = GetProperties();
  if (GetComponentState().Contains(csWriting) && GetRepositoryItem()) p = GetRepositoryItem()->GetProperties();
  Variant v;
  p->PrepareDisplayValue(GetEditValue(), v, HasEditFocus());
  return TcxCheckBoxState(v.AsInteger());
}

void TcxCustomCheckBox::SetState(TcxCheckBoxState Value)
{
  if (GetComponentState().Contains(csLoading)) {
    FStateGivenWhileLoading = true;
    FLoadingState = Value;
    return;
  }
  if (Value == GetState()) return;
  Variant v;
  DisplayValueToEditValue(Variant(int(Value)), v, false);
  SetEditValueChecked(v);
}

bool TcxCustomCheckBox::IsStateStored()
{
  TBasicAction* action = GetAction();
  if (!action) return GetState() != cbsUnchecked;
  if (auto* a = dynamic_cast<TCustomAction*>(action)) return GetState() == cbsGrayed || GetChecked() != a->GetChecked();
  return false;
}

void TcxCustomCheckBox::DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool)
{
  EditValue = GetCheckProperties()->StateToEditValue(TcxCheckBoxState(ADisplayValue.AsInteger()));
}

void TcxCustomCheckBox::SetParentBackground(bool Value)
{
  if (Value == FParentBackground) return;
  FParentBackground = Value;
  Invalidate();
}

TcxCheckBoxActionLink* TcxCustomCheckBox::GetCheckActionLink()
{
  if (!GetAction()) FCheckLink.reset();
  return FCheckLink.get();
}

AnsiString TcxCustomCheckBox::GetCaptionText(bool UseAction)
{
  TcxCustomCheckBoxProperties* p = GetCheckProperties();
  if (p->IsCaptionAssigned()) return p->GetCaption();
  if (UseAction)
    if (auto* a = dynamic_cast<TCustomAction*>(GetAction())) return a->GetCaption();
  return GetName();
}

void TcxCustomCheckBox::UpdateCaption()
{
  if (IsDestroying() || FUpdatingCaption) return;
  TValueGuard busy(FUpdatingCaption, true);
  const AnsiString text = GetCaptionText(true);
  TcxCustomCheckBoxProperties* p = GetCheckProperties();
  if (!GetRepositoryItem() && !p->IsCaptionAssigned()) p->SetCaptionText(text);
  if (GetCheckViewInfo()->Check.Caption != text) TcxCustomEdit::PropertiesChanged(p);
}

void TcxCustomCheckBox::SetName(const AnsiString& NewName)
{
  TcxCustomEdit::SetName(NewName);
  UpdateCaption();
}

void TcxCustomCheckBox::Toggle()
{
  LockChangeEvents(true);
  TScopeExit Unlock([this] { LockChangeEvents(false, true); });
  {
    const bool wasUser = IsUserChange();
    SetUserChange(true);
    TScopeExit Restore([this, wasUser] { SetUserChange(wasUser); });
    switch (GetState()) {
      case cbsUnchecked: SetState(GetCheckProperties()->GetAllowGrayed() ? cbsGrayed : cbsChecked); break;
      case cbsChecked: SetState(cbsUnchecked); break;
      default: SetState(cbsChecked); break;
    }
  }
  if (GetProperties()->GetImmediatePost() && CanPostEditValue() && ValidateEdit(true)) PostEditValue();
}

void TcxCustomCheckBox::InternalSetEditValue(const Variant& Value, bool AValidate)
{
  const TcxCheckBoxState before = GetState();
  TcxCustomEdit::InternalSetEditValue(Value, AValidate);
  if (GetState() != before) {
    SyncViewState();
    Click();
    DoChange();
  }
  ShortRefreshContainer(false);
}

void TcxCustomCheckBox::SyncViewState()
{
  TcxCustomCheckBoxViewInfo* vi = GetCheckViewInfo();
  const TcxCheckBoxState s = GetState();
  if (vi->Check.State == s) return;
  vi->Check.State = s;
  InvalidateCheckRect();
}

void TcxCustomCheckBox::PropertiesChanged(TObject* Sender)
{
  UpdateCaption();
  TcxCustomCheckBoxViewInfo* vi = GetCheckViewInfo();
  const TcxCheckBoxState s = GetState();
  if (vi->Check.State != s) {
    vi->Check.State = s;
    InvalidateCheckRect();
    Click();
    DoChange();
  }
  TcxCustomEdit::PropertiesChanged(Sender);
}

void TcxCustomCheckBox::InvalidateCheckRect()
{
  if (HandleAllocated()) cxContainer::InvalidateControlRect(this, GetCheckViewInfo()->Check.CheckRect, false);
}

void TcxCustomCheckBox::Click()
{
  if (FClickLock > 0) return;
  TcxCustomEdit::Click();
}

bool TcxCustomCheckBox::CanClickWhileLoading()
{
  IcxEditDefaultValuesProvider* p = GetDataBinding()->GetDefaultValuesProvider();
  return p && p->IsDataStorage();
}

void TcxCustomCheckBox::Loaded()
{
  LockChangeEvents(true);
  TScopeExit Unlock([this] { LockChangeEvents(false, false); });
  TCountGuard clickLock(FClickLock);
  TValueGuard inLoaded(FInLoaded, true);
  TcxCustomEdit::Loaded();
  if (FStateGivenWhileLoading) {
    FStateGivenWhileLoading = false;
    SetState(FLoadingState);
  } else if (!CanClickWhileLoading()) {
    SetState(cbsUnchecked);
  }
}

void TcxCustomCheckBox::Notification(TComponent* AComponent, TOperation Operation)
{
  TcxCustomEdit::Notification(AComponent, Operation);
  // The action may have dropped its links before telling its clients.
  if (Operation == opRemove && FCheckLink && !GetAction()) FCheckLink.reset();
}

void TcxCustomCheckBox::ActionChange(TObject* Sender, bool CheckDefaults)
{
  TcxCustomEdit::ActionChange(Sender, CheckDefaults);
  if ((GetComponentState().Contains(csLoading) || FInLoaded) && FStateGivenWhileLoading) return;
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!FCheckLink) FCheckLink = std::make_unique<TcxCheckBoxActionLink>(this);
  if (!CheckDefaults || !GetChecked()) FCheckLink->SetChecked(action->GetChecked());
  UpdateCaption();
}

void TcxCustomCheckBox::DoExit()
{
  FSpacePressed = false;
  TcxCustomEdit::DoExit();
}

bool TcxCustomCheckBox::CanResize(int& NewWidth, int& NewHeight)
{
  if (!TcxContainer::CanResize(NewWidth, NewHeight)) return false;
  if (!GetAutoSize() || GetComponentState().Contains(csLoading)) return true;
  std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData());
  InitializeViewData(vd.get());
  TcxEditSizeProperties limits = GetEditSizeProperties();
  SIZE size{0, 0};
  vd->CalculateEditSize(GetActiveCanvas(), Variant::Null(), limits, size);
  NewHeight = size.cy;
  return true;
}

TcxEditSizeProperties TcxCustomCheckBox::GetEditSizeProperties()
{
  TcxEditSizeProperties p;
  p.MaxLineCount = GetCheckProperties()->GetMultiLine() ? 0 : 1;
  const RECT& c = GetViewInfo()->ClientRect;
  p.Width = c.right - c.left;
  return p;
}

void TcxCustomCheckBox::Paint()
{
  GetCheckViewInfo()->Check.ParentBackground = !IsInplace() && FParentBackground;
  TcxCustomEdit::Paint();
}

TcxCustomEditViewData* TcxCustomCheckBox::CreateViewData()
{
  auto* vd = static_cast<TcxCustomCheckBoxViewData*>(TcxCustomEdit::CreateViewData());
  vd->CaptionText = GetCaptionText(true);
  vd->SpacePressed = FSpacePressed;
  return vd;
}

void TcxCustomCheckBox::InitializeViewData(TcxCustomEditViewData* AViewData)
{
  TcxCustomEdit::InitializeViewData(AViewData);
  auto* vd = static_cast<TcxCustomCheckBoxViewData*>(AViewData);
  Variant v;
  GetProperties()->PrepareDisplayValue(GetEditValue(), v, HasEditFocus());
  vd->State = TcxCheckBoxState(v.AsInteger());
}

// ---- Keys and mouse

void TcxCustomCheckBox::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  if (Key == VK_SPACE) {
    const TcxCheckMarkState m = GetCheckViewInfo()->Check.MarkState;
    if (m != cmsPressed && m != cmsDisabled) {
      FSpacePressed = true;
      ShortRefreshContainer(false);
    }
    Key = 0;
    return;
  }
  TcxCustomEdit::DoEditKeyDown(Key, Shift);
}

void TcxCustomCheckBox::DoEditKeyUp(Word& Key, TShiftState Shift)
{
  if (Key == VK_SPACE && FSpacePressed) {
    FSpacePressed = false;
    GetCheckViewInfo()->Check.MarkState = cmsNormal;
    InvalidateCheckRect();
    Toggle();
    ShortRefreshContainer(false);
    Key = 0;
    return;
  }
  TcxCustomEdit::DoEditKeyUp(Key, Shift);
}

void TcxCustomCheckBox::DoEditKeyPress(char& Key)
{
  if (Key == ' ') {
    // In a cell the key-down went to the owner; the character toggles instead.
    if (IsInplace() && !FSpacePressed && GetCheckViewInfo()->Check.MarkState != cmsPressed) Toggle();
    Key = 0;
    return;
  }
  TcxCustomEdit::DoEditKeyPress(Key);
}

void TcxCustomCheckBox::WMLButtonUp(TMessage& Message)
{
  // The toggle comes from ProcessButtonChanges; the class library's click would come twice.
  ControlState.Exclude(csClicked);
  TcxCustomEdit::WMLButtonUp(Message);
}

void TcxCustomCheckBox::ProcessButtonChanges(TcxCustomEditViewInfo* AOldViewInfo, bool AIsMouseEvent)
{
  TcxCustomEdit::ProcessButtonChanges(AOldViewInfo, AIsMouseEvent);
  auto* old = static_cast<TcxCustomCheckBoxViewInfo*>(AOldViewInfo);
  if (old->Check.MarkState == cmsPressed && GetCheckViewInfo()->Check.MarkState == cmsHot && !FSpacePressed) Toggle();
}

void TcxCustomCheckBox::CMDialogChar(TMessage& Message)
{
  const AnsiString caption = GetCaptionText(true);
  if (!Controls::IsAccel(Word(Message.WParam), caption) || !CanFocus()) {
    TcxCustomEdit::CMDialogChar(Message);
    return;
  }
  SetFocus();
  if (Focused()) Toggle();
  Message.Result = 1;
}

void TcxCheckBox::Published(TPublisher<ThisClass>& p)
{
  p.Property("Checked", &ThisClass::GetChecked, &ThisClass::SetChecked).StoredWhen(p.When([](const ThisClass*) {
    return false;
  }));
  p.Property("ParentBackground", &ThisClass::GetParentBackground, &ThisClass::SetParentBackground).Default(true);
  p.Property("State", &ThisClass::GetState, &ThisClass::SetState).StoredWhen(p.When([](const ThisClass* c) {
    return const_cast<ThisClass*>(c)->IsStateStored();
  }));
}

// ==== Unit =====================================================================================

namespace cxCheckBox {

void Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxCheckBoxProperties::StaticClass(),
                                                  cxResourceStrings::GetResourceString(cxEditConsts::sEditorCheckBox));
}

void Finalize() {}

}  // namespace cxCheckBox

PELTO_DEFINE_CLASS(TcxCheckEditPropertiesValues)

PELTO_DEFINE_CLASS(TcxCustomCheckBoxProperties)

PELTO_DEFINE_CLASS(TcxCheckBoxProperties)

PELTO_DEFINE_CLASS(TcxCheckBoxStyle)

PELTO_DEFINE_CLASS(TcxCustomCheckBoxViewInfo)

PELTO_DEFINE_CLASS(TcxCustomCheckBoxViewData)

PELTO_DEFINE_CLASS(TcxCustomCheckBox)

PELTO_DEFINE_CLASS(TcxCheckBox)
