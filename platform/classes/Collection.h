// TCollection: an ordered list of items of one class (TCollectionItem descendants) that it
// owns and creates through the item class's reference; TOwnedCollection knows its owner.
#pragma once

#include <vector>

#include "platform/classes/Persistent.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  PELTO_CLASS(TCollectionItem, TPersistent)
public:
  using TConstructArg = TCollection*;

  // Appends the item to Collection (may be nullptr), which then owns it.
  explicit TCollectionItem(TCollection* Collection);
  // Takes the item out of its collection.
  ~TCollectionItem() override;

  TCollection* GetCollection() const { return FCollection; }
  // Moves the item to another collection (nullptr: none; the caller then owns it).
  void SetCollection(TCollection* Value);
  // -1 without a collection.
  int GetIndex() const;
  virtual void SetIndex(int Value);
  // A number unique within the collection, kept when items move.
  int GetID() const { return FID; }
  // The collection's name path with "[index]", as the object inspector shows the item.
  AnsiString GetNamePath() override;
  // The class name unless a descendant has a better text.
  virtual AnsiString GetDisplayName() { return ClassName(); }

protected:
  TPersistent* GetOwner() override;
  // Tells the collection the item changed (all items when AllItems), unless it is locked.
  void Changed(bool AllItems);

private:
  TCollection* FCollection = nullptr;
  int FID = 0;
  friend class TCollection;
};

using TCollectionItemClass = TClass;

class TCollection : public TPersistent {
  PELTO_CLASS(TCollection, TPersistent)
public:
  // ItemClass must descend from TCollectionItem.
  explicit TCollection(TCollectionItemClass ItemClass);
  // Deletes the items.
  ~TCollection() override;

  TCollectionItemClass GetItemClass() const { return FItemClass; }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TCollectionItem* GetItem(int Index) const;
  // Assigns Value to the item at Index.
  void SetItem(int Index, TCollectionItem* Value);

  // A new item of the item class at the end (owned by the collection).
  TCollectionItem* Add();
  // A new item at Index (clamped to the end).
  TCollectionItem* Insert(int Index);
  // Deletes the item at Index.
  void Delete(int Index);
  void Clear();
  // nullptr when no item has that ID.
  TCollectionItem* FindItemID(int ID) const;

  // Changes between BeginUpdate and the matching EndUpdate are reported once, at the end.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  // From another collection: its items copied into new items of this collection's item class
  // (each by Assign). Anything else: as TPersistent.
  void Assign(TPersistent* Source) override;
  // The owner's name path, a full stop and the name of the owner's property that holds this
  // collection; the class name when there is no owner.
  AnsiString GetNamePath() override;
  TPersistent* GetOwner() override { return nullptr; }

protected:
  // Called after a change: Item changed, or (nullptr) the whole collection did.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  void Changed();

private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  friend class TCollectionItem;
};

class TOwnedCollection : public TCollection {
  PELTO_CLASS(TOwnedCollection, TCollection)
public:
  // AOwner is the object holding the collection (not owned by it).
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass) : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};
