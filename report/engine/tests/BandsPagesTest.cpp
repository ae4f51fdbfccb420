// Bands and report pages: kinds, columns, paper and orientation, alignment, and a report with
// every band kind through its file.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxPaper.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxrcClass.h"

TEST(Bands, KindsFollowTheClassTable)
{
  for (Integer k = 0; k < 18; ++k) {
    std::unique_ptr<TfrxBand> b(dynamic_cast<TfrxBand*>(frxBands::BandKindClass(k)->Create(nullptr)));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetBandKind(), k) << b->ClassName();
  }
  EXPECT_EQ(frxBands::BandKindClass(18), nullptr);
  TfrxNullBand n(nullptr);
  EXPECT_EQ(n.GetBandKind(), 0);
  TfrxMasterData m(nullptr);
  EXPECT_EQ(m.GetBaseName(), "MasterData");
  TfrxDataBand4 d4(nullptr);
  EXPECT_EQ(d4.GetBaseName(), "Data4");
  TfrxPageFooter f(nullptr);
  EXPECT_TRUE(f.PrintOnFirstPage && f.PrintOnLastPage);
}

TEST(Bands, DataColumnsMoveTheBand)
{
  TfrxMasterData b(nullptr);
  b.SetColumns(3);
  b.SetColumnWidth(200);
  b.SetColumnGap(10);
  b.ColumnMaxY = 55;
  b.SetCurColumn(3);
  EXPECT_EQ(b.GetLeft(), 420);
  EXPECT_EQ(b.ColumnMaxY, 55);
  b.SetCurColumn(4);
  EXPECT_EQ(b.GetCurColumn(), 1);
  EXPECT_EQ(b.GetLeft(), 0);
  EXPECT_EQ(b.ColumnMaxY, 0);
}

TEST(Bands, FreeingTheChildBandClearsTheReference)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  auto* header = new TfrxHeader(page);
  auto* child = new TfrxChild(page);
  header->SetChild(child);
  delete child;
  EXPECT_EQ(header->GetChild(), nullptr);
  // Outside a report too.
  TfrxReportTitle title(nullptr);
  auto* lone = new TfrxChild(nullptr);
  title.SetChild(lone);
  delete lone;
  EXPECT_EQ(title.GetChild(), nullptr);
}

TEST(ReportPage, PaperOrientationAndColumns)
{
  TfrxReportPage p(nullptr);
  EXPECT_EQ(p.GetPaperSize(), 9);
  EXPECT_EQ(p.GetPaperWidth(), 210);
  EXPECT_EQ(p.GetPaperHeight(), 297);
  EXPECT_EQ(p.GetWidth(), 794);
  EXPECT_EQ(p.GetHeight(), 1123);
  p.LeftMargin = 1;
  p.TopMargin = 2;
  p.RightMargin = 3;
  p.BottomMargin = 4;
  p.SetOrientation(poLandscape);
  p.SetOrientation(poLandscape);
  EXPECT_EQ(p.GetPaperWidth(), 297);
  EXPECT_EQ(p.GetWidth(), 1123);
  EXPECT_EQ(p.LeftMargin, 2);
  EXPECT_EQ(p.RightMargin, 4);
  EXPECT_EQ(p.TopMargin, 3);
  EXPECT_EQ(p.BottomMargin, 1);
  p.SetOrientation(poPortrait);
  EXPECT_EQ(p.LeftMargin, 1);
  EXPECT_EQ(p.TopMargin, 2);
  EXPECT_EQ(p.GetPaperWidth(), 210);
  p.SetPaperWidth(100);
  EXPECT_EQ(p.GetPaperSize(), 256);
  p.SetPaperSize(9);
  EXPECT_EQ(p.GetPaperWidth(), 210);
  p.SetPaperSize(48);  // not in the table: the size stays
  EXPECT_EQ(p.GetPaperWidth(), 210);
  p.SetOrientation(poLandscape);
  p.SetPaperSize(11);  // A5 turned
  EXPECT_EQ(p.GetPaperWidth(), 210);
  EXPECT_EQ(p.GetPaperHeight(), 148);

  TfrxReportPage c(nullptr);
  c.SetDefaults();
  c.SetColumns(2);
  EXPECT_EQ(c.GetColumnWidth(), 95);
  EXPECT_EQ(c.GetColumnPositions()->GetText(), "0\r\n95\r\n");
  c.SetColumns(0);
  EXPECT_EQ(c.GetColumnPositions()->GetCount(), 0);
}

TEST(ReportPage, DefaultsComeFromThePrinterSeam)
{
  TfrxReportPage p(nullptr);
  {
    TScopedFunction<frxPrinter::TDefaultPaper()> paper(frxPrinter::DefaultPaperService(), [] {
      return frxPrinter::TDefaultPaper{1, 215.9, 279.4, true};
    });
    p.SetDefaults();
  }
  EXPECT_EQ(p.GetPaperSize(), 1);
  EXPECT_EQ(p.GetOrientation(), poLandscape);
  EXPECT_EQ(p.LeftMargin, 10);
  EXPECT_EQ(p.GetWidth(), 816);
}

