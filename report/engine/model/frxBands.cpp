#include "report/engine/model/frxBands.h"

#include <cmath>

#include "platform/classes/ClassRegistry.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxRes.h"

namespace {

TClass KindTable(Integer Kind)
{
  static const TClass table[18] = {
      TfrxReportTitle::StaticClass(),  TfrxReportSummary::StaticClass(), TfrxPageHeader::StaticClass(),
      TfrxPageFooter::StaticClass(),   TfrxHeader::StaticClass(),        TfrxFooter::StaticClass(),
      TfrxMasterData::StaticClass(),   TfrxDetailData::StaticClass(),    TfrxSubdetailData::StaticClass(),
      TfrxDataBand4::StaticClass(),    TfrxDataBand5::StaticClass(),     TfrxDataBand6::StaticClass(),
      TfrxGroupHeader::StaticClass(),  TfrxGroupFooter::StaticClass(),   TfrxChild::StaticClass(),
      TfrxColumnHeader::StaticClass(), TfrxColumnFooter::StaticClass(),  TfrxOverlay::StaticClass()};
  return Kind >= 0 && Kind < 18 ? table[Kind] : nullptr;
}

bool OnDotMatrixPage(TfrxBand* Band)
{
  auto* page = dynamic_cast<TfrxReportPage*>(Band->GetPage());
  return page && page->IsDotMatrix();
}

Extended SnapTo(Extended Value, Extended Cell) { return std::nearbyint(Value / Cell) * Cell; }

}  // namespace

TfrxBand::TfrxBand(TComponent* AOwner) : TfrxReportComponent(AOwner) {}

void TfrxBand::SetLeft(Extended Value)
{
  TfrxReportComponent::SetLeft(OnDotMatrixPage(this) ? SnapTo(Value, frxPage::fr1CharX) : Value);
}

void TfrxBand::SetTop(Extended Value)
{
  TfrxReportComponent::SetTop(OnDotMatrixPage(this) ? SnapTo(Value, frxPage::fr1CharY) : Value);
}

void TfrxBand::SetHeight(Extended Value)
{
  TfrxReportComponent::SetHeight(OnDotMatrixPage(this) ? SnapTo(Value, frxPage::fr1CharY) : Value);
}

AnsiString TfrxBand::DefaultBaseName() const
{
  AnsiString s = ClassName();
  if (size_t at = s.find("Tfrx"); at != AnsiString::npos) s.erase(at, 4);
  if (size_t at = s.find("Band"); at != AnsiString::npos) s.erase(at, 4);
  return s;
}

TfrxBand::~TfrxBand() { SetChild(nullptr); }

Integer TfrxBand::GetBandKind() const
{
  TClass cls = ClassType();
  for (Integer k = 17; k >= 0; --k)
    if (cls->InheritsFrom(KindTable(k))) return k;
  return 0;
}

AnsiString TfrxBand::GetClassCaption() { return frxRes::Get("obBand"); }

void TfrxBand::SetChild(TfrxChild* Value)
{
  if (FChild == Value) return;
  if (FChild) FChild->RemoveFreeNotification(this);
  FChild = Value;
  if (FChild) FChild->FreeNotification(this);
}

void TfrxBand::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxReportComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FChild) FChild = nullptr;
}

AnsiString TfrxDataBand::GetClassCaption() { return frxRes::Get("obDataBand"); }

void TfrxDataBand::SetCurColumn(Integer Value)
{
  if (Value > FColumns) Value = 1;
  FCurColumn = Value;
  if (FCurColumn == 1) ColumnMaxY = 0;
  SetLeft((FCurColumn - 1) * (FColumnWidth + FColumnGap));
}

