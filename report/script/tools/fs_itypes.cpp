#include "report/script/tools/fs_itypes.h"

#include <cctype>
#include <memory>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/interp/fs_iscript.h"

namespace fs_itypes {

TfsItemKind KindOfType(const AnsiString& TypeName, const TfsScript* Script)
{
  TfsCustomVariable* I = Script ? Script->FindItem(TypeName) : nullptr;
  return I ? I->Kind : ikClass;
}

bool ClassInherits(const AnsiString& BaseName, const AnsiString& DerivedName, const TfsScript* Script)
{
  if (!Script) return false;
  TfsClassVariable* Base = Script->FindClassItem(BaseName);
  TfsClassVariable* C = Script->FindClassItem(DerivedName);
  if (!Base) return false;
  for (int Depth = 0; C && Depth < 64; ++Depth) {
    if (C == Base) return true;
    if (C->AncestorName.empty() || !C->OwnerScript) break;
    C = C->OwnerScript->FindClassItem(C->AncestorName);
  }
  return false;
}

bool TypesCompatible(TfsItemKind T, const AnsiString& TT, TfsItemKind S, const AnsiString& ST, const TfsScript* Script)
{
  switch (T) {
    case ikInteger: return S == ikInteger || S == ikFloat || S == ikVariant || S == ikEnum;
    case ikBoolean: return S == ikBoolean || S == ikVariant;
    case ikFloat: return S == ikInteger || S == ikFloat || S == ikVariant;
    case ikChar:
    case ikString: return S == ikChar || S == ikString || S == ikVariant;
    case ikClass:
      if (S == ikVariant) return true;
      if (S != ikClass) return false;
      if (SysUtils::SameText(TT.substr(0, 32), ST.substr(0, 32))) return true;
      return ClassInherits(TT, ST, Script);
    case ikArray: return S == ikArray || S == ikVariant;
    case ikVariant: return true;
    case ikEnum:
      return S == ikInteger || S == ikVariant ||
             (S == ikEnum && SysUtils::SameText(TT.substr(0, 32), ST.substr(0, 32)));
    default: return false;
  }
}

bool AssignCompatible(const TfsCustomVariable* V, const TfsCustomVariable* E, const TfsScript* Script)
{
  if (V->Kind == ikInteger && E->Kind == ikFloat) return false;
  return TypesCompatible(V->Kind, V->TypeName, E->Kind, E->TypeName, Script);
}

TfsPoint PositionToPoint(const AnsiString& PosText)
{
  if (PosText.empty()) return {};
  std::size_t C = PosText.find(':');
  AnsiString Line = C == AnsiString::npos ? PosText : PosText.substr(0, C);
  AnsiString Col = C == AnsiString::npos ? AnsiString() : PosText.substr(C + 1);
  return {SysUtils::StrToInt(Col), SysUtils::StrToInt(Line)};
}

Variant ParseConstant(const AnsiString& Text)
{
  if (Text.empty()) return Variant::Null();
  if (Text[0] == '\'') return Variant(Text.size() >= 2 ? Text.substr(1, Text.size() - 2) : AnsiString());
  Int64 I;
  if (SysUtils::TryStrToInt64(Text, I)) return Variant(static_cast<long long>(I));
  SysUtils::TFormatSettings FS = SysUtils::GetFormatSettings();
  FS.DecimalSeparator = '.';
  double D;
  if (SysUtils::TryStrToFloat(Text, D, FS)) return Variant(D);
  throw EConvertError("'" + Text + "' is not a valid floating point value");
}

namespace {

// A small tokenizer for declaration texts: identifiers, numbers, quoted strings, punctuation.
struct TDeclLexer {
  const AnsiString& S;
  std::size_t P = 0;
  void Skip()
  {
    while (P < S.size() && static_cast<unsigned char>(S[P]) <= ' ') ++P;
  }
  char Peek()
  {
    Skip();
    return P < S.size() ? S[P] : '\0';
  }
  AnsiString Ident()
  {
    Skip();
    std::size_t B = P;
    while (P < S.size() &&
           (std::isalnum(static_cast<unsigned char>(S[P])) || S[P] == '_' || static_cast<unsigned char>(S[P]) >= 0x80))
      ++P;
    if (B == P) throw Exception("Identifier expected in declaration \"" + S + "\"");
    return S.substr(B, P - B);
  }
  void Expect(char C)
  {
    if (Peek() != C) throw Exception(AnsiString("'") + C + "' expected in declaration \"" + S + "\"");
    ++P;
  }
  Variant Default(const TfsScript* Script)
  {
    char C = Peek();
    if (C == '\'') {
      std::size_t B = ++P;
      while (P < S.size() && S[P] != '\'') ++P;
      AnsiString T = S.substr(B, P - B);
      if (P < S.size()) ++P;
      return Variant(T);
    }
    if (C == '-' || std::isdigit(static_cast<unsigned char>(C))) {
      std::size_t B = P++;
      while (P < S.size() && (std::isalnum(static_cast<unsigned char>(S[P])) || S[P] == '.')) ++P;
      return ParseConstant(S.substr(B, P - B));
    }
    AnsiString N = Ident();
    TfsCustomVariable* I = Script ? Script->FindItem(N) : nullptr;
    return I ? I->GetValue() : Variant::Null();
  }
};

}  // namespace

TfsCustomVariable* ParseDeclaration(const AnsiString& Text, const TfsScript* Script)
{
  TDeclLexer L{Text};
  AnsiString First = SysUtils::LowerCase(L.Ident());
  bool Macro = First.rfind("macro", 0) == 0;
  if (Macro) First = First.substr(5);
  bool IsFunction = First == "function";
  AnsiString Name = L.Ident();
  AnsiString ResultType;
  if (IsFunction) {
    std::size_t C = Text.rfind(':');
    if (C != AnsiString::npos) {
      TDeclLexer R{Text, C + 1};
      ResultType = R.Ident();
    }
  }
  auto Item = std::make_unique<TfsCustomVariable>(Name, ResultType.empty() ? ikInteger : KindOfType(ResultType, Script),
                                                  ResultType);
  Item->IsMacro = Macro;
  if (L.Peek() == '(') {
    ++L.P;
    while (L.Peek() != ')') {
      bool ByRef = false;
      std::vector<AnsiString> Names;
      AnsiString W = L.Ident();
      if (SysUtils::SameText(W, "var")) {
        ByRef = true;
        W = L.Ident();
      } else if (SysUtils::SameText(W, "const")) {
        W = L.Ident();
      }
      Names.push_back(W);
      while (L.Peek() == ',') {
        ++L.P;
        Names.push_back(L.Ident());
      }
      L.Expect(':');
      AnsiString T = L.Ident();
      Variant Def = Variant::Null();
      if (L.Peek() == '=') {
        ++L.P;
        Def = L.Default(Script);
      }
      TfsItemKind K = KindOfType(T, Script);
      for (std::size_t I = 0; I < Names.size(); ++I) {
        bool Last = I + 1 == Names.size();
        bool Optional = Last && !Def.IsNull();
        auto* P = new TfsParamItem(Names[I], K, T, Optional, ByRef);
        if (Optional) P->DefValue = Def;
        Item->Add(P);
      }
      if (L.Peek() == ';')
        ++L.P;
      else if (L.Peek() != ')')
        L.Expect(')');
    }
    ++L.P;
  }
  return Item.release();
}

}  // namespace fs_itypes
