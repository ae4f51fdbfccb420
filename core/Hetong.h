// Contracts: the criteria row (THetongWhere), the contract set (THetongSet) that searches,
// holds the result for the grids, saves and deletes single contracts, and the record RHetong
// through which the editors exchange one contract with the set.
//
// Contract:
// - Criteria texts never change a statement: they go in as parameters, with the LIKE wildcards
//   escaped, so a search finds exactly the text typed.
// - Upper date bounds include the whole day named.
// - Rule failures answer false with the message; nothing is written. Statement failures raise
//   the database layer's exception; a failed search shows the query box and raises EAbort.
// - The callers check the operator's rights before DeleteHetong/Delete; the delete goes by Id.
#pragma once

#include "core/Database.h"

class TField;
class TStrings;

struct RHetong {
  Integer Id = 0;  // 0: not stored yet
  WideString HtCode, HtName, PayType, HtKind;
  Variant ClientId;
  WideString ClientName;
  Variant SignDate, HtFund, InvFundt;
  WideString DeptId, DeptName, MyHandman, Contents, HtProgress;
  Variant BeginDate, EndDate, InsTime;
  WideString Insman;
  Variant EdiTime;
  WideString Ediman;
  WideString S01, S02, S03, S04, S05, S06, S07, S08, S09, S10;
  Variant F01, F02, D01, D02;
};

class THetongWhere : public TCustomWhere {
  PELTO_DECLARE_CLASS(THetongWhere, TCustomWhere)
public:
  THetongWhere();
  explicit THetongWhere(TComponent* AOwner) : THetongWhere() {}

  TField *IdFld, *HtCodeFld, *HtNameFld, *PayTypeFld, *ClientIdFld, *ClientNameFld, *HtKindFld;
  TField *SignDate1Fld, *SignDate2Fld, *HtFund1Fld, *HtFund2Fld, *MyDeptIdFld, *MyDeptNameFld;
  TField *MyHandmanFld, *ContentsFld, *HtProgressFld, *BeginDate1Fld, *BeginDate2Fld, *EndDate1Fld, *EndDate2Fld;
  TField *InsTime1Fld, *InsTime2Fld, *InsmanFld, *HintDaysFld, *InvHintFld;
};

class THetongSet : public TQuerySet {
public:
  THetongSet();

  // The WHERE part (from " where ") and its parameters for these criteria, with the operator's
  // department scope; exposed for the search and its benchmark.
  static WideString BuildCondition(const THetongWhere& Where, TDBParameters& Params);
  static WideString SelectText(const WideString& Condition);
  void Search(const THetongWhere& Where);

  void CopyToRecord(RHetong& Rec) const;
  // The current row must be in edit or insert state.
  void CopyFromRecord(const RHetong& Rec);

  static bool SaveHetong(RHetong& Rec, AnsiString& Msg);
  // SaveHetong, then mirrors the record into the open result.
  bool Save(RHetong& Rec, AnsiString& Msg);
  // True when exactly one row was deleted.
  static bool DeleteHetong(const RHetong& Rec);
  bool Delete();
  // Direction 0: that id; 1: the next higher; any other: the next lower. False leaves Rec as it was.
  static bool SeekHetong(Integer Id, Integer Direction, RHetong& Rec);
  // Lists are not owned; any may be nullptr.
  static void FillValueLists(TStrings* HtKind, TStrings* MyHandman, TStrings* HtProgress, TStrings* S04, TStrings* S05,
                             TStrings* S06, TStrings* S07, TStrings* S08, TStrings* S09, TStrings* S10);
  // Column must be one of the contract columns (raises EDatabaseError otherwise).
  static void ValueList(const AnsiString& Column, TStrings* List);

  TField *Id, *HtCode, *HtName, *PayType, *ClientId, *ClientName, *HtKind, *SignDate, *HtFund, *InvFundt, *UnvFundt;
  TField *DeptId, *DeptName, *MyHandman, *Contents, *HtProgress, *BeginDate, *EndDate, *InsTime, *Insman, *EdiTime,
      *Ediman;
  TField* S[10];
  TField *F01, *F02, *D01, *D02;
};

namespace Hetong {

// Escapes '!', '%' and '_' with '!' for a LIKE ... escape '!' pattern.
WideString EscapeLike(const WideString& Text);

}  // namespace Hetong
