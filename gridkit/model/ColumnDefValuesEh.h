// Grid-wide column defaults: a column, its title and its footer take these unless a value was
// set on them (the explicit-value rule: read the own value when its flag is set, else the
// default; store only what is set and differs from the default).
#pragma once

#include <memory>

#include "platform/classes/Persistent.h"
#include "platform/classes/TextAlignment.h"
#include "platform/forms/graphics/Colors.h"

class TDBGridEhModel;
class TColumnDefValuesEh;

PELTO_ENUM(TTextOrientationEh, tohHorizontal, tohVertical)

class TColumnTitleDefValuesEh : public TPersistent {
  PELTO_DECLARE_CLASS(TColumnTitleDefValuesEh, TPersistent)
public:
  explicit TColumnTitleDefValuesEh(TColumnDefValuesEh* Owner) : FOwner(Owner) {}
  void Assign(TPersistent* Source) override;

  // The grid's FixedColor until set; setting the current default marks it without storing it.
  TColor GetColor() const;
  void SetColor(TColor Value);
  bool ColorExplicit() const { return FColorExplicit; }
  bool ColorStored() const;
  // taCenter with multi-level titles, else taLeftJustify, until set.
  TAlignment GetAlignment() const;
  void SetAlignment(TAlignment Value);
  bool AlignmentExplicit() const { return FAlignmentExplicit; }
  bool AlignmentStored() const { return FAlignmentExplicit && FAlignment != DefaultAlignment(); }
  bool GetEndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  TTextOrientationEh GetOrientation() const { return FOrientation; }
  void SetOrientation(TTextOrientationEh Value);
  bool GetTitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }
  bool GetToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }

  PELTO_PUBLISHED(p);

private:
  TAlignment DefaultAlignment() const;
  TDBGridEhModel* Grid() const;
  TColumnDefValuesEh* FOwner;
  TAlignment FAlignment = taLeftJustify;
  bool FAlignmentExplicit = false;
  TTextOrientationEh FOrientation = tohHorizontal;
  TColor FColor = clBtnFace;
  bool FColorExplicit = false;
  bool FEndEllipsis = false, FTitleButton = false, FToolTips = false;
};

class TColumnFooterDefValuesEh : public TPersistent {
  PELTO_DECLARE_CLASS(TColumnFooterDefValuesEh, TPersistent)
public:
  void Assign(TPersistent* Source) override;
  bool GetToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
  PELTO_PUBLISHED(p);

private:
  bool FToolTips = false;
};

class TColumnDefValuesEh : public TPersistent {
  PELTO_DECLARE_CLASS(TColumnDefValuesEh, TPersistent)
public:
  explicit TColumnDefValuesEh(TDBGridEhModel* Grid);
  ~TColumnDefValuesEh() override;
  // Copies the title defaults and the switches; HighlightRequired and Footer stay.
  void Assign(TPersistent* Source) override;

  TDBGridEhModel* GetGrid() const { return FGrid; }
  bool GetAlwaysShowEditButton() const { return FAlwaysShowEditButton; }
  void SetAlwaysShowEditButton(bool Value);
  bool GetAutoDropDown() const { return FAutoDropDown; }
  void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
  bool GetDblClickNextVal() const { return FDblClickNextVal; }
  void SetDblClickNextVal(bool Value) { FDblClickNextVal = Value; }
  bool GetDropDownShowTitles() const { return FDropDownShowTitles; }
  void SetDropDownShowTitles(bool Value) { FDropDownShowTitles = Value; }
  bool GetDropDownSizing() const { return FDropDownSizing; }
  void SetDropDownSizing(bool Value) { FDropDownSizing = Value; }
  bool GetEndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  bool GetHighlightRequired() const { return FHighlightRequired; }
  void SetHighlightRequired(bool Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool GetToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
  TColumnTitleDefValuesEh* GetTitle() const { return FTitle.get(); }
  void SetTitle(TColumnTitleDefValuesEh* Value) { FTitle->Assign(Value); }
  TColumnFooterDefValuesEh* GetFooter() const { return FFooter.get(); }
  void SetFooter(TColumnFooterDefValuesEh* Value) { FFooter->Assign(Value); }

  PELTO_PUBLISHED(p);

private:
  void Repaint();
  TDBGridEhModel* FGrid;
  bool FAlwaysShowEditButton = false, FAutoDropDown = false, FDblClickNextVal = false, FDropDownShowTitles = false,
       FDropDownSizing = false, FEndEllipsis = false, FHighlightRequired = false, FToolTips = false;
  TTextLayout FLayout = tlTop;
  std::unique_ptr<TColumnTitleDefValuesEh> FTitle;
  std::unique_ptr<TColumnFooterDefValuesEh> FFooter;
};

// The class the data-aware grid publishes as ColumnDefValues.
class TDBGridEhColumnDefValuesEh : public TColumnDefValuesEh {
  PELTO_DECLARE_CLASS(TDBGridEhColumnDefValuesEh, TColumnDefValuesEh)
public:
  explicit TDBGridEhColumnDefValuesEh(TDBGridEhModel* Grid) : TColumnDefValuesEh(Grid) {}
};
