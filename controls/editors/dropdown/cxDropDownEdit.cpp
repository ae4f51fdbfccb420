// Sections: properties -> life and pop-up -> open and close -> keys, buttons and focus.
#include "controls/editors/dropdown/cxDropDownEdit.h"

#include <algorithm>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "platform/forms/controls/Controls.h"
#include "platform/rtl/Guards.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

// ==== Properties ===============================================================================

TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner)
{
  GetButtons()->Add();
}

void TcxCustomDropDownEditProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomDropDownEditProperties*>(Source);
  if (!s) {
    TcxCustomMaskEditProperties::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(); });
  TcxCustomMaskEditProperties::Assign(Source);
  FImmediateDropDown = s->FImmediateDropDown;
  FImmediatePopup = s->FImmediatePopup;
  FPopupAlignment = s->FPopupAlignment;
  FPopupAutoSize = s->FPopupAutoSize;
  FPopupClientEdge = s->FPopupClientEdge;
  FPopupMinWidth = s->FPopupMinWidth;
  FPopupMinHeight = s->FPopupMinHeight;
  FPopupWidth = s->FPopupWidth;
  FPopupHeight = s->FPopupHeight;
  FPopupSizeable = s->FPopupSizeable;
  FPopupSysPanelStyle = s->FPopupSysPanelStyle;
  OnCloseQuery = s->OnCloseQuery;
  OnCloseUp = s->OnCloseUp;
  OnInitPopup = s->OnInitPopup;
  OnPopup = s->OnPopup;
}

void TcxCustomDropDownEditProperties::SetPopupAlignment(TAlignment Value)
{
  if (Value == FPopupAlignment) return;
  FPopupAlignment = Value;
  Changed();
}

void TcxCustomDropDownEditProperties::SetPopupClientEdge(bool Value)
{
  if (Value == FPopupClientEdge) return;
  FPopupClientEdge = Value;
  Changed();
}

void TcxCustomDropDownEditProperties::SetPopupSizeable(bool Value)
{
  if (Value == FPopupSizeable) return;
  FPopupSizeable = Value;
  Changed();
}

void TcxCustomDropDownEditProperties::SetPopupSysPanelStyle(bool Value)
{
  if (Value == FPopupSysPanelStyle) return;
  FPopupSysPanelStyle = Value;
  Changed();
}

void TcxCustomDropDownEditProperties::SetPopupWidth(int Value)
{
  FPopupWidth = Value < 0 ? 0 : (Value > 0 ? std::max(Value, FPopupMinWidth) : 0);
}

void TcxCustomDropDownEditProperties::SetPopupHeight(int Value) { FPopupHeight = std::max(Value, FPopupMinHeight); }

