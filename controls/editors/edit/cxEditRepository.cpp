// Sections: listener helper -> repository item -> repository -> edit data -> data binding ->
// in-place edit list.
#include "controls/editors/edit/cxEditRepository.h"

#include <algorithm>

#include "controls/editors/edit/cxEdit.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"

// ---- Listener helper

void TcxEditRepositoryItemListenerEditHelper::ItemRemoved(TcxEditRepositoryItem* Sender)
{
  if (FEdit->GetRepositoryItem() == Sender) FEdit->RepositoryItemRemoved(Sender);
}

void TcxEditRepositoryItemListenerEditHelper::PropertiesChanged(TcxEditRepositoryItem* Sender)
{
  const TComponentState s = FEdit->GetComponentState();
  if (s.Contains(csLoading) || s.Contains(csDestroying)) return;
  FEdit->PropertiesChanged(Sender->GetProperties());
}

// ---- Repository item

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* AOwner) : TComponent(AOwner) { CreateProperties(); }

void TcxEditRepositoryItem::CreateProperties()
{
  FProperties.reset(static_cast<TcxCustomEditProperties*>(GetEditPropertiesClass()->Create(this)));
  FProperties->OnPropertiesChanged = [this](TObject* Sender) { PropertiesChanged(Sender); };
}

TcxEditRepositoryItem::~TcxEditRepositoryItem()
{
  Destroying();
  // A listener may leave the list while it is told.
  for (int i = int(FListeners.size()) - 1; i >= 0; --i) {
    if (i >= int(FListeners.size())) continue;
    FListeners[i]->ItemRemoved(this);
  }
  FListeners.clear();
  SetRepository(nullptr);
  if (FProperties) FProperties->OnPropertiesChanged = nullptr;
  FProperties.reset();
}

void TcxEditRepositoryItem::PropertiesChanged(TObject*)
{
  const std::vector<IcxEditRepositoryItemListener*> listeners = FListeners;
  for (int i = int(listeners.size()) - 1; i >= 0; --i)
    if (std::find(FListeners.begin(), FListeners.end(), listeners[i]) != FListeners.end())
      listeners[i]->PropertiesChanged(this);
}

void TcxEditRepositoryItem::AddListener(IcxEditRepositoryItemListener* AListener)
{
  if (AListener && std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TcxEditRepositoryItem::RemoveListener(IcxEditRepositoryItemListener* AListener)
{
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), AListener), FListeners.end());
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* Value)
{
  if (Value == FRepository) return;
  if (FRepository) FRepository->RemoveItem(this);
  FRepository = Value;
  if (Value) Value->AddItem(this);
}

TComponent* TcxEditRepositoryItem::GetParentComponent() { return FRepository; }

void TcxEditRepositoryItem::SetParentComponent(TComponent* AParent)
{
  if (GetComponentState().Contains(csLoading)) return;
  auto* r = dynamic_cast<TcxEditRepository*>(AParent);
  if (AParent && !r) throw EInvalidOperation("A repository item's parent must be an editor repository");
  SetRepository(r);
}

void TcxEditRepositoryItem::ReadState(TReader* Reader)
{
  TComponent::ReadState(Reader);
  if (auto* r = dynamic_cast<TcxEditRepository*>(Reader->GetParent())) SetRepository(r);
}

// ---- Repository

TcxEditRepository::~TcxEditRepository()
{
  FDestroying = true;
  while (!FItems.empty()) {
    TcxEditRepositoryItem* item = FItems.back();
    delete item;  // leaves the list as it goes
    if (!FItems.empty() && FItems.back() == item) FItems.pop_back();
  }
}

TcxEditRepositoryItem* TcxEditRepository::CreateItemEx(TClass AItemClass, TComponent* AOwner)
{
  auto* item = dynamic_cast<TcxEditRepositoryItem*>(AItemClass->Create(AOwner));
  if (!item) throw EInvalidOperation("Not a repository item class");
  item->SetRepository(this);
  return item;
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* AItem)
{
  if (std::find(FItems.begin(), FItems.end(), AItem) == FItems.end()) FItems.push_back(AItem);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* AItem)
{
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AItem), FItems.end());
}

void TcxEditRepository::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (TcxEditRepositoryItem* item : FItems)
    if (item->GetOwner() == Root) Proc(item);
}

// ---- Edit data

TcxCustomEditData::TcxCustomEditData(TcxCustomEdit* AEdit) : FEdit(AEdit)
{
  FFreeNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FFreeNotificator->OnComponentFreed = [this](TComponent* C) {
    if (C == FEdit) FEdit = nullptr;
  };
  FFreeNotificator->AddSender(AEdit);
  Invalidate();
}

TcxCustomEditData::~TcxCustomEditData()
{
  if (FEdit) FFreeNotificator->RemoveSender(FEdit);
}

