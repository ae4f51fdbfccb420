// The PDF export of the sample report, read back with Debian's tools (qpdf, pdffonts, pdftotext,
// pdfinfo), the text operators of the page content, and a failed write through the save seam.
#include <gtest/gtest.h>

#include <regex>

#include "platform/rtl/tests/SaveFaultTable.h"
#include "report/engine/export/frxExportPDF.h"
#include "report/engine/export/tests/ExportFixture.h"
#include "report/engine/pdf/frxPDFPageContent.h"

namespace {

using ExportTests::RunTool;
using ExportTests::U8;

class PDFExportTest : public ExportFixture {
protected:
  AnsiString Export(const std::string& Name, bool Compressed, bool Embedded = false)
  {
    TfrxPDFExport pdf(nullptr);
    pdf.ShowDialog = false;
    pdf.Compressed = Compressed;
    pdf.EmbeddedFonts = Embedded;
    pdf.FileName = File(Name);
    EXPECT_TRUE(Pages()->Export(&pdf));
    return pdf.FileName;
  }
};

TEST_F(PDFExportTest, AnEmptyFileNameExportsNothing)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "T", 0), "x");
  ASSERT_TRUE(Prepare());
  TfrxPDFExport pdf(nullptr);
  pdf.ShowDialog = false;
  EXPECT_TRUE(Pages()->Export(&pdf));
  EXPECT_TRUE(std::filesystem::is_empty(Dir));
}

TEST_F(PDFExportTest, TheSampleOpensInTheToolsCompressedOrNot)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  for (bool compressed : {true, false}) {
    SCOPED_TRACE(compressed ? "compressed" : "uncompressed");
    AnsiString file = Export(compressed ? "sample.pdf" : "plain.pdf", compressed);
    Keep(file, compressed ? "export-sample.pdf" : "export-sample-plain.pdf");
    std::string q = "'" + file + "'";
    EXPECT_EQ(RunTool("qpdf --check " + q).Status, 0) << "qpdf --check " << file;

    // The Chinese face: a Type0 font over an embedded subset, also with EmbeddedFonts off.
    auto fonts = RunTool("pdffonts " + q);
    ASSERT_EQ(fonts.Status, 0) << "pdffonts";
    std::regex chinese(R"([A-Z]{6}\+WenQuanYiZenHei(,Bold)?\s+CID TrueType\s+Identity-H\s+yes\s+yes\s+yes)");
    EXPECT_TRUE(std::regex_search(fonts.Out, chinese)) << fonts.Out;

    auto text = RunTool("pdftotext -enc UTF-8 -layout " + q + " -");
    ASSERT_EQ(text.Status, 0) << "pdftotext";
    for (const char* want : {"合同管理报表", "客户: 甲公司 Ltd.", "Contract {north} \\ (total)", "金额合计",
                             "12,345.00", "第8行 row 8", "第二页 A5 landscape"})
      EXPECT_NE(text.Out.find(U8(want)), std::string::npos) << U8(want) << " missing from:\n" << text.Out;

    // "Contract" sits at the page's left margin (10 mm) and the memo's gap, plus the PDF page's
    // margin offset (10 mm x 0.5 points): (37.795 + 2) x 0.75 + 5 points from the left; its top
    // 40 pixels below the top margin.
    auto boxes = RunTool("pdftotext -bbox -f 1 -l 1 " + q + " -");
    std::smatch m;
    std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">Contract</word>)re");
    ASSERT_TRUE(std::regex_search(boxes.Out, m, word)) << boxes.Out;
    double x = std::stod(m[1]), yMin = std::stod(m[2]), yMax = std::stod(m[3]);
    EXPECT_NEAR(x, (37.795 + 2) * 0.75 + 5, 1.5);
    double memoTop = (37.795 + 40) * 0.75 + 5, memoBottom = memoTop + 20 * 0.75;
    EXPECT_GE(yMin, memoTop - 1);
    EXPECT_LE(yMax, memoBottom + 1);

    auto info = RunTool("pdfinfo -f 1 -l 2 " + q);
    // The pages' pixels (794 x 1123 and 794 x 559) times 0.75.
    EXPECT_NE(info.Out.find("Page    1 size:  595.5 x 842.25"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("Page    2 size:  595.5 x 419.25"), std::string::npos) << info.Out;
  }
}

