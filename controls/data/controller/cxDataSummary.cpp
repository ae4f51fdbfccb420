#include "controls/data/controller/cxDataSummary.h"

#include <cmath>
#include <cstring>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/cxDataUtils.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

// ---- Collections and items ------------------------------------------------------------------

TPersistent* TcxDataSummaryCollection::GetOwner() { return FSummary; }

TCollectionItem* TcxDataSummaryCollection::AddItem()
{
  BeginUpdate();
  TCollectionItem* item;
  TScopeExit undo([&] { EndUpdate(); });
  item = TCollection::Add();
  return item;
}

void TcxDataSummaryCollection::Update(TCollectionItem* Item)
{
  if (!FSummary->IsDestroying()) FSummary->ReportChange(false);
}

TcxDataSummary* TcxCustomDataSummaryItem::GetSummary() const
{
  auto* c = dynamic_cast<TcxDataSummaryCollection*>(GetCollection());
  return c ? c->GetSummary() : nullptr;
}

TcxCustomDataController* TcxCustomDataSummaryItem::GetDataController() const
{
  TcxDataSummary* s = GetSummary();
  return s ? s->GetDataController() : nullptr;
}

void TcxCustomDataSummaryItem::Assign(TPersistent* Source)
{
  if (auto* src = dynamic_cast<TcxCustomDataSummaryItem*>(Source)) {
    TcxCustomDataController* c = GetDataController();
    TObject* item = src->GetItemLink();
    SetItemLink(item && c ? c->GetCorrespondingItem(item) : nullptr);
    return;
  }
  TCollectionItem::Assign(Source);
}

TObject* TcxCustomDataSummaryItem::GetItemLink() const { return FField ? FField->GetViewItem() : nullptr; }

void TcxCustomDataSummaryItem::SetItemLink(TObject* AItem)
{
  if (GetItemLink() == AItem) return;
  TcxCustomDataController* c = GetDataController();
  SetField(AItem && c ? c->GetFields()->FieldByItem(AItem) : nullptr);
}

void TcxCustomDataSummaryItem::SetField(TcxCustomDataField* AField)
{
  if (FField == AField) return;
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  TScopeExit unlock([&] {
    if (c) c->EndUpdate();  // recalculates
  });
  FieldChanging(AField);
  FField = AField;
}

void TcxDataSummaryItem::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TcxDataSummaryItem*>(Source);
  if (!src) {
    TcxCustomDataSummaryItem::Assign(Source);
    return;
  }
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  TScopeExit unlock([&] {
    if (c) c->EndUpdate();
  });
  TcxCustomDataSummaryItem::Assign(Source);
  SetFormat(src->GetFormat());
  SetKind(src->GetKind());
  SetPosition(src->FPosition);
  OnGetText = src->OnGetText;
}

TcxDataSummaryItems* TcxDataSummaryItem::GetItems() const
{
  return dynamic_cast<TcxDataSummaryItems*>(GetCollection());
}

void TcxDataSummaryItem::SetFormat(const AnsiString& Value)
{
  if (FFormat == Value) return;
  FFormat = Value;
  if (TcxDataSummary* s = GetSummary()) s->ReportChange(true);
}

void TcxDataSummaryItem::SetKind(TcxSummaryKind Value)
{
  if (FKind == Value) return;
  FKind = Value;
  if (TcxDataSummary* s = GetSummary()) s->ReportChange(false);
}

TcxSummaryPosition TcxDataSummaryItem::GetPosition() const
{
  TcxDataSummaryItems* items = GetItems();
  return items && items->IsFooter() ? spFooter : FPosition;
}

void TcxDataSummaryItem::SetPosition(TcxSummaryPosition Value)
{
  if (FPosition == Value) return;
  FPosition = Value;
  if (TcxDataSummary* s = GetSummary()) s->ReportChange(true);
}

bool TcxDataSummaryItem::StoresPosition() const
{
  TcxDataSummaryItems* items = GetItems();
  return items ? items->IsItemPositionStored(this) : FPosition != spGroup;
}

