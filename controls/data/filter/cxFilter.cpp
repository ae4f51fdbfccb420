// The filter criteria tree, its evaluation and texts, its data form and the filter value list.
#include "controls/data/filter/cxFilter.h"

#include <algorithm>
#include <exception>

#include "controls/data/cxDataConsts.h"
#include "controls/data/filter/cxFilterConsts.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

using namespace cxFilterConsts;

namespace {

// Groups nested deeper than this are refused when reading: the filter builder never makes
// them, and a crafted stream must not exhaust the stack.
constexpr int kMaxGroupDepth = 128;

[[noreturn]] void RaiseReadError() { throw EReadError(cxDataConsts::cxSDataReadError); }

}  // namespace

// ---- Items -----------------------------------------------------------------------------------

TcxCustomFilterCriteriaItem::~TcxCustomFilterCriteriaItem()
{
  if (FParent) FParent->Forget(this);
}

void TcxCustomFilterCriteriaItem::Changed()
{
  if (TcxFilterCriteria* criteria = GetCriteria()) criteria->MarkChanged();
}

TcxFilterCriteria* TcxCustomFilterCriteriaItem::GetCriteria() const
{
  return FParent ? FParent->GetCriteria() : nullptr;
}

void TcxCustomFilterCriteriaItem::WriteData(TStream* AStream)
{
  cxVariants::WriteBooleanToStream(AStream, IsItemList());
}

TcxFilterCriteriaItemList::TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* AParent,
                                                     TcxFilterBoolOperatorKind ABoolOperatorKind)
    : TcxCustomFilterCriteriaItem(AParent), FBoolOperatorKind(ABoolOperatorKind)
{}

TcxFilterCriteriaItemList::~TcxFilterCriteriaItemList()
{
  while (TcxCustomFilterCriteriaItem* item = FItems.Back()) Delete(item);
}

TcxFilterCriteria* TcxFilterCriteriaItemList::GetCriteria() const
{
  return FCriteria ? FCriteria : TcxCustomFilterCriteriaItem::GetCriteria();
}

void TcxFilterCriteriaItemList::WriteData(TStream* AStream)
{
  TcxCustomFilterCriteriaItem::WriteData(AStream);
  cxVariants::WriteByteToStream(AStream, FBoolOperatorKind);
  cxVariants::WriteIntegerToStream(AStream, GetCount());
  for (const auto& item : FItems) item->WriteData(AStream);
}

TcxFilterCriteriaItem* TcxFilterCriteriaItemList::AddItem(TObject* AItemLink, TcxFilterOperatorKind AOperatorKind,
                                                          const Variant& AValue, const AnsiString& ADisplayValue)
{
  return GetCriteria()->AddItem(this, AItemLink, AOperatorKind, AValue, ADisplayValue);
}

TcxFilterCriteriaItemList* TcxFilterCriteriaItemList::AddItemList(TcxFilterBoolOperatorKind ABoolOperatorKind)
{
  auto* list = new TcxFilterCriteriaItemList(this, ABoolOperatorKind);
  Append(std::unique_ptr<TcxCustomFilterCriteriaItem>(list));
  Changed();
  return list;
}

void TcxFilterCriteriaItemList::Append(std::unique_ptr<TcxCustomFilterCriteriaItem> AItem)
{
  AItem->FParent = this;
  FItems.Add(std::move(AItem));
}

std::unique_ptr<TcxCustomFilterCriteriaItem> TcxFilterCriteriaItemList::Extract(TcxCustomFilterCriteriaItem* AItem)
{
  std::unique_ptr<TcxCustomFilterCriteriaItem> item = FItems.Extract(AItem);
  if (!item) return nullptr;
  item->FParent = nullptr;
  Changed();
  return item;
}

void TcxFilterCriteriaItemList::Forget(TcxCustomFilterCriteriaItem* AItem)
{
  if (FItems.IndexOf(AItem) < 0) return;
  FItems.Forget(AItem);
  AItem->FParent = nullptr;
  Changed();
}

