#include "platform/stdctrls/toolbars/ToolBar.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/forms/controls/Controls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"

namespace {
bool IsSeparator(const TToolButton* b) { return b->GetStyle() == tbsSeparator || b->GetStyle() == tbsDivider; }
bool IsGroupMember(const TToolButton* b) { return b->GetStyle() == tbsCheck && b->GetGrouped(); }
}  // namespace

TToolBar::TToolBar(TComponent* AOwner)
    : TWinControl(AOwner), FImageLink(std::make_unique<TChangeLink>()),
      FDisabledImageLink(std::make_unique<TChangeLink>()), FHotImageLink(std::make_unique<TChangeLink>())
{
  INITCOMMONCONTROLSEX icc;
  icc.dwICC = ICC_BAR_CLASSES;
  Windows::InitCommonControlsEx(&icc);
  ControlStyle =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csMenuEvents, csSetCaption};
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  for (TChangeLink* link : {FImageLink.get(), FDisabledImageLink.get(), FHotImageLink.get()})
    link->OnChange = [this](TObject* s) { ImageListChange(s); };
}

TToolBar::~TToolBar()
{
  // The buttons are freed with their owner; none may reach a bar that is gone.
  for (TToolButton* b : FButtons) b->FToolBar = nullptr;
  FButtons.clear();
}

TToolButton* TToolBar::GetButton(int Index) const
{
  if (Index < 0 || Index >= GetButtonCount())
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  return FButtons[std::size_t(Index)];
}

// ---- Window -------------------------------------------------------------------------------------

void TToolBar::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TOOLBARCLASSNAME);
  // The control places and sizes the bar itself.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FFlat) Params.Style |= TBSTYLE_FLAT;
  if (FWrapable) Params.Style |= TBSTYLE_WRAPABLE;
}

TBBUTTON TToolBar::NativeOf(TToolButton* Button, AnsiString& Text) const
{
  TBBUTTON t;
  t.idCommand = Button->FCommand;
  t.dwData = reinterpret_cast<DWORD_PTR>(Button);
  if (IsSeparator(Button)) {
    t.fsStyle = TBSTYLE_SEP;
    t.iBitmap = Button->GetWidth();  // a separator's image index is its width
  } else {
    t.iBitmap = Button->GetImageIndex() >= 0 ? Button->GetImageIndex() : I_IMAGENONE;
    if (Button->GetStyle() == tbsCheck) t.fsStyle = Button->GetGrouped() ? TBSTYLE_CHECKGROUP : TBSTYLE_CHECK;
    if (Button->GetStyle() == tbsDropDown) t.fsStyle = TBSTYLE_DROPDOWN;
    if (Button->GetAutoSize()) t.fsStyle |= TBSTYLE_AUTOSIZE;
    Text = Button->GetCaption();
    if (FShowCaptions && !Text.empty()) t.iString = reinterpret_cast<INT_PTR>(Text.c_str());
  }
  bool designing = Button->GetComponentState().Contains(csDesigning);
  if (Button->GetEnabled()) t.fsState |= TBSTATE_ENABLED;
  if (Button->GetDown()) t.fsState |= TBSTATE_CHECKED;
  if (!Button->GetVisible() && !designing) t.fsState |= TBSTATE_HIDDEN;
  if (Button->GetWrap()) t.fsState |= TBSTATE_WRAP;
  if (Button->GetIndeterminate()) t.fsState |= TBSTATE_INDETERMINATE;
  if (Button->GetMarked()) t.fsState |= TBSTATE_MARKED;
  return t;
}

void TToolBar::CreateWnd()
{
  TWinControl::CreateWnd();
  HWND h = GetHandle();
  Windows::SendMessage(h, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendImageLists();
  Windows::SendMessage(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
  for (int i = 0; i < GetButtonCount(); ++i) {
    AnsiString text;
    TBBUTTON t = NativeOf(FButtons[std::size_t(i)], text);
    Windows::SendMessage(h, TB_INSERTBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&t));
  }
  UpdateButtonRects();
}

void TToolBar::SendImageLists()
{
  if (!HandleAllocated()) return;
  HWND h = GetHandle();
  Windows::SendMessage(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->GetHandle() : nullptr));
  Windows::SendMessage(h, TB_SETDISABLEDIMAGELIST, 0,
                       reinterpret_cast<LPARAM>(FDisabledImages ? FDisabledImages->GetHandle() : nullptr));
  Windows::SendMessage(h, TB_SETHOTIMAGELIST, 0,
                       reinterpret_cast<LPARAM>(FHotImages ? FHotImages->GetHandle() : nullptr));
  if (FImages) Windows::SendMessage(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(FImages->GetWidth(), FImages->GetHeight()));
}

