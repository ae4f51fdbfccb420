#include "platform/forms/app/Application.h"

#include <utility>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/ApplicationEvents.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/app/UtilWindow.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/ControlActionLink.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/forms/HintWindow.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/win/input/Focus.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

namespace Forms {
TApplication* Application = nullptr;
}

namespace {

// The rule ShowException applies: a message whose last character sorts above '.' (a letter,
// a digit, a Chinese character) gets a closing full stop.
AnsiString WithFullStop(const AnsiString& Msg)
{
  if (Msg.empty()) return Msg;
  std::size_t last = 0;
  for (std::size_t i = 0; i < Msg.size(); i += System::IsLeadByte(Msg[i]) && i + 1 < Msg.size() ? 2 : 1) last = i;
  return static_cast<unsigned char>(Msg[last]) > '.' ? Msg + "." : Msg;
}

// Calls Report with the exception being handled, as an Exception; nothing for EAbort or when
// no exception is being handled.
template <class F>
void WithCurrentException(F Report)
{
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
  } catch (Exception& e) {
    Report(e);
  } catch (std::bad_alloc&) {
    EOutOfMemory e("Out of memory");
    Report(e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    Report(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    Report(wrapped);
  }
}

constexpr UINT_PTR kHintTimer = 1;

// How far below the pointer a hint shows: the height of the cursor less its hot spot.
constexpr int kCursorHeightMargin = 20;

// The control whose hint shows for Control: it, or the nearest parent with ShowHint.
TControl* HintControlOf(TControl* Control)
{
  while (Control && !Control->GetShowHint()) Control = Control->GetParent();
  if (Control && Control->GetComponentState().Contains(csDesigning)) return nullptr;
  return Control;
}

// The control's hint, else the nearest parent's.
AnsiString HintOf(TControl* Control)
{
  for (; Control; Control = Control->GetParent())
    if (!Control->GetHint().empty()) return Control->GetHint();
  return AnsiString();
}

// Tells the application's own handler, then each TApplicationEvents with that event.
void Notify(TApplication* App, const TNotifyEvent& Own, TNotifyEvent TApplicationEvents::*Member)
{
  if (Own) Own(App);
  ApplicationEvents::Dispatch([&](TApplicationEvents& Events) {
    if (!(Events.*Member)) return false;
    (Events.*Member)(App);
    return true;
  });
}

}  // namespace

// What the control classes ask of the application object.
class TApplicationControlsLink : public TApplicationLink {
public:
  void HandleException(TObject* Sender) override { Forms::HandleException(Sender); }
  void HandleMessage() override
  {
    if (Forms::Application)
      Forms::Application->HandleMessage();
    else
      TApplicationLink::HandleMessage();
  }
  bool Terminated() override { return Forms::Application ? Forms::Application->GetTerminated() : false; }
  HCURSOR CursorHandle(TCursor Cursor) override
  {
    return Forms::Screen ? Forms::Screen->GetCursors(Cursor) : TApplicationLink::CursorHandle(Cursor);
  }
  TCursor ScreenCursor() override { return Forms::Screen ? Forms::Screen->GetCursor() : crDefault; }
  void SetScreenCursor(TCursor Cursor) override
  {
    if (Forms::Screen) Forms::Screen->SetCursor(Cursor);
  }
  TCustomForm* MainForm() override { return Forms::Application ? Forms::Application->GetMainForm() : nullptr; }
  void FormCreated(TCustomForm* Form) override
  {
    if (Forms::Screen) Forms::Screen->AddForm(Form);
  }
  void FormDestroyed(TCustomForm* Form) override
  {
    if (Forms::Screen) Forms::Screen->RemoveForm(Form);
    if (Forms::Application) Forms::Application->FormDestroyed(Form);
  }
  void FormActivated(TCustomForm* Form) override
  {
    if (Forms::Screen) Forms::Screen->FormActivated(Form);
  }
  void ActiveControlChanged(TCustomForm* Form) override
  {
    if (Forms::Screen && Form == Forms::Screen->GetActiveCustomForm()) Forms::Screen->ActiveControlChanged();
  }
  void HintMouseMessage(TControl* Control, TMessage& Message) override
  {
    if (Forms::Application) Forms::Application->HintMouseMessage(Control, Message);
  }
  void CancelHint() override
  {
    if (Forms::Application) Forms::Application->CancelHint();
  }
  bool ShowHint() override { return Forms::Application ? Forms::Application->GetShowHint() : true; }
  int DragThreshold() override { return Controls::Mouse ? Controls::Mouse->GetDragThreshold() : 5; }
  void ModalStarted() override
  {
    if (Forms::Application) Forms::Application->ModalStarted();
  }
  void ModalFinished() override
  {
    if (Forms::Application) Forms::Application->ModalFinished();
  }
};

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
  FTitle = SysUtils::ChangeFileExt(SysUtils::ExtractFileName(GetExeName()), "");
}

