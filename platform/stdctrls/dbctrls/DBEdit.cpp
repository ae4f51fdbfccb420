#include "platform/stdctrls/dbctrls/DBEdit.h"

#include "platform/db/Fields.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"

TDBEdit::TDBEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner), FDataLink(std::make_unique<TFieldDataLink>())
{
  ControlStyle.Include(csReplicatable);
  // Typing waits for the link to edit.
  TCustomEdit::SetReadOnly(true);
  FDataLink->SetControl(this);
  FDataLink->OnDataChange = [this](TObject* s) { DataChange(s); };
  FDataLink->OnEditingChange = [this](TObject* s) { EditingChange(s); };
  FDataLink->OnUpdateData = [this](TObject* s) { UpdateData(s); };
}

TDBEdit::~TDBEdit()
{
  // The link's events must not reach a half-destroyed control.
  FDataLink->OnDataChange = nullptr;
  FDataLink->OnEditingChange = nullptr;
  FDataLink->OnUpdateData = nullptr;
}

void TDBEdit::SetDataSource(TDataSource* Value) { DBCtrls::SetDataSource(this, *FDataLink, Value); }

void TDBEdit::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == FDataLink->GetDataSource()) FDataLink->SetDataSource(nullptr);
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
  auto c = static_cast<unsigned char>(Key);
  if (FSkipTrail) {
    FSkipTrail = false;
    Key = 0;
    return;
  }
  if (c >= 32 && !DBCtrls::IsValidChar(FDataLink->GetField(), Key)) {
    Windows::MessageBeep(0);
    FSkipTrail = System::IsLeadByte(Key);
    Key = 0;
    return;
  }
  if (c == 8 || c == 22 || c == 24 || c >= 32) {
    FDataLink->Edit();
  } else if (c == 27) {
    FDataLink->Reset();
    SelectAll();
    Key = 0;
    return;
  }
  TCustomMaskEdit::KeyPress(Key);
}

void TDBEdit::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case CM_GETDATALINK: Message.Result = reinterpret_cast<LRESULT>(FDataLink.get()); return;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO: FDataLink->Edit(); break;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}
