// TDBCheckBox: a check box showing one field of the current record. A Boolean field is checked
// when True; another field is checked when its text equals one of ValueChecked's values and
// unchecked for one of ValueUnchecked's (";"-separated, ignoring case), greyed otherwise. A Null
// field shows greyed. A click first puts the dataset into edit state (refused while the link may
// not edit) and steps the state as the check box does: grayed → checked → unchecked → grayed with
// AllowGrayed, grayed → checked ↔ unchecked without. Writing: greyed clears the field, a Boolean
// field takes the state, another field the first value of ValueChecked or ValueUnchecked.
#pragma once

#include <memory>

#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/dbctrls/FieldDataLink.h"

class TBasicAction;

class TDBCheckBox : public TCustomCheckBox {
  PELTO_CLASS(TDBCheckBox, TCustomCheckBox)
public:
  explicit TDBCheckBox(TComponent* AOwner);

  TDataSource* GetDataSource() const { return FDataLink->GetDataSource(); }
  void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }
  const AnsiString& GetDataField() const { return FDataLink->GetFieldName(); }
  void SetDataField(const AnsiString& Value) { FDataLink->SetFieldName(Value); }
  bool GetReadOnly() const { return FDataLink->GetReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  TField* GetField() const { return FDataLink->GetField(); }
  TFieldDataLink* GetDataLink() const { return FDataLink.get(); }
  const AnsiString& GetValueChecked() const { return FValueCheck; }
  void SetValueChecked(const AnsiString& Value);
  const AnsiString& GetValueUnchecked() const { return FValueUncheck; }
  void SetValueUnchecked(const AnsiString& Value);

  bool ExecuteAction(TBasicAction* Action) override { return FDataLink->ExecuteAction(Action); }
  bool UpdateAction(TBasicAction* Action) override { return FDataLink->UpdateAction(Action); }

  PELTO_PUBLISHED(p)
  {
    p.Property("DataField", &ThisClass::GetDataField, &ThisClass::SetDataField);
    p.Property("DataSource", &ThisClass::GetDataSource, &ThisClass::SetDataSource);
    p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).Default(false);
    p.Property("ValueChecked", &ThisClass::GetValueChecked, &ThisClass::SetValueChecked);
    p.Property("ValueUnchecked", &ThisClass::GetValueUnchecked, &ThisClass::SetValueUnchecked);
  }

protected:
  void WndProc(TMessage& Message) override;
  void Toggle() override;
  void CMExit(TMessage& Message) override;

private:
  void DataChange(TObject* Sender);
  void UpdateData(TObject* Sender);
  TCheckBoxState GetFieldState() const;

  std::unique_ptr<TFieldDataLink> FDataLink;
  AnsiString FValueCheck = "True";
  AnsiString FValueUncheck = "False";
};