void TcxFilterCriteriaItemList::Clear()
{
  TcxFilterCriteria* criteria = GetCriteria();
  if (criteria) criteria->BeginUpdate();
  while (TcxCustomFilterCriteriaItem* item = FItems.Back()) Delete(item);
  if (criteria) criteria->EndUpdate();
}

void TcxFilterCriteriaItemList::SetBoolOperatorKind(TcxFilterBoolOperatorKind Value)
{
  if (FBoolOperatorKind == Value) return;
  FBoolOperatorKind = Value;
  Changed();
}

TcxCustomFilterCriteriaItem* TcxFilterCriteriaItemList::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount()) return nullptr;
  return FItems[Index];
}

TcxFilterCriteriaItem::TcxFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                             TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                             const AnsiString& ADisplayValue)
    : TcxCustomFilterCriteriaItem(AParent), FDisplayValue(ADisplayValue), FItemLink(AItemLink),
      FOperatorKind(AOperatorKind), FValue(AValue)
{
  RecreateOperator();
  if (ADisplayValue.empty() && dynamic_cast<TcxFilterNullOperator*>(FOperator.get()))
    FDisplayValue = Text(cxSFilterBlankCaption);
}

TcxFilterCriteriaItem::~TcxFilterCriteriaItem() = default;

void TcxFilterCriteriaItem::WriteData(TStream* AStream)
{
  TcxCustomFilterCriteriaItem::WriteData(AStream);
  cxVariants::WriteByteToStream(AStream, FOperatorKind);
  cxVariants::WriteStringToStream(AStream, FDisplayValue);
  cxVariants::WriteIntegerToStream(AStream, GetCriteria()->GetIDByItemLink(FItemLink));
  cxVariants::WriteVariantToStream(AStream, FValue);
}

AnsiString TcxFilterCriteriaItem::GetDisplayValueText()
{
  AnsiString s = FDisplayValue;
  FOperator->AdjustDisplayValue(s);
  return s;
}

AnsiString TcxFilterCriteriaItem::GetConditionValueText(bool ADisplay)
{
  if (ADisplay) return GetDisplayValueText();
  AnsiString s;
  FOperator->GetValueText(FValue, s);
  return s;
}

std::unique_ptr<TcxFilterOperator> TcxFilterCriteriaItem::CreateOperator()
{
  const bool blank = IsNullValue(FValue);
  switch (FOperatorKind) {
    case fokEqual:
    case fokLike:
      if (blank) return std::make_unique<TcxFilterNullOperator>(this);
      if (FOperatorKind == fokEqual) return std::make_unique<TcxFilterEqualOperator>(this);
      return std::make_unique<TcxFilterLikeOperator>(this);
    case fokNotEqual:
    case fokNotLike:
      if (blank) return std::make_unique<TcxFilterNotNullOperator>(this);
      if (FOperatorKind == fokNotEqual) return std::make_unique<TcxFilterNotEqualOperator>(this);
      return std::make_unique<TcxFilterNotLikeOperator>(this);
    case fokLess: return std::make_unique<TcxFilterLessOperator>(this);
    case fokLessEqual: return std::make_unique<TcxFilterLessEqualOperator>(this);
    case fokGreater: return std::make_unique<TcxFilterGreaterOperator>(this);
    case fokGreaterEqual: return std::make_unique<TcxFilterGreaterEqualOperator>(this);
    case fokBetween: return std::make_unique<TcxFilterBetweenOperator>(this);
    case fokNotBetween: return std::make_unique<TcxFilterNotBetweenOperator>(this);
    case fokInList: return std::make_unique<TcxFilterInListOperator>(this);
    case fokNotInList: return std::make_unique<TcxFilterNotInListOperator>(this);
    case fokYesterday: return std::make_unique<TcxFilterYesterdayOperator>(this);
    case fokToday: return std::make_unique<TcxFilterTodayOperator>(this);
    case fokTomorrow: return std::make_unique<TcxFilterTomorrowOperator>(this);
    case fokLastWeek: return std::make_unique<TcxFilterLastWeekOperator>(this);
    case fokLastMonth: return std::make_unique<TcxFilterLastMonthOperator>(this);
    case fokLastYear: return std::make_unique<TcxFilterLastYearOperator>(this);
    case fokThisWeek: return std::make_unique<TcxFilterThisWeekOperator>(this);
    case fokThisMonth: return std::make_unique<TcxFilterThisMonthOperator>(this);
    case fokThisYear: return std::make_unique<TcxFilterThisYearOperator>(this);
    case fokNextWeek: return std::make_unique<TcxFilterNextWeekOperator>(this);
    case fokNextMonth: return std::make_unique<TcxFilterNextMonthOperator>(this);
    case fokNextYear: return std::make_unique<TcxFilterNextYearOperator>(this);
  }
  throw EInvalidArgument("Invalid filter operator kind");
}

