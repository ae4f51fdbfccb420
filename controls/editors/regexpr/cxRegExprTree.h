// The parse tree of a mask: items with their quantifiers, groups of alternatives, and the
// linking of their states into the graph that is walked.
//
// The tree owns every state; the links between states are plain pointers made by Link after
// parsing (copies made during parsing carry no links).
#pragma once

#include <memory>
#include <vector>

#include "controls/editors/regexpr/cxRegExprItems.h"
#include "controls/editors/regexpr/cxRegExprStates.h"

class TcxRegExprParserAlts;

class TcxRegExprParserItem {
public:
  TcxRegExprParserItem();
  explicit TcxRegExprParserItem(std::unique_ptr<TcxRegExprQuantifier> AQuantifier);
  virtual ~TcxRegExprParserItem() = default;

  // The item can match the empty text (its quantifier allows none, or, for a group, some
  // alternative of its own can).
  virtual bool MatchesEmpty() const = 0;
  // A deep copy with the same quantifier and no links.
  virtual std::unique_ptr<TcxRegExprParserItem> Copy() const = 0;
  // Marks the states the text may end in when it ends with this item.
  virtual void MarkFinal() = 0;

  // The state a walk enters this item by, and the one it leaves by (the same for a simple item).
  virtual TcxRegExprState* Entry() const = 0;
  virtual TcxRegExprState* Exit() const = 0;
  // Links the states inside the item (nothing for a simple item).
  virtual void LinkInside() {}
  // The number of states the item holds, nested groups included.
  virtual int StateCount() const = 0;

  bool MayBeAbsent() const { return FQuantifier->AllowsNone(); }
  bool MayRepeat() const { return FQuantifier->AllowsMany(); }
  bool HasNoQuantifier() const;
  // Takes AQuantifier in place of the current one; null is ignored.
  void ReplaceQuantifier(std::unique_ptr<TcxRegExprQuantifier> AQuantifier);
  const TcxRegExprQuantifier& GetQuantifier() const { return *FQuantifier; }

private:
  std::unique_ptr<TcxRegExprQuantifier> FQuantifier;
};

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
public:
  explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> AItem);
  TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprSimpleState> AState,
                             std::unique_ptr<TcxRegExprQuantifier> AQuantifier);
  bool MatchesEmpty() const override { return MayBeAbsent(); }
  std::unique_ptr<TcxRegExprParserItem> Copy() const override;
  void MarkFinal() override { FState->SetFinal(true); }
  TcxRegExprState* Entry() const override { return FState.get(); }
  TcxRegExprState* Exit() const override { return FState.get(); }
  int StateCount() const override { return 1; }
  TcxRegExprSimpleState* GetState() const { return FState.get(); }

private:
  std::unique_ptr<TcxRegExprSimpleState> FState;
};

// One alternative: items in order (owned).
class TcxRegExprParserAlt {
public:
  void Add(std::unique_ptr<TcxRegExprParserItem> AItem) { FItems.push_back(std::move(AItem)); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxRegExprParserItem* Items(int Index) const { return FItems[Index].get(); }
  TcxRegExprParserItem* Last() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  // Takes the last item out of the alternative and hands it to the caller.
  std::unique_ptr<TcxRegExprParserItem> ExtractLast();
  std::unique_ptr<TcxRegExprParserAlt> Copy() const;

  // Every item matches the empty text.
  bool CanBeEmpty() const;
  // Every item's own quantifier allows it to be missing.
  bool AllMayBeAbsent() const;
  // Links AFrom to the entries of the leading items, up to the first one that must be present.
  void LinkFirstStates(TcxRegExprState* AFrom) const;
  // Links the exits of the trailing items, back to the last one that must be present, to ATo.
  void LinkLastStates(TcxRegExprState* ATo) const;
  // Links the items to each other, and the states inside each item.
  void Link() const;
  // Marks the trailing items final, back to the last one that must be present.
  void MarkFinal() const;
  int StateCount() const;

private:
  std::vector<std::unique_ptr<TcxRegExprParserItem>> FItems;
};

class TcxRegExprParserAlts {
public:
  TcxRegExprParserAlt* Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxRegExprParserAlt* Items(int Index) const { return FItems[Index].get(); }
  void CopyFrom(const TcxRegExprParserAlts& ASource);
  int StateCount() const;

private:
  std::vector<std::unique_ptr<TcxRegExprParserAlt>> FItems;
};

// A group: entry and exit pass-through states around its alternatives.
class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
public:
  TcxRegExprParserBlockItem();
  explicit TcxRegExprParserBlockItem(std::unique_ptr<TcxRegExprQuantifier> AQuantifier);
  bool MatchesEmpty() const override;
  std::unique_ptr<TcxRegExprParserItem> Copy() const override;
  void MarkFinal() override;
  TcxRegExprState* Entry() const override { return FEntry.get(); }
  TcxRegExprState* Exit() const override { return FExit.get(); }
  void LinkInside() override;
  int StateCount() const override { return 2 + FAlts.StateCount(); }
  TcxRegExprParserAlts& GetAlts() { return FAlts; }

private:
  std::unique_ptr<TcxRegExprBlockState> FEntry;
  std::unique_ptr<TcxRegExprBlockState> FExit;
  TcxRegExprParserAlts FAlts;
};
