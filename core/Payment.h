// Payments: the criteria row (TPaymentWhere), the payment set (TPaymentSet) with its record
// RPayment, the per-counterparty totals (TPaymentSetByClient), and the move of a contract's
// progress when one of its payment rows is written.
//
// Contract:
// - Criteria texts never change a statement: they are bound as parameters, LIKE wildcards
//   escaped. Upper date bounds include the whole day named.
// - A contract becomes "已完成" only when its due and paid sums are both present and equal after
//   rounding to qxProj::Decimals; otherwise its progress follows D02 and BeginDate.
// - Save works through the open result (search first). An id it does not hold shows
//   "没有定位到%d" and answers false with nothing written.
// - Statement failures raise the database layer's exception; a failed search shows the query
//   box and raises EAbort.
#pragma once

#include "core/Database.h"

class TField;

struct RPayment {
  Integer Id = 0, HetongId = 0;  // Id 0 or less: not stored yet
  Variant Shldate, Paydate, InvDate, Shlfund, Payfund, Invfund;
  WideString InvNo, Notes;
};

class TPaymentWhere : public TCustomWhere {
  PELTO_DECLARE_CLASS(TPaymentWhere, TCustomWhere)
public:
  TPaymentWhere();
  explicit TPaymentWhere(TComponent* AOwner) : TPaymentWhere() {}

  TField *IdFld, *HetongIdFld, *Shldate1Fld, *Shldate2Fld, *Shlfund1Fld, *Shlfund2Fld, *Paydate1Fld, *Paydate2Fld;
  TField *Payfund1Fld, *Payfund2Fld, *Invfund1Fld, *Invfund2Fld, *InvNoFld, *InvHintypeFld, *NotesFld, *HintdaysFld;
  TField *HtPayTypeFld, *HtSigndate1Fld, *HtSigndate2Fld, *HtClientIdFld, *HtClientNameFld, *HtMyDeptFld;
};

class TPaymentSet : public TQuerySet {
public:
  TPaymentSet();

  // 0 receivable, 1 payable, 2 neutral (empty labels); other kinds relabel nothing.
  void SetPayKind(Byte Kind);
  Byte GetPayKind() const { return FPayKind; }
  static WideString BuildCondition(const TPaymentWhere& Where, TDBParameters& Params);
  void Search(const TPaymentWhere& Where);
  void CopyToRecord(RPayment& Rec) const;
  void CopyFromRecord(const RPayment& Rec);
  // Writes the current row (edit or insert state), then moves the contract's progress.
  bool WriteCurrent();
  bool Save(RPayment& Rec);
  // Deletes the current row by id; the contract's progress stays as it was.
  bool Delete();
  static Integer CountByHetong(Integer HetongId);
  // Recomputes a contract's progress from its stored payment rows.
  static void MoveProgress(Integer HetongId);

  TField *HtCode, *HtName, *SignDate, *HtFund, *ClientId, *ClientName, *Id, *HetongId, *Shldate, *Shlfund, *Paydate,
      *Payfund, *InvDate, *Invfund, *InvNo, *Notes;

private:
  Byte FPayKind = 0;
};

class TPaymentSetByClient : public TQuerySet {
public:
  TPaymentSetByClient();
  void SetPayKind(Byte Kind);
  Byte GetPayKind() const { return FPayKind; }
  void Search(const TPaymentWhere& Where);

  TField *ClientId, *ClientName, *HtCount, *ShlCount, *Shlfund, *Payfund, *Invfund;

private:
  Byte FPayKind = 0;
};
