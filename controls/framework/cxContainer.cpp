// Sections: life -> view calculation and refresh -> inner control placement -> focus and keys ->
// mouse -> messages -> unit functions.
#include "controls/framework/cxContainer.h"

#include <algorithm>

#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/rtl/Guards.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace {

bool SameRect(const RECT& A, const RECT& B)
{
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

}  // namespace

// ---- Life

TcxContainer::TcxContainer(TComponent* AOwner) : TcxControl(AOwner)
{
  TValueGuard creating(FCreating, true);
  ControlStyle.Include(csCaptureMouse);
  ControlStyle.Include(csSetCaption);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TcxContainer::~TcxContainer()
{
  cxControls::EndMouseTracking(this);
  FDestroying = true;
  Destroying();
  FViewInfo.reset();
  if (FStyle) FStyle->OnChanged = nullptr;
  FStyle.reset();
}

std::unique_ptr<TcxContainerStyle> TcxContainer::CreateStyle()
{
  return std::make_unique<TcxContainerStyle>(this, IsReferenceStyleNeeded());
}

std::unique_ptr<TcxContainerViewInfo> TcxContainer::CreateViewInfo()
{
  return std::make_unique<TcxContainerViewInfo>();
}

TcxContainerStyle* TcxContainer::GetStyle()
{
  if (!FStyle) {
    FStyle = CreateStyle();
    FStyle->OnChanged = [this](TObject*) { StyleChanged(); };
    GetLookAndFeel()->SetMasterLookAndFeel(FStyle->GetLookAndFeel());
  }
  return FStyle.get();
}

TcxContainerViewInfo* TcxContainer::GetViewInfo()
{
  if (!FViewInfo) FViewInfo = CreateViewInfo();
  return FViewInfo.get();
}

void TcxContainer::SetInnerControl(TWinControl* Value)
{
  FInnerControl = Value;
  FInnerClip.reset();
}

void TcxContainer::Loaded()
{
  TcxControl::Loaded();
  StyleChanged();
}

bool TcxContainer::GetParentColorFor(TColor& Color)
{
  if (!GetParentColor() || !GetParent()) return false;
  Color = GetParent()->GetColor();
  return true;
}

void TcxContainer::RestoreStyleDefaults()
{
  SetParentColor(false);
  SetParentFont(true);
}

void TcxContainer::SetDragMode(TDragMode Value)
{
  TcxControl::SetDragMode(Value);
  if (FInnerControl) FInnerControl->SetDragMode(Value);
}

void TcxContainer::SetDragKind(TDragKind Value)
{
  TcxControl::SetDragKind(Value);
  if (FInnerControl) FInnerControl->SetDragKind(Value);
}

void TcxContainer::SetInnerBoundsChanging(bool Entering)
{
  FInnerBoundsChanging = std::max(0, FInnerBoundsChanging + (Entering ? 1 : -1));
}

// ---- View calculation and refresh

RECT TcxContainer::GetBorderExtent()
{
  TcxContainerStyle* style = GetStyle();
  int w = (style->GetTransparentBorder() || style->GetHotTrack())
              ? 2
              : cxContainer::BorderWidth(cxContainer::EffectiveBorderStyle(style->GetBorderStyle(), 0));
  RECT r{w, w, w, w};
  if (HasShadow()) {
    r.right += 3;
    r.bottom += 3;
  }
  return r;
}

bool TcxContainer::HasShadow() { return GetStyle()->GetShadow() && !GetViewInfo()->NativeStyle; }

RECT TcxContainer::GetMouseAreaBounds()
{
  RECT r = cxContainer::GetControlRect(this);
  if (GetViewInfo()->NativeStyle) return r;
  RECT e = GetBorderExtent();
  r = RECT{r.left + e.left, r.top + e.top, r.right - e.right, r.bottom - e.bottom};
  const int w = GetViewInfo()->BorderWidth;
  TcxBorders edges = GetStyle()->GetEdges();
  if (edges.Contains(bLeft)) r.left -= w;
  if (edges.Contains(bTop)) r.top -= w;
  if (edges.Contains(bRight)) r.right += w;
  if (edges.Contains(bBottom)) r.bottom += w;
  return r;
}

int TcxContainer::GetNativeState()
{
  const TcxContainerState s = GetViewInfo()->ContainerState;
  if (s.Contains(cssDisabled)) return 4;
  if (s.Contains(cssFocused)) return 5;
  if (s.Contains(cssMouseInside)) return 2;
  return 1;
}

void TcxContainer::CalculateViewInfo(POINT P, bool IsMouseEvent)
{
  TcxContainerViewInfo* vi = GetViewInfo();
  TcxContainerStyle* style = GetStyle();
  vi->Bounds = cxContainer::GetControlRect(this);
  vi->NativeStyle = style->GetLookAndFeel()->GetNativeStyle() && dxThemeManager::OpenTheme(GetThemedObjectType());
  if (vi->NativeStyle) {
    vi->ThemedObjectType = GetThemedObjectType();
    vi->NativePart = GetNativePart();
  }
  vi->Shadow = HasShadow();
  TcxContainerState state;
  if (!GetEnabled()) {
    state = {cssDisabled};
  } else if (IsDesigning()) {
    state = {cssNormal};
  } else {
    state = Focused() ? TcxContainerState{cssFocused} : TcxContainerState{cssNormal};
    RECT area = GetMouseAreaBounds();
    if (IsMouseEvent && Windows::PtInRect(&area, P)) state.Include(cssMouseInside);
  }
  vi->ContainerState = state;
  vi->HotState = !style->GetHotTrack() ? 0 : (state.Contains(cssFocused) || state.Contains(cssMouseInside)) ? 2 : 1;
  vi->BorderStyle = cxContainer::EffectiveBorderStyle(style->GetBorderStyle(), vi->HotState);
  RECT e = GetBorderExtent();
  vi->BorderRect =
      RECT{vi->Bounds.left + e.left, vi->Bounds.top + e.top, vi->Bounds.right - e.right, vi->Bounds.bottom - e.bottom};
  vi->BorderWidth = cxContainer::BorderWidth(vi->BorderStyle);
  vi->Edges = style->GetEdges();
  vi->ClientRect = vi->BorderRect;
  if (vi->NativeStyle) vi->NativeState = GetNativeState();
  if (style->GetBorderStyle() == cbsUltraFlat) {
    const bool hot = state.Contains(cssFocused) || (state.Contains(cssMouseInside) && style->GetHotTrack()) ||
                     (IsDesigning() && GetEnabled());
    vi->BorderColor = hot ? clHighlight : clBtnShadow;
  } else {
    vi->BorderColor = style->GetBorderColor();
  }
  if (vi->NativeStyle) {
    COLORREF fill = 0;
    if (!GetEnabled()) {
      if (HTHEME theme = dxThemeManager::OpenTheme(GetThemedObjectType()))
        dxUxTheme::GetThemeColor(theme, GetNativePart(), GetNativeState(), 3802, &fill);
      vi->SetBackgroundColor(TColor(fill));
    } else {
      vi->SetBackgroundColor(GetColor());
    }
  } else {
    vi->SetBackgroundColor(GetEnabled() ? style->GetColor() : clBtnFace);
  }
}

void TcxContainer::UpdateWindowRegion()
{
  if (!HandleAllocated()) return;
  TcxContainerViewInfo* vi = GetViewInfo();
  RECT e = GetBorderExtent();
  RECT r{vi->Bounds.left + e.left, vi->Bounds.top + e.top, vi->Bounds.right - e.right, vi->Bounds.bottom - e.bottom};
  const int w = vi->BorderWidth;
  if (vi->Edges.Contains(bLeft)) r.left -= w;
  if (vi->Edges.Contains(bTop)) r.top -= w;
  if (vi->Edges.Contains(bRight)) r.right += w;
  if (vi->Edges.Contains(bBottom)) r.bottom += w;
  cxContainer::SetWindowRegion(GetHandle(), r, vi->NativeStyle, vi->Shadow);
}

void TcxContainer::RefreshView(POINT P, int, bool IsMouseEvent, TShiftState)
{
  if (FMovingInnerControl || IsContainerDestroying()) return;
  CalculateViewInfo(P, IsMouseEvent && GetStyle()->GetHotTrack());
  AdjustInnerControl();
  UpdateInnerControlColors();
  UpdateWindowRegion();
  if (!HandleAllocated()) return;
  TcxContainerViewInfo* vi = GetViewInfo();
  if (FInnerControl)
    cxContainer::InvalidateFrame(GetHandle(), vi->Bounds, vi->BorderRect, false);
  else
    InvalidateRect(vi->Bounds, false);
}

void TcxContainer::ShortRefresh(bool IsMouseEvent)
{
  if (!HandleAllocated() || IsContainerDestroying()) return;
  POINT p;
  Windows::GetCursorPos(&p);
  RefreshView(ScreenToClient(p), 0, IsMouseEvent, cxContainer::GetShiftState());
}

void TcxContainer::UpdateInnerControlColors()
{
  if (!FInnerControl || IsContainerDestroying()) return;
  FInnerControl->SetColor(GetViewInfo()->BackgroundColor);
  FInnerControl->SetFont(GetFont());
  if (!GetEnabled()) FInnerControl->GetFont()->SetColor(clBtnShadow);
}

void TcxContainer::StyleChanged()
{
  if (FCreating || IsContainerDestroying()) return;
  if (IsLoading()) return;
  ShortRefresh(false);
  TcxContainerStyle* style = GetStyle();
  if (style->GetEffectiveColor() != GetColor()) {
    SetParentColor(false);
    TValueGuard applying(FApplyingStyle, true);
    SetColor(style->GetColor());
  }
  if (style->GetFont()) {
    TValueGuard applying(FApplyingStyle, true);
    SetFont(style->GetFont());
  }
}

void TcxContainer::ColorValueChanged()
{
  if (FCreating || IsContainerDestroying()) return;
  if (FApplyingStyle) {
    ShortRefresh(false);
    return;
  }
  GetStyle()->SetColor(GetColor());
}

void TcxContainer::SyncScrollBars()
{
  if (!HasOwnScrollBars() || !FInnerControl || IsContainerDestroying() || FSyncingScrollBars) return;
  TValueGuard syncing(FSyncingScrollBars, true);
  SyncOwnScrollBar(GetHScrollBar(), OBJID_HSCROLL, SB_HORZ);
  SyncOwnScrollBar(GetVScrollBar(), OBJID_VSCROLL, SB_VERT);
}

void TcxContainer::SyncOwnScrollBar(TcxScrollBar* Bar, LONG Object, int BarKind)
{
  if (!Bar) return;
  HWND inner = FInnerControl->HandleAllocated() ? FInnerControl->GetHandle() : nullptr;
  RECT bounds{};
  bool unavailable = false;
  bool visible =
      inner && HandleAllocated() &&
      cxContainer::NativeScrollBarBounds(inner, Object, this, SIZE{GetWidth(), GetHeight()}, bounds, unavailable);
  Bar->SetEnabled(GetEnabled() && !unavailable);
  Bar->TControl::SetBoundsRect(visible ? bounds : RECT{});
  if (visible) {
    Bar->SetCtl3D(false);
    Bar->BringToFront();
  }
  Bar->SetVisible(visible);
  if (visible) cxContainer::CopyNativeScrollInfo(inner, BarKind, Bar);
}

void TcxContainer::FontChanged()
{
  if (FCreating || IsContainerDestroying()) return;
  if (FApplyingStyle) {
    GetCanvas()->GetCanvas()->GetFont()->Assign(GetFont());
    return;
  }
  GetCanvas()->GetCanvas()->GetFont()->Assign(GetFont());
  TcxControl::FontChanged();
  AdjustInnerControl();
  SyncScrollBars();
  if (HandleAllocated()) {
    ShortRefresh(false);
    if (FInnerControl) FInnerControl->SetFont(GetFont());
  }
}

void TcxContainer::Paint()
{
  TcxControl::Paint();
  TcxCanvas* canvas = GetCanvas();
  if (canvas->RectVisible(GetViewInfo()->Bounds)) {
    int saved = canvas->SaveState();
    GetViewInfo()->Paint(canvas);
    canvas->RestoreState(saved);
  }
}

void TcxContainer::Resize()
{
  TcxControl::Resize();
  if (!FCreating) ShortRefresh(false);
}

// ---- Inner control placement

void TcxContainer::GetClientBounds(RECT& R) { R = GetViewInfo()->ClientRect; }

void TcxContainer::AdjustClientRect(RECT& Rect)
{
  if (IsContainerDestroying()) return;
  Rect = GetViewInfo()->ClientRect;
}

void TcxContainer::AdjustInnerControl()
{
  if (!FInnerControl || IsContainerDestroying()) return;
  const RECT& r = GetViewInfo()->ClientRect;
  if (SameRect(FInnerControl->GetBoundsRect(), r)) return;
  TValueGuard moving(FMovingInnerControl, true);
  FInnerControl->TControl::SetBoundsRect(r);
}

std::optional<RECT> TcxContainer::GetChildClipRect(const RECT& Bounds, TControl* Child)
{
  RECT child = Child->GetBoundsRect();
  RECT inside;
  if (!Windows::IntersectRect(&inside, &child, &Bounds)) inside = RECT{0, 0, 0, 0};
  if (SameRect(inside, child)) return std::nullopt;
  Windows::OffsetRect(&inside, -child.left, -child.top);
  return inside;
}

bool TcxContainer::IsInnerControlBoundsChanged(TWinControl* AControl, const std::optional<RECT>& Clip)
{
  if (AControl != FInnerControl) return true;
  if (FInnerClip.has_value() != Clip.has_value()) return true;
  return Clip && !SameRect(*FInnerClip, *Clip);
}

void TcxContainer::SetInnerControlBounds(TWinControl* AControl, const std::optional<RECT>& Clip)
{
  if (AControl == FInnerControl) FInnerClip = Clip;
}

void TcxContainer::AlignControls(TControl* AControl, RECT& Rect)
{
  if (ControlStyle.Contains(csAcceptsControls)) {
    TcxControl::AlignControls(AControl, Rect);
    return;
  }
  if (FInnerBoundsChanging > 0 || IsInternalControl(AControl)) return;
  if (!AControl) TcxControl::AlignControls(AControl, Rect);
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (FCreating || !win || !win->HandleAllocated()) return;
  std::optional<RECT> clip = GetChildClipRect(Rect, win);
  if (IsInnerControlBoundsChanged(win, clip)) {
    cxContainer::SetChildRegion(win, clip);
    SetInnerControlBounds(win, clip);
  }
}

void TcxContainer::CreateHandle()
{
  TcxControl::CreateHandle();
  GetCanvas()->GetCanvas()->GetFont()->Assign(GetFont());
  ShortRefresh(false);
}

void TcxContainer::CreateParams(TCreateParams& Params)
{
  TcxControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

// ---- Focus and keys

bool TcxContainer::IsInnerControlFocused()
{
  return FInnerControl && FInnerControl->HandleAllocated() && Windows::GetFocus() == FInnerControl->GetHandle();
}

bool TcxContainer::Focused()
{
  if (IsDesigning()) return false;
  return TcxControl::Focused() || IsInnerControlFocused();
}

bool TcxContainer::ShouldFocusOnClick()
{
  return !IsInnerControlFocused() && !FInnerMouseDown && TcxControl::ShouldFocusOnClick();
}

bool TcxContainer::GetFocusOnClick() { return !IsInnerControlFocused() && TcxControl::GetFocusOnClick(); }

void TcxContainer::FocusInnerControl()
{
  if (FInnerControl && FInnerControl->CanFocus()) FInnerControl->SetFocus();
}

void TcxContainer::SetFocus()
{
  if (IsDesigning() || Focused()) return;
  TcxControl::SetFocus();
  if (HandleAllocated() && Windows::GetFocus() == GetHandle() && FInnerControl && FInnerControl->HandleAllocated()) {
    FocusInnerControl();
    if (TCustomForm* form = GetParentForm(); form && FInnerControl->CanFocus()) form->FocusControl(FInnerControl);
  }
}

void TcxContainer::FocusChanged()
{
  TcxControl::FocusChanged();
  ShortRefresh(false);
}

void TcxContainer::WMSetFocus(TMessage& Message)
{
  HWND from = reinterpret_cast<HWND>(Message.WParam);
  if (FInnerControl && FInnerControl->HandleAllocated() && from == FInnerControl->GetHandle() &&
      !IsContainerDestroying()) {
    Message.Result = 0;
    return;
  }
  TcxControl::WMSetFocus(Message);
  if (FInnerControl && HandleAllocated() && !IsContainerDestroying() && FInnerControl->CanFocus())
    FInnerControl->SetFocus();
}

void TcxContainer::WMKillFocus(TMessage& Message)
{
  HWND to = reinterpret_cast<HWND>(Message.WParam);
  if (FInnerControl && FInnerControl->HandleAllocated() && to == FInnerControl->GetHandle()) {
    Message.Result = 0;
    return;
  }
  TcxControl::WMKillFocus(Message);
}

void TcxContainer::KeyDown(Word& Key, TShiftState Shift)
{
  TcxControl::KeyDown(Key, Shift);
  if (Key != VK_TAB || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || !Focused() || WantsTab()) return;
  Key = 0;
  TCustomForm* form = GetParentForm();
  if (!form) return;
  // The inner control stands in the tab order in the container's place: step over the pair.
  auto ownPart = [this](TWinControl* C) {
    for (TWinControl* p = C; p; p = p->GetParent())
      if (p == this) return true;
    return false;
  };
  TWinControl* next = this;
  int steps = 0;
  do {
    next = form->FindNextControl(next, !Shift.Contains(ssShift), true, false);
  } while (next && next != this && ownPart(next) && ++steps < 1000);
  if (next && next != this) next->SetFocus();
  if (HandleAllocated() && Windows::GetFocus() == GetHandle()) FocusInnerControl();
}

// ---- Mouse

void TcxContainer::StartTracking()
{
  if (!HandleAllocated()) return;
  cxControls::BeginMouseTracking(this, GetMouseAreaBounds(), this);
}

void TcxContainer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxControl* self = this;
  AddSelfReference(&self);
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (!self) return;
  RemoveSelfReference(&self);
  FShiftState = Shift;
  RefreshView(POINT{X, Y}, cxContainer::MouseButtonCode(Button), true, Shift);
}

void TcxContainer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TcxControl* self = this;
  AddSelfReference(&self);
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (!self) return;
  RemoveSelfReference(&self);
  FShiftState = Shift;
  RefreshView(POINT{X, Y}, cxContainer::MouseButtonCode(Button), true, Shift);
}

