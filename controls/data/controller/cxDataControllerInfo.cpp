#include "controls/data/controller/cxDataControllerInfo.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/cxDataConsts.h"
#include "controls/data/filter/cxDataFilterFast.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/rtl/Guards.h"

using namespace cxDataControllerInfo;

namespace {

// The record-list sort: a Hoare partition around the middle element with the left part sorted
// by recursion and the right part by the loop. A comparison that answers "less" both ways
// cannot run the scans out of range: each stops at the pivot's slot or the range's bound.
template <class T, class Compare>
void HoareQuickSort(T* A, int L, int R, Compare& Cmp)
{
  int I;
  do {
    I = L;
    int J = R;
    T P = A[static_cast<unsigned>(L + R) >> 1];
    do {
      while (I < R && Cmp(A[I], P) < 0) ++I;
      while (J > L && Cmp(A[J], P) > 0) --J;
      if (I <= J) {
        std::swap(A[I], A[J]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) HoareQuickSort(A, L, J, Cmp);
    L = I;
  } while (I < R);
}

// Keyed forms of one stored field, so the sort compares plain values next to each other.
struct TNumKey {
  double Value;
  int Record;
  int Kind;  // 0 no record block, 1 Null, 2 value (the storage's order)
};
// How many code units of a text its key's head holds, their width, and the head's words (a
// wide text gets two words, eight units: texts often share their first few characters).
template <class S>
struct TTextUnits;
template <>
struct TTextUnits<AnsiString> {
  static constexpr size_t Count = 8;
  static constexpr int Bits = 8;
  static constexpr size_t Words = 1;
};
template <>
struct TTextUnits<WideString> {
  static constexpr size_t Count = 8;
  static constexpr int Bits = 16;
  static constexpr size_t Words = 2;
};

template <class S>
struct TTextKey {
  // The first code units, big-endian, zero-padded: orders most pairs alone.
  uint64_t Head[TTextUnits<S>::Words];
  const S* Value;
  int Record;
  Byte Kind;
  // The text's length when it fits the head, else Count + 1 (Count + 2: no text referenced):
  // with equal heads, a text that fits is a prefix of the other one, so the lengths order the
  // pair without reading the texts.
  Byte Short;
};

// The code-unit order of two texts' keys (both of kind 2), as the value type compares them.
template <class S>
int CompareTextKeys(const TTextKey<S>& A, const TTextKey<S>& B)
{
  constexpr size_t N = TTextUnits<S>::Count;
  for (size_t w = 0; w < TTextUnits<S>::Words; ++w)
    if (A.Head[w] != B.Head[w]) return A.Head[w] < B.Head[w] ? -1 : 1;
  if (A.Short <= N || B.Short <= N) return A.Short == B.Short ? 0 : A.Short < B.Short ? -1 : 1;
  if (!A.Value || !B.Value) return (A.Value ? 1 : 0) - (B.Value ? 1 : 0);
  const int c = A.Value->compare(*B.Value);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

template <class S>
void SetTextHead(TTextKey<S>& AKey)
{
  using U = std::make_unsigned_t<typename S::value_type>;
  constexpr size_t PerWord = TTextUnits<S>::Count / TTextUnits<S>::Words;
  const size_t n = AKey.Value ? std::min<size_t>(AKey.Value->size(), TTextUnits<S>::Count) : 0;
  for (size_t w = 0; w < TTextUnits<S>::Words; ++w) {
    uint64_t h = 0;
    for (size_t i = w * PerWord; i < (w + 1) * PerWord; ++i)
      h = (h << TTextUnits<S>::Bits) | (i < n ? static_cast<U>((*AKey.Value)[i]) : 0u);
    AKey.Head[w] = h;
  }
}

template <class T>
double ReadPlain(const void* AData)
{
  T v;
  std::memcpy(&v, AData, sizeof(T));
  return static_cast<double>(v);
}

using TReadNumber = double (*)(const void*);

TReadNumber NumberReaderOf(TcxValueTypeClass AType)
{
  if (AType == TcxFloatValueType::Class() || AType == TcxDateTimeValueType::Class()) return &ReadPlain<double>;
  if (AType == TcxIntegerValueType::Class()) return &ReadPlain<Integer>;
  if (AType == TcxSmallintValueType::Class()) return &ReadPlain<SmallInt>;
  if (AType == TcxWordValueType::Class()) return &ReadPlain<Word>;
  if (AType == TcxBooleanValueType::Class()) return &ReadPlain<Byte>;
  return nullptr;
}

}  // namespace

// ---- Construction ----------------------------------------------------------------------------

TcxCustomDataControllerInfo::TcxCustomDataControllerInfo(TcxCustomDataController* ADataController)
    : FDataController(ADataController), FSelection(std::make_unique<TcxDataSelection>(ADataController))
{
  FGroupingFieldList.OnChanged = [this](TObject*) { FChanges |= dciGrouping | dciSorting | dciSummary; };
  FSortingFieldList.OnChanged = [this](TObject*) { FChanges |= dciSorting; };
  FSelection->OnChanged = [this](TObject*) {
    FChanges |= dciSelection;
    if (FDataController->GetSummary() && FDataController->GetSummary()->GetOptions().Contains(soSelectedRecords))
      FChanges |= dciSummary;
  };
}

TcxCustomDataControllerInfo::~TcxCustomDataControllerInfo() = default;

bool TcxCustomDataControllerInfo::IsGroupsAlwaysExpanded() const
{
  return FDataController->GetOptions().Contains(dcoGroupsAlwaysExpanded);
}

// ---- Locking and the pass --------------------------------------------------------------------

void TcxCustomDataControllerInfo::EndUpdate()
{
  --FLockCount;
  CheckUpdate();
}

void TcxCustomDataControllerInfo::CheckUpdate()
{
  if (FChanges != 0 && FLockCount == 0 && !FInUpdate) Update();
}

void TcxCustomDataControllerInfo::DataChanged()
{
  FChanges |= dciData | dciSummary;
  if (FSortingFieldList.Count() > 0) FChanges |= dciSorting;
  if (FGroupingFieldList.Count() > 0) FChanges |= dciGrouping;
  CheckUpdate();
}

void TcxCustomDataControllerInfo::FocusedRecordChanged()
{
  FChanges |= dciFocusedRecord;
  FFocusingInfo.Level = -1;
  FFocusingInfo.RecordIndex = FDataController->GetSyncFocusedRecordIndex();
  CheckUpdate();
}

void TcxCustomDataControllerInfo::SummaryChanged(bool AItemOnly)
{
  FChanges |= AItemOnly ? dciItem : dciSummary;
  CheckUpdate();
}

void TcxCustomDataControllerInfo::FocusingChanged(bool AChangedFlag)
{
  FChanges |= dciFocusing;
  if (AChangedFlag) FPrevFocusingInfo.Changed = true;
}

void TcxCustomDataControllerInfo::Update()
{
  FInUpdate = true;
  Word changes = 0;
  bool summary = false;
  const int uncaught = std::uncaught_exceptions();
  TScopeExit finish([&] {
    FSavedInfos.clear();
    FSavedFields.clear();
    FSaveStates = 0;
    if (FExpandingFlag) UpdateSelectionRows();
    FInUpdate = false;
    if (summary && !FDataController->IsReading() && !FDataController->IsDestroying()) {
      // After a failed pass the summaries are recalculated as far as they can be; the pass's
      // own error is the one reported, and the view is still notified.
      if (std::uncaught_exceptions() == uncaught) {
        FDataController->GetSummary()->Calculate();
      } else {
        try {
          FDataController->GetSummary()->Calculate();
        } catch (...) {}
      }
    }
    Notify();
  });
  FDataController->CheckGridMode();
  summary = (FChanges & dciSummary) != 0;
  FExpandingFlag = false;
  changes = FChanges;
  if (FDataController->GetOptions().Contains(dcoSaveExpanding)) {
    Byte states = 0;
    if (changes & (dciData | dciGrouping)) states |= 1;
    if (FSelection->Count() > 0 && (changes & (dciData | dciGrouping | dciSorting | dciExpanding))) states |= 2;
    if (states) SaveExpanding(states);
  }
  if (changes & dciData) {
    ResetRecordList();
    DoFilter();
  }
  if (changes & (dciGrouping | dciSorting)) DoSort();
  if (changes & dciGrouping) DoGrouping();
  std::vector<Byte>().swap(FSortBreaks);
  if (changes & (dciGrouping | dciSorting)) FocusTopRowAfterSorting();
  RestoreExpanding();
  CorrectFocusedRow();
  FDataController->CheckSavedFocus(-1);
}

void TcxCustomDataControllerInfo::Notify()
{
  Word flags = 0;
  if (FChanges & (dciItem | dciSorting)) flags |= cxDataChange::Layout;
  if (FChanges & (dciData | dciGrouping | dciExpanding)) flags |= cxDataChange::Data;
  if (FChanges & (dciFocusMoved | dciFocusedRecord | dciFocusing)) flags |= cxDataChange::Focus;
  if (FChanges & dciSelection) flags |= cxDataChange::Selection;
  if (FChanges & dciSummary) flags |= cxDataChange::Summary;
  if (FDataController->SortingChangedFlag) flags |= cxDataChange::SortingChanged;
  if (FDataController->GroupingChangedFlag) flags |= cxDataChange::GroupingChanged;
  FChanges = 0;
  FDataController->GroupingChangedFlag = false;
  FDataController->SortingChangedFlag = false;
  FDataController->RecordsReloadedFlag = false;
  FDataController->AddChange(flags);
}

// ---- Definitions -----------------------------------------------------------------------------

void TcxCustomDataControllerInfo::RemoveField(TcxCustomDataField* AField)
{
  FSortingFieldList.Remove(AField);
  if (FGroupingFieldList.Find(AField) >= 0) FSelection->ClearWithAnchor();
  FGroupingFieldList.Remove(AField);
  FGroupingFieldList.SyncSortOrders(FSortingFieldList);
  FTotalSortingFieldList.Remove(AField);
  if (std::find(FSavedFields.begin(), FSavedFields.end(), AField) != FSavedFields.end()) {
    FSavedFields.clear();
    FSavedInfos.clear();
  }
  // The groups may still name the field as a level: they go with the next pass.
  for (int i = 0; i < FDataGroups.GetLevelCount(); ++i)
    if (FDataGroups.GetLevelField(i) == AField) FChanges |= dciGrouping;
  CheckUpdate();
}

void TcxCustomDataControllerInfo::FieldChanged(TcxCustomDataField* AField)
{
  FChanges |= dciItem;
  FSortingFieldList.ReportFieldChange(AField);
  if (FGroupingFieldList.Find(AField) >= 0) {
    FSelection->ClearWithAnchor();
    FGroupingFieldList.ReportFieldChange(AField);
  }
  if (std::find(FSavedFields.begin(), FSavedFields.end(), AField) != FSavedFields.end()) {
    FSavedFields.clear();
    FSavedInfos.clear();
  }
  CheckUpdate();
}

void TcxCustomDataControllerInfo::SetSortIndex(TcxCustomDataField* AField, int AIndex)
{
  int cur = FSortingFieldList.Find(AField);
  if (cur < 0) return;
  AIndex = std::clamp(AIndex, 0, FSortingFieldList.Count() - 1);
  if (AIndex != cur) {
    FSortingFieldList.Move(cur, AIndex);
    FDataController->SortingChangedFlag = true;
  }
  CheckUpdate();
}

void TcxCustomDataControllerInfo::ChangeSortOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder)
{
  FSortingFieldList.SetFieldOrder(AField, AOrder);
  FGroupingFieldList.SyncSortOrders(FSortingFieldList);
  CheckUpdate();
}

void TcxCustomDataControllerInfo::ClearSorting(bool AKeepGroupedItems)
{
  int count = FSortingFieldList.Count();
  if (AKeepGroupedItems) {
    for (int i = FSortingFieldList.Count() - 1; i >= 0; --i)
      if (FGroupingFieldList.Find(FSortingFieldList.Items(i).Field) < 0) FSortingFieldList.Delete(i);
  } else {
    FSortingFieldList.Clear();
    FGroupingFieldList.SyncSortOrders(FSortingFieldList);
  }
  if (count != FSortingFieldList.Count()) FDataController->SortingChangedFlag = true;
  CheckUpdate();
}

void TcxCustomDataControllerInfo::SetGroupIndex(TcxCustomDataField* AField, int AIndex)
{
  FGroupingFieldList.SetFieldIndex(AField, AIndex);
  FGroupingFieldList.SyncSortOrders(FSortingFieldList);
  CheckUpdate();
}

// ---- Comparisons -----------------------------------------------------------------------------

int TcxCustomDataControllerInfo::CompareRecords(int R1, int R2)
{
  if (R1 == R2) return 0;
  auto* p = FDataController->GetProvider();
  if (p->IsEditing() && (p->AnchorBefore != cxNullEditingRecord || p->AnchorAfter != cxNullEditingRecord)) {
    const int e = p->EditedRecord;
    const bool a1 = p->AnchorBefore != cxNullEditingRecord;
    const int a2 = p->AnchorAfter;
    if (R1 == e) {
      if (a1) return 1;
      if (a2 == R2) return -1;
      R1 = a2;
    } else if (R2 == e) {
      if (a1) return -1;
      if (a2 == R1) return 1;
      R2 = a2;
    }
    // An anchor past the last record stands behind every record.
    if (R1 >= FDataController->GetRecordCount() || R2 >= FDataController->GetRecordCount()) {
      if (R1 == R2) return 0;
      return R1 >= FDataController->GetRecordCount() ? 1 : -1;
    }
  }
  for (int i = 0; i < FTotalSortingFieldList.Count(); ++i) {
    int r = FDataController->CompareRecordsBySortingField(R1, R2, FTotalSortingFieldList.Items(i));
    if (r != 0) return r;
  }
  return FDataController->CompareEqual(R1, R2);
}

int TcxCustomDataControllerInfo::CompareByEntry(int ARecordIndex1, int ARecordIndex2, int AEntryIndex)
{
  return FDataController->CompareRecordsBySortingField(ARecordIndex1, ARecordIndex2,
                                                       FTotalSortingFieldList.Items(AEntryIndex));
}

// ---- Filter, sort, group ---------------------------------------------------------------------

void TcxCustomDataControllerInfo::ResetRecordList()
{
  FRecordList.resize(static_cast<size_t>(FDataController->GetRecordCount()));
  for (size_t i = 0; i < FRecordList.size(); ++i) FRecordList[i] = static_cast<int>(i);
}

int TcxCustomDataControllerInfo::IndexOfRecord(int ARecordIndex) const
{
  auto it = std::find(FRecordList.begin(), FRecordList.end(), ARecordIndex);
  return it == FRecordList.end() ? -1 : static_cast<int>(it - FRecordList.begin());
}

void TcxCustomDataControllerInfo::DoFilter()
{
  const bool incremental = FDataController->HasIncrementalFilter();
  const bool criteria = FDataController->IsFiltering();
  if (!incremental && !criteria) return;
  const size_t count = FRecordList.size();
  const int edited = FDataController->GetProvider()->EditedRecord;
  std::unique_ptr<TcxDataFilterProgram> program;
  if (criteria) program = cxDataFilterFast::Compile(FDataController->GetFilter());
  // Kept records are compacted forward, which is the backward removal in one sweep.
  size_t out = 0;
  if (program && !incremental) {
    // The compiled tests run over the whole list in one call.
    std::vector<unsigned char> match(count);
    program->MatchRecords(FRecordList.data(), count, match.data());
    for (size_t i = 0; i < count; ++i) {
      const int r = FRecordList[i];
      FRecordList[out] = r;  // out <= i: the slot was read already
      out += (match[i] != 0) | (r == edited);
    }
    FRecordList.resize(out);
    if (out != count) FSelection->ClearWithAnchor();
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const int r = FRecordList[i];
    bool keep = true;
    if (r != edited) {
      if (incremental && !FDataController->IncrementalFilterRecord(r))
        keep = false;
      else if (criteria && !(program ? program->Matches(r) : FDataController->FilterRecord(r)))
        keep = false;
    }
    if (keep) FRecordList[out++] = r;
  }
  FRecordList.resize(out);
  if (out != count) FSelection->ClearWithAnchor();
}

void TcxCustomDataControllerInfo::PrepareFields()
{
  for (int i = 0; i < FTotalSortingFieldList.Count(); ++i) {
    TcxCustomDataField* f = FTotalSortingFieldList.Items(i).Field;
    f->ConversionMode = 0;
    int mode = -1;
    if (FDataController->NeedConversion(f)) mode = FDataController->IsSortByDisplayText(f) ? 2 : 1;
    f->ConversionMode = mode;
  }
}

void TcxCustomDataControllerInfo::UnprepareFields()
{
  for (int i = 0; i < FTotalSortingFieldList.Count(); ++i) FTotalSortingFieldList.Items(i).Field->ConversionMode = 0;
}

void TcxCustomDataControllerInfo::QuickSort(int L, int R)
{
  auto cmp = [this](int a, int b) { return CompareRecords(a, b); };
  HoareQuickSort(FRecordList.data(), L, R, cmp);
}

// One stored number or text field and no editing anchors: the keys are read once and sorted
// next to their records; ties fall back to the full record comparison.
bool TcxCustomDataControllerInfo::SortByKeys()
{
  if (FTotalSortingFieldList.Count() == 0 || FDataController->OnCompare) return false;
  auto* p = FDataController->GetProvider();
  if (p->IsEditing() && (p->AnchorBefore != cxNullEditingRecord || p->AnchorAfter != cxNullEditingRecord)) return false;
  const TcxDataSortInfo entry = FTotalSortingFieldList.Items(0);
  TcxCustomDataField* f = entry.Field;
  if (f->ConversionMode > 0) return false;
  TcxValueDef* def = f->GetValueDef();
  if (!def) return false;
  const bool single = FTotalSortingFieldList.Count() == 1;
  const int sign = entry.SortOrder == soDescending ? -1 : 1;
  TcxDataStorage* storage = FDataController->GetStorage();
  if (!def->GetIsStored()) return false;
  const int offset = def->GetEntryOffset();
  TcxValueTypeClass type = def->GetTypeClass();
  // The entry in the record's block: its assigned byte, then the value slot.
  auto kindOf = [&](int r, const void*& data) {
    const Byte* block = storage->GetRecordBuffer(r);
    data = nullptr;
    if (!block) return 0;
    const Byte* entry = block + offset;
    if (entry[0] == 0) return 1;
    data = type->SlotToData(entry + 1);
    return 2;
  };
  const int n = static_cast<int>(FRecordList.size());
  if (TReadNumber read = NumberReaderOf(def->GetTypeClass())) {
    std::vector<TNumKey> keys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const void* data;
      auto& k = keys[static_cast<size_t>(i)];
      k.Record = FRecordList[static_cast<size_t>(i)];
      k.Kind = kindOf(k.Record, data);
      // Nulls carry the lowest value, so only equal values look at the kind.
      k.Value = k.Kind == 2 ? read(data) : -std::numeric_limits<double>::infinity();
    }
    auto tie = [&](const TNumKey& a, const TNumKey& b) {
      if (a.Kind != b.Kind) return (a.Kind < b.Kind ? -1 : 1) * sign;
      if (a.Record == b.Record) return 0;
      return single ? FDataController->CompareEqual(a.Record, b.Record) : CompareRecords(a.Record, b.Record);
    };
    if (sign > 0) {
      auto cmp = [&](const TNumKey& a, const TNumKey& b) {
        return a.Value < b.Value ? -1 : b.Value < a.Value ? 1 : tie(a, b);
      };
      HoareQuickSort(keys.data(), 0, n - 1, cmp);
    } else {
      auto cmp = [&](const TNumKey& a, const TNumKey& b) {
        return a.Value < b.Value ? 1 : b.Value < a.Value ? -1 : tie(a, b);
      };
      HoareQuickSort(keys.data(), 0, n - 1, cmp);
    }
    for (int i = 0; i < n; ++i) FRecordList[static_cast<size_t>(i)] = keys[static_cast<size_t>(i)].Record;
    if (FGroupingFieldList.Count() > 0) {
      // Equal as the type compares (a NaN equals every number), against the open group's first.
      FSortBreaks.assign(static_cast<size_t>(n), 0);
      int open = 0;
      for (int i = 1; i < n; ++i) {
        const TNumKey& a = keys[static_cast<size_t>(open)];
        const TNumKey& b = keys[static_cast<size_t>(i)];
        const bool same = a.Kind == b.Kind && (a.Kind != 2 || !(a.Value < b.Value || b.Value < a.Value));
        if (!same) {
          FSortBreaks[static_cast<size_t>(i)] = 1;
          open = i;
        }
      }
    }
    return true;
  }
  // Texts: 8-bit or 16-bit code units, each compared by its value type's plain order.
  auto sortTexts = [&]<class S>() {
    constexpr size_t N = TTextUnits<S>::Count;
    std::vector<TTextKey<S>> keys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const void* data;
      auto& k = keys[static_cast<size_t>(i)];
      k.Record = FRecordList[static_cast<size_t>(i)];
      k.Kind = static_cast<Byte>(kindOf(k.Record, data));
      k.Value = k.Kind == 2 ? static_cast<const S*>(data) : nullptr;
      SetTextHead(k);
      k.Short = static_cast<Byte>(k.Value ? std::min<size_t>(k.Value->size(), N + 1) : N + 2);
    }
    auto cmp = [&](const TTextKey<S>& a, const TTextKey<S>& b) {
      int r = a.Kind != b.Kind ? (a.Kind < b.Kind ? -1 : 1) : a.Kind != 2 ? 0 : CompareTextKeys(a, b);
      if (r != 0) return r < 0 ? -sign : sign;
      if (a.Record == b.Record) return 0;
      return single ? FDataController->CompareEqual(a.Record, b.Record) : CompareRecords(a.Record, b.Record);
    };
    HoareQuickSort(keys.data(), 0, n - 1, cmp);
    for (int i = 0; i < n; ++i) FRecordList[static_cast<size_t>(i)] = keys[static_cast<size_t>(i)].Record;
    // Where the first entry's value changes from the open group's first record, as
    // SameGroupValue would find it, while the keys are at hand.
    if (FGroupingFieldList.Count() > 0) {
      FSortBreaks.assign(static_cast<size_t>(n), 0);
      int open = 0;
      for (int i = 1; i < n; ++i) {
        const TTextKey<S>& a = keys[static_cast<size_t>(open)];
        const TTextKey<S>& b = keys[static_cast<size_t>(i)];
        const bool same = a.Kind == b.Kind && (a.Kind != 2 || CompareTextKeys(a, b) == 0);
        if (!same) {
          FSortBreaks[static_cast<size_t>(i)] = 1;
          open = i;
        }
      }
    }
  };
  if (def->GetTypeClass() == TcxStringValueType::Class()) {
    sortTexts.template operator()<AnsiString>();
    return true;
  }
  if (def->GetTypeClass() == TcxWideStringValueType::Class()) {
    sortTexts.template operator()<WideString>();
    return true;
  }
  return false;
}

