// Filters held as a tree: groups (TcxFilterCriteriaItemList) joining conditions
// (TcxFilterCriteriaItem) and further groups with AND, OR, NOT AND or NOT OR. A condition binds
// an item link (a column or field; meaning given by the owner of the criteria), an operator
// kind, a value and the text the user saw for it; it owns an operator object that matches
// record values and renders the condition as filter text (SQL-like) or display text (words).
//
// Sections: operator kinds and options; operators; the tree; the criteria; the value list;
// text helpers.
//
// Call flow: TcxFilterCriteria::AddItem -> CreateItem (owner's class) -> RecreateOperator ->
// MarkChanged -> (update lock 0) Changed -> RefreshOperators + OnChanged.
// RecordMatches -> group evaluation -> condition: GetRecordValue, PrepareValue, operator Matches.
//
// Ownership: the criteria own the root group; a group owns its children (deleting a child
// removes it from its group); a condition owns its operator. UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/OwnedList.h"
#include "platform/classes/Persistent.h"
#include "platform/classes/Sets.h"
#include "platform/rtl/Variants.h"

class TFiler;
class TStream;
class TcxFilterCriteria;
class TcxFilterCriteriaItem;
class TcxFilterCriteriaItemList;

// ---- Operator kinds and options --------------------------------------------------------------

enum TcxFilterOperatorKind : Byte {
  fokEqual,
  fokNotEqual,
  fokLess,
  fokLessEqual,
  fokGreater,
  fokGreaterEqual,
  fokLike,
  fokNotLike,
  fokBetween,
  fokNotBetween,
  fokInList,
  fokNotInList,
  fokYesterday,
  fokToday,
  fokTomorrow,
  fokLastWeek,
  fokLastMonth,
  fokLastYear,
  fokThisWeek,
  fokThisMonth,
  fokThisYear,
  fokNextWeek,
  fokNextMonth,
  fokNextYear
};
constexpr int cxFilterOperatorKindCount = fokNextYear + 1;

enum TcxFilterBoolOperatorKind : Byte { fbkAnd, fbkOr, fbkNotAnd, fbkNotOr };

PELTO_ENUM(TcxFilterCriteriaOption, fcoCaseInsensitive, fcoShowOperatorDescription, fcoSoftNull, fcoSoftCompare)
// Bit i stands for option i (the byte the criteria data and the stream's set hold).
PELTO_SET(TcxFilterCriteriaOptions, TcxFilterCriteriaOption)

// ---- Operators -------------------------------------------------------------------------------

class TcxFilterOperator : public TObject {
public:
  explicit TcxFilterOperator(TcxFilterCriteriaItem* ACriteriaItem) : FOwnerItem(ACriteriaItem) {}

  // The whole condition as filter text; used only when IsExpression is true.
  virtual void GetExpressionText(const Variant& AValue, AnsiString& S);
  // The value as filter text: NULL, a quoted (date-formatted) date, a quoted text (quotes inside
  // are not doubled), the criteria's Boolean text, else the value as text; then the criteria's
  // filter-text hook may change it.
  virtual void GetValueText(const Variant& AValue, AnsiString& S);
  // Rewrites the condition's display value for display.
  virtual void AdjustDisplayValue(AnsiString& S) {}
  // Recomputes a date range (date operators only).
  virtual void PrepareRange() {}
  virtual bool GetCustomValueText(const Variant& AValue, AnsiString& S) { return false; }
  // May raise EVariantError for values it cannot compare (the criteria's soft-compare option
  // turns that into "no match").
  virtual bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) = 0;
  virtual AnsiString GetDescription() { return GetSymbol(); }
  virtual AnsiString GetSymbol() = 0;
  virtual bool AlwaysDescribed() { return false; }
  virtual bool IsExpression() { return false; }

  TcxFilterCriteriaItem* GetOwnerItem() const { return FOwnerItem; }
  TcxFilterCriteria* GetCriteria() const;

protected:
  // Filter text of each element of an array value (a scalar gives one text).
  std::vector<AnsiString> ElementTexts(const Variant& AValue);
  AnsiString FieldName() const;