void TcxContainer::MouseMove(TShiftState Shift, int X, int Y)
{
  TcxControl* self = this;
  AddSelfReference(&self);
  TcxControl::MouseMove(Shift, X, Y);
  if (!self) return;
  RemoveSelfReference(&self);
  RefreshView(POINT{X, Y}, 0, true, Shift);
  cxControls::EndMouseTracking(this);
  StartTracking();
}

void TcxContainer::MouseEnter(TControl* AControl)
{
  TcxControl::MouseEnter(AControl);
  ShortRefresh(true);
  StartTracking();
}

void TcxContainer::MouseLeave(TControl* AControl)
{
  TcxControl::MouseLeave(AControl);
  FShiftState = TShiftState{};
  ShortRefresh(true);
  // Moving onto the inner control is no leave: the tracking decides when the pair is left.
  POINT p;
  Windows::GetCursorPos(&p);
  RECT area = GetMouseAreaBounds();
  if (!HandleAllocated() || !Windows::PtInRect(&area, ScreenToClient(p))) cxControls::EndMouseTracking(this);
}

void TcxContainer::MouseLeave()
{
  cxControls::EndMouseTracking(this);
  MouseTrackingLeave();
}

void TcxContainer::MouseTrackingLeave()
{
  MouseLeave(static_cast<TControl*>(nullptr));
  cxControls::EndMouseTracking(this);
}