AnsiString TcxDataSummaryItem::GetText(const Variant& AValue, bool AIsFooter)
{
  AnsiString text;
  if (AValue.IsNull() || AValue.IsEmpty()) {
    text.clear();
  } else if (FKind == skNone) {
    text = AValue.AsString();
  } else {
    AnsiString format = FFormat.empty() ? GetItems()->GetDefaultFormat(AValue.VarType(), FKind, AIsFooter) : FFormat;
    if (AValue.VarType() != varDate || FKind == skCount) {
      text = SysUtils::FormatFloat(format, AValue.AsDouble());
    } else {
      const double d = AValue.AsDouble();
      const double whole = std::trunc(d);
      const TDateTime dt(d);
      if (d != whole && whole != 0)
        text = format + SysUtils::DateTimeToStr(dt);
      else if (d != whole)
        text = format + SysUtils::TimeToStr(dt);
      else
        text = format + SysUtils::DateToStr(dt);
    }
  }
  if (OnGetText) OnGetText(this, AValue, AIsFooter, text);
  return text;
}

// ---- TcxDataSummaryItems ---------------------------------------------------------------------

TcxDataSummaryItems::TcxDataSummaryItems(TcxDataSummary* ASummary)
    : TcxDataSummaryCollection(ASummary, ASummary->GetSummaryItemClass())
{}

TcxDataSummaryItem* TcxDataSummaryItems::Add(TObject* AItemLink, TcxSummaryPosition APosition, TcxSummaryKind AKind,
                                             const AnsiString& AFormat)
{
  TcxDataSummary* summary = GetSummary();
  summary->BeginUpdate();
  TcxDataSummaryItem* item = nullptr;
  TScopeExit undo([&] { summary->EndUpdate(); });
  item = Add();
  item->SetItemLink(AItemLink);
  item->SetPosition(APosition);
  item->SetKind(AKind);
  item->SetFormat(AFormat);
  return item;
}

int TcxDataSummaryItems::IndexOfField(TcxCustomDataField* AField) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetField() == AField) return i;
  return -1;
}

TcxDataSummaryItem* TcxDataSummaryItems::ItemOfField(TcxCustomDataField* AField) const
{
  const int i = IndexOfField(AField);
  return i < 0 ? nullptr : GetItem(i);
}

int TcxDataSummaryItems::IndexOfItemLink(TObject* AItemLink) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetItemLink() == AItemLink) return i;
  return -1;
}

AnsiString TcxDataSummaryItems::GetDefaultFormat(TVarType AVarType, TcxSummaryKind AKind, bool AIsFooter) const
{
  static const char* const Labels[] = {"", "SUM=", "MIN=", "MAX=", "COUNT=", "AVG="};
  if (AKind == skCount) return AIsFooter ? "0" : "COUNT=0";
  // A footer sum carries no label.
  const AnsiString label = (AKind == skSum && AIsFooter) ? AnsiString() : AnsiString(Labels[AKind]);
  if (AVarType == varDate) return label;
  if (AVarType == varCurrency) {
    const AnsiString f = cxDataUtils::CurrencyDisplayFormat();
    return label + f + ";" + label + "-" + f;
  }
  return label + "0.00;" + label + "-0.00";
}

AnsiString TcxDataGroupSummaryItems::GetGroupSummaryText(const Variant& AValues)
{
  AnsiString text;
  bool first = true;
  for (int i = 0; i < GetCount(); ++i) {
    TcxDataSummaryItem* item = GetItem(i);
    if (item->GetPosition() != spGroup) continue;
    const Variant v = AValues.IsArray() && i <= Variants::VarArrayHighBound(AValues, 1)
                          ? Variants::VarArrayGet(AValues, {i})
                          : Variant::Null();
    if (!first) text += FSeparator + " ";
    text += item->GetText(v, false);
    first = false;
  }
  if (!text.empty()) text = FBeginText + text + FEndText;
  return text;
}

TPersistent* TcxDataGroupSummaryItems::GetOwner()
{
  if (FGroup) return FGroup;
  return GetSummary();
}

void TcxDataGroupSummaryItems::Assign(TPersistent* Source)
{
  if (auto* src = dynamic_cast<TcxDataGroupSummaryItems*>(Source)) {
    {
      TUpdateGuard lock(*this);
      TcxDataSummaryItems::Assign(Source);
      SetBeginText(src->FBeginText);
      SetEndText(src->FEndText);
      SetSeparator(src->FSeparator);
      CopyEventsFrom(src);
    }
    return;
  }
  TcxDataSummaryItems::Assign(Source);
}

