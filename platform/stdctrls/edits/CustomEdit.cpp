#include "platform/stdctrls/edits/CustomEdit.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/StdCtrlsUtil.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
  ControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 21);
  SetAutoSize(true);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

// ---- Window -------------------------------------------------------------------------------------

void TCustomEdit::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd()
{
  TValueGuard creating(FCreating, true);
  TWinControl::CreateWnd();
  HWND h = GetHandle();
  Windows::SendMessage(h, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FPasswordChar) Windows::SendMessage(h, EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(FPasswordChar)), 0);
  Windows::SendMessage(h, EM_SETMODIFY, FSavedModified, 0);
  Windows::SendMessage(h, EM_SETSEL, WPARAM(FSavedSelStart), LPARAM(FSavedSelStart + FSavedSelLength));
}

void TCustomEdit::DestroyWnd()
{
  FSavedModified = GetModified();
  FSavedSelStart = GetSelStart();
  FSavedSelLength = GetSelLength();
  TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_COMMAND) {
    CNCommand(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomEdit::CNCommand(TMessage& Message)
{
  // The text given to a new window is no change of the user's.
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::Change()
{
  if (OnChange) OnChange(this);
}

void TCustomEdit::CMTextChanged(TMessage& Message)
{
  TWinControl::CMTextChanged(Message);
  // With a window EN_CHANGE tells; before it, the text change itself.
  if (!HandleAllocated()) Change();
}

void TCustomEdit::CMEnter(TMessage& Message)
{
  if (FAutoSelect && IsSingleLine() && !ControlState.Contains(csLButtonDown)) SelectAll();
  TWinControl::CMEnter(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message)
{
  TWinControl::CMFontChanged(Message);
  if (GetAutoSize()) AdjustHeight();
}

void TCustomEdit::SetAutoSize(bool Value)
{
  TWinControl::SetAutoSize(Value);
  if (Value) AdjustHeight();
}

void TCustomEdit::AdjustHeight()
{
  if (!IsSingleLine()) return;
  TEXTMETRICA tm = StdCtrlsUtil::FontMetrics(GetFont());
  // The text's height plus the sunken border and a little room above and below it.
  int border = FBorderStyle == bsSingle ? (GetCtl3D() ? 4 : 2) : 0;
  SetHeight(tm.tmHeight + border + (FBorderStyle == bsSingle ? 4 : 2));
}

// ---- Properties ---------------------------------------------------------------------------------

void TCustomEdit::SetReadOnly(bool Value)
{
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetMaxLength(int Value)
{
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetPasswordChar(char Value)
{
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
  if (FCharCase == Value) return;
  FCharCase = Value;
  // The text is converted in place: the selection and the modified flag stay.
  int start = GetSelStart(), length = GetSelLength();
  bool modified = GetModified();
  if (Value == ecUpperCase) SetText(SysUtils::AnsiUpperCase(GetText()));
  if (Value == ecLowerCase) SetText(SysUtils::AnsiLowerCase(GetText()));
  SetModified(modified);
  SetSelStart(start);
  SetSelLength(length);
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value)
{
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool Value)
{
  if (FOEMConvert == Value) return;
  FOEMConvert = Value;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (GetAutoSize()) AdjustHeight();
  RecreateWnd();
}

bool TCustomEdit::GetModified()
{
  if (!HandleAllocated()) return FSavedModified;
  return Windows::SendMessage(GetHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool Value)
{
  if (HandleAllocated())
    Windows::SendMessage(GetHandle(), EM_SETMODIFY, Value, 0);
  else
    FSavedModified = Value;
}

// ---- Selection ----------------------------------------------------------------------------------

int TCustomEdit::GetSelStart()
{
  if (!HandleAllocated()) return FSavedSelStart;
  DWORD start = 0;
  Windows::SendMessage(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return int(start);
}

void TCustomEdit::SetSelStart(int Value)
{
  if (!HandleAllocated()) {
    FSavedSelStart = Value;
    FSavedSelLength = 0;
    return;
  }
  Windows::SendMessage(GetHandle(), EM_SETSEL, WPARAM(Value), LPARAM(Value));
}

int TCustomEdit::GetSelLength()
{
  if (!HandleAllocated()) return FSavedSelLength;
  DWORD start = 0, end = 0;
  Windows::SendMessage(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(end) - int(start);
}

void TCustomEdit::SetSelLength(int Value)
{
  int start = GetSelStart();
  if (!HandleAllocated()) {
    FSavedSelLength = Value;
    return;
  }
  Windows::SendMessage(GetHandle(), EM_SETSEL, WPARAM(start), LPARAM(start + Value));
}

AnsiString TCustomEdit::GetSelText()
{
  AnsiString text = TWinControl::GetTextBuf();
  int start = std::clamp(GetSelStart(), 0, int(text.size()));
  int length = std::clamp(GetSelLength(), 0, int(text.size()) - start);
  return text.substr(std::size_t(start), std::size_t(length));
}

void TCustomEdit::SetSelText(const AnsiString& Value)
{
  Windows::SendMessage(GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll()
{
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() { Windows::SendMessage(GetHandle(), WM_CLEAR, 0, 0); }

void TCustomEdit::CopyToClipboard() { Windows::SendMessage(GetHandle(), WM_COPY, 0, 0); }

void TCustomEdit::CutToClipboard() { Windows::SendMessage(GetHandle(), WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { Windows::SendMessage(GetHandle(), WM_PASTE, 0, 0); }

void TCustomEdit::Undo()
{
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), EM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo()
{
  if (HandleAllocated()) Windows::SendMessage(GetHandle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

bool TCustomEdit::GetCanUndo() { return HandleAllocated() && Windows::SendMessage(GetHandle(), EM_CANUNDO, 0, 0) != 0; }

void TCustomEdit::Clear() { SetText(AnsiString()); }
