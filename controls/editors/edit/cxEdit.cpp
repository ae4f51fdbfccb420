// Sections: life -> parts (properties, style, repository item) -> change events -> value
// protocol -> focus -> view refresh and auto size -> unit routines. Keys, mouse, buttons and
// in-place activation are in cxEditInput.cpp.
#include "controls/editors/edit/cxEdit.h"

#include <algorithm>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/edit/cxEditRepository.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/cxControls.h"
#include "controls/framework/cxGraphics.h"
#include "platform/classes/Reader.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/rtl/Guards.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

// Set by CreateInplace for the constructor it calls.
bool GNextIsInplace = false;

}  // namespace

// ---- Life

TcxCustomEdit::TcxCustomEdit(TComponent* AOwner) : TcxContainer(AOwner), FIsInplace(GNextIsInplace)
{
  GNextIsInplace = false;
  ControlStyle.Include(csCaptureMouse);
  ControlStyle.Include(csSetCaption);
  SetTabStop(true);
  FAutoSize = !FIsInplace;
  FEditValue = Variant::Null();
  FRepositoryListener = std::make_unique<TcxEditRepositoryItemListenerEditHelper>(this);
  FDblClickTimer = std::make_unique<TTimer>(nullptr);
  FDblClickTimer->SetEnabled(false);
  FDblClickTimer->SetInterval(Windows::GetDoubleClickTime());
  FDblClickTimer->SetOnTimer([this](TObject*) { FDblClickTimer->SetEnabled(false); });
  if (FIsInplace) {
    TcxControlKeys keys = GetKeys();
    keys.Include(kAll);
    keys.Include(kArrows);
    SetWantedKeys(keys);
  }
}

TcxCustomEdit* TcxCustomEdit::CreateInplace(TClass AClass, TComponent* AOwner, bool AIsInplace)
{
  GNextIsInplace = AIsInplace;
  TScopeExit Reset([] { GNextIsInplace = false; });
  auto* edit = static_cast<TcxCustomEdit*>(AClass->Create(AOwner));
  edit->EnsureParts();
  return edit;
}

void TcxCustomEdit::EnsureParts()
{
  if (FPartsMade) return;
  FPartsMade = true;
  FProperties.reset(static_cast<TcxCustomEditProperties*>(GetPropertiesClass()->Create(this)));
  FDataBinding.reset(static_cast<TcxEditDataBinding*>(GetDataBindingClass()->Create(this)));
  if (IcxCustomInnerEdit* inner = CreateInnerEdit()) {
    FInnerEdit = inner;
    FInnerControl = inner->GetControl();
    InitializeInnerEdit();
  }
  FProperties->OnPropertiesChanged = [this](TObject* Sender) { PropertiesChanged(Sender); };
  if (FIsInplace && !GetInnerEditClass()) {
    TcxControlKeys keys = GetKeys();
    keys.Include(kTab);
    SetWantedKeys(keys);
  }
  FConstructing = false;
  if (!FIsInplace) {
    FProperties->SetDefaultValuesProvider(FDataBinding->GetDefaultValuesProvider());
    FDataBinding->DefaultValuesChanged();
  }
  PropertiesChanged(FProperties.get());
  FDataBinding->UpdateDisplayValue();
}

TcxCustomEditProperties* TcxCustomEdit::GetOwnProperties()
{
  EnsureParts();
  return FProperties.get();
}

TcxEditDataBinding* TcxCustomEdit::GetDataBinding()
{
  EnsureParts();
  return FDataBinding.get();
}

IcxCustomInnerEdit* TcxCustomEdit::GetInnerEdit()
{
  EnsureParts();
  return FInnerEdit;
}

void TcxCustomEdit::SetParent(TWinControl* AParent)
{
  EnsureParts();
  TcxContainer::SetParent(AParent);
}

TcxCustomEdit::~TcxCustomEdit()
{
  Destroying();
  FDblClickTimer.reset();
  if (FRepositoryItem) FRepositoryItem->RemoveListener(FRepositoryListener.get());
  FRepositoryItem = nullptr;
  FRepositoryListener.reset();
  if (FInnerHooked) UnhookInnerEditWindowProc();
  FInnerEdit = nullptr;
  if (FInnerControl) {
    TWinControl* inner = FInnerControl;
    FInnerControl = nullptr;
    SetInnerControl(nullptr);
    delete inner;
  }
  if (FProperties) {
    FProperties->OnPropertiesChanged = nullptr;
    if (!FIsInplace) FProperties->SetDefaultValuesProvider(nullptr);
  }
  FDataBinding.reset();
  FProperties.reset();
}

