// How a detail dataset is brought to the records of a master: by re-opening a parameterised
// query with the master's key values, or by locating the first matching record. Adapters are
// registered per dataset class in DetailFilterAdapters; and the value type the controller stores
// a field's values under.
#pragma once

#include "controls/data/db/cxDB.h"
#include "controls/data/storage/cxDataStorage.h"

class TDataSet;
class TField;
class TParameters;

class TcxDBProviderDetailFilterAdapter : public TcxDBAdapterItem {
public:
  using TcxDBAdapterItem::TcxDBAdapterItem;
  // True when the dataset's parameters for the ';'-separated names hold the key values (one value,
  // or an array with one element per name). False for a dataset without parameters.
  virtual bool IsCurrentQuery(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                              const Variant& AMasterDetailKeyValues);
  // Moves to the first record when the parameters already hold the key values; else closes the
  // dataset, sets them, re-opens it (controls disabled meanwhile) and sets AReopened. Nothing
  // happens for a dataset without parameters.
  virtual void ReopenSQL(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                         const Variant& AMasterDetailKeyValues, bool& AReopened);
  // SQL mode: ReopenSQL; else locates the first record whose key fields hold the key values.
  virtual void DetailFirst(TDataSet* ADataSet, const AnsiString& AMasterDetailKeyFieldNames,
                           const Variant& AMasterDetailKeyValues, bool AIsSQLMode, bool& AReopened);

protected:
  // The dataset's parameter collection (the ADO datasets' command parameters), nullptr when it
  // has none. Owned by the dataset.
  virtual TParameters* GetParams(TDataSet* ADataSet);
};

namespace cxDBData {

// Creates DetailFilterAdapters with TDataSet -> TcxDBProviderDetailFilterAdapter; idempotent.
void InitializeAdapters();
void FinalizeAdapters();
// nullptr outside InitializeAdapters/FinalizeAdapters; owned by the unit.
TcxDBAdapterList* DetailFilterAdapters();

// The value type the controller stores the field's values under (strings for no field).
TcxValueTypeClass GetValueTypeClassByField(const TField* AField);

// The parameters' values for a ';'-separated list of names: one value, or an array [0..n-1].
// Raises EDatabaseError for a missing name.
Variant GetParamValues(const TParameters& AParams, const AnsiString& ANames);
void SetParamValues(TParameters& AParams, const AnsiString& ANames, const Variant& AValues);

}  // namespace cxDBData
