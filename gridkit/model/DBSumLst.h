// Running aggregates over a dataset: sums, averages and counts kept current by hooking the
// dataset's events, so that posting or deleting one record costs one field read per aggregate;
// only opening, a filter change, a master scroll and a change of the aggregate list rescan.
//
// Totals are fixed point with four decimals held in 64-bit integers (ten-thousandths); a value
// enters a total as AsFloat x 10000 rounded half to even.
//
// Section index: TDBSum · TDBSumCollection · TDBSumListProducer (switching, hooks, full scan,
// virtual record numbers) · TDBGridEhSumList.
// Call flow: Active := True → SwitchOn → HookDataSetEvents → FullRecalc; Edit → AfterEditHook
// captures the old contribution; Post → AfterPostHook applies old and new; Delete →
// BeforeDeleteHook reads the record's contribution, AfterDeleteHook applies it once the delete
// has completed.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/db/DB.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TField;
class TStringList;
class TDBSumListProducer;

PELTO_ENUM(TGroupOperation, goSum, goAvg, goCount)

namespace DBSumLst {
// A value as ten-thousandths, rounded half to even.
Int64 ToFixed(double Value);
// Fixed / Count rounded half to even; 0 when Count is 0.
Int64 FixedDiv(Int64 Value, Integer Count);
inline double FixedToFloat(Int64 Value) { return static_cast<double>(Value) / 10000.0; }
}  // namespace DBSumLst

// One aggregate.
class TDBSum : public TCollectionItem {
  PELTO_DECLARE_CLASS(TDBSum, TCollectionItem)
public:
  explicit TDBSum(TCollection* Collection) : TCollectionItem(Collection) {}

  void Assign(TPersistent* Source) override;

  const AnsiString& GetFieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value);
  TGroupOperation GetGroupOperation() const { return FGroupOperation; }
  void SetGroupOperation(TGroupOperation Value);
  // goCount, or a field named: the others are skipped everywhere.
  bool IsRelevant() const { return FGroupOperation == goCount || !FFieldName.empty(); }

  // The result in ten-thousandths: the sum, the average or the count.
  Int64 Total = 0;
  Int64 OldValue = 0;  // the current record's contribution captured at edit or insert
  Integer NonNullCount = 0;
  Int64 AvgSum = 0;
  Variant OldVariant;
  // Read by BeforeDeleteHook, applied by AfterDeleteHook.
  Int64 PendingDeleteValue = 0;
  bool PendingDeleteNotNull = false;

  PELTO_PUBLISHED(p);

private:
  AnsiString FFieldName;
  TGroupOperation FGroupOperation = goSum;
};

class TDBSumCollection : public TCollection {
  PELTO_DECLARE_CLASS(TDBSumCollection, TCollection)
public:
  explicit TDBSumCollection(TDBSumListProducer* Owner);
  TDBSum* GetItem(int Index) const { return static_cast<TDBSum*>(TCollection::GetItem(Index)); }
  TDBSum* Add() { return static_cast<TDBSum*>(TCollection::Add()); }
  // The first aggregate with Op whose field name equals FieldName ignoring case; nullptr when none.
  TDBSum* FindSum(TGroupOperation Op, const AnsiString& FieldName) const;
  TPersistent* GetOwner() override;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDBSumListProducer* FOwner;
};

class TDBSumListProducer : public TPersistent {
  PELTO_DECLARE_CLASS(TDBSumListProducer, TPersistent)
public:
  // Owner is the component whose loading and designing states the producer follows (may be
  // nullptr); not owned.
  explicit TDBSumListProducer(TComponent* Owner);
  ~TDBSumListProducer() override;

  void Assign(TPersistent* Source) override;

  bool GetActive() const { return FActive; }
  void SetActive(bool Value);
  TDataSet* GetDataSet() const { return FDataSet; }
  // Unhooks the previous dataset and hooks (and sums) the new one when active.
  void SetDataSet(TDataSet* Value);
  bool GetExternalRecalc() const { return FExternalRecalc; }
  void SetExternalRecalc(bool Value);
  bool GetVirtualRecords() const { return FVirtualRecords; }
  void SetVirtualRecords(bool Value);
  TDBSumCollection* GetSumCollection() const { return FSumCollection.get(); }
  TDataSet* GetMasterDataSet() const { return FMasterSet; }
  bool GetEventsHooked() const { return FEventsHooked; }