private:
  TcxFilterCriteriaItem* FOwnerItem;
};

class TcxFilterEqualOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "="; }
  AnsiString GetDescription() override;
  // A multi-field key (an array value) renders as (F1 = v1) AND (F2 = v2) ...
  bool IsExpression() override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
};

class TcxFilterNotEqualOperator : public TcxFilterEqualOperator {
public:
  using TcxFilterEqualOperator::TcxFilterEqualOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "<>"; }
  AnsiString GetDescription() override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
};

class TcxFilterLessOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "<"; }
  AnsiString GetDescription() override;
};

class TcxFilterLessEqualOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "<="; }
  AnsiString GetDescription() override;
};

class TcxFilterGreaterOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return ">"; }
  AnsiString GetDescription() override;
};

class TcxFilterGreaterEqualOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return ">="; }
  AnsiString GetDescription() override;
};

class TcxFilterLikeOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "LIKE"; }
  // By the pattern's shape: "begins with", "ends with", "contains", else "like".
  AnsiString GetDescription() override;
  // With operator descriptions shown, the outer wildcards go (the description says them).
  void AdjustDisplayValue(AnsiString& S) override;

protected:
  // 0 none, 1 trailing, 2 leading, 3 both (outer wildcards of the condition's value).
  int PatternShape();
};

class TcxFilterNotLikeOperator : public TcxFilterLikeOperator {
public:
  using TcxFilterLikeOperator::TcxFilterLikeOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "NOT LIKE"; }
  AnsiString GetDescription() override;
};

class TcxFilterBetweenOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  // AConditionValue must be a two-element array, else EVariantError.
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "BETWEEN"; }
  AnsiString GetDescription() override;
  bool AlwaysDescribed() override { return true; }
  bool IsExpression() override;
  bool GetCustomValueText(const Variant& AValue, AnsiString& S) override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
  void AdjustDisplayValue(AnsiString& S) override;
};

class TcxFilterNotBetweenOperator : public TcxFilterBetweenOperator {
public:
  using TcxFilterBetweenOperator::TcxFilterBetweenOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "NOT BETWEEN"; }
  AnsiString GetDescription() override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
};

class TcxFilterInListOperator : public TcxFilterOperator {
public:
  using TcxFilterOperator::TcxFilterOperator;
  // The library's Variant equality against each element; its errors propagate.
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "IN"; }
  AnsiString GetDescription() override;
  bool AlwaysDescribed() override { return true; }
  bool IsExpression() override;
  bool GetCustomValueText(const Variant& AValue, AnsiString& S) override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
  void AdjustDisplayValue(AnsiString& S) override;
};

class TcxFilterNotInListOperator : public TcxFilterInListOperator {
public:
  using TcxFilterInListOperator::TcxFilterInListOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "NOT IN"; }
  AnsiString GetDescription() override;
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
};

// "is blank": the condition's value passed the criteria's Null test.
class TcxFilterNullOperator : public TcxFilterEqualOperator {
public:
  using TcxFilterEqualOperator::TcxFilterEqualOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetDescription() override;
  bool IsExpression() override { return false; }
  void AdjustDisplayValue(AnsiString& S) override;
};

class TcxFilterNotNullOperator : public TcxFilterNullOperator {
public:
  using TcxFilterNullOperator::TcxFilterNullOperator;
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return "<>"; }
  AnsiString GetDescription() override;
};

// Matches a non-Null date in [RangeStart, RangeEnd), recomputed from today by PrepareRange.
class TcxFilterDateOperator : public TcxFilterOperator {
public:
  explicit TcxFilterDateOperator(TcxFilterCriteriaItem* ACriteriaItem);
  bool Matches(const Variant& ARecordValue, const Variant& AConditionValue) override;
  AnsiString GetSymbol() override { return GetDescription(); }
  AnsiString GetDescription() override = 0;
  bool IsExpression() override { return true; }
  void GetExpressionText(const Variant& AValue, AnsiString& S) override;
  void AdjustDisplayValue(AnsiString& S) override { S.clear(); }
  void PrepareRange() override;

