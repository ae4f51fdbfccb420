// Printing prepared pages: which pages a job receives (lists, odd/even, reverse, collate,
// copies, each page's own paper), the virtual printer, and a real PDF read back by pdftotext.
#include <cstdio>

#include "platform/rtl/FileUtils.h"
#include "platform/testsupport/FakeCups.h"
#include "report/engine/print/frxPrintDialog.h"
#include "report/engine/print/frxPrinter.h"
#include "report/engine/tests/EngineFixture.h"

namespace {

// Records each page it receives: the page number (from the report's progress), its paper,
// orientation and copy count.
class TRecordingPrinter : public TfrxCustomPrinter {
public:
  TRecordingPrinter() : TfrxCustomPrinter("记录", AnsiString()) {}
  ~TRecordingPrinter() override { Release(); }
  void Init() override { FInitialized = true; }
  void Abort() override { Log.push_back("abort"); }
  void BeginDoc() override { Log.push_back("begin"); }
  void BeginPage() override
  {
    Release();
    FCanvas = Windows::CreateCompatibleDC(nullptr);
    FBmp = Windows::CreateBitmap(100, 140, 1, 32, nullptr);
    FOld = Windows::SelectObject(FCanvas, FBmp);
  }
  void EndPage() override { Release(); }
  void EndDoc() override { Log.push_back("end"); }
  void BeginRawDoc() override {}
  void EndRawDoc() override {}
  void WriteRaw(const AnsiString&) override {}
  void SetViewParams(Integer, bool, Extended, Extended) override {}
  void SetPrintParams(Integer PaperSize, bool Landscape, Integer, Integer Copies, Integer, Extended, Extended) override
  {
    Params.push_back(std::to_string(PaperSize) + (Landscape ? "L" : "P") + "x" + std::to_string(Copies));
  }
  std::vector<std::string> Log, Params;

private:
  void Release()
  {
    if (!FCanvas) return;
    Windows::SelectObject(FCanvas, FOld);
    Windows::DeleteObject(FBmp);
    Windows::DeleteDC(FCanvas);
    FCanvas = nullptr;
  }
  HBITMAP FBmp = nullptr;
  HGDIOBJ FOld = nullptr;
};

class Printing : public EngineFixture {
protected:
  void SetUp() override
  {
    EngineFixture::SetUp();
    auto list = std::make_unique<TfrxPrinters>([] { return std::vector<AnsiString>(); });
    auto rec = std::make_unique<TRecordingPrinter>();
    Printer = rec.get();
    list->Add(std::move(rec));
    list->SetPrinterIndex(list->IndexOf("记录"));
    Scoped = std::make_unique<frxPrinter::TScopedPrinters>(std::move(list));
    Report->OnProgress = [this](TfrxReport*, Integer Type, Integer Value) {
      if (Type == 2) Printed.push_back(Value);
    };
    // Four A4 pages of rows, then one A5 landscape page.
    auto* ds = DataSet("行", "select * from 行 where 序号 <= 60 order by 序号");
    auto* page = NewPage(100);
    Memo(Data(page, "Rows", 0, ds), "[行.\"名称\"]");
    auto* second = NewPage();
    second->SetPaperSize(11);
    second->SetOrientation(poLandscape);
    Memo(Band<TfrxReportTitle>(second, "Last", 0), "末页");
    Report->GetPrintOptions()->Printer = "记录";
    ASSERT_TRUE(Prepare());
    ASSERT_EQ(Pages()->GetCount(), 5);
  }
  void TearDown() override
  {
    Scoped.reset();
    EngineFixture::TearDown();
  }

  std::unique_ptr<frxPrinter::TScopedPrinters> Scoped;
  TRecordingPrinter* Printer = nullptr;
  std::vector<Integer> Printed;
};

TEST_F(Printing, PageSelectionsReachTheJob)
{
  struct Case {
    const char* Numbers;
    TfrxPrintPages Which;
    bool Reverse, Collate;
    Integer Copies;
    std::vector<Integer> Pages;
    std::vector<std::string> FirstParams;
  } cases[] = {
      {"1,3-5", ppOdd, false, true, 1, {1, 3, 5}, {"256Px1"}}, {"", ppEven, false, true, 1, {2, 4}, {"256Px1"}},
      {"2-4", ppAll, true, true, 1, {4, 3, 2}, {"256Px1"}},    {"1-2", ppAll, false, true, 2, {1, 2, 1, 2}, {"256Px1"}},
      {"1-2", ppAll, false, false, 2, {1, 2}, {"256Px2"}},     {"5", ppAll, false, true, 1, {5}, {"11Lx1"}},
  };
  for (const Case& c : cases) {
    TfrxPrintOptions* o = Report->GetPrintOptions();
    o->PageNumbers = c.Numbers;
    o->PrintPages = c.Which;
    o->Collate = c.Collate;
    o->Copies = c.Copies;
    frxPrintDialog::TScopedPrintDialog dialog([&](TfrxReport*, TfrxPrintSettings& S) {
      S.Reverse = c.Reverse;
      return true;
    });
    Printed.clear();
    Printer->Params.clear();
    Printer->Log.clear();
    EXPECT_TRUE(Pages()->Print());
    EXPECT_EQ(Printed, c.Pages) << c.Numbers;
    ASSERT_FALSE(Printer->Params.empty());
    EXPECT_EQ(Printer->Params.front(), c.FirstParams.front()) << c.Numbers;
    EXPECT_EQ(Printer->Log, (std::vector<std::string>{"begin", "end"}));
  }
}

TEST_F(Printing, CancelledDialogAndStopFlag)
{
  {
    frxPrintDialog::TScopedPrintDialog dialog([](TfrxReport*, TfrxPrintSettings&) { return false; });
    EXPECT_FALSE(Pages()->Print());
    EXPECT_TRUE(Printer->Log.empty());
  }
  Report->OnProgress = [this](TfrxReport* R, Integer Type, Integer Value) {
    if (Type == 2) Printed.push_back(Value);
    if (Value == 2) R->SetTerminated(true);
  };
  EXPECT_TRUE(Pages()->Print());
  EXPECT_EQ(Printed, (std::vector<Integer>{1, 2}));
  EXPECT_EQ(Printer->Log, (std::vector<std::string>{"begin", "abort"}));
}

TEST(Printers, VirtualPrinterWhenNoneIsInstalled)
{
  ReportEngineModule::Initialize();
  TfrxPrinters list([] { return std::vector<AnsiString>(); });
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_FALSE(list.HasPhysicalPrinters);
  TfrxCustomPrinter* p = list.GetCurrentPrinter();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Name, "虚拟");
  EXPECT_EQ(p->Papers.GetCount(), 67);
  EXPECT_EQ(p->Papers[0], "自定义");
  p->SetViewParams(9, true, 0, 0);
  EXPECT_EQ(p->PaperWidth, 297);
  EXPECT_EQ(p->PaperHeight, 210);
  EXPECT_EQ(p->LeftMargin, 4);
  EXPECT_EQ(p->BottomMargin, 4);
  EXPECT_EQ(p->PaperNameToNumber("没有这种纸"), 256);
  EXPECT_EQ(p->BinNameToNumber("没有"), 7);
  Extended w = 1, h = 2;
  frxPrinter::GetPaperDimensions(48, w, h);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 2);
}

