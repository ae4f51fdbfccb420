#include "platform/stdctrls/comctrls/ListView.h"

#include <algorithm>

#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/StdCtrlsUtil.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/scroll/ScrollBars.h"

namespace {
[[noreturn]] void ListItemIndexError(int Index)
{
  throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
}

// The classic large-icon spacing, and the gaps around the icon and the caption.
constexpr int kIconSpacing = 75;
constexpr int kIconTop = 2;
constexpr int kCaptionGap = 4;
constexpr int kCaptionPad = 2;
constexpr int kCaptionLines = 2;  // what an unselected caption shows at most
constexpr UINT kCaptionFlags = DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
}  // namespace

// ==== TListItem =================================================================================

TCustomListView* TListItem::GetListView() const { return FOwner->GetOwner(); }

void TListItem::SetCaption(const AnsiString& Value)
{
  if (FCaption == Value) return;
  FCaption = Value;
  GetListView()->ItemsChanged();
}

void TListItem::SetImageIndex(int Value)
{
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  GetListView()->ItemsChanged();
}

int TListItem::GetIndex() const { return FOwner->IndexOf(this); }

bool TListItem::GetSelected() const { return GetListView()->GetSelected() == this; }

void TListItem::SetSelected(bool Value)
{
  TCustomListView* view = GetListView();
  if (Value)
    view->SetSelected(this);
  else if (view->GetSelected() == this)
    view->SetSelected(nullptr);
}

RECT TListItem::DisplayRect() const { return GetListView()->CellRect(GetIndex()); }

void TListItem::MakeVisible()
{
  TCustomListView* view = GetListView();
  RECT cell = DisplayRect();
  int height = view->GetClientHeight();
  if (cell.top < 0)
    view->ScrollTo(view->FScrollTop + cell.top);
  else if (cell.bottom > height)
    view->ScrollTo(view->FScrollTop + std::min(cell.bottom - height, cell.top));
}

void TListItem::Delete() { FOwner->Delete(GetIndex()); }

// ==== TListItems ================================================================================

TListItems::~TListItems() = default;

TListItem* TListItems::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount()) ListItemIndexError(Index);
  return FItems[std::size_t(Index)].get();
}

TListItem* TListItems::Add() { return Insert(GetCount()); }

TListItem* TListItems::Insert(int Index)
{
  Index = std::clamp(Index, 0, GetCount());
  std::unique_ptr<TListItem> item(new TListItem(this));
  TListItem* result = item.get();
  FItems.insert(FItems.begin() + Index, std::move(item));
  FOwner->ItemsChanged();
  return result;
}

void TListItems::Delete(int Index)
{
  TListItem* item = GetItem(Index);
  if (FOwner->FSelected == item) FOwner->SetSelected(nullptr);
  // A handler may have changed the list: look the item up again.
  int at = IndexOf(item);
  if (at >= 0) FItems.erase(FItems.begin() + at);
  FOwner->ItemsChanged();
}

void TListItems::Clear()
{
  if (FItems.empty()) return;
  if (FOwner->FSelected) FOwner->SetSelected(nullptr);
  FItems.clear();
  FOwner->FSelected = nullptr;
  FOwner->ItemsChanged();
}

int TListItems::IndexOf(const TListItem* Value) const
{
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Value) return int(i);
  return -1;
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate()
{
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) FOwner->ItemsChanged();
}

// ==== TCustomListView ===========================================================================

TCustomListView::TCustomListView(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TListItems>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>())
{
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FImageChangeLink->OnChange = [this](TObject*) { ImageListChange(); };
}

TCustomListView::~TCustomListView()
{
  FSelected = nullptr;
  if (FLargeImages) FLargeImages->UnRegisterChanges(FImageChangeLink.get());
}

void TCustomListView::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_VSCROLL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd()
{
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TCustomListView::SetLargeImages(TCustomImageList* Value)
{
  if (Value == FLargeImages) return;
  if (FLargeImages) {
    FLargeImages->UnRegisterChanges(FImageChangeLink.get());
    FLargeImages->RemoveFreeNotification(this);
  }
  FLargeImages = Value;
  if (FLargeImages) {
    FLargeImages->RegisterChanges(FImageChangeLink.get());
    FLargeImages->FreeNotification(this);
  }
  ItemsChanged();
}

void TCustomListView::ImageListChange() { ItemsChanged(); }

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomControl::Notification(AComponent, Operation);
  // The list is being destroyed: forget it without calling into it.
  if (Operation == opRemove && AComponent == FLargeImages) {
    FLargeImages = nullptr;
    ItemsChanged();
  }
}

void TCustomListView::SetViewStyle(TViewStyle Value)
{
  if (Value != vsIcon) throw EInvalidOperation("This list view shows large icons only (vsIcon)");
  FViewStyle = Value;
}

