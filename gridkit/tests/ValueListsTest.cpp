// MRU lists, special rows, field lists, variant comparison and distinct value lists.
#include <gtest/gtest.h>

#include "gridkit/edits/MRUListEh.h"
#include "gridkit/edits/ValueListsEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/Fields.h"
#include "platform/forms/graphics/Font.h"

namespace {

AnsiString Lines(TStrings* S)
{
  AnsiString out;
  for (Integer i = 0; i < S->GetCount(); ++i) out += (i ? "," : "") + S->GetStrings(i);
  return out;
}

TEST(MRUList, AddsPromotesAndTrims)
{
  TMRUListEh mru;
  mru.AddValue("   ");
  EXPECT_EQ(mru.GetItems()->GetCount(), 0);
  for (const char* s : {"x", "y", "z"}) mru.AddValue(s);
  mru.SetLimit(3);
  mru.AddValue("w");
  EXPECT_EQ(Lines(mru.GetItems()), "y,z,w");
  mru.AddValue("y");
  EXPECT_EQ(Lines(mru.GetItems()), "z,w,y");
  mru.AddValue("Z");
  EXPECT_EQ(Lines(mru.GetItems()), "w,y,z") << "case-insensitive: moved, own spelling kept";
  mru.SetCaseSensitive(true);
  mru.AddValue("W");
  EXPECT_EQ(Lines(mru.GetItems()), "y,z,W");
  mru.SetLimit(2);
  EXPECT_EQ(Lines(mru.GetItems()), "z,W");
}

TEST(MRUList, CollectsMatchesThroughTheFilterEvent)
{
  TMRUListEh mru;
  for (const char* s : {"合同甲", "合约", "合同乙", "ABC", "abd"}) mru.AddValue(s);
  TStringList dest;
  EXPECT_TRUE(mru.CollectMatches(&dest, "合同"));
  EXPECT_EQ(Lines(&dest), "合同甲,合同乙");
  EXPECT_TRUE(mru.CollectMatches(&dest, "ab"));
  EXPECT_EQ(Lines(&dest), "ABC,abd");
  mru.SetCaseSensitive(true);
  int asked = 0;
  mru.OnFilterItem = [&](TObject*, bool& Accept) {
    ++asked;
    Accept = !Accept;
  };
  mru.CollectMatches(&dest, "ab");
  EXPECT_EQ(Lines(&dest), "合同甲,合约,合同乙,ABC");
  EXPECT_EQ(asked, 5);

  TMRUListEh copy;
  mru.SetActive(true);
  copy.Assign(&mru);
  EXPECT_TRUE(copy.GetActive());
  EXPECT_EQ(copy.GetItems()->GetCount(), 5);
}

TEST(SpecRow, ParsesCellsText)
{
  struct Case {
    const char* Text;
    std::vector<const char*> Cells;
  } cases[] = {
      {"a;\"b;c\";;d", {"a", "b;c", "", "d"}},
      {"\x01\x02"
       "a b;",
       {"a b"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"甲;乙", {"甲", "乙"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    TSpecRowEh row;
    row.SetCellsText(c.Text);
    ASSERT_EQ(row.CellCount(), static_cast<Integer>(c.Cells.size())) << c.Text;
    for (std::size_t i = 0; i < c.Cells.size(); ++i) EXPECT_EQ(row.CellTextAt(static_cast<Integer>(i)), c.Cells[i]);
    EXPECT_EQ(row.CellTextAt(5), "");
  }
}

class TOwnerStandIn : public TPersistent, public ISpecRowOwnerEh {
public:
  TColor GetSpecRowDefaultColor() override { return clRed; }
  TFont* GetSpecRowDefaultFont() override { return &Font; }
  TFont Font;
};

TEST(SpecRow, ColourAndFontFollowTheOwnerUntilSet)
{
  TOwnerStandIn owner;
  owner.Font.SetSize(14);
  TSpecRowEh row(&owner);
  int changes = 0;
  row.OnChanged = [&](TObject*) { ++changes; };
  EXPECT_EQ(row.GetColor(), clRed);
  EXPECT_EQ(row.GetFont()->GetSize(), 14);
  EXPECT_FALSE(row.FontStored()) << "refreshing from the owner does not mark the font";
  row.SetColor(clBlue);
  EXPECT_TRUE(row.ColorStored());
  row.GetFont()->SetSize(20);
  EXPECT_TRUE(row.FontStored());
  owner.Font.SetSize(9);
  EXPECT_EQ(row.GetFont()->GetSize(), 20);

  TSpecRowEh copy;
  int copyChanges = 0;
  copy.OnChanged = [&](TObject*) { ++copyChanges; };
  row.SetVisible(true);
  row.SetValue(5);
  copy.Assign(&row);
  EXPECT_EQ(copyChanges, 1) << "one notification for the whole assignment";
  EXPECT_EQ(copy.GetColor(), clBlue);
  EXPECT_EQ(copy.GetFont()->GetSize(), 20);
  EXPECT_TRUE(copy.GetVisible());
}

TEST(VariantsEqual, ComparesValuesAndArrays)
{
  using Variants::VarArrayOf;
  struct Case {
    Variant A, B;
    bool Equal;
  } cases[] = {
      {Variant::Null(), Variant::Null(), true},
      {Variant(), Variant::Null(), false},
      {Variant(), Variant(), true},
      {VarArrayOf({}), VarArrayOf({}), false},
      {VarArrayOf({1, "a"}), VarArrayOf({1, "a"}), true},
      {VarArrayOf({1, "a"}), VarArrayOf({1, "b"}), false},
      {VarArrayOf({1}), Variant(1), false},
      {Variant(2), Variant(2.0), true},
  };
  for (const Case& c : cases) EXPECT_EQ(ToolCtrlsEh::VariantsEqual(c.A, c.B), c.Equal);
}

TEST(FieldLists, CollectAndWriteOverARealTable)
{
  GridTestDb db;
  db.Exec("create table 客户 (代码 INTEGER, 名称 TEXT(20), 城市 TEXT(20))");
  db.Exec("insert into 客户 values (1, '甲', '上海')");
  db.Exec("insert into 客户 values (2, '乙', '北京')");
  db.Exec("insert into 客户 values (3, '丙', '上海')");
  auto q = db.Query("select * from 客户");
  q->SetName("Customers");
  auto fields = ToolCtrlsEh::CollectFieldsArray(q.get(), q.get(), " 代码 ; 名称");
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[1]->GetFieldName(), "名称");
  try {
    ToolCtrlsEh::CollectFields(nullptr, q.get(), q.get(), "代码;没有");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Customers: Field '没有' not found");
  }
  q->Edit();
  ToolCtrlsEh::SetFieldValuesEh(q.get(), "名称;城市", Variants::VarArrayOf({"丁", "广州"}));
  EXPECT_EQ(q->FieldByName("城市")->GetAsString(), "广州");
  ToolCtrlsEh::SetFieldValuesEh(q.get(), "名称;城市", Variant::Null());
  EXPECT_TRUE(q->FieldByName("名称")->IsNull());
  q->Cancel();

  TDatasetFieldValueListEh values;
  values.SetSourceDataSet(q.get());
  values.SetSourceFieldName("城市");
  EXPECT_EQ(Lines(values.ValueStrings()), "北京,上海") << "distinct, sorted by CP936 (pinyin)";
  EXPECT_FALSE(values.GetValuesObsolete());
  q->Append();
  q->FieldByName("城市")->SetAsString("广州");
  q->Post();
  EXPECT_TRUE(values.GetValuesObsolete());
  EXPECT_EQ(Lines(values.ValueStrings()), "北京,广州,上海");
}

}  // namespace