void TcxCustomDropDownEditProperties::SetPopupMinWidth(int Value)
{
  FPopupMinWidth = std::max(0, Value);
  SetPopupWidth(FPopupWidth);
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(int Value)
{
  FPopupMinHeight = std::max(0, Value);
  SetPopupHeight(FPopupHeight);
}

TClass TcxCustomDropDownEditProperties::GetContainerClass() const { return TcxCustomDropDownEdit::StaticClass(); }

// ==== Life and pop-up ==========================================================================

TcxCustomDropDownEdit::TcxCustomDropDownEdit(TComponent* AOwner) : TcxCustomMaskEdit(AOwner) {}

TcxCustomDropDownEdit::~TcxCustomDropDownEdit()
{
  if (FPopupWindow) {
    FPopupWindow->OnClosed = nullptr;
    FPopupWindow->OnShowed = nullptr;
    FPopupWindow->OnCloseQuery = nullptr;
  }
  FPopupWindow.reset();
}

TClass TcxCustomDropDownEdit::GetPropertiesClass() const { return TcxCustomDropDownEditProperties::StaticClass(); }

TcxCustomEditPopupWindow* TcxCustomDropDownEdit::GetPopupWindow()
{
  if (!FPopupWindow) FPopupWindow.reset(CreatePopupWindow());
  return FPopupWindow.get();
}

TcxCustomEditPopupWindow* TcxCustomDropDownEdit::CreatePopupWindow()
{
  auto* w = new TcxCustomEditPopupWindow(this);
  w->SetTakeFocus(GetDropDownProperties()->PopupTakesFocus());
  // The editor's own keys close it; no loop of its own.
  w->SetModalMode(false);
  w->SetTopMost(!IsInplace());
  w->OnCloseQuery = [this](TObject*, bool& CanClose) {
    if (GetDropDownProperties()->OnCloseQuery) GetDropDownProperties()->OnCloseQuery(this, CanClose);
  };
  w->OnClosed = [this](TObject* Sender) { PopupWindowClosed(Sender); };
  w->OnShowed = [this](TObject* Sender) { PopupWindowShowed(Sender); };
  w->OnUserResized = [this](TObject*) { FResizedByUser = true; };
  w->OnCloseButtonClick = [this](TObject*) { CloseDropDown(false); };
  w->OnGetContentSize = [this](TObject*, SIZE& Size) { PopupContentSize(Size); };
  return w;
}

bool TcxCustomDropDownEdit::HasOpenPopup() { return FPopupWindow && FPopupWindow->IsShown(); }

void TcxCustomDropDownEdit::SetDroppedDown(bool Value)
{
  if (Value == HasOpenPopup()) return;
  if (Value)
    OpenDropDown();
  else
    CloseDropDown(false);
}

TcxCustomDropDownEditData* TcxCustomDropDownEdit::GetDropDownData()
{
  return dynamic_cast<TcxCustomDropDownEditData*>(GetEditData());
}

void TcxCustomDropDownEdit::PropertiesChanged(TObject* Sender)
{
  if (!GetDropDownProperties()->GetPopupSizeable()) FResizedByUser = false;
  TcxCustomMaskEdit::PropertiesChanged(Sender);
  if (HasOpenPopup()) LayoutPopup();
}

// ==== Open and close ===========================================================================

void TcxCustomDropDownEdit::BeforeDropDown()
{
  if (GetDropDownProperties()->OnInitPopup) GetDropDownProperties()->OnInitPopup(this);
}

void TcxCustomDropDownEdit::NotifyPopup()
{
  if (GetDropDownProperties()->OnPopup) GetDropDownProperties()->OnPopup(this);
}

TWinControl* TcxCustomDropDownEdit::PopupFocusControl()
{
  IcxCustomInnerEdit* inner = GetInnerEdit();
  return inner ? inner->GetControl() : nullptr;
}

void TcxCustomDropDownEdit::ConfigurePopupWindow()
{
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  TcxCustomEditPopupWindow* w = GetPopupWindow();
  switch (p->GetPopupAlignment()) {
    case taCenter: w->SetAlignHorz(1); break;
    case taRightJustify: w->SetAlignHorz(2); break;
    default: w->SetAlignHorz(0); break;
  }
  w->SetClientEdge(p->GetPopupClientEdge());
  w->SetMinHeight(p->GetPopupMinHeight());
  w->SetMinWidth(p->GetPopupMinWidth());
  w->SetPopupAutoSize(p->GetPopupAutoSize());
  w->SetSizeable(p->GetPopupSizeable());
  w->SetSysPanelStyle(p->GetPopupSysPanelStyle());
  TcxCustomDropDownEditData* data = GetDropDownData();
  if (IsInplace() && p->GetPopupSizeable() && data && data->ResizedByUser) {
    w->SetPopupWidth(data->Width);
    w->SetPopupHeight(data->Height);
  } else {
    w->SetPopupWidth(p->GetPopupWidth());
    w->SetPopupHeight(p->GetPopupHeight());
  }
  // A size the user gave wins over the content's.
  if (FResizedByUser && p->GetPopupSizeable()) w->SetPopupAutoSize(false);
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  w->SetPopupBorderStyle(vi->PopupBorderStyle);
  w->SetNativeStyle(vi->NativeStyle);
  w->SetShadow(GetEditStyle()->GetShadow() && !vi->NativeStyle);
  w->SetCloseButtonKind(GetEditStyle()->GetLookAndFeel()->GetKind());
}

void TcxCustomDropDownEdit::LayoutPopup()
{
  TcxCustomEditPopupWindow* w = GetPopupWindow();
  w->SetTakeFocus(GetDropDownProperties()->PopupTakesFocus());
  ConnectPopupContent();
  ConfigurePopupWindow();
  w->CalculateSize();
  const POINT p = w->CalculatePosition();
  w->SetBounds(p.x, p.y, w->GetWidth(), w->GetHeight());
  w->RecalculateLayout();
  PlacePopupContent(w->GetPopupViewInfo()->ClientRect);
}

void TcxCustomDropDownEdit::OpenDropDown()
{
  BeforeDropDown();
  if (!CanOpenDropDown() || HasOpenPopup()) return;
  LayoutPopup();
  TcxCustomEditPopupWindow* w = GetPopupWindow();
  w->HandleNeeded();
  Windows::PostMessage(w->GetHandle(), CM_SHOWPOPUPWINDOW, reinterpret_cast<WPARAM>(PopupFocusControl()), 0);
}

void TcxCustomDropDownEdit::CloseDropDown(bool Accept)
{
  if (!HasOpenPopup()) return;
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  if (Accept && !p->PostAfterClose() && p->GetImmediatePost() && CanPostEditValue()) PostEditValue(true);
  GetPopupWindow()->ClosePopup(true);
}

void TcxCustomDropDownEdit::PopupWindowShowed(TObject*)
{
  TcxCustomEditPopupWindow* w = GetPopupWindow();
  w->RecalculateLayout();
  PlacePopupContent(w->GetPopupViewInfo()->ClientRect);
  NotifyPopup();
  ShortRefreshContainer(false);
}

void TcxCustomDropDownEdit::PopupWindowClosed(TObject*)
{
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  TcxCustomEditPopupWindow* w = GetPopupWindow();
  if (p->GetPopupSizeable() && FResizedByUser) {
    if (IsInplace()) {
      if (TcxCustomDropDownEditData* data = GetDropDownData()) {
        data->ResizedByUser = true;
        data->Width = w->GetWidth();
        data->Height = w->GetHeight();
      }
    } else {
      p->SetPopupWidth(w->GetWidth());
      p->SetPopupHeight(w->GetHeight());
    }
  }
  ShortRefreshContainer(false);
  if (p->OnCloseUp) p->OnCloseUp(this);
  if (p->PostAfterClose() && p->GetImmediatePost() && CanPostEditValue() && ValidateEdit(true)) PostEditValue(false);
}

// ==== Keys, buttons and focus ==================================================================

void TcxCustomDropDownEdit::WndProc(TMessage& Message)
{
  if (Message.Msg == CM_DROPDOWN) {
    if (!HasOpenPopup()) OpenDropDown();
    return;
  }
  TcxCustomMaskEdit::WndProc(Message);
}

void TcxCustomDropDownEdit::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  const bool alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && alt) || (Key == VK_F4 && !alt)) {
    if (HasOpenPopup())
      CloseDropDown(true);
    else
      OpenDropDown();
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && !alt && HasOpenPopup()) {
    const bool accept = Key == VK_RETURN && DoEditing();
    CloseDropDown(accept);
    if (!HasOpenPopup()) {
      if (Key == VK_ESCAPE) {
        Controls::SetCaptureControl(nullptr);
        SetPopupJustClosed(true);
      }
      Key = 0;
      return;
    }
  }
  TcxCustomMaskEdit::DoEditKeyDown(Key, Shift);
}