namespace frxBands {

TClass BandKindClass(Integer Kind) { return KindTable(Kind); }

void Initialize()
{
  Classes::RegisterClasses({TfrxReportTitle::StaticClass(), TfrxReportSummary::StaticClass(),
                            TfrxPageHeader::StaticClass(), TfrxPageFooter::StaticClass(), TfrxHeader::StaticClass(),
                            TfrxFooter::StaticClass(), TfrxMasterData::StaticClass(), TfrxDetailData::StaticClass(),
                            TfrxSubdetailData::StaticClass(), TfrxDataBand4::StaticClass(),
                            TfrxDataBand5::StaticClass(), TfrxDataBand6::StaticClass(), TfrxGroupHeader::StaticClass(),
                            TfrxGroupFooter::StaticClass(), TfrxChild::StaticClass(), TfrxColumnHeader::StaticClass(),
                            TfrxColumnFooter::StaticClass(), TfrxOverlay::StaticClass(), TfrxNullBand::StaticClass()});
}

}  // namespace frxBands

// Publishing helpers for the kinds: each publishes its own selection, in this order.
#define FRX_BAND_BOOL(p, Name) p.Property(#Name, &ThisClass::Get##Name, &ThisClass::Set##Name).Default(false)
#define FRX_BAND_CHILD(p) p.Property("Child", &ThisClass::GetChild, &ThisClass::SetChild)

// Footer, group footer and child band publish the same selection.
#define FRX_FOOTER_LIKE(p)      \
  FRX_BAND_BOOL(p, AllowSplit); \
  FRX_BAND_CHILD(p);            \
  FRX_BAND_BOOL(p, KeepChild);  \
  FRX_BAND_BOOL(p, PrintChildIfInvisible)

PELTO_DEFINE_CLASS(TfrxMasterData)
PELTO_DEFINE_CLASS(TfrxDetailData)
PELTO_DEFINE_CLASS(TfrxSubdetailData)
PELTO_DEFINE_CLASS(TfrxDataBand4)
PELTO_DEFINE_CLASS(TfrxDataBand5)
PELTO_DEFINE_CLASS(TfrxDataBand6)
PELTO_DEFINE_CLASS(TfrxColumnFooter)
PELTO_DEFINE_CLASS(TfrxOverlay)
PELTO_DEFINE_CLASS(TfrxNullBand)

PELTO_DEFINE_CLASS(TfrxBand)
PELTO_PUBLISH(TfrxBand, p)
{
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont)
      .StoredWhen(TPublisher<ThisClass>::When([](const ThisClass* o) { return o->IsFontStored(); }));
  p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight);
  p.Property("Left", &ThisClass::GetLeft, &ThisClass::SetLeft);
  p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
  p.Property("Restrictions", &ThisClass::GetRestrictions, &ThisClass::SetRestrictions).Default(TfrxRestrictions{});
  p.Property("Top", &ThisClass::GetTop, &ThisClass::SetTop);
  p.Property("Vertical", &ThisClass::GetVertical, &ThisClass::SetVertical).Default(false);
  p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
  p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth);
  p.Property("OnAfterCalcHeight", &ThisClass::OnAfterCalcHeight, &ThisClass::OnAfterCalcHeight);
  p.Property("OnAfterPrint", &ThisClass::OnAfterPrint, &ThisClass::OnAfterPrint);
  p.Property("OnBeforePrint", &ThisClass::OnBeforePrint, &ThisClass::OnBeforePrint);
}

PELTO_DEFINE_CLASS(TfrxReportTitle)
PELTO_PUBLISH(TfrxReportTitle, p)
{
  FRX_BAND_CHILD(p);
  FRX_BAND_BOOL(p, KeepChild);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxReportSummary)
PELTO_PUBLISH(TfrxReportSummary, p)
{
  FRX_BAND_BOOL(p, AllowSplit);
  FRX_BAND_CHILD(p);
  FRX_BAND_BOOL(p, KeepChild);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxPageHeader)
PELTO_PUBLISH(TfrxPageHeader, p)
{
  FRX_BAND_CHILD(p);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  p.Property("PrintOnFirstPage", &ThisClass::PrintOnFirstPage, &ThisClass::PrintOnFirstPage).Default(true);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxPageFooter)
