// The incremental search of a data controller: the user types the beginning of a value of one
// item and the focus jumps to the first matching row, then to the next or previous one. The
// search state (item, text, searching) lives in the controller; this object is its interface.
#pragma once

#include "platform/rtl/System.h"

class TcxCustomDataController;

class TcxDataControllerSearch : public TObject {
public:
  explicit TcxDataControllerSearch(TcxCustomDataController* ADataController) : FDataController(ADataController) {}

  // False for an empty text or no records; raises "ItemIndex out of range" for a bad item.
  // Searches from the focused row to the end, then from the top; the focused row stays while
  // it still matches.
  bool Locate(int AItemIndex, const AnsiString& ASubText);
  // From the focused row on, without wrapping; false unless searching.
  bool LocateNext(bool AForward);
  // Ignored while locked.
  void Cancel();
  // While locked, focus changes do not cancel the search.
  void Lock() { ++FLockCount; }
  void Unlock() { --FLockCount; }
  bool IsLocked() const { return FLockCount > 0; }
  // -1 without a search item.
  int GetItemIndex() const;
  // Checked; the item's field becomes the search field.
  void SetItemIndex(int AItemIndex);
  bool GetSearching() const;
  const AnsiString& GetSearchText() const;

private:
  TcxCustomDataController* FDataController;
  int FLockCount = 0;
};
