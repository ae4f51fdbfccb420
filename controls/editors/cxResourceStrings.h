// The program's table of localisable texts, looked up by string-table identifier.
//
// Each unit that owns texts registers its built-in texts at initialization; a localisation (or a
// test) may replace any text at run time, and the replacement is what every later lookup sees.
// The control framework's class unit takes this table over once it exists; callers use
// GetResourceString and never cache the result, so a replaced text shows at once.
//
// UI thread only; no locking.
#pragma once

#include "platform/rtl/System.h"

namespace cxResourceStrings {

// Registers the built-in text of Id. Registering an id again replaces its built-in text; a
// replacement set by SetResourceString stays in force.
void RegisterResourceString(int Id, const AnsiString& Text);

// The current text of Id: its replacement when one was set, else its built-in text.
// Raises EResNotFound when nobody registered Id (a programming error, not a missing translation).
AnsiString GetResourceString(int Id);

// Replaces the text of a registered Id (an empty text is a valid replacement).
// Raises EResNotFound when Id is not registered.
void SetResourceString(int Id, const AnsiString& Text);

// Drops the replacement of Id, so its built-in text shows again. Not an error when there is none.
void RestoreResourceString(int Id);

// True when Id is registered.
bool IsResourceStringRegistered(int Id);

// Initialize prepares the empty table (idempotent); Finalize forgets every text and replacement.
void Initialize();
void Finalize();

}  // namespace cxResourceStrings
