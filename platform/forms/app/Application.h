// TApplication: the program's application object: its title and help file, the message loop
// (Run, ProcessMessages, HandleMessage with the idle work), the exception handling that every
// event dispatcher ends in, and minimizing and restoring the program.
//
// The first form CreateForm makes becomes the main form: Run shows it and runs the loop until it
// closes (closing the main form ends the program); without a main form Run returns at once.
//
// Idle work, when no message waits: OnIdle, the hint (Hint and OnHint follow the control under
// the mouse; the hint window is hidden when the mouse leaves the controls) and the update of the
// actions of every visible, enabled form (InitiateAction of the form and its visible controls).
//
// Hints: a mouse message over a control with ShowHint starts the hint timer: HintPause, or
// HintShortPause while a hint shows, as the control may change through CM_HINTSHOWPAUSE (whose
// LParam points to the pause). When it expires, CM_HINTSHOW (LParam: a THintInfo) lets the
// control change the text, the place and the timeouts or refuse the hint (a non-zero answer),
// then OnShowHint; the hint window shows the short part of the hint below the cursor for
// HintHidePause. Keys, mouse buttons and leaving the control's hint rectangle end it.
//
// Events go to the application's own handler and then to every TApplicationEvents component.
//
// Exceptions: HandleException is called from inside a catch block. EAbort is silent; any other
// exception goes to OnException when assigned, else to the TApplicationEvents components with
// OnException, else ShowException shows it through the message
// seam of platform/rtl (MB_OK | MB_ICONSTOP, the application's title as caption).
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/WinUser.h"

PELTO_EVENT_TYPE(TExceptionEvent, void(TObject* Sender, Exception* E))
PELTO_EVENT_TYPE(TIdleEvent, void(TObject* Sender, bool& Done))
PELTO_EVENT_TYPE(TMessageEvent, void(MSG& Msg, bool& Handled))

class TControl;
class TCustomForm;
class THintWindow;
struct THintInfo;
struct TMessage;

PELTO_EVENT_TYPE(TShowHintEvent, void(AnsiString& HintStr, bool& CanShow, THintInfo& HintInfo))

class TApplication : public TComponent {
  PELTO_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Makes the application's window; the program's main block calls it first.
  void Initialize();

  // ---- Forms ----
  // Makes a form (or data module) of class T owned by the application and answers it in
  // Reference; the first TForm made becomes the main form (its window made at once).
  template <class T>
  void CreateForm(T*& Reference)
  {
    Reference = new T(this);
    FormCreated(Reference);
  }
  // The same from a class reference (stored forms, scripts); raises EInvalidOperation for a
  // class that is not a component that can be made.
  TComponent* CreateForm(TClass InstanceClass);
  // Null before the first form; cleared when the main form goes.
  TCustomForm* GetMainForm() const { return FMainForm; }
  // Whether Run shows the main form (true).
  bool GetShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  // Modal loops running now (ShowModal calls ModalStarted and ModalFinished).
  void ModalStarted();
  void ModalFinished();
  int GetModalLevel() const { return FModalLevel; }

  // ---- Message loop ----
  // Retrieves and dispatches messages until Terminate was called (WM_QUIT retrieved). Where
  // nothing can ever arrive (a headless run with an empty queue and no timers) it ends too.
  // Exceptions of a message's handling go to HandleException and the loop goes on.
  void Run();
  // Dispatches every waiting message and returns; no idle work.
  void ProcessMessages();
  // Dispatches one message; when none waits, does the idle work and waits for the next. Inside a
  // modal loop, raises EInvalidOperation when nothing can ever arrive (headless, no timers,
  // nothing queued).
  void HandleMessage();
  // Ends Run: posts WM_QUIT.
  void Terminate();
  bool GetTerminated() const { return FTerminated; }

  // ---- Exceptions ----
  void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  // Through the message seam, with the title as the caption when Caption is empty.
  int MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

  // ---- Settings ----
  // The title (the program's file name without extension until set).
  AnsiString GetTitle() const;
  void SetTitle(const AnsiString& Value);
  const AnsiString& GetHelpFile() const { return FHelpFile; }
  void SetHelpFile(const AnsiString& Value) { FHelpFile = Value; }
  // The program's full file name.
  AnsiString GetExeName() const;
  // The hidden window of the application; made by Initialize or on first use.
  HWND GetHandle();
  bool GetActive() const { return FActive; }

