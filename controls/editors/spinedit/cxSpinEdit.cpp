#include "controls/editors/spinedit/cxSpinEdit.h"

#include <algorithm>

#include "controls/data/storage/cxVariants.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEditButtons.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/framework/cxGraphics.h"
#include "controls/framework/dxThemeManager.h"
#include "platform/forms/app/Timer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Guards.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

using namespace cxSpinEditValue;

void cxSpinEdit::Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxSpinEditProperties::StaticClass(),
                                                  cxResourceStrings::GetResourceString(cxEditConsts::sEditorSpin));
}

// ---- Buttons and properties --------------------------------------------------------------------

TPersistent* TcxSpinEditButtons::GetOwner() { return FOwner; }

void TcxSpinEditButtons::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxSpinEditButtons*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FOwner->BeginUpdate();
  TScopeExit end([this] { FOwner->EndUpdate(true); });
  SetPosition(s->GetPosition());
  SetShowFastButtons(s->GetShowFastButtons());
}

void TcxSpinEditButtons::SetPosition(TcxSpinEditButtonsPosition Value)
{
  if (FPosition == Value) return;
  FPosition = Value;
  FOwner->Changed();
}

void TcxSpinEditButtons::SetShowFastButtons(bool Value)
{
  if (FShowFastButtons == Value) return;
  FShowFastButtons = Value;
  FOwner->Changed();
}

void TcxSpinEditPropertiesValues::Assign(TPersistent* Source)
{
  TcxTextEditPropertiesValues::Assign(Source);
  if (auto* s = dynamic_cast<TcxSpinEditPropertiesValues*>(Source)) ValueType = s->ValueType;
}

void TcxSpinEditPropertiesValues::RestoreDefaults()
{
  TcxTextEditPropertiesValues::RestoreDefaults();
  ValueType = false;
}

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TPersistent* AOwner) : TcxCustomMaskEditProperties(AOwner)
{
  CreateAssignedValues();
  GetButtons()->Add();  // 0: down
  GetButtons()->Add();  // 1: up
  FSpinButtons = std::make_unique<TcxSpinEditButtons>(this);
}

TcxCustomSpinEditProperties::~TcxCustomSpinEditProperties() = default;

void TcxCustomSpinEditProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomSpinEditProperties*>(Source);
  if (!s) {
    TcxCustomMaskEditProperties::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit end([this] { EndUpdate(true); });
  SetDefaultValuesProvider(s->GetDefaultValuesProvider());
  SpinAssignedValues()->ValueType = false;
  if (s->IsValueTypeStored()) SetValueType(s->GetValueType());
  TcxCustomMaskEditProperties::Assign(Source);
  FCanEdit = s->FCanEdit;
  FIncrement = s->FIncrement;
  FLargeIncrement = s->FLargeIncrement;
  SetSpinButtons(s->GetSpinButtons());
  FUseCtrlIncrement = s->FUseCtrlIncrement;
}

TcxSpinEditValueType TcxCustomSpinEditProperties::GetValueType()
{
  if (IsValueTypeStored()) return FValueType;
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  if (p) return p->DefaultIsFloatValue() ? vtFloat : vtInt;
  return vtFloat;
}

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType Value)
{
  if (IsValueTypeStored() && FValueType == Value) return;
  SpinAssignedValues()->ValueType = true;
  FValueType = Value;
  Changed();
}

Variant TcxCustomSpinEditProperties::ToValue(const Variant& V) { return cxSpinEditValue::ToValue(V, GetValueType()); }

void TcxCustomSpinEditProperties::CastToValueType(Variant& V) { cxSpinEditValue::CastToValueType(V, GetValueType()); }

TcxSpinStepBounds TcxCustomSpinEditProperties::StepBounds()
{
  return TcxSpinStepBounds{GetMinValue(), GetMaxValue(), GetStepOutOfBoundsAction()};
}