void TcxCustomDataControllerInfo::DoSort()
{
  FSortBreaks.clear();
  FTotalSortingFieldList.Clear();
  FTotalSortingFieldList.AddFrom(FGroupingFieldList);
  FTotalSortingFieldList.AddFrom(FSortingFieldList);
  if (FDataController->IsGridMode() || FRecordList.empty()) return;
  TScopeExit undo([&] { UnprepareFields(); });
  PrepareFields();
  if (!SortByKeys()) QuickSort(0, static_cast<int>(FRecordList.size()) - 1);
}

bool TcxCustomDataControllerInfo::SameGroupValue(int ARecordIndex1, int ARecordIndex2, int ALevel)
{
  TcxCustomDataField* f = FTotalSortingFieldList.Items(ALevel).Field;
  TcxValueDef* def = f->GetValueDef();
  // A stored value compared as stored: straight from the record blocks.
  if (FDataController->OnCompare || f->ConversionMode > 0 || !def || !def->GetIsStored())
    return CompareByEntry(ARecordIndex1, ARecordIndex2, ALevel) == 0;
  TcxDataStorage* storage = FDataController->GetStorage();
  const Byte* b1 = storage->GetRecordBuffer(ARecordIndex1);
  const Byte* b2 = storage->GetRecordBuffer(ARecordIndex2);
  if (!b1 || !b2) return !b1 && !b2;
  if (def->GetTypeClass() == TcxStringValueType::Class()) {
    // Texts, the common grouping: equal as the type compares them, without its virtual calls.
    const Byte* e1 = b1 + def->GetEntryOffset();
    const Byte* e2 = b2 + def->GetEntryOffset();
    if (e1[0] == 0 || e2[0] == 0) return e1[0] == e2[0];
    const AnsiString* t1 = cxDataStorage::StringOfSlot(e1 + 1);
    const AnsiString* t2 = cxDataStorage::StringOfSlot(e2 + 1);
    if (!t1 || !t2) return !t1 && !t2;
    return *t1 == *t2;
  }
  return def->CompareRecords(b1, b2) == 0;
}

