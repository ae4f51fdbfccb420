// Sections: shared helpers -> base mode -> standard mode -> regular-expression mode -> extended
// regular-expression mode.
//
// The regular-expression modes rebuild the split of head (fed) and tail (not fed) at the caret
// at the start of every operation, and put the resulting text in place themselves: the visible
// results are those of feeding character by character, whatever the inner edit did before.
#include "controls/editors/maskedit/cxMaskEditModes.h"

#include <algorithm>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

// ---- Shared helpers

namespace {

bool IsTrail(unsigned char B) { return (B >= 0x40 && B <= 0x7E) || (B >= 0x80 && B <= 0xFE); }
bool IsLead(unsigned char B) { return B >= 0x81 && B <= 0xFE; }

// The length of the character at APos (1 or 2; 0 at or past the end).
int CharLenAt(const AnsiString& S, int APos)
{
  if (APos < 0 || APos >= int(S.size())) return 0;
  return (IsLead(static_cast<unsigned char>(S[size_t(APos)])) && APos + 1 < int(S.size())) ? 2 : 1;
}

// The start of the character before APos.
int PrevCharPos(const AnsiString& S, int APos)
{
  if (APos <= 0) return 0;
  int i = 0, prev = 0;
  while (i < APos) {
    prev = i;
    i += std::max(1, CharLenAt(S, i));
  }
  return prev;
}

}  // namespace

AnsiString cxMaskEditModes::RepairHalves(const AnsiString& AText, char ABlank)
{
  AnsiString r = AText;
  for (size_t i = 0; i < r.size();) {
    if (!IsLead(static_cast<unsigned char>(r[i]))) {
      ++i;
      continue;
    }
    if (i + 1 < r.size() && IsTrail(static_cast<unsigned char>(r[i + 1]))) {
      i += 2;
      continue;
    }
    r[i] = ABlank;
    ++i;
  }
  return r;
}

AnsiString cxMaskEditModes::ErrorsText(const TcxRegExprErrors& AErrors)
{
  AnsiString r = cxResourceStrings::GetResourceString(cxEditConsts::sMaskEditRegExprError);
  for (int i = 0; i < AErrors.Count(); ++i) r += "\r\n" + AErrors.Items(i).Text();
  return r;
}

// ---- Base mode

TcxMaskEditCustomMode::TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : FEdit(AEdit), FProperties(AProperties)
{
  if (AProperties) FCharCase = AProperties->GetCharCase();
}

void TcxMaskEditCustomMode::Beep()
{
  if (FProperties && FProperties->GetBeepOnError()) Windows::MessageBeep(0);
}

bool TcxMaskEditCustomMode::HasEdit()
{
  return FEdit && !FEdit->GetComponentState().Contains(csDesigning) && FEdit->GetInnerTextEdit() != nullptr;
}

AnsiString TcxMaskEditCustomMode::Text() { return FEdit ? FEdit->GetDisplayValueText() : AnsiString(); }

void TcxMaskEditCustomMode::ShowText(const AnsiString& AText)
{
  if (FEdit) FEdit->ShowModeText(AText);
}

int TcxMaskEditCustomMode::SelStart()
{
  IcxInnerTextEdit* inner = FEdit ? FEdit->GetInnerTextEdit() : nullptr;
  return inner ? inner->GetSelStart() : 0;
}

int TcxMaskEditCustomMode::SelLength()
{
  IcxInnerTextEdit* inner = FEdit ? FEdit->GetInnerTextEdit() : nullptr;
  return inner ? inner->GetSelLength() : 0;
}

void TcxMaskEditCustomMode::SetSelection(int AStart, int ALength)
{
  IcxInnerTextEdit* inner = FEdit ? FEdit->GetInnerTextEdit() : nullptr;
  if (!inner) return;
  inner->SetSelStart(AStart);
  inner->SetSelLength(ALength);
}

