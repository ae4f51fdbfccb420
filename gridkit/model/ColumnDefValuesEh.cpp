#include "gridkit/model/ColumnDefValuesEh.h"

#include "gridkit/model/DBGridEhModel.h"

// ---- TColumnTitleDefValuesEh ------------------------------------------------------------------

TColor TColumnTitleDefValuesEh::GetColor() const
{
  if (FColorExplicit) return FColor;
  TDBGridEhModel* grid = FOwner ? FOwner->GetGrid() : nullptr;
  return grid ? grid->FixedColor : clBtnFace;
}

bool TColumnTitleDefValuesEh::ColorStored() const
{
  TDBGridEhModel* grid = FOwner ? FOwner->GetGrid() : nullptr;
  return FColorExplicit && FColor != (grid ? grid->FixedColor : clBtnFace);
}

void TColumnTitleDefValuesEh::SetColor(TColor Value)
{
  if (FColorExplicit && FColor == Value) return;
  FColor = Value;
  FColorExplicit = true;
  if (FOwner && FOwner->GetGrid()) FOwner->GetGrid()->Invalidate();
}

void TColumnTitleDefValuesEh::SetEndEllipsis(bool Value)
{
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  if (FOwner && FOwner->GetGrid()) FOwner->GetGrid()->Invalidate();
}

void TColumnTitleDefValuesEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnTitleDefValuesEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src->FColorExplicit) SetColor(src->FColor);
  SetEndEllipsis(src->FEndEllipsis);
  FTitleButton = src->FTitleButton;
  FToolTips = src->FToolTips;
}

// ---- TColumnFooterDefValuesEh -----------------------------------------------------------------

void TColumnFooterDefValuesEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnFooterDefValuesEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FToolTips = src->FToolTips;
}

// ---- TColumnDefValuesEh -----------------------------------------------------------------------

TColumnDefValuesEh::TColumnDefValuesEh(TDBGridEhModel* Grid)
    : FGrid(Grid), FTitle(std::make_unique<TColumnTitleDefValuesEh>(this)),
      FFooter(std::make_unique<TColumnFooterDefValuesEh>())
{}

TColumnDefValuesEh::~TColumnDefValuesEh() = default;

void TColumnDefValuesEh::Repaint()
{
  if (FGrid) FGrid->Invalidate();
}

void TColumnDefValuesEh::SetAlwaysShowEditButton(bool Value)
{
  if (Value == FAlwaysShowEditButton) return;
  FAlwaysShowEditButton = Value;
  Repaint();
}

void TColumnDefValuesEh::SetEndEllipsis(bool Value)
{
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  Repaint();
}

void TColumnDefValuesEh::SetHighlightRequired(bool Value)
{
  if (Value == FHighlightRequired) return;
  FHighlightRequired = Value;
  Repaint();
}

void TColumnDefValuesEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnDefValuesEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FTitle->Assign(src->FTitle.get());
  SetAlwaysShowEditButton(src->FAlwaysShowEditButton);
  SetEndEllipsis(src->FEndEllipsis);
  FAutoDropDown = src->FAutoDropDown;
  FDblClickNextVal = src->FDblClickNextVal;
  FToolTips = src->FToolTips;
  FDropDownSizing = src->FDropDownSizing;
  FDropDownShowTitles = src->FDropDownShowTitles;
}
