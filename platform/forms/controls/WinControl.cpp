// TWinControl. Sections: construction, window making, children, alignment, focus and tab order,
// messages, keys, painting.
#include "platform/forms/controls/WinControl.h"

#include <algorithm>
#include <map>
#include <string>

#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/DockTree.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/Imm.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {
// Counts focus changes: a CM_EXIT or CM_ENTER handler that moves the focus elsewhere ends the
// walk that sent it.
int gFocusCount = 0;

LRESULT DefProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) { return Windows::DefWindowProc(wnd, msg, w, l); }

// The default procedure each class name was registered for.
std::map<AnsiString, WNDPROC>& RegisteredDefaults()
{
  static std::map<AnsiString, WNDPROC> map;
  return map;
}
}  // namespace

// ---- Construction -------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
  FBrush = std::make_unique<TBrush>();
  FBrush->SetColor(GetColor());
  FDefWndProc = DefProc;
}

TWinControl::~TWinControl()
{
  Destroying();
  if (FDockSite) DockDrag::UnregisterSite(this);
  for (TControl* c : FDockClients) TControlAccess::SetHostDockSiteInternal(c, nullptr);
  FDockClients.clear();
  FDockManager.reset();
  if (FParent) FParent->RemoveControl(this);
  if (TWinControl* root = RootControl();
      root != this && root->FFocusedControl && ContainsControl(root->FFocusedControl))
    root->FFocusedControl = nullptr;
  if (FHandle) DestroyHandle();
  // The owner frees the children; they only lose their parent here.
  for (TControl* c : FControls) TControlAccess::SetParentInternal(c, nullptr);
  for (TWinControl* c : FWinControls) TControlAccess::SetParentInternal(c, nullptr);
  FControls.clear();
  FWinControls.clear();
  FTabList.clear();
}

// ---- Window making --------------------------------------------------------------------------------

HWND TWinControl::GetHandle()
{
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded()
{
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value)
{
  if (FParent || Value == FParentWindow) return;
  if (FHandle && Value) Windows::SetParent(FHandle, Value);
  FParentWindow = Value;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (GetVisible()) Params.Style |= WS_VISIBLE;
  if (!GetEnabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->GetHandle() : FParentWindow;
  Params.WindowClass = WNDCLASSEXA{};
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefProc;
  Params.WindowClass.hCursor = Windows::LoadCursor(nullptr, IDC_ARROW);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName)
{
  WNDCLASSEXA wc;
  if (!Windows::GetClassInfoEx(nullptr, ControlClassName, &wc)) return;
  // The system class's look and procedure; the window keeps our name and procedure.
  UINT keepStyle = wc.style;
  Params.WindowClass = wc;
  Params.WindowClass.style = keepStyle;
  Params.WindowClass.lpszClassName = nullptr;
}

void TWinControl::CreateWnd()
{
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD))
    throw EInvalidOperation(SysUtils::Format("Control '%s' has no parent window", {GetName()}));
  FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefProc;
  // One class name stands for one default procedure: a class based on another system class
  // (two controls that share a declared class name) gets a name of its own.
  auto& known = RegisteredDefaults();
  WNDCLASSEXA existing;
  for (int n = 2;; ++n) {
    bool registered = Windows::GetClassInfoEx(nullptr, params.WinClassName.c_str(), &existing);
    auto it = known.find(params.WinClassName);
    if (!registered || it == known.end() || it->second == FDefWndProc) break;
    params.WinClassName = AnsiString(ClassName()) + "." + std::to_string(n);
  }
  known[params.WinClassName] = FDefWndProc;
  if (!Windows::GetClassInfoEx(nullptr, params.WinClassName.c_str(), &existing)) {
    WNDCLASSEXA wc = params.WindowClass;
    wc.lpfnWndProc = Controls::InitWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!Windows::RegisterClassEx(&wc))
      throw EInvalidOperation(SysUtils::Format("Cannot register the window class %s", {params.WinClassName}));
  }
  CreateWindowHandle(params);
  if (!FHandle) throw EInvalidOperation(SysUtils::Format("Error creating window for control '%s'", {GetName()}));
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
  Controls::SetCreationControl(this);
  TScopeExit done([] { Controls::SetCreationControl(nullptr); });
  HWND wnd = Windows::CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                                     Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                                     nullptr, Params.Param);
  if (wnd) FHandle = wnd;
}

