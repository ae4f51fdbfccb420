#include "controls/data/controller/cxDataSearch.h"

#include "controls/data/controller/cxCustomData.h"

bool TcxDataControllerSearch::Locate(int AItemIndex, const AnsiString& ASubText)
{
  return FDataController->DoLocate(AItemIndex, ASubText);
}

bool TcxDataControllerSearch::LocateNext(bool AForward) { return FDataController->DoLocateNext(AForward); }

void TcxDataControllerSearch::Cancel()
{
  if (!IsLocked()) FDataController->DoCancelSearch();
}

int TcxDataControllerSearch::GetItemIndex() const { return FDataController->GetSearchItemIndex(); }

void TcxDataControllerSearch::SetItemIndex(int AItemIndex)
{
  FDataController->CheckItemIndex(AItemIndex);
  FDataController->FSearchField = FDataController->GetItemField(AItemIndex);
}

bool TcxDataControllerSearch::GetSearching() const { return FDataController->IsSearching(); }

const AnsiString& TcxDataControllerSearch::GetSearchText() const { return FDataController->GetSearchText(); }
