#include "platform/db/DataSet.h"

#include <algorithm>
#include <cstring>

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/FilterExpr.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

using SysUtils::Format;

namespace {

std::vector<AnsiString> SplitNames(const AnsiString& Names)
{
  std::vector<AnsiString> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = Names.find(';', start);
    AnsiString name = SysUtils::Trim(Names.substr(start, p == AnsiString::npos ? AnsiString::npos : p - start));
    if (!name.empty()) out.push_back(name);
    if (p == AnsiString::npos) break;
    start = p + 1;
  }
  return out;
}

std::vector<Variant> ValuesOf(const Variant& Values, std::size_t Count)
{
  std::vector<Variant> out;
  if (Values.IsArray()) {
    int lo = Variants::VarArrayLowBound(Values, 1), hi = Variants::VarArrayHighBound(Values, 1);
    for (int i = lo; i <= hi; ++i) out.push_back(Variants::VarArrayGet(Values, {i}));
  } else {
    out.push_back(Values);
  }
  if (out.size() != Count) DB::DatabaseError("Number of key values does not match the number of key fields");
  return out;
}

bool IsNullish(const Variant& v) { return v.IsNull() || v.IsEmpty(); }

// Orders two field values: nulls first, texts ignoring case, otherwise by value; values that
// cannot be compared fall back to their texts.
int CompareValues(const Variant& a, const Variant& b)
{
  bool na = IsNullish(a), nb = IsNullish(b);
  if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  if (Variants::VarIsStr(a) || Variants::VarIsStr(b))
    return SysUtils::AnsiCompareText(Variants::VarToStr(a), Variants::VarToStr(b));
  try {
    switch (Variants::VarCompareValue(a, b)) {
      case Variants::vrEqual: return 0;
      case Variants::vrLessThan: return -1;
      case Variants::vrGreaterThan: return 1;
      default: break;
    }
  } catch (const EVariantError&) {}
  return SysUtils::AnsiCompareText(Variants::VarToStr(a), Variants::VarToStr(b));
}

bool KeyMatches(const Variant& value, const Variant& key, TLocateOptions options)
{
  if (IsNullish(key)) return IsNullish(value);
  if (IsNullish(value)) return false;
  if (Variants::VarIsStr(value) || Variants::VarIsStr(key) || options.Contains(loPartialKey)) {
    AnsiString v = Variants::VarToStr(value), k = Variants::VarToStr(key);
    if (options.Contains(loPartialKey) && v.size() > k.size()) v.resize(k.size());
    return options.Contains(loCaseInsensitive) ? SysUtils::AnsiCompareText(v, k) == 0 : v == k;
  }
  try {
    return Variants::VarCompareValue(value, key) == Variants::vrEqual;
  } catch (const EVariantError&) {
    return false;
  }
}

TBookmarkStr BookmarkOf(Int64 id)
{
  TBookmarkStr b(sizeof id, '\0');
  std::memcpy(b.data(), &id, sizeof id);
  return b;
}

}  // namespace

// --- TRecordData ----------------------------------------------------------------------------

Variant TRecordData::Value(std::size_t Index) const
{
  if (IsPacked()) return Index < Packed.GetCount() ? Packed.Get(Index) : Variant::Null();
  return Index < Values.size() ? Values[Index] : Variant::Null();
}

void TRecordData::Unpack(std::size_t Count)
{
  if (IsPacked()) {
    Values = Packed.Unpack();
    Packed = TPackedValues();
  }
  Values.resize(Count);
}

void TRecordData::Pack()
{
  if (!Values.empty() && TPackedValues::Pack(Values, Packed)) Values.clear();
}

// --- TFields ---------------------------------------------------------------------------------

TField* TFields::FindField(const AnsiString& Name) const
{
  for (TField* f : FList)
    if (SysUtils::SameText(f->GetFieldName(), Name)) return f;
  return nullptr;
}

Integer TFields::IndexOf(const TField* Field) const
{
  auto it = std::find(FList.begin(), FList.end(), Field);
  return it == FList.end() ? -1 : static_cast<Integer>(it - FList.begin());
}

// --- life ------------------------------------------------------------------------------------

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet()
{
  FState = dsInactive;
  ClearBuffers();
  for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->SetDataSet(nullptr);
  DestroyComponents();
  for (TField* f : FFields.FList) f->FDataSet = nullptr;
  FFields.FList.clear();
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    for (TField* f : FFields.FList)
      if (f->FLookupDataSet == AComponent) f->FLookupDataSet = nullptr;
}

