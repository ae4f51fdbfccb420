// The Jet provider's "Excel 8.0" mode on workbooks made by real spreadsheet programs:
// workbook.xls (tests/data/make-workbook.py), workbooks-biff8.xls, workbooks-biff5.xls and
// dates1904.xls (tests/data/make-workbooks.sh, from the .fods sources beside it). Sheet names, the
// header row as field names, typed cells cell by cell (formula results included), errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
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
#include "platform/db/tests/XlsBuilder.h"

namespace {

const AnsiString Workbook = AnsiString(PELTO_TEST_DATA) + "/workbook.xls";

WideString ExcelConnection(const AnsiString& file)
{
  return System::AnsiToWide(SysUtils::Format("Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=%s", {file}));
}

// One expected cell: Null, a text (CP936, as GetAsString gives it), a number, a date or a Boolean.
struct Want {
  enum { Null, Text, Number, Date, Flag } Kind = Null;
  AnsiString S;
  double V = 0;
  Want() = default;
  Want(const char* s) : Kind(Text), S(s) {}
  Want(const AnsiString& s) : Kind(Text), S(s) {}
  Want(double v) : Kind(Number), V(v) {}
  Want(int v) : Kind(Number), V(v) {}
  Want(bool b) : Kind(Flag), V(b) {}
  static Want At(int y, int m, int d, int h = 0, int n = 0, int sec = 0)
  {
    Want w;
    w.Kind = Date;
    w.V = (y ? SysUtils::EncodeDate(y, m, d).Value : 0) + SysUtils::EncodeTime(h, n, sec, 0).Value;
    return w;
  }
  static Want Days(double days)
  {
    Want w;
    w.Kind = Date;
    w.V = days;
    return w;
  }
};

struct WantColumn {
  const char* Name;
  TFieldType Type;
};

// Opens [Sheet$] and checks its fields and every cell.
void ExpectSheet(TADOConnection& conn, const AnsiString& sheet, const std::vector<WantColumn>& cols,
                 const std::vector<std::vector<Want>>& rows)
{
  SCOPED_TRACE(sheet);
  TADOQuery q(nullptr);
  q.SetConnection(&conn);
  q.GetSQL()->SetText("select * from [" + sheet + "$]");
  q.Open();
  ASSERT_EQ(q.GetFields().GetCount(), static_cast<Integer>(cols.size()));
  for (std::size_t c = 0; c < cols.size(); ++c) {
    EXPECT_EQ(q.GetFields()[c]->GetFieldName(), cols[c].Name);
    EXPECT_EQ(q.GetFields()[c]->GetDataType(), cols[c].Type) << cols[c].Name;
  }
  ASSERT_EQ(q.GetRecordCount(), static_cast<Integer>(rows.size()));
  q.First();
  for (std::size_t r = 0; r < rows.size(); ++r, q.Next()) {
    for (std::size_t c = 0; c < cols.size(); ++c) {
      const TField* f = q.GetFields()[c];
      const Want& w = rows[r][c];
      SCOPED_TRACE(testing::Message() << "row " << r + 1 << ", " << cols[c].Name);
      EXPECT_EQ(f->IsNull(), w.Kind == Want::Null);
      if (f->IsNull()) continue;
      switch (w.Kind) {
        case Want::Text: EXPECT_EQ(f->GetAsString(), w.S); break;
        case Want::Number: EXPECT_NEAR(f->GetAsFloat(), w.V, std::fabs(w.V) * 1e-12); break;
        case Want::Date: EXPECT_NEAR(f->GetAsDateTime().Value, w.V, 1e-8); break;
        case Want::Flag: EXPECT_EQ(f->GetAsBoolean(), w.V != 0); break;
        case Want::Null: break;
      }
    }
  }
}

// The contents of workbooks.fods, as the programs save it. Without CachedTexts the file holds the
// number 0 as the result of every formula that gives a text (as one of them writes it).
void ExpectWorkbooksFods(const AnsiString& file, bool CachedTexts = true)
{
  SCOPED_TRACE(file);
  TADOConnection conn(nullptr);
  conn.SetConnectionString(ExcelConnection(file));
  conn.Open();
  TStringList sheets;
  conn.GetTableNames(&sheets, false);
  ASSERT_EQ(sheets.GetCount(), 5);
  const char* names[] = {"合同$", "客户$", "隐藏$", "计算$", "偏移$"};  // the hidden sheet too
  for (int i = 0; i < 5; ++i) EXPECT_EQ(sheets[i], names[i]);

  const double hours = 1.0 / 24;
  const TFieldType textResult = CachedTexts ? ftWideString : ftFloat;
  auto text = [&](const char* s) { return CachedTexts ? Want(s) : Want(0); };
  ExpectSheet(
      conn, "合同",
      {{"合同编号", ftWideString},
       {"名称", ftWideString},
       {"金额", ftFloat},
       {"签订日期", ftDateTime},
       {"时间", ftDateTime},
       {"工期", ftDateTime},
       {"税额", ftFloat},
       {"摘要", textResult},
       {"大额", ftBoolean},
       {"比率", ftFloat},
       {"生效日期", ftDateTime},
       {"F12", ftWideString},
       {"登记", ftDateTime}},
      {
          {"HT-001", "办公设备采购", 12345.5, Want::At(2009, 3, 5), Want::At(0, 0, 0, 14, 30), Want::Days(36.5 * hours),
           1604.915, text("HT-001/办公设备采购"), true, 0.5, Want::At(2009, 4, 4), "甲", Want::At(2009, 3, 5, 9, 15)},
          // Hangul is not in CP936; the #DIV/0! of the ratio reads as Null.
          {"HT-002", "?? ?? Korea", 800, Want::At(2010, 12, 31), Want::At(0, 0, 0, 0, 0, 1), Want::Days(1 * hours), 104,
           text("HT-002/?? ?? Korea"), false, Want(), Want::At(2011, 1, 30), Want(), Want::At(2000, 2, 29, 12)},
          {"HT-003", "维修服务", -0.25, Want::At(1999, 7, 1), Want::At(0, 0, 0, 23, 59, 59), Want::Days(0.75 * hours),
           -0.0325, text("HT-003"), false, -0.25 / 24691, Want::At(1999, 7, 31), "丙", Want()},
      });
  ExpectSheet(conn, "客户", {{"对方单位", ftWideString}, {"联系人", ftWideString}, {"客户", ftBoolean}},
              {{"华东公司", "张三", true}, {"Acme Ltd", "John", false}});

  // A text of 5,000 characters: the shared-string table goes on in CONTINUE records.
  WideString longText;
  for (int i = 0; i < 5000; ++i) longText += static_cast<char16_t>(0x4E00 + (i * 7) % 5000);
  ExpectSheet(conn, "隐藏", {{"说明", ftWideMemo}}, {{System::WideToAnsi(longText)}, {"ok"}});

  // Every cell a formula, the titles too: the rows are there with their results.
  if (!CachedTexts) return;
  std::vector<std::vector<Want>> computed;
  for (int i = 1; i <= 11; ++i)
    computed.push_back({i, "项目" + SysUtils::IntToStr(i), Want::At(2020, 1, i), i % 2 == 1});
  ExpectSheet(conn, "计算", {{"序号", ftFloat}, {"项目", ftWideString}, {"日期", ftDateTime}, {"单数", ftBoolean}},
              computed);

  // A table that starts at C3.
  ExpectSheet(conn, "偏移", {{"编号", ftWideString}, {"数量", ftFloat}}, {{"A", 1}, {"B", 2}});
}

}  // namespace