Variant TcxCustomSpinEditProperties::BoundedZero()
{
  Variant r;
  ClampToBounds(Variant(0), r);
  try {
    CastToValueType(r);
  } catch (const Exception&) {
    r = Variant(0);
    CastToValueType(r);
  }
  return r;
}

void TcxCustomSpinEditProperties::Changed()
{
  if (FSpinButtons) {
    BeginUpdate();
    TScopeExit end([this] { EndUpdate(false); });
    TcxEditButtons* b = GetButtons();
    if (FSpinButtons->GetShowFastButtons() && b->GetCount() == 2) {
      b->Add();  // 2: fast down
      b->Add();  // 3: fast up
    } else if (!FSpinButtons->GetShowFastButtons() && b->GetCount() == 4) {
      b->Delete(3);
      b->Delete(2);
    }
  }
  TcxCustomMaskEditProperties::Changed();
}

TClass TcxCustomSpinEditProperties::GetViewDataClass() const { return TcxSpinEditViewData::StaticClass(); }
TClass TcxCustomSpinEditProperties::GetViewInfoClass() const { return TcxSpinEditViewInfo::StaticClass(); }

TcxCustomEditViewData* TcxCustomSpinEditProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace)
{
  return new TcxSpinEditViewData(this, AStyle, AIsInplace);
}
TClass TcxCustomSpinEditProperties::GetContainerClass() const { return TcxSpinEdit::StaticClass(); }

bool TcxCustomSpinEditProperties::IsEditValueValid(Variant& V, bool)
{
  const Variant& d = V.Deref();
  bool acceptable;
  if (d.VarType() == varString || d.VarType() == varOleStr) {
    double x;
    acceptable = TryTextToFloat(d.AsString(), x);
  } else {
    acceptable = cxVariants::VarIsNumericOrFMTBcd(d) || d.IsNull() || cxVariants::VarIsDateOrTimeStamp(d);
  }
  if (!acceptable) return false;
  try {
    V = ToValue(V);
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool TcxCustomSpinEditProperties::IsDisplayValueValid(Variant& V, bool AEditFocused)
{
  if (!TcxCustomMaskEditProperties::IsDisplayValueValid(V, AEditFocused)) return false;
  if (!CheckDisplayValueIsNumber()) return true;
  const AnsiString text = Variants::VarToStr(V);
  if (text.empty()) return true;
  double x;
  if (!TryTextToFloat(text, x)) return false;
  // Out of [MinValue, MaxValue] stays valid here: ValidateDisplayValue reports it.
  if (GetMaxValue() != GetMinValue() && (x < GetMinValue() || x > GetMaxValue())) {
    Variant v;
    if (TextToValue(text, GetValueType(), v) == sceNone) V = Variant(ValueToText(v));
  }
  return true;
}

void TcxCustomSpinEditProperties::ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error,
                                                       TcxCustomEdit* AEdit)
{
  auto* edit = dynamic_cast<TcxCustomSpinEdit*>(AEdit);
  Variant v;
  if (edit && edit->IsTyped())
    Error = !edit->ConvertDisplayValue(DisplayValue, false, ErrorText, v);
  else if (edit)
    v = edit->GetLastValue();
  else
    Error = !IsEditValueValid(v = DisplayValue, false);
  if (!Error) {
    if (v.IsNull()) v = BoundedZero();
    DisplayValue = Variant(ValueToText(v));
    if (GetMaxValue() > GetMinValue()) {
      const double x = v.AsDouble();
      if (x < GetMinValue() || x > GetMaxValue()) {
        Error = true;
        ErrorText = cxResourceStrings::GetResourceString(cxEditConsts::sValueOutOfBounds);
      }
    }
  }
  bool changedByHandler = false;
  DoValidate(DisplayValue, ErrorText, Error, AEdit, changedByHandler);
}

void TcxCustomSpinEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                                      bool AEditFocused)
{
  // An integer shows all its digits, not the 15 of the floating form.
  if (GetValueType() == vtInt && cxVariants::VarIsNumericOrFMTBcd(AEditValue) &&
      (AEditFocused || GetDisplayFormat().empty())) {
    Variant v = AEditValue;
    try {
      CastToValueType(v);
      DisplayValue = Variant(ValueToText(v));
      return;
    } catch (const Exception&) {}
  }
  TcxCustomMaskEditProperties::PrepareDisplayValue(AEditValue, DisplayValue, AEditFocused);
}