void TDataSet::CheckActive() const
{
  if (FState == dsInactive) DB::DatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const
{
  if (FState != dsInactive) DB::DatabaseError("Cannot perform this operation on an open dataset");
}

TField* TDataSet::FieldByName(const AnsiString& Name) const
{
  TField* f = FindField(Name);
  if (!f) DB::DatabaseError(Format("Field '%s' not found", {Name}));
  return f;
}

std::vector<TField*> TDataSet::GetFieldList(const AnsiString& Names) const
{
  std::vector<TField*> out;
  for (const AnsiString& n : SplitNames(Names)) out.push_back(FieldByName(n));
  return out;
}

Variant TDataSet::GetFieldValues(const AnsiString& Names) const
{
  std::vector<TField*> fields = GetFieldList(Names);
  if (fields.size() == 1) return fields[0]->GetValue();
  std::vector<Variant> values;
  for (TField* f : fields) values.push_back(f->GetValue());
  return Variants::VarArrayOf(values);
}

void TDataSet::SetFieldValues(const AnsiString& Names, const Variant& Values)
{
  std::vector<TField*> fields = GetFieldList(Names);
  std::vector<Variant> values = ValuesOf(Values, fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i]->SetValue(values[i]);
}

// --- open/close ------------------------------------------------------------------------------

void TDataSet::SetActive(bool Value)
{
  if (Value == GetActive()) return;
  if (Value) {
    DoEvent(BeforeOpen);
    TScopeExit undo([&] {
      FState = dsInactive;
      ClearBuffers();
      if (FDefaultFields) {
        for (TField* f : std::vector<TField*>(FFields.FList)) delete f;
        FDefaultFields = false;
      }
      InternalClose();
    });
    FState = dsOpening;
    InternalOpen();
    BindFields();
    RebuildView();
    undo.Dismiss();
    FState = dsInactive;
    FCur = FView.empty() ? -1 : 0;
    FBof = true;
    FEof = FView.empty();
    FFirst = 0;
    Integer shift;
    MoveWindowTo(FCur < 0 ? 0 : FCur, false, shift);
    SetState(dsBrowse);
    DoEvent(AfterOpen);
    if (!FView.empty()) DoEvent(AfterScroll);
  } else {
    DoEvent(BeforeClose);
    SetState(dsInactive);
    InternalClose();
    ClearBuffers();
    if (FDefaultFields) {
      for (TField* f : std::vector<TField*>(FFields.FList)) delete f;
      FDefaultFields = false;
    }
    DoEvent(AfterClose);
  }
}

void TDataSet::BindFields()
{
  if (FFields.FList.empty()) {
    FDefaultFields = true;
    FState = dsInactive;  // fields join only a closed dataset
    for (Integer i = 0; i < FFieldDefs.GetCount(); ++i) FFieldDefs.GetItem(i)->CreateField(this, this);
    FState = dsOpening;
  }
  FCalcCount = 0;
  for (TField* f : FFields.FList) {
    if (f->FFieldKind == fkData) {
      f->FFieldNo = FFieldDefs.Find(f->GetFieldName())->GetFieldNo();
      f->FCalcIndex = -1;
    } else {
      f->FFieldNo = 0;
      f->FCalcIndex = FCalcCount++;
    }
  }
}

void TDataSet::AddLoadedRecord(std::vector<Variant>&& Values)
{
  auto rec = std::make_unique<TRecordData>();
  rec->Id = FNextId++;
  rec->Values = std::move(Values);
  rec->Values.resize(static_cast<std::size_t>(FFieldDefs.GetCount()));
  rec->Pack();
  FRecords.push_back(std::move(rec));
}

void TDataSet::AddLoadedRecord(TPackedValues&& Values)
{
  auto rec = std::make_unique<TRecordData>();
  rec->Id = FNextId++;
  rec->Packed = std::move(Values);
  if (rec->Packed.GetCount() != static_cast<std::size_t>(FFieldDefs.GetCount())) {
    rec->Unpack(static_cast<std::size_t>(FFieldDefs.GetCount()));
    rec->Pack();
  }
  FRecords.push_back(std::move(rec));
}

void TDataSet::ClearBuffers()
{
  FEditRecord.reset();
  FView.clear();
  FRecords.clear();
  FReadValues.clear();
  FCur = -1;
  FBof = FEof = true;
  FFirst = FBufRecCount = FActiveRecord = 0;
  FModified = false;
  FDeletedCount = 0;
  ViewChanged();
}

// --- records and the view --------------------------------------------------------------------

void TDataSet::RebuildView()
{
  ViewChanged();
  if (FDeletedCount > 0) {
    std::erase_if(FRecords, [](const auto& r) { return r->Deleted; });
    FDeletedCount = 0;
  }
  FView.clear();
  FView.reserve(FRecords.size());
  for (auto& r : FRecords)
    if (RecordAccepted(r.get())) FView.push_back(r.get());
  ApplySort();
}

bool TDataSet::RecordAccepted(TRecordData* Rec)
{
  if (!FFiltered || (!FFilterExpr && !OnFilterRecord)) return true;
  TDataSetState saved = FState;
  TRecordData* savedRec = FCalcRecord;
  FState = dsFilter;
  FCalcRecord = Rec;
  bool accept = true;
  TScopeExit undo([&] {
    FState = saved;
    FCalcRecord = savedRec;
  });
  if (FFilterExpr) accept = FFilterExpr->Evaluate(this);
  if (accept && OnFilterRecord) OnFilterRecord(this, accept);
  return accept;
}

void TDataSet::ApplySort()
{
  if (SysUtils::Trim(FSort).empty()) return;
  struct Key {
    TField* Field;
    bool Desc;
  };
  std::vector<Key> keys;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = FSort.find(',', start);
    AnsiString part = SysUtils::Trim(FSort.substr(start, p == AnsiString::npos ? AnsiString::npos : p - start));
    if (!part.empty()) {
      bool desc = false;
      std::size_t sp = part.find_last_of(" \t");
      if (sp != AnsiString::npos) {
        AnsiString dir = SysUtils::UpperCase(part.substr(sp + 1));
        if (dir == "DESC" || dir == "ASC") {
          desc = dir == "DESC";
          part = SysUtils::Trim(part.substr(0, sp));
        }
      }
      if (part.size() > 1 && part.front() == '[' && part.back() == ']') part = part.substr(1, part.size() - 2);
      keys.push_back({FieldByName(part), desc});
    }
    if (p == AnsiString::npos) break;
    start = p + 1;
  }
  std::stable_sort(FView.begin(), FView.end(), [&](TRecordData* a, TRecordData* b) {
    for (const Key& k : keys) {
      int c = CompareValues(FieldValueOf(a, k.Field), FieldValueOf(b, k.Field));
      if (c != 0) return k.Desc ? c > 0 : c < 0;
    }
    return false;
  });
}