  TDateTime GetRangeStart() const { return FRangeStart; }
  TDateTime GetRangeEnd() const { return FRangeEnd; }

protected:
  // The range for the date `today` (no time).
  virtual void ComputeRange(TDateTime today, TDateTime& AStart, TDateTime& AEnd) = 0;

private:
  TDateTime FRangeStart;
  TDateTime FRangeEnd;
};

#define CX_FILTER_DATE_OPERATOR(Name)                                                \
  class Name : public TcxFilterDateOperator {                                        \
  public:                                                                            \
    using TcxFilterDateOperator::TcxFilterDateOperator;                              \
    AnsiString GetDescription() override;                                            \
                                                                                     \
  protected:                                                                         \
    void ComputeRange(TDateTime today, TDateTime& AStart, TDateTime& AEnd) override; \
  }
CX_FILTER_DATE_OPERATOR(TcxFilterYesterdayOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterTodayOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterTomorrowOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterLastWeekOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterLastMonthOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterLastYearOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterThisWeekOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterThisMonthOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterThisYearOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterNextWeekOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterNextMonthOperator);
CX_FILTER_DATE_OPERATOR(TcxFilterNextYearOperator);
#undef CX_FILTER_DATE_OPERATOR

// ---- The tree --------------------------------------------------------------------------------

class TcxCustomFilterCriteriaItem : public TObject {
public:
  explicit TcxCustomFilterCriteriaItem(TcxFilterCriteriaItemList* AParent) : FParent(AParent) {}
  // Removes the item from its group.
  ~TcxCustomFilterCriteriaItem() override;
  TcxCustomFilterCriteriaItem(const TcxCustomFilterCriteriaItem&) = delete;
  TcxCustomFilterCriteriaItem& operator=(const TcxCustomFilterCriteriaItem&) = delete;

  virtual void Changed();
  virtual TcxFilterCriteria* GetCriteria() const;
  virtual bool IsItemList() const = 0;
  virtual void ReadData(TStream* AStream) {}
  // One item record of the criteria data.
  virtual void WriteData(TStream* AStream);

  TcxFilterCriteriaItemList* GetParent() const { return FParent; }

private:
  friend class TcxFilterCriteriaItemList;
  TcxFilterCriteriaItemList* FParent;
};

class TcxFilterCriteriaItemList : public TcxCustomFilterCriteriaItem {
public:
  TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* AParent, TcxFilterBoolOperatorKind ABoolOperatorKind);
  // Frees the children, the last first.
  ~TcxFilterCriteriaItemList() override;

  TcxFilterCriteria* GetCriteria() const override;
  bool IsItemList() const override { return true; }
  void WriteData(TStream* AStream) override;

  // A new condition at the end, through the criteria's AddItem (the owner's condition class).
  TcxFilterCriteriaItem* AddItem(TObject* AItemLink, TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                 const AnsiString& ADisplayValue);
  // A new empty group at the end.
  TcxFilterCriteriaItemList* AddItemList(TcxFilterBoolOperatorKind ABoolOperatorKind);
  // Takes AItem out of the list and hands it to the caller; signals a change when it was there
  // (null otherwise).
  std::unique_ptr<TcxCustomFilterCriteriaItem> Extract(TcxCustomFilterCriteriaItem* AItem);
  // Takes AItem out and frees it.
  void Delete(TcxCustomFilterCriteriaItem* AItem) { Extract(AItem).reset(); }
  // Frees every child, the last first, inside one update lock.
  void Clear();

  TcxFilterBoolOperatorKind GetBoolOperatorKind() const { return FBoolOperatorKind; }
  void SetBoolOperatorKind(TcxFilterBoolOperatorKind Value);
  int GetCount() const { return FItems.Count(); }
  // nullptr outside 0..Count-1.
  TcxCustomFilterCriteriaItem* GetItem(int Index) const;