char TcxMaskEditCustomMode::PendingTrail()
{
  IcxInnerTextEdit* inner = FEdit ? FEdit->GetInnerTextEdit() : nullptr;
  return inner ? inner->GetImeLastChar() : char(0);
}

bool TcxMaskEditCustomMode::ShiftHeld() { return FEdit && FEdit->GetShiftHeld(); }

void TcxMaskEditCustomMode::ClearShift()
{
  if (FEdit) FEdit->SetShiftHeld(false);
}

void TcxMaskEditCustomMode::RefreshText()
{
  if (!HasEdit()) return;
  AnsiString text;
  if (FEdit->GetEditModified()) {
    text = FormatText(Text());
  } else {
    Variant display;
    FProperties->PrepareDisplayValue(FEdit->GetEditValue(), display, FEdit->HasEditFocus());
    text = Variants::VarToStr(display);
  }
  ShowText(text);
}

// ---- Standard mode

int TcxMaskEditStandardMode::CharLen(const AnsiString& AText, int APos) { return CharLenAt(AText, APos); }

bool TcxMaskEditStandardMode::IsLiteral(int APos) const
{
  if (APos < 0 || APos >= FStandardMask.ItemCount()) return false;
  return dynamic_cast<const TcxStandardMaskLiteralItem*>(FStandardMask.Items(APos)) != nullptr;
}

void TcxMaskEditStandardMode::SetMask(const AnsiString& AMask)
{
  FMask = AMask;
  if (AMask.empty())
    FStandardMask.Clear();
  else
    FStandardMask.SetMask(AMask);
  FInitialText = !HasEdit();
}

AnsiString TcxMaskEditStandardMode::Fill(const AnsiString& AText, bool AAdjustCase) const
{
  const int count = FStandardMask.ItemCount();
  AnsiString result = FStandardMask.Template();
  std::vector<bool> filled(size_t(count), false);
  const char blank = FStandardMask.GetBlank();
  for (int i = 0; i < int(AText.size());) {
    const int len = std::max(1, CharLenAt(AText, i));
    if (len == 2) {
      // Both bytes, in two free places next to each other that take them.
      for (int pos = 0; pos + 1 < count; ++pos) {
        if (filled[size_t(pos)] || filled[size_t(pos) + 1]) continue;
        char a = AText[size_t(i)], b = AText[size_t(i) + 1];
        if (FStandardMask.Items(pos)->Check(a) && FStandardMask.Items(pos + 1)->Check(b)) {
          result[size_t(pos)] = AText[size_t(i)];
          result[size_t(pos) + 1] = AText[size_t(i) + 1];
          filled[size_t(pos)] = filled[size_t(pos) + 1] = true;
          break;
        }
      }
      i += 2;
      continue;
    }
    const char typed = AText[size_t(i)];
    for (int pos = 0; pos < count; ++pos) {
      if (filled[size_t(pos)]) continue;
      char c = typed;
      if (FStandardMask.Items(pos)->Check(c)) {
        result[size_t(pos)] = AAdjustCase ? c : typed;
        filled[size_t(pos)] = true;
        break;
      }
      if ((typed == blank || typed == ' ') && !IsLiteral(pos)) {
        filled[size_t(pos)] = true;
        break;
      }
    }
    ++i;
  }
  return cxMaskEditModes::RepairHalves(result, blank);
}

AnsiString TcxMaskEditStandardMode::FormatText(const AnsiString& AText)
{
  return Fill(cxTextEdit::ApplyCharCase(AText, FCharCase), true);
}

AnsiString TcxMaskEditStandardMode::TextToValue(const AnsiString& AText)
{
  if (FStandardMask.ItemCount() == 0) return AText;
  AnsiString s = Fill(AText, FCharCase == ecNormal);
  FStandardMask.ToValue(s);
  return s;
}

bool TcxMaskEditStandardMode::IsValid(const AnsiString& AText)
{
  AnsiString s = AText;
  if (FStandardMask.IsValid(s)) return true;
  return FProperties && FProperties->GetIgnoreMaskBlank() && AText == FormatText(AnsiString());
}

