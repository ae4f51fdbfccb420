// Sections: inner list box -> life -> settings -> integral height -> binding -> messages and keys.
#include "controls/editors/listbox/cxListBox.h"

#include <algorithm>

#include "controls/framework/cxGraphics.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Variants.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Windows.h"

// ==== Inner list box ===========================================================================

TcxListBox* TcxInnerListBox::GetListBox() const { return static_cast<TcxListBox*>(GetContainer()); }

bool TcxInnerListBox::CanFocus()
{
  TcxListBox* box = GetListBox();
  return box ? box->CanFocusOnForm() : TcxCustomInnerListBox::CanFocus();
}

void TcxInnerListBox::Click()
{
  TcxListBox* box = GetListBox();
  if (!box || box->CanModify()) TcxCustomInnerListBox::Click();
}

void TcxInnerListBox::CreateWnd()
{
  TcxCustomInnerListBox::CreateWnd();
  if (TcxListBox* box = GetListBox()) {
    if (box->FTabWidth > 0) {
      int stops = box->FTabWidth;
      Windows::SendMessage(GetHandle(), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stops));
    }
    if (box->FScrollWidth > 0) Windows::SendMessage(GetHandle(), LB_SETHORIZONTALEXTENT, box->FScrollWidth, 0);
  }
  SyncScrollBars();
}

void TcxInnerListBox::WndProc(TMessage& Message)
{
  TcxListBox* box = GetListBox();
  if (Message.Msg == WM_LBUTTONDOWN && box && !box->CanModify()) {
    // Read-only: the press focuses the list and reaches the container's mouse-down, the
    // selection stays.
    if (CanFocus()) SetFocus();
    const TShiftState shift = KeysToShiftState(Message.WParam) + TShiftState{ssLeft};
    TValueGuard innerDown(box->FInnerMouseDown, true);
    box->MouseDown(mbLeft, shift, Message.XPos() + GetLeft(), Message.YPos() + GetTop());
    Message.Result = 0;
    return;
  }
  TcxCustomInnerListBox::WndProc(Message);
}

void TcxInnerListBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  TcxListBox* box = GetListBox();
  TcxCanvas canvas(GetCanvas());
  if (box && box->DrawItem(&canvas, Index, State, Rect)) return;
  TcxCustomInnerListBox::DrawItem(Index, Rect, State);
}

// ==== Life =====================================================================================

TcxListBox::TcxListBox(TComponent* AOwner) : TcxContainer(AOwner)
{
  FInnerListBox = new TcxInnerListBox(this);
  FInnerListBox->SetContainer(this);
  FInnerListBox->SetParent(this);
  FInnerListBox->SetTabStop(false);
  FInnerListBox->GetLookAndFeel()->SetMasterLookAndFeel(GetStyle()->GetLookAndFeel());
  SetInnerControl(FInnerListBox);
  SetWidth(121);
  SetHeight(97);
}

TcxListBox::~TcxListBox()
{
  Destroying();
  TcxInnerListBox* inner = FInnerListBox;
  FInnerListBox = nullptr;
  SetInnerControl(nullptr);
  delete inner;
  FDataBinding.reset();
}

std::unique_ptr<TcxCustomDataBinding> TcxListBox::CreateDataBinding()
{
  return std::make_unique<TcxCustomDataBinding>(this, this);
}

TcxCustomDataBinding* TcxListBox::GetDataBinding()
{
  if (!FDataBinding) {
    FDataBinding = CreateDataBinding();
    FDataBinding->OnDataChange = [this](TObject*) { DataChange(); };
    FDataBinding->OnDataSetChange = [this](TObject*) { DataSetChange(); };
    FDataBinding->OnUpdateData = [this](TObject*) { UpdateData(); };
  }
  return FDataBinding.get();
}

// ==== Settings =================================================================================

void TcxListBox::SetColumns(int Value)
{
  FInnerListBox->SetColumns(Value);
  FInnerListBox->SyncScrollBars();
}

void TcxListBox::SetItemHeight(int Value)
{
  FInnerListBox->SetItemHeight(Value);
  AdjustInnerControl();
}

void TcxListBox::SetItems(TStrings* Value)
{
  FInnerListBox->GetItems()->Assign(Value);
  GetDataBinding()->DoDataChange();
}