// ---- Buttons ------------------------------------------------------------------------------------

void TToolBar::InsertButton(TToolButton* Button)
{
  Button->FCommand = FNextCommand++;
  if (IsSeparator(Button)) Button->SetWidth(8);
  FButtons.push_back(Button);
  if (Button->GetDown() && Button->GetGrouped()) ReleaseGroup(Button);
  if (!HandleAllocated()) return;
  AnsiString text;
  TBBUTTON t = NativeOf(Button, text);
  Windows::SendMessage(GetHandle(), TB_INSERTBUTTON, WPARAM(GetButtonCount() - 1), reinterpret_cast<LPARAM>(&t));
  UpdateButtonRects();
}

void TToolBar::RemoveButton(TToolButton* Button)
{
  auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end()) return;
  int index = int(it - FButtons.begin());
  FButtons.erase(it);
  if (!HandleAllocated()) return;
  Windows::SendMessage(GetHandle(), TB_DELETEBUTTON, WPARAM(index), 0);
  UpdateButtonRects();
}

void TToolBar::UpdateButton(TToolButton* Button, bool StateOnly)
{
  if (!HandleAllocated()) return;
  int index = Button->GetIndex();
  if (index < 0) return;
  HWND h = GetHandle();
  AnsiString text;
  TBBUTTON t = NativeOf(Button, text);
  if (StateOnly) {
    Windows::SendMessage(h, TB_SETSTATE, WPARAM(t.idCommand), MAKELPARAM(t.fsState, 0));
  } else {
    Windows::SendMessage(h, TB_DELETEBUTTON, WPARAM(index), 0);
    Windows::SendMessage(h, TB_INSERTBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&t));
  }
  UpdateButtonRects();
}

void TToolBar::UpdateButtonRects()
{
  if (!HandleAllocated() || FMovingButtons) return;
  TValueGuard moving(FMovingButtons, true);
  HWND h = GetHandle();
  for (int i = 0; i < GetButtonCount(); ++i) {
    RECT r{0, 0, 0, 0};
    if (Windows::SendMessage(h, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)))
      FButtons[std::size_t(i)]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  if (GetAutoSize() && GetAlign() != alLeft && GetAlign() != alRight) {
    SIZE extent{0, 0};
    Windows::SendMessage(h, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&extent));
    int height = std::max<int>(extent.cy, FButtonHeight) + GetHeight() - GetClientHeight();
    if (height != GetHeight()) SetHeight(height);
  }
}

int TToolBar::GetRowCount()
{
  if (!HandleAllocated()) return 1;
  return std::max<int>(1, int(Windows::SendMessage(GetHandle(), TB_GETROWS, 0, 0)));
}

std::vector<TToolButton*> TToolBar::GroupOf(TToolButton* Button) const
{
  auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end() || !IsGroupMember(Button)) return {Button};
  auto first = it, last = it + 1;
  while (first != FButtons.begin() && IsGroupMember(*(first - 1))) --first;
  while (last != FButtons.end() && IsGroupMember(*last)) ++last;
  return {first, last};
}

void TToolBar::ReleaseGroup(TToolButton* Down)
{
  for (TToolButton* b : GroupOf(Down)) {
    if (b == Down || !b->FDown) continue;
    b->FDown = false;
    UpdateButton(b, true);
  }
}

TToolButton* TToolBar::ButtonOfCommand(int Command) const
{
  for (TToolButton* b : FButtons)
    if (b->FCommand == Command) return b;
  return nullptr;
}

// ---- Properties ---------------------------------------------------------------------------------

void TToolBar::SetImageList(TCustomImageList*& Slot, TChangeLink& Link, TCustomImageList* Value)
{
  if (Slot == Value) return;
  if (Slot) {
    Slot->UnRegisterChanges(&Link);
    Slot->RemoveFreeNotification(this);
  }
  Slot = Value;
  if (Value) {
    Value->RegisterChanges(&Link);
    Value->FreeNotification(this);
  }
  SendImageLists();
  UpdateButtonRects();
}

