// What the libraries' callbacks share: reading the parameter array and checking the objects in
// it and the instance a member runs on. Objects come as handles (host/fs_ihandles.h).
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "report/script/host/fs_ihandles.h"

namespace fs_iparams {

inline Variant P(const Variant& Params, int I) { return Variants::VarArrayGet(Params, {I}); }
inline AnsiString Str(const Variant& Params, int I) { return Variants::VarToStr(P(Params, I)); }
inline Integer Int(const Variant& Params, int I) { return P(Params, I).AsInteger(); }
// The number of parameters the array holds.
inline int Count(const Variant& Params) { return Variants::VarArrayHighBound(Params, 1) + 1; }

// Object argument I: alive and of class T, or nil. A dead or unknown handle raises
// EInvalidPointer, an object of another class EInvalidCast.
template <class T>
T* Obj(const Variant& Params, int I)
{
  TObject* O = fs_ihandles::ObjectOf(P(Params, I));
  if (!O) return nullptr;
  auto* R = dynamic_cast<T*>(O);
  if (!R) throw EInvalidCast("Invalid class typecast");
  return R;
}

// As Obj, but nil raises too.
template <class T>
T* NonNil(const Variant& Params, int I)
{
  T* O = Obj<T>(Params, I);
  if (!O) throw EInvalidPointer("Object reference is nil");
  return O;
}

// The instance a member runs on, of class T.
template <class T>
T* Self(TObject* Instance)
{
  auto* R = dynamic_cast<T*>(Instance);
  if (!R) throw EInvalidCast("Invalid class typecast");
  return R;
}

}  // namespace fs_iparams