void TcxListBox::SetScrollWidth(int Value)
{
  FScrollWidth = std::max(0, Value);
  if (FInnerListBox->HandleAllocated())
    Windows::SendMessage(FInnerListBox->GetHandle(), LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
  AdjustInnerControl();
}

void TcxListBox::SetTabWidth(int Value)
{
  FTabWidth = std::max(0, Value);
  if (!FInnerListBox->HandleAllocated()) return;
  int stops = FTabWidth;
  Windows::SendMessage(FInnerListBox->GetHandle(), LB_SETTABSTOPS, FTabWidth > 0 ? 1 : 0,
                       reinterpret_cast<LPARAM>(&stops));
  FInnerListBox->Invalidate();
}

void TcxListBox::SetIntegralHeight(bool Value)
{
  if (Value == FIntegralHeight) return;
  FIntegralHeight = Value;
  AdjustInnerControl();
}

void TcxListBox::SetOnMeasureItem(TcxListBoxMeasureItemEvent Value)
{
  FOnMeasureItem = std::move(Value);
  if (FOnMeasureItem)
    FInnerListBox->OnMeasureItem = [this](TObject*, int Index, int& Height) { FOnMeasureItem(this, Index, Height); };
  else
    FInnerListBox->OnMeasureItem = nullptr;
}

int TcxListBox::GetItemAtPoint(POINT Point, bool Existing)
{
  return FInnerListBox->ItemAtPos(POINT{Point.x - FInnerListBox->GetLeft(), Point.y - FInnerListBox->GetTop()},
                                  Existing);
}

bool TcxListBox::DrawItem(TcxCanvas* ACanvas, int AIndex, TOwnerDrawState AState, const RECT& ARect)
{
  if (!OnDrawItem) return false;
  OnDrawItem(this, ACanvas, AIndex, ARect, AState);
  return true;
}

void TcxListBox::UpdateInnerControlColors()
{
  if (!FInnerListBox) return;
  TcxContainer::UpdateInnerControlColors();
}

void TcxListBox::FontChanged()
{
  TcxContainer::FontChanged();
  AdjustInnerControl();
}

bool TcxListBox::IsInternalControl(TControl* AControl)
{
  if (FInnerListBox && (AControl == FInnerListBox->GetHScrollBar() || AControl == FInnerListBox->GetVScrollBar()))
    return true;
  return TcxContainer::IsInternalControl(AControl);
}

// ==== Integral height ==========================================================================

int TcxListBox::GetRowHeight(int Index)
{
  int h;
  switch (GetListStyle()) {
    case lbOwnerDrawFixed:
    case lbVirtualOwnerDraw: h = GetItemHeight(); break;
    case lbOwnerDrawVariable:
      h = GetItemHeight();
      if (Index < GetCount()) FInnerListBox->MeasureItemFor(Index, h);
      break;
    default: h = GetActiveCanvas()->GetFontHeight(FInnerListBox->GetFont()); break;
  }
  // A row of no height would never reach the wanted height.
  return std::max(h, 1);
}

int TcxListBox::IntegralHeightFor(int AWidth, int AHeight)
{
  const RECT e = GetBorderExtent();
  const int vBar = Windows::GetSystemMetrics(SM_CXVSCROLL), hBar = Windows::GetSystemMetrics(SM_CYHSCROLL);
  const int sw = FScrollWidth > 0 ? FScrollWidth + 4 : 0;
  const int count = GetCount();
  // The height of Rows rows with the bars they need.
  auto withBars = [&](int RowsHeight, bool VBar) {
    int available = AWidth - e.left - e.right;
    if (VBar) available -= vBar;
    return available < sw ? RowsHeight + hBar : RowsHeight;
  };
  int h = e.top + e.bottom;
  int candidate = h;
  for (int i = 0;; ++i) {
    const int row = GetRowHeight(i);
    h += row;
    candidate = withBars(h, i + 1 < count);
    if (candidate == AHeight) return candidate;
    if (candidate > AHeight) {
      if (i == 0) return candidate;
      h -= row;
      return withBars(h, i < count);
    }
  }
}

bool TcxListBox::IsIntegralHeightApplied()
{
  const TAlign a = GetAlign();
  return FIntegralHeight && !IsLoading() && a != alLeft && a != alRight && a != alClient;
}

bool TcxListBox::CanResize(int& NewWidth, int& NewHeight)
{
  const bool r = TcxContainer::CanResize(NewWidth, NewHeight);
  if (r && FInnerListBox && IsIntegralHeightApplied()) NewHeight = IntegralHeightFor(NewWidth, NewHeight);
  return r;
}

void TcxListBox::AdjustInnerControl()
{
  if (!FInnerListBox || IsContainerDestroying()) return;
  if (IsIntegralHeightApplied() && !FAdjusting) {
    TValueGuard adjusting(FAdjusting, true);
    const int h = IntegralHeightFor(GetWidth(), GetHeight());
    if (h != GetHeight()) SetHeight(h);
  }
  const RECT before = FInnerListBox->GetBoundsRect();
  TScopeExit Purge([this, before] {
    const RECT after = FInnerListBox->GetBoundsRect();
    const bool moved = before.left != after.left || before.top != after.top || before.right != after.right ||
                       before.bottom != after.bottom;
    // A move under a still mouse makes a mouse move the list would take for a real one.
    if (moved && FInnerListBox->HandleAllocated()) {
      MSG m;
      while (Windows::PeekMessage(&m, FInnerListBox->GetHandle(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {}
    }
  });
  TcxContainer::AdjustInnerControl();
}

// ==== Binding ==================================================================================

void TcxListBox::DataChange()
{
  if (!FInnerListBox) return;
  TcxCustomDataBinding* b = GetDataBinding();
  if (b->IsDataAvailable()) {
    Variant v;
    b->GetStoredValue(0, Focused(), v);
    AnsiString text;
    if (!v.IsNull()) text = Variants::VarToStr(v);
    SetItemIndex(GetItems()->IndexOf(text));
  } else {
    SetItemIndex(-1);
  }
}

void TcxListBox::UpdateData()
{
  const int i = GetItemIndex();
  GetDataBinding()->SetStoredValue(0, Variant(i >= 0 ? GetItems()->GetStrings(i) : AnsiString()));
}

void TcxListBox::DoExit()
{
  if (IsContainerDestroying() || FExiting) return;
  {
    TValueGuard exiting(FExiting, true);
    try {
      GetDataBinding()->UpdateDataSource();
    } catch (...) {
      SetFocus();
      throw;
    }
  }
  TcxContainer::DoExit();
}

// ==== Messages and keys ========================================================================

void TcxListBox::WndProc(TMessage& Message)
{
  if (FInnerListBox && Message.Msg >= LB_ADDSTRING && Message.Msg <= LB_MSGMAX) {
    Message.Result = Windows::SendMessage(FInnerListBox->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  TcxContainer::WndProc(Message);
  if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE && FInnerListBox)
    FInnerListBox->SyncScrollBars();
}

void TcxListBox::KeyDown(Word& Key, TShiftState Shift)
{
  TcxContainer::KeyDown(Key, Shift);
  if (Key >= VK_PRIOR && Key <= VK_DOWN && !CanModify()) Key = 0;
}

void TcxListBox::KeyPress(char& Key)
{
  TcxContainer::KeyPress(Key);
  if (Key == 27)
    GetDataBinding()->Reset();
  else if (static_cast<unsigned char>(Key) >= 32 && !CanModify())
    Key = 0;
}

void TcxListBox::Published(TPublisher<ThisClass>& p)
{
  p.Property("AutoComplete", &ThisClass::GetAutoComplete, &ThisClass::SetAutoComplete).Default(true);
  p.Property("Columns", &ThisClass::GetColumns, &ThisClass::SetColumns).Default(0);
  p.Property("ExtendedSelect", &ThisClass::GetExtendedSelect, &ThisClass::SetExtendedSelect).Default(true);
  p.Property("IntegralHeight", &ThisClass::GetIntegralHeight, &ThisClass::SetIntegralHeight).Default(false);
  p.Property("ItemHeight", &ThisClass::GetItemHeight, &ThisClass::SetItemHeight);
  p.Property("Items", &ThisClass::GetItems, &ThisClass::SetItems);
  p.Property("ListStyle", &ThisClass::GetListStyle, &ThisClass::SetListStyle).Default(lbStandard);
  p.Property("MultiSelect", &ThisClass::GetMultiSelect, &ThisClass::SetMultiSelect).Default(false);
  p.Property("ScrollWidth", &ThisClass::GetScrollWidth, &ThisClass::SetScrollWidth).Default(0);
  p.Property("Sorted", &ThisClass::GetSorted, &ThisClass::SetSorted).Default(false);
  p.Property("TabWidth", &ThisClass::GetTabWidth, &ThisClass::SetTabWidth).Default(0);
}

PELTO_DEFINE_CLASS(TcxInnerListBox)

PELTO_DEFINE_CLASS(TcxListBox)