void TcxCustomDataControllerInfo::DoGrouping()
{
  FDataGroups.Clear();
  for (int i = 0; i < FGroupingFieldList.Count(); ++i) FDataGroups.AddLevelField(FGroupingFieldList.Items(i).Field);
  const int levels = FDataGroups.GetLevelCount();
  const int count = static_cast<int>(FRecordList.size());
  if (count == 0 || levels == 0) return;
  std::vector<int> open(static_cast<size_t>(levels)), first(static_cast<size_t>(levels));
  int topNumber = 0;
  auto openGroup = [&](int level, int p) {
    int g = FDataGroups.AddGroup();
    auto& info = FDataGroups.GetItem(g);
    info.RowIndex = topNumber;
    info.Expanded = false;
    info.Level = level;
    info.FirstIndex = level == levels - 1 ? p : g + 1;
    open[static_cast<size_t>(level)] = g;
    first[static_cast<size_t>(level)] = FRecordList[static_cast<size_t>(p)];
  };
  for (int l = 0; l < levels; ++l) openGroup(l, 0);
  // The sort found the top level's changes already when it sorted by that field's keys.
  std::vector<Byte> breaks;
  if (FSortBreaks.size() == FRecordList.size() && FTotalSortingFieldList.Count() > 0 &&
      FTotalSortingFieldList.Items(0).Field == FDataGroups.GetLevelField(0))
    breaks.swap(FSortBreaks);
  FSortBreaks.clear();
  TScopeExit undo([&] {
    UnprepareFields();
    FDataGroups.Clear();
  });
  PrepareFields();
  for (int p = 1; p < count; ++p) {
    const int r = FRecordList[static_cast<size_t>(p)];
    for (int l = 0; l < levels; ++l) {
      if (l == 0 && !breaks.empty() ? !breaks[static_cast<size_t>(p)]
                                    : SameGroupValue(r, first[static_cast<size_t>(l)], l))
        continue;
      if (l == 0) ++topNumber;
      const int lastCreated = FDataGroups.GetCount() - 1;
      for (int k = l; k < levels; ++k) {
        auto& g = FDataGroups.GetItem(open[static_cast<size_t>(k)]);
        g.LastIndex = k == levels - 1 ? p - 1 : lastCreated;
      }
      for (int k = l; k < levels; ++k) openGroup(k, p);
      break;
    }
  }
  undo.Dismiss();
  UnprepareFields();
  const int lastCreated = FDataGroups.GetCount() - 1;
  for (int k = levels - 1; k >= 0; --k)
    FDataGroups.GetItem(open[static_cast<size_t>(k)]).LastIndex = k == levels - 1 ? count - 1 : lastCreated;
  if (IsGroupsAlwaysExpanded()) FDataGroups.SetAllExpanded(true);
}

