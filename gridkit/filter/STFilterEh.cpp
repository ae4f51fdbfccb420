#include "gridkit/filter/STFilterEh.h"

#include "gridkit/edits/ValueListsEh.h"
#include "gridkit/model/ColumnsEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"

// ---- display texts ----------------------------------------------------------------------------

namespace DBGridEh {

namespace {
AnsiString Quoted(const AnsiString& S)
{
  AnsiString out = "'";
  for (char c : S) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}
}  // namespace

AnsiString OperandDisplayText(const Variant& Value)
{
  TVarType t = Variants::VarType(Value);
  if (t == varDouble || t == varSingle || t == varCurrency) return SysUtils::FloatToStr(Value.AsDouble());
  if (t == varDate) return SysUtils::FormatDateTime(SysUtils::ShortDateFormat, Value.AsDateTime());
  return Quoted(Variants::VarToStr(Value));
}

AnsiString ConditionDisplayText(TSTFilterOpEh Operator, const Variant& Operand)
{
  if (Operator == sfoIsNull) return AnsiString("=") + DbUtilsEh::FilterOperatorDisplayText[sfoIsNull];
  if (Operator == sfoIsNotNull) return AnsiString("<>") + DbUtilsEh::FilterOperatorDisplayText[sfoIsNotNull];
  AnsiString text = DbUtilsEh::FilterOperatorDisplayText[Operator];
  if (Operator == sfoIn || Operator == sfoNotIn) {
    text += " (";
    if (Operand.IsArray()) {
      int lo = Variants::VarArrayLowBound(Operand, 1), hi = Variants::VarArrayHighBound(Operand, 1);
      for (int i = lo; i <= hi; ++i)
        text += OperandDisplayText(Variants::VarArrayGet(Operand, {i})) + (i < hi ? "," : "");
    } else {
      text += OperandDisplayText(Operand);
    }
    return text + ")";
  }
  return text + " " + OperandDisplayText(Operand);
}

AnsiString VariantListToQuotedText(const Variant& Value)
{
  if (!Value.IsArray()) return Variants::VarToStr(Value);
  AnsiString out;
  int lo = Variants::VarArrayLowBound(Value, 1), hi = Variants::VarArrayHighBound(Value, 1);
  for (int i = lo; i <= hi; ++i)
    out += Quoted(Variants::VarToStr(Variants::VarArrayGet(Value, {i}))) + (i < hi ? "," : "");
  return out;
}

}  // namespace DBGridEh

// ---- TSTColumnFilterEh ------------------------------------------------------------------------

TSTColumnFilterEh::TSTColumnFilterEh(TColumnEh* Column) : FColumn(Column) {}

TSTColumnFilterEh::~TSTColumnFilterEh() = default;

void TSTColumnFilterEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TSTColumnFilterEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FDataField = src->FDataField;
  SetVisible(src->FVisible);
  FKeyField = src->FKeyField;
  FListField = src->FListField;
  SetListSource(src->FListSource);
}

void TSTColumnFilterEh::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  if (FColumn) FColumn->Notify();
}

void TSTColumnFilterEh::SetListSource(TDataSource* Value) { FListSource = Value; }

TField* TSTColumnFilterEh::ColumnFieldByName() const
{
  TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr;
  if (!grid || !grid->GetDataLink() || !grid->GetDataLink()->GetActive()) return nullptr;
  return grid->GetDataSet()->FindField(FColumn->GetFieldName());
}

void TSTColumnFilterEh::ParseText(const AnsiString& Text, TSTFilterExpressionEh& Expression)
{
  if (TField* f = FColumn ? FColumn->GetField() : nullptr)
    Expression.ValueKind = DbUtilsEh::FieldTypeToValueKind(f->GetDataType());
  DbUtilsEh::ParseFilterText(Text, Expression);
}

void TSTColumnFilterEh::ApplyExpressionText(const AnsiString& Text)
{
  // Parsed into a copy: a text that does not parse leaves the current condition whole.
  TSTFilterExpressionEh parsed = FParsedExpression;
  if (EffectiveKeyField().empty()) {
    ParseText(Text, parsed);
  } else {
    Variant key = FLookupKeyValue;
    if (Text.empty())
      key = Variant::Null();
    else if (TDataSet* list = ListDataSet())
      key = list->Lookup(EffectiveListField(), Text, EffectiveKeyField());
    ParseText(AnsiString(), parsed);
    parsed.ValueKind = svkString;
    if (key.IsNull()) {
      parsed.FirstOperator = Text.empty() ? sfoNone : sfoIsNull;
    } else {
      parsed.FirstOperator = sfoIn;
      parsed.FirstOperand = Text;
    }
    FLookupKeyValue = key;
  }
  FParsedExpression = parsed;
  FExpressionText = Text;
}