PELTO_PUBLISH(TfrxPageFooter, p)
{
  p.Property("PrintOnFirstPage", &ThisClass::PrintOnFirstPage, &ThisClass::PrintOnFirstPage).Default(true);
  p.Property("PrintOnLastPage", &ThisClass::PrintOnLastPage, &ThisClass::PrintOnLastPage).Default(true);
}

PELTO_DEFINE_CLASS(TfrxHeader)
PELTO_PUBLISH(TfrxHeader, p)
{
  FRX_BAND_BOOL(p, AllowSplit);
  FRX_BAND_CHILD(p);
  FRX_BAND_BOOL(p, KeepChild);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  p.Property("ReprintOnNewPage", &ThisClass::ReprintOnNewPage, &ThisClass::ReprintOnNewPage).Default(false);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxFooter)
PELTO_PUBLISH(TfrxFooter, p)
{
  FRX_FOOTER_LIKE(p);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxDataBand)
PELTO_PUBLISH(TfrxDataBand, p)
{
  FRX_BAND_BOOL(p, AllowSplit);
  FRX_BAND_CHILD(p);
  p.Property("Columns", &ThisClass::GetColumns, &ThisClass::SetColumns).Default(0);
  p.Property("ColumnWidth", &ThisClass::GetColumnWidth, &ThisClass::SetColumnWidth);
  p.Property("ColumnGap", &ThisClass::GetColumnGap, &ThisClass::SetColumnGap);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
  p.Property("FooterAfterEach", &ThisClass::FooterAfterEach, &ThisClass::FooterAfterEach).Default(false);
  FRX_BAND_BOOL(p, KeepChild);
  p.Property("KeepFooter", &ThisClass::KeepFooter, &ThisClass::KeepFooter).Default(false);
  p.Property("KeepHeader", &ThisClass::KeepHeader, &ThisClass::KeepHeader).Default(false);
  p.Property("KeepTogether", &ThisClass::KeepTogether, &ThisClass::KeepTogether).Default(false);
  p.Property("OutlineText", &ThisClass::GetOutlineText, &ThisClass::SetOutlineText);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  p.Property("PrintIfDetailEmpty", &ThisClass::PrintIfDetailEmpty, &ThisClass::PrintIfDetailEmpty).Default(false);
  p.Property("RowCount", &ThisClass::GetRowCount, &ThisClass::SetRowCount);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
  p.Property("OnMasterDetail", &ThisClass::OnMasterDetail, &ThisClass::OnMasterDetail);
}

PELTO_DEFINE_CLASS(TfrxGroupHeader)
PELTO_PUBLISH(TfrxGroupHeader, p)
{
  FRX_BAND_BOOL(p, AllowSplit);
  FRX_BAND_CHILD(p);
  p.Property("Condition", &ThisClass::Condition, &ThisClass::Condition);
  FRX_BAND_BOOL(p, KeepChild);
  p.Property("KeepTogether", &ThisClass::KeepTogether, &ThisClass::KeepTogether).Default(false);
  p.Property("ReprintOnNewPage", &ThisClass::ReprintOnNewPage, &ThisClass::ReprintOnNewPage).Default(false);
  p.Property("OutlineText", &ThisClass::GetOutlineText, &ThisClass::SetOutlineText);
  FRX_BAND_BOOL(p, PrintChildIfInvisible);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxGroupFooter)
PELTO_PUBLISH(TfrxGroupFooter, p)
{
  FRX_FOOTER_LIKE(p);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxChild)
PELTO_PUBLISH(TfrxChild, p)
{
  FRX_FOOTER_LIKE(p);
  FRX_BAND_BOOL(p, StartNewPage);
  FRX_BAND_BOOL(p, Stretched);
}

PELTO_DEFINE_CLASS(TfrxColumnHeader)
PELTO_PUBLISH(TfrxColumnHeader, p) { FRX_BAND_BOOL(p, Stretched); }
