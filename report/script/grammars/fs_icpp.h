// Registers the script language "Z++Ivover" (C-like); its grammar is the file
// fs_icpp.xml, built into the library.
#pragma once

namespace fs_icpp {

// Registers the language with fs_itools (idempotent: the first registration wins).
void Initialize();
// The grammar text, as registered.
const char* GrammarText();

}  // namespace fs_icpp