void TcxDataGroupSummaryItems::SetBeginText(const AnsiString& Value)
{
  if (FBeginText == Value) return;
  FBeginText = Value;
  GetSummary()->ReportChange(true);
}

void TcxDataGroupSummaryItems::SetEndText(const AnsiString& Value)
{
  if (FEndText == Value) return;
  FEndText = Value;
  GetSummary()->ReportChange(true);
}

void TcxDataGroupSummaryItems::SetSeparator(const AnsiString& Value)
{
  if (FSeparator == Value) return;
  FSeparator = Value;
  GetSummary()->ReportChange(true);
}

// ---- Summary groups --------------------------------------------------------------------------

void TcxDataSummaryGroupItemLink::FieldChanging(TcxCustomDataField* AField)
{
  if (!AField) return;
  TcxDataSummary* summary = GetSummary();
  if (!summary) return;
  TcxDataSummaryGroups* groups = summary->GetSummaryGroups();
  for (int g = 0; g < groups->GetCount(); ++g) {
    TcxDataSummaryGroupItemLinks* links = groups->GetItem(g)->GetLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      if (links->GetItem(i) != this && links->GetItem(i)->GetField() == AField) links->GetItem(i)->SetField(nullptr);
  }
}

TPersistent* TcxDataSummaryGroupItemLinks::GetOwner() { return FGroup; }

int TcxDataSummaryGroupItemLinks::IndexOfItemLink(TObject* AItemLink) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetItemLink() == AItemLink) return i;
  return -1;
}

TcxDataSummaryGroup::TcxDataSummaryGroup(TCollection* ACollection) : TCollectionItem(nullptr)
{
  // The owned collections need the summary before the group joins its collection.
  TcxDataSummary* summary = static_cast<TcxDataSummaryCollection*>(ACollection)->GetSummary();
  FLinks = std::make_unique<TcxDataSummaryGroupItemLinks>(summary, this);
  FSummaryItems = std::make_unique<TcxDataGroupSummaryItems>(summary, this);
  SetCollection(ACollection);
}

TcxDataSummaryGroup::~TcxDataSummaryGroup()
{
  // Leave the collection first: its recalculation must not see the half-destroyed group.
  SetCollection(nullptr);
}

void TcxDataSummaryGroup::Assign(TPersistent* Source)
{
  if (auto* src = dynamic_cast<TcxDataSummaryGroup*>(Source)) {
    FLinks->Assign(src->FLinks.get());
    FSummaryItems->Assign(src->FSummaryItems.get());
    return;
  }
  TCollectionItem::Assign(Source);
}

TcxDataSummaryGroup* TcxDataSummaryGroups::FindByItemLink(TObject* AItemLink) const
{
  if (!AItemLink) return nullptr;
  for (int g = 0; g < GetCount(); ++g)
    if (GetItem(g)->GetLinks()->IndexOfItemLink(AItemLink) >= 0) return GetItem(g);
  return nullptr;
}

// ---- TcxDataSummary --------------------------------------------------------------------------

TcxDataSummary::TcxDataSummary(TcxCustomDataController* ADataController, TCollectionItemClass AItemClass)
    : FDataController(ADataController), FSummaryItemClass(AItemClass ? AItemClass : TcxDataSummaryItem::StaticClass()),
      FFooterSummaryItems(std::make_unique<TcxDataFooterSummaryItems>(this)),
      FDefaultGroupSummaryItems(std::make_unique<TcxDataGroupSummaryItems>(this)),
      FSummaryGroups(std::make_unique<TcxDataSummaryGroups>(this))
{}

void TcxDataSummary::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TcxDataSummary*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  TUpdateGuard lock(*this);
  FDefaultGroupSummaryItems->Assign(src->FDefaultGroupSummaryItems.get());
  FFooterSummaryItems->Assign(src->FFooterSummaryItems.get());
  FFooterSummaryItems->CopyEventsFrom(src->FFooterSummaryItems.get());
  FSummaryGroups->Assign(src->FSummaryGroups.get());
  FOptions = src->FOptions;
  OnAfterSummary = src->OnAfterSummary;
}

TcxDataSummary::~TcxDataSummary()
{
  FDestroying = true;
  FSummaryGroups.reset();
  FDefaultGroupSummaryItems.reset();
  FFooterSummaryItems.reset();
}

void TcxDataSummary::SetOptions(TcxSummaryOptions Value)
{
  if (FOptions == Value) return;
  FOptions = Value;
  ReportChange(false);
}

