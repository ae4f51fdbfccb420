#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/db/JetProvider.h"
#include "platform/db/Provider.h"
#include "platform/rtl/FileUtils.h"
#include "platform/sys/AppPaths.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/sys/ComObj.h"

namespace {

// What the connection object asked of its provider.
struct TRecord {
  AnsiString DataSource, Password, Mode, Provider;
  std::vector<AnsiString> Statements;
  bool Closed = false;
  bool FailOpen = false;
};
TRecord Record;

class TRecordingProvider : public TDBProvider {
public:
  void Open(const TConnectionString& Params, Integer) override
  {
    if (Record.FailOpen) throw EOleException("Not a valid password.");
    Record.DataSource = Params.Get("Data Source");
    Record.Password = Params.Get("Jet OLEDB:Database Password");
    Record.Mode = Params.Get("Mode");
    Record.Provider = Params.Get("Provider");
    FOpen = true;
  }
  void Close() override
  {
    Record.Closed = true;
    FOpen = false;
  }
  bool GetConnected() const override { return FOpen; }
  Integer BeginTrans() override { return 1; }
  void CommitTrans() override {}
  void RollbackTrans() override {}
  Integer GetTransactionLevel() const override { return 0; }
  TProviderResult Execute(const WideString& Sql, const TParameters*, Integer) override
  {
    Record.Statements.push_back(System::WideToAnsi(Sql));
    TProviderResult r;
    r.RowsAffected = 0;
    return r;
  }

private:
  bool FOpen = false;
};

class AdoAutomationTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Record = TRecord();
    DBProviders::Initialize();
    DBProviders::RegisterProvider("Microsoft.Jet.OLEDB.4.0", [] { return std::make_unique<TRecordingProvider>(); });
    ComObj::Initialize();
  }
  void TearDown() override
  {
    ComObj::Finalize();
    DBProviders::Finalize();
  }
};

TEST_F(AdoAutomationTest, ConnectionReachesTheProviderAsTheCallerBuiltIt)
{
  // The calls of the database upgrade's password change.
  {
    Variant conn = ComObj::CreateOleObject("ADODB.Connection");
    conn.Set("Mode", 12);
    conn.Set("Provider", "Microsoft.Jet.OLEDB.4.0");
    std::vector<Variant> put = {"Jet OLEDB:Database Password", "旧;密码"};
    conn.AsDispatch()->Invoke("Properties", dkPropertyPut, put);
    conn.Exec("Open", {"Data Source=/data/老版本.mdb"});
    EXPECT_EQ(conn.Get("State").AsInteger(), 1);
    conn.Exec("Execute", {"update t set a = 1"});
    conn.Exec("Close");
    EXPECT_EQ(conn.Get("State").AsInteger(), 0);
  }
  EXPECT_EQ(Record.Provider, "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(Record.DataSource, "/data/老版本.mdb");
  EXPECT_EQ(Record.Password, "旧;密码");
  EXPECT_EQ(Record.Mode, "Share Exclusive");
  ASSERT_EQ(Record.Statements.size(), 1u);
  EXPECT_EQ(Record.Statements[0], "update t set a = 1");
  EXPECT_TRUE(Record.Closed);
}

TEST_F(AdoAutomationTest, MisuseAndProviderErrorsRaise)
{
  Variant conn = ComObj::CreateOleObject("adodb.connection");
  EXPECT_THROW(conn.Exec("Execute", {"select 1"}), EOleException);
  conn.Set("Provider", "No.Such.Provider");
  EXPECT_THROW(conn.Exec("Open", {"Data Source=x"}), EOleException);
  conn.Set("Provider", "Microsoft.Jet.OLEDB.4.0");
  conn.Get("Properties", {"Jet OLEDB:Database Password"}).Set("Value", "bad");
  EXPECT_EQ(conn.Get("Properties", {"Jet OLEDB:Database Password"}).Get("Value").AsString(), "bad");
  Record.FailOpen = true;
  EXPECT_THROW(conn.Exec("Open", {"Data Source=x"}), EOleException);
  EXPECT_EQ(conn.Get("State").AsInteger(), 0);
  Record.FailOpen = false;
  conn.Exec("Open", {"Data Source=x"});
  EXPECT_THROW(conn.Exec("Open", {"Data Source=x"}), EOleException);
  EXPECT_THROW(conn.Set("Provider", "other"), EOleException);
  // Released while open: the provider is closed.
  conn = Variant();
  EXPECT_TRUE(Record.Closed);
}

// The password change of the database upgrade, on a real file of the Jet provider.
class AdoPasswordTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    DBProviders::Initialize();
    ComObj::Initialize();
    File = AppPaths::TempDir() + "旧库" + std::to_string(getpid()) + ".mdb";
    SysUtils::DeleteFile(File);
    JetProvider::CreateDatabase(File, "moorvane");
  }
  void TearDown() override
  {
    SysUtils::DeleteFile(File);
    ComObj::Finalize();
    DBProviders::Finalize();
  }
  // The calls of the upgrade's password routine; true when they all succeed.
  bool SetPassword(const AnsiString& oldPassword, const AnsiString& newPassword)
  {
    auto quote = [](const AnsiString& p) { return p.empty() ? AnsiString("Null") : "[" + p + "]"; };
    Variant conn = ComObj::CreateOleObject("ADODB.Connection");
    try {
      conn.Set("Mode", 12);
      conn.Set("Provider", JetProvider::ProviderName);
      std::vector<Variant> put = {"Jet OLEDB:Database Password", oldPassword};
      conn.AsDispatch()->Invoke("Properties", dkPropertyPut, put);
      conn.Exec("Open", {"Data Source=" + File});
      conn.Exec("Execute", {"ALTER DATABASE PASSWORD " + quote(newPassword) + " " + quote(oldPassword)});
      conn.Exec("Close");
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  bool Opens(const AnsiString& password)
  {
    std::unique_ptr<TDBProvider> p = DBProviders::CreateProvider(JetProvider::ProviderName);
    try {
      p->Open(TConnectionString("Data Source=" + File + ";Jet OLEDB:Database Password=" + password), 0);
      p->Close();
      return true;
    } catch (const EOleException&) {
      return false;
    }
  }
  AnsiString File;
};

TEST_F(AdoPasswordTest, RemovingAndRestoringThePasswordOfAnAccessFile)
{
  EXPECT_FALSE(Opens(""));
  EXPECT_FALSE(SetPassword("wrong", ""));
  EXPECT_FALSE(Opens(""));
  EXPECT_TRUE(SetPassword("moorvane", ""));
  EXPECT_TRUE(Opens(""));
  EXPECT_TRUE(SetPassword("", "moorvane"));
  EXPECT_FALSE(Opens(""));
  EXPECT_TRUE(Opens("moorvane"));
}

}  // namespace
