// TDBEdit: an edit box showing one field of the current record. Unfocused it shows the field's
// display text, focused its edit text; the field's EditMask becomes the box's mask and a string
// field's Size its MaxLength. The box refuses typing until the link may edit: the first change
// puts the dataset into edit state, and a read-only box, a read-only field or a data source
// without AutoEdit keep it refused. Escape drops the changes; leaving the box writes its text
// into the field, and a write the field refuses keeps the focus in the box.
#pragma once

#include <memory>

#include "platform/stdctrls/dbctrls/FieldDataLink.h"
#include "platform/stdctrls/edits/MaskEdit.h"

class TBasicAction;

class TDBEdit : public TCustomMaskEdit {
  PELTO_CLASS(TDBEdit, TCustomMaskEdit)
public:
  explicit TDBEdit(TComponent* AOwner);

  TDataSource* GetDataSource() const { return FDataLink->GetDataSource(); }
  void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }
  const AnsiString& GetDataField() const { return FDataLink->GetFieldName(); }
  void SetDataField(const AnsiString& Value) { FDataLink->SetFieldName(Value); }
  // The link's read-only switch (the window's own follows the editing state).
  bool GetReadOnly() const { return FDataLink->GetReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  TField* GetField() const { return FDataLink->GetField(); }
  TFieldDataLink* GetDataLink() const { return FDataLink.get(); }

  bool ExecuteAction(TBasicAction* Action) override { return FDataLink->ExecuteAction(Action); }
  bool UpdateAction(TBasicAction* Action) override { return FDataLink->UpdateAction(Action); }

  PELTO_PUBLISHED(p)
  {
    p.Property("DataField", &ThisClass::GetDataField, &ThisClass::SetDataField);
    p.Property("DataSource", &ThisClass::GetDataSource, &ThisClass::SetDataSource);
    p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).Default(false);
  }

protected:
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void CMWantSpecialKey(TMessage& Message) override;
  void Change() override;

private:
  void DataChange(TObject* Sender);
  void EditingChange(TObject* Sender);
  void UpdateData(TObject* Sender);
  void SetFocused(bool Value);

  std::unique_ptr<TFieldDataLink> FDataLink;
  bool FFocused = false;
  bool FSkipTrail = false;  // the lead byte before was refused: its trail byte goes too
};
