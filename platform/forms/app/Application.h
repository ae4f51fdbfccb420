// TApplication: the program's application object: its title and help file, the message loop
// (Run, ProcessMessages, HandleMessage with the idle work), the exception handling that every
// event dispatcher ends in, and minimizing and restoring the program.
//
// Exceptions: HandleException is called from inside a catch block. EAbort is silent; any other
// exception goes to OnException when assigned, else ShowException shows it through the message
// seam of platform/rtl (MB_OK | MB_ICONSTOP, the application's title as caption).
#pragma once

#include <functional>

#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/WinUser.h"

PELTO_EVENT_TYPE(TExceptionEvent, void(TObject* Sender, Exception* E))
PELTO_EVENT_TYPE(TIdleEvent, void(TObject* Sender, bool& Done))
PELTO_EVENT_TYPE(TMessageEvent, void(MSG& Msg, bool& Handled))

class TApplication : public TComponent {
  PELTO_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Makes the application's window; the program's main block calls it first.
  void Initialize();

  // ---- Message loop ----
  // Retrieves and dispatches messages until Terminate was called (WM_QUIT retrieved). Where
  // nothing can ever arrive (a headless run with an empty queue and no timers) it ends too.
  // Exceptions of a message's handling go to HandleException and the loop goes on.
  void Run();
  // Dispatches every waiting message and returns; no idle work.
  void ProcessMessages();
  // Dispatches one message; when none waits, does the idle work and waits for the next.
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

  // ---- Minimize and restore ----
  // Hides the program: the visible top-level windows are minimized; OnMinimize follows.
  void Minimize();
  // Shows them again as they were; OnRestore follows.
  void Restore();
  bool GetMinimized() const { return FMinimized; }

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnMinimize, OnRestore, OnActivate, OnDeactivate;

protected:
  // One message from the queue; false when none waited.
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);

private:
  LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  AnsiString FTitle;
  bool FTitleSet = false;
  AnsiString FHelpFile;
  HWND FHandle = nullptr;  // owned
  bool FTerminated = false;
  bool FActive = false;
  bool FMinimized = false;
  bool FQueueDead = false;  // nothing can ever arrive
  std::vector<HWND> FMinimizedWindows;
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