// ---- Parts

TClass TcxCustomEdit::GetPropertiesClass() const { return TcxCustomEditProperties::StaticClass(); }
TClass TcxCustomEdit::GetDataBindingClass() const { return TcxEditDataBinding::StaticClass(); }

TcxCustomEditProperties* TcxCustomEdit::GetProperties()
{
  EnsureParts();
  const TComponentState s = GetComponentState();
  if (FRepositoryItem && !s.Contains(csReading) && !s.Contains(csWriting)) return FRepositoryItem->GetProperties();
  return FProperties.get();
}

void TcxCustomEdit::SetProperties(TcxCustomEditProperties* Value) { GetOwnProperties()->Assign(Value); }

std::unique_ptr<TcxContainerStyle> TcxCustomEdit::CreateStyle()
{
  TClass c = FPartsMade ? FProperties->GetStyleClass() : TcxEditStyle::StaticClass();
  if (c == TcxCustomEditStyle::StaticClass()) c = TcxEditStyle::StaticClass();
  return std::unique_ptr<TcxContainerStyle>(static_cast<TcxCustomEditStyle*>(c->Create(this)));
}

TcxCustomEditStyle* TcxCustomEdit::GetEditStyle() { return static_cast<TcxCustomEditStyle*>(GetStyle()); }

void TcxCustomEdit::SetEditStyle(TcxCustomEditStyle* Value) { GetStyle()->Assign(Value); }

std::unique_ptr<TcxContainerViewInfo> TcxCustomEdit::CreateViewInfo()
{
  if (!FPartsMade) return std::make_unique<TcxCustomEditViewInfo>();
  return std::unique_ptr<TcxContainerViewInfo>(GetProperties()->CreateViewInfo());
}

TcxCustomEditViewInfo* TcxCustomEdit::GetEditViewInfo() { return static_cast<TcxCustomEditViewInfo*>(GetViewInfo()); }

TcxContainerStyleValues TcxCustomEdit::GetNotStoredStyleValues()
{
  return TcxContainerStyleValues::FromMask((1u << svButtonStyle) | (1u << svButtonTransparency) |
                                           (1u << svPopupBorderStyle));
}

bool TcxCustomEdit::IsRepositoryItemAcceptable(TcxEditRepositoryItem* AItem)
{
  return !AItem || AItem->GetProperties()->ClassType()->InheritsFrom(GetPropertiesClass());
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* Value)
{
  EnsureParts();
  if (Value == FRepositoryItem) return;
  if (!IsRepositoryItemAcceptable(Value))
    throw Exception(cxResourceStrings::GetResourceString(cxEditConsts::sRepositoryItemNotAcceptable));
  RepositoryItemAssigning();
  if (FRepositoryItem) {
    FRepositoryItem->RemoveListener(FRepositoryListener.get());
    FRepositoryItem->RemoveFreeNotification(this);
  }
  FRepositoryItem = Value;
  if (Value) {
    Value->AddListener(FRepositoryListener.get());
    Value->FreeNotification(this);
    PropertiesChanged(Value->GetProperties());
    FProperties->OnPropertiesChanged = nullptr;
  } else {
    RepositoryItemRemoved(nullptr);
  }
  RepositoryItemAssigned();
}

void TcxCustomEdit::RepositoryItemRemoved(TcxEditRepositoryItem* AItem)
{
  if (AItem) {
    AItem->RemoveListener(FRepositoryListener.get());
    AItem->RemoveFreeNotification(this);
  }
  FRepositoryItem = nullptr;
  const TComponentState s = GetComponentState();
  if (s.Contains(csLoading) || s.Contains(csDestroying)) return;
  // The own properties speak for the editor again, and it shows them at once.
  EnsureParts();
  FProperties->OnPropertiesChanged = [this](TObject* Sender) { PropertiesChanged(Sender); };
  if (!FIsInplace) FProperties->SetDefaultValuesProvider(FDataBinding->GetDefaultValuesProvider());
  PropertiesChanged(FProperties.get());
}

void TcxCustomEdit::Notification(TComponent* AComponent, TOperation Operation)
{
  TcxContainer::Notification(AComponent, Operation);
  if (Operation == opRemove && FRepositoryItem && AComponent == FRepositoryItem) SetRepositoryItem(nullptr);
}

