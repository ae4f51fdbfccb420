// Small shared routines of the application core: the information box and the text scrambler
// of the configuration file.
#pragma once

#include "platform/rtl/System.h"

namespace qxLib {

// Shows Text in the information box (through the message-box seam until windows exist).
void ShowInfo(const AnsiString& Text);
// XORs each byte with a digit taken from a fixed key; keeps the length and is its own inverse.
AnsiString ScrambleText(const AnsiString& Text);

}  // namespace qxLib
