// Filter conditions handed to a dataset: the adapters that pick the operator per dataset class,
// and the null operators that write "IS NULL" / "IS NOT NULL" for SQL-backed datasets.
#pragma once

#include <memory>

#include "controls/data/db/cxDB.h"
#include "controls/data/filter/cxFilter.h"

class TDataSet;

// "IS NULL" where the base writes "= NULL".
class TcxFilterSQLNullOperator : public TcxFilterNullOperator {
public:
  using TcxFilterNullOperator::TcxFilterNullOperator;
  AnsiString GetSymbol() override { return "IS"; }
};

// "IS NOT NULL" where the base writes "<> NULL".
class TcxFilterSQLNotNullOperator : public TcxFilterNotNullOperator {
public:
  using TcxFilterNotNullOperator::TcxFilterNotNullOperator;
  AnsiString GetSymbol() override { return "IS NOT"; }
};

class TcxDBFilterOperatorAdapter : public TcxDBAdapterItem {
public:
  using TcxDBAdapterItem::TcxDBAdapterItem;
  // Replaces a null operator with its SQL form when the dataset's class name holds "QUERY"
  // (any case); leaves every other operator as it is. AOperator belongs to ASender.
  virtual void PrepareOperatorClass(TObject* ASender, TDataSet* ADataSet,
                                    std::unique_ptr<TcxFilterOperator>& AOperator);
};

namespace cxDBFilter {

// Creates FilterOperatorAdapters with TDataSet -> TcxDBFilterOperatorAdapter; idempotent.
void Initialize();
void Finalize();
// The registry (nullptr outside Initialize/Finalize); owned by the unit.
TcxDBAdapterList* FilterOperatorAdapters();
// nullptr for no dataset or a class with no registration; raises EInvalidCast when the
// registration found is no filter-operator adapter. Owned by the registry.
TcxDBFilterOperatorAdapter* GetFilterOperatorAdapter(TDataSet* ADataSet);

}  // namespace cxDBFilter