// ---- Messages

void TcxContainer::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
      if (FInnerControl && FInnerControl->HandleAllocated()) {
        Message.Result = Windows::SendMessage(FInnerControl->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_SETFOCUS:
      if (!GetVisible()) return;
      break;
    default: break;
  }
  TcxControl::WndProc(Message);
}

void TcxContainer::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_WINDOWPOSCHANGING:
      if (IsContainerDestroying()) {
        Message.Result = 0;
        return;
      }
      TcxControl::Dispatch(Message);
      return;
    case CM_CHILDKEY:
      // Tab in the inner control moves on from the pair, not back into the container.
      if (Message.WParam == VK_TAB && FInnerControl && reinterpret_cast<TControl*>(Message.LParam) == FInnerControl) {
        Word key = VK_TAB;
        KeyDown(key, cxContainer::GetShiftState());
        if (key == 0) {
          Message.Result = 1;
          return;
        }
      }
      TcxControl::Dispatch(Message);
      return;
    case CM_NCSIZECHANGED:
      TcxControl::Dispatch(Message);
      if (!FCreating && !IsLoading()) ShortRefresh(false);
      return;
    default: TcxControl::Dispatch(Message);
  }
}

void TcxContainer::WMContextMenu(TMessage& Message)
{
  POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  if (!(p.x == -1 && p.y == -1) && !IsDesigning()) {
    RECT client = GetViewInfo()->ClientRect;
    if (!Windows::PtInRect(&client, ScreenToClient(p))) {
      // The border shows no menu.
      Message.Result = 1;
      return;
    }
  }
  TcxControl::WMContextMenu(Message);
}

