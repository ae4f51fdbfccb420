// Connection configuration: the scrambler, cfg.ini, the connection strings, the broker, the
// client alias and the start-up connection loop.
#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/DBConfig.h"
#include "core/Database.h"
#include "core/qxLib.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Registry.h"
#include "platform/sys/HttpClient.h"

namespace {

class Config : public testing::Test {
protected:
  void SetUp() override
  {
    static int Counter = 0;
    Dir = testing::TempDir() + "cfg_" + std::to_string(::getpid()) + "_" + std::to_string(++Counter);
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    Program = Dir + "/pelto";
    Registry::SetStoreFile(Dir + "/registry");
    Box.emplace([this](const AnsiString& Text, const AnsiString&, unsigned) {
      Boxes.push_back(Text);
      return IDOK;
    });
    Database::Initialize();
  }
  void TearDown() override
  {
    Database::Finalize();
    Box.reset();
    Registry::SetStoreFile("");
    std::filesystem::remove_all(Dir);
  }
  AnsiString Alias(const AnsiString& Server)
  {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!Reg.OpenKey(DBConfig::AliasKey, false) || !Reg.ValueExists(Server)) return "<none>";
    return Reg.ReadString(Server);
  }
  void WriteIni(const std::string& Text) { std::ofstream(Dir + "/cfg.ini") << Text; }

  std::string Dir;
  AnsiString Program;
  std::vector<AnsiString> Boxes;
  std::optional<MessageSeam::TScopedMessageBox> Box;
};

// A dialog that hands out connection strings in turn and counts how often it was shown.
struct TScript {
  std::vector<WideString> Strings;
  std::vector<bool> Answers;
  std::size_t Shown = 0;
};
struct TScriptedDialog : IDBConfigDialog {
  TScript* S;
  explicit TScriptedDialog(TScript* AScript) : S(AScript) { S->Shown = 0; }
  WideString GetConnectionString() override { return S->Strings[std::min(S->Shown, S->Strings.size() - 1)]; }
  bool Execute() override { return S->Answers.at(S->Shown++); }
};

}  // namespace

TEST(Scrambler, IsItsOwnInverseAndTouchesOnlyTheLowBits)
{
  EXPECT_EQ(qxLib::ScrambleText(""), "");
  // The first byte takes the key's second character ('e': 1), the tenth its first ('t': 6).
  EXPECT_EQ(qxLib::ScrambleText("AAAAAAAAAA").front(), char('A' ^ 1));
  EXPECT_EQ(qxLib::ScrambleText("AAAAAAAAAA").back(), char('A' ^ 6));
  for (AnsiString Text : {AnsiString(" pass word "), AnsiString("合同\"'=;[x]"), AnsiString(300, 'z')}) {
    AnsiString S = qxLib::ScrambleText(Text);
    ASSERT_EQ(S.size(), Text.size());
    for (std::size_t i = 0; i < S.size(); ++i) EXPECT_EQ(S[i] & 0xF0, Text[i] & 0xF0);
    EXPECT_EQ(qxLib::ScrambleText(S), Text);
  }
}

TEST_F(Config, MissingIniStartsOnTheEmbeddedDatabaseAndCreatesItOnce)
{
  {
    TDBConfiger Cfg(Program);
    EXPECT_EQ(Cfg.ProviderIdx, 1);
    EXPECT_TRUE(Cfg.DefaultCon);
    EXPECT_EQ(Cfg.Port, 5432);
  }
  ASSERT_TRUE(ConnectOrConfigure(Program));
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(std::filesystem::exists(Dir + "/pelto.mdb"));
  EXPECT_EQ(Database::ScratchSet->OpenSql(u"select * from operator where LoginId='sa'"), 1);
  Database::ScratchSet->OpenSql(u"select count(*) from operator");
  Database::GlobalDB->SetConnected(false);
  auto Stamp = std::filesystem::last_write_time(Dir + "/pelto.mdb");
  ASSERT_TRUE(ConnectOrConfigure(Program));
  EXPECT_EQ(std::filesystem::last_write_time(Dir + "/pelto.mdb"), Stamp);
}

TEST_F(Config, DefaultConnectionIgnoresTheFileSettingsAndAnIniWithoutProviderIsTheServer)
{
  WriteIni("[db]\nproviderIdx=1\ndefaultCon=1\njetfile=" + qxLib::ScrambleText("/elsewhere.mdb") + "\n");
  TDBConfiger Cfg(Program);
  EXPECT_EQ(System::WideToAnsi(Cfg.GetConnectionString()),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Dir +
                "/pelto.mdb;Jet OLEDB:Database Password=moorvane;Persist Security Info=True");

  WriteIni("[db]\nmssqlServer=srv\n");
  TDBConfiger Server(Program);
  EXPECT_EQ(Server.ProviderIdx, 0);
  EXPECT_TRUE(Server.GetConnectionString().empty());
}

TEST_F(Config, ScrambledValuesSurviveTheFileByteForByte)
{
  TDBConfiger Cfg(Program);
  Cfg.ProviderIdx = 1;
  Cfg.DefaultCon = false;
  Cfg.Password = "  \"sql pw'  ";
  Cfg.JetFile = " /data/合同 库.mdb ";
  Cfg.JetPassword = "'\"; x =";
  Cfg.ZorUrl = "http://broker/zor";
  Cfg.Port = 1500;
  Cfg.Save();
  TDBConfiger Back(Program);
  EXPECT_EQ(Back.Password, Cfg.Password);
  EXPECT_EQ(Back.JetFile, Cfg.JetFile);
  EXPECT_EQ(Back.JetPassword, Cfg.JetPassword);
  EXPECT_EQ(Back.ZorUrl, Cfg.ZorUrl);
  EXPECT_EQ(Back.Port, 1500);
  EXPECT_FALSE(Back.DefaultCon);
  EXPECT_EQ(Back.GetConnectionString(), TDBConfiger::JetString(Cfg.JetPassword, Cfg.JetFile));
}

