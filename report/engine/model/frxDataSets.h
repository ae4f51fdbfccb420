// The list of data sets a report may read, each item bound to a data set or, until one is
// found, holding its name.
#pragma once

#include "platform/classes/Collection.h"
#include "report/engine/data/frxDataSet.h"

class TfrxDataSetItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxDataSetItem, TCollectionItem)
public:
  explicit TfrxDataSetItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  TfrxDataSet* GetDataSet() const { return FDataSet; }
  // Binds the item; its name becomes the data set's user name ("" for nullptr).
  void SetDataSet(TfrxDataSet* Value);
  // The bound data set's user name, else the stored name.
  AnsiString GetDataSetName() const;
  // Stores the name and binds the data set of that name the report may use (if any).
  void SetDataSetName(const AnsiString& Value);

  PELTO_PUBLISHED(p);

private:
  TfrxDataSet* FDataSet = nullptr;
  AnsiString FDataSetName;
};

class TfrxReportDataSets : public TCollection {
  PELTO_DECLARE_CLASS(TfrxReportDataSets, TCollection)
public:
  explicit TfrxReportDataSets(TfrxReport* Report) : TCollection(TfrxDataSetItem::StaticClass()), FReport(Report) {}
  TfrxDataSetItem* Add() { return static_cast<TfrxDataSetItem*>(TCollection::Add()); }
  // A new item bound to DataSet.
  TfrxDataSetItem* Add(TfrxDataSet* DataSet);
  TfrxDataSetItem* GetItems(int Index) const { return static_cast<TfrxDataSetItem*>(GetItem(Index)); }
  // The item bound to DataSet, nullptr when none.
  TfrxDataSetItem* Find(TfrxDataSet* DataSet) const;
  // The first bound item whose data set has the user name (ASCII case ignored).
  TfrxDataSetItem* FindByName(const AnsiString& Name) const;
  // Each bound data set gets the report and its Initialize; Finalize likewise.
  void Initialize();
  void Finalize();
  TfrxReport* GetReport() const { return FReport; }

private:
  TfrxReport* FReport;
};
