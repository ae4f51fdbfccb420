// Running aggregates over real SQLite tables: full scans, posts, deletes, filters, master
// scrolls, external recalculation and virtual record numbers.
#include <gtest/gtest.h>

#include "gridkit/model/DBSumLst.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"

namespace {

class SumList : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 账目 (编号 INTEGER, 名称 TEXT(20), 金额 FLOAT)");
    Db.Exec("insert into 账目 values (1, '甲', 1.5)");
    Db.Exec("insert into 账目 values (2, '乙', 2.25)");
    Db.Exec("insert into 账目 values (3, '丙', NULL)");
    Q = Db.Query("select * from 账目 order by 编号");
  }

  TDBSum* AddSum(TDBSumListProducer& L, TGroupOperation Op, const char* Field)
  {
    TDBSum* s = L.GetSumCollection()->Add();
    s->SetGroupOperation(Op);
    s->SetFieldName(Field);
    return s;
  }
  static double Total(const TDBSum* S) { return DBSumLst::FixedToFloat(S->Total); }
  void Go(Integer Id) { ASSERT_TRUE(Q->Locate("编号", Id)); }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
};

TEST(SumListFixedPoint, RoundsHalvesToEven)
{
  struct Case {
    Int64 Value;
    Integer Count;
    Int64 Expected;
  } cases[] = {{5, 2, 2}, {15, 2, 8}, {-5, 2, -2}, {37500, 2, 18750}, {7, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(DBSumLst::FixedDiv(c.Value, c.Count), c.Expected) << c.Value << "/" << c.Count;
  EXPECT_EQ(DBSumLst::ToFixed(2.25), 22500);
  EXPECT_EQ(DBSumLst::ToFixed(-1.5), -15000);
}

TEST_F(SumList, FullScanSumsAveragesAndCounts)
{
  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  TDBSum* avg = AddSum(list, goAvg, "金额");
  TDBSum* countField = AddSum(list, goCount, "金额");
  TDBSum* countAll = AddSum(list, goCount, "");
  TDBSum* missing = AddSum(list, goSum, "没有");
  Q->Last();
  list.SetDataSet(Q.get());
  EXPECT_DOUBLE_EQ(Total(sum), 3.75);
  EXPECT_DOUBLE_EQ(Total(avg), 1.875);
  EXPECT_DOUBLE_EQ(Total(countField), 2);
  EXPECT_DOUBLE_EQ(Total(countAll), 3);
  EXPECT_EQ(missing->Total, 0);
  EXPECT_EQ(Q->GetRecNo(), 1) << "a scan leaves the dataset on its first record";
  EXPECT_EQ(list.GetSumCollection()->FindSum(goAvg, "金额"), avg);
  EXPECT_EQ(list.GetSumCollection()->FindSum(goAvg, "名称"), nullptr);
}

// An aggregate naming a field the dataset lacks, or a text field, must not block data entry.
TEST_F(SumList, MissingFieldDoesNotBlockPostsOrDeletes)
{
  TDBSumListProducer list(nullptr);
  TDBSum* missing = AddSum(list, goSum, "没有");
  TDBSum* text = AddSum(list, goAvg, "名称");
  TDBSum* sum = AddSum(list, goSum, "金额");
  list.SetDataSet(Q.get());
  Go(1);
  Q->Edit();
  Q->FieldByName("金额")->SetAsFloat(10);
  EXPECT_NO_THROW(Q->Post());
  EXPECT_NO_THROW(Q->Delete());
  EXPECT_EQ(missing->Total, 0);
  EXPECT_EQ(text->Total, 0);
  EXPECT_DOUBLE_EQ(Total(sum), 2.25);
}

TEST_F(SumList, PostsAdjustTotalsByOldAndNewValues)
{
  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  TDBSum* avg = AddSum(list, goAvg, "金额");
  TDBSum* countAll = AddSum(list, goCount, "");
  int changes = 0;
  list.SumListChanged = [&](TObject*) { ++changes; };
  list.SetDataSet(Q.get());

  Go(2);
  Q->Edit();
  Q->FieldByName("金额")->SetAsFloat(5.25);  // 2.25 -> 5.25
  changes = 0;
  Q->Post();
  EXPECT_DOUBLE_EQ(Total(sum), 6.75);
  EXPECT_GE(changes, 1);

  Q->Edit();
  Q->FieldByName("金额")->SetAsFloat(100);
  Q->Cancel();
  EXPECT_DOUBLE_EQ(Total(sum), 6.75);

  Go(3);  // Null -> 4: one more value in the average
  Q->Edit();
  Q->FieldByName("金额")->SetAsFloat(4);
  Q->Post();
  EXPECT_EQ(avg->NonNullCount, 3);
  EXPECT_EQ(avg->Total, 35833) << "four decimals";
  Q->Edit();
  Q->FieldByName("金额")->Clear();
  Q->Post();
  EXPECT_EQ(avg->NonNullCount, 2);
  EXPECT_DOUBLE_EQ(Total(avg), 3.375);

  Q->Append();
  Q->FieldByName("编号")->SetAsInteger(4);
  Q->FieldByName("金额")->SetAsFloat(7);
  Q->Post();
  EXPECT_DOUBLE_EQ(Total(sum), 13.75);
  EXPECT_DOUBLE_EQ(Total(countAll), 4);

  Go(1);
  Q->Delete();
  EXPECT_DOUBLE_EQ(Total(sum), 12.25);
  EXPECT_DOUBLE_EQ(Total(countAll), 3);
  EXPECT_DOUBLE_EQ(Total(avg), (5.25 + 7) / 2);
}

// The totals follow the table only once a delete has really happened.
TEST_F(SumList, RefusedDeleteLeavesTotals)
{
  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  TDBSum* countAll = AddSum(list, goCount, "");
  list.SetDataSet(Q.get());
  Go(2);
  Db.Exec("delete from 账目 where 编号 = 2");  // behind the query's back: its delete fails
  EXPECT_THROW(Q->Delete(), Exception);
  EXPECT_DOUBLE_EQ(Total(sum), 3.75);
  EXPECT_DOUBLE_EQ(Total(countAll), 3);
  Go(1);
  Q->Delete();
  EXPECT_DOUBLE_EQ(Total(sum), 2.25);
  EXPECT_DOUBLE_EQ(Total(countAll), 2);
}

TEST_F(SumList, HandlersAreChainedAndOnlyOwnHooksAreRemoved)
{
  int userPosts = 0, laterPosts = 0;
  Q->AfterPost = [&](TDataSet*) { ++userPosts; };
  {
    TDBSumListProducer list(nullptr);
    AddSum(list, goSum, "金额");
    list.SetDataSet(Q.get());
    Q->Edit();
    Q->Post();
    EXPECT_EQ(userPosts, 1) << "the saved handler still runs";
    Q->AfterScroll = [&](TDataSet*) { ++laterPosts; };  // installed while hooked
  }
  Q->Edit();
  Q->Post();
  EXPECT_EQ(userPosts, 2) << "the handler saved at hooking is back";
  Q->Next();
  EXPECT_EQ(laterPosts, 1) << "a handler installed after hooking is kept";
}

TEST_F(SumList, FilterChangeRecalculatesAndReturnsToFirstRecord)
{
  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  list.SetDataSet(Q.get());
  Q->Last();
  Q->SetFilter("编号 > 1");
  Q->SetFiltered(true);
  EXPECT_DOUBLE_EQ(Total(sum), 2.25);
  EXPECT_EQ(Q->FieldByName("编号")->GetAsInteger(), 2);
  Q->SetFilter("编号 < 3");
  EXPECT_DOUBLE_EQ(Total(sum), 3.75);
  Q->Close();
  EXPECT_EQ(sum->Total, 0);
}

TEST_F(SumList, ExternalRecalcLeavesTotalsToTheHandler)
{
  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  int before = 0, after = 0;
  list.OnRecalcAll = [&](TObject*) { ++before; };
  list.OnAfterRecalcAll = [&](TObject*) { ++after; };
  list.SetExternalRecalc(true);
  Q->Close();
  list.SetDataSet(Q.get());
  before = after = 0;
  Q->Open();
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 0);
  EXPECT_EQ(sum->Total, 0);
  list.OnRecalcAll = [&](TObject*) { sum->Total = 420000; };
  list.FullRecalc();
  EXPECT_DOUBLE_EQ(Total(sum), 42);
}

class TDetailQuery : public TADOQuery {
  PELTO_CLASS(TDetailQuery, TADOQuery)
public:
  explicit TDetailQuery(TComponent* AOwner) : TADOQuery(AOwner) {}
  TDataSource* MasterSource = nullptr;
  PELTO_PUBLISHED(p) { p.Property("MasterSource", &TDetailQuery::MasterSource, &TDetailQuery::MasterSource); }
};

TEST_F(SumList, DetailIsSummedAgainWhenItsMasterScrolls)
{
  Db.Exec("create table 明细 (合同 INTEGER, 金额 FLOAT)");
  Db.Exec("insert into 明细 values (1, 10)");
  Db.Exec("insert into 明细 values (1, 20)");
  Db.Exec("insert into 明细 values (2, 5)");
  TDataSource masterSource(nullptr);
  masterSource.SetDataSet(Q.get());
  TDetailQuery detail(nullptr);
  detail.SetConnection(&Db.Conn);
  detail.MasterSource = &masterSource;
  detail.GetSQL()->SetText("select * from 明细 where 合同 = :id");
  auto reopen = [&](TDataSet*) {
    detail.Close();
    detail.GetParameters().ParamByName("id")->SetValue(Q->FieldByName("编号")->GetValue());
    detail.Open();
  };
  reopen(nullptr);
  Q->AfterScroll = reopen;

  TDBSumListProducer list(nullptr);
  TDBSum* sum = AddSum(list, goSum, "金额");
  int recalcs = 0;
  list.OnRecalcAll = [&](TObject*) { ++recalcs; };
  list.SetDataSet(&detail);
  EXPECT_EQ(list.GetMasterDataSet(), Q.get());
  EXPECT_DOUBLE_EQ(Total(sum), 30);
  recalcs = 0;
  Q->Next();
  EXPECT_DOUBLE_EQ(Total(sum), 5);
  EXPECT_EQ(recalcs, 2) << "once on the detail's reopen, once for the master's scroll";
  list.SetDataSet(nullptr);
  Q->Prior();
  EXPECT_EQ(detail.GetRecordCount(), 2) << "the master's own handler is back after unhooking";
}

// A producer over a dataset that cannot number its own records.
class TUnsequencedSumList : public TDBSumListProducer {
public:
  using TDBSumListProducer::TDBSumListProducer;

protected:
  bool DataSetIsSequenced() const override { return false; }
};

TEST_F(SumList, VirtualRecordsNumberUnsequencedDataSets)
{
  TUnsequencedSumList list(nullptr);
  list.SetVirtualRecords(true);
  list.SetDataSet(Q.get());
  EXPECT_TRUE(list.HasRecordNumbers());
  EXPECT_EQ(list.RecordTotal(), 3);
  Go(3);
  EXPECT_EQ(list.GetRecordNumber(), 3);
  list.GoToRecordNumber(2);
  EXPECT_EQ(Q->FieldByName("编号")->GetAsInteger(), 2);

  Q->Append();
  Q->FieldByName("编号")->SetAsInteger(9);
  Q->Post();
  EXPECT_EQ(list.RecordTotal(), 4);
  EXPECT_EQ(list.GetRecordNumber(), 4);
  Go(1);
  Q->Delete();
  EXPECT_EQ(list.RecordTotal(), 3);
  Go(9);
  EXPECT_EQ(list.GetRecordNumber(), 3);
}

}  // namespace
