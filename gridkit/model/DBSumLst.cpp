#include "gridkit/model/DBSumLst.h"

#include <cmath>

#include "gridkit/shims/ZeDuzVCL.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"

// ---- fixed point ------------------------------------------------------------------------------

namespace DBSumLst {

Int64 ToFixed(double Value) { return static_cast<Int64>(std::nearbyint(Value * 10000.0)); }

Int64 FixedDiv(Int64 Value, Integer Count)
{
  if (Count == 0) return 0;
  return static_cast<Int64>(std::nearbyint(static_cast<double>(Value) / Count));
}

}  // namespace DBSumLst

using DBSumLst::ToFixed;

namespace {
constexpr Int64 OneRecord = 10000;
}  // namespace

// ---- TDBSum -----------------------------------------------------------------------------------

void TDBSum::Assign(TPersistent* Source)
{
  if (auto* src = dynamic_cast<TDBSum*>(Source)) {
    SetGroupOperation(src->FGroupOperation);
    SetFieldName(src->FFieldName);
    OldValue = src->OldValue;
    Total = src->Total;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TDBSum::SetFieldName(const AnsiString& Value)
{
  if (Value == FFieldName) return;
  FFieldName = Value;
  Changed(false);
}

void TDBSum::SetGroupOperation(TGroupOperation Value)
{
  if (Value == FGroupOperation) return;
  FGroupOperation = Value;
  Changed(false);
}

// ---- TDBSumCollection -------------------------------------------------------------------------

TDBSumCollection::TDBSumCollection(TDBSumListProducer* Owner) : TCollection(TDBSum::StaticClass()), FOwner(Owner) {}

TDBSum* TDBSumCollection::FindSum(TGroupOperation Op, const AnsiString& FieldName) const
{
  for (int i = 0; i < GetCount(); ++i) {
    TDBSum* sum = GetItem(i);
    if (sum->GetGroupOperation() == Op && SysUtils::AnsiCompareText(sum->GetFieldName(), FieldName) == 0) return sum;
  }
  return nullptr;
}

TPersistent* TDBSumCollection::GetOwner() { return FOwner; }

void TDBSumCollection::Update(TCollectionItem* Item)
{
  if (FOwner) FOwner->SumsChanged();
}

// ---- TDBSumListProducer: switching ------------------------------------------------------------

struct TDBSumListProducer::Hook {
  TDBSumListProducer* Producer;
  HookKind Kind;
  void operator()(TDataSet* DataSet) const { Producer->RunHook(Kind, DataSet); }
};

TDBSumListProducer::TDBSumListProducer(TComponent* Owner)
    : FActive(true), FOwnerComponent(Owner), FSumCollection(std::make_unique<TDBSumCollection>(this))
{}

TDBSumListProducer::~TDBSumListProducer()
{
  SwitchOff(false);
  // The collection's items must not call back into a half-destroyed producer.
  FSumCollection.reset();
}

void TDBSumListProducer::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TDBSumListProducer*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  SetActive(src->FActive);
  SetDataSet(src->FDataSet);
  SetExternalRecalc(src->FExternalRecalc);
  FSumCollection->Assign(src->FSumCollection.get());
  SumListChanged = src->SumListChanged;
  SetVirtualRecords(src->FVirtualRecords);
  OnAfterRecalcAll = src->OnAfterRecalcAll;
  OnRecalcAll = src->OnRecalcAll;
}

bool TDBSumListProducer::OwnerLoading() const
{
  return FOwnerComponent && FOwnerComponent->GetComponentState().Contains(csLoading);
}

bool TDBSumListProducer::OwnerDesigning() const
{
  return FOwnerComponent && FOwnerComponent->GetComponentState().Contains(csDesigning);
}

void TDBSumListProducer::SetActive(bool Value)
{
  if (Value == FActive) return;
  if (Value)
    SwitchOn(true);
  else
    SwitchOff(true);
}

void TDBSumListProducer::SwitchOn(bool Recalc)
{
  FActive = true;
  if (OwnerLoading() || (OwnerDesigning() && !WorkWhileDesigning)) return;
  HookDataSetEvents();
  if (Recalc) FullRecalc();
}

void TDBSumListProducer::SwitchOff(bool ClearSums)
{
  FActive = false;
  if (OwnerLoading() || (OwnerDesigning() && !WorkWhileDesigning)) return;
  UnhookDataSetEvents();
  if (ClearSums) ResetSums();
}

void TDBSumListProducer::SetDataSet(TDataSet* Value)
{
  if (FDataSet && FDataSet->GetComponentState().Contains(csDestroying)) {
    UnhookDataSetEvents();
    FDataSet = nullptr;
  }
  if (Value && Value->GetComponentState().Contains(csDestroying)) Value = nullptr;
  if (Value == FDataSet) return;
  if (OwnerLoading() || (OwnerDesigning() && !WorkWhileDesigning)) {
    FDataSet = Value;
    return;
  }
  bool wasActive = FActive;
  SwitchOff(true);
  FDataSet = Value;
  if (wasActive) SwitchOn(true);
}

void TDBSumListProducer::OwnerLoaded()
{
  if (FDataSet && FActive) SwitchOn(true);
}

void TDBSumListProducer::SumsChanged()
{
  if (OwnerLoading() || (FOwnerComponent && FOwnerComponent->GetComponentState().Contains(csDestroying))) return;
  FullRecalc();
}

void TDBSumListProducer::SetExternalRecalc(bool Value)
{
  if (Value == FExternalRecalc) return;
  FExternalRecalc = Value;
  FullRecalc();
}

void TDBSumListProducer::SetVirtualRecords(bool Value)
{
  if (Value == FVirtualRecords) return;
  FVirtualRecords = Value;
  if (Value) FullRecalc();
}

void TDBSumListProducer::ResetSums()
{
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    sum->Total = 0;
    sum->OldValue = 0;
    sum->AvgSum = 0;
    sum->NonNullCount = 0;
  }
  FPendingDelete = false;
  NotifySumListChanged();
}