void TWinControl::CreateHandle()
{
  if (FHandle) return;
  ControlState.Include(csCreating);
  {
    TScopeExit created([this] { ControlState.Exclude(csCreating); });
    CreateWnd();
  }
  // The window may have a size other than asked (constraints of the window layer).
  RECT r;
  if (Windows::GetWindowRect(FHandle, &r)) {
    if (FParent) {
      HWND parent = Windows::GetParent(FHandle);
      POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
      Windows::MapWindowPoints(nullptr, parent, pts, 2);
      r = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    }
    UpdateBoundsRect(r);
  }
  for (TWinControl* child : FWinControls)
    if (!child->FHandle) child->CreateHandle();
  if (FControls.size() + FWinControls.size() > 0) Realign();
}

void TWinControl::DestroyHandle()
{
  if (!FHandle) return;
  ControlState.Include(csDestroyingHandle);
  TScopeExit done([this] { ControlState.Exclude(csDestroyingHandle); });
  for (TWinControl* child : FWinControls) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd()
{
  // The text lives on in the control until the next window.
  FText = Windows::GetWindowText(FHandle);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
  HWND wnd = FHandle;
  if (!wnd) return;
  Windows::DestroyWindow(wnd);
  if (FHandle == wnd) {
    Controls::ForgetWindow(wnd);
    FHandle = nullptr;
  }
}

void TWinControl::RecreateWnd()
{
  if (!FHandle || FRecreating) return;
  TValueGuard busy(FRecreating, true);
  TWinControl* focused = Controls::FindControl(Windows::GetFocus());
  if (focused && !ContainsControl(focused)) focused = nullptr;
  DestroyHandle();
  UpdateControlState();
  if (!FHandle) HandleNeeded();
  if (focused && focused->CanFocus()) Windows::SetFocus(focused->GetHandle());
}

void TWinControl::UpdateControlState() { UpdateShowing(); }

void TWinControl::UpdateShowing()
{
  bool parentReady = FParent ? FParent->HandleAllocated() : true;
  if (!parentReady) return;
  if (GetVisible() && !FHandle && (FParent || FParentWindow)) CreateHandle();
  if (FHandle && FParent) Windows::ShowWindow(FHandle, GetVisible() ? SW_SHOWNA : SW_HIDE);
  Perform(CM_SHOWINGCHANGED, 0, 0);
}

// ---- Children ---------------------------------------------------------------------------------------

TControl* TWinControl::GetControl(int Index) const
{
  if (Index < 0 || Index >= GetControlCount())
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  if (std::size_t(Index) < FControls.size()) return FControls[std::size_t(Index)];
  return FWinControls[std::size_t(Index) - FControls.size()];
}

void TWinControl::Insert(TControl* AControl)
{
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(win);
    FTabList.push_back(win);
  } else {
    FControls.push_back(AControl);
  }
  TControlAccess::SetParentInternal(AControl, this);
}

void TWinControl::Remove(TControl* AControl)
{
  // By address: a control half destroyed no longer answers dynamic_cast as a TWinControl.
  std::erase_if(FWinControls, [AControl](TWinControl* c) { return static_cast<TControl*>(c) == AControl; });
  std::erase_if(FTabList, [AControl](TWinControl* c) { return static_cast<TControl*>(c) == AControl; });
  std::erase(FControls, AControl);
  TControlAccess::SetParentInternal(AControl, nullptr);
}