void TcxDataSummary::BeginUpdate()
{
  FDataController->BeginUpdate();
  ++FLockCount;
}

void TcxDataSummary::EndUpdate()
{
  --FLockCount;
  ReportChange(false);
  FDataController->EndUpdate();
}

void TcxDataSummary::ReportChange(bool AItemOnly)
{
  if (FLockCount > 0 || FInAfterSummary || FDestroying) return;
  FDataController->SummaryChanged(AItemOnly);
}

void TcxDataSummary::Calculate()
{
  CalculateFooterSummary();
  CalculateGroupSummaries();
  if (OnAfterSummary && !FDataController->IsLoading()) {
    FInAfterSummary = true;
    TScopeExit undo([&] { FInAfterSummary = false; });
    OnAfterSummary(this);
  }
}

void TcxDataSummary::CalculateItem(TcxDataSummaryItem* AItem, int ARecordIndex, Variant& AValue, int& ACount)
{
  TcxCustomDataField* f = AItem->GetDataField();
  if (!f) return;
  Variant value = FDataController->GetFieldValue(ARecordIndex, f);
  TcxDataSummaryItems* items = AItem->GetItems();
  if (items->OnSummary) {
    TcxSummaryEventArguments args{ARecordIndex, AItem};
    TcxSummaryEventOutArguments out{value, AValue, ACount, false};
    items->OnSummary(items, args, out);
    AValue = out.SummaryValue;
    ACount = out.CountValue;
    value = out.Value;
    if (out.Done) return;
  }
  const TcxSummaryKind kind = AItem->GetKind();
  if (kind == skNone || (FOptions.Contains(soNullIgnore) && value.IsNull())) return;
  if (AValue.IsEmpty()) {
    if (kind == skSum || kind == skAverage)
      AValue = value.IsNull() ? Variant(0) : value;
    else if ((kind == skMin || kind == skMax) && !value.IsNull())
      AValue = value;
  } else if (!AValue.IsNull() && !value.IsNull()) {
    switch (kind) {
      case skSum:
      case skAverage: AValue = AValue + value; break;
      case skMin:
        if (value < AValue) AValue = value;
        break;
      case skMax:
        if (value > AValue) AValue = value;
        break;
      default: break;
    }
  }
  ++ACount;
}

namespace {

// A float field summed without an OnSummary handler: the range is accumulated as plain doubles
// and merged into the Variant accumulator once, with the same results as record by record.
struct TFastItem {
  int Index;
  TcxSummaryKind Kind;
  TcxValueDef* Def;
  int Reached = 0;  // records that reached the accumulation
  bool HasValue = false;
  bool FirstWasNull = false;
  double Value = 0;
};

void MergeFast(TFastItem& F, Variant& AValue, int& ACount)
{
  ACount += F.Reached;
  if (F.Reached == 0) return;
  switch (F.Kind) {
    case skSum:
    case skAverage:
      if (AValue.IsEmpty())
        AValue = F.FirstWasNull && !F.HasValue ? Variant(0)
                 : F.FirstWasNull              ? Variant(0) + Variant(F.Value)
                                               : Variant(F.Value);
      else if (!AValue.IsNull() && F.HasValue)
        AValue = AValue + Variant(F.Value);
      break;
    case skMin:
    case skMax:
      if (!F.HasValue) break;
      if (AValue.IsEmpty())
        AValue = Variant(F.Value);
      else if (!AValue.IsNull() && (F.Kind == skMin ? Variant(F.Value) < AValue : Variant(F.Value) > AValue))
        AValue = Variant(F.Value);
      break;
    default: break;
  }
}

}  // namespace

