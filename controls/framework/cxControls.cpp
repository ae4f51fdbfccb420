// Sections: scroll bar, size grip and child component -> life of the control -> window procedure
// and messages -> mouse and keys -> own scroll bars -> drag and drop -> unit functions.
#include "controls/framework/cxControls.h"

#include <algorithm>
#include <cassert>

#include "controls/framework/cxControlsResources.h"
#include "controls/framework/cxDragAndDrop.h"
#include "controls/framework/cxGraphics.h"
#include "controls/framework/cxSettingsController.h"
#include "platform/rtl/Guards.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

// Removes a self reference when the scope ends, unless the control was freed meanwhile (it then
// cleared the variable and forgot it).
class TSelfReferenceGuard {
public:
  TSelfReferenceGuard(TcxControl* AControl, TcxControl** ARef) : FRef(ARef) { AControl->AddSelfReference(ARef); }
  ~TSelfReferenceGuard()
  {
    if (*FRef) (*FRef)->RemoveSelfReference(FRef);
  }
  TSelfReferenceGuard(const TSelfReferenceGuard&) = delete;
  TSelfReferenceGuard& operator=(const TSelfReferenceGuard&) = delete;

private:
  TcxControl** FRef;
};

int DragThreshold()
{
  return Controls::Mouse ? Controls::Mouse->GetDragThreshold() : Controls::AppLink().DragThreshold();
}

int WheelScrollLines()
{
  if (Controls::Mouse) return Controls::Mouse->GetWheelScrollLines();
  UINT lines = 3;
  Windows::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return int(lines);
}

bool IsEmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

int HourglassLevel = 0;
TCursor HourglassSavedCursor = crDefault;

}  // namespace

// ---- TcxControlScrollBar

TcxControlScrollBar::TcxControlScrollBar(TComponent* AOwner) : TcxScrollBar(AOwner)
{
  SetColor(clBtnFace);
  ControlStyle.Exclude(csFramed);
  ControlStyle.Include(csNoDesignVisible);
  SetTabStop(false);
  SetVisible(false);
  if (auto* control = dynamic_cast<TcxControl*>(AOwner))
    GetLookAndFeel()->SetMasterLookAndFeel(control->GetLookAndFeel());
}

void TcxControlScrollBar::ApplyCalculatedState()
{
  const TcxScrollBarState& s = CalculatedState;
  // A disabled bar keeps its last range: the calculated one was refused.
  if (s.Visible && s.Enabled) {
    SetScrollParams(s.Min, s.Max, s.Position, s.PageSize, true);
    SetSmallChange(s.SmallChange);
    SetLargeChange(s.LargeChange);
  }
  SetEnabled(s.Enabled);
  SetVisible(s.Visible);
}

void TcxControlScrollBar::FocusParent()
{
  TWinControl* parent = GetParent();
  if (!parent) return;
  if (auto* control = dynamic_cast<TcxControl*>(parent)) {
    if (control->MayFocus()) control->SetFocus();
  } else if (parent->CanFocus()) {
    parent->SetFocus();
  }
}

void TcxControlScrollBar::WndProc(TMessage& Message)
{
  if (Message.Msg == CM_DESIGNHITTEST) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == WM_LBUTTONDOWN) FocusParent();
  TcxScrollBar::WndProc(Message);
}

// ---- TcxSizeGrip

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetColor(clBtnFace);
  ControlStyle.Include(csNoDesignVisible);
  SetVisible(false);
}

void TcxSizeGrip::Paint()
{
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
}

// ---- TcxControlChildComponent

TcxControlChildComponent::TcxControlChildComponent(TComponent* AOwner) : TcxComponent(AOwner) {}

TcxControlChildComponent::~TcxControlChildComponent()
{
  if (FControl) FControl->RemoveChildComponent(this);
}

bool TcxControlChildComponent::IsDestroying() const { return GetComponentState().Contains(csDestroying); }

bool TcxControlChildComponent::IsLoading() const { return GetComponentState().Contains(csLoading); }

