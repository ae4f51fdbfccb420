// TPickListSet: the pick lists of table options ([Key], Label, List), held open in memory.
#pragma once

#include "core/Database.h"

class TPickListSet : public TRecordSet {
  PELTO_DECLARE_CLASS(TPickListSet, TRecordSet)
public:
  TPickListSet();
  explicit TPickListSet(TComponent* AOwner) : TPickListSet() {}
  // Opens when Force or when closed.
  void Open(bool Force);
  Integer GetCount();
  // Adds rows with the next keys until there are N; a smaller N changes nothing.
  void SetCount(Integer N);

  TField *Key, *Label, *List;

  PELTO_PUBLISHED(p);
};
