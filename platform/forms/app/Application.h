// TApplication: the program's application object: its title and help file, the message loop
// (Run, ProcessMessages, HandleMessage with the idle work), the exception handling that every
// event dispatcher ends in, and minimizing and restoring the program.
//
// The first form CreateForm makes becomes the main form: Run shows it and runs the loop until it
// closes (closing the main form ends the program); without a main form Run returns at once.
//
// Idle work, when no message waits: OnIdle, the hint (Hint and OnHint follow the control under
// the mouse) and the update of the
// actions of every visible, enabled form (InitiateAction of the form and its visible controls).
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

  // ---- Hints ----
  // The long part of the hint of the control under the mouse; setting it tells OnHint.
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
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

protected:
  // One message from the queue; false when none waited.
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void FormCreated(TComponent* Instance);
  // For the control classes (through their application link).
  friend class TApplicationControlsLink;
  void FormDestroyed(TCustomForm* Form);
  // The idle work's parts.
  void DoMouseIdle();
  void DoActionIdle();

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
