// TcxCustomEdit's keys, mouse, buttons, validation errors and in-place activation.
// Sections: keys -> mouse and buttons -> validation errors -> activation.
#include <algorithm>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/edit/cxEditRepository.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/menus/ShortCuts.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

// ---- Keys

bool TcxCustomEdit::IsClickKey(Word Key, TShiftState Shift)
{
  return GetEditViewInfo()->ButtonCount() > 0 && Menus::ShortCut(Key, Shift) == GetProperties()->GetClickKey();
}

bool TcxCustomEdit::IsValidChar(char AChar)
{
  IcxEditDefaultValuesProvider* p = GetProperties()->GetDefaultValuesProvider();
  return !p || p->IsValidChar(AChar);
}

void TcxCustomEdit::KeyDown(Word& Key, TShiftState Shift)
{
  FEscapeHandled = false;
  if (!IsClickKey(Key, Shift)) TcxContainer::KeyDown(Key, Shift);
  if (Key != 0) DoEditKeyDown(Key, Shift);
}

void TcxCustomEdit::KeyPress(char& Key)
{
  if (Key == 27 && FEscapeHandled) {
    Key = 0;
    FEscapeHandled = false;
    return;
  }
  TcxContainer::KeyPress(Key);
  if (Key != 0) DoEditKeyPress(Key);
}

void TcxCustomEdit::KeyUp(Word& Key, TShiftState Shift)
{
  TcxContainer::KeyUp(Key, Shift);
  if (Key != 0) DoEditKeyUp(Key, Shift);
}

void TcxCustomEdit::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  TcxCustomEditProperties* p = GetProperties();
  const TShortCut sc = Menus::ShortCut(Key, Shift);
  if (p->GetClearKey() != 0 && sc == p->GetClearKey()) {
    {
      TValueGuard user(FUserChange, true);
      SetEditValueChecked(Variant::Null());
    }
    FValidated = true;
    Key = 0;
  }
  if (Key != 0 && GetEditViewInfo()->ButtonCount() > 0 && sc == p->GetClickKey()) {
    // The character the key would make must not reach the inner control.
    if (HandleAllocated()) {
      MSG m;
      if (Windows::PeekMessage(&m, GetHandle(), WM_CHAR, WM_CHAR, PM_REMOVE) && m.message == WM_QUIT)
        Windows::PostQuitMessage(int(m.wParam));
      if (FInnerControl && FInnerControl->HandleAllocated())
        Windows::PeekMessage(&m, FInnerControl->GetHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    ClickDefaultButton();
    Key = 0;
  }
  if (Key == 0) return;
  if (!ValidateKeyDown(Key, Shift)) {
    if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
    Key = 0;
    return;
  }
  switch (Key) {
    case VK_TAB:
      if (Focused() && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) && !p->WantTabKey()) {
        if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
        if (Key == 0) return;
        Key = 0;
        if (FIsInplace || !HasOpenPopup()) {
          if (TCustomForm* form = GetParentForm()) form->SelectNext(this, !Shift.Contains(ssShift), true);
          if (HandleAllocated() && Windows::GetFocus() == GetHandle() && FInnerEdit) FInnerEdit->SafelySetFocus();
        }
        return;
      }
      break;
    case VK_RETURN:
      if (p->GetValidateOnEnter()) {
        Key = 0;
        LockChangeEvents(true);
        TScopeExit Unlock([this] { LockChangeEvents(false, true); });
        if (ValidateEdit(true) && CanPostEditValue()) PostEditValue(false);
        return;
      }
      break;
    case VK_ESCAPE:
      if (FEditModified) {
        RestoreEditValue();
        FEscapeHandled = true;
        Key = 0;
        return;
      }
      break;
    default: break;
  }
  if (WantNavigationKeys() || Key < VK_PRIOR || Key > VK_DOWN) return;
  if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
  Key = 0;
}

bool TcxCustomEdit::ValidateKeyDown(Word& Key, TShiftState Shift)
{
  return FEditModified || !CanKeyDownModifyEdit(Key, Shift) || DoEditing();
}

bool TcxCustomEdit::ValidateKeyPress(char& Key)
{
  const unsigned char c = static_cast<unsigned char>(Key);
  if (c < 32 || IsValidChar(Key)) {
    if (!FEditModified && CanKeyPressModifyEdit(Key) && !DoEditing()) Key = 0;
  } else {
    Key = 0;
  }
  return Key != 0;
}

// ---- Mouse and buttons

void TcxCustomEdit::ClickDefaultButton()
{
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  for (int i = 0; i < vi->ButtonCount(); ++i)
    if (vi->Button(i)->Default) {
      DoButtonClick(i);
      return;
    }
}

void TcxCustomEdit::DoButtonClick(int AButtonVisibleIndex)
{
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (AButtonVisibleIndex < 0 || AButtonVisibleIndex >= vi->ButtonCount()) return;
  const int index = vi->Button(AButtonVisibleIndex)->ButtonIndex;
  if (GetProperties()->OnButtonClick) GetProperties()->OnButtonClick(this, index);
}

void TcxCustomEdit::ProcessButtonChanges(TcxCustomEditViewInfo* AOld, bool)
{
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (AOld->PressedButton == vi->PressedButton && AOld->HotButton == vi->HotButton) return;
  if (AOld->PressedButton >= 0 && AOld->PressedButton != vi->PressedButton) {
    const int b = AOld->PressedButton;
    DoButtonUp(b);
    if (b == vi->HotButton) DoButtonClick(b);
  }
  if (vi->PressedButton >= 0 && AOld->PressedButton < 0) DoButtonDown(vi->PressedButton);
}