private:
  friend class TcxFilterCriteria;
  friend class TcxCustomFilterCriteriaItem;
  // Appends an item made for this list and takes it over.
  void Append(std::unique_ptr<TcxCustomFilterCriteriaItem> AItem);
  // A child's destructor: takes it out without freeing it again.
  void Forget(TcxCustomFilterCriteriaItem* AItem);

  TcxFilterBoolOperatorKind FBoolOperatorKind;
  TcxFilterCriteria* FCriteria = nullptr;  // the root group's owner
  TOwnedList<TcxCustomFilterCriteriaItem> FItems;
};

class TcxFilterCriteriaItem : public TcxCustomFilterCriteriaItem {
public:
  // Creates the operator; a blank condition with no display value shows the word "blank".
  TcxFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink, TcxFilterOperatorKind AOperatorKind,
                        const Variant& AValue, const AnsiString& ADisplayValue);
  ~TcxFilterCriteriaItem() override;

  bool IsItemList() const override { return false; }
  void WriteData(TStream* AStream) override;

  // What the owner of the criteria supplies.
  virtual Variant GetRecordValue(void* ARecord) = 0;
  virtual AnsiString GetFieldCaption() = 0;
  // The field name in filter texts; a ';'-separated list for multi-field links.
  virtual AnsiString GetFieldName() = 0;

  // DisplayValue passed through the operator's AdjustDisplayValue.
  virtual AnsiString GetDisplayValueText();
  // Display: GetDisplayValueText; else the operator's GetValueText of Value.
  virtual AnsiString GetConditionValueText(bool ADisplay);
  TObject* GetItemLink() const { return FItemLink; }
  // Frees the operator and creates the one the kind and value call for, then signals a change.
  void RecreateOperator();
  bool IsNullValue(const Variant& V) const;
  // Evaluates the condition on a record (soft compare applied).
  bool Evaluate(void* ARecord);

  const AnsiString& GetDisplayValue() const { return FDisplayValue; }
  void SetDisplayValue(const AnsiString& Value);
  TcxFilterOperatorKind GetOperatorKind() const { return FOperatorKind; }
  void SetOperatorKind(TcxFilterOperatorKind Value);
  const Variant& GetValue() const { return FValue; }
  void SetValue(const Variant& Value);
  TcxFilterOperator* GetOperator() const { return FOperator.get(); }

  // The class for a kind and value (Null and NotNull for Equal/Like and NotEqual/NotLike with a
  // value that passes the Null test). The kind must be below cxFilterOperatorKindCount.
  // The constructor runs this class's version: a descendant that answers otherwise re-creates
  // the operator from its own constructor.
  virtual std::unique_ptr<TcxFilterOperator> CreateOperator();

private:
  AnsiString FDisplayValue;
  TObject* FItemLink;
  std::unique_ptr<TcxFilterOperator> FOperator;
  TcxFilterOperatorKind FOperatorKind;
  Variant FValue;
};

// ---- The criteria ----------------------------------------------------------------------------

class TcxFilterValueList;

// Published: MaxValueListCount (default 0 = unlimited), Options (default empty),
// PercentWildcard ('%'), UnderscoreWildcard ('_'). Criteria of an owner that saves them add
// the criteria data as the binary property "Criteria" with DefineCriteriaData.
class TcxFilterCriteria : public TPersistent {
  PELTO_DECLARE_CLASS(TcxFilterCriteria, TPersistent)
public:
  TcxFilterCriteria();
  ~TcxFilterCriteria() override;
  TcxFilterCriteria(const TcxFilterCriteria&) = delete;
  TcxFilterCriteria& operator=(const TcxFilterCriteria&) = delete;

