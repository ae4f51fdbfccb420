#include "platform/stdctrls/buttons/RadioGroup.h"

#include "platform/rtl/Guards.h"
#include "platform/stdctrls/buttons/RadioButton.h"

// A radio button of a group: not streamed, not owned by a form, told to the group when clicked.
class TGroupButton : public TRadioButton {
public:
  TGroupButton(TCustomRadioGroup* AGroup) : TRadioButton(nullptr), FGroup(AGroup)
  {
    SetParent(AGroup);
    SetEnabled(AGroup->GetEnabled());
    SetParentShowHint(true);
  }
  void Click() override
  {
    TRadioButton::Click();
    if (GetChecked()) FGroup->ButtonClicked(this);
  }

private:
  TCustomRadioGroup* FGroup;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>())
{
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup()
{
  FItems->OnChange = nullptr;
  FButtons.clear();
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const { return FButtons.at(std::size_t(Index)).get(); }

void TCustomRadioGroup::SetItemIndex(int Value)
{
  if (GetComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, int(FButtons.size()) - 1);
  if (Value == FItemIndex) return;
  if (FItemIndex >= 0) FButtons[std::size_t(FItemIndex)]->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) FButtons[std::size_t(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::Loaded()
{
  TCustomGroupBox::Loaded();
  int index = FItemIndex;
  FItemIndex = -1;
  SetItemIndex(index);
  ArrangeButtons();
}

void TCustomRadioGroup::SetColumns(int Value)
{
  Value = std::clamp(Value, 1, 16);
  if (Value == FColumns) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ButtonClicked(TGroupButton* Button)
{
  if (FUpdating) return;
  for (std::size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i].get() == Button) FItemIndex = int(i);
  Click();
}

void TCustomRadioGroup::ItemsChanged()
{
  int keep = FItemIndex;
  {
    TValueGuard updating(FUpdating, true);
    std::size_t count = std::size_t(FItems->GetCount());
    while (FButtons.size() > count) FButtons.pop_back();
    while (FButtons.size() < count) FButtons.push_back(std::make_unique<TGroupButton>(this));
    for (std::size_t i = 0; i < count; ++i) {
      FButtons[i]->SetCaption((*FItems)[int(i)]);
      FButtons[i]->SetChecked(false);
    }
    // The checked line stays when it still is one, without a click.
    FItemIndex = keep < int(count) ? keep : -1;
    if (FItemIndex >= 0) FButtons[std::size_t(FItemIndex)]->SetChecked(true);
  }
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ArrangeButtons()
{
  if (FButtons.empty()) return;
  int count = int(FButtons.size());
  int perColumn = (count + FColumns - 1) / FColumns;
  int lineHeight = CaptionHeight();
  int buttonWidth = (GetWidth() - 10) / FColumns;
  int room = GetHeight() - lineHeight - 5;
  int buttonHeight = std::max(room / perColumn, 1);
  int topMargin = lineHeight + 1 + (room % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    int left = (i / perColumn) * buttonWidth + 8;
    FButtons[std::size_t(i)]->SetBounds(left, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
    FButtons[std::size_t(i)]->SetVisible(true);
  }
}

void TCustomRadioGroup::Resize()
{
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message)
{
  TCustomGroupBox::CMEnabledChanged(Message);
  for (auto& b : FButtons) b->SetEnabled(GetEnabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message)
{
  TCustomGroupBox::CMFontChanged(Message);
  ArrangeButtons();
}
