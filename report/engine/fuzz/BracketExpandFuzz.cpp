// Arbitrary text into the bracket expansion of text objects: it ends, every expression it hands
// out is a whole-character substring of the input, and with a value that holds no delimiter the
// result holds no more opening delimiters than the input did.
#include <cstdint>
#include <cstdlib>

#include "platform/rtl/AnsiStrings.h"
#include "report/engine/objects/frxView.h"

namespace {

bool WholeCharacters(const AnsiString& s)
{
  size_t i = 0;
  while (i < s.size()) i += System::IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
  return i == s.size();
}

size_t CountOf(const AnsiString& s, const AnsiString& part)
{
  size_t n = 0;
  for (size_t p = s.find(part); p != AnsiString::npos; p = s.find(part, p + 1)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
  if (Size == 0) return 0;
  // The first byte picks the delimiters.
  static const char* const Delimiters[][2] = {{"[", "]"}, {"<", ">"}, {"{{", "}}"}, {"[", "]]"}};
  const auto& d = Delimiters[Data[0] % 4];
  AnsiString text(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  bool textWhole = WholeCharacters(text);
  AnsiString out = frxView::ExpandBrackets(text, d[0], d[1], [&](const AnsiString& e) {
    if (text.find(e) == AnsiString::npos) std::abort();
    if (textWhole && !WholeCharacters(e)) std::abort();
    return AnsiString("v");
  });
  if (CountOf(out, d[0]) > CountOf(text, d[0])) std::abort();
  return 0;
}