void TcxDataSummary::CalculateRange(TcxDataSummaryItems* AItems, int AFrom, int ATo, std::vector<Variant>& AValues,
                                    std::vector<int>& ACounts)
{
  if (AItems->GetCount() == 0) return;
  TcxCustomDataControllerInfo* info = FDataController->GetInfo();
  TcxDataStorage* storage = FDataController->GetStorage();
  const bool selectedOnly = FOptions.Contains(soSelectedRecords);
  const bool nullIgnore = FOptions.Contains(soNullIgnore);
  std::vector<TFastItem> fast;
  std::vector<int> slow;
  for (int i = 0; i < AItems->GetCount(); ++i) {
    TcxDataSummaryItem* item = AItems->GetItem(i);
    TcxCustomDataField* f = item->GetDataField();
    TcxValueDef* def = f ? f->GetValueDef() : nullptr;
    if (def && !AItems->OnSummary && item->GetKind() != skNone && def->GetTypeClass() == TcxFloatValueType::Class() &&
        !FDataController->IsGridMode())
      fast.push_back({i, item->GetKind(), def});
    else
      slow.push_back(i);
  }
  const int recordCount = storage->RecordCount();
  for (int p = AFrom; p <= ATo; ++p) {
    const int r = info->GetRecordIndexAt(p);
    if (selectedOnly && !info->GetSelection()->IsRecordSelected(r)) continue;
    for (auto& F : fast) {
      const void* data;
      bool isNull;
      if (r >= 0 && r < recordCount) {
        // A numbered record's value straight from its block.
        const Byte* block = storage->StoredRecordBuffer(r);
        const Byte* entry = block && F.Def->GetEntryBytes() > 0 ? block + F.Def->GetEntryOffset() : nullptr;
        isNull = !entry || entry[0] == 0;
        data = isNull ? nullptr : entry + 1;
      } else {
        isNull = storage->GetFieldDataPointer(r, F.Def, data);
      }
      if (isNull && nullIgnore) continue;
      if (F.Reached++ == 0) F.FirstWasNull = isNull;
      if (isNull) continue;
      double v;
      std::memcpy(&v, data, sizeof v);
      if (!F.HasValue) {
        F.Value = v;
        F.HasValue = true;
      } else if (F.Kind == skSum || F.Kind == skAverage) {
        F.Value += v;
      } else if (F.Kind == skMin ? v < F.Value : F.Kind == skMax ? v > F.Value : false) {
        F.Value = v;
      }
    }
    for (int i : slow)
      CalculateItem(AItems->GetItem(i), r, AValues[static_cast<size_t>(i)], ACounts[static_cast<size_t>(i)]);
  }
  for (auto& F : fast) MergeFast(F, AValues[static_cast<size_t>(F.Index)], ACounts[static_cast<size_t>(F.Index)]);
}

Variant TcxDataSummary::EndCalculate(TcxDataSummaryItems* AItems, std::vector<Variant>& AValues,
                                     const std::vector<int>& ACounts)
{
  const int n = AItems->GetCount();
  Variant result = Variants::VarArrayCreate({0, n - 1}, varVariant);
  for (int i = 0; i < n; ++i) {
    TcxDataSummaryItem* item = AItems->GetItem(i);
    Variant& v = AValues[static_cast<size_t>(i)];
    const int count = ACounts[static_cast<size_t>(i)];
    if (item->GetDataField()) {
      if (v.IsEmpty()) v = Variant::Null();
      if (item->GetKind() == skCount) {
        v = Variant(count);
      } else if (item->GetKind() == skAverage && count > 0 && !v.IsNull()) {
        const bool date = cxVariants::VarIsDateOrTimeStamp(v);
        v = Variant(v.AsDouble() / count);
        if (date) v = Variant(TDateTime(v.AsDouble()));
      }
    }
    Variants::VarArrayPut(result, v, {i});
  }
  return result;
}

void TcxDataSummary::CalculateFooterSummary()
{
  TcxDataSummaryItems* items = FFooterSummaryItems.get();
  std::vector<Variant> values(static_cast<size_t>(items->GetCount()));
  std::vector<int> counts(static_cast<size_t>(items->GetCount()), 0);
  if (!FDataController->IsGridMode())
    CalculateRange(items, 0, FDataController->GetInfo()->GetFilteredRecordCount() - 1, values, counts);
  FFooterValues = items->GetCount() > 0 ? EndCalculate(items, values, counts) : Variant();
}

