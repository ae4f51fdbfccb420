// The bridge to platform datasets: aliases and hidden fields, ranges relative to the current
// record, errors for unknown fields, the source's lifetime, and a real SQLite query.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/data/frxDBSet.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxReport.h"

namespace {

// Customers in memory: 1 张三 paid, 2 Smith, 3 李四 paid.
class DBDataSet : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    Src.GetFieldDefs().Add("CUST_ID", ftInteger);
    Src.GetFieldDefs().Add("CUST_NAME", ftString, 20);
    Src.GetFieldDefs().Add("PAID", ftBoolean);
    Src.GetFieldDefs().Add("SINCE", ftDateTime);
    Src.CreateDataSet();
    Src.AppendRecord({Variant(1), Variant(AnsiString("张三")), Variant(true), Variant::Null()});
    Src.AppendRecord({Variant(2), Variant(AnsiString("Smith")), Variant(false), Variant::Null()});
    Src.AppendRecord({Variant(3), Variant(AnsiString("李四")), Variant(true), Variant::Null()});
    Src.First();
    Ds = new TfrxDBDataset(&Report);
    Ds->SetName("Cust");
    Ds->SetDataSet(&Src);
    Report.GetDataSets()->Add(Ds);
  }

  std::vector<AnsiString> Walk(const char* field)
  {
    std::vector<AnsiString> out;
    Ds->First();
    while (!Ds->Eof()) {
      out.push_back(Variants::VarToStr(Ds->GetValue(field)));
      Ds->Next();
    }
    return out;
  }

  TADODataSet Src{nullptr};
  TfrxReport Report{nullptr};
  TfrxDBDataset* Ds = nullptr;  // owned by Report
};

}  // namespace

TEST_F(DBDataSet, AliasesRenameAndHideFields)
{
  TStringList aliases;
  aliases.SetText("CUST_NAME=Customer\nPAID=Paid\n-CUST_ID=Id\n");
  Ds->SetFieldAliases(&aliases);
  TStringList list;
  Ds->GetFieldList(&list);
  EXPECT_EQ(list.GetText(), "Customer\r\nPaid\r\n");
  EXPECT_EQ(Ds->FieldsCount(), 2);
  EXPECT_TRUE(Ds->HasField("customer"));
  EXPECT_FALSE(Ds->HasField("CUST_ID"));

  Report.GetDataSets()->Initialize();
  EXPECT_EQ(Walk("Customer"), (std::vector<AnsiString>{"张三", "Smith", "李四"}));
  Ds->First();
  EXPECT_EQ(Ds->GetDisplayText("Paid"), Src.FieldByName("PAID")->GetDisplayText());
  EXPECT_EQ(Ds->GetFieldType("Customer"), fftString);
  EXPECT_EQ(Ds->GetFieldType("Paid"), fftBoolean);
  EXPECT_EQ(Ds->GetFieldType("CUST_ID"), fftNumeric);
  EXPECT_EQ(Ds->GetDisplayWidth("Customer"), Src.FieldByName("CUST_NAME")->GetDisplayWidth());
  EXPECT_EQ(Ds->GetDisplayWidth("Nothing"), 10);
  EXPECT_TRUE(Report.GetErrors()->GetCount() == 0);
  Report.GetDataSets()->Finalize();
}

TEST_F(DBDataSet, UnknownFieldsAreReportedNotRaised)
{
  TStringList aliases;
  aliases.SetText("CUST_NAME=Customer\nNO_SUCH=Ghost\n");  // an alias of a field the source lacks
  Ds->SetFieldAliases(&aliases);
  Ds->ReportRef = &Report;
  Report.CurObject = "Memo1";
  Ds->Open();
  EXPECT_TRUE(Ds->GetValue("Nope").IsNull());
  EXPECT_TRUE(Ds->GetValue("Ghost").IsNull());
  EXPECT_EQ(Ds->GetDisplayText("Nope"), "字段不存在: Cust.\"Nope\"");
  ASSERT_EQ(Report.GetErrors()->GetCount(), 2);  // sorted, each message once
  EXPECT_EQ((*Report.GetErrors())[1], "Memo1: 字段不存在: Cust.\"Nope\"");
  EXPECT_FALSE(Ds->IsBlobField("Ghost"));

  Src.Close();
  EXPECT_EQ(Ds->GetDisplayText("Customer"), "Cust.\"Customer\"");  // closed source: the binding

  // A source opened during a run maps through its after-open hook, which refuses the alias.
  Ds->Close();
  Ds->Initialize();
  EXPECT_THROW(Ds->Open(), EDatabaseError);
  Ds->Finalize();
}

