#include "controls/editors/cxResourceStrings.h"

#include <map>
#include <optional>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace cxResourceStrings {

namespace {

struct TEntry {
  AnsiString BuiltIn;
  std::optional<AnsiString> Replacement;
};

std::map<int, TEntry>& Table()
{
  static std::map<int, TEntry> table;
  return table;
}

[[noreturn]] void RaiseNotFound(int Id) { throw EResNotFound("Resource string " + std::to_string(Id) + " not found"); }

}  // namespace

void RegisterResourceString(int Id, const AnsiString& Text) { Table()[Id].BuiltIn = Text; }

AnsiString GetResourceString(int Id)
{
  auto it = Table().find(Id);
  if (it == Table().end()) RaiseNotFound(Id);
  return it->second.Replacement ? *it->second.Replacement : it->second.BuiltIn;
}

void SetResourceString(int Id, const AnsiString& Text)
{
  auto it = Table().find(Id);
  if (it == Table().end()) RaiseNotFound(Id);
  it->second.Replacement = Text;
}

void RestoreResourceString(int Id)
{
  auto it = Table().find(Id);
  if (it != Table().end()) it->second.Replacement.reset();
}

bool IsResourceStringRegistered(int Id) { return Table().count(Id) != 0; }

void Initialize() { Table(); }

void Finalize() { Table().clear(); }

}  // namespace cxResourceStrings