  // From other criteria: settings, the tree (through the data form, so item links map through
  // the two owners' ids) and OnChanged, with one change notification.
  void Assign(TPersistent* Source) override;
  void MarkChanged();
  void CheckChanges();
  virtual AnsiString FormatBooleanValue(const Variant& V);
  virtual AnsiString FormatDateValue(const Variant& V);
  // Hook for the filter text of a value; does nothing here.
  virtual void FormatFilterTextValue(TcxFilterCriteriaItem* AItem, const Variant& V, AnsiString& S) {}
  AnsiString GetFilterCaption() { return BuildText(true); }
  AnsiString GetFilterText() { return BuildText(false); }
  virtual AnsiString BuildText(bool ADisplay);
  virtual Integer GetIDByItemLink(TObject* AItemLink) = 0;
  // nullptr for an id that names no item (not an error).
  virtual TObject* GetItemLinkByID(Integer AID) = 0;
  virtual AnsiString GetItemText(TcxFilterCriteriaItem* AItem, bool ADisplay);
  virtual AnsiString GetItemLinkText(TcxFilterCriteriaItem* AItem, bool ADisplay);
  virtual AnsiString GetOperatorText(TcxFilterCriteriaItem* AItem, bool ADisplay);
  virtual AnsiString GetItemValueText(TcxFilterCriteriaItem* AItem, bool ADisplay);
  // A new value list of the criteria's class; the caller owns it.
  virtual std::unique_ptr<TcxFilterValueList> CreateValueList();
  void RefreshOperators();
  // Currency becomes Double; a text becomes upper case with fcoCaseInsensitive.
  virtual Variant PrepareValue(const Variant& V);
  // The criteria data (marker -1, root kind, root count, item records). Reading replaces the
  // tree inside one update lock; a short or malformed stream raises EReadError and keeps what
  // was read so far.
  virtual void ReadData(TStream* AStream);
  virtual void WriteData(TStream* AStream);
  void CopyEventsFrom(TcxFilterCriteria* ASource);
  // The criteria stream: a wrapper component whose one published property "Filter" is these
  // criteria, written by the component writer ("TPF0" ...). Loading raises the reader's errors
  // (EReadError "Invalid stream format", "Property %s does not exist", "Invalid property value",
  // EReadError "Stream read error") and delivers one change notification, also after an error.
  // What the stream does not hold is at its default afterwards (see ResetForLoading).
  void SaveToStream(TStream* AStream);
  void LoadFromStream(TStream* AStream);
  void AssignItems(TcxFilterCriteria* ASource);
  // Adds under AParent (the root when nullptr).
  TcxFilterCriteriaItem* AddItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                 TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                 const AnsiString& ADisplayValue);
  // The first condition, depth first, bound to AItemLink; nullptr when none.
  TcxFilterCriteriaItem* FindItemByItemLink(TObject* AItemLink);
  bool IsEmpty() const;
  bool HasContent() const;
  void RestoreDefaults();
  bool IsNull(const Variant& V) const;
  bool RecordMatches(void* ARecord);

  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  void CancelUpdate() { --FLockCount; }
  void Clear();
  // Frees every condition bound to AItemLink and tidies the groups left with one child or none.
  void RemoveItemByItemLink(TObject* AItemLink);

  TcxFilterCriteriaItemList* GetRoot() const { return FRoot.get(); }
  const AnsiString& GetDateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const AnsiString& Value);
  Integer GetMaxValueListCount() const { return FMaxValueListCount; }
  void SetMaxValueListCount(Integer Value) { FMaxValueListCount = Value; }
  TcxFilterCriteriaOptions GetOptions() const { return FOptions; }
  void SetOptions(TcxFilterCriteriaOptions Value);
  char GetPercentWildcard() const { return FPercentWildcard; }
  void SetPercentWildcard(char Value);
  char GetUnderscoreWildcard() const { return FUnderscoreWildcard; }
  void SetUnderscoreWildcard(char Value);
  bool GetSupportedLike() const { return FSupportedLike; }
  void SetSupportedLike(bool Value) { FSupportedLike = Value; }
  bool GetTranslateBetween() const { return FTranslateBetween; }
  void SetTranslateBetween(bool Value) { FTranslateBetween = Value; }
  bool GetTranslateIn() const { return FTranslateIn; }
  void SetTranslateIn(bool Value) { FTranslateIn = Value; }
  int GetLockCount() const { return FLockCount; }

  std::function<void(TObject* Sender)> OnChanged;

  // Creates a condition of the owner's class under AParent (not yet appended).
  virtual TcxFilterCriteriaItem* CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                            TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                            const AnsiString& ADisplayValue) = 0;

  PELTO_PUBLISHED(p);

