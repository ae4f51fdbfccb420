// The report component: its data sets, variables and styles stored as defined data, options
// kept across a load, the coded password, clearing, files, and damaged lists.
#include <gtest/gtest.h>

#include <optional>
#include <filesystem>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/model/frxrcClass.h"

namespace {

class ReportTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    frxrcClass::Initialize();
    frxClass::Initialize();
    FBox.emplace([this](const AnsiString& t, const AnsiString&, unsigned) {
      Shown.push_back(t);
      return IDOK;
    });
  }
  void TearDown() override { FBox.reset(); }
  static AnsiString Save(TfrxReport& r)
  {
    TStringStream s;
    r.SaveToStream(&s);
    return s.GetDataString();
  }
  static void Load(TfrxReport& r, const AnsiString& text)
  {
    TStringStream s(text);
    r.LoadFromStream(&s);
  }
  // A report with pages, bands, data sets, variables and styles.
  static void Build(TfrxReport& r)
  {
    auto* page = new TfrxReportPage(&r);
    page->SetName("Page1");
    page->SetDefaults();
    auto* master = new TfrxMasterData(page);
    master->SetName("MasterData1");
    master->SetDataSetName("合同");
    master->SetBounds(0, 40, 718, 20);
    new TfrxPageFooter(page);
    r.GetDataSets()->Add()->SetDataSetName("合同");
    r.GetVariables()->SetVariable(" 公司", Variant::Null());
    r.GetVariables()->SetVariable("u_Company", Variant(AnsiString("'澜岳'")));
    TfrxStyleItem* s = r.GetStyles()->Add();
    s->SetName("Title");
    s->Color = 0xFF;
    s->GetFont()->SetName("宋体");
    r.GetStyles()->Name = "Sheet";
    r.GetReportOptions()->Author = "sa";
    r.GetReportOptions()->Password = "AB\x05";
    r.GetEngineOptions()->DoublePass = true;
    r.GetScriptText()->SetText("begin\r\n  ShowMessage('x');\r\nend.");
  }

  std::vector<AnsiString> Shown;

private:
  std::optional<MessageSeam::TScopedMessageBox> FBox;
};

}  // namespace

TEST_F(ReportTest, DataSetsVariablesAndStylesTravelInPropData)
{
  TfrxReport r(nullptr);
  Build(r);
  TScopedFunction<frxOptions::TPasswordFunc> password(frxOptions::PasswordService(), [](AnsiString& p) {
    p = "AB\x05";
    return true;
  });
  AnsiString first = Save(r);
  EXPECT_EQ(r.GetReportOptions()->Password, "AB\x05");  // saving leaves the plain text
  // The password is stored with each code lowered by 10: 65 66 5 -> 55 56 251.
  EXPECT_NE(first.find("ReportOptions.Password=\"78\xFB\""), AnsiString::npos) << first;
  EXPECT_NE(first.find("EngineOptions.DoublePass=\"True\""), AnsiString::npos);
  EXPECT_NE(first.find("ScriptText.Text=\"begin&#13;&#10;  ShowMessage('x');&#13;&#10;end.\""), AnsiString::npos);
  // "Datasets" as a list: name, list start, per item list start, long string, list end.
  EXPECT_NE(first.find("PropData=\"08446174617365747301010C"), AnsiString::npos) << first;

  TfrxReport copy(nullptr);
  Load(copy, first);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0) << copy.GetErrors()->GetText();
  EXPECT_TRUE(Shown.empty());
  EXPECT_EQ(copy.GetReportOptions()->Password, "AB\x05");
  ASSERT_EQ(copy.GetDataSets()->GetCount(), 1);
  EXPECT_EQ(copy.GetDataSets()->GetItems(0)->GetDataSetName(), "合同");
  ASSERT_EQ(copy.GetVariables()->GetCount(), 2);
  EXPECT_EQ(Variants::VarToStr(copy.GetVariables()->GetVariable("U_COMPANY")), "'澜岳'");
  ASSERT_EQ(copy.GetStyles()->GetCount(), 1);
  EXPECT_EQ(copy.GetStyles()->GetItems(0)->Color, 0xFF);
  EXPECT_EQ(copy.GetStyles()->GetItems(0)->GetFont()->GetName(), "宋体");
  EXPECT_TRUE(copy.GetEngineOptions()->DoublePass);
  EXPECT_EQ(copy.GetScriptText()->GetCount(), 3);
  EXPECT_EQ(Save(copy), first);
}

