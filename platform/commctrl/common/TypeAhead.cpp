#include "platform/commctrl/common/TypeAhead.h"

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
}  // namespace

bool TypeAhead::Feed(char c, DWORD time)
{
  AnsiString ch;
  if (FLead) {
    ch = AnsiString{FLead, c};
    FLead = 0;
  } else if (System::IsLeadByte(c)) {
    FLead = c;
    return false;
  } else {
    ch = AnsiString(1, c);
  }
  if (time - FLast > kDelayMs) FTyped.clear();
  FLast = time;
  FTyped += ch;
  return true;
}

void TypeAhead::Clear()
{
  FTyped.clear();
  FLead = 0;
}

AnsiString TypeAhead::First() const
{
  if (FTyped.empty()) return {};
  return FTyped.substr(0, System::IsLeadByte(FTyped[0]) && FTyped.size() > 1 ? 2 : 1);
}

bool TypeAhead::Repeated() const
{
  AnsiString first = First();
  if (first.empty() || FTyped.size() <= first.size() || FTyped.size() % first.size()) return false;
  for (size_t i = 0; i < FTyped.size(); i += first.size())
    if (FTyped.compare(i, first.size(), first) != 0) return false;
  return true;
}

int TypeAhead::Find(char c, DWORD time, int caret, int count,
                    const std::function<bool(int, const AnsiString&)>& startsWith)
{
  if (!Feed(c, time) || count <= 0) return -1;
  if (caret < -1 || caret >= count) caret = -1;
  auto search = [&](int start, const AnsiString& prefix) {
    for (int k = 1; k <= count; ++k) {
      int i = (start + k) % count;
      if (startsWith(i, prefix)) return i;
    }
    return -1;
  };
  // The same character typed again steps through the items that start with it.
  if (Repeated()) return search(caret, First());
  if (FTyped.size() == First().size()) return search(caret, FTyped);
  return search(caret >= 0 ? caret - 1 : -1, FTyped);
}

bool TypeAhead::Matches(const AnsiString& text, const AnsiString& prefix, bool exact)
{
  if (text.size() < prefix.size() || (exact && text.size() != prefix.size())) return false;
  size_t i = 0;
  while (i < prefix.size()) {
    if (System::IsLeadByte(prefix[i]) && i + 1 < prefix.size()) {
      if (text[i] != prefix[i] || text[i + 1] != prefix[i + 1]) return false;
      i += 2;
      continue;
    }
    if (System::IsLeadByte(text[i]) && i + 1 < text.size()) return false;  // a half character never matches
    if (Upper(text[i]) != Upper(prefix[i])) return false;
    ++i;
  }
  return true;
}
