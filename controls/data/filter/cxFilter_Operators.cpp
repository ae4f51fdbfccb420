// The operators of filter conditions: matching, filter text and display text.
#include <cmath>

#include "controls/data/cxDataUtils.h"
#include "controls/data/filter/cxFilter.h"
#include "controls/data/filter/cxFilterConsts.h"
#include "controls/data/filter/cxLike.h"
#include "controls/data/storage/cxVariants.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringUtils.h"

using cxFilterConsts::Text;
using namespace cxFilterConsts;

namespace {

Variant Element(const Variant& AValue, int AIndex)
{
  return Variants::VarArrayGet(AValue, {Variants::VarArrayLowBound(AValue, 1) + AIndex});
}

int ElementCount(const Variant& AValue)
{
  return Variants::VarArrayHighBound(AValue, 1) - Variants::VarArrayLowBound(AValue, 1) + 1;
}

bool IsOneDimArray(const Variant& AValue) { return AValue.IsArray() && Variants::VarArrayDimCount(AValue) == 1; }

AnsiString Negated(const AnsiString& S) { return "NOT (" + S + ")"; }

}  // namespace

// ---- Base ------------------------------------------------------------------------------------

TcxFilterCriteria* TcxFilterOperator::GetCriteria() const { return FOwnerItem->GetCriteria(); }

AnsiString TcxFilterOperator::FieldName() const { return FOwnerItem->GetFieldName(); }

void TcxFilterOperator::GetExpressionText(const Variant& AValue, AnsiString& S) { GetValueText(AValue, S); }

void TcxFilterOperator::GetValueText(const Variant& AValue, AnsiString& S)
{
  if (!GetCustomValueText(AValue, S)) {
    TcxFilterCriteria* criteria = GetCriteria();
    const TVarType type = Variants::VarType(AValue) & varTypeMask;
    if (AValue.IsNull())
      S = "NULL";
    else if (AValue.IsArray())
      S.clear();  // arrays are rendered by the operators that take them
    else if (type == varDate)
      S = "'" + criteria->FormatDateValue(AValue) + "'";
    else if (type == varString || type == varOleStr)
      S = "'" + AValue.AsString() + "'";
    else if (type == varBoolean)
      S = criteria->FormatBooleanValue(AValue);
    else
      S = Variants::VarToStr(AValue);
  }
  GetCriteria()->FormatFilterTextValue(FOwnerItem, AValue, S);
}

std::vector<AnsiString> TcxFilterOperator::ElementTexts(const Variant& AValue)
{
  std::vector<AnsiString> texts;
  if (!IsOneDimArray(AValue)) {
    texts.emplace_back();
    TcxFilterOperator::GetValueText(AValue, texts.back());
    return texts;
  }
  for (int i = 0; i < ElementCount(AValue); ++i) {
    texts.emplace_back();
    // Element texts use the kind rules, not this operator's own array form.
    TcxFilterOperator::GetValueText(Element(AValue, i), texts.back());
  }
  return texts;
}

// ---- Comparisons -----------------------------------------------------------------------------

bool TcxFilterEqualOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return cxVariants::VarCompareValues(ARecordValue, AConditionValue) == 0;
}

AnsiString TcxFilterEqualOperator::GetDescription() { return Text(cxSFilterOperatorEqual); }

bool TcxFilterEqualOperator::IsExpression() { return GetOwnerItem()->GetValue().IsArray(); }

void TcxFilterEqualOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  if (!IsOneDimArray(AValue)) {
    GetValueText(AValue, S);
    return;
  }
  // A multi-field key: one equality per field, joined by AND.
  const AnsiString names = FieldName();
  std::vector<AnsiString> fields;
  int pos = 1;
  while (pos <= static_cast<int>(names.size())) {
    AnsiString piece;
    cxFilter::ExtractDelimitedValue(names, pos, piece);
    fields.push_back(piece);
  }
  const std::vector<AnsiString> texts = ElementTexts(AValue);
  S.clear();
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) S += " AND ";
    S += "(" + (i < fields.size() ? fields[i] : AnsiString()) + " = " + texts[i] + ")";
  }
}

