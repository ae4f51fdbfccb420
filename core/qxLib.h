// Small shared routines of the application core: the message boxes through which it reports and
// asks, the text scrambler of the configuration file, and two small services of the windows.
#pragma once

#include "platform/rtl/System.h"

namespace qxLib {

// The information box with one OK button, showing "\r\n", Text and "\t" (through the message
// seam, so that it works before the windows exist and tests can answer it).
void ShowInfo(const AnsiString& Text);
// A warning box with OK and Cancel asking whether to delete Subject ("当前记录" when empty);
// true when OK was chosen.
bool ConfirmDelete(const AnsiString& Subject);
// XORs each byte with a digit taken from a fixed key; keeps the length and is its own inverse.
AnsiString ScrambleText(const AnsiString& Text);
// The platform's temporary folder.
AnsiString GetTempDir();
// A new text cell holding a copy of Text; the caller owns it (the desktop tree keeps department
// codes in node data this way).
AnsiString* NewStringPtr(const AnsiString& Text);

}  // namespace qxLib
