#include "platform/classes/Component.h"

#include <algorithm>

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

TComponent::TComponent(TComponent* AOwner)
{
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const AnsiString& NewName)
{
  if (FName == NewName) return;
  if (!NewName.empty() && !SysUtils::IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName)
{
  if (!AComponent || NewName.empty() || SysUtils::SameText(CurName, NewName)) return;
  TComponent* found = FindComponent(NewName);
  if (found && found != AComponent) throw EComponentError("A component named " + NewName + " already exists");
}

void TComponent::SetSubComponent(bool Value)
{
  if (Value)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

TComponent* TComponent::GetComponent(int Index) const
{
  if (Index < 0 || Index >= GetComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::GetComponentIndex() const
{
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value)
{
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  int cur = GetComponentIndex();
  if (cur < 0) return;
  Value = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
  list.erase(list.begin() + cur);
  list.insert(list.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& Name) const
{
  if (Name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SysUtils::SameText(c->FName, Name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
  if (!AComponent || AComponent->FOwner == this) return;
  ValidateRename(AComponent, AnsiString(), AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
  std::erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    // A sibling that asked to be told when c goes (FreeNotification between components of one
    // owner relies on the owner's news) hears it before c is freed.
    if (c->FComponentState.Contains(csFreeNotification))
      RemoveComponent(c);
    else
      Remove(c);
    delete c;
  }
}

void TComponent::Destroying()
{
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
  if (!AComponent) return;
  std::erase(FFreeNotifies, AComponent);
  std::erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // An owned component may go away while it hears the news: walk by index, from the end.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) continue;
    FComponents[i]->Notification(AComponent, Operation);
  }
}

AnsiString TComponent::GetNamePath() { return FName; }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value);
}
