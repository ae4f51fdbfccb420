#include "platform/stdctrls/lists/ListBox.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/StdCtrlsUtil.h"
#include "platform/win/queue/Messages.h"

TOwnerDrawState OwnerDrawStateOf(UINT ItemState)
{
  TOwnerDrawState s;
  if (ItemState & ODS_SELECTED) s.Include(odSelected);
  if (ItemState & ODS_GRAYED) s.Include(odGrayed);
  if (ItemState & ODS_DISABLED) s.Include(odDisabled);
  if (ItemState & ODS_CHECKED) s.Include(odChecked);
  if (ItemState & ODS_FOCUS) s.Include(odFocused);
  if (ItemState & ODS_DEFAULT) s.Include(odDefault);
  if (ItemState & ODS_NOACCEL) s.Include(odNoAccel);
  if (ItemState & ODS_NOFOCUSRECT) s.Include(odNoFocusRect);
  if (ItemState & ODS_COMBOBOXEDIT) s.Include(odComboBoxEdit);
  return s;
}

// ---- TListBoxStrings ----------------------------------------------------------------------------

namespace {
[[noreturn]] void NoVirtualLines()
{
  throw EInvalidOperation("A virtual list box has no lines of its own: set Count and answer OnData");
}
}  // namespace

namespace {
const TItemMessages kListBoxMessages{LB_GETCOUNT,     LB_GETTEXT,        LB_GETTEXTLEN,   LB_GETITEMDATA,
                                     LB_SETITEMDATA,  LB_ADDSTRING,      LB_INSERTSTRING, LB_DELETESTRING,
                                     LB_RESETCONTENT, LB_FINDSTRINGEXACT};
}  // namespace

TListBoxStrings::TListBoxStrings(TCustomListBox* AListBox, TStringList* ASaved)
    : TItemStrings(AListBox, ASaved, kListBoxMessages), FListBox(AListBox)
{}

Integer TListBoxStrings::GetCount() const
{
  return FListBox->IsVirtual() ? FListBox->GetCount() : TItemStrings::GetCount();
}

AnsiString TListBoxStrings::Get(Integer Index) const
{
  if (!FListBox->IsVirtual()) return TItemStrings::Get(Index);
  CheckIndex(Index, GetCount());
  return FListBox->GetItemText(Index);
}

TObject* TListBoxStrings::GetObject(Integer Index) const
{
  if (!FListBox->IsVirtual()) return TItemStrings::GetObject(Index);
  CheckIndex(Index, GetCount());
  TObject* data = nullptr;
  if (FListBox->OnDataObject) FListBox->OnDataObject(FListBox, Index, data);
  return data;
}

void TListBoxStrings::PutObject(Integer Index, TObject* AObject)
{
  if (FListBox->IsVirtual()) NoVirtualLines();
  TItemStrings::PutObject(Index, AObject);
}

Integer TListBoxStrings::Add(const AnsiString& S)
{
  if (FListBox->IsVirtual()) NoVirtualLines();
  return TItemStrings::Add(S);
}

void TListBoxStrings::Insert(Integer Index, const AnsiString& S)
{
  if (FListBox->IsVirtual()) NoVirtualLines();
  TItemStrings::Insert(Index, S);
}

void TListBoxStrings::Delete(Integer Index)
{
  if (FListBox->IsVirtual()) NoVirtualLines();
  TItemStrings::Delete(Index);
}

void TListBoxStrings::Clear()
{
  if (FListBox->IsVirtual())
    FListBox->SetCount(0);
  else
    TItemStrings::Clear();
}

Integer TListBoxStrings::IndexOf(const AnsiString& S) const
{
  if (FListBox->IsVirtual()) return FListBox->OnDataFind ? FListBox->OnDataFind(FListBox, S) : -1;
  return TItemStrings::IndexOf(S);
}

// ---- TCustomListBox -----------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FSaved(std::make_unique<TStringList>()),
      FItems(std::make_unique<TListBoxStrings>(this, FSaved.get())), FCanvas(std::make_unique<TCanvas>())
{
  // Clicks and double clicks come from the window's notifications (LBN_SELCHANGE, LBN_DBLCLK),
  // not from the mouse messages as well.
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FSaved->SetDuplicates(dupAccept);
  FItemHeight = StdCtrlsUtil::FontMetrics(GetFont()).tmHeight;
}

TCustomListBox::~TCustomListBox() = default;

