#include "platform/rtl/Lists.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"

namespace {
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SListCountError = "List count out of bounds (%d)";
const char* const SListCapacityError = "List capacity out of bounds (%d)";
}  // namespace

void TList::Error(const char* Msg, Integer Data)
{
  AnsiString text = Msg;
  text.replace(text.find("%d"), 2, std::to_string(Data));
  throw EListError(text);
}

Integer TList::Add(void* Item)
{
  Integer index = GetCount();
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return index;
}

void TList::Insert(Integer Index, void* Item)
{
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index)
{
  void* item = GetItems(Index);
  FList.erase(FList.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

Integer TList::Remove(void* Item)
{
  Integer index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* Item)
{
  Integer index = IndexOf(Item);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const
{
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : static_cast<Integer>(it - FList.begin());
}

void TList::Clear()
{
  SetCount(0);
  FList.shrink_to_fit();
}

void TList::Exchange(Integer Index1, Integer Index2)
{
  GetItems(Index1);
  GetItems(Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(Integer CurIndex, Integer NewIndex)
{
  if (CurIndex == NewIndex) return;
  GetItems(CurIndex);
  GetItems(NewIndex);
  void* item = FList[CurIndex];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(const TListSortCompare& Compare)
{
  std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Assign(TList* Source)
{
  if (Source == this) return;
  Clear();
  SetCapacity(Source->GetCount());
  for (void* item : Source->FList) Add(item);
}

void TList::SetCount(Integer NewCount)
{
  if (NewCount < 0) Error(SListCountError, NewCount);
  // Deleted from the end one by one, so each item is notified while the rest stay valid.
  while (GetCount() > NewCount) Delete(GetCount() - 1);
  if (NewCount > GetCount()) FList.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(Integer NewCapacity)
{
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  if (NewCapacity > GetCapacity()) FList.reserve(static_cast<size_t>(NewCapacity));
}

void* TList::GetItems(Integer Index) const
{
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  return FList[Index];
}

void TList::SetItems(Integer Index, void* Item)
{
  void* old = GetItems(Index);
  if (old == Item) return;
  FList[Index] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

// ---- TObjectList ------------------------------------------------------------------------------

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action)
{
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}