TComponent* TcxControlChildComponent::GetParentComponent() { return FControl; }

void TcxControlChildComponent::SetParentComponent(TComponent* Value)
{
  TcxComponent::SetParentComponent(Value);
  if (auto* control = dynamic_cast<TcxControl*>(Value)) control->AddChildComponent(this);
}

// ---- Life of the control

TcxControl::TcxControl(TComponent* AOwner) : TCustomControl(AOwner)
{
  FCanvas = std::make_unique<TcxCanvas>(TCustomControl::GetCanvas());
  FDefaultCursor = GetCursor();
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
    LookAndFeelChanged(Sender, Values);
  };
  FScrollBars = ssBoth;
  // A descendant that never focuses on a click clears TabStop itself: its GetFocusOnClick is
  // not in force inside this constructor.
  SetTabStop(GetFocusOnClick());
  ControlStyle.Include(csParentBackground);
}

TcxControl::~TcxControl()
{
  Destroying();
  FinishDragAndDrop(false);
  DestroyScrollBars();
  FListeners.clear();
  FScreenCanvas.reset();
  FCanvas.reset();
  FLookAndFeel.reset();
  FDragImages.reset();
  // Last registered first: nested handlers each notice that the control went.
  while (!FSelfReferences.empty()) {
    TcxControl** ref = FSelfReferences.back();
    FSelfReferences.pop_back();
    *ref = nullptr;
  }
}

// The bars are made on first need rather than in the constructor, where a descendant's
// HasOwnScrollBars would not yet answer.
void TcxControl::CreateScrollBars()
{
  if (FHScrollBar || IsDestroying() || !HasOwnScrollBars()) return;
  FHScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FHScrollBar->SetKind(sbHorizontal);
  FHScrollBar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) { Scroll(sbHorizontal, Code, Pos); };
  FVScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FVScrollBar->SetKind(sbVertical);
  FVScrollBar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) { Scroll(sbVertical, Code, Pos); };
  FSizeGrip = std::make_unique<TcxSizeGrip>(this);
  TcxSettingsController::Instance()->AddControl(this);
  InitScrollBars();
  if (HandleAllocated()) AttachScrollBars();
}

void TcxControl::DestroyScrollBars()
{
  if (!FHScrollBar) return;
  TcxSettingsController::RemoveControlIfAny(this);
  FSizeGrip.reset();
  FVScrollBar.reset();
  FHScrollBar.reset();
}

bool TcxControl::IsDestroying() const { return GetComponentState().Contains(csDestroying); }

bool TcxControl::IsLoading() const { return GetComponentState().Contains(csLoading); }

bool TcxControl::IsDesigning() const { return GetComponentState().Contains(csDesigning); }

void TcxControl::SetBorderStyle(TcxControlBorderStyle Value)
{
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  BoundsChanged();
  Invalidate();
}

void TcxControl::SetScrollBars(TScrollStyle Value)
{
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  BoundsChanged();
}

void TcxControl::SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }

