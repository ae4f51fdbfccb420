// The filter row's settings: the grid-wide switch and, per column, what the user typed, the
// parsed expression and the optional list source of the cell's drop-down.
#pragma once

#include <memory>

#include "gridkit/filter/DbUtilsEh.h"
#include "platform/classes/Persistent.h"
#include "platform/db/DataSource.h"

class TColumnEh;
class TDataSet;
class TDBGridEhModel;
class IMemTableDataFieldValueListEh;

class TSTColumnFilterEh : public TPersistent {
  PELTO_DECLARE_CLASS(TSTColumnFilterEh, TPersistent)
public:
  explicit TSTColumnFilterEh(TColumnEh* Column);
  ~TSTColumnFilterEh() override;
  void Assign(TPersistent* Source) override;

  // Parses Text into the expression and keeps it as ExpressionText. A text that does not parse
  // raises and leaves both as they were.
  void ApplyExpressionText(const AnsiString& Text);
  // ApplyExpressionText, then the grid repaints.
  void SetExpressionText(const AnsiString& Text);
  const AnsiString& GetExpressionText() const { return FExpressionText; }
  void ClearCondition();
  TSTFilterExpressionEh CopyExpression() const { return FParsedExpression; }
  const TSTFilterExpressionEh& GetParsedExpression() const { return FParsedExpression; }
  // Parses Text into Expression with the value kind of the column's field.
  void ParseText(const AnsiString& Text, TSTFilterExpressionEh& Expression);
  virtual AnsiString ExpressionDisplayText() const;
  virtual bool HasDropDownButton() const;
  virtual AnsiString TargetFieldName() const;
  virtual Variant FirstValue() const;
  virtual Variant SecondValue() const { return FParsedExpression.SecondOperand; }
  AnsiString EffectiveKeyField() const;
  AnsiString EffectiveListField() const;
  TDataSet* ListDataSet() const;
  // The distinct values of the list field for the drop-down; nullptr without an open list.
  std::shared_ptr<IMemTableDataFieldValueListEh> CreateValueList() const;

  const AnsiString& GetDataField() const { return FDataField; }
  void SetDataField(const AnsiString& Value) { FDataField = Value; }
  const AnsiString& GetKeyField() const { return FKeyField; }
  void SetKeyField(const AnsiString& Value) { FKeyField = Value; }
  const AnsiString& GetListField() const { return FListField; }
  void SetListField(const AnsiString& Value) { FListField = Value; }
  TDataSource* GetListSource() const { return FListSource; }
  void SetListSource(TDataSource* Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  const Variant& GetLookupKeyValue() const { return FLookupKeyValue; }
  TColumnEh* GetOwnerColumn() const { return FColumn; }

  Integer DropDownWidth = 0;
  Integer DropDownRows = 0;

  PELTO_PUBLISHED(p);

private:
  TField* ColumnFieldByName() const;
  TColumnEh* FColumn;
  AnsiString FDataField, FKeyField, FListField;
  TDataSource* FListSource = nullptr;
  bool FVisible = true;
  TSTFilterExpressionEh FParsedExpression;
  AnsiString FExpressionText;
  Variant FLookupKeyValue = Variant::Null();
};

class TSTDBGridEhFilter : public TPersistent {
  PELTO_DECLARE_CLASS(TSTDBGridEhFilter, TPersistent)
public:
  explicit TSTDBGridEhFilter(TDBGridEhModel* Grid) : FGrid(Grid) {}
  void Assign(TPersistent* Source) override;
  bool GetLocal() const { return FLocal; }
  void SetLocal(bool Value) { FLocal = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void SuspendUpdates() { ++FUpdateLevel; }
  void ResumeUpdates()
  {
    if (FUpdateLevel > 0) --FUpdateLevel;
  }
  Integer GetUpdateLevel() const { return FUpdateLevel; }

  PELTO_PUBLISHED(p);

private:
  TDBGridEhModel* FGrid;
  bool FLocal = false;
  bool FVisible = false;
  Integer FUpdateLevel = 0;
};

namespace DBGridEh {
// A value as the filter row shows it: numbers and dates by the locale, anything else in single
// quotes with embedded quotes doubled, so that the text parses back to the same value.
AnsiString OperandDisplayText(const Variant& Value);
AnsiString ConditionDisplayText(TSTFilterOpEh Operator, const Variant& Operand);
// Each element in single quotes (embedded quotes doubled), separated by commas; a single value
// as its text.
AnsiString VariantListToQuotedText(const Variant& Value);
}  // namespace DBGridEh
