#include "platform/stdctrls/dbctrls/DBEdit.h"

#include "platform/db/Fields.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"
#include "platform/win/queue/Messages.h"

TDBEdit::TDBEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), FDataLink(std::make_unique<TFieldDataLink>(
                                   this, [this](TObject* s) { DataChange(s); },
                                   [this](TObject* s) { EditingChange(s); }, [this](TObject* s) { UpdateData(s); }))
{
  ControlStyle.Include(csReplicatable);
  // Typing waits for the link to edit.
  TCustomEdit::SetReadOnly(true);
}

// ---- From the field -----------------------------------------------------------------------------

void TDBEdit::DataChange(TObject* Sender)
{
  TField* field = FDataLink->GetField();
  if (!field) {
    SetEditMask("");
    SetText("");
    return;
  }
  SetEditMask(field->GetEditMask());
  TFieldType type = field->GetDataType();
  if (!IsMasked() && GetMaxLength() == 0 && (type == ftString || type == ftWideString || type == ftFixedChar))
    SetMaxLength(field->GetSize());
  if (FFocused && FDataLink->GetCanModify())
    SetText(field->GetText());
  else if (IsMasked())
    // The field leaves masking to its controls: the mask lays out the display text too.
    SetText(field->GetDisplayText());
  else
    SetEditText(field->GetDisplayText());
  SetModified(false);
}

void TDBEdit::EditingChange(TObject* Sender) { TCustomEdit::SetReadOnly(!FDataLink->GetEditing()); }

void TDBEdit::UpdateData(TObject* Sender)
{
  ValidateEdit();
  FDataLink->GetField()->SetText(GetText());
}

void TDBEdit::Change()
{
  FDataLink->Modified();
  TCustomMaskEdit::Change();
}

// ---- Focus --------------------------------------------------------------------------------------

void TDBEdit::SetFocused(bool Value)
{
  if (FFocused == Value) return;
  FFocused = Value;
  // Display text and edit text differ: show the one that fits.
  FDataLink->Reset();
}

void TDBEdit::CMEnter(TMessage& Message)
{
  SetFocused(true);
  TCustomMaskEdit::CMEnter(Message);
}

void TDBEdit::CMExit(TMessage& Message)
{
  DBCtrls::UpdateRecordOnExit(this, *FDataLink, [this] { SelectAll(); });
  SetFocused(false);
  TCustomMaskEdit::CMExit(Message);
}

void TDBEdit::CMWantSpecialKey(TMessage& Message)
{
  // Escape drops the box's changes before it may cancel a dialog.
  if (Message.WParam == VK_ESCAPE && FDataLink->GetModified()) {
    Message.Result = 1;
    return;
  }
  TCustomMaskEdit::CMWantSpecialKey(Message);
}

// ---- Typing -------------------------------------------------------------------------------------

void TDBEdit::KeyDown(Word& Key, TShiftState Shift)
{
  if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) FDataLink->Edit();
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TDBEdit::KeyPress(char& Key)
{
  if (DBCtrls::FilterKey(*FDataLink, Key, FSkipTrail, [this] { SelectAll(); })) TCustomMaskEdit::KeyPress(Key);
}

void TDBEdit::WndProc(TMessage& Message)
{
  if (FDataLink->AnswerGetDataLink(Message)) return;
  switch (Message.Msg) {
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO: FDataLink->Edit(); break;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}
