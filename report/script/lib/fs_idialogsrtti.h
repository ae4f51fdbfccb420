// The dialogs library: the common dialogs of platform/stdctrls for scripts (their properties
// through the published ones), the dialog enumerations and sets, and MessageDlg, InputBox and
// InputQuery over the message dialog and input boxes. Registered in the global script after the
// forms library.
#pragma once

class TfsScript;

namespace fs_idialogsrtti {

void Register(TfsScript* Script);
// Removes exactly what Register entered.
void Unregister(TfsScript* Script);

}  // namespace fs_idialogsrtti
