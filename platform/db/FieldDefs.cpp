#include "platform/db/FieldDefs.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"

namespace DB {
void DatabaseError(const AnsiString& Message) { throw EDatabaseError(Message); }
}  // namespace DB

TFieldDef* TFieldDefs::Add(const AnsiString& Name, TFieldType DataType, Integer Size, bool Required)
{
  if (IndexOf(Name) >= 0) DB::DatabaseError(SysUtils::Format("Duplicate field name '%s'", {Name}));
  FItems.push_back(std::make_unique<TFieldDef>(Name, DataType, Size, Required));
  FItems.back()->FFieldNo = static_cast<Integer>(FItems.size());
  return FItems.back().get();
}

Integer TFieldDefs::IndexOf(const AnsiString& Name) const
{
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (SysUtils::SameText(FItems[i]->GetName(), Name)) return static_cast<Integer>(i);
  return -1;
}

TFieldDef* TFieldDefs::FindDef(const AnsiString& Name) const
{
  Integer i = IndexOf(Name);
  return i < 0 ? nullptr : FItems[static_cast<std::size_t>(i)].get();
}

TFieldDef* TFieldDefs::Find(const AnsiString& Name) const
{
  TFieldDef* d = FindDef(Name);
  if (!d) DB::DatabaseError(SysUtils::Format("Field '%s' not found", {Name}));
  return d;
}

TClass FieldClassOf(TFieldType DataType)
{
  switch (DataType) {
    case ftString:
    case ftFixedChar:
    case ftGuid: return TStringField::StaticClass();
    case ftWideString:
    case ftFixedWideChar: return TWideStringField::StaticClass();
    case ftSmallint: return TSmallintField::StaticClass();
    case ftInteger: return TIntegerField::StaticClass();
    case ftWord: return TWordField::StaticClass();
    case ftAutoInc: return TAutoIncField::StaticClass();
    case ftLargeint: return TLargeintField::StaticClass();
    case ftFloat: return TFloatField::StaticClass();
    case ftCurrency: return TCurrencyField::StaticClass();
    case ftBCD:
    case ftFMTBcd: return TBCDField::StaticClass();
    case ftBoolean: return TBooleanField::StaticClass();
    case ftDate: return TDateField::StaticClass();
    case ftTime: return TTimeField::StaticClass();
    case ftDateTime:
    case ftTimeStamp: return TDateTimeField::StaticClass();
    case ftMemo:
    case ftFmtMemo: return TMemoField::StaticClass();
    case ftWideMemo: return TWideMemoField::StaticClass();
    case ftBlob:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary: return TBlobField::StaticClass();
    case ftGraphic: return TGraphicField::StaticClass();
    case ftVariant: return TVariantField::StaticClass();
    default: break;
  }
  DB::DatabaseError(SysUtils::Format("Field type %d has no field class", {static_cast<int>(DataType)}));
}

TField* TFieldDef::CreateField(TComponent* Owner, TDataSet* DataSet) const
{
  TObject* obj = FieldClassOf(FDataType)->Create(Owner);
  auto* field = static_cast<TField*>(obj);
  field->SetFieldName(FName);
  if (FSize > 0 || field->IsBlob()) field->SetSize(FSize);
  field->SetRequired(FRequired);
  field->SetDataSet(DataSet);
  return field;
}
