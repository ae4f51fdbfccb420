#include "report/script/lib/fs_isysrtti.h"

#include <cmath>
#include <deque>
#include <random>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tools/fs_ivarrecs.h"

namespace fs_isysrtti {

namespace {

// The registrar stamp of the library's items.
const char LibraryStamp = 0;

TCreateOleObject& OleCreator()
{
  static TCreateOleObject C;
  return C;
}

std::mt19937_64& Generator()
{
  static std::mt19937_64 G(5489u);
  return G;
}

Variant Arg(const Variant& Params, int I) { return Variants::VarArrayGet(Params, {I}); }
AnsiString Str(const Variant& Params, int I) { return Variants::VarToStr(Arg(Params, I)); }
Integer Int(const Variant& Params, int I) { return Arg(Params, I).AsInteger(); }
double Flt(const Variant& Params, int I) { return Arg(Params, I).AsDouble(); }
void Put(Variant& Params, int I, const Variant& V) { Variants::VarArrayPut(Params, V, {I}); }

// Every element goes whole: texts are not cut and 64-bit integers keep their value.
AnsiString FormatArgs(const AnsiString& Fmt, const Variant& Args)
{
  fs_ivarrecs::TfsVarRecs Recs(Args);
  return SysUtils::Format(Fmt, Recs.Recs());
}

AnsiString NameCase(const AnsiString& S)
{
  AnsiString R = SysUtils::AnsiLowerCase(S);
  for (std::size_t I = 0; I < R.size(); ++I) {
    if (static_cast<unsigned char>(R[I]) >= 0x80) {  // a double-byte character stays as it is
      ++I;
      continue;
    }
    if (I == 0 || R[I - 1] == ' ') R[I] = static_cast<char>(std::toupper(static_cast<unsigned char>(R[I])));
  }
  return R;
}

// A whole float as a 64-bit integer; NaN and values beyond the range are refused.
long long ToInt64(double D)
{
  if (!(D >= -9223372036854775808.0 && D < 9223372036854775808.0)) throw EInvalidOp("Invalid floating point operation");
  return static_cast<long long>(D);
}

Integer DaysInMonth(Integer Year, Integer Month)
{
  static const Integer Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) throw EConvertError("Invalid month: " + std::to_string(Month));
  if (Month == 2 && SysUtils::IsLeapYear(static_cast<Word>(Year))) return 29;
  return Days[Month - 1];
}

Variant Call(const AnsiString& N, Variant& P)
{
  using namespace SysUtils;
  // Conversion.
  if (N == "INTTOSTR") return Variant(IntToStr(Arg(P, 0).AsInt64()));
  if (N == "FLOATTOSTR") return Variant(FloatToStr(Flt(P, 0)));
  if (N == "DATETOSTR") return Variant(DateToStr(TDateTime(Flt(P, 0))));
  if (N == "TIMETOSTR") return Variant(TimeToStr(TDateTime(Flt(P, 0))));
  if (N == "DATETIMETOSTR") return Variant(DateTimeToStr(TDateTime(Flt(P, 0))));
  if (N == "VARTOSTR") return Variant(Variants::VarToStr(Arg(P, 0)));
  if (N == "STRTOINT") return Variant(StrToInt(Str(P, 0)));
  if (N == "STRTOFLOAT") return Variant(StrToFloat(Str(P, 0)));
  if (N == "STRTODATE") return Variant(StrToDate(Str(P, 0)));
  if (N == "STRTOTIME") return Variant(StrToTime(Str(P, 0)));
  if (N == "STRTODATETIME") return Variant(StrToDateTime(Str(P, 0)));
  // Formatting.
  if (N == "FORMAT") return Variant(FormatArgs(Str(P, 0), Arg(P, 1)));
  if (N == "FORMATFLOAT") return Variant(FormatFloat(Str(P, 0), Flt(P, 1)));
  if (N == "FORMATDATETIME") return Variant(FormatDateTime(Str(P, 0), TDateTime(Flt(P, 1))));
  if (N == "FORMATMASKTEXT") return Variant(FormatMaskText(Str(P, 0), Str(P, 1)));
  // Dates.
  if (N == "ENCODEDATE")
    return Variant(
        EncodeDate(static_cast<Word>(Int(P, 0)), static_cast<Word>(Int(P, 1)), static_cast<Word>(Int(P, 2))));
  if (N == "DECODEDATE") {
    Word Y, M, D;
    DecodeDate(TDateTime(Flt(P, 0)), Y, M, D);
    Put(P, 1, Variant(static_cast<int>(Y)));
    Put(P, 2, Variant(static_cast<int>(M)));
    Put(P, 3, Variant(static_cast<int>(D)));
    return Variant(0);
  }
  if (N == "ENCODETIME")
    return Variant(EncodeTime(static_cast<Word>(Int(P, 0)), static_cast<Word>(Int(P, 1)), static_cast<Word>(Int(P, 2)),
                              static_cast<Word>(Int(P, 3))));
  if (N == "DECODETIME") {
    Word H, M, S, MS;
    DecodeTime(TDateTime(Flt(P, 0)), H, M, S, MS);
    Put(P, 1, Variant(static_cast<int>(H)));
    Put(P, 2, Variant(static_cast<int>(M)));
    Put(P, 3, Variant(static_cast<int>(S)));
    Put(P, 4, Variant(static_cast<int>(MS)));
    return Variant(0);
  }
  if (N == "DATE") return Variant(SysUtils::Date());
  if (N == "TIME") return Variant(SysUtils::Time());
  if (N == "NOW") return Variant(SysUtils::Now());
  if (N == "DAYOFWEEK") return Variant(SysUtils::DayOfWeek(TDateTime(Flt(P, 0))));
  if (N == "ISLEAPYEAR") return Variant(SysUtils::IsLeapYear(static_cast<Word>(Int(P, 0))));
  if (N == "DAYSINMONTH") return Variant(DaysInMonth(Int(P, 0), Int(P, 1)));
  // Strings.
  if (N == "LENGTH") {
    Variant V = Arg(P, 0);
    if (V.IsArray()) return Variant(Variants::VarArrayHighBound(V, 1) - Variants::VarArrayLowBound(V, 1) + 1);
    return Variant(static_cast<int>(Variants::VarToStr(V).size()));
  }
  if (N == "COPY") {
    AnsiString S = Str(P, 0);
    Integer From = Int(P, 1), Count = Int(P, 2);
    return Variant(System::Copy(S, From, Count));
  }
  if (N == "POS") return Variant(System::Pos(Str(P, 0), Str(P, 1)));
  if (N == "DELETE") {
    AnsiString S = Str(P, 0);
    Integer From = Int(P, 1), Count = Int(P, 2);
    if (From >= 1 && static_cast<std::size_t>(From) <= S.size() && Count > 0)
      S.erase(static_cast<std::size_t>(From - 1), static_cast<std::size_t>(Count));
    Put(P, 0, Variant(S));
    return Variant(0);
  }
  if (N == "INSERT") {
    AnsiString S = Str(P, 0), S2 = Str(P, 1);
    Integer At = Int(P, 2);
    if (At < 1) At = 1;
    if (static_cast<std::size_t>(At) > S2.size() + 1) At = static_cast<Integer>(S2.size()) + 1;
    S2.insert(static_cast<std::size_t>(At - 1), S);
    Put(P, 1, Variant(S2));
    return Variant(0);
  }
  if (N == "UPPERCASE") return Variant(AnsiUpperCase(Str(P, 0)));
  if (N == "LOWERCASE") return Variant(AnsiLowerCase(Str(P, 0)));
  if (N == "TRIM") return Variant(Trim(Str(P, 0)));
  if (N == "NAMECASE") return Variant(NameCase(Str(P, 0)));
  if (N == "COMPARETEXT") return Variant(AnsiCompareText(Str(P, 0), Str(P, 1)));
  if (N == "CHR") return Variant(AnsiString(1, static_cast<char>(Int(P, 0) & 0xFF)));
  if (N == "ORD") {
    AnsiString S = Str(P, 0);
    return Variant(S.empty() ? 0 : static_cast<int>(static_cast<unsigned char>(S[0])));
  }
  if (N == "SETLENGTH") {
    Variant S = Arg(P, 0);
    Integer L = Int(P, 1);
    if (L < 0) L = 0;
    if (S.IsArray()) {
      Variants::VarArrayRedim(S, L - 1);
    } else {
      AnsiString T = Variants::VarToStr(S);
      T.resize(static_cast<std::size_t>(L), ' ');
      S = Variant(T);
    }
    Put(P, 0, S);
    return Variant(0);
  }
  // Mathematics.
  if (N == "ROUND") return Variant(ToInt64(std::nearbyint(Flt(P, 0))));
  if (N == "TRUNC") return Variant(ToInt64(std::trunc(Flt(P, 0))));
  if (N == "INT") return Variant(std::trunc(Flt(P, 0)));
  if (N == "FRAC") return Variant(Flt(P, 0) - std::trunc(Flt(P, 0)));
  if (N == "SQRT") return Variant(std::sqrt(Flt(P, 0)));
  if (N == "ABS") return Variant(std::fabs(Flt(P, 0)));
  if (N == "SIN") return Variant(std::sin(Flt(P, 0)));
  if (N == "COS") return Variant(std::cos(Flt(P, 0)));
  if (N == "ARCTAN") return Variant(std::atan(Flt(P, 0)));
  if (N == "TAN") return Variant(std::sin(Flt(P, 0)) / std::cos(Flt(P, 0)));
  if (N == "EXP") return Variant(std::exp(Flt(P, 0)));
  if (N == "LN") return Variant(std::log(Flt(P, 0)));
  if (N == "PI") return Variant(3.1415926535897932385);
  // Other.
  if (N == "INC") {
    Put(P, 0, Arg(P, 0) + Arg(P, 1));
    return Variant(0);
  }
  if (N == "DEC") {
    Put(P, 0, Arg(P, 0) - Arg(P, 1));
    return Variant(0);
  }
  if (N == "RAISEEXCEPTION") throw Exception(Str(P, 0));
  if (N == "SHOWMESSAGE") {
    // The program's message box (through the seam) with the application's title.
    Dialogs::ShowMessage(Str(P, 0));
    return Variant(0);
  }
  if (N == "RANDOMIZE") {
    Generator().seed(static_cast<std::uint64_t>(SysUtils::Now().Value * 86400000.0));
    return Variant(0);
  }
  if (N == "RANDOM") return Variant(std::uniform_real_distribution<double>(0.0, 1.0)(Generator()));
  if (N == "VALIDINT") {
    Integer I;
    return Variant(TryStrToInt(Str(P, 0), I));
  }
  if (N == "VALIDFLOAT") {
    double D;
    return Variant(TryStrToFloat(Str(P, 0), D));
  }
  if (N == "VALIDDATE") {
    TDateTime D;
    return Variant(TryStrToDate(Str(P, 0), D));
  }
  if (N == "CREATEOLEOBJECT") {
    if (!OleCreator()) throw Exception("Invalid class string");
    return OleCreator()(Str(P, 0));
  }
  if (N == "VARARRAYCREATE") {
    Variant B = Arg(P, 0);
    std::vector<int> Bounds;
    if (B.IsArray())
      for (int I = Variants::VarArrayLowBound(B, 1); I <= Variants::VarArrayHighBound(B, 1); ++I)
        Bounds.push_back(Variants::VarArrayGet(B, {I}).AsInteger());
    return Variants::VarArrayCreate(Bounds, static_cast<TVarType>(Int(P, 1)));
  }
  if (N == "VARTYPE") return Variant(static_cast<int>(Arg(P, 0).VarType()));
  return Variant(0);
}

struct TDecl {
  const char* Syntax;
  const char* Category;
};

const TDecl Decls[] = {
    {"function IntToStr(i: Integer): String", "ctConv"},
    {"function FloatToStr(e: Extended): String", "ctConv"},
    {"function DateToStr(e: Extended): String", "ctConv"},
    {"function TimeToStr(e: Extended): String", "ctConv"},
    {"function DateTimeToStr(e: Extended): String", "ctConv"},
    {"function VarToStr(v: Variant): String", "ctConv"},
    {"function StrToInt(s: String): Integer", "ctConv"},
    {"function StrToFloat(s: String): Extended", "ctConv"},
    {"function StrToDate(s: String): Extended", "ctConv"},
    {"function StrToTime(s: String): Extended", "ctConv"},
    {"function StrToDateTime(s: String): Extended", "ctConv"},
    {"function Format(Fmt: String; Args: array): String", "ctFormat"},
    {"function FormatFloat(Fmt: String; Value: Extended): String", "ctFormat"},
    {"function FormatDateTime(Fmt: String; DateTime: TDateTime): String", "ctFormat"},
    {"function FormatMaskText(EditMask: string; Value: string): string", "ctFormat"},
    {"function EncodeDate(Year, Month, Day: Word): TDateTime", "ctDate"},
    {"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)", "ctDate"},
    {"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", "ctDate"},
    {"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", "ctDate"},
    {"function Date: TDateTime", "ctDate"},
    {"function Time: TDateTime", "ctDate"},
    {"function Now: TDateTime", "ctDate"},
    {"function DayOfWeek(aDate: TDateTime): Integer", "ctDate"},
    {"function IsLeapYear(Year: Word): Boolean", "ctDate"},
    {"function DaysInMonth(nYear, nMonth: Integer): Integer", "ctDate"},
    {"function Length(s: Variant): Integer", "ctString"},
    {"function Copy(s: String; from, count: Integer): String", "ctString"},
    {"function Pos(substr, s: String): Integer", "ctString"},
    {"procedure Delete(var s: String; from, count: Integer): String", "ctString"},
    {"procedure Insert(s: String; var s2: String; pos: Integer): String", "ctString"},
    {"function Uppercase(s: String): String", "ctString"},
    {"function Lowercase(s: String): String", "ctString"},
    {"function Trim(s: String): String", "ctString"},
    {"function NameCase(s: String): String", "ctString"},
    {"function CompareText(s, s1: String): Integer", "ctString"},
    {"function Chr(i: Integer): Char", "ctString"},
    {"function Ord(ch: Char): Integer", "ctString"},
    {"procedure SetLength(var S: Variant; L: Integer)", "ctString"},
    {"function Round(e: Extended): Integer", "ctMath"},
    {"function Trunc(e: Extended): Integer", "ctMath"},
    {"function Int(e: Extended): Integer", "ctMath"},
    {"function Frac(X: Extended): Extended", "ctMath"},
    {"function Sqrt(e: Extended): Extended", "ctMath"},
    {"function Abs(e: Extended): Extended", "ctMath"},
    {"function Sin(e: Extended): Extended", "ctMath"},
    {"function Cos(e: Extended): Extended", "ctMath"},
    {"function ArcTan(X: Extended): Extended", "ctMath"},
    {"function Tan(X: Extended): Extended", "ctMath"},
    {"function Exp(X: Extended): Extended", "ctMath"},
    {"function Ln(X: Extended): Extended", "ctMath"},
    {"function Pi: Extended", "ctMath"},
    {"procedure Inc(var i: Integer; incr: Integer = 1)", "ctOther"},
    {"procedure Dec(var i: Integer; decr: Integer = 1)", "ctOther"},
    {"procedure RaiseException(Param: String)", "ctOther"},
    {"procedure ShowMessage(Msg: Variant)", "ctOther"},
    {"procedure Randomize", "ctOther"},
    {"function Random: Extended", "ctOther"},
    {"function ValidInt(cInt: String): Boolean", "ctOther"},
    {"function ValidFloat(cFlt: String): Boolean", "ctOther"},
    {"function ValidDate(cDate: String): Boolean", "ctOther"},
    {"function CreateOleObject(ClassName: String): Variant", "ctOther"},
    {"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", "ctOther"},
    {"function VarType(V: Variant): Integer", "ctOther"},
};

}  // namespace