TEST(Printers, PdfPrinterPaperIsExact)
{
  ReportEngineModule::Initialize();
  TfrxPrinters list([] { return std::vector<AnsiString>{WinSpool::PdfPrinterName}; }, WinSpool::PdfPrinterName);
  TfrxCustomPrinter* p = list.GetCurrentPrinter();
  ASSERT_NE(p, nullptr);
  p->SetViewParams(9, false, 0, 0);
  EXPECT_EQ(p->PaperWidth, 210);
  EXPECT_EQ(p->PaperHeight, 297);
  EXPECT_EQ(p->LeftMargin, 0);
  p->SetPrintParams(256, false, 1, 1, 7, 150, 100);
  auto* real = dynamic_cast<TfrxPrinter*>(p);
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(real->GetDevMode().dmPaperLength, 1500);
  EXPECT_EQ(real->GetDevMode().dmPaperWidth, 1000);
}

TEST(Printers, CupsPrinterMarginsComeFromItsMedia)
{
  ReportEngineModule::Initialize();
  TFakeCups cups;
  cups.AddOfficePrinter("办公室", 635, 1270, 635, 423);  // 6.35, 12.7, 6.35, 4.23 mm
  TfrxPrinters list;
  ASSERT_EQ(list.GetCount(), 2);
  TfrxCustomPrinter* p = list.GetCurrentPrinter();
  ASSERT_EQ(p->Name, "办公室");
  EXPECT_EQ(p->DefPaper, 9);
  struct TCase {
    bool Landscape;
    Extended Width, Height, Left, Top, Right, Bottom;
  };
  for (TCase c : {TCase{false, 210, 297, 6.35, 4.23, 6.35, 12.7}, TCase{true, 297, 210, 4.23, 6.35, 12.7, 6.35}}) {
    SCOPED_TRACE(c.Landscape);
    p->SetViewParams(9, c.Landscape, 0, 0);
    EXPECT_EQ(p->PaperWidth, c.Width);
    EXPECT_EQ(p->PaperHeight, c.Height);
    // Within a device pixel at 600 dpi.
    EXPECT_NEAR(p->LeftMargin, c.Left, 0.043);
    EXPECT_NEAR(p->TopMargin, c.Top, 0.043);
    EXPECT_NEAR(p->RightMargin, c.Right, 0.043);
    EXPECT_NEAR(p->BottomMargin, c.Bottom, 0.043);
  }
}

class PdfPrinting : public EngineFixture {};

TEST_F(PdfPrinting, ChineseTextReadsBackFromThePdf)
{
  frxPrinter::TScopedPrinters scoped(std::make_unique<TfrxPrinters>(
      [] { return std::vector<AnsiString>{WinSpool::PdfPrinterName}; }, WinSpool::PdfPrinterName));
  auto* ds = DataSet("合同", "select * from 合同 order by 编号");
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "合同清单");
  Memo(Data(page, "Rows", 30, ds), "[合同.\"客户\"] [合同.\"金额\"]");
  ASSERT_TRUE(Prepare());
  AnsiString pdf = testing::TempDir() + "engine_print_" + std::to_string(::getpid()) + ".pdf";
  frxPrinter::GetPrinters()->GetCurrentPrinter()->FileName = pdf;
  Report->GetPrintOptions()->ShowDialog = false;
  ASSERT_TRUE(Pages()->Print());
  ASSERT_TRUE(SysUtils::FileExists(pdf));
  std::string cmd = "pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null";
  std::string text;
  if (FILE* f = ::popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    ::pclose(f);
  }
  EXPECT_NE(text.find(reinterpret_cast<const char*>(u8"合同清单")), std::string::npos) << text;
  EXPECT_NE(text.find(reinterpret_cast<const char*>(u8"戊公司 70")), std::string::npos) << text;
  std::filesystem::copy_file(pdf.c_str(), std::filesystem::path(PELTO_TEST_OUTPUT) / "engine-print.pdf",
                             std::filesystem::copy_options::overwrite_existing);
  SysUtils::DeleteFile(pdf);
}

}  // namespace
