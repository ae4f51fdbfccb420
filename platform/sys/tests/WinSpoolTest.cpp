#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Processes.h"
#include "platform/sys/WinSpool.h"
#include "platform/testsupport/FakeCups.h"

namespace {

using namespace WinSpool;

class WinSpoolTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Dir = AppPaths::TempDir() + "打印" + std::to_string(getpid());
    ASSERT_TRUE(SysUtils::ForceDirectories(Dir));
    SetPdfFolder(Dir + "/pdf");
  }
  void TearDown() override
  {
    SetPdfFolder("");
    Processes::RunProgram("rm", {"-rf", Dir});
  }
  // pdfinfo's report of the given pages (UTF-8 as printed).
  std::string PdfInfo(const AnsiString& file, int last = 1)
  {
    AnsiString out = Dir + "/info.txt";
    Processes::RunProgram("sh", {"-c", "pdfinfo -f 1 -l \"$1\" \"$0\" > \"$2\" 2>&1", file, std::to_string(last), out});
    AnsiString data;
    SysUtils::LoadFileBytes(out, data);
    return data;
  }
  // Page n's size in points as pdfinfo reads it; {0, 0} when it does not list the page.
  static std::pair<double, double> PageSize(const std::string& info, int n)
  {
    char key[32];
    std::snprintf(key, sizeof key, "Page %4d size:", n);
    size_t p = info.find(key);
    if (p == std::string::npos) return {0, 0};
    double w = 0, h = 0;
    std::sscanf(info.c_str() + p + std::strlen(key), " %lf x %lf", &w, &h);
    return {w, h};
  }
  // Whole device pixels at 600 dpi put a page within 0.06 pt of its paper.
  static void ExpectSize(const std::pair<double, double>& got, double wMm, double hMm)
  {
    EXPECT_NEAR(got.first, wMm / 25.4 * 72, 0.06);
    EXPECT_NEAR(got.second, hMm / 25.4 * 72, 0.06);
  }
  static DEVMODE Paper(short number, short orientation = DMORIENT_PORTRAIT)
  {
    DEVMODE dm;
    dm.dmPaperSize = number;
    dm.dmOrientation = orientation;
    return dm;
  }
  AnsiString Dir;
};

TEST_F(WinSpoolTest, ThePdfPrinterIsAlwaysListedWithItsPapers)
{
  std::vector<AnsiString> printers = EnumPrinters();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back(), PdfPrinterName);
  AnsiString def = GetDefaultPrinter();
  EXPECT_EQ(GetProfileString("windows", "device", "").substr(0, def.size() + 1), def + ",");
  EXPECT_EQ(GetProfileString("windows", "other", "x"), "x");

  int count = DeviceCapabilities(PdfPrinterName, "", DC_PAPERS, nullptr, nullptr);
  ASSERT_GT(count, 0);
  std::vector<WORD> numbers(count);
  std::vector<char> names(64 * count);
  std::vector<POINT> sizes(count);
  DeviceCapabilities(PdfPrinterName, "", DC_PAPERS, numbers.data(), nullptr);
  DeviceCapabilities(PdfPrinterName, "", DC_PAPERNAMES, names.data(), nullptr);
  DeviceCapabilities(PdfPrinterName, "", DC_PAPERSIZE, sizes.data(), nullptr);
  auto a4 = std::find(numbers.begin(), numbers.end(), DMPAPER_A4) - numbers.begin();
  ASSERT_LT(a4, count);
  EXPECT_STREQ(&names[64 * a4], "A4");
  EXPECT_EQ(sizes[a4].x, 2100);
  EXPECT_EQ(sizes[a4].y, 2970);
  EXPECT_EQ(DeviceCapabilities(PdfPrinterName, "", DC_BINS, nullptr, nullptr), 1);

  DEVMODE dm;
  ASSERT_TRUE(GetPrinterSettings(PdfPrinterName, dm));
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
  HDC ic = CreateIC(PdfPrinterName, nullptr);
  ASSERT_NE(ic, nullptr);
  EXPECT_EQ(Windows::GetDeviceCaps(ic, LOGPIXELSY), 600);
  EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALWIDTH), 4961);  // 210 mm at 600 dpi
  EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALHEIGHT), 7016);
  Windows::DeleteDC(ic);
}

