#include "report/engine/model/frxPage.h"

#include <cmath>

#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPaper.h"
#include "report/engine/model/frxRes.h"

using frxPage::fr01cm;

TfrxReportPage::TfrxReportPage(TComponent* AOwner)
    : TfrxPage(AOwner), FColumnPositions(std::make_unique<TStringList>()), FHGuides(std::make_unique<TStringList>()),
      FVGuides(std::make_unique<TStringList>())
{
  SetPaperSize(9);
}

TfrxReportPage::~TfrxReportPage() { Clear(); }

AnsiString TfrxReportPage::GetClassCaption() { return frxRes::Get("obRepPage"); }

void TfrxReportPage::UpdateDimensions()
{
  SetWidth(std::nearbyint(FPaperWidth * fr01cm));
  SetHeight(std::nearbyint(FPaperHeight * fr01cm));
}

void TfrxReportPage::SetPaperDimensions(Extended PaperWidth, Extended PaperHeight)
{
  FPaperWidth = PaperWidth;
  FPaperHeight = PaperHeight;
  UpdateDimensions();
}

void TfrxReportPage::SetPaperWidth(Extended Value)
{
  FPaperWidth = Value;
  FPaperSize = 256;
  UpdateDimensions();
}

void TfrxReportPage::SetPaperHeight(Extended Value)
{
  FPaperHeight = Value;
  FPaperSize = 256;
  UpdateDimensions();
}

void TfrxReportPage::SetPaperSize(Integer Value)
{
  FPaperSize = Value;
  if (Value < 256) {
    Extended w = FPaperWidth, h = FPaperHeight;
    if (frxPrinter::GetPaperDimensions(Value, w, h)) {
      if (FOrientation == poLandscape) std::swap(w, h);
      FPaperWidth = w;
      FPaperHeight = h;
    }
  }
  UpdateDimensions();
}

void TfrxReportPage::SetOrientation(TPrinterOrientation Value)
{
  if (FOrientation == Value) return;
  FOrientation = Value;
  std::swap(FPaperWidth, FPaperHeight);
  Extended l = LeftMargin, r = RightMargin, t = TopMargin, b = BottomMargin;
  if (Value == poLandscape) {
    LeftMargin = t;
    RightMargin = b;
    TopMargin = r;
    BottomMargin = l;
  } else {
    LeftMargin = b;
    RightMargin = t;
    TopMargin = l;
    BottomMargin = r;
  }
  UpdateDimensions();
}

void TfrxReportPage::SetDefaults()
{
  LeftMargin = RightMargin = TopMargin = BottomMargin = 10;
  frxPrinter::TDefaultPaper d = frxPrinter::DefaultPaper();
  FPaperSize = d.Paper;
  FPaperWidth = d.Width;
  FPaperHeight = d.Height;
  FOrientation = d.Landscape ? poLandscape : poPortrait;
  UpdateDimensions();
}

void TfrxReportPage::SetColumns(Integer Value)
{
  FColumns = Value;
  FColumnPositions->Clear();
  if (Value <= 0) return;
  FColumnWidth = (FPaperWidth - LeftMargin - RightMargin) / Value;
  for (Integer i = 0; i < Value; ++i)
    FColumnPositions->Add(SysUtils::FloatToStr(static_cast<double>(i * FColumnWidth)));
}

void TfrxReportPage::SetColumnPositions(TStringList* Value) { FColumnPositions->Assign(Value); }
void TfrxReportPage::SetHGuides(TStringList* Value) { FHGuides->Assign(Value); }
void TfrxReportPage::SetVGuides(TStringList* Value) { FVGuides->Assign(Value); }

void TfrxReportPage::ClearGuides()
{
  FHGuides->Clear();
  FVGuides->Clear();
}

void TfrxReportPage::AlignChildren()
{
  SetWidth((FPaperWidth - LeftMargin - RightMargin) * fr01cm);
  TfrxPage::AlignChildren();
  for (TfrxComponent* c : GetObjects()) {
    auto* band = dynamic_cast<TfrxBand*>(c);
    if (!band) continue;
    if (band->GetVertical())
      band->SetHeight((FPaperHeight - TopMargin - BottomMargin) * fr01cm - band->GetTop());
    else
      band->SetWidth(GetWidth() - band->GetLeft());
    band->AlignChildren();
  }
  UpdateDimensions();
}