Integer TDataSet::ViewIndexOfId(Int64 Id) const
{
  if (!FViewIndexValid) {
    FViewIndex.clear();
    FViewIndex.reserve(FView.size());
    for (std::size_t i = 0; i < FView.size(); ++i) FViewIndex[FView[i]->Id] = static_cast<Integer>(i);
    FViewIndexValid = true;
  }
  auto it = FViewIndex.find(Id);
  return it == FViewIndex.end() ? -1 : it->second;
}

Integer TDataSet::ViewIndexOf(const TRecordData* Rec) const { return Rec ? ViewIndexOfId(Rec->Id) : -1; }

Integer TDataSet::ViewIndexOfBookmark(const TBookmarkStr& Bookmark) const
{
  if (Bookmark.size() != sizeof(Int64)) return -1;
  Int64 id;
  std::memcpy(&id, Bookmark.data(), sizeof id);
  return ViewIndexOfId(id);
}

TRecordData* TDataSet::CurrentRecord() const
{
  return FCur >= 0 && FCur < static_cast<Integer>(FView.size()) ? FView[static_cast<std::size_t>(FCur)] : nullptr;
}

TRecordData* TDataSet::ActiveBuffer() const
{
  switch (FState) {
    case dsCalcFields:
    case dsFilter: return FCalcRecord;
    case dsInactive:
    case dsOpening: return nullptr;
    default: break;
  }
  if (FBufRecCount == 0) return nullptr;
  Integer row = FFirst + FActiveRecord;
  if ((FState == dsEdit || FState == dsInsert) && row == FCur) return FEditRecord.get();
  if (row < 0 || row >= static_cast<Integer>(FView.size())) return nullptr;
  return FView[static_cast<std::size_t>(row)];
}