void TToolBar::SetImages(TCustomImageList* Value) { SetImageList(FImages, *FImageLink, Value); }
void TToolBar::SetDisabledImages(TCustomImageList* Value) { SetImageList(FDisabledImages, *FDisabledImageLink, Value); }
void TToolBar::SetHotImages(TCustomImageList* Value) { SetImageList(FHotImages, *FHotImageLink, Value); }

void TToolBar::ImageListChange(TObject* Sender)
{
  SendImageLists();
  UpdateButtonRects();
  Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A list being freed is half destroyed by now (its change links are gone): forget it without
  // calling into it.
  bool gone = false;
  for (TCustomImageList** slot : {&FImages, &FDisabledImages, &FHotImages})
    if (*slot && *slot == AComponent) {
      *slot = nullptr;
      gone = true;
    }
  if (gone) ImageListChange(this);
}

void TToolBar::SetButtonWidth(int Value)
{
  if (FButtonWidth == Value || Value <= 0) return;
  FButtonWidth = Value;
  if (HandleAllocated())
    Windows::SendMessage(GetHandle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
  UpdateButtonRects();
}

void TToolBar::SetButtonHeight(int Value)
{
  if (FButtonHeight == Value || Value <= 0) return;
  FButtonHeight = Value;
  if (HandleAllocated())
    Windows::SendMessage(GetHandle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
  UpdateButtonRects();
}

void TToolBar::SetShowCaptions(bool Value)
{
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  RecreateWnd();
}

void TToolBar::SetFlat(bool Value)
{
  if (FFlat == Value) return;
  FFlat = Value;
  RecreateWnd();
}

void TToolBar::SetWrapable(bool Value)
{
  if (FWrapable == Value) return;
  FWrapable = Value;
  RecreateWnd();
}

void TToolBar::SetAutoSize(bool Value)
{
  TWinControl::SetAutoSize(Value);
  UpdateButtonRects();
}

// ---- Messages -----------------------------------------------------------------------------------

void TToolBar::WndProc(TMessage& Message)
{
  bool designing = GetComponentState().Contains(csDesigning);
  if (!designing && Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL) {
    // The window presses and clicks its buttons; the button controls under the pointer only
    // give the hints, so mouse messages go to the window instead of to them.
    if (Message.Msg == WM_MOUSEMOVE && !Controls::GetCaptureControl()) {
      TControl* over = ControlAtPos(POINT{Message.XPos(), Message.YPos()}, true);
      Controls::SetMouseControl(over ? over : this);
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = GetHandle();
      Windows::TrackMouseEvent(&tme);
    }
    TControl::WndProc(Message);
    return;
  }
  TWinControl::WndProc(Message);
  if (Message.Msg == WM_SIZE) UpdateButtonRects();
}

void TToolBar::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); return;
    case CN_NOTIFY: CNNotify(Message); return;
    default: TWinControl::Dispatch(Message);
  }
}

void TToolBar::CNCommand(TMessage& Message)
{
  Message.Result = 0;
  TToolButton* button = ButtonOfCommand(int(LOWORD(Message.WParam)));
  if (!button) return;
  if (button->GetStyle() == tbsCheck) {
    bool was = button->FDown;
    bool checked = Windows::SendMessage(GetHandle(), TB_ISBUTTONCHECKED, WPARAM(button->FCommand), 0) != 0;
    // The window keeps a group's last button down; AllowAllUp lets it up.
    if (was && checked && button->GetGrouped() && button->GetAllowAllUp()) checked = false;
    button->FDown = checked;
    if (checked && button->GetGrouped()) ReleaseGroup(button);
    UpdateButton(button, true);
  }
  button->Click();
}

void TToolBar::CNNotify(TMessage& Message)
{
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  Message.Result = 0;
  if (hdr->code != TBN_DROPDOWN) return;
  auto* nm = reinterpret_cast<NMTOOLBAR*>(hdr);
  TToolButton* button = ButtonOfCommand(nm->iItem);
  if (!button) return;
  if (!button->CheckMenuDropdown()) Message.Result = TBDDRET_NODEFAULT;
}

// ---- Start-up -----------------------------------------------------------------------------------

namespace ToolBars {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  StdCtrls::Initialize();
  Classes::RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass()});
}

}  // namespace ToolBars