void TcxFilterCriteriaItem::RecreateOperator()
{
  FOperator.reset();
  FOperator = CreateOperator();
  FOperator->PrepareRange();
  Changed();
}

bool TcxFilterCriteriaItem::IsNullValue(const Variant& V) const
{
  TcxFilterCriteria* criteria = GetCriteria();
  return criteria ? criteria->IsNull(V) : V.IsNull();
}

bool TcxFilterCriteriaItem::Evaluate(void* ARecord)
{
  TcxFilterCriteria* criteria = GetCriteria();
  try {
    return FOperator->Matches(criteria->PrepareValue(GetRecordValue(ARecord)), criteria->PrepareValue(FValue));
  } catch (const EVariantError&) {
    if (criteria->GetOptions().Contains(fcoSoftCompare)) return false;
    throw;
  }
}

void TcxFilterCriteriaItem::SetDisplayValue(const AnsiString& Value)
{
  if (FDisplayValue == Value) return;
  FDisplayValue = Value;
  Changed();
}

void TcxFilterCriteriaItem::SetOperatorKind(TcxFilterOperatorKind Value)
{
  FOperatorKind = Value;
  RecreateOperator();
}

void TcxFilterCriteriaItem::SetValue(const Variant& Value)
{
  FValue = Value;
  RecreateOperator();
}

// ---- Criteria --------------------------------------------------------------------------------

TcxFilterCriteria::TcxFilterCriteria() : FRoot(std::make_unique<TcxFilterCriteriaItemList>(nullptr, fbkAnd))
{
  FRoot->FCriteria = this;
}

TcxFilterCriteria::~TcxFilterCriteria()
{
  FDestroying = true;
  OnChanged = nullptr;
  BeginUpdate();
  FRoot.reset();
}

void TcxFilterCriteria::Assign(TPersistent* Persistent)
{
  auto* Source = dynamic_cast<TcxFilterCriteria*>(Persistent);
  if (!Source) {
    TPersistent::Assign(Persistent);
    return;
  }
  if (Source == this) return;
  TUpdateGuard lock(*this);
  FDateTimeFormat = Source->FDateTimeFormat;
  FMaxValueListCount = Source->FMaxValueListCount;
  FOptions = Source->FOptions;
  FPercentWildcard = Source->FPercentWildcard;
  FTranslateBetween = Source->FTranslateBetween;
  FTranslateIn = Source->FTranslateIn;
  FSupportedLike = Source->FSupportedLike;
  FUnderscoreWildcard = Source->FUnderscoreWildcard;
  MarkChanged();
  AssignItems(Source);
  CopyEventsFrom(Source);
}

void TcxFilterCriteria::MarkChanged()
{
  FChanged = true;
  CheckChanges();
}

void TcxFilterCriteria::CheckChanges()
{
  if (FChanged && FLockCount == 0 && !FDestroying) {
    FChanged = false;
    Changed();
  }
}

