#include "controls/data/controller/cxDataLocate.h"

#include <algorithm>

#include "controls/data/controller/cxCustomData.h"
#include "platform/rtl/Guards.h"

namespace {

TcxCustomDataField* FieldOf(TcxValueDef* AValueDef)
{
  return dynamic_cast<TcxCustomDataField*>(AValueDef ? AValueDef->GetLinkedObject() : nullptr);
}

}  // namespace

// ---- Readers ---------------------------------------------------------------------------------

void TcxValueDefUnboundReader::SetValue(TcxValueDef* AValueDef, const Variant& AValue)
{
  for (size_t i = 0; i < FDefs.size(); ++i)
    if (FDefs[i] == AValueDef) {
      FValues[i] = AValue;
      return;
    }
  FDefs.push_back(AValueDef);
  FValues.push_back(AValue);
}

Variant TcxValueDefUnboundReader::ValueFor(TcxValueDef* AValueDef)
{
  if (auto* internal = dynamic_cast<TcxInternalValueDef*>(AValueDef)) AValueDef = internal->GetMainDef();
  for (size_t i = 0; i < FDefs.size(); ++i)
    if (FDefs[i] == AValueDef) return FValues[i];
  return Variant::Null();
}

bool TcxValueDefUnboundReader::IsInternalFor(TcxValueDef* AValueDef)
{
  TcxCustomDataField* f = FieldOf(AValueDef);
  return f && f->GetInternal();
}

void TcxValueDefUnboundReader::TruncateValues(int ACount)
{
  if (ACount < 0) ACount = 0;
  if (ACount < Count()) {
    FDefs.resize(static_cast<size_t>(ACount));
    FValues.resize(static_cast<size_t>(ACount));
  }
}

void TcxValueDefUnboundReader::Clear()
{
  FDefs.clear();
  FValues.clear();
}

AnsiString TcxValueDefRecordReader::DisplayTextFor(TcxValueDef* AValueDef)
{
  TcxCustomDataField* f = FieldOf(AValueDef);
  if (!f || f->GetInternal()) return AnsiString();
  return FDataController->GetFieldDisplayText(FRecordIndex, f);
}

Variant TcxValueDefRecordReader::ValueFor(TcxValueDef* AValueDef)
{
  TcxCustomDataField* f = FieldOf(AValueDef);
  return f ? FDataController->GetFieldValue(FRecordIndex, f) : Variant::Null();
}

bool TcxValueDefRecordReader::IsInternalFor(TcxValueDef* AValueDef)
{
  TcxCustomDataField* f = FieldOf(AValueDef);
  return f && f->GetInternal();
}

// ---- Locate objects --------------------------------------------------------------------------

TcxDataControllerLocateObject::~TcxDataControllerLocateObject() { ReleaseRecord(); }

void TcxDataControllerLocateObject::ReadData(TcxValueDefReader* AReader)
{
  TcxDataStorage* storage = FDataController->GetStorage();
  if (FRecordIndex == 0) FRecordIndex = storage->AddInternalRecord();
  storage->LoadRecord(FRecordIndex, AReader, false);
}

void TcxDataControllerLocateObject::ReleaseRecord()
{
  if (FRecordIndex == 0) return;
  FDataController->GetStorage()->FreeInternalRecord(FRecordIndex);
  FRecordIndex = 0;
}

int TcxDataControllerKeyLocateObject::FindRecordIndex()
{
  if (FRecordIndex == 0) return -1;
  return FDataController->LocateByKey(FRecordIndex, KeyFields);
}

TcxDataControllerGroupLocateObject::TcxDataControllerGroupLocateObject(TcxCustomDataController* ADataController)
    : TcxDataControllerLocateObject(ADataController)
{
  for (int i = 0; i < ADataController->GetGroupingItemCount(); ++i) {
    TcxCustomDataField* f = ADataController->GetItemField(ADataController->GetGroupingItemIndex(i));
    FGroupingFields.push_back(f);
    if (ADataController->IsSortByDisplayText(f)) FBinarySearch = false;
  }
}

void TcxDataControllerGroupLocateObject::SetLevel(int ALevel)
{
  if (FLevel == ALevel) return;
  FLevel = ALevel;
  if (!FBinarySearch)
    FFindFields.assign(
        FGroupingFields.begin(),
        FGroupingFields.begin() + std::min<size_t>(static_cast<size_t>(ALevel + 1), FGroupingFields.size()));
}

int TcxDataControllerGroupLocateObject::FindRecordIndex()
{
  if (FRecordIndex == 0 || FLevel < 0) return -1;
  if (FBinarySearch) return FDataController->FindGroupRecord(FRecordIndex, FLevel + 1);
  TValueGuard locating(FDataController->GroupLocating, true);
  return FDataController->LocateByKey(FRecordIndex, FFindFields);
}
