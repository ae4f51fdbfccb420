#include "platform/classes/Collection.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value)
{
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::GetIndex() const
{
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
  int cur = GetIndex();
  if (cur < 0 || Value < 0 || cur == Value) return;
  auto& items = FCollection->FItems;
  Value = std::min(Value, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + cur);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

AnsiString TCollectionItem::GetNamePath()
{
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(GetIndex()) + "]";
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

void TCollectionItem::Changed(bool AllItems)
{
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass)
{
  if (!ItemClass || !ItemClass->InheritsFrom(TCollectionItem::StaticClass()))
    throw EInvalidOperation("Invalid collection item class");
}

TCollection::~TCollection()
{
  FUpdateCount = 1;  // no Update calls while the collection goes
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { GetItem(Index)->Assign(Value); }

TCollectionItem* TCollection::Add()
{
  TObject* obj = FItemClass->Create(this);
  auto* item = dynamic_cast<TCollectionItem*>(obj);
  if (!item) {  // not reachable with a checked item class; keeps the result honest
    delete obj;
    throw EInvalidCast("Invalid class typecast");
  }
  return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index)
{
  TCollectionItem* item = GetItem(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear()
{
  if (FItems.empty()) return;
  TUpdateGuard lock(*this);
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed()
{
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  TUpdateGuard lock(*this);
  Clear();
  for (TCollectionItem* item : src->FItems) Add()->Assign(item);
}

AnsiString TCollection::GetNamePath()
{
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  AnsiString path = owner->GetNamePath();
  if (path.empty()) return path;
  for (const TPropInfo* p : TypInfo::ClassTypeOf(owner)->Properties())
    if (p->PropType->Kind == tkClass && p->Getter && TypInfo::GetObjectProp(owner, p) == this)
      return path + "." + p->Name;
  return path;
}

void TCollection::InsertItem(TCollectionItem* Item)
{
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
  Notify(Item, cnExtracting);
  std::erase(FItems, Item);
  Item->FCollection = nullptr;
  Changed();
}
