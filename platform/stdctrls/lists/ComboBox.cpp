#include "platform/stdctrls/lists/ComboBox.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/StdCtrlsUtil.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

// ---- TComboBoxStrings ---------------------------------------------------------------------------

namespace {
const TItemMessages kComboBoxMessages{CB_GETCOUNT,     CB_GETLBTEXT,      CB_GETLBTEXTLEN, CB_GETITEMDATA,
                                      CB_SETITEMDATA,  CB_ADDSTRING,      CB_INSERTSTRING, CB_DELETESTRING,
                                      CB_RESETCONTENT, CB_FINDSTRINGEXACT};
}  // namespace

TComboBoxStrings::TComboBoxStrings(TCustomComboBox* ACombo, TStringList* ASaved)
    : TItemStrings(ACombo, ASaved, kComboBoxMessages), FCombo(ACombo)
{}

void TComboBoxStrings::Clear()
{
  if (!HasWindow()) {
    TItemStrings::Clear();
    return;
  }
  AnsiString text = FCombo->GetText();
  TItemStrings::Clear();
  FCombo->SetText(text);
}

// ---- TCustomComboBox ----------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FSaved(std::make_unique<TStringList>()),
      FItems(std::make_unique<TComboBoxStrings>(this, FSaved.get())), FCanvas(std::make_unique<TCanvas>())
{
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FSaved->SetDuplicates(dupAccept);
  FItemHeight = StdCtrlsUtil::FontMetrics(GetFont()).tmHeight;
}

TCustomComboBox::~TCustomComboBox() = default;

LRESULT TCustomComboBox::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case csSimple: Params.Style |= CBS_SIMPLE; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (FSorted) Params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd()
{
  AnsiString text = FText;
  TWinControl::CreateWnd();
  Send(CB_LIMITTEXT, WPARAM(FMaxLength));
  Send(CB_SETMINVISIBLE, WPARAM(FDropDownCount));
  for (int i = 0; i < FSaved->GetCount(); ++i) {
    LRESULT at = Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((*FSaved)[i].c_str()));
    if (at >= 0) Send(CB_SETITEMDATA, WPARAM(at), reinterpret_cast<LPARAM>(FSaved->GetObjects(i)));
  }
  FSaved->Clear();
  if (FSavedItemIndex >= 0) {
    LRESULT at = Send(CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(FSavedItemText.c_str()));
    Send(CB_SETCURSEL, WPARAM(at >= 0 ? at : FSavedItemIndex));
  } else if (HasEdit())
    Windows::SetWindowText(GetHandle(), text.c_str());
  // The edit's keys pass through the control first.
  FEdit = HasEdit() ? ComboBox::EditOf(GetHandle()) : nullptr;
  if (FEdit)
    FEditDefProc = reinterpret_cast<WNDPROC>(
        Windows::SetWindowLongPtr(FEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
}

void TCustomComboBox::SetDropDownCount(int Value)
{
  FDropDownCount = std::max(Value, 1);
  if (HandleAllocated()) Send(CB_SETMINVISIBLE, WPARAM(FDropDownCount));
}

void TCustomComboBox::DestroyWnd()
{
  FSavedItemIndex = GetItemIndex();
  FSavedItemText = FSavedItemIndex >= 0 ? FItems->GetStrings(FSavedItemIndex) : AnsiString();
  FSaved->Clear();
  for (int i = 0, n = int(Send(CB_GETCOUNT)); i < n; ++i)
    FSaved->AddObject(FItems->GetStrings(i), reinterpret_cast<TObject*>(Send(CB_GETITEMDATA, WPARAM(i))));
  if (FEdit && FEditDefProc) Windows::SetWindowLongPtr(FEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditDefProc));
  FEdit = nullptr;
  TWinControl::DestroyWnd();
}

LRESULT TCustomComboBox::EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto* combo = dynamic_cast<TCustomComboBox*>(Controls::FindControl(Windows::GetParent(Wnd)));
  if (!combo || !combo->FEditDefProc) return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  return combo->EditWndProc(Wnd, Msg, WParam, LParam);
}

LRESULT TCustomComboBox::EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  TMessage m{Msg, WParam, LParam, 0};
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(m)) return 0;
      break;
    case WM_CHAR:
      if (DoKeyPress(m)) return 0;
      break;
    default: break;
  }
  return Windows::CallWindowProc(FEditDefProc, Wnd, Msg, m.WParam, LParam);
}

// ---- Properties ---------------------------------------------------------------------------------

int TCustomComboBox::GetItemIndex() { return HandleAllocated() ? int(Send(CB_GETCURSEL)) : FSavedItemIndex; }

