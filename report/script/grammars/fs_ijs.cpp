#include "report/script/grammars/fs_ijs.h"

#include "report/script/tools/fs_itools.h"

namespace fs_grammar_data {
extern const char fs_ijs[];
}

namespace fs_ijs {

const char* GrammarText() { return fs_grammar_data::fs_ijs; }

void Initialize() { fs_itools::RegisterLanguage("JScript", GrammarText()); }

}  // namespace fs_ijs