void TDBSumListProducer::NotifySumListChanged()
{
  if (SumListChanged) SumListChanged(this);
}

// ---- hooks ------------------------------------------------------------------------------------

std::function<void(TDataSet*)>& TDBSumListProducer::EventOf(TDataSet* DataSet, HookKind Kind)
{
  switch (Kind) {
    case hkAfterCancel: return DataSet->AfterCancel;
    case hkAfterClose: return DataSet->AfterClose;
    case hkAfterEdit: return DataSet->AfterEdit;
    case hkAfterInsert: return DataSet->AfterInsert;
    case hkAfterOpen: return DataSet->AfterOpen;
    case hkAfterPost: return DataSet->AfterPost;
    case hkBeforeDelete: return DataSet->BeforeDelete;
    case hkAfterDelete: return DataSet->AfterDelete;
    case hkAfterScroll:
    case hkMasterAfterScroll:
    case hkCount: break;
  }
  return DataSet->AfterScroll;
}

void TDBSumListProducer::HookDataSetEvents()
{
  if (!FDataSet || FEventsHooked) return;
  FMasterSet = ZeDuzVCL::DataSetOfSourceProperty(FDataSet, TypInfo::FindPropInfo(FDataSet, "MasterSource"));
  for (int k = 0; k < hkCount; ++k) {
    auto kind = static_cast<HookKind>(k);
    TDataSet* target = kind == hkMasterAfterScroll ? FMasterSet : FDataSet;
    if (!target) continue;
    auto& event = EventOf(target, kind);
    FSaved[k] = event;
    event = Hook{this, kind};
  }
  FEventsHooked = true;
}

void TDBSumListProducer::UnhookDataSetEvents()
{
  if (!FDataSet || !FEventsHooked) return;
  for (int k = 0; k < hkCount; ++k) {
    auto kind = static_cast<HookKind>(k);
    TDataSet* target = kind == hkMasterAfterScroll ? FMasterSet : FDataSet;
    if (target) {
      // A handler installed after ours stays: only our own hook is replaced by what it saved.
      auto& event = EventOf(target, kind);
      const Hook* installed = event.target<Hook>();
      if (installed && installed->Producer == this) event = FSaved[k];
    }
    FSaved[k] = nullptr;
  }
  FMasterSet = nullptr;
  FEventsHooked = false;
  FRecordBookmarks.clear();
}