void TcxCustomEdit::ReadState(TReader* Reader)
{
  EnsureParts();
  FProperties->OnPropertiesChanged = nullptr;
  TcxContainer::ReadState(Reader);
}

void TcxCustomEdit::Loaded()
{
  EnsureParts();
  TcxContainer::Loaded();
  if (!FIsInplace) GetDataBinding()->DefaultValuesChanged();
  AdjustInnerControl();
  if (!FRepositoryItem) FProperties->OnPropertiesChanged = [this](TObject* Sender) { PropertiesChanged(Sender); };
  PropertiesChanged(GetProperties());
  GetEditViewInfo()->NativeStyle = false;
  StyleChanged();
}

void TcxCustomEdit::PropertiesChanged(TObject*)
{
  FValidated = false;
  if (!IsInnerEditMissing() && FInnerEdit) FInnerEdit->SetReadOnly(GetProperties()->GetReadOnly());
  ShortRefreshContainer(false);
}

bool TcxCustomEdit::IsInnerEditMissing()
{
  if (GetComponentState().Contains(csDestroying) || IsContainerDestroying()) return true;
  return GetInnerEditClass() && !FInnerEdit;
}

IcxCustomInnerEdit* TcxCustomEdit::CreateInnerEdit()
{
  TClass c = GetInnerEditClass();
  if (!c) return nullptr;
  TObject* o = c->Create(this);
  auto* inner = dynamic_cast<IcxCustomInnerEdit*>(o);
  if (!inner) {
    delete o;
    return nullptr;
  }
  return inner;
}

void TcxCustomEdit::InitializeInnerEdit()
{
  FInnerEdit->SetParent(this);
  FInnerEdit->SetOnChange([this](TObject* Sender) { ChangeHandler(Sender); });
  SetInnerControl(FInnerEdit->GetControl());
  FInnerEdit->GetControl()->SetParentShowHint(false);
}

void TcxCustomEdit::ChangeHandler(TObject*)
{
  if (Focused()) SetEditModified(true);
  DoChange();
}

// ---- Change events

void TcxCustomEdit::DoChange()
{
  const TComponentState s = GetComponentState();
  if (s.Contains(csLoading) || s.Contains(csDestroying)) return;
  TcxCustomEditProperties* p = GetProperties();
  if (FChangeEventsLockCount > 0) {
    FChangeEventPending = true;
  } else if (p->OnChange) {
    if (FIsInplace) {
      SaveModified();
      TScopeExit Restore([this] { RestoreModified(); });
      FModifiedAfterEnter = FEditModified = true;
      p->OnChange(this);
    } else {
      p->OnChange(this);
    }
  }
  if (!p->HasOwnChangeEvent() && !p->CanCompareEditValue()) DoEditValueChanged();
}

void TcxCustomEdit::DoEditValueChanged()
{
  const TComponentState s = GetComponentState();
  if (s.Contains(csLoading) || s.Contains(csDestroying)) return;
  TcxCustomEditProperties* p = GetProperties();
  if (!p->OnEditValueChanged) return;
  if (FChangeEventsLockCount > 0) {
    FEditValueChangedPending = true;
    return;
  }
  if (FIsInplace) {
    SaveModified();
    TScopeExit Restore([this] { RestoreModified(); });
    FModifiedAfterEnter = FEditModified = true;
    p->OnEditValueChanged(this);
  } else {
    p->OnEditValueChanged(this);
  }
}

void TcxCustomEdit::LockChangeEvents(bool ALock, bool AInvokeChanges)
{
  if (ALock) {
    if (FChangeEventsLockCount == 0) FChangeEventPending = FEditValueChangedPending = false;
    ++FChangeEventsLockCount;
    return;
  }
  if (FChangeEventsLockCount == 0) return;
  if (--FChangeEventsLockCount > 0 || !AInvokeChanges) return;
  const TComponentState s = GetComponentState();
  if (s.Contains(csLoading) || s.Contains(csDestroying)) return;
  const bool change = FChangeEventPending, valueChanged = FEditValueChangedPending;
  FChangeEventPending = FEditValueChangedPending = false;
  if (change) DoChange();
  if (valueChanged) DoEditValueChanged();
}

void TcxCustomEdit::SaveModified() { FSavedModified.emplace_back(FModifiedAfterEnter, FEditModified); }

