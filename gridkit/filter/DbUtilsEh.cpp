#include "gridkit/filter/DbUtilsEh.h"

#include <climits>
#include <vector>

#include "gridkit/shims/ZeDuzVCL.h"
#include "platform/classes/TypInfo.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringUtils.h"

namespace DbUtilsEh {

// ---- tables -----------------------------------------------------------------------------------

const char* const FilterOperatorDisplayText[16] = {"",   "=",  "<>",  ">",    "<",    ">=",  "<=", "~",
                                                   "!~", "In", "!In", "Null", "Null", "AND", "OR", ""};
const char* const FilterOperatorSqlText[16] = {
    "", "=", "<>", ">", "<", ">=", "<=", "LIKE", "NOT LIKE", "IN", "NOT IN", "IS NULL", "IS NOT NULL", "AND", "OR", ""};
const char* const FilterMarkerText = "/*FILTER*/";

TSTValueKindEh FieldTypeToValueKind(TFieldType Type)
{
  switch (Type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
    case ftGuid: return svkString;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
    case ftFMTBcd: return svkNumber;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return svkDateTime;
    case ftBoolean: return svkBoolean;
    default: return svkUnknown;
  }
}

// ---- words and tokens -------------------------------------------------------------------------

namespace {

// Symbol codes of words and single characters; the tokenizer maps them to token codes.
enum Symbol { symLike = 7, symIn = 8, symAnd = 9, symOr = 10, symNot = 12, symBracket = 14, symNull = 17 };
constexpr int TokenValue = 15;

[[noreturn]] void FilterError(const char* Message, const AnsiString& Text) { throw Exception(Message + Text); }

int Len(const AnsiString& Text) { return static_cast<int>(Text.size()); }
char At(const AnsiString& Text, int Pos) { return Text[static_cast<std::size_t>(Pos - 1)]; }

bool IsDelimiter(char C)
{
  switch (C) {
    case ' ':
    case '!':
    case '"':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '+':
    case ',':
    case '-':
    case '.':
    case '<':
    case '=':
    case '>':
    case '|':
    case '~': return true;
    default: return static_cast<unsigned char>(C) < 32;
  }
}

// Steps over a double-byte character at p (its trail byte may look like a delimiter); false
// when the character there is a single byte.
bool SkipDoubleByte(const AnsiString& Text, int& p)
{
  if (!System::IsLeadByte(At(Text, p)) || p >= Len(Text)) return false;
  p += 2;
  return true;
}

// Whole characters up to a delimiter: a double-byte character is one word character, so a
// trail byte that looks like '|' or '~' does not end the word.
AnsiString ReadFilterWord(const AnsiString& Text, int Pos)
{
  int p = Pos;
  while (p <= Len(Text)) {
    if (SkipDoubleByte(Text, p)) continue;
    if (IsDelimiter(At(Text, p))) break;
    ++p;
  }
  return Text.substr(static_cast<std::size_t>(Pos - 1), static_cast<std::size_t>(p - Pos));
}

void SkipBlanks(const AnsiString& Text, int& Pos)
{
  while (Pos <= Len(Text) && At(Text, Pos) == ' ') ++Pos;
}

int SymbolToToken(int Symbol)
{
  switch (Symbol) {
    case symAnd: return sfoAnd;
    case symOr: return sfoOr;
    case symNull: return sfoIsNull;
    case symBracket: return 0;
    default: return Symbol;
  }
}

Variant ReadOperandList(const AnsiString& Text, int& Pos, bool ListCommas);

// The tokenizer. With Peek set an operand is not read: only whether an operator comes next
// matters (a plain operand asks this at every blank, and reading operands there would rescan
// the rest of the text again and again).
void Tokenize(const AnsiString& Text, int& Pos, int& Token, Variant& Value, bool ListCommas, bool Peek)
{
  Value = AnsiString();
  Token = 0;
  if (Pos > Len(Text)) return;
  char c = At(Text, Pos);
  char next = Pos < Len(Text) ? At(Text, Pos + 1) : '\0';
  int symbol = 0;
  switch (c) {
    case '!':
      if (next == '=') {
        symbol = sfoNotEqual;
        Pos += 2;
      } else {
        symbol = symNot;
        Pos += 1;
      }
      break;
    case '&':
      symbol = symAnd;
      ++Pos;
      break;
    case '\'':
      Token = TokenValue;
      if (!Peek) Value = ReadOperandList(Text, Pos, ListCommas);
      return;
    case '(': ++Pos; return;
    case '<':
      if (next == '=') {
        symbol = sfoLessOrEqual;
        Pos += 2;
      } else if (next == '>') {
        symbol = sfoNotEqual;
        Pos += 2;
      } else {
        symbol = sfoLess;
        ++Pos;
      }
      break;
    case '=':
      symbol = sfoEqual;
      ++Pos;
      break;
    case '>':
      if (next == '=') {
        symbol = sfoGreaterOrEqual;
        Pos += 2;
      } else {
        symbol = sfoGreater;
        ++Pos;
      }
      break;
    case '|':
      symbol = symOr;
      ++Pos;
      break;
    case '~':
      symbol = symLike;
      ++Pos;
      break;
    default: {
      AnsiString word = ReadFilterWord(Text, Pos);
      symbol = WordToOperator(word);
      if (symbol != 0) {
        Pos += Len(word);
        break;
      }
      if (Peek) {
        Token = Pos <= Len(Text) ? TokenValue : 0;
        return;
      }
      Value = ReadOperandList(Text, Pos, ListCommas);
      Token = Value.IsNull() ? 0 : TokenValue;
      return;
    }
  }
  SkipBlanks(Text, Pos);
  if (symbol == symNot) {
    // A run of NOTs is walked, not recursed into: a NOT followed by NOT is no token anyway.
    bool repeated = false;
    for (;;) {
      bool bang = Pos <= Len(Text) && At(Text, Pos) == '!' && !(Pos < Len(Text) && At(Text, Pos + 1) == '=');
      AnsiString word = bang ? AnsiString() : ReadFilterWord(Text, Pos);
      if (!bang && (word.empty() || WordToOperator(word) != symNot)) break;
      Pos += bang ? 1 : Len(word);
      SkipBlanks(Text, Pos);
      repeated = true;
    }
    int after = 0;
    Variant ignored;
    Tokenize(Text, Pos, after, ignored, ListCommas, Peek);
    Token = repeated             ? 0
            : after == sfoLike   ? sfoNotLike
            : after == sfoIn     ? sfoNotIn
            : after == sfoIsNull ? sfoIsNotNull
                                 : 0;
    return;
  }
  if (symbol == symIn) {
    if (Pos > Len(Text) || At(Text, Pos) != '(') FilterError("'(' expected: ", Text);
    ++Pos;
    Token = sfoIn;
    return;
  }
  Token = SymbolToToken(symbol);
}

Variant ReadOperand(const AnsiString& Text, int& Pos, bool ListCommas)
{
  if (Pos > Len(Text)) return Variant::Null();
  if (At(Text, Pos) == '\'') {
    auto close = Text.find('\'', static_cast<std::size_t>(Pos));
    if (close == AnsiString::npos) FilterError("Quote is absent: ", Text);
    AnsiString operand = Text.substr(static_cast<std::size_t>(Pos), close - static_cast<std::size_t>(Pos));
    Pos = static_cast<int>(close) + 2;
    return operand;
  }
  int p = Pos;
  while (p <= Len(Text)) {
    if (SkipDoubleByte(Text, p)) continue;
    char c = At(Text, p);
    if (c == '(' || c == ')' || (c == ',' && ListCommas)) break;
    if (c == ' ') {
      int q = p;
      SkipBlanks(Text, q);
      int token = 0;
      Variant ignored;
      Tokenize(Text, q, token, ignored, ListCommas, true);
      if (token >= sfoEqual && token <= sfoOr) break;
    }
    ++p;
  }
  AnsiString operand = Text.substr(static_cast<std::size_t>(Pos - 1), static_cast<std::size_t>(p - Pos));
  Pos = p;
  return operand;
}

Variant ReadOperandList(const AnsiString& Text, int& Pos, bool ListCommas)
{
  Variant first = ReadOperand(Text, Pos, ListCommas);
  if (!ListCommas || first.IsNull() || Pos > Len(Text) || At(Text, Pos) != ',') return first;
  std::vector<Variant> items{first};
  Variant item = first;
  while (ListCommas && !item.IsNull() && Pos <= Len(Text) && At(Text, Pos) == ',') {
    ++Pos;
    item = ReadOperand(Text, Pos, ListCommas);
    items.push_back(item);
  }
  return Variants::VarArrayOf(items);
}

bool DefaultListCommas(TSTValueKindEh Kind) { return !(Kind == svkNumber && SysUtils::DecimalSeparator == ','); }

// One condition from its first token; returns whether it had an IN or NOT IN list.
bool ReadCondition(const AnsiString& Text, int& Pos, int Token, Variant Value, bool& ListCommas, TSTValueKindEh Kind,
                   TSTFilterOpEh& Operator, Variant& Operand)
{
  if (Token == TokenValue) {
    Operator = Value.IsArray() ? sfoIn : Kind == svkString ? sfoLike : sfoEqual;
    Operand = Value;
    return false;
  }
  if (Token == 0) FilterError("Error in expression: ", Text);
  Operator = static_cast<TSTFilterOpEh>(Token);
  bool list = Operator == sfoIn || Operator == sfoNotIn;
  if (list) ListCommas = true;
  SkipBlanks(Text, Pos);
  int operandToken = 0;
  Variant operand;
  NextFilterToken(Text, Pos, operandToken, operand, ListCommas);
  if (operandToken == sfoIsNull) {
    if (Operator == sfoEqual)
      Operator = sfoIsNull;
    else if (Operator == sfoNotEqual)
      Operator = sfoIsNotNull;
    else
      FilterError("Unexpected expression before Null: ", Text);
    list = false;
  } else if (operandToken != TokenValue) {
    FilterError("Unexpected expression after operator: ", Text);
  }
  Operand = operand;
  return list;
}

void ConvertCondition(TSTFilterOpEh Operator, Variant& Operand, TSTValueKindEh Kind)
{
  if (Operator >= sfoEqual && Operator <= sfoNotIn)
    ConvertOperandText(Operand, Kind);
  else
    Operand = Variant::Null();
}

}  // namespace

void NextFilterToken(const AnsiString& Text, int& Pos, int& Token, Variant& Value, bool ListCommas)
{
  Tokenize(Text, Pos, Token, Value, ListCommas, false);
}

int WordToOperator(const AnsiString& Word)
{
  static const char* const fixed[] = {"NOT", "AND", "OR", "LIKE", "IN", "NULL"};
  static const char* const localized[] = {"Not", "AND", "OR", "", "In", "Null"};
  static const int symbols[] = {symNot, symAnd, symOr, symLike, symIn, symNull};
  AnsiString upper = ZeDuzVCL::UpperCaseStr(Word);
  for (int i = 0; i < 6; ++i) {
    if (upper == fixed[i]) return symbols[i];
    if (*localized[i] && upper == ZeDuzVCL::UpperCaseStr(localized[i])) return symbols[i];
  }
  return 0;
}

void ResetFilterExpression(TSTFilterExpressionEh& Expression)
{
  Expression.FirstOperator = sfoNone;
  Expression.FirstOperand = Variant::Null();
  Expression.Conjunction = sfoNone;
  Expression.SecondOperator = sfoNone;
  Expression.SecondOperand = Variant::Null();
}

void ConvertOperandText(Variant& Operand, TSTValueKindEh ValueKind)
{
  if (Operand.IsNull() || Operand.IsEmpty()) return;
  if (Operand.IsArray()) {
    int lo = Variants::VarArrayLowBound(Operand, 1), hi = Variants::VarArrayHighBound(Operand, 1);
    for (int i = lo; i <= hi; ++i) {
      Variant item = Variants::VarArrayGet(Operand, {i});
      ConvertOperandText(item, ValueKind);
      Variants::VarArrayPut(Operand, item, {i});
    }
    return;
  }
  if (ValueKind == svkNumber)
    Operand = SysUtils::StrToFloat(Variants::VarToStr(Operand));
  else if (ValueKind == svkDateTime)
    Operand = SysUtils::StrToDateTime(Variants::VarToStr(Operand));
}

void ParseFilterText(const AnsiString& Text, TSTFilterExpressionEh& Expression)
{
  ResetFilterExpression(Expression);
  AnsiString text = SysUtils::Trim(Text);
  if (text.empty()) return;
  TSTValueKindEh kind = Expression.ValueKind;
  bool listCommas = DefaultListCommas(kind);
  int pos = 1, token = 0;
  Variant value;

  SkipBlanks(text, pos);
  NextFilterToken(text, pos, token, value, listCommas);
  bool list =
      ReadCondition(text, pos, token, value, listCommas, kind, Expression.FirstOperator, Expression.FirstOperand);
  if (list) {
    SkipBlanks(text, pos);
    if (pos > Len(text) || At(text, pos) != ')') FilterError("')' expected: ", text);
    ++pos;
    listCommas = DefaultListCommas(kind);
  }

  SkipBlanks(text, pos);
  NextFilterToken(text, pos, token, value, listCommas);
  if (token == 0) {
    if (pos <= Len(text)) FilterError("Incorrect expression: ", text);
  } else {
    if (token != sfoAnd && token != sfoOr) FilterError("Unexpected AND or OR: ", text);
    Expression.Conjunction = static_cast<TSTFilterOpEh>(token);
    SkipBlanks(text, pos);
    NextFilterToken(text, pos, token, value, listCommas);
    if (token == 0) {
      if (pos <= Len(text)) FilterError("Incorrect expression: ", text);
    } else {
      list =
          ReadCondition(text, pos, token, value, listCommas, kind, Expression.SecondOperator, Expression.SecondOperand);
      SkipBlanks(text, pos);
      if (list && pos <= Len(text) && At(text, pos) == ')') ++pos;
      // Only two conditions are supported: a third one is refused rather than silently dropped.
      SkipBlanks(text, pos);
      if (pos <= Len(text)) FilterError("Incorrect expression: ", text);
    }
  }
  ConvertCondition(Expression.FirstOperator, Expression.FirstOperand, kind);
  ConvertCondition(Expression.SecondOperator, Expression.SecondOperand, kind);
}

// ---- adapters ---------------------------------------------------------------------------------

namespace {
std::vector<std::unique_ptr<TDataSetFilterSortAdapterEh>>& Adapters()
{
  static std::vector<std::unique_ptr<TDataSetFilterSortAdapterEh>> list;
  return list;
}
}  // namespace

void RegisterDataSetAdapter(std::unique_ptr<TDataSetFilterSortAdapterEh> Adapter)
{
  if (Adapter) Adapters().push_back(std::move(Adapter));
}

int ClassNameDistance(TClass Class, const AnsiString& Name)
{
  AnsiString upper = SysUtils::UpperCase(Name);
  int distance = 0;
  for (TClass c = Class; c; c = c->ClassParent(), ++distance)
    if (SysUtils::UpperCase(c->ClassName()) == upper) return distance;
  return INT_MAX;
}

TDataSetFilterSortAdapterEh* AdapterForDataSetClass(TClass DataSetClass)
{
  TDataSetFilterSortAdapterEh* best = nullptr;
  int bestDistance = INT_MAX;
  if (!DataSetClass) return nullptr;
  for (auto& adapter : Adapters()) {
    if (!adapter->ServedClass || !DataSetClass->InheritsFrom(adapter->ServedClass)) continue;
    int d = ClassNameDistance(DataSetClass, adapter->ServedClass->ClassName());
    if (d < bestDistance) {
      bestDistance = d;
      best = adapter.get();
    }
  }
  return best;
}

TDataSetFilterSortAdapterEh* AdapterForDataSet(TDataSet* DataSet)
{
  return DataSet ? AdapterForDataSetClass(DataSet->ClassType()) : nullptr;
}

void ClearAdapterRegistry() { Adapters().clear(); }

}  // namespace DbUtilsEh
