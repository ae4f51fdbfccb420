// Summaries of a data controller: sums, minimums, maximums, counts and averages over the
// records that pass the filter, in the footer (all of them) and per group (the records of
// each group), with their display texts. The controller recalculates them at the end of an
// update pass that changed data, grouping or a summary definition. UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Sets.h"
#include "platform/rtl/Variants.h"

class TcxCustomDataController;
class TcxCustomDataField;
class TcxDataSummary;
class TcxDataSummaryItem;
class TcxDataSummaryItems;
class TcxDataSummaryGroup;

PELTO_ENUM(TcxSummaryKind, skNone, skSum, skMin, skMax, skCount, skAverage)
PELTO_ENUM(TcxSummaryPosition, spGroup, spFooter)
PELTO_ENUM(TcxSummaryOption, soNullIgnore, soSelectedRecords)
PELTO_SET(TcxSummaryOptions, TcxSummaryOption)

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

// The collections of a summary: adding, deleting or a locked change of their items recalculates.
class TcxDataSummaryCollection : public TCollection {
  PELTO_DECLARE_CLASS(TcxDataSummaryCollection, TCollection)
public:
  TcxDataSummaryCollection(TcxDataSummary* ASummary, TCollectionItemClass AItemClass)
      : TCollection(AItemClass), FSummary(ASummary)
  {}
  TcxDataSummary* GetSummary() const { return FSummary; }
  TPersistent* GetOwner() override;
  // A new item, reported once it is fully built (the collection's own Add reports it from
  // inside the item's constructor).
  TCollectionItem* AddItem();

protected:
  void Update(TCollectionItem* Item) override;

private:
  TcxDataSummary* FSummary;
};

// A summary item or group link: the controller field it is bound to.
class TcxCustomDataSummaryItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TcxCustomDataSummaryItem, TCollectionItem)
public:
  explicit TcxCustomDataSummaryItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
  // From another summary item: links to this controller's item corresponding to the source's.
  void Assign(TPersistent* Source) override;
  TcxDataSummary* GetSummary() const;
  TcxCustomDataController* GetDataController() const;
  // The field's view item; nullptr without a field.
  TObject* GetItemLink() const;
  // Binds the item to a view item of the controller (nullptr: none); recalculates.
  void SetItemLink(TObject* AItem);
  TcxCustomDataField* GetField() const { return FField; }
  void SetField(TcxCustomDataField* AField);
  // The field whose values are summed: the linked field here; an item bound otherwise (by a
  // dataset field name) answers its own.
  virtual TcxCustomDataField* GetDataField() const { return FField; }
  // A field of the controller is going; an item holding a field of its own drops it.
  virtual void DataFieldRemoved(TcxCustomDataField* AField) {}

protected:
  // Before the field changes (nothing here).
  virtual void FieldChanging(TcxCustomDataField* AField) {}

private:
  TcxCustomDataField* FField = nullptr;
};

class TcxDataSummaryItem : public TcxCustomDataSummaryItem {
  PELTO_DECLARE_CLASS(TcxDataSummaryItem, TcxCustomDataSummaryItem)
public:
  explicit TcxDataSummaryItem(TCollection* ACollection) : TcxCustomDataSummaryItem(ACollection) {}
  // Also copies Format, Kind, Position and OnGetText from another summary item.
  void Assign(TPersistent* Source) override;

  const AnsiString& GetFormat() const { return FFormat; }
  // Repaints only.
  void SetFormat(const AnsiString& Value);
  TcxSummaryKind GetKind() const { return FKind; }
  // Recalculates.
  void SetKind(TcxSummaryKind Value);
  // spFooter in a footer collection.
  TcxSummaryPosition GetPosition() const;
  // Repaints only.
  void SetPosition(TcxSummaryPosition Value);
  bool StoresPosition() const;
  // An empty text for Null; else the value through the format (or the default one).
  AnsiString GetText(const Variant& AValue, bool AIsFooter);
  TcxDataSummaryItems* GetItems() const;

  TcxDataSummaryItemGetTextEvent OnGetText;

  PELTO_PUBLISHED(p);

private:
  AnsiString FFormat;
  TcxSummaryKind FKind = skNone;
  TcxSummaryPosition FPosition = spGroup;
};

class TcxDataSummaryItems : public TcxDataSummaryCollection {
  PELTO_DECLARE_CLASS(TcxDataSummaryItems, TcxDataSummaryCollection)
public:
  // Items are of the summary's item class.
  explicit TcxDataSummaryItems(TcxDataSummary* ASummary);
  // The collection owns the item; recalculates.
  TcxDataSummaryItem* Add() { return static_cast<TcxDataSummaryItem*>(AddItem()); }
  TcxDataSummaryItem* Add(TObject* AItemLink, TcxSummaryPosition APosition, TcxSummaryKind AKind,
                          const AnsiString& AFormat = AnsiString());
  TcxDataSummaryItem* GetItem(int AIndex) const
  {
    return static_cast<TcxDataSummaryItem*>(TCollection::GetItem(AIndex));
  }
  int IndexOfItemLink(TObject* AItemLink) const;
  int IndexOfField(TcxCustomDataField* AField) const;
  TcxDataSummaryItem* ItemOfField(TcxCustomDataField* AField) const;
  // Every item of a footer collection is in spFooter.
  virtual bool IsFooter() const { return false; }
  virtual bool IsItemPositionStored(const TcxDataSummaryItem* AItem) const { return AItem->GetPosition() != spGroup; }
  // The default format of a value type, kind and place.
  AnsiString GetDefaultFormat(TVarType AVarType, TcxSummaryKind AKind, bool AIsFooter) const;
  // Group row text of the values; empty here.
  virtual AnsiString GetGroupSummaryText(const Variant& AValues) { return AnsiString(); }
  // Copies OnSummary.
  void CopyEventsFrom(TcxDataSummaryItems* ASource) { OnSummary = ASource->OnSummary; }