LRESULT TCustomListBox::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TCustomListBox::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL | WS_HSCROLL;
  if (FSorted && !IsVirtual()) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FColumns) Params.Style |= LBS_MULTICOLUMN;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  switch (FStyle) {
    case lbStandard: break;
    case lbOwnerDrawFixed: Params.Style |= LBS_OWNERDRAWFIXED; break;
    case lbOwnerDrawVariable: Params.Style |= LBS_OWNERDRAWVARIABLE; break;
    case lbVirtual:
    case lbVirtualOwnerDraw:
      Params.Style = (Params.Style & ~DWORD(LBS_HASSTRINGS)) | LBS_NODATA | LBS_OWNERDRAWFIXED;
      break;
  }
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
  TWinControl::CreateWnd();
  if (FStyle != lbStandard) Send(LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FColumns) Send(LB_SETCOLUMNWIDTH, WPARAM(std::max(GetWidth() / FColumns, 1)));
  if (IsVirtual())
    Send(LB_SETCOUNT, WPARAM(FCount));
  else if (FSaved->GetCount()) {
    Send(WM_SETREDRAW, FALSE);
    for (int i = 0; i < FSaved->GetCount(); ++i) {
      LRESULT at = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((*FSaved)[i].c_str()));
      if (at >= 0) Send(LB_SETITEMDATA, WPARAM(at), reinterpret_cast<LPARAM>(FSaved->GetObjects(i)));
    }
    Send(WM_SETREDRAW, TRUE);
    FSaved->Clear();
  }
  SetItemIndex(FSavedItemIndex);
  for (int i : FSavedSelection) Send(LB_SETSEL, TRUE, i);
  FSavedSelection.clear();
  Send(LB_SETTOPINDEX, WPARAM(std::max(FSavedTopIndex, 0)));
}

void TCustomListBox::DestroyWnd()
{
  FSavedItemIndex = GetItemIndex();
  FSavedTopIndex = GetTopIndex();
  FSavedSelection.clear();
  if (FMultiSelect)
    for (int i = 0, n = int(Send(LB_GETCOUNT)); i < n; ++i)
      if (Send(LB_GETSEL, WPARAM(i)) > 0) FSavedSelection.push_back(i);
  if (!IsVirtual()) {
    FSaved->Clear();
    int n = int(Send(LB_GETCOUNT));
    for (int i = 0; i < n; ++i)
      FSaved->AddObject(FItems->GetStrings(i), reinterpret_cast<TObject*>(Send(LB_GETITEMDATA, WPARAM(i))));
  }
  TWinControl::DestroyWnd();
}

int TCustomListBox::GetCount() { return IsVirtual() ? FCount : FItems->GetCount(); }

void TCustomListBox::SetCount(int Value)
{
  if (!IsVirtual()) throw EInvalidOperation("Count can only be set on a virtual list box");
  FCount = std::max(Value, 0);
  if (HandleAllocated()) Send(LB_SETCOUNT, WPARAM(FCount));
}

AnsiString TCustomListBox::GetItemText(int Index)
{
  if (!IsVirtual()) return FItems->GetStrings(Index);
  AnsiString data;
  if (OnData) OnData(this, Index, data);
  return data;
}

