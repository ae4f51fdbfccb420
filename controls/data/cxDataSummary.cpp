#include "controls/data/cxDataSummary.h"

#include <cmath>
#include <cstring>

#include "controls/data/cxCustomData.h"
#include "controls/data/cxDataUtils.h"
#include "controls/data/cxVariants.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"

// ---- TcxDataSummaryItem ----------------------------------------------------------------------

TObject* TcxDataSummaryItem::GetItemLink() const
{
  return FField ? FField->GetViewItem() : nullptr;
}

void TcxDataSummaryItem::SetItemLink(TObject* AItem)
{
  if (GetItemLink() == AItem) return;
  TcxCustomDataController* c = FCollection->GetSummary()->GetDataController();
  SetField(AItem ? c->GetFields()->FieldByItem(AItem) : nullptr);
}

void TcxDataSummaryItem::SetField(TcxCustomDataField* AField)
{
  if (FField == AField) return;
  FField = AField;
  FCollection->GetSummary()->ReportChange(false);
}

void TcxDataSummaryItem::SetFormat(const AnsiString& Value)
{
  if (FFormat == Value) return;
  FFormat = Value;
  FCollection->GetSummary()->ReportChange(true);
}

void TcxDataSummaryItem::SetKind(TcxSummaryKind Value)
{
  if (FKind == Value) return;
  FKind = Value;
  FCollection->GetSummary()->ReportChange(false);
}

TcxSummaryPosition TcxDataSummaryItem::GetPosition() const
{
  return FCollection->IsFooter() ? spFooter : FPosition;
}

void TcxDataSummaryItem::SetPosition(TcxSummaryPosition Value)
{
  if (FPosition == Value) return;
  FPosition = Value;
  FCollection->GetSummary()->ReportChange(true);
}