void TcxCustomDataControllerInfo::FocusTopRowAfterSorting()
{
  auto* c = FDataController;
  if (!c->GetOptions().Contains(dcoFocusTopRowAfterSorting)) return;
  if (!(c->GroupingChangedFlag || c->SortingChangedFlag || c->RecordsReloadedFlag)) return;
  c->RecordsReloadedFlag = false;
  FFocusingInfo.Clear();
  c->ChangeFocusedRowIndex(0);
  if (FSelection->Count() > 0) FSelection->ClearWithAnchor();
}

// ---- Saved group states ----------------------------------------------------------------------

Variant TcxCustomDataControllerInfo::GroupValue(int AGroupIndex)
{
  const int level = FDataGroups.GetItem(AGroupIndex).Level;
  return FDataController->GetComparedValue(FRecordList[static_cast<size_t>(FDataGroups.FirstListIndex(AGroupIndex))],
                                           FDataGroups.GetLevelField(level));
}

void TcxCustomDataControllerInfo::SaveExpanding(Byte AStates)
{
  if (AStates == FSaveStates) return;
  FSavedInfos.clear();
  FSavedFields.clear();
  FSaveStates = 0;
  // Only groups that still match the grouping list can be saved.
  if (FDataGroups.GetLevelCount() != FGroupingFieldList.Count() || FRecordList.empty()) return;
  for (int i = 0; i < FDataGroups.GetLevelCount(); ++i)
    if (FDataGroups.GetLevelField(i) != FGroupingFieldList.Items(i).Field) return;
  FSaveStates = AStates;
  for (int i = 0; i < FDataGroups.GetLevelCount(); ++i) {
    TcxCustomDataField* f = FDataGroups.GetLevelField(i);
    if (std::find(FSavedFields.begin(), FSavedFields.end(), f) != FSavedFields.end())
      cxCustomData::RaiseInvalidOperation(cxDataConsts::cxSDataItemExistError);
    FSavedFields.push_back(f);
  }
  const bool selected = (AStates & 2) != 0;
  const bool always = IsGroupsAlwaysExpanded();
  for (int i = 0; i < FDataGroups.GetCount();) {
    const auto& g = FDataGroups.GetItem(i);
    Byte state = 0;
    if (g.Expanded && (AStates & 1)) state = always ? 0 : 1;
    if (selected && FSelection->FindByGroupIndex(i) >= 0) state |= 2;
    // Records deleted since the last pass leave stale indexes in the old groups: such a group
    // cannot be read back and is not saved.
    const int first = FRecordList[static_cast<size_t>(FDataGroups.FirstListIndex(i))];
    if ((state != 0 || g.Expanded) && first < FDataController->GetRecordCount())
      FSavedInfos.push_back({g.Level, GroupValue(i), state});
    if (g.Expanded) {
      ++i;
    } else {
      // Skip the hidden descendants.
      int j = i + 1;
      while (j < FDataGroups.GetCount() && FDataGroups.GetItem(j).Level > g.Level) ++j;
      i = j;
    }
  }
}