TEST_F(ReportTest, LoadKeepsTheHostsOptionsExceptWhatTheFileCarries)
{
  TfrxReport src(nullptr);
  src.GetEngineOptions()->ConvertNulls = false;
  src.GetEngineOptions()->MaxMemSize = 99;
  src.GetPreviewOptions()->OutlineVisible = true;
  src.GetPreviewOptions()->Modal = false;
  src.IniFile = "file.ini";
  src.ShowProgress = false;
  AnsiString text = Save(src);

  TfrxReport host(nullptr);
  host.GetEngineOptions()->MaxMemSize = 50;
  host.GetPreviewOptions()->Modal = true;
  Load(host, text);
  EXPECT_FALSE(host.GetEngineOptions()->ConvertNulls);  // from the file
  EXPECT_EQ(host.GetEngineOptions()->MaxMemSize, 50);   // kept
  EXPECT_TRUE(host.GetPreviewOptions()->OutlineVisible);
  EXPECT_TRUE(host.GetPreviewOptions()->Modal);
  EXPECT_EQ(host.IniFile, "\\Software\\Lanyue Reports");
  EXPECT_TRUE(host.ShowProgress);
  host.GetEngineOptions()->Clear();
  EXPECT_EQ(host.GetEngineOptions()->MaxMemSize, 50);
}

TEST_F(ReportTest, WrongOrCancelledPasswordClearsTheReport)
{
  TfrxReport src(nullptr);
  Build(src);
  AnsiString text = Save(src);
  for (bool answer : {false, true}) {
    TScopedFunction<frxOptions::TPasswordFunc> password(frxOptions::PasswordService(), [answer](AnsiString& p) {
      p = "wrong";
      return answer;
    });
    TfrxReport r(nullptr);
    Load(r, text);
    EXPECT_TRUE(r.GetObjects().empty());
    EXPECT_EQ(r.GetVariables()->GetCount(), 0);
    EXPECT_EQ(r.GetReportOptions()->Password, "");
  }
}

TEST_F(ReportTest, ClearResetsToAnEmptyReport)
{
  TfrxReport r(nullptr);
  Build(r);
  r.DotMatrixReport = true;
  r.GetPrintOptions()->Copies = 3;
  r.Clear();
  EXPECT_TRUE(r.GetObjects().empty());
  EXPECT_EQ(r.GetDataSets()->GetCount(), 0);
  EXPECT_EQ(r.GetStyles()->GetCount(), 0);
  EXPECT_FALSE(r.GetEngineOptions()->DoublePass);
  EXPECT_EQ(r.GetPrintOptions()->Copies, 1);
  EXPECT_EQ(r.GetPrintOptions()->Printer, "缺省");
  EXPECT_EQ(r.GetReportOptions()->Author, "");
  EXPECT_FALSE(r.DotMatrixReport);
  EXPECT_EQ(r.GetScriptText()->GetText(), "begin\r\n\r\nend.\r\n");
  EXPECT_EQ(r.GetSystemVariables()->GetCommaText(), "Date,Time,Page,Page#,TotalPages,TotalPages#,Line,Line#");
}