void TcxCustomSpinEditProperties::GetEmptyDisplayValue(Variant& V) { PrepareDisplayValue(BoundedZero(), V, true); }

// ---- View --------------------------------------------------------------------------------------

int TcxSpinEditViewData::KeyPressedState() const
{
  auto* e = dynamic_cast<TcxCustomSpinEdit*>(Edit);
  return e ? e->GetKeyPressedState() : 0;
}

bool TcxSpinEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) { return KeyPressedState() == 0; }

bool TcxSpinEditViewData::IsButtonPressed(TcxCustomEditViewInfo*, int AButtonVisibleIndex)
{
  return (KeyPressedState() & 0x7F) == AButtonVisibleIndex + 1;
}

void TcxSpinEditViewData::CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect,
                                                  int AIndex)
{
  TcxCustomTextEditViewData::CalculateButtonViewInfo(ACanvas, AViewInfo, ARect, AIndex);
  auto* p = static_cast<TcxCustomSpinEditProperties*>(GetProperties());
  if (p->GetSpinButtons()->GetPosition() == sbpHorzLeftRight && (AIndex == 0 || AIndex == 2))
    AViewInfo->Button(AIndex)->LeftAlignment = true;
}

// All buttons are placed on the first call, the one for the last button.
void TcxSpinEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, RECT& ARect,
                                                int AIndex)
{
  const int count = AViewInfo->ButtonCount();
  if (AIndex != count - 1) return;
  auto* vi = static_cast<TcxSpinEditViewInfo*>(AViewInfo);
  auto* p = static_cast<TcxCustomSpinEditProperties*>(GetProperties());
  const TcxSpinEditButtonsPosition pos = p->GetSpinButtons()->GetPosition();
  vi->Position = pos;
  const bool fast = count == 4;
  TcxEditButtonViewInfo* last = vi->Button(count - 1);
  const bool native = vi->NativeStyle && dxThemeManager::OpenTheme(totSpin) != 0;
  const bool hotFlat = !native && last->Style == btsHotFlat;
  const int N = native ? 1 : 0;
  const int H = ARect.bottom - ARect.top;
  const int SW = cxEditUtils::GetButtonWidth(ACanvas, *last);
  int HW;
  if (native) {
    RECT extent, offsets;
    GetClientExtent(nullptr, extent);
    GetButtonsAreaOffsets(ACanvas, offsets);
    const int textOffset = IsInplace() ? 2 : 4;
    const int textHeight = ACanvas ? ACanvas->TextHeight("Zg") : 16;
    HW = (textHeight + textOffset + extent.top + extent.bottom - offsets.top - offsets.bottom - 1 + 1) / 2;
  } else {
    const int m = std::min(SW + 2, H / 2 + 2);
    int w = (m - 1) / 2;
    if (w % 2 == 0) ++w;
    vi->ArrowSize = w / 2 + 1;
    HW = 4 * vi->ArrowSize - 3;
  }
  const int FW = (3 * HW + 1) / 2;
  auto place = [&](int AButton, int ALeft, int ATop, int ARight, int ABottom) {
    if (AButton >= count) return;
    TcxEditButtonViewInfo* b = vi->Button(AButton);
    b->Bounds = RECT{ALeft, ATop, ARight, ABottom};
  };
  RECT R = ARect;
  if (fast) {
    place(3, R.right - FW, R.top, R.right, R.bottom);
    R.right -= FW;
  }
  if (pos == sbpVert) {
    const int mid = R.top + (H - N) / 2;
    place(1, R.right - SW, R.top, R.right, mid);
    place(0, R.right - SW, mid + N, R.right, R.bottom);
    R.right -= SW;
    if (hotFlat && mid - R.top < R.bottom - (mid + N)) {
      ++vi->Button(1)->Bounds.bottom;
      ++vi->Button(0)->Bounds.top;
    }
  } else {
    place(1, R.right - HW, R.top, R.right, R.bottom);
    R.right -= HW + N;
    if (hotFlat && pos == sbpHorzLeftRight) {
      --vi->Button(1)->Bounds.left;
      --R.right;
    }
  }
  if (pos == sbpHorzRight) {
    place(0, R.right - HW, R.top, R.right, R.bottom);
    R.right -= HW;
    if (hotFlat && !fast) {
      --vi->Button(0)->Bounds.left;
      --R.right;
    }
  }
  if (pos != sbpHorzLeftRight && fast) {
    place(2, R.right - FW, R.top, R.right, R.bottom);
    if (hotFlat) --vi->Button(2)->Bounds.left;
  }
  if (pos == sbpHorzLeftRight) {
    if (fast) {
      place(2, R.left, R.top, R.left + FW, R.bottom);
      R.left += FW;
    }
    place(0, R.left, R.top, R.left + HW, R.bottom);
    if (hotFlat) ++vi->Button(0)->Bounds.right;
  }
  vi->SeparatorFrom = vi->SeparatorTo = POINT{0, 0};
  if (native) {
    const RECT d = vi->Button(0)->Bounds, u = vi->Button(1)->Bounds;
    if (pos == sbpHorzRight) {
      vi->SeparatorFrom = POINT{d.right, d.top};
      vi->SeparatorTo = POINT{d.right, d.bottom - 1};
    } else if (pos == sbpVert) {
      vi->SeparatorFrom = POINT{u.left, u.bottom};
      vi->SeparatorTo = POINT{u.right - 1, u.bottom};
    }
  }
  for (int i = 0; i < count; ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    b->VisibleBounds = b->Bounds;
    if (native) b->NativePart = i >= 2 ? (i == 2 ? 4 : 3) : pos == sbpVert ? (i == 0 ? 2 : 1) : (i == 0 ? 4 : 3);
  }
}

