// Sections: life -> the painted bars -> events handed to the container -> messages.
#include "controls/framework/cxInnerListBox.h"

#include "controls/framework/cxGraphics.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/rtl/Guards.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/Messages.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {
// The class library's message after its own scrolling of a list (CM_BASE + 37).
constexpr UINT cxListBoxScrolled = 0xB025;
}  // namespace

// ---- Life

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
  FCanvas = std::make_unique<TcxCanvas>(GetCanvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { LookAndFeelChanged(); };
  auto makeBar = [this](TScrollBarKind Kind) {
    auto* bar = new TcxScrollBar(this);
    bar->FreeNotification(this);
    bar->SetKind(Kind);
    bar->SetSmallChange(1);
    bar->SetVisible(false);
    bar->GetLookAndFeel()->SetMasterLookAndFeel(FLookAndFeel.get());
    bar->OnScroll = [this, Kind](TObject*, TScrollCode Code, int& Pos) { BarScroll(Kind, Code, Pos); };
    return bar;
  };
  FHScrollBar = makeBar(sbHorizontal);
  FVScrollBar = makeBar(sbVertical);
  ControlStyle.Include(csDoubleClicks);
  SetParentColor(false);
  SetParentFont(true);
}

TcxCustomInnerListBox::~TcxCustomInnerListBox()
{
  Destroying();
  // The bars are owned components: they go with the list box wherever they are placed.
  FHScrollBar = FVScrollBar = nullptr;
  DestroyComponents();
  FLookAndFeel.reset();
  FCanvas.reset();
}

bool TcxCustomInnerListBox::Destroying() const { return GetComponentState().Contains(csDestroying); }

void TcxCustomInnerListBox::CreateParams(TCreateParams& Params)
{
  TCustomListBox::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerListBox::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
}

void TcxCustomInnerListBox::LookAndFeelChanged()
{
  if (HandleAllocated()) Invalidate();
}

// ---- The painted bars

void TcxCustomInnerListBox::BarScroll(TScrollBarKind Kind, TScrollCode Code, int& Pos)
{
  TcxScrollBar* bar = Kind == sbHorizontal ? FHScrollBar : FVScrollBar;
  if (!bar || !bar->HandleAllocated() || !HandleAllocated()) return;
  const int nativeBar = Kind == sbHorizontal ? SB_HORZ : SB_VERT;
  if (Code == scTrack || Code == scPosition) {
    // The message's high word holds 16 bits only: the full position goes through the bar's data.
    SCROLLINFO si;
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    si.nTrackPos = Pos;
    Windows::SetScrollInfo(GetHandle(), nativeBar, &si, FALSE);
  }
  TMessage m;
  m.Msg = Kind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL;
  m.WParam = MAKEWPARAM(WORD(Code), WORD(Pos));
  m.LParam = reinterpret_cast<LPARAM>(bar->GetHandle());
  m.Result = 0;
  DefaultHandler(m);
  Pos = Windows::GetScrollPos(GetHandle(), nativeBar);
}

void TcxCustomInnerListBox::SyncBar(TcxScrollBar* Bar, LONG Object, int BarKind)
{
  if (!Bar) return;
  TWinControl* parent = GetParent();
  RECT bounds{};
  bool unavailable = false;
  bool visible =
      HandleAllocated() && cxContainer::NativeScrollBarBounds(GetHandle(), Object, parent,
                                                              SIZE{GetWidth(), GetHeight()}, bounds, unavailable);
  if (visible) {
    Bar->SetEnabled(!unavailable);
    // Placed already: a scroll moves nothing but the thumb.
    const RECT now = Bar->GetBoundsRect();
    const bool placed = Bar->GetParent() == parent && Bar->GetVisible() && now.left == bounds.left &&
                        now.top == bounds.top && now.right == bounds.right && now.bottom == bounds.bottom;
    if (!placed) {
      if (Bar->GetParent() != parent) {
        ++FBlockSync;
        Bar->SetParent(parent);
        --FBlockSync;
      }
      Bar->TControl::SetBoundsRect(bounds);
      Bar->SetCtl3D(false);
      Bar->BringToFront();
    }
  } else {
    Bar->TControl::SetBoundsRect(RECT{0, 0, 0, 0});
  }
  Bar->SetVisible(visible);
  if (visible) cxContainer::CopyNativeScrollInfo(GetHandle(), BarKind, Bar);
}

void TcxCustomInnerListBox::SyncScrollBars()
{
  if (Destroying() || FBlockSync > 0 || FSyncing) return;
  TValueGuard syncing(FSyncing, true);
  SyncBar(FHScrollBar, OBJID_HSCROLL, SB_HORZ);
  SyncBar(FVScrollBar, OBJID_VSCROLL, SB_VERT);
}

RECT TcxCustomInnerListBox::GetSizeGripRect()
{
  if (!FHScrollBar || !FVScrollBar || !FHScrollBar->GetVisible() || !FVScrollBar->GetVisible()) return RECT{};
  RECT r{FVScrollBar->GetLeft(), FHScrollBar->GetTop(), FVScrollBar->GetLeft() + FVScrollBar->GetWidth(),
         FHScrollBar->GetTop() + FHScrollBar->GetHeight()};
  // From the parent's client coordinates to this window's.
  Windows::OffsetRect(&r, -GetLeft(), -GetTop());
  return r;
}

// ---- Events handed to the container

void TcxCustomInnerListBox::Click()
{
  TCustomListBox::Click();
  if (FVScrollBar) FVScrollBar->SetPosition(GetTopIndex());
  if (FContainer) FContainer->Click();
}

void TcxCustomInnerListBox::DblClick()
{
  TCustomListBox::DblClick();
  if (FContainer) FContainer->DblClick();
}

void TcxCustomInnerListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  if (!FContainer) return;
  TValueGuard innerDown(FContainer->FInnerMouseDown, true);
  FContainer->MouseDown(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::MouseMove(TShiftState Shift, int X, int Y)
{
  TCustomListBox::MouseMove(Shift, X, Y);
  if (FContainer) FContainer->MouseMove(Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomListBox::MouseUp(Button, Shift, X, Y);
  if (FContainer) FContainer->MouseUp(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::MouseLeave(TControl*)
{
  if (FContainer) FContainer->ShortRefresh(true);
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (FContainer && FContainer->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return TCustomListBox::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerListBox::KeyDown(Word& Key, TShiftState Shift)
{
  if (FContainer) FContainer->KeyDown(Key, Shift);
  if (Key != 0) TCustomListBox::KeyDown(Key, Shift);
}

void TcxCustomInnerListBox::KeyPress(char& Key)
{
  if (Key == '\t') Key = 0;
  if (FContainer && Key) FContainer->KeyPress(Key);
  if (Key == '\r') Key = 0;
  if (Key) TCustomListBox::KeyPress(Key);
}

void TcxCustomInnerListBox::KeyUp(Word& Key, TShiftState Shift)
{
  if (Key == VK_TAB) Key = 0;
  if (FContainer && Key) FContainer->KeyUp(Key, Shift);
  if (Key) TCustomListBox::KeyUp(Key, Shift);
}

void TcxCustomInnerListBox::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  if (FContainer) FContainer->DragOver(Source, X + GetLeft(), Y + GetTop(), State, Accept);
}

void TcxCustomInnerListBox::DragDrop(TObject* Source, int X, int Y)
{
  if (FContainer) FContainer->DragDrop(Source, X + GetLeft(), Y + GetTop());
}

// ---- Messages

// Answers whether the press was taken for dragging the container.
bool TcxCustomInnerListBox::HandleContainerDrag(TMessage& Message)
{
  if (!FContainer || FContainer->GetDragMode() != dmAutomatic || FContainer->IsDesigning()) return false;
  const TDragMode saved = GetDragMode();
  SetDragMode(dmManual);
  struct TRestore {
    TcxCustomInnerListBox* Box;
    TDragMode Mode;
    ~TRestore() { Box->SetDragMode(Mode); }
  } restore{this, saved};
  const TShiftState shift = KeysToShiftState(Message.WParam);
  const bool shiftOnly = shift.Contains(ssShift) && !shift.Contains(ssCtrl);
  const int item = ItemAtPos(POINT{Message.XPos(), Message.YPos()}, true);
  if (GetMultiSelect() && !shiftOnly && item >= 0 && GetSelected(item)) {
    // The selection stays as it is: the press belongs to the drag.
    FContainer->BeginDrag(false, -1);
    return true;
  }
  TCustomListBox::WndProc(Message);
  if (!(GetMultiSelect() && (shift.Contains(ssCtrl) || shift.Contains(ssShift)))) FContainer->BeginDrag(false, -1);
  return true;
}

void TcxCustomInnerListBox::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      if (HandleContainerDrag(Message)) return;
      break;
    case WM_GETDLGCODE:
      TCustomListBox::WndProc(Message);
      if (FContainer) {
        Message.Result |= DLGC_WANTCHARS;
        if (Windows::GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      }
      return;
    case WM_SETFOCUS: {
      TCustomListBox::WndProc(Message);
      HWND from = reinterpret_cast<HWND>(Message.WParam);
      if (FContainer && !Destroying() && !FContainer->IsContainerDestroying() &&
          !(FContainer->HandleAllocated() && from == FContainer->GetHandle()))
        FContainer->FocusChanged();
      return;
    }
    case WM_KILLFOCUS:
      TCustomListBox::WndProc(Message);
      if (FContainer && !FContainer->IsContainerDestroying()) FContainer->FocusChanged();
      return;
    case WM_NCPAINT: {
      TCustomListBox::WndProc(Message);
      RECT grip = GetSizeGripRect();
      if (grip.right > grip.left && HandleAllocated()) {
        HDC dc = Windows::GetWindowDC(GetHandle());
        HBRUSH brush = Windows::CreateSolidBrush(Graphics::ColorToRGB(clBtnFace));
        Windows::FillRect(dc, &grip, brush);
        Windows::DeleteObject(brush);
        Windows::ReleaseDC(GetHandle(), dc);
      }
      return;
    }
    case CM_MOUSEENTER:
      TCustomListBox::WndProc(Message);
      MouseEnter(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case CM_MOUSELEAVE:
      TCustomListBox::WndProc(Message);
      MouseLeave(reinterpret_cast<TControl*>(Message.LParam));
      return;
    default: break;
  }
  TCustomListBox::WndProc(Message);
  // While drawing is off (an update of many items) the bars wait for the end.
  if (Message.Msg == WM_SETREDRAW) FRedrawOff = !Message.WParam;
  if (FRedrawOff) return;
  switch (Message.Msg) {
    case WM_SETREDRAW: SyncScrollBars(); break;
    case WM_WINDOWPOSCHANGED:
      SyncScrollBars();
      if (!Destroying() && HandleAllocated() && GetSizeGripRect().right > 0)
        Windows::SendMessage(GetHandle(), WM_NCPAINT, 1, 0);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETHORIZONTALEXTENT:
    case LB_SETTOPINDEX:
    case LB_SETCARETINDEX:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case cxListBoxScrolled: SyncScrollBars(); break;
    case WM_NCCALCSIZE:
      if (!FSyncing) SyncScrollBars();
      break;
    default: break;
  }
}

PELTO_DEFINE_CLASS(TcxCustomInnerListBox)