void Register(TfsScript* Script)
{
  const void* Old = Script->Registrar;
  Script->Registrar = &LibraryStamp;
  TfsMethodCallback CB = [](TObject*, const void*, const AnsiString& Name, Variant& Params) {
    return Call(Name, Params);
  };
  for (const TDecl& D : Decls) Script->AddMethod(D.Syntax, CB, D.Category);
  struct TConst {
    const char* Name;
    int Value;
  } Consts[] = {{"varEmpty", 0},    {"varNull", 1},     {"varSmallint", 2},    {"varInteger", 3},  {"varSingle", 4},
                {"varDouble", 5},   {"varCurrency", 6}, {"varDate", 7},        {"varOleStr", 8},   {"varDispatch", 9},
                {"varError", 10},   {"varBoolean", 11}, {"varVariant", 12},    {"varUnknown", 13}, {"varShortInt", 16},
                {"varByte", 17},    {"varWord", 18},    {"varLongWord", 19},   {"varInt64", 20},   {"varStrArg", 72},
                {"varString", 256}, {"varAny", 257},    {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384}};
  for (const TConst& C : Consts) Script->AddConst(C.Name, "Integer", Variant(C.Value));
  Script->Registrar = Old;
}

void Unregister(TfsScript* Script) { Script->RemoveItems(&LibraryStamp); }