TcxCustomEditViewInfo* TcxSpinEditViewInfo::Clone() const
{
  auto* r = new TcxSpinEditViewInfo();
  r->Assign(const_cast<TcxSpinEditViewInfo*>(this));
  return r;
}

void TcxSpinEditViewInfo::Assign(TcxContainerViewInfo* Source)
{
  TcxCustomTextEditViewInfo::Assign(Source);
  if (auto* s = dynamic_cast<TcxSpinEditViewInfo*>(Source)) {
    ArrowSize = s->ArrowSize;
    Position = s->Position;
    SeparatorFrom = s->SeparatorFrom;
    SeparatorTo = s->SeparatorTo;
  }
}

void TcxSpinEditViewInfo::InternalPaint(TcxCanvas* ACanvas)
{
  TextInfo.InnerEditVisible = InnerEditVisible;
  TextInfo.PrepareCanvasFont = [this](TcxCanvas* C) { PrepareCanvasFont(C); };
  cxEditUtils::PaintSpinEditViewInfo(ACanvas, *this, TextInfo, Position, SeparatorFrom, SeparatorTo);
}

void TcxSpinEditViewInfo::PaintButtonFrame(TcxCanvas* Canvas, int Index, TcxEditButtonStyle Style, const RECT& R)
{
  cxEditUtils::PaintSpinButton(Canvas, *this, Index, Style, R, Position, ArrowSize);
}

