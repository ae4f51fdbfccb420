// Registers the script language "ZuzezAvorev" (line-oriented, Basic-like); its grammar is the file
// fs_ibasic.xml, built into the library.
#pragma once

namespace fs_ibasic {

// Registers the language with fs_itools (idempotent: the first registration wins).
void Initialize();
// The grammar text, as registered.
const char* GrammarText();

}  // namespace fs_ibasic
