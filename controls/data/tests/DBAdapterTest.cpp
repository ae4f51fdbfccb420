// The adapter registries, the SQL null operators, the detail-filter adapter over an in-memory
// and a query dataset, and the field routines.
#include <gtest/gtest.h>

#include <memory>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDB.h"
#include "controls/data/db/cxDBDataAdapters.h"
#include "controls/data/db/cxDBFilter.h"
#include "controls/data/tests/FilterFixture.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/Fields.h"
#include "platform/db/tests/JetTestSupport.h"
#include "platform/rtl/StringList.h"

namespace {

class TTestAdapter : public TcxDBAdapterItem {
public:
  using TcxDBAdapterItem::TcxDBAdapterItem;
};
class TTestAdapter2 : public TTestAdapter {
public:
  using TTestAdapter::TTestAdapter;
};

TClass DataSetClass() { return TDataSet::StaticClass(); }
TClass CustomADOClass() { return TCustomADODataSet::StaticClass(); }
TClass QueryClass() { return TADOQuery::StaticClass(); }
TClass ADODataSetClass() { return TADODataSet::StaticClass(); }

TEST(DBAdapterList, NearestRegisteredAncestorIsFound)
{
  TcxDBAdapterList list;
  auto cls = cxDB::AdapterClassOf<TTestAdapter>();
  list.Register(QueryClass(), cls);
  list.Register(CustomADOClass(), cls);  // the ancestor goes before its descendant
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->GetDataSetClass(), CustomADOClass());
  EXPECT_EQ(list.Items(1)->GetDataSetClass(), QueryClass());

  int index = -1;
  EXPECT_TRUE(list.Find(QueryClass(), index));
  EXPECT_EQ(index, 1);
  index = -1;
  EXPECT_TRUE(list.Find(ADODataSetClass(), index));  // a sibling takes the ancestor's
  EXPECT_EQ(index, 0);
  index = -1;
  EXPECT_FALSE(list.Find(DataSetClass(), index));  // only descendants registered
  EXPECT_EQ(index, 0);

  // An ancestor registered last still lands before its descendants.
  list.Register(DataSetClass(), cls);
  EXPECT_EQ(list.Items(0)->GetDataSetClass(), DataSetClass());
}

TEST(DBAdapterList, LaterRegistrationWinsAndUnregisterNeedsExactClasses)
{
  TcxDBAdapterList list;
  list.Register(DataSetClass(), cxDB::AdapterClassOf<TTestAdapter>());
  list.Register(DataSetClass(), cxDB::AdapterClassOf<TTestAdapter2>());
  int index = -1;
  ASSERT_TRUE(list.Find(QueryClass(), index));
  EXPECT_NE(dynamic_cast<TTestAdapter2*>(list.Items(index)), nullptr);

  list.Unregister(QueryClass(), cxDB::AdapterClassOf<TTestAdapter2>());  // other dataset class
  EXPECT_EQ(list.Count(), 2);
  list.Unregister(DataSetClass(), cxDB::AdapterClassOf<TTestAdapter>());  // exact: TTestAdapter2 stays
  ASSERT_EQ(list.Count(), 1);
  EXPECT_NE(dynamic_cast<TTestAdapter2*>(list.Items(0)), nullptr);
}

class DBAdapters : public testing::Test {
protected:
  void SetUp() override
  {
    DataModule::Initialize();
    DBClasses::Initialize();
  }
};