void TcxCustomEdit::RestoreModified()
{
  if (FSavedModified.empty()) return;
  FModifiedAfterEnter = FSavedModified.back().first;
  FEditModified = FSavedModified.back().second;
  FSavedModified.pop_back();
}

// ---- Value protocol

void TcxCustomEdit::SetEditModified(bool Value)
{
  FEditModified = Value;
  if (Value) {
    FModifiedAfterEnter = true;
    FValidated = false;
  }
}

void TcxCustomEdit::SetModifiedSinceEnter(bool Value)
{
  FModifiedAfterEnter = Value;
  if (!Value) FEditModified = false;
}

bool TcxCustomEdit::DoEditing()
{
  if (!IsEditingPossible()) return false;
  if (FEditModified) return true;
  TCountGuard editing(FEditingLockCount);
  bool r = CanModify();
  if (r && OnEditing) OnEditing(this, r);
  if (r && !FIsInplace) r = GetDataBinding()->CanEdit();
  return r;
}

bool TcxCustomEdit::CanModify()
{
  TcxCustomEditProperties* p = GetProperties();
  if (FIsInplace) return p->CanModify();
  const bool assigned = p->GetAssignedValues()->ReadOnly;
  if (assigned && !p->GetReadOnly()) return true;
  if (assigned) return false;
  IcxEditDefaultValuesProvider* provider = GetDataBinding()->GetDefaultValuesProvider();
  return (!provider || provider->CanModify()) && GetDataBinding()->CanModify();
}

void TcxCustomEdit::SetEditValue(const Variant& Value)
{
  if (FEditingLockCount > 0) return;
  TCountGuard click(FClickLockCount);
  // InternalSetEditValue asks DoEditing for a user change; asking here too would ask twice.
  InternalSetEditValue(Value, true);
}

void TcxCustomEdit::SetEditValueChecked(const Variant& Value)
{
  if (FEditingLockCount > 0) return;
  InternalSetEditValue(Value, true);
}

void TcxCustomEdit::InternalSetEditValue(const Variant& Value, bool)
{
  if (FUserChange && !DoEditing()) return;
  TcxCustomEditProperties* p = GetProperties();
  const bool changed = p->CanCompareEditValue() && !cxEdit::VarEqualsExact(FEditValue, Value);
  FEditValue = Value;
  SynchronizeDisplayValue();
  if (FUserChange)
    SetEditModified(true);
  else
    SetModifiedSinceEnter(false);
  if (changed) {
    DoEditValueChanged();
    if (!p->HasOwnChangeEvent()) DoChange();
  }
}

void TcxCustomEdit::Clear() { SetEditValue(Variant::Null()); }

void TcxCustomEdit::ApplyDisplayValue(const Variant& ADisplayValue)
{
  SaveModified();
  TScopeExit Restore([this] { RestoreModified(); });
  SetInternalDisplayValue(ADisplayValue);
}

void TcxCustomEdit::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused)
{
  GetProperties()->PrepareDisplayValue(AEditValue, DisplayValue, AEditFocused);
}

AnsiString TcxCustomEdit::GetDisplayValueText()
{
  Variant v;
  GetDisplayValue(v);
  return Variants::VarToStr(v);
}

bool TcxCustomEdit::ValidateEdit(bool ARaiseException)
{
  if (!FEditModified || FValidated) return true;
  Variant display(GetDisplayValueText());
  bool error = false;
  AnsiString errorText;
  TcxCustomEditProperties* p = GetProperties();
  if (p->CanValidate()) p->ValidateDisplayValue(display, errorText, error, this);
  if (error) {
    // The editor shows what the handler left, whether the error is raised or not.
    TScopeExit ShowText([this, display] {
      if (Variants::VarToStr(display) != GetDisplayValueText()) {
        SetDisplayValue(display);
        if (GetVisible()) SelectAll();
        if (!HasInnerEditRect()) UpdateDrawValue();
      }
    });
    if (ARaiseException) {
      HandleValidationError(errorText);
      Controls::ProcessMessages();
    }
    return false;
  }
  if (!FUserChange || DoEditing()) {
    ApplyDisplayValue(display);
    if (!FIsInplace && !Focused()) SetEditModified(false);
    FValidated = true;
  }
  return true;
}

bool TcxCustomEdit::CanPostEditValue() { return GetDataBinding()->Modified() && !IsDesigning(); }

