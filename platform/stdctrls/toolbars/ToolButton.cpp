#include "platform/stdctrls/toolbars/ToolButton.h"

#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/toolbars/ToolBar.h"
#include "platform/win/menu/Menus.h"

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
  ControlStyle = TControlStyle{csCaptureMouse, csSetCaption};
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton()
{
  if (FToolBar) FToolBar->RemoveButton(this);
}

int TToolButton::GetIndex() const
{
  if (!FToolBar) return -1;
  for (int i = 0; i < FToolBar->GetButtonCount(); ++i)
    if (FToolBar->GetButton(i) == this) return i;
  return -1;
}

void TToolButton::SetParent(TWinControl* AParent)
{
  if (AParent == GetParent()) return;
  if (FToolBar) FToolBar->RemoveButton(this);
  FToolBar = nullptr;
  TGraphicControl::SetParent(AParent);
  if (auto* bar = dynamic_cast<TToolBar*>(AParent)) {
    FToolBar = bar;
    bar->InsertButton(this);
  }
}

void TToolButton::Changed(bool StateOnly)
{
  if (FToolBar) FToolBar->UpdateButton(this, StateOnly);
}

// ---- Properties ---------------------------------------------------------------------------------

void TToolButton::SetStyle(TToolButtonStyle Value)
{
  if (FStyle == Value) return;
  bool wasSeparator = FStyle == tbsSeparator || FStyle == tbsDivider;
  FStyle = Value;
  bool separator = Value == tbsSeparator || Value == tbsDivider;
  // A separator is a narrow gap; a button gets the bar's width back when laid out.
  if (separator && !wasSeparator) SetWidth(8);
  Changed(false);
  Invalidate();
}

void TToolButton::SetImageIndex(int Value)
{
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

void TToolButton::SetGrouped(bool Value)
{
  if (FGrouped == Value) return;
  FGrouped = Value;
  Changed(false);
}

void TToolButton::SetAllowAllUp(bool Value)
{
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  // The whole group shares the setting.
  if (FToolBar)
    for (TToolButton* b : FToolBar->GroupOf(this)) b->FAllowAllUp = Value;
}

void TToolButton::SetDown(bool Value)
{
  if (FDown == Value) return;
  // The last down button of a group without AllowAllUp stays down.
  if (!Value && FGrouped && FStyle == tbsCheck && !FAllowAllUp && FToolBar) return;
  FDown = Value;
  if (Value && FGrouped && FToolBar) FToolBar->ReleaseGroup(this);
  Changed(true);
}

void TToolButton::SetIndeterminate(bool Value)
{
  if (FIndeterminate == Value) return;
  FIndeterminate = Value;
  Changed(true);
}

void TToolButton::SetMarked(bool Value)
{
  if (FMarked == Value) return;
  FMarked = Value;
  Changed(true);
}

void TToolButton::SetWrap(bool Value)
{
  if (FWrap == Value) return;
  FWrap = Value;
  Changed(true);
}

void TToolButton::SetAutoSize(bool Value)
{
  if (Value == GetAutoSize()) return;
  TGraphicControl::SetAutoSize(Value);
  Changed(false);
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value)
{
  if (FDropdownMenu == Value) return;
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TToolButton::SetMenuItem(TMenuItem* Value)
{
  if (FMenuItem && FMenuItem != Value) FMenuItem->RemoveFreeNotification(this);
  if (Value) {
    if (FMenuItem != Value) Value->FreeNotification(this);
    SetAction(Value->GetAction());
    SetCaption(Value->GetCaption());
    SetDown(Value->GetChecked());
    SetEnabled(Value->GetEnabled());
    SetHint(Value->GetHint());
    SetImageIndex(Value->GetImageIndex());
    SetVisible(Value->GetVisible());
  }
  FMenuItem = Value;
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation)
{
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropdownMenu) FDropdownMenu = nullptr;
  if (AComponent == FMenuItem) FMenuItem = nullptr;
}

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  ActnList::ApplyToControl(this, action, CheckDefaults);
  if (!CheckDefaults || !FDown) SetDown(action->GetChecked());
  if (!CheckDefaults || FImageIndex < 0) SetImageIndex(action->GetImageIndex());
}

void TToolButton::CMTextChanged(TMessage& Message)
{
  TGraphicControl::CMTextChanged(Message);
  Changed(false);
}

void TToolButton::CMEnabledChanged(TMessage& Message)
{
  TGraphicControl::CMEnabledChanged(Message);
  Changed(true);
}

void TToolButton::CMVisibleChanged(TMessage& Message)
{
  TGraphicControl::CMVisibleChanged(Message);
  Changed(true);
}

// ---- Clicks and menus ---------------------------------------------------------------------------

void TToolButton::Click()
{
  if (FMenuItem && !GetAction()) {
    FMenuItem->Click();
    return;
  }
  TGraphicControl::Click();
}

bool TToolButton::CheckMenuDropdown()
{
  POINT at = ClientToScreen(POINT{0, GetHeight()});
  if (FDropdownMenu) {
    FDropdownMenu->SetPopupComponent(this);
    FDropdownMenu->Popup(at.x, at.y);
    return true;
  }
  if (FMenuItem && FMenuItem->GetCount() > 0) {
    // The item's commands come back to its form's menu, as they do from its menu bar.
    TCustomForm* form = GetParentForm();
    if (!form) return false;
    Windows::TrackPopupMenu(FMenuItem->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, form->GetHandle(),
                            nullptr);
    return true;
  }
  return false;
}

// ---- Painting -----------------------------------------------------------------------------------

void TToolButton::Paint()
{
  // The bar's window draws the buttons; a divider adds its etched line.
  if (FStyle != tbsDivider) return;
  int x = GetWidth() / 2 - 1;
  RECT r{x, 0, x + 2, GetHeight()};
  Windows::DrawEdge(GetCanvas()->GetHandle(), &r, EDGE_ETCHED, BF_LEFT);
}