Variant TDataSet::FieldValueOf(const TRecordData* Rec, const TField* Field) const
{
  if (!Rec) return Variant::Null();
  if (Field->FFieldNo > 0) return Rec->Value(static_cast<std::size_t>(Field->FFieldNo - 1));
  if (Field->FCalcIndex < 0) return Variant::Null();
  if (!Rec->CalcValid && FState != dsCalcFields) CalculateFields(const_cast<TRecordData*>(Rec));
  std::size_t i = static_cast<std::size_t>(Field->FCalcIndex);
  return i < Rec->Calc.size() ? Rec->Calc[i] : Variant::Null();
}

const Variant& TDataSet::GetFieldValue(const TField* Field) const
{
  static const Variant null = Variant::Null();
  TRecordData* rec = ActiveBuffer();
  if (!rec) return null;
  if (Field->FFieldNo > 0) {
    std::size_t i = static_cast<std::size_t>(Field->FFieldNo - 1);
    if (!rec->IsPacked()) return i < rec->Values.size() ? rec->Values[i] : null;
    if (i >= rec->Packed.GetCount()) return null;
    if (FReadValues.size() <= i) FReadValues.resize(i + 1);
    rec->Packed.Get(i, FReadValues[i]);
    return FReadValues[i];
  }
  if (Field->FCalcIndex < 0) return null;
  if (!rec->CalcValid && FState != dsCalcFields) CalculateFields(rec);
  std::size_t i = static_cast<std::size_t>(Field->FCalcIndex);
  return i < rec->Calc.size() ? rec->Calc[i] : null;
}

bool TDataSet::GetFieldAnsi(const TField* Field, AnsiString& Out) const
{
  if (Field->FFieldNo <= 0) return false;
  TRecordData* rec = ActiveBuffer();
  if (!rec || !rec->IsPacked()) return false;
  const std::size_t i = static_cast<std::size_t>(Field->FFieldNo - 1);
  switch (rec->Packed.GetKind(i)) {
    case TPackedValues::pkEmpty:
    case TPackedValues::pkNull: Out.clear(); return true;
    case TPackedValues::pkAnsi:
    case TPackedValues::pkWideAnsi: {
      std::string_view bytes = rec->Packed.GetBytes(i);
      Out.assign(bytes.data(), bytes.size());
      return true;
    }
    default: return false;
  }
}

bool TDataSet::GetFieldIsNull(const TField* Field) const
{
  if (Field->FFieldNo > 0) {
    const TRecordData* rec = ActiveBuffer();
    if (!rec) return true;
    if (rec->IsPacked()) {
      const TPackedValues::TKind kind = rec->Packed.GetKind(static_cast<std::size_t>(Field->FFieldNo - 1));
      return kind == TPackedValues::pkNull || kind == TPackedValues::pkEmpty;
    }
  }
  const Variant& v = GetFieldValue(Field);
  return v.IsNull() || v.IsEmpty();
}

Variant TDataSet::GetOldFieldValue(const TField* Field) const
{
  if (FState == dsInsert) return Variant::Null();
  return FieldValueOf(CurrentRecord(), Field);
}

void TDataSet::CalculateFields(TRecordData* Rec) const
{
  auto* self = const_cast<TDataSet*>(this);
  Rec->Calc.assign(static_cast<std::size_t>(FCalcCount), Variant::Null());
  Rec->CalcValid = true;
  if (FCalcCount == 0) return;
  TDataSetState saved = FState;
  TRecordData* savedRec = FCalcRecord;
  self->FState = dsCalcFields;
  self->FCalcRecord = Rec;
  TScopeExit undo([&] {
    self->FState = saved;
    self->FCalcRecord = savedRec;
  });
  for (TField* f : FFields.FList) {
    if (f->FFieldKind != fkLookup || !f->FLookupDataSet || !f->FLookupDataSet->GetActive()) continue;
    std::vector<TField*> keys = GetFieldList(f->FKeyFields);
    std::vector<Variant> values;
    bool anyNull = false;
    for (TField* k : keys) {
      values.push_back(FieldValueOf(Rec, k));
      anyNull = anyNull || IsNullish(values.back());
    }
    if (anyNull) continue;
    Variant key = values.size() == 1 ? values[0] : Variants::VarArrayOf(values);
    Rec->Calc[static_cast<std::size_t>(f->FCalcIndex)] =
        f->FLookupDataSet->Lookup(f->FLookupKeyFields, key, f->FLookupResultField);
  }
  if (OnCalcFields) OnCalcFields(self);
}

