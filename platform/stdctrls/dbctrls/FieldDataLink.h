// TFieldDataLink: a data-aware control's link to one field of the dataset behind a data source.
// The control sets Control and the four events; the link resolves FieldName to Field whenever
// the dataset opens or its layout changes, and tells the control:
//   OnDataChange     the record or the field changed: the control shows the field again;
//   OnEditingChange  Editing changed: the control lets the user type or not;
//   OnUpdateData     the control must write its value into Field (only when it was modified);
//   OnActiveChange   the link became active or inactive.
// Editing is the dataset's edit state restricted to a field that may be modified.
#pragma once

#include "platform/db/DataSource.h"

class TBasicAction;
class TComponent;
struct TMessage;

class TFieldDataLink : public TDataLink {
public:
  TFieldDataLink();
  // A control's link: the control and its handlers of the data, editing and update events.
  TFieldDataLink(TComponent* AControl, TNotifyEvent ADataChange, TNotifyEvent AEditingChange, TNotifyEvent AUpdateData);

  // The control that owns the link (borrowed): named in errors, focused by FocusControl.
  TComponent* GetControl() const { return FControl; }
  void SetControl(TComponent* Value) { FControl = Value; }
  const AnsiString& GetFieldName() const { return FFieldName; }
  // Re-resolves the field; a name the open dataset lacks raises EDatabaseError
  // "<control name>: Field '<name>' not found" and leaves the link without a field.
  void SetFieldName(const AnsiString& Value);
  // Null while inactive or before a name is given.
  TField* GetField() const { return FField; }
  // A field is bound, the link is not read-only and the field may be modified.
  bool GetCanModify() const;
  bool GetEditing() const { return FEditing; }
  bool GetModified() const { return FModified; }

  // Puts the dataset into edit state when the field may be modified; answers Editing.
  bool Edit();
  // The control changed its value since the field was last shown.
  void Modified() { FModified = true; }
  // Drops the control's changes: the control shows the field again.
  void Reset() { RecordChanged(nullptr); }

  // A data action aimed at the link's data source runs on it; answers whether one did.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);
  // The control's answer to CM_GETDATALINK: true when Message was that one (answered).
  bool AnswerGetDataLink(TMessage& Message);

  TNotifyEvent OnDataChange, OnEditingChange, OnUpdateData, OnActiveChange;

protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void FocusControl(TField** Field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;

private:
  void UpdateField();
  void SetField(TField* Value);
  void SetEditing(bool Value);

  TComponent* FControl = nullptr;
  AnsiString FFieldName;
  TField* FField = nullptr;  // borrowed from the dataset
  bool FEditing = false;
  bool FModified = false;
};
