// TCustomForm. Sections: construction, window making, showing and position, modal and close,
// focus and keys, menu, MDI, messages.
#include "platform/forms/forms/CustomForm.h"

#include <algorithm>

#include "platform/forms/controls/ControlCanvas.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/MainMenuBase.h"
#include "platform/forms/controls/SizeConstraints.h"
#include "platform/rtl/FormatText.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/MathUtils.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/NonClient.h"
#include "platform/win/window/Windows.h"

namespace {
// Every form in existence, oldest first (the MDI frame of a new child is looked up here).
std::vector<TCustomForm*> gForms;
constexpr UINT kFirstMDIChild = 0xFF00;

// Disables the program's other enabled top-level windows while a modal form runs, and enables
// them again at the end of the scope.
class TTaskWindowsDisabled {
public:
  explicit TTaskWindowsDisabled(HWND Keep)
  {
    for (HWND w = Windows::GetTopWindow(nullptr); w; w = Windows::GetWindow(w, GW_HWNDNEXT))
      if (w != Keep && Windows::IsWindowVisible(w) && Windows::IsWindowEnabled(w)) {
        Windows::EnableWindow(w, FALSE);
        FDisabled.push_back(w);
      }
  }
  ~TTaskWindowsDisabled()
  {
    for (HWND w : FDisabled)
      if (Windows::IsWindow(w)) Windows::EnableWindow(w, TRUE);
  }
  TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
  TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
  std::vector<HWND> FDisabled;
};
}  // namespace

// ---- Construction -------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
  FFormState.Include(fsCreating);
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
  SetParentColor(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  SetBounds(0, 0, 320, 240);
  gForms.push_back(this);
  Controls::AppLink().FormCreated(this);
  FFormState.Exclude(fsCreating);
  DoCreate();
}

TCustomForm::~TCustomForm()
{
  Destroying();
  if (!FReleasing) DoDestroy();
  std::erase(gForms, this);
  Controls::AppLink().FormDestroyed(this);
  FCanvas->FreeHandle();
  // The menu outlives us when someone else owns it: it must not keep pointing here.
  if (FMenu) {
    MergeMenu(false);
    FMenu->RemoveFreeNotification(this);
    if (FMenu->GetWindowOwner() == this) FMenu->SetWindowOwner(nullptr);
  }
  // The children are freed by their owner; their windows go with ours.
  if (FHandle) DestroyHandle();
}

void TCustomForm::DoCreate()
{
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy()
{
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::Loaded()
{
  inherited::Loaded();
  if (FActiveControl && !FActiveControl->CanFocus()) FActiveControl = nullptr;
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) {
    FMenu = nullptr;
    if (FHandle) Windows::SetMenu(FHandle, nullptr);
  }
  if (AComponent == FActiveControl) {
    FActiveControl = nullptr;
    Controls::AppLink().ActiveControlChanged(this);
  }
  if (FFocusedControl == AComponent) FFocusedControl = nullptr;
}

TCanvas* TCustomForm::GetCanvas() const { return FCanvas.get(); }

// ---- Window making --------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params)
{
  inherited::CreateParams(Params);
  Params.WindowClass.style = CS_DBLCLKS;
  if (GetParent()) return;  // a form placed inside a control is an ordinary child
  Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_VISIBLE);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WndParent = nullptr;
  DWORD style = 0, ex = 0;
  TBorderIcons icons = FBorderIcons;
  switch (FBorderStyle) {
    case bsNone:
      style = FFormStyle == fsMDIChild ? 0 : WS_POPUP;
      icons = {};
      break;
    case bsSingle: style = WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style = WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style = WS_POPUP | WS_CAPTION;
      ex = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      break;
    case bsToolWindow:
      style = WS_CAPTION | WS_BORDER;
      ex = WS_EX_TOOLWINDOW;
      icons = icons * TBorderIcons{biSystemMenu};
      break;
    case bsSizeToolWin:
      style = WS_CAPTION | WS_THICKFRAME;
      ex = WS_EX_TOOLWINDOW;
      icons = icons * TBorderIcons{biSystemMenu};
      break;
  }
  if (icons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
  }
  Params.Style |= style;
  Params.ExStyle |= ex;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FFormStyle == fsMDIChild) {
    Params.ExStyle |= WS_EX_MDICHILD;
    if (FWindowState == wsMaximized) Params.Style |= WS_MAXIMIZE;
    if (FWindowState == wsMinimized) Params.Style |= WS_MINIMIZE;
  }
  switch (FPosition) {
    case poDefault: Params.X = Params.Y = Params.Width = Params.Height = CW_USEDEFAULT; break;
    case poDefaultPosOnly: Params.X = Params.Y = CW_USEDEFAULT; break;
    case poDefaultSizeOnly: Params.Width = Params.Height = CW_USEDEFAULT; break;
    default: break;
  }
}