void TcxMaskEditStandardMode::ShowInitialText()
{
  if (!FInitialText) return;
  FInitialText = false;
  ShowText(EmptyText());
}

void TcxMaskEditStandardMode::CaretMoved()
{
  if (!HasEdit() || !FEdit->HandleAllocated() || !FEdit->IsMasked() || SelLength() != 0) return;
  const int caret = SelStart();
  const int len = CharLen(Text(), caret);
  if (len > 0) SetSelection(caret, len);
}

void TcxMaskEditStandardMode::RefreshText()
{
  TcxMaskEditCustomMode::RefreshText();
  CaretMoved();
}

bool TcxMaskEditStandardMode::CaretAtBegin()
{
  int first = 0;
  while (first < FStandardMask.ItemCount() && IsLiteral(first)) ++first;
  return SelStart() <= first;
}

bool TcxMaskEditStandardMode::CaretAtEnd() { return SelStart() >= int(Text().size()); }

void TcxMaskEditStandardMode::BeforePaste()
{
  FPasteCaret = SelStart();
  const int len = int(Text().size());
  SetSelection(FPasteCaret, std::max(0, std::min(FClipboardTextLength, len - FPasteCaret)));
}

void TcxMaskEditStandardMode::AfterPaste()
{
  // The pasted text is put through the mask again.
  const AnsiString text = FormatText(Text());
  ShowText(text);
  const int len = int(text.size());
  int caret = std::max(0, std::min(FPasteCaret + FClipboardTextLength, len - 1));
  caret = PrevCharPos(text, caret + 1) == caret ? caret : PrevCharPos(text, caret);
  SetSelection(caret, 0);
  FClipboardTextLength = 0;
  if (IsLiteral(caret)) {
    ClearShift();
    KeyRight();
  } else {
    CaretMoved();
  }
}

bool TcxMaskEditStandardMode::KeyChar(char& Ch)
{
  AnsiString text = Text();
  const int caret = SelStart();
  if (text.empty() || caret >= int(text.size())) return false;
  const char trail = PendingTrail();
  const char blank = FStandardMask.GetBlank();
  if (IsLiteral(caret)) {
    SetSelection(caret, 0);
    KeyRight();
    if (SelStart() != caret) return KeyChar(Ch);
    return false;
  }
  const int oldLen = std::max(1, CharLen(text, caret));
  if (trail != 0) {
    char a = Ch, b = trail;
    if (!IsPlace(caret + 1) || !FStandardMask.Items(caret)->Check(a) || !FStandardMask.Items(caret + 1)->Check(b)) {
      Beep();
      return false;
    }
    // A character that started at caret + 1 loses its lead: its trail place goes blank.
    if (CharLen(text, caret + oldLen) == 2 && oldLen == 1) text[size_t(caret) + 2] = blank;
    text[size_t(caret)] = Ch;
    text[size_t(caret) + 1] = trail;
  } else {
    char c = Ch;
    if (!FStandardMask.Items(caret)->Check(c)) {
      Beep();
      return false;
    }
    if (oldLen == 2) text[size_t(caret) + 1] = blank;
    text[size_t(caret)] = c;
  }
  ShowText(cxMaskEditModes::RepairHalves(text, blank));
  SetSelection(caret, 0);
  ClearShift();
  KeyRight();
  return false;
}

bool TcxMaskEditStandardMode::KeyDelete()
{
  AnsiString text = Text();
  const int caret = SelStart();
  int end = caret + SelLength();
  if (end == caret) end = caret + CharLen(text, caret);
  const char blank = FStandardMask.GetBlank();
  for (int i = caret; i < end && i < int(text.size()); ++i)
    if (!IsLiteral(i)) text[size_t(i)] = blank;
  ShowText(cxMaskEditModes::RepairHalves(text, blank));
  SetSelection(caret, 0);
  CaretMoved();
  return false;
}