void TcxCustomDropDownEdit::DoEditKeyPress(char& Key)
{
  const unsigned char c = static_cast<unsigned char>(Key);
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  if (c >= 32 && p->GetImmediateDropDown() && !HasOpenPopup() && HandleAllocated()) {
    Windows::SendMessage(GetHandle(), CM_DROPDOWN, 0, 0);
    TWinControl* focus = PopupFocusControl();
    if (p->PopupTakesFocus() && Key != '\r' && CanOpenDropDown() && focus &&
        !(GetInnerEdit() && focus == GetInnerEdit()->GetControl())) {
      Windows::PostMessage(GetPopupWindow()->GetHandle(), CM_POPUPCHAR, WPARAM(c), 0);
      Key = 0;
      return;
    }
  }
  TcxCustomMaskEdit::DoEditKeyPress(Key);
}

void TcxCustomDropDownEdit::DoButtonDown(int AButtonVisibleIndex)
{
  TcxCustomMaskEdit::DoButtonDown(AButtonVisibleIndex);
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (AButtonVisibleIndex < 0 || AButtonVisibleIndex >= vi->ButtonCount()) return;
  if (vi->Button(AButtonVisibleIndex)->ButtonIndex != GetDropDownProperties()->DropDownButtonIndex()) return;
  if (HasOpenPopup())
    CloseDropDown(false);
  else
    OpenDropDown();
}

void TcxCustomDropDownEdit::DoExit()
{
  CloseDropDown(false);
  TcxCustomMaskEdit::DoExit();
}

bool TcxCustomDropDownEdit::IsClickKey(Word Key, TShiftState Shift)
{
  if (IsInplace() && HasOpenPopup() && (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || Key < 32)) return true;
  return TcxCustomMaskEdit::IsClickKey(Key, Shift);
}

void TcxCustomDropDownEdit::Activate(TcxCustomEditData*& AEditData)
{
  TcxCustomMaskEdit::Activate(AEditData);
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  if (p->GetPopupSizeable())
    if (TcxCustomDropDownEditData* data = GetDropDownData()) FResizedByUser = data->ResizedByUser;
  if (p->GetImmediatePopup()) OpenDropDown();
}

void TcxCustomDropDownEdit::ActivateByKey(char Key, TcxCustomEditData*& AEditData)
{
  TcxCustomMaskEdit::ActivateByKey(Key, AEditData);
  TcxCustomDropDownEditProperties* p = GetDropDownProperties();
  if (static_cast<unsigned char>(Key) >= 32 && p->GetImmediateDropDown() && p->PopupTakesFocus() &&
      !p->GetImmediatePopup())
    OpenDropDown();
}

bool TcxCustomDropDownEdit::Deactivate()
{
  CloseDropDown(false);
  if (TcxCustomDropDownEditData* data = GetDropDownData()) data->ResizedByUser = FResizedByUser;
  if (FPopupWindow && FPopupWindow->HandleAllocated()) {
    MSG m;
    while (Windows::PeekMessage(&m, FPopupWindow->GetHandle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW, PM_REMOVE)) {}
  }
  return TcxCustomMaskEdit::Deactivate();
}

AnsiString cxDropDownEdit::CircularReferenceText()
{
  return cxResourceStrings::GetResourceString(cxEditConsts::sCircularReference);
}

PELTO_DEFINE_CLASS(TcxCustomDropDownEditProperties)

PELTO_DEFINE_CLASS(TcxCustomDropDownEditData)

PELTO_DEFINE_CLASS(TcxCustomDropDownEdit)
