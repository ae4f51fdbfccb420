// The replaceable message box: lower layers and the application core show messages through
// Show before any window exists, the window layer installs the real dialog as the message-box
// service, and tests install an answerer (TScopedMessageBox) that records the message.
//
// The MB_ flags and ID answers are declared here once; the window layer uses these.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/System.h"

// Buttons (the low four bits of the flags).
constexpr unsigned MB_OK = 0x00000000;
constexpr unsigned MB_OKCANCEL = 0x00000001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x00000002;
constexpr unsigned MB_YESNOCANCEL = 0x00000003;
constexpr unsigned MB_YESNO = 0x00000004;
constexpr unsigned MB_RETRYCANCEL = 0x00000005;
// Yes, No and All: the question of a run over many items whose errors can be ignored together.
constexpr unsigned MB_YESNOALL = 0x00000007;
// Icons.
constexpr unsigned MB_ICONHAND = 0x00000010;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x00000040;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
// Default button.
constexpr unsigned MB_DEFBUTTON1 = 0x00000000;
constexpr unsigned MB_DEFBUTTON2 = 0x00000100;
constexpr unsigned MB_DEFBUTTON3 = 0x00000200;
// Modality and the rest.
constexpr unsigned MB_APPLMODAL = 0x00000000;
constexpr unsigned MB_SYSTEMMODAL = 0x00001000;
constexpr unsigned MB_TASKMODAL = 0x00002000;
constexpr unsigned MB_HELP = 0x00004000;
constexpr unsigned MB_SETFOREGROUND = 0x00010000;
constexpr unsigned MB_TOPMOST = 0x00040000;
constexpr unsigned MB_TYPEMASK = 0x0000000F;
constexpr unsigned MB_ICONMASK = 0x000000F0;
constexpr unsigned MB_DEFMASK = 0x00000F00;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDALL = 8;

namespace MessageSeam {

// Shows message boxes and answers the button chosen (IDOK ...): the desktop's box once the
// windows are up, an answerer in tests. It may raise; the exception passes to Show's caller.
class TMessageBoxService {
public:
  virtual ~TMessageBoxService() = default;
  virtual int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) = 0;
};

using THandler = std::function<int(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)>;

// Shows a message through the installed service. The default writes the caption and the text
// to standard error as UTF-8 and answers the default button of Flags.
int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

// Installs Service (null puts the default back) and answers the one it replaces (null when that
// was the default). Install only while no box is being shown.
std::unique_ptr<TMessageBoxService> Install(std::unique_ptr<TMessageBoxService> Service);

// Installs a service, or a function answering as Show does, for its lifetime and puts the
// previous one back.
class TScopedMessageBox {
public:
  explicit TScopedMessageBox(std::unique_ptr<TMessageBoxService> Service);
  explicit TScopedMessageBox(THandler Handler);
  ~TScopedMessageBox();
  TScopedMessageBox(const TScopedMessageBox&) = delete;
  TScopedMessageBox& operator=(const TScopedMessageBox&) = delete;

private:
  std::unique_ptr<TMessageBoxService> FPrevious;
};

// The button a box with these flags has as its default.
int DefaultAnswer(unsigned Flags);

}  // namespace MessageSeam
