// The bids of a contract: TToubiaoSet with its record RToubiao. Saves and deletes are mirrored
// into the open list. Statement failures raise the database layer's exception.
#pragma once

#include "core/Database.h"

class TField;

struct RToubiao {
  Integer Id = 0, HetongId = 0, ClientId = 0;  // Id 0: not stored yet
  WideString ClientName, S01, S02, S03, S04, S05, S06, Notes;
};

class TToubiaoSet : public TQuerySet {
public:
  TToubiaoSet();
  void OpenByHetong(Integer HetongId);
  void CopyToRecord(RToubiao& Rec) const;
  void CopyFromRecord(const RToubiao& Rec);
  // On success Rec.Id is the id used.
  static bool WriteToubiao(RToubiao& Rec);
  bool Save(RToubiao& Rec);
  static bool DeleteToubiao(const RToubiao& Rec);
  bool Delete(const RToubiao& Rec);

  TField *Id, *HetongId, *ClientId, *ClientName, *Notes;
  TField* S[6];
};
