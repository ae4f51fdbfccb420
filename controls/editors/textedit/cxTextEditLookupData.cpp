#include "controls/editors/textedit/cxTextEditLookupData.h"

#include <algorithm>

#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditProperties.h"
#include "controls/framework/cxContainerStyle.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/WinUser.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/paint/Painting.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

bool cxTextEdit::StartsWithText(const AnsiString& AItem, const AnsiString& AText)
{
  if (AItem.size() < AText.size()) return false;
  // The prefix must end on a character boundary of the item.
  if (AText.size() < AItem.size() && System::ByteType(AItem, int(AText.size()) + 1) == System::mbTrailByte)
    return false;
  return SysUtils::AnsiSameText(AItem.substr(0, AText.size()), AText);
}

// ==== List box

TcxCustomEditListBox::TcxCustomEditListBox(TComponent* AOwner) : TcxCustomInnerListBox(AOwner)
{
  SetStyle(lbOwnerDrawVariable);
}

void TcxCustomEditListBox::SetItemIndex(int Value)
{
  TCustomListBox::SetItemIndex(Value);
  SyncScrollBars();
  DoSelectItem();
}

bool TcxCustomEditListBox::IsVisible() { return HandleAllocated() && Windows::IsWindowVisible(GetHandle()); }

void TcxCustomEditListBox::SetItemCount(int N)
{
  TStrings* items = GetItems();
  if (N < 0) N = 0;
  if (items->GetCount() == N) return;
  items->BeginUpdate();
  TScopeExit End([items] { items->EndUpdate(); });
  while (items->GetCount() < N) items->Add(AnsiString());
  while (items->GetCount() > N) items->Delete(items->GetCount() - 1);
}

void TcxCustomEditListBox::Recreate() { RecreateWnd(); }

void TcxCustomEditListBox::ItemText(int Index, AnsiString& Text) { Text = GetItems()->GetStrings(Index); }

int TcxCustomEditListBox::ItemHeightAt(int)
{
  TCanvas* c = GetCanvas();
  if (!c) return 16;
  if (!c->HandleAllocated() && HandleAllocated()) {
    // Measured with the list's font on a screen context.
    HDC dc = Windows::GetDC(nullptr);
    c->SetHandle(dc);
    c->GetFont()->Assign(GetFont());
    const int h = c->TextHeight("Wg");
    c->SetHandle(nullptr);
    Windows::ReleaseDC(nullptr, dc);
    return h;
  }
  if (!c->HandleAllocated()) return 16;
  c->GetFont()->Assign(GetFont());
  return c->TextHeight("Wg");
}

void TcxCustomEditListBox::Click()
{
  TcxCustomInnerListBox::Click();
  DoSelectItem();
}

void TcxCustomEditListBox::DoSelectItem()
{
  if (OnSelectItem) OnSelectItem(this);
}

void TcxCustomEditListBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  if (DrawItemByEvent(Index, Rect, State)) return;
  TCanvas* c = GetCanvas();
  c->FillRect(Rect);
  if (Index < 0 || Index >= GetItems()->GetCount()) return;
  AnsiString text;
  ItemText(Index, text);
  RECT r = Rect;
  r.left += 2;
  c->GetBrush()->SetStyle(bsClear);
  Windows::DrawText(c->GetHandle(), text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  c->GetBrush()->SetStyle(bsSolid);
}

void TcxCustomEditListBox::MeasureItem(int, int& Height) { Height = ItemHeightAt(-1); }

void TcxCustomEditListBox::MouseMove(TShiftState Shift, int X, int Y)
{
  TcxCustomInnerListBox::MouseMove(Shift, X, Y);
  if (!FHotTrack || !HandleAllocated() || Windows::GetCapture() == GetHandle()) return;
  const int index = ItemAtPos(POINT{X, Y}, true);
  if (index >= 0 && index != GetItemIndex()) SetItemIndex(index);
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TcxCustomInnerListBox::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  int lines = Controls::Mouse ? Controls::Mouse->GetWheelScrollLines() : 3;
  const WPARAM code = WheelDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
  for (; lines > 0; --lines) Windows::SendMessage(GetHandle(), WM_VSCROLL, code, 0);
  return true;
}

