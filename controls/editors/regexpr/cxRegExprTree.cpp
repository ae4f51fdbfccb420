#include "controls/editors/regexpr/cxRegExprTree.h"

TcxRegExprParserItem::TcxRegExprParserItem() : FQuantifier(std::make_unique<TcxRegExprSimpleQuantifier>()) {}

TcxRegExprParserItem::TcxRegExprParserItem(std::unique_ptr<TcxRegExprQuantifier> AQuantifier)
    : FQuantifier(AQuantifier ? std::move(AQuantifier) : std::make_unique<TcxRegExprSimpleQuantifier>())
{}

bool TcxRegExprParserItem::HasNoQuantifier() const
{
  return dynamic_cast<const TcxRegExprSimpleQuantifier*>(FQuantifier.get()) != nullptr;
}

void TcxRegExprParserItem::ReplaceQuantifier(std::unique_ptr<TcxRegExprQuantifier> AQuantifier)
{
  if (AQuantifier) FQuantifier = std::move(AQuantifier);
}

// ---- simple item ----

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> AItem)
    : FState(std::make_unique<TcxRegExprSimpleState>(std::move(AItem)))
{}

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprSimpleState> AState,
                                                       std::unique_ptr<TcxRegExprQuantifier> AQuantifier)
    : TcxRegExprParserItem(std::move(AQuantifier)), FState(std::move(AState))
{}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserSimpleItem::Copy() const
{
  std::unique_ptr<TcxRegExprState> state = FState->Copy();
  return std::make_unique<TcxRegExprParserSimpleItem>(
      std::unique_ptr<TcxRegExprSimpleState>(static_cast<TcxRegExprSimpleState*>(state.release())),
      GetQuantifier().Copy());
}

// ---- alternative ----

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserAlt::ExtractLast()
{
  std::unique_ptr<TcxRegExprParserItem> item = std::move(FItems.back());
  FItems.pop_back();
  return item;
}

std::unique_ptr<TcxRegExprParserAlt> TcxRegExprParserAlt::Copy() const
{
  auto result = std::make_unique<TcxRegExprParserAlt>();
  for (const auto& item : FItems) result->Add(item->Copy());
  return result;
}

bool TcxRegExprParserAlt::CanBeEmpty() const
{
  for (const auto& item : FItems)
    if (!item->MatchesEmpty()) return false;
  return true;
}

bool TcxRegExprParserAlt::AllMayBeAbsent() const
{
  for (const auto& item : FItems)
    if (!item->MayBeAbsent()) return false;
  return true;
}

void TcxRegExprParserAlt::LinkFirstStates(TcxRegExprState* AFrom) const
{
  for (const auto& item : FItems) {
    AFrom->AddLink(item->Entry());
    if (!item->MayBeAbsent()) break;
  }
}

void TcxRegExprParserAlt::LinkLastStates(TcxRegExprState* ATo) const
{
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    (*it)->Exit()->AddLink(ATo);
    if (!(*it)->MayBeAbsent()) break;
  }
}

void TcxRegExprParserAlt::Link() const
{
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    TcxRegExprParserItem* item = FItems[i].get();
    for (std::size_t j = i + 1; j < FItems.size(); ++j) {
      item->Exit()->AddLink(FItems[j]->Entry());
      if (!FItems[j]->MayBeAbsent()) break;
    }
    if (item->MayRepeat()) item->Exit()->AddLink(item->Entry());
    item->LinkInside();
  }
}

void TcxRegExprParserAlt::MarkFinal() const
{
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    (*it)->MarkFinal();
    if (!(*it)->MayBeAbsent()) break;
  }
}

int TcxRegExprParserAlt::StateCount() const
{
  int count = 0;
  for (const auto& item : FItems) count += item->StateCount();
  return count;
}

// ---- alternatives ----

TcxRegExprParserAlt* TcxRegExprParserAlts::Add()
{
  FItems.push_back(std::make_unique<TcxRegExprParserAlt>());
  return FItems.back().get();
}

void TcxRegExprParserAlts::CopyFrom(const TcxRegExprParserAlts& ASource)
{
  for (const auto& alt : ASource.FItems) FItems.push_back(alt->Copy());
}

int TcxRegExprParserAlts::StateCount() const
{
  int count = 0;
  for (const auto& alt : FItems) count += alt->StateCount();
  return count;
}

// ---- group ----

TcxRegExprParserBlockItem::TcxRegExprParserBlockItem() : TcxRegExprParserBlockItem(nullptr) {}

TcxRegExprParserBlockItem::TcxRegExprParserBlockItem(std::unique_ptr<TcxRegExprQuantifier> AQuantifier)
    : TcxRegExprParserItem(std::move(AQuantifier)), FEntry(std::make_unique<TcxRegExprBlockState>()),
      FExit(std::make_unique<TcxRegExprBlockState>())
{}

bool TcxRegExprParserBlockItem::MatchesEmpty() const
{
  if (MayBeAbsent()) return true;
  for (int i = 0; i < FAlts.Count(); ++i)
    if (FAlts.Items(i)->CanBeEmpty()) return true;
  return false;
}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserBlockItem::Copy() const
{
  auto result = std::make_unique<TcxRegExprParserBlockItem>(GetQuantifier().Copy());
  result->FAlts.CopyFrom(FAlts);
  return result;
}

void TcxRegExprParserBlockItem::MarkFinal()
{
  for (int i = 0; i < FAlts.Count(); ++i) FAlts.Items(i)->MarkFinal();
}

void TcxRegExprParserBlockItem::LinkInside()
{
  bool passThrough = false;
  for (int i = 0; i < FAlts.Count(); ++i) {
    FAlts.Items(i)->LinkFirstStates(FEntry.get());
    if (FAlts.Items(i)->AllMayBeAbsent()) passThrough = true;
  }
  if (passThrough) FEntry->AddLink(FExit.get());
  for (int i = 0; i < FAlts.Count(); ++i) FAlts.Items(i)->Link();
  for (int i = 0; i < FAlts.Count(); ++i) FAlts.Items(i)->LinkLastStates(FExit.get());
}