void TcxControl::SetPopupMenu(TComponent* Value)
{
  if (Value && !dynamic_cast<TPopupMenuBase*>(Value) && !dynamic_cast<IcxPopupMenu*>(Value)) Value = nullptr;
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TcxControl::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TcxCanvas* TcxControl::GetActiveCanvas()
{
  if (HandleAllocated()) {
    FScreenCanvas.reset();
    return FCanvas.get();
  }
  if (!FScreenCanvas) FScreenCanvas = std::make_unique<TcxScreenCanvas>();
  return FScreenCanvas.get();
}

void TcxControl::AddSelfReference(TcxControl** Ref) { FSelfReferences.push_back(Ref); }

void TcxControl::RemoveSelfReference(TcxControl** Ref)
{
  auto it = std::find(FSelfReferences.rbegin(), FSelfReferences.rend(), Ref);
  if (it != FSelfReferences.rend()) FSelfReferences.erase(std::next(it).base());
}

void TcxControl::AddListener(IcxFontListener* Listener)
{
  if (Listener && std::find(FListeners.begin(), FListeners.end(), Listener) == FListeners.end())
    FListeners.push_back(Listener);
}

void TcxControl::RemoveListener(IcxFontListener* Listener) { std::erase(FListeners, Listener); }

void TcxControl::SetMouseCaptureObject(TObject* Value)
{
  if (FMouseCaptureObject == Value) return;
  if (auto* old = dynamic_cast<IcxMouseCaptureObject*>(FMouseCaptureObject)) old->MouseCaptureLost();
  FMouseCaptureObject = Value;
  if (Value)
    Controls::SetCaptureControl(this);
  else if (Controls::GetCaptureControl() == this)
    Controls::SetCaptureControl(nullptr);
}

void TcxControl::DesignerModified()
{
  // No form designer runs inside the program: nothing to tell.
}

bool TcxControl::CanFocusOnForm()
{
  if (!CanFocus()) return false;
  TCustomForm* form = GetParentForm();
  return !form || (form->CanFocus() && form->GetEnabled() && form->GetVisible());
}

TcxCustomLookAndFeelPainterClass TcxControl::GetLookAndFeelPainter() { return FLookAndFeel->GetPainter(); }

int TcxControl::GetBorderSize() { return FBorderStyle == cxcbsNone ? 0 : GetLookAndFeelPainter()->GetBorderWidth(); }

void TcxControl::InvalidateRect(const RECT& R, bool EraseBackground)
{
  if (HandleAllocated()) Windows::InvalidateRect(GetHandle(), &R, EraseBackground);
}

bool TcxControl::IsNearMouseDownPos(int X, int Y) const
{
  return cxControls::IsWithinDragThreshold(FMouseDownPos, X, Y);
}

bool TcxControl::IsWithinMouseDownArea(int X, int Y)
{
  return GetDragMode() == dmManual || cxControls::IsWithinDragThreshold(FMouseDownPos, X, Y);
}

void TcxControl::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd()
{
  CreateScrollBars();
  TCustomControl::CreateWnd();
  AttachScrollBars();
}

void TcxControl::AttachScrollBars()
{
  if (!FHScrollBar) return;
  FHScrollBar->SetParent(this);
  FVScrollBar->SetParent(this);
  FSizeGrip->SetParent(this);
}

bool TcxControl::IsInternalControl(TControl* AControl)
{
  return AControl && (AControl == FHScrollBar.get() || AControl == FVScrollBar.get() || AControl == FSizeGrip.get());
}

void TcxControl::Resize()
{
  TCustomControl::Resize();
  BoundsChanged();
}

// ---- Window procedure and messages

void TcxControl::WndProc(TMessage& Message)
{
  TcxControl* self = this;
  const UINT msg = Message.Msg;
  POINT p{Message.XPos(), Message.YPos()};
  {
    TSelfReferenceGuard guard(this, &self);
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && (GetWidth() > 0x8000 || GetHeight() > 0x8000)) {
      // The coordinates of lParam would overflow: ask the cursor.
      Windows::GetCursorPos(&p);
      p = ScreenToClient(p);
    }
    bool straight = false;
    if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && !DragManager::Dragging()) {
      straight = IsDesigning() ? CanDrag(p.x, p.y, TShiftState{ssLeft}) : GetDragMode() == dmAutomatic;
      // A windowless child's click goes the usual way.
      if (straight && ControlAtPos(p, false)) straight = false;
    }
    if (straight) {
      // The automatic drag waits for DragDetect in StartAutoDragOnMove: the click is handled first.
      ControlState.Include(csLButtonDown);
      Dispatch(Message);
      if (self) ControlState.Exclude(csLButtonDown);
    } else {
      TCustomControl::WndProc(Message);
    }
  }
  if (!self) return;
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    case WM_PAINT: {
      bool parentBackground = ControlStyle.Contains(csParentBackground);
      if (parentBackground != FLastParentBackground) {
        FLastParentBackground = parentBackground;
        ParentBackgroundChanged();
      }
      break;
    }
    case WM_LBUTTONDOWN: StartAutoDragOnMove(mbLeft, p.x, p.y); break;
    case WM_RBUTTONDOWN: StartAutoDragOnMove(mbRight, p.x, p.y); break;
    case WM_MBUTTONDOWN: StartAutoDragOnMove(mbMiddle, p.x, p.y); break;
    default: break;
  }
}