  TcxSummaryEvent OnSummary;
};

class TcxDataFooterSummaryItems : public TcxDataSummaryItems {
  PELTO_DECLARE_CLASS(TcxDataFooterSummaryItems, TcxDataSummaryItems)
public:
  using TcxDataSummaryItems::TcxDataSummaryItems;
  bool IsFooter() const override { return true; }
  bool IsItemPositionStored(const TcxDataSummaryItem* AItem) const override { return false; }
};

class TcxDataGroupSummaryItems : public TcxDataSummaryItems {
  PELTO_DECLARE_CLASS(TcxDataGroupSummaryItems, TcxDataSummaryItems)
public:
  // AGroup: the summary group owning the items, nullptr for the summary's default items.
  TcxDataGroupSummaryItems(TcxDataSummary* ASummary, TcxDataSummaryGroup* AGroup = nullptr)
      : TcxDataSummaryItems(ASummary), FGroup(AGroup)
  {}
  TPersistent* GetOwner() override;
  // The spGroup items' texts joined by Separator and a blank, in BeginText..EndText.
  AnsiString GetGroupSummaryText(const Variant& AValues) override;
  void Assign(TPersistent* Source) override;

  const AnsiString& GetBeginText() const { return FBeginText; }
  const AnsiString& GetEndText() const { return FEndText; }
  const AnsiString& GetSeparator() const { return FSeparator; }
  // Each repaints only.
  void SetBeginText(const AnsiString& Value);
  void SetEndText(const AnsiString& Value);
  void SetSeparator(const AnsiString& Value);

  PELTO_PUBLISHED(p);

private:
  TcxDataSummaryGroup* FGroup;
  AnsiString FBeginText = "(";
  AnsiString FEndText = ")";
  AnsiString FSeparator = ",";
};

// Ties a grouped item to a summary group: the item's levels use the group's summary items.
class TcxDataSummaryGroupItemLink : public TcxCustomDataSummaryItem {
  PELTO_DECLARE_CLASS(TcxDataSummaryGroupItemLink, TcxCustomDataSummaryItem)
public:
  explicit TcxDataSummaryGroupItemLink(TCollection* ACollection) : TcxCustomDataSummaryItem(ACollection) {}

protected:
  // A grouped item belongs to one summary group at most: other links to the field are unlinked.
  void FieldChanging(TcxCustomDataField* AField) override;
};

class TcxDataSummaryGroupItemLinks : public TcxDataSummaryCollection {
  PELTO_DECLARE_CLASS(TcxDataSummaryGroupItemLinks, TcxDataSummaryCollection)
public:
  TcxDataSummaryGroupItemLinks(TcxDataSummary* ASummary, TcxDataSummaryGroup* AGroup)
      : TcxDataSummaryCollection(ASummary, TcxDataSummaryGroupItemLink::StaticClass()), FGroup(AGroup)
  {}
  TPersistent* GetOwner() override;
  TcxDataSummaryGroupItemLink* Add() { return static_cast<TcxDataSummaryGroupItemLink*>(AddItem()); }
  TcxDataSummaryGroupItemLink* GetItem(int AIndex) const
  {
    return static_cast<TcxDataSummaryGroupItemLink*>(TCollection::GetItem(AIndex));
  }
  int IndexOfItemLink(TObject* AItemLink) const;

private:
  TcxDataSummaryGroup* FGroup;
};

class TcxDataSummaryGroup : public TCollectionItem {
  PELTO_DECLARE_CLASS(TcxDataSummaryGroup, TCollectionItem)
public:
  // ACollection must be a TcxDataSummaryGroups.
  explicit TcxDataSummaryGroup(TCollection* ACollection);
  ~TcxDataSummaryGroup() override;
  void Assign(TPersistent* Source) override;
  TcxDataSummaryGroupItemLinks* GetLinks() const { return FLinks.get(); }
  void SetLinks(TcxDataSummaryGroupItemLinks* Value) { FLinks->Assign(Value); }
  TcxDataGroupSummaryItems* GetSummaryItems() const { return FSummaryItems.get(); }
  void SetSummaryItems(TcxDataGroupSummaryItems* Value) { FSummaryItems->Assign(Value); }

