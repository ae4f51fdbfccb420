// TCustomRadioGroup / TRadioGroup: a group box holding one radio button per line of Items, in
// Columns columns filled top to bottom. ItemIndex is the checked line (-1: none); a click on a
// button, or setting it, fires OnClick. Changing Items rebuilds the buttons and keeps ItemIndex
// when it is still a line.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/GroupBox.h"

class TGroupButton;
class TRadioButton;

class TCustomRadioGroup : public TCustomGroupBox {
  PELTO_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;

  // Owned; setting copies the lines.
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int GetItemIndex() const { return FItemIndex; }
  // Checks that line's button (which fires OnClick); an index outside the lines is brought to
  // -1..Count-1. While the form loads it waits for the lines.
  void SetItemIndex(int Value);
  int GetColumns() const { return FColumns; }
  // 1..16.
  void SetColumns(int Value);
  // The radio button of line Index (owned by the group).
  TRadioButton* Buttons(int Index) const;

  PELTO_PUBLISHED(p)
  {
    p.Property("Columns", &ThisClass::GetColumns, &ThisClass::SetColumns).Default(1);
    p.Property("Items", &ThisClass::GetItems, &ThisClass::SetItems);
    p.Property("ItemIndex", &ThisClass::GetItemIndex, &ThisClass::SetItemIndex).Default(-1);
  }

protected:
  void Loaded() override;
  void Resize() override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

private:
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClicked(TGroupButton* Button);

  std::unique_ptr<TStringList> FItems;
  std::vector<std::unique_ptr<TGroupButton>> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;

  friend class TGroupButton;
};

class TRadioGroup : public TCustomRadioGroup {
  PELTO_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  using TCustomRadioGroup::TCustomRadioGroup;
};
