#include "gridkit/edits/FieldDataLinkEh.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Guards.h"

TFieldDataLinkEh::TFieldDataLinkEh() { SetVisualControl(true); }

TField* TFieldDataLinkEh::GetFieldsField(Integer I) const
{
  return I >= 0 && I < GetFieldsCount() ? FFields[static_cast<std::size_t>(I)] : nullptr;
}

bool TFieldDataLinkEh::GetActive() const { return FUnbound || (TDataLink::GetActive() && GetField()); }

bool TFieldDataLinkEh::GetCanModify() const { return (GetField() && GetField()->CanModify()) || FUnbound; }

bool TFieldDataLinkEh::IsOneOfFields(const TField* Field) const
{
  return std::find(FFields.begin(), FFields.end(), Field) != FFields.end();
}

void TFieldDataLinkEh::SetDataSource(TDataSource* Value)
{
  if (Value == GetDataSource()) return;
  TDataLink::SetDataSource(Value);
  UpdateUnbound();
}

void TFieldDataLinkEh::SetFieldName(const AnsiString& Value)
{
  if (Value == FFieldName) return;
  FFieldName = Value;
  UpdateFields();
  UpdateUnbound();
}

void TFieldDataLinkEh::UpdateUnbound()
{
  bool unbound = !GetDataSource() && FFieldName.empty();
  if (unbound == FUnbound) return;
  FUnbound = unbound;
  FUnboundValue = Variant::Null();
  LayoutChanged();
  if (FUnbound) RecordChanged(nullptr);
}

void TFieldDataLinkEh::UpdateFields()
{
  TFieldsArrEh list;
  if (TDataLink::GetActive() && !FFieldName.empty()) {
    TDataSet* ds = GetDataSet();
    // A field that cannot be found leaves the control with no field.
    TScopeExit noFields([this] { FFields.clear(); });
    if (FMultiFields) {
      if (Control)
        ToolCtrlsEh::CollectFields(&list, ds, Control, FFieldName);
      else
        list = ds->GetFieldList(FFieldName);
    } else if (Control) {
      TField* field = ds->FindField(FFieldName);
      if (!field) {
        AnsiString name = Control->GetName();
        DB::DatabaseError((name.empty() ? AnsiString() : name + ": ") + "Field '" + FFieldName + "' not found");
      }
      list.push_back(field);
    } else {
      list.push_back(ds->FieldByName(FFieldName));
    }
    noFields.Dismiss();
  }
  FFields = list;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLinkEh::SetEditing(bool Value)
{
  if (Value == FEditing) return;
  FEditing = Value;
  FModified = false;
  if (OnEditingChange) OnEditingChange(this);
}

bool TFieldDataLinkEh::Edit()
{
  if (FUnbound) {
    if (!FEditing && !GetReadOnly()) {
      FEditing = true;
      FModified = false;
      if (OnEditingChange) OnEditingChange(this);
    }
  } else if (GetCanModify()) {
    TDataLink::Edit();
  }
  return FEditing;
}

void TFieldDataLinkEh::SetText(const AnsiString& S)
{
  if (FUnbound) {
    FUnboundValue = S;
    RecordChanged(nullptr);
    return;
  }
  TField* field = GetField();
  if (!field) return;
  if (field->GetDataType() == ftMemo)
    field->SetAsString(S);
  else
    field->SetText(S);
}

void TFieldDataLinkEh::SetValue(const Variant& V)
{
  if (FUnbound) {
    FUnboundValue = V;
    RecordChanged(nullptr);
    return;
  }
  if (FFields.size() > 1) {
    if (V.IsNull()) {
      for (TField* f : FFields) f->SetAsVariant(Variant::Null());
      return;
    }
    // Every element is checked before the first field is written, so that a short array does
    // not leave the record half changed.
    if (!V.IsArray()) throw EVariantInvalidArgError("Variant is not an array");
    int n = static_cast<int>(FFields.size());
    if (Variants::VarArrayDimCount(V) != 1 || Variants::VarArrayLowBound(V, 1) > 0 ||
        Variants::VarArrayHighBound(V, 1) < n - 1)
      throw EVariantBadIndexError("Variant or safe array index out of bounds");
    for (int i = 0; i < n; ++i) FFields[static_cast<std::size_t>(i)]->SetAsVariant(Variants::VarArrayGet(V, {i}));
    return;
  }
  if (TField* field = GetField()) field->SetAsVariant(V);
}

// ---- notifications ----------------------------------------------------------------------------

void TFieldDataLinkEh::ActiveChanged()
{
  UpdateFields();
  if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLinkEh::EditingChanged() { SetEditing(TDataLink::GetEditing() && GetCanModify()); }

void TFieldDataLinkEh::LayoutChanged() { UpdateFields(); }

void TFieldDataLinkEh::RecordChanged(TField* Field)
{
  if (Field && !IsOneOfFields(Field)) return;
  if (OnDataChange) OnDataChange(this);
  FModified = false;
}

void TFieldDataLinkEh::FocusControl(TField** Field)
{
  if (!Field || !*Field || !IsOneOfFields(*Field)) return;
  auto* control = dynamic_cast<IFieldDataLinkControlEh*>(Control);
  if (control && control->CanFocusForField()) {
    *Field = nullptr;
    control->FocusForField();
  }
}

void TFieldDataLinkEh::UpdateData()
{
  if (FUnbound) {
    if (FModified && OnUpdateData) OnUpdateData(this);
    FEditing = false;
  } else {
    if (!FModified) return;
    if (GetField() && OnUpdateData) OnUpdateData(this);
  }
  FModified = false;
}

void TFieldDataLinkEh::DataEvent(TDataEvent Event, intptr_t Info)
{
  TDataLink::DataEvent(Event, Info);
  // Sent around a disabled-controls stretch: the fields follow whether the dataset is open now.
  if (Event == deDisabledStateChange) {
    if (GetDataSet() && GetDataSet()->GetActive()) {
      if (TDataLink::GetActive()) UpdateFields();
    } else {
      FFields.clear();
    }
  }
}
