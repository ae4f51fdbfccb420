// The Excel export: the sample's workbook read back with openpyxl (texts, merged ranges, column
// widths, row heights, page breaks, margins, pictures); column names, text clean-up, opening after
// export, and a failed save through the save seam.
#include <gtest/gtest.h>

#include <regex>

#include "platform/rtl/tests/SaveFaultTable.h"
#include "platform/sys/ExcelAutomation.h"
#include "report/engine/export/frxExportXLS.h"
#include "report/engine/export/tests/ExportFixture.h"

namespace {

using ExportTests::RunTool;
using ExportTests::U8;

// Prints what the tests look at, one fact a line.
const char* const kReader = R"(
import sys, zipfile, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
for row in ws.iter_rows():
    for c in row:
        if c.value is not None:
            print("cell", c.coordinate, repr(c.value))
for r in ws.merged_cells.ranges:
    print("merged", r.coord)
for k, d in sorted(ws.column_dimensions.items()):
    if d.width:
        print("width", k, d.width)
print("maxheight", max([d.height or 0 for d in ws.row_dimensions.values()] + [0]))
print("breaks", len(ws.row_breaks.brk))
m = ws.page_margins
print("margins %.4f %.4f %.4f %.4f" % (m.left, m.right, m.top, m.bottom))
print("orientation", ws.page_setup.orientation)
print("images", len([n for n in zipfile.ZipFile(sys.argv[1]).namelist() if n.startswith("xl/media/")]))
)";

class XLSExportTest : public ExportFixture {
protected:
  AnsiString Export(const std::string& Name, bool Merge = true)
  {
    TfrxXLSExport xls(nullptr);
    xls.ShowDialog = false;
    xls.MergeCells = Merge;
    xls.FileName = File(Name);
    EXPECT_TRUE(Pages()->Export(&xls));
    return xls.FileName;
  }
  std::string Read(const AnsiString& File)
  {
    SaveFaultTable::WriteBytes(Dir / "read.py", kReader);
    auto r = RunTool("/usr/bin/python3 '" + (Dir / "read.py").string() + "' '" + std::string(File) + "'");
    // Debian's python3 with its python3-openpyxl package.
    EXPECT_EQ(r.Status, 0) << "/usr/bin/python3 with openpyxl could not read " << File;
    return r.Out;
  }
};

TEST_F(XLSExportTest, TheSampleReadsBackWithOpenpyxl)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  AnsiString file = Export("sample.xls");
  // Written as an Open XML workbook under its own extension.
  EXPECT_EQ(file, File("sample.xlsx"));
  EXPECT_FALSE(std::filesystem::exists(Dir / "sample.xls"));
  Keep(file, "export-sample.xlsx");
  std::string out = Read(file);
  for (const char* want : {"'合同管理报表'", "'客户: 甲公司 Ltd.'", "'金额合计\\n12,345.00'",
                           "'Contract {north} \\\\ (total)'", "'第8行 row 8'", "'第二页 A5 landscape'"})
    EXPECT_NE(out.find(U8(want)), std::string::npos) << U8(want) << " missing from:\n" << out;
  EXPECT_NE(out.find("merged "), std::string::npos) << out;
  EXPECT_NE(out.find("width "), std::string::npos) << out;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(out, m, std::regex(R"(maxheight ([0-9.]+))")));
  EXPECT_LE(std::stod(m[1]), 409);
  // A break after each of the two pages; 10 mm margins as inches; the picture, the barcode and the
  // rotated memo.
  EXPECT_NE(out.find("breaks 2\n"), std::string::npos) << out;
  EXPECT_NE(out.find("margins 0.3937 0.3937 0.3937 0.3937"), std::string::npos) << out;
  EXPECT_EQ(out.find("orientation landscape"), std::string::npos) << out;
  EXPECT_NE(out.find("images 3\n"), std::string::npos) << out;
}

TEST_F(XLSExportTest, ATallObjectSpansRowsNoTallerThan409Points)
{
  auto* page = NewPage();
  TfrxMemoView* tall = Memo(Band<TfrxReportTitle>(page, "T", 0, 650), "tall", 0, 100, 0, 600);
  tall->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftTop};
  ASSERT_TRUE(Prepare());
  for (bool merge : {true, false}) {
    std::string out = Read(Export(merge ? "merged.xlsx" : "plain.xlsx", merge));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(out, m, std::regex(R"(maxheight ([0-9.]+))")));
    EXPECT_LE(std::stod(m[1]), 409);
    EXPECT_GE(std::stod(m[1]), 400);  // 535.79 pixels a row
    EXPECT_EQ(out.find("merged ") != std::string::npos, merge) << out;
    EXPECT_NE(out.find("cell A1 'tall'"), std::string::npos) << out;
  }
}

TEST(XLSNamesTest, ColumnLettersAndCleanText)
{
  struct {
    Integer N;
    const char* Letters;
  } columns[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {18278, "ZZZ"}};
  for (const auto& c : columns) EXPECT_EQ(TfrxExcel::ColumnLetters(c.N), c.Letters) << c.N;
  EXPECT_EQ(TfrxExcel::CellName(28, 3), "AB3");
  struct {
    const char* In;
    const char* Out;
  } texts[] = {{"a\r\nb\r\n\r\n", "a\nb"}, {"\1x\n", "x"}, {"\n\n", ""}, {"", ""}};
  for (const auto& t : texts) EXPECT_EQ(TfrxXLSExport::CleanText(t.In), t.Out) << t.In;
}

TEST_F(XLSExportTest, OpenAfterExportShowsTheSavedWorkbook)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "T", 0), "合同");
  ASSERT_TRUE(Prepare());
  AnsiString shown;
  TScopedFunction<ExcelAutomation::TShowWorkbook> show(ExcelAutomation::ShowWorkbookService(),
                                                       [&shown](const AnsiString& f) { shown = f; });
  TfrxXLSExport xls(nullptr);
  xls.ShowDialog = false;
  xls.OpenExcelAfterExport = true;
  xls.FileName = File("open.xlsx");
  Pages()->Export(&xls);
  EXPECT_EQ(shown, File("open.xlsx"));
}

TEST_F(XLSExportTest, AFailedSaveKeepsThePreviousWorkbook)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "T", 0), "合同");
  ASSERT_TRUE(Prepare());
  RunSaveFaults<TfrxXLSExport>(U8("报表.xlsx"), U8("报表.xlsx"), "PK old workbook",
                               [](const std::string& b) { return b.rfind("PK", 0) == 0 && b.size() > 1000; });
}

}  // namespace