void TcxContainer::WMSetCursor(TMessage& Message)
{
  if (FInnerControl && reinterpret_cast<HWND>(Message.WParam) == GetHandle() && LOWORD(Message.LParam) == HTCLIENT) {
    POINT p;
    Windows::GetCursorPos(&p);
    RECT client = GetViewInfo()->ClientRect;
    if (!Windows::PtInRect(&client, ScreenToClient(p))) {
      Windows::SetCursor(Controls::AppLink().CursorHandle(crDefault));
      Message.Result = 1;
      return;
    }
  }
  TcxControl::WMSetCursor(Message);
}

void TcxContainer::CursorChanged()
{
  TcxControl::CursorChanged();
  if (FInnerControl) FInnerControl->SetCursor(GetCursor());
}

void TcxContainer::CMEnabledChanged(TMessage& Message)
{
  TcxControl::CMEnabledChanged(Message);
  EnabledChanged();
}

void TcxContainer::EnabledChanged()
{
  if (FInnerControl) FInnerControl->SetEnabled(GetEnabled());
  if (GetHScrollBar()) {
    GetHScrollBar()->SetEnabled(GetEnabled());
    GetVScrollBar()->SetEnabled(GetEnabled());
  }
  ShortRefresh(false);
}

void TcxContainer::CMSysColorChange(TMessage& Message)
{
  TcxControl::CMSysColorChange(Message);
  ShortRefresh(false);
}