bool TcxFilterNotEqualOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return !TcxFilterEqualOperator::Matches(ARecordValue, AConditionValue);
}

AnsiString TcxFilterNotEqualOperator::GetDescription() { return Text(cxSFilterOperatorNotEqual); }

void TcxFilterNotEqualOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  TcxFilterEqualOperator::GetExpressionText(AValue, S);
  S = Negated(S);
}

bool TcxFilterLessOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return cxVariants::VarCompareValues(ARecordValue, AConditionValue) < 0;
}
AnsiString TcxFilterLessOperator::GetDescription() { return Text(cxSFilterOperatorLess); }

bool TcxFilterLessEqualOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return cxVariants::VarCompareValues(ARecordValue, AConditionValue) < 1;
}
AnsiString TcxFilterLessEqualOperator::GetDescription() { return Text(cxSFilterOperatorLessEqual); }

bool TcxFilterGreaterOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return cxVariants::VarCompareValues(ARecordValue, AConditionValue) > 0;
}
AnsiString TcxFilterGreaterOperator::GetDescription() { return Text(cxSFilterOperatorGreater); }

bool TcxFilterGreaterEqualOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return cxVariants::VarCompareValues(ARecordValue, AConditionValue) >= 0;
}
AnsiString TcxFilterGreaterEqualOperator::GetDescription() { return Text(cxSFilterOperatorGreaterEqual); }

// ---- Like ------------------------------------------------------------------------------------

bool TcxFilterLikeOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  TcxFilterCriteria* criteria = GetCriteria();
  return cxLike::LikeMatches(Variants::VarToStr(ARecordValue), Variants::VarToStr(AConditionValue),
                             criteria->GetPercentWildcard(), criteria->GetUnderscoreWildcard());
}

int TcxFilterLikeOperator::PatternShape()
{
  AnsiString pattern = Variants::VarToStr(GetOwnerItem()->GetValue());
  return cxLike::StripOuterWildcards(pattern, GetCriteria()->GetPercentWildcard());
}

AnsiString TcxFilterLikeOperator::GetDescription()
{
  switch (PatternShape()) {
    case 1: return Text(cxSFilterOperatorBeginsWith);
    case 2: return Text(cxSFilterOperatorEndsWith);
    case 3: return Text(cxSFilterOperatorContains);
    default: return Text(cxSFilterOperatorLike);
  }
}

void TcxFilterLikeOperator::AdjustDisplayValue(AnsiString& S)
{
  TcxFilterCriteria* criteria = GetCriteria();
  if (criteria->GetOptions().Contains(fcoShowOperatorDescription))
    cxLike::StripOuterWildcards(S, criteria->GetPercentWildcard());
}

bool TcxFilterNotLikeOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return !TcxFilterLikeOperator::Matches(ARecordValue, AConditionValue);
}

AnsiString TcxFilterNotLikeOperator::GetDescription()
{
  switch (PatternShape()) {
    case 1: return Text(cxSFilterOperatorDoesNotBeginWith);
    case 2: return Text(cxSFilterOperatorDoesNotEndWith);
    case 3: return Text(cxSFilterOperatorDoesNotContain);
    default: return Text(cxSFilterOperatorNotLike);
  }
}

// ---- Between ---------------------------------------------------------------------------------

bool TcxFilterBetweenOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  const Variant low = Variants::VarArrayGet(AConditionValue, {Variants::VarArrayLowBound(AConditionValue, 1)});
  const Variant high = Variants::VarArrayGet(AConditionValue, {Variants::VarArrayLowBound(AConditionValue, 1) + 1});
  return cxVariants::VarCompareValues(low, ARecordValue) <= 0 && cxVariants::VarCompareValues(ARecordValue, high) <= 0;
}

AnsiString TcxFilterBetweenOperator::GetDescription() { return Text(cxSFilterOperatorBetween); }

bool TcxFilterBetweenOperator::IsExpression() { return GetCriteria()->GetTranslateBetween(); }

bool TcxFilterBetweenOperator::GetCustomValueText(const Variant& AValue, AnsiString& S)
{
  if (!IsOneDimArray(AValue) || ElementCount(AValue) < 2) return false;
  const std::vector<AnsiString> texts = ElementTexts(AValue);
  S = texts[0] + " AND " + texts[1];
  return true;
}

void TcxFilterBetweenOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  if (!IsOneDimArray(AValue) || ElementCount(AValue) < 2) {
    TcxFilterOperator::GetValueText(AValue, S);
    return;
  }
  const std::vector<AnsiString> texts = ElementTexts(AValue);
  const AnsiString field = FieldName();
  S = "(" + texts[0] + " <= " + field + ") AND (" + field + " <= " + texts[1] + ")";
}

void TcxFilterBetweenOperator::AdjustDisplayValue(AnsiString& S)
{
  S = cxFilter::PairDisplayText(cxFilter::SplitPairText(S));
}

bool TcxFilterNotBetweenOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return !TcxFilterBetweenOperator::Matches(ARecordValue, AConditionValue);
}

AnsiString TcxFilterNotBetweenOperator::GetDescription() { return Text(cxSFilterOperatorNotBetween); }

void TcxFilterNotBetweenOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  TcxFilterBetweenOperator::GetExpressionText(AValue, S);
  S = Negated(S);
}

// ---- In list ---------------------------------------------------------------------------------

bool TcxFilterInListOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  const int low = Variants::VarArrayLowBound(AConditionValue, 1);
  const int high = Variants::VarArrayHighBound(AConditionValue, 1);
  for (int i = low; i <= high; ++i)
    if (ARecordValue == Variants::VarArrayGet(AConditionValue, {i})) return true;
  return false;
}

AnsiString TcxFilterInListOperator::GetDescription() { return Text(cxSFilterOperatorInList); }

bool TcxFilterInListOperator::IsExpression() { return GetCriteria()->GetTranslateIn(); }

bool TcxFilterInListOperator::GetCustomValueText(const Variant& AValue, AnsiString& S)
{
  if (!IsOneDimArray(AValue)) return false;
  S = "(";
  const std::vector<AnsiString> texts = ElementTexts(AValue);
  for (size_t i = 0; i < texts.size(); ++i) S += (i > 0 ? ", " : "") + texts[i];
  S += ")";
  return true;
}

void TcxFilterInListOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  if (!IsOneDimArray(AValue)) {
    TcxFilterOperator::GetValueText(AValue, S);
    return;
  }
  const AnsiString field = FieldName();
  S.clear();
  const std::vector<AnsiString> texts = ElementTexts(AValue);
  for (size_t i = 0; i < texts.size(); ++i) S += (i > 0 ? " OR (" : "(") + field + " = " + texts[i] + ")";
}

void TcxFilterInListOperator::AdjustDisplayValue(AnsiString& S)
{
  S = cxFilter::ListDisplayText(cxFilter::SplitListText(S));
}

bool TcxFilterNotInListOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return !TcxFilterInListOperator::Matches(ARecordValue, AConditionValue);
}

AnsiString TcxFilterNotInListOperator::GetDescription() { return Text(cxSFilterOperatorNotInList); }

void TcxFilterNotInListOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  TcxFilterInListOperator::GetExpressionText(AValue, S);
  S = Negated(S);
}

// ---- Blanks ----------------------------------------------------------------------------------

bool TcxFilterNullOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return GetOwnerItem()->IsNullValue(ARecordValue);
}

AnsiString TcxFilterNullOperator::GetDescription() { return Text(cxSFilterOperatorIsNull); }

void TcxFilterNullOperator::AdjustDisplayValue(AnsiString& S)
{
  if (GetCriteria()->GetOptions().Contains(fcoShowOperatorDescription)) S.clear();
}

bool TcxFilterNotNullOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  return !TcxFilterNullOperator::Matches(ARecordValue, AConditionValue);
}

AnsiString TcxFilterNotNullOperator::GetDescription() { return Text(cxSFilterOperatorIsNotNull); }

// ---- Dates -----------------------------------------------------------------------------------

TcxFilterDateOperator::TcxFilterDateOperator(TcxFilterCriteriaItem* ACriteriaItem) : TcxFilterOperator(ACriteriaItem) {}