void TDBSumListProducer::CallSaved(HookKind Kind, TDataSet* DataSet)
{
  if (FSaved[Kind]) FSaved[Kind](DataSet);
}

void TDBSumListProducer::RunHook(HookKind Kind, TDataSet* DataSet)
{
  // Scrolling, deleting, cancelling and the master's scroll let the saved handler run first.
  bool savedFirst = Kind == hkAfterScroll || Kind == hkMasterAfterScroll || Kind == hkBeforeDelete ||
                    Kind == hkAfterDelete || Kind == hkAfterCancel;
  if (savedFirst) CallSaved(Kind, DataSet);
  switch (Kind) {
    case hkAfterScroll: AfterScrollHook(DataSet); break;
    case hkMasterAfterScroll: MasterAfterScrollHook(DataSet); break;
    case hkBeforeDelete: BeforeDeleteHook(DataSet); break;
    case hkAfterDelete: AfterDeleteHook(DataSet); break;
    case hkAfterCancel: AfterCancelHook(DataSet); break;
    case hkAfterClose: AfterCloseHook(DataSet); break;
    case hkAfterEdit: AfterEditHook(DataSet); break;
    case hkAfterInsert: AfterInsertHook(DataSet); break;
    case hkAfterOpen: AfterOpenHook(DataSet); break;
    case hkAfterPost: AfterPostHook(DataSet); break;
    case hkCount: return;
  }
  if (!savedFirst) CallSaved(Kind, DataSet);
}

TField* TDBSumListProducer::FieldOf(const TDBSum* Sum) const
{
  if (Sum->GetFieldName().empty() || !FDataSet) return nullptr;
  return FDataSet->FindField(Sum->GetFieldName());
}

namespace {
// Whether an aggregate takes part: a field it names must exist (a missing one shows 0 rather
// than blocking every post).
bool Usable(const TDBSum* Sum, const TField* Field)
{
  if (!Sum->IsRelevant()) return false;
  if (Sum->GetFieldName().empty()) return Sum->GetGroupOperation() == goCount;
  // Sums and averages add numbers: over a text field they would raise on every post.
  return Field && (Sum->GetGroupOperation() == goCount || dynamic_cast<const TNumericField*>(Field));
}

Int64 ValueOf(const TField* Field) { return Field->IsNull() ? 0 : ToFixed(Field->GetAsFloat()); }
}  // namespace

void TDBSumListProducer::AfterEditHook(TDataSet* DataSet)
{
  if (!FActive) return;
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    TField* field = FieldOf(sum);
    if (!Usable(sum, field)) continue;
    if (sum->GetGroupOperation() == goCount) {
      sum->OldValue = !field || !field->IsNull() ? OneRecord : 0;
    } else {
      sum->OldValue = ValueOf(field);
      sum->OldVariant = field->GetValue();
    }
  }
}

void TDBSumListProducer::AfterInsertHook(TDataSet* DataSet)
{
  if (!FActive) return;
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    TField* field = FieldOf(sum);
    if (!Usable(sum, field)) continue;
    if (sum->GetGroupOperation() == goCount) {
      sum->OldValue = field && !field->IsNull() ? OneRecord : 0;
    } else {
      sum->OldValue = 0;
      sum->OldVariant = Variant::Null();
    }
  }
  if (!DataSetIsSequenced() && FVirtualRecords) {
    TBookmarkStr b = DataSet->GetBookmark();
    if (b.empty())
      FPendingInsert = true;
    else
      FRecordBookmarks.push_back(b);
  }
}