bool TcxMaskEditStandardMode::KeyBackspace()
{
  if (SelLength() <= std::max(1, CharLen(Text(), SelStart()))) {
    KeyLeft();
    SetSelection(SelStart(), 0);
  }
  return KeyDelete();
}

bool TcxMaskEditStandardMode::KeyHome()
{
  if (ShiftHeld()) return true;
  SetSelection(0, 0);
  if (IsLiteral(0))
    KeyRight();
  else
    CaretMoved();
  return false;
}

bool TcxMaskEditStandardMode::KeyEnd()
{
  if (ShiftHeld()) return true;
  SetSelection(int(Text().size()), 0);
  return false;
}

bool TcxMaskEditStandardMode::ShiftedKey(const AnsiString& AText)
{
  if (!ShiftHeld()) return false;
  // The one-character cursor becomes a plain caret; the EDIT window extends from there.
  if (SelLength() == std::max(1, CharLen(AText, SelStart()))) SetSelection(SelStart(), 0);
  return true;
}

bool TcxMaskEditStandardMode::MoveCursor(int APos)
{
  SetSelection(APos, 0);
  CaretMoved();
  return false;
}

bool TcxMaskEditStandardMode::KeyLeft()
{
  const AnsiString text = Text();
  if (ShiftedKey(text)) return true;
  const int caret = SelStart(), length = SelLength();
  if (length > std::max(1, CharLen(text, caret))) {
    int pos = caret;
    while (pos < caret + length && IsLiteral(pos)) pos += std::max(1, CharLen(text, pos));
    if (pos >= caret + length) pos = caret + length >= int(text.size()) ? int(text.size()) : caret;
    return MoveCursor(pos);
  }
  int pos = PrevCharPos(text, caret);
  while (pos > 0 && IsLiteral(pos)) pos = PrevCharPos(text, pos);
  if (pos == caret || IsLiteral(pos)) pos = caret;
  return MoveCursor(pos);
}

bool TcxMaskEditStandardMode::KeyRight()
{
  const AnsiString text = Text();
  if (ShiftedKey(text)) return true;
  const int caret = SelStart(), length = SelLength();
  if (length > std::max(1, CharLen(text, caret))) {
    int pos = caret + length;
    if (pos < int(text.size())) {
      pos = PrevCharPos(text, pos);
      while (pos > caret && IsLiteral(pos)) pos = PrevCharPos(text, pos);
    }
    return MoveCursor(pos);
  }
  int pos = caret + CharLen(text, caret);
  while (pos < int(text.size()) && IsLiteral(pos)) pos += std::max(1, CharLen(text, pos));
  if (pos > int(text.size())) pos = caret;
  return MoveCursor(pos);
}

// ---- Regular-expression mode

TcxMaskEditRegExprMode::TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FRegExpr(std::make_unique<TcxRegExpr>())
{
  UpdateCaseInsensitive();
}

void TcxMaskEditRegExprMode::UpdateCaseInsensitive()
{
  if (FProperties) FRegExpr->SetCaseInsensitive(FProperties->GetCaseInsensitive());
}

void TcxMaskEditRegExprMode::SetMask(const AnsiString& AMask)
{
  if (!AMask.empty()) {
    auto expr = std::make_unique<TcxRegExpr>();
    expr->SetCaseInsensitive(FRegExpr->GetCaseInsensitive());
    expr->SetLiteralCompletion(FRegExpr->GetLiteralCompletion());
    expr->OnLiteralAdded = FRegExpr->OnLiteralAdded;
    expr->OnLiteralRemoved = FRegExpr->OnLiteralRemoved;
    try {
      expr->Compile(AMask);
    } catch (EcxRegExprError& e) {
      throw EcxMaskEditError(cxMaskEditModes::ErrorsText(e.GetErrors()));
    }
    FRegExpr = std::move(expr);
  } else {
    auto expr = std::make_unique<TcxRegExpr>();
    expr->SetCaseInsensitive(FRegExpr->GetCaseInsensitive());
    expr->OnLiteralAdded = FRegExpr->OnLiteralAdded;
    expr->OnLiteralRemoved = FRegExpr->OnLiteralRemoved;
    FRegExpr = std::move(expr);
  }
  FMask = AMask;
  FHead.clear();
  FTail.clear();
}