void TcxSpinEditViewInfo::PaintButtonContent(TcxCanvas* Canvas, int Index, const RECT& R, TColor ContentColor,
                                             TColor FaceColor)
{
  cxEditUtils::PaintSpinButtonContent(Canvas, *this, Index, R, ContentColor, FaceColor, Position, ArrowSize);
}

// ---- Value -------------------------------------------------------------------------------------

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* AOwner) : TcxCustomMaskEdit(AOwner)
{
  SetEditValueChecked(Variant(0));
}

TcxCustomSpinEdit::~TcxCustomSpinEdit() = default;

TClass TcxCustomSpinEdit::GetPropertiesClass() const { return TcxSpinEditProperties::StaticClass(); }
TClass TcxSpinEdit::GetPropertiesClass() const { return TcxSpinEditProperties::StaticClass(); }

TcxContainerStyleValues TcxCustomSpinEdit::GetNotStoredStyleValues()
{
  TcxContainerStyleValues r;
  r.Include(TcxContainerStyleValue(10));  // the pop-up border style
  return r;
}

bool TcxCustomSpinEdit::ConvertDisplayValue(const Variant& ADisplayValue, bool ARaise, AnsiString& AErrorText,
                                            Variant& AValue)
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  AErrorText.clear();
  const AnsiString text = Variants::VarToStr(ADisplayValue);
  if (text.empty()) {
    IcxEditDefaultValuesProvider* provider = p->GetDefaultValuesProvider();
    AValue = provider && provider->DefaultRequired() ? p->BoundedZero() : Variant::Null();
    return true;
  }
  Variant v;
  switch (TextToValue(text, p->GetValueType(), v)) {
    case sceNone: AValue = v; return true;
    case sceOutOfBounds: AErrorText = cxResourceStrings::GetResourceString(cxEditConsts::sValueOutOfBounds); break;
    case sceInvalid:
      AErrorText = cxResourceStrings::GetResourceString(cxEditConsts::sMaskEditInvalidNumericValue);
      break;
  }
  if (ARaise) throw Exception(AErrorText);
  AValue = FLastValue;
  return false;
}

void TcxCustomSpinEdit::DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool)
{
  AnsiString error;
  ConvertDisplayValue(ADisplayValue, true, error, EditValue);
}

Variant TcxCustomSpinEdit::GetValue()
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  Variant r;
  if (Focused()) {
    if (FTyped)
      DisplayValueToEditValue(Variant(GetText()), r, true);
    else
      r = FLastValue;
    if (!cxVariants::VarIsNumericOrFMTBcd(r)) r = Variant(0);
  } else {
    r = GetEditValue();
    const TVarType t = r.Deref().VarType();
    if (!cxVariants::VarIsNumericOrFMTBcd(r) && t != varString && t != varOleStr) p->ClampToBounds(Variant(0), r);
  }
  return p->ToValue(r);
}

void TcxCustomSpinEdit::SetValue(const Variant& Value)
{
  if (!cxVariants::VarIsNumericOrFMTBcd(Value)) return;
  Variant v = Value;
  if (GetSpinProperties()->IsEditValueValid(v, Focused())) SetEditValueChecked(v);
}

void TcxCustomSpinEdit::SynchronizeDisplayValue()
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  Variant v = GetEditValue();
  FLastValue = p->IsEditValueValid(v, Focused()) ? v : p->BoundedZero();
  TcxCustomMaskEdit::SynchronizeDisplayValue();
}

void TcxCustomSpinEdit::SyncEditValueFromText()
{
  TcxCustomMaskEdit::SyncEditValueFromText();
  Variant v = GetEditValue();
  if (cxVariants::VarIsNumericOrFMTBcd(v)) FLastValue = v;
}

void TcxCustomSpinEdit::ChangeHandler(TObject* Sender)
{
  FTyped = FKeyDown;
  TcxCustomMaskEdit::ChangeHandler(Sender);
  FKeyDown = false;
}

