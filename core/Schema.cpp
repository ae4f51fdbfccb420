#include "core/Schema.h"

#include <cstdio>

#include "core/PasswordHash.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/JetProvider.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Guards.h"

namespace {

// One table in both dialects: columns as "name jet-type pg-type".
struct TColumn {
  const char* Name;
  const char* Jet;
  const char* Pg;  // the server's (SQL Server) spelling
};
struct TTable {
  const char* Name;
  std::vector<TColumn> Columns;
  const char* Key;  // primary key column, or nullptr
};

std::vector<TColumn> UserTexts(const char* Prefix, int Count)
{
  static std::vector<std::string> Names;  // keeps the generated names alive
  std::vector<TColumn> Out;
  for (int i = 1; i <= Count; ++i) {
    char Buf[8];
    std::snprintf(Buf, sizeof Buf, "%s%02d", Prefix, i);
    Names.emplace_back(Buf);
  }
  std::size_t First = Names.size() - Count;
  for (int i = 0; i < Count; ++i) Out.push_back({Names[First + i].c_str(), "TEXT(250)", "varchar(250)"});
  return Out;
}

const std::vector<TTable>& Tables()
{
  static const std::vector<TTable> List = [] {
    std::vector<TTable> T;
    TTable Hetongs{"hetongs",
                   {{"Id", "INTEGER", "int"},
                    {"HtCode", "TEXT(50)", "varchar(50)"},
                    {"HtName", "TEXT(250)", "varchar(250)"},
                    {"PayType", "TEXT(50)", "varchar(50)"},
                    {"ClientId", "INTEGER", "int"},
                    {"HtKind", "TEXT(50)", "varchar(50)"},
                    {"SignDate", "DATETIME", "datetime"},
                    {"HtFund", "FLOAT", "float"},
                    {"DeptId", "TEXT(50)", "varchar(50)"},
                    {"MyHandman", "TEXT(50)", "varchar(50)"},
                    {"Contents", "MEMO", "ntext"},
                    {"HtProgress", "TEXT(50)", "varchar(50)"},
                    {"BeginDate", "DATETIME", "datetime"},
                    {"EndDate", "DATETIME", "datetime"},
                    {"InsTime", "DATETIME", "datetime"},
                    {"Insman", "TEXT(50)", "varchar(50)"},
                    {"EdiTime", "DATETIME", "datetime"},
                    {"Ediman", "TEXT(50)", "varchar(50)"}},
                   "Id"};
    for (auto& C : UserTexts("S", 10)) Hetongs.Columns.push_back(C);
    Hetongs.Columns.push_back({"F01", "FLOAT", "float"});
    Hetongs.Columns.push_back({"F02", "FLOAT", "float"});
    Hetongs.Columns.push_back({"D01", "DATETIME", "datetime"});
    Hetongs.Columns.push_back({"D02", "DATETIME", "datetime"});
    T.push_back(Hetongs);
    T.push_back({"clients",
                 {{"Id", "INTEGER", "int"},
                  {"ClientName", "TEXT(50)", "varchar(50)"},
                  {"Linkman", "TEXT(50)", "varchar(50)"},
                  {"LinkTel", "TEXT(50)", "varchar(50)"},
                  {"Address", "TEXT(100)", "varchar(100)"},
                  {"IsClient", "BIT", "bit"},
                  {"IsSupplier", "BIT", "bit"},
                  {"IsLock", "BIT", "bit"},
                  {"Notes", "MEMO", "ntext"}},
                 "Id"});
    T.push_back({"payments",
                 {{"Id", "INTEGER", "int"},
                  {"HetongId", "INTEGER", "int"},
                  {"Shldate", "DATETIME", "datetime"},
                  {"Shlfund", "FLOAT", "float"},
                  {"Paydate", "DATETIME", "datetime"},
                  {"Payfund", "FLOAT", "float"},
                  {"InvDate", "DATETIME", "datetime"},
                  {"Invfund", "FLOAT", "float"},
                  {"InvNo", "TEXT(50)", "varchar(50)"},
                  {"Notes", "TEXT(250)", "varchar(250)"}},
                 "Id"});
    TTable Toubiaos{
        "toubiaos", {{"Id", "INTEGER", "int"}, {"HetongId", "INTEGER", "int"}, {"ClientId", "INTEGER", "int"}}, "Id"};
    for (auto& C : UserTexts("S", 6)) Toubiaos.Columns.push_back(C);
    Toubiaos.Columns.push_back({"Notes", "MEMO", "ntext"});
    T.push_back(Toubiaos);
    T.push_back({"departments",
                 {{"Code", "TEXT(50)", "varchar(50)"},
                  {"Name", "TEXT(30)", "varchar(30)"},
                  {"Manager", "TEXT(30)", "varchar(30)"},
                  {"Tel", "TEXT(30)", "varchar(30)"},
                  {"Fax", "TEXT(30)", "varchar(30)"},
                  {"Address", "TEXT(50)", "varchar(50)"},
                  {"Note", "TEXT(50)", "varchar(50)"}},
                 "Code"});
    // Password holds the salted hash, longer than the typed password.
    T.push_back({"operator",
                 {{"LoginId", "TEXT(50)", "varchar(50)"},
                  {"Password", "TEXT(255)", "varchar(255)"},
                  {"Name", "TEXT(50)", "varchar(50)"},
                  {"DeptId", "TEXT(50)", "varchar(50)"},
                  {"Contact", "TEXT(50)", "varchar(50)"},
                  {"Note", "TEXT(250)", "varchar(250)"},
                  {"Rights", "MEMO", "ntext"}},
                 "LoginId"});
    T.push_back({"Company",
                 {{"Id", "INTEGER", "int"},
                  {"CompanyName", "TEXT(100)", "varchar(100)"},
                  {"Manager", "TEXT(50)", "varchar(50)"},
                  {"Tel", "TEXT(50)", "varchar(50)"},
                  {"Fax", "TEXT(50)", "varchar(50)"},
                  {"Address", "TEXT(100)", "varchar(100)"},
                  {"Zip", "TEXT(20)", "varchar(20)"},
                  {"Profile", "MEMO", "ntext"},
                  {"UseCount", "INTEGER", "int"},
                  {"Updated", "BIT", "bit"}},
                 "Id"});
    T.push_back({"keyvalue",
                 {{"KeyId", "INTEGER", "int"},
                  {"Vint", "INTEGER", "int"},
                  {"Vstr", "MEMO", "ntext"},
                  {"Vfloat", "FLOAT", "float"},
                  {"Vbool", "BIT", "bit"}},
                 "KeyId"});
    T.push_back({"options",
                 {{"Key", "INTEGER", "int"}, {"Label", "TEXT(50)", "varchar(50)"}, {"List", "MEMO", "ntext"}},
                 "Key"});
    T.push_back({"report",
                 {{"Id", "INTEGER", "int"},
                  {"GrpId", "INTEGER", "int"},
                  {"Title", "TEXT(100)", "varchar(100)"},
                  {"Fr3File", "IMAGE", "image"}},
                 "Id"});
    T.push_back({"syscols", {{"F02", "INTEGER", "int"}, {"F06", "MEMO", "ntext"}}, "F02"});
    T.push_back({"upgrade",
                 {{"Id", "INTEGER", "int"}, {"Version", "TEXT(50)", "varchar(50)"}, {"SqlText", "MEMO", "ntext"}},
                 "Id"});
    T.push_back({"backup", {{"TypeId", "INTEGER", "int"}, {"BackDir", "TEXT(250)", "varchar(250)"}}, nullptr});
    T.push_back({"link",
                 {{"Id", "COUNTER", "int IDENTITY(1,1)"},
                  {"GroupId", "INTEGER", "int"},
                  {"Title", "TEXT(100)", "varchar(100)"},
                  {"lpFile", "TEXT(250)", "varchar(250)"},
                  {"lpParameters", "TEXT(250)", "varchar(250)"},
                  {"Note", "TEXT(250)", "varchar(250)"}},
                 nullptr});
    T.push_back({"doc",
                 {{"Id", "COUNTER", "int IDENTITY(1,1)"},
                  {"Title", "TEXT(100)", "varchar(100)"},
                  {"Source", "TEXT(250)", "varchar(250)"},
                  {"DocData", "IMAGE", "image"},
                  {"Note", "TEXT(250)", "varchar(250)"}},
                 nullptr});
    return T;
  }();
  return List;
}

std::vector<AnsiString> Build(bool Server)
{
  std::vector<AnsiString> Out;
  for (const TTable& T : Tables()) {
    AnsiString Sql = AnsiString("create table [") + T.Name + "] (";
    bool First = true;
    for (const TColumn& C : T.Columns) {
      if (!First) Sql += ", ";
      First = false;
      Sql += AnsiString("[") + C.Name + "] " + (Server ? C.Pg : C.Jet);
      bool Counter = AnsiString(C.Jet) == "COUNTER";
      if ((Counter && Server) || (T.Key && AnsiString(T.Key) == C.Name)) Sql += " PRIMARY KEY";
    }
    Sql += ")";
    Out.push_back(Sql);
  }
  return Out;
}

}  // namespace

