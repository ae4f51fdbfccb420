#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/ComObj.h"
#include "platform/sys/ExcelAutomation.h"
#include "platform/sys/Processes.h"

namespace {

class ExcelAutomationTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ComObj::Initialize();
    Dir = AppPaths::TempDir() + "xls" + std::to_string(getpid());
    ASSERT_TRUE(SysUtils::ForceDirectories(Dir));
  }
  void TearDown() override
  {
    ComObj::Finalize();
    Processes::RunProgram("rm", {"-rf", Dir});
  }
  // One part of the saved package, read with unzip (UTF-8, as stored).
  std::string Part(const AnsiString& file, const char* part)
  {
    AnsiString out = Dir + "/part.xml";
    Processes::RunProgram("sh", {"-c", "unzip -p \"$0\" \"$1\" > \"$2\"", file, part, out});
    AnsiString data;
    SysUtils::LoadFileBytes(out, data);
    return data;
  }
  static bool Has(const std::string& xml, const std::string& what) { return xml.find(what) != std::string::npos; }
  AnsiString Dir;
};

TEST_F(ExcelAutomationTest, UnknownClassNameRaisesInvalidClassString)
{
  try {
    ComObj::CreateOleObject("Word.Application");
    FAIL();
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.Message(), "Invalid class string");
  }
  EXPECT_NO_THROW(ComObj::CreateOleObject("EXCEL.Application"));
}

TEST_F(ExcelAutomationTest, GridExportWritesTextCellsThatKeepLeadingZeros)
{
  // The calls of the grid's export, then a save.
  Variant excel = ComObj::CreateOleObject("excel.application");
  excel.Set("visible", true);
  excel.Get("workbooks").Exec("add");
  excel.Get("Cells").Set("NumberFormat", "@");
  excel.Get("cells", {1, 1}).Set("Value", "编号");
  excel.Get("cells", {1, 2}).Set("Value", "金额");
  excel.Get("cells", {2, 1}).Set("Value", "007");
  std::vector<Variant> put = {2, 2, "12.50"};  // cells(2, 2) := "12.50"
  excel.AsDispatch()->Invoke("cells", dkPropertyPut, put);
  EXPECT_EQ(excel.Get("cells", {2, 1}).Get("Value").AsString(), "007");
  AnsiString file = Dir + "/合同.xlsx";
  excel.Get("ActiveWorkbook").Exec("SaveAs", {file});
  excel.Exec("Quit");

  std::string shared = Part(file, "xl/sharedStrings.xml");
  std::string sheet = Part(file, "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(Has(shared, System::AnsiToUtf8("编号")));
  EXPECT_TRUE(Has(shared, ">007<"));
  EXPECT_TRUE(Has(shared, ">12.50<"));
  EXPECT_FALSE(Has(sheet, "<v>7</v>"));
  // The text format "@" (built-in number format 49) covers the empty cells too.
  std::string styles = Part(file, "xl/styles.xml");
  EXPECT_TRUE(Has(styles, "numFmtId=\"49\"") || Has(styles, "formatCode=\"@\"")) << styles;
  EXPECT_TRUE(Has(sheet, "<col "));
}

TEST_F(ExcelAutomationTest, ReportExportWritesStylesMergesWidthsAndPageSetup)
{
  // The calls of the report's export.
  Variant excel = ComObj::CreateOleObject("Excel.Application");
  excel.Get("Application").Set("DisplayAlerts", false);
  Variant book = excel.Get("WorkBooks").Exec("Add");
  Variant sheet = book.Get("WorkSheets", {1});
  excel.Get("ActiveSheet").Get("PageSetup").Set("LeftMargin", 10);
  sheet.Get("PageSetup").Set("Orientation", 2);
  sheet.Get("Rows").Get("Rows", {1}).Set("RowHeight", 30);
  sheet.Get("Columns").Get("Columns", {2}).Set("ColumnWidth", 25);
  sheet.Get("Rows", {3}).Set("PageBreak", -4135);
  Variant style = excel.Get("ActiveWorkbook").Get("Styles").Exec("Add", {"S0"});
  style.Get("Font").Set("Bold", -1);
  style.Get("Font").Set("Name", "宋体");
  style.Get("Font").Set("Size", 14);
  style.Get("Font").Set("Color", 0x0000FF);  // red, as BGR
  style.Get("Interior").Set("Color", 0x1FFFFFFF);
  style.Set("HorizontalAlignment", -4108);

  Variant range = sheet.Get("Range", {"A1", "C2"});
  range.Set("Style", "S0");
  range.Set("MergeCells", true);
  range.Get("Cells").Get("Borders").Get("Item", {7}).Set("Linestyle", 1);
  range.Get("Borders").Get("Item", {9}).Set("Linestyle", 1);
  EXPECT_TRUE(range.Get("MergeCells").AsBoolean());
  sheet.Get("Range", {"D3"}).Set("NumberFormat", "0.00");

  Variant values = Variants::VarArrayCreate({0, 2, 0, 3}, varVariant);
  Variants::VarArrayPut(values, "合同总额", {0, 0});
  Variants::VarArrayPut(values, 1234.5, {2, 3});
  sheet.Get("Range", {"A1", "D3"}).Set("Value", values);
  sheet.Get("Cells").Set("WrapText", true);
  // The classic binary format is refused, naming the file, before anything is written.
  EXPECT_THROW(book.Exec("SaveAs", {Dir + "/report.xls", -4143, Variant(), Variant(), Variant(), Variant(), 1}),
               EOleException);
  EXPECT_FALSE(SysUtils::FileExists(Dir + "/report.xls"));
  AnsiString file = Dir + "/report.xlsx";
  book.Exec("SaveAs", {file, 51, Variant(), Variant(), Variant(), Variant(), 1});
  EXPECT_EQ(book.Get("FullName").AsString(), file);

  std::string xml = Part(file, "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(Has(xml, "<mergeCell ref=\"A1:C2\"/>"));
  EXPECT_TRUE(Has(xml, "<col min=\"2\" max=\"2\" width=\"25.7109375\""));
  EXPECT_TRUE(Has(xml, "ht=\"30\" customHeight=\"1\""));
  EXPECT_TRUE(Has(xml, "orientation=\"landscape\""));
  EXPECT_TRUE(Has(xml, "<brk id=\"2\""));
  EXPECT_TRUE(Has(xml, "<c r=\"D3\" s=\""));
  EXPECT_TRUE(Has(xml, "<v>1234.5</v>"));
  EXPECT_TRUE(Has(xml, "left=\"0.13"));  // 10 points
  std::string styles = Part(file, "xl/styles.xml");
  EXPECT_TRUE(Has(styles, "formatCode=\"0.00\""));
  EXPECT_TRUE(Has(styles, "<b/>"));
  EXPECT_TRUE(Has(styles, "<color rgb=\"FFFF0000\"/>"));
  EXPECT_TRUE(Has(styles, System::AnsiToUtf8("宋体")));
  EXPECT_TRUE(Has(styles, "<left style=\"thin\">"));
  EXPECT_TRUE(Has(styles, "wrapText=\"1\""));
  EXPECT_FALSE(Has(styles, "patternFill patternType=\"solid\""));  // no colour means no fill
  EXPECT_TRUE(Has(Part(file, "xl/sharedStrings.xml"), System::AnsiToUtf8("合同总额")));
}