void TcxCustomDataControllerInfo::RestoreExpanding()
{
  if (FSaveStates == 0) return;
  bool fieldsMatch = static_cast<int>(FSavedFields.size()) == FDataGroups.GetLevelCount();
  for (int i = 0; fieldsMatch && i < FDataGroups.GetLevelCount(); ++i)
    fieldsMatch = FSavedFields[static_cast<size_t>(i)] == FDataGroups.GetLevelField(i);
  if (!fieldsMatch) {
    if (FSaveStates & 2) FSelection->ClearWithAnchor();
    return;
  }
  const int levels = FDataGroups.GetLevelCount();
  if (levels == 0) {
    if (FSaveStates & 2) UpdateSelectionRows();
    return;
  }
  // Group entries of the selection are rebuilt from the saved states.
  for (int i = FSelection->Count() - 1; i >= 0; --i)
    if (FSelection->Items(i).Level != levels) FSelection->InternalDelete(i);
  // Walk the saved path: each entry's outer values come from the entries before it.
  std::vector<Variant> path(static_cast<size_t>(levels));
  std::vector<int> pathGroup(static_cast<size_t>(levels), -1);
  bool expanded = false;
  for (const auto& info : FSavedInfos) {
    path[static_cast<size_t>(info.Level)] = info.Value;
    int from = info.Level == 0 ? 0 : pathGroup[static_cast<size_t>(info.Level - 1)];
    if (from < 0) {
      pathGroup[static_cast<size_t>(info.Level)] = -1;
      continue;
    }
    int to = info.Level == 0 ? FDataGroups.GetCount() - 1 : FDataGroups.GetItem(from).LastIndex;
    int found = -1;
    for (int g = info.Level == 0 ? 0 : from + 1; g <= to; ++g) {
      if (FDataGroups.GetItem(g).Level != info.Level) continue;
      if (cxVariants::VarCompareValues(GroupValue(g), info.Value) == 0) {
        found = g;
        break;
      }
    }
    pathGroup[static_cast<size_t>(info.Level)] = found;
    if (found < 0) continue;
    if (info.State & 1) {
      FDataGroups.GetItem(found).Expanded = true;
      expanded = true;
    }
    if (info.State & 2) FSelection->Add(-1, -1, found, -1);
  }
  if (expanded && !IsGroupsAlwaysExpanded()) FDataGroups.RenumberRows();
  UpdateSelectionRows();
  if (FSelection->GetAnchorRowIndex() != -1 && !FSelection->IsRowSelected(FSelection->GetAnchorRowIndex()))
    FSelection->ClearAnchor();
}