void TWinControl::InsertControl(TControl* AControl)
{
  Insert(AControl);
  // The child takes over what it inherits.
  AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    win->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    if (FHandle) win->UpdateControlState();
  } else if (FHandle) {
    AControl->Invalidate();
  }
  if (AControl->GetAlign() != alNone && AControl->GetVisible()) AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    win->RemoveFocus(true);
    win->DestroyHandle();
  } else if (FHandle) {
    AControl->InvalidateControl(AControl->GetVisible(), false);
  }
  Remove(AControl);
  if (AControl->GetAlign() != alNone && !GetComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const
{
  while (Control && Control != this) Control = Control->GetParent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(POINT Pos, bool AllowDisabled, bool AllowWinControls)
{
  auto hits = [&](TControl* c) {
    if (!c->GetVisible() && !c->GetComponentState().Contains(csDesigning)) return false;
    if (!c->GetEnabled() && !AllowDisabled) return false;
    RECT b = c->GetBoundsRect();
    if (Pos.x < b.left || Pos.x >= b.right || Pos.y < b.top || Pos.y >= b.bottom) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.x - b.left, Pos.y - b.top)) != 0;
  };
  if (AllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hits(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hits(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
  // A handler may take children out: walk a copy.
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* c : all) {
    c->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg)
{
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::SetChildOrder(TComponent* Child, int Order)
{
  auto* control = dynamic_cast<TControl*>(Child);
  if (!control || control->GetParent() != this) return;
  auto move = [&](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return;
    list.erase(it);
    int pos = std::clamp(Order, 0, int(list.size()));
    list.insert(list.begin() + pos, item);
  };
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    move(FWinControls, win);
    if (win->FHandle) {
      // The window layer lists children topmost first.
      auto it = std::find(FWinControls.begin(), FWinControls.end(), win);
      HWND after = HWND_BOTTOM;
      if (it + 1 != FWinControls.end() && (*(it + 1))->FHandle) after = (*(it + 1))->FHandle;
      if (it + 1 == FWinControls.end()) after = HWND_TOP;
      if (after == HWND_TOP || after == HWND_BOTTOM)
        Windows::SetWindowPos(win->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      else {
        // Just below the next sibling up: place it there, then put that sibling back above.
        Windows::SetWindowPos(win->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
    }
  } else {
    move(FControls, control);
    control->Invalidate();
  }
  if (control->GetAlign() != alNone) Realign();
}

void TWinControl::SetZOrder(bool TopMost)
{
  if (FParent) FParent->SetChildOrder(this, TopMost ? FParent->GetControlCount() : 0);
}

void TWinControl::ShowControl(TControl* AControl)
{
  if (FParent) FParent->ShowControl(this);
}

// ---- Docking -----------------------------------------------------------------------------------

void TWinControl::SetDockSite(bool Value)
{
  if (Value == FDockSite) return;
  FDockSite = Value;
  if (Value)
    DockDrag::RegisterSite(this);
  else
    DockDrag::UnregisterSite(this);
  SetUseDockManager(FUseDockManager);
}

void TWinControl::SetUseDockManager(bool Value)
{
  FUseDockManager = Value;
  bool wanted = FDockSite && FUseDockManager;
  if (wanted && !FDockManager) {
    FDockManager = CreateDockManager();
    if (FDockManager) {
      FDockManager->BeginUpdate();
      for (TControl* c : FDockClients) FDockManager->InsertControl(c, alNone, nullptr);
      FDockManager->EndUpdate();
    }
  } else if (!wanted && FDockManager) {
    FDockManager.reset();
    Invalidate();
  }
}

std::unique_ptr<TDockTree> TWinControl::CreateDockManager() { return std::make_unique<TDockTree>(this); }

void TWinControl::GetSiteInfo(TControl* Client, RECT& InfluenceRect, POINT MousePos, bool& CanDock)
{
  CanDock = CanDock && IsShowing();
  if (OnGetSiteInfo) OnGetSiteInfo(this, Client, InfluenceRect, MousePos, CanDock);
}

void TWinControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  if (State != dsDragLeave) {
    TControl* dropOn = nullptr;
    TAlign side = alNone;
    RECT r = GetClientRect();
    POINT o = ClientToScreen(POINT{0, 0});
    RECT dockRect{o.x, o.y, o.x + r.right, o.y + r.bottom};
    if (FDockManager) FDockManager->PositionDockRect(Source->GetControl(), POINT{X, Y}, dropOn, side, dockRect);
    Source->SetDropOnControl(dropOn);
    Source->SetDropAlign(side);
    Source->SetDockRect(dockRect);
  }
  if (OnDockOver) OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y)
{
  TControl* c = Source->GetControl();
  if (!c) return;
  DisableAlign();
  {
    TScopeExit enable([this] { EnableAlign(); });
    c->Dock(this, Source->GetDockRect());
    if (FDockManager) FDockManager->InsertControl(c, Source->GetDropAlign(), Source->GetDropOnControl());
  }
  Realign();
  if (OnDockDrop) OnDockDrop(this, Source, X, Y);
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client)
{
  bool allow = true;
  if (OnUnDock) OnUnDock(this, Client, NewTarget, allow);
  if (allow) RemoveDockClient(Client);
  return allow;
}

void TWinControl::RemoveDockClient(TControl* Client)
{
  auto it = std::find(FDockClients.begin(), FDockClients.end(), Client);
  if (it == FDockClients.end()) return;
  FDockClients.erase(it);
  if (Client->GetHostDockSite() == this) TControlAccess::SetHostDockSiteInternal(Client, nullptr);
  if (FDockManager) FDockManager->RemoveControl(Client);
}

void TWinControl::SetParent(TWinControl* AParent)
{
  if (AParent == FParent) return;
  if (!AParent && FHandle && !FParentWindow) DestroyHandle();
  TControl::SetParent(AParent);
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    if (c->GetOwner() == Root) Proc(c);
  }
}

// ---- Bounds and alignment -------------------------------------------------------------------------------

RECT TWinControl::GetClientRect()
{
  if (FHandle) {
    RECT r;
    Windows::GetClientRect(FHandle, &r);
    return r;
  }
  return TControl::GetClientRect();
}

POINT TWinControl::GetClientOrigin()
{
  if (FHandle) {
    POINT p{0, 0};
    Windows::ClientToScreen(FHandle, &p);
    return p;
  }
  return TControl::GetClientOrigin();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  if (!FHandle) {
    bool resized = AWidth != FWidth || AHeight != FHeight;
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (resized && (FWidth != 0 || FHeight != 0)) Realign();
    return;
  }
  if (!CanResize(AWidth, AHeight)) return;
  if (ALeft != FLeft || ATop != FTop || AWidth != FWidth || AHeight != FHeight) {
    // WM_WINDOWPOSCHANGED stores the bounds and WM_SIZE re-aligns and tells OnResize.
    Windows::SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!FAnchorMove) UpdateAnchorRules();
  if (FParent && !FParent->FInAlign) RequestAlign();
}

void TWinControl::AdjustClientRect(RECT& Rect) {}

void TWinControl::AlignControl(TControl* AControl)
{
  if (FAlignLevel > 0 || GetComponentState().Contains(csLoading)) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  ControlState.Exclude(csAlignmentNeeded);
  DoAlignAndAnchors(AControl);
}

void TWinControl::DoAlignAndAnchors(TControl* AControl)
{
  if (FInAlign) return;
  TValueGuard inAlign(FInAlign, true);
  RECT r = GetClientRect();
  AlignControls(AControl, r);
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign()
{
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControls(TControl* AControl, RECT& Rect)
{
  AdjustClientRect(Rect);
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : all)
      if (c->GetAlign() == align && (c->GetVisible() || c->GetComponentState().Contains(csDesigning)))
        list.push_back(c);
    // The order on the edge follows the controls' places; the control being moved wins a tie.
    auto key = [align](TControl* c) {
      switch (align) {
        case alTop: return c->GetTop();
        case alBottom: return -(c->GetTop() + c->GetHeight());
        case alLeft: return c->GetLeft();
        case alRight: return -(c->GetLeft() + c->GetWidth());
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
      int ka = key(a), kb = key(b);
      if (ka != kb) return ka < kb;
      return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
      int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
      switch (align) {
        case alTop:
          c->SetBounds(Rect.left, Rect.top, w, c->GetHeight());
          Rect.top += c->GetHeight();
          break;
        case alBottom:
          c->SetBounds(Rect.left, Rect.bottom - c->GetHeight(), w, c->GetHeight());
          Rect.bottom -= c->GetHeight();
          break;
        case alLeft:
          c->SetBounds(Rect.left, Rect.top, c->GetWidth(), h);
          Rect.left += c->GetWidth();
          break;
        case alRight:
          c->SetBounds(Rect.right - c->GetWidth(), Rect.top, c->GetWidth(), h);
          Rect.right -= c->GetWidth();
          break;
        case alClient: c->SetBounds(Rect.left, Rect.top, w, h); break;
        default: break;
      }
    }
  }
  for (TControl* c : all)
    if (c->GetAlign() == alNone) c->AnchorToParent();
  if (FDockManager) FDockManager->ResetBounds(false);
  ControlsAligned();
}

void TWinControl::ChangeScale(int M, int D)
{
  if (M == D || D == 0) return;
  DisableAlign();
  TScopeExit enable([this] { EnableAlign(); });
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* c : all) c->ChangeScale(M, D);
  TControl::ChangeScale(M, D);
}

// ---- Focus and tab order -----------------------------------------------------------------------------------

bool TWinControl::IsShowing() const
{
  if (!GetVisible()) return false;
  if (FParent) return FParent->IsShowing();
  return true;
}

bool TWinControl::IsRootControl() const { return FParent == nullptr; }

TWinControl* TWinControl::RootControl()
{
  TWinControl* c = this;
  while (c->FParent) c = c->FParent;
  return c;
}

bool TWinControl::CanFocus()
{
  // Visible and enabled up to the root (the form); the root itself need not be shown yet.
  for (TControl* c = this; c->GetParent(); c = c->GetParent())
    if (!c->GetVisible() || !c->GetEnabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return FHandle && Windows::GetFocus() == FHandle; }

TWinControl* TWinControl::FocusedControl() { return Controls::FindControl(Windows::GetFocus()); }

void TWinControl::SetFocus()
{
  if (TCustomForm* form = GetParentForm(); form && form != this) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  Windows::SetFocus(GetHandle());
}

bool TWinControl::SetFocusedControl(TWinControl* Control)
{
  int count = ++gFocusCount;
  if (Control->ControlState.Contains(csFocusing)) return false;
  Control->ControlState.Include(csFocusing);
  TScopeExit done([Control] { Control->ControlState.Exclude(csFocusing); });
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl == Control) return true;
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* leaving = FFocusedControl;
    FFocusedControl = FFocusedControl->FParent;
    leaving->Perform(CM_EXIT, 0, 0);
    if (count != gFocusCount) return false;
  }
  while (FFocusedControl != Control) {
    TWinControl* entering = Control;
    while (entering->FParent != FFocusedControl) entering = entering->FParent;
    FFocusedControl = entering;
    entering->Perform(CM_ENTER, 0, 0);
    if (count != gFocusCount) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TWinControl::RemoveFocus(bool Removing)
{
  TWinControl* root = RootControl();
  if (root == this) return;
  if (root->FFocusedControl && ContainsControl(root->FFocusedControl)) {
    root->FFocusedControl = FParent;
    if (TCustomForm* form = dynamic_cast<TCustomForm*>(root)) form->DefocusControl(this, Removing);
    if (HWND focus = Windows::GetFocus(); focus && FHandle && (focus == FHandle || Windows::IsChild(FHandle, focus)))
      if (root->FHandle) Windows::SetFocus(root->FHandle);
  }
}

void TWinControl::SetTabStop(bool Value)
{
  if (Value == FTabStop) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = Windows::GetWindowLongPtr(FHandle, GWL_STYLE);
    Windows::SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::GetTabOrder() const
{
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  int pos = Value < 0 ? int(list.size()) : std::min(Value, int(list.size()));
  list.insert(list.begin() + pos, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List)
{
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent)
{
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  int n = int(list.size());
  if (n == 0) return nullptr;
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found == list.end() ? (GoForward ? n - 1 : 0) : int(found - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[std::size_t(i)];
    if (c == CurControl) continue;
    if (CheckTabStop && !c->FTabStop) continue;
    if (CheckParent && c->FParent != this) continue;
    if (c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

// ---- Messages -----------------------------------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& Message)
{
  TControl* target = nullptr;
  TControl* capture = Controls::GetCaptureControl();
  if (capture && capture->GetParent() == this && !dynamic_cast<TWinControl*>(capture))
    target = capture;
  else if (!capture)
    target = ControlAtPos(POINT{Message.XPos(), Message.YPos()}, false);
  if (!target) return false;
  LPARAM lp = MAKELPARAM(Message.XPos() - target->GetLeft(), Message.YPos() - target->GetTop());
  Message.Result = target->Perform(Message.Msg, Message.WParam, lp);
  return true;
}

void TWinControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TWinControl* root = RootControl();
      if (!root->SetFocusedControl(this)) return;
      SetIme();
      break;
    }
    case WM_KILLFOCUS:
      if (ControlState.Contains(csFocusing)) return;
      ResetIme();
      break;
    case WM_NCHITTEST:
      TControl::WndProc(Message);
      if (Message.Result == HTTRANSPARENT) {
        POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        if (ControlAtPos(ScreenToClient(p), false)) Message.Result = HTCLIENT;
      }
      return;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL) {
        // Grabbers, close buttons and splitters belong to the dock manager.
        if (FDockManager && FDockManager->MouseMessage(Message)) return;
        if (Message.Msg == WM_MOUSEMOVE) {
          TControl* over = ControlAtPos(POINT{Message.XPos(), Message.YPos()}, false);
          TControl* capture = Controls::GetCaptureControl();
          if (!capture || capture == this || capture->GetParent() == this)
            Controls::SetMouseControl(capture && capture != this ? capture : (over ? over : this));
          if (FHandle) {
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = FHandle;
            Windows::TrackMouseEvent(&tme);
          }
        }
        if (IsControlMouseMsg(Message)) return;
      }
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); break;
    case WM_SYSKEYUP: WMSysKeyUp(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: WMReflected(Message); break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(Message); break;
    case WM_NEXTDLGCTL: WMNextDlgCtl(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSKEYDOWN: CNSysKeyDown(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_CHILDKEY: CMChildKey(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  // A reflected message nobody took gets the classic default answer.
  if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400) {
    Message.Result = 0;
    return;
  }
  if (Message.Msg >= CM_BASE && Message.Msg < CN_BASE) {
    Message.Result = 0;
    return;
  }
  Message.Result = Windows::CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::SetImeMode(TImeMode Value)
{
  if (Value == FImeMode) return;
  FImeMode = Value;
  if (HandleAllocated() && Windows::GetFocus() == FHandle) SetIme();
}

void TWinControl::SetIme()
{
  if (!HandleAllocated()) return;
  if (FImeMode == imDisable) {
    Windows::ImmAssociateContext(FHandle, nullptr);
    return;
  }
  Windows::ImmAssociateContext(FHandle, Imm::DefaultContext());
  HIMC imc = Windows::ImmGetContext(FHandle);
  switch (FImeMode) {
    case imDontCare: break;
    case imClose: Windows::ImmSetOpenStatus(imc, FALSE); break;
    case imOpen: Windows::ImmSetOpenStatus(imc, TRUE); break;
    case imSAlpha:
    case imAlpha:
      Windows::ImmSetOpenStatus(imc, TRUE);
      Windows::ImmSetConversionStatus(imc, IME_CMODE_ALPHANUMERIC | (FImeMode == imAlpha ? IME_CMODE_FULLSHAPE : 0),
                                      IME_SMODE_NONE);
      break;
    default:
      Windows::ImmSetOpenStatus(imc, TRUE);
      Windows::ImmSetConversionStatus(imc, IME_CMODE_NATIVE, IME_SMODE_NONE);
      break;
  }
  Windows::ImmReleaseContext(FHandle, imc);
}

void TWinControl::ResetIme()
{
  // Only the dissociation is the window's own; the open state belongs to the shared context.
  if (HandleAllocated() && FImeMode == imDisable) Windows::ImmAssociateContext(FHandle, Imm::DefaultContext());
}

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMSize(TMessage& Message)
{
  DefaultHandler(Message);
  Realign();
  Resize();
}

void TWinControl::WMMove(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMWindowPosChanged(TMessage& Message)
{
  RECT r;
  if (FHandle && Windows::GetWindowRect(FHandle, &r)) {
    HWND parent = (Windows::GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) ? Windows::GetParent(FHandle) : nullptr;
    if (parent) {
      POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
      Windows::MapWindowPoints(nullptr, parent, pts, 2);
      r = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    }
    UpdateBoundsRect(r);
  }
  DefaultHandler(Message);
  // Moved, sized, shown or hidden.
  Perform(CM_WINDOWSHAPECHANGED, 0, 0);
}

void TWinControl::WMSetCursor(TMessage& Message)
{
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor cursor = Controls::AppLink().ScreenCursor();
    if (cursor == crDefault) {
      POINT p;
      Windows::GetCursorPos(&p);
      TControl* over = ControlAtPos(ScreenToClient(p), false);
      if (over) cursor = over->GetCursor();
      if (cursor == crDefault) cursor = GetCursor();
    }
    if (cursor != crDefault) {
      Windows::SetCursor(Controls::AppLink().CursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMMouseWheel(TMessage& Message)
{
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TWinControl::WMMouseLeave(TMessage& Message)
{
  TControl* over = Controls::MouseControl();
  if (over == this || (over && over->GetParent() == this && !dynamic_cast<TWinControl*>(over)))
    Controls::SetMouseControl(nullptr);
  DefaultHandler(Message);
}

void TWinControl::WMDestroy(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMNCDestroy(TMessage& Message)
{
  HWND wnd = FHandle;
  DefaultHandler(Message);
  if (wnd) Controls::ForgetWindow(wnd);
  FHandle = nullptr;
}

void TWinControl::WMCommand(TMessage& Message)
{
  if (TWinControl* child = Controls::FindControl(reinterpret_cast<HWND>(Message.LParam)); child && child != this) {
    Message.Result = child->Perform(CN_COMMAND, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message)
{
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (TWinControl* child = hdr ? Controls::FindControl(hdr->hwndFrom) : nullptr; child && child != this) {
    Message.Result = child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMReflected(TMessage& Message)
{
  HWND from = nullptr;
  switch (Message.Msg) {
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (di && di->CtlType != ODT_MENU) from = di->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (mi && mi->CtlType != ODT_MENU && FHandle) from = Windows::GetDlgItem(FHandle, int(mi->CtlID));
      break;
    }
    case WM_DELETEITEM: {
      auto* di = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam);
      if (di) from = di->hwndItem;
      break;
    }
    case WM_COMPAREITEM: {
      auto* ci = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam);
      if (ci) from = ci->hwndItem;
      break;
    }
    default: from = reinterpret_cast<HWND>(Message.LParam); break;
  }
  if (TWinControl* child = Controls::FindControl(from); child && child != this) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message)
{
  if (TWinControl* child = Controls::FindControl(reinterpret_cast<HWND>(Message.LParam)); child && child != this) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message)
{
  // The control's own font colour on its own brush.
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  Windows::SetTextColor(dc, Graphics::ColorToRGB(GetFont()->GetColor()));
  Windows::SetBkColor(dc, Graphics::ColorToRGB(FBrush->GetColor()));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->GetHandle());
}

void TWinControl::WMNextDlgCtl(TMessage& Message)
{
  TWinControl* root = RootControl();
  if (root != this) {
    DefaultHandler(Message);
    return;
  }
  if (Message.LParam) {
    if (TWinControl* c = Controls::FindControl(reinterpret_cast<HWND>(Message.WParam)); c && c->CanFocus())
      c->SetFocus();
    else if (Message.WParam)
      Windows::SetFocus(reinterpret_cast<HWND>(Message.WParam));
    return;
  }
  TWinControl* current = FFocusedControl && FFocusedControl != this ? FFocusedControl : FocusedControl();
  SelectNext(current, Message.WParam == 0, true);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter()
{
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
  if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMChildKey(TMessage& Message)
{
  if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}

void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMShowingChanged(TMessage& Message) {}

void TWinControl::CMVisibleChanged(TMessage& Message)
{
  if (!GetVisible()) RemoveFocus(false);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage& Message)
{
  if (!GetEnabled() && FParent) RemoveFocus(false);
  if (FHandle) Windows::EnableWindow(FHandle, GetEnabled());
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage& Message)
{
  FBrush->SetColor(GetColor());
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::CMFontChanged(TMessage& Message)
{
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMShowHintChanged(TMessage& Message) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::SetCtl3D(bool Value)
{
  FParentCtl3D = false;
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value)
{
  if (Value == FParentCtl3D) return;
  FParentCtl3D = Value;
  if (Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage& Message)
{
  NotifyControls(CM_PARENTCTL3DCHANGED);
  Invalidate();
}

void TWinControl::CMParentCtl3DChanged(TMessage& Message)
{
  if (!FParentCtl3D || !FParent || FParent->FCtl3D == FCtl3D) return;
  FCtl3D = FParent->FCtl3D;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage& Message) { RecreateWnd(); }

// ---- Keys ------------------------------------------------------------------------------------------------------

TWinControl* TWinControl::KeyPreviewForm()
{
  TCustomForm* form = GetParentForm();
  return form && form != this && form->GetKeyPreview() ? form : nullptr;
}

bool TWinControl::DoKeyUpDown(TMessage& Message, bool Down)
{
  if (TWinControl* form = KeyPreviewForm(); form && form->DoKeyUpDown(Message, Down)) return true;
  Word key = Word(Message.WParam);
  if (!ControlStyle.Contains(csNoStdEvents)) {
    TShiftState shift = KeyDataToShiftState(Message.LParam);
    if (Down)
      KeyDown(key, shift);
    else
      KeyUp(key, shift);
    Message.WParam = key;
  }
  return key == 0;
}

bool TWinControl::DoKeyDown(TMessage& Message) { return DoKeyUpDown(Message, true); }

bool TWinControl::DoKeyUp(TMessage& Message) { return DoKeyUpDown(Message, false); }

bool TWinControl::DoKeyPress(TMessage& Message)
{
  if (TWinControl* form = KeyPreviewForm(); form && form->DoKeyPress(Message)) return true;
  char key = char(Message.WParam & 0xFF);
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyPress(key);
    Message.WParam = static_cast<unsigned char>(key);
  }
  return key == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& Message)
{
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message)
{
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message)
{
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message)
{
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message)
{
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message)
{
  Message.Result = 1;
  if (GetComponentState().Contains(csDesigning)) {
    Message.Result = 0;
    return;
  }
  TCustomForm* form = GetParentForm();
  if (form && form->IsShortCut(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT mask = 0;
  switch (int(Message.WParam)) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
    TWinControl* root = RootControl();
    if (root->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message)
{
  Message.Result = 1;
  if (!GetComponentState().Contains(csDesigning) && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 &&
      RootControl()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& Message)
{
  Message.Result = 1;
  TCustomForm* form = GetParentForm();
  if (form && form->IsShortCut(Message)) return;
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message)
{
  Message.Result = 0;
  if (GetComponentState().Contains(csDesigning) || Message.WParam == VK_SPACE) return;
  // Alt plus a mnemonic.
  Message.Result = RootControl()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TWinControl::Invalidate()
{
  if (FHandle) Windows::InvalidateRect(FHandle, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
  if (FHandle) Windows::UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
  Invalidate();
  Update();
}

void TWinControl::WMPaint(TMessage& Message)
{
  if (FDefWndProc != DefProc && FControls.empty()) {
    // A system class paints itself.
    DefaultHandler(Message);
    return;
  }
  PaintHandler(Message);
}

void TWinControl::PaintHandler(TMessage& Message)
{
  PAINTSTRUCT ps;
  HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : Windows::BeginPaint(FHandle, &ps);
  {
    TSavedDC saved(dc);
    PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
  if (FDockManager) {
    TSavedDC saved(dc);
    FDockManager->PaintSite(dc);
  }
  if (!Message.WParam) Windows::EndPaint(FHandle, &ps);
  Message.Result = 0;
}

void TWinControl::PaintWindow(HDC DC)
{
  if (FDefWndProc == DefProc) return;  // the background was erased; a descendant paints the rest
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
  auto it = FControls.begin();
  if (First) {
    it = std::find(FControls.begin(), FControls.end(), First);
    if (it != FControls.end()) ++it;
  }
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (!c->GetVisible() && !c->GetComponentState().Contains(csDesigning)) continue;
    TSavedDC saved(DC);
    Windows::OffsetViewportOrgEx(DC, c->GetLeft(), c->GetTop(), nullptr);
    if (Windows::IntersectClipRect(DC, 0, 0, c->GetWidth(), c->GetHeight()) == NULLREGION) continue;
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (FDefWndProc != DefProc) {
    DefaultHandler(Message);
    return;
  }
  RECT r = GetClientRect();
  Windows::FillRect(dc, &r, FBrush->GetHandle());
  Message.Result = 1;
}
