// Grid mode: the controller resets its data when grouping flips the provider's grid-mode answer,
// and reads provider fields from the provider's buffered window while in grid mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/data/tests/ControllerFixture.h"

namespace {

// Like a dataset-bound provider: grid mode is off while any field is grouped.
class TWindowProvider : public TcxCustomDataProvider {
public:
  using TcxCustomDataProvider::TcxCustomDataProvider;
  bool IsGridMode() const override { return GridOn && !GroupedFlag; }
  Variant GetBufferValue(int ARecordIndex, TcxCustomDataField* AField) override { return Variant(100 + ARecordIndex); }
  AnsiString GetBufferDisplayText(int ARecordIndex, TcxCustomDataField* AField) override
  {
    return "buf" + std::to_string(ARecordIndex);
  }
  bool GridOn = true;
};

class TWindowController : public TcxCustomDataController {
public:
  TWindowController()
  {
    auto p = std::make_unique<TWindowProvider>(this);
    Provider = p.get();
    SetDataProvider(std::move(p));
  }
  void ReloadData(int AReason) override
  {
    Reloads.push_back(AReason);
    TcxCustomDataController::ReloadData(AReason);
  }
  TWindowProvider* Provider;
  std::vector<int> Reloads;
};

class GridModeTest : public ControllerTest {
protected:
  GridModeTest()
  {
    C = std::make_unique<TWindowController>();
    MakeItems({TcxIntegerValueType::Class(), TcxIntegerValueType::Class()});
  }
  TWindowController* W() { return static_cast<TWindowController*>(C.get()); }
  // Gives the storage ACount records, as a provider loading its window would.
  void LoadWindow(int ACount)
  {
    C->GetStorage()->SetRecordCount(ACount);
    C->Refresh();
  }
};

TEST_F(GridModeTest, GroupingThatFlipsGridModeResetsTheData)
{
  LoadWindow(3);
  ASSERT_TRUE(C->IsGridMode());
  ASSERT_EQ(C->GetRowCount(), 3);
  C->Refresh();  // a pass without a flip keeps the records
  EXPECT_EQ(C->GetRecordCount(), 3);
  EXPECT_TRUE(W()->Reloads.empty());

  Record();
  C->ChangeGroupIndex(0, 0);  // grouped: the provider leaves grid mode
  EXPECT_FALSE(C->IsGridMode());
  // The reset's reload, then the change it held back while the pass was locked.
  EXPECT_EQ(W()->Reloads, (std::vector<int>{2, 1}));
  EXPECT_EQ(C->GetRecordCount(), 0);
  EXPECT_EQ(C->GetRowCount(), 0);  // the same pass rebuilt the rows from the cleared storage
  EXPECT_FALSE(C->GetStorage()->GetAlwaysStoredOnly());
  // The view hears of the change once the pass is done, not from inside it.
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log.front().rfind("data", 0), 0u);

  Fill({{1, 1}, {2, 2}});
  ASSERT_EQ(C->GetRecordCount(), 2);
  C->ChangeGroupIndex(0, -1);  // back to grid mode
  EXPECT_TRUE(C->IsGridMode());
  EXPECT_EQ(W()->Reloads, (std::vector<int>{2, 1, 2, 1}));
  EXPECT_EQ(C->GetRecordCount(), 0);
  EXPECT_TRUE(C->GetStorage()->GetAlwaysStoredOnly());
}

TEST_F(GridModeTest, GroupingWithoutGridModeKeepsTheRecords)
{
  W()->Provider->GridOn = false;
  Fill({{2, 0}, {1, 0}});
  C->ChangeGroupIndex(0, 0);
  C->ChangeGroupIndex(0, -1);
  EXPECT_TRUE(W()->Reloads.empty());
  EXPECT_EQ(C->GetRecordCount(), 2);
}

TEST_F(GridModeTest, ProviderFieldsReadTheBufferedWindow)
{
  TcxCustomDataField* internal = C->AddInternalField();
  internal->SetTypeClass(TcxIntegerValueType::Class());
  TcxCustomDataField* bound = C->AddInternalField();  // internal, but refers to item 0
  bound->SetReference(C->GetItemField(0));
  TcxCustomDataField* chained = C->AddInternalField();  // refers to an internal field only
  chained->SetReference(internal);
  W()->Provider->GridOn = false;
  Fill({{7, 8}, {9, 10}});
  C->GetStorage()->SetFieldValue(1, internal->GetValueDef(), Variant(55));

  W()->Provider->GridOn = true;
  C->Refresh();
  ASSERT_TRUE(C->IsGridMode());
  struct Case {
    TcxCustomDataField* Field;
    int Expected;
  };
  for (const Case& c : {Case{C->GetItemField(0), 101}, Case{C->GetItemField(1), 101}, Case{bound, 101},
                        Case{internal, 55}, Case{chained, 55}}) {
    EXPECT_EQ(C->GetFieldValue(1, c.Field).AsInteger(), c.Expected) << c.Field->GetIndex();
  }
  EXPECT_EQ(C->GetValue(0, 1).AsInteger(), 100);
  EXPECT_EQ(C->GetDisplayText(1, 0), "buf1");
  EXPECT_EQ(C->GetFieldDisplayText(1, internal), C->GetStorage()->GetFieldDisplayText(1, internal->GetValueDef()));

  W()->Provider->GridOn = false;  // out of grid mode the storage answers again
  EXPECT_EQ(C->GetValue(1, 0).AsInteger(), 9);
  EXPECT_EQ(C->GetDisplayText(1, 1), C->GetStorage()->GetFieldDisplayText(1, C->GetItemField(1)->GetValueDef()));
}

}  // namespace