void TDBSumListProducer::AfterPostHook(TDataSet* DataSet)
{
  if (!FActive) return;
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    TField* field = FieldOf(sum);
    if (!Usable(sum, field)) continue;
    switch (sum->GetGroupOperation()) {
      case goSum: sum->Total += ValueOf(field) - sum->OldValue; break;
      case goAvg:
        if (field->IsNull()) {
          if (!sum->OldVariant.IsNull()) --sum->NonNullCount;
          sum->AvgSum -= sum->OldValue;
        } else {
          if (sum->OldVariant.IsNull()) ++sum->NonNullCount;
          sum->AvgSum += ValueOf(field) - sum->OldValue;
        }
        sum->Total = DBSumLst::FixedDiv(sum->AvgSum, sum->NonNullCount);
        break;
      case goCount: sum->Total += (field && field->IsNull() ? 0 : OneRecord) - sum->OldValue; break;
    }
  }
  if (!DataSetIsSequenced() && FVirtualRecords && FPendingInsert) InsertPendingBookmark();
  NotifySumListChanged();
}

void TDBSumListProducer::InsertPendingBookmark()
{
  TBookmarkStr b = FDataSet->GetBookmark();
  FPendingInsert = false;
  if (b.empty()) return;
  auto count = static_cast<Integer>(FRecordBookmarks.size());
  Integer p = FLastVirtualPos < 0 || FLastVirtualPos >= count ? 0 : FLastVirtualPos;
  if (count == 0) {
    FRecordBookmarks.push_back(b);
    return;
  }
  auto cmp = [&](Integer i) { return ZeDuzVCL::CompareBookmarkStrings(FDataSet, FRecordBookmarks[i], b); };
  Integer c = cmp(p);
  Integer at = p;
  if (c > 0) {
    while (p >= 0 && cmp(p) > 0) --p;
    at = p + 1;
  } else if (c < 0) {
    while (p < count && cmp(p) < 0) ++p;
    at = p;
  }
  FRecordBookmarks.insert(FRecordBookmarks.begin() + at, b);
}

void TDBSumListProducer::BeforeDeleteHook(TDataSet* DataSet)
{
  if (!FActive) return;
  // Only read here: the totals change once the delete has completed (AfterDeleteHook), so a
  // delete the dataset refuses leaves them as they were.
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    TField* field = FieldOf(sum);
    sum->PendingDeleteValue = 0;
    sum->PendingDeleteNotNull = false;
    if (!Usable(sum, field)) continue;
    sum->PendingDeleteNotNull = field && !field->IsNull();
    if (sum->GetGroupOperation() == goCount)
      sum->PendingDeleteValue = !field || sum->PendingDeleteNotNull ? OneRecord : 0;
    else
      sum->PendingDeleteValue = ValueOf(field);
  }
  FPendingDelete = true;
  FPendingDeleteBookmark = VirtualNumbering() ? DataSet->GetBookmark() : TBookmarkStr();
}