void TcxCustomSpinEdit::ClampEditValue()
{
  const bool savedUserChange = IsUserChange();
  SetUserChange(GetEditModified());
  TScopeExit restore([this, savedUserChange] { SetUserChange(savedUserChange); });
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  if (p->GetMaxValue() <= p->GetMinValue()) return;
  Variant v;
  try {
    v = GetValue();
  } catch (const Exception&) {
    return;
  }
  if (v.AsDouble() < p->GetMinValue())
    SetValue(Variant(p->GetMinValue()));
  else if (v.AsDouble() > p->GetMaxValue())
    SetValue(Variant(p->GetMaxValue()));
}

void TcxCustomSpinEdit::PropertiesChanged(TObject* Sender)
{
  TcxCustomMaskEdit::PropertiesChanged(Sender);
  if (!IsDesigning() && GetEditModified()) ClampEditValue();
}

void TcxCustomSpinEdit::CutToClipboard()
{
  if (IsUserChange() && !GetSpinProperties()->GetCanEdit()) return;
  TcxCustomMaskEdit::CutToClipboard();
}

void TcxCustomSpinEdit::PasteFromClipboard()
{
  if (IsUserChange() && !GetSpinProperties()->GetCanEdit()) return;
  TcxCustomMaskEdit::PasteFromClipboard();
}

// ---- Steps and repeat --------------------------------------------------------------------------

double TcxCustomSpinEdit::GetIncrement(int ACode)
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  return cxSpinEditValue::GetIncrement(p->GetIncrement(), p->GetLargeIncrement(), p->GetValueType(), ACode);
}

bool TcxCustomSpinEdit::GetNewValue(int ACode, Variant& V)
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  Variant current;
  try {
    current = GetValue();
  } catch (const Exception&) {
    current = FLastValue;  // typed text that is no number steps from the last number
  }
  return cxSpinEditValue::GetNewValue(current, ACode, GetIncrement(ACode), p->GetValueType(), p->StepBounds(), V);
}

bool TcxCustomSpinEdit::DoStep(int ACode)
{
  LockChangeEvents(true, true);
  TScopeExit unlock([this] { LockChangeEvents(false, true); });
  Variant v;
  if (!GetNewValue(ACode, v) || !DoEditing()) return false;
  const AnsiString oldText = GetText();
  Variant display;
  PrepareDisplayValue(v, display, HasEditFocus());
  const int selStart = GetSelStart(), selLength = GetSelLength();
  FLastValue = v;
  {
    const bool savedUserChange = IsUserChange();
    SetUserChange(true);
    TScopeExit restore([this, savedUserChange] { SetUserChange(savedUserChange); });
    SetDisplayValue(display);
  }
  const AnsiString text = GetText();
  if (text == oldText) return false;
  SetEditModified(true);
  if (GetSpinProperties()->PreserveSelectionOnStep()) {
    SetSelStart(selStart);
    SetSelLength(selLength);
  } else {
    SetSelStart(int(text.size()));
    SetSelLength(0);
  }
  if (GetProperties()->GetImmediatePost() && CanPostEditValue() && ValidateEdit(true)) {
    PostEditValue(false);
    SynchronizeDisplayValue();
  }
  return true;
}

void TcxCustomSpinEdit::StartRepeat()
{
  if (GetProperties()->GetReadOnly()) return;
  FRepeatTimer = std::make_unique<TTimer>(nullptr);
  FRepeatTimer->SetInterval(400);
  FRepeatTimer->SetOnTimer([this](TObject* Sender) { RepeatTimerTick(Sender); });
}

void TcxCustomSpinEdit::RepeatTimerTick(TObject*)
{
  if (FRepeatTimer->GetInterval() == 400) FRepeatTimer->SetInterval(100);
  const int pressed = GetEditViewInfo()->PressedButton;
  if (pressed != -1) DoStep(pressed);
}

