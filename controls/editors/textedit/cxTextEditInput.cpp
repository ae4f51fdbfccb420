// TcxCustomTextEdit's keys and mouse wheel: what may modify the text, the lookup completion
// while typing and deleting, and the navigation keys that move the lookup key.
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/win/WinUser.h"

namespace {

// Sets the inner edit's internal-updating flag for a key and clears it when the key is left over.
struct TInnerUpdating {
  IcxInnerTextEdit* Inner;
  explicit TInnerUpdating(IcxInnerTextEdit* AInner) : Inner(AInner)
  {
    if (Inner) Inner->SetInternalUpdating(true);
  }
  void KeyLeftOver()
  {
    if (Inner) Inner->SetInternalUpdating(false);
  }
};

}  // namespace

bool TcxCustomTextEdit::CanKeyDownModifyEdit(Word Key, TShiftState Shift)
{
  if (Key == VK_BACK || Key == VK_DELETE) return true;
  IcxTextEditLookupData* data = GetTextProperties()->UseLookupData() ? FILookupData : nullptr;
  if (!data || data->IsEmpty() || !CanSelectLookupItemByKey()) return false;
  if (Key == VK_PRIOR || Key == VK_NEXT) return !HasOpenPopup();
  if (Key == VK_UP || Key == VK_DOWN) return !Shift.Contains(ssAlt) && !HasOpenPopup();
  return false;
}

bool TcxCustomTextEdit::CanKeyPressModifyEdit(char Key)
{
  const auto c = static_cast<unsigned char>(Key);
  return c == 22 || c == 24 || c >= 32 || c == 8;
}

void TcxCustomTextEdit::KeyPress(char& Key)
{
  if (Key == 27 && FPopupJustClosed && !HasOpenPopup()) {
    // The Escape that closed the pop-up is not handled a second time.
    FPopupJustClosed = false;
    Key = 0;
    return;
  }
  TcxCustomEdit::KeyPress(Key);
}

void TcxCustomTextEdit::LookupKeyChanged(bool APost)
{
  DoClick();
  LockChangeEvents(true);
  TScopeExit Unlock([this] { LockChangeEvents(false, true); });
  if (!APost || !CanPostEditValue() || !GetProperties()->GetImmediatePost() || !ValidateEdit(true)) return;
  const bool lookupSelection = FLookupSelection;
  TValueGuard scrolling(FLookupScrolling, true);
  PostEditValue(false);
  FLookupSelection = lookupSelection;
}

void TcxCustomTextEdit::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  const int style = GetEditingStyle();
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (style == 2 && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DELETE)) {
    SetLookupSelection(false);
    if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
    Key = 0;
    return;
  }
  TInnerUpdating updating(inner);
  const bool lookupSelection = FLookupSelection;
  TcxCustomEdit::DoEditKeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == VK_RETURN && lookupSelection) SelectAll();
  if ((Key == VK_LEFT || Key == VK_RIGHT) && !Shift.Contains(ssShift) && inner && inner->GetSelLength() > 0) {
    const int pos = Key == VK_LEFT ? inner->GetSelStart() : inner->GetSelStart() + inner->GetSelLength();
    inner->SetSelStart(pos);
    inner->SetSelLength(0);
    Key = 0;
    SetLookupSelection(false);
    return;
  }
  if (Key == VK_DELETE) {
    if (style == 1) {
      if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
      Key = 0;
      return;
    }
    SetLookupSelection(false);
  }
  const bool navigation = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
  const bool homeEnd = Key == VK_HOME || Key == VK_END;
  if (navigation || (homeEnd && style == 2)) {
    IcxTextEditLookupData* data = GetTextProperties()->UseLookupData() ? FILookupData : nullptr;
    if (data && !data->IsEmpty() && CanSelectLookupItemByKey()) {
      const Variant before = data->GetSelectedKey();
      {
        TValueGuard user(FLookupTextUpdating, true);
        const bool ctrl = Shift.Contains(ssCtrl);
        switch (Key) {
          case VK_PRIOR: data->MoveSelection(ctrl ? lmdFirst : lmdPageUp); break;
          case VK_NEXT: data->MoveSelection(ctrl ? lmdLast : lmdPageDown); break;
          case VK_HOME: data->MoveSelection(lmdFirst); break;
          case VK_END: data->MoveSelection(lmdLast); break;
          case VK_UP: data->MoveSelection(lmdPrev); break;
          default: data->MoveSelection(lmdNext); break;
        }
      }
      if (!cxEdit::VarEqualsExact(before, data->GetSelectedKey())) LookupKeyChanged(true);
      Key = 0;
      return;
    }
    if (navigation && !(inner && inner->GetMultiLine())) {
      if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
      Key = 0;
      return;
    }
  }
  if (Key == VK_END && style != 2 && inner && inner->GetSelLength() == 0) SetLookupSelection(false);
  if (Key != 0) updating.KeyLeftOver();
}

