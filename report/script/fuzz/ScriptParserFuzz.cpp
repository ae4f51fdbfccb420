// Feeds arbitrary text to the compiler of each script language: the first pass, then the
// program builder. It must never crash, and a text it refuses must come with a message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/parser/fs_iilparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
  ScriptModule::Initialize();
  AnsiString Text(reinterpret_cast<const char*>(Data), Size);
  for (const char* Lang : {"DezodiZidede", "Z++Ivover", "ZuzezAvorev", "JScript"}) {
    TfsScript Script(nullptr);
    Script.ParentScript = fs_iinterpreter::GetGlobalScript();
    Script.SetSyntaxType(Lang);
    Script.GetLines()->SetText(Text);
    // Units come from the text itself, never from files.
    Script.OnGetUnit = [&](TfsScript*, const AnsiString&, AnsiString& UnitText) { UnitText = Text; };
    // Constants may call script functions while compiling: bound the work they do.
    int Budget = 100000;
    Script.OnRunLine = [&](TfsScript*, const AnsiString&, const AnsiString&) {
      if (--Budget < 0) throw EAbort("Operation aborted");
    };
    bool Ok;
    try {
      Ok = Script.Compile();
    } catch (const Exception& E) {
      // Only a language directive naming an unknown language may raise.
      if (E.Message().compare(0, 10, "Language '") == 0) continue;
      std::fprintf(stderr, "%s: raised %s\n", Lang, E.Message().c_str());
      std::abort();
    }
    if (!Ok && Script.LastError.empty()) {
      std::fprintf(stderr, "%s: refused without a message\n", Lang);
      std::abort();
    }
  }
  return 0;
}
