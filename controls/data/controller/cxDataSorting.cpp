#include "controls/data/controller/cxDataSorting.h"

#include <algorithm>

void TcxSortingFieldList::Changed()
{
  if (OnChanged) OnChanged(this);
}

void TcxSortingFieldList::Add(TcxCustomDataField* AField, TcxDataSortOrder ASortOrder)
{
  FItems.push_back({AField, ASortOrder});
  Changed();
}

void TcxSortingFieldList::Insert(int AIndex, TcxCustomDataField* AField, TcxDataSortOrder ASortOrder)
{
  AIndex = std::clamp(AIndex, 0, Count());
  FItems.insert(FItems.begin() + AIndex, {AField, ASortOrder});
  Changed();
}

void TcxSortingFieldList::Delete(int AIndex)
{
  FItems.erase(FItems.begin() + AIndex);
  Changed();
}

void TcxSortingFieldList::Clear()
{
  while (!FItems.empty()) Delete(0);
}

int TcxSortingFieldList::Find(const TcxCustomDataField* AField) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)].Field == AField) return i;
  return -1;
}

TcxDataSortOrder TcxSortingFieldList::GetSortOrder(const TcxCustomDataField* AField) const
{
  int i = Find(AField);
  return i < 0 ? soNone : Items(i).SortOrder;
}

void TcxSortingFieldList::SetSortOrder(int AIndex, TcxDataSortOrder AOrder)
{
  auto& e = FItems[static_cast<size_t>(AIndex)];
  if (e.SortOrder == AOrder) return;
  e.SortOrder = AOrder;
  Changed();
}

void TcxSortingFieldList::Move(int ACurIndex, int ANewIndex)
{
  if (ACurIndex == ANewIndex) return;
  TcxDataSortInfo e = FItems[static_cast<size_t>(ACurIndex)];
  FItems.erase(FItems.begin() + ACurIndex);
  FItems.insert(FItems.begin() + ANewIndex, e);
  Changed();
}

void TcxSortingFieldList::Remove(TcxCustomDataField* AField)
{
  int i = Find(AField);
  if (i >= 0) Delete(i);
}

void TcxSortingFieldList::SetFieldOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder)
{
  int i = Find(AField);
  if (i >= 0) {
    if (AOrder == soNone)
      Delete(i);
    else
      SetSortOrder(i, AOrder);
  } else if (AOrder != soNone) {
    Add(AField, AOrder);
  }
}

void TcxSortingFieldList::ReportFieldChange(TcxCustomDataField* AField)
{
  if (Find(AField) >= 0) Changed();
}

void TcxSortingFieldList::SetFieldIndex(TcxCustomDataField* AField, int AIndex)
{
  int i = Find(AField);
  if (AIndex < 0) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Insert(std::min(AIndex, Count()), AField, soAscending);
  } else {
    Move(i, std::min(AIndex, Count() - 1));
  }
}

void TcxSortingFieldList::AddFrom(const TcxSortingFieldList& AList)
{
  for (const auto& e : AList.FItems)
    if (Find(e.Field) < 0) FItems.push_back(e);
}

void TcxGroupingFieldList::SetFieldOrder(TcxCustomDataField* AField, TcxDataSortOrder AOrder)
{
  TcxSortingFieldList::SetFieldOrder(AField, AOrder == soNone ? soAscending : AOrder);
}

void TcxGroupingFieldList::SyncSortOrders(const TcxSortingFieldList& ASortingList)
{
  for (int i = 0; i < Count(); ++i) {
    TcxDataSortOrder o = ASortingList.GetSortOrder(Items(i).Field);
    SetSortOrder(i, o == soNone ? soAscending : o);
  }
}