void TcxFilterCriteria::Changed()
{
  RefreshOperators();
  if (OnChanged) OnChanged(this);
}

void TcxFilterCriteria::EndUpdate()
{
  --FLockCount;
  CheckChanges();
}

AnsiString TcxFilterCriteria::FormatBooleanValue(const Variant& V) { return Variants::VarToStr(V); }

AnsiString TcxFilterCriteria::FormatDateValue(const Variant& V)
{
  if (FDateTimeFormat.empty()) return Variants::VarToStr(V);
  return SysUtils::FormatDateTime(FDateTimeFormat, V.AsDateTime());
}

AnsiString TcxFilterCriteria::BuildText(bool ADisplay) { return BuildGroupText(FRoot.get(), ADisplay); }

AnsiString TcxFilterCriteria::BuildGroupText(TcxFilterCriteriaItemList* AList, bool ADisplay)
{
  const TcxFilterBoolOperatorKind kind = AList->GetBoolOperatorKind();
  const bool isOr = kind == fbkOr || kind == fbkNotOr;
  const AnsiString word =
      ADisplay ? Text(isOr ? cxSFilterOrCaption : cxSFilterAndCaption) : AnsiString(isOr ? "OR" : "AND");
  AnsiString s;
  for (int i = 0; i < AList->GetCount(); ++i) {
    TcxCustomFilterCriteriaItem* item = AList->GetItem(i);
    if (item->IsItemList())
      s += "(" + BuildGroupText(static_cast<TcxFilterCriteriaItemList*>(item), ADisplay) + ")";
    else
      s += "(" + GetItemText(static_cast<TcxFilterCriteriaItem*>(item), ADisplay) + ")";
    if (i < AList->GetCount() - 1) s += " " + word + " ";
  }
  if (kind == fbkNotAnd || kind == fbkNotOr)
    s = (ADisplay ? Text(cxSFilterNotCaption) : AnsiString("NOT")) + " (" + s + ")";
  return s;
}

AnsiString TcxFilterCriteria::GetItemText(TcxFilterCriteriaItem* AItem, bool ADisplay)
{
  if (!ADisplay && AItem->GetOperator()->IsExpression()) {
    AnsiString s;
    AItem->GetOperator()->GetExpressionText(AItem->GetValue(), s);
    return s;
  }
  const AnsiString value = GetItemValueText(AItem, ADisplay);
  AnsiString s = GetItemLinkText(AItem, ADisplay) + " " + GetOperatorText(AItem, ADisplay);
  if (!value.empty()) s += " " + value;
  return s;
}

AnsiString TcxFilterCriteria::GetItemLinkText(TcxFilterCriteriaItem* AItem, bool ADisplay)
{
  return ADisplay ? AItem->GetFieldCaption() : AItem->GetFieldName();
}

AnsiString TcxFilterCriteria::GetOperatorText(TcxFilterCriteriaItem* AItem, bool ADisplay)
{
  TcxFilterOperator* op = AItem->GetOperator();
  if (ADisplay && (op->AlwaysDescribed() || FOptions.Contains(fcoShowOperatorDescription))) return op->GetDescription();
  return op->GetSymbol();
}

AnsiString TcxFilterCriteria::GetItemValueText(TcxFilterCriteriaItem* AItem, bool ADisplay)
{
  return AItem->GetConditionValueText(ADisplay);
}

std::unique_ptr<TcxFilterValueList> TcxFilterCriteria::CreateValueList()
{
  return std::make_unique<TcxFilterValueList>(this);
}

void TcxFilterCriteria::RefreshOperators()
{
  std::function<void(TcxFilterCriteriaItemList*)> refresh = [&](TcxFilterCriteriaItemList* list) {
    for (int i = 0; i < list->GetCount(); ++i) {
      TcxCustomFilterCriteriaItem* item = list->GetItem(i);
      if (item->IsItemList())
        refresh(static_cast<TcxFilterCriteriaItemList*>(item));
      else
        static_cast<TcxFilterCriteriaItem*>(item)->GetOperator()->PrepareRange();
    }
  };
  if (FRoot) refresh(FRoot.get());
}

