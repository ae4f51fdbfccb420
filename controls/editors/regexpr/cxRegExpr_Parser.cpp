// Parsing the lexemes into the tree of alternatives, groups, sets and quantifiers. Errors are
// collected and parsing goes on, so that one compile reports every error of the mask.
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/regexpr/cxRegExpr.h"
#include "controls/editors/regexpr/cxRegExprTree.h"

namespace {

bool IsOperator(const TcxLexem* ALexem, char AOperator)
{
  return ALexem && ALexem->Code == lkOperator && ALexem->Value[0] == AOperator;
}

// The class or separator a lexeme stands for; null for symbols, operators and the rest.
std::unique_ptr<TcxRegExprItem> ClassItem(int ACode)
{
  switch (ACode) {
    case lkAnyChar: return std::make_unique<TcxRegExprAll>();
    case lkIdLetter: return std::make_unique<TcxRegExprIdLetter>(false);
    case lkNotIdLetter: return std::make_unique<TcxRegExprIdLetter>(true);
    case lkDigit: return std::make_unique<TcxRegExprDigit>(false);
    case lkNotDigit: return std::make_unique<TcxRegExprDigit>(true);
    case lkSpace: return std::make_unique<TcxRegExprSpace>(false);
    case lkNotSpace: return std::make_unique<TcxRegExprSpace>(true);
    case lkDateSeparator: return std::make_unique<TcxRegExprDateSeparator>();
    case lkTimeSeparator: return std::make_unique<TcxRegExprTimeSeparator>();
    default: return nullptr;
  }
}

// A count of a counted quantifier; anything beyond the limit reads as the limit + 1.
int CountValue(const AnsiString& ADigits)
{
  long long value = 0;
  for (char c : ADigits) {
    value = value * 10 + (c - '0');
    if (value > TcxRegExpr::MaxQuantifierCount) return TcxRegExpr::MaxQuantifierCount + 1;
  }
  return static_cast<int>(value);
}

// The optional tail of "{n,m}": m - n nested optional copies, "(x(x)?)?" for two.
std::unique_ptr<TcxRegExprParserItem> OptionalChain(const TcxRegExprParserItem& AItem, int ACount)
{
  if (ACount == 1) {
    std::unique_ptr<TcxRegExprParserItem> last = AItem.Copy();
    last->ReplaceQuantifier(std::make_unique<TcxRegExprQuestionQuantifier>());
    return last;
  }
  auto group = std::make_unique<TcxRegExprParserBlockItem>(std::make_unique<TcxRegExprQuestionQuantifier>());
  TcxRegExprParserAlt* alt = group->GetAlts().Add();
  alt->Add(AItem.Copy());
  alt->Add(OptionalChain(AItem, ACount - 1));
  return group;
}

}  // namespace

const TcxLexem* TcxRegExpr::PeekLexem() const
{
  return FLexemPos < FLexems.Count() ? &FLexems.Items(FLexemPos) : nullptr;
}

const TcxLexem* TcxRegExpr::NextLexem()
{
  const TcxLexem* lexem = PeekLexem();
  if (lexem) ++FLexemPos;
  return lexem;
}

void TcxRegExpr::Parse()
{
  FExpression = std::make_unique<TcxRegExprParserAlts>();
  while (ParseAlternative(*FExpression->Add(), false)) {}
}

void TcxRegExpr::ParseGroup(TcxRegExprParserBlockItem& AGroup)
{
  while (ParseAlternative(*AGroup.GetAlts().Add(), true)) {}
}

// Reads one alternative into AAlt; true when another alternative follows.
bool TcxRegExpr::ParseAlternative(TcxRegExprParserAlt& AAlt, bool AInGroup)
{
  const TcxLexem* first = PeekLexem();
  if (!first) {
    AddError(0, 0, cxEditConsts::sRegExprEmptyAlternative);
    return false;
  }
  if (IsOperator(first, '|')) {
    AddError(first->Line, first->Column, cxEditConsts::sRegExprEmptyAlternative);
    NextLexem();
    return true;
  }
  if (AInGroup && IsOperator(first, ')')) {
    AddError(first->Line, first->Column, cxEditConsts::sRegExprEmptyBlock);
    NextLexem();
    return false;
  }
  while (const TcxLexem* lexem = NextLexem()) {
    switch (lexem->Code) {
      case lkSymbol:
        AAlt.Add(std::make_unique<TcxRegExprParserSimpleItem>(std::make_unique<TcxRegExprSymbol>(lexem->Value[0])));
        ++FStateCount;
        break;
      case lkOperator:
        switch (lexem->Value[0]) {
          case '(': {
            auto group = std::make_unique<TcxRegExprParserBlockItem>();
            FStateCount += 2;
            FGroups.push_back(group.get());
            ParseGroup(*group);
            AAlt.Add(std::move(group));
            break;
          }
          case ')':
            if (AInGroup) return false;
            AddError(lexem->Line, lexem->Column, cxEditConsts::sRegExprIllegalSymbol, ")");
            break;
          case '*':
          case '+':
          case '?': ParseQuantifier(AAlt, *lexem); break;
          case '{': ParseCountedQuantifier(AAlt, *lexem); break;
          case '[': ParseEnumeration(AAlt); break;
          case '|': return true;
          case '-':
          case ']':
          case '}': AddError(lexem->Line, lexem->Column, cxEditConsts::sRegExprIllegalSymbol, lexem->Value); break;
          default:  // ',' and '^' out of place mean nothing
            break;
        }
        break;
      case lkInteger: AddError(lexem->Line, lexem->Column, cxEditConsts::sRegExprIllegalIntegerValue); break;
      case lkReference: ParseReference(AAlt, *lexem); break;
      default: AddSimpleItem(AAlt, *lexem); break;
    }
  }
  return false;
}

