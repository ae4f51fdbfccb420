#include "gridkit/model/ColumnFootersEh.h"

#include <cmath>

#include "gridkit/model/ColumnsEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/DBSumLst.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"

TColumnFooterEh::TColumnFooterEh(TCollection* Collection)
    : TCollectionItem(Collection),
      FColumn(Collection ? static_cast<TColumnFootersEh*>(Collection)->GetColumn() : nullptr)
{
  CreateFont();
  if (FColumn)
    if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) grid->Invalidate();
}

TColumnFooterEh::TColumnFooterEh(TColumnEh* Column) : TCollectionItem(nullptr), FColumn(Column) { CreateFont(); }

void TColumnFooterEh::CreateFont()
{
  FFont = std::make_unique<TFont>();
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  FFont->OnChange = [this](TObject*) {
    SetExplicit(fevFont);
    if (FColumn) FColumn->Notify(true);
  };
}

TFont* TColumnFooterEh::DefaultFont() const
{
  if (!FColumn) return nullptr;
  if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) return grid->GetFooterFont();
  return FColumn->FFont.get();
}

TFont* TColumnFooterEh::GetFont()
{
  if (!IsExplicit(fevFont))
    if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  return FFont.get();
}

void TColumnFooterEh::SetFont(TFont* Value) { FFont->Assign(Value); }

TAlignment TColumnFooterEh::DefaultAlignment() const
{
  return FColumn ? DBGridEh::FieldAlignment(FColumn->GetField()) : taLeftJustify;
}

TAlignment TColumnFooterEh::GetAlignment() const { return IsExplicit(fevAlignment) ? FAlignment : DefaultAlignment(); }

void TColumnFooterEh::SetAlignment(TAlignment Value)
{
  if (IsExplicit(fevAlignment) && FAlignment == Value) return;
  FAlignment = Value;
  SetExplicit(fevAlignment);
  Notify();
}

bool TColumnFooterEh::AlignmentStored() const { return IsExplicit(fevAlignment) && FAlignment != DefaultAlignment(); }

TColor TColumnFooterEh::DefaultColor() const
{
  TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr;
  return grid ? grid->FooterColor : clWindow;
}

TColor TColumnFooterEh::GetColor() const { return IsExplicit(fevColor) ? FColor : DefaultColor(); }

void TColumnFooterEh::SetColor(TColor Value)
{
  if (IsExplicit(fevColor) && FColor == Value) return;
  FColor = Value;
  SetExplicit(fevColor);
  Notify();
}

bool TColumnFooterEh::ColorStored() const { return IsExplicit(fevColor) && FColor != DefaultColor(); }

bool TColumnFooterEh::GetToolTips() const
{
  if (IsExplicit(fevToolTips)) return FToolTips;
  TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr;
  return grid && grid->GetColumnDefValues()->GetFooter()->GetToolTips();
}

void TColumnFooterEh::SetToolTips(bool Value)
{
  if (IsExplicit(fevToolTips) && FToolTips == Value) return;
  FToolTips = Value;
  SetExplicit(fevToolTips);
}

void TColumnFooterEh::ResetToDefaults()
{
  bool fontWasSet = IsExplicit(fevFont);
  FExplicit = 0;
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  if (FColumn) FColumn->Notify(fontWasSet);
}

TColumnFooterEh::~TColumnFooterEh()
{
  delete FSum;
  if (FColumn && GetCollection())
    if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) grid->Invalidate();
}

void TColumnFooterEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnFooterEh*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (src->IsExplicit(fevAlignment)) SetAlignment(src->FAlignment);
  if (src->IsExplicit(fevColor)) SetColor(src->FColor);
  if (src->IsExplicit(fevFont)) SetFont(src->FFont.get());
  SetEndEllipsis(src->FEndEllipsis);
  SetValueType(src->FValueType);
  SetFieldName(src->FFieldName);
  SetValue(src->FValue);
  SetWordWrap(src->FWordWrap);
  SetDisplayFormat(src->FDisplayFormat);
  SetToolTips(src->GetToolTips());
}