Variant TcxFilterCriteria::PrepareValue(const Variant& V)
{
  const TVarType type = Variants::VarType(V) & varTypeMask;
  if (V.IsArray()) return V;
  if (type == varCurrency) return Variant(V.AsDouble());
  if (FOptions.Contains(fcoCaseInsensitive)) {
    if (type == varString) return Variant(SysUtils::AnsiUpperCase(V.AsString()));
    if (type == varOleStr) return Variant(SysUtils::WideUpperCase(V.AsWideString()));
  }
  return V;
}

void TcxFilterCriteria::WriteData(TStream* AStream)
{
  cxVariants::WriteIntegerToStream(AStream, -1);
  cxVariants::WriteByteToStream(AStream, FRoot->GetBoolOperatorKind());
  cxVariants::WriteIntegerToStream(AStream, FRoot->GetCount());
  for (int i = 0; i < FRoot->GetCount(); ++i) FRoot->GetItem(i)->WriteData(AStream);
}

void TcxFilterCriteria::ReadData(TStream* AStream)
{
  TUpdateGuard lock(*this);
  Clear();
  Integer count = cxVariants::ReadIntegerFromStream(AStream);
  if (count == -1) {
    const Byte kind = cxVariants::ReadByteFromStream(AStream);
    if (kind > fbkNotOr) RaiseReadError();
    FRoot->SetBoolOperatorKind(static_cast<TcxFilterBoolOperatorKind>(kind));
    count = cxVariants::ReadIntegerFromStream(AStream);
  }
  ReadItems(AStream, FRoot.get(), count, 0);
}

void TcxFilterCriteria::ReadItems(TStream* AStream, TcxFilterCriteriaItemList* AParent, Integer ACount, int ADepth)
{
  if (ACount < 0 || ADepth > kMaxGroupDepth) RaiseReadError();
  for (Integer i = 0; i < ACount; ++i) {
    TcxCustomFilterCriteriaItem* item = nullptr;
    if (cxVariants::ReadBooleanFromStream(AStream)) {
      const Byte kind = cxVariants::ReadByteFromStream(AStream);
      if (kind > fbkNotOr) RaiseReadError();
      auto* list = AParent->AddItemList(static_cast<TcxFilterBoolOperatorKind>(kind));
      ReadItems(AStream, list, cxVariants::ReadIntegerFromStream(AStream), ADepth + 1);
      item = list;
    } else {
      const Byte kind = cxVariants::ReadByteFromStream(AStream);
      if (kind >= cxFilterOperatorKindCount) RaiseReadError();
      const AnsiString displayValue = cxVariants::ReadStringFromStream(AStream);
      const Integer id = cxVariants::ReadIntegerFromStream(AStream);
      const Variant value = cxVariants::ReadVariantFromStream(AStream);
      item = AParent->AddItem(GetItemLinkByID(id), static_cast<TcxFilterOperatorKind>(kind), value, displayValue);
    }
    item->ReadData(AStream);
  }
}

void TcxFilterCriteria::CopyEventsFrom(TcxFilterCriteria* ASource) { OnChanged = ASource->OnChanged; }

void TcxFilterCriteria::AssignItems(TcxFilterCriteria* ASource)
{
  TUpdateGuard lock(*this);
  Clear();
  TMemoryStream stream;
  ASource->WriteData(&stream);
  stream.SetPosition(0);
  ReadData(&stream);
}

TcxFilterCriteriaItem* TcxFilterCriteria::AddItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                  TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                  const AnsiString& ADisplayValue)
{
  TUpdateGuard lock(*this);
  if (!AParent) AParent = FRoot.get();
  TcxFilterCriteriaItem* item = CreateItem(AParent, AItemLink, AOperatorKind, AValue, ADisplayValue);
  AParent->Append(std::unique_ptr<TcxCustomFilterCriteriaItem>(item));
  item->Changed();
  return item;
}

