// Open-array arguments (TVarRec lists, as SysUtils::Format takes them) to and from Variants.
#pragma once

#include <deque>
#include <vector>

#include "platform/rtl/FormatText.h"
#include "platform/rtl/Variants.h"

namespace fs_ivarrecs {

// The Variant of one argument: integers as integers, a char as a one-character text, floats,
// texts, Booleans, currency as Currency, a Variant as a copy; pointers (objects) and anything
// else as Null, since an address means nothing to a script.
Variant VarRecToVariant(const TVarRec& Arg);

// An argument list built from a one-dimensional Variant array (anything else gives no
// arguments). Texts and Variants are copied and owned by the list, so the records stay valid
// as long as it lives; texts pass whole and 64-bit integers keep their value.
class TfsVarRecs {
public:
  explicit TfsVarRecs(const Variant& Values);
  TfsVarRecs(const TfsVarRecs&) = delete;
  TfsVarRecs& operator=(const TfsVarRecs&) = delete;
  const std::vector<TVarRec>& Recs() const { return FRecs; }

private:
  std::deque<AnsiString> FTexts;  // deques: the records point into them
  std::deque<Variant> FValues;
  std::vector<TVarRec> FRecs;
};

}  // namespace fs_ivarrecs