void TColumnFooterEh::Notify()
{
  if (FColumn) FColumn->Notify();
}

void TColumnFooterEh::SetValueType(TFooterValueType Value)
{
  if (Value == FValueType) return;
  FValueType = Value;
  SyncSum();
  Notify();
}

void TColumnFooterEh::SetFieldName(const AnsiString& Value)
{
  FFieldName = Value;
  SyncSum();
  Notify();
}

void TColumnFooterEh::SetDisplayFormat(const AnsiString& Value)
{
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Notify();
}

void TColumnFooterEh::SetValue(const AnsiString& Value)
{
  FValue = Value;
  Notify();
}

void TColumnFooterEh::SetEndEllipsis(bool Value)
{
  FEndEllipsis = Value;
  Notify();
}

void TColumnFooterEh::SetWordWrap(bool Value)
{
  FWordWrap = Value;
  Notify();
}

void TColumnFooterEh::SyncSum()
{
  TDBGridEhModel* grid = FColumn ? FColumn->GetOwnerGrid() : nullptr;
  if (!grid) return;
  auto setUp = [this](TDBSum* Sum) {
    if (FValueType == fvtCount) {
      Sum->SetGroupOperation(goCount);
      Sum->SetFieldName(AnsiString());
    } else {
      Sum->SetGroupOperation(FValueType == fvtSum ? goSum : goAvg);
      Sum->SetFieldName(FFieldName.empty() ? FColumn->GetFieldName() : FFieldName);
    }
  };
  bool aggregate = FValueType == fvtSum || FValueType == fvtAvg || FValueType == fvtCount;
  if (FSum) {
    if (aggregate) {
      setUp(FSum);
    } else {
      delete FSum;
      FSum = nullptr;
    }
    return;
  }
  if (!aggregate) return;
  TDBSumCollection* sums = grid->GetSumList()->GetSumCollection();
  // One recalculation for the new aggregate, at the end of the bracket. The bracket's end may
  // itself raise (a failed scan); when a step before it raised, it is closed quietly.
  sums->BeginUpdate();
  struct End {
    TDBSumCollection* S;
    bool Done = false;
    ~End()
    {
      if (Done) return;
      try {
        S->EndUpdate();
      } catch (...) {}
    }
  } end{sums};
  FSum = sums->Add();
  setUp(FSum);
  end.Done = true;
  sums->EndUpdate();
}

// ---- TColumnFootersEh -------------------------------------------------------------------------

TColumnFootersEh::TColumnFootersEh(TColumnEh* Column) : TCollection(TColumnFooterEh::StaticClass()), FColumn(Column) {}

TPersistent* TColumnFootersEh::GetOwner() { return FColumn; }

// ---- the footer cell's text -------------------------------------------------------------------