TApplication::~TApplication()
{
  StopHintTimer();
  FHintControl = nullptr;
  delete std::exchange(FHintWindow, nullptr);
  // The forms go while the application object still answers for them.
  DestroyComponents();
  FMainForm = nullptr;
  if (Forms::Application == this) Forms::Application = nullptr;
  UtilWindow::DeallocateHWnd(std::exchange(FHandle, nullptr));
}

// ---- Forms -------------------------------------------------------------------------------------

void TApplication::FormCreated(TComponent* Instance)
{
  auto* form = dynamic_cast<TForm*>(Instance);
  if (FMainForm || !form) return;
  form->HandleNeeded();
  FMainForm = form;
}

TComponent* TApplication::CreateForm(TClass InstanceClass)
{
  if (!InstanceClass || !InstanceClass->InheritsFrom(TComponent::StaticClass()) || !InstanceClass->CanCreate())
    throw EInvalidOperation("Cannot create form of class " + (InstanceClass ? InstanceClass->ClassName() : "nil"));
  auto* instance = static_cast<TComponent*>(InstanceClass->Create(this));
  FormCreated(instance);
  return instance;
}

void TApplication::FormDestroyed(TCustomForm* Form)
{
  if (Form == FMainForm) FMainForm = nullptr;
  if (Form && FHintControl && (FHintControl == Form || Form->ContainsControl(FHintControl))) CancelHint();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FHintWindow) FHintWindow = nullptr;
  if (AComponent == FHintControl) {
    FHintControl = nullptr;
    FHintActive = false;
    StopHintTimer();
    HideHint();
  }
}

void TApplication::ModalStarted()
{
  if (FModalLevel++ == 0) Notify(this, OnModalBegin, &TApplicationEvents::OnModalBegin);
}

void TApplication::ModalFinished()
{
  if (FModalLevel > 0 && --FModalLevel == 0) Notify(this, OnModalEnd, &TApplicationEvents::OnModalEnd);
}

void TApplication::Initialize() { GetHandle(); }