bool TcxFilterDateOperator::Matches(const Variant& ARecordValue, const Variant& AConditionValue)
{
  if (ARecordValue.IsNull()) return false;
  const Variant start(FRangeStart), end(FRangeEnd);
  return cxVariants::VarCompareValues(start, ARecordValue) <= 0 && cxVariants::VarCompareValues(ARecordValue, end) < 0;
}

void TcxFilterDateOperator::GetExpressionText(const Variant& AValue, AnsiString& S)
{
  AnsiString start, end;
  GetValueText(Variant(FRangeStart), start);
  GetValueText(Variant(FRangeEnd), end);
  const AnsiString field = FieldName();
  S = "(" + start + " <= " + field + ") AND (" + field + " < " + end + ")";
}

void TcxFilterDateOperator::PrepareRange()
{
  TDateTime start, end;
  ComputeRange(TDateTime(std::trunc(SysUtils::Date().Value)), start, end);
  FRangeStart = start;
  FRangeEnd = end;
}

namespace {

TDateTime FirstOfMonth(TDateTime today, int monthsAhead)
{
  Word y, m, d;
  SysUtils::DecodeDate(today, y, m, d);
  int month = m - 1 + monthsAhead;
  int year = y + (month >= 0 ? month / 12 : -((11 - month) / 12));
  month = ((month % 12) + 12) % 12;
  return SysUtils::EncodeDate(static_cast<Word>(year), static_cast<Word>(month + 1), 1);
}

TDateTime FirstOfYear(TDateTime today, int yearsAhead)
{
  Word y, m, d;
  SysUtils::DecodeDate(today, y, m, d);
  return SysUtils::EncodeDate(static_cast<Word>(y + yearsAhead), 1, 1);
}

}  // namespace

#define CX_DATE_RANGE(Name, TextId, StartExpr, EndExpr)                        \
  AnsiString Name::GetDescription() { return Text(TextId); }                   \
  void Name::ComputeRange(TDateTime today, TDateTime& AStart, TDateTime& AEnd) \
  {                                                                            \
    const double week = cxDataUtils::StartOfWeek(today).Value;                 \
    (void)week;                                                                \
    AStart = TDateTime(StartExpr);                                             \
    AEnd = TDateTime(EndExpr);                                                 \
  }

CX_DATE_RANGE(TcxFilterYesterdayOperator, cxSFilterOperatorYesterday, today - 1, today.Value)
CX_DATE_RANGE(TcxFilterTodayOperator, cxSFilterOperatorToday, today.Value, today + 1)
CX_DATE_RANGE(TcxFilterTomorrowOperator, cxSFilterOperatorTomorrow, today + 1, today + 2)
CX_DATE_RANGE(TcxFilterLastWeekOperator, cxSFilterOperatorLastWeek, week - 7, week)
CX_DATE_RANGE(TcxFilterThisWeekOperator, cxSFilterOperatorThisWeek, week, week + 7)
CX_DATE_RANGE(TcxFilterNextWeekOperator, cxSFilterOperatorNextWeek, week + 7, week + 14)
CX_DATE_RANGE(TcxFilterLastMonthOperator, cxSFilterOperatorLastMonth, FirstOfMonth(today, -1).Value,
              FirstOfMonth(today, 0).Value)
CX_DATE_RANGE(TcxFilterThisMonthOperator, cxSFilterOperatorThisMonth, FirstOfMonth(today, 0).Value,
              FirstOfMonth(today, 1).Value)
CX_DATE_RANGE(TcxFilterNextMonthOperator, cxSFilterOperatorNextMonth, FirstOfMonth(today, 1).Value,
              FirstOfMonth(today, 2).Value)
CX_DATE_RANGE(TcxFilterLastYearOperator, cxSFilterOperatorLastYear, FirstOfYear(today, -1).Value,
              FirstOfYear(today, 0).Value)
CX_DATE_RANGE(TcxFilterThisYearOperator, cxSFilterOperatorThisYear, FirstOfYear(today, 0).Value,
              FirstOfYear(today, 1).Value)
CX_DATE_RANGE(TcxFilterNextYearOperator, cxSFilterOperatorNextYear, FirstOfYear(today, 1).Value,
              FirstOfYear(today, 2).Value)
#undef CX_DATE_RANGE
