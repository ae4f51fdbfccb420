// The unit-level services of the control classes: finding the control of a window, the mouse
// capture of windowless controls, the control under the mouse (CM_MOUSEENTER / CM_MOUSELEAVE),
// the key pre-processing the message loop runs (CN_ key messages), and the link to the
// application object.
#pragma once

#include <memory>

#include "platform/forms/controls/Control.h"

class TWinControl;
class TCustomForm;

// What the control classes need of the application object. The application installs its own;
// the default runs a plain message loop, shows exceptions through the message seam (EAbort
// silently) and maps the standard cursors.
class TApplicationLink {
public:
  virtual ~TApplicationLink() = default;
  // Handles an exception that escaped a window procedure or an event (called inside a catch).
  virtual void HandleException(TObject* Sender);
  // Waits for and handles one message (the modal loop's step).
  virtual void HandleMessage();
  // Whether the application is ending (a modal loop then answers mrCancel).
  virtual bool Terminated();
  // The window handle of a cursor number (Screen.Cursors[]); the current screen cursor.
  virtual HCURSOR CursorHandle(TCursor Cursor);
  virtual TCursor ScreenCursor() { return crDefault; }
  virtual void SetScreenCursor(TCursor Cursor) {}
  // The main form (null before it exists).
  virtual TCustomForm* MainForm() { return nullptr; }
  // A form was created or is going (Screen's list).
  virtual void FormCreated(TCustomForm* Form) {}
  virtual void FormDestroyed(TCustomForm* Form) {}
  // A form became the active one.
  virtual void FormActivated(TCustomForm* Form) {}
  // A form's active control changed (focus moved, or the control went).
  virtual void ActiveControlChanged(TCustomForm* Form) {}
  // Mouse messages, for the hint logic.
  virtual void HintMouseMessage(TControl* Control, TMessage& Message) {}
  virtual void CancelHint() {}
  // Whether hints show at all (Application.ShowHint).
  virtual bool ShowHint() { return true; }
  // Drag threshold (Mouse.DragThreshold) and wheel lines (Mouse.WheelScrollLines).
  virtual int DragThreshold() { return 5; }
  // The modal loop starts or ends.
  virtual void ModalStarted() {}
  virtual void ModalFinished() {}
};

namespace Controls {

// ---- Unit start-up: registers the window class of the controls. Idempotent.
void Initialize();
void Finalize();

// ---- The application link
TApplicationLink& AppLink();
// Installs a link (null puts the default back) and answers the previous one.
std::unique_ptr<TApplicationLink> InstallAppLink(std::unique_ptr<TApplicationLink> Link);
// Puts the previous link back at the end of the scope.
class TScopedAppLink {
public:
  explicit TScopedAppLink(std::unique_ptr<TApplicationLink> Link) : FPrevious(InstallAppLink(std::move(Link))) {}
  ~TScopedAppLink() { InstallAppLink(std::move(FPrevious)); }
  TScopedAppLink(const TScopedAppLink&) = delete;
  TScopedAppLink& operator=(const TScopedAppLink&) = delete;

private:
  std::unique_ptr<TApplicationLink> FPrevious;
};

// ---- Windows and controls
// The control whose window this is; null for other windows.
TWinControl* FindControl(HWND Handle);
// The control (windowless ones included) at a screen point; null when none.
TControl* FindDragTarget(POINT Pos, bool AllowDisabled);
// The window procedure of the controls' windows (also for classes based on system ones).
LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- Mouse
// The control holding the mouse capture (a windowless one gets it through its parent's window).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the mouse is over, as CM_MOUSEENTER / CM_MOUSELEAVE last told.
TControl* MouseControl();
// The mouse moved over Control (null: off every control): sends CM_MOUSELEAVE to the control it
// left and CM_MOUSEENTER to the one it entered, each passed on to their parents.
void SetMouseControl(TControl* Control);
// A control is going: forgets it.
void ControlDestroying(TControl* Control);

// ---- Keys
// For the message loop: sends a key message's CN_ form to the control of its window (or the
// nearest control above it); true when the control consumed it.
bool IsKeyMsg(MSG& Msg);
// Retrieves and handles the waiting messages the way the application's loop does (without idle
// work); answers the number handled. For tests and simple loops.
int ProcessMessages();
// Whether Key (an Alt mnemonic) is the "&" character of Caption (ASCII case ignored).
bool IsAccel(Word Key, const AnsiString& Caption);

// ---- For the units of this module
// The control whose window CreateWindowEx makes next (its first message ties them together).
void SetCreationControl(TWinControl* Control);
// The window is going: it no longer leads to its control.
void ForgetWindow(HWND Wnd);
// Whether the default loop met WM_QUIT.
bool TerminatedByQuit();

// ---- Hints
// The part before "|" (all when there is none) and the part after it (all when none).
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

}  // namespace Controls
