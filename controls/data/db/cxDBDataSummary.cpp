#include "controls/data/db/cxDBDataSummary.h"

#include <utility>

#include "controls/data/db/cxDBDataController.h"
#include "platform/rtl/Guards.h"

TcxDBDataSummaryItem::~TcxDBDataSummaryItem()
{
  // Freed here: the controller may be past its dataset-bound part when its summary goes.
  FreeDataField(std::exchange(FDataField, nullptr));
}

void TcxDBDataSummaryItem::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TcxDBDataSummaryItem*>(Source);
  if (!src) {
    TcxDataSummaryItem::Assign(Source);
    return;
  }
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  TScopeExit unlock([&] {
    if (c) c->EndUpdate();
  });
  TcxDataSummaryItem::Assign(Source);
  SetFieldName(src->GetFieldName());
}

TcxDBDataController* TcxDBDataSummaryItem::GetDBDataController() const
{
  return dynamic_cast<TcxDBDataController*>(GetDataController());
}

void TcxDBDataSummaryItem::SetFieldName(const AnsiString& Value)
{
  if (FFieldName == Value) return;
  FFieldName = Value;
  if (TcxDBDataController* c = GetDBDataController()) c->UpdateInternalField(FFieldName, FDataField);
  if (TcxDataSummary* s = GetSummary()) s->ReportChange(false);
}

TcxCustomDataField* TcxDBDataSummaryItem::GetDataField() const
{
  if (FDataField && FDataField->GetField()) return FDataField;
  return TcxDataSummaryItem::GetDataField();
}

void TcxDBDataSummaryItem::DataFieldRemoved(TcxCustomDataField* AField)
{
  if (AField == FDataField) FDataField = nullptr;
}

PELTO_DEFINE_CLASS(TcxDBDataSummaryItem)
PELTO_PUBLISH(TcxDBDataSummaryItem, p)
{
  p.Property("FieldName", &TcxDBDataSummaryItem::GetFieldName, &TcxDBDataSummaryItem::SetFieldName);
}