void TCustomComboBox::SetItemIndex(int Value)
{
  if (!HandleAllocated()) {
    FSavedItemIndex = Value;
    FSavedItemText = Value >= 0 && Value < FSaved->GetCount() ? (*FSaved)[Value] : AnsiString();
    if (Value >= 0) FText = FSavedItemText;
    return;
  }
  Send(CB_SETCURSEL, WPARAM(Value));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

bool TCustomComboBox::GetDroppedDown() { return HandleAllocated() && Send(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value) { Send(CB_SHOWDROPDOWN, Value); }

void TCustomComboBox::SetSorted(bool Value)
{
  if (FSorted == Value) return;
  FSorted = Value;
  FSaved->SetSorted(Value);
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value)
{
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Send(CB_LIMITTEXT, WPARAM(FMaxLength));
}

void TCustomComboBox::SetItemHeight(int Value)
{
  if (Value <= 0 || Value == FItemHeight) return;
  FItemHeight = Value;
  RecreateWnd();
}

int TCustomComboBox::GetSelStart()
{
  DWORD start = 0;
  Send(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return int(start);
}

void TCustomComboBox::SetSelStart(int Value) { Send(CB_SETEDITSEL, 0, MAKELPARAM(Value, Value)); }

int TCustomComboBox::GetSelLength()
{
  DWORD start = 0, end = 0;
  Send(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(end) - int(start);
}

void TCustomComboBox::SetSelLength(int Value)
{
  int start = GetSelStart();
  Send(CB_SETEDITSEL, 0, MAKELPARAM(start, start + Value));
}

void TCustomComboBox::SelectAll() { Send(CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF)); }

void TCustomComboBox::Clear()
{
  FItems->Clear();
  SetText(AnsiString());
}

// ---- Events -------------------------------------------------------------------------------------

void TCustomComboBox::Change()
{
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown()
{
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); return;
    case CN_DRAWITEM: CNDrawItem(Message); return;
    case CN_MEASUREITEM: CNMeasureItem(Message); return;
    default: TWinControl::Dispatch(Message);
  }
}

void TCustomComboBox::CNCommand(TMessage& Message)
{
  switch (HIWORD(Message.WParam)) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE:
      if (!FSettingText) Change();
      break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_SELCHANGE: {
      // The window's text is still the old one here: the chosen line's text is shown first.
      int index = GetItemIndex();
      if (index >= 0 && HasEdit()) {
        TValueGuard setting(FSettingText, true);
        Windows::SetWindowText(GetHandle(), FItems->GetStrings(index).c_str());
      }
      Click();
      Select();
      break;
    }
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
  }
}

bool TCustomComboBox::SelectItem(const AnsiString& Typed)
{
  if (Typed.empty()) return false;
  LRESULT found = Send(CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(Typed.c_str()));
  if (found < 0) return false;
  bool moved = found != GetItemIndex();
  Send(CB_SETCURSEL, WPARAM(found));
  AnsiString line = FItems->GetStrings(int(found));
  // The typed part keeps its letters; the completion follows, selected.
  AnsiString text = Typed + line.substr(std::min(Typed.size(), line.size()));
  {
    TValueGuard setting(FSettingText, true);
    Windows::SetWindowText(GetHandle(), text.c_str());
  }
  Send(CB_SETEDITSEL, 0, MAKELPARAM(int(Typed.size()), int(text.size())));
  if (moved) {
    Click();
    Select();
  } else
    Change();
  return true;
}

void TCustomComboBox::KeyPress(char& Key)
{
  TWinControl::KeyPress(Key);
  if (!FAutoComplete || !HasEdit() || Key == 0) return;
  unsigned char c = static_cast<unsigned char>(Key);
  if (c < 32 && !FLead) return;  // control keys stay with the edit
  AnsiString typed;
  if (FLead) {
    typed = AnsiString{FLead, Key};
    FLead = 0;
  } else if (System::IsLeadByte(Key)) {
    // A double-byte character completes once its trail byte comes.
    FLead = Key;
    Key = 0;
    return;
  } else
    typed = AnsiString(1, Key);
  AnsiString text = GetText();
  int start = std::clamp(GetSelStart(), 0, int(text.size()));
  AnsiString before = text.substr(0, std::size_t(start));
  // Completing only when typing at the end (the rest being the last completion).
  if (start + GetSelLength() >= int(text.size()) && SelectItem(before + typed)) {
    Key = 0;
    return;
  }
  if (typed.size() == 2) {
    // The lead byte was held back: the edit gets the whole character.
    Windows::SendMessage(FEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
    Key = 0;
  }
}

// ---- Owner drawing ------------------------------------------------------------------------------

void TCustomComboBox::CNDrawItem(TMessage& Message)
{
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState state = OwnerDrawStateOf(di->itemState);
  FCanvas->SetHandle(di->hDC);
  FCanvas->GetFont()->Assign(GetFont());
  FCanvas->GetBrush()->Assign(GetBrush());
  if (state.Contains(odSelected)) {
    FCanvas->GetBrush()->SetColor(clHighlight);
    FCanvas->GetFont()->SetColor(clHighlightText);
  }
  if (int(di->itemID) >= 0)
    DrawItem(int(di->itemID), di->rcItem, state);
  else
    FCanvas->FillRect(di->rcItem);
  if (state.Contains(odFocused)) FCanvas->DrawFocusRect(di->rcItem);
  FCanvas->SetHandle(nullptr);
  Message.Result = TRUE;
}

void TCustomComboBox::CNMeasureItem(TMessage& Message)
{
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = FItemHeight;
  if (FStyle == csOwnerDrawVariable) MeasureItem(int(mi->itemID), height);
  mi->itemHeight = UINT(std::max(height, 1));
  Message.Result = TRUE;
}

void TCustomComboBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->TextOut(Rect.left + 2, Rect.top, FItems->GetStrings(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}