// ---- Rows ------------------------------------------------------------------------------------

int TcxCustomDataControllerInfo::GetRowCount() const
{
  return IsGrouped() ? FDataGroups.GetRowCount() : GetFilteredRecordCount();
}

void TcxCustomDataControllerInfo::CheckRowIndex(int ARowIndex) const
{
  if (ARowIndex < 0 || ARowIndex >= GetRowCount())
    cxCustomData::RaiseInvalidOperation(cxDataConsts::cxSDataRowIndexError);
}

TcxRowInfo TcxCustomDataControllerInfo::GetRowInfo(int ARowIndex) const
{
  CheckRowIndex(ARowIndex);
  TcxRowInfo info;
  if (!IsGrouped()) {
    info.RecordIndex = FRecordList[static_cast<size_t>(ARowIndex)];
  } else {
    FDataGroups.GetRowInfo(ARowIndex, info, FRecordList);
  }
  return info;
}

int TcxCustomDataControllerInfo::RowOfListIndex(int AListIndex, int ALeaf) const
{
  const auto& leaf = FDataGroups.GetItem(ALeaf);
  return leaf.RowIndex + AListIndex - leaf.FirstIndex + 1;
}

int TcxCustomDataControllerInfo::GetRowIndexByRecordIndex(int ARecordIndex, bool AMakeVisible)
{
  const int pos = IndexOfRecord(ARecordIndex);
  if (pos < 0) return -1;
  if (!IsGrouped()) return pos;
  const int leaf = FDataGroups.FindLeafByListIndex(pos);
  if (leaf < 0) return -1;
  if (!AMakeVisible) {
    if (!FDataGroups.IsGroupVisible(leaf) || !FDataGroups.GetItem(leaf).Expanded) return -1;
  } else if (FDataGroups.MakeVisible(leaf, true)) {
    FChanges |= dciExpanding;
    FExpandingFlag = true;
    CheckUpdate();
  }
  return RowOfListIndex(pos, leaf);
}

