// The message box on the desktop: a caption, an icon, text sized to its CP936 lines ("\r\n"
// breaks, "\t" steps to the next tab stop) and a row of buttons. It is a plain window with
// BUTTON children and its own modal loop, so it works before the application's forms exist.
//
// Keys: Escape (and the close box) answer the cancel button, or the only button; Enter the
// focused button; Tab and the arrows move between buttons; a button's "&" letter presses it.
#pragma once

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/win/WinUser.h"

PELTO_DECLARE_EXCEPTION(EMessageBoxError, Exception);

struct TBoxButton {
  int Id;           // the answer (IDOK ...)
  AnsiString Text;  // from the button table
};

enum class TBoxIcon { None, Error, Question, Warning, Information };

class TMessageBoxWindow {
public:
  // Lays the box out; Buttons must not be empty. DefaultIndex is the focused button, CancelId
  // the answer of Escape (0: none, Escape then answers the only button of a one-button box).
  TMessageBoxWindow(const AnsiString& Text, const AnsiString& Caption, TBoxIcon Icon, std::vector<TBoxButton> Buttons,
                    int DefaultIndex, int CancelId);
  ~TMessageBoxWindow();
  TMessageBoxWindow(const TMessageBoxWindow&) = delete;
  TMessageBoxWindow& operator=(const TMessageBoxWindow&) = delete;

  // Puts an edit box with Initial under the text (before Show); Enter in it answers the
  // default button. InputText reads it back.
  void AddInput(const AnsiString& Initial);
  AnsiString InputText() const;
  // Shows the box centred on the screen, or with its top-left corner at X, Y.
  void Show(int X = -1, int Y = -1);
  // Shows it (when not shown) and runs it until a button answers; the windows of the thread
  // stay disabled meanwhile. Raises EMessageBoxError when nothing can ever answer (a
  // headless desktop with no input queued).
  int Run(int X = -1, int Y = -1);
  HWND GetHandle() const { return FWnd; }
  // The client size the layout gave (for the pictures' checks).
  SIZE ClientSize() const { return FClient; }

  static LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

private:
  bool Key(const MSG& Msg);
  void Answer(int Id) { FResult = Id; }
  void Paint(HDC DC);

  AnsiString FText, FCaption;
  TBoxIcon FIcon;
  std::vector<TBoxButton> FButtons;
  std::vector<HWND> FButtonWnds;
  HWND FEdit = nullptr;
  int FDefault, FCancel;
  RECT FTextRect{};
  SIZE FClient{};
  HWND FWnd = nullptr;
  int FResult = 0;
};

namespace MsgBox {
// Captions and button texts, in one table.
const AnsiString& ButtonText(int Id);
// The box for the seam's flags: the MB_ button set, icon and default button.
int ShowFlags(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);
}  // namespace MsgBox
