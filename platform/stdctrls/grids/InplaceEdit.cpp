#include "platform/stdctrls/grids/InplaceEdit.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/stdctrls/grids/Grids.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetVisible(false);
  SetAutoSelect(false);
}

void TInplaceEdit::CreateParams(TCreateParams& Params)
{
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_AUTOHSCROLL;
}

void TInplaceEdit::UpdateContents()
{
  if (!FGrid) return;
  int col = FGrid->GetCol(), row = FGrid->GetRow();
  SetText("");
  SetEditMask(FGrid->GetEditMask(col, row));
  SetText(FGrid->GetEditText(col, row));
  SetMaxLength(FGrid->GetEditLimit());
  FShownText = GetText();
  SetModified(false);
}

void TInplaceEdit::BoundsChanged()
{
  if (!HandleAllocated()) return;
  RECT r{2, 2, GetWidth() - 2, GetHeight()};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  Perform(EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::Move(const RECT& Loc)
{
  if (Loc.right <= Loc.left || Loc.bottom <= Loc.top) {
    // Out of view: the focus goes back to the grid with it.
    bool hadFocus = HandleAllocated() && Windows::GetFocus() == GetHandle();
    Hide();
    if (hadFocus && FGrid && FGrid->HandleAllocated()) Windows::SetFocus(FGrid->GetHandle());
    return;
  }
  SetBounds(Loc.left, Loc.top, Loc.right - Loc.left, Loc.bottom - Loc.top);
  HandleNeeded();
  Show();
  BoundsChanged();
  if (FGrid && FGrid->HandleAllocated() && Windows::GetFocus() == FGrid->GetHandle()) SetFocus();
}

void TInplaceEdit::Deselect()
{
  int len = static_cast<int>(GetText().size());
  SetSelStart(len);
  SetSelLength(0);
}

void TInplaceEdit::RestoreText()
{
  SetText(FShownText);
  if (FGrid) FGrid->UpdateText();
  SetModified(false);
}

void TInplaceEdit::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TCustomMaskEdit::WndProc(Message);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (FGrid && FGrid->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_LBUTTONDOWN:
      // A press right after the grid's press that opened the editor is a double click.
      if (FClickTime && Windows::GetMessageTime() - FClickTime < Windows::GetDoubleClickTime())
        Message.Msg = WM_LBUTTONDBLCLK;
      FClickTime = 0;
      break;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
  if (!FGrid) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    return;
  }
  bool forward = FGrid->GetOptions().Contains(goAlwaysShowEditor);
  bool ctrl = Shift.Contains(ssCtrl);
  int len = static_cast<int>(GetText().size());
  int selStart = GetSelStart(), selEnd = selStart + GetSelLength();
  bool rightSide = (selStart == 0 || selEnd == selStart) && selEnd == len;
  bool leftSide = selStart == 0 && (selEnd == 0 || selEnd == len);
  auto toGrid = [&] {
    FGrid->KeyDown(Key, Shift);
    Key = 0;
  };
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: toGrid(); break;
    case VK_INSERT:
      if (Shift.Empty())
        toGrid();
      else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify())
        Key = 0;
      break;
    case VK_LEFT:
    case VK_HOME:
      if (forward && (ctrl || leftSide)) toGrid();
      break;
    case VK_RIGHT:
    case VK_END:
      if (forward && (ctrl || rightSide)) toGrid();
      break;
    case VK_F2:
      if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) toGrid();
      break;
    case VK_DELETE:
      if (ctrl) toGrid();
      break;
    default: break;
  }
  if (Key == VK_DELETE && !FGrid->CanEditModify()) Key = 0;
  if (Key == 0) return;
  if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char& Key)
{
  if (!FGrid) {
    TCustomMaskEdit::KeyPress(Key);
    return;
  }
  FGrid->KeyPress(Key);
  unsigned char c = static_cast<unsigned char>(Key);
  if (c >= 32 && !FGrid->CanEditAcceptKey(Key)) {
    Key = 0;
    Windows::MessageBeep(0);
  }
  switch (c) {
    case 9:
    case 27: Key = 0; break;
    case 13: {
      int len = static_cast<int>(GetText().size());
      if (GetSelStart() == 0 && GetSelLength() == len)
        Deselect();
      else
        SelectAll();
      Key = 0;
      break;
    }
    default:
      if ((c == 8 || c == 22 || c == 24 || c >= 32) && Key != 0 && !FGrid->CanEditModify()) Key = 0;
      break;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
  if (FGrid) FGrid->KeyUp(Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick()
{
  if (FGrid) FGrid->DblClick();
}