TEST(ReportPage, AlignChildrenSizesBandsToThePrintableArea)
{
  TfrxReportPage p(nullptr);
  p.SetDefaults();
  auto* band = new TfrxMasterData(&p);
  band->SetLeft(10);
  auto* column = new TfrxMasterData(&p);
  column->SetVertical(true);
  column->SetTop(20);
  p.AlignChildren();
  EXPECT_EQ(p.GetWidth(), 794);
  EXPECT_NEAR(static_cast<double>(band->GetWidth()), 190 * 3.77953 - 10, 1e-6);
  EXPECT_NEAR(static_cast<double>(column->GetHeight()), 277 * 3.77953 - 20, 1e-6);
  EXPECT_EQ(p.FindBand(TfrxDataBand::StaticClass()), band);
  EXPECT_EQ(p.FindBand(TfrxHeader::StaticClass()), nullptr);
}

TEST(ReportPage, PaperTableHoldsItsSixtySixPapers)
{
  int n = 0;
  for (Integer i = 0; i < 300; ++i) {
    Extended w = 0, h = 0;
    n += frxPrinter::GetPaperDimensions(i, w, h);
  }
  EXPECT_EQ(n, 66);
  Extended w = -1, h = -1;
  EXPECT_FALSE(frxPrinter::GetPaperDimensions(49, w, h));
  EXPECT_EQ(w, -1);
  EXPECT_TRUE(frxPrinter::GetPaperDimensions(68, w, h));
  EXPECT_EQ(w, 322);
  EXPECT_EQ(h, 445);
}

namespace {

AnsiString SaveReport(TfrxReport& r)
{
  TStringStream s;
  r.SaveToStream(&s);
  return s.GetDataString();
}

}  // namespace

TEST(ReportFile, EveryBandKindRoundTrips)
{
  frxrcClass::Initialize();
  frxClass::Initialize();
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  page->SetDefaults();
  page->SetColumns(2);
  page->GetHGuides()->SetText("10\r\n20\r\n");
  Extended top = 0;
  for (Integer k = 0; k < 18; ++k) {
    auto* b = dynamic_cast<TfrxBand*>(frxBands::BandKindClass(k)->Create(page));
    b->CreateUniqueName();
    b->SetBounds(0, top, 718.11, 18.9);
    top += 20;
  }
  auto* header = dynamic_cast<TfrxHeader*>(page->FindBand(TfrxHeader::StaticClass()));
  auto* child = dynamic_cast<TfrxChild*>(page->FindBand(TfrxChild::StaticClass()));
  header->SetChild(child);
  header->SetStretched(true);
  auto* group = dynamic_cast<TfrxGroupHeader*>(page->FindBand(TfrxGroupHeader::StaticClass()));
  group->Condition = "<frxDBDataset1.\"Code\">";
  auto* master = dynamic_cast<TfrxMasterData*>(page->FindBand(TfrxMasterData::StaticClass()));
  master->SetDataSetName("合同");
  master->SetRowCount(5);
  master->OnBeforePrint = "MasterData1OnBeforePrint";
  auto* page2 = new TfrxReportPage(&report);
  page2->SetName("Page2");
  page2->SetOrientation(poLandscape);
  page2->Duplex = dmVertical;

  AnsiString first = SaveReport(report);
  EXPECT_NE(first.find("<TfrxHeader Name=\"Header1\" Height=\"18.9\" Left=\"0\" Top=\"80\""
                       " Width=\"718.11\" Child=\"Child1\" Stretched=\"True\"/>"),
            AnsiString::npos)
      << first;
  // The page takes the report's font, so none is stored.
  EXPECT_NE(
      first.find("<TfrxReportPage Name=\"Page2\" Orientation=\"poLandscape\" PaperWidth=\"297\" PaperHeight=\"210\""
                 " PaperSize=\"9\" LeftMargin=\"0\" RightMargin=\"0\" TopMargin=\"0\""
                 " BottomMargin=\"0\" ColumnWidth=\"0\" ColumnPositions.Text=\"\""
                 " Duplex=\"dmVertical\" HGuides.Text=\"\" VGuides.Text=\"\"/>"),
      AnsiString::npos)
      << first;
  EXPECT_NE(first.find("ColumnPositions.Text=\"0&#13;&#10;95\""), AnsiString::npos);

  TfrxReport copy(nullptr);
  TStringStream in(first);
  copy.LoadFromStream(&in);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0) << copy.GetErrors()->GetText();
  auto* h2 = dynamic_cast<TfrxHeader*>(copy.FindObject("Header1"));
  ASSERT_TRUE(h2);
  EXPECT_EQ(h2->GetChild(), copy.FindObject("Child1"));
  auto* p2 = dynamic_cast<TfrxReportPage*>(copy.FindObject("Page1"));
  ASSERT_TRUE(p2);
  EXPECT_EQ(p2->GetObjects().size(), 18u);
  EXPECT_EQ(p2->GetColumns(), 2);
  EXPECT_EQ(p2->GetColumnPositions()->GetCount(), 2);
  EXPECT_EQ(dynamic_cast<TfrxReportPage*>(copy.FindObject("Page2"))->GetOrientation(), poLandscape);
  EXPECT_EQ(SaveReport(copy), first);
}
