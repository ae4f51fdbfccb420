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
