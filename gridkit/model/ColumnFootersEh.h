// Column footers: what a footer cell shows (nothing, the sum, average or count of a field over
// all records, the current record's value of a field, or a fixed text) and the link between a
// footer and its aggregate in the grid's sum list.
#pragma once

#include <memory>

#include "platform/classes/Collection.h"
#include "platform/classes/TextAlignment.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"

class TColumnEh;
class TDBSum;

PELTO_ENUM(TFooterValueType, fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText)

class TColumnFooterEh : public TCollectionItem {
  PELTO_DECLARE_CLASS(TColumnFooterEh, TCollectionItem)
public:
  // An item of a column's Footers collection.
  explicit TColumnFooterEh(TCollection* Collection);
  // A column's single Footer, in no collection.
  explicit TColumnFooterEh(TColumnEh* Column);
  // Frees the footer's aggregate (it leaves the sum list).
  ~TColumnFooterEh() override;
  void Assign(TPersistent* Source) override;

  TColumnEh* GetColumn() const { return FColumn; }
  // ---- look (the grid's footer defaults until set here) --------------------------------------
  // The field's alignment; taLeftJustify without field.
  TAlignment GetAlignment() const;
  void SetAlignment(TAlignment Value);
  // The grid's FooterColor; clWindow without grid.
  TColor GetColor() const;
  void SetColor(TColor Value);
  // The grid's FooterFont (the column's font without grid) until changed here.
  TFont* GetFont();
  void SetFont(TFont* Value);
  bool GetToolTips() const;
  void SetToolTips(bool Value);
  // Clears what was set here; the footer reads its defaults again.
  virtual void ResetToDefaults();
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

  PELTO_PUBLISHED(p);

private:
  enum TFooterExplicitValue { fevAlignment, fevFont, fevColor, fevToolTips };
  bool IsExplicit(TFooterExplicitValue V) const { return (FExplicit >> V) & 1u; }
  void SetExplicit(TFooterExplicitValue V) { FExplicit |= 1u << V; }
  bool AlignmentStored() const;
  bool ColorStored() const;
  TAlignment DefaultAlignment() const;
  TColor DefaultColor() const;
  TFont* DefaultFont() const;
  void CreateFont();
  void Notify();
  TColumnEh* FColumn;
  unsigned FExplicit = 0;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clWindow;
  bool FToolTips = false;
  std::unique_ptr<TFont> FFont;
  TFooterValueType FValueType = fvtNon;
  AnsiString FFieldName, FDisplayFormat, FValue;
  bool FEndEllipsis = false, FWordWrap = false;
  TDBSum* FSum = nullptr;
};

class TColumnFootersEh : public TCollection {
  PELTO_DECLARE_CLASS(TColumnFootersEh, TCollection)
public:
  explicit TColumnFootersEh(TColumnEh* Column);
  TColumnFooterEh* GetItem(int Index) const { return static_cast<TColumnFooterEh*>(TCollection::GetItem(Index)); }
  TColumnFooterEh* Add() { return static_cast<TColumnFooterEh*>(TCollection::Add()); }
  TColumnEh* GetColumn() const { return FColumn; }
  TPersistent* GetOwner() override;

private:
  TColumnEh* FColumn;
};
