// Dialog filter texts and typed names from anywhere (stored forms, scripts, the keyboard): the
// pieces never hold a whole-character separator, a mask matches itself, "*" matches every
// name, quoted names come out without their quotes, and the name helpers never grow a name by
// more than its extension.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/dialogs/FileDialogModel.h"
#include "platform/stdctrls/dialogs/FileFilters.h"

namespace {

bool HoldsWholeChar(const AnsiString& S, char C)
{
  for (int i = 1; i <= int(S.size()); i += System::CharLength(S, i))
    if (System::CharLength(S, i) == 1 && S[std::size_t(i - 1)] == C) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
  AnsiString text(reinterpret_cast<const char*>(Data), Size);
  for (const TFileFilter& f : FileFilters::ParseFilter(text)) {
    if (HoldsWholeChar(f.Description, '|')) std::abort();
    for (const AnsiString& m : f.Masks) {
      if (m.empty() || HoldsWholeChar(m, '|') || HoldsWholeChar(m, ';')) std::abort();
      if (!FileDialogModel::HasWildcards(m) && !FileFilters::MatchesMask(m, m)) std::abort();
      if (!FileFilters::MatchesMask(m, "*")) std::abort();
      FileFilters::MatchesAny(text, f.Masks);
    }
  }
  // A list of quoted names loses its quotes; a text that does not start with one is one name,
  // kept as typed.
  AnsiString trimmed = SysUtils::Trim(text);
  bool quotedList = !trimmed.empty() && trimmed[0] == '"';
  for (const AnsiString& n : FileDialogModel::SplitNames(text))
    if (n.size() > text.size() || (quotedList && HoldsWholeChar(n, '"'))) std::abort();
  AnsiString withExt = FileDialogModel::AddDefaultExt(text, "ht");
  if (withExt.size() > text.size() + 3) std::abort();
  return 0;
}
