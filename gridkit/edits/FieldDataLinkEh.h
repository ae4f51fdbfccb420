// The data link of the family's edit controls: one field, a ";" list of fields (multi-field
// mode), or, while the control has neither a data source nor a field name, the control's own
// value kept in the link (unbound mode), so that the same control works as a plain value editor.
#pragma once

#include <functional>

#include "gridkit/edits/ValueListsEh.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Variants.h"

class TComponent;
class TField;

// What the link asks of its control when a field wants the focus.
class IFieldDataLinkControlEh {
public:
  virtual ~IFieldDataLinkControlEh() = default;
  virtual bool CanFocusForField() = 0;
  virtual void FocusForField() = 0;
};

class TFieldDataLinkEh : public TDataLink {
public:
  TFieldDataLinkEh();

  // The first field; nullptr when none is resolved.
  TField* GetField() const { return FFields.empty() ? nullptr : FFields.front(); }
  Integer GetFieldsCount() const { return static_cast<Integer>(FFields.size()); }
  TField* GetFieldsField(Integer I) const;
  const AnsiString& GetFieldName() const { return FFieldName; }
  // Re-resolves the fields; raises "<Control>: Field '%s' not found" for a missing name.
  void SetFieldName(const AnsiString& Value);
  void SetDataSource(TDataSource* Value);
  bool GetMultiFields() const { return FMultiFields; }
  void SetMultiFields(bool Value) { FMultiFields = Value; }
  bool GetUnbound() const { return FUnbound; }
  bool GetEditing() const { return FEditing; }
  bool GetModified() const { return FModified; }
  const Variant& GetUnboundValue() const { return FUnboundValue; }
  // Unbound, or the data link is active with a field.
  bool GetActive() const;
  bool GetCanModify() const;

  // Before a user change: True when the value may change now.
  bool Edit();
  void SetModified() { FModified = true; }
  // Drops the user's changes: the control reloads.
  void Reset() { RecordChanged(nullptr); }
  // Writes a text (unbound: as a string value). Field conversion errors pass to the caller.
  void SetText(const AnsiString& S);
  // Writes a value; with several fields a non-Null value must be a variant array with an element
  // for every field (index 0 on), checked before any field is written.
  void SetValue(const Variant& V);

  TComponent* Control = nullptr;  // named in errors and focused on request; not owned
  TNotifyEvent OnDataChange;
  TNotifyEvent OnEditingChange;
  TNotifyEvent OnUpdateData;
  TNotifyEvent OnActiveChange;

protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void FocusControl(TField** Field) override;
  void UpdateData() override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;

private:
  void UpdateFields();
  void UpdateUnbound();
  void SetEditing(bool Value);
  bool IsOneOfFields(const TField* Field) const;

  TFieldsArrEh FFields;
  AnsiString FFieldName;
  bool FMultiFields = false;
  bool FUnbound = true;
  bool FEditing = false;
  bool FModified = false;
  Variant FUnboundValue = Variant::Null();
};
