#include "controls/data/db/cxDBDataAdapters.h"

#include "controls/data/storage/cxVariants.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringList.h"

TParameters* TcxDBProviderDetailFilterAdapter::GetParams(TDataSet* ADataSet)
{
  if (auto* ado = dynamic_cast<TCustomADODataSet*>(ADataSet)) return &ado->GetParameters();
  return nullptr;
}

bool TcxDBProviderDetailFilterAdapter::IsCurrentQuery(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                                                      const Variant& AMasterDetailKeyValues)
{
  TParameters* params = GetParams(ADataSet);
  if (!params) return false;
  return cxVariants::VarValuesEqual(cxDBData::GetParamValues(*params, AMasterDetailKeyFieldNames),
                                    AMasterDetailKeyValues);
}

void TcxDBProviderDetailFilterAdapter::ReopenSQL(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                                                 const Variant& AMasterDetailKeyValues, bool& AReopened)
{
  TParameters* params = GetParams(ADataSet);
  if (!params) return;
  if (IsCurrentQuery(ADataSet, AMasterDetailKeyFieldNames, AMasterDetailKeyValues)) {
    ADataSet->First();
    return;
  }
  TControlsGuard disabled(*ADataSet);
  ADataSet->Close();
  cxDBData::SetParamValues(*params, AMasterDetailKeyFieldNames, AMasterDetailKeyValues);
  ADataSet->Open();
  AReopened = true;
}

void TcxDBProviderDetailFilterAdapter::DetailFirst(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                                                   const Variant& AMasterDetailKeyValues, bool AIsSQLMode,
                                                   bool& AReopened)
{
  if (AIsSQLMode)
    ReopenSQL(ADataSet, AMasterDetailKeyFieldNames, AMasterDetailKeyValues, AReopened);
  else
    ADataSet->Locate(AMasterDetailKeyFieldNames, AMasterDetailKeyValues, {});
}

namespace cxDBData {

namespace {
std::unique_ptr<TcxDBAdapterList> Adapters;

std::vector<TParameter*> ParamList(const TParameters& AParams, const AnsiString& ANames)
{
  TStringList names;
  cxDB::GetFieldNames(ANames, &names);
  std::vector<TParameter*> list;
  for (Integer i = 0; i < names.GetCount(); ++i) list.push_back(AParams.ParamByName(names.GetStrings(i)));
  return list;
}
}  // namespace

void InitializeAdapters()
{
  if (Adapters) return;
  Adapters = std::make_unique<TcxDBAdapterList>();
  Adapters->Register(TDataSet::StaticClass(), cxDB::AdapterClassOf<TcxDBProviderDetailFilterAdapter>());
}

void FinalizeAdapters() { Adapters.reset(); }

TcxDBAdapterList* DetailFilterAdapters() { return Adapters.get(); }

Variant GetParamValues(const TParameters& AParams, const AnsiString& ANames)
{
  std::vector<TParameter*> list = ParamList(AParams, ANames);
  if (list.size() == 1) return list[0]->GetValue();
  std::vector<Variant> values;
  for (TParameter* p : list) values.push_back(p->GetValue());
  return Variants::VarArrayOf(values);
}

void SetParamValues(TParameters& AParams, const AnsiString& ANames, const Variant& AValues)
{
  std::vector<TParameter*> list = ParamList(AParams, ANames);
  if (list.size() == 1) {
    list[0]->SetValue(AValues);
    return;
  }
  const int low = Variants::VarArrayLowBound(AValues, 1);
  for (std::size_t i = 0; i < list.size(); ++i)
    list[i]->SetValue(Variants::VarArrayGet(AValues, {low + static_cast<int>(i)}));
}

TcxValueTypeClass GetValueTypeClassByField(const TField* AField)
{
  if (!AField) return TcxStringValueType::Class();
  switch (AField->GetDataType()) {
    case ftString: return TcxStringValueType::Class();
    case ftSmallint: return TcxSmallintValueType::Class();
    case ftInteger:
    case ftAutoInc: return TcxIntegerValueType::Class();
    case ftWord: return TcxWordValueType::Class();
    case ftBoolean: return TcxBooleanValueType::Class();
    case ftFloat: return TcxFloatValueType::Class();
    case ftCurrency:
    case ftBCD: return TcxCurrencyValueType::Class();
    case ftDate:
    case ftTime:
    case ftDateTime: return TcxDateTimeValueType::Class();
    case ftWideString: return TcxWideStringValueType::Class();
    case ftLargeint: return TcxLargeIntValueType::Class();
    case ftFMTBcd: return TcxFMTBcdValueType::Class();
    default: return TcxVariantValueType::Class();
  }
}

}  // namespace cxDBData
