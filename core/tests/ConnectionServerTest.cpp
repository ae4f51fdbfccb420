// The connection dialog's server page against a throw-away PostgreSQL server: the start-up loop
// shows the real dialog after each failed attempt until the page's settings connect.
#include <gtest/gtest.h>

#include <fstream>

#include "core/DBConfig.h"
#include "core/forms/DBConfigFrm.h"
#include "core/qxLib.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/FormatText.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/testsupport/PgTestServer.h"

namespace {

testing::Environment* const ConnectionTestServer = testing::AddGlobalTestEnvironment(new PgTestServer);

class ServerPage : public CoreFormsFixture {
protected:
  // Fills the server page with the test server and Password, and confirms.
  void AnswerServerPage(const char* Password)
  {
    OnModal([=](TCustomForm* F) {
      auto* d = dynamic_cast<TDBConfigFrm*>(F);
      ASSERT_NE(d, nullptr);
      d->ComboBox1->SetItemIndex(0);
      d->ComboBox1Select(nullptr);
      d->mssqlServerEdit1->SetText("127.0.0.1");
      d->mssqlPortEdit1->SetText(SysUtils::IntToStr(PgTestServer::Port));
      d->mssqlDbEdit1->SetText("pelto");
      d->mssqlUserEdit1->SetText("pelto");
      d->mssqlPwEdit1->SetText(Password);
      d->Button1Click(nullptr);
    });
  }
  AnsiString Ini(const char* Key) { return TIniFile((Dir + "/cfg.ini").c_str()).ReadString("db", Key, "(none)"); }
};

}  // namespace

TEST_F(ServerPage, TheLoopRetriesTheDialogsServerSettingsUntilTheyConnect)
{
  Database::GlobalDB->SetConnected(false);
  // A server where nothing listens: the first attempt fails before the dialog shows.
  std::ofstream(Dir + "/cfg.ini") << "[db]\nproviderIdx=0\n";
  TScopedFunction<DBConfig::TDialogFactory> dialog(DBConfig::DialogFactoryService(), &TDBConfigFrm::MakeDialog);
  AnsiString program = (Dir + "/pelto").c_str();
  // The server's page, with the server's own port while cfg.ini holds none.
  {
    TDBConfigFrm look(nullptr, program);
    EXPECT_EQ(look.GetPageIndex(), 0);
    EXPECT_EQ(look.mssqlPortEdit1->GetText(), "5432");
  }
  AnswerServerPage("wrong");
  AnswerServerPage("pelto");
  ASSERT_TRUE(ConnectOrConfigure(program));
  EXPECT_EQ(StepsLeft(), 0u);
  EXPECT_TRUE(Database::GlobalDB->IsSqlServer());
  EXPECT_EQ(Database::GlobalDB->GetDataSource(), u"127.0.0.1");
  EXPECT_EQ(Database::GlobalDB->ExecSQL(u"create temporary table t_probe(x int)"), 0);
  // One box for the first attempt, one for the wrong password; the dialog saved what connected.
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Ini("providerIdx"), "0");
  EXPECT_EQ(Ini("mssqlServer"), "127.0.0.1");
  EXPECT_EQ(Ini("mssqlPort"), SysUtils::IntToStr(PgTestServer::Port));
  EXPECT_EQ(qxLib::ScrambleText(Ini("mssqlPw")), "pelto");

  // The next start connects from cfg.ini alone, with no dialog.
  Database::GlobalDB->SetConnected(false);
  Boxes.clear();
  ASSERT_TRUE(ConnectOrConfigure(program));
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(Database::GlobalDB->IsSqlServer());
}
