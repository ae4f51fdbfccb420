#include "gridkit/edits/ValueListsEh.h"

#include <cstdlib>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/window/Metrics.h"

void TDataLinkEh::DataEvent(TDataEvent Event, intptr_t Info)
{
  TDataLink::DataEvent(Event, Info);
  if (OnDataEvent) OnDataEvent(Event, Info);
}

// ---- TDatasetFieldValueListEh -----------------------------------------------------------------

TDatasetFieldValueListEh::TDatasetFieldValueListEh()
    : FDataSource(std::make_unique<TDataSource>(nullptr)), FValues(std::make_unique<TStringList>())
{
  FValues->SetSorted(true);
  FValues->SetDuplicates(dupIgnore);
  FDataLink.SetDataSource(FDataSource.get());
  FDataLink.OnDataEvent = [this](TDataEvent Event, intptr_t) {
    if (Event == deDataSetChange || Event == dePropertyChange || Event == deFieldListChange) FValuesObsolete = true;
  };
}

TDatasetFieldValueListEh::~TDatasetFieldValueListEh() { FDataLink.SetDataSource(nullptr); }

void TDatasetFieldValueListEh::SetSourceFieldName(const AnsiString& Value)
{
  FSourceFieldName = Value;
  FValuesObsolete = true;
}

void TDatasetFieldValueListEh::SetSourceDataSet(TDataSet* Value)
{
  FDataSource->SetDataSet(Value);
  FValuesObsolete = true;
}

TStrings* TDatasetFieldValueListEh::ValueStrings()
{
  if (FValuesObsolete) Refresh();
  return FValues.get();
}

void TDatasetFieldValueListEh::Refresh()
{
  FValues->Clear();
  TDataSet* ds = GetSourceDataSet();
  TField* field = ds && ds->GetActive() ? ds->FindField(FSourceFieldName) : nullptr;
  if (!field) return;
  ds->DisableControls();
  struct Enable {
    TDataSet* D;
    ~Enable() { D->EnableControls(); }
  } enable{ds};
  for (ds->First(); !ds->GetEof(); ds->Next()) FValues->Add(field->GetAsString());
  FValuesObsolete = false;
}

// ---- routines ---------------------------------------------------------------------------------

namespace ToolCtrlsEh {

void CollectFields(TFieldsArrEh* List, TDataSet* DataSet, TComponent* Component, const AnsiString& FieldNames)
{
  std::size_t start = 0;
  while (start <= FieldNames.size()) {
    std::size_t end = FieldNames.find(';', start);
    if (end == AnsiString::npos) end = FieldNames.size();
    AnsiString name = SysUtils::Trim(FieldNames.substr(start, end - start));
    if (!name.empty()) {
      TField* field = DataSet->FindField(name);
      if (!field) {
        AnsiString prefix = Component && !Component->GetName().empty() ? Component->GetName() + ": " : AnsiString();
        DB::DatabaseError(prefix + "Field '" + name + "' not found");
      }
      if (List) List->push_back(field);
    }
    start = end + 1;
  }
}

TFieldsArrEh CollectFieldsArray(TDataSet* DataSet, TComponent* Component, const AnsiString& FieldNames)
{
  TFieldsArrEh list;
  CollectFields(&list, DataSet, Component, FieldNames);
  return list;
}

void SetFieldValuesEh(TDataSet* DataSet, const AnsiString& FieldNames, const Variant& Value)
{
  if (VariantsEqual(Value, Variant::Null())) {
    for (TField* f : CollectFieldsArray(DataSet, nullptr, FieldNames)) f->Clear();
    return;
  }
  DataSet->SetFieldValues(FieldNames, Value);
}

bool VariantsEqual(const Variant& A, const Variant& B)
{
  bool arrA = A.IsArray(), arrB = B.IsArray();
  if (arrA != arrB) return false;
  if (arrA) {
    int dims = Variants::VarArrayDimCount(A);
    if (dims == Variants::VarArrayDimCount(B) && Variants::VarArrayLowBound(A, 1) == Variants::VarArrayLowBound(B, 1) &&
        Variants::VarArrayHighBound(A, 1) == Variants::VarArrayHighBound(B, 1)) {
      int lo = Variants::VarArrayLowBound(A, 1), hi = Variants::VarArrayHighBound(A, 1);
      if (hi < lo) return false;
      for (int i = lo; i <= hi; ++i)
        if (!Variants::VarSameValue(Variants::VarArrayGet(A, {i}), Variants::VarArrayGet(B, {i}))) return false;
      return true;
    }
  }
  if (A.IsEmpty() != B.IsEmpty()) return false;
  return Variants::VarSameValue(A, B);
}

bool IsDoubleClickEh(POINT FirstPoint, POINT SecondPoint, long Interval)
{
  return Interval <= static_cast<long>(Windows::GetDoubleClickTime()) &&
         std::abs(FirstPoint.x - SecondPoint.x) <= Windows::GetSystemMetrics(SM_CXDOUBLECLK) &&
         std::abs(FirstPoint.y - SecondPoint.y) <= Windows::GetSystemMetrics(SM_CYDOUBLECLK);
}

}  // namespace ToolCtrlsEh
