#include "controls/editors/dropdown/cxPopupEdit.h"

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/framework/cxClasses.h"
#include "controls/framework/cxContainerStyle.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"

// ==== Properties ===============================================================================

TcxCustomPopupEditProperties::TcxCustomPopupEditProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditProperties(AOwner)
{
  FNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FNotificator->OnComponentFreed = [this](TComponent* C) {
    if (C == FPopupControl) FPopupControl = nullptr;
  };
  SetPopupAutoSize(true);
  SetPopupMinHeight(100);
  SetPopupMinWidth(100);
  SetPopupHeight(200);
  SetPopupWidth(250);
  SetPopupSizeable(true);
}

TcxCustomPopupEditProperties::~TcxCustomPopupEditProperties()
{
  if (FPopupControl) FNotificator->RemoveSender(FPopupControl);
  FNotificator.reset();
}

void TcxCustomPopupEditProperties::SetPopupControl(TControl* Value)
{
  if (Value == FPopupControl) return;
  if (FPopupControl) FNotificator->RemoveSender(FPopupControl);
  FPopupControl = Value;
  if (Value) FNotificator->AddSender(Value);
}

void TcxCustomPopupEditProperties::Assign(TPersistent* Source)
{
  TcxCustomDropDownEditProperties::Assign(Source);
  if (auto* s = dynamic_cast<TcxCustomPopupEditProperties*>(Source)) SetPopupControl(s->FPopupControl);
}

TClass TcxCustomPopupEditProperties::GetContainerClass() const { return TcxPopupEdit::StaticClass(); }

TcxPopupEditProperties::TcxPopupEditProperties(TPersistent* AOwner) : TcxCustomPopupEditProperties(AOwner)
{
  SetImmediateDropDown(true);
  SetImmediatePopup(true);
}

// ==== Control ==================================================================================

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* AOwner) : TcxCustomDropDownEdit(AOwner) {}

TcxCustomPopupEdit::~TcxCustomPopupEdit()
{
  if (FShown) RestorePopupControl();
}

TClass TcxCustomPopupEdit::GetPropertiesClass() const { return TcxPopupEditProperties::StaticClass(); }
TClass TcxPopupEdit::GetPropertiesClass() const { return TcxPopupEditProperties::StaticClass(); }

void TcxCustomPopupEdit::Notification(TComponent* AComponent, TOperation Operation)
{
  TcxCustomDropDownEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A control freed while shown has nothing to go back to; a freed parent takes nothing back.
  if (AComponent == FShown) FShown = nullptr;
  if (AComponent == FSavedParent) FSavedParent = nullptr;
}

void TcxCustomPopupEdit::BeforeDropDown()
{
  TControl* c = GetPopupProperties()->GetPopupControl();
  if (c) {
    bool circular = c == GetPopupWindow() || c == this;
    for (TWinControl* p = GetParent(); p && !circular; p = p->GetParent()) circular = p == c;
    if (circular) throw Exception(cxDropDownEdit::CircularReferenceText());
  }
  TcxCustomDropDownEdit::BeforeDropDown();
}

TWinControl* TcxCustomPopupEdit::PopupFocusControl()
{
  return dynamic_cast<TWinControl*>(GetPopupProperties()->GetPopupControl());
}

void TcxCustomPopupEdit::PopupContentSize(SIZE& Size)
{
  TControl* c = FShown ? FShown : GetPopupProperties()->GetPopupControl();
  Size = c ? SIZE{c->GetWidth(), c->GetHeight()} : SIZE{0, 0};
}

void TcxCustomPopupEdit::PlacePopupContent(const RECT& R)
{
  if (FShown) FShown->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
}

void TcxCustomPopupEdit::SavePopupControl()
{
  TControl* c = GetPopupProperties()->GetPopupControl();
  if (!c || FShown == c) return;
  if (FShown) RestorePopupControl();
  FShown = c;
  c->FreeNotification(this);
  FSavedAlign = c->GetAlign();
  if (auto* form = dynamic_cast<TCustomForm*>(c)) {
    FSavedBorderStyle = form->GetBorderStyle();
    form->SetBorderStyle(bsNone);
  }
  FSavedBounds = c->GetBoundsRect();
  FSavedParent = c->GetParent();
  if (FSavedParent) FSavedParent->FreeNotification(this);
  FSavedVisible = c->GetVisible();
}

void TcxCustomPopupEdit::RestorePopupControl()
{
  TControl* c = FShown;
  FShown = nullptr;
  if (!c) return;
  c->RemoveFreeNotification(this);
  c->SetVisible(false);
  c->SetParent(FSavedParent);
  c->SetAlign(FSavedAlign);
  c->SetBoundsRect(FSavedBounds);
  if (auto* form = dynamic_cast<TCustomForm*>(c)) form->SetBorderStyle(FSavedBorderStyle);
  c->SetVisible(FSavedVisible);
  if (FSavedParent) FSavedParent->RemoveFreeNotification(this);
  FSavedParent = nullptr;
}

void TcxCustomPopupEdit::LayoutPopup()
{
  SavePopupControl();
  if (FShown) {
    FShown->SetParent(GetPopupWindow());
    FShown->SetVisible(true);
  }
  TcxCustomDropDownEdit::LayoutPopup();
  if (FShown) FShown->SetAlign(alClient);
}

void TcxCustomPopupEdit::PopupWindowClosed(TObject* Sender)
{
  RestorePopupControl();
  TcxCustomDropDownEdit::PopupWindowClosed(Sender);
}

void cxPopupEdit::Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxPopupEditProperties::StaticClass(),
                                                  cxResourceStrings::GetResourceString(cxEditConsts::sEditorPopup));
}

PELTO_DEFINE_CLASS(TcxCustomPopupEditProperties)

PELTO_DEFINE_CLASS(TcxPopupEditProperties)

PELTO_DEFINE_CLASS(TcxCustomPopupEdit)

PELTO_DEFINE_CLASS(TcxPopupEdit)