int TCustomListBox::GetItemIndex()
{
  if (!HandleAllocated()) return FSavedItemIndex;
  return int(FMultiSelect ? Send(LB_GETCARETINDEX) : Send(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int Value)
{
  if (!HandleAllocated()) {
    FSavedItemIndex = Value;
    return;
  }
  if (FMultiSelect)
    Send(LB_SETCARETINDEX, WPARAM(std::max(Value, 0)), FALSE);
  else
    Send(LB_SETCURSEL, WPARAM(Value));
}

bool TCustomListBox::GetSelected(int Index)
{
  if (Index < 0 || Index >= GetCount()) throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  LRESULT r = Send(LB_GETSEL, WPARAM(Index));
  return r > 0;
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
  if (Index < 0 || Index >= GetCount()) throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  if (FMultiSelect)
    Send(LB_SETSEL, Value, Index);
  else if (Value)
    Send(LB_SETCURSEL, WPARAM(Index));
  else if (GetItemIndex() == Index)
    Send(LB_SETCURSEL, WPARAM(-1));
}

int TCustomListBox::GetSelCount()
{
  if (!FMultiSelect) return GetItemIndex() >= 0 ? 1 : 0;
  return int(Send(LB_GETSELCOUNT));
}

void TCustomListBox::ClearSelection()
{
  if (FMultiSelect)
    Send(LB_SELITEMRANGE, FALSE, MAKELPARAM(0, 0xFFFF));
  else
    Send(LB_SETCURSEL, WPARAM(-1));
}

void TCustomListBox::SelectAll()
{
  if (FMultiSelect) Send(LB_SETSEL, TRUE, -1);
}

void TCustomListBox::DeleteSelected()
{
  if (IsVirtual()) NoVirtualLines();
  FItems->BeginUpdate();
  TScopeExit updated([this] { FItems->EndUpdate(); });
  for (int i = GetCount() - 1; i >= 0; --i)
    if (GetSelected(i)) FItems->Delete(i);
}

void TCustomListBox::Clear() { FItems->Clear(); }

void TCustomListBox::SetMultiSelect(bool Value)
{
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value)
{
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value)
{
  if (FSorted == Value) return;
  FSorted = Value;
  FSaved->SetSorted(Value);
  RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
  if (FStyle == Value) return;
  bool wasVirtual = IsVirtual();
  FStyle = Value;
  // Lines do not cross between the kept and the virtual kinds.
  if (wasVirtual != IsVirtual()) {
    FSaved->Clear();
    FCount = 0;
    if (HandleAllocated()) Send(LB_RESETCONTENT);
  }
  RecreateWnd();
}

int TCustomListBox::GetItemHeight()
{
  if (HandleAllocated() && FStyle == lbStandard) return int(Send(LB_GETITEMHEIGHT));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value)
{
  if (Value <= 0 || Value == FItemHeight) return;
  FItemHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int Value)
{
  Value = std::max(Value, 0);
  if (FColumns == Value) return;
  bool styleChanges = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (styleChanges)
    RecreateWnd();
  else if (HandleAllocated())
    Send(LB_SETCOLUMNWIDTH, WPARAM(std::max(GetWidth() / FColumns, 1)));
}

int TCustomListBox::GetTopIndex() { return HandleAllocated() ? int(Send(LB_GETTOPINDEX)) : FSavedTopIndex; }

void TCustomListBox::SetTopIndex(int Value)
{
  if (HandleAllocated())
    Send(LB_SETTOPINDEX, WPARAM(std::max(Value, 0)));
  else
    FSavedTopIndex = Value;
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

int TCustomListBox::ItemAtPos(POINT Pos, bool Existing)
{
  int count = GetCount();
  RECT client = GetClientRect();
  if (Pos.x < 0 || Pos.y < 0 || Pos.x >= client.right || Pos.y >= client.bottom) return Existing ? -1 : count;
  for (int i = GetTopIndex(); i < count; ++i) {
    RECT r = ItemRect(i);
    if (r.top > client.bottom && !FColumns) break;
    if (Pos.x >= r.left && Pos.x < r.right && Pos.y >= r.top && Pos.y < r.bottom) return i;
  }
  return Existing ? -1 : count;
}

RECT TCustomListBox::ItemRect(int Index)
{
  RECT r{};
  int count = GetCount();
  if (Index >= 0 && Index < count) {
    Send(LB_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  if (Index == count && count > 0) {
    // Where a line after the last one would be.
    Send(LB_GETITEMRECT, WPARAM(count - 1), reinterpret_cast<LPARAM>(&r));
    int h = r.bottom - r.top;
    return RECT{r.left, r.top + h, r.right, r.bottom + h};
  }
  return r;
}

// ---- Notifications and drawing ------------------------------------------------------------------

void TCustomListBox::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); return;
    case CN_DRAWITEM: CNDrawItem(Message); return;
    case CN_MEASUREITEM: CNMeasureItem(Message); return;
    default: TWinControl::Dispatch(Message);
  }
}

void TCustomListBox::CNCommand(TMessage& Message)
{
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListBox::CNDrawItem(TMessage& Message)
{
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState state = OwnerDrawStateOf(di->itemState);
  FCanvas->SetHandle(di->hDC);
  FCanvas->GetFont()->Assign(GetFont());
  FCanvas->GetBrush()->Assign(GetBrush());
  if (int(di->itemID) >= 0 && (di->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
    if (state.Contains(odSelected)) {
      FCanvas->GetBrush()->SetColor(clHighlight);
      FCanvas->GetFont()->SetColor(clHighlightText);
    }
    DrawItem(int(di->itemID), di->rcItem, state);
  } else if (int(di->itemID) < 0 || !(di->itemAction & ODA_FOCUS))
    FCanvas->FillRect(di->rcItem);
  if (state.Contains(odFocused) && (di->itemAction & (ODA_FOCUS | ODA_DRAWENTIRE))) FCanvas->DrawFocusRect(di->rcItem);
  FCanvas->SetHandle(nullptr);
  Message.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& Message)
{
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(int(mi->itemID), height);
  mi->itemHeight = UINT(std::max(height, 1));
  Message.Result = TRUE;
}

void TCustomListBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  bool custom = (FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw);
  if (custom && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->TextOut(Rect.left + 2, Rect.top, GetItemText(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}
