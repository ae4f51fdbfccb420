#include "platform/db/xls/NumberFormats.h"

namespace NumberFormats {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

TFormatKind Classify(const WideString& Format)
{
  bool date = false;
  for (std::size_t i = 0; i < Format.size(); ++i) {
    const char16_t c = Lower(Format[i]);
    if (c == u'"') {
      const std::size_t close = Format.find(u'"', i + 1);
      if (close == WideString::npos) break;
      i = close;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;  // the next character is shown (or padded with) as it is
    } else if (c == u'[') {
      const std::size_t close = Format.find(u']', i + 1);
      if (close == WideString::npos) break;
      // [h], [mm], [ss]: elapsed time; anything else in brackets is a colour, a condition or a locale
      bool elapsed = close > i + 1;
      for (std::size_t k = i + 1; k < close; ++k) {
        const char16_t e = Lower(Format[k]);
        elapsed = elapsed && (e == u'h' || e == u'm' || e == u's') && e == Lower(Format[i + 1]);
      }
      if (elapsed) return fkElapsed;
      i = close;
    } else if (c == u'y' || c == u'm' || c == u'd' || c == u'h' || c == u's') {
      date = true;
    }
  }
  return date ? fkDate : fkNumber;
}

TFormatKind ClassifyBuiltIn(std::uint16_t Index)
{
  if (Index == 46) return fkElapsed;  // [h]:mm:ss
  if ((Index >= 14 && Index <= 22) || (Index >= 45 && Index <= 47)) return fkDate;
  // The East Asian versions' built-in dates and times.
  if ((Index >= 27 && Index <= 36) || (Index >= 50 && Index <= 58)) return fkDate;
  return fkNumber;
}

}  // namespace NumberFormats