void TDataSet::SetFieldValue(TField* Field, const Variant& Value)
{
  if (FState == dsCalcFields) {
    if (Field->FCalcIndex < 0) DB::DatabaseError(Format("Field '%s' cannot be modified", {Field->GetDisplayName()}));
    FCalcRecord->Calc[static_cast<std::size_t>(Field->FCalcIndex)] = Value;
    return;
  }
  if (FState != dsEdit && FState != dsInsert) DB::DatabaseError("Dataset not in edit or insert mode");
  if (Field->FFieldNo <= 0 || Field->GetReadOnly())
    DB::DatabaseError(Format("Field '%s' cannot be modified", {Field->GetDisplayName()}));
  Variant& slot = FEditRecord->Values[static_cast<std::size_t>(Field->FFieldNo - 1)];
  Variant old = slot;
  slot = Value;
  if (Field->OnValidate) {
    TScopeExit undo([&] { slot = old; });
    Field->OnValidate(Field);
    undo.Dismiss();
  }
  FEditRecord->CalcValid = false;
  FModified = true;
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
  if (Field->OnChange) Field->OnChange(Field);
}

// --- window ----------------------------------------------------------------------------------

void TDataSet::MoveWindowTo(Integer Cur, bool Center, Integer& Shift)
{
  Integer n = static_cast<Integer>(FView.size());
  Integer count = std::min(FBufferCount, n);
  Integer oldFirst = FFirst;
  Integer first;
  if (n == 0) {
    first = 0;
  } else if (Center) {
    first = Cur - (count - 1) / 2;
  } else if (Cur < FFirst) {
    first = Cur;
  } else if (Cur >= FFirst + count) {
    first = Cur - count + 1;
  } else {
    first = FFirst;
  }
  first = std::clamp(first, 0, std::max(0, n - count));
  FFirst = first;
  FBufRecCount = count;
  FActiveRecord = n == 0 ? 0 : Cur - first;
  Shift = first - oldFirst;
}

void TDataSet::Resync(bool Center)
{
  Integer shift;
  MoveWindowTo(FCur < 0 ? 0 : FCur, Center, shift);
}

void TDataSet::UpdateBufferCount()
{
  Integer count = 1;
  for (TDataSource* ds : FDataSources)
    for (TDataLink* l : ds->FDataLinks) count = std::max(count, l->FBufferCount);
  if (count == FBufferCount) return;
  FBufferCount = count;
  if (GetActive()) Resync(false);
}

void TDataSet::SetState(TDataSetState Value)
{
  if (FState == Value) return;
  FState = Value;
  if (Value == dsBrowse || Value == dsInactive) FModified = false;
  DataEvent(deUpdateState, 0);
}

// --- navigation ------------------------------------------------------------------------------

void TDataSet::First()
{
  CheckBrowseMode();
  DoEvent(BeforeScroll);
  FCur = FView.empty() ? -1 : 0;
  FBof = true;
  FEof = FView.empty();
  FFirst = 0;
  Resync(false);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterScroll);
}

void TDataSet::Last()
{
  CheckBrowseMode();
  DoEvent(BeforeScroll);
  Integer n = static_cast<Integer>(FView.size());
  FCur = n - 1;
  FEof = true;
  FBof = n == 0;
  FFirst = n;
  Resync(false);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterScroll);
}

Integer TDataSet::MoveBy(Integer Distance)
{
  CheckBrowseMode();
  Integer n = static_cast<Integer>(FView.size());
  if (Distance == 0 || n == 0) {
    if (n == 0) FBof = FEof = true;
    return 0;
  }
  DoEvent(BeforeScroll);
  Integer target = FCur + Distance;
  if (Distance > 0) {
    FBof = false;
    FEof = target >= n;
    if (FEof) target = n - 1;
  } else {
    FEof = false;
    FBof = target < 0;
    if (FBof) target = 0;
  }
  Integer moved = target - FCur;
  FCur = target;
  Integer shift;
  MoveWindowTo(FCur, false, shift);
  if (moved != 0) DataEvent(deDataSetScroll, shift);
  DoEvent(AfterScroll);
  return moved;
}

Integer TDataSet::GetRecNo() const
{
  if (FState == dsInsert || FCur < 0) return 0;
  return FCur + 1;
}

