#include "platform/stdctrls/dbctrls/DBComboBox.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TDBComboBox::TDBComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FDataLink(std::make_unique<TFieldDataLink>())
{
  ControlStyle.Include(csReplicatable);
  FDataLink->SetControl(this);
  FDataLink->OnDataChange = [this](TObject* s) { DataChange(s); };
  FDataLink->OnEditingChange = [this](TObject* s) { EditingChange(s); };
  FDataLink->OnUpdateData = [this](TObject* s) { UpdateData(s); };
}

TDBComboBox::~TDBComboBox()
{
  FDataLink->OnDataChange = nullptr;
  FDataLink->OnEditingChange = nullptr;
  FDataLink->OnUpdateData = nullptr;
}

void TDBComboBox::SetDataSource(TDataSource* Value) { DBCtrls::SetDataSource(this, *FDataLink, Value); }

void TDBComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == FDataLink->GetDataSource()) FDataLink->SetDataSource(nullptr);
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
    if (!FDataLink->Edit()) {
      FSkipTrail = System::IsLeadByte(Key);
      Key = 0;
      return;
    }
  } else if (c == 27) {
    FDataLink->Reset();
    SelectAll();
    Key = 0;
    return;
  }
  TCustomComboBox::KeyPress(Key);
}

void TDBComboBox::WndProc(TMessage& Message)
{
  if (Message.Msg == CM_GETDATALINK) {
    Message.Result = reinterpret_cast<LRESULT>(FDataLink.get());
    return;
  }
  TCustomComboBox::WndProc(Message);
}