void TcxCustomDataControllerInfo::ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive)
{
  CheckRowIndex(ARowIndex);
  if (!IsGrouped() || IsGroupsAlwaysExpanded()) return;
  const int focusedRecord = GetFocusedRecordIndex();
  TUpdateGuard lock(*this);
  FDataGroups.ChangeExpanding(ARowIndex, AExpanded, ARecursive);
  FChanges |= dciExpanding;
  FExpandingFlag = true;
  if (!AExpanded && focusedRecord >= 0) {
    FFocusingInfo.RecordIndex = focusedRecord;
    int row = RowAfterCollapse();
    if (row != FFocusingInfo.RowIndex) {
      FFocusingInfo.RowIndex = -2;  // force the move: the old row no longer shows the record
      ChangeFocusedRow(row, true);
    }
  }
}

void TcxCustomDataControllerInfo::FullExpand(bool AExpanded)
{
  if (!IsGrouped() || (IsGroupsAlwaysExpanded() && !AExpanded)) return;
  BeginUpdate();
  FDataGroups.SetAllExpanded(AExpanded);
  FChanges |= dciExpanding;
  FExpandingFlag = true;
  EndUpdate();
}

// ---- Focus -----------------------------------------------------------------------------------

int TcxCustomDataControllerInfo::GetFocusedRecordIndex() const
{
  if (FFocusingInfo.RowIndex < 0 || FFocusingInfo.RowIndex >= GetRowCount()) return -1;
  return GetRowInfo(FFocusingInfo.RowIndex).RecordIndex;
}

void TcxCustomDataControllerInfo::ChangeFocusedRow(int ARowIndex, bool AForce)
{
  ARowIndex = std::clamp(ARowIndex, -1, GetRowCount() - 1);
  if (ARowIndex == FFocusingInfo.RowIndex) return;
  FFocusingFlag = true;
  if (!(FChanges & dciFocusMoved)) FPrevFocusingInfo.Assign(FFocusingInfo);
  // Focusing may post an edit; its pass waits, so the row still shows the record asked for
  // and the pass then follows that record to its new row.
  ++FLockCount;
  TScopeExit undo([&] {
    --FLockCount;
    FFocusingFlag = false;
  });
  const int record = ARowIndex >= 0 ? GetRowInfo(ARowIndex).RecordIndex : -1;
  if (AForce || FDataController->CanFocusRecord(record)) {
    FDataController->FocusedRowChanging(ARowIndex);
    FFocusingInfo.RowIndex = ARowIndex;
  }
  undo.Dismiss();
  --FLockCount;
  const int rows = GetRowCount();
  if (FFocusingInfo.RowIndex >= rows) FFocusingInfo.RowIndex = -1;
  if (FPrevFocusingInfo.RowIndex >= rows) FPrevFocusingInfo.RowIndex = -1;
  if (FFocusingInfo.RowIndex >= 0) {
    TcxRowInfo info = GetRowInfo(FFocusingInfo.RowIndex);
    FFocusingInfo.Level = info.Level;
    FFocusingInfo.RecordIndex = info.RecordIndex;
  } else {
    FFocusingInfo.Level = FFocusingInfo.RecordIndex = -1;
  }
  FFocusingInfo.PrevRecordIndex = FFocusingInfo.RecordIndex;
  const bool same = FFocusingInfo.RecordIndex == FPrevFocusingInfo.RecordIndex &&
                    FFocusingInfo.Level == FPrevFocusingInfo.Level &&
                    FFocusingInfo.RowIndex == FPrevFocusingInfo.RowIndex;
  if (!same) {
    FChanges |= dciFocusMoved | dciFocusing;
    if (FDataController->GetNewItemRowFocused() && FFocusingInfo.RowIndex >= 0) {
      FDataController->SetNewItemRowFocused(false);
      FPrevFocusingInfo.Changed = true;
    }
  }
  FFocusingFlag = false;
  CheckUpdate();
}