void TSTColumnFilterEh::SetExpressionText(const AnsiString& Text)
{
  ApplyExpressionText(Text);
  if (TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr) grid->Invalidate();
}

void TSTColumnFilterEh::ClearCondition()
{
  FLookupKeyValue = Variant::Null();
  SetExpressionText(AnsiString());
}

AnsiString TSTColumnFilterEh::ExpressionDisplayText() const
{
  const TSTFilterExpressionEh& e = FParsedExpression;
  if (e.ValueKind == svkUnknown || e.FirstOperator == sfoNone) return AnsiString();
  if (FListSource) return DBGridEh::VariantListToQuotedText(e.FirstOperand);
  AnsiString text = DBGridEh::ConditionDisplayText(e.FirstOperator, e.FirstOperand);
  if (e.Conjunction != sfoNone)
    text += AnsiString(" ") + DbUtilsEh::FilterOperatorDisplayText[e.Conjunction] + " " +
            DBGridEh::ConditionDisplayText(e.SecondOperator, e.SecondOperand);
  return text;
}

bool TSTColumnFilterEh::HasDropDownButton() const { return FListSource != nullptr; }

AnsiString TSTColumnFilterEh::TargetFieldName() const
{
  if (!FDataField.empty()) return FDataField;
  TField* f = ColumnFieldByName();
  if (f && f->GetFieldKind() == fkLookup) return f->GetKeyFields();
  return FColumn ? FColumn->GetFieldName() : AnsiString();
}

Variant TSTColumnFilterEh::FirstValue() const
{
  return EffectiveKeyField().empty() ? FParsedExpression.FirstOperand : FLookupKeyValue;
}

AnsiString TSTColumnFilterEh::EffectiveKeyField() const
{
  if (!FKeyField.empty()) return FKeyField;
  TField* f = ColumnFieldByName();
  return f && f->GetFieldKind() == fkLookup ? f->GetLookupKeyFields() : AnsiString();
}

AnsiString TSTColumnFilterEh::EffectiveListField() const
{
  if (!FListField.empty()) return FListField;
  TField* f = ColumnFieldByName();
  return f && f->GetFieldKind() == fkLookup ? f->GetLookupResultField() : AnsiString();
}

TDataSet* TSTColumnFilterEh::ListDataSet() const
{
  if (FListSource) return FListSource->GetDataSet();
  TField* f = ColumnFieldByName();
  return f && f->GetFieldKind() == fkLookup ? f->GetLookupDataSet() : nullptr;
}

std::shared_ptr<IMemTableDataFieldValueListEh> TSTColumnFilterEh::CreateValueList() const
{
  TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr;
  if (!grid || !grid->GetDataLink() || !grid->GetDataLink()->GetActive()) return nullptr;
  TDataSet* list = FListSource ? FListSource->GetDataSet() : nullptr;
  if (!list || !list->GetActive()) return nullptr;
  AnsiString name = FListField.empty() ? FColumn->GetFieldName() : FListField;
  if (!list->FindField(name)) return nullptr;
  auto values = std::make_shared<TDatasetFieldValueListEh>();
  values->SetSourceFieldName(name);
  values->SetSourceDataSet(list);
  return values;
}

// ---- TSTDBGridEhFilter ------------------------------------------------------------------------

void TSTDBGridEhFilter::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TSTDBGridEhFilter*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  SetVisible(src->FVisible);
  FLocal = src->FLocal;
}

void TSTDBGridEhFilter::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  if (FGrid) FGrid->LayoutChanged();
}

PELTO_DEFINE_CLASS(TSTColumnFilterEh)
PELTO_PUBLISH(TSTColumnFilterEh, p)
{
  p.Property("DataField", &TSTColumnFilterEh::GetDataField, &TSTColumnFilterEh::SetDataField);
  p.Property("KeyField", &TSTColumnFilterEh::GetKeyField, &TSTColumnFilterEh::SetKeyField);
  p.Property("ListField", &TSTColumnFilterEh::GetListField, &TSTColumnFilterEh::SetListField);
  p.Property("ListSource", &TSTColumnFilterEh::GetListSource, &TSTColumnFilterEh::SetListSource);
  p.Property("Visible", &TSTColumnFilterEh::GetVisible, &TSTColumnFilterEh::SetVisible).Default(true);
}

PELTO_DEFINE_CLASS(TSTDBGridEhFilter)
PELTO_PUBLISH(TSTDBGridEhFilter, p)
{
  p.Property("Local", &TSTDBGridEhFilter::GetLocal, &TSTDBGridEhFilter::SetLocal).Default(false);
  p.Property("Visible", &TSTDBGridEhFilter::GetVisible, &TSTDBGridEhFilter::SetVisible).Default(false);
}
