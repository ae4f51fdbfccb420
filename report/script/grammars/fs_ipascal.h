// Registers the script language "DezodiZidede" (the default language, Pascal-like); its grammar is the file
// fs_ipascal.xml, built into the library.
#pragma once

namespace fs_ipascal {

// Registers the language with fs_itools (idempotent: the first registration wins).
void Initialize();
// The grammar text, as registered.
const char* GrammarText();

}  // namespace fs_ipascal
