// The walk over a compiled mask: the states the typed text may have ended in, with a history
// so that every step can be taken back, and the completion of fixed characters.
#pragma once

#include <memory>
#include <vector>

#include "controls/editors/regexpr/cxRegExprStates.h"

class TcxRegExpr;
class TcxRegExprParserAlts;

class TcxRegExprAutomat {
public:
  // Takes the parse tree (already linked and marked) and the start state linked into it.
  // AOwner receives the literal notifications; it is not owned.
  TcxRegExprAutomat(std::unique_ptr<TcxRegExprParserAlts> AExpression, std::unique_ptr<TcxRegExprSimpleState> AStart,
                    TcxRegExpr* AOwner);
  ~TcxRegExprAutomat();

  // One step; a refused character changes nothing.
  bool Accept(char& Ch, bool CaseInsensitive);
  // While the position is not complete and the next character is fixed, takes it and reports
  // it to the owner's OnLiteralAdded.
  void CompleteForward();
  // Takes back the fixed characters completion added (reporting each to OnLiteralRemoved).
  void SkipLiteralsBack();
  // One step back; false at the start.
  bool StepBack();
  void Restart();
  bool IsFinal() const { return FCurrent.IsFinal(); }
  bool AtStart() const { return FCurrent.First() == FStart.get(); }
  const TcxRegExprStates& GetCurrent() const { return FCurrent; }

private:
  std::unique_ptr<TcxRegExprParserAlts> FExpression;
  std::unique_ptr<TcxRegExprSimpleState> FStart;
  TcxRegExprStates FCurrent;
  std::vector<TcxRegExprStates> FHistory;  // one list per step taken, oldest first
  TcxRegExpr* FOwner;
};
