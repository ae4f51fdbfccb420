#include "platform/stdctrls/edits/Memo.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/win/queue/Messages.h"

namespace {

constexpr const char* kBreak = "\r\n";

// The memo's text split into lines: a trailing break adds no empty line.
std::unique_ptr<TStringList> SplitLines(const AnsiString& Text)
{
  auto list = std::make_unique<TStringList>();
  list->SetText(Text);
  return list;
}

AnsiString JoinLines(const TStringList& List)
{
  AnsiString text;
  for (int i = 0; i < List.GetCount(); ++i) {
    if (i) text += kBreak;
    text += List[i];
  }
  return text;
}

}  // namespace

// ---- TMemoStrings -------------------------------------------------------------------------------
// With a window the lines are the window's; before it, the memo's text split at the breaks.

Integer TMemoStrings::GetCount() const
{
  if (!FMemo->HandleAllocated()) return SplitLines(FMemo->GetText())->GetCount();
  HWND h = FMemo->GetHandle();
  int count = int(Windows::SendMessage(h, EM_GETLINECOUNT, 0, 0));
  // An empty last line (after a final break, or of an empty text) is no line.
  LRESULT last = Windows::SendMessage(h, EM_LINEINDEX, WPARAM(count - 1), 0);
  if (count > 0 && Windows::SendMessage(h, EM_LINELENGTH, WPARAM(last), 0) == 0) --count;
  return count;
}

AnsiString TMemoStrings::Get(Integer Index) const
{
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
  if (!FMemo->HandleAllocated()) return (*SplitLines(FMemo->GetText()))[Index];
  HWND h = FMemo->GetHandle();
  int start = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Index), 0));
  int length = int(Windows::SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
  // EM_GETLINE's buffer states its size in a WORD: a longer line is read from the text.
  if (length > 0xFFFF) return FMemo->GetText().substr(std::size_t(start), std::size_t(length));
  AnsiString line(std::size_t(std::max(length, 2)), '\0');
  *reinterpret_cast<WORD*>(line.data()) = WORD(line.size());
  LRESULT got = Windows::SendMessage(h, EM_GETLINE, WPARAM(Index), reinterpret_cast<LPARAM>(line.data()));
  line.resize(std::size_t(got));
  return line;
}

void TMemoStrings::Put(Integer Index, const AnsiString& S)
{
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
  if (!FMemo->HandleAllocated()) {
    auto lines = SplitLines(FMemo->GetText());
    lines->SetStrings(Index, S);
    FMemo->SetText(JoinLines(*lines));
    return;
  }
  HWND h = FMemo->GetHandle();
  int start = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Index), 0));
  int length = int(Windows::SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
  Windows::SendMessage(h, EM_SETSEL, WPARAM(start), LPARAM(start + length));
  Windows::SendMessage(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
}

void TMemoStrings::Insert(Integer Index, const AnsiString& S)
{
  int count = GetCount();
  if (Index < 0 || Index > count) Error("List index out of bounds (%d)", Index);
  if (!FMemo->HandleAllocated()) {
    auto lines = SplitLines(FMemo->GetText());
    lines->Insert(Index, S);
    FMemo->SetText(JoinLines(*lines));
    return;
  }
  HWND h = FMemo->GetHandle();
  int at = 0;
  AnsiString piece;
  if (Index < count) {
    at = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Index), 0));
    piece = S + kBreak;
  } else if (count < int(Windows::SendMessage(h, EM_GETLINECOUNT, 0, 0))) {
    // The empty last line (after a final break, or of an empty text) takes the new line.
    at = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(count), 0));
    piece = S;
  } else {
    at = int(Windows::SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
    piece = kBreak + S;
  }
  Windows::SendMessage(h, EM_SETSEL, WPARAM(at), LPARAM(at));
  Windows::SendMessage(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(piece.c_str()));
}

void TMemoStrings::Delete(Integer Index)
{
  int count = GetCount();
  if (Index < 0 || Index >= count) Error("List index out of bounds (%d)", Index);
  if (!FMemo->HandleAllocated()) {
    auto lines = SplitLines(FMemo->GetText());
    lines->Delete(Index);
    FMemo->SetText(JoinLines(*lines));
    return;
  }
  HWND h = FMemo->GetHandle();
  int from = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Index), 0));
  int to = 0;
  if (Index + 1 < int(Windows::SendMessage(h, EM_GETLINECOUNT, 0, 0)))
    to = int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Index + 1), 0));
  else {
    // The last line goes with the break before it.
    AnsiString text = FMemo->GetText();
    to = int(text.size());
    if (from >= 2 && text.compare(std::size_t(from - 2), 2, kBreak) == 0) from -= 2;
  }
  Windows::SendMessage(h, EM_SETSEL, WPARAM(from), LPARAM(to));
  Windows::SendMessage(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear() { FMemo->SetText(AnsiString()); }

AnsiString TMemoStrings::GetText() const { return FMemo->GetText(); }

void TMemoStrings::SetText(const AnsiString& Value) { FMemo->SetText(Value); }

void TMemoStrings::SetUpdateState(bool Updating)
{
  if (!FMemo->HandleAllocated()) return;
  Windows::SendMessage(FMemo->GetHandle(), WM_SETREDRAW, !Updating, 0);
  if (!Updating) FMemo->Refresh();
}

// ---- TCustomMemo --------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this))
{
  ControlStyle.Exclude(csFixedHeight);
  SetAutoSize(false);
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

void TCustomMemo::CreateParams(TCreateParams& Params)
{
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
}

void TCustomMemo::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value)
{
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TCustomMemo::SetWantReturns(bool Value)
{
  if (FWantReturns == Value) return;
  FWantReturns = Value;
  RecreateWnd();
}

POINT TCustomMemo::GetCaretPos()
{
  HWND h = GetHandle();
  DWORD start = 0, end = 0;
  Windows::SendMessage(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  int line = int(Windows::SendMessage(h, EM_LINEFROMCHAR, WPARAM(end), 0));
  int column = int(end) - int(Windows::SendMessage(h, EM_LINEINDEX, WPARAM(line), 0));
  return POINT{column, line};
}

void TCustomMemo::SetCaretPos(POINT Value)
{
  HWND h = GetHandle();
  LRESULT start = Windows::SendMessage(h, EM_LINEINDEX, WPARAM(Value.y), 0);
  if (start < 0) return;
  int at = int(start) + Value.x;
  Windows::SendMessage(h, EM_SETSEL, WPARAM(at), LPARAM(at));
}

void TCustomMemo::WndProc(TMessage& Message)
{
  TCustomEdit::WndProc(Message);
  if (Message.Msg == WM_GETDLGCODE) {
    if (FWantTabs)
      Message.Result |= DLGC_WANTTAB;
    else
      Message.Result &= ~LRESULT(DLGC_WANTTAB);
    if (!FWantReturns) Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
  }
}

void TCustomMemo::KeyPress(char& Key)
{
  TCustomEdit::KeyPress(Key);
  if (Key == '\r' && !FWantReturns) Key = 0;
  if (Key == '\t' && !FWantTabs) Key = 0;
}