TEST_F(PDFExportTest, EmbeddedFontsCarryTheWholeLatinFace)
{
  auto* page = NewPage();
  auto* band = Band<TfrxReportTitle>(page, "T", 0);
  TfrxMemoView* m = Memo(band, "Times text", 0, 300);
  m->GetFont()->SetName("Times New Roman");
  m->GetFont()->SetStyle(TFontStyles{fsBold, fsItalic});
  ASSERT_TRUE(Prepare());
  AnsiString file = Export("times.pdf", false, true);
  EXPECT_EQ(RunTool("qpdf --check '" + file + "'").Status, 0);
  auto fonts = RunTool("pdffonts '" + file + "'");
  EXPECT_TRUE(std::regex_search(fonts.Out, std::regex(R"(Times New Roman,BoldItalic\s+TrueType\s+\S+\s+yes\s+no)")))
      << fonts.Out;
  std::string bytes = SaveFaultTable::ReadBytes(file.c_str());
  EXPECT_NE(bytes.find("/BaseFont /Times#20New#20Roman,BoldItalic"), std::string::npos);
  // Widths of every code from the first to the last.
  std::smatch m1;
  ASSERT_TRUE(
      std::regex_search(bytes, m1, std::regex(R"(/FirstChar (\d+)\r\n/LastChar (\d+)\r\n/Widths \[([^\]]*)\])")));
  int first = std::stoi(m1[1]), last = std::stoi(m1[2]);
  std::string widths = m1[3];
  EXPECT_EQ(std::count(widths.begin(), widths.end(), ' '), last - first + 1);
  EXPECT_NE(bytes.find("(Times text) Tj"), std::string::npos);
  EXPECT_EQ(RunTool("pdftotext '" + file + "' -").Out.find("Times text"), 0u);
}

TEST_F(PDFExportTest, AFailedWriteKeepsThePreviousFile)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  RunSaveFaults<TfrxPDFExport>(
      U8("合同.pdf"), U8("合同.pdf"), "%PDF-1.3 the previous export",
      [](const std::string& b) { return b.rfind("%PDF-1.3", 0) == 0 && b.find("%%EOF") != std::string::npos; });
}

TEST(PDFPageContentTest, EscapingAndLinePositions)
{
  using namespace frxPDFPageContent;
  struct {
    const char* In;
    const char* Out;
  } escapes[] = {{"a(b)c\\", "a\\(b\\)c\\\\"}, {"x\1y\r\n", "xy"}, {"two\r\n\r\n", "two\r\n"}, {"", ""}};
  for (const auto& e : escapes) EXPECT_EQ(EscapeText(e.In), e.Out) << e.In;
  // Three lines 10 apart in a 100-pixel area from 20: top, bottom and centre.
  EXPECT_EQ(TextTop(vaTop, 3, 0, 100, 20, 10), 30);
  EXPECT_EQ(TextTop(vaBottom, 3, 2, 100, 20, 10), 120);
  EXPECT_EQ(TextTop(vaBottom, 3, 0, 100, 20, 10), 100);
  EXPECT_EQ(TextTop(vaCenter, 3, 0, 100, 20, 10), 65);
  EXPECT_EQ(TextLeft(40, haRight, 100, 10), 70);
  EXPECT_EQ(TextLeft(40, haCenter, 100, 10), 40);
  EXPECT_EQ(ColorToPDF(0x0000FF, false), "1 0 0 rg");
  EXPECT_EQ(ColorToPDF(static_cast<TColor>(0x1FFFFFFF), true), "1 1 1 RG");
  EXPECT_EQ(ColorToPDF(0x404040, true), "0.25 0.25 0.25 RG");
  EXPECT_EQ(Num(-0.00001), "0.0000");
  EXPECT_EQ(Num(12.5), "12.5000");
}

}  // namespace
