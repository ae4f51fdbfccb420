#include "platform/stdctrls/edits/MaskEdit.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/edits/MaskUtils.h"
#include "platform/win/queue/Messages.h"

using MaskUtils::SplitChars;
using MaskUtils::TEditMask;

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner), FMask(std::make_unique<TEditMask>()) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

bool TCustomMaskEdit::IsMasked() const { return FMask->IsMasked(); }

void TCustomMaskEdit::SetEditMask(const AnsiString& Value)
{
  if (Value == FEditMask) return;
  AnsiString value = GetTextBuf();
  auto mask = std::make_unique<TEditMask>(Value);
  FEditMask = Value;
  FMask = std::move(mask);
  if (IsMasked()) {
    // The box shows every position; the limit would cut double-byte ones short.
    SetMaxLength(0);
    SetEditText(FMask->Format(value, FMask->Blank()));
  } else
    SetEditText(value);
}

AnsiString TCustomMaskEdit::GetEditText() { return TCustomEdit::GetTextBuf(); }

void TCustomMaskEdit::SetEditText(const AnsiString& Value)
{
  if (GetEditText() == Value) return;
  TCustomEdit::SetTextBuf(Value);
  Perform(CM_TEXTCHANGED, 0, 0);
}

AnsiString TCustomMaskEdit::GetTextBuf()
{
  AnsiString shown = TCustomEdit::GetTextBuf();
  return IsMasked() ? FMask->Value(shown) : shown;
}

void TCustomMaskEdit::SetTextBuf(const AnsiString& Value)
{
  TCustomEdit::SetTextBuf(IsMasked() ? FMask->Format(Value, FMask->Blank()) : Value);
}

// ---- Validation ---------------------------------------------------------------------------------

bool TCustomMaskEdit::Validate(const AnsiString& Value, int& Pos)
{
  Pos = FMask->FirstInvalid(Value);
  return Pos < 0;
}