void TDataSet::SetRecNo(Integer Value)
{
  CheckBrowseMode();
  Integer n = static_cast<Integer>(FView.size());
  if (n == 0 || Value == FCur + 1) return;
  Value = std::clamp(Value, 1, n);
  DoEvent(BeforeScroll);
  FCur = Value - 1;
  FBof = FEof = false;
  Resync(true);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterScroll);
}

Integer TDataSet::GetRecordCount() const
{
  CheckActive();
  return static_cast<Integer>(FView.size()) - (FState == dsInsert ? 1 : 0);
}

TBookmarkStr TDataSet::GetBookmark() const
{
  // The bookmark of the active record: a link that switched its active record reads that row's.
  if (FState == dsInactive || FState == dsOpening) return TBookmarkStr();
  Integer row = FFirst + FActiveRecord;
  if (row < 0 || row >= static_cast<Integer>(FView.size())) return TBookmarkStr();
  if (FState == dsInsert && row == FCur) return TBookmarkStr();  // not posted yet
  return BookmarkOf(FView[static_cast<std::size_t>(row)]->Id);
}

bool TDataSet::BookmarkValid(const TBookmarkStr& Bookmark) const
{
  return GetActive() && ViewIndexOfBookmark(Bookmark) >= 0;
}

Integer TDataSet::CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const
{
  if (A.empty() || B.empty()) return A.empty() == B.empty() ? 0 : (A.empty() ? -1 : 1);
  Integer a = ViewIndexOfBookmark(A), b = ViewIndexOfBookmark(B);
  return a < b ? -1 : (a > b ? 1 : 0);
}

void TDataSet::GotoBookmark(const TBookmarkStr& Bookmark)
{
  CheckBrowseMode();
  Integer i = ViewIndexOfBookmark(Bookmark);
  if (i < 0) DB::DatabaseError("Record not found");
  DoEvent(BeforeScroll);
  FCur = i;
  FBof = FEof = false;
  Resync(true);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterScroll);
}

// --- editing ---------------------------------------------------------------------------------

void TDataSet::Edit()
{
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) return;
  if (FView.empty()) {
    Append();
    return;
  }
  CheckBrowseMode();
  if (!GetCanModify()) DB::DatabaseError("Cannot modify a read-only dataset");
  DoEvent(BeforeEdit);
  FEditRecord = std::make_unique<TRecordData>(*CurrentRecord());
  FEditRecord->Unpack(static_cast<std::size_t>(FFieldDefs.GetCount()));
  Resync(false);
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  DoEvent(AfterEdit);
}

void TDataSet::Insert() { BeginInsertAppend(false); }
void TDataSet::Append() { BeginInsertAppend(true); }

void TDataSet::BeginInsertAppend(bool Append)
{
  CheckBrowseMode();
  if (!GetCanModify()) DB::DatabaseError("Cannot modify a read-only dataset");
  DoEvent(BeforeInsert);
  DoEvent(BeforeScroll);
  auto rec = std::make_unique<TRecordData>();
  rec->Id = FNextId++;
  rec->Values.assign(static_cast<std::size_t>(FFieldDefs.GetCount()), Variant::Null());
  Integer pos = Append || FCur < 0 ? static_cast<Integer>(FView.size()) : FCur;
  FView.insert(FView.begin() + pos, rec.get());
  ViewChanged();
  FEditRecord = std::move(rec);
  FCur = pos;
  FBof = FEof = false;
  Resync(false);
  SetState(dsInsert);
  TScopeExit undo([&] { Cancel(); });
  if (OnNewRecord) OnNewRecord(this);
  undo.Dismiss();
  FModified = false;
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterInsert);
  DoEvent(AfterScroll);
}

void TDataSet::UpdateRecord()
{
  if (FState != dsEdit && FState != dsInsert && FState != dsSetKey)
    DB::DatabaseError("Dataset not in edit or insert mode");
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::Post()
{
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  UpdateRecord();
  DataEvent(deCheckBrowseMode, 0);
  DoEvent(BeforePost);
  for (TField* f : FFields.FList)
    if (f->FFieldKind == fkData && f->GetRequired() && f->IsNull() && f->GetDataType() != ftAutoInc)
      DB::DatabaseError(Format("Field '%s' must have a value", {f->GetDisplayName()}));
  TRecordData* stored = FState == dsEdit ? CurrentRecord() : nullptr;
  InternalPost(*FEditRecord, stored);
  if (stored) {
    stored->Values = std::move(FEditRecord->Values);
    stored->Packed = TPackedValues();
    stored->Pack();
    stored->CalcValid = false;
    FEditRecord.reset();
  } else {
    FEditRecord->Pack();
    FEditRecord->CalcValid = false;
    FRecords.push_back(std::move(FEditRecord));
  }
  Resync(false);
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterPost);
}

