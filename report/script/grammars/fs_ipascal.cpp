#include "report/script/grammars/fs_ipascal.h"

#include "report/script/tools/fs_itools.h"

namespace fs_grammar_data {
extern const char fs_ipascal[];
}

namespace fs_ipascal {

const char* GrammarText() { return fs_grammar_data::fs_ipascal; }

void Initialize() { fs_itools::RegisterLanguage("DezodiZidede", GrammarText()); }

}  // namespace fs_ipascal