TcxFilterCriteriaItem* TcxFilterCriteria::FindItemByItemLink(TObject* AItemLink)
{
  std::function<TcxFilterCriteriaItem*(TcxFilterCriteriaItemList*)> find =
      [&](TcxFilterCriteriaItemList* list) -> TcxFilterCriteriaItem* {
    for (int i = 0; i < list->GetCount(); ++i) {
      TcxCustomFilterCriteriaItem* item = list->GetItem(i);
      if (item->IsItemList()) {
        if (auto* found = find(static_cast<TcxFilterCriteriaItemList*>(item))) return found;
      } else if (static_cast<TcxFilterCriteriaItem*>(item)->GetItemLink() == AItemLink) {
        return static_cast<TcxFilterCriteriaItem*>(item);
      }
    }
    return nullptr;
  };
  return find(FRoot.get());
}

bool TcxFilterCriteria::IsEmpty() const { return FRoot->GetCount() == 0; }

bool TcxFilterCriteria::HasContent() const { return FRoot->GetBoolOperatorKind() != fbkAnd || FRoot->GetCount() > 0; }

void TcxFilterCriteria::RestoreDefaults()
{
  TUpdateGuard lock(*this);
  SetOptions({});
  SetPercentWildcard('%');
  FSupportedLike = true;
  FTranslateBetween = false;
  FTranslateIn = false;
  SetUnderscoreWildcard('_');
}

bool TcxFilterCriteria::IsNull(const Variant& V) const
{
  return FOptions.Contains(fcoSoftNull) ? cxVariants::VarIsNullOrEmptyStr(V) : V.IsNull();
}

bool TcxFilterCriteria::RecordMatches(void* ARecord) { return EvaluateGroup(FRoot.get(), ARecord); }

bool TcxFilterCriteria::EvaluateGroup(TcxFilterCriteriaItemList* AList, void* ARecord)
{
  const TcxFilterBoolOperatorKind kind = AList->GetBoolOperatorKind();
  bool result = true;
  for (int i = 0; i < AList->GetCount(); ++i) {
    TcxCustomFilterCriteriaItem* item = AList->GetItem(i);
    const bool v = item->IsItemList() ? EvaluateGroup(static_cast<TcxFilterCriteriaItemList*>(item), ARecord)
                                      : static_cast<TcxFilterCriteriaItem*>(item)->Evaluate(ARecord);
    if (i == 0) {
      result = (kind == fbkNotAnd || kind == fbkNotOr) ? !v : v;
      continue;
    }
    switch (kind) {
      case fbkAnd: result = result && v; break;
      case fbkOr: result = result || v; break;
      case fbkNotAnd: result = result || !v; break;
      case fbkNotOr: result = result && !v; break;
    }
  }
  return result;
}

void TcxFilterCriteria::Clear()
{
  TUpdateGuard lock(*this);
  FRoot->Clear();
  FRoot->SetBoolOperatorKind(fbkAnd);
}

void TcxFilterCriteria::RemoveItemByItemLink(TObject* AItemLink)
{
  BeginUpdate();
  bool removed = false;
  while (TcxFilterCriteriaItem* item = FindItemByItemLink(AItemLink)) {
    TcxFilterCriteriaItemList* group = item->GetParent();
    group->Delete(item);
    removed = true;
    if (group == FRoot.get()) continue;
    TcxFilterCriteriaItemList* parent = group->GetParent();
    if (group->GetCount() == 0) {
      parent->Delete(group);
    } else if (group->GetCount() == 1) {
      parent->Append(group->Extract(group->GetItem(0)));
      parent->Delete(group);
    }
  }
  if (removed)
    EndUpdate();
  else
    CancelUpdate();
}

void TcxFilterCriteria::SetDateTimeFormat(const AnsiString& Value)
{
  if (FDateTimeFormat == Value) return;
  FDateTimeFormat = Value;
  MarkChanged();
}

