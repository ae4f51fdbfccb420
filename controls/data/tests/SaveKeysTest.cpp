// Full updates keep the selection and the expanded details by key values.
#include <gtest/gtest.h>

#include "controls/data/controller/cxDataRelations.h"
#include "controls/data/controller/cxDataSaveKeys.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

// Item 0 is the key.
class TKeyedController : public TcxCustomDataController {
public:
  bool KeyNavigation = true;
  bool IsKeyNavigation() const override { return KeyNavigation; }
  void GetKeyFields(std::vector<TcxCustomDataField*>& AList) override { AList.push_back(GetItemField(0)); }
};

class SaveKeysTest : public ControllerTest {
protected:
  SaveKeysTest()
  {
    C = std::make_unique<TKeyedController>();
    MakeItems({TcxIntegerValueType::Class(), TcxStringValueType::Class()});
    Fill({{10, "a"}, {20, "b"}, {30, "c"}, {40, "d"}, {50, "e"}});
  }
  TKeyedController* K() { return static_cast<TKeyedController*>(C.get()); }
  // A reload that brings the records back in another order, without some keys.
  void Reload(const std::vector<int>& AKeys)
  {
    C->SetRecordCount(0);
    for (int k : AKeys) C->SetValue(C->AppendRecord(), 0, k);
  }
  std::vector<int> SelectedKeys()
  {
    std::vector<int> keys;
    for (int i = 0; i < C->GetSelectedCount(); ++i)
      keys.push_back(C->GetValue(C->GetRowInfo(C->GetSelectedRowIndex(i)).RecordIndex, 0).AsInteger());
    return keys;
  }
};

TEST_F(SaveKeysTest, SelectionFollowsKeysAndLosesGoneOnes)
{
  C->SetMultiSelect(true);
  C->ChangeRowSelection(1, true);
  C->ChangeRowSelection(3, true);
  C->ChangeRowSelection(4, true);
  ASSERT_EQ(SelectedKeys(), (std::vector<int>{20, 40, 50}));
  C->BeginFullUpdate();
  C->BeginFullUpdate();  // nested: only the outermost saves and restores
  Reload({50, 30, 20, 10});
  C->EndFullUpdate();
  C->EndFullUpdate();
  // Rows are in record order: 50, 30, 20, 10.
  EXPECT_EQ(SelectedKeys(), (std::vector<int>{50, 20}));
  EXPECT_TRUE(C->IsRowSelected(0));
  EXPECT_TRUE(C->IsRowSelected(2));
}

TEST_F(SaveKeysTest, WithoutKeyNavigationStaleEntriesAreDropped)
{
  K()->KeyNavigation = false;
  C->SetMultiSelect(true);
  C->ChangeRowSelection(1, true);
  C->ChangeRowSelection(4, true);
  C->BeginFullUpdate();
  Reload({50, 30, 20});
  C->EndFullUpdate();
  // Record 1 is still there (now key 30); record 4 is gone.
  EXPECT_EQ(SelectedKeys(), (std::vector<int>{30}));
}

TEST_F(SaveKeysTest, KeyValueOfSeveralFieldsIsAnArray)
{
  std::vector<TcxCustomDataField*> fields{C->GetItemField(0), C->GetItemField(1)};
  Variant v = C->GetRecordKeyValue(1, fields);
  ASSERT_EQ(Variants::VarArrayDimCount(v), 1);
  EXPECT_EQ(Variants::VarArrayGet(v, {0}).AsInteger(), 20);
  EXPECT_TRUE(C->GetRecordKeyValue(1, {}).IsNull());
  EXPECT_EQ(C->GetRecordKeyValue(1, {fields[0]}).AsInteger(), 20);
}

TEST_F(SaveKeysTest, ExpandedDetailsFollowKeys)
{
  TTestViewItem level;
  TcxCustomDataRelation* relation = C->GetRelations()->Add(&level);
  TcxCustomDataController pattern;
  pattern.SetMasterRelation(relation, -1);
  ASSERT_TRUE(C->ChangeDetailExpanding(1, true));  // key 20
  ASSERT_TRUE(C->ChangeDetailExpanding(4, true));  // key 50
  C->BeginFullUpdate();
  Reload({50, 40, 30, 20});
  C->EndFullUpdate();
  std::vector<bool> expanded;
  for (int r = 0; r < C->GetRecordCount(); ++r) expanded.push_back(C->GetDetailExpanded(r));
  EXPECT_EQ(expanded, (std::vector<bool>{true, false, false, true}));
  pattern.SetMasterRelation(nullptr, -1);
}

}  // namespace