TEST_F(ReportTest, DamagedListsReportTheirErrorAndKeepWhatWasRead)
{
  TfrxReport src(nullptr);
  Build(src);
  AnsiString text = Save(src);
  // Cut the report's PropData inside the variables list.
  size_t at = text.find("PropData=\"");
  size_t vars = text.find("095661726961626C6573", at);  // "Variables" as a short string
  ASSERT_NE(vars, AnsiString::npos);
  size_t end = text.find('"', at + 10);
  AnsiString damaged = text.substr(0, vars + 40) + text.substr(end);
  TfrxReport r(nullptr);
  TScopedFunction<frxOptions::TPasswordFunc> password(frxOptions::PasswordService(), [](AnsiString& p) {
    p = "AB\x05";
    return true;
  });
  Load(r, damaged);
  EXPECT_EQ(r.GetDataSets()->GetCount(), 1);  // read before the damage
  EXPECT_EQ(r.GetStyles()->GetCount(), 0);    // after it
  EXPECT_EQ(r.GetErrors()->GetText(), "Invalid stream format\r\n");
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].substr(0, 17), "发生下列的错误:\r\n");
  EXPECT_NE(r.FindObject("MasterData1"), nullptr);  // the tree still loads
}

TEST_F(ReportTest, Files)
{
  auto path = std::filesystem::temp_directory_path() / ("report-" + std::to_string(getpid()) + ".fr3");
  TfrxReport r(nullptr);
  Build(r);
  r.SaveToFile(path.string());
  TfrxReport back(nullptr);
  TScopedFunction<frxOptions::TPasswordFunc> password(frxOptions::PasswordService(), [](AnsiString& p) {
    p = "AB\x05";
    return true;
  });
  EXPECT_TRUE(back.LoadFromFile(path.string()));
  EXPECT_EQ(back.GetFileName(), path.string());
  EXPECT_NE(back.FindObject("MasterData1"), nullptr);
  std::filesystem::remove(path);
  EXPECT_FALSE(back.LoadFromFile(path.string()));
  EXPECT_TRUE(back.GetObjects().empty());
  EXPECT_EQ(back.GetFileName(), "");
  EXPECT_THROW(back.LoadFromFile(path.string(), true), Exception);
}

TEST_F(ReportTest, HandWrittenFileLoadsEveryProperty)
{
  TScopedFunction<frxOptions::TPasswordFunc> password(frxOptions::PasswordService(), [](AnsiString& p) {
    p = "AB";
    return true;
  });
  TfrxReport r(nullptr);
  ASSERT_TRUE(r.LoadFromFile(PELTO_TEST_DATA "/hand-written.fr3"));
  EXPECT_EQ(r.GetErrors()->GetCount(), 0) << r.GetErrors()->GetText();
  EXPECT_TRUE(r.GetEngineOptions()->DoublePass);
  EXPECT_EQ(r.GetReportOptions()->Password, "AB");
  EXPECT_EQ(r.GetScriptText()->GetCount(), 2);
  ASSERT_EQ(r.GetDataSets()->GetCount(), 1);
  EXPECT_EQ(r.GetDataSets()->GetItems(0)->GetDataSetName(), "合同");
  EXPECT_EQ(r.GetVariables()->GetCount(), 2);
  EXPECT_EQ(Variants::VarToStr(r.GetVariables()->GetVariable("u_Company")), "'澜岳'");
  ASSERT_EQ(r.GetStyles()->GetCount(), 1);
  EXPECT_EQ(r.GetStyles()->Find("title")->GetFont()->GetName(), "宋体");
  auto* page = dynamic_cast<TfrxReportPage*>(r.FindObject("Page1"));
  ASSERT_TRUE(page);
  EXPECT_EQ(page->LeftMargin, 10);
  EXPECT_EQ(page->GetColumns(), 2);
  EXPECT_EQ(page->GetColumnPositions()->GetCount(), 2);
  auto* header = dynamic_cast<TfrxHeader*>(r.FindObject("Header1"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->GetChild(), r.FindObject("Child1"));
  EXPECT_EQ(header->GetHeight(), 18.9);
  auto* master = dynamic_cast<TfrxMasterData*>(r.FindObject("MasterData1"));
  ASSERT_TRUE(master);
  EXPECT_EQ(master->GetDataSetName(), "合同");
  EXPECT_EQ(master->GetRowCount(), 5);
  EXPECT_EQ(dynamic_cast<TfrxGroupHeader*>(r.FindObject("GroupHeader1"))->Condition, "<frxDBDataset1.\"Code\">");
}
