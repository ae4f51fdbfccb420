#include "platform/stdctrls/dbctrls/FieldDataLink.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/FormatText.h"

TFieldDataLink::TFieldDataLink() { SetVisualControl(true); }

TFieldDataLink::TFieldDataLink(TComponent* AControl, TNotifyEvent ADataChange, TNotifyEvent AEditingChange,
                               TNotifyEvent AUpdateData)
    : TFieldDataLink()
{
  FControl = AControl;
  OnDataChange = std::move(ADataChange);
  OnEditingChange = std::move(AEditingChange);
  OnUpdateData = std::move(AUpdateData);
}

bool TFieldDataLink::AnswerGetDataLink(TMessage& Message)
{
  if (Message.Msg != CM_GETDATALINK) return false;
  Message.Result = reinterpret_cast<LRESULT>(this);
  return true;
}

void TFieldDataLink::SetFieldName(const AnsiString& Value)
{
  if (Value == FFieldName) return;
  FFieldName = Value;
  UpdateField();
}

bool TFieldDataLink::GetCanModify() const { return !GetReadOnly() && FField && FField->CanModify(); }

bool TFieldDataLink::Edit()
{
  if (GetCanModify()) TDataLink::Edit();
  return FEditing;
}

bool TFieldDataLink::ExecuteAction(TBasicAction* Action)
{
  TDataSource* source = GetDataSource();
  if (!Action || !source || !Action->HandlesTarget(source)) return false;
  Action->ExecuteTarget(source);
  return true;
}

bool TFieldDataLink::UpdateAction(TBasicAction* Action)
{
  TDataSource* source = GetDataSource();
  if (!Action || !source || !Action->HandlesTarget(source)) return false;
  Action->UpdateTarget(source);
  return true;
}

void TFieldDataLink::UpdateField()
{
  if (!GetActive() || FFieldName.empty()) {
    SetField(nullptr);
    return;
  }
  TDataSet* ds = GetDataSet();
  if (!FControl) {
    SetField(ds->FieldByName(FFieldName));
    return;
  }
  TField* field = ds->FindField(FFieldName);
  if (!field) {
    // The control keeps no stale field while the error travels.
    SetField(nullptr);
    AnsiString message = SysUtils::Format("Field '%s' not found", {FFieldName});
    if (!FControl->GetName().empty()) message = FControl->GetName() + ": " + message;
    DB::DatabaseError(message);
  }
  SetField(field);
}

void TFieldDataLink::SetField(TField* Value)
{
  if (FField == Value) return;
  FField = Value;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLink::SetEditing(bool Value)
{
  if (FEditing == Value) return;
  FEditing = Value;
  FModified = false;
  if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged()
{
  UpdateField();
  if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetEditing(TDataLink::GetEditing() && GetCanModify()); }

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* Field)
{
  if (Field && Field != FField) return;
  if (OnDataChange) OnDataChange(this);
  FModified = false;
}

void TFieldDataLink::FocusControl(TField** Field)
{
  if (!Field || !*Field || *Field != FField) return;
  auto* control = dynamic_cast<TWinControl*>(FControl);
  if (!control || !control->CanFocus()) return;
  *Field = nullptr;
  control->SetFocus();
}

void TFieldDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
  // A dataset may close and reopen (fields freed and made anew) while its controls are
  // disabled, and its links hear none of it: the field is found again once they are enabled.
  if (Event == deDisabledStateChange && Info == 0) UpdateField();
  TDataLink::DataEvent(Event, Info);
}

void TFieldDataLink::UpdateData()
{
  if (!FModified) return;
  if (FField && OnUpdateData) OnUpdateData(this);
  FModified = false;
}
