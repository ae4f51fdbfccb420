// Summaries of a data controller: sums, minimums, maximums, counts and averages over the
// records that pass the filter, in the footer (all of them) and per group (the records of
// each group), with their display texts. The controller recalculates them at the end of an
// update pass that changed data, grouping or a summary definition. UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Sets.h"
#include "platform/rtl/Variants.h"

class TcxCustomDataController;
class TcxCustomDataField;
class TcxDataSummary;
class TcxDataSummaryItem;
class TcxDataSummaryItems;

enum TcxSummaryKind : Byte { skNone, skSum, skMin, skMax, skCount, skAverage };
enum TcxSummaryPosition : Byte { spGroup, spFooter };
enum TcxSummaryOption { soNullIgnore, soSelectedRecords };
using TcxSummaryOptions = Set<TcxSummaryOption>;

struct TcxSummaryEventArguments {
  int RecordIndex;
  TcxDataSummaryItem* SummaryItem;
};
struct TcxSummaryEventOutArguments {
  Variant Value;         // the record's value
  Variant SummaryValue;  // the accumulator
  int CountValue;
  bool Done;
};
using TcxSummaryEvent = std::function<void(TcxDataSummaryItems* ASender, const TcxSummaryEventArguments& Arguments,
                                           TcxSummaryEventOutArguments& OutArguments)>;
using TcxDataSummaryItemGetTextEvent =
    std::function<void(TcxDataSummaryItem* Sender, const Variant& AValue, bool AIsFooter, AnsiString& AText)>;

class TcxDataSummaryItem : public TObject {
public:
  explicit TcxDataSummaryItem(TcxDataSummaryItems* ACollection) : FCollection(ACollection) {}

  TObject* GetItemLink() const;
  // Binds the item to a view item of the controller (nullptr: none); recalculates.
  void SetItemLink(TObject* AItem);
  TcxCustomDataField* GetField() const { return FField; }
  void SetField(TcxCustomDataField* AField);
  const AnsiString& GetFormat() const { return FFormat; }
  // Repaints only.
  void SetFormat(const AnsiString& Value);
  TcxSummaryKind GetKind() const { return FKind; }
  // Recalculates.
  void SetKind(TcxSummaryKind Value);
  TcxSummaryPosition GetPosition() const;
  void SetPosition(TcxSummaryPosition Value);
  // An empty text for Null; else the value through the format (or the default one).
  AnsiString GetText(const Variant& AValue, bool AIsFooter);
  TcxDataSummaryItems* GetCollection() const { return FCollection; }

  TcxDataSummaryItemGetTextEvent OnGetText;

private:
  TcxDataSummaryItems* FCollection;
  TcxCustomDataField* FField = nullptr;
  AnsiString FFormat;
  TcxSummaryKind FKind = skNone;
  TcxSummaryPosition FPosition = spGroup;
};

class TcxDataSummaryItems : public TObject {
public:
  // AFooter: every item's position is spFooter.
  TcxDataSummaryItems(TcxDataSummary* ASummary, bool AFooter) : FSummary(ASummary), FFooter(AFooter) {}
  // The collection owns the item; recalculates.
  TcxDataSummaryItem* Add();
  TcxDataSummaryItem* Add(TObject* AItemLink, TcxSummaryPosition APosition, TcxSummaryKind AKind,
                          const AnsiString& AFormat = AnsiString());
  void Delete(int AIndex);
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxDataSummaryItem* GetItem(int AIndex) const { return FItems.at(static_cast<size_t>(AIndex)).get(); }
  int IndexOfItemLink(TObject* AItemLink) const;
  TcxDataSummary* GetSummary() const { return FSummary; }
  bool IsFooter() const { return FFooter; }
  // The default format of a value type, kind and place.
  AnsiString GetDefaultFormat(TVarType AVarType, TcxSummaryKind AKind, bool AIsFooter) const;
  // Group row text: the spGroup items' texts joined by Separator and a blank, in BeginText..EndText.
  AnsiString GetGroupSummaryText(const Variant& AValues);

  AnsiString BeginText = "(";
  AnsiString EndText = ")";
  AnsiString Separator = ",";
  TcxSummaryEvent OnSummary;

private:
  TcxDataSummary* FSummary;
  bool FFooter;
  std::vector<std::unique_ptr<TcxDataSummaryItem>> FItems;
};

class TcxDataSummary : public TObject {
public:
  explicit TcxDataSummary(TcxCustomDataController* ADataController);
  ~TcxDataSummary() override;

  TcxDataSummaryItems* GetFooterSummaryItems() const { return FFooterSummaryItems.get(); }
  TcxDataSummaryItems* GetDefaultGroupSummaryItems() const { return FDefaultGroupSummaryItems.get(); }
  TcxSummaryOptions GetOptions() const { return FOptions; }
  void SetOptions(TcxSummaryOptions Value);
  TcxCustomDataController* GetDataController() const { return FDataController; }

  void BeginUpdate();
  void EndUpdate();
  // Does nothing while locked or inside OnAfterSummary; AItemOnly repaints without recalculating.
  void ReportChange(bool AItemOnly);
  // Footer, then groups, then OnAfterSummary.
  void Calculate();
  // Null when there is no such value.
  Variant GetFooterSummaryValue(int AIndex) const;
  AnsiString GetFooterSummaryText(int AIndex);
  // The group's values (an array, one per default group item); Empty when not computed.
  Variant GetGroupSummaryValues(int AGroupIndex) const;
  // The summary text of the group row (or of the leaf group above a data row).
  AnsiString GetGroupSummaryText(int ARowIndex);
  // Every item bound to the field loses it.
  void RemoveField(TcxCustomDataField* AField);

  std::function<void(TcxDataSummary* ASender)> OnAfterSummary;

private:
  void CalculateFooterSummary();
  void CalculateGroupSummaries();
  void CalculateRange(TcxDataSummaryItems* AItems, int AFrom, int ATo, std::vector<Variant>& AValues,
                      std::vector<int>& ACounts);
  void CalculateItem(TcxDataSummaryItem* AItem, int ARecordIndex, Variant& AValue, int& ACount);
  Variant EndCalculate(TcxDataSummaryItems* AItems, std::vector<Variant>& AValues, const std::vector<int>& ACounts);

  TcxCustomDataController* FDataController;
  std::unique_ptr<TcxDataSummaryItems> FFooterSummaryItems;
  std::unique_ptr<TcxDataSummaryItems> FDefaultGroupSummaryItems;
  Variant FFooterValues;
  TcxSummaryOptions FOptions;
  int FLockCount = 0;
  bool FDestroying = false;
  bool FInAfterSummary = false;
};