TEST_F(DBAdapters, NullConditionsOfQueriesUseSqlOperators)
{
  TTestCriteria criteria;
  TcxFilterCriteriaItem* isNull = criteria.GetRoot()->AddItem(criteria.A(), fokEqual, Variant::Null(), "");
  TcxFilterCriteriaItem* notNull = criteria.GetRoot()->AddItem(criteria.A(), fokNotLike, Variant::Null(), "");
  TcxFilterCriteriaItem* equal = criteria.GetRoot()->AddItem(criteria.A(), fokEqual, 5, "5");

  struct Case {
    TDataSet* DataSet;
    const char* Null;
    const char* NotNull;
  };
  TADOQuery query(nullptr);
  TADODataSet table(nullptr);
  TDataSet plain(nullptr);
  for (const Case& c : {Case{&query, "IS", "IS NOT"}, Case{&table, "=", "<>"}, Case{&plain, "=", "<>"}}) {
    SCOPED_TRACE(c.DataSet->ClassName());
    TcxDBFilterOperatorAdapter* adapter = cxDBFilter::GetFilterOperatorAdapter(c.DataSet);
    ASSERT_NE(adapter, nullptr);
    auto op = isNull->CreateOperator();
    adapter->PrepareOperatorClass(isNull, c.DataSet, op);
    EXPECT_EQ(op->GetSymbol(), c.Null);
    EXPECT_EQ(op->GetOwnerItem(), isNull);
    op = notNull->CreateOperator();
    adapter->PrepareOperatorClass(notNull, c.DataSet, op);
    EXPECT_EQ(op->GetSymbol(), c.NotNull);
    EXPECT_NE(dynamic_cast<TcxFilterNotNullOperator*>(op.get()), nullptr);
    op = equal->CreateOperator();
    adapter->PrepareOperatorClass(equal, c.DataSet, op);
    EXPECT_EQ(op->GetSymbol(), "=");
  }
  EXPECT_EQ(cxDBFilter::GetFilterOperatorAdapter(nullptr), nullptr);

  // A registration of the wrong family is refused, not handed out.
  TcxDBAdapterList* adapters = cxDBFilter::FilterOperatorAdapters();
  adapters->Register(QueryClass(), cxDB::AdapterClassOf<TTestAdapter>());
  EXPECT_THROW(cxDBFilter::GetFilterOperatorAdapter(&query), EInvalidCast);
  EXPECT_NE(cxDBFilter::GetFilterOperatorAdapter(&table), nullptr);
  adapters->Unregister(QueryClass(), cxDB::AdapterClassOf<TTestAdapter>());
  EXPECT_NE(cxDBFilter::GetFilterOperatorAdapter(&query), nullptr);
}

TEST_F(DBAdapters, DetailFirstLocatesInMemoryRecords)
{
  TcxDBAdapterList* adapters = cxDBData::DetailFilterAdapters();
  ASSERT_NE(adapters, nullptr);
  TADODataSet mem(nullptr);
  mem.GetFieldDefs().Add("Master", ftInteger);
  mem.GetFieldDefs().Add("Kind", ftString, 10);
  mem.CreateDataSet();
  mem.AppendRecord({1, AnsiString("a")});
  mem.AppendRecord({2, AnsiString("a")});
  mem.AppendRecord({2, AnsiString("b")});
  int index = -1;
  ASSERT_TRUE(adapters->Find(mem.ClassType(), index));
  auto* adapter = dynamic_cast<TcxDBProviderDetailFilterAdapter*>(adapters->Items(index));
  ASSERT_NE(adapter, nullptr);

  bool reopened = false;
  adapter->DetailFirst(&mem, "Master; Kind", Variants::VarArrayOf({2, AnsiString("b")}), false, reopened);
  EXPECT_EQ(mem.GetRecNo(), 3);
  adapter->DetailFirst(&mem, "Master", 2, false, reopened);
  EXPECT_EQ(mem.GetRecNo(), 2);
  EXPECT_FALSE(reopened);

  // A dataset without parameters is never re-opened.
  TDataSet plain(nullptr);
  EXPECT_FALSE(adapter->IsCurrentQuery(&plain, "Master", 2));
  adapter->DetailFirst(&plain, "Master", 2, true, reopened);
  EXPECT_FALSE(reopened);
}

