// Column footers over a real table: the aggregates they keep in the grid's sum list and the
// texts of their cells by field type.
#include <gtest/gtest.h>

#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/DBSumLst.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class Footers : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 货物 (名称 TEXT(20), 数量 INTEGER, 价格 CURRENCY, 重量 FLOAT)");
    Db.Exec("insert into 货物 values ('甲', 1, 2.5, 1.25)");
    Db.Exec("insert into 货物 values ('乙', 2, 10, NULL)");
    Db.Exec("insert into 货物 values ('丙', 4, 0.125, 2)");
    Q = Db.Query("select * from 货物");
    Source.SetDataSet(Q.get());
    Host.Link.SetDataSource(&Source);
    Grid.GetSumList()->SetDataSet(Q.get());
    Grid.GetSumList()->SetActive(true);
  }
  TColumnEh* Add(const char* Field, TFooterValueType Type)
  {
    TColumnEh* c = Grid.GetColumns()->Add();
    c->SetFieldName(Field);
    c->GetFooter()->SetValueType(Type);
    return c;
  }
  AnsiString Text(TColumnEh* C, Integer Row = 0) { return Grid.GetFooterCellText(Row, C); }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  TDataSource Source{nullptr};
  TGridHostStandIn Host;
  TDBGridEhModel Grid{&Host};
};

TEST_F(Footers, TextsByFieldType)
{
  AnsiString savedCurrency = SysUtils::CurrencyString;
  Byte savedDecimals = SysUtils::CurrencyDecimals, savedFormat = SysUtils::CurrencyFormat;
  SysUtils::CurrencyString = "￥";
  SysUtils::CurrencyDecimals = 2;
  SysUtils::CurrencyFormat = 0;
  static_cast<TBCDField*>(Q->FieldByName("价格"))->SetCurrency(true);
  struct Case {
    const char* Field;
    TFooterValueType Type;
    const char* Format;
    const char* Expected;
  } cases[] = {
      {"数量", fvtSum, "", "7"},
      {"数量", fvtAvg, "", "2"},
      {"数量", fvtSum, "0.0", "7.0"},
      {"价格", fvtSum, "", "￥12.63"},
      {"价格", fvtAvg, "#,##0.000", "4.208"},
      {"重量", fvtAvg, "", "1.625"},
      {"名称", fvtSum, "", "0"},
      {"没有", fvtSum, "", "0"},
      {"数量", fvtCount, "", "3"},
      {"名称", fvtNon, "", ""},
  };
  for (const Case& c : cases) {
    TColumnEh* col = Add(c.Field, c.Type);
    col->GetFooter()->SetDisplayFormat(c.Format);
    EXPECT_EQ(Text(col), c.Expected) << c.Field << " " << static_cast<int>(c.Type);
  }
  TColumnEh* fixed = Add("名称", fvtStaticText);
  fixed->GetFooter()->SetValue("合计");
  EXPECT_EQ(Text(fixed), "合计");
  TColumnEh* current = Add("名称", fvtFieldValue);
  current->GetFooter()->SetFieldName("名称");
  Q->Last();
  EXPECT_EQ(Text(current), "丙");
  SysUtils::CurrencyString = savedCurrency;
  SysUtils::CurrencyDecimals = savedDecimals;
  SysUtils::CurrencyFormat = savedFormat;
}

TEST_F(Footers, AggregatesFollowTheFootersKind)
{
  TColumnEh* col = Add("数量", fvtSum);
  TDBSumCollection* sums = Grid.GetSumList()->GetSumCollection();
  ASSERT_EQ(sums->GetCount(), 1);
  EXPECT_EQ(sums->GetItem(0)->GetFieldName(), "数量");
  col->GetFooter()->SetValueType(fvtStaticText);
  EXPECT_EQ(sums->GetCount(), 0);
  col->GetFooter()->SetValueType(fvtAvg);
  EXPECT_EQ(sums->GetCount(), 1);
  EXPECT_EQ(Text(col), "2");

  TColumnFooterEh* second = col->GetFooters()->Add();
  second->SetValueType(fvtCount);
  EXPECT_EQ(Text(col, 0), "3");
  EXPECT_EQ(Text(col, 1), "2") << "rows past the Footers items use Footer";

  Q->Edit();
  Q->FieldByName("数量")->SetAsInteger(11);  // 1 -> 11
  Q->Post();
  EXPECT_EQ(Text(col, 1), "6");

  Grid.GetSumList()->SetActive(false);
  EXPECT_EQ(Text(col, 1), "0");
  EXPECT_EQ(Text(col, 0), "0");
  delete col;
  EXPECT_EQ(sums->GetCount(), 0) << "a column takes its footers' aggregates with it";
}

}  // namespace