void TcxDataSummary::CalculateGroupSummaries()
{
  TcxDataGroups& groups = FDataController->GetInfo()->GetDataGroups();
  for (int g = 0; g < groups.GetCount(); ++g) groups.GetItem(g).SummaryValues = Variant();
  // Each level has its own items: one walk per level, a leaf's records feeding the open group.
  for (int level = 0; level < groups.GetLevelCount(); ++level) {
    TcxDataSummaryItems* items = GetGroupSummaryItems(level);
    const size_t n = items ? static_cast<size_t>(items->GetCount()) : 0;
    if (n == 0) continue;
    std::vector<Variant> values(n);
    std::vector<int> counts(n, 0);
    int open = -1;
    auto finish = [&] {
      if (open >= 0) groups.GetItem(open).SummaryValues = EndCalculate(items, values, counts);
      open = -1;
    };
    for (int g = 0; g < groups.GetCount(); ++g) {
      const int l = groups.GetItem(g).Level;
      if (l == level) {
        finish();
        open = g;
        values.assign(n, Variant());
        counts.assign(n, 0);
      }
      if (l >= level && open >= 0 && groups.IsLeaf(g))
        CalculateRange(items, groups.GetItem(g).FirstIndex, groups.GetItem(g).LastIndex, values, counts);
    }
    finish();
  }
}

TcxDataSummaryItems* TcxDataSummary::GetGroupSummaryItems(int ALevel) const
{
  TcxDataGroups& groups = FDataController->GetInfo()->GetDataGroups();
  if (ALevel < 0 || ALevel >= groups.GetLevelCount()) return nullptr;
  TcxCustomDataField* f = groups.GetLevelField(ALevel);
  TcxDataSummaryGroup* g = f ? FSummaryGroups->FindByItemLink(f->GetViewItem()) : nullptr;
  if (g) return g->GetSummaryItems();
  return FDefaultGroupSummaryItems.get();
}

int TcxDataSummary::GetGroupFooterItemIndex(int ALevel, TObject* AItemLink) const
{
  TcxDataSummaryItems* items = GetGroupSummaryItems(ALevel);
  if (!items) return -1;
  for (int i = 0; i < items->GetCount(); ++i)
    if (items->GetItem(i)->GetPosition() == spFooter && items->GetItem(i)->GetItemLink() == AItemLink) return i;
  return -1;
}

AnsiString TcxDataSummary::GetGroupFooterSummaryText(int ARowIndex, int ALevel, int AIndex)
{
  TcxDataSummaryItems* items = GetGroupSummaryItems(ALevel);
  if (!items || AIndex < 0 || AIndex >= items->GetCount()) return AnsiString();
  const int g = FDataController->GetInfo()->GetDataGroups().GetGroupIndexByRowIndex(ARowIndex, ALevel);
  if (g < 0) return AnsiString();
  const Variant values = GetGroupSummaryValues(g);
  if (!values.IsArray() || AIndex > Variants::VarArrayHighBound(values, 1)) return AnsiString();
  return items->GetItem(AIndex)->GetText(Variants::VarArrayGet(values, {AIndex}), true);
}

Variant TcxDataSummary::GetFooterSummaryValue(int AIndex) const
{
  if (!FFooterValues.IsArray() || AIndex < 0 || AIndex > Variants::VarArrayHighBound(FFooterValues, 1))
    return Variant::Null();
  return Variants::VarArrayGet(FFooterValues, {AIndex});
}

AnsiString TcxDataSummary::GetFooterSummaryText(int AIndex)
{
  if (AIndex < 0 || AIndex >= FFooterSummaryItems->GetCount()) return AnsiString();
  return FFooterSummaryItems->GetItem(AIndex)->GetText(GetFooterSummaryValue(AIndex), true);
}

Variant TcxDataSummary::GetGroupSummaryValues(int AGroupIndex) const
{
  TcxDataGroups& groups = FDataController->GetInfo()->GetDataGroups();
  if (AGroupIndex < 0 || AGroupIndex >= groups.GetCount()) return Variant();
  return groups.GetItem(AGroupIndex).SummaryValues;
}

AnsiString TcxDataSummary::GetGroupSummaryText(int ARowIndex)
{
  TcxDataGroups& groups = FDataController->GetInfo()->GetDataGroups();
  const int g = groups.GetGroupIndexByRowIndex(ARowIndex, -1);
  if (g < 0) return AnsiString();
  TcxDataSummaryItems* items = GetGroupSummaryItems(groups.GetItem(g).Level);
  const Variant values = GetGroupSummaryValues(g);
  if (!items || values.IsEmpty()) return AnsiString();
  return items->GetGroupSummaryText(values);
}