void TDBSumListProducer::AfterDeleteHook(TDataSet* DataSet)
{
  if (!FActive || !FPendingDelete) return;
  FPendingDelete = false;
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    if (!Usable(sum, FieldOf(sum))) continue;
    switch (sum->GetGroupOperation()) {
      case goSum:
      case goCount: sum->Total -= sum->PendingDeleteValue; break;
      case goAvg:
        sum->AvgSum -= sum->PendingDeleteValue;
        if (sum->PendingDeleteNotNull) --sum->NonNullCount;
        sum->Total = DBSumLst::FixedDiv(sum->AvgSum, sum->NonNullCount);
        break;
    }
  }
  if (!FPendingDeleteBookmark.empty()) {
    // The record is gone from the dataset: find it by string, not by the dataset's order.
    for (std::size_t i = 0; i < FRecordBookmarks.size(); ++i)
      if (FRecordBookmarks[i] == FPendingDeleteBookmark) {
        FRecordBookmarks.erase(FRecordBookmarks.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    FPendingDeleteBookmark.clear();
  }
  NotifySumListChanged();
}

void TDBSumListProducer::AfterCancelHook(TDataSet* DataSet) { FPendingInsert = false; }

void TDBSumListProducer::AfterCloseHook(TDataSet* DataSet)
{
  if (FActive) {
    ResetSums();
    FScanning = false;
  }
  FRecordBookmarks.clear();
}

void TDBSumListProducer::AfterOpenHook(TDataSet* DataSet)
{
  if (FActive) FullRecalc();
}

void TDBSumListProducer::AfterScrollHook(TDataSet* DataSet)
{
  if (!FActive || FScanning) return;
  // A filter change reopens the cursor and scrolls: that is when the totals are redone.
  if (DataSet->GetFiltered() != FSavedFiltered || (DataSet->GetFiltered() && DataSet->GetFilter() != FSavedFilter))
    FullRecalc();
}

void TDBSumListProducer::MasterAfterScrollHook(TDataSet* DataSet)
{
  if (FActive && !FScanning) FullRecalc();
}

// ---- full scan --------------------------------------------------------------------------------

void TDBSumListProducer::FullRecalc()
{
  if (!(WorkWhileDesigning || !OwnerDesigning()) || OwnerLoading() || !FActive || !FDataSet || !FDataSet->GetActive() ||
      !FEventsHooked)
    return;
  ResetSums();
  FLastVirtualPos = -1;
  if (OnRecalcAll) OnRecalcAll(this);
  // However the scan ends: the filter it ran under is taken, then the scan is over and reported.
  TScopeExit reported([this] {
    FScanning = false;
    NotifySumListChanged();
  });
  TScopeExit filterTaken([this] {
    FSavedFiltered = FDataSet->GetFiltered();
    FSavedFilter = FDataSet->GetFilter();
  });
  if (FExternalRecalc) return;
  struct Item {
    TDBSum* Sum;
    TField* Field;
  };
  std::vector<Item> items;
  for (int i = 0; i < FSumCollection->GetCount(); ++i) {
    TDBSum* sum = FSumCollection->GetItem(i);
    TField* field = FieldOf(sum);
    if (Usable(sum, field)) items.push_back({sum, field});
  }
  bool virtualNumbers = !DataSetIsSequenced() && FVirtualRecords;
  if (!items.empty() || virtualNumbers) {
    TControlsGuard disabled(*FDataSet);
    FRecordBookmarks.clear();
    FScanning = true;
    FDataSet->First();
    while (!FDataSet->GetEof()) {
      for (Item& it : items) {
        switch (it.Sum->GetGroupOperation()) {
          case goSum:
            if (!it.Field->IsNull()) it.Sum->Total += ToFixed(it.Field->GetAsFloat());
            break;
          case goAvg:
            if (!it.Field->IsNull()) {
              ++it.Sum->NonNullCount;
              it.Sum->AvgSum += ToFixed(it.Field->GetAsFloat());
            }
            break;
          case goCount:
            if (!it.Field || !it.Field->IsNull()) it.Sum->Total += OneRecord;
            break;
        }
      }
      if (virtualNumbers) FRecordBookmarks.push_back(FDataSet->GetBookmark());
      FDataSet->Next();
    }
    FDataSet->First();
    for (Item& it : items)
      if (it.Sum->GetGroupOperation() == goAvg)
        it.Sum->Total = DBSumLst::FixedDiv(it.Sum->AvgSum, it.Sum->NonNullCount);
  }
  if (OnAfterRecalcAll) OnAfterRecalcAll(this);
}

// ---- virtual record numbers -------------------------------------------------------------------

bool TDBSumListProducer::DataSetIsSequenced() const { return FDataSet && FDataSet->GetIsSequenced(); }

bool TDBSumListProducer::VirtualNumbering() const
{
  return FDataSet && !DataSetIsSequenced() && FVirtualRecords && FActive;
}

Integer TDBSumListProducer::RecordBookmarkCount() const { return static_cast<Integer>(FRecordBookmarks.size()); }

Integer TDBSumListProducer::GetRecordNumber()
{
  if (VirtualNumbering()) return IndexOfBookmark(FDataSet->GetBookmark()) + 1;
  return FDataSet ? FDataSet->GetRecNo() : 0;
}

void TDBSumListProducer::GoToRecordNumber(Integer N)
{
  if (!FDataSet) return;
  if (VirtualNumbering()) {
    if (N >= 1 && N <= RecordBookmarkCount()) FDataSet->GotoBookmark(FRecordBookmarks[N - 1]);
    return;
  }
  FDataSet->SetRecNo(N);
}

Integer TDBSumListProducer::RecordTotal()
{
  if (VirtualNumbering()) return RecordBookmarkCount();
  return FDataSet ? FDataSet->GetRecordCount() : 0;
}

bool TDBSumListProducer::HasRecordNumbers()
{
  if (DataSetIsSequenced()) return true;
  if (!FDataSet || !FVirtualRecords || !FActive) return false;
  return !FRecordBookmarks.empty() || (FDataSet->GetBof() && FDataSet->GetEof());
}

Integer TDBSumListProducer::IndexOfBookmark(const TBookmarkStr& B)
{
  auto count = static_cast<Integer>(FRecordBookmarks.size());
  if (count == 0) return -1;
  Integer p = FLastVirtualPos < 0 || FLastVirtualPos >= count ? 0 : FLastVirtualPos;
  auto cmp = [&](Integer i) { return ZeDuzVCL::CompareBookmarkStrings(FDataSet, FRecordBookmarks[i], B); };
  Integer c = cmp(p);
  Integer result = -1;
  if (c == 0) {
    result = p;
  } else if (c > 0) {
    for (--p; p >= 0; --p)
      if (cmp(p) == 0) {
        result = p;
        break;
      }
  } else {
    for (++p; p < count; ++p)
      if (cmp(p) == 0) {
        result = p;
        break;
      }
  }
  FLastVirtualPos = p;
  return result;
}

// ---- TDBGridEhSumList -------------------------------------------------------------------------

TDBGridEhSumList::TDBGridEhSumList(TComponent* Owner) : TDBSumListProducer(Owner)
{
  WorkWhileDesigning = true;
  SetActive(false);
}

void TDBGridEhSumList::HookDataSetEvents()
{
  if (OwnerDesigning()) {
    FEventsHooked = true;
    return;
  }
  TDBSumListProducer::HookDataSetEvents();
}

void TDBGridEhSumList::UnhookDataSetEvents()
{
  if (OwnerDesigning()) {
    FEventsHooked = false;
    return;
  }
  TDBSumListProducer::UnhookDataSetEvents();
}

PELTO_DEFINE_CLASS(TDBSum)
PELTO_PUBLISH(TDBSum, p)
{
  p.Property("FieldName", &TDBSum::GetFieldName, &TDBSum::SetFieldName);
  p.Property("GroupOperation", &TDBSum::GetGroupOperation, &TDBSum::SetGroupOperation);
}

PELTO_DEFINE_CLASS(TDBSumCollection)

PELTO_DEFINE_CLASS(TDBSumListProducer)

PELTO_DEFINE_CLASS(TDBGridEhSumList)
PELTO_PUBLISH(TDBGridEhSumList, p)
{
  p.Property("Active", &TDBGridEhSumList::GetActive, &TDBGridEhSumList::SetActive).Default(false);
  p.Property("ExternalRecalc", &TDBGridEhSumList::GetExternalRecalc, &TDBGridEhSumList::SetExternalRecalc)
      .Default(false);
  p.Property("VirtualRecords", &TDBGridEhSumList::GetVirtualRecords, &TDBGridEhSumList::SetVirtualRecords)
      .Default(false);
  p.Property("OnRecalcAll", TypeInfo_TNotifyEvent(), &TDBGridEhSumList::OnRecalcAll, &TDBGridEhSumList::OnRecalcAll);
  p.Property("OnAfterRecalcAll", TypeInfo_TNotifyEvent(), &TDBGridEhSumList::OnAfterRecalcAll,
             &TDBGridEhSumList::OnAfterRecalcAll);
  p.Property("SumListChanged", TypeInfo_TNotifyEvent(), &TDBGridEhSumList::SumListChanged,
             &TDBGridEhSumList::SumListChanged);
}
