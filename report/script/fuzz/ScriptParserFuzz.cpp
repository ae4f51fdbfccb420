// Feeds arbitrary text to the parser of each script language: it must never crash, and a text
// it refuses must come with a message.
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "report/script/ScriptModule.h"
#include "report/script/parser/fs_iilparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
  ScriptModule::Initialize();
  AnsiString Text(reinterpret_cast<const char*>(Data), Size);
  for (const char* Lang : {"DezodiZidede", "Z++Ivover", "ZuzezAvorev", "JScript"}) {
    TfsILParser Parser;
    // Units come from the text itself, never from files.
    Parser.OnGetUnit = [&](TfsScript*, const AnsiString&, AnsiString& UnitText) { UnitText = Text; };
    Parser.LoadLanguage(Lang);
    bool Ok;
    try {
      Ok = Parser.BuildIntermediate(Text);
    } catch (const Exception& E) {
      // Only a language directive naming an unknown language may raise.
      if (E.Message().compare(0, 10, "Language '") == 0) continue;
      std::fprintf(stderr, "%s: raised %s\n", Lang, E.Message().c_str());
      std::abort();
    }
    if (!Ok && Parser.GetLastError().empty()) {
      std::fprintf(stderr, "%s: refused without a message\n", Lang);
      std::abort();
    }
  }
  return 0;
}
