// TList, a list of untyped pointers with a notification hook, and TObjectList, which can own
// its objects.
//
// Indexes are 0-based; a bad index raises EListError "List index out of bounds (%d)".
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/System.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Answers <0, 0 or >0 for two items.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
  TList() = default;
  // Clears the list without notifying: a subclass whose Notify must see the items go (as
  // TObjectList's) calls Clear in its own destructor.
  ~TList() override = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;

  Integer Add(void* Item);
  // Index may be Count (appends).
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Deletes the first occurrence; answers its former index, -1 when Item is absent (not an
  // error).
  Integer Remove(void* Item);
  // Takes the first occurrence out, notifying lnExtracted; answers Item, or nullptr when absent.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  // Deletes every item, then frees the memory.
  virtual void Clear();
  void Exchange(Integer Index1, Integer Index2);
  // Moves an item without notifying: it neither leaves nor joins the list.
  void Move(Integer CurIndex, Integer NewIndex);
  // Removes the nullptr items.
  void Pack();
  // A stable sort.
  void Sort(const TListSortCompare& Compare);
  // Makes this list a copy of Source's items.
  void Assign(TList* Source);
  // Raise EListError when the list is empty.
  void* First() const { return GetItems(0); }
  void* Last() const { return GetItems(GetCount() - 1); }

  Integer GetCount() const { return static_cast<Integer>(FList.size()); }
  // Growing adds nullptr items; shrinking deletes the items past the new count. A negative
  // count raises EListError "List count out of bounds (%d)".
  void SetCount(Integer NewCount);
  Integer GetCapacity() const { return static_cast<Integer>(FList.capacity()); }
  // Below Count raises EListError "List capacity out of bounds (%d)".
  void SetCapacity(Integer NewCapacity);
  void* GetItems(Integer Index) const;
  // Notifies lnDeleted for the item replaced and lnAdded for the new one.
  void SetItems(Integer Index, void* Item);

protected:
  // Called after a non-null item joined the list (lnAdded) and after it left it (lnExtracted,
  // lnDeleted).
  virtual void Notify(void* Ptr, TListNotification Action) {}
  [[noreturn]] static void Error(const char* Msg, Integer Data);

private:
  std::vector<void*> FList;
};

// A list of objects; with OwnsObjects (the default) it deletes an object when it is deleted,
// replaced, cleared or the list is destroyed. Extract hands the object back undeleted.
class TObjectList : public TList {
public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  Integer Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { TList::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
  TObject* GetItems(Integer Index) const { return static_cast<TObject*>(TList::GetItems(Index)); }
  void SetItems(Integer Index, TObject* AObject) { TList::SetItems(Index, AObject); }

  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

protected:
  void Notify(void* Ptr, TListNotification Action) override;

private:
  bool FOwnsObjects;
};
