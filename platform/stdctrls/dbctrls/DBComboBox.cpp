#include "platform/stdctrls/dbctrls/DBComboBox.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/db/Fields.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TDBComboBox::TDBComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FDataLink(std::make_unique<TFieldDataLink>(
                                   this, [this](TObject* s) { DataChange(s); },
                                   [this](TObject* s) { EditingChange(s); }, [this](TObject* s) { UpdateData(s); }))
{
  ControlStyle.Include(csReplicatable);
}

void TDBComboBox::CreateWnd()
{
  TCustomComboBox::CreateWnd();
  SetEditReadOnly();
}

// ---- Text ---------------------------------------------------------------------------------------

AnsiString TDBComboBox::GetComboText()
{
  if (GetStyle() == csDropDown || GetStyle() == csSimple) return GetText();
  int index = GetItemIndex();
  return index >= 0 ? GetItems()->GetStrings(index) : AnsiString();
}

void TDBComboBox::SetComboText(const AnsiString& Value)
{
  if (Value == GetComboText()) return;
  if (GetStyle() == csDropDown || GetStyle() == csSimple) {
    SetText(Value);
    return;
  }
  SetItemIndex(Value.empty() ? -1 : GetItems()->IndexOf(Value));
}

void TDBComboBox::SetEditReadOnly()
{
  if (!HandleAllocated() || (GetStyle() != csDropDown && GetStyle() != csSimple)) return;
  for (HWND child = Windows::GetWindow(GetHandle(), GW_CHILD); child; child = Windows::GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = {};
    Windows::GetClassName(child, name, sizeof name);
    if (AnsiString(name) == "EDIT") Windows::SendMessage(child, EM_SETREADONLY, !FDataLink->GetEditing(), 0);
  }
}

// ---- From and to the field ----------------------------------------------------------------------

void TDBComboBox::DataChange(TObject* Sender)
{
  // An open list keeps what the user is choosing.
  if (GetStyle() != csSimple && HandleAllocated() && GetDroppedDown()) return;
  TField* field = FDataLink->GetField();
  SetComboText(field ? field->GetText() : AnsiString());
}

void TDBComboBox::EditingChange(TObject* Sender) { SetEditReadOnly(); }

void TDBComboBox::UpdateData(TObject* Sender) { FDataLink->GetField()->SetText(GetComboText()); }

void TDBComboBox::Change()
{
  FDataLink->Modified();
  TCustomComboBox::Change();
}

void TDBComboBox::Select()
{
  // A line chosen while the field may not change is put back.
  if (!FDataLink->Edit()) {
    if (GetStyle() != csSimple && HandleAllocated()) SetDroppedDown(false);
    FDataLink->Reset();
    return;
  }
  TCustomComboBox::Select();
  FDataLink->Modified();
}

void TDBComboBox::DropDown()
{
  FDataLink->Edit();
  TCustomComboBox::DropDown();
}

void TDBComboBox::CloseUp()
{
  TCustomComboBox::CloseUp();
  if (!FDataLink->GetEditing()) FDataLink->Reset();
}

void TDBComboBox::CMExit(TMessage& Message)
{
  DBCtrls::UpdateRecordOnExit(this, *FDataLink, [this] { SelectAll(); });
  TCustomComboBox::CMExit(Message);
}

// ---- Typing -------------------------------------------------------------------------------------

void TDBComboBox::KeyDown(Word& Key, TShiftState Shift)
{
  TCustomComboBox::KeyDown(Key, Shift);
  bool changing = Key == VK_BACK || Key == VK_DELETE || Key == VK_UP || Key == VK_DOWN;
  if (changing && !FDataLink->Edit() && (Key == VK_UP || Key == VK_DOWN)) Key = 0;
}

void TDBComboBox::KeyPress(char& Key)
{
  if (DBCtrls::FilterKey(*FDataLink, Key, FSkipTrail, [this] { SelectAll(); })) TCustomComboBox::KeyPress(Key);
}

void TDBComboBox::WndProc(TMessage& Message)
{
  if (FDataLink->AnswerGetDataLink(Message)) return;
  TCustomComboBox::WndProc(Message);
}