void TCustomForm::CreateWnd()
{
  inherited::CreateWnd();
  if (FMenu && !GetParent()) Windows::SetMenu(FHandle, FMenu->GetHandle());
  if (FFormStyle == fsMDIForm && !FClientHandle) {
    Mdi::EnsureClass("MDICLIENT");
    CLIENTCREATESTRUCT ccs;
    ccs.idFirstChild = kFirstMDIChild;
    RECT r = inherited::GetClientRect();
    FClientHandle = Windows::CreateWindowEx(WS_EX_CLIENTEDGE, "MDICLIENT", "",
                                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, r.right,
                                            r.bottom, FHandle, nullptr, nullptr, &ccs);
    if (!FClientHandle) throw EInvalidOperation("Error creating the MDI client window");
  }
}

TCustomForm* TCustomForm::MDIParentForm() const
{
  TCustomForm* main = Controls::AppLink().MainForm();
  if (main && main->FFormStyle == fsMDIForm) return main;
  for (TCustomForm* f : gForms)
    if (f->FFormStyle == fsMDIForm && f != this) return f;
  return nullptr;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params)
{
  if (FFormStyle != fsMDIChild || GetParent()) {
    inherited::CreateWindowHandle(Params);
    return;
  }
  TCustomForm* frame = MDIParentForm();
  if (!frame) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  frame->HandleNeeded();
  MDICREATESTRUCTA mcs;
  mcs.szClass = Params.WinClassName.c_str();
  mcs.szTitle = Params.Caption.c_str();
  mcs.x = Params.X;
  mcs.y = Params.Y;
  mcs.cx = Params.Width;
  mcs.cy = Params.Height;
  mcs.style = Params.Style & ~DWORD(WS_POPUP);
  Controls::SetCreationControl(this);
  TScopeExit done([] { Controls::SetCreationControl(nullptr); });
  HWND wnd = reinterpret_cast<HWND>(
      Windows::SendMessage(frame->FClientHandle, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (wnd) {
    FHandle = wnd;
    FFormState.Include(fsCreatedMDIChild);
    // The client activated the new child before its window was ours: merge its menu now.
    if (frame->GetActiveMDIChild() == this) MergeMenu(true);
  }
}

void TCustomForm::DestroyWindowHandle()
{
  if (FFormState.Contains(fsCreatedMDIChild) && FHandle) {
    FFormState.Exclude(fsCreatedMDIChild);
    HWND wnd = FHandle;
    HWND client = Windows::GetParent(wnd);
    if (client) Windows::SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
    if (FHandle == wnd && Windows::IsWindow(wnd)) Windows::DestroyWindow(wnd);
    if (FHandle == wnd) {
      Controls::ForgetWindow(wnd);
      FHandle = nullptr;
    }
    return;
  }
  FClientHandle = nullptr;  // destroyed with the frame's window
  inherited::DestroyWindowHandle();
}

void TCustomForm::DefaultHandler(TMessage& Message)
{
  if (!FHandle || (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400)) {
    inherited::DefaultHandler(Message);
    return;
  }
  if (FFormState.Contains(fsCreatedMDIChild)) {
    Message.Result = Windows::DefMDIChildProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (FFormStyle == fsMDIForm && FClientHandle) {
    Message.Result = Windows::DefFrameProc(FHandle, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  inherited::DefaultHandler(Message);
}

// ---- Client size -------------------------------------------------------------------------------------

RECT TCustomForm::NonClientFor(int AWidth, int AHeight) const
{
  TCreateParams params;
  const_cast<TCustomForm*>(this)->CreateParams(params);
  RECT window{0, 0, AWidth, AHeight};
  RECT client = NonClient::ClientFor(params.Style, params.ExStyle, window);
  if (FMenu && !GetParent()) client.top += Windows::GetSystemMetrics(SM_CYMENU);
  return client;
}

RECT TCustomForm::GetClientRect()
{
  if (FHandle || GetParent()) return inherited::GetClientRect();
  // Without a window yet: what the window's client area will be.
  RECT c = NonClientFor(FWidth, FHeight);
  return RECT{0, 0, std::max<LONG>(c.right - c.left, 0), std::max<LONG>(c.bottom - c.top, 0)};
}

void TCustomForm::SetClientSize(int AWidth, int AHeight)
{
  RECT client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - (client.right - client.left) + AWidth,
            FHeight - (client.bottom - client.top) + AHeight);
}

void TCustomForm::SetPixelsPerInch(int Value)
{
  if (Value <= 0 || Value == FPixelsPerInch) return;
  if (GetComponentState().Contains(csLoading)) {
    FPixelsPerInch = Value;
    return;
  }
  int old = FPixelsPerInch;
  FPixelsPerInch = Value;
  ChangeScale(Value, old);
}

// ---- Showing and position ------------------------------------------------------------------------------

void TCustomForm::Show()
{
  SetVisible(true);
  if (FHandle && !GetParent()) Windows::BringWindowToTop(FHandle);
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::CMVisibleChanged(TMessage& Message)
{
  if (!GetVisible()) RemoveFocus(false);
  UpdateShowing();
}

void TCustomForm::ApplyPosition()
{
  if (FFormStyle == fsMDIChild || GetParent()) return;
  RECT area;
  TCustomForm* around = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: {
      SIZE s = Backend::Current().ScreenSize();
      area = RECT{0, 0, s.cx, s.cy};
      break;
    }
    case poOwnerFormCenter: around = dynamic_cast<TCustomForm*>(GetOwner()); [[fallthrough]];
    case poMainFormCenter:
      if (!around) around = Controls::AppLink().MainForm();
      if (around && around != this && around->HandleAllocated()) {
        area = around->GetBoundsRect();
      } else {
        SIZE s = Backend::Current().ScreenSize();
        area = RECT{0, 0, s.cx, s.cy};
      }
      break;
    default: return;
  }
  int x = area.left + ((area.right - area.left) - FWidth) / 2;
  int y = area.top + ((area.bottom - area.top) - FHeight) / 2;
  // Kept on the work area where it fits.
  RECT work = Backend::Current().WorkArea();
  x = std::max<int>(work.left, std::min<int>(x, work.right - FWidth));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - FHeight));
  SetBounds(x, y, FWidth, FHeight);
}

void TCustomForm::UpdateShowing()
{
  if (GetParent()) {
    inherited::UpdateShowing();
    return;
  }
  if (GetComponentState().Contains(csDestroying)) return;
  if (GetVisible()) {
    if (FFormState.Contains(fsShowing)) return;
    FFormState.Include(fsShowing);
    TScopeExit shown([this] { FFormState.Exclude(fsShowing); });
    HandleNeeded();
    if (!FFormState.Contains(fsVisible) || FFormState.Contains(fsModal)) ApplyPosition();
    FFormState.Include(fsVisible);
    DoShow();
    int cmd = FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
              : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                            : SW_SHOWNORMAL;
    if (FFormStyle == fsMDIChild) {
      Windows::ShowWindow(FHandle, cmd == SW_SHOWNORMAL ? SW_SHOW : cmd);
      if (HWND client = Windows::GetParent(FHandle))
        Windows::SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    } else {
      Windows::ShowWindow(FHandle, cmd);
    }
    Perform(CM_SHOWINGCHANGED, 0, 0);
  } else if (FHandle && Windows::IsWindowVisible(FHandle)) {
    FFormState.Include(fsShowing);
    TScopeExit shown([this] { FFormState.Exclude(fsShowing); });
    DoHide();
    Windows::ShowWindow(FHandle, SW_HIDE);
    Perform(CM_SHOWINGCHANGED, 0, 0);
  }
}

void TCustomForm::DoShow()
{
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
  if (OnHide) OnHide(this);
}

TWindowState TCustomForm::GetWindowState() const
{
  if (FHandle) {
    if (Windows::IsIconic(FHandle)) return wsMinimized;
    if (Windows::IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
  FWindowState = Value;
  if (!FHandle || !GetVisible()) return;
  int cmd = Value == wsMaximized ? SW_SHOWMAXIMIZED : Value == wsMinimized ? SW_MINIMIZE : SW_RESTORE;
  if (FFormState.Contains(fsCreatedMDIChild)) {
    HWND client = Windows::GetParent(FHandle);
    if (Value == wsMaximized)
      Windows::SendMessage(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(FHandle), 0);
    else if (Value == wsNormal)
      Windows::SendMessage(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(FHandle), 0);
    else
      Windows::ShowWindow(FHandle, SW_MINIMIZE);
    return;
  }
  Windows::ShowWindow(FHandle, cmd);
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
  if (Value == FFormStyle) return;
  if (Value == fsMDIChild && FFormStyle != fsMDIChild && !GetComponentState().Contains(csLoading)) {
    // An MDI child is shown as soon as it exists.
    FFormStyle = Value;
    if (FHandle) RecreateWnd();
    SetVisible(true);
    return;
  }
  FFormStyle = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
  if (Value == FBorderIcons) return;
  FBorderIcons = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::WMSize(TMessage& Message)
{
  if (Message.WParam == SIZE_MAXIMIZED)
    FWindowState = wsMaximized;
  else if (Message.WParam == SIZE_MINIMIZED)
    FWindowState = wsMinimized;
  else if (Message.WParam == SIZE_RESTORED)
    FWindowState = wsNormal;
  inherited::WMSize(Message);
  // The MDI client fills the frame's client area.
  if (FClientHandle) {
    RECT r = inherited::GetClientRect();
    Windows::MoveWindow(FClientHandle, 0, 0, r.right, r.bottom, TRUE);
  }
}

// ---- Modal and close ------------------------------------------------------------------------------------

int TCustomForm::ShowModal()
{
  if (GetVisible() || !GetEnabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = Windows::GetCapture()) Windows::SendMessage(capture, WM_CANCELMODE, 0, 0);
  Windows::ReleaseCapture();
  FFormState.Include(fsModal);
  TScopeExit notModal([this] { FFormState.Exclude(fsModal); });
  HWND activeWindow = Windows::GetActiveWindow();
  TScopeExit reactivate([&activeWindow] {
    if (activeWindow && Windows::IsWindow(activeWindow)) Windows::SetActiveWindow(activeWindow);
  });
  TCursor savedCursor = Controls::AppLink().ScreenCursor();
  Controls::AppLink().SetScreenCursor(crDefault);
  TScopeExit cursorBack([savedCursor] { Controls::AppLink().SetScreenCursor(savedCursor); });
  HandleNeeded();
  TTaskWindowsDisabled others(FHandle);
  Controls::AppLink().ModalStarted();
  TScopeExit finished([] { Controls::AppLink().ModalFinished(); });
  Show();
  TScopeExit hide([this] {
    if (!GetComponentState().Contains(csDestroying)) Hide();
  });
  Windows::SetActiveWindow(FHandle);
  Perform(CM_ACTIVATE, 0, 0);
  FModalResult = mrNone;
  do {
    Controls::AppLink().HandleMessage();
    if (Controls::AppLink().Terminated())
      FModalResult = mrCancel;
    else if (FModalResult != mrNone)
      CloseModal();
  } while (FModalResult == mrNone);
  Perform(CM_DEACTIVATE, 0, 0);
  if (Windows::GetActiveWindow() != FHandle) activeWindow = nullptr;
  return FModalResult;
}

void TCustomForm::CloseModal()
{
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TCustomForm::CloseQuery()
{
  if (FFormStyle == fsMDIForm)
    for (int i = 0; i < GetMDIChildCount(); ++i)
      if (!GetMDIChildren(i)->CloseQuery()) return false;
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close()
{
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = FFormStyle == fsMDIChild ? (FBorderIcons.Contains(biMinimize) ? caMinimize : caNone) : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Controls::AppLink().MainForm() == this) {
    Windows::PostQuitMessage(0);
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release()
{
  if (FHandle)
    Windows::PostMessage(FHandle, CM_RELEASE, 0, 0);
  else
    delete this;
}

void TCustomForm::CMRelease(TMessage&)
{
  FReleasing = true;
  DoDestroy();
  delete this;
}

// ---- Focus and keys ----------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* Control)
{
  if (Control == FActiveControl) return;
  if (Control && (Control == this || Control->GetParentForm() != this ||
                  (!GetComponentState().Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (Control) Control->FreeNotification(this);
  if (!GetComponentState().Contains(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
  TWinControl* target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : this;
  if (!target->HandleAllocated() && !HandleAllocated()) return;
  Windows::SetFocus(target->GetHandle());
}

void TCustomForm::FocusControl(TWinControl* Control)
{
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus()
{
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (!FHandle) return;
  if (FFormState.Contains(fsCreatedMDIChild)) {
    Windows::SendMessage(Windows::GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    SetWindowFocus();
    return;
  }
  if (Windows::GetActiveWindow() != FHandle)
    Windows::SetActiveWindow(FHandle);
  else
    SetWindowFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing)
{
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->GetParent();
  if (FActiveControl && Control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
  if (Control != this) FActiveControl = Control;
  if (!FActive && !GetParent()) {
    // The focus reaching the form activates it first.
    FActive = true;
    Activate();
  }
  bool result = inherited::SetFocusedControl(Control);
  Controls::AppLink().ActiveControlChanged(this);
  return result;
}

bool TCustomForm::IsShortCut(TMessage& Message) { return FMenu && FMenu->IsShortCut(Message); }

void TCustomForm::SendCancelMode(TControl* Sender)
{
  if (FActive && FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::CMDialogKey(TMessage& Message)
{
  if (KeyDataToShiftState(Message.LParam).Contains(ssAlt) || KeyDataToShiftState(Message.LParam).Contains(ssCtrl)) {
    inherited::CMDialogKey(Message);
    return;
  }
  TWinControl* current = FActiveControl;
  switch (int(Message.WParam)) {
    case VK_TAB:
      SelectNext(current, !KeyDataToShiftState(Message.LParam).Contains(ssShift), true);
      Message.Result = 1;
      return;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (current && current->GetParent()) {
        bool forward = Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN;
        if (TWinControl* next = current->GetParent()->FindNextControl(current, forward, false, true)) {
          next->SetFocus();
          Message.Result = 1;
          return;
        }
      }
      break;
    default: break;
  }
  inherited::CMDialogKey(Message);
}

void TCustomForm::Activate()
{
  Controls::AppLink().FormActivated(this);
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate()
{
  if (OnDeactivate) OnDeactivate(this);
}

// ---- Menu ----------------------------------------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenuBase* Value)
{
  if (Value == FMenu) return;
  MergeMenu(false);
  if (FMenu) {
    FMenu->RemoveFreeNotification(this);
    FMenu->SetWindowOwner(nullptr);
  }
  FMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetWindowOwner(this);
  }
  if (FHandle && !GetParent()) Windows::SetMenu(FHandle, Value ? Value->GetHandle() : nullptr);
  if (TCustomForm* frame = MDIFrame(); frame && frame->GetActiveMDIChild() == this) MergeMenu(true);
}

void TCustomForm::MergeMenu(bool MergeState)
{
  if (FFormStyle != fsMDIChild || !FMenu || !FHandle) return;
  TCustomForm* frame = MDIFrame();
  if (frame && frame->FMenu) frame->FMenu->MergeChildMenu(FMenu, MergeState);
}

TCustomForm* TCustomForm::MDIFrame() const
{
  HWND client = FHandle ? Windows::GetParent(FHandle) : nullptr;
  if (!client) return nullptr;
  for (TCustomForm* f : gForms)
    if (f->FFormStyle == fsMDIForm && f->FClientHandle == client) return f;
  return nullptr;
}

// ---- MDI -------------------------------------------------------------------------------------------------------

int TCustomForm::GetMDIChildCount() const
{
  if (FFormStyle != fsMDIForm || !FClientHandle) return 0;
  int n = 0;
  for (TCustomForm* f : gForms)
    if (f->FFormState.Contains(fsCreatedMDIChild) && f->FHandle && Windows::GetParent(f->FHandle) == FClientHandle) ++n;
  return n;
}

TCustomForm* TCustomForm::GetMDIChildren(int Index) const
{
  if (FClientHandle) {
    // The window layer lists the client's children topmost first: the active child is first.
    int i = 0;
    for (HWND w : Windows::GetChildWindows(FClientHandle))
      if (TWinControl* c = Controls::FindControl(w))
        if (auto* f = dynamic_cast<TCustomForm*>(c)) {
          if (i == Index) return f;
          ++i;
        }
  }
  throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
}

TCustomForm* TCustomForm::GetActiveMDIChild() const
{
  if (!FClientHandle) return nullptr;
  auto wnd = reinterpret_cast<HWND>(Windows::SendMessage(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(Controls::FindControl(wnd));
}

void TCustomForm::Cascade()
{
  if (FClientHandle) Windows::SendMessage(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile()
{
  if (FClientHandle)
    Windows::SendMessage(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL,
                         0);
}

void TCustomForm::ArrangeIcons()
{
  if (FClientHandle) Windows::SendMessage(FClientHandle, 0x0228 /* WM_MDIICONARRANGE */, 0, 0);
}

void TCustomForm::Next()
{
  if (FClientHandle) Windows::SendMessage(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous()
{
  if (FClientHandle) Windows::SendMessage(FClientHandle, WM_MDINEXT, 0, 1);
}

// ---- Messages --------------------------------------------------------------------------------------------------

void TCustomForm::WndProc(TMessage& Message)
{
  // A dockable form's caption starts a dock drag rather than a plain move.
  if (Message.Msg == WM_NCLBUTTONDOWN && Message.WParam == HTCAPTION && GetDragKind() == dkDock && !GetParent()) {
    DragManager::BeginDock(this, false, -1);
    Message.Result = 0;
    return;
  }
  switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); return;
    case WM_MDIACTIVATE:
      // A child gaining the MDI activation activates like a top-level form.
      if (FFormState.Contains(fsCreatedMDIChild)) {
        DefaultHandler(Message);
        bool active = reinterpret_cast<HWND>(Message.LParam) == FHandle;
        TMessage act{WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0, 0};
        WMActivate(act);
        MergeMenu(active);
        return;
      }
      break;
    case WM_CLOSE: WMClose(Message); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); return;
    case WM_COMMAND:
      if (Message.LParam == 0 && FMenu && FMenu->DispatchCommand(LOWORD(Message.WParam))) return;
      break;
    case WM_INITMENUPOPUP:
      if (FMenu && FMenu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: {
      UINT type = 0;
      if (Message.LParam)
        type = Message.Msg == WM_DRAWITEM ? reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam)->CtlType
                                          : reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam)->CtlType;
      if (type == ODT_MENU && FMenu && FMenu->DispatchOwnerDraw(Message)) {
        Message.Result = TRUE;
        return;
      }
      break;
    }
    default: break;
  }
  inherited::WndProc(Message);
}

void TCustomForm::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CM_ACTIVATE: CMActivate(Message); return;
    case CM_DEACTIVATE: CMDeactivate(Message); return;
    case CM_RELEASE: CMRelease(Message); return;
    default: inherited::Dispatch(Message); return;
  }
}

void TCustomForm::WMActivate(TMessage& Message)
{
  bool active = LOWORD(Message.WParam) != WA_INACTIVE;
  if (Message.Msg == WM_ACTIVATE && FHandle) DefaultHandler(Message);
  if (active) {
    if (!FActive) {
      FActive = true;
      Activate();
    }
    SetWindowFocus();
  } else if (FActive) {
    FActive = false;
    Deactivate();
  }
  Message.Result = 0;
}

void TCustomForm::CMActivate(TMessage&)
{
  if (!FActive) {
    FActive = true;
    Activate();
  }
}

void TCustomForm::CMDeactivate(TMessage&)
{
  if (FActive) {
    FActive = false;
    Deactivate();
  }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMGetMinMaxInfo(TMessage& Message)
{
  DefaultHandler(Message);
  auto* mmi = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  if (!mmi) return;
  TSizeConstraints* c = GetConstraints();
  if (c->GetMinWidth() > 0) mmi->ptMinTrackSize.x = c->GetMinWidth();
  if (c->GetMinHeight() > 0) mmi->ptMinTrackSize.y = c->GetMinHeight();
  if (c->GetMaxWidth() > 0) mmi->ptMaxTrackSize.x = c->GetMaxWidth();
  if (c->GetMaxHeight() > 0) mmi->ptMaxTrackSize.y = c->GetMaxHeight();
}

void TCustomForm::PaintWindow(HDC DC)
{
  FCanvas->PaintOn(DC, [this] { Paint(); });
}

void TCustomForm::Paint()
{
  if (OnPaint) OnPaint(this);
}
