// Column footers: what a footer cell shows (nothing, the sum, average or count of a field over
// all records, the current record's value of a field, or a fixed text) and the link between a
// footer and its aggregate in the grid's sum list.
#pragma once

#include "platform/classes/Collection.h"

class TColumnEh;
class TDBSum;

PELTO_ENUM(TFooterValueType, fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText)

class TColumnFooterEh : public TCollectionItem {
  PELTO_CLASS(TColumnFooterEh, TCollectionItem)
public:
  // An item of a column's Footers collection.
  explicit TColumnFooterEh(TCollection* Collection);
  // A column's single Footer, in no collection.
  explicit TColumnFooterEh(TColumnEh* Column);
  // Frees the footer's aggregate (it leaves the sum list).
  ~TColumnFooterEh() override;
  void Assign(TPersistent* Source) override;

  TColumnEh* GetColumn() const { return FColumn; }
  TFooterValueType GetValueType() const { return FValueType; }
  void SetValueType(TFooterValueType Value);
  // Empty: the column's field.
  const AnsiString& GetFieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value);
  const AnsiString& GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const AnsiString& Value);
  const AnsiString& GetValue() const { return FValue; }
  void SetValue(const AnsiString& Value);
  bool GetEndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The aggregate in the grid's sum list, while the kind is a sum, an average or a count.
  TDBSum* GetSum() const { return FSum; }
  // Keeps at most one aggregate, of the footer's kind.
  void SyncSum();

  PELTO_PUBLISHED(p)
  {
    p.Property("DisplayFormat", &TColumnFooterEh::GetDisplayFormat, &TColumnFooterEh::SetDisplayFormat);
    p.Property("EndEllipsis", &TColumnFooterEh::GetEndEllipsis, &TColumnFooterEh::SetEndEllipsis).Default(false);
    p.Property("FieldName", &TColumnFooterEh::GetFieldName, &TColumnFooterEh::SetFieldName);
    p.Property("Value", &TColumnFooterEh::GetValue, &TColumnFooterEh::SetValue);
    p.Property("ValueType", &TColumnFooterEh::GetValueType, &TColumnFooterEh::SetValueType).Default(fvtNon);
    p.Property("WordWrap", &TColumnFooterEh::GetWordWrap, &TColumnFooterEh::SetWordWrap).Default(false);
  }

private:
  void Notify();
  TColumnEh* FColumn;
  TFooterValueType FValueType = fvtNon;
  AnsiString FFieldName, FDisplayFormat, FValue;
  bool FEndEllipsis = false, FWordWrap = false;
  TDBSum* FSum = nullptr;
};

class TColumnFootersEh : public TCollection {
  PELTO_CLASS(TColumnFootersEh, TCollection)
public:
  explicit TColumnFootersEh(TColumnEh* Column);
  TColumnFooterEh* GetItem(int Index) const { return static_cast<TColumnFooterEh*>(TCollection::GetItem(Index)); }
  TColumnFooterEh* Add() { return static_cast<TColumnFooterEh*>(TCollection::Add()); }
  TColumnEh* GetColumn() const { return FColumn; }
  TPersistent* GetOwner() override;

private:
  TColumnEh* FColumn;
};