void TcxControl::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_GETDLGCODE: {
      LRESULT code = 0;
      if (FKeys.Contains(kAll)) code |= DLGC_WANTALLKEYS;
      if (FKeys.Contains(kArrows)) code |= DLGC_WANTARROWS;
      if (FKeys.Contains(kChars)) code |= DLGC_WANTCHARS;
      if (FKeys.Contains(kTab)) code |= DLGC_WANTTAB;
      Message.Result = code;
      return;
    }
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(Message);
      if (HandleAllocated()) Windows::PostMessage(GetHandle(), CM_NCSIZECHANGED, 0, 0);
      return;
    case CM_NCSIZECHANGED: NCSizeChanged(); return;
    case CM_DESIGNHITTEST:
      TCustomControl::Dispatch(Message);
      if (Message.Result == 0) {
        TShiftState shift = KeysToShiftState(Message.WParam);
        Message.Result = CanDrag(Message.XPos(), Message.YPos(), shift) ? 1 : 0;
      }
      return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TcxControl::NCSizeChanged()
{
  if (!FHScrollBar) return;
  SIZE size = cxScrollBar::GetDefaultScrollBarSize();
  if (FHScrollBar->GetHeight() == size.cy && FVScrollBar->GetWidth() == size.cx) return;
  FHScrollBar->SetHeight(size.cy);
  FVScrollBar->SetWidth(size.cx);
  BoundsChanged();
}

void TcxControl::WMCancelMode(TMessage& Message)
{
  TCustomControl::WMCancelMode(Message);
  FinishDragAndDrop(false);
  ReleaseMouseCaptureObject();
}

void TcxControl::WMContextMenu(TMessage& Message)
{
  if (Message.Result) return;
  POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  const bool keyboard = p.x == -1 && p.y == -1;
  if (IsDesigning()) {
    TCustomControl::WMContextMenu(Message);
    return;
  }
  if (!keyboard) {
    POINT c = ScreenToClient(p);
    RECT client = GetClientRect();
    if (!Windows::PtInRect(&client, c)) {
      // The border and what lies outside are the class library's.
      DefaultHandler(Message);
      return;
    }
  }
  bool handled = false;
  POINT client = keyboard ? POINT{-1, -1} : ScreenToClient(p);
  if (OnContextPopup) OnContextPopup(this, client, handled);
  if (!handled) {
    POINT at = keyboard ? ClientToScreen(POINT{0, 0}) : p;
    handled = DoShowPopupMenu(FPopupMenu, at.x, at.y);
  }
  Message.Result = handled ? 1 : 0;
  if (!handled) DefaultHandler(Message);
}

bool TcxControl::DoShowPopupMenu(TComponent* Menu, int X, int Y) { return cxControls::ShowPopupMenu(this, Menu, X, Y); }

void TcxControl::WMEraseBkgnd(TMessage& Message)
{
  if (EraseBackgroundNeeded())
    TCustomControl::WMEraseBkgnd(Message);
  else
    Message.Result = 1;
}

void TcxControl::WMPaint(TMessage& Message)
{
  // A class-library drag's image lies over the window: hide it while the window paints.
  TDragImageList* images = nullptr;
  if (TDragObject* source = DragManager::Source()) images = source->GetDragImages();
  if (images) images->HideDragImage();
  TCustomControl::WMPaint(Message);
  if (images) images->ShowDragImage();
}