void TDataSet::Cancel()
{
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  DoEvent(BeforeCancel);
  if (FState == dsInsert) {
    Integer i = ViewIndexOf(FEditRecord.get());
    if (i >= 0) FView.erase(FView.begin() + i);
    ViewChanged();
    Integer n = static_cast<Integer>(FView.size());
    if (FCur >= n) FCur = n - 1;
    FEof = n == 0 || FEof;
    FBof = n == 0 || FBof;
  }
  FEditRecord.reset();
  Resync(false);
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterCancel);
}

void TDataSet::Delete()
{
  CheckActive();
  if (FState == dsInsert) {
    Cancel();
    return;
  }
  if (FView.empty()) DB::DatabaseError("Cannot perform this operation on an empty dataset");
  if (FState == dsEdit) FEditRecord.reset();
  if (FState != dsBrowse) {
    Resync(false);
    SetState(dsBrowse);
  }
  DataEvent(deCheckBrowseMode, 0);
  DoEvent(BeforeDelete);
  DoEvent(BeforeScroll);
  TRecordData* rec = CurrentRecord();
  InternalDelete(*rec);
  bool wasLast = FCur == static_cast<Integer>(FView.size()) - 1;
  FView.erase(FView.begin() + FCur);
  ViewChanged();
  // The record is freed when the store is next compacted; bookmarks of it are no longer valid.
  rec->Deleted = true;
  if (++FDeletedCount > static_cast<Integer>(FRecords.size()) / 2) {
    std::erase_if(FRecords, [](const auto& r) { return r->Deleted; });
    FDeletedCount = 0;
  }
  Integer n = static_cast<Integer>(FView.size());
  if (FCur >= n) FCur = n - 1;
  FEof = n == 0 || wasLast;
  FBof = n == 0;
  Resync(false);
  DataEvent(deDataSetChange, 0);
  DoEvent(AfterDelete);
  DoEvent(AfterScroll);
}

void TDataSet::CheckBrowseMode()
{
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  if (FState == dsEdit || FState == dsInsert) {
    UpdateRecord();
    if (FModified)
      Post();
    else
      Cancel();
  }
}

void TDataSet::Refresh()
{
  CheckBrowseMode();
  Integer recNo = GetRecNo();
  TControlsGuard lock(*this);
  Close();
  Open();
  if (recNo > 1) SetRecNo(recNo);
}

void TDataSet::AppendRecord(const std::vector<Variant>& Values)
{
  Append();
  TScopeExit undo([&] { Cancel(); });
  for (std::size_t i = 0; i < Values.size() && i < FFields.FList.size(); ++i)
    if (FFields.FList[i]->FFieldKind == fkData) FFields.FList[i]->SetValue(Values[i]);
  Post();
  undo.Dismiss();
}

// --- locate/lookup ---------------------------------------------------------------------------

bool TDataSet::RecordMatches(const TRecordData* Rec, const std::vector<TField*>& Fields,
                             const std::vector<Variant>& Values, TLocateOptions Options) const
{
  for (std::size_t i = 0; i < Fields.size(); ++i)
    if (!KeyMatches(FieldValueOf(Rec, Fields[i]), Values[i], Options)) return false;
  return true;
}

bool TDataSet::Locate(const AnsiString& KeyFields, const Variant& KeyValues, TLocateOptions Options)
{
  CheckBrowseMode();
  std::vector<TField*> fields = GetFieldList(KeyFields);
  std::vector<Variant> values = ValuesOf(KeyValues, fields.size());
  for (std::size_t i = 0; i < FView.size(); ++i) {
    if (!RecordMatches(FView[i], fields, values, Options)) continue;
    DoEvent(BeforeScroll);
    FCur = static_cast<Integer>(i);
    FBof = FEof = false;
    Resync(true);
    DataEvent(deDataSetChange, 0);
    DoEvent(AfterScroll);
    return true;
  }
  return false;
}