void TcxCustomTextEdit::DoEditKeyPress(char& Key)
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  TInnerUpdating updating(inner);
  TcxCustomEdit::DoEditKeyPress(Key);
  if (Key == 0) return;
  FLookupTextUpdating = false;
  const int style = GetEditingStyle();
  TcxCustomTextEditProperties* p = GetTextProperties();
  IcxTextEditLookupData* data = p->UseLookupData() ? FILookupData : nullptr;
  const Variant keyBefore = data ? data->GetSelectedKey() : Variant::Null();
  bool searched = false, found = false;
  {
    const bool wasUser = IsUserChange();
    SetUserChange(true);
    TScopeExit Restore([this, wasUser] { SetUserChange(wasUser); });
    const auto c = static_cast<unsigned char>(Key);
    const bool incremental = p->GetIncrementalSearch();
    if (style == 2 && c == VK_BACK && !incremental) {
      Key = 0;
      SetLookupSelection(false);
    } else if (c == VK_BACK && data && inner) {
      const AnsiString text = GetDisplayValueText();
      if (style == 1 && !text.empty() && !FLookupSelection) {
        const int caret = inner->GetSelStart();
        inner->SetSelLength(0);
        inner->SetSelStart(caret);
        inner->SetSelLength(int(text.size()) - caret);
        FLookupSelection = true;
      }
      if (FLookupSelection) {
        AnsiString s = text.substr(0, size_t(inner->GetSelStart()));
        if (!s.empty()) s.erase(size_t(System::PrevCharIndex(s, int(s.size()) + 1) - 1));
        FLookupTextUpdating = true;
        searched = true;
        found = LookupFind(s);
        if (found) Key = 0;
      }
      if (style == 2) Key = 0;
    } else if (c > 31 && data && inner) {
      const AnsiString text = GetDisplayValueText();
      const int selStart = inner->GetSelStart(), selLength = inner->GetSelLength();
      const bool mayStart =
          style == 1 || style == 2 || FLookupSelection || selLength > 0 || selStart >= int(text.size());
      if (mayStart) {
        // The typed character, both bytes of a double-byte one.
        AnsiString ch(1, Key);
        if (inner->GetImeLastChar() != 0) ch += inner->GetImeLastChar();
        const bool lookupSelection = FLookupSelection;
        AnsiString s;
        bool retryAlone = false;
        if (selLength > 0)
          s = text.substr(0, size_t(selStart)) + ch;
        else if (style != 2)
          s = text.substr(0, size_t(selStart)) + ch + text.substr(size_t(selStart));
        else if (FLookupSelection) {
          s = text + ch;
          retryAlone = true;
        } else
          s = ch;
        FLookupTextUpdating = true;
        searched = true;
        found = LookupFind(s);
        if (!found && (retryAlone || (style == 2 && !incremental))) {
          s = ch;
          FLookupTextUpdating = true;
          found = LookupFind(s);
        }
        if (found) {
          Key = 0;
        } else if (style == 1 || style == 2) {
          Key = 0;
          if (style == 1 && !GetDisplayValueText().empty()) FLookupSelection = true;
          if (style == 2 && incremental && lookupSelection) FLookupSelection = true;
        }
      }
    }
  }
  if (data && !cxEdit::VarEqualsExact(keyBefore, data->GetSelectedKey())) LookupKeyChanged(searched && found);
  if (Key != 0) updating.KeyLeftOver();
}

bool TcxCustomTextEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TcxCustomEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  IcxTextEditLookupData* data = GetTextProperties()->UseLookupData() ? FILookupData : nullptr;
  if (!CanSelectLookupItemByKey(true) || HasOpenPopup() || !data || data->IsEmpty()) return false;
  if (IsInplace() && !GetProperties()->GetMouseWheelInplace() && !Shift.Contains(ssCtrl)) return false;
  if (!DoEditing()) return false;
  const Variant before = data->GetSelectedKey();
  {
    LockChangeEvents(true);
    TScopeExit Unlock([this] { LockChangeEvents(false, true); });
    data->MoveSelection(WheelDelta < 1 ? lmdNext : lmdPrev);
  }
  if (!cxEdit::VarEqualsExact(before, data->GetSelectedKey())) LookupKeyChanged(true);
  return true;
}
