// Totals: the SUM, AVG, MIN, MAX and COUNT calls found in the memos of footer-like bands, the
// values accumulated while their data bands print, and the reset after the band that shows
// them. Keeping together holds back page-footer values of rows that may move to the next page.
//
// Call flow: the engine links a page, then AddBand for every band whose memos may hold totals
// -> AddValue after each data band -> GetValue when a memo evaluates SUM(...) -> ResetForBand
// after the footer.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/Variants.h"

class TfrxBand;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxDataBand;
class TfrxReport;

enum TfrxAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

class TfrxAggregateItem {
public:
  TfrxAggregateFunction Kind = agSum;
  TfrxBand* DataBand = nullptr;
  bool CountInvisible = false;  // Flags bit 0
  bool Running = false;         // Flags bit 1: not reset after its footer
  AnsiString Expression;
  bool InPageFooter = false;
  AnsiString MemoName;
  AnsiString Text;
  TfrxBand* ResetBand = nullptr;
  Variant Value = Variant::Null();
  Integer Count = 0;
  // Per vertical band instance; grown as instances come, empty until the first.
  std::vector<Variant> ColumnValues;
  std::vector<Integer> ColumnCounts;
  bool Keeping = false;
  Variant KeptValue = Variant::Null();
  Integer KeptCount = 0;

  void Reset(bool Force);
  // Value into Target the way the kind combines (Null values are ignored).
  void Combine(Variant& Target, const Variant& V) const;
  Variant Result(Integer VColumn) const;
};

class TfrxAggregateList {
public:
  explicit TfrxAggregateList(TfrxReport* AReport) : FReport(AReport) {}

  void Clear() { FItems.clear(); }
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  TfrxAggregateItem* GetItem(Integer Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }

  // Collects the total calls of the memos of Band; a call that names no band accumulates
  // DefaultDataBand. A report variable named in the text is scanned for calls too (each at
  // most once along one chain: a variable that names itself ends with an entry in the
  // report's errors). Flags text that is no integer raises EConvertError.
  void AddBand(TfrxBand* Band, TfrxBand* DefaultDataBand);
  // Every item of Band takes the next value (VColumn 0: horizontal bands).
  void AddValue(TfrxBand* Band, Integer VColumn);
  // The current result of the matching item; Null when none matches.
  Variant GetValue(TfrxBand* CalcBand, Integer VColumn, const AnsiString& Name, const AnsiString& Expression,
                   TfrxBand* Band, Integer Flags);
  void ResetForBand(TfrxBand* Band);
  void StartKeep();
  void EndKeep();
  // Resets every item, running totals included (between the passes of a double pass).
  void ClearValues();

  // The horizontal band each object moved into a vertical band came from (set by the engine
  // before AddBand): totals of a memo from a footer-like band reset with that band.
  std::map<const TfrxComponent*, TfrxBand*> CrossOrigins;

private:
  void ParseMemo(TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand);
  void Scan(const AnsiString& Text, TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand,
            std::vector<AnsiString>& Chain);
  void ScanName(const AnsiString& Name, TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand,
                std::vector<AnsiString>& Chain, bool Whole);
  void AddCall(const AnsiString& Name, const std::vector<AnsiString>& Args, const AnsiString& Text,
               TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand);

  TfrxReport* FReport;
  std::vector<std::unique_ptr<TfrxAggregateItem>> FItems;
};