void TcxDataSummary::RemoveField(TcxCustomDataField* AField)
{
  bool changed = false;
  ++FLockCount;
  auto unlink = [&](TcxDataSummaryCollection* AItems) {
    for (int i = 0; i < AItems->GetCount(); ++i)
      if (auto* item = static_cast<TcxCustomDataSummaryItem*>(AItems->GetItem(i))) {
        if (item->GetDataField() == AField && item->GetField() != AField) changed = true;
        item->DataFieldRemoved(AField);
        if (item->GetField() == AField) {
          item->SetField(nullptr);
          changed = true;
        }
      }
  };
  {
    TScopeExit undo([&] { --FLockCount; });
    unlink(FFooterSummaryItems.get());
    unlink(FDefaultGroupSummaryItems.get());
    for (int g = 0; g < FSummaryGroups->GetCount(); ++g) {
      unlink(FSummaryGroups->GetItem(g)->GetSummaryItems());
      unlink(FSummaryGroups->GetItem(g)->GetLinks());
    }
  }
  if (changed) ReportChange(false);
}

PELTO_DEFINE_CLASS(TcxDataSummaryCollection)

PELTO_DEFINE_CLASS(TcxCustomDataSummaryItem)

PELTO_DEFINE_CLASS(TcxDataSummaryItem)
PELTO_PUBLISH(TcxDataSummaryItem, p)
{
  p.Property("Format", &TcxDataSummaryItem::GetFormat, &TcxDataSummaryItem::SetFormat);
  p.Property("Kind", &TcxDataSummaryItem::GetKind, &TcxDataSummaryItem::SetKind).Default(skNone);
  p.Property("Position", &TcxDataSummaryItem::GetPosition, &TcxDataSummaryItem::SetPosition)
      .NoDefault()
      .StoredWhen([](const TObject* O) { return static_cast<const TcxDataSummaryItem*>(O)->StoresPosition(); });
}

PELTO_DEFINE_CLASS(TcxDataSummaryItems)

PELTO_DEFINE_CLASS(TcxDataFooterSummaryItems)

PELTO_DEFINE_CLASS(TcxDataGroupSummaryItems)
PELTO_PUBLISH(TcxDataGroupSummaryItems, p)
{
  p.Property("BeginText", &TcxDataGroupSummaryItems::GetBeginText, &TcxDataGroupSummaryItems::SetBeginText)
      .StoredWhen([](const TObject* O) { return static_cast<const TcxDataGroupSummaryItems*>(O)->FBeginText != "("; });
  p.Property("EndText", &TcxDataGroupSummaryItems::GetEndText, &TcxDataGroupSummaryItems::SetEndText)
      .StoredWhen([](const TObject* O) { return static_cast<const TcxDataGroupSummaryItems*>(O)->FEndText != ")"; });
  p.Property("Separator", &TcxDataGroupSummaryItems::GetSeparator, &TcxDataGroupSummaryItems::SetSeparator)
      .StoredWhen([](const TObject* O) { return static_cast<const TcxDataGroupSummaryItems*>(O)->FSeparator != ","; });
}

PELTO_DEFINE_CLASS(TcxDataSummaryGroupItemLink)

PELTO_DEFINE_CLASS(TcxDataSummaryGroupItemLinks)

PELTO_DEFINE_CLASS(TcxDataSummaryGroup)
PELTO_PUBLISH(TcxDataSummaryGroup, p)
{
  p.Property("Links", &TcxDataSummaryGroup::GetLinks, &TcxDataSummaryGroup::SetLinks);
  p.Property("SummaryItems", &TcxDataSummaryGroup::GetSummaryItems, &TcxDataSummaryGroup::SetSummaryItems);
}

PELTO_DEFINE_CLASS(TcxDataSummaryGroups)

PELTO_DEFINE_CLASS(TcxDataSummary)
PELTO_PUBLISH(TcxDataSummary, p)
{
  p.Property("DefaultGroupSummaryItems", &TcxDataSummary::GetDefaultGroupSummaryItems,
             &TcxDataSummary::SetDefaultGroupSummaryItems);
  p.Property("FooterSummaryItems", &TcxDataSummary::GetFooterSummaryItems, &TcxDataSummary::SetFooterSummaryItems);
  p.Property("SummaryGroups", &TcxDataSummary::GetSummaryGroups, &TcxDataSummary::SetSummaryGroups);
  p.Property("Options", &TcxDataSummary::GetOptions, &TcxDataSummary::SetOptions).Default(TcxSummaryOptions());
}