protected:
  // Refreshes the date ranges, then fires OnChanged.
  virtual void Changed();
  // Declares the criteria data as the binary property "Criteria", stored when HasContent.
  void DefineCriteriaData(TFiler* Filer);
  // Before loading a stream: an empty tree and the published properties at their defaults,
  // since the stream holds only what differs from them. A class that publishes more
  // properties resets them too.
  virtual void ResetForLoading();

private:
  AnsiString BuildGroupText(TcxFilterCriteriaItemList* AList, bool ADisplay);
  bool EvaluateGroup(TcxFilterCriteriaItemList* AList, void* ARecord);
  void ReadItems(TStream* AStream, TcxFilterCriteriaItemList* AParent, Integer ACount, int ADepth);

  bool FChanged = false;
  bool FDestroying = false;
  AnsiString FDateTimeFormat;
  int FLockCount = 0;
  Integer FMaxValueListCount = 0;
  TcxFilterCriteriaOptions FOptions;
  char FPercentWildcard = '%';
  std::unique_ptr<TcxFilterCriteriaItemList> FRoot;
  bool FSupportedLike = true;
  bool FTranslateBetween = false;
  bool FTranslateIn = false;
  char FUnderscoreWildcard = '_';
};

// ---- The value list of filter drop-downs -----------------------------------------------------

enum TcxFilterValueItemKind : Byte {
  fvkAll,
  fvkCustom,
  fvkBlanks,
  fvkNonBlanks,
  fvkUnused4,
  fvkValue,
  fvkPinned,
  fvkPinnedSeparator
};

struct TcxFilterValueItem {
  TcxFilterValueItemKind Kind;
  Variant Value;
  AnsiString DisplayText;
};

// Pinned entries first (then their separator), the special entries next, then the values in
// ascending order without duplicates.
class TcxFilterValueList : public TObject {
public:
  explicit TcxFilterValueList(TcxFilterCriteria* ACriteria) : FCriteria(ACriteria) {}

  virtual int CompareEntry(int AIndex, const Variant& AValue, const AnsiString& ADisplayText);
  // A value beyond MaxValueListCount (all entries counted), or one already there, is dropped
  // silently; AAppend puts it last unsorted.
  virtual void Add(TcxFilterValueItemKind AKind, const Variant& AValue, const AnsiString& ADisplayText, bool AAppend);
  virtual void Clear() { FItems.clear(); }
  // AIndex: the entry found, or where the value would go.
  virtual bool Find(const Variant& AValue, const AnsiString& ADisplayText, int& AIndex);
  // The entry that stands for a condition (-1 when there is none).
  virtual int GetIndexByCriteriaItem(TcxFilterCriteriaItem* AItem);

  int GetCount() const { return static_cast<int>(FItems.size()); }
  const TcxFilterValueItem& GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  TcxFilterCriteria* GetCriteria() const { return FCriteria; }
  bool GetCompareByDisplayText() const { return FCompareByDisplayText; }
  void SetCompareByDisplayText(bool Value) { FCompareByDisplayText = Value; }

private:
  int IndexOfKind(TcxFilterValueItemKind AKind) const;
  int FirstValueIndex() const;

  TcxFilterCriteria* FCriteria;
  std::vector<TcxFilterValueItem> FItems;
  bool FCompareByDisplayText = false;
};

// ---- Text helpers ----------------------------------------------------------------------------

namespace cxFilter {

// From APos (1-based) to the next ';' or the end, trimmed; APos moves past the ';'.
void ExtractDelimitedValue(const AnsiString& AText, int& APos, AnsiString& AValue);
// "a;b" -> [a, b] (split at the first ';', trimmed; a missing second piece is empty).
Variant SplitPairText(const AnsiString& AText);
// "a;b;c" -> [a, b, c].
Variant SplitListText(const AnsiString& AText);
// [a, b] -> "a and b" (the word from the filter texts).
AnsiString PairDisplayText(const Variant& AValue);
// [a, b, c] -> "(a, b, c)".
AnsiString ListDisplayText(const Variant& AValue);
// "blank" for Null, else the value as text.
AnsiString ValueDisplayText(const Variant& AValue);

}  // namespace cxFilter
