#include "report/script/tools/fs_ivarrecs.h"

namespace fs_ivarrecs {

Variant VarRecToVariant(const TVarRec& A)
{
  switch (A.VType) {
    case TVarRec::vtInteger: return Variant(A.VInteger);
    case TVarRec::vtInt64: return Variant(static_cast<long long>(A.VInt64));
    case TVarRec::vtUInt64: return Variant(static_cast<double>(A.VUInt64));
    case TVarRec::vtBoolean: return Variant(A.VBoolean);
    case TVarRec::vtChar: return Variant(AnsiString(1, A.VChar));
    case TVarRec::vtWideChar: return Variant(WideString(1, A.VWideChar));
    case TVarRec::vtExtended: return Variant(static_cast<double>(A.VExtended));
    case TVarRec::vtCurrency: return Variant(Currency::FromRaw(A.VCurrency));
    case TVarRec::vtPChar: return A.VPChar ? Variant(AnsiString(A.VPChar)) : Variant(AnsiString());
    case TVarRec::vtPWideChar: return A.VPWideChar ? Variant(WideString(A.VPWideChar)) : Variant(WideString());
    case TVarRec::vtAnsiString: return Variant(*A.VAnsiString);
    case TVarRec::vtWideString: return Variant(*A.VWideString);
    case TVarRec::vtVariant: return *A.VVariant;
    default: return Variant::Null();
  }
}

TfsVarRecs::TfsVarRecs(const Variant& Values)
{
  if (!Values.IsArray() || Variants::VarArrayDimCount(Values) != 1) return;
  int Lo = Variants::VarArrayLowBound(Values, 1), Hi = Variants::VarArrayHighBound(Values, 1);
  for (int I = Lo; I <= Hi; ++I) {
    Variant V = Variants::VarArrayGet(Values, {I});
    switch (V.VarType()) {
      case varSmallint:
      case varInteger:
      case varByte:
      case varShortInt:
      case varWord: FRecs.emplace_back(V.AsInteger()); break;
      case varLongWord:
      case varInt64: FRecs.emplace_back(static_cast<long long>(V.AsInt64())); break;
      case varSingle:
      case varDouble:
      case varCurrency:
      case varDate: FRecs.emplace_back(V.AsDouble()); break;
      case varOleStr:
      case varString: FRecs.emplace_back(FTexts.emplace_back(V.AsString())); break;
      case varBoolean: FRecs.emplace_back(V.AsBoolean()); break;
      default: FRecs.emplace_back(FValues.emplace_back(V)); break;
    }
  }
}

}  // namespace fs_ivarrecs
