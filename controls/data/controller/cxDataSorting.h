// Sorting and grouping definitions: ordered lists of (field, sort order) entries with a change
// event that fires after every effective change. UI thread only.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/System.h"

class TcxCustomDataField;

enum TcxDataSortOrder : Byte { soNone, soAscending, soDescending };

struct TcxDataSortInfo {
  TcxCustomDataField* Field;
  TcxDataSortOrder SortOrder;
};

class TcxSortingFieldList : public TObject {
public:
  void Add(TcxCustomDataField* AField, TcxDataSortOrder ASortOrder);
  void Insert(int AIndex, TcxCustomDataField* AField, TcxDataSortOrder ASortOrder);
  void Delete(int AIndex);
  // One change event per entry removed.
  void Clear();
  // -1 when absent.
  int Find(const TcxCustomDataField* AField) const;
  TcxDataSortOrder GetSortOrder(const TcxCustomDataField* AField) const;
  void SetSortOrder(int AIndex, TcxDataSortOrder AOrder);
  void Move(int ACurIndex, int ANewIndex);
  void Remove(TcxCustomDataField* AField);
  // Present: soNone deletes, another order is stored; absent: any other order appends.
  virtual void SetFieldOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder);
  void ReportFieldChange(TcxCustomDataField* AField);
  // AIndex < 0 removes; an absent field is inserted ascending, a present one moved.
  void SetFieldIndex(TcxCustomDataField* AField, int AIndex);
  // Appends the entries of AList whose field is not here yet (no change event).
  void AddFrom(const TcxSortingFieldList& AList);

  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxDataSortInfo& Items(int Index) const { return FItems[static_cast<size_t>(Index)]; }

  std::function<void(TObject* Sender)> OnChanged;

protected:
  void Changed();

private:
  std::vector<TcxDataSortInfo> FItems;
};

// A grouped field is always sorted: soNone becomes soAscending.
class TcxGroupingFieldList : public TcxSortingFieldList {
public:
  void SetFieldOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder) override;
  // Each entry takes ASortingList's order for its field, soAscending when it has none.
  void SyncSortOrders(const TcxSortingFieldList& ASortingList);
};
