// Registers the script language "JScript" (JavaScript-like); its grammar is the file
// fs_ijs.xml, built into the library.
#pragma once

namespace fs_ijs {

// Registers the language with fs_itools (idempotent: the first registration wins).
void Initialize();
// The grammar text, as registered.
const char* GrammarText();

}  // namespace fs_ijs
