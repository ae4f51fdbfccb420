// Column values over a real table: texts through key and pick lists, check states from key
// lists, writing through OnUpdateData and stepping values.
#include <gtest/gtest.h>

#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/Fields.h"

namespace {

class ColumnValues : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 合同 (编号 INTEGER, 状态 TEXT(10), 数量 INTEGER, 备注 MEMO)");
    Db.Exec("insert into 合同 values (1, 'YES', 2, '第一行备注')");
    Db.Exec("insert into 合同 values (2, 'no', NULL, NULL)");
    Db.Exec("insert into 合同 values (3, '未知', 9, NULL)");
    Q = Db.Query("select * from 合同 order by 编号");
    Q->SetLockType(ltBatchOptimistic);
    Source.SetDataSet(Q.get());
    Host.Link.SetDataSource(&Source);
  }
  TColumnEh* Add(const char* Field)
  {
    TColumnEh* c = Grid.GetColumns()->Add();
    c->SetFieldName(Field);
    return c;
  }
  void Go(Integer Id) { ASSERT_TRUE(Q->Locate("编号", Id)); }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  TDataSource Source{nullptr};
  TGridHostStandIn Host;
  TDBGridEhModel Grid{&Host};
};

TEST_F(ColumnValues, CheckStatesFromTheKeyList)
{
  TColumnEh* c = Add("状态");
  c->GetKeyList()->SetText("Y;yes\nN; no");
  c->SetCheckboxes(true);
  struct Case {
    Integer Id;
    TCheckBoxState State;
  } cases[] = {{1, cbChecked}, {2, cbUnchecked}, {3, cbGrayed}};
  for (const Case& k : cases) {
    Go(k.Id);
    EXPECT_EQ(c->ReadCheckState(), k.State) << k.Id;
  }
  Go(3);
  Q->Edit();
  c->WriteCheckState(cbChecked);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "Y");
  c->WriteCheckState(cbUnchecked);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "N");
  c->WriteCheckState(cbGrayed);
  EXPECT_TRUE(Q->FieldByName("状态")->IsNull());
  EXPECT_EQ(c->ReadCheckState(), cbGrayed);
  Q->Cancel();

  c->GetKeyList()->SetText("Y;yes");
  Go(2);
  EXPECT_EQ(c->ReadCheckState(), cbGrayed) << "with one line, anything else is grey";
  Go(1);
  EXPECT_EQ(c->ReadCheckState(), cbChecked);
}

TEST_F(ColumnValues, DisplayTextThroughKeyAndPickLists)
{
  TColumnEh* c = Add("数量");
  EXPECT_EQ(c->CellDisplayText(), "2");
  c->SetDisplayFormat("0.00");
  EXPECT_EQ(c->CellDisplayText(), "2.00");
  c->GetKeyList()->SetText("2\n9\n4");
  c->GetPickList()->SetText("两件\n九件\n其他");
  EXPECT_EQ(c->GetColumnKind(), ckKeyPickList);
  EXPECT_EQ(c->CellDisplayText(), "两件");
  Go(2);
  EXPECT_EQ(c->CellDisplayText(), "") << "not in the key list, no fallback line";
  c->SetNotInKeyListIndex(2);
  EXPECT_EQ(c->CellDisplayText(), "其他");
  EXPECT_EQ(c->CellImageIndex(), 2);

  TColumnEh* memo = Add("备注");
  Go(1);
  EXPECT_NE(memo->CellDisplayText(), "第一行备注");
  Grid.DrawMemoText = true;
  EXPECT_EQ(memo->CellDisplayText(), "第一行备注");
}

TEST_F(ColumnValues, StepsThroughListsAndNumbers)
{
  TColumnEh* pick = Add("状态");
  pick->GetPickList()->SetText("YES\nno\n未知");
  int updates = 0;
  pick->OnUpdateData = [&](TObject*, AnsiString&, Variant&, bool&, bool&) { ++updates; };
  Go(3);
  pick->StepValue(1);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "YES");
  EXPECT_EQ(updates, 0) << "wrapping around writes the field directly";
  pick->StepValue(1);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "no");
  EXPECT_EQ(updates, 1);
  pick->StepValue(-1);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "YES");
  Q->Cancel();

  TColumnEh* number = Add("数量");
  Go(2);
  number->StepValue(1);
  EXPECT_EQ(Q->FieldByName("数量")->GetAsInteger(), 0) << "a Null number steps to 0";
  number->StepValue(1);
  EXPECT_EQ(Q->FieldByName("数量")->GetAsInteger(), 1);
  Q->Cancel();

  pick->OnUpdateData = [&](TObject*, AnsiString& Text, Variant&, bool&, bool& Handled) { Handled = Text == "拒绝"; };
  Q->Edit();
  pick->WriteValue("拒绝", Variant(), true);
  EXPECT_EQ(Q->FieldByName("状态")->GetAsString(), "no") << "a handled write leaves the field";
  EXPECT_THROW(number->WriteValue("abc", Variant(), true), EConvertError);
  Q->Cancel();

  Grid.ReadOnly = true;
  EXPECT_FALSE(number->CanEditValue(true));
  number->StepValue(1);
  EXPECT_EQ(Q->GetState(), dsBrowse);
  Grid.ReadOnly = false;
  EXPECT_TRUE(number->CanEditValue(true));
  EXPECT_EQ(Q->GetState(), dsEdit);
  EXPECT_TRUE(Host.Link.GetEditorTextChanged());
  Q->Cancel();
}

}  // namespace