std::unique_ptr<TcxRegExpr> TcxMaskEditRegExprMode::CompilePrivate(bool ALiteralCompletion)
{
  auto expr = std::make_unique<TcxRegExpr>();
  if (FProperties) expr->SetCaseInsensitive(FProperties->GetCaseInsensitive());
  expr->SetLiteralCompletion(ALiteralCompletion);
  if (!FMask.empty()) expr->Compile(FMask);
  return expr;
}

bool TcxMaskEditRegExprMode::AcceptChar(AnsiString& ACh)
{
  if (ACh.size() == 1) {
    char c = ACh[0];
    if (!FRegExpr->Accept(c)) return false;
    ACh[0] = c;
    return true;
  }
  // A double-byte character: both bytes or nothing, and as typed (a trail byte never changes
  // its case).
  char a = ACh[0], b = ACh[1];
  if (!FRegExpr->Accept(a)) return false;
  if (!FRegExpr->Accept(b)) {
    FRegExpr->StepBack();
    return false;
  }
  return true;
}

void TcxMaskEditRegExprMode::StepBackChar(const AnsiString& ACh)
{
  for (size_t i = 0; i < ACh.size(); ++i) FRegExpr->StepBack();
}

void TcxMaskEditRegExprMode::Resync()
{
  FResync = false;
  const AnsiString text = Text();
  const int caret = std::min<int>(SelStart(), int(text.size()));
  FHead.clear();
  FTail = text;
  if (!IsCompiled()) return;
  FRegExpr->Restart();
  for (int i = 0; i < caret;) {
    const int len = std::max(1, CharLenAt(text, i));
    AnsiString ch = text.substr(size_t(i), size_t(len));
    AcceptChar(ch);
    FHead += text.substr(size_t(i), size_t(len));
    i += len;
  }
  FTail = text.substr(FHead.size());
}

bool TcxMaskEditRegExprMode::TailFits()
{
  int fed = 0;
  bool fits = true;
  for (int i = 0; i < int(FTail.size());) {
    const int len = std::max(1, CharLenAt(FTail, i));
    AnsiString ch = FTail.substr(size_t(i), size_t(len));
    if (!AcceptChar(ch)) {
      fits = false;
      break;
    }
    fed += len;
    i += len;
  }
  for (int i = 0; i < fed; ++i) FRegExpr->StepBack();
  return fits;
}

void TcxMaskEditRegExprMode::CutTail()
{
  ShowText(FHead);
  SetSelection(int(FHead.size()), 0);
  FTail.clear();
}

void TcxMaskEditRegExprMode::TakeSelection()
{
  FTakenSelection.clear();
  const int length = SelLength();
  if (length == 0) return;
  const int start = SelStart();
  if (start == int(FHead.size())) {
    FTakenSelection = FTail.substr(0, size_t(length));
    FTail.erase(0, size_t(length));
    FTakenFromTail = true;
  } else if (start + length == int(FHead.size())) {
    FTakenSelection = FHead.substr(size_t(start));
    FHead.resize(size_t(start));
    for (int i = 0; i < length; ++i) FRegExpr->StepBack();
    FTakenFromTail = false;
  }
}

void TcxMaskEditRegExprMode::PutBackSelection()
{
  if (FTakenSelection.empty()) return;
  if (FTakenFromTail) {
    FTail = FTakenSelection + FTail;
  } else {
    for (int i = 0; i < int(FTakenSelection.size());) {
      const int len = std::max(1, CharLenAt(FTakenSelection, i));
      AnsiString ch = FTakenSelection.substr(size_t(i), size_t(len));
      AcceptChar(ch);
      i += len;
    }
    FHead += FTakenSelection;
  }
  FTakenSelection.clear();
}