TEST_F(WinSpoolTest, UnknownPrintersAndPapersAreRefused)
{
  DEVMODE dm;
  EXPECT_FALSE(GetPrinterSettings("没有这台打印机", dm));
  EXPECT_EQ(DeviceCapabilities("没有这台打印机", "", DC_PAPERS, nullptr, nullptr), -1);
  EXPECT_EQ(CreateIC("没有这台打印机", nullptr), nullptr);
  EXPECT_THROW(TPrintJob("没有这台打印机", "t"), EPrinter);
  EXPECT_THROW(TRawPrintJob("没有这台打印机", "t"), EPrinter);
  double w = -1, h = -1;
  EXPECT_FALSE(GetPaperSize(48, w, h));
  EXPECT_EQ(w, -1);
  EXPECT_TRUE(GetPaperSize(9, w, h));
  EXPECT_EQ(w, 210);
  EXPECT_EQ(h, 297);
  // A custom paper takes its own size, in tenths of a millimetre, turned for landscape.
  DEVMODE custom = Paper(DMPAPER_USER, DMORIENT_LANDSCAPE);
  custom.dmPaperWidth = 1000;
  custom.dmPaperLength = 1500;
  PageSizeOf(custom, w, h);
  EXPECT_EQ(w, 150);
  EXPECT_EQ(h, 100);
}

TEST_F(WinSpoolTest, TwoPageJobOnThePdfPrinterGivesTwoA4Pages)
{
  AnsiString file = Dir + "/合同.pdf";
  {
    TPrintJob job(PdfPrinterName, "合同", file);
    for (int page = 0; page < 2; ++page) {
      HDC dc = job.BeginPage(Paper(DMPAPER_A4));
      Windows::Rectangle(dc, 600, 600, 3000, 1200 + page * 600);
      job.EndPage();
    }
    EXPECT_EQ(job.EndDoc(), file);
  }
  std::string info = PdfInfo(file, 2);
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  ExpectSize(PageSize(info, 1), 210, 297);
  ExpectSize(PageSize(info, 2), 210, 297);
}

TEST_F(WinSpoolTest, PagesOfDifferentSizesJoinInOneDocument)
{
  AnsiString file = Dir + "/mixed.pdf";
  TPrintJob job(PdfPrinterName, "mixed", file);
  job.BeginPage(Paper(DMPAPER_A4));
  job.BeginPage(Paper(DMPAPER_A5, DMORIENT_LANDSCAPE));  // ends the first page itself
  job.BeginPage(Paper(DMPAPER_A5, DMORIENT_LANDSCAPE));
  job.EndDoc();
  std::string info = PdfInfo(file, 3);
  EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
  ExpectSize(PageSize(info, 1), 210, 297);
  ExpectSize(PageSize(info, 2), 210, 148);
  ExpectSize(PageSize(info, 3), 210, 148);
}

TEST_F(WinSpoolTest, JobsWithoutAFileGoToThePdfFolderAndAbortedJobsLeaveNothing)
{
  for (int i = 0; i < 2; ++i) {
    TPrintJob job(PdfPrinterName, "报表/一");
    job.BeginPage(Paper(DMPAPER_A4));
    job.EndDoc();
  }
  EXPECT_TRUE(SysUtils::FileExists(Dir + "/pdf/报表_一.pdf"));
  EXPECT_TRUE(SysUtils::FileExists(Dir + "/pdf/报表_一 (2).pdf"));
  {
    TPrintJob job(PdfPrinterName, "aborted", Dir + "/aborted.pdf");
    job.BeginPage(Paper(DMPAPER_A4));
  }
  EXPECT_FALSE(SysUtils::FileExists(Dir + "/aborted.pdf"));
  TPrintJob empty(PdfPrinterName, "empty", Dir + "/empty.pdf");
  EXPECT_THROW(empty.EndDoc(), EPrinter);
  EXPECT_FALSE(SysUtils::FileExists(Dir + "/empty.pdf"));
}

TEST_F(WinSpoolTest, RawJobWritesTheBytesUnchanged)
{
  AnsiString file = Dir + "/raw.prn";
  TRawPrintJob job(PdfPrinterName, "raw", file);
  job.Write(std::string("\x1b@合同\0\r\n", 9));
  job.Write("end");
  job.EndDoc();
  AnsiString data;
  ASSERT_TRUE(SysUtils::LoadFileBytes(file, data));
  EXPECT_EQ(data, std::string("\x1b@合同\0\r\nend", 12));
  EXPECT_THROW(job.Write("late"), EPrinter);
}