void TcxCustomEditListBox::WndProc(TMessage& Message)
{
  // A shown list draws its selection as focused.
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam) {
    TcxCustomInnerListBox::WndProc(Message);
    TMessage focus{WM_SETFOCUS, 0, 0, 0};
    DefaultHandler(focus);
    return;
  }
  TcxCustomInnerListBox::WndProc(Message);
}

// ==== Lookup data

TcxCustomTextEditLookupData::TcxCustomTextEditLookupData(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner), FOwner(AOwner)
{}

TcxCustomTextEditLookupData::~TcxCustomTextEditLookupData() { delete FList; }

TcxCustomTextEdit* TcxCustomTextEditLookupData::GetEdit() const { return dynamic_cast<TcxCustomTextEdit*>(FOwner); }

void TcxCustomTextEditLookupData::GetItem(int AIndex, AnsiString& AText)
{
  AText = GetEdit()->GetTextProperties()->GetLookupItems()->GetStrings(AIndex);
}

int TcxCustomTextEditLookupData::GetItemCount()
{
  TcxCustomTextEdit* e = GetEdit();
  return e ? e->GetTextProperties()->GetLookupItems()->GetCount() : 0;
}

void TcxCustomTextEditLookupData::ListItemSelected(TObject*)
{
  if (FList) FItemIndex = FList->GetItemIndex();
}

bool TcxCustomTextEditLookupData::Locate(AnsiString& AText, AnsiString& ATail, bool ANext, bool AForceKeyReset)
{
  const int count = GetItemCount();
  if (count == 0) return false;
  const int start = ANext ? FItemIndex + 1 : 0;
  // An empty text never completes to an item.
  for (int i = std::max(0, start); i < count && !AText.empty(); ++i) {
    AnsiString item;
    GetItem(i, item);
    if (!cxTextEdit::StartsWithText(item, AText)) continue;
    ATail = item.substr(AText.size());
    AText = item.substr(0, AText.size());
    SetCurrentKey(i);
    return true;
  }
  bool reset = true;
  switch (GetEdit()->GetTextProperties()->GetEditingStyle()) {
    case 1: {
      bool anyEmpty = false;
      for (int i = 0; i < count && !anyEmpty; ++i) {
        AnsiString item;
        GetItem(i, item);
        anyEmpty = item.empty();
      }
      reset = AForceKeyReset || (AText.empty() && !anyEmpty);
      break;
    }
    case 2: reset = AForceKeyReset; break;
    default: break;
  }
  if (reset) SetCurrentKey(-1);
  return false;
}

void TcxCustomTextEditLookupData::ItemsChanged()
{
  if (FList) FList->SetItemCount(GetItemCount());
}

void TcxCustomTextEditLookupData::SyncListSelection() { SetListItemIndex(FCurrentKey); }

bool TcxCustomTextEditLookupData::IsItemText(const AnsiString& AText)
{
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    AnsiString item;
    GetItem(i, item);
    if (SysUtils::AnsiSameText(item, AText)) return true;
  }
  return false;
}

TWinControl* TcxCustomTextEditLookupData::GetList() { return FList; }

AnsiString TcxCustomTextEditLookupData::GetKeyText(const Variant& AKey)
{
  if (AKey.IsNull() || AKey.IsEmpty()) return AnsiString();
  const int key = int(Variants::VarAsType(AKey, varInteger).AsDouble());
  if (key < 0 || key >= GetItemCount()) return AnsiString();
  AnsiString text;
  GetItem(key, text);
  return text;
}

void TcxCustomTextEditLookupData::SetListItemIndex(int AIndex)
{
  const int count = GetItemCount();
  if (AIndex < -1 || AIndex >= count) return;
  if (AIndex == FItemIndex && AIndex != -1) return;
  if (FList && count > 0) {
    if (AIndex == -1) FList->TCustomListBox::SetItemIndex(0);
    FList->TCustomListBox::SetItemIndex(AIndex);
  }
  FItemIndex = AIndex;
}

void TcxCustomTextEditLookupData::SetCurrentKey(int AKey)
{
  FCurrentKey = AKey;
  SetListItemIndex(AKey);
}

void TcxCustomTextEditLookupData::DoItemSelected()
{
  if (OnItemSelected) OnItemSelected(this);
}