bool TcxMaskEditRegExprMode::KeyChar(char& Ch)
{
  if (!IsCompiled()) return true;
  Resync();
  TakeSelection();
  AnsiString ch(1, Ch);
  if (const char trail = PendingTrail()) ch += trail;
  if (!AcceptChar(ch)) {
    PutBackSelection();
    Beep();
    return false;
  }
  FHead += ch;
  if (!TailFits()) FTail.clear();
  FTakenSelection.clear();
  ShowText(FHead + FTail);
  SetSelection(int(FHead.size()), 0);
  return false;
}

bool TcxMaskEditRegExprMode::KeyBackspace()
{
  if (!IsCompiled()) return true;
  Resync();
  if (SelLength() > 0) {
    TakeSelection();
    FTakenSelection.clear();
  } else if (!FHead.empty()) {
    const int prev = PrevCharPos(FHead, int(FHead.size()));
    StepBackChar(FHead.substr(size_t(prev)));
    FHead.resize(size_t(prev));
  } else {
    return false;
  }
  const bool fits = TailFits();
  if (!fits) FTail.clear();
  ShowText(FHead + FTail);
  SetSelection(int(FHead.size()), 0);
  return false;
}

bool TcxMaskEditRegExprMode::KeyDelete()
{
  if (!IsCompiled()) return true;
  Resync();
  if (SelLength() > 0) return KeyBackspace();
  if (FTail.empty()) return false;
  FTail.erase(0, size_t(std::max(1, CharLenAt(FTail, 0))));
  if (!TailFits()) FTail.clear();
  ShowText(FHead + FTail);
  SetSelection(int(FHead.size()), 0);
  return false;
}

bool TcxMaskEditRegExprMode::KeyLeft()
{
  FResync = true;
  return true;
}

bool TcxMaskEditRegExprMode::KeyRight()
{
  FResync = true;
  return true;
}

bool TcxMaskEditRegExprMode::KeyHome()
{
  FResync = true;
  return true;
}

bool TcxMaskEditRegExprMode::KeyEnd()
{
  FResync = true;
  return true;
}

void TcxMaskEditRegExprMode::BeforeSelectAll() { FResync = true; }

void TcxMaskEditRegExprMode::SetText(const AnsiString&)
{
  if (IsCompiled()) FRegExpr->Restart();
  FResync = true;
  FClipboardTextLength = 0;
}

void TcxMaskEditRegExprMode::RefreshText()
{
  TcxMaskEditCustomMode::RefreshText();
  if (!HasEdit()) return;
  SetSelection(int(Text().size()), 0);
  FResync = true;
}

AnsiString TcxMaskEditRegExprMode::FormatText(const AnsiString& AText)
{
  if (!IsCompiled()) return AnsiString();
  const bool completion = FRegExpr->GetLiteralCompletion();
  FRegExpr->SetLiteralCompletion(false);
  FRegExpr->Restart();
  AnsiString result;
  for (int i = 0; i < int(AText.size());) {
    const int len = std::max(1, CharLenAt(AText, i));
    AnsiString ch = AText.substr(size_t(i), size_t(len));
    if (AcceptChar(ch)) result += ch;
    i += len;
  }
  FRegExpr->SetLiteralCompletion(completion);
  FResync = true;
  return result;
}

bool TcxMaskEditRegExprMode::IsValid(const AnsiString& AText)
{
  if (AText.empty()) return true;
  if (FMask.empty()) return true;
  std::unique_ptr<TcxRegExpr> expr = CompilePrivate(false);
  for (int i = 0; i < int(AText.size());) {
    const int len = std::max(1, CharLenAt(AText, i));
    char a = AText[size_t(i)];
    if (!expr->Accept(a)) return false;
    if (len == 2) {
      char b = AText[size_t(i) + 1];
      if (!expr->Accept(b)) return false;
    }
    i += len;
  }
  return (FProperties && FProperties->GetIgnoreMaskBlank()) || expr->IsComplete();
}