void TCustomListView::SetBorderStyle(TBorderStyle Value)
{
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListView::SetBorderWidth(int Value)
{
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  ItemsChanged();
}

void TCustomListView::SetHideSelection(bool Value)
{
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}

// ---- Selection -------------------------------------------------------------------------------------

void TCustomListView::SetSelected(TListItem* Value)
{
  if (Value && Value->FOwner != FItems.get()) return;
  if (Value == FSelected) return;
  TListItem* old = FSelected;
  FSelected = Value;
  if (HandleAllocated()) {
    if (old) {
      RECT r = CellRect(old->GetIndex());
      Windows::InvalidateRect(GetHandle(), &r, TRUE);
    }
    if (Value) {
      Value->MakeVisible();
      RECT r = CellRect(Value->GetIndex());
      Windows::InvalidateRect(GetHandle(), &r, TRUE);
    }
  }
  if (old) SelectItem(old, false);
  if (Value && FSelected == Value) SelectItem(Value, true);
}

int TCustomListView::GetItemIndex() const { return FSelected ? FSelected->GetIndex() : -1; }

void TCustomListView::SetItemIndex(int Value)
{
  SetSelected(Value >= 0 && Value < FItems->GetCount() ? FItems->GetItem(Value) : nullptr);
}

void TCustomListView::SelectItem(TListItem* Item, bool Selected)
{
  if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

// ---- Layout ----------------------------------------------------------------------------------------

SIZE TCustomListView::GetCellSize()
{
  int imageW = FLargeImages ? FLargeImages->GetWidth() : 32;
  int imageH = FLargeImages ? FLargeImages->GetHeight() : 32;
  int lineH = StdCtrlsUtil::FontMetrics(GetFont()).tmHeight;
  return SIZE{std::max(kIconSpacing, imageW + 16),
              kIconTop + imageH + kCaptionGap + kCaptionLines * lineH + 2 * kCaptionPad + 4};
}

int TCustomListView::GetColumnCount()
{
  int width = GetClientWidth() - 2 * FBorderWidth;
  return std::max(1, width / GetCellSize().cx);
}

RECT TCustomListView::CellRect(int Index)
{
  if (Index < 0) return RECT{};
  SIZE cell = GetCellSize();
  int columns = GetColumnCount();
  int x = FBorderWidth + (Index % columns) * cell.cx;
  int y = FBorderWidth + (Index / columns) * cell.cy - FScrollTop;
  return RECT{x, y, x + cell.cx, y + cell.cy};
}

RECT TCustomListView::IconRect(const RECT& Cell)
{
  int imageW = FLargeImages ? FLargeImages->GetWidth() : 32;
  int imageH = FLargeImages ? FLargeImages->GetHeight() : 32;
  int x = Cell.left + (Cell.right - Cell.left - imageW) / 2;
  return RECT{x, Cell.top + kIconTop, x + imageW, Cell.top + kIconTop + imageH};
}

RECT TCustomListView::CaptionRect(const RECT& Cell, const AnsiString& Caption, bool Full)
{
  RECT icon = IconRect(Cell);
  int width = Cell.right - Cell.left - 2 * kCaptionPad - 2;
  RECT text{0, 0, width, 0};
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  Windows::DrawText(canvas->GetHandle(), Caption.c_str(), int(Caption.size()), &text, kCaptionFlags | DT_CALCRECT);
  int lineH = StdCtrlsUtil::FontMetrics(GetFont()).tmHeight;
  int height = text.bottom - text.top;
  if (!Full) height = std::min(height, kCaptionLines * lineH);
  int textW = std::min<int>(text.right - text.left, width);
  int left = Cell.left + (Cell.right - Cell.left - textW) / 2 - kCaptionPad;
  int top = icon.bottom + kCaptionGap;
  return RECT{left, top, left + textW + 2 * kCaptionPad, top + std::max(height, lineH) + 2 * kCaptionPad - 2};
}

int TCustomListView::ContentHeight()
{
  int count = FItems->GetCount();
  if (count == 0) return 0;
  int rows = (count + GetColumnCount() - 1) / GetColumnCount();
  return rows * GetCellSize().cy + 2 * FBorderWidth;
}

TListItem* TCustomListView::GetItemAt(int X, int Y)
{
  int count = FItems->GetCount();
  if (count == 0 || X < FBorderWidth || Y < 0) return nullptr;
  SIZE cell = GetCellSize();
  int columns = GetColumnCount();
  int column = (X - FBorderWidth) / cell.cx;
  int row = (Y + FScrollTop - FBorderWidth) / cell.cy;
  if (column >= columns || Y + FScrollTop < FBorderWidth) return nullptr;
  int index = row * columns + column;
  if (index >= count) return nullptr;
  TListItem* item = FItems->GetItem(index);
  RECT r = CellRect(index);
  POINT p{X, Y};
  RECT icon = IconRect(r);
  RECT caption = CaptionRect(r, item->GetCaption(), item == FSelected);
  auto inside = [&p](const RECT& R) { return p.x >= R.left && p.x < R.right && p.y >= R.top && p.y < R.bottom; };
  return inside(icon) || inside(caption) ? item : nullptr;
}

void TCustomListView::ItemsChanged()
{
  if (FItems->FUpdateCount > 0 || !HandleAllocated()) return;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListView::UpdateScrollBar()
{
  if (!HandleAllocated()) return;
  int page = GetClientHeight();
  int content = ContentHeight();
  FScrollTop = std::clamp(FScrollTop, 0, std::max(content - page, 0));
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(content - 1, 0);
  si.nPage = UINT(std::max(page, 0));
  si.nPos = FScrollTop;
  Windows::SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
  // Showing or hiding the bar changes the width, and with it the rows.
  if (GetClientHeight() != page || ContentHeight() != content) {
    si.nMax = std::max(ContentHeight() - 1, 0);
    si.nPage = UINT(std::max(GetClientHeight(), 0));
    Windows::SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
  }
}

void TCustomListView::ScrollTo(int Top)
{
  int limit = std::max(ContentHeight() - GetClientHeight(), 0);
  Top = std::clamp(Top, 0, limit);
  if (Top == FScrollTop) return;
  FScrollTop = Top;
  if (HandleAllocated()) {
    Windows::SetScrollPos(GetHandle(), SB_VERT, FScrollTop, TRUE);
    Invalidate();
  }
}

void TCustomListView::WMVScroll(TMessage& Message)
{
  int line = GetCellSize().cy, page = std::max(GetClientHeight() - line, line);
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: ScrollTo(FScrollTop - line); break;
    case SB_LINEDOWN: ScrollTo(FScrollTop + line); break;
    case SB_PAGEUP: ScrollTo(FScrollTop - page); break;
    case SB_PAGEDOWN: ScrollTo(FScrollTop + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollTo(int(std::int16_t(HIWORD(Message.WParam)))); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(ContentHeight()); break;
    default: break;
  }
  Message.Result = 0;
}

bool TCustomListView::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  ScrollTo(FScrollTop - WheelDelta * GetCellSize().cy / 120);
  return true;
}

// ---- Input -----------------------------------------------------------------------------------------

void TCustomListView::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        WMVScroll(Message);
        return;
      }
      break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      UpdateScrollBar();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      if (FSelected && HandleAllocated()) {
        RECT r = CellRect(FSelected->GetIndex());
        Windows::InvalidateRect(GetHandle(), &r, TRUE);
      }
      return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (CanFocus()) SetFocus();
  if (Button == mbLeft || Button == mbRight) SetSelected(GetItemAt(X, Y));
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListView::KeyDown(Word& Key, TShiftState Shift)
{
  TCustomControl::KeyDown(Key, Shift);
  int count = FItems->GetCount();
  if (count == 0 || Key == 0) return;
  int columns = GetColumnCount(), at = GetItemIndex(), to = at;
  switch (Key) {
    case VK_LEFT: to = at < 0 ? 0 : std::max(at - 1, 0); break;
    case VK_RIGHT: to = at < 0 ? 0 : std::min(at + 1, count - 1); break;
    case VK_UP: to = at < 0 ? 0 : (at - columns >= 0 ? at - columns : at); break;
    case VK_DOWN: to = at < 0 ? 0 : (at + columns < count ? at + columns : at); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    default: return;
  }
  Key = 0;
  SetItemIndex(to);
}

// ---- Painting --------------------------------------------------------------------------------------

void TCustomListView::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT client = GetClientRect();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(client);
  canvas->GetFont()->Assign(GetFont());
  HDC dc = canvas->GetHandle();
  bool focused = Focused();
  int count = FItems->GetCount();
  for (int i = 0; i < count; ++i) {
    RECT cell = CellRect(i);
    if (cell.bottom <= client.top) continue;
    if (cell.top >= client.bottom) break;
    TListItem* item = FItems->GetItem(i);
    bool selected = item == FSelected && (focused || !FHideSelection);
    RECT icon = IconRect(cell);
    if (FLargeImages && item->GetImageIndex() >= 0)
      FLargeImages->Draw(canvas, icon.left, icon.top, item->GetImageIndex(),
                         selected && focused ? dsSelected : dsNormal, itImage, GetEnabled());
    RECT caption = CaptionRect(cell, item->GetCaption(), selected);
    TColor textColor = GetEnabled() ? GetFont()->GetColor() : clGrayText;
    if (selected) {
      canvas->GetBrush()->SetColor(focused ? clHighlight : clBtnFace);
      canvas->FillRect(caption);
      textColor = focused ? clHighlightText : clBtnText;
    }
    // The text goes straight to the DC: its colours are set there, whatever the canvas last used.
    Windows::SetBkMode(dc, TRANSPARENT);
    Windows::SetTextColor(dc, Graphics::ColorToRGB(textColor));
    RECT text{caption.left + kCaptionPad, caption.top + kCaptionPad - 1, caption.right - kCaptionPad,
              caption.bottom - kCaptionPad + 1};
    UINT flags = kCaptionFlags | (selected ? 0u : UINT(DT_END_ELLIPSIS));
    Windows::DrawText(dc, item->GetCaption().c_str(), int(item->GetCaption().size()), &text, flags);
    if (selected && focused) canvas->DrawFocusRect(caption);
  }
}
