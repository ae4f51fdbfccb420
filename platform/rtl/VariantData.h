// Internals shared by the Variant units (Variants.cpp, Variants_Ops.cpp, Variants_Arrays.cpp);
// nothing outside them includes this.
#pragma once

#include <vector>

#include "platform/rtl/Variants.h"

// The storage of a Variant array. Elements are laid out with the first index varying fastest,
// so changing the last dimension's high bound only grows or shrinks the tail.
struct TVarArrayData {
  struct TBound {
    int Low;
    int Count;
  };
  TVarType ElementType = varVariant;
  std::vector<TBound> Bounds;
  std::vector<Variant> Items;
};

struct TVariantAccess {
  static TVarArrayData* Array(const Variant& v) { return v.FArray; }
  static IUnknown* Unknown(const Variant& v) { return v.FUnknown; }
  // The text of a varString, without a copy.
  static const AnsiString& String(const Variant& v) { return v.FString; }
  static AnsiString& String(Variant& v) { return v.FString; }
  // The text of a varOleStr, without a copy.
  static const WideString& Wide(const Variant& v) { return v.FWide; }
  // Makes an array Variant owning `data`.
  static Variant MakeArray(TVarArrayData* data)
  {
    Variant v;
    v.FType = static_cast<TVarType>(varArray | data->ElementType);
    v.FArray = data;
    return v;
  }
};

namespace Variants {
// The error texts, shared so every unit raises the same words.
[[noreturn]] void RaiseCastError(TVarType from, TVarType to);
[[noreturn]] void RaiseOverflowError(TVarType from, TVarType to);
[[noreturn]] void RaiseInvalidOp();
[[noreturn]] void RaiseBadIndex();
[[noreturn]] void RaiseNotArray();
[[noreturn]] void RaiseInvalidArg();
}  // namespace Variants