  PELTO_PUBLISHED(p);

private:
  std::unique_ptr<TcxDataSummaryGroupItemLinks> FLinks;
  std::unique_ptr<TcxDataGroupSummaryItems> FSummaryItems;
};

class TcxDataSummaryGroups : public TcxDataSummaryCollection {
  PELTO_DECLARE_CLASS(TcxDataSummaryGroups, TcxDataSummaryCollection)
public:
  explicit TcxDataSummaryGroups(TcxDataSummary* ASummary)
      : TcxDataSummaryCollection(ASummary, TcxDataSummaryGroup::StaticClass())
  {}
  TcxDataSummaryGroup* Add() { return static_cast<TcxDataSummaryGroup*>(AddItem()); }
  TcxDataSummaryGroup* GetItem(int AIndex) const
  {
    return static_cast<TcxDataSummaryGroup*>(TCollection::GetItem(AIndex));
  }
  // The first group with a link to the item; nullptr.
  TcxDataSummaryGroup* FindByItemLink(TObject* AItemLink) const;
};

class TcxDataSummary : public TPersistent {
  PELTO_DECLARE_CLASS(TcxDataSummary, TPersistent)
public:
  // AItemClass: the class of every summary item (a TcxDataSummaryItem descendant); nullptr
  // for TcxDataSummaryItem.
  explicit TcxDataSummary(TcxCustomDataController* ADataController, TCollectionItemClass AItemClass = nullptr);
  ~TcxDataSummary() override;
  TCollectionItemClass GetSummaryItemClass() const { return FSummaryItemClass; }
  // From another summary: the three collections, the options and OnAfterSummary.
  void Assign(TPersistent* Source) override;

  TcxDataFooterSummaryItems* GetFooterSummaryItems() const { return FFooterSummaryItems.get(); }
  void SetFooterSummaryItems(TcxDataFooterSummaryItems* Value) { FFooterSummaryItems->Assign(Value); }
  TcxDataGroupSummaryItems* GetDefaultGroupSummaryItems() const { return FDefaultGroupSummaryItems.get(); }
  void SetDefaultGroupSummaryItems(TcxDataGroupSummaryItems* Value) { FDefaultGroupSummaryItems->Assign(Value); }
  TcxDataSummaryGroups* GetSummaryGroups() const { return FSummaryGroups.get(); }
  void SetSummaryGroups(TcxDataSummaryGroups* Value) { FSummaryGroups->Assign(Value); }
  TcxSummaryOptions GetOptions() const { return FOptions; }
  void SetOptions(TcxSummaryOptions Value);
  TcxCustomDataController* GetDataController() const { return FDataController; }
  bool IsDestroying() const { return FDestroying; }

  void BeginUpdate();
  void EndUpdate();
  // Does nothing while locked or inside OnAfterSummary; AItemOnly repaints without recalculating.
  void ReportChange(bool AItemOnly);
  // Footer, then groups, then OnAfterSummary.
  void Calculate();
  // Null when there is no such value.
  Variant GetFooterSummaryValue(int AIndex) const;
  AnsiString GetFooterSummaryText(int AIndex);
  // The items of a grouping level: those of the summary group linked to the item grouped at
  // that level, else the default ones; nullptr for a level outside the grouping.
  TcxDataSummaryItems* GetGroupSummaryItems(int ALevel) const;
  // The group's values (an array, one per item of its level); Empty when not computed.
  Variant GetGroupSummaryValues(int AGroupIndex) const;
  // The summary text of the group row (or of the leaf group above a data row).
  AnsiString GetGroupSummaryText(int ARowIndex);
  // Among the level's items in spFooter, the first bound to AItemLink; -1.
  int GetGroupFooterItemIndex(int ALevel, TObject* AItemLink) const;
  // The footer text of item AIndex for the group of the row at ALevel; empty when none.
  AnsiString GetGroupFooterSummaryText(int ARowIndex, int ALevel, int AIndex);
  // Every item and link bound to the field loses it.
  void RemoveField(TcxCustomDataField* AField);

  std::function<void(TcxDataSummary* ASender)> OnAfterSummary;

  PELTO_PUBLISHED(p);

private:
  void CalculateFooterSummary();
  void CalculateGroupSummaries();
  void CalculateRange(TcxDataSummaryItems* AItems, int AFrom, int ATo, std::vector<Variant>& AValues,
                      std::vector<int>& ACounts);
  void CalculateItem(TcxDataSummaryItem* AItem, int ARecordIndex, Variant& AValue, int& ACount);
  Variant EndCalculate(TcxDataSummaryItems* AItems, std::vector<Variant>& AValues, const std::vector<int>& ACounts);

  TcxCustomDataController* FDataController;
  TCollectionItemClass FSummaryItemClass;  // before the collections that use it
  bool FDestroying = false;
  std::unique_ptr<TcxDataFooterSummaryItems> FFooterSummaryItems;
  std::unique_ptr<TcxDataGroupSummaryItems> FDefaultGroupSummaryItems;
  std::unique_ptr<TcxDataSummaryGroups> FSummaryGroups;
  Variant FFooterValues;
  TcxSummaryOptions FOptions;
  int FLockCount = 0;
  bool FInAfterSummary = false;
};
