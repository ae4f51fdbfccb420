// The registry of script languages: a process-wide list of language names with their grammar
// texts, kept in registration order.
#pragma once

#include "platform/rtl/System.h"

class TStrings;

namespace fs_itools {

// Creates the registry (idempotent); Finalize frees it with every registration.
void Initialize();
void Finalize();

// Adds Name with its grammar unless a language of that name (case-insensitive) is already
// registered: the first registration wins and later ones are ignored, which is not an error.
void RegisterLanguage(const AnsiString& Name, const AnsiString& GrammarText);
// Raises Exception "Language '<Name>' not found" when Name is not registered.
AnsiString GetLanguageDefinition(const AnsiString& Name);
// Clears List and fills it with the language names in registration order.
void GetLanguageList(TStrings* List);

}  // namespace fs_itools