TEST_F(ExcelAutomationTest, MalformedCallsRaise)
{
  Variant excel = ComObj::CreateOleObject("excel.application");
  // No workbook yet.
  EXPECT_THROW(excel.Get("Cells"), EOleException);
  Variant sheet = excel.Get("Workbooks").Exec("Add").Get("Worksheets", {1});
  EXPECT_THROW(excel.Get("Workbooks").Exec("Add").Get("Worksheets", {2}), EOleException);
  for (const char* bad : {"", "A0", "1A", "A1:", "XFE1", "A1048577"})
    EXPECT_THROW(sheet.Get("Range", {bad}), EOleException) << bad;
  EXPECT_THROW(sheet.Get("Range", {"A1"}).Set("Style", "missing"), EOleException);
  EXPECT_THROW(sheet.Get("Range", {"A1"}).Get("NoSuchMember"), EVariantDispatchError);
  EXPECT_THROW(sheet.Get("Columns", {1}).Set("ColumnWidth", 300), EOleException);
  EXPECT_THROW(excel.Get("ActiveWorkbook").Exec("SaveAs", {Dir + "/missing/x.xlsx"}), EOleException);
  EXPECT_EQ(sheet.Get("Range", {"$B$2:A1"}).Get("Address").AsString(), "$A$1:$B$2");
  EXPECT_EQ(sheet.Get("Range", {"AA1"}).Get("Column").AsInteger(), 27);
}

TEST_F(ExcelAutomationTest, PastedPicturesAreSizedInPoints)
{
  // A 1 x 1 PNG stands in for the clipboard's picture.
  static const unsigned char png[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
      0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF,
      0x89, 0x99, 0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  TScopedFunction<ExcelAutomation::TClipboardPicture> clipboard(
      ExcelAutomation::ClipboardPictureService(), [](std::string& data, int& w, int& h) {
        data.assign(reinterpret_cast<const char*>(png), sizeof png);
        w = h = 1;
        return true;
      });
  Variant excel = ComObj::CreateOleObject("excel.application");
  Variant sheet = excel.Get("Workbooks").Exec("Add").Get("Worksheets", {1});
  sheet.Get("Range", {"B2"}).Exec("PasteSpecial", {Variant(), Variant(), Variant(), Variant()});
  sheet.Get("Pictures", {1}).Set("Width", 75);
  EXPECT_DOUBLE_EQ(sheet.Get("Pictures", {1}).Get("Width").AsDouble(), 75);
  EXPECT_DOUBLE_EQ(sheet.Get("Pictures", {1}).Get("Height").AsDouble(), 0.75);
  EXPECT_THROW(sheet.Get("Pictures", {2}), EOleException);
  AnsiString file = Dir + "/pic.xlsx";
  excel.Get("ActiveWorkbook").Exec("SaveAs", {file});
  EXPECT_EQ(Part(file, "xl/media/image1.png").size(), sizeof png);
  EXPECT_TRUE(Has(Part(file, "xl/drawings/drawing1.xml"), "<xdr:col>1</xdr:col>"));
}

TEST_F(ExcelAutomationTest, AVisibleApplicationLeftOpenShowsItsWorkbook)
{
  AnsiString shown;
  TScopedFunction<ExcelAutomation::TShowWorkbook> show(ExcelAutomation::ShowWorkbookService(),
                                                       [&shown](const AnsiString& f) { shown = f; });
  {
    Variant excel = ComObj::CreateOleObject("excel.application");
    excel.Set("Visible", true);
    excel.Get("Workbooks").Exec("Add");
    excel.Get("Cells", {1, 1}).Set("Value", "x");
  }
  ASSERT_FALSE(shown.empty());
  EXPECT_TRUE(SysUtils::FileExists(shown));
  SysUtils::DeleteFile(shown);
  shown.clear();
  {
    Variant excel = ComObj::CreateOleObject("excel.application");
    excel.Set("Visible", true);
    excel.Get("Workbooks").Exec("Add");
    excel.Exec("Quit");
  }
  EXPECT_TRUE(shown.empty());
}

}  // namespace