AnsiString TDBGridEhModel::GetFooterCellText(Integer FooterIndex, TColumnEh* Column)
{
  TColumnFooterEh* f = Column->FooterForRow(FooterIndex);
  TDataSet* ds = GetDataSet();
  switch (f->GetValueType()) {
    case fvtSum:
    case fvtAvg: {
      AnsiString name = f->GetFieldName().empty() ? Column->GetFieldName() : f->GetFieldName();
      TField* field = ds ? ds->FindField(name) : nullptr;
      if (!field) return "0";
      TDBSum* sum =
          FSumList->GetSumCollection()->FindSum(f->GetValueType() == fvtSum ? goSum : goAvg, field->GetFieldName());
      if (!sum) return "0";
      double v = DBSumLst::FixedToFloat(sum->Total);
      const AnsiString& own = f->GetDisplayFormat();
      const AnsiString& fieldFormat = field->GetDisplayFormat();
      switch (field->GetDataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftLargeint:
          if (!own.empty()) return SysUtils::FormatFloat(own, v);
          if (!fieldFormat.empty()) return SysUtils::FormatFloat(fieldFormat, v);
          return std::to_string(static_cast<long long>(std::nearbyint(v)));
        case ftFloat:
        case ftCurrency: {
          if (!own.empty()) return SysUtils::FormatFloat(own, v);
          if (!fieldFormat.empty()) return SysUtils::FormatFloat(fieldFormat, v);
          auto* ff = dynamic_cast<TFloatField*>(field);
          bool currency = ff && ff->GetCurrency();
          return SysUtils::FloatToStrF(v, currency ? SysUtils::ffCurrency : SysUtils::ffGeneral, 15,
                                       currency ? SysUtils::CurrencyDecimals : 0);
        }
        case ftBCD:
        case ftFMTBcd: {
          Currency c = Currency::FromRaw(sum->Total);
          if (!own.empty()) return SysUtils::FormatFloat(own, v);
          if (!fieldFormat.empty()) return SysUtils::FormatCurr(fieldFormat, c);
          auto* bf = dynamic_cast<TBCDField*>(field);
          bool currency = bf && bf->GetCurrency();
          return SysUtils::CurrToStrF(c, currency ? SysUtils::ffCurrency : SysUtils::ffGeneral,
                                      currency ? SysUtils::CurrencyDecimals : 0);
        }
        default: return "0";
      }
    }
    case fvtCount: {
      TDBSum* sum = FSumList->GetSumCollection()->FindSum(goCount, AnsiString());
      double c = sum ? DBSumLst::FixedToFloat(sum->Total) : 0;
      return f->GetDisplayFormat().empty() ? SysUtils::FloatToStr(c) : SysUtils::FormatFloat(f->GetDisplayFormat(), c);
    }
    case fvtFieldValue:
      if (ds && ds->GetActive() && !f->GetFieldName().empty())
        return DBGridEh::FormatFieldForDisplay(ds->FieldByName(f->GetFieldName()), f->GetDisplayFormat());
      return AnsiString();
    case fvtStaticText: return f->GetValue();
    case fvtNon: break;
  }
  return AnsiString();
}

PELTO_DEFINE_CLASS(TColumnFooterEh)
PELTO_PUBLISH(TColumnFooterEh, p)
{
  p.Property("Alignment", &TColumnFooterEh::GetAlignment, &TColumnFooterEh::SetAlignment)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnFooterEh*>(o)->AlignmentStored(); });
  p.Property("Color", TypeInfo_TColor(), &TColumnFooterEh::GetColor, &TColumnFooterEh::SetColor)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnFooterEh*>(o)->ColorStored(); });
  p.Property("DisplayFormat", &TColumnFooterEh::GetDisplayFormat, &TColumnFooterEh::SetDisplayFormat);
  p.Property("EndEllipsis", &TColumnFooterEh::GetEndEllipsis, &TColumnFooterEh::SetEndEllipsis).Default(false);
  p.Property("FieldName", &TColumnFooterEh::GetFieldName, &TColumnFooterEh::SetFieldName);
  p.Property("Font", &TColumnFooterEh::GetFont, &TColumnFooterEh::SetFont).StoredWhen([](const TObject* o) {
    return static_cast<const TColumnFooterEh*>(o)->IsExplicit(fevFont);
  });
  p.Property("ToolTips", &TColumnFooterEh::GetToolTips, &TColumnFooterEh::SetToolTips).StoredWhen([](const TObject* o) {
    auto* f = static_cast<const TColumnFooterEh*>(o);
    return f->IsExplicit(fevToolTips) && f->FToolTips;
  });
  p.Property("Value", &TColumnFooterEh::GetValue, &TColumnFooterEh::SetValue);
  p.Property("ValueType", &TColumnFooterEh::GetValueType, &TColumnFooterEh::SetValueType).Default(fvtNon);
  p.Property("WordWrap", &TColumnFooterEh::GetWordWrap, &TColumnFooterEh::SetWordWrap).Default(false);
}

PELTO_DEFINE_CLASS(TColumnFootersEh)