void TcxCustomEdit::PostEditValue(bool AValidate)
{
  if (AValidate) {
    TValueGuard noUser(FUserChange, false);
    if (!ValidateEdit(true)) return;
  }
  BeginPost();
  TScopeExit End([this] { EndPost(); });
  if (FIsInplace) {
    if (OnPost) OnPost(this);
    SetModifiedSinceEnter(false);
    return;
  }
  try {
    GetDataBinding()->UpdateData(GetEditValue());
  } catch (EAbort&) {
    throw;
  } catch (...) {
    try {
      HandleValidationError(AnsiString());
    } catch (...) {}
    throw;
  }
}

void TcxCustomEdit::RestoreEditValue()
{
  if (!FEditModified || !GetProperties()->CanResetEditValue()) return;
  LockChangeEvents(true);
  TScopeExit Unlock([this] { LockChangeEvents(false, true); });
  FEditModified = false;
  SetEditValueChecked(FValueAtEnter);
  SetModifiedSinceEnter(true);
  SelectAll();
  if (GetProperties()->GetImmediatePost() && CanPostEditValue()) PostEditValue(false);
}

bool TcxCustomEdit::Deactivate()
{
  if (!ValidateEdit(true)) return false;
  SynchronizeDisplayValue();
  FValidated = true;
  return true;
}

// ---- Focus

void TcxCustomEdit::FocusSelf()
{
  TValueGuard self(FFocusingItself, true);
  if (FInnerControl && FInnerControl->CanFocus())
    FInnerControl->SetFocus();
  else if (CanFocus())
    TcxContainer::SetFocus();
}

void TcxCustomEdit::FocusInnerControl()
{
  if (FInnerEdit) FInnerEdit->SafelySetFocus();
}

void TcxCustomEdit::DoEnter()
{
  if (GetComponentState().Contains(csDestroying) || IsContainerDestroying()) return;
  if (!FFocusingItself) {
    SaveModified();
    {
      TScopeExit Restore([this] { RestoreModified(); });
      TcxContainer::DoEnter();
      if (CanSynchronizeOnFocus()) GetDataBinding()->UpdateDisplayValue();
      if (GetProperties()->CanResetEditValue()) FValueAtEnter = FEditValue;
      if (CanSynchronizeOnFocus()) SynchronizeDisplayValue();
    }
    FEditModified = false;
  }
  ShortRefreshContainer(false);
}

void TcxCustomEdit::DoExit() { FocusExit(true); }

void TcxCustomEdit::FocusExit(bool AInvokeExit)
{
  if (GetComponentState().Contains(csDestroying) || IsContainerDestroying() || FFocusingItself) return;
  TValueGuard noUser(FUserChange, false);
  SaveModified();
  bool restored = false;
  TScopeExit Restore([this, &restored] {
    if (!restored) RestoreModified();
  });
  if (FEditModified) {
    // Asked before validating: a successful validation of an editor that has lost the focus
    // already clears the modified flag the question reads.
    const bool post = !FIsInplace && CanPostEditValue();
    bool ok;
    {
      LockChangeEvents(true);
      TScopeExit Unlock([this] { LockChangeEvents(false, true); });
      ok = ValidateEdit(true);
    }
    if (!ok) return;
    if (post) PostEditValue(false);
  }
  if (CanSynchronizeOnFocus()) GetDataBinding()->UpdateDisplayValue();
  UpdateDrawValue();
  ShortRefreshContainer(false);
  restored = true;
  RestoreModified();
  if (AInvokeExit) TcxContainer::DoExit();
  SetEditModified(false);
}

void TcxCustomEdit::FocusChanged()
{
  if (GetComponentState().Contains(csDestroying) || IsContainerDestroying() || FFocusingItself) return;
  const bool focused = Focused() && Forms::Application && Forms::Application->GetActive();
  if (focused == FFocusedState) return;
  FFocusedState = focused;
  TcxContainer::FocusChanged();
  UpdateDrawValue();
  TCustomForm* form = GetParentForm();
  if (form && form->GetFormState().Contains(fsModal) && !form->GetVisible() && form->GetModalResult() != 0 &&
      form->GetModalResult() != 2)
    ValidateEdit(false);
}

bool TcxCustomEdit::IsActiveControl()
{
  if (Focused()) return true;
  TCustomForm* form = GetParentForm();
  if (!form) return false;
  TWinControl* active = form->GetActiveControl();
  return active && (active == this || active == FInnerControl);
}

