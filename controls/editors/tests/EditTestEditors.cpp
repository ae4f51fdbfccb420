#include "controls/editors/tests/EditTestEditors.h"

#include "controls/editors/dropdown/cxEditPopupWindow.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/editors/edit/cxEditStyle.h"

#include "platform/forms/controls/Messages.h"
#include "platform/win/WinUser.h"

// ---- Button editor

TClass TcxTestEditProperties::GetContainerClass() const { return TcxTestButtonEdit::StaticClass(); }

void TcxTestButtonEdit::DoEditKeyPress(char& Key)
{
  TcxCustomEdit::DoEditKeyPress(Key);
  if (static_cast<unsigned char>(Key) < 32) return;
  FText += Key;
  SetEditModified(true);
  DoChange();
  Key = 0;
}

void TcxTestButtonEdit::DoButtonDown(int Index) { Log.push_back("down " + AnsiString(std::to_string(Index))); }

void TcxTestButtonEdit::DoButtonUp(int Index) { Log.push_back("up " + AnsiString(std::to_string(Index))); }

void TcxTestButtonEdit::DblClick()
{
  Log.push_back("dblclick");
  TcxCustomEdit::DblClick();
}

// ---- Text editor and its EDIT window

TcxTestInnerEdit::TcxTestInnerEdit(TComponent* AOwner) : TCustomEdit(AOwner) { SetBorderStyle(bsNone); }

void TcxTestInnerEdit::SafelySetFocus()
{
  const bool autoSelect = GetAutoSelect();
  SetAutoSelect(false);
  if (CanFocus()) SetFocus();
  SetAutoSelect(autoSelect);
}

void TcxTestInnerEdit::WndProc(TMessage& Message)
{
  if (Message.Msg == WM_CHAR) Received += static_cast<char>(Message.WParam);
  TCustomEdit::WndProc(Message);
}

// Keys go to the editor first, as its own; what it leaves reaches the EDIT window.
void TcxTestInnerEdit::KeyDown(Word& Key, TShiftState Shift)
{
  if (auto* edit = dynamic_cast<TcxTestTextEdit*>(GetOwner())) edit->EditorKeyDown(Key, Shift);
  if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
}

void TcxTestInnerEdit::KeyPress(char& Key)
{
  if (auto* edit = dynamic_cast<TcxTestTextEdit*>(GetOwner())) edit->EditorKeyPress(Key);
  if (Key != 0) Chars += Key;
  if (Key != 0) TCustomEdit::KeyPress(Key);
}

TClass TcxTestTextEditProperties::GetContainerClass() const { return TcxTestTextEdit::StaticClass(); }

void TcxTestTextEdit::SynchronizeDisplayValue() { Inner()->SetText(Variants::VarToStr(GetEditValue())); }

void TcxTestTextEdit::InitializeInnerEdit() { TcxCustomEdit::InitializeInnerEdit(); }

// ---- In-place host

TcxTestInplaceHost::TcxTestInplaceHost(TComponent* AOwner) : TcxControl(AOwner)
{
  SetTabStop(true);
  SetWantedKeys(TcxControlKeys{kAll, kArrows, kChars});
}

TcxTestInplaceHost::~TcxTestInplaceHost()
{
  FActive = nullptr;
  delete FEditData;
  FEditList.Clear();
}

TcxCustomEdit* TcxTestInplaceHost::Prepare(int Column)
{
  FFocusedColumn = Column;
  TcxCustomEdit* edit = FEditList.GetEdit(Columns.at(Column));
  if (edit->GetParent() != this) edit->SetParent(this);
  edit->SetBounds(Column * CellWidth, 0, CellWidth, CellHeight);
  edit->OnAfterKeyDown = [this](TObject*, Word& Key, TShiftState) { PassedKeys.push_back(Key); };
  edit->OnPost = [this](TObject*) { ++PostCount; };
  edit->LockChangeEvents(true);
  edit->SetEditValue(Column < int(Values.size()) ? Values[Column] : Variant::Null());
  edit->LockChangeEvents(false, false);
  FActive = edit;
  return edit;
}

TcxCustomEdit* TcxTestInplaceHost::ShowEditor(int Column)
{
  TcxCustomEdit* edit = Prepare(Column);
  edit->Activate(FEditData);
  return edit;
}

void TcxTestInplaceHost::KeyPress(char& Key)
{
  TcxControl::KeyPress(Key);
  if (static_cast<unsigned char>(Key) < 32 || Columns.empty()) return;
  const char key = Key;
  Key = 0;
  Prepare(FFocusedColumn)->ActivateByKey(key, FEditData);
}

void TcxTestInplaceHost::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (Columns.empty() || Button != mbLeft) return;
  const int column = X / CellWidth;
  if (column < 0 || column >= int(Columns.size())) return;
  Prepare(column)->ActivateByMouse(Shift, X, Y, FEditData);
}

// ---- Sample pop-up

TcxCustomEditPopupWindow* cxEditTest::MakeDepartmentPopup(TcxCustomEdit* AEdit, int AWidth, int AHeight)
{
  auto* popup = new TcxCustomEditPopupWindow(AEdit);
  popup->SetTakeFocus(false);
  popup->SetModalMode(false);
  popup->SetSizeable(true);
  popup->SetSysPanelStyle(true);
  popup->SetShadow(true);
  popup->SetPopupBorderStyle(epbsSingle);
  popup->SetPopupAutoSize(false);
  popup->SetPopupWidth(AWidth);
  popup->SetPopupHeight(AHeight);
  auto* content = new TcxListBox(popup);
  content->SetParent(popup);
  for (const char* s : {"总经理室", "财务部", "销售部", "采购部", "工程部"}) content->GetItems()->Add(s);
  popup->Content = content;
  return popup;
}

// ---- Picture looks

const TEditorPictureLook kEditorPictureLooks[4] = {
    {"标准", lfStandard, ebs3D, false},
    {"平面", lfFlat, ebsFlat, false},
    {"超平面", lfUltraFlat, ebsUltraFlat, false},
    {"主题", lfStandard, ebs3D, true},
};

void ApplyPictureLook(TcxCustomEditStyle* S, const TEditorPictureLook& L)
{
  S->GetLookAndFeel()->SetKind(L.Kind);
  S->GetLookAndFeel()->SetNativeStyle(L.Native);
  S->SetEditBorderStyle(L.Border);
}