AnsiString TcxDataSummaryItem::GetText(const Variant& AValue, bool AIsFooter)
{
  AnsiString text;
  if (AValue.IsNull() || AValue.IsEmpty()) {
    text.clear();
  } else if (FKind == skNone) {
    text = AValue.AsString();
  } else {
    AnsiString format = FFormat.empty() ? FCollection->GetDefaultFormat(AValue.VarType(), FKind, AIsFooter) : FFormat;
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

TcxDataSummaryItem* TcxDataSummaryItems::Add()
{
  FItems.push_back(std::make_unique<TcxDataSummaryItem>(this));
  FSummary->ReportChange(false);
  return FItems.back().get();
}

TcxDataSummaryItem* TcxDataSummaryItems::Add(TObject* AItemLink, TcxSummaryPosition APosition, TcxSummaryKind AKind,
                                             const AnsiString& AFormat)
{
  FSummary->BeginUpdate();
  TcxDataSummaryItem* item = nullptr;
  try {
    item = Add();
    item->SetItemLink(AItemLink);
    item->SetPosition(APosition);
    item->SetKind(AKind);
    item->SetFormat(AFormat);
  } catch (...) {
    FSummary->EndUpdate();
    throw;
  }
  FSummary->EndUpdate();
  return item;
}

void TcxDataSummaryItems::Delete(int AIndex)
{
  FItems.erase(FItems.begin() + AIndex);
  FSummary->ReportChange(false);
}

void TcxDataSummaryItems::Clear()
{
  if (FItems.empty()) return;
  FItems.clear();
  FSummary->ReportChange(false);
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

AnsiString TcxDataSummaryItems::GetGroupSummaryText(const Variant& AValues)
{
  AnsiString text;
  bool first = true;
  for (int i = 0; i < GetCount(); ++i) {
    TcxDataSummaryItem* item = GetItem(i);
    if (item->GetPosition() != spGroup) continue;
    const Variant v = AValues.IsArray() && i <= Variants::VarArrayHighBound(AValues, 1) ? Variants::VarArrayGet(AValues, {i}) : Variant::Null();
    if (!first) text += Separator + " ";
    text += item->GetText(v, false);
    first = false;
  }
  if (!text.empty()) text = BeginText + text + EndText;
  return text;
}

// ---- TcxDataSummary --------------------------------------------------------------------------

TcxDataSummary::TcxDataSummary(TcxCustomDataController* ADataController)
    : FDataController(ADataController),
      FFooterSummaryItems(std::make_unique<TcxDataSummaryItems>(this, true)),
      FDefaultGroupSummaryItems(std::make_unique<TcxDataSummaryItems>(this, false))
{
}

TcxDataSummary::~TcxDataSummary()
{
  FDestroying = true;
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
    try {
      OnAfterSummary(this);
    } catch (...) {
      FInAfterSummary = false;
      throw;
    }
    FInAfterSummary = false;
  }
}

void TcxDataSummary::CalculateItem(TcxDataSummaryItem* AItem, int ARecordIndex, Variant& AValue, int& ACount)
{
  TcxCustomDataField* f = AItem->GetField();
  if (!f) return;
  Variant value = FDataController->GetFieldValue(ARecordIndex, f);
  TcxDataSummaryItems* items = AItem->GetCollection();
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
      case skMin: if (value < AValue) AValue = value; break;
      case skMax: if (value > AValue) AValue = value; break;
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
  int Reached = 0;       // records that reached the accumulation
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
        AValue = F.FirstWasNull && !F.HasValue ? Variant(0) : F.FirstWasNull ? Variant(0) + Variant(F.Value) : Variant(F.Value);
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
  TcxCustomDataControllerInfo* info = FDataController->GetInfo();
  TcxDataStorage* storage = FDataController->GetStorage();
  const bool selectedOnly = FOptions.Contains(soSelectedRecords);
  const bool nullIgnore = FOptions.Contains(soNullIgnore);
  std::vector<TFastItem> fast;
  std::vector<int> slow;
  for (int i = 0; i < AItems->GetCount(); ++i) {
    TcxDataSummaryItem* item = AItems->GetItem(i);
    TcxCustomDataField* f = item->GetField();
    TcxValueDef* def = f ? f->GetValueDef() : nullptr;
    if (def && !AItems->OnSummary && item->GetKind() != skNone && def->GetTypeClass() == TcxFloatValueType::Class() &&
        !FDataController->IsGridMode())
      fast.push_back({i, item->GetKind(), def});
    else
      slow.push_back(i);
  }
  for (int p = AFrom; p <= ATo; ++p) {
    const int r = info->GetRecordIndexAt(p);
    if (selectedOnly && !info->GetSelection()->IsRecordSelected(r)) continue;
    for (auto& F : fast) {
      const void* data;
      const bool isNull = storage->GetFieldDataPointer(r, F.Def, data);
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
    for (int i : slow) CalculateItem(AItems->GetItem(i), r, AValues[static_cast<size_t>(i)], ACounts[static_cast<size_t>(i)]);
  }
  for (auto& F : fast) MergeFast(F, AValues[static_cast<size_t>(F.Index)], ACounts[static_cast<size_t>(F.Index)]);
}

Variant TcxDataSummary::EndCalculate(TcxDataSummaryItems* AItems, std::vector<Variant>& AValues, const std::vector<int>& ACounts)
{
  const int n = AItems->GetCount();
  Variant result = Variants::VarArrayCreate({0, n - 1}, varVariant);
  for (int i = 0; i < n; ++i) {
    TcxDataSummaryItem* item = AItems->GetItem(i);
    Variant& v = AValues[static_cast<size_t>(i)];
    const int count = ACounts[static_cast<size_t>(i)];
    if (item->GetField()) {
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
  TcxDataSummaryItems* items = FDefaultGroupSummaryItems.get();
  const size_t n = static_cast<size_t>(items->GetCount());
  for (int g = 0; g < groups.GetCount(); ++g) groups.GetItem(g).SummaryValues = Variant();
  if (n == 0) return;
  // One accumulator per open level; a leaf's records feed every level above it.
  const int levels = groups.GetLevelCount();
  std::vector<std::vector<Variant>> values(static_cast<size_t>(levels), std::vector<Variant>(n));
  std::vector<std::vector<int>> counts(static_cast<size_t>(levels), std::vector<int>(n, 0));
  std::vector<int> open(static_cast<size_t>(levels), -1);
  auto finish = [&](int level) {
    const size_t l = static_cast<size_t>(level);
    if (open[l] < 0) return;
    groups.GetItem(open[l]).SummaryValues = EndCalculate(items, values[l], counts[l]);
    open[l] = -1;
  };
  for (int g = 0; g < groups.GetCount(); ++g) {
    const int level = groups.GetItem(g).Level;
    for (int l = levels - 1; l >= level; --l) finish(l);
    const size_t lv = static_cast<size_t>(level);
    open[lv] = g;
    values[lv].assign(n, Variant());
    counts[lv].assign(n, 0);
    if (groups.IsLeaf(g)) {
      for (int l = 0; l <= level; ++l)
        CalculateRange(items, groups.GetItem(g).FirstIndex, groups.GetItem(g).LastIndex, values[static_cast<size_t>(l)],
                       counts[static_cast<size_t>(l)]);
    }
  }
  for (int l = levels - 1; l >= 0; --l) finish(l);
}

Variant TcxDataSummary::GetFooterSummaryValue(int AIndex) const
{
  if (!FFooterValues.IsArray() || AIndex < 0 || AIndex > Variants::VarArrayHighBound(FFooterValues, 1)) return Variant::Null();
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
  const int g = FDataController->GetInfo()->GetDataGroups().GetGroupIndexByRowIndex(ARowIndex, -1);
  if (g < 0) return AnsiString();
  const Variant values = GetGroupSummaryValues(g);
  if (values.IsEmpty()) return AnsiString();
  return FDefaultGroupSummaryItems->GetGroupSummaryText(values);
}

void TcxDataSummary::RemoveField(TcxCustomDataField* AField)
{
  bool changed = false;
  ++FLockCount;
  for (TcxDataSummaryItems* items : {FFooterSummaryItems.get(), FDefaultGroupSummaryItems.get()})
    for (int i = 0; i < items->GetCount(); ++i)
      if (items->GetItem(i)->GetField() == AField) {
        items->GetItem(i)->SetField(nullptr);
        changed = true;
      }
  --FLockCount;
  if (changed) ReportChange(false);
}
