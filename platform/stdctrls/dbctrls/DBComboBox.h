// TDBComboBox: a combo box showing one field of the current record. A drop-down combo box shows
// the field's text in its edit; a drop-down list selects the line equal to it (none when no line
// is). Typing, deleting or choosing a line first puts the dataset into edit state, and is refused
// while the link may not edit. Escape drops the changes; leaving the box writes its text into
// the field, and a write the field refuses keeps the focus in the box.
#pragma once

#include <memory>

#include "platform/stdctrls/dbctrls/FieldDataLink.h"
#include "platform/stdctrls/lists/ComboBox.h"

class TBasicAction;

class TDBComboBox : public TCustomComboBox {
  PELTO_CLASS(TDBComboBox, TCustomComboBox)
public:
  explicit TDBComboBox(TComponent* AOwner);

  TDataSource* GetDataSource() const { return FDataLink->GetDataSource(); }
  void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }
  const AnsiString& GetDataField() const { return FDataLink->GetFieldName(); }
  void SetDataField(const AnsiString& Value) { FDataLink->SetFieldName(Value); }
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
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CMExit(TMessage& Message) override;
  void Change() override;
  void Select() override;
  void DropDown() override;
  void CloseUp() override;

private:
  void DataChange(TObject* Sender);
  void EditingChange(TObject* Sender);
  void UpdateData(TObject* Sender);
  // The text the box holds: the edit's, or the selected line's in a drop-down list.
  AnsiString GetComboText();
  void SetComboText(const AnsiString& Value);
  // The edit of a combo box that has one follows the editing state.
  void SetEditReadOnly();

  std::unique_ptr<TFieldDataLink> FDataLink;
  bool FSkipTrail = false;  // the lead byte before was refused: its trail byte goes too
};
