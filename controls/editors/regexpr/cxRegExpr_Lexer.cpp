// Cutting a mask text into lexemes: top level, quoted text, escapes, sets and counted
// quantifiers. Errors are collected; lexing goes on to find them all.
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/regexpr/cxRegExpr.h"

namespace {

bool IsBlank(char c) { return c == '\0' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The quote as the messages show it: with a blank on each side inside the message's own quotes.
const AnsiString QuoteArg = " ' ";

}  // namespace

bool TcxRegExpr::ReadByte(char& Ch)
{
  if (FReadPos >= static_cast<int>(FText.size())) return false;
  Ch = FText[FReadPos++];
  if (Ch == '\r') ++FLine;
  if (Ch == '\n')
    FColumn = 0;
  else
    ++FColumn;
  return true;
}

bool TcxRegExpr::PeekSignificant(char& Ch) const
{
  for (int pos = FReadPos; pos < static_cast<int>(FText.size()); ++pos) {
    if (!IsBlank(FText[pos])) {
      Ch = FText[pos];
      return true;
    }
  }
  return false;
}

void TcxRegExpr::AddLexem(int ACode, const AnsiString& AValue, int ALine, int AColumn)
{
  TcxLexem lexem;
  lexem.Code = ACode;
  lexem.Value = AValue;
  lexem.Line = ALine;
  lexem.Column = AColumn;
  FLexems.Add(lexem);
}

void TcxRegExpr::AddLexem(int ACode, char AValue) { AddLexem(ACode, AnsiString(1, AValue), FLine, FColumn); }

void TcxRegExpr::Lex()
{
  int depth = 0;
  char c;
  while (ReadByte(c)) {
    if (IsBlank(c)) continue;
    switch (c) {
      case '\'': LexQuoted(); break;
      case '(':
        AddLexem(lkOperator, c);
        ++depth;
        break;
      case ')':
        AddLexem(lkOperator, c);
        --depth;
        break;
      case '*':
      case '+':
      case '?':
      case '|': AddLexem(lkOperator, c); break;
      case '.': AddLexem(lkAnyChar, c); break;
      case '/': AddLexem(lkDateSeparator, c); break;
      case ':': AddLexem(lkTimeSeparator, c); break;
      case '[':
        AddLexem(lkOperator, c);
        LexBrackets();
        break;
      case '\\': LexEscape(); break;
      case '{':
        AddLexem(lkOperator, c);
        LexBraces();
        break;
      default: AddLexem(lkSymbol, c); break;
    }
  }
  if (depth > 0) AddError(0, 0, cxEditConsts::sRegExprMissing, ")");
  if (depth < 0) AddError(0, 0, cxEditConsts::sRegExprUnnecessary, ")");
}

// After the opening quote: every byte is a literal up to the closing quote; '' is a quote.
void TcxRegExpr::LexQuoted()
{
  char c;
  for (;;) {
    if (!ReadByte(c)) {
      AddError(FLine, FColumn + 1, cxEditConsts::sRegExprMissing, QuoteArg);
      return;
    }
    if (c == '\'') {
      if (FReadPos < static_cast<int>(FText.size()) && FText[FReadPos] == '\'') {
        ReadByte(c);
      } else {
        return;
      }
    }
    AddLexem(lkSymbol, c);
  }
}

// After a backslash; the lexeme takes the backslash's position.
void TcxRegExpr::LexEscape()
{
  const int line = FLine;
  const int column = FColumn;
  char c;
  if (!ReadByte(c)) return;
  if (c >= '1' && c <= '9') {
    AddLexem(lkReference, AnsiString(1, c), line, column);
    return;
  }
  if (IsBlank(c)) {
    AddError(line, column, cxEditConsts::sRegExprIncorrectSpace);
    return;
  }
  switch (c) {
    case 'd': AddLexem(lkDigit, AnsiString(1, c), line, column); return;
    case 'D': AddLexem(lkNotDigit, AnsiString(1, c), line, column); return;
    case 'w': AddLexem(lkIdLetter, AnsiString(1, c), line, column); return;
    case 'W': AddLexem(lkNotIdLetter, AnsiString(1, c), line, column); return;
    case 's': AddLexem(lkSpace, AnsiString(1, c), line, column); return;
    case 'S': AddLexem(lkNotSpace, AnsiString(1, c), line, column); return;
    case 't': AddLexem(lkSymbol, AnsiString(1, '\t'), line, column); return;
    case 'n': AddLexem(lkSymbol, AnsiString(1, '\n'), line, column); return;
    case 'r': AddLexem(lkSymbol, AnsiString(1, '\r'), line, column); return;
    case 'f': AddLexem(lkSymbol, AnsiString(1, '\f'), line, column); return;
    case 'a': AddLexem(lkSymbol, AnsiString(1, '\a'), line, column); return;
    case 'e': AddLexem(lkSymbol, AnsiString(1, '\x1B'), line, column); return;
    case 'x': {
      int code = 0;
      for (int i = 0; i < 2; ++i) {
        char h;
        if (!ReadByte(h)) {
          AddError(FLine, FColumn + 1, cxEditConsts::sRegExprHexNumberExpected0);
          return;
        }
        if (HexValue(h) < 0) {
          AddError(FLine, FColumn, cxEditConsts::sRegExprHexNumberExpected, AnsiString(1, h));
          return;
        }
        code = code * 16 + HexValue(h);
      }
      AddLexem(lkSymbol, AnsiString(1, static_cast<char>(code)), line, column);
      return;
    }
    default: AddLexem(lkSymbol, AnsiString(1, c), line, column); return;
  }
}

// After '[': the set's members up to the closing ']'.
void TcxRegExpr::LexBrackets()
{
  char c;
  bool first = true;
  for (;;) {
    do {
      if (!ReadByte(c)) {
        AddError(FLine, FColumn + 1, cxEditConsts::sRegExprMissing, "]");
        return;
      }
    } while (IsBlank(c));
    switch (c) {
      case '\'': LexQuoted(); break;
      case '/': AddLexem(lkDateSeparator, c); break;
      case ':': AddLexem(lkTimeSeparator, c); break;
      case '\\': LexEscape(); break;
      case ']': AddLexem(lkOperator, c); return;
      case '^': AddLexem(first ? lkOperator : lkSymbol, c); break;
      case '-': {
        if (first) {
          AddLexem(lkSymbol, c);
          break;
        }
        char next;
        // a dash right before the closing bracket is a member, not a range
        AddLexem(PeekSignificant(next) && next == ']' ? lkSymbol : lkOperator, c);
        break;
      }
      default: AddLexem(lkSymbol, c); break;
    }
    first = false;
  }
}

// After '{': integers and commas up to the closing '}'.
void TcxRegExpr::LexBraces()
{
  char c;
  for (;;) {
    if (!ReadByte(c)) {
      AddError(FLine, FColumn + 1, cxEditConsts::sRegExprMissing, "}");
      return;
    }
    if (IsBlank(c)) continue;
    if (IsDigit(c)) {
      const int line = FLine;
      const int column = FColumn;
      AnsiString number(1, c);
      while (FReadPos < static_cast<int>(FText.size()) && IsDigit(FText[FReadPos])) {
        ReadByte(c);
        number += c;
      }
      AddLexem(lkInteger, number, line, column);
      continue;
    }
    switch (c) {
      case ',': AddLexem(lkOperator, c); break;
      case '}': AddLexem(lkOperator, c); return;
      case '\'': AddError(FLine, FColumn, cxEditConsts::sRegExprIllegalSymbol, QuoteArg); break;
      default: AddError(FLine, FColumn, cxEditConsts::sRegExprIllegalSymbol, AnsiString(1, c)); break;
    }
  }
}