TEST_F(DBAdapters, DetailFirstReopensAQueryForNewKeyValues)
{
  TempJetDatabase db;
  TADOConnection conn(nullptr);
  conn.SetConnectionString(db.ConnectionString());
  conn.SetLoginPrompt(false);
  conn.Open();
  TADOQuery exec(nullptr);
  exec.SetConnection(&conn);
  exec.GetSQL()->SetText("create table Detail (Master INTEGER, Kind INTEGER, Name TEXT(20))");
  exec.ExecSQL();
  exec.GetSQL()->SetText("insert into Detail values (:M, :K, :N)");
  const struct {
    int M, K;
    const char* N;
  } rows[] = {{1, 1, "a"}, {2, 1, "b"}, {2, 2, "c"}, {2, 1, "d"}};
  for (const auto& r : rows) {
    exec.GetParameters().ParamByName("M")->SetValue(r.M);
    exec.GetParameters().ParamByName("K")->SetValue(r.K);
    exec.GetParameters().ParamByName("N")->SetValue(AnsiString(r.N));
    exec.ExecSQL();
  }

  TADOQuery q(nullptr);
  q.SetConnection(&conn);
  q.GetSQL()->SetText("select * from Detail where Master = :M and Kind = :K order by Name");
  q.GetParameters().ParamByName("M")->SetValue(1);
  q.GetParameters().ParamByName("K")->SetValue(1);
  q.Open();
  ASSERT_EQ(q.GetRecordCount(), 1);

  TcxDBProviderDetailFilterAdapter adapter(TDataSet::StaticClass());
  EXPECT_TRUE(adapter.IsCurrentQuery(&q, "M;K", Variants::VarArrayOf({1, 1})));
  EXPECT_FALSE(adapter.IsCurrentQuery(&q, "M;K", Variants::VarArrayOf({2, 1})));

  bool reopened = false;
  adapter.DetailFirst(&q, "M;K", Variants::VarArrayOf({2, 1}), true, reopened);
  EXPECT_TRUE(reopened);
  EXPECT_FALSE(q.ControlsDisabled());
  ASSERT_EQ(q.GetRecordCount(), 2);
  EXPECT_EQ(q.FieldByName("Name")->GetAsString(), "b");
  EXPECT_TRUE(adapter.IsCurrentQuery(&q, "M;K", Variants::VarArrayOf({2, 1})));

  // Same keys: back to the first record, not re-opened.
  q.Last();
  reopened = false;
  adapter.ReopenSQL(&q, "M;K", Variants::VarArrayOf({2, 1}), reopened);
  EXPECT_FALSE(reopened);
  EXPECT_EQ(q.GetRecNo(), 1);
}

TEST(DBFieldNames, ListsSplitAtSemicolons)
{
  struct Case {
    const char* Text;
    int Count;
    bool Multiple;
  };
  for (const Case& c : {Case{"", 0, false}, Case{"A", 1, false}, Case{"A;B", 2, true}, Case{"A;;B", 3, true},
                        Case{"A;", 1, false}, Case{" A ; B ", 2, true}}) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(cxDB::GetFieldNamesCount(c.Text), c.Count);
    EXPECT_EQ(cxDB::IsMultipleFieldNames(c.Text), c.Multiple);
  }
  TStringList list;
  list.Add("stale");
  cxDB::GetFieldNames(" A ;; B", &list);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetStrings(0), "A");
  EXPECT_EQ(list.GetStrings(1), "");
  EXPECT_EQ(list.GetStrings(2), "B");

  EXPECT_TRUE(cxDB::SameFieldName("合同Name", "合同NAME"));
  EXPECT_FALSE(cxDB::SameFieldName("Name", "Name "));
}