void TcxRegExpr::AddSimpleItem(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem)
{
  std::unique_ptr<TcxRegExprItem> item = ClassItem(ALexem.Code);
  if (!item) item = std::make_unique<TcxRegExprSymbol>(ALexem.Value[0]);
  AAlt.Add(std::make_unique<TcxRegExprParserSimpleItem>(std::move(item)));
  ++FStateCount;
}

// "*", "+" or "?" after the last item. An item that already has a quantifier is wrapped in a
// group, so "a+*" is "(a+)*".
void TcxRegExpr::ParseQuantifier(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem)
{
  const char op = ALexem.Value[0];
  TcxRegExprParserItem* last = AAlt.Last();
  if (!last) {
    AddError(ALexem.Line, ALexem.Column, cxEditConsts::sRegExprIllegalQuantifier, ALexem.Value);
    return;
  }
  // repeating an item that can match nothing would loop through its pass-through states
  if (op != '?' && last->MatchesEmpty()) {
    AddError(ALexem.Line, ALexem.Column,
             op == '*' ? cxEditConsts::sRegExprCantUseStarQuantifier : cxEditConsts::sRegExprCantUsePlusQuantifier);
    return;
  }
  std::unique_ptr<TcxRegExprQuantifier> quantifier;
  if (op == '*')
    quantifier = std::make_unique<TcxRegExprStarQuantifier>();
  else if (op == '+')
    quantifier = std::make_unique<TcxRegExprPlusQuantifier>();
  else
    quantifier = std::make_unique<TcxRegExprQuestionQuantifier>();
  if (last->HasNoQuantifier()) {
    last->ReplaceQuantifier(std::move(quantifier));
    return;
  }
  auto group = std::make_unique<TcxRegExprParserBlockItem>(std::move(quantifier));
  FStateCount += 2;
  group->GetAlts().Add()->Add(AAlt.ExtractLast());
  AAlt.Add(std::move(group));
}

void TcxRegExpr::SkipToClosingBrace()
{
  while (const TcxLexem* lexem = NextLexem())
    if (IsOperator(lexem, '}')) return;
}

