#include "controls/editors/textedit/cxInnerTextEdit.h"

#include "controls/editors/textedit/cxTextEdit.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

bool IsTrailByte(unsigned char B) { return (B >= 0x40 && B <= 0x7E) || (B >= 0x80 && B <= 0xFE); }

}  // namespace

TcxCustomInnerTextEdit::TcxCustomInnerTextEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
  SetTabStop(false);
  ControlStyle.Include(csDoubleClicks);
  SetBorderStyle(bsNone);
  SetParentColor(true);
  SetParentFont(false);
  FCreating = false;
}

TcxCustomInnerTextEdit::~TcxCustomInnerTextEdit() = default;

TcxCustomTextEdit* TcxCustomInnerTextEdit::GetContainer() const { return dynamic_cast<TcxCustomTextEdit*>(GetOwner()); }

TcxContainer* TcxCustomInnerTextEdit::GetControlContainer() { return GetContainer(); }

// ---- Window

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& Params)
{
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~(ES_CENTER | ES_RIGHT | WS_BORDER | WS_CAPTION | WS_THICKFRAME);
  switch (FAlignment) {
    case taRightJustify: Params.Style |= ES_RIGHT; break;
    case taCenter: Params.Style |= ES_CENTER; break;
    default: Params.Style |= ES_LEFT; break;
  }
  Params.Style |= ES_AUTOHSCROLL;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerTextEdit::CreateHandle()
{
  if (TcxCustomTextEdit* c = GetContainer()) c->ClearInnerControlBounds();
  TCustomEdit::CreateHandle();
}

void TcxCustomInnerTextEdit::CreateWnd()
{
  TValueGuard creating(FCreating, true);
  TCustomEdit::CreateWnd();
  AdjustMargins();
}

void TcxCustomInnerTextEdit::AdjustMargins()
{
  if (HandleAllocated())
    Windows::SendMessage(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 1));
}

void TcxCustomInnerTextEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  if (FCreating || FLockBoundsCount > 0) return;
  TcxCustomTextEdit* c = GetContainer();
  if (c) c->SetInnerBoundsChanging(true);
  TScopeExit End([c] {
    if (c) c->SetInnerBoundsChanging(false);
  });
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
}

bool TcxCustomInnerTextEdit::CanFocus()
{
  TcxCustomTextEdit* c = GetContainer();
  return c ? c->CanFocusOnForm() : TCustomEdit::CanFocus();
}

void TcxCustomInnerTextEdit::LockBounds(bool ALock)
{
  if (ALock)
    ++FLockBoundsCount;
  else if (FLockBoundsCount > 0)
    --FLockBoundsCount;
}

void TcxCustomInnerTextEdit::SafelySetFocus()
{
  const bool autoSelect = GetAutoSelect();
  TCustomEdit::SetAutoSelect(false);
  TScopeExit Restore([this, autoSelect] { TCustomEdit::SetAutoSelect(autoSelect); });
  if (CanFocus()) SetFocus();
}

void TcxCustomInnerTextEdit::SetTextValue(const Variant& V)
{
  const AnsiString s = Variants::VarToStr(V);
  const bool differs = s != GetText();
  SetInnerText(s);
  if (differs && GetComponentState().Contains(csDesigning) && OnChange) OnChange(this);
}

// ---- Text interface

int TcxCustomInnerTextEdit::GetSelStart() { return TCustomEdit::GetSelStart(); }

int TcxCustomInnerTextEdit::GetSelLength() { return TCustomEdit::GetSelLength(); }

void TcxCustomInnerTextEdit::SetSelStart(int Value) { TCustomEdit::SetSelStart(Value); }

void TcxCustomInnerTextEdit::SetSelLength(int Value) { TCustomEdit::SetSelLength(Value); }

void TcxCustomInnerTextEdit::SelectAll()
{
  if (HandleAllocated()) TCustomEdit::SelectAll();
}

