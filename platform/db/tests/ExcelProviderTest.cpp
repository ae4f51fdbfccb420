// The Jet provider's "Excel 8.0" mode on a small workbook (tests/data/workbook.xls, made by
// tests/data/make-workbook.py): sheet names, the header row as field names, typed cells, errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/db/tests/JetTestSupport.h"

namespace {

const AnsiString Workbook = AnsiString(PELTO_TEST_DATA) + "/workbook.xls";

WideString ExcelConnection(const AnsiString& file)
{
  return System::AnsiToWide(SysUtils::Format("Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=%s", {file}));
}

}  // namespace

TEST(ConnectionString, ItemWithoutValueIsAKey)
{
  TConnectionString cs(
      "Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=a;b.xls;Extended Properties=\"Excel 8.0;HDR=Yes\"");
  EXPECT_EQ(cs.Get("Provider"), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_TRUE(cs.Has("excel 8.0"));
  EXPECT_EQ(cs.Get("DATABASE"), "a");
  EXPECT_TRUE(cs.Has("b.xls"));
  EXPECT_EQ(cs.Get("Extended Properties"), "Excel 8.0;HDR=Yes");
}

TEST(ExcelProvider, ReadsSheetsHeaderRowAndTypedCells)
{
  TADOConnection conn(nullptr);
  conn.SetLoginPrompt(false);
  conn.SetConnectionString(ExcelConnection(Workbook));
  conn.Open();
  TStringList sheets;
  conn.GetTableNames(&sheets, false);
  ASSERT_EQ(sheets.GetCount(), 2);
  EXPECT_EQ(sheets[0], "Sheet1$");
  EXPECT_EQ(sheets[1], "客户$");

  // As the import wizard opens a sheet: a table name in brackets.
  TADODataSet ds(nullptr);
  ds.SetConnection(&conn);
  ds.SetCommandType(cmdTable);
  ds.SetCommandText(u"[" + System::AnsiToWide(sheets[0]) + u"]");
  ds.Open();
  ASSERT_EQ(ds.GetFields().GetCount(), 6);
  struct Column {
    const char* name;
    TFieldType type;
  };
  const Column cols[] = {{"合同编号", ftWideString}, {"名称", ftWideString}, {"金额", ftFloat},
                         {"签订日期", ftDateTime},   {"份数", ftFloat},      {"备注", ftWideString}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ds.GetFields()[i]->GetFieldName(), cols[i].name);
    EXPECT_EQ(ds.GetFields()[i]->GetDataType(), cols[i].type) << cols[i].name;
  }
  EXPECT_EQ(ds.GetRecordCount(), 3);
  ds.First();
  EXPECT_EQ(ds.FieldByName("合同编号")->GetAsString(), "HT-001");
  EXPECT_EQ(ds.FieldByName("名称")->GetAsString(), "办公设备采购");
  EXPECT_EQ(ds.FieldByName("金额")->GetAsFloat(), 12345.5);
  EXPECT_EQ(ds.FieldByName("签订日期")->GetAsDateTime().Value, SysUtils::EncodeDate(2009, 3, 5).Value);
  EXPECT_EQ(ds.FieldByName("份数")->GetAsInteger(), 2);
  ds.Next();
  EXPECT_NEAR(ds.FieldByName("签订日期")->GetAsDateTime().Value,
              SysUtils::EncodeDate(2010, 12, 31).Value + SysUtils::EncodeTime(14, 30, 0, 0).Value, 1e-9);
  EXPECT_TRUE(ds.FieldByName("备注")->IsNull());
  ds.Next();
  EXPECT_TRUE(ds.FieldByName("金额")->IsNull());
  EXPECT_TRUE(ds.FieldByName("签订日期")->IsNull());
  EXPECT_EQ(ds.FieldByName("备注")->GetAsString(), "无金额");

  TADOQuery q(nullptr);
  q.SetConnection(&conn);
  q.GetSQL()->SetText("select * from [客户$]");
  q.Open();
  EXPECT_EQ(q.GetRecordCount(), 1);
  EXPECT_EQ(q.FieldByName("对方单位")->GetAsString(), "华东公司");
  EXPECT_EQ(q.FieldByName("联系人")->GetAsString(), "张三");

  // The other way to ask for a workbook.
  TADOConnection other(nullptr);
  other.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Workbook +
                                               ";Extended Properties=\"Excel 8.0;HDR=Yes\""));
  other.GetTableNames(&sheets);
  EXPECT_EQ(sheets.GetCount(), 2);
}

TEST(ExcelProvider, ClearErrors)
{
  AnsiString text = testing::TempDir() + "not-a-workbook-" + std::to_string(::getpid()) + ".xls";
  std::ofstream(text) << "Id,Name\n1,x\n";
  TempJetDatabase jet;  // a database file is no workbook either
  struct Case {
    AnsiString file;
    AnsiString message;
  };
  const Case cases[] = {
      {text, "External table is not in the expected format."},
      {jet.File(), "External table is not in the expected format."},
      {"/nonexistent/book.xls", "Could not find file '/nonexistent/book.xls'."},
  };
  for (const Case& c : cases) {
    TADOConnection conn(nullptr);
    conn.SetConnectionString(ExcelConnection(c.file));
    try {
      conn.Open();
      ADD_FAILURE() << c.file;
    } catch (const EOleException& e) {
      EXPECT_EQ(e.Message(), c.message) << c.file;
    }
    EXPECT_FALSE(conn.GetConnected());
  }
  ::unlink(text.c_str());

  TADOConnection conn(nullptr);
  conn.SetConnectionString(ExcelConnection(Workbook));
  for (const char* sql : {"select * from [Sheet9$]", "select * from [Sheet1]", "delete from [Sheet1$]"}) {
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.GetSQL()->SetText(sql);
    EXPECT_THROW(q.Open(), EOleException) << sql;
  }
}
