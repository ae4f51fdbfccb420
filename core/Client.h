// Counterparties: the criteria row (TClientWhere), the counterparty set (TClientSet) and the
// record RClient.
//
// Contract:
// - Criteria texts and the keyword never change a statement or a filter: the search binds them
//   as parameters with the LIKE wildcards escaped, and the keyword filter compares in memory.
// - WriteClient answers false without a message when no row changed (a locked counterparty).
// - Statement failures raise the database layer's exception; a failed search shows the query
//   box and raises EAbort.
#pragma once

#include "core/Database.h"

class TField;

struct RClient {
  Integer Id = 0;  // 0: not stored yet
  WideString ClientName, Linkman, LinkTel, Address;
  bool IsClient = false, IsSupplier = false, IsLock = false;
  WideString Notes;
};

class TClientWhere : public TCustomWhere {
  PELTO_DECLARE_CLASS(TClientWhere, TCustomWhere)
public:
  TClientWhere();
  explicit TClientWhere(TComponent* AOwner) : TClientWhere() {}

  TField *IdFld, *ClientNameFld, *LinkmanFld, *LinkTelFld, *AddressFld, *IsClientFld, *IsSupplierFld, *NotesFld,
      *KeywordFld;
};

class TClientSet : public TQuerySet {
public:
  TClientSet();

  // The WHERE part (empty without criteria) and its parameters.
  static WideString BuildCondition(const TClientWhere& Where, TDBParameters& Params);
  void Search(const TClientWhere& Where);
  // Shows the rows whose name, contact, telephone or address contain Keyword (ignoring ASCII
  // case, as the engines' LIKE does); an empty keyword shows all rows. No query runs.
  void FilterByKeyword(const AnsiString& Keyword);

  void CopyToRecord(RClient& Rec) const;
  void CopyFromRecord(const RClient& Rec);
  static bool WriteClient(RClient& Rec);
  static bool SaveClient(RClient& Rec) { return WriteClient(Rec); }
  // WriteClient, then mirrors the record into the open result.
  bool Save(RClient& Rec);
  // Deletes the current row by its id (references from contracts are the caller's concern).
  bool Delete();
  // Stores the negation of Rec.IsLock; Rec itself is not changed.
  static bool WriteLock(const RClient& Rec);
  bool ToggleLock(const RClient& Rec);

  TField *Id, *ClientName, *Linkman, *LinkTel, *Address, *IsClient, *IsSupplier, *IsLock, *Notes;

private:
  WideString FKeyword;
};