namespace Schema {

const std::vector<AnsiString>& JetStatements()
{
  static const std::vector<AnsiString> List = Build(false);
  return List;
}

const std::vector<AnsiString>& ServerStatements()
{
  static const std::vector<AnsiString> List = Build(true);
  return List;
}

std::vector<AnsiString> StartingRows()
{
  return {
      "insert into [operator](LoginId, [Password], Name, Rights) values ('sa', '" + PasswordHash::Make("") +
          "', '系统管理员', '')",
      "insert into [backup](TypeId, BackDir) values (0, '')",
      "insert into Company(Id, CompanyName, Manager, Tel, Fax, Address, Zip, UseCount, Updated) "
      "values (1, '', '', '', '', '', '', 0, 0)",
  };
}

void CreateJetDatabase(const AnsiString& FileName, const AnsiString& Password)
{
  JetProvider::CreateDatabase(FileName, Password);
  TScopeExit undo([&] { SysUtils::DeleteFile(FileName); });
  TADOConnection Conn(nullptr);
  Conn.SetLoginPrompt(false);
  Conn.SetConnectionString(System::AnsiToWide(AnsiString("Provider=") + JetProvider::ProviderName +
                                              ";Data Source=" + FileName + ";Jet OLEDB:Database Password=" + Password));
  Conn.Open();
  Conn.BeginTrans();
  for (const AnsiString& Sql : JetStatements()) Conn.Execute(System::AnsiToWide(Sql));
  for (const AnsiString& Sql : StartingRows()) Conn.Execute(System::AnsiToWide(Sql));
  Conn.CommitTrans();
  Conn.Close();
  undo.Dismiss();
}

void CreateServerSchema(TADOConnection* Connection)
{
  Connection->BeginTrans();
  TScopeExit undo([&] { Connection->RollbackTrans(); });
  for (const AnsiString& Sql : ServerStatements()) Connection->Execute(System::AnsiToWide(Sql));
  for (const AnsiString& Sql : StartingRows()) Connection->Execute(System::AnsiToWide(Sql));
  Connection->CommitTrans();
  undo.Dismiss();
}

bool EnsureJetDatabase(const AnsiString& FileName, const AnsiString& Password)
{
  if (SysUtils::FileExists(FileName)) return false;
  CreateJetDatabase(FileName, Password);
  return true;
}

}  // namespace Schema
