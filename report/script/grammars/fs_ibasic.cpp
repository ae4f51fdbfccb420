#include "report/script/grammars/fs_ibasic.h"

#include "report/script/tools/fs_itools.h"

namespace fs_grammar_data {
extern const char fs_ibasic[];
}

namespace fs_ibasic {

const char* GrammarText() { return fs_grammar_data::fs_ibasic; }

void Initialize() { fs_itools::RegisterLanguage("ZuzezAvorev", GrammarText()); }

}  // namespace fs_ibasic