TEST(ExcelProvider, ReadsABiff8WorkbookCellByCell)
{
  ExpectWorkbooksFods(AnsiString(PELTO_TEST_DATA) + "/workbooks-biff8.xls");
}

TEST(ExcelProvider, ReadsABiff8WorkbookOfAnotherProgram)
{
  ExpectWorkbooksFods(AnsiString(PELTO_TEST_DATA) + "/workbooks-biff8-calc.xls", false);
}

TEST(ExcelProvider, ReadsABiff5WorkbookInCodePage936)
{
  ExpectWorkbooksFods(AnsiString(PELTO_TEST_DATA) + "/workbooks-biff5.xls");
}

TEST(ExcelProvider, ReadsDatesOfThe1904System)
{
  TADOConnection conn(nullptr);
  conn.SetConnectionString(ExcelConnection(AnsiString(PELTO_TEST_DATA) + "/dates1904.xls"));
  ExpectSheet(conn, "Sheet1", {{"日期", ftDateTime}, {"数", ftFloat}},
              {{Want::At(2009, 3, 5), 1}, {Want::At(1904, 1, 2), 2}});
}

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
  using namespace XlsBuilder;
  auto write = [](const char* name, const std::string& bytes) {
    AnsiString file = testing::TempDir() + name + std::to_string(::getpid()) + ".xls";
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  };
  TBook book;
  book.Globals = Record(0x002F, U16(1) + std::string(52, '\x5A')) + StandardGlobals();
  book.Sheets.push_back({u"Sheet1", 0, Number(0, 0, 1)});
  const AnsiString encrypted = write("encrypted-", File(book));
  book.Globals = StandardGlobals();
  const AnsiString looped = write("looped-", File(book, {9, true}));
  struct Case {
    AnsiString file;
    AnsiString message;
  };
  const Case cases[] = {
      {text, "External table is not in the expected format."},
      {jet.File(), "External table is not in the expected format."},
      {"/nonexistent/book.xls", "Could not find file '/nonexistent/book.xls'."},
      {encrypted, "Could not decrypt file."},
      {looped, "External table is not in the expected format."},
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
  for (const AnsiString& f : {text, encrypted, looped}) ::unlink(f.c_str());

  TADOConnection conn(nullptr);
  conn.SetConnectionString(ExcelConnection(Workbook));
  for (const char* sql : {"select * from [Sheet9$]", "select * from [Sheet1]", "delete from [Sheet1$]"}) {
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.GetSQL()->SetText(sql);
    EXPECT_THROW(q.Open(), EOleException) << sql;
  }
}
