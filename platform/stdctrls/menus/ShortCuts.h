// Key short cuts of menu items and actions: a virtual-key code in the low byte and the Shift,
// Ctrl and Alt marks above it, and their text ("Ctrl+S", "Shift+Ctrl+F5", "Alt+Del") as
// menus show it after a tab.
#pragma once

#include "platform/forms/controls/ControlEnums.h"
#include "platform/rtl/System.h"

using TShortCut = Word;

constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

namespace Menus {

// The short cut of a key with the shift state (only Shift, Ctrl and Alt count).
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Shift+", "Ctrl+", "Alt+" in that order, then the key's name; "" for scNone or a key without
// a name.
AnsiString ShortCutToText(TShortCut ShortCut);
// The reverse, ignoring case and blanks around the text; scNone for text that names no key
// (it is not an error). The marks may come in any order.
TShortCut TextToShortCut(const AnsiString& Text);
// The caption without its "&" marks ("&&" stays one "&"); CP936 characters are kept whole.
AnsiString StripHotkey(const AnsiString& Text);

}  // namespace Menus