void TcxCustomTextEditLookupData::SetSelectedKey(const Variant& AKey)
{
  int key = -1;
  if (!AKey.IsNull() && !AKey.IsEmpty()) key = int(Variants::VarAsType(AKey, varInteger).AsDouble());
  if (key < -1 || key >= GetItemCount()) return;
  const bool changed = key != FCurrentKey;
  SetCurrentKey(key);
  TcxCustomTextEdit* edit = GetEdit();
  if (!edit || !edit->IsLookupTextUpdating()) {
    if (changed) DoItemSelected();
    return;
  }
  if (changed) {
    DoItemSelected();
  } else if (key >= 0) {
    AnsiString text;
    GetItem(key, text);
    if (text != edit->GetDisplayValueText()) DoItemSelected();
  }
}

void TcxCustomTextEditLookupData::MoveSelection(TcxLookupMoveDirection ADirection, bool ACycle)
{
  const int count = GetItemCount();
  if (count == 0) return;
  const int I = FItemIndex != -1 ? FItemIndex : FCurrentKey;
  const int P = GetEdit()->GetTextProperties()->GetDropDownPageRowCount();
  int target = I;
  switch (ADirection) {
    case lmdFirst: target = 0; break;
    case lmdLast: target = count - 1; break;
    case lmdNext: target = I + 1 >= count ? (ACycle ? 0 : I) : I + 1; break;
    case lmdPrev: target = I - 1 < 0 ? (ACycle ? count - 1 : I) : I - 1; break;
    case lmdPageUp:
      if (I == -1)
        target = ACycle ? count - 1 : -1;
      else if (I == 0 && ACycle)
        target = count - 1;
      else
        target = std::max(0, I - P + 1);
      break;
    case lmdPageDown:
      if (I == -1)
        target = std::min(count - 1, P - 1);
      else if (I == count - 1 && ACycle)
        target = 0;
      else
        target = std::min(count - 1, I + P - 1);
      break;
  }
  TcxCustomTextEdit* edit = GetEdit();
  const bool listShown = FList && FList->IsVisible();
  if (listShown && !edit->GetTextProperties()->GetImmediateUpdateText())
    SetListItemIndex(target);
  else
    SetSelectedKey(Variant(target));
}

void TcxCustomTextEditLookupData::PrepareList(TWinControl* AParent)
{
  if (!FList) {
    TClass c = GetListBoxClass();
    if (!c) return;
    FList = static_cast<TcxCustomEditListBox*>(c->Create(nullptr));
  }
  TcxCustomTextEdit* edit = GetEdit();
  if (edit) {
    FList->SetColor(edit->GetEditStyle()->GetColor());
    FList->SetFont(edit->GetEditStyle()->GetFont());
  }
  FList->SetParent(AParent);
  FList->OnSelectItem = [this](TObject* Sender) { ListItemSelected(Sender); };
  FList->SetItemCount(GetItemCount());
  if (FItemIndex >= 0 && FItemIndex < GetItemCount()) FList->TCustomListBox::SetItemIndex(FItemIndex);
  FList->CheckRecreate();
  TextChanged();
}

bool TcxCustomTextEditLookupData::IsPointInList(POINT P)
{
  if (!FList || !FList->HandleAllocated()) return false;
  RECT r;
  Windows::GetWindowRect(FList->GetHandle(), &r);
  return Windows::PtInRect(&r, P);
}

void TcxCustomTextEditLookupData::PositionList(const RECT& ARect)
{
  if (FList) FList->SetBoundsRect(ARect);
}

void TcxCustomTextEditLookupData::SelectItem()
{
  if (FItemIndex == -1) return;
  const int before = FCurrentKey;
  SetSelectedKey(Variant(FItemIndex));
  if (FCurrentKey == before) DoItemSelected();
}

void TcxCustomTextEditLookupData::TextChanged()
{
  TcxCustomTextEdit* edit = GetEdit();
  if (!edit) return;
  const AnsiString text = edit->GetDisplayValueText();
  if (FItemIndex >= 0 && FItemIndex < GetItemCount()) {
    AnsiString item;
    GetItem(FItemIndex, item);
    if (SysUtils::AnsiSameText(item, text)) return;
  }
  AnsiString s = text, tail;
  Locate(s, tail, false, true);
}

PELTO_DEFINE_CLASS(TcxCustomEditListBox)

PELTO_DEFINE_CLASS(TcxCustomTextEditLookupData)