void TCustomMaskEdit::ValidateError()
{
  Windows::MessageBeep(0);
  throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::ValidateEdit()
{
  if (!IsMasked() || !GetModified()) return;
  AnsiString shown = GetEditText();
  int pos = 0;
  if (Validate(shown, pos)) return;
  if (!Focused() && CanFocus()) SetFocus();
  SetSelStart(ByteOffsetOf(shown, pos));
  SetSelLength(0);
  ValidateError();
}

void TCustomMaskEdit::Reset()
{
  if (!IsMasked() || !GetModified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}

// ---- Focus --------------------------------------------------------------------------------------

void TCustomMaskEdit::CMEnter(TMessage& Message)
{
  FOldValue = GetEditText();
  FLead = 0;
  TCustomEdit::CMEnter(Message);
  // Without AutoSelect the caret waits at the first place to fill.
  if (IsMasked() && !GetAutoSelect() && !ControlState.Contains(csLButtonDown))
    SetSelStart(ByteOffsetOf(GetEditText(), FMask->NextInput(0)));
}

void TCustomMaskEdit::CMExit(TMessage& Message)
{
  FLead = 0;
  ValidateEdit();
  TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::CMWantSpecialKey(TMessage& Message)
{
  // Escape undoes the box's changes before it may cancel a dialog.
  if (IsMasked() && Message.WParam == VK_ESCAPE && GetModified()) {
    Message.Result = 1;
    return;
  }
  TCustomEdit::CMWantSpecialKey(Message);
}

// ---- Typing -------------------------------------------------------------------------------------

int TCustomMaskEdit::CharIndexOf(const AnsiString& Text, int ByteOffset) const
{
  int index = 0;
  for (int i = 1; i <= int(Text.size()) && i <= ByteOffset; i = System::NextCharIndex(Text, i)) ++index;
  return index;
}

int TCustomMaskEdit::ByteOffsetOf(const AnsiString& Text, int CharIndex) const
{
  int i = 1;
  for (int n = 0; n < CharIndex && i <= int(Text.size()); ++n) i = System::NextCharIndex(Text, i);
  return std::min(i - 1, int(Text.size()));
}

void TCustomMaskEdit::CharSelection(int& From, int& To)
{
  AnsiString shown = GetEditText();
  int start = GetSelStart();
  From = CharIndexOf(shown, start);
  To = CharIndexOf(shown, start + GetSelLength());
}

void TCustomMaskEdit::Replace(const AnsiString& Text, int Caret)
{
  if (Text != GetEditText()) {
    SetEditText(Text);
    SetModified(true);
  }
  int at = ByteOffsetOf(Text, Caret);
  SetSelStart(at);
}

AnsiString TCustomMaskEdit::Blanked(const AnsiString& Text, int From, int To) const
{
  std::vector<AnsiString> chars = SplitChars(Text);
  AnsiString out;
  for (int i = 0; i < int(chars.size()); ++i) {
    bool blank = i >= From && i < To && i < FMask->Count() && !FMask->Item(i).Literal;
    out += blank ? AnsiString(1, FMask->Blank()) : chars[std::size_t(i)];
  }
  return out;
}

void TCustomMaskEdit::InputChar(AnsiString Ch)
{
  int from = 0, to = 0;
  CharSelection(from, to);
  AnsiString shown = Blanked(GetEditText(), from, to);
  std::vector<AnsiString> chars = SplitChars(shown);
  // Typing a literal where it stands steps over it.
  if (from < FMask->Count() && FMask->Item(from).Literal && FMask->Item(from).Char == Ch) {
    Replace(shown, from + 1);
    return;
  }
  int place = FMask->NextInput(from);
  if (place >= FMask->Count() || place >= int(chars.size()) || !FMask->Accepts(place, Ch)) {
    Windows::MessageBeep(0);
    if (from != to) Replace(shown, from);
    return;
  }
  chars[std::size_t(place)] = Ch;
  AnsiString text;
  for (const AnsiString& c : chars) text += c;
  int next = FMask->NextInput(place + 1);
  Replace(text, next < FMask->Count() ? next : place + 1);
}

void TCustomMaskEdit::DeleteKey(bool Back)
{
  int from = 0, to = 0;
  CharSelection(from, to);
  if (from == to) {
    if (Back) {
      from = FMask->PrevInput(from);
      if (from < 0) return;
    } else {
      from = FMask->NextInput(from);
      if (from >= FMask->Count()) return;
    }
    to = from + 1;
  }
  Replace(Blanked(GetEditText(), from, to), from);
}

void TCustomMaskEdit::Paste(const AnsiString& Clip)
{
  int from = 0, to = 0;
  CharSelection(from, to);
  std::vector<AnsiString> chars = SplitChars(Blanked(GetEditText(), from, to));
  int place = from;
  // Each pasted character goes to the next place that takes it; literals of the mask in the
  // pasted text match their own places.
  for (AnsiString c : SplitChars(Clip)) {
    if (place >= FMask->Count()) break;
    if (FMask->Item(place).Literal) {
      if (FMask->Item(place).Char == c) ++place;
      continue;
    }
    place = FMask->NextInput(place);
    if (place >= FMask->Count() || place >= int(chars.size())) break;
    if (!FMask->Accepts(place, c)) continue;
    chars[std::size_t(place)] = c;
    ++place;
  }
  AnsiString text;
  for (const AnsiString& c : chars) text += c;
  Replace(text, place);
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  if (Key == VK_ESCAPE && Shift.Empty()) {
    Reset();
    Key = 0;
  } else if (Key == VK_DELETE && !GetReadOnly()) {
    if (Shift.Contains(ssShift))
      CutToClipboard();
    else
      DeleteKey(false);
    Key = 0;
  }
}

void TCustomMaskEdit::KeyPress(char& Key)
{
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  if (GetReadOnly()) {
    // Copying stays with the window.
    if (Key != 3) Key = 0;
    return;
  }
  unsigned char c = static_cast<unsigned char>(Key);
  if (FLead) {
    AnsiString ch{FLead, Key};
    FLead = 0;
    InputChar(ch);
    Key = 0;
    return;
  }
  switch (c) {
    case 8: DeleteKey(true); break;
    case 3: return;  // Ctrl+C: the window copies
    case 22: PasteFromClipboard(); break;
    case 24: CutToClipboard(); break;
    case 13:
    case 27:
    case 9: break;
    default:
      if (c < 32) break;
      if (System::IsLeadByte(Key)) {
        FLead = Key;
        break;
      }
      InputChar(AnsiString(1, Key));
      break;
  }
  Key = 0;
}

void TCustomMaskEdit::WndProc(TMessage& Message)
{
  if (IsMasked() && !GetReadOnly()) {
    switch (Message.Msg) {
      case WM_PASTE: Paste(Clipbrd::Clipboard()->GetAsText()); return;
      case WM_CUT:
        if (GetSelLength() > 0) {
          CopyToClipboard();
          DeleteKey(false);
        }
        return;
      case WM_CLEAR:
        if (GetSelLength() > 0) DeleteKey(false);
        return;
      default: break;
    }
  }
  TCustomEdit::WndProc(Message);
}
