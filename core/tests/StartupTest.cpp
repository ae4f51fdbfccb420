// The start-up road on fake windows: connection, options, the company and tip commands after the
// login, a cancelled login, and a failure while loading; the splash window; the captions of the
// user-defined fields.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/Company.h"
#include "core/Hetong.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/Startup.h"
#include "core/cnst.h"
#include "core/forms/Splash.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/db/Fields.h"
#include "platform/forms/graphics/Picture.h"

namespace {

// Records what the road asks of the windows; the login answers as told.
class TFakeWindows : public IAppWindows {
public:
  bool LoginAnswer = true;
  AnsiString Rights = ",1,";
  AnsiString LoginId = "clerk";
  std::vector<std::string> Calls;

  void CreateForms() override { Calls.push_back("forms"); }
  bool LoginAndOpenDesktop() override
  {
    Calls.push_back("login");
    if (LoginAnswer) {
      qxProj::CurrentOperator->LoginId = LoginId;
      qxProj::CurrentOperator->Rights = System::AnsiToWide(Rights);
    }
    return LoginAnswer;
  }
  void ShowMainForm() override { Calls.push_back("show"); }
  void CompanyCommand() override { Calls.push_back("company"); }
  void TipCommand() override { Calls.push_back("tip"); }
  void FreeDesktop() override { Calls.push_back("free desktop"); }
  void CloseMainForm() override { Calls.push_back("close"); }
  void RunMessageLoop() override { Calls.push_back("loop"); }
};

class Road : public CoreFormsFixture {
protected:
  void SetCompanyName(const AnsiString& Name)
  {
    Exec("update Company set CompanyName=:N", {Database::MakeParam("N", Name)});
  }
  void WriteFile(const std::string& Name, const std::string& Bytes)
  {
    std::ofstream(Dir + "/" + Name, std::ios::binary) << Bytes;
  }
  int Run(TFakeWindows& W)
  {
    Database::GlobalDB->SetConnected(false);
    return Startup::Run(W, Dir.c_str());
  }
};

}  // namespace

TEST_F(Road, CancelledConnectionEndsBeforeAnyWindow)
{
  WriteFile("cfg.ini", "[db]\nproviderIdx=0\n");
  TFakeWindows W;
  EXPECT_EQ(Run(W), Startup::ecNotConnected);
  EXPECT_TRUE(W.Calls.empty());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("\r\n连接时失败", 0), 0u);
  EXPECT_FALSE(Database::GlobalDB->GetConnected());
}

TEST_F(Road, CompanyDialogOpensForAnUnfilledNameAndTheRightToEditIt)
{
  struct Case {
    const char* Name;
    const char* LoginId;
    const char* Rights;
    bool Company;
  } cases[] = {
      {"", "sa", "", true},                   // a fresh database, "sa" holds every right
      {"澜岳公", "sa", "", true},             // 6 bytes
      {"澜岳公x", "clerk", ",10000,", true},  // 7 bytes
      {"澜岳公司", "sa", "", false},          // 8 bytes: filled in
      {"", "clerk", ",1,13,", false},         // no right 10000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetCompanyName(c.Name);
    TFakeWindows W;
    W.LoginId = c.LoginId;
    W.Rights = c.Rights;
    EXPECT_EQ(Run(W), Startup::ecOk);
    std::vector<std::string> expected = {"forms", "login", "show"};
    if (c.Company) expected.push_back("company");
    expected.push_back("loop");
    EXPECT_EQ(W.Calls, expected);
  }
  EXPECT_EQ(qxProj::ProductName, "澜岳合同管理系统");
  EXPECT_EQ(qxProj::ProductVersion, "单机版 1.21.111231");
  EXPECT_EQ(qxProj::ProductCode, "PELTO121");
  EXPECT_EQ(Forms::Application->GetTitle(), "澜岳合同管理系统");
  EXPECT_EQ(Forms::Application->GetHelpFile(), "pelto.chm");
}

TEST_F(Road, TipOfTheDayFollowsTheCompanyDialog)
{
  qxProj::KeyValues->SetDailyTipPrompt(true);
  TFakeWindows W;
  W.LoginId = "sa";
  EXPECT_EQ(Run(W), Startup::ecOk);
  EXPECT_EQ(W.Calls, (std::vector<std::string>{"forms", "login", "show", "company", "tip", "loop"}));
}

TEST_F(Road, CancelledLoginFreesTheDesktopAndClosesTheMainWindowWithoutTheLoop)
{
  TFakeWindows W;
  W.LoginAnswer = false;
  EXPECT_EQ(Run(W), Startup::ecOk);
  EXPECT_EQ(W.Calls, (std::vector<std::string>{"forms", "login", "free desktop", "close"}));
}

TEST_F(Road, OptionsThatCannotBeReadEndTheProgramDisconnectedAfterOneMessage)
{
  Exec("drop table keyvalue");
  TFakeWindows W;
  EXPECT_EQ(Run(W), Startup::ecLoadFailed);
  EXPECT_TRUE(W.Calls.empty());
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_FALSE(Database::GlobalDB->GetConnected());
}

TEST_F(Road, OptionsNameTheUserColumnsAndSetTheNumbers)
{
  qxProj::KeyValues->SetStr(1001, System::AnsiToWide("项目经理"));
  qxProj::KeyValues->SetStr(1014, System::AnsiToWide("验收日期"));
  qxProj::KeyValues->SetStr(1015, System::AnsiToWide("报价"));
  qxProj::KeyValues->SetInt(102, 3);
  qxProj::KeyValues->SetBool(103, true);
  TFakeWindows W;
  ASSERT_EQ(Run(W), Startup::ecOk);
  EXPECT_EQ(cnst::HtCaptions[0], "项目经理");
  EXPECT_EQ(cnst::HtCaptions[13], "验收日期");
  EXPECT_EQ(cnst::TbCaptions[0], "报价");
  EXPECT_EQ(qxProj::Decimals, 3);
  EXPECT_TRUE(qxProj::UniqueHtCode);
  THetongSet Set;
  EXPECT_EQ(Set.S[0]->GetDisplayLabel(), "项目经理");
  EXPECT_EQ(Set.D02->GetDisplayLabel(), "验收日期");
  // An empty caption leaves the column's name.
  EXPECT_EQ(Set.S[1]->GetDisplayLabel(), "S02");
  cnst::Finalize();
  EXPECT_TRUE(cnst::HtCaptions[0].empty());
}

TEST_F(Road, SplashShowsItsPictureWhenThereIsOneAndItsStatusLine)
{
  {
    TSplashFrm Splash(nullptr, Dir.c_str());
    EXPECT_EQ(Splash.GetPicture(), nullptr);  // no splash.jpg: no picture, no error
    EXPECT_EQ(Splash.GetStatusText(), "正在创建数据连接...");
    Splash.Show();
    Splash.ShowHint("正在连接数据库,请稍候...");
    Splash.ShowHint("");
    EXPECT_EQ(Splash.GetStatusText(), "正在连接数据库,请稍候....");
    EXPECT_EQ(Splash.GetClientWidth(), 386);
    EXPECT_EQ(Splash.GetClientHeight(), 271);
  }
  WriteFile("splash.jpg", "not a picture");
  {
    TSplashFrm Splash(nullptr, Dir.c_str());
    EXPECT_EQ(Splash.GetPicture(), nullptr);
  }
  EXPECT_TRUE(Boxes.empty());
}