void TcxCustomSpinEdit::StopRepeat()
{
  SetKeyPressedButton(0);
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  for (int i = 0; i < std::min(vi->ButtonCount(), 2); ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    if (b->State != cxEditButtonPressed) continue;
    b->State = cxEditButtonNormal;
    ShortRefreshContainer(false);
    if (HandleAllocated()) Windows::InvalidateRect(GetHandle(), &b->Bounds, FALSE);
  }
  FRepeatTimer.reset();
  if (HandleAllocated() && Windows::GetCapture() == GetHandle()) Windows::ReleaseCapture();
}

void TcxCustomSpinEdit::SetKeyPressedButton(int AState)
{
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (vi->ButtonCount() == 0 || AState == FKeyPressedState) return;
  FKeyPressedState = AState;
  ShortRefreshContainer(false);
  if (!HandleAllocated()) return;
  for (int i = 0; i < vi->ButtonCount(); ++i) Windows::InvalidateRect(GetHandle(), &vi->Button(i)->Bounds, FALSE);
}

void TcxCustomSpinEdit::RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift)
{
  TcxCustomMaskEdit::RefreshView(P, Button, IsMouseEvent, Shift);
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (vi->ButtonCount() > 0 && vi->PressedButton == -1 && GetPressedButtonIndex() == -1 && FRepeatTimer) StopRepeat();
}

// ---- Keys and mouse ----------------------------------------------------------------------------

void TcxCustomSpinEdit::DoButtonDown(int AIndex)
{
  TcxCustomMaskEdit::DoButtonDown(AIndex);
  // Coming back onto the held button resumes the repeat already running.
  if (FKeyPressedState != 0 || FRepeatTimer) return;
  const int pressed = GetEditViewInfo()->PressedButton;
  if (pressed == -1) return;
  DoStep(pressed);
  StartRepeat();
}

void TcxCustomSpinEdit::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  FKeyDown = false;
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  const bool spinKey = Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT;
  if (spinKey && (!p->GetUseCtrlIncrement() || Shift.Contains(ssCtrl))) {
    if (!DoEditing()) return;
    const int code = Key == VK_UP ? scUp : Key == VK_DOWN ? scDown : Key == VK_PRIOR ? scFastUp : scFastDown;
    SetKeyPressedButton(code + 1);
    if (HandleAllocated() && Windows::GetCapture() == GetHandle()) Windows::ReleaseCapture();
    DoStep(code);
    Key = 0;
    return;
  }
  StopRepeat();
  FKeyDown = Key != VK_ESCAPE;
  if (!p->GetCanEdit() && CanKeyDownModifyEdit(Key, Shift)) {
    if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
    Key = 0;
  }
  if (Key != 0) TcxCustomMaskEdit::DoEditKeyDown(Key, Shift);
}

void TcxCustomSpinEdit::DoEditKeyPress(char& Key)
{
  if (Key == ',' || Key == '.') Key = SysUtils::DecimalSeparator;
  const unsigned char k = static_cast<unsigned char>(Key);
  if ((k == 8 || k >= 32) && !IsValidChar(Key)) {
    Key = 0;
    if (GetProperties()->GetBeepOnError()) Windows::MessageBeep(0);
  }
  // A character counts as typing also without its key (IME input has none).
  if (Key != 0 && Key != 27) FKeyDown = true;
  if (Key != 0) TcxCustomMaskEdit::DoEditKeyPress(Key);
}

void TcxCustomSpinEdit::DoEditKeyUp(Word& Key, TShiftState Shift)
{
  FKeyDown = false;
  TcxCustomMaskEdit::DoEditKeyUp(Key, Shift);
  if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) StopRepeat();
}

bool TcxCustomSpinEdit::IsValidChar(char AChar)
{
  TcxCustomSpinEditProperties* p = GetSpinProperties();
  const unsigned char c = static_cast<unsigned char>(AChar);
  bool valid = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E' || c < 32 ||
               (AChar == SysUtils::DecimalSeparator && p->GetValueType() == vtFloat) || p->GetValidChars()[c];
  if (valid && !p->GetCanEdit() && (c == 8 || c >= 32)) valid = false;
  return valid;
}

