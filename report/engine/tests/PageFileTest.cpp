// What a report page writes to a report file: its defaults stay out, everything else is
// written in declaration order, and reading it back restores the page.
#include <gtest/gtest.h>

#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxrcClass.h"
#include "report/engine/serialize/frxXMLSerializer.h"

namespace {

AnsiString Written(TfrxReportPage* Page, bool Defaults = false)
{
  TfrxXMLSerializer w(nullptr);
  w.SetWriteDefaults(Defaults);
  return w.WriteProperties(Page);
}

}  // namespace

TEST(ReportPageFile, DefaultsAreLeftOutAndTheRestReadsBack)
{
  frxrcClass::Initialize();
  // A new page: the paper number is always written (it has no declared default), the sizes as
  // floats and the string lists even when empty; Bin, BinOtherPages, Color, Duplex and the
  // Booleans at their defaults are not.
  TfrxReportPage fresh(nullptr);
  EXPECT_EQ(Written(&fresh),
            " PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\" LeftMargin=\"0\" RightMargin=\"0\""
            " TopMargin=\"0\" BottomMargin=\"0\" ColumnWidth=\"0\" ColumnPositions.Text=\"\""
            " HGuides.Text=\"\" VGuides.Text=\"\"");

  struct {
    const char* What;
    void (*Change)(TfrxReportPage*);
    const char* Attribute;  // what the change adds to the file
  } const cases[] = {
      {"landscape", [](TfrxReportPage* p) { p->SetOrientation(poLandscape); }, " Orientation=\"poLandscape\""},
      {"bin", [](TfrxReportPage* p) { p->Bin = 15; }, " Bin=\"15\""},
      {"other bin", [](TfrxReportPage* p) { p->BinOtherPages = 1; }, " BinOtherPages=\"1\""},
      {"colour", [](TfrxReportPage* p) { p->Color = 0xFFFFFF; }, " Color=\"16777215\""},
      {"duplex", [](TfrxReportPage* p) { p->Duplex = dmVertical; }, " Duplex=\"dmVertical\""},
      {"mirror", [](TfrxReportPage* p) { p->MirrorMargins = true; }, " MirrorMargins=\"True\""},
      {"empty", [](TfrxReportPage* p) { p->PrintIfEmpty = false; }, " PrintIfEmpty=\"False\""},
      {"title", [](TfrxReportPage* p) { p->TitleBeforeHeader = false; }, " TitleBeforeHeader=\"False\""},
      {"invisible", [](TfrxReportPage* p) { p->SetVisible(false); }, " Visible=\"False\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TfrxReportPage page(nullptr);
    c.Change(&page);
    AnsiString text = Written(&page);
    EXPECT_NE(text.find(c.Attribute), AnsiString::npos) << text;
    TfrxReportPage back(nullptr);
    TfrxXMLSerializer r(nullptr);
    r.ReadProperties(text, &back);
    EXPECT_EQ(Written(&back), text);
  }

  // A custom paper in landscape reads back with its own size, not the table's.
  TfrxReportPage custom(nullptr);
  custom.SetOrientation(poLandscape);
  custom.SetPaperWidth(100);
  custom.SetPaperHeight(150);
  custom.LeftMargin = 5;
  TfrxReportPage back(nullptr);
  TfrxXMLSerializer r(nullptr);
  r.ReadProperties(Written(&custom), &back);
  EXPECT_EQ(back.GetPaperSize(), 256);
  EXPECT_EQ(back.GetPaperWidth(), 100);
  EXPECT_EQ(back.GetPaperHeight(), 150);
  EXPECT_EQ(back.LeftMargin, 5);
  EXPECT_EQ(back.GetOrientation(), poLandscape);

  // With the defaults written, every ordinal and empty string appears.
  AnsiString all = Written(&fresh, true);
  for (const char* a : {" Visible=\"True\"", " Orientation=\"poPortrait\"", " Bin=\"7\"", " BinOtherPages=\"7\"",
                        " Color=\"536870911\"", " Duplex=\"dmNone\"", " DataSetName=\"\""})
    EXPECT_NE(all.find(a), AnsiString::npos) << a;
}