HWND TApplication::GetHandle()
{
  if (FHandle && !Windows::IsWindow(FHandle)) FHandle = nullptr;  // the window layer was reset
  if (!FHandle) {
    FHandle = UtilWindow::AllocateHWnd(
        [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { return WndProc(wnd, msg, wParam, lParam); });
    if (FHandle) Windows::SetWindowText(FHandle, FTitle.c_str());
  }
  return FHandle;
}

LRESULT TApplication::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  try {
    switch (Msg) {
      case WM_TIMER:
        if (WParam == kHintTimer) {
          HintTimerExpired();
          return 0;
        }
        break;
      case WM_ACTIVATEAPP:
        FActive = WParam != 0;
        if (FActive) {
          Notify(this, OnActivate, &TApplicationEvents::OnActivate);
        } else {
          CancelHint();
          Notify(this, OnDeactivate, &TApplicationEvents::OnDeactivate);
        }
        return 0;
      default: break;
    }
  } catch (...) {
    HandleException(this);
  }
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

// ---- Message loop ------------------------------------------------------------------------------

bool TApplication::ProcessMessage(MSG& Msg)
{
  if (!Windows::PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  ApplicationEvents::Dispatch([&](TApplicationEvents& Events) {
    if (!Events.OnMessage) return false;
    Events.OnMessage(Msg, handled);
    return true;
  });
  CheckHintMsg(Msg);
  if (!handled && !IsMDIMsg(Msg) && !Controls::IsKeyMsg(Msg)) {
    Windows::TranslateMessage(&Msg);
    Windows::DispatchMessage(&Msg);
  }
  return true;
}

bool TApplication::IsMDIMsg(MSG& Msg)
{
  if (!FMainForm || FMainForm->GetFormStyle() != fsMDIForm || !FMainForm->GetClientHandle() || !Forms::Screen)
    return false;
  TCustomForm* active = Forms::Screen->GetActiveCustomForm();
  if (!active || active->GetFormStyle() != fsMDIChild) return false;
  return Windows::TranslateMDISysAccel(FMainForm->GetClientHandle(), &Msg);
}

void TApplication::ProcessMessages()
{
  MSG msg;
  while (ProcessMessage(msg)) {}
}

void TApplication::HandleMessage()
{
  MSG msg;
  if (ProcessMessage(msg)) return;
  FQueueDead = false;
  Idle(msg);
  // A modal loop waiting for what can never come (headless, nobody ends it) fails rather than
  // spinning for ever.
  if (FQueueDead && FModalLevel > 0)
    throw EInvalidOperation("HandleMessage: the message queue is empty and nothing can arrive");
}

void TApplication::Idle(const MSG& Msg)
{
  bool done = true;
  try {
    DoMouseIdle();
    if (OnIdle) OnIdle(this, done);
    ApplicationEvents::Dispatch([&](TApplicationEvents& Events) {
      if (!Events.OnIdle) return false;
      Events.OnIdle(this, done);
      return true;
    });
    if (done) DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  if (done && !Windows::WaitMessage()) FQueueDead = true;
}

void TApplication::DoMouseIdle()
{
  POINT p;
  Windows::GetCursorPos(&p);
  TControl* control = Controls::FindDragTarget(p, true);
  if (FShowHint && !control) CancelHint();
  SetHint(control ? Controls::GetLongHint(HintOf(control)) : AnsiString());
}

namespace {
// Updates the action of a control and of its visible children, depth first.
void InitiateActions(TControl* Control)
{
  if (TControlActionLink* link = Control->GetActionLink()) link->Update();
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) return;
  for (int i = 0; i < win->GetControlCount(); ++i)
    if (TControl* child = win->GetControl(i); child->GetVisible()) InitiateActions(child);
}
}  // namespace

void TApplication::DoActionIdle()
{
  if (!Forms::Screen) return;
  // A form's update may make or free forms: walk a copy and skip the ones gone meanwhile.
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Forms::Screen->GetCustomFormCount(); ++i) forms.push_back(Forms::Screen->GetCustomForms(i));
  for (TCustomForm* form : forms) {
    bool present = false;
    for (int i = 0; i < Forms::Screen->GetCustomFormCount() && !present; ++i)
      present = Forms::Screen->GetCustomForms(i) == form;
    if (present && form->HandleAllocated() && Windows::IsWindowVisible(form->GetHandle()) &&
        Windows::IsWindowEnabled(form->GetHandle()))
      InitiateActions(form);
  }
}

void TApplication::Run()
{
  FQueueDead = false;
  if (!FMainForm) return;
  if (FShowMainForm) {
    if (FMainForm->GetWindowState() == wsMinimized)
      Minimize();
    else
      FMainForm->SetVisible(true);
  }
  while (!FTerminated && !FQueueDead) {
    try {
      HandleMessage();
    } catch (...) {
      if (!FQueueDead) HandleException(this);
    }
  }
}

void TApplication::Terminate() { Windows::PostQuitMessage(0); }

// ---- Exceptions --------------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender)
{
  if (HWND capture = Windows::GetCapture()) Windows::SendMessage(capture, WM_CANCELMODE, 0, 0);
  WithCurrentException([&](Exception& e) {
    if (OnException) {
      OnException(Sender, &e);
      return;
    }
    bool handled = ApplicationEvents::Dispatch([&](TApplicationEvents& Events) {
      if (!Events.OnException) return false;
      Events.OnException(Sender, &e);
      return true;
    });
    if (!handled) ShowException(&e);
  });
}

void TApplication::ShowException(Exception* E)
{
  if (!E) return;
  MessageSeam::Show(WithFullStop(E->Message()), GetTitle(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  return MessageSeam::Show(Text, Caption.empty() ? GetTitle() : Caption, Flags);
}

// ---- Settings ----------------------------------------------------------------------------------

AnsiString TApplication::GetTitle() const { return FTitle; }

void TApplication::SetTitle(const AnsiString& Value)
{
  FTitle = Value;
  if (FHandle) Windows::SetWindowText(FHandle, FTitle.c_str());
}

AnsiString TApplication::GetExeName() const
{
  std::string path(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  path.resize(n > 0 ? std::size_t(n) : 0);
  return System::Utf8ToAnsi(path);
}

// ---- Hints -------------------------------------------------------------------------------------

void TApplication::SetHint(const AnsiString& Value)
{
  if (Value == FHint) return;
  FHint = Value;
  Notify(this, OnHint, &TApplicationEvents::OnHint);
}

void TApplication::SetShowHint(bool Value)
{
  if (Value == FShowHint) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHintWindowClass(TClass Value)
{
  if (Value && !Value->InheritsFrom(THintWindow::StaticClass()))
    throw EInvalidOperation("A hint window class must descend from THintWindow");
  FHintWindowClass = Value;
}

THintWindow* TApplication::HintWindowOfClass(TClass Class)
{
  if (!Class || !Class->InheritsFrom(THintWindow::StaticClass()) || !Class->CanCreate())
    Class = FHintWindowClass ? FHintWindowClass : THintWindow::StaticClass();
  if (FHintWindow && FHintWindow->ClassType() == Class) return FHintWindow;
  delete std::exchange(FHintWindow, nullptr);
  FHintWindow = static_cast<THintWindow*>(Class->Create(this));
  FHintWindow->SetColor(FHintColor);
  return FHintWindow;
}

void TApplication::StartHintTimer(int Pause, THintTimer Mode)
{
  StopHintTimer();
  FHintTimerMode = Mode;
  FHintTimerRunning = Windows::SetTimer(GetHandle(), kHintTimer, UINT(std::max(Pause, 0)), nullptr) != 0;
  if (!FHintTimerRunning) CancelHint();
}

void TApplication::StopHintTimer()
{
  if (!FHintTimerRunning) return;
  FHintTimerRunning = false;
  if (FHandle) Windows::KillTimer(FHandle, kHintTimer);
}

void TApplication::HintTimerExpired()
{
  StopHintTimer();
  if (FHintTimerMode == THintTimer::Show) {
    POINT p;
    Windows::GetCursorPos(&p);
    ActivateHint(p);
  } else {
    HideHint();
  }
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message)
{
  POINT screen = Control->ClientToScreen(POINT{Message.XPos(), Message.YPos()});
  TControl* hintControl = HintControlOf(Controls::FindDragTarget(screen, true));
  if (!hintControl || !FShowHint) {
    CancelHint();
    return;
  }
  if (hintControl == FHintControl && Windows::PtInRect(&FHintCursorRect, screen)) return;
  bool wasActive = FHintActive;
  int pause = wasActive ? FHintShortPause : FHintPause;
  hintControl->Perform(CM_HINTSHOWPAUSE, WPARAM(wasActive), LPARAM(&pause));
  if (FHintControl != hintControl) {
    if (FHintControl) FHintControl->RemoveFreeNotification(this);
    FHintControl = hintControl;
    FHintControl->FreeNotification(this);
  }
  FHintActive = wasActive;
  StartHintTimer(pause, THintTimer::Show);
}

void TApplication::ActivateHint(POINT CursorPos)
{
  FHintActive = false;
  THintInfo info;
  if (FShowHint && FHintControl && FHintControl == HintControlOf(Controls::FindDragTarget(CursorPos, true))) {
    info.HintControl = FHintControl;
    info.HintPos = POINT{CursorPos.x, CursorPos.y + kCursorHeightMargin};
    info.HintMaxWidth = Forms::Screen ? Forms::Screen->GetWidth() : Windows::GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = FHintColor;
    // The control's own rectangle in its client coordinates.
    RECT bounds = FHintControl->GetBoundsRect();
    POINT origin = FHintControl->GetClientOrigin();
    POINT parentOrigin = FHintControl->GetParent() ? FHintControl->GetParent()->GetClientOrigin() : POINT{0, 0};
    Windows::OffsetRect(&bounds, parentOrigin.x - origin.x, parentOrigin.y - origin.y);
    info.CursorRect = bounds;
    info.CursorPos = FHintControl->ScreenToClient(CursorPos);
    info.HintStr = Controls::GetShortHint(HintOf(FHintControl));
    info.HideTimeout = FHintHidePause;
    bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    FHintActive = canShow && FHintControl;
    if (FHintActive && !info.HintStr.empty()) {
      THintWindow* window = HintWindowOfClass(info.HintWindowClass);
      RECT r = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
      Windows::OffsetRect(&r, info.HintPos.x, info.HintPos.y);
      POINT topLeft = FHintControl->ClientToScreen(POINT{info.CursorRect.left, info.CursorRect.top});
      POINT bottomRight = FHintControl->ClientToScreen(POINT{info.CursorRect.right, info.CursorRect.bottom});
      FHintCursorRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
      window->SetColor(info.HintColor);
      window->ActivateHintData(r, info.HintStr, info.HintData);
      if (info.ReshowTimeout > 0)
        StartHintTimer(info.ReshowTimeout, THintTimer::Show);
      else
        StartHintTimer(info.HideTimeout, THintTimer::Hide);
      return;
    }
  }
  if (info.ReshowTimeout > 0)
    StartHintTimer(info.ReshowTimeout, THintTimer::Show);
  else
    CancelHint();
}

void TApplication::HideHint()
{
  if (FHintWindow && FHintWindow->HandleAllocated() && Windows::IsWindowVisible(FHintWindow->GetHandle()))
    Windows::ShowWindow(FHintWindow->GetHandle(), SW_HIDE);
}

void TApplication::CancelHint()
{
  if (!FHintControl) return;
  HideHint();
  FHintControl->RemoveFreeNotification(this);
  FHintControl = nullptr;
  FHintActive = false;
  StopHintTimer();
}

void TApplication::CheckHintMsg(const MSG& Msg)
{
  if (FHintWindow && FHintWindow->HandleAllocated() && Windows::IsWindowVisible(FHintWindow->GetHandle()) &&
      FHintWindow->IsHintMsg(Msg))
    CancelHint();
}

// ---- Minimize and restore ----------------------------------------------------------------------

void TApplication::Minimize()
{
  if (FMinimized) return;
  FMinimized = true;
  FMinimizedWindows.clear();
  for (HWND w = Windows::GetTopWindow(nullptr); w; w = Windows::GetWindow(w, GW_HWNDNEXT))
    if (Windows::IsWindowVisible(w) && !Windows::IsIconic(w)) FMinimizedWindows.push_back(w);
  for (HWND w : FMinimizedWindows) Windows::ShowWindow(w, SW_SHOWMINNOACTIVE);
  Notify(this, OnMinimize, &TApplicationEvents::OnMinimize);
}

void TApplication::Restore()
{
  if (!FMinimized) return;
  FMinimized = false;
  // Bottom first, so that the z-order comes back as it was.
  for (auto it = FMinimizedWindows.rbegin(); it != FMinimizedWindows.rend(); ++it)
    if (Windows::IsWindow(*it)) Windows::ShowWindow(*it, SW_RESTORE);
  FMinimizedWindows.clear();
  Notify(this, OnRestore, &TApplicationEvents::OnRestore);
}

// ---- The program's objects ---------------------------------------------------------------------

namespace Forms {

void InitializeApplication()
{
  if (!Controls::Mouse) Controls::Mouse = new TMouse();
  if (!Screen) Screen = new TScreen(nullptr);
  if (!Application) Application = new TApplication(nullptr);
  Controls::InstallAppLink(std::make_unique<TApplicationControlsLink>());
  // The components of this part that stored forms name.
  Classes::RegisterClasses({TTimer::StaticClass(), TImageList::StaticClass(), TApplicationEvents::StaticClass()});
  Classes::RegisterFindGlobalComponentProc(
      "Forms", [](const AnsiString& Name) { return Screen ? Screen->FindGlobalComponent(Name) : nullptr; });
}

void FinalizeApplication()
{
  Classes::UnregisterFindGlobalComponentProc("Forms");
  delete Application;
  Controls::InstallAppLink(nullptr);
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  Clipbrd::Finalize();
  delete Controls::Mouse;
  Controls::Mouse = nullptr;
}

void HandleException(TObject* Sender)
{
  if (Application) {
    Application->HandleException(Sender);
    return;
  }
  WithCurrentException([](Exception& e) { MessageSeam::Show(WithFullStop(e.Message()), "", MB_OK | MB_ICONSTOP); });
}

}  // namespace Forms
