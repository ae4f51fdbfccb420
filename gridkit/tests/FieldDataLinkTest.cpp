// The edit controls' data link: unbound values, a single field and several fields of a real table.
#include <gtest/gtest.h>

#include "gridkit/edits/FieldDataLinkEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/Fields.h"

namespace {

class FieldDataLink : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 客户 (代码 INTEGER, 名称 TEXT(20), 城市 TEXT(20))");
    Db.Exec("insert into 客户 values (1, '甲', '上海')");
    Q = Db.Query("select * from 客户");
    Source.SetDataSet(Q.get());
    Link.OnDataChange = [this](TObject*) { ++DataChanges; };
    Link.OnUpdateData = [this](TObject*) { ++Updates; };
  }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  TDataSource Source{nullptr};
  TFieldDataLinkEh Link;
  TComponent Control{nullptr};
  int DataChanges = 0, Updates = 0;
};

TEST_F(FieldDataLink, UnboundKeepsTheValueItself)
{
  EXPECT_TRUE(Link.GetUnbound());
  EXPECT_TRUE(Link.GetUnboundValue().IsNull());
  EXPECT_TRUE(Link.GetActive());
  EXPECT_TRUE(Link.Edit());
  Link.SetText("张三");
  EXPECT_EQ(Link.GetUnboundValue().AsString(), "张三");
  EXPECT_EQ(DataChanges, 1);
  Link.SetModified();
  Link.UpdateRecord();
  EXPECT_EQ(Updates, 1);
  EXPECT_FALSE(Link.GetEditing());
  Link.Edit();
  Link.UpdateRecord();
  EXPECT_EQ(Updates, 1) << "nothing modified: no write, but editing ends";
  EXPECT_FALSE(Link.GetEditing());
}

TEST_F(FieldDataLink, DataSourceWithoutFieldIsBoundButInactive)
{
  Link.SetDataSource(&Source);
  EXPECT_FALSE(Link.GetUnbound());
  EXPECT_FALSE(Link.GetActive());
  EXPECT_FALSE(Link.GetCanModify());
  EXPECT_FALSE(Link.Edit());
  Link.SetDataSource(nullptr);
  EXPECT_TRUE(Link.GetUnbound());
}

TEST_F(FieldDataLink, SingleFieldFollowsTheRecord)
{
  Control.SetName("Edit1");
  Link.Control = &Control;
  Link.SetDataSource(&Source);
  try {
    Link.SetFieldName("没有");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Edit1: Field '没有' not found");
  }
  EXPECT_EQ(Link.GetField(), nullptr);
  Link.SetFieldName("名称");
  ASSERT_NE(Link.GetField(), nullptr);
  int changes = DataChanges;
  Link.SetFieldName("名称");
  EXPECT_EQ(DataChanges, changes) << "the same name does not reload";

  EXPECT_TRUE(Link.Edit());
  EXPECT_EQ(Q->GetState(), dsEdit);
  changes = DataChanges;
  Q->FieldByName("城市")->SetAsString("北京");
  EXPECT_EQ(DataChanges, changes) << "another field's change is not this control's";
  Link.SetText("乙");
  EXPECT_EQ(DataChanges, changes + 1);
  Link.UpdateRecord();
  EXPECT_EQ(Updates, 0) << "not modified: nothing written";
  Q->Post();
  EXPECT_EQ(Q->FieldByName("名称")->GetAsString(), "乙");

  Q->DisableControls();
  Q->EnableControls();
  EXPECT_EQ(Link.GetField(), Q->FieldByName("名称")) << "the field stays after controls come back";
  Q->Close();
  EXPECT_EQ(Link.GetField(), nullptr);
}

TEST_F(FieldDataLink, SeveralFieldsTakeAnArrayWithAnElementForEach)
{
  Link.SetMultiFields(true);
  Link.SetDataSource(&Source);
  Link.SetFieldName("代码; 名称 ;城市");
  ASSERT_EQ(Link.GetFieldsCount(), 3);
  Link.Edit();
  try {
    Link.SetValue(Variants::VarArrayOf({7, "丙"}));
    FAIL();
  } catch (const EVariantBadIndexError&) {}
  EXPECT_EQ(Q->FieldByName("代码")->GetAsInteger(), 1) << "nothing written before the check";
  EXPECT_EQ(Q->FieldByName("名称")->GetAsString(), "甲");
  EXPECT_THROW(Link.SetValue(5), EVariantInvalidArgError);
  Link.SetValue(Variants::VarArrayOf({7, "丙", "广州"}));
  EXPECT_EQ(Q->FieldByName("城市")->GetAsString(), "广州");
  Link.SetValue(Variant::Null());
  for (const char* f : {"代码", "名称", "城市"}) EXPECT_TRUE(Q->FieldByName(f)->IsNull()) << f;
}

}  // namespace