void TcxCustomInnerTextEdit::SetAlignment(TAlignment Value)
{
  TcxCustomTextEdit* c = GetContainer();
  if (c && c->GetProperties()->GetUseLeftAlignmentOnEditing()) Value = taLeftJustify;
  if (Value == FAlignment) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerTextEdit::SetEchoMode(TcxEditEchoMode Value)
{
  FEchoMode = Value;
  SetPasswordChar(Value == eemPassword ? '*' : char(0));
}

int TcxCustomInnerTextEdit::GetCaretCharIndex()
{
  if (!HandleAllocated()) return 0;
  const AnsiString text = GetText();
  const int caret = TCustomEdit::GetSelStart() + TCustomEdit::GetSelLength();
  // The caret's x against the characters' positions, by halving the interval.
  const LRESULT at = Windows::SendMessage(GetHandle(), EM_POSFROMCHAR, WPARAM(caret), 0);
  const int x = short(LOWORD(at));
  std::vector<int> starts;
  for (int i = 1; i <= int(text.size()); i = System::NextCharIndex(text, i)) starts.push_back(i - 1);
  int lo = 0, hi = int(starts.size());
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const LRESULT p = Windows::SendMessage(GetHandle(), EM_POSFROMCHAR, WPARAM(starts[size_t(mid)]), 0);
    if (short(LOWORD(p)) < x)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

TcxCustomInnerTextEditPrevState TcxCustomInnerTextEdit::SaveState()
{
  TcxCustomInnerTextEditPrevState s;
  s.Text = GetText();
  s.SelStart = TCustomEdit::GetSelStart();
  s.SelLength = TCustomEdit::GetSelLength();
  return s;
}

// ---- Keys

void TcxCustomInnerTextEdit::KeyDown(Word& Key, TShiftState Shift)
{
  TcxCustomTextEdit* c = GetContainer();
  if (c) {
    c->KeyDown(Key, Shift);
    if (Key == 0) FKeyHandledByContainer = true;
  }
  if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
}

void TcxCustomInnerTextEdit::KeyPress(char& Key)
{
  if (Key == '\t') Key = 0;
  TcxCustomTextEdit* c = GetContainer();
  if (c && Key != 0) {
    c->KeyPress(Key);
    if (Key == 0) FKeyHandledByContainer = true;
  }
  // The EDIT window would paste, cut and copy by itself; the editor's rules come first.
  if (Key == 0x16 || Key == 0x18 || Key == 0x03) {
    const UINT msg = Key == 0x16 ? WM_PASTE : (Key == 0x18 ? WM_CUT : WM_COPY);
    Key = 0;
    if (msg == WM_COPY && c)
      c->CopyToClipboard();
    else
      Perform(msg, 0, 0);
    return;
  }
  if (c && (Key == '\r' || Key == 27) && (c->IsInplace() || c->IsPopupJustClosed())) Key = 0;
  if (c && Key == '\r' && !c->GetBeepOnEnter()) Key = 0;
  if (Key != 0) TCustomEdit::KeyPress(Key);
}

void TcxCustomInnerTextEdit::KeyUp(Word& Key, TShiftState Shift)
{
  if (Key == VK_TAB) Key = 0;
  TcxCustomTextEdit* c = GetContainer();
  if (c && Key != 0) {
    c->KeyUp(Key, Shift);
    if (Key == 0) FKeyHandledByContainer = true;
  }
  if (Key != 0) TCustomEdit::KeyUp(Key, Shift);
}

void TcxCustomInnerTextEdit::HandleKeyDown(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  const Word key = Word(Message.WParam);
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (c && c->KeepsFocusOnTab() && c->GetTextProperties()->IsLookupListKey(key, shift)) {
    IcxTextEditLookupData* data = c->GetILookupData();
    if (TWinControl* list = data ? data->GetList() : nullptr; list && list->HandleAllocated())
      Windows::SendMessage(list->GetHandle(), WM_KEYDOWN, Message.WParam, Message.LParam);
    return;
  }
  const TcxCustomInnerTextEditPrevState before = SaveState();
  FKeyHandledByContainer = false;
  TCustomEdit::WndProc(Message);
  if (!c || c->IsContainerDestroying() || FKeyHandledByContainer) return;
  if (!HandleAllocated() || !(SaveState() == before)) return;
  Word k = key;
  if (c->OnAfterKeyDown) c->OnAfterKeyDown(c, k, shift);
}

void TcxCustomInnerTextEdit::HandleChar(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  const auto byte = static_cast<unsigned char>(Message.WParam & 0xFF);
  TMessage m = Message;
  if (FPendingLead) {
    const char lead = FPendingLead;
    FPendingLead = 0;
    if (IsTrailByte(byte)) {
      FImeState = 2;
      FImeTrail = char(byte);
      m.WParam = static_cast<unsigned char>(lead);
    }
    // A lead byte without its trail is dropped; the byte after it counts on its own.
  } else if (System::IsLeadByte(char(byte))) {
    FPendingLead = char(byte);
    Message.Result = 0;
    return;
  }
  if (FImeState == 0) FImeState = byte >= 0x80 ? 1 : 0;
  const TcxCustomInnerTextEditPrevState before = SaveState();
  FKeyHandledByContainer = false;
  FPairDelivered = false;
  {
    TScopeExit Done([this] {
      FImeState = 0;
      FImeTrail = 0;
    });
    TCustomEdit::WndProc(m);
  }
  Message.Result = m.Result;
  if (!c || c->IsContainerDestroying()) return;
  c->FLookupTextUpdating = false;
  if (!FKeyHandledByContainer && HandleAllocated() && !(SaveState() == before)) c->SetLookupSelection(false);
}

void TcxCustomInnerTextEdit::DefaultHandler(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  if (c && !c->IsContainerDestroying() && c->InnerControlDefaultHandler(Message)) return;
  if (Message.Msg == WM_CHAR && FImeState == 2 && !FPairDelivered) {
    // Both bytes of the character, one after the other.
    FPairDelivered = true;
    TCustomEdit::DefaultHandler(Message);
    TMessage trail{WM_CHAR, WPARAM(static_cast<unsigned char>(FImeTrail)), Message.LParam, 0};
    TCustomEdit::DefaultHandler(trail);
    return;
  }
  TCustomEdit::DefaultHandler(Message);
}

// ---- Messages

void TcxCustomInnerTextEdit::HandleClipboard(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  if (!c) {
    TCustomEdit::WndProc(Message);
    return;
  }
  const bool readOnly = GetReadOnly();
  const bool wasUser = c->IsUserChange();
  c->SetUserChange(true);
  TScopeExit Restore([c, wasUser] { c->SetUserChange(wasUser); });
  switch (Message.Msg) {
    case WM_CUT:
      if (readOnly)
        c->CopyToClipboard();
      else
        c->CutToClipboard();
      break;
    case WM_PASTE:
      if (!readOnly) c->PasteFromClipboard();
      break;
    default:
      if (!readOnly) c->ClearSelection();
      break;
  }
}

bool TcxCustomInnerTextEdit::HandleContainerDrag(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  if (!c || c->GetDragMode() != dmAutomatic || c->IsDesigning()) return false;
  (void)Message;
  c->BeginDrag(false, -1);
  return true;
}

void TcxCustomInnerTextEdit::WndProc(TMessage& Message)
{
  TcxCustomTextEdit* c = GetContainer();
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: HandleKeyDown(Message); return;
    case WM_CHAR: HandleChar(Message); return;
    case WM_GETDLGCODE:
      TCustomEdit::WndProc(Message);
      Message.Result |= DLGC_WANTCHARS;
      if (Windows::GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      if (c && (c->IsInplace() || c->KeepsFocusOnTab())) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_SETFOCUS: {
      TCustomEdit::WndProc(Message);
      const HWND from = reinterpret_cast<HWND>(Message.WParam);
      if (c && !c->IsContainerDestroying() && !(c->HandleAllocated() && from == c->GetHandle())) c->FocusChanged();
      return;
    }
    case WM_KILLFOCUS:
      FPendingLead = 0;
      TCustomEdit::WndProc(Message);
      if (c && !c->IsContainerDestroying()) c->FocusChanged();
      return;
    case WM_SIZE:
      TCustomEdit::WndProc(Message);
      AdjustMargins();
      return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_CONTEXTMENU:
      if (c && !c->HasInnerEditRect()) return;
      break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR: HandleClipboard(Message); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (HandleContainerDrag(Message)) return;
      break;
    case CM_MOUSEENTER:
      TCustomEdit::WndProc(Message);
      MouseEnter(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case CM_MOUSELEAVE:
      TCustomEdit::WndProc(Message);
      MouseLeave(reinterpret_cast<TControl*>(Message.LParam));
      return;
    default: break;
  }
  TCustomEdit::WndProc(Message);
}

// ---- Mouse, drag and actions: the container's, in its coordinates

void TcxCustomInnerTextEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomEdit::MouseDown(Button, Shift, X, Y);
  TcxCustomTextEdit* c = GetContainer();
  if (!c) return;
  TValueGuard innerDown(c->FInnerMouseDown, true);
  c->MouseDown(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerTextEdit::MouseMove(TShiftState Shift, int X, int Y)
{
  TCustomEdit::MouseMove(Shift, X, Y);
  if (TcxCustomTextEdit* c = GetContainer()) c->MouseMove(Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerTextEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomEdit::MouseUp(Button, Shift, X, Y);
  if (TcxCustomTextEdit* c = GetContainer()) c->MouseUp(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerTextEdit::Click()
{
  TCustomEdit::Click();
  if (TcxCustomTextEdit* c = GetContainer()) c->Click();
}

void TcxCustomInnerTextEdit::DblClick()
{
  TCustomEdit::DblClick();
  if (TcxCustomTextEdit* c = GetContainer()) c->DblClick();
}

void TcxCustomInnerTextEdit::DoContextPopup(POINT MousePos, bool& Handled)
{
  TcxCustomTextEdit* c = GetContainer();
  if (!c) {
    TCustomEdit::DoContextPopup(MousePos, Handled);
    return;
  }
  if (MousePos.x != -1 || MousePos.y != -1) {
    MousePos.x += GetLeft();
    MousePos.y += GetTop();
  }
  c->DoContextPopup(MousePos, Handled);
}

void TcxCustomInnerTextEdit::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  if (TcxCustomTextEdit* c = GetContainer()) c->DragOver(Source, X + GetLeft(), Y + GetTop(), State, Accept);
}

void TcxCustomInnerTextEdit::DragDrop(TObject* Source, int X, int Y)
{
  if (TcxCustomTextEdit* c = GetContainer()) c->DragDrop(Source, X + GetLeft(), Y + GetTop());
}

bool TcxCustomInnerTextEdit::ExecuteAction(TBasicAction* Action)
{
  if (TCustomEdit::ExecuteAction(Action)) return true;
  TcxCustomTextEdit* c = GetContainer();
  return c && c->GetDataBinding()->ExecuteAction(static_cast<TObject*>(Action));
}

bool TcxCustomInnerTextEdit::UpdateAction(TBasicAction* Action)
{
  if (TCustomEdit::UpdateAction(Action)) return true;
  TcxCustomTextEdit* c = GetContainer();
  return c && c->GetDataBinding()->UpdateAction(static_cast<TObject*>(Action));
}

void TcxCustomInnerTextEdit::MouseLeave(TControl*)
{
  if (TcxCustomTextEdit* c = GetContainer()) c->ShortRefreshContainer(true);
}

PELTO_DEFINE_CLASS(TcxCustomInnerTextEdit)