// 6.35 mm left and right, 4.23 mm top, 12.7 mm bottom: 150, 100, 150 and 300 pixels at 600 dpi.
TEST_F(WinSpoolTest, CupsMarginsMakeThePrintableArea)
{
  TFakeCups cups;
  cups.AddOfficePrinter("办公室", 635, 1270, 635, 423);
  EXPECT_EQ(EnumPrinters(), (std::vector<AnsiString>{"办公室", PdfPrinterName}));
  EXPECT_EQ(GetDefaultPrinter(), "办公室");
  DEVMODE dm;
  ASSERT_TRUE(GetPrinterSettings("办公室", dm));
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);

  struct TCase {
    const char* Name;
    DEVMODE Settings;
    int OffsetX, OffsetY, Right, Bottom, Width, Height;
  };
  const TCase cases[] = {
      {"A4", Paper(DMPAPER_A4), 150, 100, 150, 300, 4961, 7016},
      // Turned a quarter counter-clockwise: the top margin is now on the left.
      {"A4 landscape", Paper(DMPAPER_A4, DMORIENT_LANDSCAPE), 100, 150, 300, 150, 7016, 4961},
      {"Letter", Paper(DMPAPER_LETTER), 150, 100, 150, 300, 5100, 6600},
      // A paper the printer does not list, nor its default: no margins known.
      {"A3", Paper(DMPAPER_A3), 0, 0, 0, 0, 7016, 9921},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HDC ic = CreateIC("办公室", &c.Settings);
    ASSERT_NE(ic, nullptr);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALWIDTH), c.Width);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALHEIGHT), c.Height);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALOFFSETX), c.OffsetX);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, PHYSICALOFFSETY), c.OffsetY);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, HORZRES), c.Width - c.OffsetX - c.Right);
    EXPECT_EQ(Windows::GetDeviceCaps(ic, VERTRES), c.Height - c.OffsetY - c.Bottom);
    Windows::DeleteDC(ic);
  }
  // The PDF printer has no margins.
  DEVMODE a4 = Paper(DMPAPER_A4);
  HDC pdf = CreateIC(PdfPrinterName, &a4);
  EXPECT_EQ(Windows::GetDeviceCaps(pdf, PHYSICALOFFSETX), 0);
  EXPECT_EQ(Windows::GetDeviceCaps(pdf, HORZRES), 4961);
  Windows::DeleteDC(pdf);
}

TEST_F(WinSpoolTest, CupsJobsDrawInsideTheMarginsAndReportRefusals)
{
  TFakeCups cups;
  cups.AddOfficePrinter("办公室", 635, 1270, 635, 423);
  {
    TPrintJob job("办公室", "合同");
    DEVMODE dm = Paper(DMPAPER_A4);
    dm.dmCopies = 2;
    dm.dmDuplex = DMDUP_VERTICAL;
    HDC dc = job.BeginPage(dm);
    EXPECT_EQ(Windows::GetDeviceCaps(dc, PHYSICALOFFSETY), 100);
    Windows::TextOut(dc, 0, 0, "Corner", -1);
    job.EndDoc();
  }
  ASSERT_EQ(cups.State().Submitted.size(), 1u);
  const auto& sent = cups.State().Submitted[0];
  EXPECT_EQ(sent.Title, "合同");
  EXPECT_EQ(sent.Options,
            (std::vector<std::pair<std::string, std::string>>{
                {"copies", "2"}, {"sides", "two-sided-long-edge"}, {"document-format", "application/pdf"}}));
  // The origin is the printable corner: 6.35 mm, 4.23 mm from the paper's (18, 12 pt).
  AnsiString pdf = Dir + "/sent.pdf";
  SaveSeam::SaveFile(pdf, sent.Data);
  AnsiString box = Dir + "/box.txt";
  Processes::RunProgram("sh", {"-c", "pdftotext -bbox \"$0\" \"$1\"", pdf, box});
  AnsiString text;
  SysUtils::LoadFileBytes(box, text);
  size_t at = text.find(">Corner<");
  ASSERT_NE(at, std::string::npos) << text;
  double x = 0, y = 0;
  std::sscanf(text.c_str() + text.rfind("<word", at), "<word xMin=\"%lf\" yMin=\"%lf\"", &x, &y);
  EXPECT_NEAR(x, 18, 1.5);
  EXPECT_NEAR(y, 12, 3);

  cups.State().RefuseWith = "paper jam";
  TPrintJob refused("办公室", "refused");
  refused.BeginPage(Paper(DMPAPER_A4));
  try {
    refused.EndDoc();
    ADD_FAILURE() << "no error";
  } catch (const EPrinter& e) {
    EXPECT_NE(e.Message().find("paper jam"), std::string::npos) << e.Message();
  }
}

}  // namespace
