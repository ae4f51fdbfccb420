#include "controls/editors/regexpr/cxRegExprAutomat.h"

#include <algorithm>
#include <set>
#include <vector>

#include "controls/editors/regexpr/cxRegExpr.h"
#include "controls/editors/regexpr/cxRegExprTree.h"

TcxRegExprAutomat::TcxRegExprAutomat(std::unique_ptr<TcxRegExprParserAlts> AExpression,
                                     std::unique_ptr<TcxRegExprSimpleState> AStart, TcxRegExpr* AOwner)
    : FExpression(std::move(AExpression)), FStart(std::move(AStart)), FOwner(AOwner)
{
  FCurrent.Add(FStart.get());
}

TcxRegExprAutomat::~TcxRegExprAutomat() = default;

bool TcxRegExprAutomat::Accept(char& Ch, bool CaseInsensitive)
{
  TcxRegExprStates next = FCurrent.Consume(Ch, CaseInsensitive);
  if (next.IsEmpty()) return false;
  FHistory.push_back(std::move(FCurrent));
  FCurrent = std::move(next);
  return true;
}

namespace {
// The states of a list in a fixed order, to tell whether a walk has been at a list before.
std::vector<const TcxRegExprState*> KeyOf(const TcxRegExprStates& AStates)
{
  std::vector<const TcxRegExprState*> key;
  for (int i = 0; i < AStates.Count(); ++i) key.push_back(AStates.Items(i));
  std::sort(key.begin(), key.end());
  return key;
}
}  // namespace

void TcxRegExprAutomat::CompleteForward()
{
  // A loop of fixed characters from which the text can never end (the mask 2*,{0}) would add
  // literals for ever: completion stops when it comes back to a list it has passed.
  std::set<std::vector<const TcxRegExprState*>> passed;
  while (!FCurrent.IsFinal()) {
    TcxRegExprStates candidates = FCurrent.Candidates();
    char literal;
    if (!candidates.IsForcedLiteral(literal)) return;
    passed.insert(KeyOf(FCurrent));
    if (passed.count(KeyOf(candidates))) return;
    FOwner->DoLiteralAdded(literal);
    FHistory.push_back(std::move(FCurrent));
    FCurrent = std::move(candidates);
  }
}

void TcxRegExprAutomat::SkipLiteralsBack()
{
  char literal;
  while (FCurrent.IsForcedLiteral(literal)) {
    if (FHistory.empty()) return;
    const TcxRegExprStates& previous = FHistory.back();
    char previousLiteral;
    if (!previous.Candidates().IsForcedLiteral(previousLiteral) || previous.IsFinal()) return;
    FOwner->DoLiteralRemoved();
    FCurrent = std::move(FHistory.back());
    FHistory.pop_back();
  }
}

bool TcxRegExprAutomat::StepBack()
{
  if (FHistory.empty()) return false;
  FCurrent = std::move(FHistory.back());
  FHistory.pop_back();
  return true;
}

void TcxRegExprAutomat::Restart()
{
  FHistory.clear();
  FCurrent.Clear();
  FCurrent.Add(FStart.get());
}
