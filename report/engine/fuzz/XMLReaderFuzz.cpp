// Arbitrary bytes into the XML reader: loading either succeeds or raises the library's own
// exceptions, and what loads is written back in a form that loads to a tree of the same shape.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/engine/xml/frxXML.h"

namespace {

// The same shape: names and attribute texts may differ where the format is ambiguous (blanks
// around the attributes, a name or text ending in "/", a text ending in ld="0"), but no element
// may be lost, added or moved. Parked subtrees are read back on the way.
bool SameShape(TfrxXMLDocument& a, TfrxXMLDocument& b)
{
  std::vector<std::pair<TfrxXMLItem*, TfrxXMLItem*>> work{{a.GetRoot(), b.GetRoot()}};
  while (!work.empty()) {
    auto [x, y] = work.back();
    work.pop_back();
    a.SwapIn(x);
    b.SwapIn(y);
    if (x->GetCount() != y->GetCount()) return false;
    for (int i = 0; i < x->GetCount(); ++i) work.push_back({x->GetItem(i), y->GetItem(i)});
  }
  return true;
}

AnsiString Save(TfrxXMLDocument& doc)
{
  TStringStream out;
  doc.SaveToStream(&out);
  return out.GetDataString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  AnsiString input(reinterpret_cast<const char*>(data), size);
  for (bool partial : {false, true}) {
    TfrxXMLDocument doc;
    try {
      if (partial)
        doc.LoadFromStream(new TStringStream(input), true);
      else {
        TStringStream in(input);
        doc.LoadFromStream(&in);
      }
    } catch (const Exception&) {
      continue;
    }
    // Attribute lookup over the whole tree, without recursion.
    std::vector<TfrxXMLItem*> work{doc.GetRoot()};
    while (!work.empty()) {
      TfrxXMLItem* item = work.back();
      work.pop_back();
      if (partial) doc.SwapIn(item);
      try {
        item->GetProp("name");
      } catch (const EConvertError&) {}
      for (int i = 0; i < item->GetCount(); ++i) work.push_back(item->GetItem(i));
    }
    AnsiString first = Save(doc);
    // Loaded the same way (a full load would keep parked elements in memory), the writer's
    // output must not raise and must give the same shape.
    TfrxXMLDocument again;
    TStringStream in(first);
    if (partial)
      again.LoadFromStream(new TStringStream(first), true);
    else
      again.LoadFromStream(&in);
    if (!SameShape(doc, again)) std::abort();
  }
  return 0;
}