int TcxCustomDataControllerInfo::LocateFocusedRow(bool AMakeVisible)
{
  const int record = FFocusingInfo.RecordIndex;
  if (record < 0) return -1;
  const int pos = IndexOfRecord(record);
  if (pos < 0) return -1;
  if (!IsGrouped()) return pos;
  const int leaf = FDataGroups.FindLeafByListIndex(pos);
  const int levels = FDataGroups.GetLevelCount();
  const bool firstOfLeaf = FDataGroups.GetItem(leaf).FirstIndex == pos;
  if (firstOfLeaf && FFocusingInfo.Level < levels) {
    // The group row of the focused level (or the outermost) that starts with the record.
    int g = leaf;
    const int want = FFocusingInfo.Level < 0 ? 0 : FFocusingInfo.Level;
    while (FDataGroups.GetItem(g).Level > want) {
      int parent = FDataGroups.GetParent(g);
      if (parent < 0 || FDataGroups.FirstListIndex(parent) != pos) break;
      g = parent;
    }
    if (FDataGroups.MakeVisible(g, false)) {
      FChanges |= dciExpanding;
      FExpandingFlag = true;
    }
    return FDataGroups.GetItem(g).RowIndex;
  }
  if (FDataGroups.MakeVisible(leaf, true)) {
    FChanges |= dciExpanding;
    FExpandingFlag = true;
  }
  return RowOfListIndex(pos, leaf);
}

int TcxCustomDataControllerInfo::RowAfterCollapse()
{
  const int pos = IndexOfRecord(FFocusingInfo.RecordIndex);
  if (pos < 0) return -1;
  if (!IsGrouped()) return pos;
  const int leaf = FDataGroups.FindLeafByListIndex(pos);
  const int levels = FDataGroups.GetLevelCount();
  if (FFocusingInfo.Level == levels && FDataGroups.IsGroupVisible(leaf) && FDataGroups.GetItem(leaf).Expanded)
    return RowOfListIndex(pos, leaf);
  // The outermost collapsed group that hides the record's row, or its group row.
  int g = leaf;
  for (int p = FDataGroups.GetParent(g); p >= 0; p = FDataGroups.GetParent(p))
    if (!FDataGroups.GetItem(p).Expanded) g = p;
  return FDataGroups.GetItem(g).RowIndex;
}

void TcxCustomDataControllerInfo::CorrectFocusedRow()
{
  if (FFocusingInfo.RecordIndex < 0) {
    if (FFocusingInfo.RowIndex >= GetRowCount()) ChangeFocusedRow(-1, true);
    return;
  }
  const int row = LocateFocusedRow(true);
  bool shows = false;
  if (FFocusingInfo.RowIndex >= 0 && FFocusingInfo.RowIndex < GetRowCount()) {
    TcxRowInfo info = GetRowInfo(FFocusingInfo.RowIndex);
    shows = info.RecordIndex == FFocusingInfo.RecordIndex && info.Level == FFocusingInfo.Level;
  }
  if (row != FFocusingInfo.RowIndex && !shows) {
    const int record = FFocusingInfo.RecordIndex;
    const int level = FFocusingInfo.Level;
    if (!(FChanges & dciFocusMoved)) {
      FPrevFocusingInfo.Assign(FFocusingInfo);
      FPrevFocusingInfo.RecordIndex = record;
      FPrevFocusingInfo.Level = level;
    }
    FFocusingInfo.RowIndex = -2;  // the row no longer shows the record: move with force
    ChangeFocusedRow(row, true);
  }
  if ((FChanges & dciFocusMoved) && FPrevFocusingInfo.RowIndex >= GetRowCount()) FPrevFocusingInfo.RowIndex = -1;
}

// ---- Selection -------------------------------------------------------------------------------

void TcxCustomDataControllerInfo::UpdateSelectionRows()
{
  const int levels = FDataGroups.GetLevelCount();
  for (int i = FSelection->Count() - 1; i >= 0; --i) {
    auto& e = FSelection->Items(i);
    int row;
    if (e.Level == -1) {
      row = e.RecordIndex < FDataGroups.GetCount() && FDataGroups.IsGroupVisible(e.RecordIndex)
                ? FDataGroups.GetItem(e.RecordIndex).RowIndex
                : -1;
    } else {
      row = GetRowIndexByRecordIndex(e.RecordIndex, false);
      e.Level = IsGrouped() ? levels : 0;
    }
    if (row < 0)
      FSelection->InternalDelete(i);
    else
      e.RowIndex = row;
  }
  FSelection->Sort();
  FChanges |= dciSelection;
}

void TcxCustomDataControllerInfo::DropStaleSelection()
{
  const int count = FDataController->GetRecordCount();
  bool changed = false;
  for (int i = FSelection->Count() - 1; i >= 0; --i) {
    const auto& e = FSelection->Items(i);
    if (count == 0 || (e.Level != -1 && e.RecordIndex >= count)) {
      FSelection->InternalDelete(i);
      changed = true;
    }
  }
  if (changed) FSelection->Changed();
}