void TcxContainer::CMCtl3DChanged(TMessage& Message)
{
  TcxControl::CMCtl3DChanged(Message);
  ShortRefresh(false);
}

void TcxContainer::CMParentColorChanged(TMessage& Message)
{
  TcxControl::CMParentColorChanged(Message);
  TcxContainerStyle* style = GetStyle();
  if (!style->GetAssignedValues().Contains(svColor) || GetParentColor()) {
    TcxContainerStyleValues values = style->GetAssignedValues();
    values.Exclude(svColor);
    style->SetAssignedValues(values);
  }
  if (style->GetColor() != GetColor()) StyleChanged();
}

void TcxContainer::CMParentFontChanged(TMessage& Message)
{
  const bool fontWasAssigned = GetStyle()->GetAssignedValues().Contains(svFont);
  TcxControl::CMParentFontChanged(Message);
  if (!fontWasAssigned) {
    TcxContainerStyleValues values = GetStyle()->GetAssignedValues();
    values.Exclude(svFont);
    GetStyle()->SetAssignedValues(values);
  }
}

// ---- Unit functions

namespace cxContainer {

bool NativeScrollBarBounds(HWND Wnd, LONG Object, TWinControl* Host, SIZE MaxSize, RECT& Bounds, bool& Unavailable)
{
  Bounds = RECT{};
  Unavailable = false;
  SCROLLBARINFO info;
  info.cbSize = sizeof(info);
  if (!Host || !Windows::GetScrollBarInfo(Wnd, Object, &info) ||
      (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
    return false;
  Unavailable = info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE;
  POINT tl = Host->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
  RECT r{tl.x, tl.y, tl.x + (info.rcScrollBar.right - info.rcScrollBar.left),
         tl.y + (info.rcScrollBar.bottom - info.rcScrollBar.top)};
  if (r.left < 0 || r.top < 0 || r.right - r.left > MaxSize.cx || r.bottom - r.top > MaxSize.cy) return false;
  Bounds = r;
  return true;
}

void CopyNativeScrollInfo(HWND Wnd, int BarKind, TcxScrollBar* Bar)
{
  SCROLLINFO si;
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!Windows::GetScrollInfo(Wnd, BarKind, &si)) return;
  const int page = std::min<int>(int(si.nPage), si.nMax);
  Bar->SetScrollParams(si.nMin, si.nMax, si.nPos, std::max(page, 0), true);
}

int MouseButtonCode(TMouseButton Button)
{
  switch (Button) {
    case mbLeft: return 1;
    case mbRight: return 2;
    case mbMiddle: return 3;
  }
  return 0;
}

RECT GetControlRect(TControl* AControl) { return RECT{0, 0, AControl->GetWidth(), AControl->GetHeight()}; }

void GetMouseCursorPos(POINT& P) { Windows::GetCursorPos(&P); }

void InvalidateControlRect(TWinControl* AControl, const RECT& R, bool Erase)
{
  if (AControl && AControl->HandleAllocated()) Windows::InvalidateRect(AControl->GetHandle(), &R, Erase);
}

void InvalidateFrame(HWND Wnd, const RECT& R, const RECT& InnerRect, bool Erase)
{
  if (InnerRect.right <= InnerRect.left || InnerRect.bottom <= InnerRect.top) {
    Windows::InvalidateRect(Wnd, &R, Erase);
    return;
  }
  const RECT bands[] = {{R.left, R.top, R.right, InnerRect.top},
                        {R.left, InnerRect.bottom, R.right, R.bottom},
                        {R.left, InnerRect.top, InnerRect.left, InnerRect.bottom},
                        {InnerRect.right, InnerRect.top, R.right, InnerRect.bottom}};
  for (const RECT& b : bands)
    if (b.right > b.left && b.bottom > b.top) Windows::InvalidateRect(Wnd, &b, Erase);
}

void SetWindowRegion(HWND Wnd, const RECT& R, bool NoRegion, bool Shadow, const RECT* Excluded)
{
  HRGN region = nullptr;
  if (!NoRegion) {
    region = Windows::CreateRectRgnIndirect(&R);
    if (Shadow) {
      HRGN shadow = Windows::CreateRectRgn(R.left + 3, R.top + 3, R.right + 3, R.bottom + 3);
      Windows::CombineRgn(region, region, shadow, RGN_OR);
      Windows::DeleteObject(shadow);
    }
    if (Excluded) {
      HRGN ex = Windows::CreateRectRgnIndirect(Excluded);
      Windows::CombineRgn(region, region, ex, RGN_DIFF);
      Windows::DeleteObject(ex);
    }
  }
  HRGN current = Windows::CreateRectRgn(0, 0, 0, 0);
  const bool hasCurrent = Windows::GetWindowRgn(Wnd, current) != ERROR;
  bool same = region ? (hasCurrent && Windows::EqualRgn(current, region)) : !hasCurrent;
  Windows::DeleteObject(current);
  if (same) {
    if (region) Windows::DeleteObject(region);
    return;
  }
  // The window takes the region over.
  Windows::SetWindowRgn(Wnd, region, TRUE);
}

void SetChildRegion(TWinControl* AControl, const std::optional<RECT>& R)
{
  if (!AControl->HandleAllocated()) return;
  Windows::SetWindowRgn(AControl->GetHandle(), R ? Windows::CreateRectRgnIndirect(&*R) : nullptr, FALSE);
}

bool IsHandleOfControl(TWinControl* AControl, HWND Handle)
{
  return AControl && AControl->HandleAllocated() && AControl->GetHandle() == Handle;
}

TShiftState GetShiftState()
{
  TShiftState s;
  if (Windows::GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (Windows::GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (Windows::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

bool StringsEqual(const AnsiString& S1, const AnsiString& S2, bool CaseSensitive)
{
  return CaseSensitive ? SysUtils::AnsiCompareStr(S1, S2) == 0
                       : SysUtils::AnsiUpperCase(S1) == SysUtils::AnsiUpperCase(S2);
}

}  // namespace cxContainer

PELTO_DEFINE_CLASS(TcxContainer)
PELTO_PUBLISH(TcxContainer, p) { p.Property("TabStop", &ThisClass::GetTabStop, &ThisClass::SetTabStop).Default(true); }