// ---- Extended regular-expression mode

TcxMaskEditRegExprExMode::TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditRegExprMode(AEdit, AProperties)
{
  FRegExpr->OnLiteralAdded = [this](TcxRegExpr*, char Ch) { FCompleted += Ch; };
  FRegExpr->OnLiteralRemoved = [this](TcxRegExpr*) { ++FRemoved; };
  Reset();
}

void TcxMaskEditRegExprExMode::Reset()
{
  FCompleted.clear();
  FRemoved = 0;
}

void TcxMaskEditRegExprExMode::SetMask(const AnsiString& AMask)
{
  TcxMaskEditRegExprMode::SetMask(AMask);
  FInitialText = !HasEdit();
}

namespace {

// The literals an expression forces after APrefix (fed without completion).
AnsiString ForcedAfter(TcxRegExpr& AExpr, AnsiString& ACollector, const AnsiString& APrefix)
{
  AExpr.SetLiteralCompletion(false);
  AExpr.Restart();
  for (int i = 0; i < int(APrefix.size()); ++i) {
    char c = APrefix[size_t(i)];
    if (!AExpr.Accept(c)) return AnsiString();
  }
  ACollector.clear();
  AExpr.SetLiteralCompletion(true);
  AnsiString forced = ACollector;
  AExpr.SetLiteralCompletion(false);
  return forced;
}

}  // namespace

AnsiString TcxMaskEditRegExprExMode::StartLiterals()
{
  if (!IsCompiled()) return AnsiString();
  return ForcedAfter(*FRegExpr, FCompleted, AnsiString());
}

AnsiString TcxMaskEditRegExprExMode::EmptyText() { return StartLiterals(); }

void TcxMaskEditRegExprExMode::ShowInitialText()
{
  if (!FInitialText) return;
  FInitialText = false;
  ShowText(StartLiterals());
}

AnsiString TcxMaskEditRegExprExMode::FormatText(const AnsiString& AText)
{
  if (!IsCompiled()) return AnsiString();
  const AnsiString accepted = TcxMaskEditRegExprMode::FormatText(AText);
  return accepted + ForcedAfter(*FRegExpr, FCompleted, accepted);
}

bool TcxMaskEditRegExprExMode::IsValid(const AnsiString& AText)
{
  if (!IsCompiled()) return true;
  if (AText == StartLiterals()) return true;
  if (AText.empty()) return FProperties && FProperties->GetIgnoreMaskBlank();
  return TcxMaskEditRegExprMode::IsValid(AText);
}

void TcxMaskEditRegExprExMode::Resync()
{
  // The caret never stands inside the literals the mask starts with.
  const AnsiString start = StartLiterals();
  const AnsiString text = Text();
  if (!start.empty() && text.compare(0, start.size(), start) == 0 && SelStart() < int(start.size())) {
    const int end = SelStart() + SelLength();
    SetSelection(int(start.size()), std::max(0, end - int(start.size())));
  }
  FRegExpr->SetLiteralCompletion(false);
  TcxMaskEditRegExprMode::Resync();
}

void TcxMaskEditRegExprExMode::FeedHead()
{
  FRegExpr->SetLiteralCompletion(false);
  FRegExpr->Restart();
  for (char c : AnsiString(FHead)) FRegExpr->Accept(c);
}

AnsiString TcxMaskEditRegExprExMode::BackOverForced(bool& ARemovedReal)
{
  AnsiString head = FHead;
  ARemovedReal = false;
  while (!head.empty()) {
    const AnsiString candidate = head.substr(0, size_t(PrevCharPos(head, int(head.size()))));
    const bool forced = candidate + ForcedAfter(*FRegExpr, FCompleted, candidate) == FHead;
    head = candidate;
    if (!forced) {
      ARemovedReal = true;
      break;
    }
  }
  return head;
}

