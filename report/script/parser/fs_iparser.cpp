#include "report/script/parser/fs_iparser.h"

#include <algorithm>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

namespace {

bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(unsigned char C) { return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f'); }
bool IsPunctuation(unsigned char C)
{
  return (C >= 33 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 96) || (C >= 123 && C <= 126);
}

// Splits "open,close" by the comma-text rules into the two markers.
void SplitBlock(const AnsiString& S, AnsiString& Open, AnsiString& Close)
{
  TStringList L;
  L.SetCommaText(S);
  Open = L.GetCount() > 0 ? L[0] : AnsiString();
  Close = L.GetCount() > 1 ? L[1] : AnsiString();
}

}  // namespace

TfsParser::TfsParser() : FKeywords(std::make_unique<TStringList>())
{
  FKeywords->SetSorted(true);
  FLineStarts.push_back(0);
  FText.assign(1, '\0');
  SetDefaults();
}

TfsParser::~TfsParser() = default;

void TfsParser::SetDefaults()
{
  FKeywords->Clear();
  FKeywordSet.clear();
  SetCommentBlock1("{,}");
  SetCommentBlock2("(*,*)");
  FCommentLine1 = "//";
  FHexSequence = "$";
  SetIdentChars("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  FSkipChar.clear();
  FSkipEOL = true;
  FAutoSkipSpaces = true;
  FStringQuotes = "'";
}

void TfsParser::SetCommentBlock1(const AnsiString& S)
{
  FCommentBlock1 = S;
  SplitBlock(S, FCommentBlock11, FCommentBlock12);
}

void TfsParser::SetCommentBlock2(const AnsiString& S)
{
  FCommentBlock2 = S;
  SplitBlock(S, FCommentBlock21, FCommentBlock22);
}

void TfsParser::SetIdentChars(const AnsiString& S)
{
  FIdentChars.reset();
  for (char C : S) FIdentChars.set(static_cast<unsigned char>(C));
}

void TfsParser::SetText(const AnsiString& S)
{
  FText = S;
  FText.push_back('\0');
  FSize = static_cast<Integer>(S.size());
  FPosition = FTokenStart = 1;
  FLineStarts.assign(1, 0);
  for (Integer I = 0; I < FSize; ++I)
    if (S[I] == '\n') FLineStarts.push_back(I + 1);
}

bool TfsParser::At(Integer P, const AnsiString& S) const
{
  if (S.empty() || P < 1 || P + static_cast<Integer>(S.size()) - 1 > FSize) return false;
  return FText.compare(P - 1, S.size(), S) == 0;
}

void TfsParser::SkipSpaces()
{
  // A continuation mark asks for one line end at the next stop; marks may pile up.
  int PendingEOL = 0;
  for (;;) {
    while (FPosition <= FSize) {
      unsigned char C = Ch(FPosition);
      if (C > 32 || (C == 13 && !FSkipEOL)) break;
      ++FPosition;
    }
    if (!FSkipChar.empty() && FPosition <= FSize && Ch(FPosition) == static_cast<unsigned char>(FSkipChar[0])) {
      ++FPosition;
      ++PendingEOL;
      continue;
    }
    if (FPosition < FSize) {
      if (At(FPosition, FCommentLine1) || At(FPosition, FCommentLine2)) {
        while (FPosition <= FSize && Ch(FPosition) != '\n') ++FPosition;
        continue;
      }
      const AnsiString* Close = nullptr;
      if (!FCommentBlock1.empty() && At(FPosition, FCommentBlock11)) {
        FPosition += static_cast<Integer>(FCommentBlock11.size());
        Close = &FCommentBlock12;
      } else if (!FCommentBlock2.empty() && At(FPosition, FCommentBlock21)) {
        FPosition += static_cast<Integer>(FCommentBlock21.size());
        Close = &FCommentBlock22;
      }
      if (Close) {
        std::size_t Found = Close->empty() ? AnsiString::npos : FText.find(*Close, FPosition - 1);
        if (Found == AnsiString::npos || static_cast<Integer>(Found + Close->size()) > FSize)
          FPosition = FSize + 1;
        else
          FPosition = static_cast<Integer>(Found + Close->size()) + 1;
        continue;
      }
    }
    if (PendingEOL > 0 && FPosition <= FSize && (Ch(FPosition) == 13 || Ch(FPosition) == 10)) {
      while (FPosition <= FSize && (Ch(FPosition) == 13 || Ch(FPosition) == 10)) ++FPosition;
      --PendingEOL;
      continue;
    }
    break;
  }
  FTokenStart = FPosition;
}

void TfsParser::AddKeyword(const AnsiString& W)
{
  FKeywords->Add(W);
  FKeywordSet.insert(SysUtils::LowerCase(W));
}

bool TfsParser::IsKeyword(const AnsiString& W) const
{
  // Keywords are ASCII; a word with other bytes is never one.
  std::string L(W);
  for (char& C : L)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return FKeywordSet.count(L) > 0;
}

AnsiString TfsParser::GetWord()
{
  if (FAutoSkipSpaces) SkipSpaces();
  if (FPosition <= FSize && FIdentChars[Ch(FPosition)] && !IsDigit(Ch(FPosition))) {
    while (FPosition <= FSize && FIdentChars[Ch(FPosition)]) ++FPosition;
  }
  return FText.substr(FTokenStart - 1, FPosition - FTokenStart);
}

AnsiString TfsParser::GetIdent()
{
  AnsiString W = GetWord();
  if (!W.empty() && IsKeyword(W)) W.clear();
  return W;
}

AnsiString TfsParser::GetChar()
{
  if (FPosition <= FSize && IsPunctuation(Ch(FPosition))) {
    ++FPosition;
    return AnsiString(1, FText[FPosition - 2]);
  }
  return AnsiString();
}

bool TfsParser::ReadDigits(bool Hex)
{
  Integer Start = FPosition;
  while (FPosition <= FSize && (Hex ? IsHexDigit(Ch(FPosition)) : IsDigit(Ch(FPosition)))) ++FPosition;
  return FPosition > Start;
}

bool TfsParser::ReadInteger()
{
  Integer Start = FPosition;
  bool Ok;
  if (At(FPosition, FHexSequence)) {
    FPosition += static_cast<Integer>(FHexSequence.size());
    Ok = ReadDigits(true);
  } else {
    Ok = ReadDigits(false);
  }
  if (!Ok) FPosition = Start;
  return Ok;
}

bool TfsParser::ReadFloat()
{
  Integer Start = FPosition;
  if (!ReadInteger()) return false;
  if (FPosition <= FSize && Ch(FPosition) == '.') {
    ++FPosition;
    if (!ReadDigits(false)) {
      FPosition = Start;
      return false;
    }
  }
  if (FPosition <= FSize && (Ch(FPosition) == 'E' || Ch(FPosition) == 'e')) {
    Integer BeforeExp = FPosition++;
    if (FPosition <= FSize && (Ch(FPosition) == '+' || Ch(FPosition) == '-')) ++FPosition;
    if (!ReadDigits(false)) FPosition = BeforeExp;
  }
  return true;
}

AnsiString TfsParser::GetNumber()
{
  if (FAutoSkipSpaces) SkipSpaces();
  if (!ReadFloat() && !ReadInteger()) return AnsiString();
  AnsiString R = FText.substr(FTokenStart - 1, FPosition - FTokenStart);
  if (FHexSequence != "$" && !FHexSequence.empty())
    R = SysUtils::StringReplace(R, FHexSequence, "$", SysUtils::rfReplaceAll);
  return R;
}

bool TfsParser::ReadQuotedPiece(AnsiString& Out)
{
  if (FStringQuotes.empty() || FPosition > FSize || Ch(FPosition) != static_cast<unsigned char>(FStringQuotes[0]))
    return false;
  const unsigned char Quote = Ch(FPosition);
  const bool Escapes = FStringQuotes == "\"";
  Integer Start = FPosition++;
  AnsiString Piece;
  for (;;) {
    unsigned char C = Ch(FPosition);  // the NUL behind the text ends an unclosed piece
    if (C < 32 && C != 9) {
      FPosition = Start;
      return false;
    }
    if (Escapes && C == '\\') {
      unsigned char E = Ch(FPosition + 1);
      if (E < 32 && E != 9) {
        FPosition = Start;
        return false;
      }
      FPosition += 2;
      if (E == 'n' || E == 'N') {
        Piece += '\n';
      } else if (E == 'r' || E == 'R') {
        Piece += '\r';
      } else if (E == 'x' || E == 'X') {
        Integer HexStart = FPosition;
        while (FPosition <= FSize && IsHexDigit(Ch(FPosition))) ++FPosition;
        if (FPosition > HexStart)
          Piece += static_cast<char>(SysUtils::StrToInt("$" + FText.substr(HexStart - 1, FPosition - HexStart)) & 0xFF);
      } else {
        Piece += static_cast<char>(E);
      }
      continue;
    }
    ++FPosition;
    if (C == Quote) {
      if (!Escapes && FPosition <= FSize && Ch(FPosition) == Quote) {
        Piece += static_cast<char>(Quote);
        ++FPosition;
        continue;
      }
      break;
    }
    Piece += static_cast<char>(C);
  }
  Out += Piece;
  return true;
}

bool TfsParser::ReadCodePiece(AnsiString& Out)
{
  if (FPosition > FSize || Ch(FPosition) != '#') return false;
  Integer Start = FPosition++;
  if (!ReadInteger()) {
    FPosition = Start;
    return false;
  }
  AnsiString Code = FText.substr(Start, FPosition - Start - 1);
  if (!FHexSequence.empty() && FHexSequence != "$" && Code.compare(0, FHexSequence.size(), FHexSequence) == 0)
    Code = "$" + Code.substr(FHexSequence.size());
  Out += static_cast<char>(SysUtils::StrToInt(Code) & 0xFF);
  return true;
}

AnsiString TfsParser::GetString()
{
  if (FAutoSkipSpaces) SkipSpaces();
  AnsiString Text;
  bool Any = false;
  while (ReadQuotedPiece(Text) || ReadCodePiece(Text)) Any = true;
  if (!Any) return AnsiString();
  return "'" + Text + "'";
}

bool TfsParser::GetEOL()
{
  SkipSpaces();
  if (FPosition <= FSize && (Ch(FPosition) == 13 || Ch(FPosition) == 10)) {
    while (FPosition <= FSize && (Ch(FPosition) == 13 || Ch(FPosition) == 10)) ++FPosition;
    return true;
  }
  return false;
}

AnsiString TfsParser::GetFRString()
{
  Integer Start = FPosition;
  int Depth = 1;
  bool InSingle = false, InDouble = false;
  while (FPosition <= FSize) {
    unsigned char C = Ch(FPosition);
    if (C == 13 || C == 10) {
      FPosition = Start;
      return AnsiString();
    }
    if (C == '\'' && !InDouble) {
      InSingle = !InSingle;
    } else if (C == '"' && !InSingle) {
      InDouble = !InDouble;
    } else if (!InSingle && !InDouble) {
      if (C == '<') {
        ++Depth;
      } else if (C == '>' && --Depth == 0) {
        return FText.substr(Start - 1, FPosition - Start);
      }
    }
    ++FPosition;
  }
  return FText.substr(Start - 1, FSize + 1 - Start);
}

AnsiString TfsParser::PositionToXY(Integer P) const
{
  // Entries smaller than P: the line; the greatest of them gives the column.
  auto It = std::lower_bound(FLineStarts.begin(), FLineStarts.end(), P);
  Integer Line = static_cast<Integer>(It - FLineStarts.begin());
  Integer Column = Line > 0 ? P - *(It - 1) : P;
  return std::to_string(Line) + ":" + std::to_string(Column);
}

AnsiString TfsParser::GetXYPosition() const { return PositionToXY(FPosition); }

Integer TfsParser::PointToPosition(Integer X, Integer Y) const
{
  if (Y - 1 < 0 || Y - 1 >= static_cast<Integer>(FLineStarts.size())) return -1;
  return FLineStarts[Y - 1] + X;
}
