// The filter text of the file dialogs ("合同文件 (*.ht)|*.ht;*.htm|所有文件|*.*"): pairs of a
// description and a list of masks, split at '|' and ';' that are whole characters (a CP936
// trail byte can be '|'). Masks take '*' (any run of characters) and '?' (one character, a
// double-byte one counting as one); letters match without regard to case; "*.*" also matches
// a name without a dot.
#pragma once

#include <vector>

#include "platform/rtl/System.h"

struct TFileFilter {
  AnsiString Description;
  std::vector<AnsiString> Masks;  // trimmed, never empty strings
};

namespace FileFilters {

// The filter's pairs in order. A description without a mask list (an odd count of pieces) is
// dropped; a pair whose mask list holds no mask matches everything. Never raises.
std::vector<TFileFilter> ParseFilter(const AnsiString& Filter);
// Whether the file name (without folder) matches the mask.
bool MatchesMask(const AnsiString& Name, const AnsiString& Mask);
// Whether it matches one of the masks (true for an empty list).
bool MatchesAny(const AnsiString& Name, const std::vector<AnsiString>& Masks);

}  // namespace FileFilters
