// A list that owns its entries, for children that may also leave it on their own.
//
// Extract is the one place an entry's ownership leaves the list: the caller gets it back as a
// unique_ptr and decides (Delete frees it at once). An entry whose destructor detaches it from
// its list calls Forget, which drops the list's claim without freeing what is already being
// destroyed. Clear frees the entries last first.
//
//   TOwnedList<TField> Fields;
//   TField* f = Fields.Add(std::make_unique<TField>());
//   Fields.Delete(f);                        // or: auto mine = Fields.Extract(f);
//   TField::~TField() { if (FList) FList->Forget(this); }
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class TOwnedList {
public:
  TOwnedList() = default;
  TOwnedList(const TOwnedList&) = delete;
  TOwnedList& operator=(const TOwnedList&) = delete;
  ~TOwnedList() { Clear(); }

  int Count() const { return static_cast<int>(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  // Raises std::out_of_range for an index outside the list.
  T* operator[](int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  T* Back() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  // -1 when AItem is not in the list.
  int IndexOf(const T* AItem) const
  {
    for (std::size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i].get() == AItem) return static_cast<int>(i);
    return -1;
  }

  T* Add(std::unique_ptr<T> AItem) { return Insert(Count(), std::move(AItem)); }
  // Index is clamped to [0, Count].
  T* Insert(int Index, std::unique_ptr<T> AItem)
  {
    T* item = AItem.get();
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, std::move(AItem));
    return item;
  }
  void Move(int CurIndex, int NewIndex)
  {
    auto item = std::move(FItems.at(static_cast<std::size_t>(CurIndex)));
    FItems.erase(FItems.begin() + CurIndex);
    NewIndex = std::clamp(NewIndex, 0, Count());
    FItems.insert(FItems.begin() + NewIndex, std::move(item));
  }

  // Takes AItem out and hands its ownership to the caller; null when it is not in the list.
  std::unique_ptr<T> Extract(const T* AItem)
  {
    int i = IndexOf(AItem);
    if (i < 0) return nullptr;
    std::unique_ptr<T> item = std::move(FItems[static_cast<std::size_t>(i)]);
    FItems.erase(FItems.begin() + i);
    return item;
  }
  // Takes AItem out and frees it.
  void Delete(const T* AItem) { Extract(AItem).reset(); }
  // For an entry's own destructor: takes it out without freeing it again.
  void Forget(const T* AItem) { static_cast<void>(Extract(AItem).release()); }
  // Frees every entry, the last first; an entry may take others out on its way.
  void Clear()
  {
    while (!FItems.empty()) {
      std::unique_ptr<T> item = std::move(FItems.back());
      FItems.pop_back();
    }
  }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

private:
  std::vector<std::unique_ptr<T>> FItems;
};
