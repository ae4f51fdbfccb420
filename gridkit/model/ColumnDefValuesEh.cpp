#include "gridkit/model/ColumnDefValuesEh.h"

#include "gridkit/model/DBGridEhModel.h"

// ---- TColumnTitleDefValuesEh ------------------------------------------------------------------

TDBGridEhModel* TColumnTitleDefValuesEh::Grid() const { return FOwner ? FOwner->GetGrid() : nullptr; }

TAlignment TColumnTitleDefValuesEh::DefaultAlignment() const
{
  TDBGridEhModel* grid = Grid();
  return grid && grid->UseMultiTitle ? taCenter : taLeftJustify;
}

TAlignment TColumnTitleDefValuesEh::GetAlignment() const
{
  return FAlignmentExplicit ? FAlignment : DefaultAlignment();
}

void TColumnTitleDefValuesEh::SetAlignment(TAlignment Value)
{
  if (FAlignmentExplicit && FAlignment == Value) return;
  FAlignment = Value;
  FAlignmentExplicit = true;
  if (TDBGridEhModel* grid = Grid()) grid->LayoutChanged();
}

void TColumnTitleDefValuesEh::SetOrientation(TTextOrientationEh Value)
{
  if (Value == FOrientation) return;
  FOrientation = Value;
  if (TDBGridEhModel* grid = Grid()) grid->LayoutChanged();
}

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
  if (src->FAlignmentExplicit) SetAlignment(src->FAlignment);
  if (src->FColorExplicit) SetColor(src->FColor);
  SetEndEllipsis(src->FEndEllipsis);
  SetOrientation(src->FOrientation);
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

void TColumnDefValuesEh::SetLayout(TTextLayout Value)
{
  if (Value == FLayout) return;
  FLayout = Value;
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

PELTO_DEFINE_CLASS(TColumnTitleDefValuesEh)
PELTO_PUBLISH(TColumnTitleDefValuesEh, p)
{
  p.Property("Alignment", &TColumnTitleDefValuesEh::GetAlignment, &TColumnTitleDefValuesEh::SetAlignment)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleDefValuesEh*>(o)->AlignmentStored(); });
  p.Property("Color", TypeInfo_TColor(), &TColumnTitleDefValuesEh::GetColor, &TColumnTitleDefValuesEh::SetColor)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleDefValuesEh*>(o)->ColorStored(); });
  p.Property("EndEllipsis", &TColumnTitleDefValuesEh::GetEndEllipsis, &TColumnTitleDefValuesEh::SetEndEllipsis)
      .Default(false);
  p.Property("Orientation", &TColumnTitleDefValuesEh::GetOrientation, &TColumnTitleDefValuesEh::SetOrientation)
      .Default(tohHorizontal);
  p.Property("TitleButton", &TColumnTitleDefValuesEh::GetTitleButton, &TColumnTitleDefValuesEh::SetTitleButton)
      .Default(false);
  p.Property("ToolTips", &TColumnTitleDefValuesEh::GetToolTips, &TColumnTitleDefValuesEh::SetToolTips).Default(false);
}

PELTO_DEFINE_CLASS(TColumnFooterDefValuesEh)
PELTO_PUBLISH(TColumnFooterDefValuesEh, p)
{
  p.Property("ToolTips", &TColumnFooterDefValuesEh::GetToolTips, &TColumnFooterDefValuesEh::SetToolTips).Default(false);
}

PELTO_DEFINE_CLASS(TColumnDefValuesEh)
PELTO_PUBLISH(TColumnDefValuesEh, p)
{
  p.Property("AlwaysShowEditButton", &TColumnDefValuesEh::GetAlwaysShowEditButton,
             &TColumnDefValuesEh::SetAlwaysShowEditButton)
      .Default(false);
  p.Property("AutoDropDown", &TColumnDefValuesEh::GetAutoDropDown, &TColumnDefValuesEh::SetAutoDropDown).Default(false);
  p.Property("DblClickNextVal", &TColumnDefValuesEh::GetDblClickNextVal, &TColumnDefValuesEh::SetDblClickNextVal)
      .Default(false);
  p.Property("DropDownShowTitles", &TColumnDefValuesEh::GetDropDownShowTitles,
             &TColumnDefValuesEh::SetDropDownShowTitles)
      .Default(false);
  p.Property("DropDownSizing", &TColumnDefValuesEh::GetDropDownSizing, &TColumnDefValuesEh::SetDropDownSizing)
      .Default(false);
  p.Property("EndEllipsis", &TColumnDefValuesEh::GetEndEllipsis, &TColumnDefValuesEh::SetEndEllipsis).Default(false);
  p.Property("Footer", &TColumnDefValuesEh::GetFooter, &TColumnDefValuesEh::SetFooter);
  p.Property("HighlightRequired", &TColumnDefValuesEh::GetHighlightRequired, &TColumnDefValuesEh::SetHighlightRequired)
      .Default(false);
  p.Property("Layout", &TColumnDefValuesEh::GetLayout, &TColumnDefValuesEh::SetLayout).Default(tlTop);
  p.Property("Title", &TColumnDefValuesEh::GetTitle, &TColumnDefValuesEh::SetTitle);
  p.Property("ToolTips", &TColumnDefValuesEh::GetToolTips, &TColumnDefValuesEh::SetToolTips).Default(false);
}

PELTO_DEFINE_CLASS(TDBGridEhColumnDefValuesEh)
