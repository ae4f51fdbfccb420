// Tells a date or time number format from the others, as a workbook's cells show their numbers.
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiStrings.h"

namespace NumberFormats {

enum TFormatKind {
  fkNumber,
  fkDate,     // shows a date, a time or both
  fkElapsed,  // an elapsed time ("[h]:mm:ss"): the number of days itself, not a point in time
};

// A format written in the workbook (a FORMAT record), such as "yyyy-mm-dd" or
// "[$-804]yyyy\"年\"m\"月\"d\"日\"". Quoted text, escaped characters, colours and locale tags
// are not date parts.
TFormatKind Classify(const WideString& Format);

// One of the built-in formats a workbook refers to by number without writing it out.
TFormatKind ClassifyBuiltIn(std::uint16_t Index);

}  // namespace NumberFormats