  void SwitchOn(bool Recalc = true);
  void SwitchOff(bool ClearSums = true);
  // The owner finished loading: hooks and sums when a dataset is attached and active is set.
  void OwnerLoaded();
  // The aggregate list changed: recalculate unless the owner is loading or being destroyed.
  void SumsChanged();
  void NotifySumListChanged();

  virtual void ResetSums();
  virtual void FullRecalc();
  virtual Integer GetRecordNumber();
  virtual void GoToRecordNumber(Integer N);
  virtual Integer RecordTotal();
  virtual bool HasRecordNumbers();
  // Position of B in the record bookmarks (-1 when absent), starting next to the last answer.
  virtual Integer IndexOfBookmark(const TBookmarkStr& B);
  Integer RecordBookmarkCount() const;

  TNotifyEvent OnRecalcAll;
  TNotifyEvent OnAfterRecalcAll;
  TNotifyEvent SumListChanged;

protected:
  virtual void HookDataSetEvents();
  virtual void UnhookDataSetEvents();
  virtual void AfterCancelHook(TDataSet* DataSet);
  virtual void AfterCloseHook(TDataSet* DataSet);
  virtual void AfterEditHook(TDataSet* DataSet);
  virtual void AfterInsertHook(TDataSet* DataSet);
  virtual void AfterOpenHook(TDataSet* DataSet);
  virtual void AfterPostHook(TDataSet* DataSet);
  virtual void AfterScrollHook(TDataSet* DataSet);
  virtual void BeforeDeleteHook(TDataSet* DataSet);
  virtual void AfterDeleteHook(TDataSet* DataSet);
  virtual void MasterAfterScrollHook(TDataSet* DataSet);
  // Whether the dataset numbers its records itself; virtual numbering applies when it does not.
  virtual bool DataSetIsSequenced() const;

  bool OwnerLoading() const;
  bool OwnerDesigning() const;
  bool WorkWhileDesigning = false;
  bool FEventsHooked = false;

private:
  struct Hook;
  enum HookKind {
    hkAfterCancel,
    hkAfterClose,
    hkAfterEdit,
    hkAfterInsert,
    hkAfterOpen,
    hkAfterPost,
    hkAfterScroll,
    hkBeforeDelete,
    hkAfterDelete,
    hkMasterAfterScroll,
    hkCount
  };
  static std::function<void(TDataSet*)>& EventOf(TDataSet* DataSet, HookKind Kind);
  void RunHook(HookKind Kind, TDataSet* DataSet);
  void CallSaved(HookKind Kind, TDataSet* DataSet);
  bool VirtualNumbering() const;
  TField* FieldOf(const TDBSum* Sum) const;
  void InsertPendingBookmark();

  bool FActive = false;
  bool FScanning = false;
  TDataSet* FDataSet = nullptr;
  bool FExternalRecalc = false;
  bool FVirtualRecords = false;
  AnsiString FSavedFilter;
  bool FSavedFiltered = false;
  TDataSet* FMasterSet = nullptr;
  Integer FLastVirtualPos = -1;
  bool FPendingInsert = false;
  bool FPendingDelete = false;
  TBookmarkStr FPendingDeleteBookmark;
  TComponent* FOwnerComponent;
  std::unique_ptr<TDBSumCollection> FSumCollection;
  std::vector<TBookmarkStr> FRecordBookmarks;
  std::function<void(TDataSet*)> FSaved[hkCount];
};

// The grid's sum list: starts inactive, works while its grid is designed, and leaves the
// dataset's events alone at design time.
class TDBGridEhSumList : public TDBSumListProducer {
  PELTO_DECLARE_CLASS(TDBGridEhSumList, TDBSumListProducer)
public:
  explicit TDBGridEhSumList(TComponent* Owner);

  PELTO_PUBLISHED(p);

protected:
  void HookDataSetEvents() override;
  void UnhookDataSetEvents() override;
};