// ---- View refresh and auto size

void TcxCustomEdit::ShortRefreshContainer(bool AIsMouseEvent)
{
  if (!HandleAllocated() || IsContainerDestroying() || FConstructing) return;
  POINT p;
  Windows::GetCursorPos(&p);
  RefreshView(ScreenToClient(p), 0, AIsMouseEvent, cxContainer::GetShiftState());
}

TcxCustomEditViewData* TcxCustomEdit::CreateViewData()
{
  TcxCustomEditViewData* vd = GetProperties()->CreateViewData(GetEditStyle(), FIsInplace);
  vd->Edit = IsInnerEditMissing() ? nullptr : this;
  vd->WindowHandle = HandleAllocated() ? GetHandle() : 0;
  return vd;
}

void TcxCustomEdit::InitializeViewData(TcxCustomEditViewData* AViewData)
{
  AViewData->Enabled = GetEnabled();
  AViewData->Focused = Focused();
  AViewData->HScrollBarVisible = IsHScrollBarVisible() && HasOwnScrollBars();
  AViewData->VScrollBarVisible = IsVScrollBarVisible() && HasOwnScrollBars();
  AViewData->InnerEdit = FInnerEdit;
  AViewData->IsDesigning = IsDesigning();
}

void TcxCustomEdit::RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift)
{
  if (!HandleAllocated() || IsContainerDestroying() || FConstructing) return;
  if (FPressedButton >= 0 && Windows::GetCapture() != GetHandle()) FPressedButton = -1;
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  std::unique_ptr<TcxCustomEditViewInfo> old(vi->Clone());
  std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData());
  InitializeViewData(vd.get());
  vd->Calculate(GetCanvas(), cxContainer::GetControlRect(this), P, Button, Shift, vi, IsMouseEvent);
  const RECT inner = HasInnerEditRect() ? vi->InnerEditRect : RECT{0, 0, 0, 0};
  if (!vi->Repaint(this, old.get(), inner)) return;
  AdjustInnerControl();
  if (HandleAllocated()) {
    TValueGuard painting(FPaintingLock, true);
    cxEditUtils::UpdateEditWindowRegion(*vi, GetHandle());
  }
  ProcessButtonChanges(old.get(), IsMouseEvent);
}

void TcxCustomEdit::WndProc(TMessage& Message)
{
  if (Message.Msg == WM_NCCALCSIZE && FPaintingLock) {
    Message.Result = 0;
    return;
  }
  switch (Message.Msg) {
    case WM_CUT: HandleWMCut(Message); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: HandleWMPaste(Message); return;
    default: break;
  }
  TcxContainer::WndProc(Message);
}

void TcxCustomEdit::HandleWMCut(TMessage&)
{
  TValueGuard user(FUserChange, true);
  if (GetProperties()->GetReadOnly())
    CopyToClipboard();
  else
    CutToClipboard();
}

void TcxCustomEdit::HandleWMPaste(TMessage&)
{
  if (GetProperties()->GetReadOnly()) return;
  TValueGuard user(FUserChange, true);
  PasteFromClipboard();
}

void TcxCustomEdit::CreateHandle()
{
  EnsureParts();
  TcxContainer::CreateHandle();
  if (FInnerEdit && Focused()) FInnerEdit->SafelySetFocus();
}

void TcxCustomEdit::Paint()
{
  TcxCanvas* canvas = GetCanvas();
  const int saved = canvas->SaveState();
  TScopeExit Restore([canvas, saved] { canvas->RestoreState(saved); });
  GetEditViewInfo()->Paint(canvas);
}

RECT TcxCustomEdit::GetMouseAreaBounds()
{
  RECT r;
  cxEditUtils::GetMouseArea(*GetEditViewInfo(), cxContainer::GetControlRect(this), r);
  return r;
}

TcxEditSizeProperties TcxCustomEdit::GetEditSizeProperties()
{
  TcxEditSizeProperties p;
  p.MaxLineCount = 1;
  p.Width = GetWidth();
  return p;
}