TEST_F(DBAdapters, FieldRoutines)
{
  TADODataSet ds(nullptr);
  ds.GetFieldDefs().Add("Id", ftInteger);
  ds.GetFieldDefs().Add("Unit Price", ftFloat);
  ds.GetFieldDefs().Add("Memo", ftMemo);
  ds.GetFieldDefs().Add("When", ftDateTime);
  ds.GetFieldDefs().Add("Done", ftBoolean);
  ds.CreateDataSet();
  ds.AppendRecord({7, 2.5, AnsiString("m"), Variant::Null(), true});
  TField* id = ds.FieldByName("Id");
  TField* price = ds.FieldByName("Unit Price");
  TField* memo = ds.FieldByName("Memo");
  TField* when = ds.FieldByName("When");
  TField* done = ds.FieldByName("Done");

  AnsiString name;
  cxDB::GetFilterFieldName(price, true, name);
  EXPECT_EQ(name, "[Unit Price]");
  cxDB::GetFilterFieldName(id, false, name);
  EXPECT_EQ(name, "Id");
  id->SetOrigin("D.Id");
  cxDB::GetFilterFieldName(id, false, name);
  EXPECT_EQ(name, "D.Id");
  cxDB::GetFilterFieldName(nullptr, false, name);
  EXPECT_EQ(name, "");
  name = "1st";
  cxDB::BracketFieldName(name);
  EXPECT_EQ(name, "[1st]");

  Variant v;
  cxDB::GetFieldValues(&ds, {id, price}, v);
  ASSERT_TRUE(Variants::VarIsArray(v));
  EXPECT_EQ(Variants::VarArrayLowBound(v, 1), 0);
  EXPECT_EQ(Variants::VarArrayHighBound(v, 1), 1);
  EXPECT_EQ(Variants::VarArrayGet(v, {0}).AsInteger(), 7);
  cxDB::GetFieldValues(&ds, {}, v);
  EXPECT_TRUE(v.IsNull());
  ds.Edit();
  cxDB::SetFieldValues(&ds, {id, price}, Variants::VarArrayOf({8, 3.5}));
  ds.Post();
  EXPECT_EQ(id->GetAsInteger(), 8);
  EXPECT_DOUBLE_EQ(price->GetAsFloat(), 3.5);

  EXPECT_TRUE(cxDB::CanModifyField(id, false));
  EXPECT_FALSE(cxDB::CanModifyField(memo, false));
  EXPECT_TRUE(cxDB::CanModifyField(memo, true));
  memo->OnSetText = [](TField*, const AnsiString&) {};
  EXPECT_TRUE(cxDB::CanModifyField(memo, false));
  id->SetReadOnly(true);
  EXPECT_FALSE(cxDB::CanModifyField(id, true));

  EXPECT_FALSE(cxDB::IsFieldFormatted(price, true));
  price->SetDisplayFormat("0.00");
  EXPECT_TRUE(cxDB::IsFieldFormatted(price, false));
  EXPECT_TRUE(cxDB::IsFieldFormatted(done, true));
  EXPECT_FALSE(cxDB::IsFieldFormatted(done, false));
  EXPECT_FALSE(cxDB::IsFieldFormatted(when, true));
  when->SetEditMask("!99/99/0000;1;_");
  EXPECT_TRUE(cxDB::IsFieldFormatted(when, false));

  EXPECT_EQ(cxDBData::GetValueTypeClassByField(nullptr), TcxStringValueType::Class());
  EXPECT_EQ(cxDBData::GetValueTypeClassByField(id), TcxIntegerValueType::Class());
  EXPECT_EQ(cxDBData::GetValueTypeClassByField(price), TcxFloatValueType::Class());
  EXPECT_EQ(cxDBData::GetValueTypeClassByField(memo), TcxVariantValueType::Class());
  EXPECT_EQ(cxDBData::GetValueTypeClassByField(when), TcxDateTimeValueType::Class());
}

TEST_F(DBAdapters, LookupFieldIsEditableThroughItsKeys)
{
  TADODataSet ds(nullptr);
  auto* key = new TIntegerField(&ds);
  key->SetFieldName("CustId");
  key->SetDataSet(&ds);
  auto* look = new TStringField(&ds);
  look->SetFieldName("Customer");
  look->SetFieldKind(fkLookup);
  look->SetDataSet(&ds);
  EXPECT_FALSE(cxDB::CanModifyLookupField(look));  // no key fields
  look->SetKeyFields("CustId");
  EXPECT_TRUE(cxDB::CanModifyLookupField(look));
  key->SetReadOnly(true);
  EXPECT_FALSE(cxDB::CanModifyLookupField(look));
  TStringField loose(nullptr);
  EXPECT_FALSE(cxDB::CanModifyLookupField(&loose));
}

}  // namespace