TEST_F(DBDataSet, CurrentRecordRangePrintsItAndIsRestored)
{
  int saved = 0;
  Src.AfterOpen = [&](TDataSet*) { ++saved; };
  Src.First();
  Src.Next();  // Smith
  Ds->RangeBegin = rbCurrent;
  Ds->RangeEnd = reCurrent;
  Report.GetDataSets()->Initialize();
  EXPECT_EQ(Walk("CUST_NAME"), (std::vector<AnsiString>{"Smith"}));
  Src.Last();
  Report.GetDataSets()->Finalize();
  EXPECT_EQ(Src.FieldByName("CUST_NAME")->GetAsString(), "Smith");
  ASSERT_TRUE(Src.AfterOpen);
  Src.AfterOpen(&Src);
  EXPECT_EQ(saved, 1);  // the report's handler is gone, the host's is back

  // From the current record to the end, and a counted range.
  Ds->RangeEnd = reLast;
  Report.GetDataSets()->Initialize();
  EXPECT_EQ(Walk("CUST_ID"), (std::vector<AnsiString>{"2", "3"}));
  Report.GetDataSets()->Finalize();
  Ds->RangeBegin = rbFirst;
  Ds->RangeEnd = reCount;
  Ds->RangeEndCount = 2;
  Report.GetDataSets()->Initialize();
  EXPECT_EQ(Walk("CUST_ID"), (std::vector<AnsiString>{"1", "2"}));
  Report.GetDataSets()->Finalize();
}

TEST_F(DBDataSet, SourceBindingAndLifetime)
{
  TfrxDBDataset loose(nullptr);
  loose.SetName("Loose");
  EXPECT_THROW(
      {
        try {
          loose.Initialize();
        } catch (const Exception& e) {
          EXPECT_EQ(e.Message(), "数据集 Loose 未连接至数据库");
          throw;
        }
      },
      Exception);

  TDataSource source(nullptr);
  source.SetDataSet(&Src);
  loose.SetDataSource(&source);
  EXPECT_EQ(loose.GetSourceDataSet(), &Src);
  auto other = std::make_unique<TADODataSet>(nullptr);
  loose.SetDataSet(other.get());
  EXPECT_EQ(loose.GetDataSource(), nullptr);
  EXPECT_EQ(loose.GetSourceDataSet(), other.get());

  // A freed source leaves no dangling reference, even mid-run.
  other->GetFieldDefs().Add("X", ftInteger);
  other->CreateDataSet();
  loose.Initialize();
  loose.Open();
  other.reset();
  EXPECT_EQ(loose.GetDataSet(), nullptr);
  EXPECT_EQ(loose.GetSourceDataSet(), nullptr);
  loose.Finalize();

  // Stored with the object only outside a report.
  const TPropInfo* prop = TypInfo::GetPropInfo(TfrxDBDataset::StaticClass(), "DataSet");
  ASSERT_NE(prop, nullptr);
  EXPECT_TRUE(TypInfo::IsStoredProp(&loose, prop));
  EXPECT_FALSE(TypInfo::IsStoredProp(Ds, prop));

  EXPECT_EQ(Classes::GetClass("TfrxUserDataSet"), TfrxUserDataSet::StaticClass());
  EXPECT_EQ(Classes::GetClass("TfrxDBDataset"), TfrxDBDataset::StaticClass());
}

TEST(DBDataSetSQLite, ReadsAQueryWithBlobsAndMemos)
{
  ReportEngineModule::Initialize();
  DBProviders::Initialize();
  AnsiString file = testing::TempDir() + "frxdb_" + std::to_string(::getpid()) + ".mdb";
  ::unlink(file.c_str());
  JetProvider::CreateDatabase(file);
  {
    TADOConnection conn(nullptr);
    conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file));
    conn.SetLoginPrompt(false);
    conn.Open();
    TADOQuery exec(nullptr);
    exec.SetConnection(&conn);
    exec.GetSQL()->SetText("create table ht (Id INTEGER, Title TEXT(30), Body MEMO, Data IMAGE)");
    exec.ExecSQL();
    exec.GetSQL()->SetText("insert into ht values (1, '采购合同', 'line 1\r\n第二行', null)");
    exec.ExecSQL();
    exec.GetSQL()->SetText("insert into ht values (2, 'Lease', '', null)");
    exec.ExecSQL();

    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.GetSQL()->SetText("select Id, Title, Body, Data from ht order by Id");
    TfrxDBDataset d(nullptr);
    d.SetUserName("Contracts");
    d.SetDataSet(&q);
    d.CloseDataSource = true;
    d.Initialize();
    d.First();  // opens the query
    EXPECT_TRUE(q.GetActive());
    EXPECT_EQ(Variants::VarToStr(d.GetValue("Title")), "采购合同");
    EXPECT_EQ(d.GetFieldType("Title"), fftString);
    EXPECT_TRUE(d.IsBlobField("Body"));
    EXPECT_FALSE(d.IsBlobField("Title"));
    TStringList lines;
    d.AssignBlobTo("Body", &lines);
    EXPECT_EQ(lines.GetCount(), 2);
    EXPECT_EQ(lines[1], "第二行");
    TMemoryStream bytes;
    d.AssignBlobTo("Body", &bytes);
    EXPECT_EQ(bytes.GetPosition(), 0);
    EXPECT_EQ(bytes.GetSize(), 14);
    d.Next();
    EXPECT_EQ(Variants::VarToStr(d.GetValue("Id")), "2");
    d.Next();
    EXPECT_TRUE(d.Eof());
    d.Finalize();
    EXPECT_FALSE(q.GetActive());
  }
  ::unlink(file.c_str());
}
