// The replaceable message box: lower layers and the application core show messages through
// Show before any window exists, the window layer installs the real dialog with SetHandler,
// and tests install a handler that records the message and answers it.
//
// The MB_ flags and ID answers are declared here once; the window layer uses these.
#pragma once

#include <functional>

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

using THandler = std::function<int(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)>;

// Shows a message and answers the button chosen (IDOK ...). Without a handler it writes the
// caption and the text to standard error as UTF-8 and answers the default button of Flags.
// The handler may raise; the exception passes to the caller.
int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

// Installs Handler (an empty one restores the standard-error fall-back) and answers the
// handler it replaces.
THandler SetHandler(THandler Handler);

// The button a box with these flags has as its default.
int DefaultAnswer(unsigned Flags);

}  // namespace MessageSeam
