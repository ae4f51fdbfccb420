#include "report/script/grammars/fs_icpp.h"

#include "report/script/tools/fs_itools.h"

namespace fs_grammar_data {
extern const char fs_icpp[];
}

namespace fs_icpp {

const char* GrammarText() { return fs_grammar_data::fs_icpp; }

void Initialize() { fs_itools::RegisterLanguage("Z++Ivover", GrammarText()); }

}  // namespace fs_icpp