TCreateOleObject SetCreateOleObject(TCreateOleObject Creator)
{
  TCreateOleObject Old = std::move(OleCreator());
  OleCreator() = std::move(Creator);
  return Old;
}

AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value)
{
  // Fields: the mask, whether literals are part of the value, the blank character.
  AnsiString Mask = EditMask;
  bool SaveLiterals = true;
  char Blank = '_';
  std::size_t S1 = Mask.find(';');
  if (S1 != AnsiString::npos) {
    AnsiString Rest = Mask.substr(S1 + 1);
    Mask.resize(S1);
    SaveLiterals = Rest.empty() || Rest[0] != '0';
    std::size_t S2 = Rest.find(';');
    if (S2 != AnsiString::npos && S2 + 1 < Rest.size()) Blank = Rest[S2 + 1];
  }
  AnsiString R;
  std::size_t V = 0;
  for (std::size_t I = 0; I < Mask.size(); ++I) {
    char C = Mask[I];
    switch (C) {
      case '!':
      case '>':
      case '<': continue;  // layout directives don't show
      case '\\':
        if (I + 1 < Mask.size()) {
          R += Mask[++I];
          if (SaveLiterals && V < Value.size()) ++V;
        }
        continue;
      case 'L':
      case 'l':
      case 'A':
      case 'a':
      case 'C':
      case 'c':
      case '0':
      case '9':
      case '#': R += V < Value.size() ? Value[V++] : Blank; continue;
      default:
        R += C;
        if (SaveLiterals && V < Value.size()) ++V;
    }
  }
  return R;
}

}  // namespace fs_isysrtti
