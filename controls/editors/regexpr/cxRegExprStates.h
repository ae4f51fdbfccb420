// The state graph a compiled mask is walked on, one typed character at a time.
//
// A simple state matches one character with its item; a block state is a pass-through node at
// the entry or exit of a group. Links are not owned: the parse tree owns every state.
// Walks follow pass-through states once per step, so neither a cycle nor a diamond of block
// states can make a step loop or grow.
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

#include "controls/editors/regexpr/cxRegExprItems.h"

class TcxRegExprState;

// A non-owning list of states without duplicates, in the order they were first added.
class TcxRegExprStates {
public:
  // Adds AState unless it is already in the list.
  void Add(TcxRegExprState* AState);
  int Count() const { return static_cast<int>(FItems.size()); }
  bool IsEmpty() const { return FItems.empty(); }
  TcxRegExprState* Items(int Index) const { return FItems[Index]; }
  TcxRegExprState* First() const { return FItems.empty() ? nullptr : FItems.front(); }
  bool Contains(const TcxRegExprState* AState) const { return FSet.count(AState) != 0; }
  void Clear();

  // The simple states the successors of these states reach by matching Ch. Ch may be rewritten
  // to the pattern's case by a case-insensitive symbol.
  TcxRegExprStates Consume(char& Ch, bool CaseInsensitive) const;
  // The simple states the next character could reach.
  TcxRegExprStates Candidates() const;
  // Some state is final.
  bool IsFinal() const;
  // True when the list is not empty and every state is a fixed character (a symbol or a
  // separator), all the same one; Ch receives it. Separators are read from the locale now.
  bool IsForcedLiteral(char& Ch) const;

private:
  std::vector<TcxRegExprState*> FItems;
  std::unordered_set<const TcxRegExprState*> FSet;
};

// Block states already followed during one step.
using TcxRegExprVisited = std::unordered_set<const TcxRegExprState*>;

class TcxRegExprState {
public:
  virtual ~TcxRegExprState() = default;
  void AddLink(TcxRegExprState* AState) { FLinks.push_back(AState); }
  const std::vector<TcxRegExprState*>& Links() const { return FLinks; }

  // Appends to AResult the simple states reached from here by matching Ch.
  virtual void Consume(char& Ch, bool CaseInsensitive, TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) = 0;
  // A copy without links.
  virtual std::unique_ptr<TcxRegExprState> Copy() const = 0;
  // Appends to AResult the simple states this state stands for.
  virtual void Expand(TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) = 0;

private:
  std::vector<TcxRegExprState*> FLinks;
};

class TcxRegExprSimpleState : public TcxRegExprState {
public:
  // AItem may be null only for the start state, which matches nothing.
  explicit TcxRegExprSimpleState(std::unique_ptr<TcxRegExprItem> AItem) : FItem(std::move(AItem)) {}
  void Consume(char& Ch, bool CaseInsensitive, TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) override;
  std::unique_ptr<TcxRegExprState> Copy() const override;
  void Expand(TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) override;

  const TcxRegExprItem* GetItem() const { return FItem.get(); }
  bool GetFinal() const { return FFinal; }
  void SetFinal(bool Value) { FFinal = Value; }

private:
  std::unique_ptr<TcxRegExprItem> FItem;
  bool FFinal = false;
};

class TcxRegExprBlockState : public TcxRegExprState {
public:
  void Consume(char& Ch, bool CaseInsensitive, TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) override;
  std::unique_ptr<TcxRegExprState> Copy() const override;
  void Expand(TcxRegExprStates& AResult, TcxRegExprVisited& AVisited) override;
};