void TcxCustomSpinEdit::DblClick()
{
  TcxCustomMaskEdit::DblClick();
  POINT pt;
  Windows::GetCursorPos(&pt);
  if (!GetEditViewInfo()->PtInButtons(ScreenToClient(pt))) StopRepeat();
}

void TcxCustomSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxCustomMaskEdit::MouseUp(Button, Shift, X, Y);
  StopRepeat();
}

void TcxCustomSpinEdit::FocusChanged()
{
  TcxCustomMaskEdit::FocusChanged();
  StopRepeat();
}

bool TcxCustomSpinEdit::DoMouseWheelDown(TShiftState Shift, POINT)
{
  if (IsInplace() && !GetProperties()->GetMouseWheelInplace() && !Shift.Contains(ssCtrl)) return false;
  DoStep(scDown);
  return true;
}

bool TcxCustomSpinEdit::DoMouseWheelUp(TShiftState Shift, POINT)
{
  if (IsInplace() && !GetProperties()->GetMouseWheelInplace() && !Shift.Contains(ssCtrl)) return false;
  DoStep(scUp);
  return true;
}

// ---- Published lists ---------------------------------------------------------------------------

void TcxSpinEditButtons::Published(TPublisher<ThisClass>& p)
{
  p.Property("Position", &ThisClass::GetPosition, &ThisClass::SetPosition).Default(sbpVert);
  p.Property("ShowFastButtons", &ThisClass::GetShowFastButtons, &ThisClass::SetShowFastButtons).Default(false);
}

void TcxSpinEditProperties::Published(TPublisher<ThisClass>& p)
{
  p.Property("CanEdit", &ThisClass::GetCanEdit, &ThisClass::SetCanEdit).Default(true);
  p.Property("Increment", &ThisClass::GetIncrement, &ThisClass::SetIncrement).StoredWhen(p.When([](const ThisClass* x) {
    return x->GetIncrement() != 1.0;
  }));
  p.Property("LargeIncrement", &ThisClass::GetLargeIncrement, &ThisClass::SetLargeIncrement)
      .StoredWhen(p.When([](const ThisClass* x) { return x->GetLargeIncrement() != 10.0; }));
  p.Property("MaxValue", &ThisClass::GetMaxValue, &ThisClass::SetMaxValue).StoredWhen(p.When([](const ThisClass* x) {
    return x->IsMaxValueStored();
  }));
  p.Property("MinValue", &ThisClass::GetMinValue, &ThisClass::SetMinValue).StoredWhen(p.When([](const ThisClass* x) {
    return x->IsMinValueStored();
  }));
  p.Property("SpinButtons", &ThisClass::GetSpinButtons, &ThisClass::SetSpinButtons);
  p.Property("UseCtrlIncrement", &ThisClass::GetUseCtrlIncrement, &ThisClass::SetUseCtrlIncrement).Default(false);
  p.Property("ValueType", &ThisClass::GetValueType, &ThisClass::SetValueType).StoredWhen(p.When([](const ThisClass* x) {
    return x->IsValueTypeStored();
  }));
  p.Property("EchoMode", &ThisClass::GetEchoMode, &ThisClass::SetEchoMode).Default(eemNormal);
  p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
}

void TcxSpinEdit::Published(TPublisher<ThisClass>& p)
{
  p.Property("Properties", &ThisClass::GetActiveProperties, &ThisClass::SetProperties);
  p.Property("Value", &ThisClass::GetValue, &ThisClass::SetValue).StoredWhen(p.When([](const ThisClass* x) {
    return !cxVariants::VarEqualsBooleanAsText(const_cast<ThisClass*>(x)->GetValue(), Variant(0));
  }));
}
