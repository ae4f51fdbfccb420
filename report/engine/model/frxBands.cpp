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