void TcxFilterCriteria::SetOptions(TcxFilterCriteriaOptions Value)
{
  if (FOptions == Value) return;
  FOptions = Value;
  MarkChanged();
}

void TcxFilterCriteria::SetPercentWildcard(char Value)
{
  if (FPercentWildcard == Value) return;
  FPercentWildcard = Value;
  MarkChanged();
}

void TcxFilterCriteria::SetUnderscoreWildcard(char Value)
{
  if (FUnderscoreWildcard == Value) return;
  FUnderscoreWildcard = Value;
  MarkChanged();
}

// ---- Value list ------------------------------------------------------------------------------

int TcxFilterValueList::CompareEntry(int AIndex, const Variant& AValue, const AnsiString& ADisplayText)
{
  const TcxFilterValueItem& item = FItems[static_cast<size_t>(AIndex)];
  if (FCompareByDisplayText) {
    if (FCriteria->GetOptions().Contains(fcoCaseInsensitive))
      return SysUtils::AnsiCompareStr(SysUtils::AnsiUpperCase(item.DisplayText), SysUtils::AnsiUpperCase(ADisplayText));
    return SysUtils::AnsiCompareStr(item.DisplayText, ADisplayText);
  }
  return cxVariants::VarCompareValues(FCriteria->PrepareValue(item.Value), FCriteria->PrepareValue(AValue));
}

int TcxFilterValueList::FirstValueIndex() const
{
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Kind == fvkValue) return static_cast<int>(i);
  return GetCount();
}

int TcxFilterValueList::IndexOfKind(TcxFilterValueItemKind AKind) const
{
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Kind == AKind) return static_cast<int>(i);
  return -1;
}

void TcxFilterValueList::Add(TcxFilterValueItemKind AKind, const Variant& AValue, const AnsiString& ADisplayText,
                             bool AAppend)
{
  if (AKind == fvkPinned) {
    size_t separator = 0;
    while (separator < FItems.size() && FItems[separator].Kind == fvkPinned) ++separator;
    if (separator >= FItems.size() || FItems[separator].Kind != fvkPinnedSeparator) {
      FItems.insert(FItems.begin(), TcxFilterValueItem{fvkPinnedSeparator, Variant::Null(), AnsiString()});
      separator = 0;
    }
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(separator),
                  TcxFilterValueItem{AKind, AValue, ADisplayText});
    return;
  }
  if (AKind == fvkValue) {
    if (AAppend) {
      FItems.push_back({AKind, AValue, ADisplayText});
      return;
    }
    if (FCriteria->GetMaxValueListCount() != 0 && GetCount() >= FCriteria->GetMaxValueListCount()) return;
    int index = 0;
    if (Find(AValue, ADisplayText, index)) return;
    FItems.insert(FItems.begin() + index, TcxFilterValueItem{AKind, AValue, ADisplayText});
    return;
  }
  FItems.insert(FItems.begin() + FirstValueIndex(), TcxFilterValueItem{AKind, AValue, ADisplayText});
}

bool TcxFilterValueList::Find(const Variant& AValue, const AnsiString& ADisplayText, int& AIndex)
{
  const int separator = IndexOfKind(fvkPinnedSeparator);
  for (int i = 0; i < separator; ++i) {
    if (CompareEntry(i, AValue, ADisplayText) == 0) {
      AIndex = i;
      return true;
    }
  }
  int lo = FirstValueIndex(), hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = CompareEntry(mid, AValue, ADisplayText);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;
    }
  }
  AIndex = lo;
  return found;
}