// "{n}", "{n,}" or "{n,m}" after the last item: the item is replaced by a group of copies.
void TcxRegExpr::ParseCountedQuantifier(TcxRegExprParserAlt& AAlt, const TcxLexem& ABrace)
{
  TcxRegExprParserItem* last = AAlt.Last();
  if (!last) {
    AddError(ABrace.Line, ABrace.Column, cxEditConsts::sRegExprIncorrectParameterQuantifier);
    SkipToClosingBrace();
    return;
  }
  auto incorrect = [this](const TcxLexem* at, const TcxLexem& fallback) {
    const TcxLexem& where = at ? *at : fallback;
    AddError(where.Line, where.Column, cxEditConsts::sRegExprIncorrectParameterQuantifier);
    if (!IsOperator(at, '}')) SkipToClosingBrace();
  };
  const TcxLexem* lexem = NextLexem();
  if (!lexem || lexem->Code != lkInteger) return incorrect(lexem, ABrace);
  const TcxLexem& minLexem = *lexem;
  const int minCount = CountValue(lexem->Value);
  const TcxLexem* maxLexem = lexem;
  int maxCount = minCount;
  bool unbounded = false;
  const TcxLexem* closing = NextLexem();
  if (IsOperator(closing, ',')) {
    lexem = NextLexem();
    if (IsOperator(lexem, '}')) {
      unbounded = true;
      closing = lexem;
    } else {
      if (!lexem || lexem->Code != lkInteger) return incorrect(lexem, ABrace);
      maxCount = CountValue(lexem->Value);
      maxLexem = lexem;
      closing = NextLexem();
      if (maxCount < minCount) return incorrect(lexem, ABrace);
    }
  }
  if (!IsOperator(closing, '}')) return incorrect(closing, ABrace);
  if (minCount > MaxQuantifierCount || maxCount > MaxQuantifierCount) {
    const TcxLexem& tooBig = minCount > MaxQuantifierCount ? minLexem : *maxLexem;
    AddError(tooBig.Line, tooBig.Column, cxEditConsts::sRegExprIncorrectParameterQuantifier);
    return;
  }
  // "{n,}" on an item that can match nothing would loop like "*" on it
  if (last->MayBeAbsent() || (unbounded && last->MatchesEmpty())) {
    AddError(closing->Line, closing->Column, cxEditConsts::sRegExprCantUseParameterQuantifier);
    return;
  }
  const int optional = unbounded ? 0 : maxCount - minCount;
  const long long copies = minCount + (unbounded ? 1 : 0) + optional;
  const long long added = copies * last->StateCount() + 2LL * (1 + (optional > 1 ? optional - 1 : 0));
  if (FStateCount + added > MaxStateCount) {
    AddError(minLexem.Line, minLexem.Column, cxEditConsts::sRegExprIncorrectParameterQuantifier);
    return;
  }
  FStateCount += static_cast<int>(added);

  std::unique_ptr<TcxRegExprParserItem> item = AAlt.ExtractLast();
  auto group = std::make_unique<TcxRegExprParserBlockItem>();
  TcxRegExprParserAlt* alt = group->GetAlts().Add();
  for (int i = 0; i < minCount; ++i) alt->Add(item->Copy());
  if (unbounded) {
    std::unique_ptr<TcxRegExprParserItem> more = item->Copy();
    more->ReplaceQuantifier(std::make_unique<TcxRegExprStarQuantifier>());
    alt->Add(std::move(more));
  } else if (optional > 0) {
    alt->Add(OptionalChain(*item, optional));
  }
  AAlt.Add(std::move(group));
  FReplacedItems.push_back(std::move(item));
}

// After '[': a set of symbols, subranges and classes.
void TcxRegExpr::ParseEnumeration(TcxRegExprParserAlt& AAlt)
{
  bool inverse = false;
  if (IsOperator(PeekLexem(), '^')) {
    inverse = true;
    NextLexem();
  }
  if (IsOperator(PeekLexem(), ']')) {
    const TcxLexem* closing = NextLexem();
    AddError(closing->Line, closing->Column, cxEditConsts::sRegExprCantCreateEmptyEnum);
    return;
  }
  auto enumeration = std::make_unique<TcxRegExprUserEnumeration>(inverse);
  bool afterSubrange = false;
  while (const TcxLexem* lexem = NextLexem()) {
    if (IsOperator(lexem, ']')) break;
    if (afterSubrange && IsOperator(lexem, '-')) {
      AddError(lexem->Line, lexem->Column, cxEditConsts::sRegExprIllegalSymbol, "-");
      continue;
    }
    afterSubrange = false;
    if (IsOperator(PeekLexem(), '-')) {
      NextLexem();
      const TcxLexem* finish = NextLexem();
      if (!finish || IsOperator(finish, ']')) break;  // the lexer never leaves a dash there
      const auto start = static_cast<unsigned char>(lexem->Value[0]);
      const auto end = static_cast<unsigned char>(finish->Value[0]);
      if (start < end)
        enumeration->Add(std::make_unique<TcxRegExprSubrange>(lexem->Value[0], finish->Value[0]));
      else
        AddError(finish->Line, finish->Column, cxEditConsts::sRegExprSubrangeOrder);
      afterSubrange = true;
      continue;
    }
    std::unique_ptr<TcxRegExprItem> member = ClassItem(lexem->Code);
    if (!member || lexem->Code == lkAnyChar) member = std::make_unique<TcxRegExprSymbol>(lexem->Value[0]);
    enumeration->Add(std::move(member));
  }
  AAlt.Add(std::make_unique<TcxRegExprParserSimpleItem>(std::move(enumeration)));
  ++FStateCount;
}

// "\n": a copy of group n as parsed so far.
void TcxRegExpr::ParseReference(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem)
{
  const int index = ALexem.Value[0] - '1';
  if (index >= static_cast<int>(FGroups.size())) {
    AddError(ALexem.Line, ALexem.Column, cxEditConsts::sRegExprTooBigReferenceNumber);
    return;
  }
  const TcxRegExprParserBlockItem* group = FGroups[index];
  const int size = group->StateCount();
  if (FStateCount + size > MaxStateCount) {
    AddError(ALexem.Line, ALexem.Column, cxEditConsts::sRegExprTooBigReferenceNumber);
    return;
  }
  FStateCount += size;
  AAlt.Add(group->Copy());
}
