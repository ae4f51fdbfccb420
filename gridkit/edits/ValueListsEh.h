// Field lists, variant comparison and the distinct values of one dataset field, shared by the
// edits, columns and drop-downs of the grid family.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/db/DataSource.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"

class TComponent;
class TDataSet;
class TField;

using TFieldsArrEh = std::vector<TField*>;

// A data link that reports every data event, after the usual handling.
class TDataLinkEh : public TDataLink {
public:
  std::function<void(TDataEvent Event, intptr_t Info)> OnDataEvent;

protected:
  void DataEvent(TDataEvent Event, intptr_t Info) override;
};

// The values a filter drop-down offers; shared (reference-counted) between its holders.
class IMemTableDataFieldValueListEh {
public:
  virtual ~IMemTableDataFieldValueListEh() = default;
  virtual TStrings* ValueStrings() = 0;
};

// The sorted distinct texts of one field of a dataset, read again when the data changed.
class TDatasetFieldValueListEh : public IMemTableDataFieldValueListEh {
public:
  TDatasetFieldValueListEh();
  ~TDatasetFieldValueListEh() override;
  const AnsiString& GetSourceFieldName() const { return FSourceFieldName; }
  void SetSourceFieldName(const AnsiString& Value);
  TDataSet* GetSourceDataSet() const { return FDataSource->GetDataSet(); }
  void SetSourceDataSet(TDataSet* Value);
  bool GetValuesObsolete() const { return FValuesObsolete; }
  // Reads the field through the dataset (leaving it at its end) when the values are obsolete.
  TStrings* ValueStrings() override;

private:
  void Refresh();
  AnsiString FSourceFieldName;
  std::unique_ptr<TDataSource> FDataSource;
  TDataLinkEh FDataLink;
  std::unique_ptr<TStringList> FValues;
  bool FValuesObsolete = true;
};

namespace ToolCtrlsEh {

// The fields of a ";"-separated list, appended to List (when given); a missing name raises
// EDatabaseError "<Component name>: Field '<name>' not found".
void CollectFields(TFieldsArrEh* List, TDataSet* DataSet, TComponent* Component, const AnsiString& FieldNames);
TFieldsArrEh CollectFieldsArray(TDataSet* DataSet, TComponent* Component, const AnsiString& FieldNames);
// Null clears every field of the list; anything else goes to the dataset's multi-field write.
void SetFieldValuesEh(TDataSet* DataSet, const AnsiString& FieldNames, const Variant& Value);
// Arrays compare element by element (empty arrays are unequal); Empty equals only Empty.
bool VariantsEqual(const Variant& A, const Variant& B);
// Interval in milliseconds between two clicks at the two points.
bool IsDoubleClickEh(POINT FirstPoint, POINT SecondPoint, long Interval);

}  // namespace ToolCtrlsEh
