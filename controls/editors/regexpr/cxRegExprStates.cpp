#include "controls/editors/regexpr/cxRegExprStates.h"

#include "platform/rtl/FormatSettings.h"

void TcxRegExprStates::Add(TcxRegExprState* AState)
{
  if (FSet.insert(AState).second) FItems.push_back(AState);
}

void TcxRegExprStates::Clear()
{
  FItems.clear();
  FSet.clear();
}

TcxRegExprStates TcxRegExprStates::Consume(char& Ch, bool CaseInsensitive) const
{
  TcxRegExprStates result;
  TcxRegExprVisited visited;
  for (TcxRegExprState* state : FItems)
    for (TcxRegExprState* next : state->Links()) next->Consume(Ch, CaseInsensitive, result, visited);
  return result;
}

TcxRegExprStates TcxRegExprStates::Candidates() const
{
  TcxRegExprStates result;
  TcxRegExprVisited visited;
  for (TcxRegExprState* state : FItems)
    for (TcxRegExprState* next : state->Links()) next->Expand(result, visited);
  return result;
}

bool TcxRegExprStates::IsFinal() const
{
  for (TcxRegExprState* state : FItems) {
    auto* simple = dynamic_cast<TcxRegExprSimpleState*>(state);
    if (simple && simple->GetFinal()) return true;
  }
  return false;
}

bool TcxRegExprStates::IsForcedLiteral(char& Ch) const
{
  if (FItems.empty()) return false;
  char literal = 0;
  bool first = true;
  for (TcxRegExprState* state : FItems) {
    auto* simple = dynamic_cast<TcxRegExprSimpleState*>(state);
    if (!simple) return false;
    const TcxRegExprItem* item = simple->GetItem();
    char c;
    if (auto* symbol = dynamic_cast<const TcxRegExprSymbol*>(item))
      c = symbol->GetSymbol();
    else if (dynamic_cast<const TcxRegExprTimeSeparator*>(item))
      c = SysUtils::TimeSeparator;
    else if (dynamic_cast<const TcxRegExprDateSeparator*>(item))
      c = SysUtils::DateSeparator;
    else
      return false;
    if (first) {
      literal = c;
      first = false;
    } else if (c != literal) {
      return false;
    }
  }
  Ch = literal;
  return true;
}

void TcxRegExprSimpleState::Consume(char& Ch, bool CaseInsensitive, TcxRegExprStates& AResult, TcxRegExprVisited&)
{
  if (FItem && FItem->Matches(Ch, CaseInsensitive)) AResult.Add(this);
}

std::unique_ptr<TcxRegExprState> TcxRegExprSimpleState::Copy() const
{
  return std::make_unique<TcxRegExprSimpleState>(FItem ? FItem->Copy() : nullptr);
}

void TcxRegExprSimpleState::Expand(TcxRegExprStates& AResult, TcxRegExprVisited&) { AResult.Add(this); }

void TcxRegExprBlockState::Consume(char& Ch, bool CaseInsensitive, TcxRegExprStates& AResult,
                                   TcxRegExprVisited& AVisited)
{
  if (!AVisited.insert(this).second) return;
  for (TcxRegExprState* next : Links()) next->Consume(Ch, CaseInsensitive, AResult, AVisited);
}

std::unique_ptr<TcxRegExprState> TcxRegExprBlockState::Copy() const { return std::make_unique<TcxRegExprBlockState>(); }

void TcxRegExprBlockState::Expand(TcxRegExprStates& AResult, TcxRegExprVisited& AVisited)
{
  if (!AVisited.insert(this).second) return;
  for (TcxRegExprState* next : Links()) next->Expand(AResult, AVisited);
}
