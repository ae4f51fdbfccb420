// Feeds arbitrary bytes to the script XML reader, then writes the tree back and reads every
// attribute: a malformed document may only raise its format error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/script/xml/fs_xml.h"

namespace {

void Visit(const TfsXMLItem* Item)
{
  for (const char* Name : {"text", "pos", "node"}) {
    try {
      Item->Prop(Name);
    } catch (const EConvertError&) {
      // A reference that is not a number.
    }
  }
  for (Integer I = 0; I < Item->GetCount(); ++I) Visit(Item->GetItems(I));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
  TStringStream In(AnsiString(reinterpret_cast<const char*>(Data), Size));
  TfsXMLDocument Doc;
  try {
    Doc.LoadFromStream(&In);
  } catch (const Exception& E) {
    if (E.Message() != "Invalid file format") {
      std::fprintf(stderr, "raised %s\n", E.Message().c_str());
      std::abort();
    }
  }
  if (Size < 4096) Visit(Doc.GetRoot());  // small trees only: the walk above recurses
  TStringStream Out;
  Doc.SaveToStream(&Out);
  TfsXMLItem Copy;
  Copy.CopyFrom(Doc.GetRoot());
  return 0;
}