void TcxCustomEditData::Invalidate()
{
  Cleared = true;
  if (FEdit && FEdit->GetEditData() == this) {
    FEdit->ResetEditData();
    Cleared = false;
  }
}

// ---- Data binding

TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit* AEdit) : FEdit(AEdit) { CreateDefaultValuesProvider(); }

TcxEditDataBinding::~TcxEditDataBinding() = default;

void TcxEditDataBinding::CreateDefaultValuesProvider()
{
  FDefaultValuesProvider.reset(
      static_cast<TcxCustomEditDefaultValuesProvider*>(GetDefaultValuesProviderClass()->Create(nullptr)));
}

TClass TcxEditDataBinding::GetDefaultValuesProviderClass() const
{
  return TcxCustomEditDefaultValuesProvider::StaticClass();
}

TPersistent* TcxEditDataBinding::GetOwner() { return FEdit; }

IcxEditDefaultValuesProvider* TcxEditDataBinding::GetDefaultValuesProvider() const
{
  return FDefaultValuesProvider.get();
}

bool TcxEditDataBinding::IsEditorDesigning() { return FEdit->GetComponentState().Contains(csDesigning); }

void TcxEditDataBinding::NotifyDefaultValuesChanged() { FDefaultValuesProvider->Changed(); }

void TcxEditDataBinding::GetDisplayValue(Variant& Value) { Value = Variant(FEdit->GetDisplayValueText()); }

bool TcxEditDataBinding::Modified() { return FEdit->GetEditModified(); }

void TcxEditDataBinding::ReadEditValue(Variant& Value) { Value = FEdit->GetEditValue(); }

void TcxEditDataBinding::RestoreEditValue() { FEdit->RestoreEditValue(); }

void TcxEditDataBinding::SetDisplayValue(const Variant& Value) { FEdit->SetDisplayValue(Value); }

void TcxEditDataBinding::UpdateDisplayValue() { FEdit->SynchronizeDisplayValue(); }

// ---- In-place edit list

TcxInplaceEditList::~TcxInplaceEditList() { Clear(); }

TcxCustomEdit* TcxInplaceEditList::CreateEdit(TcxCustomEditProperties* AProperties)
{
  TcxCustomEdit* edit = TcxCustomEdit::CreateInplace(AProperties->GetContainerClass(), nullptr, true);
  edit->SetVisible(false);
  return edit;
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TcxCustomEditProperties* AProperties)
{
  auto it = std::find_if(FItems.begin(), FItems.end(), [&](const TItem& I) { return I.Properties == AProperties; });
  TcxCustomEdit* edit;
  if (it != FItems.end()) {
    edit = it->Edit.get();
  } else {
    edit = CreateEdit(AProperties);
    FItems.push_back(TItem{std::unique_ptr<TcxCustomEdit>(edit), AProperties});
  }
  edit->LockChangeEvents(true);
  TScopeExit Unlock([edit] { edit->LockChangeEvents(false, false); });
  if (!edit->GetRepositoryItem()) edit->GetOwnProperties()->Assign(AProperties);
  return edit;
}

TcxCustomEdit* TcxInplaceEditList::GetEditByPropertiesClass(TClass APropertiesClass)
{
  for (TItem& item : FItems)
    if (item.Edit->GetProperties()->ClassType() == APropertiesClass) return item.Edit.get();
  auto* proto = static_cast<TcxCustomEditProperties*>(APropertiesClass->Create(nullptr));
  std::unique_ptr<TcxCustomEditProperties> keep(proto);
  TcxCustomEdit* edit = TcxCustomEdit::CreateInplace(proto->GetContainerClass(), nullptr, true);
  FItems.push_back(TItem{std::unique_ptr<TcxCustomEdit>(edit), edit->GetOwnProperties()});
  return edit;
}

void TcxInplaceEditList::RemoveEdit(TcxCustomEditProperties* AProperties)
{
  auto it = std::find_if(FItems.begin(), FItems.end(), [&](const TItem& I) { return I.Properties == AProperties; });
  if (it == FItems.end()) return;
  std::unique_ptr<TcxCustomEdit> edit = std::move(it->Edit);
  FItems.erase(it);
}

void TcxInplaceEditList::Clear()
{
  while (!FItems.empty()) {
    std::unique_ptr<TcxCustomEdit> edit = std::move(FItems.back().Edit);
    FItems.pop_back();
  }
}

PELTO_DEFINE_CLASS(TcxEditRepositoryItem)
PELTO_PUBLISH(TcxEditRepositoryItem, p)
{
  p.Property("Properties", &ThisClass::GetProperties, &ThisClass::SetProperties);
}

PELTO_DEFINE_CLASS(TcxEditRepository)

PELTO_DEFINE_CLASS(TcxCustomEditData)

PELTO_DEFINE_CLASS(TcxEditDataBinding)
