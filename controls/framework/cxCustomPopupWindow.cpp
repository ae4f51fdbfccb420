// Sections: the shown list -> life and settings -> Popup and ClosePopup -> window and keys ->
// window relations -> the three hooks.
#include "controls/framework/cxCustomPopupWindow.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/Guards.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

std::vector<TcxCustomPopupWindow*>& ShownList()
{
  static std::vector<TcxCustomPopupWindow*> list;
  return list;
}

bool Listed(const TcxCustomPopupWindow* P)
{
  auto& l = ShownList();
  return std::find(l.begin(), l.end(), P) != l.end();
}

TCustomForm* OwnerForm(TControl* C) { return C ? C->GetParentForm() : nullptr; }

bool IsTopMostForm(TCustomForm* F)
{
  return F && F->HandleAllocated() && (Windows::GetWindowLongPtr(F->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace

// ---- Life and settings

TcxCustomPopupWindow::TcxCustomPopupWindow(TControl* AOwnerControl)
    : TcxPopupWindow(nullptr), FOwnerControl(AOwnerControl)
{
  if (FOwnerControl) FOwnerControl->FreeNotification(this);
  SetFormStyle(fsNormal);
  SetVisible(false);
  SetKeyPreview(true);
}

TcxCustomPopupWindow::~TcxCustomPopupWindow()
{
  std::erase(ShownList(), this);
  FViewInfo.reset();
  if (FStyle) FStyle->OnChanged = nullptr;
  FStyle.reset();
  if (FOwnerControl) FOwnerControl->RemoveFreeNotification(this);
}

void TcxCustomPopupWindow::Notification(TComponent* AComponent, TOperation Operation)
{
  TcxPopupWindow::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FOwnerControl) FOwnerControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

std::unique_ptr<TcxContainerStyle> TcxCustomPopupWindow::CreateStyle()
{
  return std::make_unique<TcxContainerStyle>(this);
}

std::unique_ptr<TcxContainerViewInfo> TcxCustomPopupWindow::CreateViewInfo()
{
  return std::make_unique<TcxContainerViewInfo>();
}

TcxContainerStyle* TcxCustomPopupWindow::GetStyle()
{
  if (!FStyle) {
    FStyle = CreateStyle();
    FStyle->OnChanged = [this](TObject*) { StyleChanged(); };
  }
  return FStyle.get();
}

TcxContainerViewInfo* TcxCustomPopupWindow::GetViewInfo()
{
  if (!FViewInfo) FViewInfo = CreateViewInfo();
  return FViewInfo.get();
}

bool TcxCustomPopupWindow::IsShown() const { return Listed(this); }

bool TcxCustomPopupWindow::HasCapture() { return HandleAllocated() && Windows::GetCapture() == GetHandle(); }

bool TcxCustomPopupWindow::Focused()
{
  if (!IsShown() || !FTakeFocus || !HandleAllocated()) return false;
  HWND focus = Windows::GetFocus();
  return focus == GetHandle() || cxContainer::IsWindowInside(this, focus);
}

bool TcxCustomPopupWindow::IsNavigationKey(Word Key) { return (Key >= 33 && Key <= 40) || Key == VK_F4; }

void TcxCustomPopupWindow::Reshow()
{
  const bool shown = IsShown();
  TWinControl* focused = FFocusedControl;
  if (shown) ClosePopup(false);
  if (HandleAllocated()) RecreateWnd();
  if (shown) Popup(focused);
}

void TcxCustomPopupWindow::SetTakeFocus(bool Value)
{
  if (FTakeFocus == Value) return;
  FTakeFocus = Value;
  Reshow();
}

void TcxCustomPopupWindow::SetTopMost(bool Value)
{
  if (FTopMost == Value) return;
  FTopMost = Value;
  Reshow();
}

void TcxCustomPopupWindow::DoClosed()
{
  if (OnClosed) OnClosed(this);
}

void TcxCustomPopupWindow::DoClosing()
{
  if (OnClosing) OnClosing(this);
}

void TcxCustomPopupWindow::DoShowed()
{
  if (OnShowed) OnShowed(this);
}

// ---- Popup and ClosePopup

void TcxCustomPopupWindow::Popup(TWinControl* AFocusedControl)
{
  if (IsShown()) return;
  InitPopup();
  CalculateSize();
  POINT p = CalculatePosition();
  SetBounds(p.x, p.y, GetWidth(), GetHeight());
  ShownList().push_back(this);
  if (FTakeFocus) {
    if (AFocusedControl && AFocusedControl->CanFocus() && AFocusedControl->GetTabStop())
      FFocusedControl = AFocusedControl;
    else
      FFocusedControl = FindNextControl(nullptr, true, true, false);
  } else {
    FFocusedControl = AFocusedControl;
  }
  if (FFocusedControl) FFocusedControl->FreeNotification(this);
  if (OnShowing) OnShowing(this);
  if (FTakeFocus) {
    Show();
    if (FFocusedControl && FFocusedControl->CanFocus())
      FFocusedControl->SetFocus();
    else if (CanFocus())
      SetFocus();
  } else {
    Show();
    if (FFocusedControl && FFocusedControl->CanFocus()) FFocusedControl->SetFocus();
    TCustomForm* form = OwnerForm(FOwnerControl);
    Windows::SetWindowPos(GetHandle(), !form || IsTopMostForm(form) ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                          SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
  SetModalResult(mrNone);
  DoShowed();
  if (!FTakeFocus || !FModalMode) return;
  TcxCustomPopupWindow* self = this;
  while (Listed(self) && GetVisible() && !(Forms::Application && Forms::Application->GetTerminated())) {
    // Alt, Enter and Space as system keys would reach the form behind.
    MSG m;
    while (Windows::PeekMessage(&m, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
           (m.wParam == VK_RETURN || m.wParam == VK_MENU || m.wParam == VK_SPACE))
      Windows::PeekMessage(&m, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (GetModalResult() != mrNone) {
      ClosePopup(true);
      if (!Listed(self)) break;
    }
    try {
      if (Forms::Application)
        Forms::Application->HandleMessage();
      else
        Controls::AppLink().HandleMessage();
    } catch (const Exception&) {
      break;  // nothing can arrive any more
    }
  }
}

void TcxCustomPopupWindow::ClosePopup(bool AskCloseQuery)
{
  if (!IsShown()) return;
  if (AskCloseQuery && !CloseQuery()) {
    SetModalResult(mrNone);
    return;
  }
  std::erase(ShownList(), this);
  // Pop-ups opened from controls inside this one go with it.
  for (bool again = true; again;) {
    again = false;
    auto& list = ShownList();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
      if (OwnerForm((*it)->GetOwnerControl()) == this) {
        (*it)->ClosePopup(false);
        again = true;
        break;
      }
  }
  DoClosing();
  if (HandleAllocated()) Windows::ShowWindow(GetHandle(), SW_HIDE);
  Hide();
  DoClosed();
  if (HasCapture()) Controls::SetCaptureControl(nullptr);
}

// ---- Window and keys

void TcxCustomPopupWindow::AdjustClientRect(RECT& Rect) { Rect = GetViewInfo()->ClientRect; }

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params)
{
  TcxPopupWindow::CreateParams(Params);
  TCustomForm* form = OwnerForm(FOwnerControl);
  Params.Style &= ~WS_CHILD;
  Params.Style |= WS_POPUP | WS_CLIPCHILDREN;
  if (form && form->HandleAllocated()) Params.WndParent = form->GetHandle();
  if (FTakeFocus) {
    if (FTopMost && (!form || IsTopMostForm(form))) Params.ExStyle |= WS_EX_TOPMOST;
  } else {
    // A child-style drop-down never takes the activation from the owner's form.
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  }
}

void TcxCustomPopupWindow::CreateWnd()
{
  const bool listedBefore = Listed(this);
  if (!listedBefore) ShownList().push_back(this);
  TcxPopupWindow::CreateWnd();
  if (!listedBefore) std::erase(ShownList(), this);
}

void TcxCustomPopupWindow::Paint()
{
  TcxContainerViewInfo* vi = GetViewInfo();
  if (vi->Bounds.right <= vi->Bounds.left) {
    vi->Bounds = RECT{0, 0, GetWidth(), GetHeight()};
    vi->BorderRect = vi->ClientRect = vi->Bounds;
    vi->BackgroundColor = GetColor();
  }
  vi->Paint(GetcxCanvas());
  DrawFrame();
}

void TcxCustomPopupWindow::Deactivate()
{
  // A drop-down that takes no focus is never meant to be active: the hooks close it.
  if (FClosingWithoutQuery || !FTakeFocus) return;
  TForm::Deactivate();
  auto& list = ShownList();
  HWND active = Windows::GetActiveWindow();
  for (int i = int(list.size()) - 1; i >= 0; --i) {
    if (i >= int(list.size())) continue;
    TcxCustomPopupWindow* p = list[i];
    if (p->HandleAllocated() && p->GetHandle() == active) break;
    if (p->HandleAllocated() && Windows::IsWindowEnabled(p->GetHandle())) p->ClosePopup(false);
  }
  if (!list.empty()) ClosePopup(false);
}

void TcxCustomPopupWindow::KeyDown(Word& Key, TShiftState Shift)
{
  if (IsShown() && HasCapture() && Key == VK_ESCAPE) {
    Controls::SetCaptureControl(nullptr);
    Windows::ReleaseCapture();
    Key = 0;
    return;
  }
  TcxPopupWindow::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::CMVisibleChanged(TMessage& Message)
{
  TcxPopupWindow::CMVisibleChanged(Message);
  if (!HandleAllocated() || GetVisible() || !FOwnerControl) return;
  TCustomForm* form = OwnerForm(FOwnerControl);
  auto* owner = dynamic_cast<TWinControl*>(FOwnerControl);
  if (form && form->HandleAllocated() && Windows::GetFocus() == form->GetHandle() && owner && owner->CanFocus() &&
      !form->GetComponentState().Contains(csDesigning))
    owner->SetFocus();
}

void TcxCustomPopupWindow::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_ACTIVATEAPP: return;  // the hooks decide
    case WM_ERASEBKGND:
      if (!EraseBackgroundNeeded()) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_MOUSEACTIVATE:
      if (!FTakeFocus) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case CM_CLOSEPOPUPWINDOW: {
      {
        TValueGuard flag(FClosingWithoutQuery, true);
        ClosePopup(false);
      }
      if (auto* owner = dynamic_cast<TWinControl*>(FOwnerControl); owner && owner->HandleAllocated())
        Windows::SendMessage(owner->GetHandle(), WM_SETFOCUS, 0, 0);
      return;
    }
    case CM_SHOWPOPUPWINDOW: Popup(reinterpret_cast<TWinControl*>(Message.WParam)); return;
    case CM_MOUSEENTER:
      TcxPopupWindow::Dispatch(Message);
      MouseEnter(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case CM_MOUSELEAVE:
      TcxPopupWindow::Dispatch(Message);
      MouseLeave(reinterpret_cast<TControl*>(Message.LParam));
      return;
    default: break;
  }
  TcxPopupWindow::Dispatch(Message);
}

// ---- Window relations and the hooks

struct TcxPopupHooks {
  static inline HHOOK CallWndProc = nullptr, GetMessage = nullptr, Mouse = nullptr;
  static inline bool MouseHookClosing = false;
  static inline HWND NcActivateWindow = nullptr;
  static inline WNDPROC NcActivateSaved = nullptr;

  static bool Destroying(TcxCustomPopupWindow* P) { return P->GetComponentState().Contains(csDestroying); }

  static LRESULT KeepCaptionProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
  {
    if (Wnd == NcActivateWindow && NcActivateSaved) {
      Windows::SetWindowLongPtr(Wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(NcActivateSaved));
      NcActivateSaved = nullptr;
      NcActivateWindow = nullptr;
    }
    return TRUE;
  }

  static void CloseWithFocusChange(TcxCustomPopupWindow* P)
  {
    P->ClosePopup(false);
    if (auto* owner = dynamic_cast<TcxControl*>(P->GetOwnerControl())) owner->Perform(WM_SETFOCUS, 0, 0);
  }

  static LRESULT CallWndProcHook(int Code, WPARAM WParam, LPARAM LParam)
  {
    auto& list = ShownList();
    if (Code != HC_ACTION || list.empty()) return Windows::CallNextHookEx(CallWndProc, Code, WParam, LParam);
    const CWPSTRUCT& m = *reinterpret_cast<CWPSTRUCT*>(LParam);
    switch (m.message) {
      case WM_NCACTIVATE:
        if (!m.wParam && !NcActivateSaved) {
          bool keep = MouseHookClosing;
          for (TcxCustomPopupWindow* p : list) {
            TCustomForm* form = OwnerForm(p->GetOwnerControl());
            if (form && form->HandleAllocated() && form->GetHandle() == m.hwnd) keep = true;
          }
          if (keep) {
            NcActivateWindow = m.hwnd;
            NcActivateSaved = reinterpret_cast<WNDPROC>(
                Windows::SetWindowLongPtr(m.hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&KeepCaptionProc)));
          }
        }
        break;
      case WM_ACTIVATEAPP:
        if (!m.wParam) {
          for (size_t i = 0; i < list.size();) {
            TcxCustomPopupWindow* p = list[i];
            if (TCustomForm* form = OwnerForm(p->GetOwnerControl()); form && form->HandleAllocated())
              Windows::PostMessage(form->GetHandle(), WM_NCACTIVATE, FALSE, 0);
            if (p->GetTakeFocus() && p->GetActive()) {
              ++i;
              continue;
            }
            CloseWithFocusChange(p);
            i = 0;
          }
        }
        break;
      case WM_DESTROY:
        for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(list))
          if (Listed(p) && p->HandleAllocated() && p->GetHandle() == m.hwnd && !Destroying(p)) p->ClosePopup(false);
        break;
      case WM_CLOSE:
        for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(list)) {
          if (!Listed(p) || Destroying(p)) continue;
          if (p->HandleAllocated() && p->GetHandle() == m.hwnd) {
            p->ClosePopup(false);
            if (!Listed(p) && p->GetTakeFocus() && p->GetOwnerControl())
              if (TCustomForm* form = OwnerForm(p->GetOwnerControl()); form && form->HandleAllocated())
                Windows::SendMessage(form->GetHandle(), WM_CLOSE, 0, 0);
            break;
          }
          if (!p->GetTakeFocus() && p->GetOwnerControl()) {
            TCustomForm* form = OwnerForm(p->GetOwnerControl());
            if (!form || !form->HandleAllocated() || form->GetHandle() == m.hwnd) p->ClosePopup(false);
            break;
          }
        }
        break;
      case WM_SHOWWINDOW:
        if (!m.wParam) {
          for (int i = int(list.size()) - 1; i >= 0; --i) {
            auto* owner = dynamic_cast<TWinControl*>(list[i]->GetOwnerControl());
            if (owner && owner->HandleAllocated() && owner->GetHandle() == m.hwnd) {
              while (int(list.size()) > i) list.back()->ClosePopup(false);
              break;
            }
          }
        }
        break;
      case WM_WINDOWPOSCHANGED:
        for (bool again = true; again;) {
          again = false;
          for (TcxCustomPopupWindow* p : list) {
            auto* owner = dynamic_cast<TWinControl*>(p->GetOwnerControl());
            if (!p->HandleAllocated() || Destroying(p) || !owner || !owner->HandleAllocated()) continue;
            if (owner->GetHandle() == m.hwnd && !Windows::IsWindowVisible(owner->GetHandle())) {
              p->ClosePopup(false);
              again = true;
              break;
            }
          }
        }
        break;
      default: break;
    }
    return Windows::CallNextHookEx(CallWndProc, Code, WParam, LParam);
  }

  static LRESULT GetMessageHook(int Code, WPARAM WParam, LPARAM LParam)
  {
    auto& list = ShownList();
    if (Code == HC_ACTION && !list.empty() && WParam == PM_REMOVE) {
      MSG& m = *reinterpret_cast<MSG*>(LParam);
      TcxCustomPopupWindow* newest = list.back();
      if (m.message == WM_SYSKEYDOWN && !(newest->GetTakeFocus() && newest->GetModalMode()) &&
          !newest->IsNavigationKey(Word(m.wParam)))
        m.message = WM_NULL;
    }
    return Windows::CallNextHookEx(GetMessage, Code, WParam, LParam);
  }

  static LRESULT MouseHook(int Code, WPARAM WParam, LPARAM LParam)
  {
    auto& list = ShownList();
    const UINT msg = UINT(WParam);
    if (Code != HC_ACTION || list.empty() ||
        !(msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK))
      return Windows::CallNextHookEx(Mouse, Code, WParam, LParam);
    const MOUSEHOOKSTRUCT& mh = *reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam);
    const HWND w = mh.hwnd;
    bool result = true;
    for (size_t i = 0; i < list.size();) {
      TcxCustomPopupWindow* p = list[i];
      if ((p->GetTakeFocus() && !p->GetActive()) || (p->HandleAllocated() && p->GetHandle() == w) ||
          cxContainer::IsWindowInside(p, w)) {
        ++i;
        continue;
      }
      TControl* owner = p->GetOwnerControl();
      bool close = false, passClick = true;
      if (owner && cxContainer::IsRelatedWindow(owner, w)) {
        auto* ownerWin = dynamic_cast<TWinControl*>(owner);
        const bool onOwner = ownerWin && ownerWin->HandleAllocated() &&
                             (ownerWin->GetHandle() == w || Windows::IsChild(ownerWin->GetHandle(), w));
        if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && onOwner) {
          RECT a = p->GetAnchorBounds();
          if (TControl* ac = p->GetAnchorControl()) {
            POINT tl = ac->ClientToScreen(POINT{a.left, a.top}), br = ac->ClientToScreen(POINT{a.right, a.bottom});
            a = RECT{tl.x, tl.y, br.x, br.y};
          }
          if (mh.pt.x >= a.left && mh.pt.x < a.right && mh.pt.y >= a.top && mh.pt.y < a.bottom) passClick = false;
        }
        close = true;
      } else if (TCustomForm* form = OwnerForm(owner); form && form->GetFormStyle() == fsMDIChild) {
        HWND client = form->HandleAllocated() ? Windows::GetParent(form->GetHandle()) : nullptr;
        HWND frame = client ? Windows::GetParent(client) : nullptr;
        close = w == client || (frame && (w == frame || Windows::IsChild(frame, w)));
      }
      if (!close) {
        ++i;
        continue;
      }
      TControl* watched = owner;
      {
        TValueGuard closing(MouseHookClosing, true);
        TValueGuard noQuery(p->FClosingWithoutQuery, true);
        p->ClosePopup(false);
      }
      if (!passClick) {
        // The owner stays alive through the popup's free notification.
        watched = p->GetOwnerControl();
        if (!watched || watched->GetComponentState().Contains(csDestroying) || !watched->GetVisible()) result = false;
      }
      i = 0;
    }
    if (!result) return 1;
    return Windows::CallNextHookEx(Mouse, Code, WParam, LParam);
  }
};

namespace cxContainer {

void PostClosePopup(TcxCustomPopupWindow* Popup)
{
  if (Popup && Popup->HandleAllocated()) Windows::PostMessage(Popup->GetHandle(), CM_CLOSEPOPUPWINDOW, 0, 0);
}

int ShownPopupCount() { return int(ShownList().size()); }

TcxCustomPopupWindow* ShownPopup(int Index) { return ShownList()[size_t(Index)]; }

bool IsWindowInside(TWinControl* AControl, HWND Window)
{
  if (!AControl || !Window || !AControl->HandleAllocated() || AControl->GetHandle() == Window) return false;
  if (Windows::IsChild(AControl->GetHandle(), Window)) return true;
  for (int i = 0; i < AControl->GetControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(AControl->GetControl(i));
    if (!child || !child->HandleAllocated()) continue;
    if (child->GetHandle() == Window || IsWindowInside(child, Window)) return true;
  }
  if (dynamic_cast<TcxCustomPopupWindow*>(AControl)) {
    for (TcxCustomPopupWindow* p : ShownList()) {
      if (p == AControl || !p->HandleAllocated()) continue;
      if (OwnerForm(p->GetOwnerControl()) != AControl) continue;
      if (p->GetHandle() == Window || IsWindowInside(p, Window)) return true;
    }
  }
  return false;
}

bool IsRelatedWindow(TControl* AControl, HWND Window)
{
  TCustomForm* form = OwnerForm(AControl);
  if (!form || !form->HandleAllocated()) return false;
  if (form->GetHandle() == Window || IsWindowInside(form, Window)) return true;
  if (!form->GetParent()) {
    HWND top = Windows::GetAncestor(form->GetHandle(), GA_ROOT);
    if (top && top != form->GetHandle() && (top == Window || Windows::IsChild(top, Window))) return true;
  }
  return false;
}

void Initialize()
{
  if (TcxPopupHooks::CallWndProc) return;
  const DWORD thread = Windows::GetCurrentThreadId();
  TcxPopupHooks::CallWndProc =
      Windows::SetWindowsHookEx(WH_CALLWNDPROC, &TcxPopupHooks::CallWndProcHook, nullptr, thread);
  TcxPopupHooks::GetMessage = Windows::SetWindowsHookEx(WH_GETMESSAGE, &TcxPopupHooks::GetMessageHook, nullptr, thread);
  TcxPopupHooks::Mouse = Windows::SetWindowsHookEx(WH_MOUSE, &TcxPopupHooks::MouseHook, nullptr, thread);
}

void Finalize()
{
  if (TcxPopupHooks::Mouse) Windows::UnhookWindowsHookEx(TcxPopupHooks::Mouse);
  if (TcxPopupHooks::GetMessage) Windows::UnhookWindowsHookEx(TcxPopupHooks::GetMessage);
  if (TcxPopupHooks::CallWndProc) Windows::UnhookWindowsHookEx(TcxPopupHooks::CallWndProc);
  TcxPopupHooks::Mouse = TcxPopupHooks::GetMessage = TcxPopupHooks::CallWndProc = nullptr;
  ShownList().clear();
}

}  // namespace cxContainer

PELTO_DEFINE_CLASS(TcxCustomPopupWindow)
