#include "platform/forms/controls/Controls.h"

#include <cctype>

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {
const char* const kControlProp = "PeltoControl";

std::unique_ptr<TApplicationLink> gLink;
TControl* gCaptureControl = nullptr;
TControl* gMouseControl = nullptr;
bool gTerminated = false;
}  // namespace

// ---- The default application link ---------------------------------------------------------------

void TApplicationLink::HandleException(TObject* Sender)
{
  try {
    throw;
  } catch (const EAbort&) {
    // Silent by design.
  } catch (const Exception& e) {
    MessageSeam::Show(e.Message(), "", MB_OK | MB_ICONSTOP);
  } catch (const std::exception& e) {
    MessageSeam::Show(e.what(), "", MB_OK | MB_ICONSTOP);
  }
}

void TApplicationLink::HandleMessage()
{
  MSG msg;
  if (!Windows::GetMessage(&msg, nullptr, 0, 0)) {
    gTerminated = true;
    return;
  }
  if (!Controls::IsKeyMsg(msg)) {
    Windows::TranslateMessage(&msg);
    Windows::DispatchMessage(&msg);
  }
}

bool TApplicationLink::Terminated() { return gTerminated; }

HCURSOR TApplicationLink::CursorHandle(TCursor Cursor)
{
  const char* id = IDC_ARROW;
  switch (Cursor) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS:
    case crVSplit: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE:
    case crHSplit: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass:
    case crSQLWait: id = IDC_WAIT; break;
    case crNoDrop:
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return Windows::LoadCursor(nullptr, id);
}

namespace Controls {

void Initialize() { CommCtrl::Initialize(); }

void Finalize()
{
  gLink.reset();
  gCaptureControl = nullptr;
  gMouseControl = nullptr;
}

TApplicationLink& AppLink()
{
  if (!gLink) gLink = std::make_unique<TApplicationLink>();
  return *gLink;
}

std::unique_ptr<TApplicationLink> InstallAppLink(std::unique_ptr<TApplicationLink> Link)
{
  std::unique_ptr<TApplicationLink> previous = std::move(gLink);
  gLink = std::move(Link);
  return previous;
}

// ---- Windows and controls --------------------------------------------------------------------------

TWinControl* FindControl(HWND Handle)
{
  if (!Handle) return nullptr;
  return static_cast<TWinControl*>(Windows::GetProp(Handle, kControlProp));
}

TControl* FindDragTarget(POINT Pos, bool AllowDisabled)
{
  HWND wnd = Windows::WindowFromPoint(Pos);
  TWinControl* control = nullptr;
  while (wnd && !(control = FindControl(wnd))) wnd = Windows::GetParent(wnd);
  if (!control) return nullptr;
  POINT client = control->ScreenToClient(Pos);
  if (TControl* inner = control->ControlAtPos(client, AllowDisabled)) return inner;
  return control;
}

namespace {
TWinControl* gCreating = nullptr;
}

void SetCreationControl(TWinControl* Control) { gCreating = Control; }

LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  TWinControl* control = FindControl(Wnd);
  if (!control) {
    if (!gCreating) return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
    // The first message of a window being made for a control ties the two together.
    control = gCreating;
    gCreating = nullptr;
    Windows::SetProp(Wnd, kControlProp, control);
    TWinControlAccess::SetHandle(control, Wnd);
  }
  TMessage m{Msg, WParam, LParam, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    AppLink().HandleException(control);
  }
  return m.Result;
}

void ForgetWindow(HWND Wnd) { Windows::RemoveProp(Wnd, kControlProp); }

// ---- Mouse --------------------------------------------------------------------------------------------

TControl* GetCaptureControl()
{
  HWND capture = Windows::GetCapture();
  if (!capture) {
    gCaptureControl = nullptr;
    return nullptr;
  }
  if (gCaptureControl) {
    // A windowless control holds it through its parent's window.
    auto* win = dynamic_cast<TWinControl*>(gCaptureControl);
    HWND holder = win ? win->GetHandle()
                      : (gCaptureControl->GetParent() && gCaptureControl->GetParent()->HandleAllocated()
                             ? gCaptureControl->GetParent()->GetHandle()
                             : nullptr);
    if (holder == capture) return gCaptureControl;
  }
  return FindControl(capture);
}

void SetCaptureControl(TControl* Control)
{
  gCaptureControl = nullptr;
  if (!Control) {
    Windows::ReleaseCapture();
    return;
  }
  if (auto* win = dynamic_cast<TWinControl*>(Control)) {
    Windows::SetCapture(win->GetHandle());
  } else if (Control->GetParent()) {
    Windows::SetCapture(Control->GetParent()->GetHandle());
  } else {
    Windows::ReleaseCapture();
    return;
  }
  gCaptureControl = Control;
}

TControl* MouseControl() { return gMouseControl; }

void SetMouseControl(TControl* Control)
{
  if (Control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  // The leave handler may have moved it on (a control freed, a window shown).
  if (gMouseControl == Control && Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

void ControlDestroying(TControl* Control)
{
  if (gMouseControl == Control) gMouseControl = nullptr;
  if (gCaptureControl == Control) {
    gCaptureControl = nullptr;
    if (!dynamic_cast<TWinControl*>(Control) && Control->GetParent() && Control->GetParent()->HandleAllocated() &&
        Windows::GetCapture() == Control->GetParent()->GetHandle())
      Windows::ReleaseCapture();
  }
  DragManager::ControlGone(Control);
}

// ---- Keys ---------------------------------------------------------------------------------------------

bool IsKeyMsg(MSG& Msg)
{
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = Msg.hwnd;
  TWinControl* control = nullptr;
  while (wnd && !(control = FindControl(wnd))) wnd = Windows::GetParent(wnd);
  if (!control) return false;
  return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

int ProcessMessages()
{
  int n = 0;
  MSG msg;
  while (Windows::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ++n;
    if (msg.message == WM_QUIT) {
      gTerminated = true;
      break;
    }
    if (!IsKeyMsg(msg)) {
      Windows::TranslateMessage(&msg);
      Windows::DispatchMessage(&msg);
    }
  }
  return n;
}

bool IsAccel(Word Key, const AnsiString& Caption)
{
  for (std::size_t i = 0; i < Caption.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(Caption[i]);
    if (c >= 0x81 && i + 1 < Caption.size()) {
      ++i;  // a double-byte character: its trail byte is no "&"
      continue;
    }
    if (c != '&' || i + 1 >= Caption.size()) continue;
    unsigned char next = static_cast<unsigned char>(Caption[i + 1]);
    if (next == '&') {
      ++i;
      continue;
    }
    if (next >= 0x80) return false;
    return std::toupper(next) == std::toupper(static_cast<int>(Key & 0xFF));
  }
  return false;
}

// ---- Hints ----------------------------------------------------------------------------------------------

namespace {
std::size_t HintBar(const AnsiString& Hint)
{
  for (std::size_t i = 0; i < Hint.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(Hint[i]);
    if (c >= 0x81 && i + 1 < Hint.size()) {
      ++i;
      continue;
    }
    if (c == '|') return i;
  }
  return AnsiString::npos;
}
}  // namespace

AnsiString GetShortHint(const AnsiString& Hint)
{
  std::size_t bar = HintBar(Hint);
  return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint)
{
  std::size_t bar = HintBar(Hint);
  return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

bool TerminatedByQuit() { return gTerminated; }

}  // namespace Controls