TfrxBand* TfrxReportPage::FindBand(TClass BandClass) const
{
  for (TfrxComponent* c : GetObjects())
    if (c->ClassType()->InheritsFrom(BandClass)) return dynamic_cast<TfrxBand*>(c);
  return nullptr;
}

PELTO_DEFINE_CLASS(TfrxPage)
PELTO_PUBLISH(TfrxPage, p)
{
  p.Property("Font", &TfrxPage::GetFont, &TfrxPage::SetFont)
      .StoredWhen(TPublisher<TfrxPage>::When([](const TfrxPage* o) { return o->IsFontStored(); }));
  p.Property("Visible", &TfrxPage::GetVisible, &TfrxPage::SetVisible).Default(true);
}

PELTO_DEFINE_CLASS(TfrxReportPage)
PELTO_PUBLISH(TfrxReportPage, p)
{
  p.Property("Orientation", &ThisClass::GetOrientation, &ThisClass::SetOrientation).Default(poPortrait);
  p.Property("PaperWidth", &ThisClass::GetPaperWidth, &ThisClass::SetPaperWidth);
  p.Property("PaperHeight", &ThisClass::GetPaperHeight, &ThisClass::SetPaperHeight);
  p.Property("PaperSize", &ThisClass::GetPaperSize, &ThisClass::SetPaperSize);
  p.Property("LeftMargin", &ThisClass::LeftMargin, &ThisClass::LeftMargin);
  p.Property("RightMargin", &ThisClass::RightMargin, &ThisClass::RightMargin);
  p.Property("TopMargin", &ThisClass::TopMargin, &ThisClass::TopMargin);
  p.Property("BottomMargin", &ThisClass::BottomMargin, &ThisClass::BottomMargin);
  p.Property("MirrorMargins", &ThisClass::MirrorMargins, &ThisClass::MirrorMargins).Default(false);
  p.Property("Columns", &ThisClass::GetColumns, &ThisClass::SetColumns).Default(0);
  p.Property("ColumnWidth", &ThisClass::GetColumnWidth, &ThisClass::SetColumnWidth);
  p.Property("ColumnPositions", &ThisClass::GetColumnPositions, &ThisClass::SetColumnPositions);
  p.Property("Bin", &ThisClass::Bin, &ThisClass::Bin).Default(7);
  p.Property("BinOtherPages", &ThisClass::BinOtherPages, &ThisClass::BinOtherPages).Default(7);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("DataSetName", &ThisClass::DataSetName, &ThisClass::DataSetName);
  p.Property("Duplex", &ThisClass::Duplex, &ThisClass::Duplex).Default(dmNone);
  p.Property("LargeDesignHeight", &ThisClass::LargeDesignHeight, &ThisClass::LargeDesignHeight).Default(false);
  p.Property("OutlineText", &ThisClass::OutlineText, &ThisClass::OutlineText);
  p.Property("PrintIfEmpty", &ThisClass::PrintIfEmpty, &ThisClass::PrintIfEmpty).Default(true);
  p.Property("PrintOnPreviousPage", &ThisClass::PrintOnPreviousPage, &ThisClass::PrintOnPreviousPage).Default(false);
  p.Property("TitleBeforeHeader", &ThisClass::TitleBeforeHeader, &ThisClass::TitleBeforeHeader).Default(true);
  p.Property("HGuides", &ThisClass::GetHGuides, &ThisClass::SetHGuides);
  p.Property("VGuides", &ThisClass::GetVGuides, &ThisClass::SetVGuides);
  p.Property("OnAfterPrint", &ThisClass::OnAfterPrint, &ThisClass::OnAfterPrint);
  p.Property("OnBeforePrint", &ThisClass::OnBeforePrint, &ThisClass::OnBeforePrint);
  p.Property("OnManualBuild", &ThisClass::OnManualBuild, &ThisClass::OnManualBuild);
}