bool TcxCustomEdit::CanResize(int& NewWidth, int& NewHeight)
{
  const bool r = TcxContainer::CanResize(NewWidth, NewHeight);
  if (r && FAutoSize && CanAutoSize() && !GetComponentState().Contains(csLoading) && !FConstructing) {
    std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData());
    InitializeViewData(vd.get());
    TcxEditSizeProperties limits = GetEditSizeProperties();
    limits.Width = NewWidth;
    SIZE size{0, 0};
    vd->CalculateEditSize(GetActiveCanvas(), GetEditValue(), limits, size);
    NewHeight = size.cy;
  }
  return r;
}

void TcxCustomEdit::AdjustInnerControl()
{
  if (!HandleAllocated() || IsContainerDestroying() || FConstructing) return;
  std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData());
  InitializeViewData(vd.get());
  TcxEditSizeProperties limits = GetEditSizeProperties();
  SIZE size{0, 0};
  vd->CalculateEditSize(GetActiveCanvas(), GetEditValue(), limits, size);
  if (FAutoSize && CanAutoSize()) {
    const int w = CanAutoWidth() ? size.cx : GetWidth();
    if (w != GetWidth() || size.cy != GetHeight()) SetBounds(GetLeft(), GetTop(), w, size.cy);
  }
  if (FInnerEdit) AdjustInnerEditPosition();
}

void TcxCustomEdit::AdjustInnerEditPosition()
{
  if (!FInnerControl) return;
  const RECT& r = GetEditViewInfo()->ClientRect;
  const RECT now = FInnerControl->GetBoundsRect();
  if (now.left == r.left && now.top == r.top && now.right == r.right && now.bottom == r.bottom) return;
  FInnerEdit->LockBounds(true);
  TScopeExit Unlock([this] { FInnerEdit->LockBounds(false); });
  FInnerControl->SetBounds(r.left, r.top, std::max(0L, long(r.right - r.left)), std::max(0L, long(r.bottom - r.top)));
}

void TcxCustomEdit::SetAutoSize(bool Value)
{
  if (FIsInplace || Value == FAutoSize) return;
  FAutoSize = Value;
  if (Value) {
    AdjustInnerControl();
    ShortRefreshContainer(false);
  }
}

void TcxCustomEdit::CMShowingChanged(TMessage& Message)
{
  TcxContainer::CMShowingChanged(Message);
  if (GetVisible()) AdjustInnerControl();
}

// ---- Unit routines

void cxEdit::SendKeyDown(TWinControl* AControl, Word AKey)
{
  Windows::SendMessage(AControl->GetHandle(), WM_KEYDOWN, AKey, 0);
}

void cxEdit::SendChar(TWinControl* AControl, char AChar)
{
  Windows::SendMessage(AControl->GetHandle(), WM_CHAR, static_cast<unsigned char>(AChar), 0);
}

WPARAM cxEdit::ShiftStateToMouseKeys(TShiftState Shift)
{
  WPARAM r = 0;
  if (Shift.Contains(ssShift)) r |= MK_SHIFT;
  if (Shift.Contains(ssCtrl)) r |= MK_CONTROL;
  if (Shift.Contains(ssLeft)) r |= MK_LBUTTON;
  if (Shift.Contains(ssRight)) r |= MK_RBUTTON;
  if (Shift.Contains(ssMiddle)) r |= MK_MBUTTON;
  return r;
}

TShiftState cxEdit::ButtonToShift(TMouseButton Button)
{
  switch (Button) {
    case mbLeft: return TShiftState{ssLeft};
    case mbRight: return TShiftState{ssRight};
    default: return TShiftState{ssMiddle};
  }
}

TShiftState cxEdit::ButtonCodeToShift(int AButtonCode)
{
  switch (AButtonCode) {
    case 1: return TShiftState{ssLeft};
    case 2: return TShiftState{ssRight};
    case 3: return TShiftState{ssMiddle};
    default: return TShiftState{};
  }
}

PELTO_DEFINE_CLASS(TcxCustomEdit)
PELTO_PUBLISH(TcxCustomEdit, p)
{
  p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(true);
  p.Property("RepositoryItem", &ThisClass::GetRepositoryItem, &ThisClass::SetRepositoryItem);
  p.Property("EditValue", &ThisClass::GetEditValue, &ThisClass::SetEditValue).StoredWhen(p.When([](const ThisClass* e) {
    return e->IsEditValueStored();
  }));
  p.Property("Properties", &ThisClass::GetOwnProperties, &ThisClass::SetProperties);
  p.Property("Style", &ThisClass::GetEditStyle, &ThisClass::SetEditStyle);
}