bool TcxCustomEdit::IsDoubleClickTimerRunning() const { return FDblClickTimer && FDblClickTimer->GetEnabled(); }

void TcxCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (Button == mbLeft && IsDoubleClickTimerRunning()) {
    FDblClickTimer->SetEnabled(false);
    if (!GetEditViewInfo()->PtInButtons(POINT{X, Y})) DblClick();
  }
  TcxContainer::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && HandleAllocated() && Windows::GetCapture() == GetHandle()) {
    TcxCustomEditViewInfo* vi = GetEditViewInfo();
    for (int i = 0; i < vi->ButtonCount(); ++i) {
      TcxEditButtonViewInfo* b = vi->Button(i);
      if (b->State == cxEditButtonPressed && Windows::PtInRect(&b->VisibleBounds, POINT{X, Y})) FPressedButton = i;
    }
  }
}

void TcxCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxContainer::MouseUp(Button, Shift, X, Y);
}

void TcxCustomEdit::DblClick()
{
  POINT p;
  Windows::GetCursorPos(&p);
  p = ScreenToClient(p);
  if (!GetEditViewInfo()->PtInButtons(p)) {
    TcxContainer::DblClick();
    return;
  }
  TShiftState shift = cxContainer::GetShiftState();
  shift.Include(ssLeft);
  MouseDown(mbLeft, shift, p.x, p.y);
  Click();
}

void TcxCustomEdit::Click()
{
  const TComponentState s = GetComponentState();
  if (s.Contains(csDestroying) || FClickLockCount > 0) return;
  if (s.Contains(csLoading) && !CanClickWhileLoading()) return;
  TcxContainer::Click();
}

void TcxCustomEdit::DoClick()
{
  SetEditModified(true);
  if (FClickLockCount == 0) Click();
}

void TcxCustomEdit::MouseTrackingLeave()
{
  TcxContainer::MouseTrackingLeave();
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  for (int i = 0; i < vi->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    if (b->State != cxEditButtonHot) continue;
    b->State = cxEditButtonNormal;
    if (HandleAllocated()) cxContainer::InvalidateControlRect(this, b->Bounds, false);
  }
  vi->HotButton = -1;
}

// ---- Validation errors

void TcxCustomEdit::HandleValidationError(const AnsiString& ErrorText)
{
  if (GetVisible() && !Focused()) FocusSelf();
  if (GetVisible()) SelectAll();
  if (GetProperties()->GetBeepOnError()) Windows::MessageBeep(0);
  if (!ErrorText.empty()) throw Exception(ErrorText);
}

// ---- Activation

void TcxCustomEdit::Activate(TcxCustomEditData*& AEditData)
{
  if (!AEditData && GetEditDataClass()) AEditData = static_cast<TcxCustomEditData*>(GetEditDataClass()->Create(this));
  FEditData = AEditData;
  if (FEditData && FEditData->Cleared) {
    ResetEditData();
    FEditData->Cleared = false;
  }
  SetVisible(true);
  if (HandleAllocated() && CanFocus()) {
    SetFocus();
    if (GetProperties()->GetAutoSelect()) SelectAll();
  }
  SynchronizeDisplayValue();
  SetModifiedSinceEnter(false);
}

void TcxCustomEdit::ActivateByKey(char Key, TcxCustomEditData*& AEditData)
{
  HookInnerEditWindowProc();
  TScopeExit Unhook([this] { UnhookInnerEditWindowProc(); });
  Activate(AEditData);
  if (CanProcessActivationKey(Key) && HandleAllocated()) {
    HWND target = GetHandle();
    if (Windows::GetFocus() && FInnerControl && FInnerControl->HandleAllocated() &&
        Windows::GetFocus() == FInnerControl->GetHandle())
      target = FInnerControl->GetHandle();
    Windows::SendMessage(target, WM_CHAR, static_cast<unsigned char>(Key), 0);
  }
}

void TcxCustomEdit::ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData)
{
  Activate(AEditData);
  POINT p{X, Y};
  if (GetParent()) p = ScreenToClient(GetParent()->ClientToScreen(p));
  if (HandleAllocated()) {
    const LPARAM pos = LPARAM(p.x & 0xFFFF) | (LPARAM(p.y & 0xFFFF) << 16);
    if (Shift.Contains(ssLeft)) {
      Windows::SendMessage(GetHandle(), WM_LBUTTONDOWN, cxEdit::ShiftStateToMouseKeys(Shift), pos);
      if (Windows::GetCapture() == GetHandle() && (Windows::GetKeyState(VK_LBUTTON) & 0x8000) == 0)
        Windows::ReleaseCapture();
    } else {
      Windows::SendMessage(GetHandle(), WM_LBUTTONUP, cxEdit::ShiftStateToMouseKeys(Shift), pos);
    }
  }
  FDblClickTimer->SetEnabled(true);
}

void TcxCustomEdit::InnerEditWindowProc(TMessage& Message)
{
  if (FSavedInnerWindowProc) FSavedInnerWindowProc(Message);
}

void TcxCustomEdit::HookInnerEditWindowProc()
{
  if (!FInnerEdit || !FInnerControl || FInnerHooked) return;
  FSavedInnerWindowProc = FInnerControl->WindowProc;
  FInnerControl->WindowProc = [this](TMessage& Message) { InnerEditWindowProc(Message); };
  FInnerHooked = true;
}

void TcxCustomEdit::UnhookInnerEditWindowProc()
{
  if (!FInnerHooked) return;
  if (FInnerControl) FInnerControl->WindowProc = FSavedInnerWindowProc;
  FSavedInnerWindowProc = nullptr;
  FInnerHooked = false;
}