int TcxFilterValueList::GetIndexByCriteriaItem(TcxFilterCriteriaItem* AItem)
{
  if (!AItem) return -1;
  const TcxFilterOperatorKind kind = AItem->GetOperatorKind();
  if (FCriteria->IsNull(AItem->GetValue()) && (kind == fokEqual || kind == fokNotEqual))
    return IndexOfKind(kind == fokEqual ? fvkBlanks : fvkNonBlanks);
  if (AItem->GetParent() != FCriteria->GetRoot() || kind != fokEqual) return IndexOfKind(fvkCustom);
  int index = -1;
  if (Find(AItem->GetValue(), AItem->GetDisplayValue(), index)) return index;
  return IndexOfKind(fvkAll);
}

// ---- Text helpers ----------------------------------------------------------------------------

namespace cxFilter {

void ExtractDelimitedValue(const AnsiString& AText, int& APos, AnsiString& AValue)
{
  // ';' is never a trail byte, so a plain byte search is safe in CP936 text.
  const size_t start = static_cast<size_t>(std::max(APos, 1) - 1);
  if (start >= AText.size()) {
    AValue.clear();
    APos = static_cast<int>(AText.size()) + 2;
    return;
  }
  const size_t semicolon = AText.find(';', start);
  const size_t end = semicolon == AnsiString::npos ? AText.size() : semicolon;
  AValue = SysUtils::Trim(AText.substr(start, end - start));
  APos = static_cast<int>(end) + 2;
}

Variant SplitPairText(const AnsiString& AText)
{
  const size_t semicolon = AText.find(';');
  if (semicolon == AnsiString::npos)
    return cxVariants::MakeVarArray2(Variant(SysUtils::Trim(AText)), Variant(AnsiString()));
  return cxVariants::MakeVarArray2(Variant(SysUtils::Trim(AText.substr(0, semicolon))),
                                   Variant(SysUtils::Trim(AText.substr(semicolon + 1))));
}

Variant SplitListText(const AnsiString& AText)
{
  std::vector<Variant> pieces;
  size_t start = 0;
  for (;;) {
    const size_t semicolon = AText.find(';', start);
    pieces.emplace_back(
        SysUtils::Trim(AText.substr(start, semicolon == AnsiString::npos ? AnsiString::npos : semicolon - start)));
    if (semicolon == AnsiString::npos) break;
    start = semicolon + 1;
  }
  return Variants::VarArrayOf(pieces);
}

AnsiString PairDisplayText(const Variant& AValue)
{
  const int low = Variants::VarArrayLowBound(AValue, 1);
  return ValueDisplayText(Variants::VarArrayGet(AValue, {low})) + " " + Text(cxSFilterAndCaption) + " " +
         ValueDisplayText(Variants::VarArrayGet(AValue, {low + 1}));
}

AnsiString ListDisplayText(const Variant& AValue)
{
  AnsiString s = "(";
  const int low = Variants::VarArrayLowBound(AValue, 1), high = Variants::VarArrayHighBound(AValue, 1);
  for (int i = low; i <= high; ++i) s += (i > low ? ", " : "") + ValueDisplayText(Variants::VarArrayGet(AValue, {i}));
  return s + ")";
}

AnsiString ValueDisplayText(const Variant& AValue)
{
  if (AValue.IsNull()) return Text(cxSFilterBlankCaption);
  return Variants::VarToStr(AValue);
}

}  // namespace cxFilter

PELTO_DEFINE_CLASS(TcxFilterCriteria)
PELTO_PUBLISH(TcxFilterCriteria, p)
{
  p.Property("MaxValueListCount", &TcxFilterCriteria::GetMaxValueListCount, &TcxFilterCriteria::SetMaxValueListCount)
      .Default(0);
  p.Property("Options", &TcxFilterCriteria::GetOptions, &TcxFilterCriteria::SetOptions)
      .Default(TcxFilterCriteriaOptions());
  p.Property("PercentWildcard", &TcxFilterCriteria::GetPercentWildcard, &TcxFilterCriteria::SetPercentWildcard)
      .Default('%');
  p.Property("UnderscoreWildcard", &TcxFilterCriteria::GetUnderscoreWildcard, &TcxFilterCriteria::SetUnderscoreWildcard)
      .Default('_');
}
