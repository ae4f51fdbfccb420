// The sample report the export tests write: two pages of two paper sizes (A4 portrait, A5
// landscape) with Chinese and Latin texts (Chinese also in an "Arial" memo), frames, fills, a
// rectangle, a line, a picture, a Code 39 barcode and a rotated memo, over the engine fixture's database; and a
// runner for Debian's tools that fails the test when a tool is missing.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/tests/SaveFaultTable.h"
#include "platform/testsupport/TempFolder.h"
#include "report/engine/export/ExportModule.h"
#include "report/engine/model/frxBands.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Picture.h"
#include "report/engine/objects/frxBarcode.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/tests/EngineFixture.h"

namespace ExportTests {

struct TToolResult {
  int Status = -1;
  std::string Out;
};

// Runs a shell command and answers its exit status and standard output (standard error is
// dropped unless the command sends it elsewhere). A missing program answers 127.
inline TToolResult RunTool(const std::string& Command)
{
  TToolResult r;
  if (FILE* f = ::popen((Command + " 2>/dev/null").c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.Out.append(buf, n);
    int st = ::pclose(f);
    r.Status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  return r;
}

inline std::string U8(const char* Cp936) { return System::AnsiToUtf8(Cp936); }

}  // namespace ExportTests

class ExportFixture : public EngineFixture {
protected:
  static void SetUpTestSuite()
  {
    EngineFixture::SetUpTestSuite();
    ExportModule::Initialize();
  }
  void SetUp() override
  {
    EngineFixture::SetUp();
    Dir = std::filesystem::path(testing::TempDir()) / ("export_" + std::to_string(::getpid()) + "_" +
                                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override
  {
    EngineFixture::TearDown();
    std::filesystem::remove_all(Dir);
  }
  AnsiString File(const std::string& Name) const { return (Dir / Name).string(); }
  // Keeps a copy of a written file in the build folder for people to look at.
  static void Keep(const AnsiString& File, const std::string& As)
  {
    std::filesystem::copy_file(File.c_str(), std::filesystem::path(PELTO_TEST_OUTPUT) / As,
                               std::filesystem::copy_options::overwrite_existing);
  }

  // Runs an export of the prepared pages to Given (a UTF-8 name in the test's folder) through
  // the save seam's faults: Written (the file it writes) must keep Old, and a save without faults
  // must leave bytes that Accepts.
  template <class TExport>
  void RunSaveFaults(const std::string& Given, const std::string& Written, const std::string& Old,
                     std::function<bool(const std::string&)> Accepts)
  {
    SaveFaultTable::TSaveCheck check;
    check.File = Dir / Written;
    check.Old = Old;
    AnsiString name = System::Utf8ToAnsi((Dir / Given).string());
    check.Save = [&] {
      TExport filter(nullptr);
      filter.ShowDialog = false;
      filter.FileName = name;
      Pages()->Export(&filter);
    };
    check.NameInMessage = System::Utf8ToAnsi(check.File.string());
    check.Accepts = std::move(Accepts);
    SaveFaultTable::Run(check);
  }

  // The sample: page 1 A4 portrait, page 2 A5 landscape. Texts are those the tests look for.
  void BuildSample()
  {
    Report->GetReportOptions()->Name = "合同报表 (north)";
    auto* p1 = NewPage();
    auto* title = Band<TfrxReportTitle>(p1, "Title", 0, 300);
    TfrxMemoView* head = Memo(title, "合同管理报表", 0, 300, 0, 30);
    head->GetFont()->SetSize(16);
    head->GetFont()->SetStyle(TFontStyles{fsBold});
    TfrxMemoView* latin = Memo(title, "Contract {north} \\ (total)", 0, 300, 40, 20);
    latin->GetFont()->SetName("Arial");
    TfrxMemoView* mixed = Memo(title, "客户: 甲公司 Ltd.", 320, 300, 40, 20);
    mixed->GetFont()->SetName("Arial");
    TfrxMemoView* framed = Memo(title, "金额合计\r\n12,345.00", 0, 200, 70, 40);
    framed->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom};
    framed->GetFrame()->Width = 2;
    framed->Color = 0xCCFFFF;
    framed->HAlign = haRight;
    auto* rect = new TfrxShapeView(title);
    rect->SetBounds(220, 70, 100, 40);
    rect->Color = 0x00FF00;
    auto* line = new TfrxLineView(title);
    line->SetBounds(0, 120, 600, 0);
    auto* pic = new TfrxPictureView(title);
    pic->SetBounds(340, 70, 60, 40);
    TBitmap* bmp = pic->GetPicture()->GetBitmap();
    bmp->SetSize(60, 40);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) bmp->GetScanLine(y)[x] = x < 30 ? 0xFF0000u : 0x0000FFu;
    auto* code = new TfrxBarCodeView(title);
    code->SetBounds(480, 130, 180, 60);
    code->Text = "CONTRACT42";
    TfrxMemoView* turned = Memo(title, "旋转 90", 420, 30, 70, 100);
    turned->SetRotation(90);
    auto* ds = DataSet("行", "select * from 行 where 序号 <= 8 order by 序号");
    Memo(Data(p1, "Rows", 320, ds), "[行.\"名称\"] row [行.\"序号\"]", 0, 300);

    auto* p2 = NewPage();
    p2->SetPaperSize(11);  // A5
    p2->SetOrientation(poLandscape);
    Memo(Band<TfrxReportTitle>(p2, "Title2", 0, 40), "第二页 A5 landscape", 0, 400, 0, 20);
  }

  TTempFolder Temp{"export"};
  std::filesystem::path Dir{Temp.Dir()};
};