void TcxMaskEditRegExprExMode::TestTail(int ACaret)
{
  if (TailFits()) {
    // The tail fed: the literals forced after the whole text are shown too.
    const AnsiString whole = FHead + FTail;
    FTail += ForcedAfter(*FRegExpr, FCompleted, whole);
  } else {
    FTail.clear();
  }
  ShowText(FHead + FTail);
  SetSelection(ACaret, 0);
}

bool TcxMaskEditRegExprExMode::KeyChar(char& Ch)
{
  if (!IsCompiled()) return true;
  Reset();
  Resync();
  TakeSelection();
  AnsiString ch(1, Ch);
  if (const char trail = PendingTrail()) ch += trail;
  if (!AcceptChar(ch)) {
    PutBackSelection();
    Beep();
    return false;
  }
  FTakenSelection.clear();
  FHead += ch;
  FHead += ForcedAfter(*FRegExpr, FCompleted, FHead);
  FeedHead();
  TestTail(int(FHead.size()));
  return false;
}

bool TcxMaskEditRegExprExMode::KeyBackspace()
{
  if (!IsCompiled()) return true;
  Reset();
  Resync();
  if (SelLength() > 0) {
    TakeSelection();
    FTakenSelection.clear();
  } else {
    // The character before the caret goes with the literals the mask forced after it.
    bool removedReal = false;
    const AnsiString head = BackOverForced(removedReal);
    if (!removedReal) {
      Beep();
      return false;
    }
    FHead = head;
  }
  FeedHead();
  TestTail(int(FHead.size()));
  return false;
}

bool TcxMaskEditRegExprExMode::KeyDelete()
{
  if (!IsCompiled()) return true;
  Reset();
  Resync();
  if (SelLength() > 0) return KeyBackspace();
  if (FTail.empty()) return false;
  if (FHead.empty() && !StartLiterals().empty()) {
    Beep();
    return false;
  }
  const int len = std::max(1, CharLenAt(FTail, 0));
  const AnsiString ch = FTail.substr(0, size_t(len));
  const AnsiString forced = ForcedAfter(*FRegExpr, FCompleted, FHead + ch);
  FTail.erase(0, size_t(len));
  if (!forced.empty() && FTail.compare(0, forced.size(), forced) == 0) FTail.erase(0, forced.size());
  FeedHead();
  TestTail(int(FHead.size()));
  return false;
}

bool TcxMaskEditRegExprExMode::KeyLeft()
{
  if (!IsCompiled() || ShiftHeld() || SelLength() > 0) return TcxMaskEditRegExprMode::KeyLeft();
  Reset();
  Resync();
  if (FHead.empty()) return true;
  // One character back, with the literals the mask forced after it.
  bool removedReal = false;
  SetSelection(int(BackOverForced(removedReal).size()), 0);
  FResync = true;
  return false;
}

bool TcxMaskEditRegExprExMode::KeyRight()
{
  if (!IsCompiled() || ShiftHeld() || SelLength() > 0) return TcxMaskEditRegExprMode::KeyRight();
  Reset();
  Resync();
  if (FTail.empty()) return true;
  const int len = std::max(1, CharLenAt(FTail, 0));
  AnsiString head = FHead + FTail.substr(0, size_t(len));
  const AnsiString rest = FTail.substr(size_t(len));
  const AnsiString forced = ForcedAfter(*FRegExpr, FCompleted, head);
  if (!forced.empty() && rest.compare(0, forced.size(), forced) == 0) head += forced;
  SetSelection(int(head.size()), 0);
  FResync = true;
  return false;
}

void TcxMaskEditRegExprExMode::SetText(const AnsiString& AText)
{
  TcxMaskEditRegExprMode::SetText(AText);
  Reset();
}
