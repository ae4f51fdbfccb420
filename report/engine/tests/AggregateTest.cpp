// Finding and accumulating totals: calls hidden in report variables (also behind Chinese names
// whose second byte looks like a bracket), variables that name themselves, Null values in AVG,
// running totals, and vertical band instances beyond a thousand.
#include <gtest/gtest.h>

#include "platform/rtl/StringList.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/run/frxAggregate.h"

namespace {

class Aggregates : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    auto* page = new TfrxReportPage(&Report);
    page->SetName("Page1");
    Data = new TfrxMasterData(page);
    Data->SetName("MasterData1");
    Footer = new TfrxFooter(page);
    Footer->SetName("Footer1");
    ASSERT_TRUE(Report.PrepareScript());
  }
  TfrxMemoView* Memo(const AnsiString& Text)
  {
    auto* m = new TfrxMemoView(Footer);
    m->CreateUniqueName();
    m->SetText(Text);
    return m;
  }

  TfrxReport Report{nullptr};
  TfrxMasterData* Data = nullptr;
  TfrxFooter* Footer = nullptr;
  TfrxAggregateList List{&Report};
};

TEST_F(Aggregates, CallsAreFoundInTextsAndVariables)
{
  // "乕" is 0x81 0x5B in CP936: its second byte is "[".
  Report.GetVariables()->SetVariable("合计乕", Variant(AnsiString("SUM(<合同.\"金额\">, MasterData1, 2)")));
  Memo("合计: [合计乕 + 0] 件数: [COUNT(MasterData1)] [MAX(IIF(1 > 0, <x>, 0))]");
  List.AddBand(Footer, Data);
  ASSERT_EQ(List.GetCount(), 3);
  EXPECT_EQ(List.GetItem(0)->Kind, agSum);
  EXPECT_EQ(List.GetItem(0)->Expression, "<合同.\"金额\">");
  EXPECT_TRUE(List.GetItem(0)->Running);
  EXPECT_EQ(List.GetItem(1)->Kind, agCount);
  EXPECT_EQ(List.GetItem(1)->DataBand, Data);
  EXPECT_EQ(List.GetItem(2)->Kind, agMax);
  EXPECT_EQ(List.GetItem(2)->Expression, "IIF(1 > 0, <x>, 0)");
  EXPECT_EQ(List.GetItem(2)->ResetBand, Footer);
}

TEST_F(Aggregates, AVariableNamingItselfEndsInAnError)
{
  Report.GetVariables()->SetVariable("甲", Variant(AnsiString("乙 + 1")));
  Report.GetVariables()->SetVariable("乙", Variant(AnsiString("甲 * 2 + SUM(<y>)")));
  Memo("[甲]");
  List.AddBand(Footer, Data);
  EXPECT_EQ(List.GetCount(), 1);  // the SUM reached through the chain
  EXPECT_GT(Report.GetErrors()->GetCount(), 0);
}

TEST_F(Aggregates, AccumulatesResetsAndKeeps)
{
  Report.GetVariables()->SetVariable("v", Variant::Null());
  Memo("[AVG(<v>)] [SUM(<v>, MasterData1, 2)] [MIN(<v>)] [COUNT(MasterData1)]");
  List.AddBand(Footer, Data);
  for (Variant v : {Variant(1), Variant::Null(), Variant(3)}) {
    Report.GetVariables()->SetVariable("v", v);
    List.AddValue(Data, 0);
  }
  EXPECT_DOUBLE_EQ(List.GetValue(Footer, 0, "AVG", "<v>", nullptr, 0).AsDouble(), 4.0 / 3.0);
  EXPECT_EQ(List.GetValue(Footer, 0, "MIN", "<v>", nullptr, 0).AsInteger(), 1);
  EXPECT_EQ(List.GetValue(Footer, 0, "COUNT", "", nullptr, 0).AsInteger(), 3);
  EXPECT_TRUE(List.GetValue(Footer, 0, "SUM", "<v>", nullptr, 0).IsNull());  // flags differ
  List.ResetForBand(Footer);
  EXPECT_EQ(List.GetValue(Footer, 0, "COUNT", "", nullptr, 0).AsInteger(), 0);
  EXPECT_EQ(List.GetValue(Footer, 0, "SUM", "<v>", nullptr, 2).AsInteger(), 4);  // running
  List.ClearValues();
  EXPECT_TRUE(List.GetValue(Footer, 0, "SUM", "<v>", nullptr, 2).IsNull());
}

TEST_F(Aggregates, VerticalInstancesBeyondAThousand)
{
  Report.GetVariables()->SetVariable("v", Variant(5));
  Memo("[SUM(<v>)]");
  List.AddBand(Footer, Data);
  for (Integer col : {1, 1000, 1001, 2500, 2500}) List.AddValue(Data, col);
  EXPECT_EQ(List.GetValue(Footer, 1, "SUM", "<v>", nullptr, 0).AsInteger(), 5);
  EXPECT_EQ(List.GetValue(Footer, 1001, "SUM", "<v>", nullptr, 0).AsInteger(), 5);
  EXPECT_EQ(List.GetValue(Footer, 2500, "SUM", "<v>", nullptr, 0).AsInteger(), 10);
  EXPECT_TRUE(List.GetValue(Footer, 3000, "SUM", "<v>", nullptr, 0).IsNull());
}

}  // namespace