  // ---- Hints ----
  // The long part of the hint of the control under the mouse; setting it tells OnHint.
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  // Whether hint windows show at all (true); off hides the one showing.
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TColor GetHintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  // Milliseconds: before a hint shows (500), before the next shows while one shows (50), and
  // how long one stays (2500).
  int GetHintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int GetHintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int GetHintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  // Whether the hint of a control with an action shows the action's short cut.
  bool GetHintShortCuts() const { return FHintShortCuts; }
  void SetHintShortCuts(bool Value) { FHintShortCuts = Value; }
  // The class of the hint window (THintWindow or a descendant); a CM_HINTSHOW handler may ask
  // for another one through THintInfo.
  TClass GetHintWindowClass() const { return FHintWindowClass; }
  void SetHintWindowClass(TClass Value);
  // The window showing the hint; null while none was needed. Owned by the application.
  THintWindow* GetHintWindow() const { return FHintWindow; }
  // For the control classes: a mouse message reached Control.
  void HintMouseMessage(TControl* Control, TMessage& Message);
  // Shows the hint of the control at CursorPos (screen) now, as when the pause expires.
  void ActivateHint(POINT CursorPos);
  // Hides the hint and forgets its control.
  void CancelHint();
  void HideHint();

  // ---- Minimize and restore ----
  // Hides the program: the visible top-level windows are minimized; OnMinimize follows.
  void Minimize();
  // Shows them again as they were; OnRestore follows.
  void Restore();
  bool GetMinimized() const { return FMinimized; }

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnMinimize, OnRestore, OnActivate, OnDeactivate, OnHint, OnModalBegin, OnModalEnd;
  TShowHintEvent OnShowHint;

protected:
  // One message from the queue; false when none waited.
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  // Ends the hint showing when Msg is one that takes it down; never consumes Msg.
  void CheckHintMsg(const MSG& Msg);
  // The MDI child keys (Ctrl+F4, Ctrl+F6, Ctrl+Tab) while an MDI child of the main form is active.
  bool IsMDIMsg(MSG& Msg);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  enum class THintTimer { Show, Hide };

  LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void FormCreated(TComponent* Instance);
  // For the control classes (through their application link).
  friend class TApplicationControlsLink;
  void FormDestroyed(TCustomForm* Form);
  // The idle work's parts.
  void DoMouseIdle();
  void DoActionIdle();
  void StartHintTimer(int Pause, THintTimer Mode);
  void StopHintTimer();
  void HintTimerExpired();
  THintWindow* HintWindowOfClass(TClass Class);

  AnsiString FTitle;
  bool FTitleSet = false;
  AnsiString FHelpFile;
  HWND FHandle = nullptr;  // owned
  bool FTerminated = false;
  bool FActive = false;
  bool FMinimized = false;
  bool FQueueDead = false;  // nothing can ever arrive
  std::vector<HWND> FMinimizedWindows;
  TCustomForm* FMainForm = nullptr;  // borrowed: owned by the application as a component
  bool FShowMainForm = true;
  int FModalLevel = 0;
  AnsiString FHint;
  bool FShowHint = true;
  TColor FHintColor = clInfoBk;
  int FHintPause = 500, FHintShortPause = 50, FHintHidePause = 2500;
  bool FHintShortCuts = true;
  TClass FHintWindowClass = nullptr;
  THintWindow* FHintWindow = nullptr;  // owned (a component of the application)
  TControl* FHintControl = nullptr;    // borrowed; forgotten when it goes
  bool FHintActive = false;
  RECT FHintCursorRect;  // screen coordinates
  bool FHintTimerRunning = false;
  THintTimer FHintTimerMode = THintTimer::Show;
};

namespace Forms {
// The program's application object; exists between InitializeApplication and
// FinalizeApplication.
extern TApplication* Application;
// Makes the application, screen and mouse objects and registers the lookup of forms and data
// modules by name; idempotent.
void InitializeApplication();
void FinalizeApplication();
// For handlers that may run before or after the application object exists (timers, window
// procedures): the application's HandleException, or the same rule through the message seam.
void HandleException(TObject* Sender);
}  // namespace Forms
