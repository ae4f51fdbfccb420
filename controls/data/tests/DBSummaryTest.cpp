// Summary items of the dataset-bound controller that sum a dataset field named by FieldName,
// whether or not an item shows that field: footer and group values, the fallback to the
// linked item, copying and freeing.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDBDataController.h"
#include "controls/data/db/cxDBDataSummary.h"
#include "controls/data/controller/cxDataSummary.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"

namespace {

class TSummaryItem : public TObject {};

class DBSummaryTest : public testing::Test {
protected:
  DBSummaryTest()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    Table.GetFieldDefs().Add("ID", ftInteger);
    Table.GetFieldDefs().Add("Dept", ftString, 10);
    Table.GetFieldDefs().Add("Amount", ftFloat);
    Table.CreateDataSet();
    const struct {
      int Id;
      const char* Dept;
      double Amount;
    } rows[] = {{1, "销售", 10.5}, {2, "财务", 20.0}, {3, "销售", 4.5}, {4, "财务", 1.0}, {5, "行政", 7.0}};
    for (auto& r : rows) Table.AppendRecord({r.Id, AnsiString(r.Dept), r.Amount});
    Table.First();
    Source.SetDataSet(&Table);
    // Items show ID and Dept only: Amount is summed by name.
    for (const char* name : {"ID", "Dept"}) {
      Items.push_back(std::make_unique<TSummaryItem>());
      C.AddItem(Items.back().get());
      C.ChangeFieldName(C.GetItemIndex(Items.back().get()), name);
    }
    C.SetDataSource(&Source);
  }
  ~DBSummaryTest() override { C.SetDataSource(nullptr); }
  double Footer(int AIndex) { return C.GetSummary()->GetFooterSummaryValue(AIndex).AsDouble(); }

  TADODataSet Table{nullptr};
  TDataSource Source{nullptr};
  std::vector<std::unique_ptr<TSummaryItem>> Items;
  TcxDBDataController C;
};

TEST_F(DBSummaryTest, ItemsSumTheFieldTheyName)
{
  TcxDataSummary* summary = C.GetSummary();
  auto* total = dynamic_cast<TcxDBDataSummaryItem*>(summary->GetFooterSummaryItems()->Add());
  ASSERT_NE(total, nullptr);  // the controller chose the class
  total->SetKind(skSum);
  total->SetFieldName("amount");
  EXPECT_DOUBLE_EQ(Footer(0), 43.0);
  EXPECT_EQ(total->GetItemLink(), nullptr);

  // In groups, by the default items and by a summary group's own items.
  auto* perDept = dynamic_cast<TcxDBDataSummaryItem*>(summary->GetDefaultGroupSummaryItems()->Add());
  ASSERT_NE(perDept, nullptr);
  perDept->SetKind(skMax);
  perDept->SetFieldName("Amount");
  C.ChangeGroupIndex(1, 0);
  auto groupValue = [&](int ARow) {
    const int group = C.GetInfo()->GetDataGroups().GetGroupIndexByRowIndex(ARow, 0);
    return Variants::VarArrayGet(summary->GetGroupSummaryValues(group), {0}).AsDouble();
  };
  ASSERT_EQ(C.GetRowCount(), 3);
  std::vector<std::pair<AnsiString, double>> maxima;
  for (int row = 0; row < 3; ++row)
    maxima.emplace_back(Variants::VarToStr(C.GetRowValue(C.GetRowInfo(row), 1)), groupValue(row));
  EXPECT_EQ(maxima, (std::vector<std::pair<AnsiString, double>>{{"财务", 20.0}, {"销售", 10.5}, {"行政", 7.0}}));

  // The values follow the dataset.
  Table.AppendRecord({6, AnsiString("行政"), 100.0});
  EXPECT_DOUBLE_EQ(Footer(0), 143.0);
}

TEST_F(DBSummaryTest, AnUnknownNameFallsBackToTheLinkedItem)
{
  TcxDataSummaryItems* footer = C.GetSummary()->GetFooterSummaryItems();
  auto* item = static_cast<TcxDBDataSummaryItem*>(footer->Add(Items[0].get(), spFooter, skSum));
  EXPECT_DOUBLE_EQ(Footer(0), 15.0);  // the IDs
  item->SetFieldName("Missing");
  EXPECT_EQ(item->GetDataField(), item->GetField());
  EXPECT_DOUBLE_EQ(Footer(0), 15.0);
  item->SetFieldName("Amount");
  EXPECT_NE(item->GetDataField(), item->GetField());
  EXPECT_DOUBLE_EQ(Footer(0), 43.0);

  // Reopening the dataset binds the item's own field again.
  Table.Close();
  Table.Open();
  Table.AppendRecord({9, AnsiString("x"), 2.0});
  ASSERT_EQ(C.GetRecordCount(), 1);
  EXPECT_DOUBLE_EQ(Footer(0), 2.0);

  // A copy keeps the name; clearing it, or the item going, frees the item's own field.
  const int fields = C.GetFields()->Count();
  auto* copy = static_cast<TcxDBDataSummaryItem*>(footer->Add());
  copy->Assign(item);
  EXPECT_EQ(copy->GetFieldName(), "Amount");
  EXPECT_EQ(copy->GetKind(), skSum);
  EXPECT_DOUBLE_EQ(Footer(1), 2.0);
  EXPECT_EQ(C.GetFields()->Count(), fields + 1);
  copy->SetFieldName("");
  EXPECT_DOUBLE_EQ(Footer(1), 9.0);
  EXPECT_EQ(C.GetFields()->Count(), fields);
  footer->Delete(0);
  EXPECT_EQ(C.GetFields()->Count(), fields - 1);
  EXPECT_DOUBLE_EQ(Footer(0), 9.0);
}

}  // namespace
