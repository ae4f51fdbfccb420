// The forms library: controls, forms, the application object and their events for scripts, over
// platform/forms and platform/stdctrls, with the modal-result, cursor, border-style and
// virtual-key constants and the enumerations of the control properties. Registered in the global
// script after the graphics library; "Application" always reads the program's current
// application object.
//
// Properties not registered here (Caption, Text, Items, Lines, Font, ...) reach scripts through
// the controls' published properties. Events bind the controls' own event properties through
// the adapters of host/fs_ievents. A windowed-control member used on a label (which scripts see
// under TWinControl) is a run-time error naming the class.
#pragma once

class TfsScript;

namespace fs_iformsrtti {

void Register(TfsScript* Script);
// Removes exactly what Register entered.
void Unregister(TfsScript* Script);

}  // namespace fs_iformsrtti
