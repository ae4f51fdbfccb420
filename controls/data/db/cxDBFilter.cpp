#include "controls/data/db/cxDBFilter.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/StringUtils.h"

void TcxDBFilterOperatorAdapter::PrepareOperatorClass(TObject*, TDataSet* ADataSet,
                                                      std::unique_ptr<TcxFilterOperator>& AOperator)
{
  auto* null = dynamic_cast<TcxFilterNullOperator*>(AOperator.get());
  if (!null || !ADataSet) return;
  if (SysUtils::AnsiUpperCase(ADataSet->ClassName()).find(SysUtils::AnsiUpperCase("Query")) == AnsiString::npos) return;
  TcxFilterCriteriaItem* owner = null->GetOwnerItem();
  if (dynamic_cast<TcxFilterNotNullOperator*>(null))
    AOperator = std::make_unique<TcxFilterSQLNotNullOperator>(owner);
  else
    AOperator = std::make_unique<TcxFilterSQLNullOperator>(owner);
}

namespace cxDBFilter {

namespace {
std::unique_ptr<TcxDBAdapterList> Adapters;
}

void Initialize()
{
  if (Adapters) return;
  Adapters = std::make_unique<TcxDBAdapterList>();
  Adapters->Register(TDataSet::StaticClass(), cxDB::AdapterClassOf<TcxDBFilterOperatorAdapter>());
}

void Finalize() { Adapters.reset(); }

TcxDBAdapterList* FilterOperatorAdapters() { return Adapters.get(); }

TcxDBFilterOperatorAdapter* GetFilterOperatorAdapter(TDataSet* ADataSet)
{
  if (!ADataSet || !Adapters) return nullptr;
  int index = -1;
  if (!Adapters->Find(ADataSet->ClassType(), index)) return nullptr;
  auto* adapter = dynamic_cast<TcxDBFilterOperatorAdapter*>(Adapters->Items(index));
  if (!adapter) throw EInvalidCast("Invalid class typecast");
  return adapter;
}

}  // namespace cxDBFilter