void TcxControl::Paint()
{
  if (FBorderStyle == cxcbsDefault) {
    GetLookAndFeelPainter()->PaintBorder(FCanvas.get(), GetBounds());
    FCanvas->IntersectClip(GetClientBounds());
  }
  TCustomControl::Paint();
}

void TcxControl::WMSetCursor(TMessage& Message)
{
  if (IsDesigning() && FDragAndDropState == ddsNone) {
    POINT p;
    Windows::GetCursorPos(&p);
    p = ScreenToClient(p);
    if (CanDrag(p.x, p.y, TShiftState{ssLeft})) {
      Windows::SetCursor(Controls::AppLink().CursorHandle(GetCurrentCursor(p.x, p.y)));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WMSetCursor(Message);
}

void TcxControl::CMColorChanged(TMessage& Message)
{
  ColorValueChanged();
  TCustomControl::CMColorChanged(Message);
}

void TcxControl::CMCursorChanged(TMessage& Message)
{
  TCustomControl::CMCursorChanged(Message);
  if (!FSettingCursor) CursorChanged();
}

void TcxControl::CMFontChanged(TMessage& Message)
{
  TCustomControl::CMFontChanged(Message);
  FontChanged();
}

void TcxControl::FontChanged()
{
  std::vector<IcxFontListener*> listeners = FListeners;
  for (IcxFontListener* l : listeners) l->Changed(this, GetFont());
  Invalidate();
}

void TcxControl::FocusChanged()
{
  if (OnFocusChanged) OnFocusChanged(this);
}

void TcxControl::CMMouseEnter(TMessage& Message)
{
  TCustomControl::CMMouseEnter(Message);
  TControl* control = reinterpret_cast<TControl*>(Message.LParam);
  MouseEnter(control ? control : this);
}

void TcxControl::CMMouseLeave(TMessage& Message)
{
  TCustomControl::CMMouseLeave(Message);
  TControl* control = reinterpret_cast<TControl*>(Message.LParam);
  MouseLeave(control ? control : this);
}

void TcxControl::MouseEnter(TControl*)
{
  if (OnMouseEnter) OnMouseEnter(this);
}

void TcxControl::MouseLeave(TControl*)
{
  if (OnMouseLeave) OnMouseLeave(this);
}

void TcxControl::CMTextChanged(TMessage& Message)
{
  TCustomControl::CMTextChanged(Message);
  TextChanged();
}

void TcxControl::CMVisibleChanged(TMessage& Message)
{
  TCustomControl::CMVisibleChanged(Message);
  VisibleChanged();
}

// ---- Mouse and keys

bool TcxControl::ShouldFocusOnClick() { return !IsDesigning() && GetFocusOnClick() && CanFocus(); }

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  FMouseDownPos = POINT{X, Y};
  TcxControl* self = this;
  TSelfReferenceGuard guard(this, &self);
  const bool dbl = Shift.Contains(ssDouble);
  if (ShouldFocusOnClick() && !dbl) {
    SetFocus();
    if (!self) return;
    if (!IsFocused() && !AllowMouseDownWithoutFocus()) {
      if (Controls::GetCaptureControl() == this) Controls::SetCaptureControl(nullptr);
      return;
    }
  }
  if (Button == mbLeft && !dbl && StartDragAndDrop(POINT{X, Y})) {
    if (GetDragAndDropObject()->GetImmediateStart())
      BeginDragAndDrop();
    else
      SetDragAndDropState(ddsPending);
  } else {
    FinishDragAndDrop(false);
  }
  if (!self) return;
  BeforeMouseDown(Button, Shift, X, Y);
  if (!self) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TcxControl::SetInternalCursor(TCursor Value)
{
  TValueGuard guard(FSettingCursor, true);
  SetCursor(Value);
}

void TcxControl::MouseMove(TShiftState Shift, int X, int Y)
{
  SetInternalCursor(GetCurrentCursor(X, Y));
  TcxControl* self = this;
  TSelfReferenceGuard guard(this, &self);
  TCustomControl::MouseMove(Shift, X, Y);
  if (!self) return;
  if (FDragAndDropState == ddsPending && !cxControls::IsWithinDragThreshold(FMouseDownPos, X, Y)) BeginDragAndDrop();
  if (FDragAndDropState == ddsDragging) {
    bool accepted = false;
    DragAndDrop(POINT{X, Y}, accepted);
  }
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxControl* self = this;
  TSelfReferenceGuard guard(this, &self);
  FinishMouseOperations();
  if (!self) return;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxControl::FinishMouseOperations()
{
  FinishDragAndDrop(true);
  SetMouseCaptureObject(nullptr);
}

void TcxControl::KeyDown(Word& Key, TShiftState Shift)
{
  if (Key == VK_ESCAPE) FinishDragAndDrop(false);
  TCustomControl::KeyDown(Key, Shift);
}

TcxMouseWheelScrollingKind TcxControl::GetMouseWheelScrollingKind()
{
  return IsVScrollBarVisible() ? mwskVertical : mwskNone;
}

bool TcxControl::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TcxMouseWheelScrollingKind kind = GetMouseWheelScrollingKind();
  if (kind == mwskNone) return false;
  const bool forward = WheelDelta > 0;
  int direction = kind == mwskVertical ? (forward ? dirUp : dirDown) : (forward ? dirLeft : dirRight);
  TcxControl* self = this;
  TSelfReferenceGuard guard(this, &self);
  for (int i = 0, n = WheelScrollLines(); i < n && self; ++i) ScrollByDirection(direction);
  return true;
}

void TcxControl::ScrollByDirection(int Direction)
{
  if (!FHScrollBar || Direction == dirNone) return;
  const bool vertical = Direction == dirUp || Direction == dirDown;
  TScrollCode code = (Direction == dirLeft || Direction == dirUp) ? scLineUp : scLineDown;
  TcxControlScrollBar* bar = vertical ? FVScrollBar.get() : FHScrollBar.get();
  int pos = bar->GetPosition();
  Scroll(vertical ? sbVertical : sbHorizontal, code, pos);
}

// ---- Own scroll bars

bool TcxControl::IsHScrollBarVisible() const
{
  if (!FHScrollBar) return false;
  return FInVisibilityCalculation ? FHScrollBar->CalculatedState.Visible : FHScrollBar->GetVisible();
}

bool TcxControl::IsVScrollBarVisible() const
{
  if (!FVScrollBar) return false;
  return FInVisibilityCalculation ? FVScrollBar->CalculatedState.Visible : FVScrollBar->GetVisible();
}

void TcxControl::GetBounds(RECT& R)
{
  if (!IsEmptyRect(FBounds)) {
    R = FBounds;
    return;
  }
  if (HandleAllocated())
    R = GetClientRect();
  else
    R = RECT{0, 0, GetWidth(), GetHeight()};
}

void TcxControl::GetClientBounds(RECT& R)
{
  GetBounds(R);
  int border = GetBorderSize();
  Windows::InflateRect(&R, -border, -border);
  if (IsHScrollBarVisible()) R.bottom -= FHScrollBar->GetHeight();
  if (IsVScrollBarVisible()) R.right -= FVScrollBar->GetWidth();
}

void TcxControl::GetHScrollBarBounds(RECT& R)
{
  GetClientBounds(R);
  R.top = R.bottom;
  R.bottom = R.top + (FHScrollBar ? FHScrollBar->GetHeight() : 0);
}

void TcxControl::GetVScrollBarBounds(RECT& R)
{
  GetClientBounds(R);
  R.left = R.right;
  R.right = R.left + (FVScrollBar ? FVScrollBar->GetWidth() : 0);
}

void TcxControl::GetSizeGripBounds(RECT& R)
{
  RECT h, v;
  GetHScrollBarBounds(h);
  GetVScrollBarBounds(v);
  R = RECT{v.left, h.top, v.right, h.bottom};
}

void TcxControl::PlaceScrollBars()
{
  RECT r;
  if (FHScrollBar->GetVisible()) {
    GetHScrollBarBounds(r);
    FHScrollBar->TControl::SetBoundsRect(r);
  }
  if (FVScrollBar->GetVisible()) {
    GetVScrollBarBounds(r);
    FVScrollBar->TControl::SetBoundsRect(r);
  }
  if (FSizeGrip->GetVisible()) {
    GetSizeGripBounds(r);
    FSizeGrip->TControl::SetBoundsRect(r);
  }
}

void TcxControl::SetScrollBarInfo(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Pos, bool AllowShow,
                                  bool AllowHide)
{
  CreateScrollBars();
  if (!FHScrollBar) return;
  TcxControlScrollBar* bar = Kind == sbHorizontal ? FHScrollBar.get() : FVScrollBar.get();
  TcxScrollBarState& s = bar->CalculatedState;
  const bool admitted = Kind == sbHorizontal ? (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
                                             : (FScrollBars == ssVertical || FScrollBars == ssBoth);
  s.AllowShow = AllowShow && admitted;
  s.AllowHide = AllowHide;
  if (!s.AllowShow) {
    s.Visible = false;
    s.Enabled = false;
    return;
  }
  // Range arithmetic in 64 bits: Max - Min + 1 overflows for the full int range.
  const long long range = (long long)Max - Min + 1;
  if (Max >= Min && Page < range && Pos >= Min) {
    s.Min = Min;
    s.Max = Max;
    s.Position = Pos;
    s.PageSize = Page;
    s.SmallChange = short(Step);
    s.LargeChange = short(std::clamp(Page, 1, 32767));
    s.Enabled = true;
    s.Visible = true;
  } else {
    s.Enabled = false;
    s.Visible = !AllowHide;
  }
}

void TcxControl::CalculateScrollBarsVisibility()
{
  TValueGuard guard(FInVisibilityCalculation, true);
  TcxScrollBarState& h = FHScrollBar->CalculatedState;
  TcxScrollBarState& v = FVScrollBar->CalculatedState;
  h.Visible = false;
  v.Visible = false;
  // Showing one bar narrows the client bounds and may call for the other; a handful of passes
  // always settles (each bar can only turn on once the other did).
  for (int pass = 0; pass < 8; ++pass) {
    const bool hWas = h.Visible, vWas = v.Visible;
    UpdateScrollBarsParameters();
    if (h.Visible == hWas && v.Visible == vWas) break;
  }
  // Two bars that each stand only because of the other go together.
  auto covers = [](const TcxScrollBarState& s, int thickness) {
    return (long long)s.PageSize + thickness >= (long long)s.Max - s.Min + 1;
  };
  if (h.Visible && v.Visible && h.Enabled && v.Enabled && h.AllowHide && v.AllowHide &&
      IsPixelScrollBar(sbHorizontal) && IsPixelScrollBar(sbVertical) && covers(h, FVScrollBar->GetWidth()) &&
      covers(v, FHScrollBar->GetHeight())) {
    h.PageSize += FVScrollBar->GetWidth();
    v.PageSize += FHScrollBar->GetHeight();
    h.Visible = h.Enabled = false;
    v.Visible = v.Enabled = false;
  }
}

void TcxControl::UpdateScrollBars()
{
  CreateScrollBars();
  if (!FHScrollBar || IsDestroying()) return;
  const bool outermost = !FCalculatingScrollBarsParams;
  const bool hBefore = FHScrollBar->GetVisible(), vBefore = FVScrollBar->GetVisible();
  if (outermost) {
    FSavedHVisible = hBefore;
    FSavedVVisible = vBefore;
    FScrollBarsSettled = false;
  }
  TValueGuard calculating(FCalculatingScrollBarsParams, true);
  if (!FScrollBarsSettled) {
    CalculateScrollBarsVisibility();
    TcxScrollBarState& h = FHScrollBar->CalculatedState;
    TcxScrollBarState& v = FVScrollBar->CalculatedState;
    if (!outermost && h.Visible == FSavedHVisible && v.Visible == FSavedVVisible) {
      // The visibility swings back and forth: keep both shown, the one not needed disabled.
      FScrollBarsSettled = true;
      if (FHScrollBar->GetVisible() != FSavedHVisible) {
        FHScrollBar->SetVisible(true);
        FHScrollBar->SetEnabled(false);
      }
      if (FVScrollBar->GetVisible() != FSavedVVisible) {
        FVScrollBar->SetVisible(true);
        FVScrollBar->SetEnabled(false);
      }
    } else {
      FHScrollBar->ApplyCalculatedState();
      FVScrollBar->ApplyCalculatedState();
    }
  }
  if (FHScrollBar->GetVisible() != hBefore || FVScrollBar->GetVisible() != vBefore) {
    BoundsChanged();
    return;
  }
  FSizeGrip->SetVisible(FHScrollBar->GetVisible() && FVScrollBar->GetVisible());
  PlaceScrollBars();
  FHScrollBar->BringToFront();
  FVScrollBar->BringToFront();
  FSizeGrip->BringToFront();
}

// ---- Unit functions

namespace cxControls {

void GetMouseCursorPos(POINT& P) { Windows::GetCursorPos(&P); }

bool ShowPopupMenu(TControl* AControl, TComponent* AMenu, int X, int Y)
{
  if (!AMenu) return false;
  if (auto* menu = dynamic_cast<IcxPopupMenu*>(AMenu)) {
    menu->Popup(X, Y);
    return true;
  }
  if (auto* menu = dynamic_cast<TPopupMenuBase*>(AMenu); menu && menu->GetAutoPopup()) {
    menu->SetPopupComponent(AControl);
    menu->Popup(X, Y);
    return true;
  }
  return false;
}

void ShowHourglassCursor()
{
  if (HourglassLevel++ == 0) {
    HourglassSavedCursor = Controls::AppLink().ScreenCursor();
    Controls::AppLink().SetScreenCursor(crHourGlass);
  }
}

void RestoreCursor()
{
  if (HourglassLevel == 0) return;
  if (--HourglassLevel == 0) Controls::AppLink().SetScreenCursor(HourglassSavedCursor);
}

UINT GetDoubleClickInterval() { return Windows::GetDoubleClickTime(); }

RECT GetDesktopWorkArea(POINT P)
{
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = Windows::MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST);
  if (monitor && Windows::GetMonitorInfo(monitor, &info)) return info.rcWork;
  RECT r{};
  Windows::SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

bool IsCtrlPressed() { return Windows::GetAsyncKeyState(VK_CONTROL) < 0; }

bool IsWithinDragThreshold(POINT MouseDownPoint, int X, int Y)
{
  int t = DragThreshold();
  return std::abs(X - MouseDownPoint.x) < t && std::abs(Y - MouseDownPoint.y) < t;
}

void MapWindowRect(HWND From, HWND To, RECT& R) { Windows::MapWindowPoints(From, To, reinterpret_cast<POINT*>(&R), 2); }

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  cxControlsResources::RegisterCursors();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  // Whatever is still tracked here belongs to controls that were never freed; the list goes
  // quietly, since closing the program must not fail on it.
  assert(MouseTrackingCount() == 0 && "mouse tracking left running");
  FreeMouseTrackingTimers();
  TcxSettingsController::FreeInstance();
  cxControlsResources::UnregisterCursors();
  Initialized = false;
}

}  // namespace cxControls

PELTO_DEFINE_CLASS(TcxControlScrollBar)

PELTO_DEFINE_CLASS(TcxSizeGrip)

PELTO_DEFINE_CLASS(TcxControlChildComponent)

PELTO_DEFINE_CLASS(TcxControl)
PELTO_PUBLISH(TcxControl, p) { p.Property("LookAndFeel", &ThisClass::GetLookAndFeel, &ThisClass::SetLookAndFeel); }