Variant TDataSet::Lookup(const AnsiString& KeyFields, const Variant& KeyValues, const AnsiString& ResultFields)
{
  CheckActive();
  std::vector<TField*> fields = GetFieldList(KeyFields);
  std::vector<Variant> values = ValuesOf(KeyValues, fields.size());
  std::vector<TField*> results = GetFieldList(ResultFields);
  for (TRecordData* rec : FView) {
    if (rec == FEditRecord.get() || !RecordMatches(rec, fields, values, {})) continue;
    if (results.size() == 1) return FieldValueOf(rec, results[0]);
    std::vector<Variant> out;
    for (TField* f : results) out.push_back(FieldValueOf(rec, f));
    return Variants::VarArrayOf(out);
  }
  return Variant::Null();
}

// --- filter/sort -----------------------------------------------------------------------------

void TDataSet::SetFilter(const AnsiString& Value)
{
  std::unique_ptr<TFilterExpression> expr;
  if (!SysUtils::Trim(Value).empty()) expr = TFilterExpression::Parse(Value);
  if (GetActive()) CheckBrowseMode();
  AnsiString oldText = std::move(FFilterText);
  std::unique_ptr<TFilterExpression> oldExpr = std::move(FFilterExpr);
  FFilterText = Value;
  FFilterExpr = std::move(expr);
  if (GetActive() && FFiltered) {
    // A filter that fails on a record (an unknown field) leaves the previous one in force.
    TScopeExit restore([&] {
      FFilterText = std::move(oldText);
      FFilterExpr = std::move(oldExpr);
      RebuildView();
      First();
    });
    RebuildView();
    restore.Dismiss();
    First();
  }
}

void TDataSet::SetFiltered(bool Value)
{
  if (Value == FFiltered) return;
  if (GetActive()) CheckBrowseMode();
  FFiltered = Value;
  if (GetActive()) {
    TScopeExit undo([&] {
      FFiltered = !Value;
      RebuildView();
      First();
    });
    RebuildView();
    undo.Dismiss();
    First();
  }
}

void TDataSet::SetSort(const AnsiString& Value)
{
  if (!GetActive()) {
    FSort = Value;
    return;
  }
  CheckBrowseMode();
  AnsiString old = FSort;
  FSort = Value;
  TRecordData* cur = CurrentRecord();
  TScopeExit undo([&] {
    FSort = old;
    RebuildView();
  });
  RebuildView();
  undo.Dismiss();
  Integer i = cur ? ViewIndexOf(cur) : -1;
  FCur = i >= 0 ? i : (FView.empty() ? -1 : 0);
  FBof = FEof = FView.empty();
  Resync(true);
  DataEvent(deDataSetChange, 0);
}

// --- notification ----------------------------------------------------------------------------

void TDataSet::DisableControls()
{
  if (FDisableCount == 0) {
    FDisabledState = FState;
    FDisabledEvent = FDisabledLayout = false;
    SendEvent(deDisabledStateChange, 1);
  }
  ++FDisableCount;
}

void TDataSet::EnableControls()
{
  if (FDisableCount == 0) return;
  if (--FDisableCount > 0) return;
  SendEvent(deDisabledStateChange, 0);
  for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) {
    if (FDisabledState != FState) ds->DataEvent(deUpdateState, 0, true, false);
    if (FDisabledLayout)
      ds->DataEvent(deLayoutChange, 0, true, false);
    else if (FDisabledEvent)
      ds->DataEvent(deDataSetChange, 0, true, false);
  }
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info)
{
  if (FDisableCount == 0) {
    SendEvent(Event, Info);
    return;
  }
  // Controls are disabled: only links that are not visual hear it now; the rest catch up on
  // EnableControls.
  if (Event == deLayoutChange)
    FDisabledLayout = true;
  else if (Event != deUpdateState && Event != deCheckBrowseMode && Event != deUpdateRecord)
    FDisabledEvent = true;
  // One source (the usual case) is told without copying the list.
  if (FDataSources.size() == 1) {
    FDataSources.front()->DataEvent(Event, Info, false, true);
    return;
  }
  for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->DataEvent(Event, Info, false, true);
}

void TDataSet::SendEvent(TDataEvent Event, intptr_t Info)
{
  for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->DataEvent(Event, Info, false, false);
}

void TDataSet::AddDataSource(TDataSource* Source)
{
  FDataSources.push_back(Source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* Source)
{
  std::erase(FDataSources, Source);
  UpdateBufferCount();
}