TEST_F(Config, AFailedSaveLeavesTheOldSettingsAndOtherSectionsStay)
{
  WriteIni("[Login]\nLastUser=li\n[db]\nproviderIdx=1\ndefaultCon=0\nmssqlDb=old\n");
  TDBConfiger Cfg(Program);
  Cfg.Database = "new";
  Cfg.Server = "bad\nname";  // a line break can't be stored
  EXPECT_THROW(Cfg.Save(), EIniFileException);
  TDBConfiger Back(Program);
  EXPECT_EQ(Back.Database, "old");
  Cfg.Server = "srv";
  Cfg.Save();
  TIniFile Ini(Dir + "/cfg.ini");
  EXPECT_EQ(Ini.ReadString("Login", "LastUser", ""), "li");
  EXPECT_EQ(Ini.ReadString("db", "mssqlDb", ""), "new");
}

TEST_F(Config, SavingTheServerWritesOrRemovesTheClientAlias)
{
  TDBConfiger Cfg(Program);
  Cfg.ProviderIdx = 0;
  Cfg.Server = "S";
  Cfg.User = "u";
  Cfg.Password = "p%s";
  Cfg.Database = "d";
  Cfg.Save();
  EXPECT_EQ(Alias("S"), "DBMSSOCN,S,5432");
  EXPECT_EQ(System::WideToAnsi(TDBConfiger(Program).GetConnectionString())
                .rfind("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=u;Password=p%s;Initial Catalog=d;"
                       "Data Source=S;",
                       0),
            0u);
  Cfg.SmartConnect = true;
  Cfg.Save();
  EXPECT_EQ(Alias("S"), "<none>");
  TDBConfiger::WriteServerAlias("T", "", false);
  EXPECT_EQ(Alias("T"), "DBMSSOCN,T");
}

TEST_F(Config, BrokerAnswerOfFiveLinesConnectsToItsServer)
{
  WriteIni("[db]\nproviderIdx=2\nzorUrl=http://broker/zor\nzorUser=张 三&x\n");
  TDBConfiger Cfg(Program);
  AnsiString Asked;
  AnsiString Reply;
  Cfg.HttpGet = [&](const AnsiString& Url) {
    Asked = Url;
    return Reply;
  };
  struct Case {
    const char* Reply;
    const char* Expected;
  } Cases[] = {
      {"db1\r\n1500\r\nuid\r\npw\r\nhetong\r\n",
       "Provider=SQLOLEDB.1;Data Source=db1;User ID=uid;Password=pw;Initial Catalog=hetong;Persist Security Info=True"},
      {"db2\n1501\nuid\npw\nhetong",
       "Provider=SQLOLEDB.1;Data Source=db2;User ID=uid;Password=pw;Initial Catalog=hetong;Persist Security Info=True"},
      {"db3\n1\nu\np\n", ""},
      {"a\nb\nc\nd\ne\nf\n", ""},
      {"", ""},
  };
  for (const Case& C : Cases) {
    Reply = C.Reply;
    EXPECT_EQ(System::WideToAnsi(Cfg.GetConnectionString()), C.Expected) << C.Reply;
  }
  EXPECT_EQ(Asked, "http://broker/zor?user=%E5%BC%A0%20%E4%B8%89%26x");
  EXPECT_EQ(Alias("db1"), "DBMSSOCN,db1,1500");
  EXPECT_EQ(Alias("db2"), "DBMSSOCN,db2,1501");
  EXPECT_EQ(Alias("db3"), "<none>");
  EXPECT_TRUE(Boxes.empty());

  Cfg.HttpGet = [](const AnsiString&) -> AnsiString { throw EHttpError("refused", 0); };
  EXPECT_TRUE(Cfg.GetConnectionString().empty());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], "\r\n无法获得ZOR连接信息,请检查网络是否畅通.\t");
}

TEST_F(Config, LoopShowsTheDialogAfterEachFailureUntilConnectedOrCancelled)
{
  WriteIni("[db]\nproviderIdx=0\n");
  TDBConfiger Maker(Program);
  Maker.ProviderIdx = 1;
  WideString Good = Maker.GetConnectionString();  // makes the default database
  TScript Script{{u"", u"Provider=Nothing;", Good}, {true, true}};
  TScopedFunction<DBConfig::TDialogFactory> dialog(DBConfig::DialogFactoryService(), [&](const AnsiString&) {
    return std::unique_ptr<IDBConfigDialog>(std::make_unique<TScriptedDialog>(&Script));
  });
  EXPECT_TRUE(ConnectOrConfigure());
  EXPECT_EQ(Script.Shown, 2u);
  EXPECT_EQ(Boxes.size(), 2u);  // one box per failed attempt

  Database::GlobalDB->SetConnected(false);
  Boxes.clear();
  Script = TScript{{u""}, {false}};
  EXPECT_FALSE(ConnectOrConfigure());
  EXPECT_EQ(Script.Shown, 1u);
  EXPECT_EQ(Boxes.size(), 1u);
}
